[TArc]
StartPoint=(0,0,0)
MidPoint=(1,0.5,0)
EndPoint=(2,0,0)
Name=Bow

[TPolyline]
NumPoints=2
     0.000      0.000      0.000
     1.000      1.000      0.000
Name=Diagonal

$SARNOVAVERSION 8.0.3.120
