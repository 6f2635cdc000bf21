#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "entities/GGonList.h"
#include "exchange/IoCSV.h"
#include "exchange/IoIV.h"
#include "foundation/Colors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "naval/GPList.h"
#include "document/GPline.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

using TIoIV = TExchangeTest;
using TIoCSV = TExchangeTest;

const char* const CubeCoordinates =
    "#Inventor V2.1 ascii\n"
    "Separator {\n"
    "  Coordinate3 {\n"
    "    point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0,   # the bottom\n"
    "            0 0 1, 1 0 1, 1 1 1, 0 1 1 ]\n"
    "  }\n";

}  // namespace

TEST_F(TIoIV, EachRunOfIndicesIsOneFacetOrPolyline) {
    const std::string Text = std::string(CubeCoordinates) +
                             "  IndexedLineSet { coordIndex [ 0, 1, 2, -1, 3, 4 ] }\n"
                             "  Material { diffuseColor 1 0.5 0 }\n"
                             "  IndexedFaceSet {\n    coordIndex [ 0, 1, 2, 3, -1, 4, 5, 6, -1 ]\n  }\n"
                             "  IndexedLineSet { coordIndex [ 7, 6 ] }\n"
                             "}\n";
    const auto Lines = ConsoleLinesOf([&] { ImportInventor(WriteTemp("cube.iv", Text), Doc); });
    // The comment goes; the blanks before it stay, and lines are joined by one more.
    EXPECT_EQ(Lines[0], "Processing Coordinate3: point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0,    0 0 1, 1 0 1, 1 1 1, 0 1 1 ]");
    EXPECT_EQ(Lines[1], "Processing Points: 0 0 0, 1 0 0, 1 1 0, 0 1 0,    0 0 1, 1 0 1, 1 1 1, 0 1 1");
    ASSERT_EQ(Doc.Count(), 2);

    TPolylineList& Polylines = dynamic_cast<TGeoPList&>(Doc.Items(0)).Polylines();
    ASSERT_EQ(Polylines.Count(), 3);
    int Points = 0, Coloured = 0;
    for (int I = 0; I < 3; ++I) {
        Points += Polylines.Items(I)->Count();
        Coloured += Polylines.Items(I)->OwnColors;
    }
    EXPECT_EQ(Points, 7);
    // Only what follows the material takes its colour.
    EXPECT_EQ(Coloured, 1);

    TPolygonList& Facets = dynamic_cast<TGeoPGonlist&>(Doc.Items(1)).Facets();
    ASSERT_EQ(Facets.Count(), 2);
    EXPECT_EQ(Facets.Polygon(0)->CornerCount() + Facets.Polygon(1)->CornerCount(), 7);
    for (int I = 0; I < 2; ++I) {
        EXPECT_TRUE(Facets.Polygon(I)->GetOwnColor());
        EXPECT_EQ(Facets.Polygon(I)->GetColor(), RGBColor(255, 127, 0));
        EXPECT_EQ(Facets.Polygon(I)->GetEdgeColor(), RGBColor(255, 127, 0));
    }
}

TEST_F(TIoIV, ErrorsNameTheBlockLineAndAddNothing) {
    const std::pair<std::string, const char*> Cases[] = {
        {"Coordinate3 { }\n", "IoIV: Block does not contain anything (Block on Line: 1)"},
        {std::string(CubeCoordinates) + "IndexedFaceSet { coordIndex [ 0, 1, 8, -1 ] }\n",
         "IoIV: Point index out of range (Block on Line 7)"},
        {std::string(CubeCoordinates) + "IndexedLineSet { coordIndex [ 0, -2 ] }\n",
         "IoIV: Point index out of range (Block on Line 7)"},
        {std::string(CubeCoordinates) + "IndexedFaceSet { coordIndex [ 0, 1, -1 ] }\n",
         "IoIV: Polygon defintion not complete (Block on Line 7)"},
        {"Coordinate3 { point [ 0 0 zero ] }\n", "Unable to convert string to number (zero) (Block on Line 1)"},
        {"\nCoordinate3 {\n point [ 0 0 0 ]\n", "IoIV: Block not closed (Block on Line 2)"},
    };
    for (const auto& [Text, Message] : Cases) {
        const std::string Path = WriteTemp("bad.iv", Text);
        std::string Error;
        const auto Lines = ConsoleLinesOf([&] { Error = ErrorOf([&] { ImportInventor(Path, Doc); }); });
        EXPECT_EQ(Error, Message);
        EXPECT_EQ(Lines.back(), "Open Inventor import of " + Path + " failed: " + Message);
        EXPECT_EQ(Doc.Count(), 0);
    }
}

TEST_F(TIoCSV, RunsOfCoordinateLinesArePolylines) {
    ImportCSVPolylines(WriteTemp("a.csv", "x,y,z\r\n0,0\r\n1,0\r\n\r\n0,1,2\r\n 1 , 1 , 2 ,label\r\nend\r\n3,3,3\r\n4,4\r\n"),
                       Doc);
    ASSERT_EQ(Doc.Count(), 3);
    const auto Points = [&](int I) { return dynamic_cast<TGeoPline&>(Doc.Items(I)).Polyline().Count(); };
    const auto Point = [&](int I, int K) { return dynamic_cast<TGeoPline&>(Doc.Items(I)).Polyline().Point(K)->Vector(); };
    EXPECT_EQ(Points(0), 2);
    EXPECT_EQ(Point(0, 1), (TMVector{1, 0, 0}));
    EXPECT_EQ(Points(1), 2);
    EXPECT_EQ(Point(1, 1), (TMVector{1, 1, 2}));
    EXPECT_EQ(Points(2), 2);
    EXPECT_EQ(Point(2, 1), (TMVector{4, 4, 0}));
}

TEST_F(TIoCSV, ALineMixingNumbersAndTextIsAnError) {
    const std::string Path = WriteTemp("bad.csv", "0,0\n1,0\n1,x,2\n");
    EXPECT_EQ(ErrorOf([&] { ImportCSVPolylines(Path, Doc); }), Path + "(3): Unable to convert string to number (x)");
    EXPECT_EQ(Doc.Count(), 0);
}

TEST_F(TIoCSV, AnImportIsOneUndoStep) {
    ImportCSVPolylines(WriteTemp("two.csv", "0,0\n1,0\n\n0,1\n1,1\n"), Doc);
    ASSERT_EQ(Doc.Count(), 2);
    Doc.Undo();
    EXPECT_EQ(Doc.Count(), 0);
}
