#include "hulls/ui/HalvornFrame.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include "controls/VkGroupBox.h"

namespace sarnova {

THalvornFrame::THalvornFrame(TGeoHalvorn& AEntity, QWidget* Parent)
    : THullLinesFrame(AEntity, "Halvorn", "HalvornFrame", Parent) {
    auto* HullType = new TVkGroupBox("Hull Type", this);
    HullType->setObjectName("VkGroupBox3");
    auto* Inner = new QVBoxLayout(HullType);
    Inner->setContentsMargins(4, 16, 4, 4);
    RadioButton1 = new QRadioButton("Hull without Bulbous Bow", HullType);
    RadioButton2 = new QRadioButton("Hull with Bulbous Bow", HullType);
    RadioButton1->setChecked(true);
    Inner->addWidget(RadioButton1);
    Inner->addWidget(RadioButton2);
    // Between "Name and Color" and "Parameters".
    Layout->insertWidget(2, HullType);

    connect(RadioButton1, &QRadioButton::clicked, this, [this] { HullTypeClick(0); });
    connect(RadioButton2, &QRadioButton::clicked, this, [this] { HullTypeClick(1); });
    UpdateFromEntity();
}

THalvornFrame::~THalvornFrame() {
    if (Entity) Hull().Generator().OnProgress = nullptr;
}

void THalvornFrame::RefreshControls() {
    const QSignalBlocker B1(RadioButton1), B2(RadioButton2);
    RadioButton1->setChecked(Hull().Generator().BowShape() != 1);
    RadioButton2->setChecked(Hull().Generator().BowShape() == 1);
}

void THalvornFrame::HullTypeClick(int Shape) {
    if (Entity == nullptr) return;
    const TWaitCursor Wait;
    SpeedButton1->setEnabled(false);
    Entity->BeginChange();
    Hull().Generator().SetBowShape(static_cast<std::uint8_t>(Shape));
    Entity->EndChange();
    UpdateFromEntity();
    AfterEdit();
    SpeedButton1->setEnabled(!CheckBox1->isChecked());
}

void RegisterHalvornFrame() {
    RegisterGeometryFrame(HalvornFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Hull = dynamic_cast<TGeoHalvorn*>(&Geometry);
        if (Hull == nullptr) return nullptr;
        return new THalvornFrame(*Hull, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
