#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/Polyline.h"
#include "hulls/TarvoCurve.h"
#include "hulls/TarvoFunctions.h"
#include "hulls/WeightBlend.h"

using namespace sarnova;

namespace {

// A midship section at station X: a flat bottom (points 0..6), a bilge of radius 1 turned in three
// steps of 30 degrees (7..9), a flat side up to the deck (10..15).
std::vector<TMVector> Midship(double X = 0, double ZScale = 1) {
    const double s = std::sin(std::numbers::pi / 6), c = std::cos(std::numbers::pi / 6);
    std::vector<TMVector> P;
    for (int i = 0; i <= 6; ++i) P.push_back({X, 0.5 * i, 0});
    P.push_back({X, 3 + s, (1 - c) * ZScale});
    P.push_back({X, 3 + c, (1 - s) * ZScale});
    P.push_back({X, 4, 1 * ZScale});
    for (int i = 1; i <= 6; ++i) P.push_back({X, 4, (1 + 0.5 * i) * ZScale});
    return P;
}

std::unique_ptr<TTarvoCurve> Curve(const std::vector<TMVector>& Points) {
    auto C = std::make_unique<TTarvoCurve>();
    for (const TMVector& P : Points) C->AddPointVector(P);
    return C;
}

std::unique_ptr<TPolyline> Points(const std::vector<TMVector>& V) {
    auto P = std::make_unique<TPolyline>();
    for (const TMVector& X : V) P->Add(std::make_unique<TRPoint>(X));
    return P;
}

void ExpectNear(const TMVector& A, const TMVector& B, double Tol = 1e-9) {
    EXPECT_NEAR(A.X, B.X, Tol);
    EXPECT_NEAR(A.Y, B.Y, Tol);
    EXPECT_NEAR(A.Z, B.Z, Tol);
}

}  // namespace

TEST(WeightBlend, EndsFollowTheirKindsAndTheFullness) {
    struct Case {
        int StartKind, EndKind;
        double Position, StartValue, EndValue;
        TMVector S, ST, E, ET;
    };
    const double r = 1.5 * std::sqrt(0.5);
    const Case cases[] = {
        {1, 1, 0, 1.0, 0.8, {0, 1, 0}, {0, -1.5, 0}, {1, 0.8, 0}, {0, 1.2, 0}},
        {3, 3, 0.4, 1.0, 0.8, {0, 0.4, 0}, {0, 0.9, 0}, {1, 0.4, 0}, {0, -0.9, 0}},
        {2, 2, 0.75, 1.0, 0.8, {0, 0.5, 0}, {0, 0.75, 0}, {1, 0.5, 0}, {0, -0.75, 0}},
        {1, 2, 0.25, 0.2, 0.8, {0, 0.2, 0}, {r, -0.2 * r, 0}, {1, 0, 0}, {r, -r, 0}},
        // Values below the fullness level: the ends rise to it.
        {1, 1, 0.5, -0.5, -1, {0, -0.5, 0}, {1.5, 1.5, 0}, {1, -1, 0}, {1.5, -3, 0}},
    };
    for (const Case& c : cases) {
        TWeightBlend B;
        B.SetStartKind(c.StartKind);
        B.SetEndKind(c.EndKind);
        B.SetPosition(c.Position);
        B.SetStartValue(c.StartValue);
        B.SetEndValue(c.EndValue);
        SCOPED_TRACE(testing::Message() << c.StartKind << c.EndKind << " " << c.Position);
        ExpectNear(B.StartEnd.Point, c.S);
        ExpectNear(B.StartEnd.GetTangent(), c.ST);
        ExpectNear(B.FinishEnd.Point, c.E);
        ExpectNear(B.FinishEnd.GetTangent(), c.ET);
        EXPECT_NEAR(B.PointAtX(0).Y, c.S.Y, 1e-9);
        EXPECT_NEAR(B.PointAtX(1).Y, c.E.Y, 1e-9);
    }
    // A new blend is fitted to its defaults.
    EXPECT_NEAR(TWeightBlend().PointAtX(1).Y, 0.8, 1e-12);
}

