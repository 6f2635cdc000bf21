// A hull from a network of curves: keel, stem, sternpost, sheer and five stations, all selected for
// the selection's "Create XTSurface Group"
IMPORT curve-hull-curves.geo
SELECT ALL
