#include "controls/VkDockPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>

#include <algorithm>

#include "controls/VkDockPanelDrag.h"
#include "controls/VkDockPanelLayout.h"
#include "controls/VkDockPanelManager.h"
#include "controls/VkDockPanelSites.h"

namespace sarnova {

// ---- TVkDockForm ----

namespace {

// Where a new free tool window of Size goes: down the right-hand side of the host, then in columns
// further left, at the first place that covers no other free tool window; a cascade from the host's
// top left corner when the host is full.
QPoint FirstFreePlace(const QMainWindow& Host, const QWidget* Self, QSize Size) {
    const QList<TVkDockForm*> Others = Host.findChildren<TVkDockForm*>(Qt::FindDirectChildrenOnly);
    const auto Covers = [&](const QRect& Place) {
        return std::any_of(Others.begin(), Others.end(), [&](const TVkDockForm* Other) {
            return Other != Self && Other->isFloating() && Other->isVisible() &&
                   Other->frameGeometry().adjusted(-4, -4, 4, 4).intersects(Place);
        });
    };
    const QRect Area = Host.geometry();
    constexpr int Gap = 8;
    // Below the host's menu and tool bars.
    const int Top = Area.top() + 80;
    for (int Right = Area.right() - Gap; Right - Size.width() >= Area.left(); Right -= Size.width() + Gap) {
        for (int Y = Top; Y + Size.height() <= Area.bottom(); Y += 10) {
            const QRect Place(QPoint(Right - Size.width(), Y), Size);
            if (!Covers(Place)) return Place.topLeft();
        }
    }
    const QPoint Base = Area.topLeft() + QPoint(40, 80);
    for (int Step = 0; Step < 16; ++Step) {
        const QPoint Place = Base + QPoint(30, 30) * Step;
        if (!Covers(QRect(Place, QSize(20, 20)))) return Place;
    }
    return Base;
}

}  // namespace

TVkDockForm::TVkDockForm(QWidget* Parent) : QDockWidget(Parent ? Parent : HostMainWindow()) {
    // Only a close button: floating and docking go through the framework's drag.
    setFeatures(QDockWidget::DockWidgetClosable);
    // A tool window never keeps the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFloating(true);
    resize(UndockWidth, UndockHeight);
    PlaceFree();
}

void TVkDockForm::PlaceFree() {
    QMainWindow* Host = HostMainWindow();
    if (!Host) return;
    move(FirstFreePlace(*Host, this, frameGeometry().size().expandedTo(size())));
    AutoPlace = pos();
}

void TVkDockForm::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Escape && Event->modifiers() == Qt::NoModifier && isFloating() && !Site) {
        close();
        return;
    }
    QDockWidget::keyPressEvent(Event);
}

void TVkDockForm::showEvent(QShowEvent* Event) {
    QDockWidget::showEvent(Event);
    // The first showing knows the window's real size: a window still where it was put on creation
    // (no saved desktop or caller moved it) is placed again for that size.
    if (AutoPlace && *AutoPlace == pos() && isFloating() && !Site) PlaceFree();
    AutoPlace.reset();
}

TVkDockForm::~TVkDockForm() {
    // Leave the site before the children die, so that it never counts a half-destroyed window.
    if (Site) Site->RemoveClient(this);
}

TVkDockSiteForm* TVkDockForm::HostSite() const { return Site.data(); }

QRect TVkDockForm::TitleArea() const {
    if (const QWidget* Title = titleBarWidget()) return Title->isVisible() ? Title->geometry() : QRect();
    const int Bottom = widget() ? widget()->geometry().top() : 0;
    return Bottom > 0 ? QRect(0, 0, width(), Bottom) : QRect();
}

