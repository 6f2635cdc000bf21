#include "shell/SelectionFloat.h"

#include <QAction>
#include <QDragMoveEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QMenu>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "document/GCustomPline.h"
#include "document/GeoFace.h"
#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "shell/GeometryServer.h"
#include "platform/qt/QtMenus.h"
#include "controls/ToolIcons.h"

namespace sarnova {

namespace {

QPointer<TSelectionForm> GSelectionForm;

// The toggle button's image in list mode and in tree mode.
constexpr int ListModeImage = 8;
constexpr int TreeModeImage = 9;

// The tree's nodes of level 1 are entities; top-level nodes are classes.
bool IsClassNode(const QTreeWidgetItem* Node) { return Node && !Node->parent(); }

}  // namespace

int DisplayStateImage(std::uint8_t DisplayState) {
    switch (DisplayState) {
        case dsHidden: return 35;
        case dsBox: return 41;
        case dsRendered: return 36;
        default: return 34;
    }
}

// ---- TGeoClass ----

void TGeoClass::ResetNode() {
    if (Node) Expanded = Node->isExpanded();
    Used = false;
    Node = nullptr;
}

void TGeoClass::CreateNode() {
    Node = new QTreeWidgetItem(&Owner.GetView());
    Node->setText(0, QString::fromStdString(Description));
    SetNodeImage(Node, ImageIndex);
    Node->setFlags(Node->flags() & ~Qt::ItemIsEditable);
}

void TGeoClass::AddEntityNode(TGeometry& Entity) {
    auto* Child = new QTreeWidgetItem(Node);
    FillEntityNode(Child, Entity, DisplayStateImage(Entity.GetDisplayState()));
}

void TGeoClass::FinishNode() {
    if (!Node) return;
    Node->setExpanded(Expanded);
    Node->setText(0, QString::fromStdString(Description + " (" + std::to_string(Node->childCount()) + ")"));
}

// ---- TGeoTree ----

int TGeoTree::IndexOfClass(const std::string& Description) const {
    for (int I = 0; I < ClassCount(); ++I)
        if (Classes(I).Description == Description) return I;
    return -1;
}

void TGeoTree::Build(TGeometryList* Document) {
    View.setUpdatesEnabled(false);
    const QSignalBlocker Quiet(&View);
    try {
        for (auto& Class : FClasses) Class->ResetNode();
        View.clear();
        if (Document) {
            for (int I = 0; I < Document->Count(); ++I)
                if (!Document->Items(I).HasCapability(cpInternal)) AddClass(Document->Items(I));
            RemoveUnusedClasses();
            SortClasses();
            for (auto& Class : FClasses) Class->CreateNode();
            for (int I = 0; I < Document->Count(); ++I)
                if (!Document->Items(I).HasCapability(cpInternal)) AddEntity(Document->Items(I));
        } else {
            RemoveUnusedClasses();
        }
        for (auto& Class : FClasses) Class->FinishNode();
    } catch (...) {
        View.setUpdatesEnabled(true);
        throw;
    }
    View.setUpdatesEnabled(true);
}

void TGeoTree::AddClass(TGeometry& Entity) {
    const std::string Description = Entity.GetDescription();
    const int Index = IndexOfClass(Description);
    if (Index >= 0) {
        Classes(Index).Used = true;
        return;
    }
    FClasses.push_back(std::make_unique<TGeoClass>(*this, Description, Entity.GetClass().GetImageIndex()));
    FClasses.back()->Used = true;
}

void TGeoTree::RemoveUnusedClasses() {
    std::erase_if(FClasses, [](const auto& Class) { return !Class->Used; });
}

void TGeoTree::SortClasses() {
    std::stable_sort(FClasses.begin(), FClasses.end(), [](const auto& A, const auto& B) {
        return UpperCase(A->Description) < UpperCase(B->Description);
    });
}

void TGeoTree::AddEntity(TGeometry& Entity) {
    const int Index = IndexOfClass(Entity.GetDescription());
    if (Index < 0) throw EError("TGeoTree.AddEntity - Class " + Entity.ClassName() + " not Found");
    Classes(Index).AddEntityNode(Entity);
}

// ---- TEntityListModel ----

TEntityListModel::TEntityListModel(TSelectionForm& AForm) : QAbstractTableModel(&AForm), Form(AForm) {}

void TEntityListModel::Reset(TGeometryList* ADocument) {
    beginResetModel();
    Document = ADocument;
    ItemCount = Document ? Document->Count() : 0;
    endResetModel();
}

void TEntityListModel::RefreshRows() {
    if (ItemCount > 0) emit dataChanged(index(0, 0), index(ItemCount - 1, 1));
}

TGeometry* TEntityListModel::Entity(int Row) const {
    if (!Document || Row < 0 || Row >= ItemCount || Row >= Document->Count()) return nullptr;
    return &Document->Items(Row);
}

int TEntityListModel::rowCount(const QModelIndex& Parent) const { return Parent.isValid() ? 0 : ItemCount; }

int TEntityListModel::columnCount(const QModelIndex& Parent) const { return Parent.isValid() ? 0 : 2; }

QVariant TEntityListModel::data(const QModelIndex& Index, int Role) const {
    TGeometry* E = Entity(Index.row());
    if (!E) return {};
    if (Index.column() == 0) {
        switch (Role) {
            case Qt::DisplayRole: return QString::fromStdString(ShownName(*E));
            case Qt::EditRole: return QString::fromStdString(E->GetName());
            case ImageIndexRole: return DisplayStateImage(E->GetDisplayState());
            case NodeDataRole: return QVariant::fromValue(static_cast<void*>(E));
            default: return {};
        }
    }
    if (Role == Qt::DisplayRole) return QString::fromStdString(E->GetDescription());
    if (Role == ImageIndexRole) return E->GetClass().GetImageIndex();
    return {};
}

QVariant TEntityListModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole) return {};
    return Section == 0 ? QString("Name") : QString("Type");
}

