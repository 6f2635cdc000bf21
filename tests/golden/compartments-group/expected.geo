[TPolylineList]
NumPolylines=3
NumPoints=5
    10.000      1.000      0.000
    10.000      4.000      0.000
    10.000      4.000      2.000
    10.000      1.000      2.000
    10.000      1.000      0.000
NumPoints=5
    15.000      1.000      0.000
    15.000      4.000      0.000
    15.000      4.000      2.500
    15.000      1.000      2.500
    15.000      1.000      0.000
NumPoints=5
    20.000      1.000      0.000
    20.000      4.000      0.000
    20.000      4.000      3.000
    20.000      1.000      3.000
    20.000      1.000      0.000
Name=Tank 1S
Permeability= 9.50000000000000E-0001
ShowAsCompartment=TRUE

[TPolylineList]
NumPolylines=3
NumPoints=5
    10.000     -1.000      0.000
    10.000     -4.000      0.000
    10.000     -4.000      2.000
    10.000     -1.000      2.000
    10.000     -1.000      0.000
NumPoints=5
    15.000     -1.000      0.000
    15.000     -4.000      0.000
    15.000     -4.000      2.500
    15.000     -1.000      2.500
    15.000     -1.000      0.000
NumPoints=5
    20.000     -1.000      0.000
    20.000     -4.000      0.000
    20.000     -4.000      3.000
    20.000     -1.000      3.000
    20.000     -1.000      0.000
Name=Tank 1P
Permeability= 9.50000000000000E-0001
ShowAsCompartment=TRUE

[TOpenGroup]
Name=Double Bottom
NumParameters=1
InitialWater=0.5
NumObjects=2
Tank 1S
Tank 1P

$SARNOVAVERSION 8.0.3.120