TEST(TarvoFunctions, BilgeIndexesOfAMidshipSection) {
    const auto M = Points(Midship());
    // The last point of the bottom still without curvature, and the first of the side.
    EXPECT_EQ(BilgeStartIndex(*M), 5);
    EXPECT_EQ(BilgeEndIndex(*M), 10);

    // Curvature spread evenly round a quarter circle: no distinct bilge.
    std::vector<TMVector> Arc;
    for (int i = 0; i < 8; ++i) {
        const double a = i * std::numbers::pi / 14;
        Arc.push_back({0, std::sin(a), 1 - std::cos(a)});
    }
    EXPECT_EQ(BilgeStartIndex(*Points(Arc)), 7);
    EXPECT_EQ(BilgeEndIndex(*Points(Arc)), 0);

    // A hard chine made by three coincident points: the copies are dropped and the chine is the
    // last of them.
    const auto Chine = Points({{0, 0, 0}, {0, 1, 0}, {0, 2, 0}, {0, 3, 0}, {0, 3, 0}, {0, 3, 0}, {0, 3, 1},
                                    {0, 3, 2}, {0, 3, 3}});
    EXPECT_EQ(BilgeStartIndex(*Chine), 5);
    EXPECT_EQ(BilgeEndIndex(*Chine), 5);

    // The largest curvature next to the keel: the bilge starts there.
    const auto Keel = Points({{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 1, 2}, {0, 1, 3}, {0, 1, 4}});
    EXPECT_EQ(BilgeStartIndex(*Keel), 1);
    EXPECT_EQ(BilgeEndIndex(*Keel), 2);
}

TEST(TarvoFunctions, FlatsOfBottomAndSide) {
    const auto M = Points(Midship(7));
    const TMPlane Bottom = FlatBottomPlane(*M);
    ExpectNear(Bottom.Normal, {0, 0, 1});
    EXPECT_NEAR(Bottom.Distance, 0, 1e-12);
    const TMPlane Side = FlatSidePlane(*M);
    ExpectNear(Side.Normal, {0, -1, 0});
    EXPECT_NEAR(Side.Distance, -4, 1e-12);
    EXPECT_TRUE(PointOnPlane({5, 4.00009, 9}, Side));
    EXPECT_FALSE(PointOnPlane({5, 4.0002, 9}, Side));

    // A section that never rises steeply has neither.
    const auto Flat = Points({{0, 0, 0}, {0, 1, 0.1}, {0, 2, 0.3}, {0, 3, 0.6}, {0, 4, 1}});
    EXPECT_EQ(FlatBottomPlane(*Flat), TMPlane{});
    EXPECT_EQ(FlatSidePlane(*Flat), (TMPlane{{0, 0, 0}, -1}));
    // A round bilge without straight runs has no flat side.
    std::vector<TMVector> Arc;
    for (int i = 0; i < 8; ++i) Arc.push_back({0, std::sin(i * 0.2), 1 - std::cos(i * 0.2)});
    EXPECT_EQ(FlatSidePlane(*Points(Arc)).Distance, -1);
}

TEST(TarvoFunctions, BeamAndDepthChangesAboutTheBilge) {
    auto C = Curve(Midship());
    ChangeCurveBeam(*C, -1, 8, 10);  // bilge start at point 5, y = 2.5
    EXPECT_NEAR(C->Point(1)->Y, 0.5 * 1.4, 1e-12);
    EXPECT_NEAR(C->Point(4)->Y, 2 * 1.4, 1e-12);
    EXPECT_NEAR(C->Point(5)->Y, 3.5, 1e-12);
    EXPECT_NEAR(C->Point(15)->Y, 5, 1e-12);
    EXPECT_EQ(C->Point(15)->Z, 4);

    auto D = Curve(Midship());
    ChangeCurveDepth(*D, -1, 4, 5);  // bilge end at point 10, z = 1.5
    EXPECT_NEAR(D->Point(15)->Z, 5, 1e-12);
    EXPECT_NEAR(D->Point(11)->Z, 1.5 + 0.5 * 1.4, 1e-12);
    EXPECT_EQ(D->Point(10)->Z, 1.5);

    // A curve flat in y within 2e-4 is left as it was.
    auto F = Curve({{0, 1, 0}, {0, 1.0001, 1}, {0, 1.0002, 2}, {0, 1, 3}});
    ChangeCurveBeam(*F, 1, 2, 4);
    EXPECT_EQ(F->Point(1)->Y, 1.0001);
    EXPECT_EQ(F->Point(3)->Y, 1);
}

