#include "entities/ui/FrameNameColor.h"

#include <QHBoxLayout>
#include <QSignalBlocker>

#include "document/Geometry.h"

namespace sarnova {

QLabel* NewFrameTitle(const std::string& Text, QWidget* Parent) {
    auto* Title = new QLabel(QString::fromStdString(Text), Parent);
    QFont Font = Title->font();
    Font.setBold(true);
    Font.setItalic(true);
    Font.setPixelSize(16);
    Title->setFont(Font);
    Title->setStyleSheet("color: blue");
    return Title;
}

TFrameNameColor::TFrameNameColor(TGeometry* AEntity, QWidget* Parent)
    : TVkGroupBox("Name and Color", Parent), Entity(AEntity) {
    setObjectName("NameAndColor");
    auto* Layout = new QHBoxLayout(this);
    NameEdit = new QLineEdit(this);
    ColorPanel = new TVkColorPanel(this);
    ColorPanel->setFixedSize(40, 21);
    Layout->addWidget(NameEdit);
    Layout->addWidget(ColorPanel);
    connect(NameEdit, &QLineEdit::textChanged, this, [this](const QString& Text) {
        if (Entity != nullptr) Entity->SetName(Text.toStdString());
    });
    ColorPanel->OnChange = [this](QObject*) {
        if (Entity != nullptr) Entity->SetColor(ColorPanel->GetColor());
    };
    Refresh();
}

void TFrameNameColor::Refresh() {
    if (Entity == nullptr) return;
    const QSignalBlocker Block(NameEdit);
    const QString Name = QString::fromStdString(Entity->GetName());
    if (NameEdit->text() != Name) NameEdit->setText(Name);
    ColorPanel->SetColor(Entity->GetColor());
}

}  // namespace sarnova
