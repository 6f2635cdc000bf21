// A deck from its four corners; the last two rise by 1
A = 10
CORNERPOINTSURFACE Deck
0 0
A 0
10 5 1
0 5 1
END
