#include "curvenet/XTGregoryPatch.h"

#include "curvenet/XTPatchEdge.h"
#include "surfaces/CoonsPatch.h"

namespace sarnova {

namespace {

constexpr double OneThird = 0.3333333333333333;
constexpr double OneNinth = 0.1111111111111111;

// A side seen as one cubic Bezier segment: its end points, the inner Bezier points from its end
// derivatives, and the offsets of the inner points across it from its cross derivative's ends.
struct TBezierSide {
    TMVector First, Second, Third, Last;
    TMVector StartOffset, EndOffset;
};

TBezierSide BezierSide(TXTPatchEdge& E) {
    TBezierSide B;
    TXTBSpline& C = E.Curve();
    TXTBSpline& D = E.CrossDerivative();
    TMVector Start, End, D0, D1;
    C.FirstPoint(B.First);
    C.LastPoint(B.Last);
    C.StartDerivative(Start);
    C.EndDerivative(End);
    B.Second = VectorAdd(B.First, VectorScale(Start, OneThird));
    B.Third = VectorFromTo(VectorScale(End, OneThird), B.Last);
    D.FirstPoint(D0);
    D.LastPoint(D1);
    B.StartOffset = VectorAdd(VectorScale(D0, OneThird), VectorScale(E.StartTwistEstimate(), OneNinth));
    B.EndOffset = VectorFromTo(VectorScale(E.EndTwistEstimate(), OneNinth), VectorScale(D1, OneThird));
    return B;
}

}  // namespace

void TXTGregoryPatch::Build() {
    FSurface = std::make_unique<TGregorySurface>();
    FSurface->SetLinePointCount(20);
    MakeBSplinesCompatible(FEdges.Edge(0).Curve().Spline(), FEdges.Edge(2).Curve().Spline(), 4);
    MakeBSplinesCompatible(FEdges.Edge(1).Curve().Spline(), FEdges.Edge(3).Curve().Spline(), 4);
    const TBezierSide S0 = BezierSide(FEdges.Edge(0));
    const TBezierSide S1 = BezierSide(FEdges.Edge(1));
    const TBezierSide S2 = BezierSide(FEdges.Edge(2));
    const TBezierSide S3 = BezierSide(FEdges.Edge(3));
    // The corners come from sides 0 and 2; sides 1 and 3 give their inner Bezier points only.
    const std::pair<int, TMVector> Points[] = {
        {0, S0.First},
        {1, S0.Second},
        {2, S0.Third},
        {3, S0.Last},
        {4, S1.Second},
        {8, S1.Third},
        {7, S3.Second},
        {11, S3.Third},
        {12, S2.First},
        {13, S2.Second},
        {14, S2.Third},
        {15, S2.Last},
        {16, VectorAdd(S0.Second, S0.StartOffset)},
        {17, VectorAdd(S0.Third, S0.EndOffset)},
        {18, VectorAdd(S2.Second, S2.StartOffset)},
        {19, VectorAdd(S2.Third, S2.EndOffset)},
        {5, VectorAdd(S1.Second, S1.StartOffset)},
        {9, VectorAdd(S1.Third, S1.EndOffset)},
        {6, VectorAdd(S3.Second, S3.StartOffset)},
        {10, VectorAdd(S3.Third, S3.EndOffset)},
    };
    for (const auto& [Index, P] : Points) FSurface->ControlPoint(Index).SetVector(P);
}

std::unique_ptr<TGregorySurface> BuildGregoryPatch(TXTPatchEdges& Edges) {
    TXTGregoryPatch Patch(Edges);
    Patch.Build();
    return CloneGregorySurface(*Patch.Surface());
}

}  // namespace sarnova
