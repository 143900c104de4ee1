       START  00
       LOAD   R0,0A
       LOAD   R1,00
       LOAD   R2,01
       LOAD   R3,00
LOOP   JUMP   R1,@DONE
       ADD    R1,R1,R2
       ADD    R3,R3,R1
       JUMP   R0,@LOOP
DONE   STORE  R3,@TOTAL
       HALT
TOTAL  DB
