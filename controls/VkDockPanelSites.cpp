#include "controls/VkDockPanelSites.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

#include "controls/VkDockPanelLayout.h"
#include "controls/VkDockPanelManager.h"

namespace sarnova {

namespace {

// A form leaving a site goes back to the host, so that freeing the site does not take it along.
void ReturnToHost(TVkDockForm* Form) { Form->setParent(HostMainWindow()); }

void SetPanelDockSite(TVkDockForm* Form, bool Value) {
    if (TVkDockPanel* Panel = FirstDockPanel(Form)) Panel->SetDockSite(Value);
}

}  // namespace

// ---- TVkDockSiteForm ----

TVkDockSiteForm::TVkDockSiteForm(QWidget* Parent) : TVkDockForm(Parent) {}

TVkDockSiteForm::~TVkDockSiteForm() {
    if (GDockingManager) GDockingManager->DockSiteForms.Remove(this);
    for (const QPointer<TVkDockForm>& Member : Members) {
        if (!Member) continue;
        Member->removeEventFilter(this);
        Member->Site = nullptr;
    }
}

void TVkDockSiteForm::DoReloadDockedControl(const std::string& Name, QWidget*& Control) {
    if (ReloadHandler) ReloadHandler(this, Name, Control);
}

void TVkDockSiteForm::CloseIfEmpty() {
    if (VisibleDockedCount() <= 1) PostCloseRequest();
}

int TVkDockSiteForm::VisibleDockedCount() const {
    const auto Forms = DockedForms();
    return static_cast<int>(std::count_if(Forms.begin(), Forms.end(), [](const TVkDockForm* F) { return !F->isHidden(); }));
}

void TVkDockSiteForm::UpdateGroup() {
    Group = 0;
    for (const TVkDockForm* Form : DockedForms()) {
        // Docked tool windows are forms, not panels: only a docked site can give a group.
        auto* Site = qobject_cast<const TVkDockSiteForm*>(Form);
        if (Site && Site->Group != 0) {
            Group = Site->Group;
            return;
        }
    }
}

void TVkDockSiteForm::UpdateCaption(TVkDockForm* LeaveOut) {
    std::vector<std::string> Captions;
    for (const TVkDockForm* Form : DockedForms()) {
        if (Form != LeaveOut && !Form->isHidden()) Captions.push_back(Form->windowTitle().toStdString());
    }
    setWindowTitle(QString::fromStdString(JoinCaptions(Captions)));
}

void TVkDockSiteForm::PostCloseRequest() {
    QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
}

QWidget* TVkDockSiteForm::ResolveDockedControl(const std::string& Name) {
    QWidget* Control = nullptr;
    DoReloadDockedControl(Name, Control);
    if (!Control) {
        if (QMainWindow* Host = HostMainWindow()) Control = Host->findChild<QDockWidget*>(QString::fromStdString(Name));
    }
    if (Control) Control->show();
    return Control;
}

bool TVkDockSiteForm::AcceptsToolWindow(const QWidget* Source) const {
    int SourceGroup = 0;
    return DockSourceOf(Source, &SourceGroup) == TVkDockSource::ToolWindow && GroupsCompatible(Group, SourceGroup);
}

void TVkDockSiteForm::Adopt(TVkDockForm* Form) {
    Form->Site = this;
    Members.emplace_back(Form);
    Form->installEventFilter(this);
}

void TVkDockSiteForm::Release(TVkDockForm* Form) {
    Form->removeEventFilter(this);
    Form->Site = nullptr;
    Members.erase(std::remove_if(Members.begin(), Members.end(),
                                 [Form](const QPointer<TVkDockForm>& M) { return M.isNull() || M == Form; }),
                  Members.end());
}

bool TVkDockSiteForm::event(QEvent* Event) {
    // Showing or hiding the site shows or hides every docked window with it.
    if (Event->type() == QEvent::ShowToParent || Event->type() == QEvent::HideToParent) {
        const bool Show = Event->type() == QEvent::ShowToParent;
        Cascading = true;
        for (const QPointer<TVkDockForm>& Member : std::vector(Members)) {
            if (Member && Member->isHidden() == Show) Member->setVisible(Show);
        }
        Cascading = false;
    }
    return TVkDockForm::event(Event);
}

bool TVkDockSiteForm::eventFilter(QObject* Watched, QEvent* Event) {
    auto* Form = qobject_cast<TVkDockForm*>(Watched);
    if (!Form || Form->HostSite() != this) return false;
    switch (Event->type()) {
        case QEvent::ShowToParent:
            ClientVisibilityChanged(Form, true);
            break;
        case QEvent::HideToParent:
            ClientVisibilityChanged(Form, false);
            break;
        case QEvent::WindowTitleChange:
            ClientVisibilityChanged(Form, !Form->isHidden());
            break;
        default:
            break;
    }
    return false;
}

void TVkDockSiteForm::ClientVisibilityChanged(TVkDockForm* Form, bool Visible) {
    if (Cascading) return;
    if (Visible && isHidden()) show();
    UpdateCaption();
}

void TVkDockSiteForm::closeEvent(QCloseEvent* Event) {
    Event->accept();
    const std::vector<TVkDockForm*> Forms = DockedForms();
    if (Forms.size() != 1) return;
    TVkDockForm* Last = Forms.front();
    if (auto* Conjoined = qobject_cast<TVkConjoinDockSiteForm*>(HostSite())) {
        RemoveClient(Last);
        Conjoined->ReplaceClient(this, Last);
    } else if (auto* Window = qobject_cast<QMainWindow*>(parentWidget()); Window && !isFloating()) {
        RemoveClient(Last);
        ReplaceDocked(*Window, this, Last);
        SetPanelDockSite(Last, false);
    } else {
        const QRect Place = UndockRect(Last, ScreenRectOf(Last).topLeft());
        RemoveClient(Last);
        FloatForm(Last, Place);
    }
    deleteLater();
}

// ---- TVkConjoinDockSiteForm ----

TVkConjoinDockSiteForm::TVkConjoinDockSiteForm(QWidget* Parent) : TVkDockSiteForm(Parent) {
    Layout = new QMainWindow(this);
    Layout->setWindowFlags(Qt::Widget);  // QMainWindow makes itself a window whatever it is given
    Layout->setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    setWidget(Layout);
}

std::vector<TVkDockForm*> TVkConjoinDockSiteForm::DockedForms() const {
    std::vector<TVkDockForm*> Forms;
    for (const QPointer<TVkDockForm>& Member : Members) {
        if (Member) Forms.push_back(Member);
    }
    return Forms;
}

void TVkConjoinDockSiteForm::DockClient(TVkDockForm* Form, TVkDockForm* Target, TVkAlign Align) {
    if (Form->HostSite() == this) {
        RemoveClient(Form);  // rearranged within the site: it never left
    } else {
        DetachForm(Form);
    }
    if (Target == Form) Target = nullptr;
    DockBeside(*Layout, Qt::LeftDockWidgetArea, Target, Form, Align == alNone ? alBottom : Align);
    Adopt(Form);
    SetPanelDockSite(Form, false);
    UpdateCaption();
    UpdateGroup();
}

void TVkConjoinDockSiteForm::FloatClient(TVkDockForm* W) {
    if (W->HostSite() != this) return;
    FloatForm(W, UndockRect(W, ScreenRectOf(W).topLeft()));
}

QRect TVkConjoinDockSiteForm::DropRect() const { return ScreenRectOf(Layout); }

TVkAlign TVkConjoinDockSiteForm::PlaceAt(QPoint ScreenPoint, TVkDockForm* Moving, TVkDockForm*& Target,
                                         QRect& Preview) const {
    std::vector<QDockWidget*> Others;
    for (const QPointer<TVkDockForm>& Member : Members) {
        if (Member && Member != Moving) Others.push_back(Member);
    }
    Target = nullptr;
    QRect R = DropRect();
    if (QDockWidget* Under = DockedAt(Others, ScreenPoint)) {
        R = ScreenRectOf(Under);
        Target = qobject_cast<TVkDockForm*>(Under);
    }
    TRect Local;
    const TVkAlign Zone = sarnova::DockZoneAt(R.width(), R.height(), {ScreenPoint.x() - R.x(), ScreenPoint.y() - R.y()},
                                              false, Local);
    if (Zone == alNone) {
        Target = nullptr;
        Preview = DropRect();
        return alBottom;
    }
    Preview = ToQRect(Local).translated(R.topLeft());
    return Zone;
}

bool TVkConjoinDockSiteForm::DockOver(QWidget* Source, QPoint ScreenPoint, QRect& Preview) const {
    if (!AcceptsToolWindow(Source)) return false;
    TVkDockForm* Target = nullptr;
    PlaceAt(ScreenPoint, qobject_cast<TVkDockForm*>(Source), Target, Preview);
    return true;
}

void TVkConjoinDockSiteForm::DockDrop(QWidget* Source, QPoint ScreenPoint) {
    QRect Preview;
    if (!DockOver(Source, ScreenPoint, Preview)) return;
    auto* Form = qobject_cast<TVkDockForm*>(Source);
    TVkDockForm* Target = nullptr;
    const TVkAlign Zone = PlaceAt(ScreenPoint, Form, Target, Preview);
    DockClient(Form, Target, Zone);
}

void TVkConjoinDockSiteForm::RemoveClient(TVkDockForm* Form) {
    Release(Form);
    Layout->removeDockWidget(Form);
    ReturnToHost(Form);
}

void TVkConjoinDockSiteForm::ClientLeft(TVkDockForm* Form) {
    SetPanelDockSite(Form, true);
    if (VisibleDockedCount() == 1) {
        PostCloseRequest();
        return;
    }
    UpdateCaption(Form);
    UpdateGroup();
}

void TVkConjoinDockSiteForm::ReplaceClient(TVkDockForm* Old, TVkDockForm* New) {
    const auto Place = std::find(Members.begin(), Members.end(), Old);
    const long Index = Place - Members.begin();
    ReplaceDocked(*Layout, Old, New);
    Release(Old);
    ReturnToHost(Old);
    Adopt(New);
    if (Index < static_cast<long>(Members.size()) - 1)
        std::rotate(Members.begin() + Index, Members.end() - 1, Members.end());
    SetPanelDockSite(New, false);
    UpdateCaption();
    UpdateGroup();
}

// ---- TVkDockPageControl ----

TVkDockPageControl::TVkDockPageControl(TVkTabbedDockSiteform* Site) : QTabWidget(Site), Site(Site) {
    setObjectName("PageControl1");
    tabBar()->installEventFilter(this);
    TabMenu = new QMenu(this);
    auto* Positions = new QActionGroup(TabMenu);
    const char* Names[] = {"Top", "Bottom", "Left", "Right"};
    // Tags 0 to 3 are Qt's North, South, West and East.
    for (int Tag = 0; Tag < 4; ++Tag) {
        QAction* Item = TabMenu->addAction(Names[Tag]);
        Item->setCheckable(true);
        Item->setData(Tag);
        Positions->addAction(Item);
        connect(Item, &QAction::triggered, this, [this, Tag] { setTabPosition(static_cast<TabPosition>(Tag)); });
    }
    connect(TabMenu, &QMenu::aboutToShow, this, [this] {
        for (QAction* Item : TabMenu->actions()) Item->setChecked(Item->data().toInt() == static_cast<int>(tabPosition()));
    });
}

std::vector<TVkDockForm*> TVkDockPageControl::DockedForms() const {
    std::vector<TVkDockForm*> Forms;
    for (int I = 0; I < count(); ++I) {
        if (auto* Form = widget(I)->findChild<TVkDockForm*>(QString(), Qt::FindDirectChildrenOnly)) Forms.push_back(Form);
    }
    return Forms;
}

int TVkDockPageControl::PageOf(const TVkDockForm* Form) const {
    for (int I = 0; I < count(); ++I) {
        if (Form->parentWidget() == widget(I)) return I;
    }
    return -1;
}

void TVkDockPageControl::DockForm(TVkDockForm* Form) {
    auto* Page = new QWidget;
    auto* Fill = new QVBoxLayout(Page);
    Fill->setContentsMargins(0, 0, 0, 0);
    Fill->addWidget(Form);
    // The tab names the window: its own title bar would only repeat it. The empty bar has an empty
    // layout, so that its size hint is 0 high rather than undefined (-1), which would make the window's
    // minimum height negative.
    auto* NoTitle = new QWidget(Form);
    new QVBoxLayout(NoTitle);
    NoTitle->layout()->setContentsMargins(0, 0, 0, 0);
    Form->setTitleBarWidget(NoTitle);
    addTab(Page, Form->windowTitle());
    Form->show();
}

void TVkDockPageControl::RemoveForm(TVkDockForm* Form) {
    const int Index = PageOf(Form);
    if (Index < 0) return;
    QWidget* Page = widget(Index);
    Form->hide();
    ReturnToHost(Form);
    QWidget* Title = Form->titleBarWidget();
    Form->setTitleBarWidget(nullptr);
    delete Title;
    removeTab(Index);
    delete Page;
}

void TVkDockPageControl::ShowPageOf(const TVkDockForm* Form) {
    if (const int Index = PageOf(Form); Index >= 0) setCurrentIndex(Index);
}

void TVkDockPageControl::SetTabVisibleFor(const TVkDockForm* Form, bool Visible) {
    if (const int Index = PageOf(Form); Index >= 0) {
        setTabVisible(Index, Visible);
        setTabText(Index, Form->windowTitle());
    }
}

bool TVkDockPageControl::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched != tabBar()) return false;
    switch (Event->type()) {
        case QEvent::MouseButtonPress: {
            auto* Mouse = static_cast<QMouseEvent*>(Event);
            if (Mouse->button() == Qt::LeftButton) {
                PressedTab = tabBar()->tabAt(Mouse->position().toPoint());
                PressPoint = Mouse->globalPosition().toPoint();
            }
            return false;
        }
        case QEvent::MouseMove: {
            auto* Mouse = static_cast<QMouseEvent*>(Event);
            if (PressedTab < 0 || !(Mouse->buttons() & Qt::LeftButton)) return false;
            const QPoint Point = Mouse->globalPosition().toPoint();
            if (!Dragged && (Point - PressPoint).manhattanLength() >= QApplication::startDragDistance()) {
                const auto Forms = DockedForms();
                if (PressedTab < static_cast<int>(Forms.size())) {
                    Dragged = Forms[static_cast<size_t>(PressedTab)];
                    const QPoint TabCorner = tabBar()->mapToGlobal(tabBar()->tabRect(PressedTab).topLeft());
                    Dragged->DragStart(PressPoint, PressPoint - TabCorner);
                }
            }
            if (!Dragged) return false;
            Dragged->DragMove(Point);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            PressedTab = -1;
            if (!Dragged) return false;
            TVkDockForm* Ending = Dragged;
            Dragged = nullptr;
            Ending->DragEnd(static_cast<QMouseEvent*>(Event)->globalPosition().toPoint());
            return true;
        }
        default:
            return false;
    }
}

