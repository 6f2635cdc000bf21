// The Coons-Brown patch of a face: evaluated directly from the four sides, the blend of two cubic
// Hermite lofts (across v between sides 0 and 2, across u between sides 1 and 3) with weights that
// vanish to second order at the sides, so the patch takes every side's position and cross derivative.
// Also the lofts themselves, which the Coons-Gregory patch shares.
#pragma once
#include <array>

#include "curvenet/XTPatchEdge.h"
#include "surfaces/Surface.h"

namespace sarnova {

// The cubic Hermite basis at one parameter, then its first and second derivatives.
using THermiteRows = std::array<std::array<double, 4>, 3>;

// The loft sum_c H_c(a) X_c(t) with X = (position of side A, position of side B, cross derivative of
// A, negated cross derivative of B), the sides sampled along at t and the basis rows taken across at
// a. The result's Su, Suu are along the sides, Sv, Svv across them and Suv mixed.
TSurfaceDerivatives HermiteLoft(const TXTPatchEdgeDerivatives& A, const TXTPatchEdgeDerivatives& B,
                                const THermiteRows& Across);
// The loft's derivatives in the patch's (u, v) for the loft of sides 1 and 3, which run in v.
TSurfaceDerivatives SwapParameters(const TSurfaceDerivatives& D);

// The full samples of the four sides and the Hermite basis at the last (u, v) asked: sides 0 and 2
// and the basis in u are taken again only when u changes, sides 1 and 3 and the basis in v only when
// v changes. Both start at -1, outside the parameter range, so the first request always samples.
struct TXTSideSamples {
    double U = -1;
    double V = -1;
    std::array<TXTPatchEdgeDerivatives, 4> Sides{};
    THermiteRows BasisU{};
    THermiteRows BasisV{};

    void Update(TXTPatchEdges& Edges, double AU, double AV);
};

class TXTCoonsBrownPatch : public TSurface {
public:
    // The edges belong to the face and must outlive the patch. 10 x 10 lines of 25 points.
    explicit TXTCoonsBrownPatch(TXTPatchEdges& AEdges);

    TXTPatchEdges& Edges() const { return *FEdges; }

    // wU L1 + wV L2; at a corner of the square L1.
    TMVector Evaluate(double U, double V) const override;
    // S, Su, Sv, Suu, Svv, Suv of the blend; at a corner those of L2.
    TSurfaceDerivatives EvaluateDerivatives(double U, double V) override;
    TMBox GetExtents() const override;

private:
    TXTPatchEdges* FEdges;
    // Sides 0 and 2 sampled at CachedU, sides 1 and 3 at CachedV: the sides' positions and cross
    // derivatives for Evaluate.
    mutable double FCachedU = -1;
    mutable double FCachedV = -1;
    mutable std::array<TMVector, 4> FPoint{};
    mutable std::array<TMVector, 4> FCross{};
    // The samples for EvaluateDerivatives, kept apart so that both kinds of evaluation can take
    // turns without resampling.
    TXTSideSamples FDerivativeCache;
};

// Whether (U, V) is a corner of the unit square, to within 1e-30.
bool AtPatchCorner(double U, double V);

}  // namespace sarnova
