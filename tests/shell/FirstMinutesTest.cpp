// The desktop rules a user meets in the first minutes: the undo keys of every desktop program, Esc
// leaving what it should, one window for one file, the main window and its tool windows coming back as
// they were, and a first window that fits a small screen. The tests that need a window manager (the
// placement it gives) check it when SARNOVA_DESKTOP_TEST is set, as tests/shell/desktop-test does.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStatusBar>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "document/GeoFace.h"
#include "document/Geometry.h"
#include "naval/ui/HydrostaticsForm.h"
#include "platform/Registry.h"
#include "shell/ErrorsFloat.h"
#include "shell/ToolWindow.h"
#include "shell/VkGrid.h"
#include "tests/shell/DocumentWindowFixture.h"

namespace sarnova {
namespace {

bool UnderWindowManager() { return std::getenv("SARNOVA_DESKTOP_TEST") != nullptr; }

void PressKey(QWidget& Widget, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    QKeyEvent Press(QEvent::KeyPress, Key, Modifiers);
    QCoreApplication::sendEvent(&Widget, &Press);
    QKeyEvent Release(QEvent::KeyRelease, Key, Modifiers);
    QCoreApplication::sendEvent(&Widget, &Release);
    Settle();
}

const char* const TwoCurves =
    "[TPolyline]\nNumPoints=2\n     0.000      0.000      0.000\n    10.000      0.000      0.000\nName=Keel\n\n"
    "[TPolyline]\nNumPoints=2\n    10.000      0.000      0.000\n    12.000      0.000      5.000\nName=Stem\n";

class FirstMinutes : public test::TDocumentWindowFixture {};

TEST_F(FirstMinutes, UndoAndRedoAnswerTheKeysOfEveryDesktopProgram) {
    EXPECT_EQ(Form->UndoAction->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Alt+Backspace"), QKeySequence("Ctrl+Z")}));
    EXPECT_EQ(Form->RedoAction->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Shift+Alt+Backspace"), QKeySequence("Ctrl+Y"),
                                   QKeySequence("Ctrl+Shift+Z")}));
    // No other command of the main window or a document window answers them: an ambiguous key does
    // nothing at all.
    TViewform* W = OpenWindow(WriteFile("two.geo", TwoCurves));
    ASSERT_NE(W, nullptr);
    std::map<QString, int> Owners;
    for (QWidget* Owner : {static_cast<QWidget*>(Form.get()), static_cast<QWidget*>(W)})
        for (const QAction* Action : Owner->actions())
            for (const QKeySequence& Key : Action->shortcuts()) ++Owners[Key.toString()];
    for (const char* Key : {"Ctrl+Z", "Ctrl+Y", "Ctrl+Shift+Z", "Alt+Backspace"})
        EXPECT_EQ(Owners[QKeySequence(Key).toString()], 1) << Key;

