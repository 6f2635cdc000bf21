// IGES import and export: the document's curves, planes and surfaces to and from IGES files, through
// the IGES file model. Coordinates are converted between the document's design unit and the unit the
// file declares.
#pragma once
#include <string>

namespace sarnova {

class TGeometryList;

// Adds the supported entities of the file (arcs, circles, composite curves, copious data, planes,
// lines, B-spline curves and surfaces) and writes the file's global header to the console. Nothing is
// added when the file cannot be read: the error names the file and the line or directory entry.
void ImportIGES(const std::string& FileName, TGeometryList& Document);
// Asks for author, organisation and units, then writes every exportable object of the document.
void ExportIGES(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
