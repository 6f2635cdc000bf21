#include "curvenet/XTCoonsBrownPatch.h"

#include <cmath>

#include "foundation/VkMathsSolvers.h"

namespace sarnova {

namespace {

// A + F B.
TMVector AddScaled(const TMVector& A, double F, const TMVector& B) {
    return {A.X + F * B.X, A.Y + F * B.Y, A.Z + F * B.Z};
}

// The weight g = t^2 (1 - t)^2 with its first and second derivative.
struct TWeight {
    double W, D1, D2;
};

TWeight EdgeWeight(double T) {
    const double S = 1 - T;
    return {T * T * S * S, 2 * T * S * (1 - 2 * T), 2 * (1 - 6 * T + 6 * T * T)};
}

}  // namespace

bool AtPatchCorner(double U, double V) {
    constexpr double Tolerance = 1e-30;
    return std::fabs(U + V) < Tolerance || std::fabs(1 - U + V) < Tolerance || std::fabs(1 + U - V) < Tolerance ||
           std::fabs(2 - U - V) < Tolerance;
}

TSurfaceDerivatives HermiteLoft(const TXTPatchEdgeDerivatives& A, const TXTPatchEdgeDerivatives& B,
                                const THermiteRows& Across) {
    TSurfaceDerivatives R;
    for (int C = 0; C < 4; ++C) {
        // X_c and its first and second derivative along the sides.
        TMVector X[3];
        for (std::size_t K = 0; K < 3; ++K) {
            switch (C) {
                case 0: X[K] = A[K]; break;
                case 1: X[K] = B[K]; break;
                case 2: X[K] = A[4 + K]; break;
                default: X[K] = VectorNegate(B[4 + K]); break;
            }
        }
        const std::size_t c = static_cast<std::size_t>(C);
        R.S = AddScaled(R.S, Across[0][c], X[0]);
        R.Su = AddScaled(R.Su, Across[0][c], X[1]);
        R.Suu = AddScaled(R.Suu, Across[0][c], X[2]);
        R.Sv = AddScaled(R.Sv, Across[1][c], X[0]);
        R.Svv = AddScaled(R.Svv, Across[2][c], X[0]);
        R.Suv = AddScaled(R.Suv, Across[1][c], X[1]);
    }
    return R;
}

void TXTSideSamples::Update(TXTPatchEdges& Edges, double AU, double AV) {
    if (AU != U) {
        for (int I : {0, 2}) Sides[static_cast<std::size_t>(I)] = Edges.Edge(I).DerivativesAt(AU);
        BasisU = HermiteBasisDerivatives(AU);
    }
    if (AV != V) {
        for (int I : {1, 3}) Sides[static_cast<std::size_t>(I)] = Edges.Edge(I).DerivativesAt(AV);
        BasisV = HermiteBasisDerivatives(AV);
    }
    U = AU;
    V = AV;
}

TSurfaceDerivatives SwapParameters(const TSurfaceDerivatives& D) { return {D.S, D.Sv, D.Su, D.Svv, D.Suu, D.Suv}; }

TXTCoonsBrownPatch::TXTCoonsBrownPatch(TXTPatchEdges& AEdges) : FEdges(&AEdges) {
    SetNumULine(10);
    SetNumVLine(10);
    SetLinePointCount(25);
}

TMBox TXTCoonsBrownPatch::GetExtents() const { return FEdges->GetExtents(); }

TMVector TXTCoonsBrownPatch::Evaluate(double U, double V) const {
    if (U != FCachedU) {
        FCachedU = U;
        for (int I : {0, 2}) FEdges->Edge(I).PointAt(U, FPoint[static_cast<std::size_t>(I)], FCross[static_cast<std::size_t>(I)]);
    }
    if (V != FCachedV) {
        FCachedV = V;
        for (int I : {1, 3}) FEdges->Edge(I).PointAt(V, FPoint[static_cast<std::size_t>(I)], FCross[static_cast<std::size_t>(I)]);
    }
    const TMVector L1 = HermiteInterpolate(FPoint[0], FCross[0], FPoint[2], VectorNegate(FCross[2]), V);
    if (AtPatchCorner(U, V)) return L1;
    const TMVector L2 = HermiteInterpolate(FPoint[1], FCross[1], FPoint[3], VectorNegate(FCross[3]), U);
    const double G = EdgeWeight(U).W, H = EdgeWeight(V).W;
    const double WU = G / (G + H);
    return AddScaled(VectorScale(L1, WU), 1 - WU, L2);
}

TSurfaceDerivatives TXTCoonsBrownPatch::EvaluateDerivatives(double U, double V) {
    FDerivativeCache.Update(*FEdges, U, V);
    const auto& Sides = FDerivativeCache.Sides;
    const auto& BasisU = FDerivativeCache.BasisU;
    const auto& BasisV = FDerivativeCache.BasisV;
    const TSurfaceDerivatives L2 = SwapParameters(HermiteLoft(Sides[1], Sides[3], BasisU));
    if (AtPatchCorner(U, V)) return L2;
    const TSurfaceDerivatives L1 = HermiteLoft(Sides[0], Sides[2], BasisV);

    const TWeight G = EdgeWeight(U), H = EdgeWeight(V);
    const double L = G.W + H.W;
    const double W = G.W / L;
    const double Wu = H.W * G.D1 / (L * L);
    const double Wv = -G.W * H.D1 / (L * L);
    const double Wuu = (H.W * L * G.D2 - 2 * H.W * G.D1 * G.D1) / (L * L * L);
    const double Wvv = (2 * G.W * H.D1 * H.D1 - G.W * L * H.D2) / (L * L * L);
    const double Wuv = G.D1 * H.D1 * (L - 2 * H.W) / (L * L * L);
    // S = W L1 + (1 - W) L2 = L2 + W (L1 - L2): the derivatives of wV are those of wU negated.
    const auto Blend = [&](const TMVector& A, const TMVector& B) { return AddScaled(B, W, VectorFromTo(B, A)); };
    const TMVector Diff = VectorFromTo(L2.S, L1.S);
    const TMVector DiffU = VectorFromTo(L2.Su, L1.Su), DiffV = VectorFromTo(L2.Sv, L1.Sv);
    TSurfaceDerivatives R;
    R.S = Blend(L1.S, L2.S);
    R.Su = AddScaled(Blend(L1.Su, L2.Su), Wu, Diff);
    R.Sv = AddScaled(Blend(L1.Sv, L2.Sv), Wv, Diff);
    R.Suu = AddScaled(AddScaled(Blend(L1.Suu, L2.Suu), 2 * Wu, DiffU), Wuu, Diff);
    R.Svv = AddScaled(AddScaled(Blend(L1.Svv, L2.Svv), 2 * Wv, DiffV), Wvv, Diff);
    R.Suv = AddScaled(AddScaled(AddScaled(Blend(L1.Suv, L2.Suv), Wu, DiffV), Wv, DiffU), Wuv, Diff);
    return R;
}

}  // namespace sarnova
