//MACRONAME Include example
A = 2
INCLUDE Parts/Stations.cmd
LISTVARIABLES
MESSAGE back in the outer file
