#include "shell/HierarchyFloat.h"

#include <QPointer>
#include <QTreeWidget>

#include "document/Geometry.h"
#include "naval/Arrangement.h"

namespace sarnova {

namespace {

QPointer<THierarchyForm> GHierarchyForm;

// The compartment tree as nodes of the window's tree view.
class TTreeViewCompartments : public ICompartmentTree {
public:
    explicit TTreeViewCompartments(QTreeWidget& ATree) : Tree(ATree) {}
    void Clear() override { Tree.clear(); }
    TNode AddNode(TNode Parent, const std::string&, TGeometry* Entity) override {
        auto* Node = Parent ? new QTreeWidgetItem(static_cast<QTreeWidgetItem*>(Parent)) : new QTreeWidgetItem(&Tree);
        FillEntityNode(Node, *Entity, Entity->GetClass().GetImageIndex());
        return Node;
    }

private:
    QTreeWidget& Tree;
};

}  // namespace

THierarchyForm::THierarchyForm(QWidget* Parent)
    : TEntityTreeForm(Parent, "HierarchyForm", "Hierarchy", nullptr),
      Arrangement(std::make_unique<arrangement::TArrangement>()) {
    Rebuild();
}

THierarchyForm::~THierarchyForm() = default;

void THierarchyForm::FillTree(TGeometryList& Document) {
    Arrangement->Build(Document);
    TTreeViewCompartments Tree(*TreeView1);
    Arrangement->FillTree(Tree);
}

THierarchyForm* GetHierarchyForm() { return GetToolWindow(GHierarchyForm); }

}  // namespace sarnova
