[TArc]
StartPoint=(0,2,0)
MidPoint=(1,1,0)
EndPoint=(2,2,0)
Name=Half

[TCircle]
Radius=0.5
Centre=(4,0,0)
Normal=(0,0,1)
Name=After

$SARNOVAVERSION 8.0.3.120
