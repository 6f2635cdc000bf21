#include "foundation/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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
    EXPECT_FALSE(std::filesystem::exists(Folder / "blocked.tmp~"));

    EXPECT_THROW(TTextReader::FromFile(Folder / "missing.txt"), EInOutError);
    EXPECT_THROW(TTextReader::FromFile(Folder), EInOutError);
}
