[TPolyline]
NumPoints=3
 0 0 0
 1.5 2.25 -3
 10 0 0
  name = Hull line
Smooth=3
Color=clBlue

[TPolyline]
NumPoints=2
0 0 0
1 0 0
Mirrored=TRUE
Name=Keel
Stray line
Name=Ignored

$SARNOVAVERSION 8.0.3.120
