#include "document/ui/DefaultGeometryFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "document/GUnknown.h"
#include "document/ui/GUnknownFrame.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkColorPanel.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

QLabel* NewFrameHeading(QWidget* Parent) {
    auto* Heading = new QLabel(Parent);
    Heading->setObjectName("EntityClass");
    QFont Font("Arial");
    Font.setBold(true);
    Font.setItalic(true);
    Font.setPixelSize(16);
    Heading->setFont(Font);
    Heading->setStyleSheet("color: blue");
    return Heading;
}

TDefaultGeometryFrame::TDefaultGeometryFrame(TGeometry& AGeometry, QWidget* Parent)
    : QWidget(Parent), Geometry(&AGeometry) {
    setObjectName("DefaultGeometryFrame");
    resize(209, 740);
    auto* Layout = new QVBoxLayout(this);
    EntityClass = NewFrameHeading(this);
    EntityClass->setFixedHeight(21);
    Layout->addWidget(EntityClass);

    VkGroupBox1 = new TVkGroupBox("Name and Color", this);
    VkGroupBox1->setObjectName("VkGroupBox1");
    auto* NameLayout = new QHBoxLayout(VkGroupBox1);
    Edit1 = new QLineEdit(VkGroupBox1);
    Edit1->setObjectName("Edit1");
    VkColorPanel1 = new TVkColorPanel(VkGroupBox1);
    VkColorPanel1->setObjectName("VkColorPanel1");
    VkColorPanel1->setFixedSize(21, 21);
    NameLayout->addWidget(Edit1, 1);
    NameLayout->addWidget(VkColorPanel1);
    Layout->addWidget(VkGroupBox1);
    Layout->addStretch(1);

    VkGroupBoxManager1 = new TVkGroupBoxManager(this);
    VkGroupBox1->Loaded();
    VkGroupBoxManager1->Loaded();

    connect(Edit1, &QLineEdit::textEdited, this, [this] { RunMenuCommand([this] { Edit1Change(); }); });
    VkColorPanel1->OnChange = [this](QObject*) { RunMenuCommand([this] { VkColorPanel1Change(); }); };
}

void TDefaultGeometryFrame::Refresh() {
    if (!Geometry) return;
    EntityClass->setText(QString::fromStdString(Geometry->GetDescription()));
    // Only a different name is written: the user's caret stays where it is while renaming.
    const QString Name = QString::fromStdString(Geometry->GetName());
    if (Edit1->text() != Name) Edit1->setText(Name);
    VkColorPanel1->SetColor(Geometry->GetColor());
}

void TDefaultGeometryFrame::Edit1Change() {
    if (Geometry) Geometry->SetName(Edit1->text().toStdString());
}

void TDefaultGeometryFrame::VkColorPanel1Change() {
    if (Geometry) Geometry->SetColor(VkColorPanel1->GetColor());
}

void RegisterDefaultFrames() {
    RegisterGeometryFrame(DefaultGeometryFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        return new TDefaultGeometryFrame(Geometry, static_cast<QWidget*>(Owner));
    });
    RegisterGeometryFrame(GUnknownFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Unknown = dynamic_cast<TGeoUnknown*>(&Geometry);
        if (Unknown == nullptr) return nullptr;
        return new TGUnknownFrame(*Unknown, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
