#include "shell/MainUnit.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShowEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <filesystem>

#include "document/Geometry.h"
#include "document/Fileman.h"
#include "document/GeometryList.h"
#include "document/Settings.h"
#include "foundation/Console.h"
#include "shell/HydrostaticsFloatForm.h"
#include "shell/PermeabilityForm.h"
#include "platform/qt/QtUserDialogs.h"
#include "shell/AboutBox.h"
#include "shell/CalculatorFloat.h"
#include "shell/ConsoleFloat.h"
#include "shell/EntityFloat.h"
#include "shell/ErrorsFloat.h"
#include "controls/FormSave.h"
#include "shell/GeometryServer.h"
#include "shell/GroupsFloat.h"
#include "shell/HelpFloat.h"
#include "shell/HierarchyFloat.h"
#include "shell/OpeningsFloat.h"
#include "platform/qt/QtMenus.h"
#include "shell/SelectionFloat.h"
#include "shell/SplashUnit.h"
#include "controls/ToolIcons.h"
#include "controls/VkDockPanelDesktop.h"
#include "controls/VkDockPanelManager.h"
#include "controls/VkPaintFormClient.h"

namespace sarnova {

TDocumentWindowFactory GDocumentWindowFactory;
TMainForm* GMainForm = nullptr;

namespace {

// What a window manager's frame (title bar and borders) may add to a window's size.
const QSize FrameAllowance(16, 48);

// The tool windows by their saved names, in the order the names are tried, with the operation that
// gets or makes each. A tool window that the program does not have yet has none: its name yields no
// window and its action stays disabled.
struct TToolWindowEntry {
    const char* Name;
    QWidget* (*GetOrCreate)();
};

const TToolWindowEntry ToolWindows[] = {
    {"SelectionForm", []() -> QWidget* { return GetSelectionForm(); }},
    {"ConsoleForm", []() -> QWidget* { return GetConsoleForm(); }},
    {"EntityForm", []() -> QWidget* { return GetEntityForm(); }},
    {"OpeningsForm", []() -> QWidget* { return GetOpeningsForm(); }},
    {"GroupsForm", []() -> QWidget* { return GetGroupsForm(); }},
    {"HierarchyForm", []() -> QWidget* { return GetHierarchyForm(); }},
    {"ErrorsForm", []() -> QWidget* { return GetErrorsForm(); }},
    {"HydrostaticsFloatForm", []() -> QWidget* { return GetHydrostaticsFloatForm(); }},
    {"HelpForm", []() -> QWidget* { return GetHelpForm(); }},
    {"PermeabilityForm", []() -> QWidget* { return GetPermeabilityForm(); }},
    {"CalculatorForm", []() -> QWidget* { return GetCalculatorForm(); }},
};

const TToolWindowEntry* FindToolWindow(const std::string& Name) {
    for (const TToolWindowEntry& Entry : ToolWindows)
        if (Name == Entry.Name) return &Entry;
    return nullptr;
}

bool ToolWindowAvailable(const char* Name) {
    const TToolWindowEntry* Entry = FindToolWindow(Name);
    return Entry && Entry->GetOrCreate;
}

void ShowToolWindowNamed(const char* Name) {
    const TToolWindowEntry* Entry = FindToolWindow(Name);
    if (Entry && Entry->GetOrCreate) ShowToolWindow(Entry->GetOrCreate());
}

}  // namespace

TMainForm::TMainForm(QWidget* Parent) : QMainWindow(Parent) {
    setObjectName("MainForm");
    setWindowTitle("Sarnova 8.0");
    // The first start: 1024 x 768, or less on a screen that has no room for that and the window's
    // frame, so that the status bar is on the screen too.
    QSize Size(1024, 768);
    if (const QScreen* Screen = QGuiApplication::primaryScreen()) {
        const QRect Free = Screen->availableGeometry();
        Size = Size.boundedTo(Free.size() - FrameAllowance);
        move(Free.topLeft() + QPoint((Free.width() - Size.width() - FrameAllowance.width()) / 2,
                                     (Free.height() - Size.height() - FrameAllowance.height()) / 2));
    }
    resize(Size);
    GMainForm = this;
    MainFormPosition = new TFormSave(*this, "MainFormPosition");
    MainFormPosition->SaveFile = sfRegistryFile;

    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName("MdiArea");
    setCentralWidget(MdiArea);

    auto Noop = [] {};
    NewFileAction = MakeAction("NewFileAction", "&New...", {}, [this] { NewDocument(); });
    OpenFileAction = MakeAction("OpenFileAction", "&Open...", QKeySequence("Ctrl+O"), [this] { OpenDocument(); });
    SaveAction = MakeWindowAction("SaveAction", "&Save", QKeySequence("Ctrl+S"), &IDocumentWindow::Save);
    PrintAction = MakeWindowAction("PrintAction", "Print...", QKeySequence("Ctrl+P"), &IDocumentWindow::Print);
    PrintToScaleAction =
        MakeWindowAction("PrintToScaleAction", "Print to Scale...", {}, &IDocumentWindow::PrintToScale);
    ExitAction = MakeAction("ExitAction", "E&xit", QKeySequence("Alt+F4"), [this] { close(); });
    UndoAction = MakeWindowAction("UndoAction", "Undo", QKeySequence("Alt+Backspace"), &IDocumentWindow::Undo);
    RedoAction =
        MakeWindowAction("RedoAction", "Redo", QKeySequence("Shift+Alt+Backspace"), &IDocumentWindow::Redo);
    // Beside the program's own keys, those with which every other desktop program undoes and redoes.
    UndoAction->setShortcuts({QKeySequence("Alt+Backspace"), QKeySequence("Ctrl+Z")});
    RedoAction->setShortcuts(
        {QKeySequence("Shift+Alt+Backspace"), QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    CopyAction = MakeWindowAction("CopyAction", "&Copy", QKeySequence("Ctrl+C"), &IDocumentWindow::CopySelection);
    PasteAction =
        MakeWindowAction("PasteAction", "&Paste", QKeySequence("Ctrl+V"), &IDocumentWindow::PasteClipboard);
    DeleteAction =
        MakeWindowAction("DeleteAction", "&Delete", QKeySequence("Ctrl+Del"), &IDocumentWindow::DeleteSelection);
    ZoomInAction = MakeWindowAction("ZoomInAction", "Zoom In", {}, &IDocumentWindow::ZoomIn);
    ZoomOutAction = MakeWindowAction("ZoomOutAction", "Zoom Out", {}, &IDocumentWindow::ZoomOut);
    ZoomAllAction = MakeWindowAction("ZoomAllAction", "Zoom All", {}, &IDocumentWindow::ZoomAll);
    ZoomSelectionAction =
        MakeWindowAction("ZoomSelectionAction", "Zoom to Selection", {}, &IDocumentWindow::ZoomSelection);
    ZoomPreviousAction = MakeWindowAction("ZoomPreviousAction", "Zoom Previous", {}, &IDocumentWindow::ZoomPrevious);

    ModeGroup = new QActionGroup(this);
    ModeGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    ZoomAction = MakeModeAction("ZoomAction", "Zoom", [] { return imZoom; }, &IDocumentWindow::StartZoom);
    ZoomWindowAction = MakeModeAction("ZoomWindowAction", "Zoom Window", [] { return imZoomWindow; },
                                      &IDocumentWindow::StartZoomWindow);
    PanAction = MakeModeAction("PanAction", "Pan", [] { return imPan; }, &IDocumentWindow::StartPan);
    RotateViewAction = MakeModeAction(
        "RotateViewAction", "Rotate View", [] { return GSettings ? GSettings->RotationMode : imRotateWorld; },
        &IDocumentWindow::StartRotateView);
    SelectEditAction =
        MakeModeAction("SelectEditAction", "Select and Edit", [] { return imUser; }, &IDocumentWindow::StartSelectEdit);

    TranslateAction =
        MakeWindowAction("TranslateAction", "Translate Selection", {}, &IDocumentWindow::TranslateSelection);
    ScaleAction = MakeWindowAction("ScaleAction", "Scale Selection", {}, &IDocumentWindow::ScaleSelection);
    RotateAction = MakeWindowAction("RotateAction", "Rotate Selection", {}, &IDocumentWindow::RotateSelection);
    MirrorAction = MakeWindowAction("MirrorAction", "Mirror Selection", {}, &IDocumentWindow::MirrorSelection);
    MacroAction = MakeWindowAction("MacroAction", "Macro Editor...", {}, &IDocumentWindow::ShowMacroEditor);
    MacroAction->setCheckable(true);

    HydrostaticsAction = MakeAction("HydrostaticsAction", "Hydrostatics", {},
                                    [] { ShowToolWindowNamed("HydrostaticsFloatForm"); });
    SelectionDockerAction = MakeAction("SelectionDockerAction", "Entities Selection", QKeySequence(Qt::Key_F11),
                                       [] { ShowToolWindowNamed("SelectionForm"); });
    PropertiesAction = MakeAction("PropertiesAction", "Entity Attributes", QKeySequence(Qt::Key_F10),
                                  [] { ShowToolWindowNamed("EntityForm"); });
    PermeabilitiesAction = MakeAction("PermeabilitiesAction", "Compartment Permeabilities", {},
                                      [] { ShowToolWindowNamed("PermeabilityForm"); });
    HierarchyAction = MakeAction("HierarchyAction", "Compartment Hierarchy", {},
                                 [] { ShowToolWindowNamed("HierarchyForm"); });
    GroupsAction = MakeAction("GroupsAction", "Groups", {}, [] { ShowToolWindowNamed("GroupsForm"); });
    OpeningsAction = MakeAction("OpeningsAction", "Openings", {}, [] { ShowToolWindowNamed("OpeningsForm"); });
    ErrorsAction = MakeAction("ErrorsAction", "Modelling Errors", {}, [] { ShowToolWindowNamed("ErrorsForm"); });
    CalculatorAction = MakeAction("CalculatorAction", "Calculator", {}, [] { ShowToolWindowNamed("CalculatorForm"); });
    ConsoleAction = MakeAction("ConsoleAction", "Console", {}, [] { ShowToolWindowNamed("ConsoleForm"); });
    HelpAction = MakeAction("HelpAction", "Help", {}, [] { ShowToolWindowNamed("HelpForm"); });

    // Only shows whether the status bar is visible: choosing it changes nothing.
    StatusBarAction = MakeAction("StatusBarAction", "Show Status Bar", {}, Noop);
    StatusBarAction->setCheckable(true);
    connect(StatusBarAction, &QAction::triggered, this,
            [this] { StatusBarAction->setChecked(statusBar()->isVisible()); });
    AboutAction = MakeAction("AboutAction", "About...", {}, [] { ShowAboutBox(); });
    // The maker's web page is not part of the program yet.
    WebsiteAction = MakeAction("WebsiteAction", "Sarnova Website...", {}, Noop);
    ShowDockersInformationAction =
        MakeAction("ShowDockersInformationAction", "ShowDockersInformation", QKeySequence("Shift+Ctrl+D"), [] {
            if (GDockingManager) GDockingManager->ShowInformation();
        });
    ShowUndoInformationAction =
        MakeAction("ShowUndoInformationAction", "ShowUndoInformationAction", QKeySequence("Shift+Ctrl+U"), [this] {
            if (IDocumentWindow* W = ActiveDocumentWindow()) W->ShowUndoInformation();
        });

    WindowCascadeAction = MakeAction("WindowCascade1", "&Cascade", {}, [this] { MdiArea->cascadeSubWindows(); });
    WindowTileHorizontalAction =
        MakeAction("WindowTileHorizontal1", "Tile &Horizontally", {}, [this] { TileSubWindows(true); });
    WindowTileVerticalAction =
        MakeAction("WindowTileVertical1", "&Tile Vertically", {}, [this] { TileSubWindows(false); });
    WindowCloseAction = MakeAction("WindowClose1", "C&lose", {}, [this] { MdiArea->closeActiveSubWindow(); });

    BuildModellingActions();
    FileManager1 = std::make_unique<TFileManager>(ProgramUserDialogs());
    FileManager1->RegistryKey = "GeoFiles";
    FileManager1->MRUMenu = &FileMenuItems;
    FileManager1->OnMRUOpenFile = [this](TFileManager*, const std::string& Name) { OpenDocumentFile(Name); };
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    DockPanels = InstallMainDockPanels(*this);
    VkDockingInterface1 = new TVkDockingInterface(this);
    VkDockingInterface1->setObjectName("VkDockingInterface1");
    VkDockingInterface1->AutoLoadSave = true;
    VkDockingInterface1->SetOnReloadDockedControl([this](QObject* Sender, const std::string& Name, QWidget*& Control) {
        ReloadDockedControl(Sender, Name, Control);
    });

    connect(MdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) {
        IDocumentWindow* W = ActiveDocumentWindow();
        MergeDocumentMenus(W ? W->Menus() : std::vector<QMenu*>{});
    });
    // Actions are brought up to date whenever the event loop is about to wait for the next event.
    if (QAbstractEventDispatcher* Dispatcher = QAbstractEventDispatcher::instance())
        connect(Dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] { UpdateActions(); });

    // The placement of the last run comes back once the window is built, before its creation proper.
    MainFormPosition->RestorePlacement();

    // Creation: the hub, answering with the active document, then the settings.
    GeometryServer = std::make_unique<TGeometryServer>();
    GeometryServer->OnGetActiveDocument = [this](TGeometryList*& Document) { GetActiveDocument(Document); };
    ApplySettings();
    UpdateActions();

    VkPaintFormClient1 = new TVkPaintFormClient(this);
    VkPaintFormClient1->setObjectName("VkPaintFormClient1");
    VkPaintFormClient1->TileOptions = toStagger;
    VkPaintFormClient1->SetImage(DocumentAreaPicture());
    VkPaintFormClient1->HookClient();
    // Only the list: the auto-save settings under the same key belong to the document windows.
    FileManager1->RefreshMRUMenu();
    // The tool windows of the last run come back once the window is complete. The window system's
    // window is made first: a floating tool window made before it would not belong to it there, and
    // would stay behind the main window and keep the program running after Exit.
    winId();
    VkDockingInterface1->OwnerCreated();
}

// The document windows go first, while the hub can still hear of their documents; then the hub, so
// that tool windows freed with the window's children find it detached.
TMainForm::~TMainForm() {
    // The placement is stored while the window is still whole (its document area makes it a frame).
    delete MainFormPosition;
    MainFormPosition = nullptr;
    if (QAbstractEventDispatcher* Dispatcher = QAbstractEventDispatcher::instance()) Dispatcher->disconnect(this);
    MdiArea->disconnect(this);
    delete MdiArea;
    MdiArea = nullptr;
    GeometryServer.reset();
    if (GDockingManager) GDockingManager->ReloadHandler = nullptr;
    if (GMainForm == this) GMainForm = nullptr;
}

void TMainForm::closeEvent(QCloseEvent* Event) {
    for (QMdiSubWindow* Sub : MdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!Sub->close()) {
            Event->ignore();
            return;
        }
    }
    // A desktop that cannot be saved is reported, but must not keep the program from ending.
    try {
        VkDockingInterface1->OwnerClosing();
    } catch (const std::exception& Error) {
        if (GExceptionHandler) GExceptionHandler->HandleException(Error);
    }
    QMainWindow::closeEvent(Event);
}

