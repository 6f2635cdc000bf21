#include "surfaces/CoonsPatch.h"

#include <gtest/gtest.h>

#include <cmath>

#include "foundation/Errors.h"
#include "foundation/VkMathsExpect.h"
#include "surfaces/PatchFixtures.h"
#include "surfaces/SurfaceFixtures.h"

namespace sarnova {
namespace {

// A loop whose sides differ in point count and order: A(0,0) -> B(4,0) -> C(4,4) -> D(0,4) -> A,
// lifted out of the plane unless Lift is 0.
std::vector<std::unique_ptr<TBSpline>> MixedLoop(double Lift) {
    auto Curves = SquareLoop(Lift);
    Curves[1] = MakeCurve({{4, 0, 0}, {4.6, 1.5, Lift}, {4.4, 3, -Lift}, {4, 4, 0}}, 3);
    Curves[3] = MakeCurve({{0, 4, 0}, {-0.5, 2, 0.5 * Lift}, {0, 0, 0}}, 2);
    return Curves;
}

TMVector At(TBSpline& C, double Fraction) {
    C.UpdateKnots();
    return C.EvaluatePoint(C.MinT() + Fraction * (C.MaxT() - C.MinT()));
}

// The patch of MixedLoop oriented as OrientFourCurves does: bottom B -> A (side 0 reversed), left
// B -> C (side 1), top C -> D (side 2), right A -> D (side 3 reversed, unless it was given so).
void ExpectBoundaryOfMixedLoop(TBSplineSurface& S, std::vector<std::unique_ptr<TBSpline>>& C,
                               bool ThirdReversed = false) {
    S.UpdateKnots();
    EXPECT_EQ(S.MinU(), 0);
    EXPECT_EQ(S.MaxU(), 1);
    for (int k = 0; k <= 10; ++k) {
        const double t = k / 10.0;
        ExpectNear(S.Evaluate(t, 0), At(*C[0], 1 - t), 1e-12);
        ExpectNear(S.Evaluate(0, t), At(*C[1], t), 1e-12);
        ExpectNear(S.Evaluate(t, 1), At(*C[2], t), 1e-12);
        ExpectNear(S.Evaluate(1, t), At(*C[3], ThirdReversed ? t : 1 - t), 1e-12);
    }
}

TEST(CoonsPatchTest, SquareOfLines) {
    const auto A = MakeCurve({{0, 0, 0}, {1, 0, 0}}, 2), B = MakeCurve({{1, 0, 0}, {1, 1, 0}}, 2);
    const auto C = MakeCurve({{1, 1, 0}, {0, 1, 0}}, 2), D = MakeCurve({{0, 1, 0}, {0, 0, 0}}, 2);
    const auto S = BiLinearCoonsPatch(*A, *B, *C, *D);
    ASSERT_EQ(S->NumU(), 2);
    ASSERT_EQ(S->NumV(), 2);
    EXPECT_EQ(S->OrderU(), 2);
    EXPECT_EQ(S->OrderV(), 2);
    // Bottom runs from B to A (the first curve turned to start at the second), left B to C.
    EXPECT_EQ(S->Point(0, 0).Vector(), (TMVector{1, 0, 0}));
    EXPECT_EQ(S->Point(1, 0).Vector(), (TMVector{0, 0, 0}));
    EXPECT_EQ(S->Point(0, 1).Vector(), (TMVector{1, 1, 0}));
    EXPECT_EQ(S->Point(1, 1).Vector(), (TMVector{0, 1, 0}));
}

TEST(CoonsPatchTest, FourCurvesGiveTheirBoundary) {
    auto Curves = MixedLoop(0.5);
    for (const bool BiCubic : {false, true}) {
        const auto S = BiCubic ? BiCubicCoonsPatch(*Curves[0], *Curves[1], *Curves[2], *Curves[3])
                               : BiLinearCoonsPatch(*Curves[0], *Curves[1], *Curves[2], *Curves[3]);
        ExpectBoundaryOfMixedLoop(*S, Curves);
        if (BiCubic) {
            EXPECT_GE(S->OrderV(), 4);
            EXPECT_GE(S->OrderU(), 4);
        }
    }
    // The given curves are worked on as copies.
    EXPECT_EQ(Curves[0]->First()->Vector(), ZeroVector);
    EXPECT_EQ(Curves[0]->GetOrder(), 4);
    EXPECT_EQ(Curves[3]->Count(), 3);
}

TEST(CoonsPatchTest, DirectionsOfTheCurvesDoNotMatter) {
    auto Oriented = MixedLoop(0.5);
    // As OrientFourCurves leaves them: bottom B -> A, left B -> C, top C -> D, right A -> D.
    Oriented[0]->Reverse();
    Oriented[3]->Reverse();
    auto Alternating = MixedLoop(0.5);
    Alternating[1]->Reverse();
    Alternating[3]->Reverse();
    for (const bool BiCubic : {false, true}) {
        const auto Make = [BiCubic](std::vector<std::unique_ptr<TBSpline>>& C) {
            return BiCubic ? BiCubicCoonsPatch(*C[0], *C[1], *C[2], *C[3]) : BiLinearCoonsPatch(*C[0], *C[1], *C[2], *C[3]);
        };
        const auto A = Make(Oriented), B = Make(Alternating);
        EXPECT_LT(ShapeDistance(*A, *B), 1e-12);
    }
}

TEST(CoonsPatchTest, PlanarBoundaryGivesAPlanarPatch) {
    const auto Curves = MixedLoop(0);
    for (const bool BiCubic : {false, true}) {
        const auto S = BiCubic ? BiCubicCoonsPatch(*Curves[0], *Curves[1], *Curves[2], *Curves[3])
                               : BiLinearCoonsPatch(*Curves[0], *Curves[1], *Curves[2], *Curves[3]);
        for (int i = 0; i < S->NumU(); ++i)
            for (int j = 0; j < S->NumV(); ++j) EXPECT_EQ(S->Point(i, j).Z, 0);
    }
    // A side shrunk to a point: the bicubic patch stays finite and keeps its other sides.
    const auto P = MakeCurve({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
    const auto A = MakeCurve({{0, 0, 0}, {1, -0.5, 0}, {3, -0.5, 0}, {4, 0, 0}});
    const auto B = MakeCurve({{4, 0, 0}, {4, 2, 0}, {3, 4, 0}}, 3);
    const auto C = MakeCurve({{3, 4, 0}, {1, 3, 0}, {0, 0, 0}}, 3);
    auto S = BiCubicCoonsPatch(*A, *B, *C, *P);
    S->UpdateKnots();
    for (int a = 0; a <= 4; ++a)
        for (int b = 0; b <= 4; ++b) EXPECT_TRUE(std::isfinite(S->Evaluate(a / 4.0, b / 4.0).X));
    ExpectNear(S->Evaluate(1, 0.3), ZeroVector, 1e-12);
    ExpectNear(S->Evaluate(0, 0.3), B->EvaluatePoint(0.3), 1e-12);
    ExpectNear(S->Evaluate(0.3, 0), A->EvaluatePoint(0.7), 1e-12);
}

TEST(CoonsPatchTest, ThreeCurvesShrinkTheSmoothestCorner) {
    // The loop turns without a kink only at the end of the second curve (2, 3): the point side goes
    // there.
    const auto C1 = MakeCurve({{0, 0, 0}, {2, -0.5, 0}, {4, 0, 0}}, 3);
    const auto C2 = MakeCurve({{4, 0, 0}, {3, 2, 0}, {2, 3, 0}}, 3);
    const auto C3 = MakeCurve({{2, 3, 0}, {1, 4, 0}, {0, 0, 0}}, 3);
    auto S = BiLinearCoonsPatch(*C1, *C2, *C3);
    S->UpdateKnots();
    for (int k = 0; k <= 4; ++k) ExpectNear(S->Evaluate(k / 4.0, 1), {2, 3, 0}, 1e-12);
    // The three curves are the other sides: bottom from (4, 0) back to the start, left the second
    // curve, right the third one reversed.
    ExpectNear(S->Evaluate(0.5, 0), C1->EvaluatePoint(0.5), 1e-12);
    ExpectNear(S->Evaluate(0, 0.25), C2->EvaluatePoint(0.25), 1e-12);
    ExpectNear(S->Evaluate(1, 0.25), C3->EvaluatePoint(0.75), 1e-12);
    // Given in another order, the same corner is chosen: one side of the patch is that point.
    auto R = BiLinearCoonsPatch(*C2, *C3, *C1);
    R->UpdateKnots();
    int AtCorner = 0;
    for (const auto& [u, v] : {std::pair{0.0, 0.5}, {1.0, 0.5}, {0.5, 0.0}, {0.5, 1.0}})
        AtCorner += VectorDistance(R->Evaluate(u, v), {2, 3, 0}) < 1e-12;
    EXPECT_EQ(AtCorner, 1);
}

TEST(CoonsPatchTest, TwoCurvesMakeALens) {
    const auto C1 = MakeCurve({{0, 0, 0}, {2, 1, 0}, {4, 0, 0}}, 3);
    const auto C2 = MakeCurve({{4, 0, 0}, {2, -1, 1}, {0, 0, 0}}, 3);
    auto S = BiLinearCoonsPatch(*C1, *C2);
    S->UpdateKnots();
    for (int k = 0; k <= 4; ++k) {
        const double t = k / 4.0;
        ExpectNear(S->Evaluate(t, 0), C1->EvaluatePoint(t), 1e-12);
        ExpectNear(S->Evaluate(t, 1), C2->EvaluatePoint(1 - t), 1e-12);
        ExpectNear(S->Evaluate(0, t), {0, 0, 0}, 1e-12);
        ExpectNear(S->Evaluate(1, t), {4, 0, 0}, 1e-12);
    }
    const auto Open = MakeCurve({{4, 0, 0}, {2, -1, 0}, {0, 1, 0}}, 3);
    ExpectError([&] { BiLinearCoonsPatch(*C1, *Open); }, "CoonsPatch:BiLinearCoonsPatch(n=2) - Invalid Curve Connections");
}

TEST(CoonsPatchTest, CurvesThatDoNotMeet) {
    auto Curves = MixedLoop(0.2);
    Curves[2]->Last()->SetXYZ(0, 5, 0);
    ExpectError([&] { BiLinearCoonsPatch(*Curves[0], *Curves[1], *Curves[2], *Curves[3]); },
                "CoonsPatch:BiLinearCoonsPatch(n=4) - Invalid Curve Connections");
    ExpectError([&] { BiCubicCoonsPatch(*Curves[0], *Curves[1], *Curves[2], *Curves[3]); }, "Invalid Curve Connections");
    ExpectError([&] { BiLinearCoonsPatch(*Curves[0], *Curves[1], *Curves[2]); },
                "CoonsPatch:BiLinearCoonsPatch(n=3) - Invalid Curve Connections");
}

TEST(CoonsPatchTest, SurfacesMadeCompatible) {
    // Order 2 in u over [0, 2] against order 3 over [0, 1] with a knot at 0.25.
    auto S = MakeSurface(3, 2, 2, 2, WavyPoint);
    S->UpdateKnots();
    const auto Before = CloneBSplineSurface(*S);
    auto Other = MakeSurface(4, 2, 3, 2, WavyPoint, ktNonUniform);
    for (const auto& [i, u] : {std::pair{1, 0.0}, {2, 0.0}, {3, 0.0}, {4, 0.25}, {5, 1.0}, {6, 1.0}, {7, 1.0}}) Other->SetKnotU(i, u);
    Other->SetKnotV(1, 0);
    Other->SetKnotV(2, 0);
    Other->SetKnotV(3, 1);
    Other->SetKnotV(4, 1);
    MakeSurfacesCompatible(*S, *Other, 0);
    EXPECT_EQ(S->KnotType, ktNonUniform);
    EXPECT_EQ(S->OrderU(), 3);
    EXPECT_EQ(KnotsU(*S), (std::vector<double>{0, 0, 0, 0.25, 0.5, 0.5, 1, 1, 1}));
    EXPECT_LT(ShapeDistance(*Before, *S, [](double u) { return u / 2; }, [](double v) { return v; }), 1e-12);
}

TEST(CoonsPatchTest, MethodText) {
    const std::pair<const char*, std::uint8_t> Cases[] = {
        {"cpBiCubic", 1}, {"cpBiLinear", 0}, {"bicubic", 1}, {"xxBICUBICyy", 1}, {"", 0}, {"BiCub", 0}};
    for (const auto& [Text, Method] : Cases) EXPECT_EQ(CoonsMethodFromText(Text), Method) << Text;
    EXPECT_EQ(CoonsMethodToText(1), "cpBiCubic");
    EXPECT_EQ(CoonsMethodToText(0), "cpBiLinear");
    EXPECT_EQ(CoonsMethodToText(7), "cpBiLinear");
}

// ---- The patch object ----

TCoonsCurves CurveList(const std::vector<std::unique_ptr<TBSpline>>& Curves) {
    TCoonsCurves L;
    for (const auto& C : Curves) L.Add(C.get());
    return L;
}

TEST(CoonsPatchTest, RegeneratesWhenCurvesOrMethodChange) {
    auto Curves = MixedLoop(0.5);
    TCoonsPatch Patch;
    TCoonsCurves L = CurveList(Curves);
    L.Add(Curves[0].get());  // listed once
    EXPECT_EQ(L.Count(), 4);
    EXPECT_TRUE(CoonsCurvesValid(L));
    ASSERT_TRUE(Patch.SetCurves(L));
    EXPECT_EQ(Patch.GeneratedMethod(), 2);
    EXPECT_TRUE(Patch.Update());
    EXPECT_EQ(Patch.GeneratedMethod(), cpBiLinear);
    EXPECT_FALSE(Patch.Update());
    ExpectBoundaryOfMixedLoop(Patch.Surface(), Curves);
    EXPECT_EQ(Patch.Surface().OrderV(), 3);  // the left and right sides are of orders 3 and 2

    Patch.CoonsMethod = cpBiCubic;
    EXPECT_TRUE(Patch.Update());
    EXPECT_EQ(Patch.GeneratedMethod(), cpBiCubic);
    EXPECT_GE(Patch.Surface().OrderV(), 4);
    ExpectBoundaryOfMixedLoop(Patch.Surface(), Curves);
    EXPECT_FALSE(Patch.Update());

    // An inner control point moves: the surface follows.
    Curves[2]->Point(2)->SetXYZ(2, 5, 1);
    EXPECT_TRUE(Patch.NeedsUpdate());
    EXPECT_TRUE(Patch.Update());
    ExpectBoundaryOfMixedLoop(Patch.Surface(), Curves);
    EXPECT_FALSE(Patch.Update());
}

TEST(CoonsPatchTest, MovedCurveEndsAreJoined) {
    auto Curves = MixedLoop(0.5);
    Curves[3]->Reverse();  // A -> D
    TCoonsPatch Patch;
    ASSERT_TRUE(Patch.SetCurves(CurveList(Curves)));
    Patch.Update();
    // Edge 3 is flipped to run on from edge 2 at D.
    EXPECT_FALSE(Patch.Edges().Items(1)->Flipped());
    EXPECT_TRUE(Patch.Edges().Items(3)->Flipped());
    // Side 3's curve starts at A, which is its flipped edge's end vertex: moving it drags side 0's
    // start with it, and D stays.
    Curves[3]->First()->SetXYZ(-0.5, -0.5, 0.25);
    EXPECT_TRUE(Patch.Update());
    EXPECT_EQ(Curves[0]->First()->Vector(), (TMVector{-0.5, -0.5, 0.25}));
    EXPECT_EQ(Curves[2]->Last()->Vector(), (TMVector{0, 4, 0}));
    ExpectBoundaryOfMixedLoop(Patch.Surface(), Curves, true);
    // Both ends at C move: they meet halfway.
    Curves[1]->Last()->SetXYZ(5, 4, 0);
    Curves[2]->First()->SetXYZ(4, 5, 0);
    EXPECT_TRUE(Patch.Update());
    EXPECT_EQ(Curves[1]->Last()->Vector(), (TMVector{4.5, 4.5, 0}));
    EXPECT_EQ(Curves[2]->First()->Vector(), (TMVector{4.5, 4.5, 0}));
    EXPECT_FALSE(Patch.Update());
}

TEST(CoonsPatchTest, InvalidPatches) {
    auto Curves = MixedLoop(0.5);
    // A third curve at a vertex that has two edges: that end stays unattached.
    TCoonsPatch Patch;
    for (const auto& C : Curves) Patch.AddCurve(C.get());
    const auto Spur = MakeCurve({{4, 0, 0}, {6, -1, 0}}, 2);
    TCoonsPatchEdge* E = Patch.AddCurve(Spur.get());
    EXPECT_EQ(E->StartVertex(), nullptr);
    EXPECT_FALSE(Patch.IsValid());
    EXPECT_TRUE(Patch.Update());  // nothing generated
    EXPECT_EQ(Patch.GeneratedMethod(), 2);
    EXPECT_EQ(Patch.Surface().NumU(), 4);

    // One curve alone is not a patch.
    TCoonsCurves One;
    One.Add(Curves[0].get());
    EXPECT_FALSE(CoonsCurvesValid(One));

    // Two lenses: every vertex has two edges, but the curves form two loops.
    std::vector<std::unique_ptr<TBSpline>> Lenses;
    Lenses.push_back(MakeCurve({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}}, 3));
    Lenses.push_back(MakeCurve({{0, 0, 0}, {1, -1, 0}, {2, 0, 0}}, 3));
    Lenses.push_back(MakeCurve({{5, 0, 0}, {6, 1, 0}, {7, 0, 0}}, 3));
    Lenses.push_back(MakeCurve({{5, 0, 0}, {6, -1, 0}, {7, 0, 0}}, 3));
    TCoonsPatch Two;
    ASSERT_TRUE(Two.SetCurves(CurveList(Lenses)));
    ExpectError([&] { Two.Update(); }, "TCoonsPatch.Generate - The curves form more than one loop");
}

TEST(CoonsPatchTest, CurveEndingAtTheOrigin) {
    // The far end of the first curve lies at the origin, where a vertex just made for the near end
    // has no position yet: it must not be taken for it.
    std::vector<std::unique_ptr<TBSpline>> Curves;
    Curves.push_back(MakeCurve({{4, 0, 0}, {2, -1, 0}, {0, 0, 0}}, 3));
    Curves.push_back(MakeCurve({{0, 0, 0}, {-1, 2, 0}, {0, 4, 0}}, 3));
    Curves.push_back(MakeCurve({{0, 4, 0}, {3, 3, 0}, {4, 0, 0}}, 3));
    TCoonsPatch Patch;
    ASSERT_TRUE(Patch.SetCurves(CurveList(Curves)));
    EXPECT_EQ(Patch.Vertices().Count(), 3);
    EXPECT_TRUE(Patch.Update());
    EXPECT_EQ(Patch.GeneratedMethod(), cpBiLinear);
    Patch.Surface().UpdateKnots();
    ExpectNear(Patch.Surface().Evaluate(0.5, 0), Curves[0]->EvaluatePoint(0.5), 1e-12);
}

}  // namespace
}  // namespace sarnova
