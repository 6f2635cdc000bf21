// The hull surface the curves made is chosen for the hydrostatic table
SELECT NONE
SELECT XTSurface1
