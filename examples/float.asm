       START  20
       LOADA  R1,@X
       LOADA  R2,@Y
       LOADA  R3,@Z
       ADDF   R4,R1,R2
       ADDF   R4,R4,R3
       STORE  R4,@SUM
       HALT
X      DB     5C
Y      DB     48
Z      DB     58
SUM    DB
