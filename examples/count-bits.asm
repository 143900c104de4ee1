       START  00
       LOAD   R0,00
       LOADA  R1,@VALUE
       LOAD   R2,01
       LOAD   R3,08
       LOAD   R4,FF
       LOAD   R5,00
LOOP   JUMP   R3,@DONE
       AND    R6,R1,R2
       ADD    R5,R5,R6
       ROTATE R1,1
       ADD    R3,R3,R4
       JUMP   R0,@LOOP
DONE   STORE  R5,@ONES
       HALT
VALUE  DB     B6
ONES   DB
