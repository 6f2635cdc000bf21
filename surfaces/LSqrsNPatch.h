// The weighted least-squares N-sided patch: one interpolant per side, blended with weights that are
// the products of the distances of the domain point from all other sides. The C0 variant carries
// positions only; the C1 variant adds each side's cross-boundary derivative and squares the weights.
#pragma once
#include <cstdint>
#include <memory>

#include "surfaces/NPatchFootprint.h"

namespace sarnova {

class TLeastSquaresNPatch;

class TLeastSquaresNPatchEdge : public TFootprintNPatchEdge {
public:
    explicit TLeastSquaresNPatchEdge(TLeastSquaresNPatch& Owner);

    // C0: the working curve at Position. C1: plus the cross derivative there times
    // R TangentWeight Distance / ((1 - Position) a + Position b), with a and b the cross-derivative
    // magnitudes at the two corners and R the scale from footprint to model (the edge midpoint's
    // distance from the patch centre over the side point's from the domain centre). When a and b
    // (or the footprint distance) vanish the cross term is left out.
    TMVector SideInterpolant(double Distance, double Position) override;
};

class TLeastSquaresNPatch : public TFootprintNPatch {
public:
    // 0 C0, 1 C1.
    std::uint8_t TangentContinuity = 0;
    double TangentWeight = 1.0;

    TLeastSquaresNPatch() = default;

    std::unique_ptr<TNPatchEdge> NewEdge() override;
    // The footprint, then the cross-derivative curves.
    void Build() override;
    // The weighted mean of the side interpolants at Q. Where every weight vanishes (a footprint
    // corner) the corner point of the boundary curves. Allocates nothing. Throws EGeometryError when
    // the patch has no usable footprint.
    TMVector EvaluateDomainPoint(const TMVector& Q) override;
};

}  // namespace sarnova
