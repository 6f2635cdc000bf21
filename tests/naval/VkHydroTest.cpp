#include "naval/VkHydro.h"

#include <gtest/gtest.h>

#include <vector>

#include "document/Settings.h"
#include "foundation/Polyline.h"
#include "foundation/PolylineFixtures.h"
#include "foundation/VkMathsExpect.h"

using namespace sarnova;

namespace {

// Closed rectangle section at station X, y from Y0 to Y1 and z from 0 to 2, counter-clockwise in y-z.
std::unique_ptr<TPolyline> Rectangle(double X, double Y0 = -1, double Y1 = 1) {
    return MakePolyline({{X, Y0, 0}, {X, Y1, 0}, {X, Y1, 2}, {X, Y0, 2}, {X, Y0, 0}});
}

constexpr TMPlane WaterlineAt1{{0, 0, 1}, 1};

std::vector<TMVector> Walk(IMVectorIterator& It) {
    std::vector<TMVector> Points{It.First()};
    // Any iterator must end; the bound only keeps a faulty one from hanging the test.
    for (int Guard = 0; !It.IsLast() && Guard < 1000; ++Guard) Points.push_back(It.Next());
    return Points;
}

TSectionProperties SectionBelow(TPolyline& Section, const TMPlane& Plane) {
    TUnderwaterSectionIterator It(Plane, Section);
    TSectionProperties R;
    SectionAreaProperties(It, R);
    SectionWaterlineProperties(It, R);
    R.Girth = SectionWettedGirth(It);
    R.Depth = UnderwaterSectionDraught(It);
    R.Station = Section.GetStation();
    return R;
}

TSectionProperties Slab(double Station, double Area, double Depth = 1) {
    TSectionProperties R;
    R.Station = Station;
    R.Area = Area;
    R.Depth = Depth;
    return R;
}

}  // namespace

TEST(UnderwaterSectionIterator, ReplacesTheDryRunByTheTwoCrossings) {
    // Below, above, above, below: the run above becomes the two crossings, and the walk closes.
    auto Outline = MakePolyline({{0, -1, 0}, {0, -1, 2}, {0, 1, 2}, {0, 1, 0}, {0, -1, 0}});
    TUnderwaterSectionIterator It(WaterlineAt1, *Outline);
    const std::vector<TMVector> Points = Walk(It);
    ASSERT_EQ(Points.size(), 5u);
    ExpectNear(Points[0], {0, -1, 0});
    ExpectNear(Points[1], {0, -1, 1});
    ExpectNear(Points[2], {0, 1, 1});
    ExpectNear(Points[3], {0, 1, 0});
    ExpectNear(Points[4], {0, -1, 0});
}

TEST(UnderwaterSectionIterator, EveryOutlineEndsOnItsFirstYieldedPoint) {
    // Closed and open outlines starting and ending above, below and on the plane.
    const std::vector<std::vector<TMVector>> Outlines = {
        {{0, -1, 2}, {0, -1, 0}, {0, 1, 0}, {0, 1, 2}, {0, -1, 2}},  // starts above, closed
        {{0, 0, 0}, {0, 1, 0.5}, {0, 1, 2}},                         // open, ends above
        {{0, 0, 2}, {0, 1, 0}, {0, 2, 2}},                           // open, both ends above
        {{0, 0, 2}, {0, 0, 0}},                                      // open, starts above
        {{0, 0, 1}, {0, 1, 2}, {0, 2, 1}, {0, 3, 0}, {0, 4, 3}},     // touches the plane
        {{0, 0, 0}},                                                 // one point
        {{0, 0, 0}, {0, 1, 2}, {0, 2, 0}, {0, 3, 2}, {0, 4, 0}, {0, 5, 2}, {0, 0, 0}},
    };
    for (std::size_t K = 0; K < Outlines.size(); ++K) {
        TPolyline P;
        for (const TMVector& V : Outlines[K]) P.AddVector(V);
        TUnderwaterSectionIterator It(WaterlineAt1, P);
        const std::vector<TMVector> Points = Walk(It);
        EXPECT_TRUE(It.IsLast()) << K;
        EXPECT_LE(Points.size(), 2 * Outlines[K].size() + 3) << K;
        ExpectNear(Points.back(), Points.front());
        for (const TMVector& V : Points) EXPECT_LE(V.Z, 1 + 1e-12) << K;
    }
}

