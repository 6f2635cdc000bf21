#include "entities/ui/GGonFrame.h"

#include "entities/ui/FrameParts.h"
#include "shell/VkGroupBox.h"

namespace sarnova {

TGGonFrame::TGGonFrame(TGeoPGonlist& AEntity, QWidget* Parent)
    : TEntityFrame(AEntity, "Polygon List", "TGGonFrame", Parent) {
    setFixedWidth(259);
    PointsGroup = AddGroupBox("Points", "VkGroupBox2");
    FinishLayout();
    RefreshAll();
}

void TGGonFrame::RefreshAll() {
    if (Entity() == nullptr) return;
    Filling = true;
    NameColor->Refresh();
    Filling = false;
}

void RegisterGGonFrame() {
    RegisterGeometryFrame(GGonFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* List = dynamic_cast<TGeoPGonlist*>(&Geometry);
        if (List == nullptr) return nullptr;
        return new TGGonFrame(*List, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
