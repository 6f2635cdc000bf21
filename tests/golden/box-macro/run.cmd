// A tank from a block, placed by a frame position
FRAMES 0 0.6 20 0.7
BOX Tank
X #10
L 10
W 4
H 2
END
BOX Deck House
length 6
WIDTH 3
height 2.5
z 4
END