void TVkDockForm::DragStart(QPoint ScreenPoint, QPoint GrabOffset) {
    GrabOffset.setX(std::clamp(GrabOffset.x(), 0, std::max(0, UndockWidth - 1)));
    GrabOffset.setY(std::clamp(GrabOffset.y(), 0, std::max(0, UndockHeight - 1)));
    Drag = std::make_unique<TVkDockDrag>(this, GrabOffset);
    Drag->Move(ScreenPoint);
}

void TVkDockForm::DragMove(QPoint ScreenPoint) {
    if (Drag) Drag->Move(ScreenPoint);
}

void TVkDockForm::DragEnd(QPoint ScreenPoint, bool Cancelled) {
    const std::unique_ptr<TVkDockDrag> Ending = std::move(Drag);
    if (Ending && !Cancelled) Ending->Drop(ScreenPoint);
}

bool TVkDockForm::event(QEvent* Event) {
    switch (Event->type()) {
        case QEvent::MouseButtonPress: {
            auto* Mouse = static_cast<QMouseEvent*>(Event);
            if (Mouse->button() == Qt::LeftButton && TitleArea().contains(Mouse->position().toPoint())) {
                Pressed = true;
                PressPoint = Mouse->globalPosition().toPoint();
                return true;
            }
            break;
        }
        case QEvent::MouseMove: {
            if (!Pressed) break;
            const QPoint Point = static_cast<QMouseEvent*>(Event)->globalPosition().toPoint();
            if (!Drag && (Point - PressPoint).manhattanLength() >= QApplication::startDragDistance())
                DragStart(PressPoint, PressPoint - ScreenRectOf(this).topLeft());
            DragMove(Point);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* Mouse = static_cast<QMouseEvent*>(Event);
            if (!Pressed || Mouse->button() != Qt::LeftButton) break;
            Pressed = false;
            DragEnd(Mouse->globalPosition().toPoint());
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            auto* Mouse = static_cast<QMouseEvent*>(Event);
            if (!TitleArea().contains(Mouse->position().toPoint())) break;
            if (Site || !isFloating()) FloatForm(this, UndockRect(this, ScreenRectOf(this).topLeft()));
            return true;
        }
        default:
            break;
    }
    return QDockWidget::event(Event);
}

void TVkDockForm::resizeEvent(QResizeEvent* Event) {
    QDockWidget::resizeEvent(Event);
    if (isFloating() && !Site) {
        UndockWidth = width();
        UndockHeight = height();
    }
}

// ---- TVkDockPanel ----

namespace {

void RegisterPanel(TVkDockPanel* Panel) {
    if (GDockingManager) GDockingManager->DockSitePanels.Add(Panel);
}

bool IsForm(const QWidget* Widget) {
    return Widget->isWindow() || qobject_cast<const QDockWidget*>(Widget) || qobject_cast<const QMainWindow*>(Widget);
}

int UndockSize(const QWidget* W, bool Width) {
    if (auto* Form = qobject_cast<const TVkDockForm*>(W)) return Width ? Form->UndockWidth : Form->UndockHeight;
    return Width ? W->width() : W->height();
}

// The main window's part between its menu and its status bar, on screen.
QRect DockRegion(const QMainWindow& Window) {
    QRect Region(Window.mapToGlobal(QPoint(0, 0)), Window.size());
    if (const QWidget* Menu = Window.menuWidget(); Menu && Menu->isVisible()) Region.setTop(Region.top() + Menu->height());
    for (const QWidget* Child : Window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (Child->inherits("QStatusBar") && Child->isVisible()) Region.setBottom(Region.bottom() - Child->height());
    }
    return Region;
}

constexpr int CollapsedReach = 16;

}  // namespace

TVkDockPanel::TVkDockPanel(QWidget* Parent) : QWidget(Parent) {
    DockStyle = dsFloatingSite;
    RegisterPanel(this);
}

TVkDockPanel::TVkDockPanel(QMainWindow* MainWindow, Qt::DockWidgetArea Area) : QWidget(MainWindow), DockArea(Area) {
    DockStyle = dsSizingSite;
    // The dock area does the showing; this widget only stands for it.
    hide();
    RegisterPanel(this);
}

