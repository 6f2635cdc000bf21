// The macro interpreter of the document: the run and its console lines, built-in commands, variables,
// entity commands, INCLUDE and IMPORT, errors by file and line, one undo step per run, and the macro
// items of the Calculation menu.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "document/GeoFace.h"
#include "document/GeoFaceMacro.h"
#include "document/GeometryClasses.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/MacroFile.h"
#include "foundation/Keys.h"
#include "platform/Menu.h"
#include "tests/document/TestPoint.h"

namespace sarnova {
namespace {

using test::TTestPoint;

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

class GeoFaceMacroTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RegisterTestClasses();
        Dir = fs::temp_directory_path() / ("sarnova-macro-" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        GConsole->OnLine = [this](const std::string& Line) { Console.push_back(Line); };
    }
    void TearDown() override {
        GConsole->OnLine = nullptr;
        fs::remove_all(Dir);
    }

    fs::path Write(const std::string& Name, const std::string& Text) {
        const fs::path Path = Dir / Name;
        std::ofstream(Path, std::ios::binary) << Text;
        return Path;
    }
    // Runs Text as the macro file Name; the error text, empty when the run succeeded.
    std::string Run(const std::string& Text, const std::string& Name = "run.cmd") {
        Macro = std::make_unique<TMacroFile>();
        Macro->LoadFromFile(Write(Name, Text));
        try {
            Doc.RunMacro(*Macro);
        } catch (const EError& E) {
            return E.what();
        }
        return {};
    }
    TTestPoint* AddPoint(const std::string& Name, double X, double Y = 0, double Z = 0) {
        return static_cast<TTestPoint*>(Doc.Add(std::make_unique<TTestPoint>(Name, X, Y, Z)));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> Result;
        for (int I = 0; I < Doc.Count(); ++I) Result.push_back(Doc.Items(I).GetName());
        return Result;
    }
    std::vector<std::string> Selected() const {
        std::vector<std::string> Result;
        for (int I = 0; I < Doc.Count(); ++I)
            if (Doc.Items(I).GetSelected()) Result.push_back(Doc.Items(I).GetName());
        return Result;
    }
    std::string Saved(const std::string& Name) {
        const fs::path Path = Dir / Name;
        Doc.TGeometryList::SaveToFile(Path);
        return ReadFile(Path);
    }

    fs::path Dir;
    TGeometryInterface Doc;
    std::unique_ptr<TMacroFile> Macro;
    std::vector<std::string> Console;
};

TEST_F(GeoFaceMacroTest, ARunWithNothingToDoWritesItsConsoleLinesOnly) {
    AddPoint("P1", 1);
    Doc.GetUndoManager().Clear();
    EXPECT_EQ(Run("// only a comment\n(* and\n a block *)\n\n   \n"), "");
    const std::string File = (Dir / "run.cmd").string();
    EXPECT_EQ(Console, (std::vector<std::string>{"Running Macro " + File + "...", "Ready", ""}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"P1"}));
    EXPECT_FALSE(Doc.CanUndo());
    EXPECT_FALSE(Doc.Updating());
}

TEST_F(GeoFaceMacroTest, AssignmentsSetVariablesThatLaterNumbersUse) {
    AddPoint("P1", 1, 2, 3)->SetSelected(true);
    EXPECT_EQ(Run("A = 2*3\nb = a+1\nLISTVARIABLES\nMOVE X=B-A\n"), "");
    EXPECT_EQ(Console, (std::vector<std::string>{"Running Macro " + (Dir / "run.cmd").string() + "...",
                                                 "Variable A set to 6.00", "Variable B set to 7.00", " ",
                                                 "Variables:", " A = 6.00", " B = 7.00", " ", "Ready", ""}));
    EXPECT_DOUBLE_EQ(dynamic_cast<TTestPoint&>(Doc.Items(0)).Point.X, 2);
    // The variables live for the run only.
    EXPECT_EQ(Doc.Variables, nullptr);
    EXPECT_NE(Run("MOVE X=A\n").find("Unable to convert A to number"), std::string::npos);
}

