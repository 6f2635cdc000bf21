#include "surfaces/LSqrsNPatch.h"

namespace sarnova {

TLeastSquaresNPatchEdge::TLeastSquaresNPatchEdge(TLeastSquaresNPatch& Owner) : TFootprintNPatchEdge(Owner) {}

TMVector TLeastSquaresNPatchEdge::SideInterpolant(double Distance, double Position) {
    TMVector W, C;
    PointAndCross(Position, W, C);
    const auto& Patch = static_cast<const TLeastSquaresNPatch&>(FootprintPatch());
    if (Patch.TangentContinuity == 0) return W;
    const TBSpline* Cross = CrossDerivativeCurve();
    if (Cross == nullptr || Cross->Count() == 0) return W;
    const double a = Cross->First()->Length();
    const double b = Cross->Last()->Length();
    const double Magnitude = (1 - Position) * a + Position * b;
    const double Footprint = VectorDistance(SidePoint, Patch.DomainCentre);
    if (!(Magnitude > 0) || !(Footprint > 0)) return W;
    const double R = VectorDistance(Midpoint, Patch.Centre()) / Footprint;
    return VectorAdd(W, VectorScale(C, R * Patch.TangentWeight * Distance / Magnitude));
}

std::unique_ptr<TNPatchEdge> TLeastSquaresNPatch::NewEdge() { return std::make_unique<TLeastSquaresNPatchEdge>(*this); }

void TLeastSquaresNPatch::Build() {
    TFootprintNPatch::Build();
    GenerateCrossDerivatives();
}

TMVector TLeastSquaresNPatch::EvaluateDomainPoint(const TMVector& Q) {
    const bool Squared = TangentContinuity != 0;
    return BlendSides(Q, [this, Squared](const TFootprintNPatchEdge& E) {
        double w = 1;
        for (const TFootprintNPatchEdge* F : Loop())
            if (F != &E) w *= Squared ? F->SideDistance * F->SideDistance : F->SideDistance;
        return w;
    });
}

}  // namespace sarnova
