       START  00
       LOADA  R1,@VALUE
       LOADA  R2,@MASK
       OR     R3,R1,R2
       STORE  R3,@ORED
       AND    R4,R1,R2
       STORE  R4,@ANDED
       XOR    R5,R1,R2
       STORE  R5,@XORED
       HALT
VALUE  DB     6C
MASK   DB     0F
ORED   DB
ANDED  DB
XORED  DB
