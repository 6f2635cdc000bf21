// Comma-separated coordinates read as polyline entities, one per run of coordinate lines.
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

// Lines "x,y" or "x,y,z[,...]" add points; a line of one field, an empty line or a line without a
// number (a header) ends the current polyline. A line mixing numbers with other text is an error
// naming the line, and then nothing is added.
void ImportCSVPolylines(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
