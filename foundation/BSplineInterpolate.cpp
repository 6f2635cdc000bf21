#include "foundation/BSplineInterpolate.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

using TVectors = std::vector<TMVector>;

// How far an interpolating curve may miss its points, relative to the size of their box.
constexpr double InterpolationTolerance = 1e-9;

TMVector Sub(const TMVector& A, const TMVector& B) { return {A.X - B.X, A.Y - B.Y, A.Z - B.Z}; }
TMVector Div(const TMVector& V, double D) { return {V.X / D, V.Y / D, V.Z / D}; }

TVectors PolylineVectors(const TPolyline& Polyline) {
    TVectors Q(static_cast<std::size_t>(Polyline.Count()));
    for (int i = 0; i < Polyline.Count(); ++i) Q[static_cast<std::size_t>(i)] = Polyline.Point(i)->Vector();
    return Q;
}

void RequirePoints(const TVectors& Q, std::size_t Least) {
    if (Q.size() < Least)
        throw EGeometryError(Format("InterpolateCubicBSpline - %d points given, at least %d needed",
                                    {static_cast<long long>(Q.size()), static_cast<long long>(Least)}));
}

// A new cubic with the given control points and knots (numbered from 1 in the vector's order).
std::unique_ptr<TBSpline> NonUniformCubic(const TVectors& P, const std::vector<double>& Knots) {
    CheckKnotLimit(static_cast<int>(P.size()), 4);
    auto Result = std::make_unique<TBSpline>(4);
    for (const TMVector& V : P) Result->AddVector(V);
    Result->KnotType = ktNonUniform;
    for (std::size_t i = 0; i < Knots.size(); ++i) Result->SetKnot(static_cast<int>(i) + 1, Knots[i]);
    return Result;
}

// The after-handle of Q0 of a cubic that leaves Q0 like the parabola through Q0, Q1, Q2 at the
// parameters t0, t1, t2 (Bessel's end condition).
TMVector BesselHandle(const TMVector& Q0, const TMVector& Q1, const TMVector& Q2, double t0, double t1,
                      double t2) {
    const double Alpha = (t2 - t1) / (t2 - t0);
    const double Beta = 1 - Alpha;
    // The middle control point of that parabola as a quadratic Bezier curve.
    const TMVector M = Div(Sub(Sub(Q1, VectorScale(Q0, Alpha * Alpha)), VectorScale(Q2, Beta * Beta)),
                           2 * Alpha * Beta);
    return VectorAdd(VectorScale(VectorAdd(VectorScale(Q0, Alpha), VectorScale(M, Beta)), 2.0 / 3),
                     Div(Q0, 3));
}

// A square system whose row i has its non-zero coefficients in columns i - Band .. i + Band, with
// three right-hand sides held as vectors. Solve factors it by LU with partial pivoting; the row
// exchanges let the upper triangle grow to 2 Band columns beside the diagonal, so each row stores
// columns i - Band .. i + 2 Band. The work is O(N Band^2).
class TBandedSystem {
public:
    TBandedSystem(int N, int Band)
        : FN(N), FBand(Band), FWidth(3 * Band + 1),
          FValues(static_cast<std::size_t>(N) * static_cast<std::size_t>(FWidth), 0.0),
          FRhs(static_cast<std::size_t>(N)) {}

    // Row and column from 0; the column within the row's stored window.
    double& At(int Row, int Col) {
        return FValues[static_cast<std::size_t>(Row) * static_cast<std::size_t>(FWidth) +
                       static_cast<std::size_t>(Col - Row + FBand)];
    }
    TMVector& Rhs(int Row) { return FRhs[static_cast<std::size_t>(Row)]; }

