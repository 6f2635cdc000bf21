[TBSpline]
Order=4
NumPoints=4
  0.000000   0.000000   0.000000
  3.000000   0.000000   1.000000
  7.000000   0.000000   1.000000
 10.000000   0.000000   0.000000
Name=Bottom

[TBSpline]
Order=4
NumPoints=4
 10.000000   0.000000   0.000000
 10.000000   3.000000   1.000000
 10.000000   7.000000   1.000000
 10.000000  10.000000   0.000000
Name=Right

[TBSpline]
Order=4
NumPoints=4
 10.000000  10.000000   0.000000
  7.000000  10.000000   1.000000
  3.000000  10.000000   1.000000
  0.000000  10.000000   0.000000
Name=Top

[TBSpline]
Order=4
NumPoints=4
  0.000000  10.000000   0.000000
  0.000000   7.000000   1.000000
  0.000000   3.000000   1.000000
  0.000000   0.000000   0.000000
Name=Left

[TCoonsPatch]
InterpolationMethod=cpBiCubic
NumCurves=4
Bottom
Right
Top
Left
Name=Deck
DrawParameters=FALSE
NumVLine=10

[TCoonsPatch]
InterpolationMethod=cpBiLinear
NumCurves=3
Bottom
Right
Gone
Name=Broken
DrawParameters=TRUE

$SARNOVAVERSION 8.0.3.120
