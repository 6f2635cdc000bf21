#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/Settings.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "shell/CalculatorFloat.h"
#include "shell/ConsoleFloat.h"
#include "shell/DesktopFixture.h"
#include "shell/EntityFloat.h"
#include "shell/ErrorsFloat.h"
#include "shell/GroupsFloat.h"
#include "shell/HelpFloat.h"
#include "shell/HierarchyFloat.h"
#include "shell/MainUnit.h"
#include "shell/OpeningsFloat.h"
#include "shell/ProgramStart.h"
#include "shell/SelectionFloat.h"
#include "shell/ShellTestSupport.h"
#include "controls/VkDockPanelDesktop.h"
#include "controls/VkDockPanelLayout.h"
#include "controls/VkDockPanelManager.h"
#include "controls/VkDockPanelSites.h"

namespace sarnova {
namespace {

class TToolForm;
// The tool windows by name, as the program keeps them: one instance each, made on first use.
std::map<std::string, QPointer<TToolForm>> GTools;

class TToolForm : public TVkDockForm {
public:
    explicit TToolForm(const std::string& Name) {
        setObjectName(QString::fromStdString(Name));
        setWindowTitle(QString::fromStdString(Name));
        setAttribute(Qt::WA_DeleteOnClose);
        auto* Panel = new TVkDockPanel(this);
        Panel->setObjectName("VkDockPanel1");
        auto* Fill = new QVBoxLayout(Panel);
        Fill->addWidget(new QLabel(QString::fromStdString(Name), Panel));
        setWidget(Panel);
    }

protected:
    // Freed when closed: the next request makes a new one.
    void closeEvent(QCloseEvent* Event) override {
        GTools.erase(objectName().toStdString());
        TVkDockForm::closeEvent(Event);
    }
};

TToolForm* Tool(const std::string& Name) {
    QPointer<TToolForm>& Form = GTools[Name];
    if (!Form) Form = new TToolForm(Name);
    return Form;
}

const char* const ToolNames[] = {"SelectionForm", "EntityForm", "GroupsForm", "OpeningsForm", "HelpForm",
                                 "ErrorsForm",    "HierarchyForm", "CalculatorForm", "ConsoleForm"};

void ReloadTool(QObject*, const std::string& Name, QWidget*& Control) {
    for (const char* Known : ToolNames)
        if (Name == Known) Control = Tool(Name);
}

// Sizes follow the screen and Qt's layout; the arrangement must come back exactly.
TVkDesktop WithoutSizes(TVkDesktop D) {
    auto Clear = [](TVkDesktopLayout& Layout) {
        for (TVkDesktopLeaf& Leaf : Layout.Leaves) Leaf.Width = Leaf.Height = 0;
    };
    for (TVkDesktopSite& Site : D.Sites) Clear(Site.Layout);
    for (TVkDesktopPanel& Panel : D.Panels) {
        Panel.Width = Panel.Height = 0;
        Clear(Panel.Layout);
    }
    return D;
}

class Desktops : public ::testing::Test {
protected:
    void SetUp() override {
        Window = std::make_unique<QMainWindow>();
        Window->setObjectName("MainForm");
        Window->setCentralWidget(new QLabel("Documents"));
        Panels = InstallMainDockPanels(*Window);
        Window->setGeometry(0, 0, 900, 700);
        Window->show();
        Interface = new TVkDockingInterface(Window.get());
        Interface->SetOnReloadDockedControl(ReloadTool);
        Interface->OnChangeDesktop = [this](TVkDockingInterface*) { ++Changes; };
        Settle();
    }
    void TearDown() override {
        Window.reset();
        Settle();
        GTools.clear();
        GDockingManager->DesktopName.clear();
        std::filesystem::remove_all(GUserFolder);
        EXPECT_EQ(GDockingManager->DockSiteForms.Count(), 0);
        EXPECT_EQ(GDockingManager->DockSitePanels.Count(), 0);
    }

    TToolForm* Floating(const char* Name, QRect Place) {
        TToolForm* Form = Tool(Name);
        FloatForm(Form, Place);
        return Form;
    }
    void DockAtEdge(TVkDockForm* Form, Qt::DockWidgetArea Area, QDockWidget* Beside, TVkAlign Align) {
        DetachForm(Form);
        DockBeside(*Window, Area, Beside, Form, Align);
        if (TVkDockPanel* Own = FirstDockPanel(Form)) Own->SetDockSite(false);
    }
    std::filesystem::path File(const char* Name) { return std::filesystem::path(GUserFolder) / Name; }