    // Replaces the right-hand sides by the solution; false when a column has no non-zero pivot.
    bool Solve() {
        for (int j = 0; j < FN; ++j) {
            const int Lowest = std::min(FN - 1, j + FBand);
            int p = j;
            for (int r = j + 1; r <= Lowest; ++r)
                if (std::fabs(At(r, j)) > std::fabs(At(p, j))) p = r;
            if (!(std::fabs(At(p, j)) > 0) || !std::isfinite(At(p, j))) return false;
            const int Right = std::min(FN - 1, j + 2 * FBand);
            if (p != j) {
                for (int c = j; c <= Right; ++c) std::swap(At(p, c), At(j, c));
                std::swap(Rhs(p), Rhs(j));
            }
            for (int r = j + 1; r <= Lowest; ++r) {
                const double F = At(r, j) / At(j, j);
                if (F == 0) continue;
                At(r, j) = 0;
                for (int c = j + 1; c <= Right; ++c) At(r, c) -= F * At(j, c);
                Rhs(r) = Sub(Rhs(r), VectorScale(Rhs(j), F));
            }
        }
        for (int j = FN - 1; j >= 0; --j) {
            TMVector Sum = Rhs(j);
            for (int c = j + 1; c <= std::min(FN - 1, j + 2 * FBand); ++c) Sum = Sub(Sum, VectorScale(Rhs(c), At(j, c)));
            Rhs(j) = Div(Sum, At(j, j));
        }
        return true;
    }

private:
    int FN;
    int FBand;
    int FWidth;
    std::vector<double> FValues;
    TVectors FRhs;
};

// Solves the rows Lower[i] X[i-1] + Diag[i] X[i] + Upper[i] X[i+1] = Rhs[i] (the first Lower and the
// last Upper are ignored) by forward elimination and back substitution, without pivoting.
TVectors SolveTridiagonal(const std::vector<double>& Lower, const std::vector<double>& Diag,
                          const std::vector<double>& Upper, const TVectors& Rhs) {
    const std::size_t n = Diag.size();
    TVectors X(n);
    std::vector<double> dd(n + 1, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double a = i == 0 ? 0.0 : Lower[i];
        const double den = Diag[i] - a * dd[i];
        X[i] = i == 0 ? Div(Rhs[i], den) : Div(Sub(Rhs[i], VectorScale(X[i - 1], a)), den);
        dd[i + 1] = Upper[i] / den;
    }
    for (std::size_t i = n; i-- > 1;) X[i - 1] = Sub(X[i - 1], VectorScale(X[i], dd[i]));
    return X;
}

// The interior tangent at Q[i]: the mean of the two chords meeting there.
TMVector InteriorTangent(const TVectors& Q, std::size_t i) {
    return VectorAdd(VectorScale(Sub(Q[i], Q[i - 1]), 0.5), VectorScale(Sub(Q[i + 1], Q[i]), 0.5));
}

// C1 cubic through the points: every point a triple knot, handles along the interior tangents.
std::unique_ptr<TBSpline> InterpolateFirstOrder(const TVectors& Q, const TEndCondition& Start,
                                                const TEndCondition& End, bool AccountForChordLength) {
    RequirePoints(Q, 3);
    const std::size_t N = Q.size();
    TVectors P(3 * N - 2);
    for (std::size_t i = 0; i < N; ++i) P[3 * i] = Q[i];
    for (std::size_t i = 1; i + 1 < N; ++i) {
        const TMVector a = Sub(Q[i], Q[i - 1]);
        const TMVector b = Sub(Q[i + 1], Q[i]);
        const TMVector T = InteriorTangent(Q, i);
        if (AccountForChordLength) {
            const TMVector D = VectorNormalise(T);
            P[3 * i - 1] = Sub(Q[i], Div(VectorScale(D, VectorLength(a)), 3));
            P[3 * i + 1] = VectorAdd(Q[i], Div(VectorScale(D, VectorLength(b)), 3));
        } else {
            P[3 * i - 1] = Sub(Q[i], Div(T, 3));
            P[3 * i + 1] = VectorAdd(Q[i], Div(T, 3));
        }
    }
    switch (Start.Kind) {
        case ecClamped:
            P[1] = VectorAdd(Q[0], Div(VectorScale(VectorNormalise(Start.Tangent), VectorDistance(Q[1], Q[0])), 3));
            break;
        case ecNatural:
            P[1] = VectorMidpoint(P[0], P[2]);
            break;
        default:
            P[1] = VectorAdd(Q[0], Div(Sub(VectorScale(Sub(Q[1], Q[0]), 2), InteriorTangent(Q, 1)), 3));
            break;
    }
    const std::size_t e = 3 * N - 4;
    switch (End.Kind) {
        case ecClamped:
            // The tangent points from the last point back into the curve.
            P[e] = VectorAdd(Q[N - 1],
                             Div(VectorScale(VectorNormalise(End.Tangent), VectorDistance(Q[N - 1], Q[N - 2])), 3));
            break;
        case ecNatural:
            P[e] = VectorMidpoint(P[3 * N - 3], P[3 * N - 5]);
            break;
        default:
            P[e] = Sub(Q[N - 1], Div(Sub(VectorScale(Sub(Q[N - 1], Q[N - 2]), 2), InteriorTangent(Q, N - 2)), 3));
            break;
    }
    std::vector<double> Knots{0, 0, 0, 0};
    for (std::size_t i = 1; i + 1 < N; ++i) Knots.insert(Knots.end(), 3, static_cast<double>(i));
    Knots.insert(Knots.end(), 4, static_cast<double>(N - 1));
    return NonUniformCubic(P, Knots);
}

