// The "Attributes" tool window: the property panel that fits the active document's selection — the
// selected entity's own frame, the multiple-selection frame for several, the program options for none —
// under a drop-down that lists the shown named entities and selects the one picked.
#pragma once
#include <memory>

#include "shell/ToolWindow.h"

class QComboBox;
class QFrame;
class QScrollArea;

namespace sarnova {

class TGeoMessage;
class TGeometry;
class TGeometryList;
class TGeometryReference;

class TEntityForm : public TToolWindowForm {
    Q_OBJECT
public:
    explicit TEntityForm(QWidget* Parent = nullptr);
    // The shown entity frees its frame first: entity frames are the entities'.
    ~TEntityForm() override;

    void HandleMessage(TGeoMessage& Message);
    void Refresh();
    void FillSelectionBox();
    void ShowEntity();
    void ShowMultiSelection();
    void ShowOptions();
    // Shows Entity's frame, made by the entity; the previous entity frees its own.
    void SetShownEntity(TGeometry* Entity);
    // Puts Frame in the frame area; a frame of this window that it replaces is freed.
    void SetFrame(QWidget* Frame);
    // Widens a floating window to the frame it shows, up to half the screen.
    void FitWidthToFrame();

    // The entity whose frame is shown, none for another frame or none at all.
    TGeometry* ShownEntity() const;
    QWidget* ShownFrame() const { return Frame; }

    QComboBox* ComboBox1;
    QFrame* Panel2;
    QScrollArea* FrameArea;

protected:
    // Also the document the multiple-selection or options frame was filled for.
    void DocumentClosing(TGeometryList* Document) override;
    void ShowNoDocument() override;

private:
    // The shown entity is being freed: its frame goes with it, and the window shows what fits next.
    void EntityDestroyed(TGeometry* Entity);
    void SelectionChosen(int Index);

    std::unique_ptr<TGeometryReference> Reference;
    QWidget* Frame = nullptr;
};

// The Attributes window, made on first use.
TEntityForm* GetEntityForm();

}  // namespace sarnova
