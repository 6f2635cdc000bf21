// What every import shares: the entities it makes are collected first and only added to the document
// when the whole file has been read, so that a failure leaves the document as it was.
#pragma once
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/ExchangeText.h"

namespace sarnova {

class TGeometry;
class TGeometryList;

using TImportedEntities = std::vector<std::unique_ptr<TGeometry>>;

// The lines of a text file read one after another, with errors that name the file and the line read
// last: "<file>(<line>): <what>" (EConvertError).
class TImportLines {
public:
    explicit TImportLines(const std::string& FileName);

    bool Eof() const { return FNext >= FLines.size(); }
    std::size_t Remaining() const { return FLines.size() - FNext; }
    // The next line; at the end of the file the error "unexpected end of file" (or, with Closing, "the
    // file ends before "<Closing>"").
    std::string_view Next(const char* Closing = nullptr);
    [[noreturn]] void Fail(const std::string& What) const;
    // The trimmed text as an integer or real, else the conversion error naming the text.
    int Integer(std::string_view Text) const;
    double Real(std::string_view Text) const;

private:
    std::string FName;
    std::vector<std::string> FLines;
    std::size_t FNext = 0;
};

// What an import left out, counted per kind in the order first met.
class TSkippedKinds {
public:
    void Add(const std::string& Kind, int Count = 1);
    bool Empty() const { return FKinds.empty(); }
    // "2 SPLINE, 1 TEXT".
    std::string Text() const;
    // The console line "<Format> import of <file>: not imported: <Text>", when anything was skipped.
    void Report(const char* Format, const std::string& FileName) const;

private:
    std::vector<std::pair<std::string, int>> FKinds;
};

// Why a file gave nothing: "the file is empty", "the file is binary, not text" or "it holds nothing
// this import reads (<n> lines)".
std::string NothingImportedReason(const std::string& FileName);

void BeginImport(TGeometryList& Document);
// Adds the entities (none for nullptr, after a failure) and closes the bracket.
void EndImport(TGeometryList& Document, TImportedEntities* Entities);
// Inside a handler: rethrows the exception being handled, or, when its message holds bytes that are
// not printable text (quoted from the file), an exception of the same kind with the printable text.
[[noreturn]] void RethrowPrintable(const std::exception& E);
[[noreturn]] void ThrowNothingImported(const std::string& FileName, const std::string& Reason = {});
void ReportImportFailure(const char* Format, const std::string& FileName, const std::exception& E);
// An information box through the program's dialogs; the console where there are none.
void ShowExchangeInformation(const std::string& Text);

// Runs Read inside one update bracket of the document (end editing, hourglass); then adds what it
// collected. When Read throws, the console gets Format + " import of <file> failed: " + the message,
// nothing is added and the error passes on. A file that gives nothing is refused the same way, saying
// why (EConvertError "<file>: nothing was imported: <reason>").
template <class F>
void RunImport(const char* Format, const std::string& FileName, TGeometryList& Document, F Read) {
    TImportedEntities Entities;
    BeginImport(Document);
    try {
        Read(Entities);
        if (Entities.empty()) ThrowNothingImported(FileName);
    } catch (const std::exception& E) {
        ReportImportFailure(Format, FileName, E);
        EndImport(Document, nullptr);
        RethrowPrintable(E);
    } catch (...) {
        EndImport(Document, nullptr);
        throw;
    }
    EndImport(Document, &Entities);
}

}  // namespace sarnova
