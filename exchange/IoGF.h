// GF geometry files read into a document.
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

// Every component becomes a polyline list named "<part>\<component>" with the component's
// permeability, mirrored when it lies on the centre line; lengths in document units.
void ImportGF(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
