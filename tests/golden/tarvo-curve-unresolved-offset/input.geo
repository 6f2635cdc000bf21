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
  6.172477   1.000000   0.850000
  6.344953   2.000000   1.200000
  2.000000   0.000000   0.500000
  2.000000   1.000000   0.500000
  2.000000   2.000000   1.500000

[TTarvoSurface]
Name=Loft
NumCurves=1
Frame

$SARNOVAVERSION 8.0.3.120