TVkDockPanel::~TVkDockPanel() {
    if (!GDockingManager) return;
    GDockingManager->DockSitePanels.Remove(this);
    // A closed tool window may leave a site with one window or none.
    GDockingManager->DockSiteForms.CloseEmptySites();
}

QWidget* TVkDockPanel::OwnerForm() const {
    for (QWidget* W = parentWidget(); W; W = W->parentWidget()) {
        if (IsForm(W)) return W;
    }
    return nullptr;
}

QMainWindow* TVkDockPanel::MainWindow() const {
    return DockStyle == dsSizingSite ? qobject_cast<QMainWindow*>(parentWidget()) : nullptr;
}

TVkAlign TVkDockPanel::Align() const {
    if (DockStyle == dsFloatingSite) return alClient;
    switch (DockArea) {
        case Qt::LeftDockWidgetArea:
            return alLeft;
        case Qt::RightDockWidgetArea:
            return alRight;
        case Qt::TopDockWidgetArea:
            return alTop;
        case Qt::BottomDockWidgetArea:
            return alBottom;
        default:
            return alNone;
    }
}

std::vector<QDockWidget*> TVkDockPanel::DockedControls() const {
    if (QMainWindow* Window = MainWindow()) return DockedInArea(*Window, DockArea);
    return {};
}

int TVkDockPanel::ControlCount() const {
    if (DockStyle == dsSizingSite) return static_cast<int>(DockedControls().size());
    return static_cast<int>(findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size());
}

bool TVkDockPanel::HasOwnContent() const { return ControlCount() > static_cast<int>(DockedControls().size()); }

bool TVkDockPanel::AcceptsCentreZone() const { return ControlCount() == 1 || HasOwnContent(); }

bool TVkDockPanel::IsShowing() const {
    if (!HasSplitter()) return false;
    const auto Docked = DockedControls();
    return std::any_of(Docked.begin(), Docked.end(), [](const QDockWidget* D) { return !D->isHidden(); });
}

std::string TVkDockPanel::FullName() const {
    const QWidget* Owner = OwnerForm();
    return (Owner ? Owner->objectName().toStdString() : std::string()) + "." + objectName().toStdString();
}

QRect TVkDockPanel::ScreenRect() const {
    QMainWindow* Window = MainWindow();
    if (!Window) return ScreenRectOf(this);
    QRect Shown;
    for (const QDockWidget* D : DockedControls()) {
        if (!D->isHidden()) Shown = Shown.united(ScreenRectOf(D));
    }
    if (!Shown.isEmpty()) return Shown;
    const QRect Region = DockRegion(*Window);
    switch (DockArea) {
        case Qt::LeftDockWidgetArea:
            return QRect(Region.topLeft(), QSize(0, Region.height()));
        case Qt::RightDockWidgetArea:
            return QRect(QPoint(Region.right() + 1, Region.top()), QSize(0, Region.height()));
        case Qt::TopDockWidgetArea:
            return QRect(Region.topLeft(), QSize(Region.width(), 0));
        default:
            return QRect(QPoint(Region.left(), Region.bottom() + 1), QSize(Region.width(), 0));
    }
}

QRect TVkDockPanel::InfluenceRect() const {
    const QRect R = ScreenRect();
    if (!HasSplitter() || IsShowing()) return R;
    switch (DockArea) {
        case Qt::LeftDockWidgetArea:
            return QRect(R.left(), R.top(), CollapsedReach, R.height());
        case Qt::RightDockWidgetArea:
            return QRect(R.left() - CollapsedReach, R.top(), CollapsedReach, R.height());
        case Qt::TopDockWidgetArea:
            return QRect(R.left(), R.top(), R.width(), CollapsedReach);
        default:
            return QRect(R.left(), R.top() - CollapsedReach, R.width(), CollapsedReach);
    }
}

