[TDimension]
     1.000      2.000      3.000
     4.000      6.000     15.000
Name=Diagonal

[TDimension]
     2.000      2.000      3.000
     5.000      2.000      3.000
Name=Along x
Color=clRed

$SARNOVAVERSION 8.0.3.120
