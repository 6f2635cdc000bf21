#include "surfaces/Gregory.h"

#include <cmath>
#include <vector>

#include "foundation/Graphics.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/TextFile.h"
#include "surfaces/BSurface.h"

namespace sarnova {

namespace {

// Next to a corner one of the blend denominators u + v, 1 - u + v, 1 + u - v, 2 - u - v vanishes.
constexpr double CornerTolerance = 1e-5;

bool NearCorner(double U, double V) {
    return std::fabs(U + V) < CornerTolerance || std::fabs(1 - U + V) < CornerTolerance ||
           std::fabs(1 + U - V) < CornerTolerance || std::fabs(2 - U - V) < CornerTolerance;
}

// A linear function c0 + cu u + cv v.
struct TLinear {
    double C0, CU, CV;
    double At(double U, double V) const { return C0 + CU * U + CV * V; }
};

// An inner point Q = (a Inner + b Partner) / (a + b) with a and b linear in the parameters.
struct TBlend {
    int Inner;
    int Partner;
    TLinear A;
    TLinear B;
};

constexpr TLinear LU{0, 1, 0}, LV{0, 0, 1}, L1U{1, -1, 0}, L1V{1, 0, -1};
constexpr std::array<TBlend, 4> Blends{{
    {5, 16, LV, LU},     // (v P5 + u P16) / (u + v)
    {6, 17, LV, L1U},    // (v P6 + (1 - u) P17) / ((1 - u) + v)
    {9, 18, L1V, LU},    // ((1 - v) P9 + u P18) / (u + (1 - v))
    {10, 19, L1V, L1U},  // ((1 - v) P10 + (1 - u) P19) / ((1 - u) + (1 - v))
}};

// The partner's share f = b / (a + b) of a blend and its partial derivatives.
struct TShare {
    double F, FU, FV, FUU, FVV, FUV;
};

TShare ShareOf(const TBlend& Bl, double U, double V) {
    const double b = Bl.B.At(U, V);
    const double s = Bl.A.At(U, V) + b;
    const double bu = Bl.B.CU, bv = Bl.B.CV;
    const double su = Bl.A.CU + bu, sv = Bl.A.CV + bv;
    const double gu = bu * s - b * su;  // f_u = gu / s^2
    const double gv = bv * s - b * sv;
    const double s2 = s * s, s3 = s2 * s;
    TShare R;
    R.F = b / s;
    R.FU = gu / s2;
    R.FV = gv / s2;
    // a and b are linear, so d(gu)/du = 0, d(gu)/dv = bu sv - bv su, d(gv)/dv = 0.
    R.FUU = -2 * su * gu / s3;
    R.FVV = -2 * sv * gv / s3;
    R.FUV = (bu * sv - bv * su) / s2 - 2 * sv * gu / s3;
    return R;
}

struct TBernstein {
    std::array<double, 4> B, D1, D2;
};

TBernstein BernsteinCubicDerivatives(double T) {
    const double s = 1 - T;
    return {{s * s * s, 3 * T * s * s, 3 * T * T * s, T * T * T},
            {-3 * s * s, 3 * (3 * T * T - 4 * T + 1), 3 * T * (2 - 3 * T), 3 * T * T},
            {6 * s, 6 * (3 * T - 2), 6 * (1 - 3 * T), 6 * T}};
}

std::array<double, 4> BernsteinCubic(double T) {
    const double s = 1 - T;
    return {s * s * s, 3 * T * s * s, 3 * T * T * s, T * T * T};
}

TMVector Axpy(const TMVector& Y, double A, const TMVector& X) {
    return {Y.X + A * X.X, Y.Y + A * X.Y, Y.Z + A * X.Z};
}

// ---- The rational degree-7 form ----

// A polynomial in the tensor-product Bernstein basis of degree (M, N) over the unit square.
struct TBezier2 {
    int M = 0;
    int N = 0;
    double C[8][8] = {};
};

// A bilinear function from its values at the corners (0, 0), (1, 0), (0, 1) and (1, 1): in degree
// (1, 1) these are its coefficients.
TBezier2 Bilinear(double F00, double F10, double F01, double F11) {
    TBezier2 R;
    R.M = R.N = 1;
    R.C[0][0] = F00;
    R.C[1][0] = F10;
    R.C[0][1] = F01;
    R.C[1][1] = F11;
    return R;
}

TBezier2 Product(const TBezier2& A, const TBezier2& B) {
    TBezier2 R;
    R.M = A.M + B.M;
    R.N = A.N + B.N;
    const auto Bin = [](int n, int k) { return Binomial(static_cast<unsigned>(n), static_cast<unsigned>(k)); };
    for (int i = 0; i <= A.M; ++i)
        for (int j = 0; j <= A.N; ++j)
            for (int k = 0; k <= B.M; ++k)
                for (int l = 0; l <= B.N; ++l)
                    R.C[i + k][j + l] += A.C[i][j] * B.C[k][l] * Bin(A.M, i) * Bin(B.M, k) / Bin(R.M, i + k) *
                                         Bin(A.N, j) * Bin(B.N, l) / Bin(R.N, j + l);
    return R;
}

// The coefficients of D = (u + v)(1 - u + v)(1 + u - v)(2 - u - v) and of D times the patch, per
// control point, in degree (7, 7): each blended term loses its own denominator.
struct TRationalTable {
    double W[8][8];
    double C[TGregorySurface::ControlPointCount][8][8];
};

TRationalTable MakeRationalTable() {
    const TBezier2 U = Bilinear(0, 1, 0, 1), V = Bilinear(0, 0, 1, 1);
    const TBezier2 OneMinusU = Bilinear(1, 0, 1, 0), OneMinusV = Bilinear(1, 1, 0, 0);
    const TBezier2 D5 = Bilinear(0, 1, 1, 2);   // u + v
    const TBezier2 D6 = Bilinear(1, 0, 2, 1);   // 1 - u + v
    const TBezier2 D9 = Bilinear(1, 2, 0, 1);   // 1 + u - v
    const TBezier2 D10 = Bilinear(2, 1, 1, 0);  // 2 - u - v
    const TBezier2 D = Product(Product(D5, D6), Product(D9, D10));
    const auto Term = [](int i, int j) {
        TBezier2 R;
        R.M = R.N = 3;
        R.C[i][j] = 1;
        return R;
    };
    TBezier2 One = Term(0, 0);
    for (auto& Row : One.C)
        for (double& c : Row) c = 1;

    TRationalTable T{};
    const auto Store = [&T](int Index, const TBezier2& P) {
        for (int k = 0; k < 8; ++k)
            for (int l = 0; l < 8; ++l) T.C[Index][k][l] = P.C[k][l];
    };
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
            const int m = i + 4 * j;
            if (m == 5 || m == 6 || m == 9 || m == 10) continue;
            Store(m, Product(Term(i, j), D));
        }
    // The other three denominators of each blend, its inner weight a and its partner weight b.
    Store(5, Product(Term(1, 1), Product(V, Product(D6, Product(D9, D10)))));
    Store(16, Product(Term(1, 1), Product(U, Product(D6, Product(D9, D10)))));
    Store(6, Product(Term(2, 1), Product(V, Product(D5, Product(D9, D10)))));
    Store(17, Product(Term(2, 1), Product(OneMinusU, Product(D5, Product(D9, D10)))));
    Store(9, Product(Term(1, 2), Product(OneMinusV, Product(D5, Product(D6, D10)))));
    Store(18, Product(Term(1, 2), Product(U, Product(D5, Product(D6, D10)))));
    Store(10, Product(Term(2, 2), Product(OneMinusV, Product(D5, Product(D6, D9)))));
    Store(19, Product(Term(2, 2), Product(OneMinusU, Product(D5, Product(D6, D9)))));
    const TBezier2 W = Product(One, D);
    for (int k = 0; k < 8; ++k)
        for (int l = 0; l < 8; ++l) T.W[k][l] = W.C[k][l];
    return T;
}

const TRationalTable& RationalTable() {
    static const TRationalTable Table = MakeRationalTable();
    return Table;
}

}  // namespace

