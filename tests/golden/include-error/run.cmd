A = 1
INCLUDE Parts/Broken.cmd
B = 2
