#include "exchange/IoOff.h"

#include "exchange/IoImport.h"
#include "exchange/OFFFile.h"
#include "naval/GPList.h"
#include "document/GeometryList.h"
#include "foundation/UserDialogs.h"

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

TOFFExportDialog& OFFExportDialog() {
    static TOFFExportDialog Dialog;
    return Dialog;
}

void ExportOff(IUserDialogs& Dialogs, TGeometryList& Document) {
    TGeoPList* Entity = nullptr;
    int Lists = 0, Selected = 0;
    TGeoPList* Only = nullptr;
    TGeometry* SelectedEntity = nullptr;
    for (int I = 0; I < Document.Count(); ++I) {
        TGeometry& G = Document.Items(I);
        if (G.GetSelected()) {
            ++Selected;
            SelectedEntity = &G;
        }
        if (auto* L = dynamic_cast<TGeoPList*>(&G)) {
            ++Lists;
            Only = L;
        }
    }
    if (Selected == 1) Entity = dynamic_cast<TGeoPList*>(SelectedEntity);
    if (!Entity && Lists == 1) Entity = Only;
    if (!Entity) {
        Dialogs.MessageBox("Information",
                           "A Entity to export was not found. Select the entity to export if there is more than one "
                           "TPolylineList",
                           TMsgDlgType::mtInformation, mbOK);
        return;
    }
    TOFFFile File;
    File.Sections.AddCopies(Entity->Polylines());
    File.Validate();
    std::string FileName;
    if (OFFExportDialog() && OFFExportDialog()(File, FileName)) File.SaveToFile(FileName);
}

}  // namespace sarnova
