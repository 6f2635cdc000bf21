#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "foundation/Console.h"
#include "foundation/FacetCutIndex.h"
#include "foundation/GeomFacet.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/PolygonIntersect.h"
#include "naval/VkHydro.h"
#include "naval/HullMeshes.h"
#include "naval/MeshSums.h"

using namespace sarnova;

namespace {

// Console lines written while F runs.
template <typename TFunc>
std::vector<std::string> ConsoleLinesOf(TFunc F) {
    std::vector<std::string> Lines;
    auto Saved = GConsole->OnLine;
    GConsole->OnLine = [&](const std::string& L) { Lines.push_back(L); };
    F();
    GConsole->OnLine = Saved;
    return Lines;
}

THydrostaticsData HydrostaticsOf(const TPolygonList& Mesh) {
    THydrostaticsData R;
    ResetHydrostatics(R);
    MeshHydrostatics(Mesh, R);
    return R;
}

// The mirror image of Mesh in the centre plane, normals still outward.
std::unique_ptr<TPolygonList> PortSide(const TPolygonList& Mesh) {
    auto M = Mesh.Transformed(MirrorXZMatrix);
    M->FlipNormals();
    return M;
}

}  // namespace

TEST(MeshHydrostatics, OpenBoxWholeAndHalf) {
    struct TCase {
        const char* Name;
        std::unique_ptr<TPolygonList> Mesh;
        double LCB, TCB, BMT;
    };
    // Centres are model coordinates, whole or half, either side; a half body has the metacentric
    // radii of the whole.
    const double BMT = (2.0 / 3 * 10) / 20;
    TCase Cases[] = {
        {"whole", BoxMesh(0, 10, -1, 1, 0, 1), 5, 0, BMT},
        {"half", BoxMesh(0, 10, 0, 1, 0, 1, false, true), 5, 0, BMT},
        {"half moved forward", BoxMesh(2, 12, 0, 1, 0, 1, false, true), 7, 0, BMT},
        {"port half moved aft", PortSide(*BoxMesh(-3, 7, 0, 1, 0, 1, false, true)), 2, 0, BMT},
    };
    for (TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const THydrostaticsData R = HydrostaticsOf(*C.Mesh);
        EXPECT_NEAR(R.Volume, 20, 1e-12);
        EXPECT_NEAR(R.Displacement, 20.5, 1e-12);
        EXPECT_NEAR(R.WaterPlanArea, 20, 1e-12);
        EXPECT_NEAR(R.MaxSectionArea, 2, 1e-12);
        EXPECT_NEAR(R.WettedArea, 44, 1e-12);
        for (double K : {R.CB, R.CP, R.CM, R.CWP}) EXPECT_NEAR(K, 1, 1e-12);
        EXPECT_NEAR(R.LWL, 10, 1e-12);
        EXPECT_NEAR(R.BWL, 2, 1e-12);
        EXPECT_NEAR(R.Draught, 1, 1e-12);
        EXPECT_NEAR(R.LCB, C.LCB, 1e-12);
        EXPECT_NEAR(R.LCF, C.LCB, 1e-12);
        EXPECT_NEAR(R.LCBPercent, 50, 1e-10);
        EXPECT_NEAR(R.LCFPercent, 50, 1e-10);
        EXPECT_NEAR(R.TCB, C.TCB, 1e-12);
        EXPECT_NEAR(R.VCB, 0.5, 1e-12);
        EXPECT_NEAR(R.TPC, 0.01 * 20 * 1.025, 1e-12);
        EXPECT_NEAR(R.BMT, C.BMT, 1e-12);
        EXPECT_NEAR(R.MinCorner.Y, -1, 1e-12);
        EXPECT_NEAR(R.MaxCorner.Y, 1, 1e-12);
        // The waterplane is the caller's.
        EXPECT_EQ(R.WaterPlane, XYPlane);
    }
}

