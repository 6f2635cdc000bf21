#include "entities/GFrames.h"

#include "document/GeometryClasses.h"
#include "document/GeometryList.h"
#include "foundation/TextFile.h"

namespace sarnova {

TGeoFrames::TGeoFrames() {
    Table.XMin = -10.0;
    Table.XMax = 100.0;
    Table.SetDefinition("Frames 0 1");
    StoreName("Frames");
    SetCapabilities(GetCapabilities() | cpUndoable);
}

void TGeoFrames::AfterListChange() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    if (Table.Count() == 0) {
        DeleteFromList();
        return;
    }
    const TFrames* ListFrames = List->GetFrames();
    if (ListFrames != nullptr && ListFrames != &Table) DeleteFromList();
}

void TGeoFrames::Assign(const TGeometry& Source) {
    TGeometry::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoFrames*>(&Source)) Table.Assign(Other->Table);
}

void TGeoFrames::SaveToText(TTextWriter& Out) {
    if (Table.Count() == 0) return;
    Out.WriteLine("[" + GetKeyword() + "]");
    Out.WriteLine(Table.GetDefinition());
    Out.WriteLine("");
}

void TGeoFrames::LoadFromText(TTextReader& In) { Table.SetDefinition(In.ReadLine()); }

}  // namespace sarnova