// Global C2 cubic: one control point per data point plus two end handles, solved as a tridiagonal
// system of the collocation rows.
std::unique_ptr<TBSpline> InterpolateSecondOrder(const TPolyline& Polyline, const TVectors& Q,
                                                 const TEndCondition& Start, const TEndCondition& End,
                                                 bool AccountForChordLength) {
    RequirePoints(Q, 2);
    const int N = static_cast<int>(Q.size());
    if (N == 2) {
        auto Line = std::make_unique<TBSpline>(2);
        Line->AddPointCopy(Polyline.Point(0));
        Line->AddPointCopy(Polyline.Point(1));
        Line->UpdateKnots();
        return Line;
    }
    TVectors D = Q;
    auto Result = std::make_unique<TBSpline>(4);
    CheckKnotLimit(N + 2, 4);
    for (int i = 0; i < N + 2; ++i) Result->AddPoint(0, 0, 0);
    TVectors P(static_cast<std::size_t>(N) + 2);
    P[0] = Q[0];
    P[static_cast<std::size_t>(N) + 1] = Q[static_cast<std::size_t>(N) - 1];
    Result->UpdateKnots();
    const auto u = [&Result](int I) { return Result->Knot(I); };
    const auto q = [&Q](int I) { return Q[static_cast<std::size_t>(I)]; };
    if (AccountForChordLength) {
        double L = 0;
        for (int i = 1; i < N; ++i) L += VectorDistance(q(i), q(i - 1));
        for (int i = 1; i <= N - 2; ++i) Result->SetKnot(i + 4, u(i + 3) + (N - 1) * VectorDistance(q(i), q(i - 1)) / L);
        Result->KnotType = ktNonUniform;
    }
    const bool NaturalStart = Start.Kind == ecNatural;
    const bool NaturalEnd = End.Kind == ecNatural;
    if (Start.Kind == ecClamped)
        P[1] = VectorAdd(q(0), Start.Tangent);
    else if (Start.Kind == ecBessel)
        P[1] = BesselHandle(q(0), q(1), q(2), u(4), u(5), u(6));
    if (End.Kind == ecClamped)
        P[static_cast<std::size_t>(N)] = VectorAdd(q(N - 1), End.Tangent);
    else if (End.Kind == ecBessel)
        P[static_cast<std::size_t>(N)] = BesselHandle(q(N - 1), q(N - 2), q(N - 3), u(N + 3), u(N + 2), u(N + 1));

    // Row i has P[i] on its diagonal: the basis values at the knot of data point i - 1, or the
    // zero second derivative of a natural end. Known end handles move to the right-hand side.
    const int First = NaturalStart ? 1 : 2;
    const int Last = NaturalEnd ? N : N - 1;
    const std::size_t Rows = static_cast<std::size_t>(Last - First + 1);
    std::vector<double> a(Rows), b(Rows), c(Rows);
    TVectors Rhs(Rows);
    std::array<double, 4> Basis{};
    for (int i = First; i <= Last; ++i) {
        const std::size_t r = static_cast<std::size_t>(i - First);
        if (i == 1) {
            // C''(start) = 0 with clamped knots: (P2 - P1) / A = (P1 - P0) / B, A and B the first
            // two interior knots measured from the start (3 P1 - P2 = 2 Q0 on uniform knots).
            const double A = u(5) - u(4), B = u(6) - u(4);
            a[r] = 0, b[r] = (A + B) / B, c[r] = -A / B;
            Rhs[r] = q(0);
        } else if (i == N && NaturalEnd) {
            const double A = u(N + 3) - u(N + 2), B = u(N + 3) - u(N + 1);
            a[r] = -A / B, b[r] = (A + B) / B, c[r] = 0;
            Rhs[r] = q(N - 1);
        } else {
            BasisFunctions(i + 2, 3, Result->Knots(), Basis, u(i + 3));
            a[r] = Basis[0], b[r] = Basis[1], c[r] = Basis[2];
            Rhs[r] = D[static_cast<std::size_t>(i) - 1];
            if (i == First) Rhs[r] = Sub(Rhs[r], VectorScale(P[1], a[r]));
            if (i == Last) Rhs[r] = Sub(Rhs[r], VectorScale(P[static_cast<std::size_t>(N)], c[r]));
        }
    }
    const TVectors X = SolveTridiagonal(a, b, c, Rhs);
    for (std::size_t r = 0; r < Rows; ++r) P[static_cast<std::size_t>(First) + r] = X[r];
    for (int i = 0; i < N + 2; ++i) Result->Point(i)->SetVector(P[static_cast<std::size_t>(i)]);
    return Result;
}

