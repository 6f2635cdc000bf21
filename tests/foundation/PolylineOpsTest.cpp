#include "foundation/PolylineOps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <tuple>
#include <vector>

#include "VkMathsExpect.h"
#include "foundation/BSpline.h"
#include "foundation/Errors.h"
#include "foundation/VkMathsIntersect.h"
#include "platform/RecordingGraphics.h"

using namespace sarnova;

namespace {

std::unique_ptr<TPolyline> Line(std::initializer_list<TMVector> Points) {
    auto P = std::make_unique<TPolyline>();
    for (const TMVector& V : Points) P->AddVector(V);
    return P;
}

void ExpectPoints(const TPolyline* L, const std::vector<TMVector>& Expected, double Tol = 1e-12) {
    ASSERT_NE(L, nullptr);
    ASSERT_EQ(L->Count(), static_cast<int>(Expected.size()));
    int I = 0;
    for (const TMVector& V : Expected) {
        SCOPED_TRACE(I);
        ExpectNear(static_cast<const TRPoints*>(L)->Point(I++)->Vector(), V, Tol);
    }
}

// A plan view at one pixel per unit: the screen is (x, y) rounded, the pick ray runs along z.
class TPlanView : public TRecordingGraphics {
public:
    TPoint WorldToScreenPoint(const TRPoint& P) override {
        return {static_cast<int>(std::lround(P.X)), static_cast<int>(std::lround(P.Y))};
    }
};

// The unit circle as a smooth curve over [0, 1], digitised at 16 parameters.
class TCircleCurve : public TPolyline {
public:
    std::unique_ptr<TRPoint> PointAt(double T) override {
        if (!(T >= 0 && T <= 1)) return nullptr;
        auto P = NewRPoint(std::cos(2 * M_PI * T), std::sin(2 * M_PI * T), 0);
        P->T = T;
        return P;
    }
    std::unique_ptr<TPolyline> Digitise() override {
        auto D = std::make_unique<TPolyline>();
        for (int I = 0; I <= 16; ++I) D->AddRPoint(PointAt(I / 16.0));
        return D;
    }
};

// Digitised it crosses x = 0.5; evaluated it stays at the origin.
class TLyingCurve : public TCircleCurve {
public:
    std::unique_ptr<TRPoint> PointAt(double T) override {
        auto P = TCircleCurve::PointAt(T);
        if (P) P->SetXYZ(0, 0, 0);
        return P;
    }
    std::unique_ptr<TPolyline> Digitise() override {
        auto D = Line({{0, 0, 0}, {1, 0, 0}});
        static_cast<TRPoints&>(*D).Point(1)->T = 1;
        return D;
    }
};

}  // namespace

// ---- Insertion and nearest points ----

TEST(PolylineInsert, FindsTheSegmentAndWhereTheNewPointGoes) {
    const auto L = Line({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}});
    const std::tuple<TMVector, int, double> Cases[] = {
        {{0.1, 1, 0}, 0, 0.01},  // near the start: before the first point
        {{5, 1, 0}, 1, 0.5},
        {{12, 1, 0}, 2, 0.2},
        {{19, 1, 0}, 3, 0.9},    // near the end: appended
        {{-5, 0, 0}, 0, 0},      // beyond the start: clamped
    };
    for (const auto& [P, Index, F] : Cases) {
        int I = -2;
        double G = -1;
        L->FindInsertPosition(TRPoint(P), I, G);
        EXPECT_EQ(I, Index) << P.X;
        EXPECT_NEAR(G, F, 1e-12) << P.X;
    }
    int I = 0;
    double F = 1;
    Line({{1, 1, 1}})->FindInsertPosition(TRPoint(), I, F);
    EXPECT_EQ(I, -1);

    // A segment too short to project on answers its nearer end, the later one on a tie.
    const auto Short = Line({{0, 0, 0}, {1e-5, 0, 0}});
    Short->FindInsertPosition(TRPoint(TMVector{-1, 0, 0}), I, F);
    EXPECT_EQ(I, 0);
    EXPECT_EQ(F, 0);
    Short->FindInsertPosition(TRPoint(TMVector{1, 0, 0}), I, F);
    EXPECT_EQ(I, 2);
    EXPECT_EQ(F, 1);
    Line({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}})->FindInsertPosition(TRPoint(), I, F);
    EXPECT_EQ(I, 1);
    EXPECT_EQ(F, 1);
}

TEST(PolylineInsert, InsertNearestPutsACopyBetweenTheNearestEnds) {
    auto L = Line({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}});
    TRPoint P(TMVector{5, 1, 0});
    P.Tag = 7;
    L->InsertNearest(P);
    ExpectPoints(L.get(), {{0, 0, 0}, {5, 1, 0}, {10, 0, 0}, {20, 0, 0}});
    EXPECT_EQ(L->Point(1)->Tag, 7);

    auto Single = Line({{0, 0, 0}});
    Single->InsertNearest(P);
    EXPECT_EQ(Single->Count(), 1);
}