TEST(TarvoFunctions, ParallelBodyAndDeckEndsMove) {
    const std::vector<TMVector> S = {{5, 0, 0}, {4, 1, 0}, {3, 2, 1}, {3.5, 2, 2}, {4, 2, 3}};
    struct Case {
        void (*Move)(TTarvoCurve&, double, double);
        std::vector<double> X;
    };
    const Case cases[] = {
        {MoveParallelBodyFore, {5, 4.5, 4, 4, 4}},
        {MoveParallelDeckFore, {5, 4, 3, 4, 5}},
        // The largest x is the keel: nothing lies between the first point and it, and the points
        // above it move by their share of the height.
        {MoveParallelBodyAft, {5, 4 + 1, 3 + 2.0 / 3, 3.5 + 1.0 / 3, 4}},
        {MoveParallelDeckAft, {5, 4, 3 + 1.0 / 3, 3.5 + 2.0 / 3, 5}},
    };
    for (const Case& c : cases) {
        auto C = Curve(S);
        c.Move(*C, 2, 3);
        for (int i = 0; i < 5; ++i) EXPECT_NEAR(C->Point(i)->X, c.X[i], 1e-12) << &c - cases << " " << i;
    }
    auto C = Curve(S);
    ShiftCurveX(*C, 2);
    ScaleCurveX(*C, 0.5);
    EXPECT_EQ(C->Point(2)->X, 2.5);
}

TEST(TarvoFunctions, AverageDistanceNeedsMatchingCurves) {
    auto A = Curve(Midship(0));
    auto B = Curve(Midship(3));
    EXPECT_DOUBLE_EQ(AverageDistanceBetweenPoints(*A, *B), 3);
    B->DeletePoint(3);
    try {
        AverageDistanceBetweenPoints(*A, *B);
        ADD_FAILURE() << "no error";
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "TarvoFunctions.AverageDistanceBetweenPoints - Curves have different numbers of points");
    }
    auto Control = Curve({});
    EXPECT_THROW(BuildVolumeCurve(*A, *B, *Control, 0.5), EGeometryError);
}

TEST(TarvoFunctions, FlatTangentCurveLiesPartOfTheWayTowardTheEndCurve) {
    for (double EndX : {20.0, 0.0}) {
        auto B = Curve(Midship(10));
        auto E = Curve(Midship(EndX));
        auto C = Curve({});
        BuildFlatTangentCurve({1, 0, 0}, *B, *E, *C, 20);
        const double Toward = EndX > 10 ? 1 : -1;
        ASSERT_EQ(C->Count(), B->Count());
        // Half of the offsets: 10 percent of the way at the deck, 5 at the keel.
        EXPECT_NEAR(C->Point(15)->X, 10 + Toward * 1, 1e-9);
        EXPECT_NEAR(C->Point(0)->X, 10 + Toward * 0.5, 1e-9);
        EXPECT_NEAR(C->Point(3)->X, 10 + Toward * 0.5, 1e-9);   // on the bottom
        EXPECT_NEAR(C->Point(12)->X, 10 + Toward * 1, 1e-9);    // on the side
        EXPECT_EQ(C->Point(12)->Y, B->Point(12)->Y);
        EXPECT_EQ(C->GetSurfaceOperation(), soTangent);
        for (int i = 0; i < B->Count(); ++i) EXPECT_EQ(B->Point(i)->W, 1.0);
    }
    // The keel point is looked up at girth 0 also on a model whose whole girth is below 1.
    std::vector<TMVector> Small = Midship(10);
    for (TMVector& P : Small) P = {P.X, P.Y / 10, P.Z / 10};
    auto B = Curve(Small);
    auto E = Curve(Midship(20));
    auto C = Curve({});
    BuildFlatTangentCurve({1, 0, 0}, *B, *E, *C, 20);
    EXPECT_NEAR(C->Point(0)->X, 10 + 0.5, 1e-9);
}

