// A document holding every kind of surface, primitive, compartment, group, opening and hull entity,
// reopened: an undo with nothing to undo, then every entity moved at once and taken back by one undo
SELECT ALL
MOVE X=1 Y=2 Z=3