// C2 chain of cubic Bezier segments: the tangent offsets X[i] at the points solve a tridiagonal
// system; lambda scales the handle before a point against the one after it.
std::unique_ptr<TBSpline> InterpolateSecondOrderPiecewise(const TVectors& Q, const TEndCondition& Start,
                                                          const TEndCondition& End, bool AccountForChordLength) {
    RequirePoints(Q, 3);
    const int N = static_cast<int>(Q.size());
    const auto q = [&Q](int I) { return Q[static_cast<std::size_t>(I)]; };
    std::vector<double> Lambda(static_cast<std::size_t>(N), 1.0);
    if (AccountForChordLength)
        for (int i = 1; i < N - 1; ++i)
            Lambda[static_cast<std::size_t>(i)] = VectorDistance(q(i), q(i - 1)) / VectorDistance(q(i + 1), q(i));
    const auto lambda = [&Lambda](int I) { return Lambda[static_cast<std::size_t>(I)]; };
    const auto D = [&q](int I) { return Sub(q(I + 1), q(I)); };

    TVectors P(4 * static_cast<std::size_t>(N - 1));
    const auto p = [&P](int I) -> TMVector& { return P[static_cast<std::size_t>(I)]; };
    for (int i = 0; i < N - 1; ++i) {
        p(4 * i) = q(i);
        p(4 * i + 3) = q(i + 1);
    }
    const bool FixedStart = Start.Kind != ecNatural;
    const bool FixedEnd = End.Kind != ecNatural;
    if (Start.Kind == ecClamped) {
        p(1) = VectorAdd(q(0), Start.Tangent);
    } else if (Start.Kind == ecBessel) {
        const double t1 = AccountForChordLength ? VectorDistance(q(1), q(0)) : 1.0;
        const double t2 = AccountForChordLength ? t1 + VectorDistance(q(2), q(1)) : 2.0;
        p(1) = BesselHandle(q(0), q(1), q(2), 0, t1, t2);
    }
    const int e = 4 * N - 6;
    if (End.Kind == ecClamped) {
        p(e) = VectorAdd(q(N - 1), End.Tangent);
    } else if (End.Kind == ecBessel) {
        const double t1 = AccountForChordLength ? VectorDistance(q(N - 2), q(N - 1)) : 1.0;
        const double t2 = AccountForChordLength ? t1 + VectorDistance(q(N - 3), q(N - 2)) : 2.0;
        p(e) = BesselHandle(q(N - 1), q(N - 2), q(N - 3), 0, t1, t2);
    }

    // One row per unknown X[i]: the C2 condition at Q[i], or a natural end.
    const int First = FixedStart ? 1 : 0;
    const int Last = FixedEnd ? N - 2 : N - 1;
    const std::size_t Rows = static_cast<std::size_t>(Last - First + 1);
    std::vector<double> a(Rows), b(Rows), c(Rows);
    TVectors Rhs(Rows);
    for (int i = First; i <= Last; ++i) {
        const std::size_t r = static_cast<std::size_t>(i - First);
        if (i == 0) {
            a[r] = 0, b[r] = 2, c[r] = lambda(1);
            Rhs[r] = D(0);
        } else if (i == N - 1) {
            a[r] = 1, b[r] = 2, c[r] = 0;
            Rhs[r] = D(N - 2);
        } else {
            const double l = lambda(i);
            a[r] = 1, b[r] = 2 * l * (l + 1), c[r] = l * l * lambda(i + 1);
            Rhs[r] = VectorAdd(D(i - 1), VectorScale(D(i), l * l));
            if (i == 1 && FixedStart) Rhs[r] = Sub(Rhs[r], Sub(p(1), q(0)));
            if (i == N - 2 && FixedEnd)
                Rhs[r] = Sub(Rhs[r], VectorScale(VectorScale(Sub(q(N - 1), p(e)), lambda(N - 1)), l * l));
        }
    }
    const TVectors X = SolveTridiagonal(a, b, c, Rhs);
    for (int i = First; i <= Last; ++i) {
        const TMVector& x = X[static_cast<std::size_t>(i - First)];
        if (i <= N - 2) p(4 * i + 1) = VectorAdd(q(i), x);
        if (i >= 1) p(4 * i - 2) = Sub(q(i), VectorScale(x, lambda(i)));
    }
    std::vector<double> Knots;
    for (int i = 0; i < N; ++i) Knots.insert(Knots.end(), 4, static_cast<double>(i));
    return NonUniformCubic(P, Knots);
}

}  // namespace