TRPoint& TGregorySurface::ControlPoint(int Index) {
    if (Index < 0 || Index >= ControlPointCount) throw EError(Format("List index out of bounds (%d)", {Index}));
    return FPoints[static_cast<std::size_t>(Index)];
}

const TRPoint& TGregorySurface::ControlPoint(int Index) const {
    return const_cast<TGregorySurface*>(this)->ControlPoint(Index);
}

void TGregorySurface::SetControlPoint(int Index, const TRPoint& P) { ControlPoint(Index).Assign(P); }

void TGregorySurface::Assign(const TGregorySurface& Source) {
    for (int i = 0; i < ControlPointCount; ++i) FPoints[static_cast<std::size_t>(i)].Assign(Source.ControlPoint(i));
}

std::unique_ptr<TGregorySurface> TGregorySurface::CreateTransformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TGregorySurface>();
    for (int i = 0; i < ControlPointCount; ++i) Result->ControlPoint(i).Assign(*ControlPoint(i).Transformed(M));
    return Result;
}

TMVector TGregorySurface::Evaluate(double U, double V) const {
    std::array<TMVector, 16> Net;
    for (int m = 0; m < 16; ++m) Net[static_cast<std::size_t>(m)] = FPoints[static_cast<std::size_t>(m)].Vector();
    if (!NearCorner(U, V))
        for (const TBlend& Bl : Blends) {
            const double a = Bl.A.At(U, V), b = Bl.B.At(U, V);
            const TMVector P = FPoints[static_cast<std::size_t>(Bl.Inner)].Vector();
            const TMVector Q = FPoints[static_cast<std::size_t>(Bl.Partner)].Vector();
            Net[static_cast<std::size_t>(Bl.Inner)] = VectorScale(VectorAdd(VectorScale(P, a), VectorScale(Q, b)), 1 / (a + b));
        }
    const auto Bu = BernsteinCubic(U);
    const auto Bv = BernsteinCubic(V);
    TMVector S{0, 0, 0};
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) S = Axpy(S, Bu[static_cast<std::size_t>(i)] * Bv[static_cast<std::size_t>(j)],
                                             Net[static_cast<std::size_t>(i + 4 * j)]);
    return S;
}

