#include "entities/ui/NPatchFrame.h"

#include <QRadioButton>

#include "entities/ui/CoonsPatchFrame.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

TNPatchFrame::TNPatchFrame(TGeoNPatch& AEntity, QWidget* Parent)
    : TGeneratedSurfaceFrame(AEntity, "N-Sided Patch", "TNPatchFrame", Parent) {
    AddDivisionsGroup();
    TVkGroupBox* Techniques = AddGroupBox("N-Sided Patch Technique", "TechniqueGroup");
    for (std::size_t I = 0; I < RadioButtons.size(); ++I) {
        const auto Technique = static_cast<TNPatchTechnique>(I);
        QRadioButton* Button = AddRadioButton(*Techniques, QString::fromStdString(PatchTypeCaption(Technique)));
        connect(Button, &QRadioButton::toggled, this, [this, Technique](bool On) {
            if (On && !Filling && Entity() != nullptr) Entity()->ChoosePatchType(Technique);
        });
        RadioButtons[I] = Button;
    }
    FinishLayout();
    UpdateControls();
}

void TNPatchFrame::UpdateControls() {
    if (Entity() == nullptr) return;
    Filling = true;
    RefreshCommon();
    for (std::size_t I = 0; I < RadioButtons.size(); ++I)
        CheckQuietly(*RadioButtons[I], Entity()->GetPatchType() == I);
    Filling = false;
}

void RegisterNPatchFrame() {
    RegisterGeometryFrame(NPatchFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Patch = dynamic_cast<TGeoNPatch*>(&Geometry);
        return Patch != nullptr ? new TNPatchFrame(*Patch, static_cast<QWidget*>(Owner)) : nullptr;
    });
}

}  // namespace sarnova
