#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/Geometry.h"
#include "document/GeometryList.h"
#include "document/Settings.h"
#include "foundation/TextUtils.h"
#include "shell/HydrostaticsFloatForm.h"
#include "platform/Registry.h"
#include "shell/ConsoleFloat.h"
#include "shell/GeometryServer.h"
#include "shell/MainUnit.h"
#include "shell/ShellTestSupport.h"
#include "shell/TestDocumentWindow.h"
#include "controls/VkDockPanelManager.h"
#include "DialogsScope.h"

namespace sarnova {
namespace {

// Every action reachable from the menus (submenus included) and the toolbar.
std::vector<QAction*> ReachableActions(TMainForm& Form) {
    std::vector<QAction*> Found;
    std::vector<QMenu*> Menus;
    for (QAction* Top : Form.menuBar()->actions())
        if (Top->menu()) Menus.push_back(Top->menu());
    while (!Menus.empty()) {
        QMenu* Menu = Menus.back();
        Menus.pop_back();
        for (QAction* Action : Menu->actions()) {
            if (Action->menu())
                Menus.push_back(Action->menu());
            else if (!Action->isSeparator())
                Found.push_back(Action);
        }
    }
    for (QAction* Action : Form.ToolBar1->actions())
        if (!Action->isSeparator()) Found.push_back(Action);
    return Found;
}

class MainForm : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!GSettings) InitializeSettings();
    }
    static void TearDownTestSuite() { FinalizeSettings(); }

    void SetUp() override {
        GSettings->RotationMode = imRotateWorld;
        Form = std::make_unique<TMainForm>();
        Form->show();
        Settle();
    }
    void TearDown() override {
        Form.reset();
        GDocumentWindowFactory = nullptr;
        if (GClipboard) GClipboard->Clear();
        Settle();
    }

    // Lets the main window make test document windows.
    void AllowDocumentWindows() {
        GDocumentWindowFactory = [this](TMainForm&) {
            auto* Window = new TTestDocumentWindow;
            Made.push_back(Window);
            return Window;
        };
    }
    TTestDocumentWindow* NewWindow() {
        Form->NewDocument();
        Form->UpdateActions();
        return Made.back();
    }

    std::unique_ptr<TMainForm> Form;
    std::vector<TTestDocumentWindow*> Made;
};

TEST_F(MainForm, CaptionMenusAndToolWindowList) {
    EXPECT_EQ(Form->windowTitle(), "Sarnova 8.0");
    std::vector<std::string> Top;
    for (QAction* Action : Form->menuBar()->actions()) Top.push_back(Action->text().toStdString());
    EXPECT_EQ(Top, (std::vector<std::string>{"&File", "&Edit", "&Window", "&Help"}));
    EXPECT_EQ(MenuCaptions(Form->File1), (std::vector<std::string>{"&New...", "-", "&Open...", "-", "MRU", "E&xit"}));
    EXPECT_EQ(VisibleCaptions(Form->File1), (std::vector<std::string>{"&New...", "-", "&Open...", "-", "E&xit"}));
    EXPECT_EQ(MenuCaptions(Form->EditorToolWindows1),
              (std::vector<std::string>{"Entities Selection", "Entity Attributes", "-", "Compartment Permeabilities",
                                        "Compartment Hierarchy", "-", "Groups", "Openings", "-", "Modelling Errors",
                                        "Hydrostatics", "Calculator", "Console", "-", "Help"}));
    EXPECT_EQ(MenuCaptions(Form->Help1), (std::vector<std::string>{"Help", "-", "Sarnova Website...", "About..."}));
    EXPECT_EQ(Form->ToolBar1->actions().size(), 28 + 7);
}

