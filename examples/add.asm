       START  00
       LOADA  R1,@X
       LOADA  R2,@Y
       ADD    R3,R1,R2
       STORE  R3,@SUM
       HALT
X      DB     17
Y      DB     25
SUM    DB
