// What every tool window of the program shares: one program-wide instance made on first use and freed
// when closed, a dock form filled by a floating-site dock panel, a client of the main window's hub, the
// busy flag that keeps the window's own updates (and drag-docking) from feeding back into the document,
// and the "Mode" and "Zoom" display settings kept in the registry under the form's name.
#pragma once
#include <QPointer>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "controls/VkDockPanel.h"

class QTreeWidgetItem;
class QVBoxLayout;

namespace sarnova {

class TGeometry;
class TGeometryClient;
class TGeometryList;

// Tree nodes and list items of the tool windows carry what they stand for (an entity, a message) and
// the index of the image they show in the program's glyph list.
inline constexpr int NodeDataRole = Qt::UserRole;
inline constexpr int ImageIndexRole = Qt::UserRole + 1;
void* NodeData(const QTreeWidgetItem* Node);
void SetNodeData(QTreeWidgetItem* Node, void* Data);
// The image index of the node (also its selected image); -1 when it shows none.
int NodeImage(const QTreeWidgetItem* Node);
void SetNodeImage(QTreeWidgetItem* Node, int ImageIndex);
// The entity a node carries, when Document still holds it; none otherwise.
TGeometry* NodeEntity(const QTreeWidgetItem* Node, const TGeometryList* Document);
// The name an entity is shown by: its name, "unnamed" when it has none.
std::string ShownName(const TGeometry& Entity);
// A node standing for Entity: its shown name, the image, the entity as data, selected as the entity,
// renamed by editing its text.
void FillEntityNode(QTreeWidgetItem* Node, TGeometry& Entity, int ImageIndex);

// Sets a busy flag for its lifetime and puts the previous value back afterwards, also when the body
// fails.
class TBusyScope {
public:
    explicit TBusyScope(bool& AFlag) : Flag(AFlag), Previous(AFlag) { Flag = true; }
    ~TBusyScope() { Flag = Previous; }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    bool& Flag;
    bool Previous;
};

class TToolWindowForm : public TVkDockForm {
    Q_OBJECT
public:
    // Named Name (the registry section and the saved desktop's name), captioned Caption. With HubClient
    // it registers with the main window's hub when there is one.
    TToolWindowForm(QWidget* Parent, const char* Name, const char* Caption, bool HubClient = true);
    ~TToolWindowForm() override;

    TVkDockPanel* VkDockPanel1;
    // The window's connection to the hub; it has no server when the main window has no hub, and is
    // none for a window made without one.
    std::unique_ptr<TGeometryClient> Client;

    // The hub's active document, remembered as the document the window shows; none without one.
    TGeometryList* ActiveDocument();
    // The document the window filled itself from last.
    TGeometryList* ShownDocument() const { return FShownDocument; }

    // Set while the window updates itself or is dragged for docking.
    bool Busy() const { return BusyFlag || IsDragging(); }
    // Closed: it is about to be freed, and the next request makes a new window.
    bool IsClosing() const { return Closing; }

    // Display settings under the form's section of the program's registry key, the given value when
    // none is stored.
    int ReadModeSetting(int Default) const;
    bool ReadZoomSetting(bool Default) const;
    // Stores the values given; errors of the store are dropped (the window is going away).
    void WriteSettings(std::optional<int> Mode, std::optional<bool> Zoom) const;

protected:
    // The panel's layout, into which the window puts its contents from top to bottom.
    QVBoxLayout* Contents() const { return FContents; }
    // A document is about to be freed; a window that shows it empties itself. The base looks at the
    // document the window filled itself from last.
    virtual void DocumentClosing(TGeometryList* Document);
    // Empties the window without asking the main window anything (it may be going away itself).
    virtual void ShowNoDocument() {}

    void closeEvent(QCloseEvent* Event) override;

    bool BusyFlag = false;

private:
    QVBoxLayout* FContents;
    TGeometryList* FShownDocument = nullptr;
    bool Closing = false;
};

// The docking manager's main window, which hosts the tool windows.
QWidget* ToolWindowHost();

// The window held by Instance, made (floating, hosted by the docking manager's main window) when there
// is none or it was closed.
template <class T>
T* GetToolWindow(QPointer<T>& Instance) {
    if (!Instance || Instance->IsClosing()) Instance = new T(ToolWindowHost());
    return Instance.data();
}

}  // namespace sarnova
