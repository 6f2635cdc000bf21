// The Coons-Gregory patch of a face: the bicubically blended Coons patch evaluated directly from the
// four sides, the two Hermite lofts less the bicubic Hermite interpolant of the corners, whose corner
// twists are Gregory's rational blends of the two sides' estimates. Every side keeps its own cross
// derivative even where two sides disagree about the twist at their corner.
#pragma once
#include <array>

#include "curvenet/XTCoonsBrownPatch.h"

namespace sarnova {

class TXTCoonsGregoryPatch : public TSurface {
public:
    // The edges belong to the face and must outlive the patch. 10 x 10 lines of 25 points; the
    // corner matrix is taken from the side curves as they are now.
    explicit TXTCoonsGregoryPatch(TXTPatchEdges& AEdges);

    TXTPatchEdges& Edges() const { return *FEdges; }

    // L1 + L2 - T.
    TMVector Evaluate(double U, double V) const override;
    TSurfaceDerivatives EvaluateDerivatives(double U, double V) override;
    TMBox GetExtents() const override;

    // Rows u = 0, u = 1, d/du at u = 0, d/du at u = 1; columns v = 0, v = 1, d/dv at v = 0, d/dv at
    // v = 1. The four twists (rows and columns 2 and 3) are set at each evaluation.
    using TCornerMatrix = std::array<std::array<TMVector, 4>, 4>;
    const TCornerMatrix& CornerMatrix() const { return FCornerMatrix; }
    void PrepareCornerMatrix();

private:
    TXTPatchEdges* FEdges;
    mutable TCornerMatrix FCornerMatrix{};
    mutable double FCachedU = -1;
    mutable double FCachedV = -1;
    mutable std::array<TXTPatchEdgeDerivatives, 4> FValueSides{};
    TXTSideSamples FDerivativeCache;
};

}  // namespace sarnova
