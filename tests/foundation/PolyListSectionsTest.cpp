#include "foundation/PolyListSections.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "PolylineFixtures.h"
#include "VkMathsExpect.h"
#include "foundation/Errors.h"

using namespace sarnova;

namespace {


// A half section with a chine: keel (x, 0, 0), chine (x, B, 0.2), deck edge (x, B + 0.2, 1).
std::unique_ptr<TPolyline> ChineSection(double X, double B = 1) {
    return MakePolyline({{X, 0, 0}, {X, B, 0.2}, {X, B + 0.2, 1}});
}

std::unique_ptr<TPolylineList> ChineSections(std::initializer_list<double> Xs) {
    auto L = std::make_unique<TPolylineList>();
    for (double X : Xs) L->Add(ChineSection(X, 1 + X / 10));
    return L;
}

constexpr TMPlane ZPlane0{{0, 0, 1}, 0};

}  // namespace

// ---- Stations ----

TEST(InterpolateSectionAt, UsesTheFirstEnclosingPair) {
    const auto LOwner = ChineSections({0, 5, 10});
    TPolylineList& L = *LOwner;
    // X = 5 lies in the first pair: every link gives F = 1, the points of the section at 5.
    auto S = InterpolateSectionAt(L, 5);
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(Positions(*S), Positions(*L.Items(1)));
    auto Between = InterpolateSectionAt(L, 2.5);
    ASSERT_NE(Between, nullptr);
    ExpectNear(Between->Point(1)->Vector(), {2.5, 1.25, 0.2});
    EXPECT_EQ(InterpolateSectionAt(L, 11), nullptr);
}

TEST(RespaceSections, EvenStationsFromFirstToLast) {
    const auto LOwner = ChineSections({0, 2, 3, 10});
    TPolylineList& L = *LOwner;
    RespaceSections(3, L);
    EXPECT_EQ(Stations(L), (std::vector<double>{0, 5, 10}));
    ExpectNear(L.Items(1)->Point(1)->Vector(), {5, 1.5, 0.2});
    // N equal to the count changes nothing; N = 1 keeps the first station.
    const TPolyline* Before = L.Items(1);
    RespaceSections(3, L);
    EXPECT_EQ(L.Items(1), Before);
    RespaceSections(1, L);
    EXPECT_EQ(Stations(L), (std::vector<double>{0}));
    ExpectError([&] { RespaceSections(0, L); }, "RespaceSections - the number of sections must be at least 1");
    EXPECT_EQ(L.Count(), 1);
}

TEST(RespaceSections, BySpacingAtMultiplesOfTheSpacing) {
    const auto LOwner = ChineSections({1, 9});
    TPolylineList& L = *LOwner;
    RespaceSectionsBySpacing(L, 2);
    // Station 0 lies outside the sections and is left out.
    EXPECT_EQ(Stations(L), (std::vector<double>{2, 4, 6, 8}));
    for (double Spacing : {0.0, -2.0})
        ExpectError([&] { RespaceSectionsBySpacing(L, Spacing); },
                    "RespaceSectionsBySpacing - spacing must be greater than 0");
    EXPECT_EQ(L.Count(), 4);
}

// ---- Cutting ----

TEST(ClipList, AtHeightAndAtLevel) {
    TPolylineList L;
    L.Add(MakePolyline({{0, -1, 0}, {0, 1, 0}}));
    auto Above = ClipListAtLevel(L, 1, 2, 0, false);
    ASSERT_NE(Above, nullptr);
    ASSERT_EQ(Above->Count(), 1);
    EXPECT_EQ(Positions(*Above->Items(0)), (std::vector<TMVector>{{0, 0, 0}, {0, 1, 0}}));
    EXPECT_EQ(ClipListAtLevel(L, 1, 2, 5, false), nullptr);
    // Any other axis cuts at z.
    EXPECT_EQ(ClipListAtLevel(L, 1, 0, 0, false), nullptr);
    EXPECT_EQ(ClipListAtHeight(L, -1, false, 1)->Count(), 1);
}