TEST(PolylineInsert, ScreenPointLiesOnThePickRayAtTheDepthOfItsSegment) {
    // Seen from above the three segments lie side by side; their depths differ.
    auto L = Line({{0, 0, 0}, {10, 0, 10}, {20, 0, 10}, {30, 0, 40}});
    TPlanView View;
    // Pixel (15, 1) is nearest the middle segment, so the point goes between points 1 and 2 and
    // takes that segment's depth (10), not the next one's.
    L->InsertScreenPoint({15, 1}, View);
    ExpectPoints(L.get(), {{0, 0, 0}, {10, 0, 10}, {15, 1, 10}, {20, 0, 10}, {30, 0, 40}}, 1e-9);

    // Appended after the end: the last segment gives the depth.
    L->InsertScreenPoint({30, 0}, View);
    ASSERT_EQ(L->Count(), 6);
    ExpectNear(L->Last()->Vector(), {30, 0, 40}, 1e-9);

    auto Single = Line({{1, 2, 3}});
    Single->InsertScreenPoint({1, 2}, View);
    EXPECT_EQ(Single->Count(), 1);
}

TEST(PolylineNearest, ScreenPointInterpolatesTheWorldEnds) {
    auto L = Line({{0, 0, 0}, {10, 0, 5}, {10, 10, 5}});
    auto* A = static_cast<TRPoints&>(*L).Point(0);
    auto* B = static_cast<TRPoints&>(*L).Point(1);
    A->W = 0;
    B->W = 1;
    A->T = 2;
    B->T = 4;
    A->Tag = 3;
    TPlanView View;
    const auto P = PolylineNearestScreenPoint({4, -2}, *L, View);
    ExpectNear(P->Vector(), {4, 0, 2});
    EXPECT_DOUBLE_EQ(P->W, 0.4);
    EXPECT_DOUBLE_EQ(P->T, 2.8);
    EXPECT_EQ(P->Tag, 3);

    const auto None = PolylineNearestScreenPoint({4, -2}, *Line({{5, 5, 5}}), View);
    ExpectNear(None->Vector(), ZeroVector);
    EXPECT_EQ(None->W, 1.0);
}

TEST(PolylineNearest, PointCarriesArcLengthWeightAndTag) {
    auto L = Line({{0, 0, 0}, {3, 0, 0}, {3, 4, 0}});
    auto& Points = static_cast<TRPoints&>(*L);
    Points.Point(1)->W = 2;
    Points.Point(2)->W = 4;
    Points.Point(1)->Tag = -1;
    const auto P = PolylineNearestPoint({5, 1, 0}, *L);
    ExpectNear(P->Vector(), {3, 1, 0});
    EXPECT_DOUBLE_EQ(P->T, 4);  // 3 along the first leg, 1 up the second
    EXPECT_DOUBLE_EQ(P->W, 2.5);
    EXPECT_EQ(P->Tag, -1);

    // A single point is its own nearest point; an empty polyline gives the default point.
    ExpectNear(PolylineNearestPoint({9, 9, 9}, *Line({{1, 2, 3}}))->Vector(), {1, 2, 3});
    ExpectNear(PolylineNearestPoint({9, 9, 9}, TPolyline())->Vector(), ZeroVector);
}

TEST(PolylineNearest, PointIndexTakesTheFirstOfEquals) {
    const auto L = Line({{0, 0, 0}, {2, 0, 0}, {1, 5, 0}, {2, 0, 0}});
    EXPECT_EQ(PolylineNearestPointIndex(TRPoint(TMVector{2.1, 0, 0}), *L), 1);
    EXPECT_EQ(PolylineNearestPointIndex(TRPoint(TMVector{1, 4, 0}), *L), 2);
    EXPECT_EQ(PolylineNearestPointIndex(TRPoint(), TPolyline()), 0);
}

// ---- Tidying ----

TEST(PolylineTidy, PointsCollinear) {
    const auto L = Line({{0, 0, 0}, {1, 0.00005, 0}, {2, 0, 0}, {3, 1, 0}, {0, 0, 0}, {0, 0, 0.00005}, {0, 0, 0}});
    const std::tuple<int, int, bool> Cases[] = {
        {0, 1, false},  // nothing in between
        {0, 2, true},   // 5e-5 off the line
        {0, 3, false},
        {4, 6, true},   // equal ends: the points between must equal them
        {2, 4, false},
    };
    for (const auto& [I, J, Expected] : Cases) EXPECT_EQ(PolylinePointsCollinear(I, J, *L), Expected) << I << J;
    ExpectError([&] { PolylinePointsCollinear(0, 9, *L); }, "List index out of bounds (9)");
    EXPECT_EQ(L->Count(), 7);
}

