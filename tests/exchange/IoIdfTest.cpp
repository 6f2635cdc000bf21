#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "exchange/IoIdf.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "naval/GPList.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

using TIoIdf = TExchangeTest;

std::string SectionsEntity(const std::string& Signs, const std::string& Curve2Marker = "$CURVE") {
    return "$IDF\nheader\n$ENTITY\n sections \n" + (Signs.empty() ? "" : "$COORDINATE SYSTEM\n" + Signs + "\n") +
           "$GEOMETRY\n1\n$PART\nSTA 1\n2\n"
           "$CURVE\na\nb\n2\n1, 2, 3, 99\n4,5,6\n" +
           Curve2Marker + "\na\nb\n1\n7, 8, 9\n";
}

}  // namespace

TEST_F(TIoIdf, PartsBecomePolylineListsWithZBySign) {
    for (const auto& [Signs, ZSign] : {std::pair<std::string, double>{"", -1}, {"1, 1, -1", 1}, {"-1,1,1", -1}}) {
        TGeometryInterface D;
        const auto Console =
            ConsoleLinesOf([&] { ImportIdf(WriteTemp("a.idf", "$IDF\n$ENTITY\nMESH\n" + SectionsEntity(Signs)), D); });
        ASSERT_EQ(D.Count(), 1);
        EXPECT_EQ(Console, std::vector<std::string>{"Reading of IDF Mesh Entities has yet to be implemented"});
        auto& L = dynamic_cast<TGeoPList&>(D.Items(0));
        EXPECT_EQ(L.GetName(), "STA 1");
        ASSERT_EQ(L.Polylines().Count(), 2);
        ASSERT_EQ(L.Polylines().Items(0)->Count(), 2);
        const double XSign = Signs.starts_with("-1") ? -1 : 1;
        EXPECT_EQ(L.Polylines().Items(0)->Point(0)->Vector(), (TMVector{XSign * 1, 2, ZSign * 3}));
        EXPECT_EQ(L.Polylines().Items(1)->Point(0)->Vector(), (TMVector{XSign * 7, 8, ZSign * 9}));
    }
}

TEST_F(TIoIdf, BrokenEntitiesNameTheLineAndAddNothing) {
    const struct {
        std::string Text;
        std::string Error;
    } Cases[] = {
        {SectionsEntity("", "$CURV"), "(16): IDF Error: $CURVE expected but not found in file"},
        {"$IDF\n$ENTITY\nSECTIONS\n$GEOMETRY\n1\nPART\nx\n0\n", "(6): IDF Error: $PART expected but not found in file"},
        {"$IDF\n$ENTITY\nSECTIONS\n$GEOMETRY\n1\n$PART\nP\n1\n$CURVE\na\nb\n1000\n1,2,3\n",
         "(12): the file cannot hold 1000 items"},
        {"$IDF\n$ENTITY\nSECTIONS\nx\n", "(4): the file ends before \"$GEOMETRY\""},
        {SectionsEntity("1, 1"), "(6): 3 values separated by commas expected"},
    };
    for (const auto& C : Cases) {
        const std::string Path = WriteTemp("bad.idf", C.Text);
        EXPECT_EQ(ErrorOf([&] { ImportIdf(Path, Doc); }), Path + C.Error) << C.Text;
        EXPECT_EQ(Doc.Count(), 0);
    }
}