TEST(SectionIntegrals, RectangleHalfImmersed) {
    // The lower half closed along the waterplane, whether the outline starts below or above it.
    auto Below = Rectangle(3);
    auto Above = MakePolyline({{3, 1, 2}, {3, -1, 2}, {3, -1, 0}, {3, 1, 0}, {3, 1, 2}});
    for (TPolyline* Section : {Below.get(), Above.get()}) {
        const TSectionProperties R = SectionBelow(*Section, WaterlineAt1);
        EXPECT_NEAR(R.Area, 2, 1e-12);
        EXPECT_NEAR(R.CentroidY, 0, 1e-12);
        EXPECT_NEAR(R.CentroidZ, 0.5, 1e-12);
        EXPECT_NEAR(R.WaterlineBreadth, 2, 1e-12);
        EXPECT_NEAR(R.WaterlineMoment, 0, 1e-12);
        EXPECT_NEAR(R.WaterlineInertia, 2.0 / 3, 1e-12);
        EXPECT_NEAR(R.Girth, 4, 1e-12);
        EXPECT_NEAR(R.Depth, 1, 1e-12);
        EXPECT_NEAR(R.Breadth, 2, 1e-12);
        EXPECT_NEAR(R.Height, 1, 1e-12);
        EXPECT_DOUBLE_EQ(R.FirstX, 3);
        ExpectNear(R.WaterlineRef, {3, 0, 1});
    }
}

TEST(SectionIntegrals, WaterlineCentreKeepsItsSideWhicheverWayTheOutlineRuns) {
    // An outline from y = 0 to 2: the cut runs from 0 to 2 or from 2 to 0, its centre is y = 1.
    auto Forward = Rectangle(0, 0, 2);
    auto Backward = Rectangle(0, 0, 2);
    Backward->Reverse();
    for (TPolyline* Section : {Forward.get(), Backward.get()}) {
        const TSectionProperties R = SectionBelow(*Section, WaterlineAt1);
        EXPECT_NEAR(R.WaterlineBreadth, 2, 1e-12);
        EXPECT_NEAR(R.WaterlineMoment, 2, 1e-12);
        EXPECT_NEAR(R.WaterlineCentre, 1, 1e-12);
        EXPECT_NEAR(R.WaterlineInertia, 8.0 / 3, 1e-12);
    }
}

TEST(SectionIntegrals, DrySectionIsOnePointOnThePlane) {
    auto Section = MakePolyline({{4, -1, 2}, {4, 1, 2}, {4, 1, 3}, {4, -1, 3}, {4, -1, 2}});
    TUnderwaterSectionIterator It(WaterlineAt1, *Section);
    const std::vector<TMVector> Points = Walk(It);
    ASSERT_EQ(Points.size(), 1u);
    ExpectNear(Points[0], {4, 0, 1});
    const TSectionProperties R = SectionBelow(*Section, WaterlineAt1);
    EXPECT_EQ(R.Area, 0);
    EXPECT_EQ(R.Depth, 0);
    EXPECT_EQ(R.WaterlineBreadth, 0);
    EXPECT_EQ(R.Girth, 0);
}

