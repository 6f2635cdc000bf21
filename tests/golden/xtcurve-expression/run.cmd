// A coordinate of the curve where another has a value
X = XTCURVE1.FX(0.5).Z
Y = XTCURVE1.FZ(X).X