    std::unique_ptr<QMainWindow> Window;
    TVkMainDockPanels Panels;
    TVkDockingInterface* Interface = nullptr;
    int Changes = 0;
};

TEST_F(Desktops, TheEntitiesWindowFloatingIsSavedAsTheHandCheckedFileAndComesBack) {
    Floating("SelectionForm", QRect(964, 213, 200, 300));
    Settle();
    WriteDesktopFile(File("one.dsk"));
    EXPECT_EQ(ReadDesktopBytes(File("one.dsk")), EntitiesFloatingDesktop());

    Tool("SelectionForm")->close();
    Settle();
    ASSERT_EQ(GTools.count("SelectionForm"), 0u);
    Interface->LoadDesktopFile(File("one.dsk"));
    Settle();
    EXPECT_EQ(Changes, 1);
    ASSERT_EQ(GTools.count("SelectionForm"), 1u);
    TToolForm* Again = Tool("SelectionForm");
    EXPECT_TRUE(Again->isVisible());
    EXPECT_TRUE(Again->isFloating());
    EXPECT_EQ(Again->geometry(), QRect(964, 213, 200, 300));
    EXPECT_EQ(Interface->DesktopName(), "<none>");
}

TEST_F(Desktops, ALayoutSavedAndLoadedHasTheSameArrangement) {
    Floating("ConsoleForm", QRect(600, 100, 220, 160));

    TVkConjoinDockSiteForm* Conjoined = GDockingManager->CreateConjoinSite();
    Conjoined->setGeometry(120, 420, 360, 200);
    Conjoined->DockClient(Tool("OpeningsForm"), nullptr, alNone);
    Conjoined->DockClient(Tool("GroupsForm"), Tool("OpeningsForm"), alRight);
    Conjoined->show();

    TVkTabbedDockSiteform* Tabbed = GDockingManager->CreateTabbedSite();
    Tabbed->setGeometry(500, 420, 260, 180);
    Tabbed->DockClient(Tool("HelpForm"));
    Tabbed->DockClient(Tool("ErrorsForm"));
    Tabbed->PageControl->setTabPosition(QTabWidget::South);
    Tabbed->PageControl->ShowPageOf(Tool("HelpForm"));
    Tabbed->show();

    DockAtEdge(Tool("SelectionForm"), Qt::LeftDockWidgetArea, nullptr, alBottom);
    DockAtEdge(Tool("EntityForm"), Qt::LeftDockWidgetArea, Tool("SelectionForm"), alBottom);
    TVkTabbedDockSiteform* Bottom = GDockingManager->CreateTabbedSite();
    DetachForm(Bottom);
    DockBeside(*Window, Qt::BottomDockWidgetArea, nullptr, Bottom, alRight);
    Bottom->DockClient(Tool("HierarchyForm"));
    Bottom->DockClient(Tool("CalculatorForm"));
    Settle();

    GDockingManager->DesktopName = "Lines plan";
    const TVkDesktop Before = CaptureDesktop();
    // What was built is what is saved: one free window, two free sites, two edge panels and the
    // console's place; the right edge panel is empty and has no record.
    ASSERT_EQ(Before.FreeWindows, std::vector<std::string>{"ConsoleForm"});
    ASSERT_EQ(Before.Sites.size(), 2u);
    auto Names = [](const TVkDesktopLayout& Layout) {
        std::vector<std::string> Found;
        for (const TVkDesktopLeaf& Leaf : Layout.Leaves) Found.push_back(Leaf.Name);
        return Found;
    };
    EXPECT_EQ(Names(Before.Sites[0].Layout), (std::vector<std::string>{"OpeningsForm", "GroupsForm"}));
    EXPECT_TRUE(Before.Sites[0].Layout.Tree.Horizontal);
    EXPECT_EQ(Before.Sites[1].Tabs, (TVkDesktopTabs{tpBottom, {"HelpForm", "ErrorsForm"}, "HelpForm"}));
    ASSERT_EQ(Before.Panels.size(), 3u);
    EXPECT_EQ(Before.Panels[0].FullName, "MainForm.VkDockPanel1");
    EXPECT_EQ(Names(Before.Panels[0].Layout), (std::vector<std::string>{"SelectionForm", "EntityForm"}));
    EXPECT_FALSE(Before.Panels[0].Layout.Tree.Horizontal);
    EXPECT_EQ(Before.Panels[1].FullName, "MainForm.VkDockPanel3");
    EXPECT_EQ(Before.Panels[1].TabbedSites.size(), 1u);
    EXPECT_EQ(Before.Panels[2].FullName, "ConsoleForm.VkDockPanel1");
    WriteDesktopFile(File("all.dsk"));

    // Everything closes and comes back from the file.
    GDockingManager->CloseAll();
    Settle();
    EXPECT_TRUE(GTools.empty());
    GDockingManager->DesktopName.clear();
    Interface->LoadDesktopFile(File("all.dsk"));
    Settle();
    const TVkDesktop After = CaptureDesktop();
    EXPECT_EQ(WithoutSizes(After), WithoutSizes(Before));
    EXPECT_EQ(Interface->DesktopName(), "Lines plan");
    EXPECT_EQ(Tool("ConsoleForm")->geometry(), QRect(600, 100, 220, 160));
    EXPECT_EQ(After.Sites[0].Placement, Before.Sites[0].Placement);
    EXPECT_EQ(After.Sites[1].Placement, Before.Sites[1].Placement);
    EXPECT_EQ(Window->dockWidgetArea(Tool("SelectionForm")), Qt::LeftDockWidgetArea);
    EXPECT_FALSE(FirstDockPanel(Tool("EntityForm"))->IsDockSite());
    auto* BottomAgain = qobject_cast<TVkTabbedDockSiteform*>(Tool("CalculatorForm")->HostSite());
    ASSERT_NE(BottomAgain, nullptr);
    EXPECT_EQ(Window->dockWidgetArea(BottomAgain), Qt::BottomDockWidgetArea);
    // The docked windows keep their sizes within a few pixels.
    for (size_t I = 0; I < Before.Panels[0].Layout.Leaves.size(); ++I) {
        EXPECT_NEAR(After.Panels[0].Layout.Leaves[I].Width, Before.Panels[0].Layout.Leaves[I].Width, 8);
        EXPECT_NEAR(After.Panels[0].Layout.Leaves[I].Height, Before.Panels[0].Layout.Leaves[I].Height, 8);
    }
}

TEST_F(Desktops, ADamagedFileIsDeletedAndLeavesTheWindowsAsTheyWere) {
    TToolForm* Console = Floating("ConsoleForm", QRect(600, 100, 220, 160));
    TToolForm* Groups = Floating("GroupsForm", QRect(300, 300, 200, 150));
    Settle();
    WriteDesktopFile(File("good.dsk"));
    const std::string Bytes = ReadDesktopBytes(File("good.dsk"));
    {
        std::ofstream Cut(File("cut.dsk"), std::ios::binary);
        Cut << Bytes.substr(0, Bytes.size() - 3);
    }
    Console->move(650, 120);

    // The manager refuses it with a clear message before it touches anything ...
    const std::string Truncated = Bytes.substr(0, Bytes.size() - 3);
    TVkByteReader Stream(Truncated);
    EXPECT_THROW(GDockingManager->LoadFromStream(Stream), EInOutError);
    // ... and the interface drops the file without a word.
    Interface->LoadDesktopFile(File("cut.dsk"));
    Settle();
    EXPECT_EQ(Changes, 0);
    EXPECT_FALSE(std::filesystem::exists(File("cut.dsk")));
    EXPECT_EQ(Tool("ConsoleForm"), Console);
    EXPECT_EQ(Tool("GroupsForm"), Groups);
    EXPECT_EQ(Console->geometry().topLeft(), QPoint(650, 120));
    EXPECT_TRUE(Groups->isVisible());

    // Without a file nothing opens, and the desktop counts as changed once.
    Interface->LoadDesktopFile(File("none.dsk"));
    EXPECT_EQ(Changes, 1);
}

TEST_F(Desktops, NamedDesktopsAreSavedListedAndSwitchedToAtIdleTime) {
    Floating("ConsoleForm", QRect(600, 100, 220, 160));
    Settle();
    Interface->SaveDesktopAs("My Desk/1");
    EXPECT_TRUE(std::filesystem::exists(File("My Desk1.dsk")));
    EXPECT_EQ(Interface->DesktopName(), "My Desk/1");
    ASSERT_EQ(Interface->Desktops.Count(), 1);
    EXPECT_EQ(Interface->Desktops.Item(0).Name, "My Desk1");
    Interface->SaveDesktopAs("//");
    EXPECT_EQ(Interface->Desktops.Count(), 1);

    TVkDockingDesktops Scanned;
    Scanned.Scan(GUserFolder);
    ASSERT_EQ(Scanned.Count(), 1);
    EXPECT_EQ(Scanned.Item(0).Name, "My Desk/1");

    QMenu Menu;
    Interface->SetDesktopMenu(&Menu);
    ASSERT_EQ(Menu.actions().size(), 3);
    EXPECT_EQ(Menu.actions()[0]->text(), "My Desk1");
    EXPECT_TRUE(Menu.actions()[1]->isSeparator());
    EXPECT_EQ(Menu.actions()[2]->text(), "Save Desktop...");

    Tool("ConsoleForm")->close();
    Settle();
    Menu.actions()[0]->trigger();
    // Not inside the click: the desktop changes once the event loop is idle.
    EXPECT_EQ(GTools.count("ConsoleForm"), 0u);
    EXPECT_EQ(Changes, 0);
    Settle();
    EXPECT_EQ(Changes, 1);
    ASSERT_EQ(GTools.count("ConsoleForm"), 1u);
    EXPECT_EQ(Tool("ConsoleForm")->geometry(), QRect(600, 100, 220, 160));
    Interface->SetDesktopMenu(nullptr);
}

// Qt's warnings while it lives, kept for the test to read.
class TWarnings {
public:
    TWarnings() {
        Kept.clear();
        Old = qInstallMessageHandler([](QtMsgType Type, const QMessageLogContext&, const QString& Text) {
            if (Type == QtWarningMsg) Kept.push_back(Text.toStdString());
        });
    }
    ~TWarnings() { qInstallMessageHandler(Old); }
    std::vector<std::string> Containing(const std::string& Part) const {
        std::vector<std::string> Found;
        for (const std::string& Text : Kept)
            if (Text.find(Part) != std::string::npos) Found.push_back(Text);
        return Found;
    }

private:
    static inline std::vector<std::string> Kept;
    QtMessageHandler Old;
};

std::vector<std::string> VisibleTopLevelWindows() {
    std::vector<std::string> Names;
    for (QWidget* W : QApplication::topLevelWidgets())
        if (W->isVisible()) Names.push_back(W->objectName().toStdString() + " \"" + W->windowTitle().toStdString() + "\"");
    return Names;
}

class MainWindowDesktop : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!GSettings) InitializeSettings();
    }
    static void TearDownTestSuite() { FinalizeSettings(); }
    void TearDown() override {
        std::filesystem::remove(TVkDockingInterface::DesktopFileName());
        Settle();
    }
};

