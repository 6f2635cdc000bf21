[TFutureSurface]
Name=Deck

$SARNOVAVERSION 8.0.3.120
