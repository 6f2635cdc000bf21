[TPolyline]
NumPoints=2
    -4.000     -3.000      3.000
     6.000      7.000      5.000
Name=Line

[TPlane]
Normal=(0,0,1)
Offset=4.5
ShowCurveIntersections=FALSE
Sort=X
ShowNormal=TRUE
ShowAxes=FALSE
ShowSurfaceIntersections=FALSE
ShowIntersectionCurve=FALSE

[TPlane]
Normal=(0,0.6,0.8)
Offset=1.35
Name=Roll
Color=clRed
ShowCurveIntersections=TRUE
Sort=Y
ShowNormal=FALSE
ShowAxes=TRUE
ShowSurfaceIntersections=TRUE
ShowIntersectionCurve=TRUE

[TPlane]
Normal=(0.48,0.6,0.64)
Offset=6.6
Name=Skew
ShowCurveIntersections=TRUE
Sort=Z
ShowNormal=TRUE
ShowAxes=TRUE
ShowSurfaceIntersections=FALSE
ShowIntersectionCurve=FALSE

[TPointCloud]
NumPoints=3
     2.235      0.000      3.000
  1001.500      2.000     -4.250
     0.999      5.000      7.000
Name=Cloud

$SARNOVAVERSION 8.0.3.120
