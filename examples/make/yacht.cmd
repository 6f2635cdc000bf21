// A sailing yacht from the yacht generator (Create > Corvane Hull) with its own parameters, selected for
// the hydrostatic table and the lines plan
SELECT ALL
