#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/Settings.h"
#include "shell/CalculatorFloat.h"
#include "shell/ConsoleFloat.h"
#include "shell/EntityFloat.h"
#include "shell/ErrorsFloat.h"
#include "shell/GroupsFloat.h"
#include "shell/HelpFloat.h"
#include "shell/HierarchyFloat.h"
#include "shell/MainUnit.h"
#include "shell/OpeningsFloat.h"
#include "shell/SelectionFloat.h"
#include "shell/ShellTestSupport.h"
#include "shell/VkDockPanelDesktop.h"
#include "shell/VkDockPanelLayout.h"
#include "shell/VkDockPanelManager.h"
#include "shell/VkDockPanelSites.h"

namespace sarnova {
namespace {

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

class Exit : public ::testing::Test {
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

TEST_F(Exit, EndsTheProgramWhateverTheRestoredDesktopHeld) {
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
        // As the program starts: the window is shown as soon as it is built.
        auto Form = std::make_unique<TMainForm>();
        Form->show();
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