TSurfaceDerivatives TGregorySurface::EvaluateDerivatives(double U, double V) {
    // Each net point with its partial derivatives; only the blended inner points have any.
    std::array<TMVector, 16> Q, QU, QV, QUU, QVV, QUV;
    for (int m = 0; m < 16; ++m) Q[static_cast<std::size_t>(m)] = FPoints[static_cast<std::size_t>(m)].Vector();
    if (!NearCorner(U, V))
        for (const TBlend& Bl : Blends) {
            const TMVector A = FPoints[static_cast<std::size_t>(Bl.Inner)].Vector();
            const TMVector Diff = VectorFromTo(A, FPoints[static_cast<std::size_t>(Bl.Partner)].Vector());
            const TShare f = ShareOf(Bl, U, V);
            const auto m = static_cast<std::size_t>(Bl.Inner);
            Q[m] = Axpy(A, f.F, Diff);
            QU[m] = VectorScale(Diff, f.FU);
            QV[m] = VectorScale(Diff, f.FV);
            QUU[m] = VectorScale(Diff, f.FUU);
            QVV[m] = VectorScale(Diff, f.FVV);
            QUV[m] = VectorScale(Diff, f.FUV);
        }
    const TBernstein Bu = BernsteinCubicDerivatives(U);
    const TBernstein Bv = BernsteinCubicDerivatives(V);
    TSurfaceDerivatives R;
    for (std::size_t j = 0; j < 4; ++j)
        for (std::size_t i = 0; i < 4; ++i) {
            const std::size_t m = i + 4 * j;
            const double b = Bu.B[i] * Bv.B[j];
            R.S = Axpy(R.S, b, Q[m]);
            R.Su = Axpy(Axpy(R.Su, Bu.D1[i] * Bv.B[j], Q[m]), b, QU[m]);
            R.Sv = Axpy(Axpy(R.Sv, Bu.B[i] * Bv.D1[j], Q[m]), b, QV[m]);
            R.Suu = Axpy(Axpy(Axpy(R.Suu, Bu.D2[i] * Bv.B[j], Q[m]), 2 * Bu.D1[i] * Bv.B[j], QU[m]), b, QUU[m]);
            R.Svv = Axpy(Axpy(Axpy(R.Svv, Bu.B[i] * Bv.D2[j], Q[m]), 2 * Bu.B[i] * Bv.D1[j], QV[m]), b, QVV[m]);
            R.Suv = Axpy(Axpy(Axpy(Axpy(R.Suv, Bu.D1[i] * Bv.D1[j], Q[m]), Bu.D1[i] * Bv.B[j], QV[m]),
                              Bu.B[i] * Bv.D1[j], QU[m]),
                         b, QUV[m]);
        }
    return R;
}