TEST(SplitPolylineByPlane, PiecesOnOneSide) {
    auto P = MakePolyline({{0, 0, -1}, {0, 0, 1}, {0, 1, 1}, {0, 1, -1}});
    auto Up = SplitPolylineByPlane(*P, 1, ZPlane0, false, false);
    ASSERT_EQ(Up->Count(), 1);
    EXPECT_EQ(Positions(*Up->Items(0)), (std::vector<TMVector>{{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}}));
    auto Down = SplitPolylineByPlane(*P, -1, ZPlane0, false, false);
    ASSERT_EQ(Down->Count(), 2);
    EXPECT_EQ(Positions(*Down->Items(0)), (std::vector<TMVector>{{0, 0, -1}, {0, 0, 0}}));
    EXPECT_EQ(Positions(*Down->Items(1)), (std::vector<TMVector>{{0, 1, 0}, {0, 1, -1}}));
    // Welding everything chains the two pieces.
    EXPECT_EQ(SplitPolylineByPlane(*P, -1, ZPlane0, false, true)->Count(), 1);
}

TEST(SplitPolylineByPlane, ClosedOutlineStaysOneAlongThePlane) {
    // A square from z = -1 to 1: the part below z = 0 is joined along the plane only with KeepClosed;
    // without it the two pieces are welded at their shared corner into an open outline.
    auto Square = MakePolyline({{0, 0, -1}, {0, 1, -1}, {0, 1, 1}, {0, 0, 1}, {0, 0, -1}});
    auto Open = SplitPolylineByPlane(*Square, -1, ZPlane0, false, false);
    ASSERT_EQ(Open->Count(), 1);
    EXPECT_EQ(Positions(*Open->Items(0)), (std::vector<TMVector>{{0, 0, 0}, {0, 0, -1}, {0, 1, -1}, {0, 1, 0}}));
    auto Kept = SplitPolylineByPlane(*Square, -1, ZPlane0, true, false);
    ASSERT_EQ(Kept->Count(), 1);
    EXPECT_EQ(Positions(*Kept->Items(0)),
              (std::vector<TMVector>{{0, 0, -1}, {0, 1, -1}, {0, 1, 0}, {0, 0, 0}, {0, 0, -1}}));
    TPolylineList Both;
    Both.Add(Square->Clone());
    Both.Add(MakePolyline({{5, 0, 1}, {5, 0, 2}}));
    auto Clipped = ClipPolylinesByPlane(Both, -1, ZPlane0, true, false);
    ASSERT_NE(Clipped, nullptr);
    EXPECT_EQ(Clipped->Count(), 1);
    Both.Delete(0);
    EXPECT_EQ(ClipPolylinesByPlane(Both, -1, ZPlane0, true, false), nullptr);
}

TEST(SegmentsCrossInPlane, CrossingParallelAndApart) {
    const TMPlane XY{{0, 0, 1}, 0};
    double F = 0;
    // Crossing when projected: the z offsets do not matter.
    EXPECT_TRUE(SegmentsCrossInPlane({0, 0, 0}, {4, 0, 0}, {1, -1, 5}, {1, 1, -5}, XY, F));
    EXPECT_DOUBLE_EQ(F, 0.25);
    EXPECT_FALSE(SegmentsCrossInPlane({0, 0, 0}, {4, 0, 0}, {0, 1, 0}, {4, 1, 0}, XY, F));
    EXPECT_EQ(F, -1);
    EXPECT_FALSE(SegmentsCrossInPlane({0, 0, 0}, {4, 0, 0}, {0, 0, 0}, {4, 0, 0}, XY, F));
    EXPECT_FALSE(SegmentsCrossInPlane({0, 0, 0}, {4, 0, 0}, {5, -1, 0}, {5, 1, 0}, XY, F));
}

