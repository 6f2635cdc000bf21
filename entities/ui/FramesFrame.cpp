#include "entities/ui/FramesFrame.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

#include "entities/ui/FrameParts.h"
#include "foundation/Console.h"
#include "foundation/UserDialogs.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

TFramesFrame::TFramesFrame(TGeoFrames& AEntity, QWidget* Parent)
    : TEntityFrame(AEntity, "Frames", "TFramesFrame", Parent) {
    VkGroupBox2 = AddGroupBox("Definition", "VkGroupBox2");
    auto* Row = new QHBoxLayout;
    Edit2 = new QLineEdit(VkGroupBox2);
    UpdateDefinitionButton = new QToolButton(VkGroupBox2);
    UpdateDefinitionButton->setText("Update");
    Row->addWidget(Edit2, 1);
    Row->addWidget(UpdateDefinitionButton);
    static_cast<QVBoxLayout*>(VkGroupBox2->layout())->addLayout(Row);
    FinishLayout();

    connect(Edit2, &QLineEdit::textChanged, this, [this] { UpdateButton(); });
    connect(UpdateDefinitionButton, &QToolButton::clicked, this, [this] { UpdateDefinition(); });
    Refresh();
}

void TFramesFrame::Refresh() {
    if (Entity() == nullptr) return;
    Filling = true;
    NameColor->Refresh();
    // The whole definition, however long: a shortened one would apply cut short on "Update".
    Edit2->setText(QString::fromStdString(Entity()->DefinitionText()));
    Filling = false;
    UpdateButton();
}

void TFramesFrame::UpdateButton() {
    UpdateDefinitionButton->setEnabled(Entity() != nullptr &&
                                       Edit2->text().toStdString() != Entity()->DefinitionText());
}

void TFramesFrame::UpdateDefinition() {
    if (Entity() == nullptr) return;
    try {
        Entity()->UpdateDefinition(Edit2->text().toStdString());
        UpdateButton();
    } catch (const std::exception&) {
        UpdateButton();
        if (GExceptionHandler && GExceptionHandler->UserDialogs)
            GExceptionHandler->UserDialogs->MessageBox(GExceptionHandler->ApplicationTitle, "Error in frame Definition",
                                                       TMsgDlgType::mtError, mbOK);
        Edit2->setFocus();
    }
}

void RegisterFramesFrame() {
    RegisterGeometryFrame(FramesFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Frames = dynamic_cast<TGeoFrames*>(&Geometry);
        if (Frames == nullptr) return nullptr;
        return new TFramesFrame(*Frames, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