bool TVkDockPanel::CanDockForm(QWidget* Source) const {
    int SourceGroup = 0;
    const TVkDockSource Kind = DockSourceOf(Source, &SourceGroup);
    return CanDockSource(Group, ControlCount(), Kind, SourceGroup);
}

TVkAlign TVkDockPanel::DockZoneAt(QPoint ScreenPoint, bool CentreAllowed, QRect& Preview) const {
    const QRect R = ScreenRect();
    TRect Local = FromQRect(Preview.translated(-R.topLeft()));
    const TVkAlign Zone = sarnova::DockZoneAt(R.width(), R.height(), {ScreenPoint.x() - R.x(), ScreenPoint.y() - R.y()},
                                              CentreAllowed, Local);
    if (Zone != alNone) Preview = ToQRect(Local).translated(R.topLeft());
    return Zone;
}

QRect TVkDockPanel::CollapsedDockRect(QWidget* Source, const QRect& LayerRect) const {
    const QRect R = ScreenRect();
    return ToQRect(sarnova::CollapsedDockRect(Align(), {R.x(), R.y()}, R.width(), R.height(), UndockSize(Source, true),
                                              UndockSize(Source, false), FromQRect(LayerRect)));
}

bool TVkDockPanel::DockOver(QWidget* Source, QPoint ScreenPoint, QRect& Preview) const {
    if (!CanDockForm(Source)) return false;
    Preview = ScreenRect();
    if (HasSplitter()) StandardDock(Source, ScreenPoint, &Preview, false);
    if (!IsShowing()) Preview = CollapsedDockRect(Source, Preview);
    const TVkDockSource Kind = DockSourceOf(Source);
    if (Kind == TVkDockSource::TabbedSite) {
        DockZoneAt(ScreenPoint, false, Preview);
    } else if (AcceptsCentreZone() && Kind == TVkDockSource::ToolWindow) {
        DockZoneAt(ScreenPoint, true, Preview);
    }
    return true;
}

bool TVkDockPanel::StandardDock(QWidget* Source, QPoint ScreenPoint, QRect* Preview, bool Apply) const {
    QMainWindow* Window = MainWindow();
    auto* Form = qobject_cast<TVkDockForm*>(Source);
    if (!Window || !Form) return false;
    // Along the area: left and right panels stack their windows, the bottom one lines them up.
    const TVkAlign Along = (DockArea == Qt::BottomDockWidgetArea || DockArea == Qt::TopDockWidgetArea) ? alRight : alBottom;
    QDockWidget* Target = nullptr;
    TVkAlign Zone = Along;
    std::vector<QDockWidget*> Others;
    for (QDockWidget* D : DockedControls()) {
        if (D != Source) Others.push_back(D);
    }
    if (QDockWidget* Under = DockedAt(Others, ScreenPoint)) {
        const QRect R = ScreenRectOf(Under);
        TRect Local;
        Zone = sarnova::DockZoneAt(R.width(), R.height(), {ScreenPoint.x() - R.x(), ScreenPoint.y() - R.y()}, false, Local);
        if (Zone != alNone) {
            Target = Under;
            if (Preview) *Preview = ToQRect(Local).translated(R.topLeft());
        } else {
            Zone = Along;
        }
    }
    if (Apply) {
        DetachForm(Form);
        DockBeside(*Window, DockArea, Target, Form, Zone);
    }
    return true;
}

