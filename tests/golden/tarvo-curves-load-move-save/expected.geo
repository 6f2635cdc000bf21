[TTarvoCurve]
Name=Stem
SurfaceOperation=Control
NumConstraints=1
TStraightConstraint
 FirstIndex=0
 LastIndex=2
Order=4
NumPoints=5
  1.000000   0.000000   0.500000
  1.000000   1.000000   1.000000
  1.000000   2.000000   1.200000
  1.000000   3.000000   2.500000
  1.000000   4.000000   4.500000

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
  6.000000   9.000000   9.500000
  7.000000   9.000000   9.500000
  6.500000   9.000000   9.500000
  8.000000   9.000000   9.500000
  7.500000   9.000000   9.500000

[TTarvoCurve]
Name=OldSheer
SurfaceOperation=Control
NumConstraints=1
TBlendConstraint
 FirstIndex=0
 LastIndex=3
Order=4
NumPoints=4
  2.000000   0.000000   0.500000
  2.000000   1.000000   0.500000
  2.000000   2.000000   1.500000
  2.000000   3.000000   3.500000

$SARNOVAVERSION 8.0.3.120
