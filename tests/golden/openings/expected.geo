[TPolygonList]
NumberofPolygons=8
3 0.000 0.000 0.000 60.000 0.000 0.000 60.000 8.000 0.000
3 0.000 0.000 0.000 60.000 8.000 0.000 0.000 8.000 0.000
3 0.000 8.000 0.000 60.000 8.000 0.000 60.000 8.000 6.000
3 0.000 8.000 0.000 60.000 8.000 6.000 0.000 8.000 6.000
3 0.000 0.000 0.000 0.000 8.000 0.000 0.000 8.000 6.000
3 0.000 0.000 0.000 0.000 8.000 6.000 0.000 0.000 6.000
3 60.000 0.000 0.000 60.000 8.000 0.000 60.000 8.000 6.000
3 60.000 0.000 0.000 60.000 8.000 6.000 60.000 0.000 6.000
Name=Hull

[TOpenGroup]
Name=Hold1
NumParameters=0
NumObjects=1
Hull

[TOpenGroup]
Name=Hold2
NumParameters=0
NumObjects=1
Hull

[TOpening]
NumPolylines=3
NumPoints=2
    20.000      2.000      1.000
    20.000      0.000      1.000
NumPoints=2
    20.000      2.000      2.000
    20.000      0.000      2.000
NumPoints=2
    20.000      2.000      3.000
    20.000      0.000      3.000
Connection=Hold1 <-> Hold2
OpeningTime= 3.00000000000000E+0001
HeadOfWater= 0.00000000000000E+0000
Name=Door

[TOpening]
NumPolylines=4
NumPoints=2
    12.000      1.000      6.000
    12.000      3.000      6.000
NumPoints=2
    11.333      1.000      6.000
    11.333      3.000      6.000
NumPoints=2
    10.667      1.000      6.000
    10.667      3.000      6.000
NumPoints=2
    10.000      1.000      6.000
    10.000      3.000      6.000
Connection=Hold2 -> SEA
OpeningTime= 0.00000000000000E+0000
HeadOfWater= 1.50000000000000E+0000
Name=Hatch

[TOpening]
NumPolylines=4
NumPoints=2
    27.000      8.000      2.001
    27.000      8.000      3.999
NumPoints=2
    29.000      8.000      2.001
    29.000      8.000      3.999
NumPoints=2
    31.000      8.000      2.001
    31.000      8.000      3.999
NumPoints=2
    33.000      8.000      2.001
    33.000      8.000      3.999
Connection=Hold1 -> SEA
OpeningTime= 0.00000000000000E+0000
HeadOfWater= 0.00000000000000E+0000
Name=Side Door

[TOpening]
NumPolylines=5
NumPoints=2
    36.000     -8.000      0.000
    36.000     -8.000      6.000
NumPoints=3
    38.000     -6.400      0.000
    38.000     -8.000      0.000
    38.000     -8.000      6.000
NumPoints=3
    40.000     -4.800      0.000
    40.000     -8.000      0.000
    40.000     -8.000      6.000
NumPoints=3
    42.000     -6.400      0.000
    42.000     -8.000      0.000
    42.000     -8.000      6.000
NumPoints=2
    44.000     -8.000      0.000
    44.000     -8.000      6.000
Connection=Hold2 <- SEA
OpeningTime= 1.20000000000000E+0002
HeadOfWater= 0.00000000000000E+0000
Name=Damage

$SARNOVAVERSION 8.0.3.120
