#include "exchange/IoGF.h"

#include "exchange/GFFile.h"
#include "exchange/IoImport.h"
#include "naval/GPList.h"

namespace sarnova {

void ImportGF(const std::string& FileName, TGeometryList& Document) {
    RunImport("GF", FileName, Document, [&](TImportedEntities& Entities) {
        TGFFile File;
        File.LoadFromFile(FileName);
        for (const auto& P : File.Parts)
            for (const TGFComponent* C : P->Components) {
                auto E = std::make_unique<TGeoPList>();
                std::unique_ptr<TPolylineList> Geometry = C->Geometry();
                E->Polylines().TakeFrom(*Geometry);
                E->SortSections();
                if (C->Side() == 0) E->SetMirrored(true);
                E->SetPermeability(C->Permeability);
                E->SetName(P->Name() + "\\" + C->Name());
                Entities.push_back(std::move(E));
            }
    });
}

}  // namespace sarnova
