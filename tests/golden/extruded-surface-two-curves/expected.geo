[TBSpline]
Order=4
NumPoints=4
  0.000000   0.000000   0.000000
  1.000000   2.000000   0.000000
  3.000000   2.000000   0.000000
  4.000000   0.000000   0.000000
Name=Section

[TPolyline]
NumPoints=3
     0.000      0.000      0.000
     0.000      0.000      5.000
     0.000      3.000     10.000
Name=Curve1

[TExtrudedSurface]
Curve1=Section
Curve2=Curve1
Options=[eoRotateWithPath, eoOrientWithPath, eoCentreWithPath, eoScaleShape]
Divisions=1
MinExtrusion= 0.00000000000000E+0000
MaxExtrusion= 1.00000000000000E+0001
DrawParameters=TRUE
DrawOutline=TRUE

$SARNOVAVERSION 8.0.3.120
