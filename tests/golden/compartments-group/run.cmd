// Two tanks, the port one mirrored from the starboard one, gathered into one space
COMPARTMENT Tank 1S
FRONT 20
BACK 10
INSIDE 1
OUTSIDE 4
BOTTOM 0
TOP {
10 2
20 3
}
PERM 0.95
SECTIONS 3
END
CMIRROR Tank 1P
SOURCE TANK 1S
END
OPENGROUP Tanks
Tank 1S
Tank 1P
InitialWater=0.5
END
Tanks.NAME=Double Bottom