TMBox TGregorySurface::GetExtents() const {
    TMBox Box = EmptyBox;
    for (const TRPoint& P : FPoints) P.AddToBox(Box);
    return Box;
}

void TGregorySurface::DrawControlNet(IGraphics& G) {
    static constexpr int Outline[] = {0, 1, 2, 3, 7, 11, 15, 14, 13, 12, 8, 4, 0};
    G.LineStartPoint(FPoints[0]);
    for (std::size_t k = 1; k < std::size(Outline); ++k) G.LineNextPoint(FPoints[static_cast<std::size_t>(Outline[k])]);
    G.LineFinish();
    static constexpr int Spokes[8][2] = {{1, 16}, {2, 17}, {4, 5}, {8, 9}, {7, 6}, {11, 10}, {13, 18}, {14, 19}};
    for (const auto& S : Spokes)
        G.LinePoints(FPoints[static_cast<std::size_t>(S[0])], FPoints[static_cast<std::size_t>(S[1])]);
}

std::unique_ptr<TBSpline> TGregorySurface::BoundaryCurve(int Side) const {
    static constexpr int Sides[4][4] = {{0, 4, 8, 12}, {0, 1, 2, 3}, {12, 13, 14, 15}, {3, 7, 11, 15}};
    const int* Indices = Side == 0 ? Sides[0] : Side == 1 ? Sides[1] : Side == 3 ? Sides[2] : Sides[3];
    auto Curve = std::make_unique<TBSpline>(4);
    for (int k = 0; k < 4; ++k) Curve->AddPointCopy(&FPoints[static_cast<std::size_t>(Indices[k])]);
    Curve->UpdateKnots();
    return Curve;
}