TEST_F(GeoFaceMacroTest, ErrorsNameTheFileAndTheLineAndEndTheRun) {
    AddPoint("P1", 1)->SetSelected(true);
    const std::pair<const char*, const char*> Cases[] = {
        {"ROTATE X = 30", "No Rotation Specified"},
        {"MOVE X=0 COPY", "No Translation Specified"},
        {"MOVE AX=5", "No Translation Specified"},
        {"SCALE 2 3", "No Scale Specified"},
        {"SCALE", "No Scale Specified"},
        {"SCALE 1", "No Scale Transformation Specified"},
        {"SCALE X=1 COPY", "No Scale Transformation Specified"},
        {"MIRROR AB 0", "Mirror Transform incorrectly Specified"},
        {"MIRROR XY", "Mirror Transform incorrectly Specified"},
        {"MIRROR XY 0 1", "Mirror Transform incorrectly Specified"},
        {"Frobnicate all", "Command not found Frobnicate all"},
        {"INCLUDE Missing.cmd", "File not found Missing.cmd"},
        {"INCLUDE", "File not found "},
        {"IMPORT nothing.geo", "File not found nothing.geo"},
        {"Ghost.Name = X", "Entity Ghost not found"},
        {"C = B*3", "Unable to convert B*3 to number"},
        {"MOVE X=1/0", "Unable to convert 1/0 to number"},
        {"P1.Size = 3", "Test Point (P1) does not have any associated funtions"},
    };
    const std::string File = (Dir / "run.cmd").string();
    for (auto [Line, Text] : Cases) {
        Console.clear();
        EXPECT_EQ(Run(std::string("A = 1\n") + Line + "\nB = 2\n"), "Error: " + File + "(2): " + Text) << Line;
        // The cleanup ran: the last lines are still "Ready" and "", no bracket or variable list is left.
        ASSERT_GE(Console.size(), 2u);
        EXPECT_EQ(Console[Console.size() - 2], "Ready") << Line;
        EXPECT_EQ(Console.back(), "") << Line;
        EXPECT_EQ(Console.size(), 4u) << Line;  // Running, Variable A, Ready, ""
        EXPECT_FALSE(Doc.Updating()) << Line;
        EXPECT_EQ(Doc.Variables, nullptr) << Line;
    }
    EXPECT_DOUBLE_EQ(dynamic_cast<TTestPoint&>(Doc.Items(0)).Point.X, 1);
}

TEST_F(GeoFaceMacroTest, StopEndsTheRunAndLinesThatMerelyContainItAreIgnored) {
    EXPECT_EQ(Run("A = 1\nXSTOPY\n  stop  \nB = 2\nFrobnicate\n"), "");
    EXPECT_EQ(Console[1], "Variable A set to 1.00");
    EXPECT_EQ(Console[2], "Ready");
}

TEST_F(GeoFaceMacroTest, TransformsActOnTheSelection) {
    struct TCase {
        const char* Line;
        double X, Y, Z;
        bool Copy;
    };
    const TCase Cases[] = {
        {"MOVE X=1 Y=-2 Z=0.5", 2, 0, 3.5, false},
        {"move z=1", 1, 2, 4, false},
        {"D = 3\nMOVE X=D-1 COPY", 3, 2, 3, true},
        // The angles turn points by their negative: (1, 2) about z by 90 degrees goes to (2, -1).
        {"ROTATE Z=90", 2, -1, 3, false},
        {"SCALE 2", 2, 4, 6, false},
        {"SCALE 2 COPY", 2, 4, 6, true},
        {"SCALE X=2 Z=-1", 2, 2, -3, false},
        {"MIRROR XY 1", 1, 2, -1, false},
        {"MIRROR ZY 0", -1, 2, 3, false},
        {"MIRROR XZ 0 COPY", 1, -2, 3, true},
    };
    for (const TCase& C : Cases) {
        Doc.Clear();
        AddPoint("P", 1, 2, 3)->SetSelected(true);
        AddPoint("Other", 5, 5, 5);
        ASSERT_EQ(Run(C.Line), "") << C.Line;
        ASSERT_EQ(Doc.Count(), C.Copy ? 3 : 2) << C.Line;
        const TRPoint& Moved = dynamic_cast<TTestPoint&>(Doc.Items(C.Copy ? 2 : 0)).Point;
        EXPECT_NEAR(Moved.X, C.X, 1e-12) << C.Line;
        EXPECT_NEAR(Moved.Y, C.Y, 1e-12) << C.Line;
        EXPECT_NEAR(Moved.Z, C.Z, 1e-12) << C.Line;
        if (C.Copy) {
            EXPECT_DOUBLE_EQ(dynamic_cast<TTestPoint&>(Doc.Items(0)).Point.X, 1) << C.Line;
        }
        EXPECT_DOUBLE_EQ(dynamic_cast<TTestPoint&>(Doc.Items(1)).Point.X, 5) << C.Line;
    }
}