TEST(PolylineTidy, RemoveDuplicatePointsKeepsTheFirstOfARun) {
    auto L = Line({{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0, 0}});
    TRPoint* Survivor = static_cast<TRPoints&>(*L).Point(2);
    Survivor->Marked = true;
    EXPECT_EQ(L->RemoveDuplicatePoints(), 2);
    ExpectPoints(L.get(), {{0, 0, 0}, {1, 0, 0}});
    EXPECT_EQ(static_cast<TRPoints&>(*L).Point(1), Survivor);  // the point itself, not a copy
    EXPECT_TRUE(Survivor->Marked);

    // Only exact repeats of the predecessor go.
    auto Apart = Line({{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {0, 0, 1e-12}});
    EXPECT_EQ(Apart->RemoveDuplicatePoints(), 4);

    TPolyline Empty;
    EXPECT_EQ(Empty.RemoveDuplicatePoints(), -1);
    EXPECT_EQ(Line({{1, 1, 1}})->RemoveDuplicatePoints(), 0);
}

TEST(PolylineTidy, RemoveCollinearPoints) {
    auto L = Line({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}});
    L->RemoveCollinearPoints();
    ExpectPoints(L.get(), {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}});

    // Point 2 lies on the line from point 1 to point 3 and goes. Point 1 is only 8e-5 off the line
    // from point 0 to point 3, but point 2 is 1.2e-4 off it: taking point 1 away as well would move
    // the line farther than the tolerance from a point it replaced, so point 1 stays.
    auto Bent = Line({{0, 0, 0}, {1, 0.00008, 0}, {0.5, 0.00012, 0}, {2, 0, 0}, {2, 1, 0}});
    Bent->RemoveCollinearPoints();
    ExpectPoints(Bent.get(), {{0, 0, 0}, {1, 0.00008, 0}, {2, 0, 0}, {2, 1, 0}});

    // A point that doubles back along the line lies on it, and goes.
    auto Spike = Line({{0, 0, 0}, {2, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    Spike->RemoveCollinearPoints();
    ExpectPoints(Spike.get(), {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});

    // Neighbours that coincide give no line to test against.
    auto Back = Line({{0, 0, 0}, {1, 0, 0}, {0, 0, 0}});
    Back->RemoveCollinearPoints();
    EXPECT_EQ(Back->Count(), 3);
}

namespace {

// A polyline through Original thinned as any polyline (Cut false) or as a cut from a mesh: how many
// points stay, how far the thinned line lies from the farthest original point, and how much area the
// polygon closed from the first point to the last loses.
struct TThinned {
    int Count = 0;
    double Worst = 0;
    double Loss = 0;
    std::vector<TMVector> Points;
};

TThinned Thinned(const std::vector<TMVector>& Original, bool Cut) {
    TPolyline L;
    for (const TMVector& P : Original) L.AddVector(P);
    if (Cut)
        L.RemoveCutCollinearPoints();
    else
        L.RemoveCollinearPoints();
    TThinned R;
    R.Count = L.Count();
    if (R.Count < 2) return R;
    // Every original point against the thinned polyline's segment over it.
    int Segment = 0;
    for (const TMVector& P : Original) {
        const TMVector End = L.Point(Segment + 1)->Vector();
        R.Worst = std::max(R.Worst, DistanceFromPointToLine(P, LineThroughPoints(L.Point(Segment)->Vector(), End)));
        if (P == End && Segment + 2 < L.Count()) ++Segment;
    }
    auto Area = [](const std::vector<TMVector>& V) {
        double A = 0;
        for (std::size_t I = 0; I + 1 < V.size(); ++I) A += V[I].X * V[I + 1].Y - V[I + 1].X * V[I].Y;
        return A / 2;
    };
    for (int I = 0; I < L.Count(); ++I) R.Points.push_back(L.Point(I)->Vector());
    R.Loss = Area(Original) - Area(R.Points);
    return R;
}

// A half circle of radius 5 through N + 1 points, thinned.
TThinned ThinnedArc(int N, bool Cut) {
    std::vector<TMVector> Arc;
    for (int I = 0; I <= N; ++I) {
        const double A = std::numbers::pi * I / N;
        Arc.push_back({5 * std::cos(A), 5 * std::sin(A), 0});
    }
    return Thinned(Arc, Cut);
}

}  // namespace

// A finely sampled arc: each point lies far within the tolerance of the chord of its neighbours, so
// thinning that only looked at the line that is left would straighten the arc bit by bit.
TEST(PolylineTidy, RemovedPointsStayWithinTheToleranceOfTheThinnedLine) {
    for (const bool Cut : {false, true})
        for (const int N : {1000, 20000, 200000}) {
            SCOPED_TRACE(testing::Message() << N << (Cut ? " cut" : ""));
            const TThinned R = ThinnedArc(N, Cut);
            ASSERT_GE(R.Count, 2);
            EXPECT_LT(R.Count, N + 1);
            EXPECT_LT(R.Worst, 1e-4);
            // The half disc's area moves by no more than the tolerance times the arc's length.
            EXPECT_LE(std::fabs(R.Loss), 1e-4 * 5 * std::numbers::pi);
        }
}

// Thinning a cut to a fixed tolerance cuts inside a convex section by nearly that tolerance however
// finely the mesh follows it, so the area lost stays while the mesh's own error shrinks. A cut is thinned
// in proportion to how much it bends from point to point: four times the points lose far less than a
// quarter of the area, and a finer cut never loses more.
TEST(PolylineTidy, ThinningACutLosesLessAreaAsItsPointsMultiply) {
    double Previous = HUGE_VAL;
    for (const int N : {1000, 4000, 16000}) {
        SCOPED_TRACE(N);
        const TThinned R = ThinnedArc(N, true);
        EXPECT_LT(R.Count, N / 2 + 2);
        EXPECT_GT(R.Loss, 0);
        EXPECT_LT(R.Loss, Previous / 8);
        Previous = R.Loss;
    }
    // Where the cut bends from point to point by more than half the tolerance (600 points: 7e-5), the
    // tolerance holds as it does for any polyline and the same points stay.
    const TThinned Coarse = ThinnedArc(600, true);
    EXPECT_LT(Coarse.Count, 601);
    EXPECT_EQ(Coarse.Points, ThinnedArc(600, false).Points);
}

// A straight run of a cut keeps only its ends, with positions off the line by rounding. A kink of a cut
// that bends nowhere else is kept to within its own bend, though it is far within the tolerance: two
// straight runs meeting 5e-5 off the line between their far ends.
TEST(PolylineTidy, ThinningACutKeepsItsKinks) {
    auto Straight = Line({{0, 0, 0}, {0.1, 0.3, 0}, {0.2, 0.6, 0}, {0.7, 2.1, 0}, {1, 3, 0}});
    Straight->RemoveCutCollinearPoints();
    ExpectPoints(Straight.get(), {{0, 0, 0}, {1, 3, 0}});

    std::vector<TMVector> Kinked;
    for (int I = 0; I <= 8; ++I) Kinked.push_back({I * 1.0, I <= 4 ? 0 : (I - 4) * 2.5e-5, 0});
    const TThinned Cut = Thinned(Kinked, true);
    EXPECT_EQ(Cut.Count, 3);
    EXPECT_LT(Cut.Worst, 2.5e-5);
    EXPECT_NEAR(Thinned(Kinked, false).Worst, 5e-5, 1e-9);
}

TEST(PolylineTidy, RoundCoordinatesCutsToThreeDecimalsTowardsZero) {
    const std::pair<double, double> Cases[] = {
        {2.9999, 2.999}, {-0.0004, 0}, {1.2345, 1.234}, {-1.2345, -1.234}, {7, 7}, {0.001, 0.001}};
    for (auto [In, Out] : Cases) {
        auto L = Line({{In, In, In}});
        L->RoundCoordinates();
        ExpectNear(L->Point(0)->Vector(), {Out, Out, Out});
        EXPECT_EQ(std::signbit(L->Point(0)->X), Out < 0) << In;  // so zero is written "0.000", not "-0.000"
    }
    auto Odd = Line({{NAN, INFINITY, 1e40}});
    Odd->RoundCoordinates();
    EXPECT_TRUE(std::isnan(Odd->Point(0)->X));
    EXPECT_EQ(Odd->Point(0)->Z, 1e40);
}

// ---- Restarting and mirroring ----

TEST(PolylineRestart, RotationsRepeatTheNewStartAtTheEnd) {
    const auto Numbered = [](int N) {
        auto L = std::make_unique<TPolyline>();
        for (int I = 0; I < N; ++I) L->AddPoint(I, 0, 0);
        L->LineColor = clRed;
        return L;
    };
    auto Half = Numbered(6);
    Half->RotateToHalf();
    ExpectPoints(Half.get(), {{2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}, {0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    EXPECT_EQ(Half->LineColor, clRed);

    auto Quarter = Numbered(8);
    Quarter->RotateToQuarter();
    EXPECT_EQ(Quarter->Count(), 9);
    EXPECT_EQ(Quarter->First()->X, 1);
    EXPECT_EQ(Quarter->Last()->X, 1);

    auto Short = Numbered(3);
    ExpectError([&] { Short->RotateToQuarter(); }, "List index out of bounds (-1)");
    ExpectError([&] { Numbered(1)->RotateToHalf(); }, "List index out of bounds (-1)");
    EXPECT_EQ(Short->Count(), 3);
}

TEST(PolylineRestart, RotateStartKeepsAClosedPolylineClosed) {
    auto Square = Line({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
    Square->RotateStart(2);
    ExpectPoints(Square.get(), {{1, 1, 0}, {0, 1, 0}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}});

    auto Open = Line({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    Open->RotateStart(1);
    ExpectPoints(Open.get(), {{1, 0, 0}, {2, 0, 0}, {0, 0, 0}});
    ExpectError([&] { Open->RotateStart(4); }, "List index out of bounds (4)");
    EXPECT_EQ(Open->Count(), 3);
}

TEST(PolylineRestart, MirroredFullSectionPassesTheCentrelineOnce) {
    auto Half = Line({{5, 0, 0}, {5, 1, 1}, {5, 2, 3}});
    static_cast<TRPoints&>(*Half).Point(2)->Tag = 1;
    const auto Full = Half->MirroredFullSection();
    ExpectPoints(Full.get(), {{5, 2, 3}, {5, 1, 1}, {5, 0, 0}, {5, -1, 1}, {5, -2, 3}});
    EXPECT_EQ(Full->First()->Tag, 1);
    EXPECT_EQ(Full->Last()->Tag, 0);
    EXPECT_EQ(TPolyline().MirroredFullSection()->Count(), 0);
}

TEST(PolylineRestart, OrientSectionRunsUpFromTheLowestInboardPoint) {
    auto Down = Line({{0, 2, 3}, {0, 1, 1}, {0, 1, 1}, {0, 0, 0}});
    EXPECT_EQ(Down->OrientSection(), 3);
    ExpectPoints(Down.get(), {{0, 0, 0}, {0, 1, 1}, {0, 2, 3}});

    // A closed box section starting at its outboard top corner and running down first.
    auto Box = Line({{0, 2, 1}, {0, 1, 1}, {0, 1, 0}, {0, 2, 0}, {0, 2, 1}});
    EXPECT_EQ(Box->OrientSection(), 5);
    ExpectPoints(Box.get(), {{0, 1, 0}, {0, 1, 1}, {0, 2, 1}, {0, 2, 0}, {0, 1, 0}});

    // On the port side (y < 0) inboard is the larger y.
    auto Port = Line({{0, -2, 0}, {0, -1, 0}, {0, -1, 2}});
    Port->OrientSection();
    ExpectPoints(Port.get(), {{0, -1, 0}, {0, -1, 2}, {0, -2, 0}});

    auto Single = Line({{0, 1, 1}});
    EXPECT_EQ(Single->OrientSection(), 1);
    EXPECT_EQ(TPolyline().OrientSection(), 0);
}

// ---- Joining ----

TEST(PolylineJoin, JoinsAtTheNearestEnds) {
    const auto A = Line({{0, 0, 0}, {1, 0, 0}});
    struct Case {
        std::unique_ptr<TPolyline> B;
        std::vector<TMVector> Expected;
    };
    Case Cases[] = {
        {Line({{1, 0, 0}, {2, 0, 0}}), {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}},                         // d1, shared
        {Line({{3, 0, 0}, {1.5, 0, 0}}), {{3, 0, 0}, {1.5, 0, 0}, {1, 0, 0}, {0, 0, 0}}},           // d3
        {Line({{-1, 0, 0}, {-2, 0, 0}}), {{1, 0, 0}, {0, 0, 0}, {-1, 0, 0}, {-2, 0, 0}}},           // d0
        {Line({{-2, 0, 0}, {0, 0, 0}}), {{-2, 0, 0}, {0, 0, 0}, {1, 0, 0}}},                        // d2, shared
        {Line({{0, 5, 0}, {1, 5, 0}}), {{1, 0, 0}, {0, 0, 0}, {0, 5, 0}, {1, 5, 0}}},               // tie: d0
    };
    for (auto& C : Cases) ExpectPoints(A->JoinAtNearestEnds(*C.B).get(), C.Expected);

    EXPECT_EQ(A->JoinAtNearestEnds(TPolyline()), nullptr);
    EXPECT_EQ(TPolyline().JoinAtNearestEnds(*A), nullptr);
    EXPECT_EQ(A->Count(), 2);
}

TEST(PolylineJoin, MergeLoopBridgesToTheNearestSegment) {
    const auto Host = Line({{0, 0, 0}, {10, 0, 0}});
    const auto Loop = Line({{4, 1, 0}, {6, 1, 0}, {6, 3, 0}, {4, 3, 0}, {4, 1, 0}});
    // The square's bottom edge is nearest (1 away; the first of the equally near edges), so the
    // bridge runs up from (4, 0); the loop, restarted after that edge, turns against the bridge and
    // is run backwards.
    const std::vector<TMVector> Expected = {{0, 0, 0}, {4, 0, 0}, {4, 1, 0}, {4, 3, 0}, {6, 3, 0},
                                            {6, 1, 0}, {4, 1, 0}, {4, 0, 0}, {10, 0, 0}};
    // Either way round: the closed one is the loop.
    ExpectPoints(Host->MergeLoop(*Loop).get(), Expected, 1e-12);
    ExpectPoints(Loop->MergeLoop(*Host).get(), Expected, 1e-12);

    // Nothing to bridge from a lone point: both lists follow each other.
    ExpectPoints(Host->MergeLoop(*Line({{5, 5, 5}})).get(), {{0, 0, 0}, {10, 0, 0}, {5, 5, 5}});
}

// ---- Crossings ----

TEST(PolylineCrossings, CurveCurveInEachPrincipalPlane) {
    auto A = Line({{0, 0, 0}, {2, 2, 0}});
    auto B = Line({{0, 2, 0}, {2, 0, 0}});
    ExpectPoints(CurveCurveIntersections(*A, *B, 0).get(), {{1, 1, 0}});

    // Seen in y-z the two lines cross at (y, z) = (1, 1); x is taken along the first curve.
    auto C = Line({{5, 0, 0}, {5, 2, 2}});
    auto D = Line({{7, 0, 2}, {7, 2, 0}});
    ExpectPoints(CurveCurveIntersections(*C, *D, 1).get(), {{5, 1, 1}});
    // In x-z: (0, 7, 0)-(2, 7, 2) against (0, 9, 2)-(2, 9, 0).
    auto E = Line({{0, 7, 0}, {2, 7, 2}});
    auto F = Line({{0, 9, 2}, {2, 9, 0}});
    ExpectPoints(CurveCurveIntersections(*E, *F, 2).get(), {{1, 7, 1}});

    // Cut to three decimals; a crossing at a shared vertex is found by two segment pairs, once.
    auto G = Line({{0, 0, 0}, {1, 1, 0}, {3, 0, 0}});
    auto H = Line({{0, 1, 0}, {3, 0, 0}});
    ExpectPoints(CurveCurveIntersections(*G, *H, 0).get(), {{0.75, 0.75, 0}, {3, 0, 0}});
    auto V = Line({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    auto W = Line({{1, -1, 0}, {1, 0, 0}, {2, 0, 0}});
    ExpectPoints(CurveCurveIntersections(*V, *W, 0).get(), {{1, 0, 0}});
    auto Rising = Line({{0, 0, 0}, {1, 1, 0}});
    auto Falling = Line({{0, 1, 0}, {1, -1, 0}});
    ExpectPoints(CurveCurveIntersections(*Rising, *Falling, 0).get(), {{0.333, 0.333, 0}});

    // Apart, or parallel: empty, never null.
    auto Far = Line({{0, 5, 0}, {2, 7, 0}});
    const auto None = CurveCurveIntersections(*A, *Far, 0);
    ASSERT_NE(None, nullptr);
    EXPECT_EQ(None->Count(), 0);
}

TEST(PolylineCrossings, CurveCurveWithASinglePoint) {
    auto Diagonal = Line({{0, 0, 0}, {2, 2, 0}});
    auto On = Line({{1, 1.0005, 5}});
    auto Off = Line({{1, 1.01, 0}});
    ExpectPoints(CurveCurveIntersections(*On, *Diagonal, 0).get(), {{1, 1, 5}});
    ExpectPoints(CurveCurveIntersections(*Diagonal, *On, 0).get(), {{1, 1, 5}});
    EXPECT_EQ(CurveCurveIntersections(*Off, *Diagonal, 0)->Count(), 0);
}

TEST(PolylineCrossings, CurveCurveMatchesEveryPairTried) {
    // Two random walks: the box sweep must find exactly what trying every pair finds, in the same
    // order.
    std::mt19937 Rng(7);
    std::uniform_real_distribution<double> Step(-1, 1);
    const auto Walk = [&](double X0) {
        auto L = std::make_unique<TPolyline>();
        double X = X0, Y = 0;
        for (int I = 0; I < 400; ++I) {
            L->AddPoint(X, Y, I * 0.01);
            X += Step(Rng) + 0.05;
            Y += Step(Rng);
        }
        return L;
    };
    auto P = Walk(0), Q = Walk(3);
    TPolyline Expected;
    for (int I = 1; I < P->Count(); ++I)
        for (int J = 1; J < Q->Count(); ++J) {
            const TRPoint &A = *P->Point(I - 1), &B = *P->Point(I), &C = *Q->Point(J - 1), &D = *Q->Point(J);
            const double LoX = std::max(std::min(A.X, B.X), std::min(C.X, D.X));
            const double HiX = std::min(std::max(A.X, B.X), std::max(C.X, D.X));
            const double LoY = std::max(std::min(A.Y, B.Y), std::min(C.Y, D.Y));
            const double HiY = std::min(std::max(A.Y, B.Y), std::max(C.Y, D.Y));
            if (LoX > HiX || LoY > HiY) continue;
            const auto X = IntersectLinesXY(A, B, C, D);
            if (X->X >= LoX - 1e-5 && X->X <= HiX + 1e-5 && X->Y >= LoY - 1e-5 && X->Y <= HiY + 1e-5)
                Expected.AddPointCopy(X.get());
        }
    Expected.RoundCoordinates();
    Expected.RemoveDuplicatePoints();
    const auto Found = CurveCurveIntersections(*P, *Q, 0);
    ASSERT_GT(Expected.Count(), 10);
    ASSERT_EQ(Found->Count(), Expected.Count());
    for (int I = 0; I < Found->Count(); ++I) EXPECT_EQ(Found->Point(I)->Vector(), Expected.Point(I)->Vector()) << I;
}

TEST(PolylineCrossings, CurvePlaneOnAPolyline) {
    auto L = Line({{0, 0, 0}, {2, 0, 0}, {0, 1, 0}});
    const TMPlane X1{{1, 0, 0}, 1};
    const auto Hits = CurvePlaneIntersections(X1, *L);
    ExpectPoints(Hits.get(), {{1, 0, 0}, {1, 0.5, 0}});
    // T is the arc length at the crossing.
    EXPECT_DOUBLE_EQ(Hits->Point(0)->T, 1);
    EXPECT_DOUBLE_EQ(Hits->Point(1)->T, 2 + std::sqrt(5.0) / 2);
    ExpectPoints(PolylinePlaneIntersections(*L, X1).get(), {{1, 0, 0}, {1, 0.5, 0}});

    // A vertex on the plane counts as below it: touching from below gives nothing...
    EXPECT_EQ(CurvePlaneIntersections({{1, 0, 0}, 2}, *L), nullptr);
    // ...passing through it gives it once, and touching from above gives it from both segments,
    // computed alike and so kept once.
    ExpectPoints(CurvePlaneIntersections({{0, 1, 0}, 0}, *Line({{0, -1, 0}, {0, 0, 0}, {0, 1, 0}})).get(),
                 {{0, 0, 0}});
    ExpectPoints(CurvePlaneIntersections({{0, 1, 0}, 0}, *Line({{0, 1, 0}, {0, 0, 0}, {0, 1, 0}})).get(),
                 {{0, 0, 0}});

    // Ends on either side but closer than the line routine can cut: the crossing is still found.
    const auto Close = CurvePlaneIntersections({{0, 0, 1}, 0}, *Line({{0, 0, 0}, {1, 0, 1e-12}}));
    ExpectPoints(Close.get(), {{0, 0, 0}});
}

TEST(PolylineCrossings, CurvePlaneOnASmoothCurveFindsTheRoots) {
    TCircleCurve Circle;
    const auto Hits = CurvePlaneIntersections({{1, 0, 0}, 0.5}, Circle);
    ASSERT_NE(Hits, nullptr);
    ASSERT_EQ(Hits->Count(), 2);
    // cos(2 pi t) = 0.5 at t = 1/6 and 5/6; the roots are found to 1e-4 in t.
    EXPECT_NEAR(Hits->Point(0)->T, 1.0 / 6, 1e-4);
    EXPECT_NEAR(Hits->Point(1)->T, 5.0 / 6, 1e-4);
    EXPECT_NEAR(Hits->Point(0)->X, 0.5, 1e-3);
    EXPECT_NEAR(Hits->Point(1)->Y, -std::sqrt(0.75), 1e-3);

    TCurvePlaneIntersection Root(Circle, {{1, 0, 0}, 0.5});
    EXPECT_NEAR(Root.Distance(0), 0.5, 1e-12);
    EXPECT_TRUE(std::isnan(Root.Distance(2)));

    TLyingCurve Lying;
    ExpectError([&] { CurvePlaneIntersections({{1, 0, 0}, 0.5}, Lying); },
                "VkMaths.FindValueBrent - Value is outside of Bracket");
}

// Fewer control points than the order: no curve to evaluate, the control polygon stands for it (as it
// is drawn), and the plane cuts that instead of failing to bracket a root.
TEST(PolylineCrossings, CurvePlaneOnABSplineBelowItsOrderCutsTheControlPolygon) {
    TBSpline Spline(4);
    Spline.AddVector({-5, -5, 0});
    Spline.AddVector({5, 5, 2});
    const TMPlane Y0{{0, 1, 0}, 0};
    ExpectPoints(CurvePlaneIntersections(Y0, Spline).get(), {{0, 0, 1}}, 1e-9);
    EXPECT_EQ(CurvePlaneIntersections({{0, 0, 1}, 5}, Spline), nullptr);
    Spline.AddVector({5, -5, 4});
    ExpectPoints(CurvePlaneIntersections(Y0, Spline).get(), {{0, 0, 1}, {5, 0, 3}}, 1e-9);
}

// ---- Clipping and offsetting ----

TEST(PolylineClip, KeepsThePartBelowOrAboveWithTheCrossings) {
    const auto Up = Line({{0, 0, 0}, {0, 0, 2}});
    const auto Down = Line({{0, 0, 2}, {0, 0, 0}});
    ExpectPoints(Up->ClipAtHeight(-1, false, 1).get(), {{0, 0, 0}, {0, 0, 1}});
    ExpectPoints(Down->ClipAtHeight(-1, false, 1).get(), {{0, 0, 0}, {0, 0, 1}});
    ExpectPoints(Up->ClipAtHeight(1, false, 1).get(), {{0, 0, 1}, {0, 0, 2}});
    EXPECT_EQ(Down->ClipAtHeight(1, false, 5), nullptr);
    EXPECT_EQ(Up->ClipAtHeight(0, false, 1), nullptr);
    ExpectPoints(Down.get(), {{0, 0, 2}, {0, 0, 0}});  // the polyline itself is left alone

    // A closed box section below the waterline is first restarted halfway round, then reclosed.
    const auto Box = Line({{0, 0, 0}, {0, 2, 0}, {0, 2, 2}, {0, 0, 2}, {0, 0, 0}});
    ExpectPoints(Box->ClipAtHeight(-1, true, 1).get(),
                 {{0, 2, 0}, {0, 2, 1}, {0, 0, 1}, {0, 0, 0}, {0, 0, 0}, {0, 2, 0}});
}

TEST(PolylineClip, ShortPolylinesWithBothEndsOnTheCutAreClippedWithoutError) {
    // Too short to restart at a quarter: clipped as they stand.
    ExpectPoints(Line({{0, 0, 1}, {0, 1, 0}, {0, 2, 1}})->ClipAtHeight(-1, false, 1).get(),
                 {{0, 0, 1}, {0, 1, 0}, {0, 2, 1}});
    EXPECT_EQ(Line({{0, 0, 1}, {0, 1, 1}})->ClipAtHeight(1, false, 1), nullptr);
    EXPECT_EQ(Line({{0, 0, 0}})->ClipAtHeight(-1, false, 1), nullptr);
    EXPECT_EQ(TPolyline().ClipAtHeight(-1, false, 1), nullptr);
}

TEST(PolylineOffset, MovesEachSegmentAndMitresTheCorners) {
    auto Straight = Line({{0, 1, 0}, {0, 1, 2}});
    Straight->OffsetInYZ(1);
    ExpectPoints(Straight.get(), {{0, 2, 0}, {0, 2, 2}});

    const double H = std::sqrt(0.5);
    auto Bent = Line({{0, 1, 0}, {0, 1, 2}, {0, 0, 3}});
    Bent->LineColor = clRed;
    Bent->OffsetInYZ(1);
    ExpectPoints(Bent.get(), {{0, 2, 0}, {0, 2, 1 + std::sqrt(2.0)}, {0, H, 3 + H}}, 1e-12);
    EXPECT_EQ(Bent->LineColor, clRed);

    auto Lone = Line({{0, 1, 0}});
    Lone->OffsetInYZ(1);
    ExpectPoints(Lone.get(), {{0, 1, 0}});
}

TEST(PolylineOffset, RepeatedPointsAndFoldsStayFinite) {
    const double H = std::sqrt(0.5);
    // A repeated corner: the first copy ends the previous offset line, the second is the corner.
    auto Repeated = Line({{0, 1, 0}, {0, 1, 2}, {0, 1, 2}, {0, 0, 3}});
    Repeated->OffsetInYZ(1);
    ExpectPoints(Repeated.get(), {{0, 2, 0}, {0, 2, 2}, {0, 2, 1 + std::sqrt(2.0)}, {0, H, 3 + H}}, 1e-12);

    auto Leading = Line({{0, 1, 0}, {0, 1, 0}, {0, 1, 2}});
    Leading->OffsetInYZ(1);
    ExpectPoints(Leading.get(), {{0, 2, 0}, {0, 2, 0}, {0, 2, 2}});

    // Running straight back has no corner: the previous offset end stands for it.
    auto Fold = Line({{0, 1, 0}, {0, 1, 2}, {0, 1, 0}});
    Fold->OffsetInYZ(1);
    ExpectPoints(Fold.get(), {{0, 2, 0}, {0, 2, 2}, {0, 0, 0}});
}

// ---- Long polylines ----

TEST(PolylineLong, HundredThousandPointsAreHandledInOnePass) {
    constexpr int N = 100000;
    TPolyline Doubled;
    for (int I = 0; I < N; ++I) {
        Doubled.AddPoint(I, 0, 0);
        Doubled.AddPoint(I, 0, 0);
    }
    EXPECT_EQ(Doubled.RemoveDuplicatePoints(), N);
    Doubled.RemoveCollinearPoints();
    ExpectPoints(&Doubled, {{0, 0, 0}, {N - 1, 0, 0}});

    // A zigzag across a line crosses it once per segment.
    TPolyline Zigzag, Axis;
    for (int I = 0; I < N; ++I) {
        Zigzag.AddPoint(I, I % 2 ? 1 : -1, 0);
        Axis.AddPoint(I + 0.25, 0, 0);
    }
    EXPECT_EQ(CurveCurveIntersections(Zigzag, Axis, 0)->Count(), N - 1);
}
