// IMS offsets files read into a document.
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

// The sections of the file as one polyline list, in document units.
void ImportOff(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
