#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "curvenet/PatchEdgeFixtures.h"
#include "curvenet/XTCoonsBrownPatch.h"
#include "curvenet/XTCoonsGregoryPatch.h"
#include "curvenet/XTPatchEdge.h"
#include "foundation/VkMaths.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

// The sides of the sample bicubic patch, side 1's cross derivative bent inside so that its twist
// estimates disagree with those of sides 0 and 2; side 2 given seven control points.
void SetDisagreeingSides(TXTPatchEdges& Edges) {
    SetBicubicSides(Edges, SampleNet());
    TXTBSpline& D1 = Edges.Edge(1).CrossDerivative();
    for (int I : {1, 2}) {
        TMVector V;
        D1.PointAt(I, V);
        D1.SetPoint(I, VectorAdd(V, {0.4 * I, -0.3, 0.5}));
    }
    TXTBSpline& C2 = Edges.Edge(2).Curve();
    C2.Spline().RefineKnots(std::vector<double>{0.3, 0.6, 0.8});
}

struct TKind {
    const char* Name;
    std::function<std::unique_ptr<TSurface>(TXTPatchEdges&)> Make;
};

const TKind Kinds[] = {
    {"Coons-Brown", [](TXTPatchEdges& E) { return std::make_unique<TXTCoonsBrownPatch>(E); }},
    {"Coons-Gregory", [](TXTPatchEdges& E) { return std::make_unique<TXTCoonsGregoryPatch>(E); }},
};

void ExpectNear(const TMVector& A, const TMVector& B, double Tol, const std::string& What) {
    EXPECT_LT(VectorDistance(A, B), Tol) << What << ": (" << A.X << ", " << A.Y << ", " << A.Z << ") vs (" << B.X
                                         << ", " << B.Y << ", " << B.Z << ")";
}

}  // namespace

TEST(AnalyticPatches, EverySideKeepsItsPositionAndCrossDerivative) {
    for (const TKind& K : Kinds) {
        TXTPatchEdges Edges;
        SetDisagreeingSides(Edges);
        auto S = K.Make(Edges);
        for (double T : {0.05, 0.3, 0.5, 0.71, 0.95}) {
            // (u, v) on each side, and the sign that turns the side's cross derivative into dS/du or dS/dv.
            const struct {
                int Side;
                double U, V;
                bool AcrossU;
                double Sign;
            } Sides[] = {{0, T, 0, false, 1}, {1, 0, T, true, 1}, {2, T, 1, false, -1}, {3, 1, T, true, -1}};
            for (const auto& C : Sides) {
                TMVector P, D;
                Edges.Edge(C.Side).PointAt(T, P, D);
                const std::string What = std::string(K.Name) + " side " + std::to_string(C.Side) + " at " + std::to_string(T);
                ExpectNear(S->Evaluate(C.U, C.V), P, 1e-12, What);
                const TSurfaceDerivatives SD = S->EvaluateDerivatives(C.U, C.V);
                ExpectNear(SD.S, P, 1e-12, What);
                ExpectNear(VectorScale(C.AcrossU ? SD.Su : SD.Sv, C.Sign), D, 1e-9, What);
            }
        }
    }
}

