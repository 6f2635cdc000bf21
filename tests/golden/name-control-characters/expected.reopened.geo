[TPolyline]
NumPoints=2
     0.000      0.000      0.000
     1.000      1.000      0.000
Name=A_B

$SARNOVAVERSION 8.0.3.120