TEST_F(MainForm, TheWholeToolbarShowsIconsInA1024PixelWindow) {
    Form->resize(1024, 768);
    Settle();
    for (QAction* Action : Form->ToolBar1->actions()) {
        if (Action->isSeparator()) continue;
        const std::string Name = Action->objectName().toStdString();
        QWidget* Button = Form->ToolBar1->widgetForAction(Action);
        ASSERT_NE(Button, nullptr) << Name;
        // On the bar itself, not behind its extension button.
        EXPECT_TRUE(Button->isVisible()) << Name;
        EXPECT_TRUE(Form->ToolBar1->rect().contains(Button->geometry())) << Name;
        ASSERT_FALSE(Action->icon().isNull()) << Name;
        for (int Size : {16, 24}) EXPECT_FALSE(Action->icon().pixmap(Size).isNull()) << Name << " at " << Size;
        const QString Caption = QString(Action->text()).remove('&').remove("...");
        const QString Tip = Action->shortcut().isEmpty()
                                ? Caption
                                : Caption + " (" + Action->shortcut().toString(QKeySequence::NativeText) + ")";
        EXPECT_EQ(Action->toolTip(), Tip) << Name;
    }
    EXPECT_EQ(Form->SaveAction->toolTip(), "Save (Ctrl+S)");
    EXPECT_EQ(Form->ToolBar1->toolButtonStyle(), Qt::ToolButtonIconOnly);
}

TEST_F(MainForm, KeysAreBoundToTheMainWindow) {
    const std::pair<QAction*, const char*> Keys[] = {
        {Form->OpenFileAction, "Ctrl+O"},     {Form->SaveAction, "Ctrl+S"},
        {Form->PrintAction, "Ctrl+P"},        {Form->ExitAction, "Alt+F4"},
        {Form->UndoAction, "Alt+Backspace"},  {Form->RedoAction, "Shift+Alt+Backspace"},
        {Form->CopyAction, "Ctrl+C"},         {Form->PasteAction, "Ctrl+V"},
        {Form->DeleteAction, "Ctrl+Del"},     {Form->SelectionDockerAction, "F11"},
        {Form->PropertiesAction, "F10"},      {Form->ShowDockersInformationAction, "Shift+Ctrl+D"},
        {Form->ShowUndoInformationAction, "Shift+Ctrl+U"},
    };
    for (auto [Action, Key] : Keys) {
        EXPECT_EQ(Action->shortcut(), QKeySequence(Key)) << Action->objectName().toStdString();
        EXPECT_EQ(Action->shortcutContext(), Qt::WindowShortcut) << Action->objectName().toStdString();
        EXPECT_TRUE(Form->actions().contains(Action)) << Action->objectName().toStdString();
    }
}

TEST_F(MainForm, WithoutADocumentWindowOnlyTheDocumentFreeActionsAreEnabled) {
    // A child of the document area that is not a document window counts as none.
    QMdiSubWindow* Other = Form->MdiArea->addSubWindow(new QWidget);
    Other->show();
    Form->MdiArea->setActiveSubWindow(Other);
    Settle();
    Form->UpdateActions();
    TGeometryList* Answer = nullptr;
    Form->GetActiveDocument(Answer);
    EXPECT_EQ(Answer, nullptr);
    EXPECT_EQ(Form->GeometryServer->GetActiveDocument(), nullptr);

    const std::set<std::string> NeedADocument = {
        "SaveAction",   "PrintAction",      "PrintToScaleAction", "UndoAction",       "RedoAction",
        "CopyAction",   "PasteAction",      "DeleteAction",       "ZoomInAction",     "ZoomOutAction",
        "ZoomAllAction", "ZoomSelectionAction", "ZoomPreviousAction", "ZoomAction", "ZoomWindowAction",
        "PanAction",    "RotateViewAction", "SelectEditAction",   "TranslateAction",  "ScaleAction",
        "RotateAction", "MirrorAction",     "MacroAction",        "HydrostaticsAction"};
    // Usable without a document: the rest is disabled until its window or dialog exists.
    const std::set<std::string> Usable = {"ExitAction",         "ConsoleAction",    "AboutAction",
                                          "CalculatorAction",   "SelectionDockerAction", "PropertiesAction",
                                          "HierarchyAction",    "GroupsAction",     "OpeningsAction",
                                          "ErrorsAction",       "HelpAction",       "PermeabilitiesAction",
                                          "WindowCascade1",
                                          "WindowTileHorizontal1", "WindowTileVertical1", "WindowClose1"};
    for (QAction* Action : Form->actions()) {
        const std::string Name = Action->objectName().toStdString();
        if (!NeedADocument.count(Name)) continue;
        EXPECT_FALSE(Action->isEnabled()) << Name;
        EXPECT_FALSE(Action->isChecked()) << Name;
    }
    for (QAction* Action : ReachableActions(*Form)) {
        const std::string Name = Action->objectName().toStdString();
        if (Action->isEnabled() && Action->isVisible()) {
            EXPECT_TRUE(Usable.count(Name)) << Name;
        }
    }
    EXPECT_TRUE(Form->ShowDockersInformationAction->isEnabled());
    EXPECT_TRUE(Form->ShowUndoInformationAction->isEnabled());
    EXPECT_TRUE(Form->StatusBarAction->isChecked());
}

