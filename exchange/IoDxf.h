// DXF import and export: the document's geometry to and from the ENTITIES section of DXF drawing
// files, through the DXF file model.
#pragma once
#include <string>

#include "foundation/VkMaths.h"

namespace sarnova {

class TGeometryList;

// The matrix from the object coordinate system of a planar DXF entity with this extrusion direction
// to world coordinates (the arbitrary axis algorithm, extrusion cut to 8 decimals in single precision).
TMMatrix OCSMatrix(const TMVector& Extrusion);

// Adds the entities of the file's ENTITIES section (the whole file when it has none). Nothing is added
// when the file cannot be read to its end: the error names the file and the line.
void ImportDXF(const std::string& FileName, TGeometryList& Document);
// Writes every exportable object of the document as an ENTITIES-only DXF file.
void ExportDXF(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
