#include "exchange/IoSus.h"

#include "document/GPline.h"
#include "document/GeometryList.h"
#include "exchange/ExportItems.h"
#include "exchange/IoImport.h"
#include "exchange/SusFile.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/PolylineResample.h"
#include "naval/GPList.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

std::function<bool(TSusFile& File)> GShowSusProperties;

bool TSusFile::EditProperties() { return GShowSusProperties ? GShowSusProperties(*this) : true; }

void ImportSus(const std::string& FileName, TGeometryList& Document) {
    RunImport("SUS", FileName, Document, [&](TImportedEntities& Entities) {
        TSusFile File;
        File.LoadFromFile(FileName);
        if ((File.Flags & susMarginLine) && File.MarginLine) {
            auto Margin = std::make_unique<TGeoPline>();
            Margin->Polyline().AddCopies(*File.MarginLine);
            Margin->SetName("Margin Line");
            Entities.push_back(std::move(Margin));
        }
        for (int I = 0; I < File.Count(); ++I) {
            const TSus& Record = *File.Items(I);
            auto List = std::make_unique<TGeoPList>();
            List->Polylines().AddCopies(Record.Sections);
            List->SetName(Record.Name);
            List->SetPermeability(I == 0 ? 1.0 : Record.Permeability);
            List->SetMirrored(Record.Mirrored);
            Entities.push_back(std::move(List));
        }
    });
}

bool CheckSectionSpacing(TGeometryList& Document) {
    for (TGeoPList* List : PolylineListsOf(Document)) {
        const TPolylineList& Sections = List->Polylines();
        const TMBox Box = Sections.Extents();
        const double Tolerance = 0.0025 * (Box.Max.X - Box.Min.X);
        for (int K = 1; K < Sections.Count(); ++K) {
            if (!(Sections.Items(K)->GetStation() - Sections.Items(K - 1)->GetStation() < Tolerance)) continue;
            IUserDialogs* Dialogs = GExceptionHandler ? GExceptionHandler->UserDialogs : nullptr;
            if (!Dialogs) continue;
            const std::string Text =
                Format("Sections %d and %d are too close together, Continue?\r\n", {K - 1, K}) +
                "(Section spacing should be greater that 0.25% of the length of the hull)";
            if (Dialogs->MessageBox("Warning", Text, TMsgDlgType::mtWarning, mbYes | mbNo) != TModalResult::mrYes)
                return false;
        }
    }
    return true;
}

TGeoPline* FindMarginLine(TGeometryList& Document) {
    TGeometry* Found = Document.FindByName("MarginLine");
    if (!Found) Found = Document.FindByName("Margin Line");
    return dynamic_cast<TGeoPline*>(Found);
}

void AddSusRecords(TGeometryList& Document, TSusFile& File, bool ReduceCompartments) {
    for (TGeoPList* List : PolylineListsOf(Document)) {
        auto Record = std::make_unique<TSus>();
        // Compartments are written with 20 points a section; the hull keeps its own.
        const bool Reduce = ReduceCompartments && File.Count() > 0;
        for (int K = 0; K < List->Polylines().Count(); ++K) {
            auto Section = List->Polylines().Items(K)->Clone();
            if (Reduce && Section->Count() > 20) ReducePointsToCount(20, *Section);
            Section->RemoveDuplicatePoints();
            Record->Sections.Add(std::move(Section));
        }
        Record->Name = List->GetName();
        Record->Permeability = List->GetPermeability();
        Record->Mirrored = List->Mirrored();
        File.Add(std::move(Record));
    }
    const TMBox Box = File.Extents();
    File.Length = Box.Max.X - Box.Min.X;
    File.Beam = Box.Max.Y - Box.Min.Y;
    File.Depth = Box.Max.Z - Box.Min.Z;
}

void ExportSus(const std::string& FileName, TGeometryList& Document) {
    if (!CheckSectionSpacing(Document)) return;
    TSusFile File;
    if (TGeoPline* Margin = FindMarginLine(Document)) {
        File.MarginLine = std::make_unique<TPolyline>();
        File.MarginLine->AddCopies(Margin->Polyline());
        File.Flags |= susMarginLine;
    }
    AddSusRecords(Document, File, true);
    File.Flags |= susHydrostatics;
    if (!File.EditProperties()) return;
    File.SaveToFile(FileName);
}

}  // namespace sarnova
