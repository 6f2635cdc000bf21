#include "foundation/TextUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "SarnovaVersion.h"
#include "foundation/Errors.h"

namespace sarnova {
namespace {

TEST(Words, CountAndExtract) {
    const std::pair<const char*, int> Counts[] = {
        {"  a  b", 2}, {"", 0}, {"a", 1}, {"a b c ", 3}, {"x\ty z", 3}, {"   ", 0}, {"\ta", 1}};
    for (auto [Line, Count] : Counts) EXPECT_EQ(WordCount(Line), Count) << Line;

    EXPECT_EQ(ExtractWord("x\ty z", 2), "y");  // the tab splits words
    EXPECT_EQ(ExtractWord("  first second  ", 1), "first");
    EXPECT_EQ(ExtractWord("  first second  ", 2), "second");
    EXPECT_EQ(ExtractWord("a b", 3), "");
    EXPECT_EQ(ExtractWord("a b", 0), "");
    EXPECT_EQ(ExtractWord("a b", -1), "");
    EXPECT_EQ(ExtractWord("1.5,2", 1), "1.5,2");  // commas are no separators here

    EXPECT_TRUE(LineHasWord("END", "  x END y"));
    EXPECT_FALSE(LineHasWord("end", "  x END y"));
    EXPECT_FALSE(LineHasWord("EN", "  x END y"));
    EXPECT_FALSE(LineHasWord("", ""));
}

// The split-once words that readers of large files use give what ExtractWord and WordCount give, also at
// control characters (part of a word inside the line, trimmed at its ends) and with repeated splits.
TEST(Words, LineWordsAgreeWithExtractWord) {
    TLineWords Words;
    for (const char* Line : {"  a  b", "", "x\ty\t\tz ", "\x01 a\x02", "\r\n", "1.5,2 -3e4\t#c", " \x7f\xC3\xA9 "}) {
        Words.Split(Line);
        SCOPED_TRACE(Line);
        for (int N = -1; N <= 5; ++N) EXPECT_EQ(std::string(Words.Word(N)), ExtractWord(Line, N)) << N;
        EXPECT_EQ(Words.Count(), WordCount(TrimmedView(Line)));
    }
    std::vector<std::string_view> Split{"left over"};
    SplitWords("\tp  q\t", Split);
    EXPECT_EQ(Split, (std::vector<std::string_view>{"p", "q"}));
}

TEST(Words, CharacterFilters) {
    EXPECT_EQ(TabsToSpaces("a\tb"), "a    b");
    for (auto [In, Out] : {std::pair{"", ""}, std::pair{"no tab", "no tab"}, std::pair{"\t\tx\t", "        x    "}})
        EXPECT_EQ(TabsToSpaces(In), Out) << In;
    EXPECT_EQ(CommasToSpaces("1,2,,3"), "1 2  3");
    EXPECT_EQ(KeepFileNameCharacters("My: desk/top*_v1.2-b?\xC3\xA9"), "My desktop_v1.2-b");
    EXPECT_EQ(Trim("\t a b \r\n"), "a b");
    EXPECT_EQ(UpperCase("abc\xC3\xA9z"), "ABC\xC3\xA9Z");
    EXPECT_EQ(LowerCase("ABC"), "abc");
}

TEST(CommaFields, CountAndExtract) {
    EXPECT_EQ(CommaFieldCount(""), 1);
    EXPECT_EQ(CommaFieldCount("a,b,,c"), 4);
    EXPECT_EQ(ExtractCommaField("a, b ,c", 1), "a");
    EXPECT_EQ(ExtractCommaField("a, b ,c", 2), "b");
    EXPECT_EQ(ExtractCommaField("a, b ,c", 3), "c");
    EXPECT_EQ(ExtractCommaField("a,b", 5), "b");  // beyond the last field: the last one
    EXPECT_EQ(ExtractCommaField("a,,c", 2), "");
    EXPECT_EQ(ExtractCommaField("", 1), "");
}

TEST(CommaFields, LongLinesAreReadWhole) {
    const std::string Long(300, '7');
    EXPECT_EQ(ExtractCommaField("1," + Long + ",2", 2), Long);
    EXPECT_EQ(ExtractCommaField(std::string(400, 'x') + ",tail", 2), "tail");
    EXPECT_EQ(ExtractCommaField(Long, 1), Long);
}

TEST(TextAfterKeyword, IgnoresLetterCase) {
    EXPECT_EQ(TextAfterKeyword("name=", "Name= Hull 1"), "Hull 1");
    EXPECT_EQ(TextAfterKeyword("x", "abc"), "abc");
    EXPECT_EQ(TextAfterKeyword("B", "  abcb  "), "cb");  // the first occurrence
    EXPECT_EQ(TextAfterKeyword("", " abc "), " abc ");
}

TEST(IncrementNameNumber, RaisesTheTrailingNumber) {
    const std::pair<const char*, const char*> Cases[] = {
        {"A007", "A8"},          {"Frame9", "Frame10"},       {"Curve", "Curve1"},
        {"123", "124"},          {"Curve09", "Curve10"},      {"", "1"},
        {"Web 2 x", "Web 2 x1"}, {"X99999999999", "X1"},      // too long for an integer
        {"C2147483647", "C2147483648"},                        // no wrap to a negative number
        {"-5", "-6"},                                          // the "-" is part of the prefix
    };
    for (auto [In, Out] : Cases) EXPECT_EQ(IncrementNameNumber(In), Out) << In;
}

TEST(IsBetween, EitherOrderBothEndsIncluded) {
    EXPECT_TRUE(IsBetween(3, 1, 2));
    EXPECT_TRUE(IsBetween(1, 3, 3));
    EXPECT_TRUE(IsBetween(3, 1, 1));
    EXPECT_FALSE(IsBetween(1, 3, 3.0001));
    EXPECT_FALSE(IsBetween(3, 1, 0.9999));
}

TEST(Version, ProgramVersionFromTheBuild) {
    std::string Value = "unchanged";
    GetVersionInfoValue(2, Value);
    EXPECT_EQ(Value, SARNOVA_FILE_VERSION);
    GetVersionInfoValue(7, Value);
    EXPECT_EQ(Value, SARNOVA_PRODUCT_VERSION);
    GetVersionInfoValue(6, Value);
    EXPECT_EQ(Value, "Sarnova");
    Value = "unchanged";
    GetVersionInfoValue(4, Value);  // not defined by the build
    GetVersionInfoValue(8, Value);
    GetVersionInfoValue(-1, Value);
    EXPECT_EQ(Value, "unchanged");
    EXPECT_EQ(CompareProgramVersion(SARNOVA_FILE_VERSION), 1);
}

TEST(Version, ParseVersionNumbers) {
    EXPECT_EQ(ParseVersionNumbers("8.0.3.120"), (std::array<int, 4>{8, 0, 3, 120}));
    EXPECT_EQ(ParseVersionNumbers(""), (std::array<int, 4>{2147483647, 2147483647, 2147483647, 2147483647}));
    const std::pair<const char*, const char*> Bad[] = {
        {"8.0.3", "'' is not a valid integer value"},
        {"8.x.3.1", "'x' is not a valid integer value"},
        {"1.2.3.4.5", "'4.5' is not a valid integer value"},
        {"abc", "'' is not a valid integer value"},
    };
    for (auto [Text, Message] : Bad) {
        try {
            ParseVersionNumbers(Text);
            ADD_FAILURE() << Text << " was accepted";
        } catch (const EConvertError& E) {
            EXPECT_STREQ(E.what(), Message) << Text;
        }
    }
}

TEST(Version, CompareIgnoresTheThirdNumber) {
    const std::pair<const char*, int> Cases[] = {
        {"8.0.3.120", 1}, {"8.0.9.120", 1}, {"8.0.0.121", 2}, {"7.9.9.999", 0},
        {"8.1.0.0", 2},   {"8.0.3.119", 0}, {"9.0.0.0", 2},   {"", 2},
    };
    for (auto [Text, Result] : Cases) EXPECT_EQ(CompareProgramVersion(Text, "8.0.3.120"), Result) << Text;
    // A program without a version is newer than every document.
    EXPECT_EQ(CompareProgramVersion("8.0.3.120", ""), 0);
}

std::string EnvFolder(const char* Variable) { return std::string(std::getenv(Variable)) + "/"; }

TEST(ProgramFolders, SetAtStartUp) {
    EXPECT_EQ(GExeName, "foundation_tests");
    EXPECT_EQ(GExePath, GExeDir + "foundation_tests");
    EXPECT_EQ(GExeDir.back(), '/');
    EXPECT_EQ(GUserFolder, EnvFolder("XDG_DATA_HOME") + "Tavik/foundation_tests/");
    EXPECT_EQ(LocalAppDataFolder(), EnvFolder("XDG_DATA_HOME"));
    EXPECT_EQ(GWinDir, EnvFolder("XDG_CONFIG_HOME"));
    EXPECT_EQ(GTempDir.back(), '/');
    EXPECT_FALSE(IsDirectory(GUserFolder));  // named, not created
    EXPECT_TRUE(IsDirectory(GTempDir));
    EXPECT_TRUE(IsDirectory(GExeDir));
    EXPECT_FALSE(IsDirectory(GExePath));
}

std::string ReadAll(const std::filesystem::path& File) {
    std::ifstream In(File);
    std::stringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

void WriteAll(const std::filesystem::path& File, const std::string& Text) {
    std::filesystem::create_directories(File.parent_path());
    std::ofstream(File) << Text;
}

// Each test starts from a desktop with no association at all.
class FileAssociation : public ::testing::Test {
protected:
    std::filesystem::path Data = std::getenv("XDG_DATA_HOME");
    std::filesystem::path MimeApps = std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / "mimeapps.list";
    std::filesystem::path Package = Data / "mime/packages/foundation_tests.File.xml";
    std::filesystem::path Entry = Data / "applications/foundation_tests.File.desktop";

    void SetUp() override {
        std::filesystem::remove_all(Data / "mime");
        std::filesystem::remove_all(Data / "applications");
        std::filesystem::remove(MimeApps);
    }
    void TearDown() override { SetUp(); }

    void GiveToOtherProgram(const std::string& Exec) {
        WriteAll(MimeApps, "[Default Applications]\napplication/x-geo=other.desktop;\n");
        WriteAll(Data / "applications/other.desktop", "[Desktop Entry]\nType=Application\nExec=" + Exec + "\n");
    }
};

TEST_F(FileAssociation, NamesFollowTheProgramFile) {
    EXPECT_EQ(ProgramIdentifier(), "foundation_tests.File");
    EXPECT_EQ(FileTypeMimeType(".geo"), "application/x-geo");
}

TEST_F(FileAssociation, RegisterThenFound) {
    EXPECT_FALSE(IsFileTypeRegistered(".geo", true));
    EXPECT_FALSE(IsFileTypeRegistered(".geo", false));
    RegisterFileType(".geo", 1);
    EXPECT_TRUE(IsFileTypeRegistered(".geo", true));
    EXPECT_TRUE(IsFileTypeRegistered(".geo", false));

    EXPECT_EQ(ReadAll(MimeApps), "[Default Applications]\napplication/x-geo=foundation_tests.File.desktop\n");
    const std::string Desktop = ReadAll(Entry);
    EXPECT_NE(Desktop.find("\nExec=\"" + GExePath + "\" %f\n"), std::string::npos) << Desktop;
    EXPECT_NE(Desktop.find("\nMimeType=application/x-geo;\n"), std::string::npos) << Desktop;
    const std::string Mime = ReadAll(Package);
    EXPECT_NE(Mime.find("<mime-type type=\"application/x-geo\">"), std::string::npos) << Mime;
    EXPECT_NE(Mime.find("<comment>foundation_tests File</comment>"), std::string::npos) << Mime;
    EXPECT_NE(Mime.find("<glob pattern=\"*.geo\"/>"), std::string::npos) << Mime;
}

TEST_F(FileAssociation, AnotherProgramAnswersTheNegationOfTakeOver) {
    GiveToOtherProgram("\"/opt/other/bin/other\" %f");
    EXPECT_FALSE(IsFileTypeRegistered(".geo", true));
    EXPECT_TRUE(IsFileTypeRegistered(".geo", false));

    GiveToOtherProgram(GExePath + " %f");  // unquoted: never this program
    EXPECT_FALSE(IsFileTypeRegistered(".geo", true));
    EXPECT_TRUE(IsFileTypeRegistered(".geo", false));

    RegisterFileType(".geo", 1);  // the program takes the association over
    EXPECT_TRUE(IsFileTypeRegistered(".geo", true));
}

TEST_F(FileAssociation, IncompleteEntriesCountAsUnregistered) {
    WriteAll(MimeApps, "[Default Applications]\napplication/x-geo=missing.desktop\n");
    EXPECT_FALSE(IsFileTypeRegistered(".geo", false));

    RegisterFileType(".geo", 1);
    std::filesystem::remove(Package);  // ours, but the type itself is gone
    EXPECT_FALSE(IsFileTypeRegistered(".geo", true));
}

TEST_F(FileAssociation, OtherChoicesOfTheUserStay) {
    WriteAll(MimeApps,
             "[Default Applications]\ntext/plain=editor.desktop\napplication/x-geo=other.desktop\n\n"
             "[Added Associations]\nimage/png=viewer.desktop;\n");
    RegisterFileType(".geo", 1);
    EXPECT_EQ(ReadAll(MimeApps),
              "[Default Applications]\ntext/plain=editor.desktop\n"
              "application/x-geo=foundation_tests.File.desktop\n\n"
              "[Added Associations]\nimage/png=viewer.desktop;\n");

    WriteAll(MimeApps, "[Default Applications]\ntext/plain=editor.desktop\n\n[Added Associations]\nimage/png=v;\n");
    RegisterFileType(".geo", 1);
    EXPECT_EQ(ReadAll(MimeApps),
              "[Default Applications]\ntext/plain=editor.desktop\n"
              "application/x-geo=foundation_tests.File.desktop\n\n"
              "[Added Associations]\nimage/png=v;\n");

    WriteAll(MimeApps, "[Added Associations]\nimage/png=v;\n");
    RegisterFileType(".geo", 1);
    EXPECT_EQ(ReadAll(MimeApps),
              "[Added Associations]\nimage/png=v;\n\n"
              "[Default Applications]\napplication/x-geo=foundation_tests.File.desktop\n");
}

TEST_F(FileAssociation, AFileThatCannotBeWrittenIsReported) {
    WriteAll(Data / "applications", "a file where the folder should be");
    try {
        RegisterFileType(".geo", 1);
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& E) {
        EXPECT_EQ(std::string(E.what()), "Unable to register the file type .geo: cannot write " + Entry.string() + ": not a directory");
    }
    EXPECT_FALSE(IsFileTypeRegistered(".geo", true));
    std::filesystem::remove(Data / "applications");
}

class FileLoader : public ::testing::Test {
protected:
    std::filesystem::path File = std::filesystem::path(std::getenv("HOME")) / "loader.txt";
    void TearDown() override { std::filesystem::remove(File); }
};

TEST_F(FileLoader, HandsOutTrimmedLinesCutAtTheComment) {
    WriteAll(File, "  a # note\r\nb\n\n  c  \rlast");
    TFileLoader Loader;
    Loader.CommentMarker = "#";
    Loader.LoadFromFile(File);
    EXPECT_EQ(Loader.FileName, File.string());
    EXPECT_EQ(Loader.Count(), 5);
    EXPECT_EQ(Loader.LineNumber, 1);
    const char* Expected[] = {"a ", "b", "", "c", "last"};
    for (const char* Line : Expected) {
        ASSERT_FALSE(Loader.Eof());
        EXPECT_EQ(Loader.NextLine(), Line);
        EXPECT_EQ(Loader.Line, Line);
    }
    EXPECT_TRUE(Loader.Eof());
    EXPECT_EQ(Loader.LineNumber, 6);
    EXPECT_EQ(Loader.NextLine(), "");
    EXPECT_EQ(Loader.Line, "last");

    Loader.CommentMarker.clear();
    Loader.LoadFromFile(File);
    EXPECT_EQ(Loader.NextLine(), "a # note");
}

TEST_F(FileLoader, EmptyAndMissingFiles) {
    TFileLoader Loader;
    EXPECT_TRUE(Loader.Eof());
    EXPECT_EQ(Loader.NextLine(), "");

    WriteAll(File, "");
    Loader.LoadFromFile(File);
    EXPECT_EQ(Loader.Count(), 0);
    EXPECT_TRUE(Loader.Eof());

    const auto Missing = File.parent_path() / "missing.txt";
    try {
        Loader.LoadFromFile(Missing);
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& E) {
        EXPECT_EQ(std::string(E.what()), "Cannot open file \"" + Missing.string() + "\". No such file or directory");
    }
    EXPECT_THROW(Loader.LoadFromFile(File.parent_path()), EInOutError);
}

}  // namespace
}  // namespace sarnova