void TVkDockPanel::DockDrop(QWidget* Source, QPoint ScreenPoint) {
    if (!CanDockForm(Source)) return;
    const bool WasShowing = IsShowing();
    const TVkDockSource Kind = DockSourceOf(Source);
    auto* Form = qobject_cast<TVkDockForm*>(Source);
    if (HasOwnContent()) {
        DropOnToolWindow(Source, ScreenPoint);
    } else if (QMainWindow* Window = MainWindow(); Window && Form) {
        const auto Docked = DockedControls();
        const bool AlreadyHere = std::find(Docked.begin(), Docked.end(), Source) != Docked.end();
        QRect Preview;
        if (AlreadyHere && (Docked.size() == 1 || DockedAt(Docked, ScreenPoint) == Source)) return;
        if (Docked.size() == 1 && ControlCount() == 1 && Kind != TVkDockSource::TabbedSite) {
            const TVkAlign Zone = DockZoneAt(ScreenPoint, true, Preview);
            if (Zone == alClient) {
                DropCentreOnSingle(Docked.front(), Source);
            } else if (Zone != alNone) {
                DetachForm(Form);
                DockBeside(*Window, DockArea, Docked.front(), Form, Zone);
            } else {
                StandardDock(Source, ScreenPoint, nullptr, true);
            }
        } else if (Kind == TVkDockSource::ConjoinedSite) {
            auto* Site = static_cast<TVkDockSiteForm*>(Form);
            AbsorbConjoinedSite(Site);
            Site->hide();
            Site->deleteLater();
        } else if (Kind == TVkDockSource::TabbedSite) {
            // Where the preview showed: a side of the whole panel, or the layer's place.
            const TVkAlign Zone = DockZoneAt(ScreenPoint, false, Preview);
            if (Zone != alNone) {
                DetachForm(Form);
                DockBeside(*Window, DockArea, nullptr, Form, Zone);
            } else {
                StandardDock(Source, ScreenPoint, nullptr, true);
            }
        } else {
            StandardDock(Source, ScreenPoint, nullptr, true);
        }
    }
    if (Kind == TVkDockSource::ToolWindow) FirstDockPanel(Source)->SetDockSite(false);
    if (HasSplitter() && !WasShowing) Expand(Source);
}

void TVkDockPanel::DropOnToolWindow(QWidget* Source, QPoint ScreenPoint) {
    auto* Target = qobject_cast<TVkDockForm*>(OwnerForm());
    auto* Form = qobject_cast<TVkDockForm*>(Source);
    const TVkDockSource Kind = DockSourceOf(Source);
    if (!Target || !Form || Target == Form) return;
    if (Kind != TVkDockSource::ToolWindow && Kind != TVkDockSource::TabbedSite) return;
    QRect Preview;
    const TVkAlign Zone = DockZoneAt(ScreenPoint, Kind != TVkDockSource::TabbedSite, Preview);
    if (Zone == alNone) return;
    auto* Window = qobject_cast<QMainWindow*>(Target->parentWidget());
    if (Window && !Target->HostSite() && !Target->isFloating()) {
        // The target sits in an edge panel: a side docks beside it there, the centre puts both on
        // tabs in its place.
        if (Zone == alClient) {
            TVkTabbedDockSiteform* Site = GDockingManager->CreateTabbedSite();
            DetachForm(Form);
            ReplaceDocked(*Window, Target, Site);
            Site->DockClient(Target);
            Site->DockClient(Form);
        } else {
            DetachForm(Form);
            DockBeside(*Window, Window->dockWidgetArea(Target), Target, Form, Zone);
        }
        return;
    }
    const QRect Bounds = Target->geometry();
    if (Zone == alClient) {
        TVkTabbedDockSiteform* Site = GDockingManager->CreateTabbedSite();
        Site->setGeometry(Bounds);
        Site->DockClient(Target);
        Site->DockClient(Form);
        Site->show();
    } else {
        TVkConjoinDockSiteForm* Site = GDockingManager->CreateConjoinSite();
        Site->setGeometry(Bounds);
        SetDockSite(false);
        Site->DockClient(Target, nullptr, alNone);
        Site->DockClient(Form, Target, Zone);
        Site->show();
    }
}

