#include "entities/ui/PressureFieldFrame.h"

#include <QVBoxLayout>

#include "entities/ui/FrameParts.h"
#include "entities/ui/PressureFieldRenderer.h"
#include "entities/ui/ShadingController.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

// ---- TPressureFieldFrame ----

TPressureFieldFrame::TPressureFieldFrame(TGeoPressureField& AEntity, QWidget* Parent)
    : TEntityFrame(AEntity, "PressureField", "TPressureFieldFrame", Parent) {
    VkGroupBox2 = AddGroupBox("Shading", "VkGroupBox2");
    VkShadingController1 = new TVkShadingController(VkGroupBox2);
    VkShadingController1->setObjectName("VkShadingController1");
    VkShadingController1->setMinimumHeight(240);
    VkGroupBox2->layout()->addWidget(VkShadingController1);
    // The field is recoloured when a marker is released, not while it moves.
    VkShadingController1->OnChanged = [this](QObject*) {
        if (!Filling && Entity() != nullptr)
            Entity()->SetColourRange(VkShadingController1->GetClippingMin(), VkShadingController1->GetClippingMax());
    };
    FinishLayout();
    Refresh();
}

void TPressureFieldFrame::Refresh() {
    if (Entity() == nullptr) return;
    Filling = true;
    NameColor->Refresh();
    // Min and Max each open the limits to the full scale; the colour range then narrows them.
    VkShadingController1->SetMin(Entity()->MinPressure());
    VkShadingController1->SetMax(Entity()->MaxPressure());
    VkShadingController1->SetClippingMin(Entity()->ColourMin());
    VkShadingController1->SetClippingMax(Entity()->ColourMax());
    Filling = false;
}

// ---- TVectorListFrame ----

TVectorListFrame::TVectorListFrame(TGeoVectorList& AEntity, QWidget* Parent)
    : TEntityFrame(AEntity, "VectorList", "TVectorListFrame", Parent) {
    VkGroupBox2 = AddGroupBox("Vector Display Magnitude", "VkGroupBox2");
    VkSpinEdit1 = AddSpinEdit(*VkGroupBox2, "Scale Factor:", 1.0f);
    VkSpinEdit1->setObjectName("VkSpinEdit1");
    VkSpinEdit1->MinValue = 0;
    VkSpinEdit1->MaxValue = 100000000.0f;
    VkSpinEdit1->OnChange = [this](QObject*) {
        if (!Filling && Entity() != nullptr) Entity()->SetScale(VkSpinEdit1->GetValue());
    };
    FinishLayout();
    Refresh();
}

void TVectorListFrame::Refresh() {
    if (Entity() == nullptr) return;
    Filling = true;
    NameColor->Refresh();
    VkSpinEdit1->SetValueQuietly(static_cast<float>(Entity()->GetScale()));
    Filling = false;
}

void RegisterPressureFieldUi() {
    InstallPressureFieldRenderer();
    RegisterGeometryFrame(PressureFieldFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Field = dynamic_cast<TGeoPressureField*>(&Geometry);
        return Field != nullptr ? new TPressureFieldFrame(*Field, static_cast<QWidget*>(Owner)) : nullptr;
    });
    RegisterGeometryFrame(VectorListFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* List = dynamic_cast<TGeoVectorList*>(&Geometry);
        return List != nullptr ? new TVectorListFrame(*List, static_cast<QWidget*>(Owner)) : nullptr;
    });
}

}  // namespace sarnova
