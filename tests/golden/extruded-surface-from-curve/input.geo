[TPolyline]
NumPoints=3
     0.000      0.000      0.000
    10.000      0.000      0.000
    10.000      5.000      0.000
Name=Sheer

$SARNOVAVERSION 8.0.3.120