void TMainForm::showEvent(QShowEvent* Event) {
    QMainWindow::showEvent(Event);
    if (Event->spontaneous()) return;
    // After the window system has mapped the main window.
    QTimer::singleShot(0, this, [this] {
        for (QWidget* Tool : findChildren<TVkDockForm*>(Qt::FindDirectChildrenOnly))
            if (Tool->isVisible() && Tool->isWindow()) Tool->raise();
    });
}

QAction* TMainForm::MakeAction(const char* Name, const char* Caption, const QKeySequence& Shortcut,
                               std::function<void()> Execute) {
    // Keys belong to the window they are pressed in: a floating tool window's keys are its own.
    QAction* Action = CreateCommandAction(*this, Name, Caption, Shortcut, Qt::WindowShortcut, std::move(Execute));
    Action->setToolTip(QString(Caption).remove('&').remove("..."));
    return Action;
}

QAction* TMainForm::MakeWindowAction(const char* Name, const char* Caption, const QKeySequence& Shortcut,
                                     void (IDocumentWindow::*Operation)()) {
    return MakeAction(Name, Caption, Shortcut, [this, Operation] {
        if (IDocumentWindow* W = ActiveDocumentWindow()) (W->*Operation)();
    });
}

QAction* TMainForm::MakeModeAction(const char* Name, const char* Caption, std::function<TInteractionMode()> Mode,
                                   void (IDocumentWindow::*Start)()) {
    QAction* Action = MakeAction(Name, Caption, {}, [this, Mode, Start] {
        SetInteractionModes(Mode());
        if (IDocumentWindow* W = ActiveDocumentWindow()) (W->*Start)();
    });
    Action->setCheckable(true);
    ModeGroup->addAction(Action);
    return Action;
}

