#include "naval/ui/GroupFrame.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "entities/ui/FrameParts.h"
#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "naval/GGroup.h"
#include "naval/GOpening.h"
#include "platform/qt/QtMenus.h"
#include "controls/VkGroupBox.h"

namespace sarnova {

namespace {

QToolButton* NewGlyphButton(const char* Name, const QString& Text, const QString& Hint, QWidget* Parent) {
    auto* Button = new QToolButton(Parent);
    Button->setObjectName(Name);
    Button->setText(Text);
    Button->setToolTip(Hint);
    return Button;
}

TGeometry* ItemMember(const QTreeWidgetItem* Item) {
    return static_cast<TGeometry*>(Item->data(0, Qt::UserRole).value<void*>());
}

}  // namespace

TGroupFrame::TGroupFrame(TGeoGroup& AGroup, QWidget* Parent) : QWidget(Parent), Group(&AGroup) {
    setObjectName("GroupFrame");
    auto* Layout = new QVBoxLayout(this);
    EntityClass = NewFrameTitle(AGroup.GetClass().GetKeyword().substr(1), this);
    Layout->addWidget(EntityClass);
    VkGroupBox1 = new TFrameNameColor(&AGroup, this);
    VkGroupBox1->setObjectName("VkGroupBox1");
    Layout->addWidget(VkGroupBox1);

    VkGroupBox2 = new TVkGroupBox("Contents", this);
    VkGroupBox2->setObjectName("VkGroupBox2");
    auto* Contents = new QVBoxLayout(VkGroupBox2);
    Contents->setContentsMargins(2, 2, 2, 2);
    auto* ContentButtons = new QHBoxLayout;
    AddButton = new QPushButton("Add Selected", VkGroupBox2);
    AddButton->setObjectName("AddButton");
    DeleteEntities = NewGlyphButton("DeleteEntities", "Del", "Remove the selected members", VkGroupBox2);
    ContentButtons->addWidget(AddButton);
    ContentButtons->addWidget(DeleteEntities);
    ContentButtons->addStretch(1);
    Contents->addLayout(ContentButtons);
    GroupListView = new QTreeWidget(VkGroupBox2);
    GroupListView->setObjectName("GroupListView");
    GroupListView->setColumnCount(2);
    GroupListView->setHeaderLabels({"Name", "Entity"});
    GroupListView->setRootIsDecorated(false);
    GroupListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    GroupListView->header()->setSectionsClickable(false);
    Contents->addWidget(GroupListView, 1);
    Layout->addWidget(VkGroupBox2, 1);

    VkGroupBox3 = new TVkGroupBox("Parameters", this);
    VkGroupBox3->setObjectName("VkGroupBox3");
    auto* Params = new QVBoxLayout(VkGroupBox3);
    Params->setContentsMargins(2, 2, 2, 2);
    auto* ParamButtons = new QHBoxLayout;
    AddParam = NewGlyphButton("AddParam", "+", "Add a parameter", VkGroupBox3);
    DelParamBut = NewGlyphButton("DelParamBut", "-", "Delete the parameter", VkGroupBox3);
    ParamButtons->addWidget(AddParam);
    ParamButtons->addWidget(DelParamBut);
    ParamButtons->addStretch(1);
    Params->addLayout(ParamButtons);
    VkGrid1 = new QTableWidget(1, 2, VkGroupBox3);
    VkGrid1->setObjectName("VkGrid1");
    VkGrid1->horizontalHeader()->hide();
    VkGrid1->verticalHeader()->hide();
    VkGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    VkGrid1->verticalHeader()->setDefaultSectionSize(17);
    Params->addWidget(VkGrid1, 1);
    Layout->addWidget(VkGroupBox3, 1);

    VkGroupBox4 = new TVkGroupBox("Connected Openings", this);
    VkGroupBox4->setObjectName("VkGroupBox4");
    auto* Openings = new QVBoxLayout(VkGroupBox4);
    Openings->setContentsMargins(2, 2, 2, 2);
    ListBox1 = new QListWidget(VkGroupBox4);
    ListBox1->setObjectName("ListBox1");
    Openings->addWidget(ListBox1);
    Layout->addWidget(VkGroupBox4);

    VkGroupBoxManager1 = new TVkGroupBoxManager(this);
    for (TVkGroupBox* Box : {static_cast<TVkGroupBox*>(VkGroupBox1), VkGroupBox2, VkGroupBox3, VkGroupBox4}) Box->Loaded();
    VkGroupBoxManager1->Loaded();

    connect(AddButton, &QPushButton::clicked, this, [this] { RunMenuCommand([this] { AddButtonClick(); }); });
    connect(DeleteEntities, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { DeleteEntitiesClick(); }); });
    connect(AddParam, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { AddParamClick(); }); });
    connect(DelParamBut, &QToolButton::clicked, this, [this] { RunMenuCommand([this] { DelParamButClick(); }); });
    connect(GroupListView, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* Item, int) {
        if (!Filling) RunMenuCommand([this, Item] { GroupListViewChange(Item); });
    });
    connect(VkGrid1, &QTableWidget::cellChanged, this, [this](int Row, int) {
        if (!Filling) RunMenuCommand([this, Row] { VkGrid1EditCell(Row); });
    });
    Refresh();
}

