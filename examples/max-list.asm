       START  00
       LOAD   R0,00
       LOADA  R1,@COUNT
       LOAD   R2,01
       LOAD   R3,FF
       LOAD   R4,80
       LOAD   R5,LIST
       LOAD   R6,00
LOOP   JUMP   R1,@DONE
       STORE  R5,@GET+1
GET    LOADA  R7,@LIST
       XOR    R8,R6,R3
       ADD    R8,R8,R2
       ADD    R8,R7,R8
       AND    R8,R8,R4
       JUMP   R8,@BIGGER
       JUMP   R0,@NEXT
BIGGER MOVE   R7,R6
NEXT   ADD    R5,R5,R2
       ADD    R1,R1,R3
       JUMP   R0,@LOOP
DONE   STORE  R6,@MAX
       HALT
COUNT  DB     05
LIST   DB     23
       DB     0F
       DB     5A
       DB     41
       DB     37
MAX    DB