    // The commands undo and redo the document's last step.
    W->GetDocument().SelectByName("Stem");
    W->DeleteSelection();
    ASSERT_EQ(W->GetDocument().Count(), 1);
    Form->UpdateActions();
    Form->UndoAction->trigger();
    EXPECT_EQ(W->GetDocument().Count(), 2);
    Form->UpdateActions();
    Form->RedoAction->trigger();
    EXPECT_EQ(W->GetDocument().Count(), 1);
}

TEST_F(FirstMinutes, EscLeavesPointEditingButNotADrag) {
    TViewform* W = OpenWindow(WriteFile("two.geo", TwoCurves));
    ASSERT_NE(W, nullptr);
    TGeometry* Keel = W->GetDocument().FindByName("Keel");
    ASSERT_NE(Keel, nullptr);
    W->GetDocument().SelectByName("Keel");
    Keel->SetEditing(true);
    ASSERT_EQ(W->GetDocument().GetEditedGeometry(), Keel);
    PressKey(W->GetView(), Qt::Key_Escape);
    EXPECT_FALSE(Keel->Editing());
    EXPECT_EQ(W->GetDocument().GetEditedGeometry(), nullptr);
    // With nothing edited, Esc is the view's as before and changes nothing.
    PressKey(W->GetView(), Qt::Key_Escape);
    EXPECT_EQ(W->GetDocument().Count(), 2);
}

TEST_F(FirstMinutes, EscClosesTheHydrostaticTableFromItsGridAndAFloatingToolWindow) {
    {
        THydrostaticsForm Table;
        Table.show();
        Settle();
        auto* Grid = Table.findChild<TVkGrid*>("VkGrid1");
        ASSERT_NE(Grid, nullptr);
        Grid->setFocus();
        PressKey(*Grid, Qt::Key_Escape);
        EXPECT_FALSE(Table.isVisible());
        EXPECT_EQ(Table.result(), QDialog::Rejected);
    }
    TToolWindowForm* Tool = GetErrorsForm();
    ShowToolWindow(Tool);
    Settle();
    ASSERT_TRUE(Tool->isVisible());
    EXPECT_TRUE(Tool->isFloating());
    PressKey(*Tool, Qt::Key_Escape);
    EXPECT_TRUE(Tool->IsClosing());
}

TEST_F(FirstMinutes, AFileThatIsOpenIsActivatedNotOpenedAgain) {
    const auto First = WriteFile("first.geo", TwoCurves);
    const auto Second = WriteFile("second.geo", TwoCurves);
    TViewform* A = OpenWindow(First);
    TViewform* B = OpenWindow(Second);
    ASSERT_NE(A, B);
    ASSERT_EQ(Active(), B);
    // The same file under another spelling of its path, as the recent-files menu or a link gives it.
    std::filesystem::create_directory_symlink(Folder, Folder / "link");
    for (const auto& Path : {First, Folder / "." / "first.geo", Folder / "link" / "first.geo"}) {
        Form->OpenDocumentFile(Path.string());
        Settle();
        EXPECT_EQ(Form->DocumentWindows().size(), 2u) << Path;
        EXPECT_EQ(Active(), A) << Path;
        Form->OpenDocumentFile(Second.string());
        Settle();
        EXPECT_EQ(Active(), B);
    }
    // An untitled window holds no file and is never taken for one.
    Form->NewDocument();
    Settle();
    EXPECT_EQ(Form->DocumentWindows().size(), 3u);
    EXPECT_EQ(Form->FindDocumentWindow("untitled.geo"), nullptr);
}

// The main window's placement is kept in the registry file when it closes and comes back with the next.
class FirstMinutesRestart : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartModelGlobals(); }
    static void TearDownTestSuite() { StopModelGlobals(); }
    void SetUp() override { std::filesystem::remove(RegistryFileName()); }
    void TearDown() override { std::filesystem::remove(RegistryFileName()); }
};

TEST_F(FirstMinutesRestart, TheFirstWindowFitsTheScreenAndAMaximizedOneComesBackMaximized) {
    const QRect Screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        TMainForm Form;
        Form.show();
        SettleExposed(Form);
        // Its status bar, with the mode hint, is on the screen.
        const QRect Bar(Form.statusBar()->mapToGlobal(QPoint(0, 0)), Form.statusBar()->size());
        EXPECT_TRUE(Screen.contains(Bar)) << Bar.y() << " " << Screen.bottom();
        if (UnderWindowManager()) EXPECT_TRUE(Screen.contains(Form.frameGeometry()));
        Form.showMaximized();
        SettleExposed(Form);
    }
    TMainForm Again;
    Again.show();
    SettleExposed(Again);
    EXPECT_TRUE(Again.isMaximized());
    if (UnderWindowManager()) {
        // Settles until the window manager has given the maximized size.
        for (int I = 0; I < 100 && Again.frameGeometry().width() < Screen.width() - 2; ++I) SettleExposed(Again);
        EXPECT_GE(Again.frameGeometry().width(), Screen.width() - 2);
        EXPECT_GE(Again.frameGeometry().height(), Screen.height() - 2);
    }
}

}  // namespace
}  // namespace sarnova