TEST_F(GeoFaceMacroTest, NamesAndKeywordsAreWholeWords) {
    for (const char* Name : {"Ball1", "Ball10", "Wall", "Hall", "Copy1"}) AddPoint(Name, 1);
    ASSERT_EQ(Run("DELETE BALL1"), "");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ball10", "Wall", "Hall", "Copy1"}));
    ASSERT_EQ(Run("SELECT WALL"), "");
    EXPECT_EQ(Selected(), (std::vector<std::string>{"Wall"}));
    ASSERT_EQ(Run("SELECT ball10, hall , nobody"), "");
    EXPECT_EQ(Selected(), (std::vector<std::string>{"Ball10", "Hall"}));
    ASSERT_EQ(Run("SELECT INVERT"), "");
    EXPECT_EQ(Selected(), (std::vector<std::string>{"Wall", "Copy1"}));
    // COPY1 is a name, not the COPY keyword: the selection itself moves.
    ASSERT_EQ(Run("SELECT Copy1\nMOVE X=1 COPY1"), "");
    EXPECT_EQ(Doc.Count(), 4);
    ASSERT_EQ(Run("SELECT NONE"), "");
    EXPECT_TRUE(Selected().empty());
    ASSERT_EQ(Run("SELECT Wall\nDELETE SELECTED"), "");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Ball10", "Hall", "Copy1"}));
}

TEST_F(GeoFaceMacroTest, ShowHideAndDeleteAll) {
    for (const char* Name : {"A", "B", "C"}) AddPoint(Name, 1);
    ASSERT_EQ(Run("HIDE a c"), "");
    EXPECT_TRUE(Doc.Items(0).IsHidden());
    EXPECT_FALSE(Doc.Items(1).IsHidden());
    EXPECT_TRUE(Doc.Items(2).IsHidden());
    ASSERT_EQ(Run("SHOW C"), "");
    EXPECT_FALSE(Doc.Items(2).IsHidden());
    ASSERT_EQ(Run("HIDE ALL"), "");
    EXPECT_TRUE(Doc.Items(1).IsHidden());
    ASSERT_EQ(Run("SHOW ALL\nHIDE B\nSELECT ALL"), "");
    EXPECT_EQ(Selected(), (std::vector<std::string>{"A", "C"}));
    // Hidden entities are shown first, so that ALL deletes them too.
    ASSERT_EQ(Run("DELETE ALL"), "");
    EXPECT_EQ(Doc.Count(), 0);
}

TEST_F(GeoFaceMacroTest, EntityCommandsGoToTheNamedEntity) {
    const std::pair<const char*, bool> Lines[] = {
        {"P1.NAME=P2", true}, {"X=P1.LENGTH", false}, {"P1.X", true},       {"A = 2", false},
        {"", false},          {"P1 .NAME=X", false},  {"P.Q=R.S T", true}, {"MOVE X=1.5", false}};
    for (auto [Line, IsCommand] : Lines) EXPECT_EQ(TGeometryInterface::IsEntityCommand(Line), IsCommand) << Line;

    AddPoint("Stem", 1);
    ASSERT_EQ(Run("stem.Name = Bow\nBOW.color = red\n"), "");
    EXPECT_EQ(Doc.Items(0).GetName(), "Bow");
    EXPECT_EQ(Doc.Items(0).GetColor(), clRed);
}

