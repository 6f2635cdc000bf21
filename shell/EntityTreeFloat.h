// The design the Openings, Groups and Hierarchy windows share: a tree of a part of the active document
// with an expanded and a collapsed view, an optional zoom to what is selected, entity nodes that follow
// and make the document's selection, and renaming through the nodes.
#pragma once
#include <cstdint>

#include "shell/ToolWindow.h"

class QAction;
class QActionGroup;
class QToolBar;
class QTreeWidget;

namespace sarnova {

class TGeoMessage;
class TGeometry;
class TGeometryList;

class TEntityTreeForm : public TToolWindowForm {
    Q_OBJECT
public:
    // ZoomCaption: the caption of the zoom button; none for a window without one (and without a "Zoom"
    // setting).
    TEntityTreeForm(QWidget* Parent, const char* Name, const char* Caption, const char* ZoomCaption);
    // Writes the settings back.
    ~TEntityTreeForm() override;

    // 0 the tree as filled, 1 expanded, 2 collapsed.
    std::uint8_t GetMode() const { return Mode; }
    void SetMode(std::uint8_t Value);
    bool GetZoom() const { return Zoom; }
    void SetZoom(bool Value);
    bool HasZoom() const { return ZoomAction != nullptr; }

    void HandleMessage(TGeoMessage& Message);
    // Refills the tree from the active document, then expands or collapses it as the mode says.
    void Rebuild();
    // Every entity node shows its entity's present state.
    void RefreshNodes();

    QToolBar* ToolBar1;
    QAction* ExpandAction;
    QAction* CollapseAction;
    QAction* ZoomAction = nullptr;
    QTreeWidget* TreeView1;

protected:
    // The window's part of Document as nodes of the cleared tree.
    virtual void FillTree(TGeometryList& Document) = 0;
    // The user selected the node of Entity, which the document does not have selected yet.
    virtual void EntitySelected(TGeometryList& Document, TGeometry& Entity);
    void ShowNoDocument() override;

private:
    // Inside the tree's update: every top-level node with all below it.
    void ExpandAll(bool Expand);
    void TreeSelectionChanged();
    void NodeRenamed(QTreeWidgetItem* Node);

    std::uint8_t Mode = 0;
    bool Zoom = false;
};

}  // namespace sarnova
