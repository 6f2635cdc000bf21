#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "document/GPline.h"
#include "exchange/IoNapa.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "naval/GPList.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

using TIoNapa = TExchangeTest;

const char* const Listing[] = {
    "NAPA listing",
    "  CURVE STEM",          // a curve block: skipped to the first empty line
    "   X Y garbage",
    "",
    "    X    Y  WL1  WL2  WL3",
    " Z=0.5 Z=1 1.5 2",
    "-------------------------",
    "    4.0  1.1  1.2  -    1.4",
    "    2.0  2.1  2.2  2.3  2.4",
    "    -    9    9    9    9",   // a dash as station: skipped
    "    4.0  3.1  3.2  3.3  3.4",   // the same station again
    "end of table",
    "LIST OF POINTS DECK",
    "  (skipped)",
    "      X      Y      Z",
    "    1.0    2.0    3.0",
    "    1.5           3.5",        // y of the row before
    "",
    "table for: SHEER",
    "     X     Y     Z     X     Y     Z",
    "  ----",
    "   1.0   2.0   3.0   7.0   8.0   9.0",
    "   1.5   2.5   3.5",
    "",
};

std::string ListingText() {
    std::string T;
    for (const char* L : Listing) (T += L) += "\n";
    return T;
}

}  // namespace

TEST_F(TIoNapa, TableListsAndTwoCurveTables) {
    ImportNapaOffsets(WriteTemp("a.napa", ListingText()), Doc);
    ASSERT_EQ(Doc.Count(), 3);
    const TPolyline& Deck = dynamic_cast<TGeoPline&>(Doc.Items(0)).Polyline();
    EXPECT_EQ(Doc.Items(0).GetName(), "DECK");
    ASSERT_EQ(Deck.Count(), 2);
    EXPECT_EQ(Deck.Point(1)->Vector(), (TMVector{1.5, 2.0, 3.5}));

    const TPolyline& Sheer = dynamic_cast<TGeoPline&>(Doc.Items(1)).Polyline();
    EXPECT_EQ(Doc.Items(1).GetName(), "SHEER");
    ASSERT_EQ(Sheer.Count(), 3);  // two of the first curve, then the one complete point of the second
    EXPECT_EQ(Sheer.Point(2)->Vector(), (TMVector{7, 8, 9}));

    auto& Hull = dynamic_cast<TGeoPList&>(Doc.Items(2));
    EXPECT_EQ(Hull.GetName(), "Hull");
    const TPolylineList& S = Hull.Polylines();
    ASSERT_EQ(S.Count(), 2);
    EXPECT_EQ(S.Items(0)->GetStation(), 2.0);
    EXPECT_EQ(S.Items(0)->Count(), 4);
    // Station 4 from both rows: the dash adds nothing.
    ASSERT_EQ(S.Items(1)->Count(), 7);
    EXPECT_EQ(S.Items(1)->Point(2)->Vector(), (TMVector{4, 1.4, 2}));
    EXPECT_EQ(S.Items(1)->Point(3)->Vector(), (TMVector{4, 3.1, 0.5}));
}

TEST_F(TIoNapa, BadHeadersNameTheLineAndAddNothing) {
    const struct {
        std::string Text;
        std::string Error;
    } Cases[] = {
        {"x\n  X Y a b c\n 1 2 3\n", "(3): Unable to convert string to number ()"},
        {"LIST OF POINTS A\n--\n   X   Z\n", "(3): the column header has no Y"},
        {"table for: T\n   X  Y  Z  X  Y\n", "(2): the column header has no Z"},
        {"LIST OF POINTS A\n--\n   X   Y   Z\n   1   a   3\n", "(4): Unable to convert string to number (a)"},
    };
    for (const auto& C : Cases) {
        const std::string Path = WriteTemp("bad.napa", C.Text);
        EXPECT_EQ(ErrorOf([&] { ImportNapaOffsets(Path, Doc); }), Path + C.Error) << C.Text;
        EXPECT_EQ(Doc.Count(), 0);
    }
}

TEST_F(TIoNapa, NoOffsetTableNoHull) {
    const std::string Path = WriteTemp("none.napa", "just words\nhere\n");
    EXPECT_EQ(ErrorOf([&] { ImportNapaOffsets(Path, Doc); }),
              Path + ": nothing was imported: it holds nothing this import reads (2 lines)");
    EXPECT_EQ(Doc.Count(), 0);
}
