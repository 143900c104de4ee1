       START  00
       LOAD   R0,0A
       LOAD   R1,00
LOOP   ADD    R1,R1,R0
       JUMP   R1,@DONE
       JUMP   R0,@LOPO
DONE   HALT
