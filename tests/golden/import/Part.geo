[TFutureSurface]
Name=Keel

$SARNOVAVERSION 8.0.3.120
