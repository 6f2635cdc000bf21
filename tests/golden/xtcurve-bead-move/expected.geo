[TXTCurve]
Name=XTCurve2
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=2
0.000000 2.000000 1.000000
4.000000 2.000000 1.000000
Color=clRed

[TXTCurve]
Name=XTCurve1
CurveOptions=[coFitChordLength]
TangentRibbon=Knuckle
NumConstraints=0
NumPoints=3
1.000000 0.000000 0.000000
1.000000 2.000000 1.000000 (Bead at Address 0:0.250000 on Curve XTCurve2)
1.000000 4.000000 1.000000

$SARNOVAVERSION 8.0.3.120
