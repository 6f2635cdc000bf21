[TPolyline]
NumPoints=3
     0.000      0.000      0.000
     5.000      0.000      1.000
    10.000      0.000      0.000
Name=Chine

[TBSpline]
Order=4
NumPoints=4
 10.000000   4.000000   2.000000
  7.000000   4.000000   3.000000
  3.000000   4.000000   3.000000
  0.000000   4.000000   2.000000
Name=Sheer

[TRuledSurface]
Curve1=Chine
Curve2=Sheer
Name=Side
DrawParameters=FALSE
DrawOutline=TRUE
NumULine=1

$SARNOVAVERSION 8.0.3.120
