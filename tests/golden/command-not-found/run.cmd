A = 1
Frobnicate 2
B = 2
