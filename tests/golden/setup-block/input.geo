[TSetup]
Setup=Z=2 (X=5 X=15) PROF

[TPolylineList]
NumPolylines=1
NumPoints=2
5 0 0
5 1 1
Name=Tank
Permeability=-0.85

