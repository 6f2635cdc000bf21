#include "shell/ErrorsFloat.h"

#include <QMenu>
#include <QPointer>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <unordered_map>

#include "curvenet/GXTCurve.h"
#include "curvenet/GXTSurface.h"
#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "document/TrackInfo.h"
#include "foundation/Box.h"
#include "shell/GeometryServer.h"
#include "platform/qt/QtMenus.h"
#include "shell/SelectionFloat.h"

namespace sarnova {

namespace {

QPointer<TErrorsForm> GErrorsForm;

class TTreeWidgetAdapter;

// A node of the tracker's tree as an item of the tree widget.
class TTreeNodeAdapter : public ITreeNode {
public:
    TTreeNodeAdapter(TTreeWidgetAdapter& ATree, QTreeWidgetItem* AItem) : Tree(ATree), Item(AItem) {}
    void SetText(const std::string& Text) override { Item->setText(0, QString::fromStdString(Text)); }
    void* GetData() const override { return NodeData(Item); }
    void SetData(void* Data) override { SetNodeData(Item, Data); }
    int ChildCount() const override { return Item->childCount(); }
    ITreeNode& Child(int Index) override;
    ITreeNode& AddChild() override;
    void DeleteChild(int Index) override { delete Item->takeChild(Index); }
    void ExpandAll() override { Expand(Item); }

private:
    static void Expand(QTreeWidgetItem* Node) {
        Node->setExpanded(true);
        for (int I = 0; I < Node->childCount(); ++I) Expand(Node->child(I));
    }
    TTreeWidgetAdapter& Tree;
    QTreeWidgetItem* Item;
};

// The tree widget as the tracker's tree. Node wrappers hold only their item, so a wrapper found again
// for an item at a reused address still stands for that item.
class TTreeWidgetAdapter : public ITreeView {
public:
    explicit TTreeWidgetAdapter(QTreeWidget& AView) : View(AView) {}
    void BeginUpdate() override { View.setUpdatesEnabled(false); }
    void EndUpdate() override { View.setUpdatesEnabled(true); }
    int TopCount() const override { return View.topLevelItemCount(); }
    ITreeNode& Top(int Index) override { return Wrap(View.topLevelItem(Index)); }
    ITreeNode& AddTop() override { return Wrap(new QTreeWidgetItem(&View)); }
    void DeleteTop(int Index) override { delete View.takeTopLevelItem(Index); }

