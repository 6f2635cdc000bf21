[TDimension]
     0.000      0.000      0.000
     3.000      4.000     12.000
Name=Diagonal

[TDimension]
     1.000      0.000      0.000
     4.000      0.000      0.000
Name=Along x
Color=clRed

$SARNOVAVERSION 8.0.3.120