// A class whose macro block "MARKER <name>" runs to a line END, one "x y z" line per marker.
class TMarker : public TTestPoint {
public:
    using TTestPoint::TTestPoint;
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TMarker>(); }
    static std::string GetKeyword() { return "TMarker"; }
    static bool CreateFromMacro(TMacroFile& Macro, TGeometryList& List) {
        if (ExtractWord(UpperCase(Macro.GetCurrentLine()), 1) != "MARKER") return false;
        const std::string Name = ExtractWord(Macro.GetCurrentLine(), 2);
        for (std::string Line = Macro.NextLine(); UpperCase(Line) != "END"; Line = Macro.NextLine()) {
            if (Macro.Eof() && Line.empty()) Macro.Error("No END for MARKER " + Name);
            List.Add(std::make_unique<TMarker>(Name, List.EvaluateMacroNumber(ExtractWord(Line, 1), Macro),
                                               List.EvaluateMacroNumber(ExtractWord(Line, 2), Macro),
                                               List.EvaluateMacroNumber(ExtractWord(Line, 3), Macro)));
        }
        return true;
    }
};

TEST_F(GeoFaceMacroTest, EntityClassesTakeTheirBlocksFirst) {
    std::unique_ptr<TGeometryClasses> Program = std::move(GGeometryClasses);
    GGeometryClasses = std::make_unique<TGeometryClasses>();
    GGeometryClasses->AddClass(GeometryClassOf<TMarker>());
    const std::string Error = Run("A = 2\nMARKER M\nA 0 1\nA*2 1 1\nEND\nDELETE M\n");
    GGeometryClasses = std::move(Program);
    ASSERT_EQ(Error, "");
    // The class read the point lines with the run's variables; DELETE M met the first marker only.
    ASSERT_EQ(Names(), (std::vector<std::string>{"M1"}));
    EXPECT_DOUBLE_EQ(dynamic_cast<TTestPoint&>(Doc.Items(0)).Point.X, 4);
}

TEST_F(GeoFaceMacroTest, IncludedMacrosRunWithTheirOwnVariables) {
    Write("Sub.cmd", "B = 5\nMESSAGE hello there\n");
    EXPECT_EQ(Run("A = 1\nINCLUDE " + (Dir / "Sub.cmd").string() + "\nLISTVARIABLES\nMESSAGE back\n"), "");
    const std::string Sub = (Dir / "Sub.cmd").string();
    const std::string Outer = (Dir / "run.cmd").string();
    EXPECT_EQ(Console, (std::vector<std::string>{"Running Macro " + Outer + "...", "Variable A set to 1.00",
                                                 "Running Macro " + Sub + "...", "Variable B set to 5.00", "Ready",
                                                 "", " ", "Variables:", " A = 1.00", " ", "Ready", ""}));
    EXPECT_EQ(Macro->GetMessages(), (std::vector<std::string>{"Message: " + Sub + "(2): HELLO THERE",
                                                              "Message: " + Outer + "(4): BACK"}));

    // An error inside names the included file and its line; its messages still reach the outer file.
    Write("Bad.cmd", "MESSAGE before\nMOVE\n");
    EXPECT_EQ(Run("INCLUDE " + (Dir / "Bad.cmd").string()),
              "Error: " + (Dir / "Bad.cmd").string() + "(2): No Translation Specified");
    EXPECT_EQ(Macro->GetMessages().size(), 1u);
    EXPECT_EQ(Doc.Variables, nullptr);
}

TEST_F(GeoFaceMacroTest, AMacroThatIncludesItselfStopsWithAClearError) {
    const std::string Self = (Dir / "self.cmd").string();
    const std::string Error = Run("A = 1\nINCLUDE " + Self + "\n", "self.cmd");
    EXPECT_EQ(Error, "Error: " + Self + "(2): INCLUDE " + Self + " nested more than 32 deep, does a macro include itself?");
    EXPECT_FALSE(Doc.Updating());
    EXPECT_EQ(Doc.Variables, nullptr);
    EXPECT_FALSE(Doc.CanRedo());
}

