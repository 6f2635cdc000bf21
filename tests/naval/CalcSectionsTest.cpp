#include "naval/CalcSections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/Polygon.h"
#include "foundation/PolylineFixtures.h"
#include "naval/HullMeshes.h"
#include "naval/VkHydro.h"
#include "surfaces/Surface.h"

using namespace sarnova;

namespace {

// The stations of the calculation sections of two boxes one behind the other.
std::vector<double> StationsOfTwoBoxes(std::unique_ptr<TPolygonList> Aft, std::unique_ptr<TPolygonList> Fore) {
    Aft->TakeFrom(*Fore);
    const std::vector<double> X = Stations(*CalculationSectionsOfMesh(*Aft));
    EXPECT_TRUE(std::is_sorted(X.begin(), X.end()));
    return X;
}

// A tube of radius 1 along x from 0 to 20 with its axis at z = 1: not a B-spline surface.
class TTube : public TSurface {
public:
    TMVector Evaluate(double U, double V) const override {
        const double A = 2 * std::numbers::pi * V;
        return {20 * U, std::sin(A), 1 - std::cos(A)};
    }
    TMBox GetExtents() const override { return {{20, 1, 2}, {0, -1, 0}}; }
};

}  // namespace

TEST(CalculationSections, StationCountGrowsWithSlenderness) {
    // Length over the larger of breadth and depth, and the intervals it gives.
    const std::pair<double, int> Cases[] = {{6, 24}, {10, 60}, {5, 18}, {2, 4}, {1, 2}, {0.3, 2}};
    for (auto [R, N] : Cases) {
        EXPECT_EQ(CalculationStationCount({{2 * R, 1, 0.5}, {0, -1, 0}}), N) << R;
        EXPECT_EQ(CalculationStationCount({{R, 0.3, 1}, {0, 0, 0}}), N) << R;
    }
    // A flat or needle-thin mesh asks for no more than a bounded number of sections.
    EXPECT_EQ(CalculationStationCount({{100, 0, 0}, {0, 0, 0}}), 2);
    EXPECT_EQ(CalculationStationCount({{1e6, 0.01, 0}, {0, 0, 0}}), MaxCalculationIntervals);
}

TEST(CalculationSections, BoxIsCutAtEvenStationsInsideItsEnds) {
    const auto Box = BoxMesh(0, 60, -5, 5, 0, 5, true);
    struct TCase {
        std::unique_ptr<TPolylineList> Sections;
        double Inset;
    };
    TCase Cases[] = {{CalculationSectionsOfMesh(*Box), 0.0011}, {CalculationSectionsFromMesh(*Box), 0.0001}};
    for (const TCase& C : Cases) {
        // The same area everywhere: every midpoint is predicted and nothing is added.
        const std::vector<double> X = Stations(*C.Sections);
        ASSERT_EQ(X.size(), 25u);
        EXPECT_NEAR(X.front(), C.Inset, 1e-9);
        EXPECT_NEAR(X.back(), 60 - C.Inset, 1e-9);
        EXPECT_NEAR(SectionArea(*C.Sections->Items(12)), 50, 1e-9);
        EXPECT_TRUE(C.Sections->Items(12)->IsClosed());
    }
    EXPECT_EQ(CalculationSectionsOfMesh(TPolygonList())->Count(), 0);
}

TEST(CalculationSections, RefinesWhereTheAreaIsNoParabola) {
    // Two boxes of different breadth end to end: the area steps at x = 30.
    const std::vector<double> X =
        StationsOfTwoBoxes(BoxMesh(0, 30, -2, 2, 0, 4, true), BoxMesh(30, 60, -4, 4, 0, 4, true));
    // r = 7.5 gives 36 intervals, 37 stations, before refinement; the step draws more in.
    EXPECT_GT(X.size(), 37u);
    // A refined triple spans at least 1/40 of the length, so no new spacing is below a quarter of that.
    for (std::size_t I = 1; I < X.size(); ++I) EXPECT_GE(X[I] - X[I - 1], 60.0 / 40 / 4 - 0.01);
}

TEST(CalculationSections, MissingMidpointStopsTheRefinement) {
    // Two short bodies with a gap between them: the midpoints in the gap have no section.
    const std::vector<double> X =
        StationsOfTwoBoxes(BoxMesh(0, 10, -1, 1, 0, 2, true), BoxMesh(14, 20, -1.5, 1.5, 0, 1, true));
    EXPECT_GT(X.size(), 20u);
    for (double S : X) EXPECT_FALSE(S > 10.001 && S < 13.999) << S;
}

