#include "entities/ui/EntityFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "entities/ui/BoxFrame.h"
#include "entities/ui/FrameParts.h"
#include "entities/ui/FramesFrame.h"
#include "entities/ui/ShapeFrame.h"
#include "controls/VkGroupBox.h"
#include "controls/VkSpin.h"

namespace sarnova {

TEntityFrame::TEntityFrame(TGeometry& AEntity, const std::string& Caption, const QString& Name, QWidget* Parent)
    : QWidget(Parent), Entity(&AEntity) {
    setObjectName(Name);
    FrameLayout = new QVBoxLayout(this);
    EntityClass = NewFrameTitle(Caption, this);
    FrameLayout->addWidget(EntityClass);
    NameColor = new TFrameNameColor(&AEntity, this);
    FrameLayout->addWidget(NameColor);
}

TEntityFrame::~TEntityFrame() = default;

void TEntityFrame::Forget() {
    Entity = nullptr;
    NameColor->SetEntity(nullptr);
}

TVkGroupBox* TEntityFrame::AddGroupBox(const char* Caption, const char* Name) {
    auto* Box = new TVkGroupBox(Caption, this);
    Box->setObjectName(Name);
    new QVBoxLayout(Box);
    FrameLayout->addWidget(Box);
    return Box;
}

void TEntityFrame::FinishLayout() {
    FrameLayout->addStretch();
    (new TVkGroupBoxManager(this))->Loaded();
}

TVkSpinEdit* AddSpinEdit(TVkGroupBox& Box, const char* Caption, float Increment) {
    auto* Row = new QHBoxLayout;
    auto* Label = new QLabel(Caption, &Box);
    auto* Spin = new TVkSpinEdit(&Box);
    Spin->SetSpinType(spFloat);
    Spin->SetIncrement(Increment);
    Spin->QuietValueUpdateDelay = 1000;
    Label->setMinimumWidth(50);
    Row->addWidget(Label);
    Row->addWidget(Spin, 1);
    static_cast<QVBoxLayout*>(Box.layout())->addLayout(Row);
    return Spin;
}

void RegisterPrimitiveFrames() {
    RegisterFramesFrame();
    RegisterBoxFrame();
    RegisterShapeFrames();
}

}  // namespace sarnova