TEST(SplitPolylineByPolyline, PiecesBetweenTheCrossings) {
    const TMPlane XY{{0, 0, 1}, 0};
    auto P = MakePolyline({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}});
    // The cutter crosses at x = 3 and x = 1 (in that order along it) and touches nothing else.
    auto Cutter = MakePolyline({{3, -1, 0}, {3, 1, 0}, {1, 1, 0}, {1, -1, 0}});
    auto Pieces = SplitPolylineByPolyline(*P, *Cutter, XY);
    ASSERT_EQ(Pieces->Count(), 3);
    EXPECT_EQ(Positions(*Pieces->Items(0)), (std::vector<TMVector>{{0, 0, 0}, {1, 0, 0}}));
    EXPECT_EQ(Positions(*Pieces->Items(1)), (std::vector<TMVector>{{1, 0, 0}, {2, 0, 0}, {3, 0, 0}}));
    EXPECT_EQ(Positions(*Pieces->Items(2)), (std::vector<TMVector>{{3, 0, 0}, {4, 0, 0}}));
    // Cut at a vertex: the empty piece is dropped.
    auto AtVertex = MakePolyline({{2, -1, 0}, {2, 1, 0}});
    EXPECT_EQ(SplitPolylineByPolyline(*P, *AtVertex, XY)->Count(), 2);
}

TEST(PlaneIntersectionsOfList, CrossingsInListOrder) {
    TPolylineList L;
    L.Add(MakePolyline({{0, 0, 0}, {2, 0, 0}}));
    L.Add(MakePolyline({{3, 0, 0}, {4, 0, 0}}));
    L.Add(MakePolyline({{0, 5, 0}, {2, 7, 0}}));
    auto X = PlaneIntersectionsOfList({{1, 0, 0}, 1}, L);
    ASSERT_NE(X, nullptr);
    EXPECT_EQ(Positions(*X), (std::vector<TMVector>{{1, 0, 0}, {1, 6, 0}}));
    EXPECT_EQ(PlaneIntersectionsOfList({{1, 0, 0}, 10}, L), nullptr);
}

// ---- Tidying ----

