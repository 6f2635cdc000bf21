// A displacement beyond what the fullness can reach is refused with the range it reaches
TarvoHull1.DISP=9000