void TMainForm::BuildMenus() {
    File1 = new QMenu("&File", this);
    File1->setObjectName("File1");
    File1->addAction(NewFileAction);
    File1->addSeparator();
    File1->addAction(OpenFileAction);
    File1->addSeparator();
    File1->addAction(ExitAction);
    FileMenuItems.Add("MRU").Visible = false;
    new TQtMenuMirror(*File1, FileMenuItems, ExitAction);

    Edit1 = new QMenu("&Edit", this);
    Edit1->setObjectName("Edit1");
    EditorToolWindows1 = Edit1->addMenu("Editor Tool Windows");
    EditorToolWindows1->setObjectName("EditorToolWindows1");
    for (QAction* Action : {SelectionDockerAction, PropertiesAction, static_cast<QAction*>(nullptr),
                            PermeabilitiesAction, HierarchyAction, static_cast<QAction*>(nullptr), GroupsAction,
                            OpeningsAction, static_cast<QAction*>(nullptr), ErrorsAction, HydrostaticsAction,
                            CalculatorAction, ConsoleAction, static_cast<QAction*>(nullptr), HelpAction}) {
        if (Action)
            EditorToolWindows1->addAction(Action);
        else
            EditorToolWindows1->addSeparator();
    }

    Window1 = new QMenu("&Window", this);
    Window1->setObjectName("Window1");
    for (QAction* Action : {WindowCascadeAction, WindowTileHorizontalAction, WindowTileVerticalAction, WindowCloseAction})
        Window1->addAction(Action);
    connect(Window1, &QMenu::aboutToShow, this, [this] { FillWindowMenu(); });

    Help1 = new QMenu("&Help", this);
    Help1->setObjectName("Help1");
    Help1->addAction(HelpAction);
    Help1->addSeparator();
    Help1->addAction(WebsiteAction);
    Help1->addAction(AboutAction);

    menuBar()->setObjectName("MainMenu1");
    MergeDocumentMenus({});
}