TEST(MeshHydrostatics, WhichSideCountsAsAHalfBody) {
    // Volume of the mesh itself: a half body counts twice.
    const std::pair<double, double> Cases[] = {{-0.00005, 2 * 10.0005}, {-0.001, 10.01}};
    for (auto [Y0, Volume] : Cases) {
        const THydrostaticsData R = HydrostaticsOf(*BoxMesh(0, 10, Y0, 1, 0, 1));
        EXPECT_NEAR(R.Volume, Volume, 1e-9) << Y0;
    }
    // The half on the negative side is a half body too.
    EXPECT_NEAR(HydrostaticsOf(*BoxMesh(0, 10, -1, 0, 0, 1)).Volume, 20, 1e-12);
}

// The largest section is found where it is: at the transom of a hull that widens aft to fore, and
// every section counts whole.
TEST(MeshHydrostatics, LargestSectionAtTheTransom) {
    TPolygonList M;
    auto Face = [&](std::vector<TMVector> C, TMVector Out) { M.Add(FacetFacing(std::move(C), Out)); };
    Face({{0, -0.5, 0}, {10, -1, 0}, {10, 1, 0}, {0, 0.5, 0}}, {0, 0, -1});
    Face({{0, 0.5, 0}, {10, 1, 0}, {10, 1, 1}, {0, 0.5, 1}}, {0, 1, 0});
    Face({{0, -0.5, 0}, {10, -1, 0}, {10, -1, 1}, {0, -0.5, 1}}, {0, -1, 0});
    Face({{0, -0.5, 0}, {0, 0.5, 0}, {0, 0.5, 1}, {0, -0.5, 1}}, {-1, 0, 0});
    Face({{10, -1, 0}, {10, 1, 0}, {10, 1, 1}, {10, -1, 1}}, {1, 0, 0});
    const THydrostaticsData R = HydrostaticsOf(M);
    EXPECT_NEAR(R.Volume, 15, 1e-9);
    EXPECT_NEAR(R.MaxSectionArea, 2, 1e-6);
    EXPECT_NEAR(R.CP, 0.75, 1e-6);
}

// A box barge 48 long, open at the waterplane z = 1, made of two blocks that meet at x = 24 (a station
// of the search for the largest section) without sharing their corners there, as surface patches
// faceted apart do: the aft block, 2 wide and Depth deep, has whole faces; the forward one, 2 + 2 Gap
// wide and 1 deep, its bottom split along the centre line and its sides halfway up. An aft block
// deeper than the forward one ends at x = 24 in a face lying in the station's plane.
std::unique_ptr<TPolygonList> BargeOfTwoBlocks(double Depth, double Gap) {
    auto M = std::make_unique<TPolygonList>();
    auto Face = [&](std::vector<TMVector> C, TMVector Out) { M->Add(FacetFacing(std::move(C), Out)); };
    const double Z0 = 1 - Depth, W = 1 + Gap;
    Face({{0, -1, Z0}, {24, -1, Z0}, {24, 1, Z0}, {0, 1, Z0}}, {0, 0, -1});
    for (double Y : {-1.0, 1.0}) Face({{0, Y, Z0}, {24, Y, Z0}, {24, Y, 1}, {0, Y, 1}}, {0, Y, 0});
    Face({{0, -1, Z0}, {0, 1, Z0}, {0, 1, 1}, {0, -1, 1}}, {-1, 0, 0});
    if (Z0 < 0) Face({{24, -1, Z0}, {24, 1, Z0}, {24, 1, 0}, {24, -1, 0}}, {1, 0, 0});
    for (double Y : {-W, W}) {
        Face({{24, 0, 0}, {48, 0, 0}, {48, Y, 0}, {24, Y, 0}}, {0, 0, -1});
        Face({{24, Y, 0}, {48, Y, 0}, {48, Y, 0.5}, {24, Y, 0.5}}, {0, Y, 0});
        Face({{24, Y, 0.5}, {48, Y, 0.5}, {48, Y, 1}, {24, Y, 1}}, {0, Y, 0});
    }
    Face({{48, -W, 0}, {48, W, 0}, {48, W, 1}, {48, -W, 1}}, {1, 0, 0});
    return M;
}

