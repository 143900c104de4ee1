       START  00
       LOADA  R1,@NUMBER
       LOADA  R0,@TIMES
       LOAD   R2,00
       LOAD   R3,01
       LOAD   R4,00
LOOP   JUMP   R2,@DONE
       ADD    R4,R4,R1
       ADD    R2,R2,R3
       JUMP   R0,@LOOP
DONE   STORE  R4,@RESULT
       HALT
NUMBER DB     07
TIMES  DB     06
RESULT DB
