// Ships moved between the document and the SUS hull definition file: every polyline-list entity is a
// record (the first the hull), a polyline named "Margin Line" or "MarginLine" the margin line.
#pragma once
#include <functional>
#include <string>

namespace sarnova {

class TGeometryList;
class TGeoPline;
class TSusFile;

// Adds a "Margin Line" polyline (when the file has one) and a polyline list per record, all in one
// update. A file that fails to read adds nothing; the console names the file and the line.
void ImportSus(const std::string& FileName, TGeometryList& Document);
// Asks the spacing question, shows the properties window and writes the file. A No, or a window
// closed without its Close button, writes nothing. The document is never changed.
void ExportSus(const std::string& FileName, TGeometryList& Document);
// False when the user answers No to a "too close together" question.
bool CheckSectionSpacing(TGeometryList& Document);
// The polyline entity named "MarginLine" or else "Margin Line"; nullptr when none is a polyline.
TGeoPline* FindMarginLine(TGeometryList& Document);

// One record per polyline list of the document, in document order (the first is the hull), with
// consecutive duplicate points removed and, when ReduceCompartments, compartment sections of more than
// 20 points reduced to 20; the dimensions become the records' extents.
void AddSusRecords(TGeometryList& Document, TSusFile& File, bool ReduceCompartments);

// The properties window the GUI registers: true when it was closed with Close. Without a window
// (headless runs) the model is written as it stands.
extern std::function<bool(TSusFile& File)> GShowSusProperties;

}  // namespace sarnova
