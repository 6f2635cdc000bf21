#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "exchange/ExchangeText.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

TEST(ExchangeText, FileLinesReadInBlocksSplitAsTheWholeText) {
    const std::string Texts[] = {
        "", "a", "a\n", "a\r\nbb\r\n", "a\rb\r\rc", "\n\n", "one\r\ntwo\rthree\nfour", std::string(50, 'x') + "\r\ny",
    };
    for (const std::string& Text : Texts) {
        const std::string Path = WriteTemp("lines.txt", Text);
        std::vector<std::string> Expected;
        for (std::string_view L : SplitLineViews(Text)) Expected.emplace_back(L);
        // Blocks of one byte put every CR at a block's end, before its LF.
        for (const std::size_t Block : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{4096}}) {
            TFileLines Lines(Path, Block);
            std::vector<std::string> Got;
            std::string_view L;
            while (Lines.Next(L)) Got.emplace_back(L);
            EXPECT_EQ(Got, Expected) << "block " << Block << ": " << Text;
            EXPECT_EQ(Lines.Count(), Expected.size());
        }
    }
}

TEST(ExchangeText, PrintableTextAndUtf8Prefix) {
    EXPECT_EQ(PrintableText("ab\x01\xff" "c\t\xc3\x85"), "ab\\x01\\xFFc\t\xc3\x85");
    EXPECT_EQ(PrintableText("abcdef", 3), "abc...");
    EXPECT_EQ(Utf8Prefix("ab\xc3\x85", 3), "ab");
    EXPECT_EQ(Utf8Prefix("ab\xc3\x85", 4), "ab\xc3\x85");
    EXPECT_EQ(Utf8Prefix("\xe2\x82\xac\xe2\x82\xac", 5), "\xe2\x82\xac");
}

}  // namespace
