#include "foundation/PolylineResample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "PolylineFixtures.h"
#include "VkMathsExpect.h"
#include "foundation/Errors.h"

using namespace sarnova;

namespace {

constexpr double Degree = std::numbers::pi / 180;

std::vector<int> Tags(const TRPoints& P) {
    std::vector<int> Result;
    for (int I = 0; I < P.Count(); ++I) Result.push_back(P.Point(I)->Tag);
    return Result;
}

std::vector<TLink> Links(const TLinksList& L) {
    std::vector<TLink> Result;
    for (int I = 0; I < L.Count(); ++I) Result.push_back(L.Link(I));
    return Result;
}

void ExpectPositions(const TRPoints& P, const std::vector<TMVector>& Expected, double Tol = 1e-12) {
    ASSERT_EQ(P.Count(), static_cast<int>(Expected.size()));
    for (int I = 0; I < P.Count(); ++I) ExpectNear(P.Point(I)->Vector(), Expected[static_cast<std::size_t>(I)], Tol);
}

// True when V lies on one of the segments of the polyline.
bool OnPolyline(const TMVector& V, const std::vector<TMVector>& Shape) {
    for (std::size_t I = 1; I < Shape.size(); ++I) {
        const double L = VectorDistance(Shape[I - 1], Shape[I]);
        if (std::fabs(VectorDistance(Shape[I - 1], V) + VectorDistance(V, Shape[I]) - L) < 1e-9) return true;
    }
    return false;
}

bool Contains(const TRPoints& P, const TMVector& V, double Tol = 0) {
    for (int I = 0; I < P.Count(); ++I)
        if (VectorDistance(P.Point(I)->Vector(), V) <= Tol) return true;
    return false;
}

}  // namespace

// ---- Knuckles ----

