#include "surfaces/GregoryNPatch.h"

namespace sarnova {

namespace {

// A / (A + B), 0 where both vanish.
double Ratio(double A, double B) { return A + B > 0 ? A / (A + B) : 0.0; }

}  // namespace

TGregoryNPatchEdge::TGregoryNPatchEdge(TGregoryNPatch& Owner) : TFootprintNPatchEdge(Owner) {}

void TGregoryNPatchEdge::PrepareCorner() {
    FNext = dynamic_cast<TGregoryNPatchEdge*>(NextEdge());
    FPrevious = dynamic_cast<TGregoryNPatchEdge*>(PreviousEdge());
    FNextNext = FNext != nullptr ? dynamic_cast<TGregoryNPatchEdge*>(FNext->NextEdge()) : nullptr;
    if (FNext == nullptr) return;
    // The corner where the boundary curves meet now (the vertex keeps where they met when it was
    // made, and curve ends may have been moved since).
    const TBSpline* W = WorkingCurve();
    FCorner = W != nullptr && W->Count() > 0 ? W->Last()->Vector() : EndVertex()->Position;
    FNextStartTangent = FNext->StartTangent();
    FEndTangent = EndTangent();
    FNextTwist = FNext->CrossDerivativeCurve() != nullptr ? CurveStartDerivative(*FNext->CrossDerivativeCurve()) : ZeroVector;
    FTwist = CrossDerivativeCurve() != nullptr ? CurveEndDerivativeBackwards(*CrossDerivativeCurve()) : ZeroVector;
}

TMVector TGregoryNPatchEdge::SideInterpolant(double, double) {
    TGregoryNPatchEdge* N = FNext;
    TGregoryNPatchEdge* P = FPrevious;
    TGregoryNPatchEdge* NN = FNextNext;
    if (N == nullptr || P == nullptr || NN == nullptr) return ZeroVector;
    const double u = Ratio(SideDistance, NN->SideDistance);   // 0 on this side
    const double v = Ratio(N->SideDistance, P->SideDistance);  // 0 on the next side

    TMVector WE, CE, WN, CN;
    PointAndCross(MaxT() - v, WE, CE);
    N->PointAndCross(u, WN, CN);
    const TMVector A = VectorAdd(WE, VectorScale(CE, u));
    const TMVector B = VectorAdd(WN, VectorScale(CN, v));
    const TMVector K = VectorSum3(FCorner, VectorScale(FNextStartTangent, u), VectorScale(FEndTangent, v));
    // At the corner itself both twist terms reduce to K: half each.
    const double a = u + v > 0 ? v / (u + v) : 0.5;
    const double b = u + v > 0 ? u / (u + v) : 0.5;
    const TMVector KN = VectorAdd(K, VectorScale(FNextTwist, u * v));
    const TMVector KE = VectorAdd(K, VectorScale(FTwist, u * v));
    return VectorFromTo(VectorAdd(VectorScale(KN, a), VectorScale(KE, b)), VectorAdd(A, B));
}

std::unique_ptr<TNPatchEdge> TGregoryNPatch::NewEdge() { return std::make_unique<TGregoryNPatchEdge>(*this); }

void TGregoryNPatch::Build() {
    TFootprintNPatch::Build();
    GenerateCrossDerivatives();
    for (TFootprintNPatchEdge* E : Loop()) static_cast<TGregoryNPatchEdge*>(E)->PrepareCorner();
}

TMVector TGregoryNPatch::EvaluateDomainPoint(const TMVector& Q) {
    // The sides that do not meet at the edge's end corner.
    return BlendSides(Q, [this](const TFootprintNPatchEdge& E) {
        const TFootprintNPatchEdge* Next = static_cast<const TGregoryNPatchEdge&>(E).FNext;
        double w = 1;
        for (const TFootprintNPatchEdge* F : Loop())
            if (F != &E && F != Next) w *= F->SideDistance * F->SideDistance;
        return w;
    });
}

}  // namespace sarnova
