#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ExchangeFixtures.h"
#include "document/GPline.h"
#include "entities/GArc.h"
#include "entities/GGonList.h"
#include "entities/GMesh.h"
#include "exchange/IoAnsys.h"
#include "foundation/Arc.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"
#include "foundation/VkMathsIntersect.h"
#include "surfaces/Surface.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

using TIoAnsys = TExchangeTest;

std::vector<std::string> LinesStartingWith(const std::string& Text, const std::string& Prefix) {
    std::vector<std::string> Found;
    std::istringstream In(Text);
    for (std::string L; std::getline(In, L);)
        if (L.rfind(Prefix, 0) == 0) Found.push_back(L);
    return Found;
}

std::unique_ptr<TGeoPline> Pline(std::initializer_list<TMVector> Points) {
    auto E = std::make_unique<TGeoPline>();
    for (const TMVector& P : Points) E->Polyline().AddPoint(P.X, P.Y, P.Z);
    return E;
}

// A circular arc of radius R about the origin in the x-y plane, from the x axis by Degrees.
std::unique_ptr<TGeoArc> Arc(double R, double Degrees) {
    auto E = std::make_unique<TGeoArc>();
    E->Arc().SetFrame(TMArc{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, R, 0, Degrees * std::numbers::pi / 180});
    return E;
}

}  // namespace

TEST_F(TIoAnsys, ScriptCommandsBecomeEntities) {
    const std::string Path = WriteTemp("a.txt", JoinLines({
        "/PREP7",
        "k, 1, 0, 0, 0",
        "K,2,1,0,0",
        "K,3,0,1,0",
        "K,4,1,1",                // too few fields: skipped
        "L,1,2",
        "L,1,9",                  // keypoint 9 is not defined
        "LARC,2,3,1,1.00",
        "N,1,0,0,0", "N,2,1,0,0", "N,3,1,1,0", "N,4,0,1,0", "N,5,0,0,1",
        "E,1,2,3,4",
        "E,1,2,3",
        "E,1,2,3,4,5",            // five nodes: no facet
        "E,1,2,3,7",              // node 7 is not defined
        "FINI",
    }));
    ImportAnsys(Path, Doc);
    ASSERT_EQ(Doc.Count(), 3);
    const TPolyline& L = dynamic_cast<TGeoPline&>(Doc.Items(0)).Polyline();
    ASSERT_EQ(L.Count(), 2);
    EXPECT_EQ(L.Point(1)->Vector(), (TMVector{1, 0, 0}));
    const TMArc A = dynamic_cast<TGeoArc&>(Doc.Items(1)).Arc().Frame();
    EXPECT_NEAR(A.Radius, 1, 1e-12);
    EXPECT_NEAR(A.Sweep, std::numbers::pi / 2, 1e-12);
    const TPolygonList& F = dynamic_cast<TGeoPGonlist&>(Doc.Items(2)).Facets();
    ASSERT_EQ(F.Count(), 2);
    EXPECT_EQ(F.Polygon(0)->CornerCount(), 4);
    EXPECT_EQ(F.Polygon(1)->CornerCount(), 3);
}

TEST_F(TIoAnsys, ABadNumberNamesTheLineAndAddsNothing) {
    const std::string Path = WriteTemp("bad.txt", "L,1,2\nK,1,0,0,0\nK,2,1,0,0\nL,1,2\nK,3,1,x,0\n");
    EXPECT_EQ(ErrorOf([&] { ImportAnsys(Path, Doc); }), Path + "(5): 'x' is not a valid floating point value");
    EXPECT_EQ(Doc.Count(), 0);
}

TEST_F(TIoAnsys, ExportWritesSharedKeypointsOnceAndArcsInQuarters) {
    Doc.Add(Pline({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}}));
    Doc.Add(Pline({{3.00005, 0, 0}, {3, 1, 0}}));  // starts on the first one's end, within 1e-4
    Doc.Add(Arc(2.5, 45));
    Doc.Add(Arc(2.5, 180));
    const std::string Path = TempFile("out.txt").string();
    ExportAnsys(Path, Doc);
    const std::string Text = ReadText(Path);
    // Numbers follow position (z, then y, then x): the half circle's end (-2.5, 0, 0) comes first.
    EXPECT_EQ(Text.substr(0, 80), "/BATCH\n/NOPR\n/COM, Tavik/Sarnova Ansys Interface - Version 1.0\n/PREP7\n\n"
                                  "K,2,0,0,0");
    EXPECT_TRUE(Text.ends_with("\nFINI\nSAVE\n/GOPR\n/EXIT,MODEL,SARNOVA\n"));
    EXPECT_EQ(LinesStartingWith(Text, "L,").size(), 4u);
    const auto Arcs = LinesStartingWith(Text, "LARC,");
    ASSERT_EQ(Arcs.size(), 3u);
    for (const std::string& L : Arcs) EXPECT_TRUE(L.ends_with(",2.50")) << L;

    // Read back: the lines keep their ends, the half circle comes back as two quarters.
    TGeometryInterface Back;
    ImportAnsys(Path, Back);
    ASSERT_EQ(Back.Count(), 7);
    EXPECT_EQ(dynamic_cast<TGeoPline&>(Back.Items(3)).Polyline().Point(0)->Vector(), (TMVector{3, 0, 0}));
    for (int I = 5; I < 7; ++I)
        EXPECT_NEAR(dynamic_cast<TGeoArc&>(Back.Items(I)).Arc().Frame().Sweep, std::numbers::pi / 2, 1e-12);
    // The 5 distinct points of the polylines and the 4 arc ends not on them (the centre is their first
    // point), each written once.
    EXPECT_EQ(LinesStartingWith(Text, "K,").size(), 9u);
}

TEST_F(TIoAnsys, NetsAreQuadElementsAndDegenerateArcsAreSkipped) {
    auto M = std::make_unique<TGeoMesh>();
    M->Net().SetSize(3, 3);
    for (int I = 0; I < 3; ++I)
        for (int J = 0; J < 3; ++J) M->Net().Point(I, J).SetXYZ(I, J, 0);
    Doc.Add(std::move(M));
    Doc.Add(Arc(1, 0));
    const std::string Path = TempFile("net.txt").string();
    const auto Console = ConsoleLinesOf([&] { ExportAnsys(Path, Doc); });
    const std::string Text = ReadText(Path);
    EXPECT_EQ(LinesStartingWith(Text, "N,").size(), 9u);
    const auto Elements = LinesStartingWith(Text, "E,");
    ASSERT_EQ(Elements.size(), 4u);
    EXPECT_EQ(LinesStartingWith(Text, "LARC").size(), 0u);
    ASSERT_EQ(Console.size(), 1u);
    EXPECT_NE(Console[0].find("sweep is not positive"), std::string::npos);
}
