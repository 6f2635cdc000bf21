[TPolylineList]
NumPolylines=2
NumPoints=2
     0.000      0.000      0.000
     0.000      1.000      2.000
NumPoints=2
    10.000      0.000      0.000
    10.000      1.000      2.000
Name=Hull
Permeability= 1.00000000000000E+0000

$SARNOVAVERSION 8.0.3.120