TEST(SectionsSummary, LengthWeightsFollowTheStationSpacing) {
    struct TCase {
        std::vector<double> Stations;
        std::vector<double> Weights;
    };
    const TCase Cases[] = {
        {{0, 1, 2, 3, 4}, {1.0 / 3, 4.0 / 3, 2.0 / 3, 4.0 / 3, 1.0 / 3}},  // two Simpson groups
        {{0, 1, 2, 3}, {3.0 / 8, 9.0 / 8, 9.0 / 8, 3.0 / 8}},              // one cubic group
        {{0, 2}, {1, 1}},                                                  // trapezoid
        // Coincident stations split the integration: 0..1 and 1.00005..2 are two trapezoids.
        {{0, 1, 1.00005, 2}, {0.5, 0.5, (2 - 1.00005) / 2, (2 - 1.00005) / 2}},
        // Unequal spacing: checked by what the weights integrate below.
        {{0, 1, 3}, {}},
    };
    for (const TCase& C : Cases) {
        TSectionsSummary Summary;
        for (double X : C.Stations) Summary.Add(Slab(X, 1));
        Summary.ComputeLengthWeights();
        double Sum = 0, SumX2 = 0;
        for (int I = 0; I < Summary.Count(); ++I) {
            Sum += Summary.Items(I).LengthWeight;
            SumX2 += Summary.Items(I).LengthWeight * C.Stations[I] * C.Stations[I];
        }
        if (C.Weights.empty()) {
            // The rule integrates 1 and x^2 over [0, 3] exactly.
            EXPECT_NEAR(Sum, 3, 1e-12);
            EXPECT_NEAR(SumX2, 9, 1e-12);
            continue;
        }
        for (int I = 0; I < Summary.Count(); ++I)
            EXPECT_NEAR(Summary.Items(I).LengthWeight, C.Weights[I], 1e-12) << I;
    }
}

TEST(SectionsSummary, InsertDeleteAndClearKeepTheOrder) {
    auto Summary = TSectionsSummary::CreateForPlane(WaterlineAt1);
    EXPECT_EQ(Summary->WaterPlane, WaterlineAt1);
    Summary->Add(Slab(0, 1));
    Summary->Add(Slab(2, 1));
    Summary->Insert(1, Slab(1, 1));
    Summary->Insert(3, Slab(3, 1));
    for (int I = 0; I < 4; ++I) EXPECT_EQ(Summary->Items(I).Station, I);
    Summary->Delete(0);
    EXPECT_EQ(Summary->Items(0).Station, 1);
    ExpectError([&] { Summary->Insert(5, Slab(9, 1)); }, "List index out of bounds (5)");
    ExpectError([&] { Summary->Delete(3); }, "List index out of bounds (3)");
    EXPECT_EQ(Summary->Count(), 3);
    Summary->Clear();
    EXPECT_EQ(Summary->Count(), 0);
}

TEST(SectionsSummary, VolumeOfFiveEqualSections) {
    TSectionsSummary Summary;
    for (double X : {0, 1, 2, 3, 4}) {
        TSectionProperties R = Slab(X, 1);
        R.CentroidY = 0.5;
        R.CentroidZ = -1;
        Summary.Add(R);
    }
    TVolumeAndCentre V;
    Summary.VolumeAndCentroid(V);
    EXPECT_NEAR(V.Volume, 4, 1e-12);
    EXPECT_NEAR(V.X, 2, 1e-12);
    EXPECT_NEAR(V.Y, 0.5, 1e-12);
    EXPECT_NEAR(V.Z, -1, 1e-12);
}

TEST(SectionsSummary, FewerThanTwoSectionsWriteNothing) {
    TSectionsSummary Summary(WaterlineAt1);
    Summary.Add(Slab(0, 5));
    TVolumeAndCentre V{7, 7, 7, 7};
    Summary.VolumeAndCentroid(V);
    EXPECT_EQ(V.Volume, 7);
    THydrostaticsData H;
    H.Volume = 3;
    Summary.Hydrostatics(H);
    EXPECT_EQ(H.Volume, 3);
}

