[TFrames]
Frames 2 0.5

[TBox]
     0.000     0.000     3.000
     0.000     4.000     3.000
     0.000     4.000     6.500
     0.000     0.000     6.500
    12.000     0.000     3.000
    12.000     0.000     6.500
    12.000     4.000     6.500
    12.000     4.000     3.000
Name=Tank
Color=clRed

[TBox]
    -5.000    -5.000    -5.000
    -5.000     5.000    -5.000
    -5.000     5.000     5.000
    -5.000    -5.000     5.000
     5.000    -5.000    -5.000
     5.000    -5.000     5.000
     5.000     5.000     5.000
     5.000     5.000    -5.000

[TArc]
StartPoint=(1,2,3)
MidPoint=(2,3,3)
EndPoint=(3,2,3)
Name=Bow
Color=clBlue

[TCircle]
Radius=2.5
Centre=(2,2,3)
Normal=(0,0,1)
Name=Port

[TCircle]
Radius=0.125
Centre=(-3.5,2,1.75)
Normal=(0,1,0)
Color=clGreen

$SARNOVAVERSION 8.0.3.120
