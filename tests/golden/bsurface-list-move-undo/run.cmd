// Moving the list moves every surface of it
SELECT ALL
MOVE X=1 Y=0 Z=0.5
