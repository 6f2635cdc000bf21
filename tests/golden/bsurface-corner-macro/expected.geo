[TBSplineSurface]
OrderU=2
OrderV=2
NumU=2
NumV=2
     0.000000      0.000000      0.000000      1.000
     0.000000      5.000000      1.000000      1.000
    10.000000      0.000000      0.000000      1.000
    10.000000      5.000000      1.000000      1.000
Name=Deck
NumULine=4
NumVLine=4

$SARNOVAVERSION 8.0.3.120
