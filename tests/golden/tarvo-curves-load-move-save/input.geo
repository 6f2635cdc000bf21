[TTarvoCurve]
Name=Stem
SurfaceOperation=Control
NumConstraints=1
TStraightConstraint
 FirstIndex=0
 LastIndex=2
Order=4
NumPoints=5
     0.000      0.000      0.000
     0.000      1.000      0.500
     0.000      2.000      0.700
     0.000      3.000      2.000
     0.000      4.000      4.000

[TTarvoCurve]
Name=Frame
SurfaceOperation=Tangent
NumConstraints=2
TOffsetConstraint
 ReferenceCurve=Stem
 Axis=X
TPlaneConstraint
 Direction=YAW
 Parameter=1.4000000000
Order=4
NumPoints=5
     5.000      9.000      9.000
     6.000      9.000      9.000
     5.500      9.000      9.000
     7.000      9.000      9.000
     6.500      9.000      9.000

[TCurve]
Order=4
NumPoints=4
     1.000      0.000      0.000
     1.000      1.000      0.000
     1.000      2.000      1.000
     1.000      3.000      3.000
NumConstraints=1
TCurveModifier
 FirstIndex=0
 LastIndex=3
Name=OldSheer

