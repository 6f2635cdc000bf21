[TPolylineList]
NumPolylines=2
NumPoints=2
     0.000      0.000      0.000
     0.000      1.000      2.000
NumPoints=3
    10.000      0.000      0.000
    10.000      1.500      1.000
    10.000      2.000      2.500
Permeability= 1.00000000000000E+0000

[TPolylineList]
NumPolylines=1
NumPoints=2
     5.000      0.000      0.000
     5.000      1.000      1.000
Mirrored=TRUE
Name=Tank
Permeability= 0.00000000000000E+0000
ShowAsCompartment=TRUE
Color=clRed

[TPolylineList]
NumPolylines=1
NumPoints=2
     1.000      0.000      0.000
     1.000      1.000      1.000
Name=Void
Permeability= 9.50000000000000E-0001

[TPolyline]
NumPoints=2
     0.000      0.000      0.000
     1.000      0.000      0.000

$SARNOVAVERSION 8.0.3.120
