[TPolyline]
NumPoints=3
     0.000      0.000      0.000
     1.500      2.250     -3.000
    10.000      0.000      0.000
Name=Hull line
Color=clBlue

[TPolyline]
NumPoints=2
     0.000      0.000      0.000
     1.000      0.000      0.000
Name=Keel
Color=clGreen

$SARNOVAVERSION 8.0.3.120
