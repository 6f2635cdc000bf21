[TPolygonList]
NumberofPolygons=2
3 0.000 0.000 -1.000 1.000 0.000 -1.000 0.000 1.000 1.000
4 0.000 0.000 -2.000 2.000 0.000 -2.000 2.000 2.000 2.000 0.000 2.000 2.000
Name=Hull
Color=clRed

[TPolygonList]
NumberofPolygons=1
3 5.000 0.000 0.000 6.000 0.000 0.000 5.000 1.000 0.000
NAME=Ignored
Color=clBlue