TEST(RemoveRepeatedPoints, AnyEarlierEqualPointGoes) {
    auto Square = MakePolyline({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}});
    RemoveRepeatedPoints(*Square);
    EXPECT_EQ(Positions(*Square), (std::vector<TMVector>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
    auto Mixed = MakePolyline({{0, 0, -0.0}, {2, 0, 0}, {0, 0, 0}, {2, 0, 0.001}, {2, 0, 0}});
    RemoveRepeatedPoints(*Mixed);
    EXPECT_EQ(Positions(*Mixed), (std::vector<TMVector>{{0, 0, 0}, {2, 0, 0}, {2, 0, 0.001}}));
}

TEST(TidySections, MergesHalvesAtOneStation) {
    TPolylineList L;
    L.Add(MakePolyline({{5, 0, 0}, {5, 1, 1}}));
    L.Add(MakePolyline({{7, 0, 0}, {7, 1, 1}}));
    L.Add(MakePolyline({{5.00005, 0, 0}, {5.00005, -1, 1}}));
    TidySections(L);
    ASSERT_EQ(L.Count(), 2);
    EXPECT_EQ(L.Items(0)->Count(), 3);
    for (const TMVector& V : {TMVector{5, 1, 1}, TMVector{5, -1, 1}}) {
        const std::vector<TMVector> Points = Positions(*L.Items(0));
        EXPECT_NE(std::find_if(Points.begin(), Points.end(),
                               [&](const TMVector& P) { return VectorDistance(P, V) < 1e-3; }),
                  Points.end());
    }
    EXPECT_EQ(Positions(*L.Items(1)), (std::vector<TMVector>{{7, 0, 0}, {7, 1, 1}}));
}

TEST(OrientPolylinesUpward, ReversesThoseRunningDown) {
    TPolylineList L;
    L.Add(MakePolyline({{0, 0, 2}, {0, 0, 1}}));
    L.Add(MakePolyline({{0, 0, 1}, {0, 0, 2}}));
    L.Add(std::make_unique<TPolyline>());
    OrientPolylinesUpward(L);
    EXPECT_EQ(L.Items(0)->First()->Z, 1);
    EXPECT_EQ(L.Items(1)->First()->Z, 1);
}

TEST(ResampleSections, EverySectionAroundTheWaterline) {
    TPolylineList L;
    for (double X : {0.0, 5.0, 10.0}) {
        auto S = std::make_unique<TPolyline>();
        for (int I = 0; I <= 20; ++I) S->AddPoint(X, (I * I) / 400.0, 0);
        for (int I = 1; I <= 30; ++I) S->AddPoint(X, 1, 2 * std::sqrt(I / 30.0));
        L.Add(std::move(S));
    }
    ResampleSections(L, 5, 11, 1, 0, 30 * std::numbers::pi / 180, true);
    ASSERT_EQ(L.Count(), 3);
    for (int K = 0; K < 3; ++K) {
        const TPolyline& S = *L.Items(K);
        ASSERT_EQ(S.Count(), 11);
        for (int I = 0; I < 11; ++I) EXPECT_NEAR(S.Point(I)->X, 5.0 * K, 1e-9);
        ExpectNear(S.Point(2)->Vector(), {5.0 * K, 1, 0}, 1e-9);
        ExpectNear(S.Point(4)->Vector(), {5.0 * K, 1, 1}, 1e-9);
    }
}

// ---- Knuckle lines ----

TEST(MirrorAndJoin, WholeSectionFromAHalf) {
    auto Half = MakePolyline({{0, 0, 0}, {0, 1, 1}});
    EXPECT_EQ(Positions(*MirrorAndJoin(*Half)), (std::vector<TMVector>{{0, -1, 1}, {0, 0, 0}, {0, 1, 1}}));
}

TEST(KnuckleLines, LinesThroughMatchingKnuckles) {
    const auto LOwner = ChineSections({0, 5, 10});
    TPolylineList& L = *LOwner;
    auto K = SectionKnuckles(*L.Items(0));
    EXPECT_EQ(K->Count(), 3);
    auto Links = KnuckleLinks(*L.Items(0), *L.Items(1));
    ASSERT_EQ(Links->Count(), 3);
    EXPECT_EQ(Positions(*Links->Items(1)), (std::vector<TMVector>{{0, 1, 0.2}, {5, 1.5, 0.2}}));

    auto Lines = KnuckleLines(L, false);
    // The two end sections, then the chains in reverse: deck edge, chine, keel.
    ASSERT_EQ(Lines->Count(), 5);
    EXPECT_EQ(Positions(*Lines->Items(0)), Positions(*L.Items(0)));
    EXPECT_EQ(Positions(*Lines->Items(1)), Positions(*L.Items(2)));
    EXPECT_EQ(Positions(*Lines->Items(3)), (std::vector<TMVector>{{0, 1, 0.2}, {5, 1.5, 0.2}, {10, 2, 0.2}}));
    EXPECT_EQ(Positions(*Lines->Items(4)), (std::vector<TMVector>{{0, 0, 0}, {5, 0, 0}, {10, 0, 0}}));

    auto Mirrored = KnuckleLines(L, true);
    ASSERT_EQ(Mirrored->Count(), 8);
    EXPECT_EQ(Mirrored->Items(0)->Count(), 5);
    EXPECT_EQ(Positions(*Mirrored->Items(3)), (std::vector<TMVector>{{0, -1, 0.2}, {5, -1.5, 0.2}, {10, -2, 0.2}}));

    const auto OneOwner = ChineSections({0});
    TPolylineList& One = *OneOwner;
    ExpectError([&] { KnuckleLines(One, false); }, "List index out of bounds (1)");
}
