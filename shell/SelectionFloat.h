// The "Entities" tool window: every entity of the active document, as a flat list of names and types or
// as a tree grouped by entity class. It selects, renames, reorders, hides, shows, renders and deletes
// entities.
#pragma once
#include <QAbstractTableModel>
#include <QPointer>
#include <QTreeView>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/ToolWindow.h"

class QAction;
class QItemSelection;
class QMenu;
class QStackedWidget;
class QToolBar;
class QTreeWidget;

namespace sarnova {

class TGeoMessage;
class TGeometry;
class TGeometryList;
class TGeoTree;

// The images of entities by display state: normal, hidden, box, rendered.
int DisplayStateImage(std::uint8_t DisplayState);

// The popup of the Entities and Modelling Errors windows: "Select All" (tag 42, Ctrl+A, returned in
// SelectAllItem), "Select None" (Ctrl+N), "Invert Selection" (Ctrl+H), "-", "Show All", "Hide All",
// acting on the window's document; the keys work anywhere in the window.
QMenu* CreateSelectionPopupMenu(TToolWindowForm& Form, QAction*& SelectAllItem);
// Menu opens over View at a right click, BeforeShow run first.
void AttachPopupMenu(QAbstractItemView& View, QMenu& Menu, std::function<void()> BeforeShow);

// One entity class of the tree: its node and whether the user had it expanded.
class TGeoClass {
public:
    TGeoClass(TGeoTree& AOwner, std::string ADescription, int AImageIndex)
        : Description(std::move(ADescription)), ImageIndex(AImageIndex), Owner(AOwner) {}

    bool Expanded = false;
    bool Used = false;
    QTreeWidgetItem* Node = nullptr;
    std::string Description;
    int ImageIndex;

    // Remembers whether the node was expanded, clears Used and forgets the node.
    void ResetNode();
    // A top-level node showing the description and the class image.
    void CreateNode();
    // A child of the class node for Entity.
    void AddEntityNode(TGeometry& Entity);
    // The remembered expansion back, and the description with the number of entities.
    void FinishNode();

private:
    TGeoTree& Owner;
};

// Fills a tree view with the entities of a document under one node per entity class, sorted by the
// classes' descriptions. Classes keep their expanded state from one build to the next while they stay
// in the document.
class TGeoTree {
public:
    explicit TGeoTree(QTreeWidget& AView) : View(AView) {}

    QTreeWidget& GetView() const { return View; }
    int ClassCount() const { return static_cast<int>(FClasses.size()); }
    TGeoClass& Classes(int Index) const { return *FClasses.at(static_cast<size_t>(Index)); }
    // The entry of that description (exact comparison), -1 when none.
    int IndexOfClass(const std::string& Description) const;

    // Rebuilds the tree from Document (internal entities left out); empties it without a document.
    void Build(TGeometryList* Document);

private:
    void AddClass(TGeometry& Entity);
    void RemoveUnusedClasses();
    // By description, letter case ignored.
    void SortClasses();
    // Throws EError "TGeoTree.AddEntity - Class <class name> not Found" when the class has no entry.
    void AddEntity(TGeometry& Entity);

    QTreeWidget& View;
    std::vector<std::unique_ptr<TGeoClass>> FClasses;
};

class TSelectionForm;

// The rows of the list page: one per entity of the document, filled when the view asks for them.
class TEntityListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // A child of the form, so that it goes with the window.
    explicit TEntityListModel(TSelectionForm& AForm);

    // A new row count from a new document; the view forgets everything it showed.
    void Reset(TGeometryList* ADocument);
    // Every row shows its entity's present state.
    void RefreshRows();
    // The entity of a row, when the document still has one there.
    TGeometry* Entity(int Row) const;

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;
    // A new caption renames the entity.
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override;

private:
    TSelectionForm& Form;
    TGeometryList* Document = nullptr;
    int ItemCount = 0;
};