void TVkDockPanel::DropCentreOnSingle(QDockWidget* Docked, QWidget* Source) {
    QMainWindow* Window = MainWindow();
    auto* D = qobject_cast<TVkDockForm*>(Docked);
    auto* S = qobject_cast<TVkDockForm*>(Source);
    if (!Window || !D || !S) return;
    const QSize Size = ScreenRect().size();
    TVkTabbedDockSiteform* Site = GDockingManager->CreateTabbedSite();
    Site->resize(Size);
    DetachForm(S);
    ReplaceDocked(*Window, D, Site);
    Site->DockClient(D);
    Site->DockClient(S);
    Window->resizeDocks({Site}, {Size.width()}, Qt::Horizontal);
    Window->resizeDocks({Site}, {Size.height()}, Qt::Vertical);
}

void TVkDockPanel::Expand(QWidget* W) {
    QMainWindow* Window = MainWindow();
    if (!Window || !W) return;
    std::vector<QDockWidget*> Shown;
    for (QDockWidget* D : DockedControls()) {
        if (!D->isHidden()) Shown.push_back(D);
    }
    if (Shown.empty()) return;
    auto* Dock = qobject_cast<QDockWidget*>(W);
    if (!Dock || std::find(Shown.begin(), Shown.end(), Dock) == Shown.end()) Dock = Shown.front();
    const bool Across = DockArea == Qt::LeftDockWidgetArea || DockArea == Qt::RightDockWidgetArea;
    const int Size = std::max(20, UndockSize(W, Across));
    Window->resizeDocks({Dock}, {Size}, Across ? Qt::Horizontal : Qt::Vertical);
}

void TVkDockPanel::AbsorbConjoinedSite(TVkDockSiteForm* Site) {
    auto* Conjoined = qobject_cast<TVkConjoinDockSiteForm*>(Site);
    QMainWindow* Window = MainWindow();
    if (!Conjoined || !Window) return;
    std::vector<QDockWidget*> Leaves;
    const TVkDockLayoutNode Tree = AreaLayout(*Conjoined->DockLayout(), Qt::LeftDockWidgetArea, Leaves);
    const std::vector<TVkDockForm*> Forms = Conjoined->DockedForms();
    for (TVkDockForm* Form : Forms) Conjoined->RemoveClient(Form);
    if (!Leaves.empty()) ArrangeInArea(*Window, DockArea, Tree, Leaves);
    for (TVkDockForm* Form : Forms) {
        if (std::find(Leaves.begin(), Leaves.end(), Form) == Leaves.end()) Window->addDockWidget(DockArea, Form);
    }
}

QWidget* TVkDockPanel::ReloadDockedControl(const std::string& Name) {
    QWidget* Control = nullptr;
    if (Name.find("TVkTabbedDockSiteform") != std::string::npos) {
        TVkDockSiteForm* Site = GDockingManager->DockSiteForms.FindByName(Name);
        if (!Site) {
            Site = GDockingManager->CreateTabbedSite();
            Site->setObjectName(QString::fromStdString(Name));
        }
        Site->show();
        Site->ReloadHandler = OnReloadDockedControl;
        Control = Site;
    } else {
        DoReloadDockedControl(Name, Control);
        if (!Control) {
            if (QMainWindow* Host = HostMainWindow())
                Control = Host->findChild<QDockWidget*>(QString::fromStdString(Name));
        }
    }
    if (Control) Control->show();
    return Control;
}

void TVkDockPanel::DoReloadDockedControl(const std::string& Name, QWidget*& Control) {
    if (OnReloadDockedControl) OnReloadDockedControl(this, Name, Control);
}

// ---- Tool windows ----

TVkDockPanel* FirstDockPanel(const QWidget* Form) {
    if (!Form) return nullptr;
    for (QObject* Child : Form->children()) {
        if (auto* Panel = qobject_cast<TVkDockPanel*>(Child)) return Panel;
    }
    return nullptr;
}

bool ContainsDockPanel(const QWidget* Form) { return FirstDockPanel(Form) != nullptr; }

