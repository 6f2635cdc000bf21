#include "exchange/IoOff.h"

#include "exchange/IoImport.h"
#include "exchange/OFFFile.h"
#include "naval/GPList.h"

namespace sarnova {

void ImportOff(const std::string& FileName, TGeometryList& Document) {
    RunImport("IMS Offsets", FileName, Document, [&](TImportedEntities& Entities) {
        TOFFFile File;
        File.LoadFromFile(FileName);
        auto E = std::make_unique<TGeoPList>();
        E->Polylines().Assign(File.Sections);
        Entities.push_back(std::move(E));
    });
}

}  // namespace sarnova
