[TPolyline]
NumPoints=3
     0.000      0.000      0.000
    10.000      0.000      0.000
    10.000      5.000      0.000
Name=Sheer

[TExtrudedSurface]
Curve1=Sheer
Curve2=
Options=[eoRotateWithPath, eoOrientWithPath, eoCentreWithPath, eoScaleShape]
Divisions=1
MinExtrusion= 0.00000000000000E+0000
MaxExtrusion= 1.00000000000000E+0001
DrawParameters=TRUE
DrawOutline=TRUE

$SARNOVAVERSION 8.0.3.120