// A station that falls on a seam of facets that do not share their corners, or on a face lying in its
// plane, still gives the section once.
TEST(MeshHydrostatics, LargestSectionOnASeam) {
    struct TCase {
        const char* Name;
        double Depth, Gap, MaxSection;
    };
    for (const TCase& C : {TCase{"seam", 1, 0.001, 2.002}, TCase{"step", 1.5, 0, 3}}) {
        SCOPED_TRACE(C.Name);
        const THydrostaticsData R = HydrostaticsOf(*BargeOfTwoBlocks(C.Depth, C.Gap));
        const double Volume = 24 * 2 * C.Depth + 24 * 2 * (1 + C.Gap);
        EXPECT_NEAR(R.Volume, Volume, 1e-9);
        EXPECT_NEAR(R.MaxSectionArea, C.MaxSection, 1e-6);
        EXPECT_NEAR(R.CM, C.MaxSection / (R.BWL * R.Draught), 1e-6);
        EXPECT_NEAR(R.CP, Volume / (48 * C.MaxSection), 1e-6);
    }
}

TEST(MeshHydrostatics, LidCancelsTheWaterplaneButNotTheVolume) {
    const THydrostaticsData R = HydrostaticsOf(*BoxMesh(0, 10, -1, 1, 0, 1, true));
    EXPECT_NEAR(R.Volume, 20, 1e-12);
    EXPECT_NEAR(R.WaterPlanArea, 0, 1e-12);
}

TEST(MeshHydrostatics, InwardNormalsGiveTheSameFiguresAndSaySo) {
    auto Outward = BoxMesh(0, 10, -1, 1, 0, 1);
    auto Inward = Outward->Clone();
    Inward->FlipNormals();
    const THydrostaticsData Expected = HydrostaticsOf(*Outward);
    THydrostaticsData R;
    const auto Lines = ConsoleLinesOf([&] { R = HydrostaticsOf(*Inward); });
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_NE(Lines[0].find("inwards"), std::string::npos);
    for (auto [Got, Want] : {std::pair{R.Volume, Expected.Volume}, {R.Displacement, Expected.Displacement},
                             {R.WaterPlanArea, Expected.WaterPlanArea}, {R.MaxSectionArea, Expected.MaxSectionArea},
                             {R.LCB, Expected.LCB}, {R.VCB, Expected.VCB}, {R.BMT, Expected.BMT},
                             {R.CM, Expected.CM}, {R.CP, Expected.CP}})
        EXPECT_NEAR(Got, Want, 1e-12);
    EXPECT_TRUE(ConsoleLinesOf([&] { HydrostaticsOf(*Outward); }).empty());
}

TEST(MeshHydrostatics, EmptyMeshLeavesTheRecordAlone) {
    THydrostaticsData R;
    R.Volume = 7;
    R.KG = 3;
    TPolygonList Empty;
    MeshHydrostatics(Empty, R);
    EXPECT_EQ(R.Volume, 7);
    EXPECT_EQ(R.KG, 3);
}

TEST(MeshHydrostatics, WigleyHullMatchesItsClosedForm) {
    const double L = 100, B = 10, T = 6.25;
    const auto Mesh = WigleyHull(L, B, T, 500, 200);
    ASSERT_EQ(Mesh->Count(), 400000);
    THydrostaticsData R;
    ResetHydrostatics(R);
    R.KG = 2;
    MeshHydrostatics(*Mesh, R);
    auto ExpectWithin = [](double Got, double Want, double Fraction, const char* What) {
        EXPECT_NEAR(Got, Want, std::fabs(Want) * Fraction) << What;
    };
    ExpectWithin(R.Volume, 4 * L * B * T / 9, 0.001, "volume");
    ExpectWithin(R.VCB, 5 * T / 8, 0.001, "KB");
    ExpectWithin(R.BMT, 3 * B * B / (35 * T), 0.001, "BMT");
    ExpectWithin(R.CP, 2.0 / 3, 0.001, "CP");
    ExpectWithin(R.CWP, 2.0 / 3, 0.001, "CWP");
    EXPECT_NEAR(R.LCB, 0, 1e-3);
    EXPECT_NEAR(R.TCB, 0, 1e-9);
    EXPECT_NEAR(R.GMT, R.VCB + R.BMT - 2, 1e-12);
}

