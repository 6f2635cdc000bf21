// The desktop rules a user meets in the first minutes: the undo keys of every desktop program, Esc
// leaving what it should, one window for one file, the main window and its tool windows coming back as
// they were, and a first window that fits a small screen. The tests that need a window manager (the
// placement it gives) check it when SARNOVA_DESKTOP_TEST is set, as tests/shell/desktop-test does.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>

#include <QMdiSubWindow>
#include <QPixmap>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <vector>
#include <memory>
#include <string>

#include "document/GeoFace.h"
#include "document/Geometry.h"
#include "foundation/PolyList.h"
#include "hulls/ui/HalvornFrame.h"
#include "naval/Linesplan.h"
#include "naval/ui/HydrostaticsForm.h"
#include "naval/ui/LinesPlanUnit.h"
#include "naval/ui/VolumesUnit.h"
#include "platform/Registry.h"
#include "shell/EntityFloat.h"
#include "shell/ErrorsFloat.h"
#include "shell/ToolWindow.h"
#include "controls/VkDockPanelDesktop.h"
#include "controls/VkGrid.h"
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
    // No placement and no desktop of another test; none left for the next.
    static void Forget() {
        std::filesystem::remove(RegistryFileName());
        std::filesystem::remove(TVkDockingInterface::DesktopFileName());
    }
    void SetUp() override { Forget(); }
    void TearDown() override { Forget(); }
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
        if (UnderWindowManager()) {
            EXPECT_TRUE(Screen.contains(Form.frameGeometry()));
        }
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

