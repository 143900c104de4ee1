       START  00
       LOAD   R1,A5
       MOVE   R1,R2
       ROTATE R2,4
       STORE  R2,@SWAP
       MOVE   R1,R3
       ROTATE R3,1
       STORE  R3,@ONE
       HALT
SWAP   DB
ONE    DB
