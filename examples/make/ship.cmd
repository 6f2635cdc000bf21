// A cargo ship from the ship generator (Create > Halvorn Hull) with its own parameters, selected for
// the hydrostatic table
SELECT ALL
