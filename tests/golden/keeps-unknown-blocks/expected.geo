[TFutureSurface]
Name=Deck
  12.5, 3 , 0
Color=$00112233

[Odd Keyword]
x

[TFrames]
Frames 0 0.6 20 0.7 

$SARNOVAVERSION 8.0.3.120
