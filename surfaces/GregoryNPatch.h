// The Gregory N-sided patch: one Gregory-type corner interpolant per corner, built from the two sides
// meeting there and their cross-boundary derivatives, blended with weights that are the products of
// the squared distances from the sides that do not meet at that corner.
#pragma once
#include <memory>

#include "surfaces/NPatchFootprint.h"

namespace sarnova {

class TGregoryNPatch;

class TGregoryNPatchEdge : public TFootprintNPatchEdge {
public:
    explicit TGregoryNPatchEdge(TGregoryNPatch& Owner);

    // The interpolant of the corner at the end of this edge E, where it meets its next edge N, from
    // the side distances of E, N and their other neighbours (the arguments are not used). The two
    // twist terms are weighted v / (u + v) and u / (u + v), or half each at the corner itself.
    TMVector SideInterpolant(double Distance, double Position) override;

private:
    friend class TGregoryNPatch;
    // What the interpolant reads besides the side distances, fixed by each Build: the neighbours,
    // the corner, the two boundary tangents leaving it and the two twist estimates there.
    void PrepareCorner();
    TGregoryNPatchEdge* FNext = nullptr;
    TGregoryNPatchEdge* FPrevious = nullptr;
    TGregoryNPatchEdge* FNextNext = nullptr;
    TMVector FCorner, FNextStartTangent, FEndTangent, FNextTwist, FTwist;
};

class TGregoryNPatch : public TFootprintNPatch {
public:
    TGregoryNPatch() = default;

    std::unique_ptr<TNPatchEdge> NewEdge() override;
    // The footprint, then the cross-derivative curves.
    void Build() override;
    // The weighted mean of the corner interpolants at Q; only interpolants with a weight are
    // evaluated. Where every weight vanishes the corner point of the boundary curves. Allocates
    // nothing. Throws EGeometryError when the patch has no usable footprint.
    TMVector EvaluateDomainPoint(const TMVector& Q) override;
};

}  // namespace sarnova
