[TSetup]
Setup=Z=2 (X=5 X=15) PROF

[TPolylineList]
NumPolylines=1
NumPoints=2
     5.000      0.000      0.000
     5.000      1.000      1.000
Name=Tank
Permeability=-8.50000000000000E-0001

$SARNOVAVERSION 8.0.3.120