void TGregorySurface::ConvertToBSpline(TBSplineSurface& Target) const {
    Target.Clear();
    Target.SetSize(8, 8);
    Target.SetForcedBezier(true);
    Target.UpdateKnots();

    const TRationalTable& T = RationalTable();
    for (int k = 0; k < 8; ++k)
        for (int l = 0; l < 8; ++l) {
            TRPoint& P = Target.Point(l, k);
            const double w = T.W[k][l];
            TMVector N{0, 0, 0};
            for (int m = 0; m < ControlPointCount; ++m) N = Axpy(N, T.C[m][k][l], FPoints[static_cast<std::size_t>(m)].Vector());
            P.SetVector(w != 0 ? VectorScale(N, 1 / w) : ZeroVector);
            P.W = w;
        }
    Target.Point(0, 0).SetVector(FPoints[0].Vector());
    Target.Point(0, 7).SetVector(FPoints[3].Vector());
    Target.Point(7, 0).SetVector(FPoints[12].Vector());
    Target.Point(7, 7).SetVector(FPoints[15].Vector());

    // Each point next to a corner along a side equals the corner; it is nudged along the side so
    // that the net keeps a direction there.
    constexpr double Nudge = 1e-10;
    static constexpr int Moves[8][6] = {
        {0, 1, 0, 0, 0, 2}, {1, 0, 0, 0, 2, 0}, {0, 6, 0, 7, 0, 5}, {1, 7, 0, 7, 2, 7},
        {6, 0, 7, 0, 5, 0}, {7, 1, 7, 0, 7, 2}, {6, 7, 7, 7, 5, 7}, {7, 6, 7, 7, 7, 5},
    };
    for (const auto& Mv : Moves) {
        const TMVector From = Target.Point(Mv[2], Mv[3]).Vector();
        const TMVector Towards = Target.Point(Mv[4], Mv[5]).Vector();
        Target.Point(Mv[0], Mv[1]).SetVector(Axpy(From, Nudge, VectorFromTo(From, Towards)));
    }
    for (const auto& C : {std::array{0, 0}, std::array{0, 7}, std::array{7, 0}, std::array{7, 7}})
        Target.Point(C[0], C[1]).W = Nudge;
}

void TGregorySurface::SaveToText(TTextWriter& F) const {
    for (const TRPoint& P : FPoints) F.WriteLine(FormatWithPoint("%13.6f %13.6f %13.6f", {P.X, P.Y, P.Z}));
}

void TGregorySurface::LoadFromText(TTextReader& F) {
    std::array<TMVector, ControlPointCount> Read;
    for (TMVector& V : Read) {
        V.X = F.ReadReal();
        V.Y = F.ReadReal();
        V.Z = F.ReadReal();
        F.SkipLine();
    }
    for (int i = 0; i < ControlPointCount; ++i) FPoints[static_cast<std::size_t>(i)].SetVector(Read[static_cast<std::size_t>(i)]);
}

std::unique_ptr<TGregorySurface> CloneGregorySurface(const TGregorySurface& Source) {
    auto Result = std::make_unique<TGregorySurface>();
    Result->Assign(Source);
    return Result;
}

std::unique_ptr<TGregorySurface> GregorySurfaceFromCorners(const TMVector& A, const TMVector& B, const TMVector& C,
                                                           const TMVector& D) {
    auto S = std::make_unique<TGregorySurface>();
    const auto At = [&S](int Index) { return S->ControlPoint(Index).Vector(); };
    const auto Between = [&S](int Index, const TMVector& From, const TMVector& To, double F) {
        S->ControlPoint(Index).SetVector(VectorLerp(From, To, F));
    };
    // Each side from its first corner: the corner, the points at a third and two thirds.
    const struct {
        TMVector From, To;
        int Corner, Third, TwoThirds;
    } Sides[4] = {{A, B, 0, 1, 2}, {B, C, 3, 7, 11}, {C, D, 15, 14, 13}, {D, A, 12, 8, 4}};
    for (const auto& Side : Sides) {
        S->ControlPoint(Side.Corner).SetVector(Side.From);
        Between(Side.Third, Side.From, Side.To, 1.0 / 3);
        Between(Side.TwoThirds, Side.From, Side.To, 2.0 / 3);
    }
    // Inner points a quarter and three quarters of the way between opposite side points.
    const int Inner[4][4] = {{4, 7, 5, 6}, {8, 11, 9, 10}, {1, 13, 16, 18}, {2, 14, 17, 19}};
    for (const auto& I : Inner) {
        Between(I[2], At(I[0]), At(I[1]), 0.25);
        Between(I[3], At(I[0]), At(I[1]), 0.75);
    }
    return S;
}

}  // namespace sarnova
