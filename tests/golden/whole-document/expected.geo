[TFrames]
Frames 0 0.6 20 0.7 

[TContours]
NumContours=2
         1     2.000
         3     0.500

[TPolyline]
NumPoints=3
     0.000      0.000      0.000
     1.500      2.250     -3.000
    10.000      0.000      0.000
Name=Sheer
Color=clBlue

[TFutureSurface]
Name=Deck
Panels=3

[TBSpline]
KnotType=NonUniform
Knot=[0 0 0 0 0.25 1 1 1 1]
MinTParameter=0
MaxTParameter=1
Order=4
NumPoints=5
  0.000000   0.000000   0.000000
  1.000000   1.000000   0.000000
  2.000000   0.000000   0.000000
  3.000000   1.000000   0.000000
  4.000000   0.000000   0.000000
Name=Stem

[TClosedGroup]
Name=Fittings
NumParameters=1
Kind=Deck

[TPolyline]
NumPoints=2
     0.000      0.000      0.000
     1.000      0.000      0.000
Name=Rail

[TClosedGroup]
Name=Inner
NumParameters=0

[TFutureSurface]
Name=Hatch

[End Group]

[End Group]

[TCBSpline]
Continuity=FirstOrder
StartCondition=Clamped [1, 0.5, 0]
EndCondition=Bessel
AccountForChordLength=True
NumPoints=4
     0.000      0.000      0.000
     1.000      2.000      0.000
     3.000      2.000      0.000
     4.000      0.000      0.000
Name=Chine

[TCSpline]
NumPoints=5
     0.000      0.000      0.000
     1.000      0.500      0.000
     2.000      0.000      1.000
     3.000     -0.500      0.000
     4.000      0.000      0.000
Name=Keel

[TMesh]
NumU=2
NumV=3
     0.000000      0.000000      0.000000      1.000
     0.000000      1.000000      0.500000      1.000
     0.000000      2.000000      0.000000      1.000
     4.000000      0.000000      0.000000      1.000
     4.000000      1.000000      0.500000      1.000
     4.000000      2.000000      0.000000      2.500
Name=Deck
DrawParameters=FALSE
Mirrored=TRUE
Color=clRed

[TBox]
    -1.000    -2.000     0.000
    -1.000     2.000     0.000
    -1.000     2.000     3.500
    -1.000    -2.000     3.500
    11.000    -2.000     0.000
    11.000    -2.000     3.500
    11.000     2.000     3.500
    11.000     2.000     0.000
Name=Tank
Color=clRed

[TArc]
StartPoint=(0,0,0)
MidPoint=(1,0.5,0)
EndPoint=(2,0,0)
Name=Bow

[TCircle]
Radius=2.5
Centre=(1,0,0)
Normal=(0,0,1)
Name=Port

[TPlane]
Normal=(0,0.6,0.8)
Offset=-2.25
Name=Roll
ShowCurveIntersections=TRUE
Sort=Y
ShowNormal=FALSE
ShowAxes=TRUE
ShowSurfaceIntersections=TRUE
ShowIntersectionCurve=TRUE

[TPointCloud]
NumPoints=3
     1.235     -2.000      0.000
  1000.500      0.000     -7.250
    -0.001      3.000      4.000
Name=Cloud

$SARNOVAVERSION 8.0.3.120
