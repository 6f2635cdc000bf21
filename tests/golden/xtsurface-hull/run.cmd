// The hull surface made from its curves alone is chosen for the hydrostatics
SELECT NONE
