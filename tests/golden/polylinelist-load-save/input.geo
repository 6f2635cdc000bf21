[TPolylineList]
NumPolylines=2
NumPoints=2
0 0 0
0 1 2
NumPoints=3
10 0 0
10 1.5 1
10 2 2.5

[TPolylineList]
NumPolylines=1
NumPoints=2
5 0 0
5 1 1
Mirrored=TRUE
Name=Tank
Permeability= 0.00000000000000E+0000
ShowAsCompartment=TRUE
Color=clRed

[TPolylineList]
NumPolylines=1
NumPoints=2
1 0 0
1 1 1
Mirrored=FALSE
Future=42
Name=Void
Permeability=0,95
[TPolyline]
NumPoints=2
0 0 0
1 0 0

$SARNOVAVERSION 8.0.3.120
