// The program-wide docking manager: the registries of dock panels and site forms, the creation and
// naming of sites, closing everything before a desktop is read, and the "Docking Manager" window.
#pragma once
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

#include "controls/VkDockPanel.h"

class QMainWindow;
class QTimer;
class QTreeWidget;

namespace sarnova {

class TVkByteReader;
class TVkByteWriter;
class TVkConjoinDockSiteForm;
class TVkDockingInformationForm;
class TVkTabbedDockSiteform;

class TVkDockingManager {
public:
    TVkDockingManager() = default;
    TVkDockingManager(const TVkDockingManager&) = delete;
    TVkDockingManager& operator=(const TVkDockingManager&) = delete;
    ~TVkDockingManager();

    // While open, else none.
    QPointer<TVkDockingInformationForm> InformationForm;
    // Every floating site form and every dock panel, in creation order.
    TVkDockSiteList DockSiteForms;
    TVkDockSiteList DockSitePanels;
    TVkReloadDockedControl ReloadHandler;
    std::string DesktopName;
    // The main window that hosts the docking; sites and free forms are its dock widgets.
    QPointer<QMainWindow> MainWindow;

    // A new site, registered and named after its class and the registered count + 1, made unique.
    TVkConjoinDockSiteForm* CreateConjoinSite();
    TVkTabbedDockSiteform* CreateTabbedSite();
    // Fires ReloadHandler when assigned.
    void DoReloadDockedControl(const std::string& Name, QWidget*& Control);
    // Closes every tool window, then frees every site form.
    void CloseAll();
    // The desktop file's contents (VkDockPanelDesktop.cpp). Loading reads the whole desktop first, so
    // a damaged one raises EInOutError and changes nothing; then everything is closed and the tool
    // windows, sites and panels it names are restored.
    void SaveToStream(TVkByteWriter& Stream);
    void LoadFromStream(TVkByteReader& Stream);
    // Opens (once) and refreshes the "Docking Manager" window.
    void ShowInformation();

private:
    void Register(TVkDockSiteForm* Site, const char* ClassName);
};

// Created when the program loads and freed when it ends; it creates no window itself.
extern std::unique_ptr<TVkDockingManager> GDockingManager;

// Shows the registered panels and sites as a tree, refreshed every 500 ms while open.
class TVkDockingInformationForm : public QWidget {
    Q_OBJECT
public:
    TVkDockingInformationForm(TVkDockingManager* Manager, QWidget* Parent);
    ~TVkDockingInformationForm() override;

    void Refresh();
    QTreeWidget* Tree() const { return TreeView; }

protected:
    void closeEvent(QCloseEvent* Event) override;

private:
    TVkDockingManager* Manager;
    QTreeWidget* TreeView;
    QTimer* Timer;
};

}  // namespace sarnova
