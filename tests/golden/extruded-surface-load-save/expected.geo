[TExtrudedSurface]
Curve1=Sheer
Curve2=
Options=[eoScaleShape]
Divisions=0
MinExtrusion=-2.50000000000000E+0000
MaxExtrusion= 1.00000000000000E+0001
Name=Scaled
DrawParameters=TRUE
DrawOutline=FALSE
NumULine=12

[TExtrudedSurface]
Curve1=Sheer
Curve2=Keel
Options=[]
Divisions=3
MinExtrusion= 0.00000000000000E+0000
MaxExtrusion= 1.00000000000000E+0001
Name=Plain
DrawParameters=FALSE
DrawOutline=TRUE
Mirrored=TRUE

[TPolyline]
NumPoints=3
     0.000      0.000      0.000
    10.000      0.000      0.000
    10.000      5.000      0.000
Name=Sheer

[TPolyline]
NumPoints=2
     0.000      0.000      0.000
     0.000      0.000      4.000
Name=Keel

$SARNOVAVERSION 8.0.3.120
