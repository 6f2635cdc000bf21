#include "curvenet/XTCoonsGregoryPatch.h"

#include <cmath>

#include "foundation/VkMathsSolvers.h"

namespace sarnova {

namespace {

TMVector AddScaled(const TMVector& A, double F, const TMVector& B) {
    return {A.X + F * B.X, A.Y + F * B.Y, A.Z + F * B.Z};
}

// A twist (p X + q Y) / (p + q) and its partial derivatives; all zero at its own corner.
struct TTwist {
    TMVector T, Tu, Tv, Tuu, Tvv, Tuv;
};

// P is linear in v (slope Pv), Q linear in u (slope Qu); X and its first two derivatives are taken in
// u, Y and its derivatives in v.
TTwist GregoryTwist(double P, double Pv, const TMVector (&X)[3], double Q, double Qu, const TMVector (&Y)[3]) {
    TTwist R;
    const double D = P + Q;
    if (!(std::fabs(D) > 1e-30)) return R;
    const TMVector N = AddScaled(VectorScale(X[0], P), Q, Y[0]);
    const TMVector Nu = AddScaled(VectorScale(X[1], P), Qu, Y[0]);
    const TMVector Nv = AddScaled(VectorScale(X[0], Pv), Q, Y[1]);
    const TMVector Nuu = VectorScale(X[2], P);
    const TMVector Nvv = VectorScale(Y[2], Q);
    const TMVector Nuv = AddScaled(VectorScale(X[1], Pv), Qu, Y[1]);
    R.T = VectorScale(N, 1 / D);
    R.Tu = VectorScale(AddScaled(Nu, -Qu, R.T), 1 / D);
    R.Tv = VectorScale(AddScaled(Nv, -Pv, R.T), 1 / D);
    R.Tuu = VectorScale(AddScaled(Nuu, -2 * Qu, R.Tu), 1 / D);
    R.Tvv = VectorScale(AddScaled(Nvv, -2 * Pv, R.Tv), 1 / D);
    R.Tuv = VectorScale(AddScaled(AddScaled(Nuv, -Pv, R.Tu), -Qu, R.Tv), 1 / D);
    return R;
}

// The twists at (0, 0), (1, 0), (0, 1), (1, 1) from the cross derivatives' derivatives: sides 0 and 2
// sampled at U, sides 1 and 3 at V.
std::array<TTwist, 4> CornerTwists(const std::array<TXTPatchEdgeDerivatives, 4>& Sides, double U, double V) {
    // A0 = D0'(u), A2 = -D2'(u), B1 = D1'(v), B3 = -D3'(v), each with two further derivatives.
    TMVector A0[3], A2[3], B1[3], B3[3];
    for (std::size_t K = 0; K < 3; ++K) {
        A0[K] = Sides[0][5 + K];
        A2[K] = VectorNegate(Sides[2][5 + K]);
        B1[K] = Sides[1][5 + K];
        B3[K] = VectorNegate(Sides[3][5 + K]);
    }
    return {GregoryTwist(V, 1, A0, U, 1, B1), GregoryTwist(V, 1, A0, 1 - U, -1, B3),
            GregoryTwist(1 - V, -1, A2, U, 1, B1), GregoryTwist(1 - V, -1, A2, 1 - U, -1, B3)};
}

}  // namespace

TXTCoonsGregoryPatch::TXTCoonsGregoryPatch(TXTPatchEdges& AEdges) : FEdges(&AEdges) {
    SetNumULine(10);
    SetNumVLine(10);
    SetLinePointCount(25);
    PrepareCornerMatrix();
}

TMBox TXTCoonsGregoryPatch::GetExtents() const { return FEdges->GetExtents(); }

void TXTCoonsGregoryPatch::PrepareCornerMatrix() {
    TCurveDerivatives C[4][2];
    for (int I = 0; I < 4; ++I) {
        TXTBSpline& S = FEdges->Edge(I).Curve();
        S.Spline().UpdateKnots();
        S.Derivatives(0, C[I][0]);
        S.Derivatives(1, C[I][1]);
    }
    FCornerMatrix[0] = {C[0][0][0], C[2][0][0], C[1][0][1], C[1][1][1]};
    FCornerMatrix[1] = {C[0][1][0], C[2][1][0], C[3][0][1], C[3][1][1]};
    FCornerMatrix[2] = {C[0][0][1], C[2][0][1], ZeroVector, ZeroVector};
    FCornerMatrix[3] = {C[0][1][1], C[2][1][1], ZeroVector, ZeroVector};
}

TMVector TXTCoonsGregoryPatch::Evaluate(double U, double V) const {
    if (U != FCachedU) {
        FCachedU = U;
        for (int I : {0, 2}) FValueSides[static_cast<std::size_t>(I)] = FEdges->Edge(I).DerivativesAt(U);
    }
    if (V != FCachedV) {
        FCachedV = V;
        for (int I : {1, 3}) FValueSides[static_cast<std::size_t>(I)] = FEdges->Edge(I).DerivativesAt(V);
    }
    const auto& S = FValueSides;
    const TMVector L1 = HermiteInterpolate(S[0][0], S[0][4], S[2][0], VectorNegate(S[2][4]), V);
    const TMVector L2 = HermiteInterpolate(S[1][0], S[1][4], S[3][0], VectorNegate(S[3][4]), U);
    const std::array<TTwist, 4> Tw = CornerTwists(S, U, V);
    FCornerMatrix[2][2] = Tw[0].T;
    FCornerMatrix[3][2] = Tw[1].T;
    FCornerMatrix[2][3] = Tw[2].T;
    FCornerMatrix[3][3] = Tw[3].T;
    const std::array<double, 4> HU = HermiteBasis(U), HV = HermiteBasis(V);
    TMVector T;
    for (std::size_t R = 0; R < 4; ++R)
        for (std::size_t C = 0; C < 4; ++C) T = AddScaled(T, HU[R] * HV[C], FCornerMatrix[R][C]);
    return VectorFromTo(T, VectorAdd(L1, L2));
}

TSurfaceDerivatives TXTCoonsGregoryPatch::EvaluateDerivatives(double U, double V) {
    FDerivativeCache.Update(*FEdges, U, V);
    const auto& Sides = FDerivativeCache.Sides;
    const auto& BU = FDerivativeCache.BasisU;
    const auto& BV = FDerivativeCache.BasisV;
    const TSurfaceDerivatives L1 = HermiteLoft(Sides[0], Sides[2], BV);
    const TSurfaceDerivatives L2 = SwapParameters(HermiteLoft(Sides[1], Sides[3], BU));
    const std::array<TTwist, 4> Tw = CornerTwists(Sides, U, V);
    // The twist entry of each corner: (row, column) and its twist.
    const std::pair<std::size_t, std::size_t> Entry[4] = {{2, 2}, {3, 2}, {2, 3}, {3, 3}};
    for (std::size_t I = 0; I < 4; ++I) FCornerMatrix[Entry[I].first][Entry[I].second] = Tw[I].T;

    // T and its derivatives: the basis differentiated over the whole matrix, then the terms of the
    // twists' own derivatives.
    TSurfaceDerivatives T;
    for (std::size_t R = 0; R < 4; ++R)
        for (std::size_t C = 0; C < 4; ++C) {
            const TMVector& M = FCornerMatrix[R][C];
            T.S = AddScaled(T.S, BU[0][R] * BV[0][C], M);
            T.Su = AddScaled(T.Su, BU[1][R] * BV[0][C], M);
            T.Sv = AddScaled(T.Sv, BU[0][R] * BV[1][C], M);
            T.Suu = AddScaled(T.Suu, BU[2][R] * BV[0][C], M);
            T.Svv = AddScaled(T.Svv, BU[0][R] * BV[2][C], M);
            T.Suv = AddScaled(T.Suv, BU[1][R] * BV[1][C], M);
        }
    for (std::size_t I = 0; I < 4; ++I) {
        const auto [R, C] = Entry[I];
        const TTwist& W = Tw[I];
        T.Su = AddScaled(T.Su, BU[0][R] * BV[0][C], W.Tu);
        T.Sv = AddScaled(T.Sv, BU[0][R] * BV[0][C], W.Tv);
        T.Suu = AddScaled(AddScaled(T.Suu, 2 * BU[1][R] * BV[0][C], W.Tu), BU[0][R] * BV[0][C], W.Tuu);
        T.Svv = AddScaled(AddScaled(T.Svv, 2 * BU[0][R] * BV[1][C], W.Tv), BU[0][R] * BV[0][C], W.Tvv);
        T.Suv = AddScaled(AddScaled(AddScaled(T.Suv, BU[1][R] * BV[0][C], W.Tv), BU[0][R] * BV[1][C], W.Tu),
                          BU[0][R] * BV[0][C], W.Tuv);
    }
    const auto Combine = [](const TMVector& A, const TMVector& B, const TMVector& C) {
        return VectorFromTo(C, VectorAdd(A, B));
    };
    return {Combine(L1.S, L2.S, T.S),       Combine(L1.Su, L2.Su, T.Su),   Combine(L1.Sv, L2.Sv, T.Sv),
            Combine(L1.Suu, L2.Suu, T.Suu), Combine(L1.Svv, L2.Svv, T.Svv), Combine(L1.Suv, L2.Suv, T.Suv)};
}

}  // namespace sarnova
