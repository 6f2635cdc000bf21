#include "surfaces/NPatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/Polygon.h"
#include "foundation/VkMathsExpect.h"
#include "platform/RecordingGraphics.h"
#include "surfaces/PatchFixtures.h"

namespace sarnova {
namespace {

TMVector First(const TBSpline& C) { return C.First()->Vector(); }
TMVector Last(const TBSpline& C) { return C.Last()->Vector(); }

// Every edge starts where the previous one ends, and its working curve runs from its start vertex.
void ExpectOrientedLoop(const TNPatch& Patch) {
    for (int i = 0; i < Patch.Edges().Count(); ++i) {
        const TNPatchEdge* E = Patch.Edges().Items(i);
        ASSERT_NE(E->NextEdge(), nullptr);
        EXPECT_EQ(E->NextEdge()->StartVertex(), E->EndVertex());
        ExpectNear(First(*E->WorkingCurve()), E->StartVertex()->Position, 1e-4);
        ExpectNear(Last(*E->WorkingCurve()), E->EndVertex()->Position, 1e-4);
    }
}

// The curves in order, the first with cross tangents X; then Update.
void AddWithCrossTangent(TNPatch& Patch, const std::vector<std::unique_ptr<TBSpline>>& Curves, const TBSpline& X) {
    Patch.AddBoundaryCurve(Curves[0].get(), &X);
    for (std::size_t k = 1; k < Curves.size(); ++k) Patch.AddBoundaryCurve(Curves[k].get(), nullptr);
    Patch.Update();
}

TEST(NPatchTest, LoopInAnyOrderAndDirection) {
    auto Curves = SquareLoop(0.5);
    // Order 0, 2, 1, 3 with sides 2 and 1 reversed.
    Curves[2]->Reverse();
    Curves[1]->Reverse();
    TBSplines L;
    for (const int k : {0, 2, 1, 3}) L.Add(Curves[static_cast<std::size_t>(k)].get());
    TNPatch Patch;
    ASSERT_TRUE(Patch.SetBoundaryCurves(L));
    ASSERT_EQ(Patch.Edges().Count(), 4);
    ASSERT_EQ(Patch.Vertices().Count(), 4);
    ExpectOrientedLoop(Patch);
    // The first curve sets the direction; exactly the curves running against it are flipped.
    EXPECT_FALSE(Patch.Edges().Items(0)->Flipped());
    EXPECT_TRUE(Patch.Edges().Items(1)->Flipped());
    EXPECT_TRUE(Patch.Edges().Items(2)->Flipped());
    EXPECT_FALSE(Patch.Edges().Items(3)->Flipped());
    ExpectNear(Patch.Centre(), {2, 2, 0});
    // Updating again flips nothing more.
    Patch.Update();
    EXPECT_TRUE(Patch.Edges().Items(1)->Flipped());
    ExpectOrientedLoop(Patch);
    EXPECT_TRUE(NPatchCurvesClosed(L));
}

TEST(NPatchTest, CurvesThatDoNotClose) {
    const auto Curves = SquareLoop(0);
    TNPatch Patch;
    EXPECT_TRUE(Patch.IsClosed());  // empty
    for (int k = 0; k < 3; ++k) Patch.AddBoundaryCurve(Curves[static_cast<std::size_t>(k)].get(), nullptr);
    EXPECT_FALSE(Patch.IsClosed());
    Patch.Update();  // an open loop builds as far as it goes
    // A third curve at a vertex that has two edges is ignored; its far vertex stays.
    const auto Spur = MakeCurve({{4, 0, 0}, {6, -1, 0}});
    Patch.AddBoundaryCurve(Spur.get(), nullptr);
    EXPECT_EQ(Patch.Edges().Count(), 3);
    EXPECT_EQ(Patch.Vertices().Count(), 5);
    Patch.AddBoundaryCurve(Curves[3].get(), nullptr);
    EXPECT_FALSE(Patch.IsClosed());

    TBSplines Open;
    for (int k = 0; k < 3; ++k) Open.Add(Curves[static_cast<std::size_t>(k)].get());
    EXPECT_FALSE(NPatchCurvesClosed(Open));
    // A curve closed on itself takes both slots of its one vertex.
    const auto Ring = MakeCurve({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}});
    TNPatch Single;
    Single.AddBoundaryCurve(Ring.get(), nullptr);
    EXPECT_TRUE(Single.IsClosed());
    Single.Update();
    EXPECT_EQ(Single.Centre(), ZeroVector);
}

TEST(NPatchTest, ChangeDetectionJoinsMovedEnds) {
    auto Curves = SquareLoop(0.3);
    Curves[1]->Reverse();  // this side is flipped in the loop
    TNPatch Patch;
    Patch.SetDetectChanges(true);
    ASSERT_TRUE(Patch.SetBoundaryCurves(SplineList(Curves)));
    ExpectError([&] { Patch.SetDetectChanges(false); },
                "TNPatch.SetDetectChanges - Cannot set change detection state while patch contains edge data");
    EXPECT_FALSE(Patch.Update());

    // The first point of the first curve moves: the end of the side before it follows.
    Curves[0]->First()->SetXYZ(-0.5, -0.25, 0.125);
    EXPECT_TRUE(Patch.EdgesChanged());
    EXPECT_TRUE(Patch.Update());
    EXPECT_EQ(Last(*Curves[3]), (TMVector{-0.5, -0.25, 0.125}));
    EXPECT_FALSE(Patch.Update());
    // The working copies follow the caller's curves, reversed where the edge is flipped.
    EXPECT_EQ(Last(*Patch.Edges().Items(3)->WorkingCurve()), (TMVector{-0.5, -0.25, 0.125}));

    // The flipped side's curve runs from C to B: moving its last point (at B, the flipped edge's
    // start vertex) drags the first side's end, not the third side's start.
    Curves[1]->Last()->SetXYZ(4.25, 0, 0.5);
    const TMVector CornerC = First(*Curves[2]);
    EXPECT_TRUE(Patch.Update());
    EXPECT_EQ(Last(*Curves[0]), (TMVector{4.25, 0, 0.5}));
    EXPECT_EQ(First(*Curves[2]), CornerC);
    EXPECT_EQ(Last(*Patch.Edges().Items(1)->WorkingCurve()), CornerC);

    // Both curve ends at one vertex moved: both go to their midpoint.
    Curves[2]->Last()->SetXYZ(0, 5, 0);
    Curves[3]->First()->SetXYZ(0, 4, 1);
    EXPECT_TRUE(Patch.Update());
    EXPECT_EQ(Last(*Curves[2]), (TMVector{0, 4.5, 0.5}));
    EXPECT_EQ(First(*Curves[3]), (TMVector{0, 4.5, 0.5}));
    EXPECT_FALSE(Patch.Update());
}

TEST(NPatchTest, WithoutChangeDetectionTheCallersCurvesAreLeftAlone) {
    auto Curves = SquareLoop(0.3);
    TNPatch Patch;
    ASSERT_TRUE(Patch.SetBoundaryCurves(SplineList(Curves)));
    EXPECT_EQ(Patch.Edges().Items(0)->Curve(), nullptr);
    Curves[0]->First()->SetXYZ(9, 9, 9);
    EXPECT_FALSE(Patch.Update());
    EXPECT_EQ(First(*Curves[3]).X, 0);
    EXPECT_EQ(First(*Patch.Edges().Items(0)->WorkingCurve()), ZeroVector);
}

TEST(NPatchTest, EndTangents) {
    const auto Curves = SquareLoop(0.4);
    TNPatch Patch;
    ASSERT_TRUE(Patch.SetBoundaryCurves(SplineList(Curves)));
    TNPatchEdge& E = *Patch.Edges().Items(0);
    TBSpline& W = *E.WorkingCurve();
    // Open knots over [0, 2]: the derivative at the start is 3 (P1 - P0) / (1 - 0).
    ExpectNear(E.StartTangent(), W.Derivatives(W.MinT())[1]);
    ExpectNear(E.EndTangent(), VectorNegate(W.Derivatives(W.MaxT())[1]));
    ExpectNear(E.TangentAt(E.StartVertex()), E.StartTangent());
    ExpectNear(E.TangentAt(E.EndVertex()), E.EndTangent());
    EXPECT_EQ(E.TangentAt(Patch.Edges().Items(2)->EndVertex()), ZeroVector);
    EXPECT_DOUBLE_EQ(E.ChordLength(), 4);
    EXPECT_EQ(E.MaxT(), 2);
    // A straight side of order 2 over [0, 1]: the chord itself.
    const auto Line = MakeCurve({{0, 0, 0}, {3, 4, 0}}, 2);
    EXPECT_EQ(CurveStartDerivative(*Line), (TMVector{3, 4, 0}));
    EXPECT_EQ(CurveEndDerivativeBackwards(*Line), (TMVector{-3, -4, 0}));
}

TEST(NPatchTest, StraightCrossDerivativeWithoutCrossTangents) {
    const auto Curves = SquareLoop(0.4);
    TNPatch Patch;
    ASSERT_TRUE(Patch.SetBoundaryCurves(SplineList(Curves)));
    Patch.GenerateCrossDerivatives();
    for (int i = 0; i < 4; ++i) {
        TNPatchEdge& E = *Patch.Edges().Items(i);
        const TBSpline& C = *E.CrossDerivativeCurve();
        EXPECT_EQ(C.GetOrder(), 2);
        ASSERT_EQ(C.Count(), 2);
        // The working curves run over [0, 1] now.
        EXPECT_EQ(E.WorkingCurve()->MaxT(), 1);
        ExpectNear(First(C), E.PreviousEdge()->EndTangent());
        ExpectNear(Last(C), E.NextEdge()->StartTangent());
        TMVector P, X;
        E.PointAndCross(0.5, P, X);
        ExpectNear(P, E.WorkingCurve()->EvaluatePoint(0.5));
        ExpectNear(X, VectorMidpoint(First(C), Last(C)));
        // Beyond the range: the end of the side.
        E.PointAndCross(1.25, P, X);
        ExpectNear(P, Last(*E.WorkingCurve()));
    }
}

TEST(NPatchTest, CrossDerivativeFittedToTheCrossTangents) {
    const auto Curves = SquareLoop(0.4);
    // The fit needs each neighbour's tangent in the plane of W' and X at that end: cross tangents
    // made from them, so that S0 = -0.5, T0 = 1 and S1 = 0.25, T1 = 1.
    TNPatch Plain;
    ASSERT_TRUE(Plain.SetBoundaryCurves(SplineList(Curves)));
    Plain.GenerateCrossDerivatives();
    TNPatchEdge& P0 = *Plain.Edges().Items(0);
    const TMVector D0 = P0.PreviousEdge()->EndTangent(), D1 = P0.NextEdge()->StartTangent();
    const TMVector W0 = P0.WorkingCurve()->Derivatives(0)[1], W1 = P0.WorkingCurve()->Derivatives(1)[1];
    const auto X = MakeCurve({VectorAdd(D0, VectorScale(W0, 0.5)), {0, 1, 0.5}, VectorAdd(D1, VectorScale(W1, -0.25))}, 3);

    TNPatch Patch;
    AddWithCrossTangent(Patch, Curves, *X);
    Patch.GenerateCrossDerivatives();
    TNPatchEdge& E = *Patch.Edges().Items(0);
    TBSpline& C = *E.CrossDerivativeCurve();
    EXPECT_GT(C.GetOrder(), 2);
    C.UpdateKnots();
    ExpectNear(C.EvaluatePoint(0), D0, 1e-9);
    ExpectNear(C.EvaluatePoint(1), D1, 1e-9);
    // C = Alpha W' + Beta X with Alpha running from -0.5 to 0.25 and Beta 1.
    for (const double t : {0.25, 0.5, 0.8}) {
        const TMVector Wd = E.WorkingCurve()->Derivatives(t)[1];
        const TMVector Xt = E.CrossTangentCurve()->EvaluatePoint(t);
        ExpectNear(C.EvaluatePoint(t), VectorAdd(VectorScale(Wd, -0.5 + 0.75 * t), Xt), 1e-9);
    }
    TCurveDerivatives DW, DC;
    E.DerivativesAt(0.5, DW, DC);
    ExpectNear(DC[0], C.EvaluatePoint(0.5), 1e-12);
    ExpectNear(DW[0], E.WorkingCurve()->EvaluatePoint(0.5), 1e-12);
}

TEST(NPatchTest, FailedFitIsLoggedAndFallsBackToTheStraightCrossDerivative) {
    const auto Curves = SquareLoop(0);
    // Vertical cross tangents on a flat loop: the neighbours' tangents are not in their plane.
    const auto X = MakeCurve({{0, 0, 1}, {0, 0, 1}}, 2);
    TNPatch Patch;
    AddWithCrossTangent(Patch, Curves, *X);
    std::vector<std::string> Lines;
    GConsole->OnLine = [&Lines](const std::string& L) { Lines.push_back(L); };
    Patch.GenerateCrossDerivatives();
    GConsole->OnLine = nullptr;
    ASSERT_FALSE(Lines.empty());
    EXPECT_NE(std::find(Lines.begin(), Lines.end(),
                        "TNPatchEdge.GenerateCrossDerivative - Solve3DPlaneEquation failed at (     0.000,      0.000,      0.000)"),
              Lines.end());
    const TBSpline& C = *Patch.Edges().Items(0)->CrossDerivativeCurve();
    EXPECT_EQ(C.GetOrder(), 2);
    EXPECT_EQ(C.Count(), 2);
}

TEST(NPatchTest, Drawing) {
    const auto Curves = SquareLoop(0.2);
    const auto X = MakeCurve({{0, 1, 0}, {0, 1, 0}}, 2);
    TNPatch Patch;
    AddWithCrossTangent(Patch, Curves, *X);
    Patch.GenerateCrossDerivatives();

    TRecordingGraphics G;
    Patch.DrawBoundary(G);
    int Handles = 0;
    for (const auto& C : G.Calls)
        if (C.Name == "EditHandle") {
            ++Handles;
            EXPECT_EQ(C.Kind, 2);
        }
    EXPECT_EQ(Handles, 4);

    // 101 spokes and 100 joins for the one side with cross tangents, of length Length / 2.
    G.Calls.clear();
    Patch.DrawCrossTangents(G, 3);
    ASSERT_EQ(G.Calls.size(), 201u);
    EXPECT_EQ(G.Calls[0].Points[0], ZeroVector);
    EXPECT_EQ(G.Calls[0].Points[1], (TMVector{0, 1.5, 0}));
    // Every side has a cross-derivative curve.
    G.Calls.clear();
    Patch.DrawCrossDerivatives(G);
    EXPECT_EQ(G.Calls.size(), 4u * 201u);
    EXPECT_EQ(Patch.CreatePolygons(), nullptr);
}

}  // namespace
}  // namespace sarnova
