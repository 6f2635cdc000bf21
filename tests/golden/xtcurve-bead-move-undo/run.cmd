// Moving the host curve carries the bead resting on it
SELECT XTCurve2
MOVE X=0 Y=0 Z=1
