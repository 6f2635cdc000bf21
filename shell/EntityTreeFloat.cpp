#include "shell/EntityTreeFloat.h"

#include <QAction>
#include <QActionGroup>
#include <QSignalBlocker>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "shell/GeometryServer.h"
#include "platform/qt/QtMenus.h"
#include "controls/ToolIcons.h"

namespace sarnova {

namespace {

// Every node of Tree, parents before their children.
template <class F>
void ForEachNode(QTreeWidget& Tree, F Call) {
    std::vector<QTreeWidgetItem*> Pending;
    for (int I = Tree.topLevelItemCount() - 1; I >= 0; --I) Pending.push_back(Tree.topLevelItem(I));
    while (!Pending.empty()) {
        QTreeWidgetItem* Node = Pending.back();
        Pending.pop_back();
        Call(Node);
        for (int I = Node->childCount() - 1; I >= 0; --I) Pending.push_back(Node->child(I));
    }
}

int NodeCount(QTreeWidget& Tree) {
    int Count = 0;
    ForEachNode(Tree, [&](QTreeWidgetItem*) { ++Count; });
    return Count;
}

}  // namespace

TEntityTreeForm::TEntityTreeForm(QWidget* Parent, const char* Name, const char* Caption, const char* ZoomCaption)
    : TToolWindowForm(Parent, Name, Caption) {
    resize(240, 360);
    ToolBar1 = new QToolBar(VkDockPanel1);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setIconSize(QSize(16, 16));
    ExpandAction = CreateCommandAction(*this, "ExpandButton", "Expanded View", {}, Qt::WidgetWithChildrenShortcut,
                                       [this] { SetMode(Mode == 1 ? 0 : 1); });
    ExpandAction->setData(0);
    SetToolIcon(ExpandAction, "expand");
    CollapseAction = CreateCommandAction(*this, "CollapseButton", "Collapsed View", {}, Qt::WidgetWithChildrenShortcut,
                                         [this] { SetMode(Mode == 2 ? 0 : 2); });
    CollapseAction->setData(1);
    SetToolIcon(CollapseAction, "collapse");
    auto* ViewGroup = new QActionGroup(this);
    ViewGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* Action : {ExpandAction, CollapseAction}) {
        Action->setCheckable(true);
        ViewGroup->addAction(Action);
        ToolBar1->addAction(Action);
    }
    if (ZoomCaption) {
        ToolBar1->addSeparator();
        ZoomAction = CreateCommandAction(*this, "ZoomButton", ZoomCaption, {}, Qt::WidgetWithChildrenShortcut,
                                         [this] { SetZoom(!Zoom); });
        ZoomAction->setData(2);
        SetToolIcon(ZoomAction, "zoom-to-entity");
        ZoomAction->setCheckable(true);
        ToolBar1->addAction(ZoomAction);
    }

    TreeView1 = new QTreeWidget(VkDockPanel1);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeView1->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    Contents()->addWidget(ToolBar1);
    Contents()->addWidget(TreeView1);
    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this,
            [this] { RunMenuCommand([this] { TreeSelectionChanged(); }); });
    connect(TreeView1, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* Node) { RunMenuCommand([&] { NodeRenamed(Node); }); });

    Client->OnMessage = [this](TGeoMessage& Message) { HandleMessage(Message); };
    // The buttons follow the setters: the stored values go through them.
    const bool StoredZoom = HasZoom() && ReadZoomSetting(Zoom);
    const int StoredMode = ReadModeSetting(Mode);
    SetMode(StoredMode >= 0 && StoredMode <= 2 ? static_cast<std::uint8_t>(StoredMode) : 0);
    SetZoom(StoredZoom);
}

TEntityTreeForm::~TEntityTreeForm() { WriteSettings(Mode, HasZoom() ? std::optional<bool>(Zoom) : std::nullopt); }

void TEntityTreeForm::SetMode(std::uint8_t Value) {
    if (Value == Mode) return;
    Mode = Value;
    ExpandAction->setChecked(Mode == 1);
    CollapseAction->setChecked(Mode == 2);
    // A lone node stays as it is; the next rebuild applies the mode.
    if ((Mode == 1 || Mode == 2) && NodeCount(*TreeView1) >= 2) {
        TreeView1->setUpdatesEnabled(false);
        ExpandAll(Mode == 1);
        TreeView1->setUpdatesEnabled(true);
    }
}

void TEntityTreeForm::SetZoom(bool Value) {
    Zoom = Value;
    if (ZoomAction) ZoomAction->setChecked(Zoom);
}

void TEntityTreeForm::ExpandAll(bool Expand) {
    ForEachNode(*TreeView1, [Expand](QTreeWidgetItem* Node) { Node->setExpanded(Expand); });
}

void TEntityTreeForm::HandleMessage(TGeoMessage& Message) {
    if (dynamic_cast<TGeoListChange*>(&Message) || dynamic_cast<TGeoActiveListChange*>(&Message))
        Rebuild();
    else if (dynamic_cast<TGeoSelectionChange*>(&Message))
        RefreshNodes();
}

void TEntityTreeForm::Rebuild() {
    TBusyScope Scope(BusyFlag);
    TGeometryList* Document = ActiveDocument();
    TreeView1->setUpdatesEnabled(false);
    const QSignalBlocker Quiet(TreeView1);
    try {
        TreeView1->clear();
        if (Document) FillTree(*Document);
        if (Mode == 1 || Mode == 2) ExpandAll(Mode == 1);
    } catch (...) {
        TreeView1->setUpdatesEnabled(true);
        throw;
    }
    TreeView1->setUpdatesEnabled(true);
}

void TEntityTreeForm::ShowNoDocument() {
    const QSignalBlocker Quiet(TreeView1);
    TreeView1->clear();
}

void TEntityTreeForm::RefreshNodes() {
    if (Busy()) return;
    TBusyScope Scope(BusyFlag);
    TGeometryList* Document = ActiveDocument();
    TreeView1->setUpdatesEnabled(false);
    const QSignalBlocker Quiet(TreeView1);
    ForEachNode(*TreeView1, [Document](QTreeWidgetItem* Node) {
        if (TGeometry* Entity = NodeEntity(Node, Document))
            FillEntityNode(Node, *Entity, Entity->GetClass().GetImageIndex());
    });
    TreeView1->setUpdatesEnabled(true);
}

void TEntityTreeForm::TreeSelectionChanged() {
    if (Busy()) return;
    TBusyScope Scope(BusyFlag);
    TGeometryList* Document = ActiveDocument();
    if (!Document) return;
    std::vector<TGeometry*> Chosen;
    ForEachNode(*TreeView1, [&](QTreeWidgetItem* Node) {
        TGeometry* Entity = NodeEntity(Node, Document);
        if (Entity && Node->isSelected() && !Entity->GetSelected()) Chosen.push_back(Entity);
    });
    for (TGeometry* Entity : Chosen) {
        if (!Document->Contains(Entity)) continue;
        Document->SetEditedGeometry(nullptr);
        EntitySelected(*Document, *Entity);
    }
}

void TEntityTreeForm::EntitySelected(TGeometryList& Document, TGeometry& Entity) { Document.SelectOnly(&Entity); }

void TEntityTreeForm::NodeRenamed(QTreeWidgetItem* Node) {
    if (Busy()) return;
    TBusyScope Scope(BusyFlag);
    if (TGeometry* Entity = NodeEntity(Node, ActiveDocument())) Entity->SetName(Node->text(0).toStdString());
}

}  // namespace sarnova
