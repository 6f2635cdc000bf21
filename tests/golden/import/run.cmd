IMPORT Part.geo
