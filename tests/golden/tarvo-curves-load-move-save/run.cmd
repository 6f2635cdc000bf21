// Moving everything moves the curves; the offset curve follows its reference
SELECT ALL
MOVE X=1 Y=0 Z=0.5
