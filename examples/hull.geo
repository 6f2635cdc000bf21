[TPolyline]
NumPoints=7
     0.000      0.000      0.600
     2.000      0.000      0.100
     5.000      0.000      0.000
    15.000      0.000      0.000
    17.500      0.000      0.400
    19.000      0.000      1.400
    20.000      0.000      3.300
Name=Keel

[TPolyline]
NumPoints=6
     0.000      2.400      0.900
     5.000      2.850      0.600
    10.000      2.800      0.550
    15.000      2.200      0.700
    18.000      1.000      1.300
    19.400      0.000      2.100
Name=Chine
Color=clLime

[TPolyline]
NumPoints=6
     0.000      2.600      3.200
     5.000      3.000      3.000
    10.000      3.000      2.950
    15.000      2.600      3.000
    18.000      1.600      3.100
    20.000      0.000      3.300
Name=Sheer
Color=clYellow

[TPolyline]
NumPoints=3
     0.000      0.000      0.600
     0.000      2.400      0.900
     0.000      2.600      3.200
Name=Transom
Color=clAqua

[TPolyline]
NumPoints=3
     5.000      0.000      0.000
     5.000      2.850      0.600
     5.000      3.000      3.000
Name=Station 5
Color=clAqua

[TPolyline]
NumPoints=3
    10.000      0.000      0.000
    10.000      2.800      0.550
    10.000      3.000      2.950
Name=Station 10
Color=clAqua

[TPolyline]
NumPoints=3
    15.000      0.000      0.000
    15.000      2.200      0.700
    15.000      2.600      3.000
Name=Station 15
Color=clAqua

$SARNOVAVERSION 8.0.3.120
