[TImagePlane]
PlaneNormal=(1,0,0)
PlaneOffset=-0.25
LockAspectRatio=TRUE
MinV=-3.5
MinV=0
MaxV=12
MaxV=4.125
Width=3
Height=2
Count=3
010000ff000000ff02ff0000
Name=Body plan

[TImagePlane]
PlaneNormal=(0,0,1)
PlaneOffset=0
LockAspectRatio=FALSE
MinV=0
MinV=0
MaxV=1
MaxV=1
Width=0
Height=0
Count=0

$SARNOVAVERSION 8.0.3.120
