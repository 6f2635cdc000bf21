[TFutureSurface]
Name=Deck

[TFrames]
Frames 0 0.6 20 0.7 

$SARNOVAVERSION 8.0.3.120
