       START  00
       LOADA  R0,@COUNT
       LOAD   R1,00
       LOAD   R2,01
       LOAD   R3,00
       LOAD   R4,HALVES
LOOP   JUMP   R1,@DONE
       STORE  R4,@GET+1
GET    LOADA  R5,@HALVES
       ADDF   R3,R3,R5
       ADD    R4,R4,R2
       ADD    R1,R1,R2
       JUMP   R0,@LOOP
DONE   STORE  R3,@SUM
       HALT
COUNT  DB     05
HALVES DB     48
       DB     38
       DB     28
       DB     18
       DB     08
SUM    DB