void TMainForm::BuildToolBar() {
    ToolBar1 = addToolBar("ToolBar1");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setIconSize(QSize(24, 24));
    // Icons only, so that the whole bar fits a 1024-pixel window; the captions are the tooltips, and
    // the menus show the same icons beside their texts.
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    AddToolGroups(*ToolBar1, {
        {{NewFileAction, "new"}, {OpenFileAction, "open"}, {SaveAction, "save"}, {PrintAction, "print"}},
        {{UndoAction, "undo"}, {RedoAction, "redo"}},
        {{CopyAction, "copy"}, {PasteAction, "paste"}, {DeleteAction, "delete"}},
        {{ZoomInAction, "zoom-in"}, {ZoomOutAction, "zoom-out"}, {ZoomAllAction, "zoom-all"},
         {ZoomSelectionAction, "zoom-selection"}, {ZoomPreviousAction, "zoom-previous"},
         {ZoomWindowAction, "zoom-window"}, {ZoomAction, "zoom"}, {PanAction, "pan"},
         {RotateViewAction, "rotate-view"}},
        {{SelectEditAction, "select"}},
        {{TranslateAction, "translate"}, {ScaleAction, "scale"}, {RotateAction, "rotate"}, {MirrorAction, "mirror"}},
        {{SelectionDockerAction, "entities"}, {PropertiesAction, "properties"}, {HydrostaticsAction, "hydrostatics"},
         {HelpAction, "help"}},
        {{MacroAction, "macro"}},
    });
}