TEST(AnalyticPatches, DerivativesMatchFiniteDifferencesWithTheCachesInterleaved) {
    constexpr double H = 1e-5;
    for (const TKind& K : Kinds) {
        TXTPatchEdges Edges;
        SetDisagreeingSides(Edges);
        auto S = K.Make(Edges);
        for (double U : {0.02, 0.3, 0.5, 0.9})
            for (double V : {0.01, 0.45, 0.8, 0.97}) {
                const std::string What = std::string(K.Name) + " at " + std::to_string(U) + ", " + std::to_string(V);
                const TSurfaceDerivatives D = S->EvaluateDerivatives(U, V);
                // Values and derivatives asked in turn, as sampling and shading do.
                const TMVector Pu1 = S->Evaluate(U + H, V), Pu0 = S->Evaluate(U - H, V);
                const TMVector Pv1 = S->Evaluate(U, V + H), Pv0 = S->Evaluate(U, V - H);
                ExpectNear(S->Evaluate(U, V), D.S, 1e-12, What + " S");
                ExpectNear(VectorScale(VectorFromTo(Pu0, Pu1), 0.5 / H), D.Su, 1e-6, What + " Su");
                ExpectNear(VectorScale(VectorFromTo(Pv0, Pv1), 0.5 / H), D.Sv, 1e-6, What + " Sv");
                const TSurfaceDerivatives Du1 = S->EvaluateDerivatives(U + H, V), Du0 = S->EvaluateDerivatives(U - H, V);
                const TSurfaceDerivatives Dv1 = S->EvaluateDerivatives(U, V + H), Dv0 = S->EvaluateDerivatives(U, V - H);
                ExpectNear(VectorScale(VectorFromTo(Du0.Su, Du1.Su), 0.5 / H), D.Suu, 1e-6, What + " Suu");
                ExpectNear(VectorScale(VectorFromTo(Dv0.Sv, Dv1.Sv), 0.5 / H), D.Svv, 1e-6, What + " Svv");
                ExpectNear(VectorScale(VectorFromTo(Du0.Sv, Du1.Sv), 0.5 / H), D.Suv, 1e-6, What + " Suv");
                ExpectNear(VectorScale(VectorFromTo(Dv0.Su, Dv1.Su), 0.5 / H), D.Suv, 1e-6, What + " Svu");
            }
    }
}

TEST(CoonsBrownPatch, AtACornerEvaluateGivesTheFirstLoftAndDerivativesTheSecond) {
    TXTPatchEdges Edges;
    SetBicubicSides(Edges, SampleNet());
    // Side 1 starts beside the corner of side 0.
    const TMVector Side0Start = Edges.Edge(0).StartPoint();
    const TMVector Side1Start = VectorAdd(Side0Start, {0, 0, 0.25});
    Edges.Edge(1).SetStartPoint(Side1Start);
    TXTCoonsBrownPatch S(Edges);
    EXPECT_EQ(S.NumULine(), 10);
    EXPECT_EQ(S.NumVLine(), 10);
    EXPECT_EQ(S.StoredLinePointCount(), 25);
    ExpectNear(S.Evaluate(0, 0), Side0Start, 1e-12, "Evaluate");
    const TSurfaceDerivatives D = S.EvaluateDerivatives(0, 0);
    ExpectNear(D.S, Side1Start, 1e-12, "EvaluateDerivatives");
    ExpectNear(D.Sv, Tangent(Edges.Edge(1).Curve(), false), 1e-9, "L2 along side 1");
}

TEST(CoonsBrownPatch, SidesOfOneBicubicPatchGiveThatPatch) {
    const auto Net = SampleNet();
    TXTPatchEdges Edges;
    SetBicubicSides(Edges, Net);
    TXTCoonsBrownPatch S(Edges);
    auto B = BicubicPatch(Net);
    for (double U : {0.0, 0.25, 0.6, 1.0})
        for (double V : {0.1, 0.5, 0.9}) ExpectNear(S.Evaluate(U, V), B->Evaluate(U, V), 1e-12, "bicubic");
}

TEST(CoonsGregoryPatch, EachTwistIsZeroOnlyAtItsCornerAndTakesTheCrossingSidesEstimateBesideIt) {
    TXTPatchEdges Edges;
    SetDisagreeingSides(Edges);
    TXTCoonsGregoryPatch S(Edges);
    const auto Twist00 = [&](double U, double V) {
        S.Evaluate(U, V);
        return S.CornerMatrix()[2][2];
    };
    EXPECT_EQ(Twist00(0, 0), ZeroVector);
    const TMVector A0 = Edges.Edge(0).DerivativesAt(0)[5];
    const TMVector B1 = Edges.Edge(1).DerivativesAt(0)[5];
    ASSERT_GT(VectorDistance(A0, B1), 0.1);
    // Beside side 0 the estimate of side 1, which runs across it, and the other way round.
    ExpectNear(Twist00(1e-4, 1e-12), B1, 1e-3, "near side 0");
    ExpectNear(Twist00(1e-12, 1e-4), A0, 1e-3, "near side 1");
    EXPECT_GT(VectorLength(Twist00(1e-20, 1e-20)), 0.1);
}
