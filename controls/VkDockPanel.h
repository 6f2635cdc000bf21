// Docking framework: the dock panel that takes dropped tool windows, the dockable form that the
// framework drags, and the registries of panels and site forms.
//
// Layout of windows is Qt's: edge panels are the dock areas of the main window, sites arrange their
// windows with a QMainWindow or a tab widget. What Qt does not let us decide — which drops are
// accepted, the drop zones and what a drop produces — the framework decides: forms are dragged by the
// framework, not by Qt.
#pragma once
#include <QDockWidget>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/VkDockPanelRules.h"

class QMainWindow;

namespace sarnova {

class TVkDockDrag;
class TVkDockSiteForm;

enum TVkDockPanelStyle { dsSizingSite = 0, dsFloatingSite = 1 };

// Resolves a saved window name to a window while a layout is read: the handler sets AControl to the
// window named AControlName, or leaves it empty.
using TVkReloadDockedControl =
    std::function<void(QObject* Sender, const std::string& AControlName, QWidget*& AControl)>;

// A form of the docking layer: floats as a window of its own, or sits docked in an edge panel of the
// main window or in a site. Tool windows and site forms are TVkDockForms. Dragging its title (or its
// tab) hands it to the docking framework; a double click on the title of a docked form floats it.
class TVkDockForm : public QDockWidget {
    Q_OBJECT
public:
    // Parent: the main window that hosts the docking (the docking manager's by default).
    explicit TVkDockForm(QWidget* Parent = nullptr);
    ~TVkDockForm() override;

    // The size it floats with; kept up to date while it floats.
    int UndockWidth = 240;
    int UndockHeight = 160;

    // The site it is docked in, or none.
    TVkDockSiteForm* HostSite() const;
    // The title bar, in the form's coordinates; empty while the form is a page of a tabbed site.
    QRect TitleArea() const;
    // Starts, moves and ends a drag of this form; used by the title bar and by the tabs of a site.
    void DragStart(QPoint ScreenPoint, QPoint GrabOffset);
    void DragMove(QPoint ScreenPoint);
    void DragEnd(QPoint ScreenPoint, bool Cancelled = false);
    bool IsDragging() const { return Drag != nullptr; }

protected:
    bool event(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    // Esc that no control of the window took closes a floating tool window, as it closes a dialog.
    void keyPressEvent(QKeyEvent* Event) override;

private:
    // Moves the form to the first place beside the host's right edge that covers no other free tool
    // window, and remembers it until the first showing.
    void PlaceFree();
    std::optional<QPoint> AutoPlace;
    friend class TVkDockSiteForm;
    QPointer<TVkDockSiteForm> Site;
    bool Pressed = false;
    QPoint PressPoint;
    std::unique_ptr<TVkDockDrag> Drag;
};

class TVkDockPanel : public QWidget {
    Q_OBJECT
public:
    // The panel that fills a tool window (dsFloatingSite) and holds the window's contents.
    explicit TVkDockPanel(QWidget* Parent);
    // An edge panel (dsSizingSite) of MainWindow: its dock area Area, which Qt collapses while no
    // visible window is docked in it (the separator plays the splitter, and the status bar stays below).
    TVkDockPanel(QMainWindow* MainWindow, Qt::DockWidgetArea Area);
    ~TVkDockPanel() override;

    TVkDockPanelStyle DockStyle = dsFloatingSite;
    int Group = 0;
    TVkReloadDockedControl OnReloadDockedControl;

    // A panel stops taking drops while its tool window is docked somewhere.
    bool IsDockSite() const { return DockSite; }
    void SetDockSite(bool Value) { DockSite = Value; }

    // The first form up the owner chain: the tool window, or the main window of an edge panel.
    QWidget* OwnerForm() const;
    // The dock area and main window of an edge panel (none for a tool window's panel).
    Qt::DockWidgetArea Area() const { return DockArea; }
    QMainWindow* MainWindow() const;
    TVkAlign Align() const;