Qt::ItemFlags TEntityListModel::flags(const QModelIndex& Index) const {
    if (!Index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags Flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (Index.column() == 0) Flags |= Qt::ItemIsEditable;
    return Flags;
}

bool TEntityListModel::setData(const QModelIndex& Index, const QVariant& Value, int Role) {
    TGeometry* E = Entity(Index.row());
    if (!E || Index.column() != 0 || Role != Qt::EditRole) return false;
    RunMenuCommand([&] { E->SetName(Value.toString().toStdString()); });
    return true;
}

// ---- TEntityListView ----

TEntityListView::TEntityListView(TSelectionForm& AForm, QWidget* Parent) : QTreeView(Parent), Form(AForm) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
}

// A drag ends with no release on the list: the selection the press made reaches the document first.
void TEntityListView::startDrag(Qt::DropActions SupportedActions) {
    Form.EndListSelection();
    QTreeView::startDrag(SupportedActions);
}

void TEntityListView::dragEnterEvent(QDragEnterEvent* Event) {
    if (Event->source() == this)
        Event->acceptProposedAction();
    else
        Event->ignore();
}

void TEntityListView::dragMoveEvent(QDragMoveEvent* Event) {
    const int Row = indexAt(Event->position().toPoint()).row();
    if (Event->source() == this && Form.CanDropOn(Row)) {
        QTreeView::dragMoveEvent(Event);
        Event->acceptProposedAction();
    } else {
        Event->ignore();
    }
}

void TEntityListView::dropEvent(QDropEvent* Event) {
    const int Row = indexAt(Event->position().toPoint()).row();
    if (Event->source() != this || !Form.CanDropOn(Row)) {
        Event->ignore();
        return;
    }
    // The move is the document's: a copy action keeps the view from removing the dragged row itself.
    Event->setDropAction(Qt::CopyAction);
    Event->accept();
    RunMenuCommand([&] { Form.DropOn(Row); });
}

// ---- TSelectionForm ----

