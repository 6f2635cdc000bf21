#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/MacroFile.h"

using namespace sarnova;

namespace {

class MacroFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
        Path = std::filesystem::temp_directory_path() / (std::string("macro-") + Info->name() + ".cmd");
    }
    void TearDown() override { std::filesystem::remove(Path); }

    void Load(const std::string& Text) {
        std::ofstream(Path, std::ios::binary) << Text;
        Macro.LoadFromFile(Path);
    }
    // Every line NextLine delivers until the end of the file.
    std::vector<std::string> ReadAll() {
        std::vector<std::string> Result;
        while (!Macro.Eof()) Result.push_back(Macro.NextLine());
        return Result;
    }

    std::filesystem::path Path;
    TMacroFile Macro;
};

using TLines = std::vector<std::string>;

TEST_F(MacroFileTest, RemovesComments) {
    const std::pair<const char*, TLines> Cases[] = {
        {"", {}},
        {"A (* x\ny\nz *) B\n", {"A", "B"}},
        {"(* x *) C", {"C"}},
        {"C (* x *)", {"C"}},
        // A comment within a line stands for a blank.
        {"C (* x *) D", {"C   D"}},
        {"A(*x*)B", {"A B"}},
        {"(* x *)\nA", {"A"}},
        {"(* one\n two *)\nA", {"A"}},
        // "//" wins: the "(*" after it opens nothing, and a stray "*)" drops what stands before it.
        {"C // x (*\nD\n*) E", {"C", "D", "E"}},
        // A "(*" inside a block comment does not bring back the text before it.
        {"A (* x\ny (* z *) w\nB", {"A", "w", "B"}},
        // What follows the "*)" that ends a block comment is read like any other line.
        {"A (* x\n*) B // c", {"A", "B"}},
        {"A (* x\n*) B (* y\nz *) C", {"A", "B", "C"}},
        // Blank lines are delivered empty; CR LF line ends are accepted.
        {"A\r\nB // c\r\n\r\n  \r\nC\r\n", {"A", "B", "", "C"}},
        // So are the lone CR line ends of old Mac files.
        {"A\rB // c\r\r  \rC\r", {"A", "B", "", "C"}},
        {"A (* x\ry *) B\rC", {"A", "B", "C"}},
        {"\xEF\xBB\xBF" "A\n", {"A"}},
    };
    for (const auto& [Text, Expected] : Cases) {
        Load(Text);
        EXPECT_EQ(ReadAll(), Expected) << Text;
        EXPECT_EQ(Macro.NextLine(), "") << Text;
        EXPECT_EQ(Macro.GetCursor(), static_cast<int>(Macro.GetLines().size()) + 1) << Text;
    }
}

TEST_F(MacroFileTest, CursorStopsAtTheLineThatClosesAComment) {
    Load("A (* x\ny\nz *) B");
    EXPECT_EQ(Macro.NextLine(), "A");
    EXPECT_EQ(Macro.GetCursor(), 3);
    EXPECT_EQ(Macro.NextLine(), "B");
    EXPECT_EQ(Macro.GetCurrentLine(), "B");
    EXPECT_TRUE(Macro.Eof());
}

TEST_F(MacroFileTest, UnterminatedCommentFailsAtTheLastLine) {
    const std::pair<const char*, int> Cases[] = {{"A (* x\ny", 2}, {"A\n(* x", 2}, {"(*", 1}, {"(* a *) B\n(*\nC\n", 3}};
    for (auto [Text, LastLine] : Cases) {
        Load(Text);
        try {
            while (!Macro.Eof()) Macro.NextLine();
            ADD_FAILURE() << "no error for " << Text;
        } catch (const EError& E) {
            EXPECT_EQ(E.what(), "Error: " + Path.string() + "(" + std::to_string(LastLine) + "): Comment not found");
        }
    }
}

TEST_F(MacroFileTest, ReportsNameTheFileAndLine) {
    Load("A\nB\nC\n");
    Macro.NextLine();
    Macro.NextLine();
    const std::string Name = Path.string();
    try {
        Macro.Error("Command not found FOO");
        ADD_FAILURE();
    } catch (const EError& E) {
        EXPECT_EQ(E.what(), "Error: " + Name + "(2): Command not found FOO");
    }
    EXPECT_THROW(Macro.ErrorAtLine("x", 1), EError);
    Macro.Warning("w");
    Macro.WarningAtLine("early", 1);
    Macro.Message("m");

    TMacroFile Outer;
    Outer.AppendMessages(Macro);
    Outer.AppendMessages(Outer);
    const TLines Expected = {"Warning: " + Name + "(2): w", "Warning: " + Name + "(1): early", "Message: " + Name + "(2): m"};
    EXPECT_EQ(Macro.GetMessages(), Expected);
    TLines Twice = Expected;
    Twice.insert(Twice.end(), Expected.begin(), Expected.end());
    EXPECT_EQ(Outer.GetMessages(), Twice);

    // Loading again keeps the collected messages.
    Load("D");
    EXPECT_EQ(Macro.GetMessages().size(), 3u);
}

TEST_F(MacroFileTest, MissingFileNamesIt) {
    try {
        Macro.LoadFromFile(Path / "missing.cmd");
        ADD_FAILURE();
    } catch (const EInOutError& E) {
        EXPECT_NE(std::string(E.what()).find("missing.cmd"), std::string::npos) << E.what();
    }
}

}  // namespace
