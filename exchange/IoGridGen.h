// The document's polylines and arcs written as a GridGen Glyph script: one connector per entity.
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

void ExportGridGen(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