TEST_F(MainForm, ActionsFollowTheActiveDocumentWindow) {
    AllowDocumentWindows();
    Form->UpdateActions();
    EXPECT_TRUE(Form->NewFileAction->isEnabled());
    TTestDocumentWindow* W = NewWindow();
    EXPECT_TRUE(Form->PrintAction->isEnabled());
    EXPECT_FALSE(Form->SaveAction->isEnabled());
    EXPECT_FALSE(Form->CopyAction->isEnabled());
    EXPECT_FALSE(Form->PasteAction->isEnabled());
    EXPECT_TRUE(Form->RotateViewAction->isChecked());  // the window starts in the settings' rotation mode

    W->Modified = true;
    W->MacroShowing = true;
    W->List.Add(std::make_unique<TBoxEntity>())->SetSelected(true);
    GClipboard->Add(std::make_unique<TBoxEntity>());
    Form->UpdateActions();
    for (QAction* Action : {Form->SaveAction, Form->CopyAction, Form->DeleteAction, Form->ZoomSelectionAction,
                            Form->TranslateAction, Form->MirrorAction, Form->PasteAction})
        EXPECT_TRUE(Action->isEnabled()) << Action->objectName().toStdString();
    EXPECT_TRUE(Form->MacroAction->isChecked());

    Form->CopyAction->trigger();
    EXPECT_EQ(W->Calls.back(), "CopySelection");
    TGeometryList* Answer = nullptr;
    Form->GetActiveDocument(Answer);
    EXPECT_EQ(Answer, &W->List);
}

TEST_F(MainForm, ModeActionsReachEveryWindowAndNewWindowsTakeTheToolbarMode) {
    AllowDocumentWindows();
    TTestDocumentWindow* First = NewWindow();
    EXPECT_EQ(First->Mode, imRotateWorld);  // no mode checked: the window keeps its own
    TTestDocumentWindow* Second = NewWindow();

    Form->ZoomAction->trigger();
    EXPECT_EQ(First->Mode, imZoom);
    EXPECT_EQ(Second->Mode, imZoom);
    EXPECT_EQ(Second->Calls.back(), "StartZoom");
    EXPECT_TRUE(std::find(First->Calls.begin(), First->Calls.end(), "StartZoom") == First->Calls.end());

    Form->PanAction->trigger();
    Form->UpdateActions();
    EXPECT_TRUE(Form->PanAction->isChecked());
    EXPECT_FALSE(Form->ZoomAction->isChecked());
    TTestDocumentWindow* Third = NewWindow();
    EXPECT_EQ(Third->Mode, imPan);
    Form->OpenDocumentFile("/tmp/hull.geo");
    EXPECT_EQ(Made.back()->Mode, imPan);
    EXPECT_EQ(Made.back()->Calls.front(), "OpenFile /tmp/hull.geo");

    Form->ApplySettings();
    for (TTestDocumentWindow* W : Made) EXPECT_EQ(W->Calls.back(), "ApplySettings");
}

TEST_F(MainForm, DocumentMenusStandInForFileAndEdit) {
    AllowDocumentWindows();
    TTestDocumentWindow* W = NewWindow();
    Settle();
    std::vector<QMenu*> Shown;
    for (QAction* Action : Form->menuBar()->actions()) Shown.push_back(Action->menu());
    EXPECT_EQ(Shown, (std::vector<QMenu*>{W->FileMenu, Form->Window1, Form->Help1}));

    Form->MdiArea->closeAllSubWindows();
    Settle();
    Shown.clear();
    for (QAction* Action : Form->menuBar()->actions()) Shown.push_back(Action->menu());
    EXPECT_EQ(Shown, (std::vector<QMenu*>{Form->File1, Form->Edit1, Form->Window1, Form->Help1}));
}

