// NAPA text listings: the offset table (stations by waterlines), point lists ("LIST OF ...") and
// two-curve tables ("table for: ...").
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

// The offset table becomes one polyline list "Hull" of one section per station, sorted by station;
// every point list and two-curve table a named polyline. Table cells that are not numbers are
// skipped. A column header without its X, Y, Z letters or a height that is not a number is an error
// naming the file and line, and then nothing is added.
void ImportNapaOffsets(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