TEST_F(MainWindowDesktop, TheConsoleOpenAtCloseIsBackAtTheNextStart) {
    std::filesystem::remove(TVkDockingInterface::DesktopFileName());
    {
        TMainForm Form;
        Form.show();
        Settle();
        EXPECT_EQ(GConsoleForm, nullptr);
        EXPECT_EQ(Form.VkDockingInterface1->GetOnReloadDockedControl() != nullptr, true);
        FloatForm(GetConsoleForm(), QRect(700, 150, 300, 200));
        Settle();
        EXPECT_TRUE(Form.close());
        EXPECT_TRUE(std::filesystem::exists(TVkDockingInterface::DesktopFileName()));
    }
    Settle();
    EXPECT_EQ(GConsoleForm, nullptr);
    {
        TMainForm Form;
        ASSERT_NE(GConsoleForm, nullptr);
        EXPECT_TRUE(GConsoleForm->isVisible());
        EXPECT_EQ(GConsoleForm->geometry(), QRect(700, 150, 300, 200));
    }
    Settle();
}

// The program's own start and end as main() has them: the window made, the event loop run, the
// window freed. Exit is chosen from the File menu with the mouse once the loop runs.
bool RunAndExit(std::unique_ptr<TMainForm>& Form) {
    Form->show();
    bool TimedOut = false;
    QTimer::singleShot(0, [&] {
        QMenu* File = OpenMenu(*Form, Form->File1);
        ClickMenuItem(File, "E&xit");
    });
    // A loop that does not end by itself fails the test instead of hanging it.
    QTimer Guard;
    Guard.setSingleShot(true);
    QObject::connect(&Guard, &QTimer::timeout, [&] {
        TimedOut = true;
        QApplication::exit(1);
    });
    Guard.start(10000);
    QApplication::exec();
    Guard.stop();
    Form.reset();
    Settle();
    return !TimedOut;
}

