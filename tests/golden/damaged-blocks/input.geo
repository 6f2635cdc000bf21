[TPolyline]
NumPoints=2
     0.000      0.000      0.000
     1.000      0.000      0.000
Name=Before

[TBSpline]
Order=0
NumPoints=2
  0.000000   0.000000   0.000000
  1.000000   0.000000   0.000000
Name=NoOrder

[TBSpline]
Order=4
NumPoints=3
  0.000000   0.000000   0.000000
  1.000000   1.000000   0.000000
  2.000000   0.000000   0.000000
Name=FewPoints

[TBSpline]
KnotType=NonUniform
Knot=[0 1]
MinTParameter=0
MaxTParameter=1
Order=2
NumPoints=2
  0.000000   0.000000   0.000000
  1.000000   0.000000   0.000000
Name=ShortKnots

[TPointCloud]
NumPoints=-3
Name=Cloud

[TCircle]
Radius=-2
Centre=(0,0,0)
Normal=(0,0,1)
Name=Negative

[TCircle]
Radius=2
Centre=(0,0,0)
Normal=(0,0,0)
Name=Flat

[TPlane]
Normal=(0,0,0)
Offset=1
Name=Nowhere

[TFrames]
Frames 0 0.6 20 0.7 10 0.8

[TPolyline]
NumPoints=2
     0.000      1.000      0.000
     1.000      1.000      0.000
Name=After

$SARNOVAVERSION 8.0.3.120
