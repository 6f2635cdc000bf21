[TFrames]
Frames 1 0.5 10 0.8 

[TContours]
NumContours=2
         1     2.000
         3     0.500

[TPolyline]
NumPoints=3
     3.732     -1.464      6.000
     8.580     -3.861      0.000
    21.053      8.536      6.000
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
  3.732051  -1.464102   6.000000
  6.464102  -2.196152   6.000000
  7.196152   0.535898   6.000000
  9.928203  -0.196152   6.000000
 10.660254   2.535898   6.000000
Name=Stem
Color=clGreen

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
StartCondition=Clamped [2.23205080756888, 0.133974596215561, 0]
EndCondition=Bessel
AccountForChordLength=True
NumPoints=4
     3.732     -1.464      6.000
     7.464     -3.928      6.000
    10.928     -1.928      6.000
    10.660      2.536      6.000
Name=Chine

[TCSpline]
NumPoints=5
     3.732     -1.464      6.000
     5.964     -1.330      6.000
     7.196      0.536      8.000
     8.428      2.402      6.000
    10.660      2.536      6.000
Name=Keel

[TMesh]
NumU=2
NumV=3
     3.732051     -1.464102      6.000000      1.000
     4.732051     -3.196152      7.000000      1.000
     5.732051     -4.928203      6.000000      1.000
    10.660254      2.535898      6.000000      1.000
    11.660254      0.803848      7.000000      1.000
    12.660254     -0.928203      6.000000      2.500
Name=Deck
DrawParameters=FALSE
Mirrored=TRUE
Color=clRed

[TArc]
StartPoint=(3.73205080756888,-1.46410161513775,6)
MidPoint=(5.96410161513775,-1.33012701892219,6)
EndPoint=(7.19615242270663,0.535898384862245,6)
Name=Bow

[TCircle]
Radius=5
Centre=(5.46410161513775,-0.464101615137755,6)
Normal=(0,0,-1)
Name=Port

[TPlane]
Normal=(0.3,-0.519615242270663,0.8)
Offset=2.18038475772934
Name=Roll
ShowCurveIntersections=TRUE
Sort=Y
ShowNormal=FALSE
ShowAxes=TRUE
ShowSurfaceIntersections=TRUE
ShowIntersectionCurve=TRUE

[TPointCloud]
NumPoints=3
     3.871      3.235      6.000
  1736.649    999.036     -8.500
     6.730     -6.661     14.000
Name=Cloud

[TPolyline]
NumPoints=3
     2.000     -2.464      6.000
     6.848     -4.861      0.000
    19.321      7.536      6.000
Name=Sheer1
Color=clBlue

[TBSpline]
KnotType=NonUniform
Knot=[0 0 0 0 0.25 1 1 1 1]
MinTParameter=0
MaxTParameter=1
Order=4
NumPoints=5
  2.000000  -2.464102   6.000000
  4.732051  -3.196152   6.000000
  5.464102  -0.464102   6.000000
  8.196152  -1.196152   6.000000
  8.928203   1.535898   6.000000
Name=Stem1

[TBox]
    -1.732     0.000     6.000
     2.268    -6.928     6.000
     2.268    -6.928    13.000
    -1.732     0.000    13.000
    19.053    12.000     6.000
    19.053    12.000    13.000
    23.053     5.072    13.000
    23.053     5.072     6.000
Name=Tank1
Color=clRed

[TCircle]
Radius=5
Centre=(3.73205080756888,-1.46410161513775,6)
Normal=(0,0,-1)
Name=Port1

[TMesh]
NumU=2
NumV=3
     3.732051     -4.985024      2.500258      1.000
     4.732051     -6.916875      1.982620      1.000
     5.732051     -7.434513      0.050768      1.000
    10.660254     -2.156597      5.328685      1.000
    11.660254     -4.088448      4.811047      1.000
    12.660254     -4.606086      2.879195      2.500
Name=Deck1
DrawParameters=FALSE
Mirrored=TRUE
Color=clRed

[TArc]
StartPoint=(3.73205080756888,-4.98502364871592,2.50025772552265)
MidPoint=(5.96410161513775,-4.89028930322516,2.59499207101341)
EndPoint=(7.19615242270663,-3.57081008634282,3.91447128789575)
Name=Bow1

[TPointCloud]
NumPoints=3
     3.871     -1.662      5.823
  1736.649    712.728    699.708
     6.730    -14.317      4.482
Name=Cloud1

[TCBSpline]
Continuity=FirstOrder
StartCondition=Clamped [1.11602540378444, 0.0669872981077806, 0]
EndCondition=Bessel
AccountForChordLength=True
NumPoints=4
     1.866     -0.232      3.000
     3.732     -1.464      3.000
     5.464     -0.464      3.000
     5.330      1.768      3.000
Name=Chine1

[TPlane]
Normal=(0.3,-0.519615242270663,0.8)
Offset=0.830384757729337
Name=Roll1
ShowCurveIntersections=TRUE
Sort=Y
ShowNormal=FALSE
ShowAxes=TRUE
ShowSurfaceIntersections=TRUE
ShowIntersectionCurve=TRUE

[TPolyline]
NumPoints=3
    -1.732     -1.464      6.000
    -6.580     -3.861      0.000
   -19.053      8.536      6.000
Name=Sheer2
Color=clBlue

[TCSpline]
NumPoints=5
    -1.732     -1.464      6.000
    -3.964     -1.330      6.000
    -5.196      0.536      8.000
    -6.428      2.402      6.000
    -8.660      2.536      6.000
Name=Keel1

$SARNOVAVERSION 8.0.3.120
