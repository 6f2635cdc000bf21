#include "entities/ui/BoxFrame.h"

#include "entities/ui/FrameParts.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

TBoxFrame::TBoxFrame(TGeoBox& AEntity, QWidget* Parent) : TEntityFrame(AEntity, "Box", "TBoxFrame", Parent) {
    VkGroupBox2 = AddGroupBox("Centre", "VkGroupBox2");
    VkGroupBox3 = AddGroupBox("Size", "VkGroupBox3");
    const char* const Captions[6] = {"X:", "Y:", "Z:", "Length:", "Width:", "Height:"};
    for (int I = 0; I < 6; ++I) {
        TVkSpinEdit* Spin = AddSpinEdit(I < 3 ? *VkGroupBox2 : *VkGroupBox3, Captions[I], 1.0f);
        Spin->setObjectName(QString("VkSpinEdit%1").arg(I + 1));
        // The dimension code of the box primitive.
        const int Code = I + 1;
        Spin->OnChange = [this, Spin, Code](QObject*) {
            if (!Filling && Entity() != nullptr) Entity()->SetDimension(Code, Spin->GetValue());
        };
        VkSpinEdits[static_cast<std::size_t>(I)] = Spin;
    }
    FinishLayout();
    Refresh();
}

void TBoxFrame::Refresh() {
    if (Entity() == nullptr) return;
    Filling = true;
    NameColor->Refresh();
    for (int I = 0; I < 6; ++I)
        VkSpinEdits[static_cast<std::size_t>(I)]->SetValueQuietly(static_cast<float>(Entity()->Box().Dimension(I + 1)));
    Filling = false;
}

void RegisterBoxFrame() {
    RegisterGeometryFrame(BoxFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Box = dynamic_cast<TGeoBox*>(&Geometry);
        if (Box == nullptr) return nullptr;
        return new TBoxFrame(*Box, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
