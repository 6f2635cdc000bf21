#include "controls/VkDockPanelDesktop.h"

#include <QInputDialog>
#include <QMainWindow>
#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <system_error>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "controls/FormSave.h"
#include "controls/VkDockPanelLayout.h"
#include "controls/VkDockPanelManager.h"
#include "controls/VkDockPanelSites.h"

namespace sarnova {

namespace {

std::string NameOf(const QWidget* Widget) { return Widget->objectName().toStdString(); }

// Docked in an edge panel or in a site, as opposed to floating (or hidden out of every layout).
bool IsDocked(const QWidget* Form) {
    auto* Dock = qobject_cast<const TVkDockForm*>(Form);
    if (!Dock) return false;
    if (Dock->HostSite()) return true;
    if (Dock->isFloating()) return false;
    auto* Window = qobject_cast<QMainWindow*>(Dock->parentWidget());
    return Window && Window->dockWidgetArea(const_cast<TVkDockForm*>(Dock)) != Qt::NoDockWidgetArea;
}

TVkDesktopPlacement PlacementOf(const QWidget* Form) {
    TVkDesktopPlacement P;
    const QRect R = NormalBounds(*Form);
    P.Left = R.x();
    P.Top = R.y();
    P.Width = R.width();
    P.Height = R.height();
    P.WindowState = GetWindowState(*Form);
    P.FormStyle = GetFormStyle(*Form);
    P.Visible = !Form->isHidden();
    return P;
}

// Puts Form where P says; showing (or hiding) comes last. A dock form floats there.
void ApplyPlacement(QWidget* Form, const TVkDesktopPlacement& P) {
    const QRect Place(P.Left, P.Top, P.Width, P.Height);
    if (auto* Dock = qobject_cast<TVkDockForm*>(Form)) {
        FloatForm(Dock, Place);
    } else {
        Form->setGeometry(Place);
    }
    if (P.WindowState != wsNormal) SetWindowState(*Form, static_cast<TWindowState>(P.WindowState));
    Form->setVisible(P.Visible);
}

TVkDesktopLayout LayoutOf(const QMainWindow& Window, Qt::DockWidgetArea Area, std::vector<QDockWidget*>& Docks) {
    TVkDesktopLayout Layout;
    Layout.Tree = AreaLayout(Window, Area, Docks);
    for (const QDockWidget* Dock : Docks) Layout.Leaves.push_back({NameOf(Dock), Dock->width(), Dock->height()});
    return Layout;
}

TVkDesktopTabs TabsOf(const TVkTabbedDockSiteform& Site) {
    TVkDesktopTabs Tabs;
    Tabs.TabPosition = static_cast<std::int32_t>(Site.PageControl->tabPosition());
    const std::vector<TVkDockForm*> Forms = Site.DockedForms();
    for (const TVkDockForm* Form : Forms) Tabs.Names.push_back(NameOf(Form));
    const int Active = Site.PageControl->currentIndex();
    if (Active >= 0 && Active < static_cast<int>(Forms.size())) Tabs.ActiveName = Tabs.Names[static_cast<size_t>(Active)];
    return Tabs;
}

void LoadTabs(TVkTabbedDockSiteform& Site, const TVkDesktopTabs& Tabs) {
    Site.PageControl->setTabPosition(static_cast<QTabWidget::TabPosition>(Tabs.TabPosition));
    for (const std::string& Name : Tabs.Names) Site.DockByName(Name);
    for (TVkDockForm* Form : Site.DockedForms()) {
        if (NameOf(Form) == Tabs.ActiveName) {
            Site.PageControl->ShowPageOf(Form);
            break;
        }
    }
}

// The windows of Layout's leaves, each resolved by Resolve once; a name that yields nothing, a window
// named twice or one that Accepts refuses is left out of the tree.
template <typename TResolve, typename TAccept>
TVkDockLayoutNode ResolveLeaves(const TVkDesktopLayout& Layout, std::vector<QDockWidget*>& Docks, TResolve Resolve,
                                TAccept Accepts) {
    Docks.assign(Layout.Leaves.size(), nullptr);
    std::vector<bool> Keep(Layout.Leaves.size(), false);
    for (size_t I = 0; I < Layout.Leaves.size(); ++I) {
        auto* Dock = qobject_cast<QDockWidget*>(Resolve(Layout.Leaves[I].Name));
        if (!Dock || !Accepts(Dock) || std::find(Docks.begin(), Docks.end(), Dock) != Docks.end()) continue;
        Docks[I] = Dock;
        Keep[I] = true;
    }
    return PruneDockLayout(Layout.Tree, Keep);
}

void ResizeLeaves(QMainWindow& Window, const TVkDesktopLayout& Layout, const std::vector<QDockWidget*>& Docks) {
    QList<QDockWidget*> Resized;
    QList<int> Widths, Heights;
    for (size_t I = 0; I < Docks.size(); ++I) {
        if (!Docks[I]) continue;
        Resized.push_back(Docks[I]);
        Widths.push_back(std::max(1, Layout.Leaves[I].Width));
        Heights.push_back(std::max(1, Layout.Leaves[I].Height));
    }
    if (Resized.isEmpty()) return;
    Window.resizeDocks(Resized, Widths, Qt::Horizontal);
    Window.resizeDocks(Resized, Heights, Qt::Vertical);
}

bool IsEmptyTree(const TVkDockLayoutNode& Tree) { return !Tree.IsLeaf() && Tree.Children.empty(); }

void RestoreConjoinedSite(TVkConjoinDockSiteForm& Site, const TVkDesktopLayout& Layout) {
    std::vector<QDockWidget*> Docks;
    const TVkDockLayoutNode Tree = ResolveLeaves(
        Layout, Docks, [&Site](const std::string& Name) { return Site.ResolveDockedControl(Name); },
        [&Site](QDockWidget* Dock) { return Dock != &Site && DockSourceOf(Dock) == TVkDockSource::ToolWindow; });
    if (IsEmptyTree(Tree)) return;
    Site.setUpdatesEnabled(false);
    auto FormOf = [&Docks](int Leaf) { return Leaf < 0 ? nullptr : static_cast<TVkDockForm*>(Docks[static_cast<size_t>(Leaf)]); };
    for (const TVkDockInsertion& Step : DockLayoutInsertions(Tree)) Site.DockClient(FormOf(Step.Leaf), FormOf(Step.Target), Step.Align);
    ResizeLeaves(*Site.DockLayout(), Layout, Docks);
    Site.setUpdatesEnabled(true);
}

void RestoreEdgePanel(TVkDockPanel& Panel, const TVkDesktopPanel& Record) {
    QMainWindow* Window = Panel.MainWindow();
    if (!Window) return;
    std::vector<QDockWidget*> Docks;
    const TVkDockLayoutNode Tree = ResolveLeaves(
        Record.Layout, Docks, [&Panel](const std::string& Name) { return Panel.ReloadDockedControl(Name); },
        [](QDockWidget* Dock) {
            const TVkDockSource Kind = DockSourceOf(Dock);
            return Kind == TVkDockSource::ToolWindow || Kind == TVkDockSource::TabbedSite;
        });
    if (!IsEmptyTree(Tree)) {
        for (QDockWidget* Dock : Docks) {
            if (Dock) DetachForm(static_cast<TVkDockForm*>(Dock));
        }
        ArrangeInArea(*Window, Panel.Area(), Tree, Docks);
        for (QDockWidget* Dock : Docks) {
            if (TVkDockPanel* Own = Dock ? FirstDockPanel(Dock) : nullptr) Own->SetDockSite(false);
        }
        ResizeLeaves(*Window, Record.Layout, Docks);
    }
    const std::vector<QDockWidget*> Docked = Panel.DockedControls();
    for (const auto& [Name, Tabs] : Record.TabbedSites) {
        TVkTabbedDockSiteform* Site = nullptr;
        for (QDockWidget* Dock : Docked) {
            auto* Tabbed = qobject_cast<TVkTabbedDockSiteform*>(Dock);
            if (Tabbed && NameOf(Tabbed) == Name) Site = Tabbed;
        }
        // The rest of the record belongs to sites that are not there.
        if (!Site) break;
        LoadTabs(*Site, Tabs);
    }
}

}  // namespace

// ---- Saving and loading through the docking manager ----

TVkDesktop CaptureDesktop() {
    TVkDesktop Desktop;
    if (!GDockingManager) return Desktop;
    const TVkDockingManager& Manager = *GDockingManager;
    Desktop.Name = Manager.DesktopName;
    for (int I = 0; I < Manager.DockSitePanels.Count(); ++I) {
        auto* Panel = qobject_cast<TVkDockPanel*>(Manager.DockSitePanels.Item(I));
        if (!Panel || Panel->DockStyle != dsFloatingSite) continue;
        const QWidget* Owner = Panel->OwnerForm();
        if (Owner && !IsDocked(Owner)) Desktop.FreeWindows.push_back(NameOf(Owner));
    }
    for (int I = 0; I < Manager.DockSiteForms.Count(); ++I) {
        auto* Site = qobject_cast<TVkDockSiteForm*>(Manager.DockSiteForms.Item(I));
        if (!Site || IsDocked(Site)) continue;
        TVkDesktopSite Record;
        Record.Name = NameOf(Site);
        Record.Placement = PlacementOf(Site);
        if (auto* Tabbed = qobject_cast<TVkTabbedDockSiteform*>(Site)) {
            Record.Tabbed = true;
            Record.Tabs = TabsOf(*Tabbed);
        } else if (auto* Conjoined = qobject_cast<TVkConjoinDockSiteForm*>(Site)) {
            std::vector<QDockWidget*> Docks;
            Record.Layout = LayoutOf(*Conjoined->DockLayout(), Qt::LeftDockWidgetArea, Docks);
        }
        Desktop.Sites.push_back(std::move(Record));
    }
    for (int I = 0; I < Manager.DockSitePanels.Count(); ++I) {
        auto* Panel = qobject_cast<TVkDockPanel*>(Manager.DockSitePanels.Item(I));
        if (!Panel) continue;
        TVkDesktopPanel Record;
        Record.FullName = Panel->FullName();
        const QWidget* Owner = Panel->OwnerForm();
        if (Panel->DockStyle == dsFloatingSite) {
            // A docked tool window's place is its host's business.
            if (!Panel->HasOwnContent() || !Owner || IsDocked(Owner)) continue;
            Record.ToolWindow = true;
            Record.Placement = PlacementOf(Owner);
        } else {
            QMainWindow* Window = Panel->MainWindow();
            if (!Window || Panel->DockedControls().empty()) continue;
            const QRect R = Panel->ScreenRect();
            Record.Width = R.width();
            Record.Height = R.height();
            Record.Visible = Panel->IsShowing();
            std::vector<QDockWidget*> Docks;
            Record.Layout = LayoutOf(*Window, Panel->Area(), Docks);
            for (QDockWidget* Dock : Docks) {
                if (auto* Tabbed = qobject_cast<TVkTabbedDockSiteform*>(Dock))
                    Record.TabbedSites.emplace_back(NameOf(Tabbed), TabsOf(*Tabbed));
            }
        }
        Desktop.Panels.push_back(std::move(Record));
    }
    return Desktop;
}

void TVkDockingManager::SaveToStream(TVkByteWriter& Stream) { Stream.WriteBytes(WriteDesktop(CaptureDesktop())); }

void TVkDockingManager::LoadFromStream(TVkByteReader& Stream) {
    const TVkDesktop Desktop = ReadDesktop(Stream, [this](const std::string& Name) {
        const TVkDockPanel* Panel = DockSitePanels.FindPanel(Name);
        return Panel && Panel->DockStyle == dsSizingSite;
    });

    // Closed tool windows go only once the event loop gets back; until then their panels are still
    // listed, and must not take the records of the windows that replace them.
    std::vector<QPointer<QWidget>> Closed;
    for (int I = 0; I < DockSitePanels.Count(); ++I) {
        auto* Panel = qobject_cast<TVkDockPanel*>(DockSitePanels.Item(I));
        if (Panel && Panel->DockStyle == dsFloatingSite) Closed.emplace_back(Panel->OwnerForm());
    }
    CloseAll();
    auto FindLivePanel = [this, &Closed](const std::string& Name) {
        TVkDockPanel* Found = nullptr;
        for (int I = 0; I < DockSitePanels.Count(); ++I) {
            auto* Panel = qobject_cast<TVkDockPanel*>(DockSitePanels.Item(I));
            if (!Panel || Panel->FullName() != Name) continue;
            QWidget* Owner = Panel->OwnerForm();
            const bool Closing = Owner && Owner->isHidden() && std::find(Closed.begin(), Closed.end(), Owner) != Closed.end();
            if (!Closing) Found = Panel;
        }
        return Found;
    };

    DesktopName = Desktop.Name;
    for (const std::string& Name : Desktop.FreeWindows) {
        QWidget* Control = nullptr;
        DoReloadDockedControl(Name, Control);
    }
    for (const TVkDesktopSite& Record : Desktop.Sites) {
        TVkDockSiteForm* Site = DockSiteForms.FindByName(Record.Name);
        if (!Site) {
            Site = Record.Tabbed ? static_cast<TVkDockSiteForm*>(CreateTabbedSite()) : CreateConjoinSite();
            Site->setObjectName(QString::fromStdString(Record.Name));
        }
        Site->ReloadHandler = ReloadHandler;
        ApplyPlacement(Site, Record.Placement);
        if (auto* Tabbed = qobject_cast<TVkTabbedDockSiteform*>(Site); Tabbed && Record.Tabbed) {
            LoadTabs(*Tabbed, Record.Tabs);
        } else if (auto* Conjoined = qobject_cast<TVkConjoinDockSiteForm*>(Site); Conjoined && !Record.Tabbed) {
            RestoreConjoinedSite(*Conjoined, Record.Layout);
        }
    }
    for (const TVkDesktopPanel& Record : Desktop.Panels) {
        TVkDockPanel* Panel = FindLivePanel(Record.FullName);
        if (!Panel) continue;
        // The panel's windows are found by the manager's handler while its record is read.
        struct TRestoreHandler {
            TVkDockPanel* Panel;
            TVkReloadDockedControl Saved;
            ~TRestoreHandler() { Panel->OnReloadDockedControl = std::move(Saved); }
        } Restore{Panel, Panel->OnReloadDockedControl};
        Panel->OnReloadDockedControl = ReloadHandler;
        if (Record.ToolWindow) {
            if (QWidget* Owner = Panel->OwnerForm(); Owner && Panel->DockStyle == dsFloatingSite)
                ApplyPlacement(Owner, Record.Placement);
        } else if (Panel->DockStyle == dsSizingSite) {
            RestoreEdgePanel(*Panel, Record);
        }
    }
}

void WriteDesktopFile(const std::filesystem::path& FileName) {
    TVkByteWriter Stream;
    if (GDockingManager) GDockingManager->SaveToStream(Stream);
    WriteDesktopBytes(FileName, Stream.Bytes());
}

// ---- TVkDockingInterface ----

TVkDockingInterface::TVkDockingInterface(QWidget* Owner) : QObject(Owner), Owner(Owner) {
    Desktops.Scan(GUserFolder);
}

TVkDockingInterface::~TVkDockingInterface() {
    if (FDesktopMenu) FDesktopMenu->clear();
}

TVkReloadDockedControl TVkDockingInterface::GetOnReloadDockedControl() const {
    return GDockingManager ? GDockingManager->ReloadHandler : FOnReloadDockedControl;
}

void TVkDockingInterface::SetOnReloadDockedControl(TVkReloadDockedControl Handler) {
    FOnReloadDockedControl = std::move(Handler);
    if (GDockingManager) GDockingManager->ReloadHandler = FOnReloadDockedControl;
}

std::string TVkDockingInterface::DesktopName() const {
    const std::string Name = GDockingManager ? GDockingManager->DesktopName : std::string();
    return Name.empty() ? "<none>" : Name;
}

QMenu* TVkDockingInterface::GetDesktopMenu() const { return FDesktopMenu; }

void TVkDockingInterface::SetDesktopMenu(QMenu* Menu) {
    if (FDesktopMenu) FDesktopMenu->clear();
    FDesktopMenu = Menu;
    RebuildDesktopMenu();
}

std::filesystem::path TVkDockingInterface::DesktopFileName() {
    return std::filesystem::path(GUserFolder) / (GExeName + ".dsk");
}

void TVkDockingInterface::LoadDesktopFile(const std::filesystem::path& FileName) {
    std::error_code Error;
    if (!std::filesystem::exists(FileName, Error)) {
        if (OnChangeDesktop) OnChangeDesktop(this);
        return;
    }
    try {
        const std::string Bytes = ReadDesktopBytes(FileName);
        TVkByteReader Stream(Bytes);
        if (GDockingManager) {
            GDockingManager->ReloadHandler = FOnReloadDockedControl;
            GDockingManager->LoadFromStream(Stream);
        }
    } catch (const std::exception&) {
        // A desktop that cannot be read is of no further use: the next start goes without it.
        std::filesystem::remove(FileName, Error);
        return;
    }
    if (OnChangeDesktop) OnChangeDesktop(this);
}

void TVkDockingInterface::SaveAutomaticDesktop() { WriteDesktopFile(DesktopFileName()); }

void TVkDockingInterface::LoadAutomaticDesktop() { LoadDesktopFile(DesktopFileName()); }

void TVkDockingInterface::SaveDesktopAs(const std::string& Name) {
    const std::filesystem::path FileName = DesktopFileFor(Name);
    if (FileName.empty()) return;
    if (GDockingManager) GDockingManager->DesktopName = Name;
    WriteDesktopFile(FileName);
    Desktops.Add(KeepFileNameCharacters(Name), FileName);
}

void TVkDockingInterface::SwitchDesktop(const std::string& Name) {
    const int Index = Desktops.IndexOf(Name);
    if (Index < 0) return;
    ScheduledIndex = Index;
    if (LoaderPending) return;
    LoaderPending = true;
    QTimer::singleShot(0, this, [this] { LoadScheduledDesktop(); });
}

void TVkDockingInterface::LoadScheduledDesktop() {
    LoaderPending = false;
    const int Index = ScheduledIndex;
    ScheduledIndex = -1;
    if (Index >= 0 && Index < Desktops.Count()) LoadDesktopFile(Desktops.Item(Index).FileName);
}

void TVkDockingInterface::RebuildDesktopMenu() {
    if (!FDesktopMenu) return;
    FDesktopMenu->clear();
    for (int I = 0; I < Desktops.Count(); ++I) {
        QAction* Item = FDesktopMenu->addAction(QString::fromStdString(Desktops.Item(I).Name));
        Item->setData(I + 1);
        connect(Item, &QAction::triggered, this, [this, Item] {
            const int Tag = Item->data().toInt();
            if (Tag > 0 && Tag <= Desktops.Count()) SwitchDesktop(Desktops.Item(Tag - 1).Name);
        });
    }
    if (Desktops.Count() > 0) FDesktopMenu->addSeparator();
    QAction* Save = FDesktopMenu->addAction("Save Desktop...");
    connect(Save, &QAction::triggered, this, [this] {
        bool Confirmed = false;
        const QString Name = QInputDialog::getText(Owner, "Save Desktop", "Name:", QLineEdit::Normal, QString(), &Confirmed);
        if (Confirmed) SaveDesktopAs(Name.toStdString());
    });
}

void TVkDockingInterface::OwnerCreated() {
    if (!AutoLoadSave || AutoLoaded) return;
    LoadAutomaticDesktop();
    AutoLoaded = true;
}

void TVkDockingInterface::OwnerClosing() {
    if (AutoLoadSave) SaveAutomaticDesktop();
}

}  // namespace sarnova
