// IDF files: of their entities the SECTIONS kind is read, one polyline list per part.
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

// Every part of a SECTIONS entity becomes a polyline list named after the part, holding its curves.
// The third coordinate is negated unless the entity's "$COORDINATE SYSTEM" signs say otherwise. MESH
// and NURBS entities are announced as not read and skipped. A missing "$PART" or "$CURVE", a count
// the file cannot hold, a bad number or a cut file is an error naming the file and line, and then
// nothing is added.
void ImportIdf(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
