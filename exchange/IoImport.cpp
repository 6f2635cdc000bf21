#include "exchange/IoImport.h"

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

TImportLines::TImportLines(const std::string& FileName) : FName(FileName), FLines(ReadFileLines(FileName)) {}

std::string_view TImportLines::Next(const char* Closing) {
    if (FNext >= FLines.size())
        throw EConvertError(FName + "(" + std::to_string(FLines.size()) + "): " +
                            (Closing ? std::string("the file ends before \"") + Closing + "\"" : "unexpected end of file"));
    return FLines[FNext++];
}

void TImportLines::Fail(const std::string& What) const {
    throw EConvertError(FName + "(" + std::to_string(FNext) + "): " + PrintableText(What, 200));
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

void TSkippedKinds::Add(const std::string& Kind, int Count) {
    for (auto& [Name, N] : FKinds)
        if (Name == Kind) {
            N += Count;
            return;
        }
    FKinds.emplace_back(Kind, Count);
}

namespace {

// "trimmed surface (type 144)" -> "trimmed surfaces (type 144)", "type 300 entity" -> "type 300
// entities"; names in capitals (the DXF entity names) stay as they are.
std::string Plural(const std::string& Name) {
    const std::size_t Note = std::min(Name.find(" ("), Name.size());
    if (Note == 0 || Name[Note - 1] < 'a' || Name[Note - 1] > 'z') return Name;
    const bool Y = Name[Note - 1] == 'y';
    return Name.substr(0, Note - Y) + (Y ? "ies" : "s") + Name.substr(Note);
}

}  // namespace

std::string TSkippedKinds::Text() const {
    std::string T;
    for (const auto& [Name, N] : FKinds) {
        if (!T.empty()) T += ", ";
        T += std::to_string(N) + " " + (N == 1 ? Name : Plural(Name));
    }
    return T;
}

void TSkippedKinds::Report(const char* Format, const std::string& FileName) const {
    if (!Empty() && GConsole) GConsole->WriteLine(std::string(Format) + " import of " + FileName + ": not imported: " + Text());
}

std::string NothingImportedReason(const std::string& FileName) {
    std::string Text;
    try {
        Text = ReadFileText(FileName);
    } catch (const std::exception& E) {
        return E.what();
    }
    if (Text.empty()) return "the file is empty";
    const std::string_view Head(Text.data(), std::min<std::size_t>(Text.size(), 4096));
    std::size_t Odd = 0;
    for (char C : Head) {
        const auto B = static_cast<unsigned char>(C);
        if (B == 0) return "the file is binary, not text";
        Odd += B < 0x20 && B != '\t' && B != '\n' && B != '\r' && B != '\f';
    }
    if (Odd * 20 > Head.size()) return "the file is binary, not text";
    std::size_t Lines = 0;
    for (char C : Text) Lines += C == '\n';
    if (Text.back() != '\n') ++Lines;
    return "it holds nothing this import reads (" + std::to_string(Lines) + (Lines == 1 ? " line)" : " lines)");
}

void RethrowPrintable(const std::exception& E) {
    const std::string Message = E.what();
    const std::string Shown = PrintableText(Message, Message.size());
    if (Shown == Message) throw;
    if (dynamic_cast<const EConvertError*>(&E)) throw EConvertError(Shown);
    if (dynamic_cast<const EInOutError*>(&E)) throw EInOutError(Shown);
    if (dynamic_cast<const EGeometryError*>(&E)) throw EGeometryError(Shown);
    throw EError(Shown);
}

void ThrowNothingImported(const std::string& FileName, const std::string& Reason) {
    throw EConvertError(FileName + ": nothing was imported: " + (Reason.empty() ? NothingImportedReason(FileName) : Reason));
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
    if (GConsole) GConsole->WriteLine(std::string(Format) + " import of " + FileName + " failed: " + PrintableText(E.what(), 400));
}

void ShowExchangeInformation(const std::string& Text) {
    if (GExceptionHandler && GExceptionHandler->UserDialogs != nullptr)
        GExceptionHandler->UserDialogs->MessageBox("Information", Text, TMsgDlgType::mtInformation, mbOK);
    else if (GConsole)
        GConsole->WriteLine(Text);
}

}  // namespace sarnova