void TMainForm::MergeDocumentMenus(const std::vector<QMenu*>& Menus) {
    if (Menus == MergedMenus && !menuBar()->actions().isEmpty()) return;
    MergedMenus = Menus;
    menuBar()->clear();
    if (Menus.empty()) {
        menuBar()->addMenu(File1);
        menuBar()->addMenu(Edit1);
    } else {
        for (QMenu* Menu : Menus) menuBar()->addMenu(Menu);
    }
    menuBar()->addMenu(Window1);
    menuBar()->addMenu(Help1);
}

// ---- Derived values ----

IDocumentWindow* TMainForm::ActiveDocumentWindow() const {
    // The current child stays current while another top-level window (a floating tool window) is active.
    QMdiSubWindow* Active = MdiArea->currentSubWindow();
    return Active ? dynamic_cast<IDocumentWindow*>(Active->widget()) : nullptr;
}

TInteractionMode TMainForm::ActiveInteractionMode() const {
    const IDocumentWindow* W = ActiveDocumentWindow();
    return W ? W->GetInteractionMode() : imNone;
}

void TMainForm::GetActiveDocument(TGeometryList*& Document) const {
    if (IDocumentWindow* W = ActiveDocumentWindow()) Document = W->Document();
}

std::vector<IDocumentWindow*> TMainForm::DocumentWindows() const {
    std::vector<IDocumentWindow*> Windows;
    for (QMdiSubWindow* Sub : MdiArea->subWindowList(QMdiArea::CreationOrder))
        if (auto* W = dynamic_cast<IDocumentWindow*>(Sub->widget())) Windows.push_back(W);
    return Windows;
}

