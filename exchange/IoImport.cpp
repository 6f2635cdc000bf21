#include "exchange/IoImport.h"

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/DuZezOrideConsole.h"

namespace sarnova {

void BeginImport(TGeometryList& Document) { Document.BeginUpdate(ufEndEditing | ufHourGlass); }

void EndImport(TGeometryList& Document, TImportedEntities* Entities) {
    if (Entities == nullptr) {
        try {
            Document.EndUpdate();
        } catch (...) {
            // The import's own failure is the one to report.
        }
        return;
    }
    try {
        for (std::unique_ptr<TGeometry>& E : *Entities) Document.Add(std::move(E));
    } catch (...) {
        try {
            Document.EndUpdate();
        } catch (...) {
        }
        throw;
    }
    Document.EndUpdate();
}

void ReportImportFailure(const char* Format, const std::string& FileName, const std::exception& E) {
    if (GConsole) GConsole->WriteLine(std::string(Format) + " import of " + FileName + " failed: " + E.what());
}

}  // namespace sarnova