TEST(TarvoFunctions, OffsetProfileCutsTheLoopOfAnInnerCorner) {
    // A section along the girth whose x steps back and forth: offset towards +x, the short leg in
    // the middle is overrun and the profile cut where the offset legs cross.
    const auto P = Points({{0, 0, 0}, {0, 2, 0}, {-0.1, 2, 0.2}, {0, 2, 0.4}, {0, 4, 0.4}});
    const auto O = OffsetProfile(*P, {1, 0, 0}, 1, 1);
    // From girth 0 to the whole girth, never doubling back.
    EXPECT_EQ(O->First()->W, 0);
    EXPECT_NEAR(O->Last()->W, P->Last()->W, 1e-12);
    for (int i = 1; i < O->Count(); ++i) EXPECT_GE(O->Point(i)->W, O->Point(i - 1)->W - 1e-9) << i;
    // The girth is measured across the direction: the step back in x adds nothing to it.
    EXPECT_NEAR(P->Point(4)->W, 4.4, 1e-9);
    EXPECT_EQ(O->Count(), 3);
    EXPECT_NEAR(O->Point(1)->X, 1, 1e-9);
}

TEST(TarvoFunctions, VolumeCurveWeighsTheSectionsAlongTheGirth) {
    // Q is P deeper: the flats of P lie on Q too, so both ends of the profile are flat runs.
    auto P = Curve(Midship(0));
    auto Q = Curve(Midship(10, 1.5));
    TWeightBlend B;
    int R0 = -1, R1 = -1;
    SetupVolumeBlend(*P, *Q, B, 0.6, R0, R1);
    EXPECT_EQ(B.StartKind(), 2);
    EXPECT_EQ(B.EndKind(), 2);
    EXPECT_EQ(R0, 5);
    EXPECT_EQ(R1, 10);
    EXPECT_EQ(B.Position(), 0.6);
    EXPECT_EQ(B.StartValue(), 0.5);

    // Above the range the deck part takes the profile's end: level c = 2F - 1 gives w = 2c - 1.
    const struct {
        double Fraction, Share;  // share of the way from P to Q
    } cases[] = {{0.5, 1}, {0.75, 0.5}, {1.0, 0}};
    for (const auto& c : cases) {
        auto C = Curve({});
        BuildVolumeCurve(*P, *Q, *C, c.Fraction);
        for (int i = 11; i <= 15; ++i) {
            const double ZP = P->Point(i)->Z, ZQ = Q->Point(i)->Z;
            EXPECT_NEAR(C->Point(i)->Z, ZP + c.Share * (ZQ - ZP), 1e-9) << c.Fraction << " " << i;
            EXPECT_NEAR(C->Point(i)->X, 5, 1e-12);
        }
    }
    // Sections of another breadth: x moves by dy^2 w / (2 dx).
    auto Wide = Curve(Midship(10));
    for (int i = 0; i < Wide->Count(); ++i) Wide->Point(i)->Y += 1;
    auto C = Curve({});
    BuildVolumeCurve(*P, *Wide, *C, 0.75);  // no flat side on the wider one: the end is kind 1
    const double w = 2 * 0.8 - 1;
    EXPECT_NEAR(C->Point(15)->X, 5 + 1 * w / 20, 1e-9);
    EXPECT_NEAR(C->Point(15)->Y, 4.5 - w / 2, 1e-9);
}