TSelectionForm::TSelectionForm(QWidget* Parent) : TToolWindowForm(Parent, "SelectionForm", "Entities") {
    resize(260, 400);
    BuildToolBar();

    PageControl1 = new QStackedWidget(VkDockPanel1);
    PageControl1->setObjectName("PageControl1");
    ListModel = new TEntityListModel(*this);
    ListView1 = new TEntityListView(*this, PageControl1);
    ListView1->setObjectName("ListView");
    ListView1->setModel(ListModel);
    ListView1->header()->setStretchLastSection(true);
    TreeView1 = new QTreeWidget(PageControl1);
    TreeView1->setObjectName("TreeView");
    TreeView1->setHeaderHidden(true);
    TreeView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    TreeView1->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    PageControl1->addWidget(ListView1);
    PageControl1->addWidget(TreeView1);
    Contents()->addWidget(ToolBar1);
    Contents()->addWidget(PageControl1);
    BuildPopupMenu();

    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& Selected, const QItemSelection& Deselected) {
                RunMenuCommand([&] { ListSelectionChanged(Selected, Deselected); });
            });
    ListView1->viewport()->installEventFilter(this);
    ListView1->installEventFilter(this);
    connect(ListView1, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& Index) {
        RunMenuCommand([&] { ToggleDisplayState(ListModel->Entity(Index.row())); });
    });
    // The tree's change: after the click has set the selection, so that a class node counts as selected.
    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this,
            [this] { RunMenuCommand([this] { TreeChanged(TreeView1->currentItem()); }); });
    connect(TreeView1, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* Item, int Column) { RunMenuCommand([&] { TreeItemRenamed(Item, Column); }); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* Item) {
        if (Busy() || IsClassNode(Item)) return;
        RunMenuCommand([&] { ToggleDisplayState(NodeEntity(Item, Document())); });
    });

    Client->OnMessage = [this](TGeoMessage& Message) { HandleMessage(Message); };
    GeoTree = std::make_unique<TGeoTree>(*TreeView1);
    PageControl1->setCurrentIndex(0);
    SetMode(ReadModeSetting(Mode) == 1 ? 1 : 0);
    Refresh();
}

TSelectionForm::~TSelectionForm() {
    // A gesture still open reaches the document, but no longer this window.
    Client->OnMessage = nullptr;
    EndListSelection();
    WriteSettings(Mode, std::nullopt);
}

void TSelectionForm::BuildToolBar() {
    ToolBar1 = new QToolBar(VkDockPanel1);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setIconSize(QSize(16, 16));
    auto Command = [this](const char* Name, const char* Caption, std::function<void(TGeometryList&)> Execute) {
        return CreateCommandAction(*this, Name, Caption, {}, Qt::WidgetWithChildrenShortcut, [this, Execute] {
            if (TGeometryList* D = Document()) Execute(*D);
        });
    };
    ToggleViewAction = CreateCommandAction(*this, "ToggleViewButton", "Toggle List/Tree View", {},
                                           Qt::WidgetWithChildrenShortcut, [this] { SetMode(Mode == 0 ? 1 : 0); });
    ToggleViewAction->setData(ListModeImage);
    SelectAllAction = Command("SelectAllButton", "Select All", [](TGeometryList& D) { D.SelectAll(); });
    SelectNoneAction = Command("SelectNoneButton", "Select None", [](TGeometryList& D) { D.ClearSelection(); });
    DeleteAction = Command("DeleteButton", "&Delete", [](TGeometryList& D) { D.DeleteSelected(); });
    DeleteAction->setToolTip("Delete Selection");
    DeleteAction->setShortcut(QKeySequence(Qt::Key_Delete));
    ShowAllAction =
        Command("ShowAllButton", "Show all entities", [this](TGeometryList&) { SetDisplayStateAll(dsNormal); });
    RenderAction =
        Command("RenderButton", "Render Entities", [this](TGeometryList&) { SetDisplayStateAll(dsRendered); });
    BoxAction = Command("BoxButton", "Entities as bound boxes", [this](TGeometryList&) { SetDisplayStateAll(dsBox); });
    HideAllAction =
        Command("HideAllButton", "Hide all entities", [this](TGeometryList&) { SetDisplayStateAll(dsHidden); });
    AddToolGroups(*ToolBar1, {
        {{ToggleViewAction, "list-view"}},
        {{SelectAllAction, "select-all"}, {SelectNoneAction, "select-none"}},
        {{DeleteAction, "delete"}},
        {{ShowAllAction, "show-all"}, {RenderAction, "render"}, {BoxAction, "box"}, {HideAllAction, "hide-all"}},
    });
}