TEST(CalculationSections, PolylineListsAreMirroredOnlyFromTheCentrePlane) {
    auto Half = [](double Y0, bool Closed) {
        auto L = std::make_unique<TPolylineList>();
        for (double X : {0.0, 1.0}) {
            auto P = MakePolyline({{X, Y0, 0}, {X, 1, 0}, {X, 1, 1}, {X, Y0, 1}});
            if (Closed) P->SetClosed(true);
            L->Add(std::move(P));
        }
        return L;
    };
    struct TCase {
        double Y0;
        bool Closed;
        int OfPoints, CreatePoints;  // points of the first section; 7 when mirrored
    };
    const TCase Cases[] = {{0, false, 7, 7}, {0.001, false, 4, 4}, {0, true, 9, 5}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(testing::Message() << C.Y0 << (C.Closed ? " closed" : " open"));
        const auto Owned = Half(C.Y0, C.Closed);
        const TPolylineList* List = Owned.get();
        const auto Of = CalculationSectionsOf(List);
        const auto Created = CreateCalculationSections(List);
        ASSERT_EQ(Of->Count(), 2);
        EXPECT_EQ(Of->Items(0)->Count(), C.OfPoints);
        EXPECT_EQ(Created->Items(0)->Count(), C.CreatePoints);
        EXPECT_EQ(List->Items(0)->Count(), C.Closed ? 5 : 4);
    }
    // Mirrored: the full section, twice the breadth, closed.
    const auto List = Half(0, false);
    const auto Full = CalculationSectionsOf(static_cast<const TPolylineList*>(List.get()));
    EXPECT_TRUE(Full->Items(0)->IsClosed());
    EXPECT_EQ(Full->Items(0)->Extents().Min.Y, -1);
    EXPECT_NEAR(SectionArea(*Full->Items(0)), 2, 1e-12);
    EXPECT_NEAR(PlanarSectionArea(*Full->Items(0)).Area, 2, 1e-12);
}

TEST(CalculationSections, KindsOfHullObject) {
    TTube Tube;
    const auto Of = CalculationSectionsOf(&Tube);
    ASSERT_NE(Of, nullptr);
    EXPECT_GT(Of->Count(), 2);
    // Only B-spline surfaces and plain meshes make sections for the volumes report.
    EXPECT_EQ(CreateCalculationSections(&Tube), nullptr);
    EXPECT_EQ(CalculationSectionsOf(THullObject{}), nullptr);
    EXPECT_EQ(CreateCalculationSections(THullObject{}), nullptr);
    const auto Box = BoxMesh(0, 60, -5, 5, 0, 5, true);
    EXPECT_EQ(CreateCalculationSections(static_cast<const TPolygonList*>(Box.get()))->Count(), 25);
}

TEST(CalculationSections, PlanarAreaOfAClosedOutline) {
    // A unit square in y-z with its centroid at (0.5, 0.5), either way round.
    auto Square = MakePolyline({{3, 0, 0}, {3, 1, 0}, {3, 1, 1}, {3, 0, 1}, {3, 0, 0}});
    TPlanarArea R = PlanarSectionArea(*Square);
    EXPECT_NEAR(R.Area, 1, 1e-12);
    EXPECT_NEAR(R.Centroid.Y, 0.5, 1e-12);
    EXPECT_NEAR(R.Centroid.Z, 0.5, 1e-12);
    Square->Reverse();
    EXPECT_NEAR(PlanarSectionArea(*Square).Area, 1, 1e-12);
    auto Open = MakePolyline({{3, 0, 0}, {3, 1, 0}, {3, 1, 1}, {3, 0, 1}});
    EXPECT_EQ(PlanarSectionArea(*Open).Area, 0);
}

TEST(CalculationSections, WigleyHullHydrostaticsFromSections) {
    const double L = 100, B = 10, T = 6.25;
    // 203 columns keep the stations clear of the mesh's vertex columns.
    const auto Mesh = WigleyHull(L, B, T, 203, 50);
    const auto Sections = CalculationSectionsOf(static_cast<const TPolygonList*>(Mesh.get()));
    THydrostaticsData R;
    ResetHydrostatics(R);
    Sections->HydrostaticSummary(WaterplaneAtDraught(T), R);
    EXPECT_NEAR(R.Volume, 4 * L * B * T / 9, 0.005 * 4 * L * B * T / 9);
    for (double K : {R.CWP, R.CM, R.CP}) EXPECT_NEAR(K, 2.0 / 3, 0.01 * 2 / 3);
}

// With 200 columns the stations at 5, 10 and 15 lie about 1e-4 short of a column of mesh vertices,
// where the cut's points crowd together at every row, the deck edge's among them.
TEST(CalculationSections, StationsNextToVertexColumnsKeepTheirWaterline) {
    const double L = 100, B = 10, T = 6.25;
    const auto Mesh = WigleyHull(L, B, T, 200, 50);
    const auto Sections = CalculationSectionsOf(static_cast<const TPolygonList*>(Mesh.get()));
    const auto Summary = Sections->SectionsSummary(WaterplaneAtDraught(T));
    ASSERT_GT(Summary->Count(), 30);
    for (int I = 0; I < Summary->Count(); ++I) {
        const TSectionProperties& S = Summary->Items(I);
        const double Xi = 2 * S.Station / L;
        EXPECT_NEAR(S.WaterlineBreadth, B * (1 - Xi * Xi), 1e-3) << S.Station;
    }
    THydrostaticsData R;
    ResetHydrostatics(R);
    Sections->HydrostaticSummary(WaterplaneAtDraught(T), R);
    EXPECT_NEAR(R.CWP, 2.0 / 3, 0.01 * 2 / 3);
}
