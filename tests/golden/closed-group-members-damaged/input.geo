[TClosedGroup]
Name=Fittings
NumParameters=4
  3.000000  10.000000   1.000000
  0.000000  10.000000   0.000000
Name=Top


[TBSpline]
Order=4
NumPoints=4
 10.000000   0.000000   0.000000
  7.696723   3.170188   1.000000
  5.393447   6.340377   1.000000
  3.090170   9.510565   0.000000
Name=Edge1

[TN-SidedPatch]
PatchType=ptWeightedG1
NumCurves=5
Edge1
Edge2
Edge5
Name=Lid
DrawParameters=TRUE
DrawParameters=TRUE

[TPlane]
Normal=(0,0.6,0.8)
Offset=-2.25
ShowCurveIntersections=FALSE
Sort=X
ShowNormal=FALSE
ShowAxes=FALSE
ShowSurfaceIntersections=FALSE
ShowIntersectionCurve=FALSE

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
NumCurves=2
Frame
$SARNOVAVERSION 8.0.3.120

[End Group]

$SARNOVAVERSION 8.0.3.120
