#include "foundation/TextFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/Errors.h"

using namespace sarnova;

namespace {

std::string FileText(const std::filesystem::path& Name) {
    std::ifstream In(Name, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

}  // namespace

TEST(TextReader, ReadsLinesWithAnyLineEnd) {
    TTextReader In("a\nb\r\nc\rd");
    for (const char* Line : {"a", "b", "c", "d"}) {
        EXPECT_FALSE(In.Eof());
        EXPECT_EQ(In.ReadLine(), Line);
    }
    EXPECT_TRUE(In.Eof());
    EXPECT_EQ(In.ReadLine(), "");
    EXPECT_EQ(In.LineNumber(), 4);
}

TEST(TextReader, ReadsRealsAcrossBlanksAndLineEnds) {
    TTextReader In("  1.5\t-2e3\r\n\r\n  .25 7\nrest\n");
    EXPECT_EQ(In.ReadReal(), 1.5);
    EXPECT_EQ(In.ReadReal(), -2000);
    EXPECT_EQ(In.ReadReal(), 0.25);
    EXPECT_EQ(In.LineNumber(), 3);
    EXPECT_EQ(In.ReadReal(), 7);
    In.SkipLine();  // the number's line end is still there
    EXPECT_EQ(In.ReadLine(), "rest");

    // Runs of blanks of every length, ending anywhere in a word of eight characters or at the text's
    // end, then tabs and line ends: each number still starts where its first character is.
    for (int Blanks = 0; Blanks <= 20; ++Blanks) {
        const std::string Pad(static_cast<std::size_t>(Blanks), ' ');
        TTextReader Padded(Pad + "-0.125" + Pad + "\t 3" + Pad + "\n" + Pad + "42.5e1 " + Pad + "17");
        EXPECT_EQ(Padded.ReadReal(), -0.125) << Blanks;
        EXPECT_EQ(Padded.ReadReal(), 3) << Blanks;
        EXPECT_EQ(Padded.ReadReal(), 425) << Blanks;
        EXPECT_EQ(Padded.LineNumber(), 2) << Blanks;
        EXPECT_EQ(Padded.ReadReal(), 17) << Blanks;
        EXPECT_TRUE(Padded.Eof()) << Blanks;
    }

    struct TCase {
        const char* Text;
        const char* Message;
    };
    for (const TCase& C : {TCase{"  \n ", "I/O Result 100"}, TCase{"1,5", "I/O Result 106"},
                           TCase{"abc", "I/O Result 106"}}) {
        TTextReader Bad(C.Text);
        try {
            Bad.ReadReal();
            ADD_FAILURE() << C.Text;
        } catch (const EInOutError& E) {
            EXPECT_STREQ(E.what(), C.Message) << C.Text;
        }
    }
}

TEST(TextFiles, WriteReplacesWholeFilesAndReadBack) {
    const auto Folder = std::filesystem::path(testing::TempDir()) / "text-file";
    std::filesystem::create_directories(Folder);
    const auto Name = Folder / "a.txt";
    TTextWriter Out;
    Out.Write("x=");
    Out.WriteLine("1");
    Out.WriteLine("");
    Out.SaveToFile(Name);
    EXPECT_EQ(FileText(Name), "x=1\n\n");
    EXPECT_EQ(TTextReader::FromFile(Name).ReadLine(), "x=1");

    // A failing write leaves what was there and no temporary behind.
    const auto Blocked = Folder / "blocked";
    std::filesystem::create_directories(Blocked / "inside");
    EXPECT_THROW(Out.SaveToFile(Blocked), EInOutError);
    EXPECT_TRUE(std::filesystem::is_directory(Blocked / "inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder), std::filesystem::directory_iterator()), 2);

    EXPECT_THROW(TTextReader::FromFile(Folder / "missing.txt"), EInOutError);
    EXPECT_THROW(TTextReader::FromFile(Folder), EInOutError);
}

namespace {

class FileReplaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = std::filesystem::path(testing::TempDir()) /
                 (std::string("replace-") + testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(Folder);
        std::filesystem::create_directories(Folder);
    }
    void TearDown() override {
        std::error_code Ignored;
        std::filesystem::remove_all(Folder, Ignored);
    }
    std::filesystem::path Write(const std::string& Name, const std::string& Text) {
        std::ofstream(Folder / Name, std::ios::binary) << Text;
        return Folder / Name;
    }
    static std::filesystem::perms Mode(const std::filesystem::path& Name) {
        return std::filesystem::status(Name).permissions();
    }
    // The message of ReplaceFileText's error, or "" when it wrote.
    static std::string Refusal(const std::filesystem::path& Name, const std::string& Text) {
        try {
            ReplaceFileText(Name, Text, "Cannot write");
        } catch (const EInOutError& E) {
            return E.what();
        }
        return "";
    }

    std::filesystem::path Folder;
};

}  // namespace

TEST_F(FileReplaceTest, KeepsTheModeOfTheFileItReplaces) {
    using std::filesystem::perms;
    for (const perms Kept : {perms::owner_read | perms::owner_write,
                             perms::owner_read | perms::owner_write | perms::group_read,
                             perms::owner_all | perms::group_read | perms::others_read}) {
        const auto Name = Write("doc.geo", "old");
        std::filesystem::permissions(Name, Kept);
        ReplaceFileText(Name, "new", "Cannot write");
        EXPECT_EQ(FileText(Name), "new");
        EXPECT_EQ(Mode(Name), Kept) << static_cast<int>(Kept);
    }
    // A new file gets what the user's mask leaves of rw for all, as any new file does.
    const mode_t Mask = ::umask(0);
    ::umask(Mask);
    ReplaceFileText(Folder / "new.geo", "x", "Cannot write");
    EXPECT_EQ(static_cast<mode_t>(Mode(Folder / "new.geo")), 0666 & ~Mask);
}

TEST_F(FileReplaceTest, WritesThroughSymbolicLinks) {
    const auto Real = Write("real.geo", "old");
    std::filesystem::create_directories(Folder / "links");
    std::filesystem::create_symlink("../real.geo", Folder / "links" / "relative.geo");
    std::filesystem::create_symlink(Folder / "links" / "relative.geo", Folder / "chain.geo");
    for (const auto& Link : {Folder / "links" / "relative.geo", Folder / "chain.geo"}) {
        ReplaceFileText(Link, Link.filename().string(), "Cannot write");
        EXPECT_TRUE(std::filesystem::is_symlink(Link));
        EXPECT_EQ(FileText(Real), Link.filename().string());
    }
    // A link to a file not yet there makes that file.
    std::filesystem::create_symlink("later.geo", Folder / "dangling.geo");
    ReplaceFileText(Folder / "dangling.geo", "made", "Cannot write");
    EXPECT_TRUE(std::filesystem::is_symlink(Folder / "dangling.geo"));
    EXPECT_EQ(FileText(Folder / "later.geo"), "made");
    // A loop of links is refused, not followed for ever.
    std::filesystem::create_symlink("loop-b", Folder / "loop-a");
    std::filesystem::create_symlink("loop-a", Folder / "loop-b");
    EXPECT_NE(Refusal(Folder / "loop-a", "x").find("too many levels of symbolic links"), std::string::npos);
}

TEST_F(FileReplaceTest, RefusesWhatItMustNotReplaceAndSaysWhy) {
    const auto ReadOnly = Write("read-only.geo", "kept");
    std::filesystem::permissions(ReadOnly, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    std::filesystem::create_directories(Folder / "folder.geo");
    const std::pair<std::filesystem::path, std::string> Cases[] = {
        {ReadOnly, "Cannot write: the file is read-only"},
        {Folder / "folder.geo", "Cannot write: not a regular file"},
        {Folder / "missing" / "a.geo", "Cannot write: no such file or directory"},
    };
    for (const auto& [Name, Message] : Cases) EXPECT_EQ(Refusal(Name, "new"), Message) << Name;
    EXPECT_EQ(FileText(ReadOnly), "kept");
    // Nothing is left behind by a refused write.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder), std::filesystem::directory_iterator()), 2);
}

TEST_F(FileReplaceTest, ClearsTemporariesThatAKilledSaveLeft) {
    const auto Name = Write("doc.geo", "old");
    for (const char* Left : {"doc.geo.tmp~", "doc.geo.0badf00d.tmp~"}) Write(Left, "half");
    // Files that are not our temporaries, and the temporary of a save still running, stay.
    const char* const Kept[] = {"doc.geo.bak", "doc.geo.tmp", "doc.geo.12345678.tmp~x", "other.geo.0badf00d.tmp~",
                                "doc.geo.cafebabe.tmp~"};
    for (const char* Other : Kept) Write(Other, "mine");
    const int Running = ::open((Folder / "doc.geo.cafebabe.tmp~").c_str(), O_RDONLY);
    ASSERT_GE(Running, 0);
    ASSERT_EQ(::flock(Running, LOCK_EX), 0);

    ReplaceFileText(Name, "new", "Cannot write");
    ::close(Running);
    std::vector<std::string> Names;
    for (const auto& Entry : std::filesystem::directory_iterator(Folder)) Names.push_back(Entry.path().filename());
    std::sort(Names.begin(), Names.end());
    std::vector<std::string> Expected(std::begin(Kept), std::end(Kept));
    Expected.push_back("doc.geo");
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(Names, Expected);
    EXPECT_EQ(FileText(Name), "new");
}

TEST_F(FileReplaceTest, ReadsOnlyRegularFiles) {
    const auto Fifo = Folder / "pipe.geo";
    ASSERT_EQ(::mkfifo(Fifo.c_str(), 0600), 0);
    for (const std::filesystem::path& Name : {Fifo, std::filesystem::path("/dev/zero"), Folder}) {
        try {
            ReadFileText(Name);
            ADD_FAILURE() << Name;
        } catch (const EInOutError& E) {
            EXPECT_EQ(std::string(E.what()), "Cannot open file \"" + Name.string() + "\". Not a regular file");
        }
    }
    EXPECT_EQ(ReadFileText(Write("a.txt", "a\rb")), "a\rb");
    EXPECT_EQ(ReadFileLines(Write("b.txt", "a\rb\r\nc\n\nd")), (std::vector<std::string>{"a", "b", "c", "", "d"}));
    try {
        ReadFileText(Folder / "missing.txt");
        ADD_FAILURE();
    } catch (const EInOutError& E) {
        EXPECT_EQ(std::string(E.what()), "Cannot open file \"" + (Folder / "missing.txt").string() + "\". No such file or directory");
    }
}
