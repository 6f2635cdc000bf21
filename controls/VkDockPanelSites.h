// Floating dock sites: the host forms that the docking manager creates when one tool window is dropped
// on another. A conjoined site arranges its windows side by side or above each other, a tabbed site
// shows each on a page. Both dissolve when one window is left.
#pragma once
#include <QTabWidget>

#include <string>
#include <vector>

#include "controls/VkDockPanel.h"

class QMainWindow;
class QMenu;

namespace sarnova {

class TVkDockSiteForm : public TVkDockForm {
    Q_OBJECT
public:
    explicit TVkDockSiteForm(QWidget* Parent = nullptr);
    // Leaves the manager's site registry; the windows still docked die with the site.
    ~TVkDockSiteForm() override;

    int Group = 0;
    TVkReloadDockedControl ReloadHandler;

    // Fires ReloadHandler when assigned.
    virtual void DoReloadDockedControl(const std::string& Name, QWidget*& Control);
    // Posts a close request when at most one visible window is docked.
    virtual void CloseIfEmpty();

    // The docked windows, in docking order (page order in a tabbed site).
    virtual std::vector<TVkDockForm*> DockedForms() const = 0;
    int VisibleDockedCount() const;
    // Group of the first docked site or panel with a non-zero group, else 0.
    void UpdateGroup();
    // The visible windows' captions but LeaveOut's, joined by ", ".
    virtual void UpdateCaption(TVkDockForm* LeaveOut = nullptr);

    // The docking layer's part: the area that takes drops (on screen), a drag over it, a drop.
    virtual QRect DropRect() const = 0;
    virtual bool DockOver(QWidget* Source, QPoint ScreenPoint, QRect& Preview) const = 0;
    virtual void DockDrop(QWidget* Source, QPoint ScreenPoint) = 0;
    // Takes Form out of the site without any consequence (the form stays hidden); ClientLeft then
    // applies the site's rules for a window that left.
    virtual void RemoveClient(TVkDockForm* Form) = 0;
    virtual void ClientLeft(TVkDockForm* Form) = 0;

    // The site handles the request after the current event, so that it never frees itself inside
    // the handler of the event that emptied it.
    void PostCloseRequest();
    // Resolves a saved name (handler, then the host's dock widget of that name), made visible.
    QWidget* ResolveDockedControl(const std::string& Name);
    // Sites take tool windows of a compatible group.
    bool AcceptsToolWindow(const QWidget* Source) const;

protected:
    // Members: the docked windows, in docking order; the site watches their showing and hiding.
    void Adopt(TVkDockForm* Form);
    void Release(TVkDockForm* Form);
    std::vector<QPointer<TVkDockForm>> Members;

    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    virtual void ClientVisibilityChanged(TVkDockForm* Form, bool Visible);
    // A close request: with exactly one docked window, that window takes the site's place where the
    // site is docked, or floats where it is; the site is freed. Otherwise the site is only hidden.
    void closeEvent(QCloseEvent* Event) override;

private:
    bool Cascading = false;
};

class TVkConjoinDockSiteForm : public TVkDockSiteForm {
    Q_OBJECT
public:
    explicit TVkConjoinDockSiteForm(QWidget* Parent = nullptr);

    // The layout manager: a main window whose left dock area holds the docked windows.
    QMainWindow* DockLayout() const { return Layout; }

    std::vector<TVkDockForm*> DockedForms() const override;
    // Docks Form beside the docked window Target (none: along the whole site) on side Align.
    void DockClient(TVkDockForm* Form, TVkDockForm* Target, TVkAlign Align);
    // Floats W at its place on screen, with its undocked size.
    void FloatClient(TVkDockForm* W);

    QRect DropRect() const override;
    bool DockOver(QWidget* Source, QPoint ScreenPoint, QRect& Preview) const override;
    void DockDrop(QWidget* Source, QPoint ScreenPoint) override;
    void RemoveClient(TVkDockForm* Form) override;
    void ClientLeft(TVkDockForm* Form) override;
    // New (taken out of its host already) takes Old's place and order; Old leaves hidden.
    void ReplaceClient(TVkDockForm* Old, TVkDockForm* New);

private:
    // Where a drop at ScreenPoint goes: beside the docked window under it, on the side it is nearest.
    TVkAlign PlaceAt(QPoint ScreenPoint, TVkDockForm* Moving, TVkDockForm*& Target, QRect& Preview) const;

    QMainWindow* Layout = nullptr;
};

class TVkTabbedDockSiteform;

// The page control of a tabbed site: one page per docked window.
class TVkDockPageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit TVkDockPageControl(TVkTabbedDockSiteform* Site);

    TVkTabbedDockSiteform* SiteForm() const { return Site; }
    std::vector<TVkDockForm*> DockedForms() const;
    int PageOf(const TVkDockForm* Form) const;
    // Puts Form (taken out of its host already) on a page of its own, client-aligned, shown.
    void DockForm(TVkDockForm* Form);
    // Takes Form off its page; it stays hidden.
    void RemoveForm(TVkDockForm* Form);
    void ShowPageOf(const TVkDockForm* Form);
    void SetTabVisibleFor(const TVkDockForm* Form, bool Visible);
    // "Top", "Bottom", "Left", "Right": the tab positions, checked as it opens.
    QMenu* TabPositionMenu() const { return TabMenu; }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    TVkTabbedDockSiteform* Site;
    QMenu* TabMenu;
    int PressedTab = -1;
    QPoint PressPoint;
    TVkDockForm* Dragged = nullptr;
};

// The lower-case "f" is part of the name: saved desktops know sites by it.
class TVkTabbedDockSiteform : public TVkDockSiteForm {
    Q_OBJECT
public:
    explicit TVkTabbedDockSiteform(QWidget* Parent = nullptr);

    TVkDockPageControl* PageControl = nullptr;

    std::vector<TVkDockForm*> DockedForms() const override;
    // Resolves Name and docks the window into the page control, visible.
    void DockByName(const std::string& Name);
    // Docks Form into the page control (client-aligned).
    void DockClient(TVkDockForm* Form);

    QRect DropRect() const override;
    bool DockOver(QWidget* Source, QPoint ScreenPoint, QRect& Preview) const override;
    void DockDrop(QWidget* Source, QPoint ScreenPoint) override;
    void RemoveClient(TVkDockForm* Form) override;
    void ClientLeft(TVkDockForm* Form) override;

protected:
    void ClientVisibilityChanged(TVkDockForm* Form, bool Visible) override;
};

}  // namespace sarnova
