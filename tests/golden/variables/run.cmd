A = 2*3
B = A/4 + 1
listvariables
MESSAGE done with A
XSTOPY
Stop
C = 1
