#include "exchange/IoImport.h"

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/DuZezOride.h"
#include "foundation/DuZezOrideConsole.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "platform/UserDialogs.h"

namespace sarnova {

TImportLines::TImportLines(const std::string& FileName) : FName(FileName), FLines(ReadFileLines(FileName)) {}

std::string_view TImportLines::Next(const char* Closing) {
    if (FNext >= FLines.size())
        throw EConvertError(FName + "(" + std::to_string(FLines.size()) + "): " +
                            (Closing ? std::string("the file ends before \"") + Closing + "\"" : "unexpected end of file"));
    return FLines[FNext++];
}

void TImportLines::Fail(const std::string& What) const {
    throw EConvertError(FName + "(" + std::to_string(FNext) + "): " + What);
}

int TImportLines::Integer(std::string_view Text) const {
    Text = TrimmedView(Text);
    int V = 0;
    if (!TryStrToInt(Text, V)) Fail("'" + std::string(Text) + "' is not a valid integer value");
    return V;
}

double TImportLines::Real(std::string_view Text) const {
    Text = TrimmedView(Text);
    double V = 0;
    if (!TryStrToFloat(Text, V)) Fail("Unable to convert string to number (" + std::string(Text) + ")");
    return V;
}

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

void ShowExchangeInformation(const std::string& Text) {
    if (GExceptionHandler && GExceptionHandler->UserDialogs != nullptr)
        GExceptionHandler->UserDialogs->MessageBox("Information", Text, TMsgDlgType::mtInformation, mbOK);
    else if (GConsole)
        GConsole->WriteLine(Text);
}

}  // namespace sarnova
