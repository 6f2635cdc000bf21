[TTarvoCurve]
Name=C0
SurfaceOperation=Control
NumConstraints=0
Order=4
NumPoints=5
  0.000000   0.000000   0.000000
  0.200000   1.000000   0.500000
  0.400000   2.000000   2.000000
  0.600000   3.000000   4.500000
  0.800000   4.000000   8.000000

[TTarvoCurve]
Name=C1
SurfaceOperation=Control
NumConstraints=1
TOffsetConstraint
 ReferenceCurve=C0
 Axis=X
Order=4
NumPoints=5
  3.000000   0.000000   0.000000
  3.200000   1.000000   0.500000
  3.400000   2.000000   2.000000
  3.600000   3.000000   4.500000
  3.800000   4.000000   8.000000

[TTarvoCurve]
Name=C2
SurfaceOperation=Control
NumConstraints=1
TOffsetConstraint
 ReferenceCurve=C1
 Axis=X
Order=4
NumPoints=5
  6.000000   0.000000   0.000000
  6.200000   1.000000   0.500000
  6.400000   2.000000   2.000000
  6.600000   3.000000   4.500000
  6.800000   4.000000   8.000000

$SARNOVAVERSION 8.0.3.120
