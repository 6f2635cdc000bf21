[TFrames]
Frames 5 0.6 10 0.7 

[TBox]
    -1.000     4.000     0.000
    -1.000     0.000     0.000
    -1.000     0.000     3.500
    -1.000     4.000     3.500
    11.000     4.000     0.000
    11.000     4.000     3.500
    11.000     0.000     3.500
    11.000     0.000     0.000
Name=Tank
Color=clRed

[TBox]
    -5.000     7.000    -5.000
    -5.000    -3.000    -5.000
    -5.000    -3.000     5.000
    -5.000     7.000     5.000
     5.000     7.000    -5.000
     5.000     7.000     5.000
     5.000    -3.000     5.000
     5.000    -3.000    -5.000

[TArc]
StartPoint=(0,2,0)
MidPoint=(1,1,0)
EndPoint=(2,2,0)
Name=Bow
Color=clBlue

[TCircle]
Radius=2.5
Centre=(1,2,0)
Normal=(0,0,-1)
Name=Port

[TCircle]
Radius=0.125
Centre=(-3.5,0,1.75)
Normal=(0,1,0)
Color=clGreen

$SARNOVAVERSION 8.0.3.120
