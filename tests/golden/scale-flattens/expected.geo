[TPolyline]
NumPoints=2
     0.000      0.000      0.000
     1.000      0.000      0.000
Name=Diagonal

$SARNOVAVERSION 8.0.3.120