// The list page's view: a drag of one selected row onto another row moves its entity there.
class TEntityListView : public QTreeView {
    Q_OBJECT
public:
    TEntityListView(TSelectionForm& AForm, QWidget* Parent);

protected:
    void startDrag(Qt::DropActions SupportedActions) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dragMoveEvent(QDragMoveEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    TSelectionForm& Form;
};

class TSelectionForm : public TToolWindowForm {
    Q_OBJECT
public:
    explicit TSelectionForm(QWidget* Parent = nullptr);
    // Writes the mode back.
    ~TSelectionForm() override;

    // 0 list, 1 tree.
    std::uint8_t GetMode() const { return Mode; }
    void SetMode(std::uint8_t Value);
    void Refresh();
    void RefreshList();
    void RebuildTree();
    void SelectionChanged();
    void RepaintList();
    void RefreshTreeNodes();
    // Display state Value for the selected entities, or for all of them when none is selected.
    void SetDisplayStateAll(std::uint8_t Value);
    void HandleMessage(TGeoMessage& Message);
    // Takes out the selection's menu that the popup put on top.
    void RemoveEntityMenu();
    // Builds the popup's top item for the document's selection.
    void PopupMenu1Popup();

    // ---- Selection made in the list ----
    // One gesture of the user reaches the document as one selection notification: the first change
    // opens an update bracket, the next mouse press or release or key release on the list closes it.
    void SetItemSelected(int Index, bool Selected);
    void ClearListSelection();
    void BeginListSelection();
    void EndListSelection();
    // 0 idle, 1 a list-selection bracket is open, 2 the window refreshes the list.
    std::uint8_t GetListRefreshState() const { return ListRefreshState; }

    // ---- Other gestures ----
    // A double click on a row or an entity node: hidden and rendered entities become normal, normal
    // and boxed ones hidden.
    void ToggleDisplayState(TGeometry* Entity);
    // Whether a dragged row may be dropped on Row: exactly one row selected and Row holds an entity.
    bool CanDropOn(int Row) const;
    // Moves the one selected entity to Row.
    void DropOn(int Row);

    // ---- Components ----
    std::unique_ptr<TGeoTree> GeoTree;
    QToolBar* ToolBar1;
    QAction* ToggleViewAction;
    QAction* SelectAllAction;
    QAction* SelectNoneAction;
    QAction* DeleteAction;
    QAction* ShowAllAction;
    QAction* RenderAction;
    QAction* BoxAction;
    QAction* HideAllAction;
    QStackedWidget* PageControl1;
    TEntityListModel* ListModel;
    TEntityListView* ListView1;
    QTreeWidget* TreeView1;
    QMenu* PopupMenu1;
    QAction* PopupSelectAll;  // tag 42: the popup's first own item

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    // Also the document the list was filled from, should the window have looked at another since.
    void DocumentClosing(TGeometryList* Document) override;
    void ShowNoDocument() override;

private:
    void BuildToolBar();
    void BuildPopupMenu();
    void ListSelectionChanged(const QItemSelection& Selected, const QItemSelection& Deselected);
    // The view's row selection as the entities' selection.
    void SyncListSelection();
    void TreeChanged(QTreeWidgetItem* Current);
    void TreeItemRenamed(QTreeWidgetItem* Item, int Column);
    // The document to act on, none without one.
    TGeometryList* Document();
    void ListWith(TGeometryList* ADocument);
    void TreeWith(TGeometryList* ADocument);

    std::uint8_t Mode = 0;
    std::uint8_t ListRefreshState = 0;
    TGeometryList* ListDocument = nullptr;
    // The selection's menu on top of the popup, while it is there.
    QPointer<QAction> EntityMenuAction;
    QPointer<QAction> EntityMenuSeparator;
};

// The Entities window, made on first use.
TSelectionForm* GetSelectionForm();

}  // namespace sarnova
