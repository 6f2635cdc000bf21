#include "controls/VkDockPanelManager.h"

#include <QCloseEvent>
#include <QMainWindow>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "controls/VkDockPanelSites.h"

namespace sarnova {

std::unique_ptr<TVkDockingManager> GDockingManager = std::make_unique<TVkDockingManager>();

// Widgets belong to the main window, which is gone before the program unloads.
TVkDockingManager::~TVkDockingManager() = default;

void TVkDockingManager::Register(TVkDockSiteForm* Site, const char* ClassName) {
    DockSiteForms.Add(Site);
    Site->setObjectName(QString::fromStdString(DockSiteForms.UniqueName(ClassName + std::to_string(DockSiteForms.Count() + 1))));
}

TVkConjoinDockSiteForm* TVkDockingManager::CreateConjoinSite() {
    auto* Site = new TVkConjoinDockSiteForm(MainWindow);
    Register(Site, "TVkConjoinDockSiteForm");
    return Site;
}

TVkTabbedDockSiteform* TVkDockingManager::CreateTabbedSite() {
    auto* Site = new TVkTabbedDockSiteform(MainWindow);
    Register(Site, "TVkTabbedDockSiteform");
    return Site;
}

void TVkDockingManager::DoReloadDockedControl(const std::string& Name, QWidget*& Control) {
    if (ReloadHandler) ReloadHandler(nullptr, Name, Control);
}

void TVkDockingManager::CloseAll() {
    int I = 0;
    while (I < DockSitePanels.Count()) {
        auto* Panel = qobject_cast<TVkDockPanel*>(DockSitePanels.Item(I));
        if (Panel && Panel->DockStyle == dsFloatingSite) {
            const int Before = DockSitePanels.Count();
            if (QWidget* Owner = Panel->OwnerForm()) Owner->close();
            if (DockSitePanels.Count() != Before) {
                I = 0;
                continue;
            }
        }
        ++I;
    }
    for (int J = DockSiteForms.Count() - 1; J >= 0; --J) {
        if (J < DockSiteForms.Count()) delete DockSiteForms.Item(J);
    }
}

void TVkDockingManager::ShowInformation() {
    if (!InformationForm) InformationForm = new TVkDockingInformationForm(this, MainWindow);
    InformationForm->Refresh();
    InformationForm->show();
}

// ---- TVkDockingInformationForm ----

namespace {

std::string NameOf(const QWidget* Widget) { return Widget ? Widget->objectName().toStdString() : std::string(); }

// Where Form is docked: its site (the page control of a tabbed one) or its edge panel; none while free.
const QWidget* HostDockSite(const QWidget* Form) {
    auto* Dock = qobject_cast<const TVkDockForm*>(Form);
    if (!Dock) return nullptr;
    if (TVkDockSiteForm* Site = Dock->HostSite()) {
        if (auto* Tabbed = qobject_cast<TVkTabbedDockSiteform*>(Site)) return Tabbed->PageControl;
        return Site;
    }
    auto* Window = qobject_cast<const QMainWindow*>(Dock->parentWidget());
    if (!Window || Dock->isFloating()) return nullptr;
    const Qt::DockWidgetArea Area = Window->dockWidgetArea(const_cast<TVkDockForm*>(Dock));
    const TVkDockSiteList& Panels = GDockingManager->DockSitePanels;
    for (int I = 0; I < Panels.Count(); ++I) {
        auto* Panel = qobject_cast<TVkDockPanel*>(Panels.Item(I));
        if (Panel && Panel->MainWindow() == Window && Panel->Area() == Area) return Panel;
    }
    return Window;
}

}  // namespace

TVkDockingInformationForm::TVkDockingInformationForm(TVkDockingManager* Manager, QWidget* Parent)
    : QWidget(Parent, Qt::Tool | Qt::WindowStaysOnTopHint), Manager(Manager) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Docking Manager");
    resize(450, 200);
    TreeView = new QTreeWidget(this);
    TreeView->setHeaderHidden(true);
    auto* Fill = new QVBoxLayout(this);
    Fill->setContentsMargins(0, 0, 0, 0);
    Fill->addWidget(TreeView);
    Timer = new QTimer(this);
    Timer->setInterval(500);
    connect(Timer, &QTimer::timeout, this, &TVkDockingInformationForm::Refresh);
    Timer->start();
}

TVkDockingInformationForm::~TVkDockingInformationForm() {
    if (Manager->InformationForm == this) Manager->InformationForm = nullptr;
}

void TVkDockingInformationForm::closeEvent(QCloseEvent* Event) {
    Timer->stop();
    Manager->InformationForm = nullptr;
    Event->accept();
}

void TVkDockingInformationForm::Refresh() {
    TreeView->setUpdatesEnabled(false);
    TreeView->clear();
    auto* Panels = new QTreeWidgetItem(TreeView, {"VkDockPanels"});
    for (int I = 0; I < Manager->DockSitePanels.Count(); ++I) {
        auto* Panel = qobject_cast<TVkDockPanel*>(Manager->DockSitePanels.Item(I));
        if (!Panel) continue;
        const QWidget* Owner = Panel->OwnerForm();
        std::string Text = NameOf(Panel) + " (Owner:" + NameOf(Owner) + "; ";
        if (Panel->DockStyle == dsFloatingSite) {
            const QWidget* Host = HostDockSite(Owner);
            Text += Host ? "DockedTo: " + NameOf(Host) + ")" : std::string("Undocked)");
        } else {
            Text += "DockCount: " + std::to_string(Panel->DockedControls().size()) + "; " +
                    (Panel->IsShowing() ? "Showing)" : "Hidden)");
        }
        new QTreeWidgetItem(Panels, {QString::fromStdString(Text)});
    }
    auto* Forms = new QTreeWidgetItem(TreeView, {"VkDockForms"});
    for (int I = 0; I < Manager->DockSiteForms.Count(); ++I) {
        const QWidget* Site = Manager->DockSiteForms.Item(I);
        const QWidget* Host = HostDockSite(Site);
        const std::string Text = NameOf(Site) + (Host ? " (DockedTo: " + NameOf(Host) + ")" : std::string(" (Floating)"));
        new QTreeWidgetItem(Forms, {QString::fromStdString(Text)});
    }
    TreeView->expandAll();
    TreeView->setUpdatesEnabled(true);
}

}  // namespace sarnova