void TVkDockPageControl::contextMenuEvent(QContextMenuEvent* Event) { TabMenu->exec(Event->globalPos()); }

// ---- TVkTabbedDockSiteform ----

TVkTabbedDockSiteform::TVkTabbedDockSiteform(QWidget* Parent) : TVkDockSiteForm(Parent) {
    PageControl = new TVkDockPageControl(this);
    setWidget(PageControl);
}

std::vector<TVkDockForm*> TVkTabbedDockSiteform::DockedForms() const { return PageControl->DockedForms(); }

void TVkTabbedDockSiteform::DockByName(const std::string& Name) {
    if (auto* Form = qobject_cast<TVkDockForm*>(ResolveDockedControl(Name))) DockClient(Form);
}

void TVkTabbedDockSiteform::DockClient(TVkDockForm* Form) {
    if (Form->HostSite() == this || Form == this) return;
    DetachForm(Form);
    PageControl->DockForm(Form);
    Adopt(Form);
    SetPanelDockSite(Form, false);
    UpdateCaption();
    UpdateGroup();
}

QRect TVkTabbedDockSiteform::DropRect() const { return ScreenRectOf(PageControl); }

bool TVkTabbedDockSiteform::DockOver(QWidget* Source, QPoint ScreenPoint, QRect& Preview) const {
    if (!AcceptsToolWindow(Source)) return false;
    if (static_cast<TVkDockForm*>(const_cast<QWidget*>(Source))->HostSite() == this) return false;
    Preview = DropRect();
    return true;
}

void TVkTabbedDockSiteform::DockDrop(QWidget* Source, QPoint ScreenPoint) {
    QRect Preview;
    if (DockOver(Source, ScreenPoint, Preview)) DockClient(static_cast<TVkDockForm*>(Source));
}

void TVkTabbedDockSiteform::RemoveClient(TVkDockForm* Form) {
    Release(Form);
    PageControl->RemoveForm(Form);
}

void TVkTabbedDockSiteform::ClientLeft(TVkDockForm* Form) {
    SetPanelDockSite(Form, true);
    if (PageControl->DockedForms().size() == 1) PostCloseRequest();
    UpdateCaption(Form);
    UpdateGroup();
}

void TVkTabbedDockSiteform::ClientVisibilityChanged(TVkDockForm* Form, bool Visible) {
    PageControl->SetTabVisibleFor(Form, Visible);
    TVkDockSiteForm::ClientVisibilityChanged(Form, Visible);
}

}  // namespace sarnova