QMenu* CreateSelectionPopupMenu(TToolWindowForm& Form, QAction*& SelectAllItem) {
    auto* Menu = new QMenu(&Form);
    Menu->setObjectName("PopupMenu1");
    auto Item = [&Form, Menu](const char* Caption, const QKeySequence& Keys, void (TGeometryList::*Operation)()) {
        QAction* Action =
            CreateCommandAction(Form, "", Caption, Keys, Qt::WidgetWithChildrenShortcut, [&Form, Operation] {
                if (TGeometryList* D = Form.ActiveDocument()) (D->*Operation)();
            });
        Menu->addAction(Action);
        return Action;
    };
    SelectAllItem = Item("Select All", QKeySequence("Ctrl+A"), &TGeometryList::SelectAll);
    SelectAllItem->setData(42);
    Item("Select None", QKeySequence("Ctrl+N"), &TGeometryList::ClearSelection);
    Item("Invert Selection", QKeySequence("Ctrl+H"), &TGeometryList::InvertSelection);
    Menu->addSeparator();
    Item("Show All", {}, &TGeometryList::ShowAll);
    Item("Hide All", {}, &TGeometryList::HideAll);
    return Menu;
}

void AttachPopupMenu(QAbstractItemView& View, QMenu& Menu, std::function<void()> BeforeShow) {
    View.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&View, &QWidget::customContextMenuRequested, &Menu,
                     [&View, &Menu, BeforeShow](const QPoint& Point) {
                         if (BeforeShow) RunMenuCommand(BeforeShow);
                         Menu.exec(View.viewport()->mapToGlobal(Point));
                     });
}

void TSelectionForm::BuildPopupMenu() {
    PopupMenu1 = CreateSelectionPopupMenu(*this, PopupSelectAll);
    for (QAbstractItemView* View :
         {static_cast<QAbstractItemView*>(ListView1), static_cast<QAbstractItemView*>(TreeView1)})
        AttachPopupMenu(*View, *PopupMenu1, [this] { PopupMenu1Popup(); });
    // The selection's menu belongs to its entity, which may go once the popup has closed.
    connect(PopupMenu1, &QMenu::aboutToHide, this, [this] {
        QMetaObject::invokeMethod(
            this, [this] { RemoveEntityMenu(); }, Qt::QueuedConnection);
    });
}

TGeometryList* TSelectionForm::Document() { return ActiveDocument(); }

void TSelectionForm::HandleMessage(TGeoMessage& Message) {
    if (dynamic_cast<TGeoListChange*>(&Message) || dynamic_cast<TGeoActiveListChange*>(&Message))
        Refresh();
    else if (dynamic_cast<TGeoSelectionChange*>(&Message))
        SelectionChanged();
    else if (dynamic_cast<TGeoClearSarnovaPopup*>(&Message))
        RemoveEntityMenu();
}

void TSelectionForm::SetMode(std::uint8_t Value) {
    if (Value == Mode) return;
    Mode = Value;
    ToggleViewAction->setData(Mode == 1 ? TreeModeImage : ListModeImage);
    ToggleViewAction->setIcon(ToolIcon(Mode == 1 ? "tree-view" : "list-view"));
    PageControl1->setCurrentIndex(Mode);
    Refresh();
}

void TSelectionForm::Refresh() {
    if (Mode == 0)
        RefreshList();
    else
        RebuildTree();
}

void TSelectionForm::RefreshList() { ListWith(Document()); }

void TSelectionForm::ListWith(TGeometryList* ADocument) {
    if (ListRefreshState != 0) return;
    ListRefreshState = 2;
    try {
        ListDocument = ADocument;
        ListModel->Reset(ADocument);
        SyncListSelection();
    } catch (...) {
        ListRefreshState = 0;
        throw;
    }
    ListRefreshState = 0;
}

void TSelectionForm::RebuildTree() { TreeWith(Document()); }

