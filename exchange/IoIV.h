// The basic nodes of Open Inventor ASCII files (Material, Coordinate3, IndexedLineSet,
// IndexedFaceSet) read into one polyline-list entity and one polygon-list entity.
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

// Each run of coordinate indices ended by -1 gives one polyline or one facet (3 or 4 corners); a
// Material's diffuse colour colours what follows it. Errors name the line of the block; nothing is
// added then.
void ImportInventor(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
