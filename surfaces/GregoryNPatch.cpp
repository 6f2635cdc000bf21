#include "surfaces/GregoryNPatch.h"

namespace sarnova {

namespace {

// A / (A + B), 0 where both vanish.
double Ratio(double A, double B) { return A + B > 0 ? A / (A + B) : 0.0; }

}  // namespace

TGregoryNPatchEdge::TGregoryNPatchEdge(TGregoryNPatch& Owner) : TFootprintNPatchEdge(Owner) {}

TMVector TGregoryNPatchEdge::SideInterpolant(double, double) {
    TFootprintNPatchEdge* N = NextEdge();
    TFootprintNPatchEdge* P = PreviousEdge();
    TFootprintNPatchEdge* NN = N != nullptr ? N->NextEdge() : nullptr;
    if (N == nullptr || P == nullptr || NN == nullptr) return ZeroVector;
    const double u = Ratio(SideDistance, NN->SideDistance);   // 0 on this side
    const double v = Ratio(N->SideDistance, P->SideDistance);  // 0 on the next side

    TMVector WE, CE, WN, CN;
    PointAndCross(MaxT() - v, WE, CE);
    N->PointAndCross(u, WN, CN);
    const TMVector A = VectorAdd(WE, VectorScale(CE, u));
    const TMVector B = VectorAdd(WN, VectorScale(CN, v));
    // The corner where the boundary curves meet now (the vertex keeps where they met when it was
    // made, and curve ends may have been moved since).
    const TBSpline* W = WorkingCurve();
    const TMVector Corner = W != nullptr && W->Count() > 0 ? W->Last()->Vector() : EndVertex()->Position;
    const TMVector K = VectorSum3(Corner, VectorScale(N->StartTangent(), u), VectorScale(EndTangent(), v));
    const TMVector TN = N->CrossDerivativeCurve() != nullptr ? CurveStartDerivative(*N->CrossDerivativeCurve()) : ZeroVector;
    const TMVector TE = CrossDerivativeCurve() != nullptr ? CurveEndDerivativeBackwards(*CrossDerivativeCurve()) : ZeroVector;
    // At the corner itself both twist terms reduce to K: half each.
    const double a = u + v > 0 ? v / (u + v) : 0.5;
    const double b = u + v > 0 ? u / (u + v) : 0.5;
    const TMVector KN = VectorAdd(K, VectorScale(TN, u * v));
    const TMVector KE = VectorAdd(K, VectorScale(TE, u * v));
    return VectorFromTo(VectorAdd(VectorScale(KN, a), VectorScale(KE, b)), VectorAdd(A, B));
}

std::unique_ptr<TNPatchEdge> TGregoryNPatch::NewEdge() { return std::make_unique<TGregoryNPatchEdge>(*this); }

void TGregoryNPatch::Build() {
    TFootprintNPatch::Build();
    GenerateCrossDerivatives();
}

TMVector TGregoryNPatch::EvaluateDomainPoint(const TMVector& Q) {
    // The sides that do not meet at the edge's end corner.
    return BlendSides(Q, [this](const TFootprintNPatchEdge& E) {
        const TFootprintNPatchEdge* Next = E.NextEdge();
        double w = 1;
        for (const TFootprintNPatchEdge* F : Loop())
            if (F != &E && F != Next) w *= F->SideDistance * F->SideDistance;
        return w;
    });
}

}  // namespace sarnova
