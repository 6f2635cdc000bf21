#include "surfaces/BSurfaceBuild.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "foundation/Errors.h"
#include "foundation/VkMathsExpect.h"
#include "surfaces/SurfaceFixtures.h"

namespace sarnova {
namespace {

std::unique_ptr<TPolyline> MakePolyline(std::initializer_list<TMVector> Points) {
    auto P = std::make_unique<TPolyline>();
    for (const TMVector& V : Points) P->AddVector(V);
    return P;
}

std::unique_ptr<TBSpline> MakeCurve(std::initializer_list<TMVector> Points, int Order) {
    auto C = std::make_unique<TBSpline>(Order);
    for (const TMVector& V : Points) C->AddVector(V);
    C->UpdateKnots();
    return C;
}

TEST(SurfaceBuildTest, ExtrusionAlongThePlaneNormal) {
    const auto L = MakePolyline({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    const auto M = ExtrudePolyline(*L, 0, 1, 3);
    ASSERT_EQ(M->NumU(), 3);
    ASSERT_EQ(M->NumV(), 2);
    ExpectNear(M->Point(2, 0).Vector(), {1, 1, 1});
    ExpectNear(M->Point(2, 1).Vector(), {1, 1, 3});
    EXPECT_EQ(ExtrudePolyline(*L, 2, 1, 3)->Point(1, 1).Z, 2);

    const auto C = MakeCurve({{0, 0, 0}, {1, 0, 0}, {2, 1, 0}, {2, 3, 0}}, 3);
    const auto S = ExtrudeBSpline(*C, 3, -1, 2);
    EXPECT_EQ(S->OrderU(), 3);
    EXPECT_EQ(S->OrderV(), 4);
    EXPECT_EQ(S->NumV(), 4);
    EXPECT_EQ(S->MaxUParameter, 2);
    S->UpdateKnots();
    // Rows equally spaced along a straight line: linear in v.
    for (const double u : {0.0, 0.7, 2.0})
        for (const double v : {0.0, 0.4, 1.0})
            ExpectNear(S->Evaluate(u, v), VectorAdd(C->EvaluatePoint(u), {0, 0, -1 + 3 * v}));
    const auto Single = ExtrudeBSpline(*C, 0, 0, 1);
    EXPECT_EQ(Single->NumV(), 2);
    EXPECT_EQ(Single->OrderV(), 2);
}

TEST(SurfaceBuildTest, CornerPatches) {
    const TMVector P00{0, 0, 0}, P10{4, 0, 1}, P11{4, 2, 3}, P01{0, 2, 7};
    const auto M = CornerPointMesh(P00, P10, P11, P01);
    EXPECT_EQ(M->Point(1, 0).Vector(), P10);
    EXPECT_EQ(M->Point(0, 1).Vector(), P01);
    const auto S = CornerPointBSplineSurface(P00, P10, P11, P01);
    EXPECT_EQ(S->OrderU(), 2);
    EXPECT_EQ(S->KnotType, ktOpen);
    EXPECT_EQ(KnotsU(*S), (std::vector<double>{0, 0, 1, 1}));
    ExpectNear(S->Evaluate(0.5, 0.5), {2, 1, 2.75});
    ExpectNear(S->Evaluate(0.25, 1), {1, 2, 6});
}

TEST(SurfaceBuildTest, PathFrames) {
    const auto Path = MakePolyline({{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, 1, 0}});
    const TPathFrame Start = PathFrame(*Path, 0);
    ExpectNear(Start.Tangent, {1, 0, 0});
    // A right-angled corner (the repeated point is passed over).
    const TPathFrame Corner = PathFrame(*Path, 1);
    EXPECT_NEAR(Corner.Angle, std::numbers::pi / 2, 1e-12);
    ExpectNear(Corner.Tangent, VectorNormalise({1, 1, 0}));
    ExpectNear(Corner.Axis, VectorCross({1, 0, 0}, {0, 1, 0}));
    EXPECT_EQ(PathFrame(*Path, 2).Position, (TMVector{1, 0, 0}));
    // Turning back on itself: no tangent.
    EXPECT_EQ(PathFrame(*Path, 4).Tangent, ZeroVector);
    ExpectNear(PathFrame(*Path, 5).Tangent, {1, 0, 0});
    ExpectError([&] { PathFrame(*Path, 6); }, "List index out of bounds (6)");
}

TEST(SurfaceBuildTest, SweepsPlaceTheProfileAlongThePath) {
    auto Profile = MakePolyline({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    const auto Path = MakePolyline({{5, 5, 5}, {6, 5, 5}, {6, 6, 5}});
    const auto Plain = SweepProfile(*Profile, *Path, 0);
    ASSERT_EQ(Plain->NumU(), 3);
    ASSERT_EQ(Plain->NumV(), 3);
    ExpectNear(Plain->Point(1, 2).Vector(), {2, 1, 0});
    ExpectNear(Plain->Point(2, 0).Vector(), {0, 1, 0});

    // The profile's box centre rides on the path.
    const auto Centred = SweepProfile(*Profile, *Path, eoCentreWithPath);
    ExpectNear(Centred->Point(1, 0).Vector(), {5.5, 4.5, 5});

    // Turning with the path: at the end the profile is turned from x onto y about z.
    const auto FromOrigin = MakePolyline({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    const auto Turned = SweepProfile(*Profile, *FromOrigin, eoRotateWithPath);
    ExpectNear(Turned->Point(1, 2).Vector(), {1, 2, 0});
    ExpectNear(Turned->Point(2, 2).Vector(), {0, 1, 0});
    ExpectNear(Turned->Point(1, 0).Vector(), {1, 0, 0});

    // Mitre scaling at a corner bending in the x-z plane widens x by 1 + sin(45 degrees).
    const auto Bend = MakePolyline({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}});
    const auto Mitred = SweepProfile(*Profile, *Bend, eoScaleShape);
    ExpectNear(Mitred->Point(1, 1).Vector(), {2 + std::sin(std::numbers::pi / 4), 0, 0});
    ExpectNear(Mitred->Point(2, 1).Vector(), {1, 1, 0});
    ExpectNear(Mitred->Point(1, 0).Vector(), {1, 0, 0});
}

TEST(SurfaceBuildTest, SweptBSplineSurfaces) {
    auto Profile = MakeCurve({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 2, 0}}, 3);
    auto Path = MakeCurve({{0, 0, 0}, {0, 0, 1}, {0, 1, 2}, {0, 1, 3}, {1, 1, 4}}, 4);
    const auto S = SweepBSpline(*Profile, *Path, 0);
    EXPECT_EQ(S->KnotType, ktOpen);
    EXPECT_EQ(S->NumU(), Profile->DisplaySegments);
    EXPECT_EQ(S->NumV(), 5);
    EXPECT_EQ(S->OrderU(), 3);
    EXPECT_EQ(S->OrderV(), 4);
    ExpectNear(S->Evaluate(0, 0), {0, 0, 0});

    // A stored path: its knots in v; the profile's samples get clamped uniform knots in u.
    Path->KnotType = ktCustom;
    Path->MinTParameter = 0.5;
    Path->MaxTParameter = 1.5;
    const auto C = SweepBSpline(*Profile, *Path, 0);
    EXPECT_EQ(C->KnotType, ktCustom);
    EXPECT_EQ(KnotsV(*C), (std::vector<double>{0, 0, 0, 0, 1, 2, 2, 2, 2}));
    EXPECT_EQ(C->KnotU(C->NumU() + 1), C->NumU() - 2);
    EXPECT_EQ(C->MinU(), 0);
    EXPECT_EQ(C->MaxU(), C->NumU() - 2);
    EXPECT_NEAR(C->MinV(), 0.5, 1e-5);
    ExpectNear(C->Evaluate(C->MaxU(), 2), VectorAdd(Profile->Last()->Vector(), {1, 1, 4}));
}

TEST(SurfaceBuildTest, RuledSurfacesBetweenCurves) {
    const auto A = MakeCurve({{0, 0, 0}, {1, 0, 1}, {2, 0, 1}, {3, 0, 0}}, 4);
    const auto B = MakeCurve({{0, 2, 0}, {1, 2, 2}, {2, 2, 2}, {3, 2, 0}}, 4);
    const auto S = RuledSurface(*A, *B);
    ASSERT_EQ(S->NumU(), 4);
    ASSERT_EQ(S->NumV(), 2);
    EXPECT_EQ(S->OrderV(), 2);
    EXPECT_EQ(KnotsU(*S), (std::vector<double>{0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(KnotsV(*S), (std::vector<double>{0, 0, 1, 1}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(S->Point(i, 0).Vector(), A->Point(i)->Vector());
        EXPECT_EQ(S->Point(i, 1).Vector(), B->Point(i)->Vector());
    }
    auto Reversed = B->Clone();
    Reversed->Reverse();
    const auto R = RuledSurface(*A, *Reversed);
    EXPECT_EQ(R->Point(0, 1).Vector(), B->Point(0)->Vector());

    // Different orders and knots: the copies are raised and merged, the shape kept.
    auto Q = MakeCurve({{0, 3, 0}, {1.5, 3, 2}, {3, 3, 0}}, 3);
    const auto QS = RuledSurface(*A, *Q);
    EXPECT_EQ(QS->OrderU(), 4);
    EXPECT_EQ(QS->NumU(), 4);
    auto Long = MakeCurve({{0, 0, 0}, {1, 0, 1}, {2, 0, 1}, {3, 0, 0}, {4, 0, 2}}, 4);
    auto Other = MakeCurve({{0, 2, 0}, {1, 2, 2}, {2, 2, 2}, {3, 2, 0}, {4, 2, 1}, {5, 2, 1}}, 4);
    const auto LS = RuledSurface(*Long, *Other);
    EXPECT_EQ(LS->NumU(), 7);
    LS->UpdateKnots();
    for (const double u : {0.0, 0.2, 0.5, 0.9, 1.0}) {
        ExpectNear(LS->Evaluate(u, 0), Long->EvaluatePoint(2 * u));
        ExpectNear(LS->Evaluate(u, 1), Other->EvaluatePoint(3 * u));
        ExpectNear(LS->Evaluate(u, 0.25), VectorLerp(Long->EvaluatePoint(2 * u), Other->EvaluatePoint(3 * u), 0.25));
    }
    EXPECT_EQ(Long->KnotType, ktOpen);  // the inputs stay as they were
    EXPECT_EQ(Long->GetOrder(), 4);
}

TEST(SurfaceBuildTest, RuledSurfaceNamesTheCurveThatIsTooShort) {
    const auto Good = MakeCurve({{0, 0, 0}, {1, 0, 1}, {2, 0, 1}, {3, 0, 0}}, 4);
    const auto One = MakeCurve({{0, 2, 0}}, 4);
    const TBSpline Empty(4);
    const auto MessageOf = [](const TBSpline& A, const TBSpline& B) -> std::string {
        try {
            RuledSurface(A, B);
        } catch (const EGeometryError& E) {
            return E.what();
        }
        return "";
    };
    EXPECT_EQ(MessageOf(*Good, *One), "BSurface.RuledSurface - The second curve has 1 control points, at least 2 are needed");
    EXPECT_EQ(MessageOf(Empty, *Good), "BSurface.RuledSurface - The first curve has 0 control points, at least 2 are needed");
}

TEST(SurfaceBuildTest, KnotMergingAndOrderRaising) {
    auto C = MakeCurve({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}}, 4);
    TKnotArray Other{};
    const double K[] = {0, 0, 0, 0, 0.25, 0.5, 1, 1, 1, 1};
    std::copy(std::begin(K), std::end(K), Other.begin());
    MergeKnotVectors(*C, Other);
    EXPECT_EQ(C->Count(), 6);
    EXPECT_EQ(C->Knot(5), 0.25);
    EXPECT_EQ(C->Knot(6), 0.5);
    RaiseSplineOrderTo(*C, 3);
    EXPECT_EQ(C->GetOrder(), 4);
    RaiseSplineOrderTo(*C, 5);
    EXPECT_EQ(C->GetOrder(), 5);
}

TEST(SurfaceBuildTest, RuledMeshesBetweenPolylines) {
    const auto A = MakePolyline({{0, 0, 0}, {2, 0, 0}, {4, 0, 0}});
    const auto B = MakePolyline({{4, 2, 0}, {3, 2, 0}, {2, 2, 0}, {1, 2, 0}, {0, 2, 0}});
    const auto M = RuledMesh(*A, *B, 3, 0.5);
    ASSERT_EQ(M->NumU(), 5);
    ASSERT_EQ(M->NumV(), 3);
    ExpectNear(M->Point(1, 0).Vector(), {1, 0, 0});
    ExpectNear(M->Point(1, 2).Vector(), {1, 2, 0});
    ExpectNear(M->Point(4, 1).Vector(), {4, 1, 0});
    ExpectError([&] { RuledMesh(*A, *B, 1, 0.5); }, "RuledMesh - 1 rows, at least 2 needed");
}

TEST(SurfaceBuildTest, FillToTheCentrePlane) {
    auto S = MakeSurface(4, 3, 3, 3, [](int i, int j) -> TMVector { return {double(i), 2.0 + j, i * 0.5 * j}; });
    const auto F = S->FillEdgeToCenterline(1);
    ASSERT_EQ(F->NumU(), 4);
    ASSERT_EQ(F->NumV(), 2);
    EXPECT_EQ(F->OrderU(), 3);
    EXPECT_EQ(F->OrderV(), 2);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(F->Point(i, 0).Vector(), S->Point(i, 0).Vector());
        EXPECT_EQ(F->Point(i, 1).Vector(), (TMVector{double(i), 0, 0}));
    }
    const auto G = S->FillEdgeToCenterline(2);
    EXPECT_EQ(G->NumU(), 3);
    ExpectNear(G->Point(2, 1).Vector(), {3, 0, 3});
}

}  // namespace
}  // namespace sarnova
