#include "exchange/IoGF.h"

#include <algorithm>

#include "exchange/ExportItems.h"
#include "exchange/GFFile.h"
#include "exchange/IoImport.h"
#include "naval/GPList.h"
#include "document/GeometryList.h"
#include "foundation/Box.h"
#include "foundation/Geom.h"
#include "foundation/Polyline.h"

namespace sarnova {

void ImportGF(const std::string& FileName, TGeometryList& Document) {
    RunImport("GF", FileName, Document, [&](TImportedEntities& Entities) {
        TGFFile File;
        File.LoadFromFile(FileName);
        for (const auto& P : File.Parts)
            for (const TGFComponent* C : P->Components) {
                auto E = std::make_unique<TGeoPList>();
                std::unique_ptr<TPolylineList> Geometry = C->Geometry();
                // The file's x runs from bow to stern (the export mirrors a model whose x runs from
                // stern to bow, its default): mirrored back, so that what was exported comes back as it was.
                for (int K = 0; K < Geometry->Count(); ++K) {
                    TPolyline& S = *Geometry->Items(K);
                    for (int J = 0; J < S.Count(); ++J) S.Point(J)->X = -S.Point(J)->X;
                }
                E->Polylines().TakeFrom(*Geometry);
                E->SortSections();
                if (C->Side() == 0) E->SetMirrored(true);
                E->SetPermeability(C->Permeability);
                E->SetName(P->Name() + "\\" + C->Name());
                Entities.push_back(std::move(E));
            }
    });
}

double GFModelMetres(const TGFExportOptions& Options) {
    static constexpr double SourceMetres[] = {1.0, 0.001, 1 / 3.2808399};
    return SourceMetres[std::clamp(Options.SourceUnits, 0, 2)];
}

double GFFileUnitsPerModelUnit(const TGFExportOptions& Options) {
    return GFModelMetres(Options) * (Options.FileUnits == 1 ? 3.2808399 : 1.0);
}

TGFExportDialog& GFExportDialog() {
    static TGFExportDialog Dialog;
    return Dialog;
}

void ExportGF(const std::string& FileName, TGeometryList& Document) {
    TGFExportOptions Options;
    Options.Title = FileName;
    Options.Reference = "Reference";
    const std::vector<TGeoPList*> Lists = PolylineListsOf(Document);
    for (TGeoPList* L : Lists) {
        const TMBox B = L->Polylines().Extents();
        Options.ModelLength = B.Max.X - B.Min.X;
        Options.ModelBeam = B.Max.Y - B.Min.Y;
    }
    Options.Length = Options.ModelLength * GFFileUnitsPerModelUnit(Options);
    Options.Beam = Options.ModelBeam * GFFileUnitsPerModelUnit(Options);
    if (!GFExportDialog() || !GFExportDialog()(Options)) return;

    TGFFile File;
    File.Title = Options.Title;
    File.Reference = Options.Reference;
    File.Units = Options.FileUnits == 1 ? 1 : 0;
    File.ModelMetres = GFModelMetres(Options);
    if (Options.IncludeLength) File.Length = Options.Length;
    if (Options.IncludeBeam) File.Beam = Options.Beam;
    TGFPart* Part = nullptr;
    for (TGeoPList* E : Lists) {
        const std::string Name = E->GetName();
        const std::size_t Slash = Name.find('\\');
        if (!Part || E->GetPermeability() >= 0) {
            const bool First = File.Parts.empty();
            Part = &File.AddPart();
            Part->SetName(Slash != std::string::npos ? Name.substr(0, Slash)
                          : First                    ? "HULL"
                                                     : "P" + std::to_string(File.Parts.size()));
        }
        TPolylineList Sections;
        for (int K = 0; K < E->Polylines().Count(); ++K) {
            const TPolyline& S = *E->Polylines().Items(K);
            auto P = std::make_unique<TPolyline>();
            for (int J = 0; J < S.Count(); ++J) {
                const TRPoint& Q = *S.Point(J);
                P->AddPoint(Options.SternToBowPositiveX ? -Q.X : Q.X, Q.Y, Q.Z);
            }
            Sections.Add(std::move(P));
        }
        Sections.SortByStation();
        const bool FirstComponent = File.Components.empty();
        TGFComponent& C = Part->AddComponent(Sections);
        C.SetName(Slash != std::string::npos ? Name.substr(Slash + 1)
                  : !Name.empty()            ? Name
                  : FirstComponent           ? "HULL"
                                             : "C" + std::to_string(File.Components.size()));
        if (E->Mirrored()) C.SetSide(0);
        C.Permeability = E->GetPermeability();
    }
    File.SaveToFile(FileName);
}

}  // namespace sarnova