// ---- Operations ----

void TMainForm::SetInteractionModes(TInteractionMode Mode) {
    for (IDocumentWindow* W : DocumentWindows()) W->SetInteractionMode(Mode);
}

void TMainForm::ApplySettings() {
    UpdateStatusBar();
    for (IDocumentWindow* W : DocumentWindows()) W->ApplySettings();
}

IDocumentWindow* TMainForm::CreateDocumentWindow() {
    if (!GDocumentWindowFactory) return nullptr;
    QWidget* Widget = GDocumentWindowFactory(*this);
    auto* W = dynamic_cast<IDocumentWindow*>(Widget);
    if (!W) {
        delete Widget;
        return nullptr;
    }
    QMdiSubWindow* Sub = MdiArea->addSubWindow(Widget);
    Sub->setAttribute(Qt::WA_DeleteOnClose);
    // The hub must not keep a document that has gone as its active list.
    TGeometryList* Document = W->Document();
    connect(Sub, &QObject::destroyed, this, [this, Document] {
        if (GeometryServer) GeometryServer->DocumentClosed(Document);
    });
    Sub->show();
    MdiArea->setActiveSubWindow(Sub);
    return W;
}

void TMainForm::OpenDocument() {
    if (!GDocumentWindowFactory) return;
    QFileDialog OpenDialog1(this, "Open Geometry File", QString(), "Geometry file (*.geo)");
    OpenDialog1.setObjectName("OpenDialog1");
    OpenDialog1.setDefaultSuffix("geo");
    OpenDialog1.setFileMode(QFileDialog::ExistingFile);
    OpenDialog1.setOption(QFileDialog::ReadOnly);
    if (OpenDialog1.exec() != QDialog::Accepted || OpenDialog1.selectedFiles().isEmpty()) return;
    const std::string Name = OpenDialog1.selectedFiles().first().toStdString();
    if (ActivateDocumentWindow(Name)) return;
    // The new window keeps the mode its creation gave it.
    if (IDocumentWindow* W = CreateDocumentWindow()) W->OpenFile(Name);
}

