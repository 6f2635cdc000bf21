[TBSpline]
Order=4
NumPoints=5
  0.000000   0.000000   0.000000
  1.000000   2.000000   0.000000
  3.000000   2.500000   0.500000
  5.000000   1.000000  -0.250000
  6.000000   0.000000   0.000000
Name=Stem
Color=clBlue

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
Name=Inserted

[TBSpline]
KnotType=Custom
Knot=[0 0 0 1 2 3 3 3]
MinTParameter=0.5
MaxTParameter=2.5
Order=3
NumPoints=5
  0.000000   0.000000   0.000000
  1.000000   1.000000   0.000000
  2.000000   0.000000   0.000000
  3.000000   1.000000   0.000000
  4.000000   0.000000   0.000000
Name=Custom

[TBSpline]
ForcedBezier
Order=3
NumPoints=3
  0.000000   0.000000   0.000000
  1.000000   1.000000   0.000000
  2.000000   0.000000   0.000000

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
Name=Sheer
Color=clGreen

[TCBSpline]
Continuity=SecondOrderPiecewise
StartCondition=Natural
EndCondition=Natural
AccountForChordLength=False
NumPoints=3
     0.000      0.000      0.000
     1.000      1.000      0.000
     2.000      0.000      0.000

[TCSpline]
NumPoints=5
     0.000      0.000      0.000
     1.000      0.500      0.000
     2.000      0.000      1.000
     3.000     -0.500      0.000
     4.000      0.000      0.000
Name=Keel

$SARNOVAVERSION 8.0.3.120