TEST_F(FirstMinutesRestart, TheProgramStartsMaximizedWhenItWasLeftSo) {
    {
        TMainForm Form;
        Form.show();
        SettleExposed(Form);
        Form.showMaximized();
        SettleExposed(Form);
        Form.close();
    }
    const std::unique_ptr<TMainForm> Again = StartProgram({}, 0);
    SettleExposed(*Again);
    for (int I = 0; I < 50; ++I) {
        Settle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(Again->isMaximized());
    if (UnderWindowManager()) {
        const QRect Screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_GE(Again->frameGeometry().width(), Screen.width() - 2);
        EXPECT_GE(Again->frameGeometry().height(), Screen.height() - 2);
    }
}

TEST_F(FirstMinutesRestart, AFloatingToolWindowComesBackInFrontOfTheMainWindow) {
    {
        TMainForm Form;
        Form.show();
        SettleExposed(Form);
        TToolWindowForm* Tool = GetErrorsForm();
        ShowToolWindow(Tool);
        SettleExposed(*Tool);
        Form.close();
        Settle();
    }
    TMainForm Again;
    Again.show();
    SettleExposed(Again);
    TToolWindowForm* Tool = GetErrorsForm();
    ASSERT_TRUE(Tool->isVisible());
    ASSERT_TRUE(Tool->isFloating());
    SettleExposed(*Tool);
    for (int I = 0; I < 20; ++I) {
        Settle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // What the screen shows where the tool window is: the tool window's own pixels, not the main
    // window's.
    const QImage Own = Tool->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage Shown = ScreenOf(*Tool);
    int Same = 0, Count = 0;
    for (int Y = 0; Y < Own.height() && Y < Shown.height(); Y += 7)
        for (int X = 0; X < Own.width() && X < Shown.width(); X += 7, ++Count) Same += Own.pixel(X, Y) == Shown.pixel(X, Y);
    EXPECT_GT(Same, Count * 9 / 10) << Same << " of " << Count;
    Tool->close();
    Settle();
}

// ---- The examples ----

const std::filesystem::path Examples = std::filesystem::path(SARNOVA_SOURCE_DIR) / "examples";

// The figures of a recipe's log (examples/make/NAME.log): the rows of numbers after a header that
// starts with Header, each row's numbers in order.
std::vector<std::vector<double>> LoggedRows(const std::string& Name, const std::string& Header) {
    std::ifstream In(Examples / "make" / (Name + ".log"));
    std::vector<std::vector<double>> Rows;
    bool Inside = false;
    for (std::string Line; std::getline(In, Line);) {
        std::istringstream Words(Line);
        std::string First;
        Words >> First;
        if (First == Header) {
            if (Inside) break;
            Inside = true;
            continue;
        }
        if (!Inside) continue;
        std::vector<double> Row;
        std::istringstream Numbers(Line);
        for (double Value; Numbers >> Value;) Row.push_back(Value);
        if (Row.empty()) break;
        Rows.push_back(Row);
    }
    return Rows;
}

double GridNumber(TVkGrid& Grid, int Col, int Row) { return std::stod(Grid.Cell(Col, Row).DisplayText()); }

// Each example opened as a user opens it, its key figures in the windows checked against its recipe's
// log; SARNOVA_SCREENSHOT_DIR collects the pictures of the README (scripts/screenshots).
class FirstMinutesExamples : public test::TDocumentWindowFixture {
protected:
    TViewform* OpenExample(const std::string& Name) {
        TViewform* W = OpenWindow(Examples / (Name + ".geo"));
        if (W) {
            SubWindow(W)->showMaximized();
            SettleExposed(*Form);
            // Turned a little from the plan, as a user turns it to see the hull in 3-D.
            TOpenGLView& View = W->GetView();
            const int X = View.width() / 2, Y = View.height() / 2;
            View.RotateWorldBegin(X, Y);
            View.RotateWorldDrag(X + 60, Y - 90);
            View.RotateWorldEnd();
            W->ZoomAll();
            Settle();
        }
        return W;
    }
    // The whole screen, floating windows and the window manager's frames included.
    static void ScreenShot(const std::string& Name) {
        const char* Dir = std::getenv("SARNOVA_SCREENSHOT_DIR");
        if (!Dir) return;
        // Lets the window manager and the views finish their frames.
        for (int I = 0; I < 20; ++I) {
            Settle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        QGuiApplication::primaryScreen()->grabWindow(0).save(
            QString::fromStdString((std::filesystem::path(Dir) / (Name + ".png")).string()));
    }
    // Shows Dialog over the main window's right half, for the picture.
    void ShowBeside(QWidget& Dialog, QSize Size) {
        const QRect Main = Form->frameGeometry();
        Dialog.resize(Size.boundedTo(Main.size() - QSize(40, 120)));
        Dialog.move(Main.right() - Dialog.width() - 30, Main.bottom() - Dialog.height() - 60);
        Dialog.show();
        SettleExposed(Dialog);
    }
};

TEST_F(FirstMinutesExamples, TheShipShowsItsHydrostaticTable) {
    ScreenShot("first-start");
    TViewform* W = OpenExample("ship");
    ASSERT_NE(W, nullptr);
    ASSERT_NE(W->GetDocument().FindByName("Ship"), nullptr);
    W->GetDocument().SelectByName("Ship");
    ScreenShot("ship");

    // The hull's own menu shades it, and takes the shading off again.
    TGeometry* Ship = W->GetDocument().FindByName("Ship");
    for (bool On : {true, false}) {
        W->PopupMenu1Popup();
        QMenu* EntityMenu = W->PopupMenu1->actions().first()->menu();
        ASSERT_NE(EntityMenu, nullptr);
        auto* Render = EntityMenu->findChild<QAction*>("RenderEntityItem");
        ASSERT_NE(Render, nullptr);
        EXPECT_EQ(Render->isChecked(), !On);
        Render->trigger();
        EXPECT_EQ(Ship->GetDisplayState(), On ? dsRendered : dsNormal);
    }

    // The generator's frame in the Attributes window: the window widens to show it whole, or scrolls
    // sideways where the screen is too narrow; nothing is cut off.
    RegisterHalvornFrame();
    TEntityForm* Attributes = GetEntityForm();
    ShowToolWindow(Attributes);
    SettleExposed(*Attributes);
    Settle();
    ASSERT_NE(Attributes->ShownFrame(), nullptr);
    const int Needed = Attributes->ShownFrame()->minimumSizeHint().width();
    EXPECT_TRUE(Attributes->FrameArea->viewport()->width() >= Needed ||
                Attributes->FrameArea->horizontalScrollBar()->isVisible())
        << Needed << " " << Attributes->FrameArea->viewport()->width();
    ScreenShot("ship-frame");
    Attributes->close();
    Settle();

    const auto Logged = LoggedRows("ship", "T");
    ASSERT_EQ(Logged.size(), 7u);
    THydrostaticsForm Table;
    Table.SetDocument(&W->GetDocument());
    ShowBeside(Table, {900, 330});
    for (int I = 0; I < 500 && !(Table.GetSections() && Table.Button1->isEnabled()); ++I) {
        Settle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_NE(Table.GetSections(), nullptr);
    Table.Edit1->setText("1, 2, 3, 4, 4.172, 5, 6");
    Table.Button1->click();
    Settle();
    // Rows of draughts below the header; T, DISPM, VOLM, LCB as the recipe logged them.
    ASSERT_EQ(Table.VkGrid1->GetRowCount(), 8);
    for (int R = 1; R <= 7; ++R)
        for (int C = 0; C < 4; ++C)
            EXPECT_NEAR(GridNumber(*Table.VkGrid1, C, R), Logged[R - 1][C], 1.5e-3) << R << " " << C;
    ScreenShot("ship-hydrostatics");
}

TEST_F(FirstMinutesExamples, TheYachtShowsItsLinesPlan) {
    TViewform* W = OpenExample("yacht");
    ASSERT_NE(W, nullptr);
    ASSERT_NE(W->GetDocument().FindByName("Yacht"), nullptr);
    W->GetDocument().SelectByName("Yacht");
    ScreenShot("yacht");
    TLinesPlanForm Plan(Dialogs);
    Plan.Setup(&W->GetDocument());
    ShowBeside(Plan, {900, 560});
    EXPECT_GT(Plan.Plan().ToPolylineList()->Count(), 10);
    ScreenShot("yacht-lines-plan");
}

TEST_F(FirstMinutesExamples, TheCurveNetworkHullHasItsSurface) {
    TViewform* W = OpenExample("curve-hull");
    ASSERT_NE(W, nullptr);
    TGeometryInterface& Doc = W->GetDocument();
    ASSERT_NE(Doc.FindByName("XTSurface1"), nullptr);
    for (const char* Curve : {"Keel", "Stem", "Sternpost", "Sheer", "Station1", "Station5"})
        EXPECT_NE(Doc.FindByName(Curve), nullptr) << Curve;
    ScreenShot("curve-hull");
}

TEST_F(FirstMinutesExamples, TheCompartmentsReportTheirVolumes) {
    TViewform* W = OpenExample("compartments");
    ASSERT_NE(W, nullptr);
    ScreenShot("compartments");
    TVolumesForm Report;
    Report.Fill(W->GetDocument());
    ShowBeside(Report, {760, 300});
    // Name, Type, Permeability, Volume, X, Y, Z, VNet; the recipe's log lists the same rows.
    std::map<std::string, int> Rows;
    for (int R = 1; R < Report.VkGrid1->GetRowCount(); ++R) Rows[Report.VkGrid1->Cell(0, R).DisplayText()] = R;
    // The log's rows: the name in 16 characters, then the type, the permeability of a compartment,
    // and the volume, its centre and the net volume.
    std::ifstream Log(Examples / "make" / "compartments.log");
    int Checked = 0;
    bool Inside = false;
    for (std::string Line; std::getline(Log, Line);) {
        if (Line.rfind("Name ", 0) == 0) {
            Inside = true;
            continue;
        }
        if (!Inside || Line.size() < 17 || Line.find("Saving") == 0) continue;
        std::vector<double> Numbers;
        std::istringstream Rest(Line.substr(17));
        for (std::string Word; Rest >> Word;) {
            try {
                Numbers.push_back(std::stod(Word));
            } catch (const std::exception&) {
            }
        }
        if (Numbers.size() < 5) break;
        std::string Name = Line.substr(0, 16);
        Name.erase(Name.find_last_not_of(' ') + 1);
        ASSERT_EQ(Rows.count(Name), 1u) << Name;
        EXPECT_NEAR(GridNumber(*Report.VkGrid1, 3, Rows[Name]), Numbers[Numbers.size() - 5], 1.5e-3) << Name;
        ++Checked;
    }
    EXPECT_EQ(Checked, 8);
    EXPECT_EQ(Report.VkGrid1->Cell(1, Rows["Tanks"]).DisplayText(), "Group");
    EXPECT_NE(W->GetDocument().FindByName("Manhole"), nullptr);
    ScreenShot("compartments-volumes");
}

}  // namespace
}  // namespace sarnova
