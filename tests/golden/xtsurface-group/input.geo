[TXTCurve]
Name=Bottom
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=2
0.000000 0.000000 0.000000
2.000000 0.000000 0.000000

[TXTCurve]
Name=Right
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=2
2.000000 0.000000 0.000000
2.000000 2.000000 0.000000

[TXTCurve]
Name=Top
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=2
2.000000 2.000000 0.000000
0.000000 2.000000 0.000000

[TXTCurve]
Name=Left
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=2
0.000000 2.000000 0.000000
0.000000 0.000000 0.000000

$SARNOVAVERSION 8.0.3.120