    // Windows docked in the panel, top to bottom and left to right, hidden ones too.
    std::vector<QDockWidget*> DockedControls() const;
    int ControlCount() const;
    bool HasOwnContent() const;
    bool AcceptsCentreZone() const;
    bool HasSplitter() const { return DockStyle == dsSizingSite; }
    bool IsShowing() const;
    // "OwnerForm.PanelName".
    std::string FullName() const;
    // Where the panel lies on screen; a collapsed edge panel is a line of zero thickness at its edge.
    QRect ScreenRect() const;
    // Where a drag over the panel is noticed: a collapsed edge panel reaches a little inwards.
    QRect InfluenceRect() const;

    bool CanDockForm(QWidget* Source) const;
    // The zone at ScreenPoint; the zone's preview, on screen, goes to Preview.
    TVkAlign DockZoneAt(QPoint ScreenPoint, bool CentreAllowed, QRect& Preview) const;
    QRect CollapsedDockRect(QWidget* Source, const QRect& LayerRect) const;
    // A drag of Source over the panel: whether it is accepted; Preview is the outline to show.
    bool DockOver(QWidget* Source, QPoint ScreenPoint, QRect& Preview) const;
    // Source dropped on the panel at ScreenPoint.
    void DockDrop(QWidget* Source, QPoint ScreenPoint);

    // Gives an edge panel the undocked width (or height) of W, at least 20 pixels.
    void Expand(QWidget* W);
    // Moves the windows of Site into the empty edge panel, keeping their arrangement. The site is left
    // empty for the caller to free.
    void AbsorbConjoinedSite(TVkDockSiteForm* Site);

    // The window of a saved name while a layout is read (tabbed sites by their registered name, else
    // the reload handler, else the main window's dock widget of that name), made visible; or none.
    QWidget* ReloadDockedControl(const std::string& Name);
    virtual void DoReloadDockedControl(const std::string& Name, QWidget*& Control);

private:
    // The layer's own docking: beside the docked window under the point, or along the whole panel.
    bool StandardDock(QWidget* Source, QPoint ScreenPoint, QRect* Preview, bool Apply) const;
    void DropOnToolWindow(QWidget* Source, QPoint ScreenPoint);
    void DropCentreOnSingle(QDockWidget* Docked, QWidget* Source);

    Qt::DockWidgetArea DockArea = Qt::NoDockWidgetArea;
    bool DockSite = true;
};

// A form that owns a dock panel among its direct children is a tool window.
TVkDockPanel* FirstDockPanel(const QWidget* Form);
bool ContainsDockPanel(const QWidget* Form);
// What Source is to a panel or site, with the group it docks by.
TVkDockSource DockSourceOf(const QWidget* Source, int* Group = nullptr);
// Shows a tool window, and brings its page to the front when it sits in a tabbed site.
void ShowToolWindow(QWidget* Form);

// A plain list of panels or site forms that owns nothing.
class TVkDockSiteList {
public:
    int Count() const { return static_cast<int>(Items.size()); }
    QWidget* Item(int Index) const { return Items.at(static_cast<size_t>(Index)); }
    void Add(QWidget* Item) { Items.push_back(Item); }
    void Remove(QWidget* Item);
    void Clear() { Items.clear(); }

    // Site form named Name exactly, else none.
    TVkDockSiteForm* FindByName(const std::string& Name) const;
    bool Exists(const std::string& Name) const { return FindByName(Name) != nullptr; }
    // Name, or Name with its number raised until no site form's name equals it ignoring case.
    std::string UniqueName(const std::string& Name) const;
    // Panel whose FullName is Name exactly, else none.
    TVkDockPanel* FindPanel(const std::string& Name) const;
    // Whether Control is the owner form of a listed panel.
    bool IsToolWindow(const QWidget* Control) const;
    // CloseIfEmpty on every listed site form.
    void CloseEmptySites();

private:
    std::vector<QWidget*> Items;
};

// The main window's three edge panels, all of group 0: left, right and bottom.
struct TVkMainDockPanels {
    TVkDockPanel* Left = nullptr;
    TVkDockPanel* Right = nullptr;
    TVkDockPanel* Bottom = nullptr;
};
// Makes MainWindow the host of the docking: its edge panels "VkDockPanel1" (left), "VkDockPanel2"
// (right) and "VkDockPanel3" (bottom), and the docking manager's main window.
TVkMainDockPanels InstallMainDockPanels(QMainWindow& MainWindow);

}  // namespace sarnova
