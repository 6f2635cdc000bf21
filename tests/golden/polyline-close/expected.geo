[TPolyline]
NumPoints=4
     0.000      0.000      0.000
     4.000      0.000      1.000
     4.000      3.000      1.000
     0.000      0.000      0.000
Name=Polyline1
Color=clRed

[TPolyline]
NumPoints=2
     2.000      4.000      0.000
    -1.000      0.500      0.000
Name=Open Line

$SARNOVAVERSION 8.0.3.120