namespace {

// One spelling for every path of a file: links, "." and ".." resolved as far as the file exists.
std::filesystem::path SameFilePath(const std::string& Name) {
    std::error_code Error;
    std::filesystem::path Path = std::filesystem::weakly_canonical(std::filesystem::path(Name), Error);
    if (Error) Path = std::filesystem::absolute(std::filesystem::path(Name), Error).lexically_normal();
    return Path;
}

}  // namespace

IDocumentWindow* TMainForm::FindDocumentWindow(const std::string& Name) const {
    if (Name.empty()) return nullptr;
    const std::filesystem::path Wanted = SameFilePath(Name);
    for (IDocumentWindow* W : DocumentWindows()) {
        const std::string Held = W->FileName();
        if (!Held.empty() && SameFilePath(Held) == Wanted) return W;
    }
    return nullptr;
}

bool TMainForm::ActivateDocumentWindow(const std::string& Name) {
    IDocumentWindow* W = FindDocumentWindow(Name);
    if (!W) return false;
    for (QMdiSubWindow* Sub : MdiArea->subWindowList())
        if (dynamic_cast<IDocumentWindow*>(Sub->widget()) == W) {
            if (Sub->isMinimized()) Sub->showNormal();
            MdiArea->setActiveSubWindow(Sub);
        }
    activateWindow();
    raise();
    return true;
}

void TMainForm::OpenDocumentFile(const std::string& Name) {
    if (ActivateDocumentWindow(Name)) return;
    IDocumentWindow* W = CreateDocumentWindow();
    if (!W) return;
    W->OpenFile(Name);
    ApplyToolbarMode(*W);
}

void TMainForm::NewDocument() {
    if (IDocumentWindow* W = CreateDocumentWindow()) ApplyToolbarMode(*W);
}

void TMainForm::ApplyToolbarMode(IDocumentWindow& Window) {
    if (ZoomWindowAction->isChecked())
        Window.SetInteractionMode(imZoomWindow);
    else if (ZoomAction->isChecked())
        Window.SetInteractionMode(imZoom);
    else if (PanAction->isChecked())
        Window.SetInteractionMode(imPan);
    else if (RotateViewAction->isChecked())
        Window.SetInteractionMode(GSettings ? GSettings->RotationMode : imRotateWorld);
    else if (SelectEditAction->isChecked())
        Window.SetInteractionMode(imUser);
}

