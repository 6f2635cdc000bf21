[TXTCurve]
Name=XTCurve1
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=2
0.000000 0.000000 0.000000
1.000000 0.000000 2.000000

$SARNOVAVERSION 8.0.3.120