TEST(SectionsSummary, CrossingInsertedWhereTheDepthChangesSign) {
    TSectionsSummary Summary;
    TSectionProperties Wet = Slab(0, 2, 1);
    Wet.WaterlineRef = {0, 0, 1};
    TSectionProperties Dry = Slab(4, 0, -3);
    Dry.WaterlineRef = {4, 0, 1};
    Summary.Add(Wet);
    Summary.Add(Dry);
    Summary.InsertWaterlineCrossings();
    ASSERT_EQ(Summary.Count(), 3);
    const TSectionProperties& X = Summary.Items(1);
    EXPECT_DOUBLE_EQ(X.Station, 1);
    EXPECT_EQ(X.Depth, 0);
    EXPECT_EQ(X.Area, 0);
    ExpectNear(X.WaterlineRef, {1, 0, 1});
    EXPECT_EQ(X.Extents.Min.X, 1);
    EXPECT_EQ(X.Extents.Max.X, 1);
    Summary.RemoveDrySections();
    EXPECT_EQ(Summary.Count(), 2);
}

TEST(SectionsSummary, HydrostaticsOfABoxBarge) {
    // Eleven rectangle sections 2 wide and 2 high from x = 0 to 10, floating at z = 1.
    TSectionsSummary Summary(WaterlineAt1);
    std::vector<std::unique_ptr<TPolyline>> Sections;
    for (int X = 0; X <= 10; ++X) {
        Sections.push_back(Rectangle(X));
        Summary.Add(SectionBelow(*Sections.back(), WaterlineAt1));
    }
    THydrostaticsData R;
    ResetHydrostatics(R);
    Summary.Hydrostatics(R);
    EXPECT_NEAR(R.Volume, 20, 1e-9);
    EXPECT_NEAR(R.Displacement, 20.5, 1e-9);
    EXPECT_NEAR(R.LCB, 5, 1e-9);
    EXPECT_NEAR(R.TCB, 0, 1e-9);
    EXPECT_NEAR(R.VCB, 0.5, 1e-9);
    EXPECT_NEAR(R.LWL, 10, 1e-12);
    EXPECT_NEAR(R.BWL, 2, 1e-12);
    EXPECT_EQ(R.Draught, 1);
    EXPECT_NEAR(R.WaterPlanArea, 20, 1e-9);
    EXPECT_NEAR(R.TPC, 0.205, 1e-12);
    EXPECT_NEAR(R.LCF, 5, 1e-9);
    // Bottom and sides 40, and the two immersed ends 2 each.
    EXPECT_NEAR(R.WettedArea, 44, 1e-9);
    EXPECT_NEAR(R.MaxSectionArea, 2, 1e-12);
    EXPECT_NEAR(R.IT, 80.0 / 12, 1e-9);    // L B^3 / 12
    EXPECT_NEAR(R.IL, 2000.0 / 12, 1e-6);  // B L^3 / 12
    EXPECT_NEAR(R.BMT, 1.0 / 3, 1e-9);
    EXPECT_NEAR(R.KMT, 0.5 + 1.0 / 3, 1e-9);
    EXPECT_NEAR(R.LCBPercent, 50, 1e-9);
    for (double C : {R.CB, R.CM, R.CP, R.CWP}) EXPECT_NEAR(C, 1, 1e-9);
    EXPECT_EQ(R.WaterPlane, WaterlineAt1);
    ExpectNear(R.MinCorner, {0, -1, 0});
    ExpectNear(R.MaxCorner, {10, 1, 1});
}

TEST(Hydrostatics, MassOfVolumeFollowsTheDesignUnits) {
    const auto Units = GDesignUnits;
    const auto Mass = GDesignMassUnit;
    struct TCase {
        std::uint8_t Length, Mass;
        double Expected;
    };
    const double Ft = 0.304799999536704;
    const TCase Cases[] = {{0, 0, 1.025}, {3, 3, 1025 * Ft * Ft * Ft * 2.2046226218487757}, {1, 1, 1025e-6}, {0, 9, 1025}};
    for (const TCase& C : Cases) {
        GDesignUnits = C.Length;
        GDesignMassUnit = C.Mass;
        EXPECT_NEAR(MassOfVolume(1025, 1), C.Expected, 1e-12 * C.Expected);
    }
    GDesignUnits = Units;
    GDesignMassUnit = Mass;
}