TGroupFrame::~TGroupFrame() = default;

void TGroupFrame::GeometryDestroyed() {
    Group = nullptr;
    VkGroupBox1->SetEntity(nullptr);
}

void TGroupFrame::Refresh() {
    if (Group == nullptr) return;
    const TFlagScope Setting(Filling);
    VkGroupBox1->Refresh();

    {
        const QSignalBlocker Quiet(GroupListView);
        GroupListView->clear();
        for (int I = 0; I < Group->GetMemberCount(); ++I) {
            TGeometry* Member = Group->GetMember(I);
            if (Member == nullptr) continue;
            auto* Item = new QTreeWidgetItem(GroupListView);
            const std::string Name = Member->GetName();
            Item->setText(0, QString::fromStdString(Name.empty() ? "unnamed" : Name));
            Item->setText(1, QString::fromStdString(Member->GetClass().GetKeyword()));
            Item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(Member)));
            Item->setFlags(Item->flags() | Qt::ItemIsEditable);
        }
    }

    {
        const QSignalBlocker Quiet(VkGrid1);
        const int Count = static_cast<int>(Group->Parameters.size());
        VkGrid1->setRowCount(Count + 1);
        const auto Put = [this](int Row, int Column, const std::string& Text, bool Editable) {
            auto* Item = new QTableWidgetItem(QString::fromStdString(Text));
            if (!Editable) Item->setFlags(Item->flags() & ~Qt::ItemIsEditable);
            VkGrid1->setItem(Row, Column, Item);
        };
        Put(0, 0, "Name", false);
        Put(0, 1, "Value", false);
        for (int I = 0; I < Count; ++I) {
            const std::string Name = Group->ParameterName(I);
            Put(I + 1, 0, Name, true);
            Put(I + 1, 1, Group->ParameterValue(Name), true);
        }
        DelParamBut->setEnabled(Count > 0);
    }

    ListBox1->clear();
    if (TGeometryList* List = Group->GetOwnerList())
        for (int I = 0; I < List->Count(); ++I)
            if (auto* Opening = dynamic_cast<TGeoOpening*>(&List->Items(I)); Opening != nullptr && Opening->ConnectsGroup(Group->GetName()))
                ListBox1->addItem(QString::fromStdString(Opening->GetName()));
}

void TGroupFrame::AddButtonClick() {
    if (Group != nullptr) Group->AddSelected();
}

void TGroupFrame::DeleteEntitiesClick() {
    if (Group == nullptr) return;
    std::vector<TGeometry*> Members;
    for (QTreeWidgetItem* Item : GroupListView->selectedItems())
        if (TGeometry* Member = ItemMember(Item)) Members.push_back(Member);
    if (!Members.empty()) Group->RemoveMembers(Members);
    Refresh();
}

void TGroupFrame::GroupListViewChange(QTreeWidgetItem* Item) {
    TGeometry* Member = Item != nullptr ? ItemMember(Item) : nullptr;
    if (Group == nullptr || Member == nullptr) return;
    // Only a member the group still holds: the row may outlive it.
    bool Held = false;
    for (int I = 0; I < Group->GetMemberCount() && !Held; ++I) Held = Group->GetMember(I) == Member;
    const std::string Caption = Item->text(0).toStdString();
    if (Held && Caption != Member->GetName()) Member->SetName(Caption);
}

void TGroupFrame::AddParamClick() {
    if (Group == nullptr) return;
    Group->AddParameter();
    Refresh();
}

void TGroupFrame::DelParamButClick() {
    if (Group == nullptr) return;
    Group->DeleteParameter(VkGrid1->currentRow() - 1);
    Refresh();
}

void TGroupFrame::VkGrid1EditCell(int Row) {
    if (Group == nullptr || Row < 1) return;
    const auto Text = [this, Row](int Column) {
        const QTableWidgetItem* Item = VkGrid1->item(Row, Column);
        return Item != nullptr ? Item->text().toStdString() : std::string();
    };
    Group->SetParameter(Row - 1, Text(0), Text(1));
}

void RegisterGroupUi() {
    RegisterGeometryFrame(GroupFrameName, [](TGeometry& Geometry, void* Owner) -> IGeometryFrame* {
        auto* Group = dynamic_cast<TGeoGroup*>(&Geometry);
        if (Group == nullptr) return nullptr;
        return new TGroupFrame(*Group, static_cast<QWidget*>(Owner));
    });
}

}  // namespace sarnova
