[TTarvoCurve]
Name=Stem
SurfaceOperation=Control
NumConstraints=1
TStraightConstraint
 FirstIndex=0
 LastIndex=2
Order=4
NumPoints=5
  0.000000   0.000000   0.000000
  0.000000   1.000000   0.500000
  0.000000   2.000000   0.700000
  0.000000   3.000000   2.000000
  0.000000   4.000000   4.000000

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
  5.000000   9.000000   9.000000
  6.000000   9.000000   9.000000
  5.500000   9.000000   9.000000
  7.000000   9.000000   9.000000
  6.500000   9.000000   9.000000

[TCurve]
Order=4
NumPoints=4
  1.000000   0.000000   0.000000
  1.000000   1.000000   0.000000
  1.000000   2.000000   1.000000
  1.000000   3.000000   3.000000
NumConstraints=1
TCurveModifier
 FirstIndex=0
 LastIndex=3
Name=OldSheer