TEST_F(MainForm, TheFileMenuOffersRecentDocumentsWithoutADocumentWindow) {
    namespace fs = std::filesystem;
    const fs::path Folder = fs::path(std::getenv("HOME")) / "recent";
    fs::create_directories(Folder);
    const std::string A = (Folder / "a.geo").string(), B = (Folder / "b.geo").string();
    for (const std::string& Name : {A, B}) std::ofstream(Name) << "NumberOfEntities=0\n";
    {
        // What an earlier run left: b opened last.
        TRegIniFile Ini(ProgramRegistryKey(GExeName));
        Ini.WriteInteger("GeoFiles", "NumberOfFiles", 2);
        Ini.WriteString("GeoFiles", "File0", B);
        Ini.WriteString("GeoFiles", "File1", A);
        Ini.Flush();
    }
    test::TDialogsScope Scope;
    AllowDocumentWindows();
    Form = std::make_unique<TMainForm>();
    Form->show();
    Settle();

    QMenu* File = OpenMenu(*Form, Form->File1);
    EXPECT_EQ(VisibleCaptions(File),
              (std::vector<std::string>{"&New...", "-", "&Open...", "-", "&1 " + B, "&2 " + A, "E&xit"}));
    ASSERT_TRUE(ClickMenuItem(File, "&2 " + A));
    ASSERT_EQ(Made.size(), 1u);
    EXPECT_EQ(Made[0]->Opened, A);

    // A file that went while the menu offered it is reported and leaves the list; nothing opens.
    Form->MdiArea->closeAllSubWindows();
    Settle();
    File = OpenMenu(*Form, Form->File1);
    fs::remove(B);
    ASSERT_TRUE(ClickMenuItem(File, "&1 " + B));
    EXPECT_EQ(Made.size(), 1u);
    ASSERT_EQ(Scope.Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Scope.Dialogs.Shown[0].Text, B + " no longer exists; it is removed from the recent files.");
    File = OpenMenu(*Form, Form->File1);
    EXPECT_EQ(VisibleCaptions(File), (std::vector<std::string>{"&New...", "-", "&Open...", "-", "&1 " + A, "E&xit"}));
    File->close();
    Form.reset();
}

TEST_F(MainForm, AClosedDocumentWindowLeavesTheHub) {
    AllowDocumentWindows();
    TTestDocumentWindow* W = NewWindow();
    Form->GeometryServer->SetActiveDocument(&W->List);
    ASSERT_EQ(Form->GeometryServer->GetActiveList(), &W->List);
    Form->MdiArea->closeAllSubWindows();
    Settle();
    EXPECT_EQ(Form->GeometryServer->GetActiveList(), nullptr);
    Form->GeometryServer->SelectionChanged();  // reaches no freed document
}

TEST_F(MainForm, ToolWindowsByTheirSavedNames) {
    QWidget* Control = nullptr;
    Form->ReloadDockedControl(nullptr, "ConsoleForm", Control);
    EXPECT_EQ(Control, GetConsoleForm());
    QWidget* Kept = Form.get();
    for (const char* Name : {"consoleform", "NoSuchForm"}) {
        Control = Kept;
        Form->ReloadDockedControl(nullptr, Name, Control);
        EXPECT_EQ(Control, Kept) << Name;
    }
    Form->ReloadDockedControl(nullptr, "HydrostaticsFloatForm", Control);
    EXPECT_EQ(Control, GetHydrostaticsFloatForm());
    QWidget* ViaManager = nullptr;
    GDockingManager->DoReloadDockedControl("ConsoleForm", ViaManager);
    EXPECT_EQ(ViaManager, GetConsoleForm());

    Form->ConsoleAction->trigger();
    Settle();
    EXPECT_TRUE(GetConsoleForm()->isVisible());
}

TEST_F(MainForm, AToolWindowsClientOutlivesTheHub) {
    auto Client = std::make_unique<TGeometryClient>(Form->GeometryServer.get());
    Form.reset();
    EXPECT_EQ(Client->GetServer(), nullptr);
    EXPECT_EQ(GMainForm, nullptr);
    Client.reset();
}

}  // namespace
}  // namespace sarnova