TEST_F(MainWindowDesktop, ExitEndsTheProgramWhateverTheRestoredDesktopHeld) {
    std::filesystem::remove(TVkDockingInterface::DesktopFileName());
    const TWarnings Warnings;
    {
        // A desktop with every tool window: free ones, a conjoined and a tabbed site floating, two
        // docked at the left edge and a tabbed site docked at the bottom.
        TMainForm Form;
        Form.resize(1000, 740);
        Form.show();
        Settle();
        FloatForm(GetErrorsForm(), QRect(700, 150, 300, 200));
        FloatForm(GetConsoleForm(), QRect(650, 400, 300, 200));
        TVkConjoinDockSiteForm* Conjoined = GDockingManager->CreateConjoinSite();
        Conjoined->setGeometry(120, 420, 360, 200);
        Conjoined->DockClient(GetOpeningsForm(), nullptr, alNone);
        Conjoined->DockClient(GetGroupsForm(), GetOpeningsForm(), alRight);
        Conjoined->show();
        TVkTabbedDockSiteform* Tabbed = GDockingManager->CreateTabbedSite();
        Tabbed->setGeometry(500, 420, 260, 180);
        Tabbed->DockClient(GetHelpForm());
        Tabbed->DockClient(GetCalculatorForm());
        Tabbed->show();
        for (TVkDockForm* Docked : std::vector<TVkDockForm*>{GetSelectionForm(), GetEntityForm()}) {
            DetachForm(Docked);
            DockBeside(Form, Qt::LeftDockWidgetArea, nullptr, Docked, alBottom);
        }
        TVkTabbedDockSiteform* Bottom = GDockingManager->CreateTabbedSite();
        DetachForm(Bottom);
        DockBeside(Form, Qt::BottomDockWidgetArea, nullptr, Bottom, alRight);
        Bottom->DockClient(GetHierarchyForm());
        Settle();
        ASSERT_TRUE(Form.close());
    }
    Settle();
    ASSERT_TRUE(std::filesystem::exists(TVkDockingInterface::DesktopFileName()));
    ASSERT_EQ(VisibleTopLevelWindows(), std::vector<std::string>{});

    // Started again, the desktop comes back while the window is built; Exit ends everything, twice.
    for (int Run = 0; Run < 2; ++Run) {
        // As the program starts, splash screen and all.
        auto Form = StartProgram({}, 0);
        Settle();
        const QPointer<QWidget> Errors = GetErrorsForm();
        EXPECT_TRUE(Errors->isVisible()) << "restored floating";
        EXPECT_EQ(Errors->parentWidget(), Form.get());
        // The tool window is the main window's to the window system too: above it, and no window of
        // its own that keeps the program running.
        ASSERT_NE(Form->windowHandle(), nullptr);
        ASSERT_NE(Errors->windowHandle(), nullptr);
        EXPECT_EQ(Errors->windowHandle()->transientParent(), Form->windowHandle());
        EXPECT_TRUE(RunAndExit(Form)) << "run " << Run << ": the event loop did not end";
        EXPECT_EQ(VisibleTopLevelWindows(), std::vector<std::string>{}) << "run " << Run;
        EXPECT_TRUE(Errors.isNull());
    }
    // Windows laid out before they have their geometry ask for no impossible sizes.
    EXPECT_EQ(Warnings.Containing("Negative sizes"), std::vector<std::string>{});
}

}  // namespace
}  // namespace sarnova
