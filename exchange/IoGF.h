// GF geometry files read into a document.
#pragma once
#include <functional>
#include <string>

namespace sarnova {

class TGeometryList;

// Every component becomes a polyline list named "<part>\<component>" with the component's
// permeability, mirrored when it lies on the centre line; lengths in document units.
void ImportGF(const std::string& FileName, TGeometryList& Document);

struct TGFExportOptions {
    int SourceUnits = 0;  // the document's lengths: 0 metres, 1 millimetres, 2 feet
    int FileUnits = 0;    // 0 metres, 1 feet
    bool SternToBowPositiveX = true;  // then x is mirrored
    std::string Title, Reference;
    bool IncludeLength = false, IncludeBeam = false;
    double Length = 0, Beam = 0;  // in file units
    double ModelLength = 0, ModelBeam = 0;  // the x and y extents of the last polyline list
};
// Metres per document length for the source units; file lengths per document length.
double GFModelMetres(const TGFExportOptions& Options);
double GFFileUnitsPerModelUnit(const TGFExportOptions& Options);
// The options window; true on OK. Set by the GUI at start-up; without one the export does nothing.
using TGFExportDialog = std::function<bool(TGFExportOptions& Options)>;
TGFExportDialog& GFExportDialog();

// Every polyline list becomes a component (one of negative permeability joins the part before it),
// written in the file's units. The options start with the file name as title and the length and beam
// of the last polyline list.
void ExportGF(const std::string& FileName, TGeometryList& Document);

}  // namespace sarnova