void TMainForm::UpdateActions() {
    if (UpdatingActions) return;
    UpdatingActions = true;
    IDocumentWindow* W = ActiveDocumentWindow();
    TGeometryList* D = W ? W->Document() : nullptr;
    const bool HasW = W != nullptr;
    const bool Sel = D && D->SelectedCount() > 0;
    const bool CanMakeWindows = static_cast<bool>(GDocumentWindowFactory);

    NewFileAction->setEnabled(CanMakeWindows);
    OpenFileAction->setEnabled(CanMakeWindows);
    SaveAction->setEnabled(HasW && W->IsModified());
    PrintAction->setEnabled(HasW);
    PrintToScaleAction->setEnabled(HasW && W->CanPrintToScale());
    UndoAction->setEnabled(HasW && W->CanUndo());
    RedoAction->setEnabled(HasW && W->CanRedo());
    CopyAction->setEnabled(Sel);
    PasteAction->setEnabled(HasW && GClipboard && GClipboard->Count() > 0);
    DeleteAction->setEnabled(Sel);
    for (QAction* Action : {ZoomInAction, ZoomOutAction, ZoomAllAction, ZoomPreviousAction})
        Action->setEnabled(HasW);
    ZoomSelectionAction->setEnabled(Sel);
    for (QAction* Action : {TranslateAction, ScaleAction, RotateAction, MirrorAction}) Action->setEnabled(Sel);

    const TInteractionMode Mode = ActiveInteractionMode();
    const std::pair<QAction*, bool> Modes[] = {
        {ZoomAction, Mode == imZoom},
        {ZoomWindowAction, Mode == imZoomWindow},
        {PanAction, Mode == imPan},
        {RotateViewAction, GSettings && Mode == GSettings->RotationMode},
        {SelectEditAction, Mode == imUser},
    };
    for (auto [Action, Checked] : Modes) {
        Action->setEnabled(HasW);
        Action->setChecked(HasW && Checked);
    }
    MacroAction->setEnabled(HasW);
    MacroAction->setChecked(HasW && W->IsMacroEditorShowing());

    HydrostaticsAction->setEnabled(HasW && ToolWindowAvailable("HydrostaticsFloatForm"));
    const std::pair<QAction*, const char*> Tools[] = {
        {SelectionDockerAction, "SelectionForm"}, {PropertiesAction, "EntityForm"},
        {PermeabilitiesAction, "PermeabilityForm"}, {HierarchyAction, "HierarchyForm"},
        {GroupsAction, "GroupsForm"},           {OpeningsAction, "OpeningsForm"},
        {ErrorsAction, "ErrorsForm"},           {CalculatorAction, "CalculatorForm"},
        {ConsoleAction, "ConsoleForm"},         {HelpAction, "HelpForm"},
    };
    for (auto [Action, Name] : Tools) Action->setEnabled(ToolWindowAvailable(Name));
    StatusBarAction->setChecked(statusBar()->isVisible());
    WebsiteAction->setEnabled(false);
    UpdateModellingActions();

    const bool HasChildren = !MdiArea->subWindowList().isEmpty();
    for (QAction* Action : {WindowCascadeAction, WindowTileHorizontalAction, WindowTileVerticalAction})
        Action->setEnabled(HasChildren);
    WindowCloseAction->setEnabled(MdiArea->currentSubWindow() != nullptr);
    UpdatingActions = false;
}

void TMainForm::ReloadDockedControl(QObject* Sender, const std::string& Name, QWidget*& Control) {
    const TToolWindowEntry* Entry = FindToolWindow(Name);
    if (Entry && Entry->GetOrCreate) Control = Entry->GetOrCreate();
}

// Horizontally: each window as wide as the area, one below the other; vertically: side by side.
void TMainForm::TileSubWindows(bool Horizontally) {
    QList<QMdiSubWindow*> Windows;
    for (QMdiSubWindow* Sub : MdiArea->subWindowList(QMdiArea::StackingOrder))
        if (Sub->isVisible() && !Sub->isMinimized()) Windows.append(Sub);
    if (Windows.isEmpty()) return;
    const QRect Area = MdiArea->viewport()->rect();
    const int Count = static_cast<int>(Windows.size());
    for (int I = 0; I < Count; ++I) {
        QMdiSubWindow* Sub = Windows[I];
        if (Sub->isMaximized()) Sub->showNormal();
        if (Horizontally) {
            const int H = Area.height() / Count;
            Sub->setGeometry(0, I * H, Area.width(), I == Count - 1 ? Area.height() - I * H : H);
        } else {
            const int W = Area.width() / Count;
            Sub->setGeometry(I * W, 0, I == Count - 1 ? Area.width() - I * W : W, Area.height());
        }
    }
}

// The Window menu ends with the list of open child windows, the active one checked.
void TMainForm::FillWindowMenu() {
    for (QAction* Action : WindowListActions) {
        Window1->removeAction(Action);
        delete Action;
    }
    WindowListActions.clear();
    const QList<QMdiSubWindow*> Windows = MdiArea->subWindowList(QMdiArea::CreationOrder);
    if (Windows.isEmpty()) return;
    WindowListActions.push_back(Window1->addSeparator());
    int Number = 0;
    for (QMdiSubWindow* Sub : Windows) {
        QAction* Action = Window1->addAction(QString("&%1 %2").arg(++Number).arg(Sub->windowTitle()));
        Action->setCheckable(true);
        Action->setChecked(Sub == MdiArea->currentSubWindow());
        connect(Action, &QAction::triggered, this, [this, Sub] { MdiArea->setActiveSubWindow(Sub); });
        WindowListActions.push_back(Action);
    }
}

}  // namespace sarnova
