#include "hulls/ui/CorvaneFrame.h"

#include <QCheckBox>
#include <QSignalBlocker>
#include <QToolButton>

namespace sarnova {

TCorvaneFrame::TCorvaneFrame(TGeoCorvane& AEntity, QWidget* Parent)
    : THullLinesFrame(AEntity, "Corvane", "CorvaneFrame", Parent) {
    UpdateFromEntity();
}

void TCorvaneFrame::RefreshControls() {
    const QSignalBlocker Block(CheckBox1);
    CheckBox1->setChecked(Hull().InteractiveUpdate);
}

void TCorvaneFrame::RefreshUpdateButton() {
    if (Hull().Generated()) {
        // The generator's last progress text would stay otherwise.
        ShowStatus(HullCompleteText);
        SpeedButton1->setEnabled(false);
    } else if (CheckBox1->isChecked()) {
        SpeedButton1->setEnabled(false);
    } else {
        ShowStatus(HullUngeneratedText);
        SpeedButton1->setEnabled(true);
    }
}

void TCorvaneFrame::DefaultsClick() {
    THullLinesFrame::DefaultsClick();
    if (Entity != nullptr && CheckBox1->isChecked()) GenerateNow();
}

void TCorvaneFrame::InteractiveClick(bool On) {
    if (Entity != nullptr) Hull().InteractiveUpdate = On;
    THullLinesFrame::InteractiveClick(On);
}

void RegisterCorvaneFrame() {
    RegisterGeometryFrame(CorvaneFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Hull = dynamic_cast<TGeoCorvane*>(&Geometry);
        if (Hull == nullptr) return nullptr;
        return new TCorvaneFrame(*Hull, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
