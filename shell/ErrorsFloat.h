// The "Modelling Errors" tool window: the messages that entities of the active document reported while
// they were built, one node per entity with its messages below. Selecting a message selects its entity
// and shows where the problem lies with a box in every view.
#pragma once
#include <memory>

#include "shell/ToolWindow.h"

class QAction;
class QMenu;
class QTreeWidget;

namespace sarnova {

class IGraphics;
class TGeoMessage;
class TGeometryList;
class TObjectInfoItem;

class TErrorsForm : public TToolWindowForm {
    Q_OBJECT
public:
    explicit TErrorsForm(QWidget* Parent = nullptr);
    ~TErrorsForm() override;

    void HandleMessage(TGeoMessage& Message);
    // The tracker's messages of the active document as the tree, with their images.
    void Rebuild();
    // The location box of the selected message, drawn into View.
    void Draw(IGraphics& View);
    // The message of the tree's selected node, when it is one the active document still tracks.
    TObjectInfoItem* SelectedMessage();

    QTreeWidget* TreeView1;
    QMenu* PopupMenu1;
    QAction* PopupSelectAll;

protected:
    void ShowNoDocument() override;

private:
    void TreeSelectionChanged();
};

// The image of a message node.
inline constexpr int MessageImage = 78;

// The Modelling Errors window, made on first use.
TErrorsForm* GetErrorsForm();

}  // namespace sarnova
