#include "curvenet/XTBezierCoonsPatch.h"

#include "curvenet/XTPatchEdge.h"
#include "surfaces/CoonsPatch.h"

namespace sarnova {

namespace {

constexpr double OneThird = 0.3333333333333333;
constexpr double OneNinth = 0.1111111111111111;

TMVector PointOf(const TXTBSpline& S, int I) {
    TMVector V;
    S.PointAt(I, V);
    return V;
}

TMVector FirstOf(const TXTBSpline& S) { return PointOf(S, 0); }
TMVector LastOf(const TXTBSpline& S) { return PointOf(S, S.Count() - 1); }

// P + D / 3.
TMVector AThirdOn(const TMVector& P, const TMVector& D) { return VectorAdd(P, VectorScale(D, OneThird)); }

// Clamped knots over [0, 1] without interior knots, order K, in one direction.
void SetEndKnots(TBSplineSurface& S, bool InU, int K) {
    for (int I = 1; I <= 2 * K; ++I) {
        const double Knot = I <= K ? 0.0 : 1.0;
        if (InU)
            S.SetKnotU(I, Knot);
        else
            S.SetKnotV(I, Knot);
    }
}

// The loft between two opposite sides A (at parameter 0 across) and B (at 1): cubic from the sides
// made compatible with their cross derivatives, linear from the side curves alone. InU: the sides
// run in u (sides 0 and 2).
std::unique_ptr<TBSplineSurface> Loft(TXTPatchEdges& Edges, int A, int B, bool Cubic) {
    TXTPatchEdge& SA = Edges.Edge(A);
    TXTPatchEdge& SB = Edges.Edge(B);
    const bool InU = A == 0;
    int Order = 0;
    if (Cubic) {
        Edges.MakeSidesCompatible(A, B);
        Order = SA.MaxOrder();
    } else {
        MakeBSplinesCompatible(SA.Curve().Spline(), SB.Curve().Spline(), 2);
        Order = SA.Curve().Order();
    }
    const TBSpline& Along = SA.Curve().Spline();
    const int N = SA.PointCount();
    const int Across = Cubic ? 4 : 2;
    auto S = InU ? std::make_unique<TBSplineSurface>(N, Across) : std::make_unique<TBSplineSurface>(Across, N);
    S->KnotType = Cubic ? ktNonUniform : Along.KnotType;
    if (InU) {
        S->SetOrderU(Order);
        S->SetOrderV(Across);
        S->SetKnotsU(Along.Knots());
    } else {
        S->SetOrderU(Across);
        S->SetOrderV(Order);
        S->SetKnotsV(Along.Knots());
    }
    SetEndKnots(*S, !InU, Across);
    for (int I = 0; I < N; ++I) {
        const TMVector PA = PointOf(SA.Curve(), I), PB = PointOf(SB.Curve(), I);
        TMVector Row[4] = {PA, PB};
        if (Cubic) {
            Row[0] = PA;
            Row[1] = AThirdOn(PA, PointOf(SA.CrossDerivative(), I));
            Row[2] = AThirdOn(PB, PointOf(SB.CrossDerivative(), I));
            Row[3] = PB;
        }
        for (int J = 0; J < Across; ++J) (InU ? S->Point(I, J) : S->Point(J, I)).SetVector(Row[J]);
    }
    S->UpdateKnots();
    return S;
}

}  // namespace

std::unique_ptr<TBSplineSurface> CubicCornerSurface(TXTPatchEdges& Edges) {
    TXTPatchEdge& S0 = Edges.Edge(0);
    TXTPatchEdge& S1 = Edges.Edge(1);
    TXTPatchEdge& S2 = Edges.Edge(2);
    TXTPatchEdge& S3 = Edges.Edge(3);
    auto S = std::make_unique<TBSplineSurface>(4, 4);
    // One corner: Q at (I, J), its neighbours along u and v at (IU, J) and (I, JV), the inner point
    // at (IU, JV).
    const auto Corner = [&](int I, int J, int IU, int JV, const TMVector& Q, const TMVector& AlongU,
                            const TMVector& AlongV, const TMVector& Twist) {
        const TMVector NU = AThirdOn(Q, AlongU), NV = AThirdOn(Q, AlongV);
        S->Point(I, J).SetVector(Q);
        S->Point(IU, J).SetVector(NU);
        S->Point(I, JV).SetVector(NV);
        S->Point(IU, JV).SetVector(VectorAdd(VectorFromTo(Q, VectorAdd(NU, NV)), VectorScale(Twist, OneNinth)));
    };
    const auto Mean = [](const TMVector& A, const TMVector& B) { return VectorScale(VectorAdd(A, B), 0.5); };
    Corner(0, 0, 1, 1, S0.StartPoint(), FirstOf(S1.CrossDerivative()), FirstOf(S0.CrossDerivative()),
           Mean(S0.StartTwistEstimate(), S1.StartTwistEstimate()));
    Corner(0, 3, 1, 2, S2.StartPoint(), LastOf(S1.CrossDerivative()), FirstOf(S2.CrossDerivative()),
           Mean(S2.StartTwistEstimate(), VectorNegate(S1.EndTwistEstimate())));
    Corner(3, 0, 2, 1, S0.EndPoint(), FirstOf(S3.CrossDerivative()), LastOf(S0.CrossDerivative()),
           Mean(S3.StartTwistEstimate(), VectorNegate(S0.EndTwistEstimate())));
    Corner(3, 3, 2, 2, S2.EndPoint(), LastOf(S3.CrossDerivative()), LastOf(S2.CrossDerivative()),
           Mean(VectorNegate(S2.EndTwistEstimate()), VectorNegate(S3.EndTwistEstimate())));
    S->UpdateKnots();
    return S;
}

std::unique_ptr<TBSplineSurface> TXTBezierCoonsPatch::LoftU() { return Loft(FEdges, 0, 2, FCubic); }

std::unique_ptr<TBSplineSurface> TXTBezierCoonsPatch::LoftV() { return Loft(FEdges, 1, 3, FCubic); }

std::unique_ptr<TBSplineSurface> TXTBezierCoonsPatch::CornerSurface() {
    if (FCubic) return CubicCornerSurface(FEdges);
    auto S = std::make_unique<TBSplineSurface>(2, 2);
    S->SetOrderU(2);
    S->SetOrderV(2);
    S->KnotType = ktNonUniform;
    SetEndKnots(*S, true, 2);
    SetEndKnots(*S, false, 2);
    S->Point(0, 0).SetVector(FEdges.Edge(0).StartPoint());
    S->Point(1, 0).SetVector(FEdges.Edge(0).EndPoint());
    S->Point(0, 1).SetVector(FEdges.Edge(2).StartPoint());
    S->Point(1, 1).SetVector(FEdges.Edge(2).EndPoint());
    S->UpdateKnots();
    return S;
}

void TXTBezierCoonsPatch::Build() {
    FSurface.reset();
    FSurfaceU = LoftU();
    FSurfaceV = LoftV();
    FSurfaceCorner = CornerSurface();
    FSurface = BooleanSumSurfaces(*FSurfaceU, *FSurfaceV, *FSurfaceCorner);
}

std::unique_ptr<TBSplineSurface> BuildBezierCoonsPatch(TXTPatchEdges& Edges, bool Cubic) {
    TXTBezierCoonsPatch Patch(Edges, Cubic);
    Patch.Build();
    return Patch.Surface() != nullptr ? CloneBSplineSurface(*Patch.Surface()) : nullptr;
}

}  // namespace sarnova
