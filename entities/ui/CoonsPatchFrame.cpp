#include "entities/ui/CoonsPatchFrame.h"

#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"
#include "surfaces/CoonsPatch.h"

namespace sarnova {

QRadioButton* AddRadioButton(TVkGroupBox& Box, const QString& Caption) {
    auto* Button = new QRadioButton(Caption, &Box);
    static_cast<QVBoxLayout*>(Box.layout())->addWidget(Button);
    return Button;
}

void CheckQuietly(QRadioButton& Button, bool Checked) {
    const QSignalBlocker Block(&Button);
    Button.setChecked(Checked);
}

// ---- TCoonsPatchFrame ----

TCoonsPatchFrame::TCoonsPatchFrame(TGeoCoonsPatch& AEntity, QWidget* Parent)
    : TGeneratedSurfaceFrame(AEntity, "Coons Patch", "TCoonsPatchFrame", Parent) {
    AddDivisionsGroup();
    TVkGroupBox* Method = AddGroupBox("Interpolation Method", "MethodGroup");
    RadioButton1 = AddRadioButton(*Method, "Bi Linear");
    RadioButton2 = AddRadioButton(*Method, "Bi Cubic");
    for (auto [Button, Value] : {std::pair{RadioButton1, cpBiLinear}, {RadioButton2, cpBiCubic}}) {
        const std::uint8_t Chosen = Value;
        connect(Button, &QRadioButton::toggled, this, [this, Chosen](bool On) {
            if (On && !Filling && Entity() != nullptr) Entity()->SetCoonsMethod(Chosen);
        });
    }
    FinishLayout();
    UpdateControls();
}

void TCoonsPatchFrame::UpdateControls() {
    if (Entity() == nullptr) return;
    Filling = true;
    RefreshCommon();
    CheckQuietly(*RadioButton1, Entity()->GetCoonsMethod() == cpBiLinear);
    CheckQuietly(*RadioButton2, Entity()->GetCoonsMethod() == cpBiCubic);
    Filling = false;
}

void RegisterCoonsPatchFrame() {
    RegisterGeometryFrame(CoonsPatchFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Patch = dynamic_cast<TGeoCoonsPatch*>(&Geometry);
        return Patch != nullptr ? new TCoonsPatchFrame(*Patch, static_cast<QWidget*>(Owner)) : nullptr;
    });
}

}  // namespace sarnova