void TSelectionForm::TreeWith(TGeometryList* ADocument) {
    TBusyScope Scope(BusyFlag);
    GeoTree->Build(ADocument);
}

void TSelectionForm::DocumentClosing(TGeometryList* ADocument) {
    if (ADocument == ListDocument) ShowNoDocument();
    TToolWindowForm::DocumentClosing(ADocument);
}

void TSelectionForm::ShowNoDocument() {
    EndListSelection();
    RemoveEntityMenu();
    ListWith(nullptr);
    TreeWith(nullptr);
}

void TSelectionForm::SelectionChanged() {
    if (Mode == 0)
        RepaintList();
    else if (!Busy())
        RefreshTreeNodes();
}

void TSelectionForm::RepaintList() {
    if (ListRefreshState != 0) return;
    ListRefreshState = 2;
    try {
        ListModel->RefreshRows();
        SyncListSelection();
    } catch (...) {
        ListRefreshState = 0;
        throw;
    }
    ListRefreshState = 0;
}

// Consecutive selected rows go in as one range, so that a large selection costs one pass.
void TSelectionForm::SyncListSelection() {
    QItemSelection Selection;
    const int Rows = ListModel->rowCount();
    for (int Row = 0; Row < Rows;) {
        TGeometry* E = ListModel->Entity(Row);
        if (!E || !E->GetSelected()) {
            ++Row;
            continue;
        }
        const int First = Row;
        while (Row < Rows && ListModel->Entity(Row) && ListModel->Entity(Row)->GetSelected()) ++Row;
        Selection.select(ListModel->index(First, 0), ListModel->index(Row - 1, 1));
    }
    ListView1->selectionModel()->select(Selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TSelectionForm::RefreshTreeNodes() {
    TBusyScope Scope(BusyFlag);
    TGeometryList* D = Document();
    TreeView1->setUpdatesEnabled(false);
    const QSignalBlocker Quiet(TreeView1);
    for (int I = 0; I < TreeView1->topLevelItemCount(); ++I) {
        QTreeWidgetItem* ClassNode = TreeView1->topLevelItem(I);
        ClassNode->setSelected(false);
        for (int J = 0; J < ClassNode->childCount(); ++J) {
            QTreeWidgetItem* Node = ClassNode->child(J);
            if (TGeometry* E = NodeEntity(Node, D)) FillEntityNode(Node, *E, DisplayStateImage(E->GetDisplayState()));
        }
    }
    TreeView1->setUpdatesEnabled(true);
}

void TSelectionForm::ListSelectionChanged(const QItemSelection& Selected, const QItemSelection& Deselected) {
    if (ListRefreshState == 2) return;
    TGeometryList* D = ListDocument;
    if (!D) return;
    const bool EverythingDeselected = Selected.isEmpty() && !ListView1->selectionModel()->hasSelection();
    if (EverythingDeselected) {
        ClearListSelection();
        return;
    }
    for (const QItemSelectionRange& Range : Deselected)
        for (int Row = Range.top(); Row <= Range.bottom(); ++Row) SetItemSelected(Row, false);
    for (const QItemSelectionRange& Range : Selected)
        for (int Row = Range.top(); Row <= Range.bottom(); ++Row) SetItemSelected(Row, true);
}

void TSelectionForm::SetItemSelected(int Index, bool Selected) {
    if (ListRefreshState == 2) return;
    TGeometry* E = ListModel->Entity(Index);
    if (!E) return;
    if (ListRefreshState == 0) BeginListSelection();
    ListDocument->SetEditedGeometry(nullptr);
    E->SetSelected(Selected);
}

void TSelectionForm::ClearListSelection() {
    if (ListRefreshState == 2 || !ListDocument) return;
    if (ListRefreshState == 0) BeginListSelection();
    ListDocument->SetEditedGeometry(nullptr);
    ListDocument->ClearSelection();
}

void TSelectionForm::BeginListSelection() {
    if (ListRefreshState != 0 || !ListDocument) return;
    ListDocument->BeginUpdate(ufEndEditing);
    ListRefreshState = 1;
}

void TSelectionForm::EndListSelection() {
    if (ListRefreshState != 1) return;
    ListRefreshState = 0;
    if (ListDocument) ListDocument->EndUpdate();
}

bool TSelectionForm::eventFilter(QObject* Watched, QEvent* Event) {
    switch (Event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::KeyRelease:
        // Focus leaving the list ends the gesture too, so that no bracket outlives it.
        case QEvent::FocusOut:
            if (ListRefreshState == 1) RunMenuCommand([this] { EndListSelection(); });
            break;
        default: break;
    }
    return TToolWindowForm::eventFilter(Watched, Event);
}

void TSelectionForm::TreeChanged(QTreeWidgetItem* Current) {
    if (Busy() || !Current) return;
    TBusyScope Scope(BusyFlag);
    TGeometryList* D = Document();
    if (!D) return;
    if (IsClassNode(Current) && Current->isSelected() && Current->childCount() > 0) {
        if (TGeometry* First = NodeEntity(Current->child(0), D)) {
            D->SelectClass(First->GetClass());
            return;
        }
    }
    D->SetEditedGeometry(nullptr);
    D->SelectOnly(NodeEntity(Current, D));
}

void TSelectionForm::TreeItemRenamed(QTreeWidgetItem* Item, int Column) {
    if (Busy() || Column != 0 || IsClassNode(Item)) return;
    if (TGeometry* E = NodeEntity(Item, Document())) E->SetName(Item->text(0).toStdString());
}

void TSelectionForm::SetDisplayStateAll(std::uint8_t Value) {
    TGeometryList* D = Document();
    if (!D) return;
    std::vector<TGeometry*> Targets;
    const bool SelectedOnly = D->SelectedCount() > 0;
    for (int I = 0; I < D->Count(); ++I)
        if (!SelectedOnly || D->Items(I).GetSelected()) Targets.push_back(&D->Items(I));
    InListUpdate(*D, [&] {
        for (TGeometry* E : Targets) E->SetDisplayState(Value);
    });
}

void TSelectionForm::ToggleDisplayState(TGeometry* Entity) {
    if (!Entity) return;
    const std::uint8_t State = Entity->GetDisplayState();
    Entity->SetDisplayState(State == dsHidden || State == dsRendered ? dsNormal : dsHidden);
    SelectionChanged();
}

bool TSelectionForm::CanDropOn(int Row) const {
    return ListView1->selectionModel()->selectedRows().size() == 1 && ListModel->Entity(Row) != nullptr;
}

void TSelectionForm::DropOn(int Row) {
    if (!CanDropOn(Row)) return;
    EndListSelection();
    TGeometry* Moving = ListModel->Entity(ListView1->selectionModel()->selectedRows().first().row());
    if (Moving && ListDocument) ListDocument->MoveTo(Row, Moving);
}

void TSelectionForm::RemoveEntityMenu() {
    const QList<QAction*> Items = PopupMenu1->actions();
    if (Items.isEmpty() || Items.first() == PopupSelectAll) return;
    // Not at once: the menu may be inside one of the item's own clicks.
    for (QPointer<QAction>* Taken : {&EntityMenuAction, &EntityMenuSeparator}) {
        if (!*Taken) continue;
        PopupMenu1->removeAction(*Taken);
        (*Taken)->deleteLater();
        *Taken = nullptr;
    }
}

void TSelectionForm::PopupMenu1Popup() {
    RemoveEntityMenu();
    auto* D = dynamic_cast<TGeometryInterface*>(Document());
    if (!D) return;
    TMenuItem* EntityMenu = D->SelectionPopupMenu();
    if (!EntityMenu) return;
    EntityMenuAction = CreateMenuItemAction(*PopupMenu1, *EntityMenu);
    EntityMenuSeparator = new QAction(PopupMenu1);
    EntityMenuSeparator->setSeparator(true);
    PopupMenu1->insertAction(PopupSelectAll, EntityMenuAction);
    PopupMenu1->insertAction(PopupSelectAll, EntityMenuSeparator);
}

TSelectionForm* GetSelectionForm() { return GetToolWindow(GSelectionForm); }

}  // namespace sarnova