TEST_F(GeoFaceMacroTest, ImportAddsADocumentsEntitiesAndRefusesOtherFormats) {
    {
        TGeometryInterface Other;
        Other.Add(std::make_unique<TTestPoint>("Q", 7));
        Other.SaveToFile(Dir / "Other.GEO");
    }
    AddPoint("Q", 1);
    ASSERT_EQ(Run("IMPORT " + (Dir / "Other.GEO").string()), "");
    ASSERT_EQ(Doc.Count(), 2);
    EXPECT_DOUBLE_EQ(dynamic_cast<TTestPoint&>(Doc.Items(1)).Point.X, 7);

    Write("hull.dxf", "0\nSECTION\n");
    Write("hull", "");
    EXPECT_NE(Run("IMPORT " + (Dir / "hull.dxf").string()).find("IMPORT of DXF files not available"), std::string::npos);
    EXPECT_NE(Run("IMPORT " + (Dir / "hull").string()).find("IMPORT of files without extension not available"),
              std::string::npos);
    EXPECT_EQ(Doc.Count(), 2);
}

TEST_F(GeoFaceMacroTest, ARunIsOneUndoStep) {
    AddPoint("A", 1)->SetSelected(true);
    AddPoint("B", 2);
    AddPoint("C", 3);
    {
        TGeometryInterface Other;
        Other.Add(std::make_unique<TTestPoint>("D", 7));
        Other.SaveToFile(Dir / "other.geo");
    }
    Doc.GetUndoManager().Clear();
    const std::string Before = Saved("before.geo");
    ASSERT_EQ(Run("MOVE X=1 COPY\nSELECT B, C\nROTATE Z=45\nC.Name = E\nHIDE A\nIMPORT " +
                  (Dir / "other.geo").string() + "\nSELECT A1\nDELETE SELECTED\n"),
              "");
    const std::string After = Saved("after.geo");
    ASSERT_NE(After, Before);
    Doc.Undo();
    EXPECT_EQ(Saved("undone.geo"), Before);
    EXPECT_FALSE(Doc.CanUndo());
    Doc.Redo();
    EXPECT_EQ(Saved("redone.geo"), After);

    // A run that fails keeps what it did before the error, as one step.
    Doc.GetUndoManager().Clear();
    const std::string Kept = Saved("kept.geo");
    ASSERT_NE(Run("SELECT ALL\nMOVE X=1\nMOVE X=1\nNONSENSE\n"), "");
    EXPECT_NE(Saved("failed.geo"), Kept);
    Doc.Undo();
    EXPECT_EQ(Saved("undone.geo"), Kept);
    EXPECT_FALSE(Doc.CanUndo());
}

TEST_F(GeoFaceMacroTest, TheMacrosFolderFillsTheCalculationMenu) {
    const fs::path Macros = Dir / "Macros";
    fs::create_directories(Macros / "sub.cmd");
    std::ofstream(Macros / "b.cmd") << "//MACRONAME  Fair Hull \r\n//MACROSHORTCUT Ctrl+B\r\nA = 1\r\n";
    std::ofstream(Macros / "a.CMD") << "// no header\n//MacroShortCut Shift+F5 too many\n";
    std::ofstream(Macros / "notes.txt") << "//MACRONAME Notes\n";
    TMenuItem Menu;
    Menu.Add("Hydrostatics");
    AddMacroMenuItems(Menu, Doc, Macros);
    ASSERT_EQ(Menu.Count(), 4);
    EXPECT_EQ(Menu.Items(1).Caption, "-");
    EXPECT_EQ(Menu.Items(2).Caption, "a.CMD");
    EXPECT_EQ(Menu.Items(2).ShortCut, 0);
    EXPECT_EQ(Menu.Items(3).Caption, "Fair Hull");
    EXPECT_EQ(Menu.Items(3).ShortCut, scCtrl | 'B');

    Menu.Items(3).Click();
    EXPECT_EQ(Console[1], "Variable A set to 1.00");

    // A menu that already ends with a separator gets no second one; an empty folder adds nothing.
    TMenuItem Ends;
    Ends.Add("-");
    AddMacroMenuItems(Ends, Doc, Macros);
    EXPECT_EQ(Ends.Count(), 3);
    TMenuItem None;
    AddMacroMenuItems(None, Doc, Dir / "nowhere");
    EXPECT_EQ(None.Count(), 0);
}

}  // namespace
}  // namespace sarnova
