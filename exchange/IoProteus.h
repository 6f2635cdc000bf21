// The damage-stability model moved between the document and a Proteus DAM file with its companion
// SUS file: compartments, open groups of compartments and openings between groups and the sea.
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

// Builds the SUS companion and the DAM model first and writes "<name>.sus" and "<name>.dam" only when
// both are complete; an opening whose group is not exported ("Proteus Group <name> not found") or a
// properties window closed without Close writes neither.
void ExportProteusDam(const std::string& FileName, TGeometryList& Document);
// Reads the companion hull (when "<name>.sus" exists) and the DAM file before adding anything, so a
// failure leaves the document as it was; the console says which file and line failed.
void ImportProteusDam(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