TEST(Hydrostatics, WaterplaneAtDraughtIsLevel) {
    EXPECT_EQ(WaterplaneAtDraught(2.5), (TMPlane{{0, 0, 1}, 2.5}));
}

// Bounds spare the measuring of stations that cannot be the largest, and change nothing: the same
// station wins (the first of equal ones) and the same search follows.
TEST(LargestSectionArea, StationsSkippedByTheirBoundsGiveTheSameArea) {
    const std::pair<const char*, std::function<double(double)>> Cases[] = {
        {"one peak", [](double X) { return 40 * (1 - X * X / 2500); }},
        {"a plateau", [](double) { return 12.5; }},
        {"two equal peaks", [](double X) { return std::fabs(std::sin(X / 50 * 3.14159)); }},
        {"the peak at the end", [](double X) { return X + 50; }},
        {"nothing", [](double) { return 0.0; }},
    };
    for (const auto& [Name, Area] : Cases) {
        int Plain = 0, Bounded = 0;
        const double Want = LargestSectionArea([&](double X) { ++Plain; return Area(X); }, -50, 50, 1e-4);
        // Bounds a little above the areas, as SectionAreaBound gives them.
        const double Got = LargestSectionArea([&](double X) { ++Bounded; return Area(X); }, -50, 50, 1e-4,
                                              [&](double X) { return Area(X) * 1.001 + 1e-3; });
        EXPECT_EQ(Got, Want) << Name;
        EXPECT_LE(Bounded, Plain) << Name;
        if (std::string(Name) == "one peak") {
            EXPECT_LT(Bounded, Plain - 30) << Name;
        }
    }
}

// The bound of a station's area holds for every station of a hull, wherever the waterplane cuts it.
TEST(LargestSectionArea, SegmentBoundIsNeverBelowTheArea) {
    const auto Hull = WigleyHull(100, 10, 6.25, 40, 16);
    for (double Draught : {1.0, 3.3, 6.25})
        for (double X : {-49.9, -30.0, 0.01, 12.7, 49.9}) {
            const auto Wet = ClipPolygonsByPlane(*Hull, 0, WaterplaneAtDraught(Draught));
            const TPlaneCutter Cutter(PlaneFromDirection(3, X), OnPlaneTolerance(*Wet));
            std::vector<TMSegment> Segments;
            TMSegment S;
            for (int I = 0; I < Wet->Count(); ++I) {
                const TFacetRef F = Wet->Polygon(I);
                auto Corner = [&F](int K) { return PolygonCornerOrOrigin(F, K).Vector(); };
                if (Cutter.Cut({Corner(0), Corner(1), Corner(2)}, S)) Segments.push_back(S);
                if (F.GetShape() == 1 && Cutter.Cut({Corner(0), Corner(2), Corner(3)}, S)) Segments.push_back(S);
            }
            const auto Cut = IntersectPlaneWithPolygons(PlaneFromDirection(3, X), *Wet);
            const double Area = Cut ? SectionAreaOfCut(*Cut, 1e-5) : 0;
            const double Bound = SectionAreaBound(Segments, 1e-5);
            EXPECT_GE(Bound, Area) << Draught << " " << X;
            // Close enough to skip most stations; x = -30 runs along a column of edges, which both
            // facets beside each give.
            if (X != -30.0) {
                EXPECT_LT(Bound, 1.01 * Area + 0.01) << Draught << " " << X;
            }
        }
}