std::unique_ptr<TBSpline> InterpolateBSpline(int Order, const TPolyline& Polyline) {
    const int N = Polyline.Count();
    const auto Refuse = [&] {
        throw EGeometryError(Format("InterpolateBSpline - %d points cannot be interpolated at order %d", {N, Order}));
    };
    if (Order < 1 || N < Order) Refuse();
    CheckKnotLimit(N, Order);
    auto Result = std::make_unique<TBSpline>(Order);
    for (int i = 0; i < N; ++i) Result->AddPointCopy(Polyline.Point(i));
    Result->UpdateKnots();

    // Chord-length parameters scaled to the knot range.
    const TVectors Q = PolylineVectors(Polyline);
    std::vector<double> s(static_cast<std::size_t>(N), 0.0);
    for (std::size_t i = 1; i < Q.size(); ++i) s[i] = s[i - 1] + VectorDistance(Q[i], Q[i - 1]);
    const double L = s.back();
    const double Last = Result->Knot(Result->KnotCount());
    for (double& t : s) t = t / L * Last;

    // The collocation rows. The system is regular exactly when the parameters increase strictly and
    // each lies where its own basis function is non-zero (Schoenberg and Whitney); then the non-zero
    // basis values of row i lie within Order - 1 columns of the diagonal, and the matrix is banded.
    const int Band = Order - 1;
    TBandedSystem System(N, Band);
    TBasisValues Basis{};
    for (int i = 0; i < N; ++i) {
        const double t = s[static_cast<std::size_t>(i)];
        if (!std::isfinite(t) || (i > 0 && !(t > s[static_cast<std::size_t>(i) - 1]))) Refuse();
        int First = 0, LastBasis = -1;
        CoxDeBoorBasis(N, Order, Result->Knots(), true, t, Basis, First, LastBasis);
        // Basis[j] belongs to control point j - 1.
        if (First > i + 1 || LastBasis < i + 1 || !(Basis[static_cast<std::size_t>(i) + 1] > 0)) Refuse();
        for (int j = First; j <= LastBasis; ++j)
            if (std::abs(j - 1 - i) <= Band) System.At(i, j - 1) = Basis[static_cast<std::size_t>(j)];
        System.Rhs(i) = Q[static_cast<std::size_t>(i)];
    }
    if (!System.Solve()) Refuse();
    for (int i = 0; i < N; ++i) Result->Point(i)->SetVector(System.Rhs(i));

    // The curve must pass through its points: a system too ill-conditioned for doubles gives a curve
    // that does not, and that is refused rather than returned.
    TMVector Low = Q[0], High = Q[0];
    for (const TMVector& q : Q) {
        Low = {std::min(Low.X, q.X), std::min(Low.Y, q.Y), std::min(Low.Z, q.Z)};
        High = {std::max(High.X, q.X), std::max(High.Y, q.Y), std::max(High.Z, q.Z)};
    }
    const double Tolerance = InterpolationTolerance * VectorDistance(Low, High);
    for (int i = 0; i < N; ++i) {
        const double Miss = VectorDistance(Result->EvaluatePoint(s[static_cast<std::size_t>(i)]), Q[static_cast<std::size_t>(i)]);
        if (!(Miss <= Tolerance))
            throw EGeometryError(FormatWithPoint("InterpolateBSpline - The curve misses point %d by %g", {i, Miss}));
    }
    return Result;
}

