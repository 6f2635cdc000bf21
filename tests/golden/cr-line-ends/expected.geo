[TPolyline]
NumPoints=2
     0.000      0.000      5.000
     1.000      0.000      5.000
Name=Old

[TPolyline]
NumPoints=2
     0.000      0.000      0.000
     1.000      0.000      0.000
Name=A

[TPolyline]
NumPoints=2
     0.000      1.000      0.000
     1.000      1.000      0.000
Name=B

[TPolyline]
NumPoints=2
     0.000      2.000      0.000
     1.000      2.000      0.000
Name=C

$SARNOVAVERSION 8.0.3.120
