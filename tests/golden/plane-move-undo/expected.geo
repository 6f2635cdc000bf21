[TPolyline]
NumPoints=2
    -5.000     -5.000      0.000
     5.000      5.000      2.000
Name=Line

[TPlane]
Normal=(0,0,1)
Offset=1.5
ShowCurveIntersections=FALSE
Sort=X
ShowNormal=TRUE
ShowAxes=FALSE
ShowSurfaceIntersections=FALSE
ShowIntersectionCurve=FALSE

[TPlane]
Normal=(0,0.6,0.8)
Offset=-2.25
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
Offset=3
Name=Skew
ShowCurveIntersections=TRUE
Sort=Z
ShowNormal=TRUE
ShowAxes=TRUE
ShowSurfaceIntersections=FALSE
ShowIntersectionCurve=FALSE

[TPointCloud]
NumPoints=3
     1.235     -2.000      0.000
  1000.500      0.000     -7.250
    -0.001      3.000      4.000
Name=Cloud

$SARNOVAVERSION 8.0.3.120
