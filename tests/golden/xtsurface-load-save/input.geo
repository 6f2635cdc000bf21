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

[TXTSurface]
Name=XTSurface1
Options=sptGregory,False,True,False,True,True,False,0,False,0.017453292519943296
NumCurves=4
Bottom
Right
Top
Left
DrawParameters=FALSE
DrawOptions=[sdoVertices, sdoEdges]
Mirrored=TRUE
Color=clRed

$SARNOVAVERSION 8.0.3.120
