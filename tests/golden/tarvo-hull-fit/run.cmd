// A new displacement and LCB: the hull fits the fullness of its fore and aft bodies to them
TarvoHull1.DISP=4090
TarvoHull1.lcb=45
