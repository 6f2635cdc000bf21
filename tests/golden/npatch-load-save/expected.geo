[TBSpline]
Order=4
NumPoints=4
 10.000000   0.000000   0.000000
  7.696723   3.170188   1.000000
  5.393447   6.340377   1.000000
  3.090170   9.510565   0.000000
Name=Edge1

[TBSpline]
Order=4
NumPoints=4
  3.090170   9.510565   0.000000
 -0.636610   8.299661   1.000000
 -4.363390   7.088757   1.000000
 -8.090170   5.877853   0.000000
Name=Edge2

[TBSpline]
Order=4
NumPoints=4
 -8.090170   5.877853   0.000000
 -8.090170   1.959284   1.000000
 -8.090170  -1.959284   1.000000
 -8.090170  -5.877853   0.000000
Name=Edge3

[TBSpline]
Order=4
NumPoints=4
 -8.090170  -5.877853   0.000000
 -4.363390  -7.088757   1.000000
 -0.636610  -8.299661   1.000000
  3.090170  -9.510565   0.000000
Name=Edge4

[TBSpline]
Order=4
NumPoints=4
  3.090170  -9.510565   0.000000
  5.393447  -6.340377   1.000000
  7.696723  -3.170188   1.000000
 10.000000   0.000000   0.000000
Name=Edge5

[TN-SidedPatch]
PatchType=ptWeightedG1
NumCurves=5
Edge1
Edge2
Edge3
Edge4
Edge5
Name=Lid
DrawParameters=TRUE
NumULine=6

[TN-SidedPatch]
PatchType=ptSubdivision
NumCurves=5
Edge1
Edge2
Edge3
Edge4
Edge5
Name=Later
DrawParameters=FALSE

$SARNOVAVERSION 8.0.3.120
