[TBSplineSurfaceList]
NumSurfaces=2
OrderU=2
OrderV=2
NumU=2
NumV=2
     0.000000      0.000000      0.000000      1.000
     0.000000      2.000000      1.000000      1.000
     1.000000      0.000000      0.000000      1.000
     1.000000      2.000000      0.000000      1.000
KnotType=NonUniform
KnotU=[0 0 0.5 1 1]
KnotV=[0 0 1 1]
MinUParameter=0
MinVParameter=0
MaxUParameter=1
MaxVParameter=1
OrderU=2
OrderV=2
NumU=3
NumV=2
     2.000000      0.000000      0.000000      1.000
     2.000000      2.000000      1.000000      1.000
     2.500000      0.000000      0.500000      1.000
     2.500000      2.000000      1.500000      1.000
     3.000000      0.000000      0.000000      1.000
     3.000000      2.000000      0.000000      1.000
Name=Hull Plating
DrawOutline=TRUE
DrawParameters=FALSE
DrawContours=TRUE
Mirrored=TRUE
Color=clRed

$SARNOVAVERSION 8.0.3.120
