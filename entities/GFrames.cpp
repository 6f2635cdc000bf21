#include "entities/GFrames.h"

#include "document/GeometryClasses.h"
#include "document/GeometryList.h"

namespace sarnova {

namespace {

const bool Registered = (RegisterGeometryClass(GeometryClassOf<TGeoFrames>()), true);

}  // namespace

TGeoFrames::TGeoFrames() {
    Table.XMin = -10.0;
    Table.XMax = 100.0;
    // The table of "Frames 0 1": one range over every frame number the tables allow.
    Table.Origin = 0;
    TFrameSpacing Range;
    Range.Spacing = 1;
    Range.Offset = 0;
    Range.XMin = -1e33;
    Range.XMax = 1e33;
    Range.FirstFrame = -100000;
    Range.LastFrame = 300000;
    Table.Add(Range);
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
    const auto* Other = dynamic_cast<const TGeoFrames*>(&Source);
    if (Other == nullptr || Other->Table.Count() == 0) return;
    Table.Clear();
    Table.Origin = Other->Table.Origin;
    for (int I = 0; I < Other->Table.Count(); ++I) Table.Add(Other->Table.Items(I));
}

}  // namespace sarnova
