// ASCII stereolithography (STL) files read into one polygon-list entity of their facets.
#pragma once
#include <memory>
#include <string>

namespace sarnova {

class TGeometryList;
class TPolygonList;

// The facets of every solid in the file, or nullptr when it holds none. Errors name the line.
std::unique_ptr<TPolygonList> ReadSTL(const std::string& FileName);
// Adds one polygon-list entity of the file's facets; nothing when the file cannot be read to its end.
void ImportSTL(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
