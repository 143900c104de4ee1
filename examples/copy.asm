       START  00
       LOAD   R0,04
       LOAD   R1,00
       LOAD   R2,01
       LOAD   R4,SRC
       STORE  R4,@GET+1
       LOAD   R4,DST
       STORE  R4,@PUT+1
LOOP   JUMP   R1,@DONE
GET    LOADA  R3,@SRC
PUT    STORE  R3,@DST
       LOADA  R4,@GET+1
       ADD    R4,R4,R2
       STORE  R4,@GET+1
       LOADA  R4,@PUT+1
       ADD    R4,R4,R2
       STORE  R4,@PUT+1
       ADD    R1,R1,R2
       JUMP   R0,@LOOP
DONE   HALT
SRC    DB     4D
       DB     49
       DB     52
       DB     41
DST    DB
       DB
       DB
       DB
