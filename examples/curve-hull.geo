[TXTCurve]
Name=Sternpost
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=2
0.000000 0.000000 0.000000
0.000000 0.000000 6.000000

[TXTCurve]
Name=Station1
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=5
10.000000 0.000000 0.000000
10.000000 1.170267 1.000000
10.000000 2.226402 2.500000
10.000000 2.674897 4.000000
10.000000 2.777778 6.000000

[TXTCurve]
Name=Station2
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=5
20.000000 0.000000 0.000000
20.000000 1.872428 1.000000
20.000000 3.562243 2.500000
20.000000 4.279835 4.000000
20.000000 4.444444 6.000000

[TXTCurve]
Name=Station3
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=5
30.000000 0.000000 0.000000
30.000000 2.106481 1.000000
30.000000 4.007523 2.500000
30.000000 4.814815 4.000000
30.000000 5.000000 6.000000

[TXTCurve]
Name=Station4
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=5
40.000000 0.000000 0.000000
40.000000 1.872428 1.000000
40.000000 3.562243 2.500000
40.000000 4.279835 4.000000
40.000000 4.444444 6.000000

[TXTCurve]
Name=Station5
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=5
50.000000 0.000000 0.000000
50.000000 1.170267 1.000000
50.000000 2.226402 2.500000
50.000000 2.674897 4.000000
50.000000 2.777778 6.000000

[TXTCurve]
Name=Stem
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=2
60.000000 0.000000 0.000000
60.000000 0.000000 6.000000

[TXTCurve]
Name=Keel
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=7
0.000000 0.000000 0.000000 (Bead at Address 0:0.000000 on Curve Sternpost)
10.000000 0.000000 0.000000 (Bead at Address 0:0.000000 on Curve Station1)
20.000000 0.000000 0.000000 (Bead at Address 0:0.000000 on Curve Station2)
30.000000 0.000000 0.000000 (Bead at Address 0:0.000000 on Curve Station3)
40.000000 0.000000 0.000000 (Bead at Address 0:0.000000 on Curve Station4)
50.000000 0.000000 0.000000 (Bead at Address 0:0.000000 on Curve Station5)
60.000000 0.000000 0.000000 (Bead at Address 0:0.000000 on Curve Stem)

[TXTCurve]
Name=Sheer
CurveOptions=[]
TangentRibbon=None
NumConstraints=0
NumPoints=7
0.000000 0.000000 6.000000 (Bead at Address 1:0.000000 on Curve Sternpost)
10.000000 2.777778 6.000000 (Bead at Address 1:0.000000 on Curve Station1)
20.000000 4.444444 6.000000 (Bead at Address 1:0.000000 on Curve Station2)
30.000000 5.000000 6.000000 (Bead at Address 1:0.000000 on Curve Station3)
40.000000 4.444444 6.000000 (Bead at Address 1:0.000000 on Curve Station4)
50.000000 2.777778 6.000000 (Bead at Address 1:0.000000 on Curve Station5)
60.000000 0.000000 6.000000 (Bead at Address 1:0.000000 on Curve Stem)

[TXTSurface]
Name=XTSurface1
Options=sptGregory,False,True,False,True,True,False,0,False,0.017453292519943296
NumCurves=9
Sternpost
Station1
Station2
Station3
Station4
Station5
Stem
Keel
Sheer
DrawParameters=TRUE

$SARNOVAVERSION 8.0.3.120
