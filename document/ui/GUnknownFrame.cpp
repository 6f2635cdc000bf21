#include "document/ui/GUnknownFrame.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "document/GUnknown.h"
#include "document/ui/DefaultGeometryFrame.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

TGUnknownFrame::TGUnknownFrame(TGeoUnknown& AEntity, QWidget* Parent) : QWidget(Parent), Entity(&AEntity) {
    setObjectName("GUnknownFrame");
    resize(176, 432);
    auto* Layout = new QVBoxLayout(this);
    EntityClass = NewFrameHeading(this);
    EntityClass->setFixedHeight(25);
    const std::string Keyword = AEntity.GetClass().GetKeyword();
    EntityClass->setText(QString::fromStdString(Keyword.size() > 1 ? Keyword.substr(1) : Keyword));
    Layout->addWidget(EntityClass);

    VkGroupBox2 = new TVkGroupBox("Data", this);
    VkGroupBox2->setObjectName("VkGroupBox2");
    auto* DataLayout = new QVBoxLayout(VkGroupBox2);
    Memo1 = new QPlainTextEdit(VkGroupBox2);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    DataLayout->addWidget(Memo1);
    Layout->addWidget(VkGroupBox2, 1);

    VkGroupBoxManager1 = new TVkGroupBoxManager(this);
    VkGroupBox2->Loaded();
    VkGroupBoxManager1->Loaded();
}

void TGUnknownFrame::Refresh() {
    if (!Entity) return;
    QStringList Lines{QString::fromStdString("[" + Entity->BlockKeyword + "]")};
    for (const std::string& Line : Entity->StoredLines) Lines.append(QString::fromStdString(Line));
    Memo1->setPlainText(Lines.join('\n'));
}

}  // namespace sarnova
