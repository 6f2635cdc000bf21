// IMS offsets files read into a document.
#pragma once
#include <functional>
#include <string>

namespace sarnova {

class IUserDialogs;
class TGeometryList;
class TOFFFile;

// The sections of the file as one polyline list, in document units.
void ImportOff(const std::string& FileName, TGeometryList& Document);

// The export window: shows the model, lets the user set its fields and the file name; true on Save.
using TOFFExportDialog = std::function<bool(TOFFFile& File, std::string& FileName)>;
// Set by the GUI at start-up; without one the export does nothing.
TOFFExportDialog& OFFExportDialog();

// Writes the selected polyline list (or the document's only one) through the export window. Without
// such an entity an information box says so; a list beyond the file's limits is refused before the
// window opens.
void ExportOff(IUserDialogs& Dialogs, TGeometryList& Document);

}  // namespace sarnova