    ITreeNode& Wrap(QTreeWidgetItem* Item) {
        auto& Node = Nodes[Item];
        if (!Node) Node = std::make_unique<TTreeNodeAdapter>(*this, Item);
        return *Node;
    }

private:
    QTreeWidget& View;
    std::unordered_map<QTreeWidgetItem*, std::unique_ptr<TTreeNodeAdapter>> Nodes;
};

ITreeNode& TTreeNodeAdapter::Child(int Index) { return Tree.Wrap(Item->child(Index)); }

ITreeNode& TTreeNodeAdapter::AddChild() { return Tree.Wrap(new QTreeWidgetItem(Item)); }

// The entity of Document that a message was filed under; none when its sender is no entity there.
TGeometry* SenderEntity(const void* Sender, const TGeometryList& Document) {
    // Only compared, never followed: the sender may be a kernel object.
    auto* Entity = static_cast<TGeometry*>(const_cast<void*>(Sender));
    return Entity && Document.Contains(Entity) ? Entity : nullptr;
}

}  // namespace

TErrorsForm::TErrorsForm(QWidget* Parent) : TToolWindowForm(Parent, "ErrorsForm", "Modelling Errors") {
    resize(300, 240);
    TreeView1 = new QTreeWidget(VkDockPanel1);
    TreeView1->setObjectName("TreeView1");
    TreeView1->setHeaderHidden(true);
    TreeView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setExpandsOnDoubleClick(false);
    Contents()->addWidget(TreeView1);
    PopupMenu1 = CreateSelectionPopupMenu(*this, PopupSelectAll);
    AttachPopupMenu(*TreeView1, *PopupMenu1, nullptr);
    connect(TreeView1, &QTreeWidget::itemSelectionChanged, this,
            [this] { RunMenuCommand([this] { TreeSelectionChanged(); }); });

    Client->OnMessage = [this](TGeoMessage& Message) { HandleMessage(Message); };
    Client->OnDraw = [this](IGraphics& View) { Draw(View); };
    Rebuild();
}

TErrorsForm::~TErrorsForm() = default;

void TErrorsForm::HandleMessage(TGeoMessage& Message) {
    if (dynamic_cast<TGeoListChange*>(&Message) || dynamic_cast<TGeoActiveListChange*>(&Message) ||
        dynamic_cast<TGeoGeometryChange*>(&Message) || dynamic_cast<TGeoSelectionChange*>(&Message) ||
        dynamic_cast<TGeoXTCurveUpdate*>(&Message) || dynamic_cast<TGeoXTSurfaceUpdate*>(&Message))
        Rebuild();
}

void TErrorsForm::Rebuild() {
    if (Busy()) return;
    TBusyScope Scope(BusyFlag);
    const QSignalBlocker Quiet(TreeView1);
    TGeometryList* Document = ActiveDocument();
    if (!Document) {
        TreeView1->clear();
        return;
    }
    TTreeWidgetAdapter Tree(*TreeView1);
    Document->GetTracker().FillTree(Tree);
    if (TreeView1->topLevelItemCount() == 0) return;
    TreeView1->setUpdatesEnabled(false);
    for (int I = 0; I < TreeView1->topLevelItemCount(); ++I) {
        QTreeWidgetItem* Top = TreeView1->topLevelItem(I);
        for (int J = 0; J < Top->childCount(); ++J) SetNodeImage(Top->child(J), MessageImage);
        const auto* Info = static_cast<const TObjectInfo*>(NodeData(Top));
        if (TGeometry* Entity = Info ? SenderEntity(Info->Sender, *Document) : nullptr)
            SetNodeImage(Top, Entity->GetClass().GetImageIndex());
    }
    TreeView1->setUpdatesEnabled(true);
}

void TErrorsForm::ShowNoDocument() {
    const QSignalBlocker Quiet(TreeView1);
    TreeView1->clear();
}

TObjectInfoItem* TErrorsForm::SelectedMessage() {
    QTreeWidgetItem* Node = TreeView1->currentItem();
    if (!Node || !Node->parent() || !Node->isSelected()) return nullptr;
    TGeometryList* Document = ShownDocument();
    if (!Document) return nullptr;
    // The node may outlive its message until the next rebuild: it counts only while the tracker has it.
    const void* Data = NodeData(Node);
    const TTrackInfo& Tracker = Document->GetTracker();
    for (int I = 0; I < Tracker.Count(); ++I) {
        const TObjectInfo& Info = Tracker.Items(I);
        for (int J = 0; J < Info.Count(); ++J)
            if (&Info.Items(J) == Data) return &Info.Items(J);
    }
    return nullptr;
}

void TErrorsForm::TreeSelectionChanged() {
    if (Busy()) return;
    TBusyScope Scope(BusyFlag);
    TGeometryList* Document = ActiveDocument();
    TObjectInfoItem* Item = SelectedMessage();
    if (!Document || !Item || Document->Updating()) return;
    if (TGeometry* Entity = SenderEntity(Item->Message.Sender, *Document)) Document->SelectOnly(Entity);
    // The box of the newly chosen message shows also when the selection stayed as it was.
    Document->InvalidateViews();
}

void TErrorsForm::Draw(IGraphics& View) {
    if (TObjectInfoItem* Item = SelectedMessage()) DrawBoxEdges(Item->GetBox(), View);
}

TErrorsForm* GetErrorsForm() { return GetToolWindow(GErrorsForm); }

}  // namespace sarnova
