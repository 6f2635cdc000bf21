// What every import shares: the entities it makes are collected first and only added to the document
// when the whole file has been read, so that a failure leaves the document as it was.
#pragma once
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace sarnova {

class TGeometry;
class TGeometryList;

using TImportedEntities = std::vector<std::unique_ptr<TGeometry>>;

void BeginImport(TGeometryList& Document);
// Adds the entities (none for nullptr, after a failure) and closes the bracket.
void EndImport(TGeometryList& Document, TImportedEntities* Entities);
void ReportImportFailure(const char* Format, const std::string& FileName, const std::exception& E);

// Runs Read inside one update bracket of the document (end editing, hourglass); then adds what it
// collected. When Read throws, the console gets Format + " import of <file> failed: " + the message,
// nothing is added and the error passes on.
template <class F>
void RunImport(const char* Format, const std::string& FileName, TGeometryList& Document, F Read) {
    TImportedEntities Entities;
    BeginImport(Document);
    try {
        Read(Entities);
    } catch (const std::exception& E) {
        ReportImportFailure(Format, FileName, E);
        EndImport(Document, nullptr);
        throw;
    } catch (...) {
        EndImport(Document, nullptr);
        throw;
    }
    EndImport(Document, &Entities);
}

}  // namespace sarnova