TEST(MarkKnuckles, TagsTurnsSharperThanTheAngle) {
    // Turns of 45 degrees at both interior points; the ends are always knuckles.
    auto P = MakePolyline({{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {2, 2, 0}});
    MarkKnuckles(*P, 30 * Degree);
    EXPECT_EQ(Tags(*P), (std::vector<int>{1, 1, 1, 1}));
    MarkKnuckles(*P, 60 * Degree);
    EXPECT_EQ(Tags(*P), (std::vector<int>{1, -1, -1, 1}));
    EXPECT_EQ(CountKnuckles(*P), 2);

    // A turn of about 174 degrees folds to about 6: the section doubles back, no knuckle.
    auto Back = MakePolyline({{0, 0, 0}, {1, 0, 0}, {0, 0.1, 0}});
    MarkKnuckles(*Back, 30 * Degree);
    EXPECT_EQ(Tags(*Back), (std::vector<int>{1, -1, 1}));

    // Repeated points go first, so they cannot make a turn.
    auto Repeated = MakePolyline({{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    MarkKnuckles(*Repeated, 30 * Degree);
    EXPECT_EQ(Tags(*Repeated), (std::vector<int>{1, -1, 1}));
}

TEST(MarkKnuckles, KnucklePointsCarryTheirSourceIndex) {
    auto P = MakePolyline({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {2, 2, 0}});
    MarkKnuckles(*P, 30 * Degree);
    auto K = KnucklePoints(*P);
    ExpectPositions(*K, {{2, 0, 0}});
    EXPECT_EQ(K->Point(0)->Tag, 2);
    // Any tag other than 1 and -1 means the polyline is not knuckle-marked.
    P->Point(1)->Tag = 0;
    EXPECT_EQ(CountKnuckles(*P), 0);
    EXPECT_EQ(SubPolyline(*P, 3, 1)->Count(), 0);
    ExpectPositions(*SubPolyline(*P, 1, 2), {{1, 0, 0}, {2, 0, 0}});
}

// ---- Densifying and thinning ----

TEST(DensifyPolyline, DividesEachSegmentEqually) {
    auto P = MakePolyline({{0, 0, 0}, {3, 0, 0}, {3, 3, 0}});
    auto D = DensifyPolyline(10, *P);
    // K = 10 div 2 = 5: every 0.6 along each segment.
    ASSERT_EQ(D->Count(), 11);
    ExpectNear(D->Point(1)->Vector(), {0.6, 0, 0});
    ExpectNear(D->Point(5)->Vector(), {3, 0, 0});
    ExpectNear(D->Point(6)->Vector(), {3, 0.6, 0});
    // At most 15 parts per segment; a polyline that has enough points is copied.
    EXPECT_EQ(DensifyPolyline(1000, *P)->Count(), 31);
    EXPECT_EQ(Positions(*DensifyPolyline(3, *P)), Positions(*P));
}

TEST(ReducePointsToCount, RemovesTheLeastDeviationFirst) {
    auto P = MakePolyline({{0, 0, 0}, {1, 0.01, 0}, {2, 0, 0}, {3, 1, 0}});
    ReducePointsToCount(3, *P);
    ExpectPositions(*P, {{0, 0, 0}, {2, 0, 0}, {3, 1, 0}});
    // Never below two points; a spike whose neighbours coincide is measured from them.
    auto Spike = MakePolyline({{0, 0, 0}, {1, 0, 0}, {0, 0, 0}, {0, 5, 0}});
    ReducePointsToCount(0, *Spike);
    ExpectPositions(*Spike, {{0, 0, 0}, {0, 5, 0}});
}

TEST(ReducePointsToCount, TiesGoToTheEarlierPoint) {
    // Every interior point lies on the line: the first ones go first.
    auto P = MakePolyline({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
    ReducePointsToCount(3, *P);
    ExpectPositions(*P, {{0, 0, 0}, {3, 0, 0}, {4, 0, 0}});
}

// ---- Resampling ----

TEST(ResampleEqualArcLength, EqualStepsWithEachTargetOnce) {
    auto P = MakePolyline({{0, 0, 0}, {4, 0, 0}});
    ResampleEqualArcLength(5, *P);
    ExpectPositions(*P, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
    // A target on an interior vertex is produced once.
    auto Q = MakePolyline({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    ResampleEqualArcLength(3, *Q);
    ExpectPositions(*Q, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    // Zero-length segments contribute nothing; fewer than 2 requested counts as 2.
    auto R = MakePolyline({{0, 0, 0}, {0, 0, 0}, {0, 3, 0}, {0, 3, 0}});
    ResampleEqualArcLength(4, *R);
    ExpectPositions(*R, {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}});
    ResampleEqualArcLength(-5, *R);
    ExpectPositions(*R, {{0, 0, 0}, {0, 3, 0}});
}

TEST(ResampleBySpacing, GivesLengthOverSpacingPlusOnePoints) {
    auto P = MakePolyline({{0, 0, 0}, {10, 0, 0}});
    MarkKnuckles(*P, 30 * Degree);
    ResampleBySpacing(*P, 1);
    ASSERT_EQ(P->Count(), 11);
    for (int I = 0; I < 11; ++I) ExpectNear(P->Point(I)->Vector(), {static_cast<double>(I), 0, 0});
    // Spacing that does not divide the length: 10 / 3 gives 3 intervals, 4 points.
    auto Q = MakePolyline({{0, 0, 0}, {10, 0, 0}});
    ResampleBySpacing(*Q, 3);
    EXPECT_EQ(Q->Count(), 4);
    // Points are new: the knuckle marks are gone.
    EXPECT_EQ(P->Point(0)->Tag, 0);
}

TEST(ResampleBySpacing, RefusesWhatCannotBeSpaced) {
    auto P = MakePolyline({{0, 0, 0}, {10, 0, 0}});
    for (double Spacing : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()})
        ExpectError([&] { ResampleBySpacing(*P, Spacing); }, "ResampleBySpacing - spacing must be greater than 0");
    ExpectError([&] { ResampleAtKnuckles(*P, 0, 0.5); }, "ResampleAtKnuckles - spacing must be greater than 0");
    auto One = MakePolyline({{1, 2, 3}});
    ExpectError([&] { ResampleBySpacing(*One, 1); }, "ResampleBySpacing - fewer than 2 points");
    ExpectError([&] { ResampleEqualArcLength(5, *One); }, "ResampleEqualArcLength - fewer than 2 points");
    ExpectError([&] { ResampleKeepingKnuckles(5, *One); }, "ResampleKeepingKnuckles - fewer than 2 points");
    // No length: nothing to space along, the points stay.
    auto Still = MakePolyline({{1, 1, 1}, {1, 1, 1}});
    ResampleBySpacing(*Still, 0.5);
    ResampleAtKnuckles(*Still, 0.5, 0.5);
    ExpectPositions(*Still, {{1, 1, 1}, {1, 1, 1}});
    EXPECT_EQ(P->Count(), 2);
}

TEST(ResampleKeepingKnuckles, CornersStay) {
    // An L of legs 4 and 3 with uneven points; the corner is a knuckle.
    const std::vector<TMVector> Shape = {{0, 0, 0}, {0.3, 0, 0}, {4, 0, 0}, {4, 2.9, 0}, {4, 3, 0}};
    TPolyline P;
    for (const TMVector& V : Shape) P.AddVector(V);
    MarkKnuckles(P, 30 * Degree);
    ResampleKeepingKnuckles(8, P);
    // Spacing 7 / 7 = 1: 4 intervals along the first leg and 3 along the second.
    ExpectPositions(P, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {4, 1, 0}, {4, 2, 0}, {4, 3, 0}});

    // Without marks the corner is cut: plain equal arc length.
    TPolyline Plain;
    for (const TMVector& V : Shape) Plain.AddVector(V);
    ResampleKeepingKnuckles(6, Plain);
    EXPECT_EQ(Plain.Count(), 6);
    EXPECT_FALSE(Contains(Plain, {4, 0, 0}));
    for (const TMVector& V : Positions(Plain)) EXPECT_TRUE(OnPolyline(V, Shape));
}

TEST(ResampleKeepingKnuckles, UnmarkedLastPointEndsTheLastPiece) {
    auto P = MakePolyline({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}});
    MarkKnuckles(*P, 30 * Degree);
    P->Last()->Tag = -1;
    ResampleKeepingKnuckles(5, *P);
    ExpectPositions(*P, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {2, 2, 0}});
}

TEST(ResampleAtKnuckles, SpacesEachPieceAndMarksAgain) {
    // A square outline with uneven points: the corners stay, every side gets spacing 1.
    auto P = MakePolyline({{0, 0, 0}, {0.2, 0, 0}, {3, 0, 0}, {3, 3, 0}, {0, 3, 0}, {0, 1.5, 0}, {0, 0, 0}});
    ResampleAtKnuckles(*P, 1, 30 * Degree);
    EXPECT_EQ(P->Count(), 13);
    for (const TMVector& Corner : {TMVector{3, 0, 0}, TMVector{3, 3, 0}, TMVector{0, 3, 0}})
        EXPECT_TRUE(Contains(*P, Corner));
    for (int I = 1; I < P->Count(); ++I) EXPECT_NEAR(P->Point(I)->Distance(*P->Point(I - 1)), 1, 1e-12);
    EXPECT_EQ(CountKnuckles(*P), 5);
}

TEST(ResampleSection, SpacesBelowAndAboveTheWaterline) {
    // A half section: keel out to the bilge corner at (0, 1, 0), then up the side to z = 2, with
    // many uneven points.
    TPolyline Section;
    for (int I = 0; I <= 20; ++I) Section.AddPoint(0, (I * I) / 400.0, 0);
    for (int I = 1; I <= 30; ++I) Section.AddPoint(0, 1, 2 * std::sqrt(I / 30.0));
    ResampleSection(11, 5, true, 1, 30 * Degree, Section);
    // Five points below (corner kept), the waterline point shared, seven points above.
    ExpectPositions(Section, {{0, 0, 0}, {0, 0.5, 0}, {0, 1, 0}, {0, 1, 0.5}, {0, 1, 1}, {0, 1, 7.0 / 6}, {0, 1, 8.0 / 6},
                              {0, 1, 1.5}, {0, 1, 10.0 / 6}, {0, 1, 11.0 / 6}, {0, 1, 2}},
                    1e-9);

    // Not crossed by the waterline: the whole section re-spaced at 0.2, straight runs tidied away.
    auto Low = MakePolyline({{0, 0, 0}, {0, 0.5, 0}, {0, 1, 0}, {0, 1, 1}});
    ResampleSection(2, 1, false, 5, 30 * Degree, *Low);
    ExpectPositions(*Low, {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}}, 1e-9);
}

// ---- Matching sections ----

TEST(MatchPoints, LinksEveryPointOfBothSides) {
    // B has more points: its points find their nearest in A, then the links are flipped.
    auto A = MakePolyline({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}});
    auto B = MakePolyline({{1, 0, 0}, {1, 0.5, 0}, {1, 1, 0}, {1, 1.5, 0}, {1, 2, 0}});
    EXPECT_EQ(Links(*MatchPoints(*A, *B)), (std::vector<TLink>{{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}));

    // A point of the shorter polyline that no point picks is linked after the fact.
    TPolyline L, S;
    for (int I = 0; I <= 5; ++I) L.AddPoint(0, I, 0);
    for (double Y : {0.0, 2.0, 2.001, 2.002, 5.0}) S.AddPoint(0, Y, 0);
    EXPECT_EQ(Links(*MatchPoints(L, S)),
              (std::vector<TLink>{{0, 0}, {1, 0}, {2, 1}, {3, 2}, {3, 3}, {4, 4}, {5, 4}}));
}

TEST(InterpolateSection, MidSectionBetweenMatchingSections) {
    auto A = MakePolyline({{0, 0, 0}, {0, 1, 0}, {0, 1, 1}});
    auto B = MakePolyline({{10, 0, 0}, {10, 1.2, 0}, {10, 1.2, 1}});
    ExpectPositions(*InterpolateSection(*A, *B, 5), {{5, 0, 0}, {5, 1.1, 0}, {5, 1.1, 1}});
    ExpectPositions(*InterpolateSection(*B, *A, 10), Positions(*B));
    ExpectError([&] { InterpolateSection(*A, *B, 12); }, "XPOLYLINE: X is not between Polylines");
    // Sections at the same station: the first section's points at X.
    auto C = MakePolyline({{10, 0, 0}, {10, 1.3, 0}, {10, 1.3, 1}});
    ExpectPositions(*InterpolateSection(*B, *C, 10), Positions(*B));
}

TEST(LinkSections, MatchesKnucklesBeforeThePointsBetween) {
    // Both sections have a chine; B has more points below it. Without the knuckle links the
    // nearest-point matching would pull A's chine to a point of B's bottom.
    auto A = MakePolyline({{0, 0, 0}, {0, 1, 0.1}, {0, 1.2, 1}, {0, 1.3, 2}});
    auto B = MakePolyline({{10, 0, 0}, {10, 0.3, 0}, {10, 0.6, 0}, {10, 0.9, 0}, {10, 1.2, 0.05}, {10, 1.4, 1}, {10, 1.5, 2}});
    MarkKnuckles(*A, 25 * Degree);
    MarkKnuckles(*B, 25 * Degree);
    const std::vector<TLink> L = Links(*LinkSections(*A, *B));
    EXPECT_NE(std::find(L.begin(), L.end(), TLink{1, 4}), L.end());
    EXPECT_EQ(L.front(), (TLink{0, 0}));
    EXPECT_EQ(L.back(), (TLink{3, 6}));
    auto Mid = InterpolateSection(*A, *B, 5);
    EXPECT_TRUE(Contains(*Mid, {5, 1.1, 0.075}, 1e-12));
}

TEST(Resampling, StaysLinearOnLongPolylines) {
    // Quadratic work on these would take minutes.
    TPolyline P;
    for (int I = 0; I < 200000; ++I) P.AddPoint(I * 0.001, std::sin(I * 0.01), 0);
    TPolyline Q;
    Q.Assign(P);
    ResampleBySpacing(P, 0.005);
    EXPECT_GT(P.Count(), 200000);
    ReducePointsToCount(100, Q);
    EXPECT_EQ(Q.Count(), 100);
}
