[TPolyline]
NumPoints=2
     0.000      0.000      0.000
     1.000      0.000      0.000
Name=Before

[TClosedGroup]
Name=Grp
NumParameters=0

[TFutureThing]
A=1

[TFutureGroup]
Name=Inner

[TPolyline]
NumPoints=2
 0 1 0
 1 1 0
Name=Inside

[End Group]

[End Group]

[TPolyline]
NumPoints=2
     0.000      2.000      0.000
     1.000      2.000      0.000
Name=After

$SARNOVAVERSION 8.0.3.120
