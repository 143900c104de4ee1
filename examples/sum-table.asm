       START  00
       LOADA  R0,@COUNT
       LOAD   R1,00
       LOAD   R2,01
       LOAD   R3,00
       LOAD   R4,TABLE
LOOP   JUMP   R1,@DONE
       STORE  R4,@GET+1
GET    LOADA  R5,@TABLE
       ADD    R3,R3,R5
       ADD    R4,R4,R2
       ADD    R1,R1,R2
       JUMP   R0,@LOOP
DONE   STORE  R3,@SUM
       HALT
COUNT  DB     05
TABLE  DB     0C
       DB     22
       DB     07
       DB     31
       DB     15
SUM    DB