TVkDockSource DockSourceOf(const QWidget* Source, int* Group) {
    int SourceGroup = 0;
    TVkDockSource Kind = TVkDockSource::Other;
    if (auto* Conjoined = qobject_cast<const TVkConjoinDockSiteForm*>(Source)) {
        Kind = TVkDockSource::ConjoinedSite;
        SourceGroup = Conjoined->Group;
    } else if (auto* Tabbed = qobject_cast<const TVkTabbedDockSiteform*>(Source)) {
        Kind = TVkDockSource::TabbedSite;
        SourceGroup = Tabbed->Group;
    } else if (qobject_cast<const TVkDockForm*>(Source) && ContainsDockPanel(Source)) {
        Kind = TVkDockSource::ToolWindow;
        SourceGroup = FirstDockPanel(Source)->Group;
    }
    if (Group) *Group = SourceGroup;
    return Kind;
}

void ShowToolWindow(QWidget* Form) {
    if (!ContainsDockPanel(Form)) return;
    Form->show();
    if (auto* Dock = qobject_cast<TVkDockForm*>(Form)) {
        if (auto* Tabbed = qobject_cast<TVkTabbedDockSiteform*>(Dock->HostSite())) Tabbed->PageControl->ShowPageOf(Dock);
    }
}

// ---- TVkDockSiteList ----

void TVkDockSiteList::Remove(QWidget* Item) { Items.erase(std::remove(Items.begin(), Items.end(), Item), Items.end()); }

TVkDockSiteForm* TVkDockSiteList::FindByName(const std::string& Name) const {
    const QString Wanted = QString::fromStdString(Name);
    for (QWidget* Item : Items) {
        auto* Site = qobject_cast<TVkDockSiteForm*>(Item);
        if (Site && Site->objectName() == Wanted) return Site;
    }
    return nullptr;
}

std::string TVkDockSiteList::UniqueName(const std::string& Name) const {
    return UniqueSiteName(Name, [this](const std::string& Candidate) {
        const QString Text = QString::fromStdString(Candidate);
        return std::any_of(Items.begin(), Items.end(), [&](const QWidget* Item) {
            return qobject_cast<const TVkDockSiteForm*>(Item) &&
                   Item->objectName().compare(Text, Qt::CaseInsensitive) == 0;
        });
    });
}

TVkDockPanel* TVkDockSiteList::FindPanel(const std::string& Name) const {
    for (QWidget* Item : Items) {
        auto* Panel = qobject_cast<TVkDockPanel*>(Item);
        if (Panel && Panel->FullName() == Name) return Panel;
    }
    return nullptr;
}

bool TVkDockSiteList::IsToolWindow(const QWidget* Control) const {
    return Control && std::any_of(Items.begin(), Items.end(), [Control](const QWidget* Item) {
               auto* Panel = qobject_cast<const TVkDockPanel*>(Item);
               return Panel && Panel->OwnerForm() == Control;
           });
}

void TVkDockSiteList::CloseEmptySites() {
    const std::vector<QWidget*> Sites = Items;
    for (QWidget* Item : Sites) {
        if (auto* Site = qobject_cast<TVkDockSiteForm*>(Item)) Site->CloseIfEmpty();
    }
}

// ---- Main window ----

TVkMainDockPanels InstallMainDockPanels(QMainWindow& MainWindow) {
    MainWindow.setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    TVkMainDockPanels Panels;
    Panels.Left = new TVkDockPanel(&MainWindow, Qt::LeftDockWidgetArea);
    Panels.Left->setObjectName("VkDockPanel1");
    Panels.Right = new TVkDockPanel(&MainWindow, Qt::RightDockWidgetArea);
    Panels.Right->setObjectName("VkDockPanel2");
    Panels.Bottom = new TVkDockPanel(&MainWindow, Qt::BottomDockWidgetArea);
    Panels.Bottom->setObjectName("VkDockPanel3");
    if (GDockingManager) GDockingManager->MainWindow = &MainWindow;
    return Panels;
}

}  // namespace sarnova
