#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>

#include "document/Settings.h"
#include "foundation/TextUtils.h"
#include "platform/Registry.h"
#include "controls/FormSave.h"
#include "shell/MainUnit.h"
#include "shell/ShellTestSupport.h"

namespace sarnova {
namespace {

constexpr TSaveOptions AllOptions = soPosition | soVisibility | soState;

// One run of a program: a form with its design placement carrying a placement component, restored
// where its creation would start.
struct TRun {
    explicit TRun(const std::string& Name, TSaveOptions Options = AllOptions, TSaveFile File = sfRegistryFile) {
        Form = std::make_unique<QWidget>();
        Form->setGeometry(10, 20, 200, 150);
        Save = new TFormSave(*Form, Name);
        Save->SaveFile = File;
        Save->SaveOptions = Options;
        Save->RestorePlacement();
    }
    // The end of the run: destroying the form saves its placement.
    void End() {
        Form.reset();
        Settle();
    }
    std::unique_ptr<QWidget> Form;
    TFormSave* Save;
};

TRegIniFile Registry() { return TRegIniFile(ProgramRegistryKey(GExeName)); }

// A placement as the registry holds it: four plain numbers, which may be anything a damaged or
// hand-edited file holds (a QRect could not carry them without overflowing).
struct TStoredBounds {
    int Left, Top, Width, Height;
    TStoredBounds(int L, int T, int W, int H) : Left(L), Top(T), Width(W), Height(H) {}
    TStoredBounds(const QRect& R) : TStoredBounds(R.x(), R.y(), R.width(), R.height()) {}
};

// Stores a placement in the registry as an earlier run would have.
void StorePlacement(const std::string& Name, int Version, TStoredBounds Bounds, int State = 0, int Style = 0,
                    bool Visible = false) {
    TRegIniFile Store = Registry();
    Store.WriteInteger(Name, "FormSaveVersion", Version);
    Store.WriteInteger(Name, "FormLeft", Bounds.Left);
    Store.WriteInteger(Name, "FormTop", Bounds.Top);
    Store.WriteInteger(Name, "FormWidth", Bounds.Width);
    Store.WriteInteger(Name, "FormHeight", Bounds.Height);
    Store.WriteInteger(Name, "WindowState", State);
    Store.WriteInteger(Name, "FormStyle", Style);
    Store.WriteBool(Name, "Visible", Visible);
    Store.Flush();
}

QRect Screen() { return QGuiApplication::primaryScreen()->geometry(); }

TEST(FormSave, PlacementSurvivesARestartInEitherStore) {
    for (TSaveFile File : {sfRegistryFile, sfIniFile}) {
        const std::string Name = File == sfRegistryFile ? "RestartRegistry" : "RestartIni";
        TRun First(Name, AllOptions, File);
        EXPECT_EQ(First.Form->geometry(), QRect(10, 20, 200, 150)) << "a first run keeps the design placement";
        First.Form->setGeometry(40, 50, 300, 200);
        First.Form->show();
        Settle();
        First.End();

        TRun Second(Name, AllOptions, File);
        EXPECT_EQ(Second.Form->geometry(), QRect(40, 50, 300, 200)) << Name;
        // Destroyed while shown, as at a program exit that did not close it first.
        EXPECT_TRUE(Second.Form->isVisible()) << Name;
        EXPECT_TRUE(Second.Save->WasVisible());
    }
    // Each store holds its own values under the component's name.
    TRegIniFile Store = Registry();
    EXPECT_EQ(Store.ReadInteger("RestartRegistry", "FormSaveVersion", -1), 2);
    EXPECT_EQ(Store.ReadInteger("RestartRegistry", "FormWidth", -1), 300);
    EXPECT_FALSE(Store.KeyExists("RestartIni"));
    TRegIniFile Ini("", std::filesystem::path(GWinDir) / (GExeName + ".ini"));
    EXPECT_EQ(Ini.ReadInteger("RestartIni", "FormLeft", -1), 40);
    EXPECT_EQ(Ini.ReadInteger("RestartIni", "FormSaveVersion", -1), 2);
}

TEST(FormSave, AWindowClosedBeforeItWasDestroyedIsStoredHidden) {
    TRun First("ClosedFirst");
    First.Form->show();
    Settle();
    First.Form->close();
    First.End();
    EXPECT_FALSE(Registry().ReadBool("ClosedFirst", "Visible", true));

    TRun Second("ClosedFirst");
    EXPECT_FALSE(Second.Form->isVisible());
    EXPECT_FALSE(Second.Save->WasVisible());
}

TEST(FormSave, AWindowStoredOffTheScreenComesBackOntoIt) {
    const QRect S = Screen();
    const struct {
        const char* Name;
        QRect Stored;
        QRect Expected;
    } Cases[] = {
        {"OffRight", QRect(S.right() + 500, S.top() + 30, 200, 100), QRect(S.right() + 1 - 200, S.top() + 30, 200, 100)},
        {"OffLeftAbove", QRect(S.left() - 5000, S.top() - 4000, 200, 100), QRect(S.left(), S.top(), 200, 100)},
        {"OffBelow", QRect(S.left() + 20, S.bottom() + 900, 200, 100),
         QRect(S.left() + 20, S.bottom() + 1 - 100, 200, 100)},
        // Partly on the screen: left where it was.
        {"HalfOn", QRect(S.right() - 50, S.top() + 10, 200, 100), QRect(S.right() - 50, S.top() + 10, 200, 100)},
    };
    for (const auto& C : Cases) {
        StorePlacement(C.Name, 2, C.Stored, wsNormal, fsNormal, true);
        TRun Run(C.Name);
        Settle();
        EXPECT_EQ(Run.Form->geometry(), C.Expected) << C.Name;
        EXPECT_TRUE(Run.Form->isVisible()) << C.Name;
    }
}

TEST(FormSave, StoredValuesAreKeptWithinWhatAWindowTakes) {
    StorePlacement("Absurd", 2, {2147483000, -2147483000, 2147483647, -40});
    TRun Run("Absurd");
    const QRect G = Run.Form->geometry();
    EXPECT_TRUE(Screen().contains(G.topLeft())) << G.x() << "," << G.y();
    EXPECT_GE(G.height(), 0);
}

TEST(FormSave, OnlyVersion2IsRestoredAndTheNextSaveWritesIt) {
    StorePlacement("OldVersion", 1, QRect(60, 70, 250, 180), wsNormal, fsNormal, true);
    TRun Run("OldVersion");
    EXPECT_EQ(Run.Form->geometry(), QRect(10, 20, 200, 150));
    EXPECT_FALSE(Run.Form->isVisible());
    Run.End();
    TRegIniFile Store = Registry();
    EXPECT_EQ(Store.ReadInteger("OldVersion", "FormSaveVersion", -1), 2);
    EXPECT_EQ(Store.ReadInteger("OldVersion", "FormLeft", -1), 10);
}

TEST(FormSave, OptionsChooseWhatIsRestoredButEverythingIsSaved) {
    StorePlacement("NoPosition", 2, QRect(60, 70, 250, 180), wsNormal, fsStayOnTop, true);
    TRun Run("NoPosition", soVisibility | soState);
    EXPECT_EQ(Run.Form->geometry(), QRect(10, 20, 200, 150));
    EXPECT_EQ(GetFormStyle(*Run.Form), fsStayOnTop);
    EXPECT_TRUE(Run.Form->isVisible());
    Run.End();
    EXPECT_EQ(Registry().ReadInteger("NoPosition", "FormLeft", -1), 10);
    EXPECT_EQ(Registry().ReadInteger("NoPosition", "FormStyle", -1), fsStayOnTop);

    StorePlacement("NoState", 2, QRect(60, 70, 250, 180), wsMaximized, fsStayOnTop, false);
    TRun Positioned("NoState", soPosition);
    EXPECT_EQ(Positioned.Form->geometry(), QRect(60, 70, 250, 180));
    EXPECT_EQ(GetWindowState(*Positioned.Form), wsNormal);
    EXPECT_EQ(GetFormStyle(*Positioned.Form), fsNormal);
}

TEST(FormSave, UnknownStylesAndStatesRestoreNormal) {
    StorePlacement("Unknown", 2, QRect(60, 70, 250, 180), 7, 7, false);
    TRun Run("Unknown");
    Run.Form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    Run.Save->RestorePlacement();
    EXPECT_EQ(GetFormStyle(*Run.Form), fsNormal);
    EXPECT_EQ(GetWindowState(*Run.Form), wsNormal);
}

TEST(FormSave, AMaximisedWindowStoresItsRestoredRectangle) {
    TRun First("Maximised");
    First.Form->setGeometry(30, 40, 220, 160);
    First.Form->showMaximized();
    Settle();
    First.End();
    TRegIniFile Store = Registry();
    EXPECT_EQ(Store.ReadInteger("Maximised", "WindowState", -1), wsMaximized);
    EXPECT_EQ(Store.ReadInteger("Maximised", "FormLeft", -1), 30);
    EXPECT_EQ(Store.ReadInteger("Maximised", "FormWidth", -1), 220);

    TRun Second("Maximised");
    EXPECT_EQ(GetWindowState(*Second.Form), wsMaximized);
    EXPECT_EQ(Second.Form->normalGeometry(), QRect(30, 40, 220, 160));
}

TEST(FormSave, TheMainWindowComesBackWhereItWasLeft) {
    if (!GSettings) InitializeSettings();
    auto First = std::make_unique<TMainForm>();
    First->setGeometry(25, 35, 700, 500);
    First->show();
    Settle();
    First.reset();
    Settle();
    EXPECT_EQ(Registry().ReadInteger("MainFormPosition", "FormStyle", -1), fsMDIForm);

    auto Second = std::make_unique<TMainForm>();
    EXPECT_EQ(Second->geometry(), QRect(25, 35, 700, 500));
    EXPECT_TRUE(Second->isVisible());
    Second.reset();
    Settle();
    // Other suites start from a first run.
    TRegistry Store;
    Store.DeleteKey("\\" + ProgramRegistryKey(GExeName) + "\\MainFormPosition");
}

}  // namespace
}  // namespace sarnova
