// The hull made from its curves takes a displacement and an LCB within the reach of its fullness
TarvoHull1.DISP=4150
TarvoHull1.LCB=45.5
SELECT NONE