std::unique_ptr<TBSpline> InterpolateCubicBSpline(const TPolyline& Polyline, TSplineContinuity Continuity,
                                                  const TEndCondition& StartCondition,
                                                  const TEndCondition& EndCondition,
                                                  bool AccountForChordLength) {
    const TVectors Q = PolylineVectors(Polyline);
    switch (Continuity) {
        case scFirstOrder:
            return InterpolateFirstOrder(Q, StartCondition, EndCondition, AccountForChordLength);
        case scSecondOrder:
            return InterpolateSecondOrder(Polyline, Q, StartCondition, EndCondition, AccountForChordLength);
        default:
            return InterpolateSecondOrderPiecewise(Q, StartCondition, EndCondition, AccountForChordLength);
    }
}

std::unique_ptr<TBSpline> InterpolatingCubicBSpline(std::span<const TMVector> Points,
                                                    const TEndCondition& StartCondition,
                                                    const TEndCondition& EndCondition, bool ChordLengthKnots) {
    TPolyline Through;
    for (const TMVector& V : Points) Through.AddVector(V);
    return InterpolateCubicBSpline(Through, scSecondOrder, StartCondition, EndCondition, ChordLengthKnots);
}

std::string EndConditionText(const TEndCondition& C) {
    switch (C.Kind) {
        case ecNatural: return "Natural";
        case ecBessel: return "Bessel";
        default: return FormatWithPoint("Clamped [%g, %g, %g]", {C.Tangent.X, C.Tangent.Y, C.Tangent.Z});
    }
}

TEndCondition EndConditionFromText(std::string_view S) {
    const std::string Upper = UpperCase(S);
    if (Upper.find("NATURAL") != std::string::npos) return NaturalEndCondition;
    if (Upper.find("BESSEL") != std::string::npos) return {ecBessel, {0, 0, 0}};
    const std::size_t Open = S.find('[');
    std::string_view Inside = Open == std::string_view::npos ? S : S.substr(Open + 1);
    Inside = Inside.substr(0, Inside.find(']'));
    // Exactly three fields: a missing one is an empty text, which does not convert.
    std::array<std::string, 3> Fields;
    for (std::size_t f = 0; f < 3; ++f) {
        const std::size_t Comma = Inside.find(',');
        Fields[f] = Trim(Inside.substr(0, Comma));
        Inside = Comma == std::string_view::npos ? std::string_view() : Inside.substr(Comma + 1);
    }
    return {ecClamped, {StrToFloat(Fields[0]), StrToFloat(Fields[1]), StrToFloat(Fields[2])}};
}

std::string ContinuityText(TSplineContinuity V) {
    switch (V) {
        case scFirstOrder: return "FirstOrder";
        case scSecondOrderPiecewise: return "SecondOrderPiecewise";
        default: return "SecondOrder";
    }
}

TSplineContinuity ContinuityFromText(std::string_view S) {
    const std::string Upper = UpperCase(S);
    if (Upper.find("FIRSTORDER") != std::string::npos) return scFirstOrder;
    if (Upper.find("SECONDORDERPIECEWISE") != std::string::npos) return scSecondOrderPiecewise;
    return scSecondOrder;
}

}  // namespace sarnova
