[TPolyline]
NumPoints=2
     0.000      0.000      0.000
     1.000      0.000      2.000
Name=Stem

[TPolyline]
NumPoints=2
     1.000      0.000      0.000
     2.000      0.000      2.000
Name=Stem1

$SARNOVAVERSION 8.0.3.120
