#include "foundation/BSplineOps.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

// Knots closer than this are one knot when two knot vectors are merged.
constexpr double MergeTolerance = 1e-8;

// A curve as plain arrays: control points P[0 .. n-1], knots U[0 .. n+k-1] (u[i] at U[i-1]). The
// operations work on these; intermediate forms (a curve cut into Bezier segments) may need more
// knots than a TBSpline holds, so only results are checked against the limit.
struct TSplineData {
    int Order = 0;
    std::vector<TMVector> P;
    std::vector<double> U;

    int Count() const { return static_cast<int>(P.size()); }
    int Degree() const { return Order - 1; }
};

TMVector Combine(double A, const TMVector& P, double B, const TMVector& Q) {
    return {A * P.X + B * Q.X, A * P.Y + B * Q.Y, A * P.Z + B * Q.Z};
}

// The knot limit for a result of Points control points of order Order, counted without overflow.
void CheckResultLimit(long long Points, long long Order) {
    if (Points + Order > MaxKnots)
        CheckKnotLimit(static_cast<int>(std::min<long long>(Points, INT_MAX)),
                       static_cast<int>(std::min<long long>(Order, INT_MAX)));
}

TSplineData DataOf(const TBSpline& C) {
    CheckKnotLimit(C.Count(), C.GetOrder());
    TSplineData D;
    D.Order = C.GetOrder();
    for (int i = 0; i < C.Count(); ++i) D.P.push_back(C.Point(i)->Vector());
    D.U.assign(C.Knots().begin(), C.Knots().begin() + C.KnotCount());
    return D;
}

// Replaces the points, order and knots of C by D's and makes the knots stored (ktNonUniform); the
// flags, colours and other settings stay. Nothing changes when D needs more than MaxKnots knots.
void StoreData(TBSpline& C, const TSplineData& D) {
    CheckResultLimit(D.Count(), D.Order);
    while (C.Count() > 0) C.Delete(C.Count() - 1);
    if (D.Order != C.GetOrder()) C.SetOrder(D.Order);
    for (const TMVector& V : D.P) C.AddVector(V);
    C.KnotType = ktNonUniform;
    C.SetKnots(D.U);
}

// A new curve with the settings of Source and the points and knots of D.
std::unique_ptr<TBSpline> NewCurve(const TBSpline& Source, const TSplineData& D) {
    auto Result = Source.Clone();
    StoreData(*Result, D);
    return Result;
}

int Multiplicity(const std::vector<double>& U, double V) {
    return static_cast<int>(std::count(U.begin(), U.end(), V));
}

// The span s (0-based) with U[s] <= T < U[s+1] among p .. n-1, T = U[n] giving n - 1; -1 when T lies
// outside [U[p], U[n]] (or is not a number) or the curve has fewer points than its order.
int SpanOf(const TSplineData& D, double T) {
    const int n = D.Count();
    const int p = D.Degree();
    if (p < 0 || n < p + 1) return -1;
    if (!(T >= D.U[static_cast<std::size_t>(p)] && T <= D.U[static_cast<std::size_t>(n)])) return -1;
    if (T == D.U[static_cast<std::size_t>(n)]) return n - 1;
    const auto It = std::upper_bound(D.U.begin() + p, D.U.begin() + n + 1, T);
    return static_cast<int>(It - D.U.begin()) - 1;
}

// D with all values of X inserted at once (Piegl and Tiller's knot refinement): the points outside
// the affected spans are copied, the others computed back to front from two neighbours. Every value
// must lie in the parameter range [U[p], U[n]].
TSplineData Refine(const TSplineData& D, std::vector<double> X) {
    if (X.empty()) return D;
    for (const double x : X)
        if (SpanOf(D, x) < 0)
            throw EGeometryError(Format("TBSpline.RefineKnots - Knot %g lies outside the parameter range", {x}));
    std::sort(X.begin(), X.end());
    const int n = D.Count() - 1;  // the last point
    const int p = D.Degree();
    const int m = n + p + 1;  // the last knot
    const int r = static_cast<int>(X.size()) - 1;
    const int a = SpanOf(D, X.front());
    const int b = SpanOf(D, X.back()) + 1;
    const auto& P = D.P;
    const auto& U = D.U;
    TSplineData Q;
    Q.Order = D.Order;
    Q.P.resize(static_cast<std::size_t>(n + r + 2));
    Q.U.resize(static_cast<std::size_t>(m + r + 2));
    auto At = [](auto& V, int I) -> auto& { return V[static_cast<std::size_t>(I)]; };
    for (int j = 0; j <= a - p; ++j) At(Q.P, j) = At(P, j);
    for (int j = b - 1; j <= n; ++j) At(Q.P, j + r + 1) = At(P, j);
    for (int j = 0; j <= a; ++j) At(Q.U, j) = At(U, j);
    for (int j = b + p; j <= m; ++j) At(Q.U, j + r + 1) = At(U, j);
    int i = b + p - 1;
    int k = b + p + r;
    for (int j = r; j >= 0; --j) {
        const double x = At(X, j);
        while (x <= At(U, i) && i > a) {
            At(Q.P, k - p - 1) = At(P, i - p - 1);
            At(Q.U, k) = At(U, i);
            --k;
            --i;
        }
        At(Q.P, k - p - 1) = At(Q.P, k - p);
        for (int l = 1; l <= p; ++l) {
            const int Ind = k - p + l;
            double Alfa = At(Q.U, k + l) - x;
            if (Alfa == 0) {
                At(Q.P, Ind - 1) = At(Q.P, Ind);
            } else {
                Alfa /= At(Q.U, k + l) - At(U, i - p + l);
                At(Q.P, Ind - 1) = Combine(Alfa, At(Q.P, Ind - 1), 1 - Alfa, At(Q.P, Ind));
            }
        }
        At(Q.U, k) = x;
        --k;
    }
    return Q;
}

// The insertions that raise each of Values to multiplicity k in D; knots already there, and repeats
// among Values, count towards it.
std::vector<double> FullInsertions(const TSplineData& D, const std::vector<double>& Values) {
    std::vector<double> X;
    for (const double V : Values) {
        const int Have = Multiplicity(D.U, V) + Multiplicity(X, V);
        for (int i = Have; i < D.Order; ++i) X.push_back(V);
    }
    return X;
}

TSplineData InsertFully(const TSplineData& D, const std::vector<double>& Values) {
    return Refine(D, FullInsertions(D, Values));
}

// The knot of U nearest to T when it lies within Tolerance of T, else T.
double SnapToKnot(const std::vector<double>& U, double T, double Tolerance) {
    double Best = T;
    double Distance = Tolerance;
    for (const double u : U)
        if (std::abs(u - T) <= Distance) {
            Distance = std::abs(u - T);
            Best = u;
        }
    return Best;
}

// The part of D from Lower to Upper (Lower <= Upper, both in the parameter range) with k-fold knots
// at both ends.
TSplineData Trim(const TSplineData& D, double Lower, double Upper) {
    const TSplineData F = InsertFully(D, {Lower, Upper});
    const int k = F.Order;
    const int m = static_cast<int>(F.U.size());
    // The last index of the run of knots equal to V, searching from From.
    const auto RunEnd = [&F, m](double V, int From) {
        for (int i = std::max(From, 0); i < m; ++i)
            if (F.U[static_cast<std::size_t>(i)] == V && (i == m - 1 || V < F.U[static_cast<std::size_t>(i + 1)]))
                return i;
        return -1;
    };
    const int g = RunEnd(Lower, 0);
    const int h = g < 0 ? -1 : RunEnd(Upper, g);
    if (g < k - 1 || h < 0) throw EGeometryError("TBSpline.SubCurve - The knots of the part were not found");
    TSplineData R;
    R.Order = k;
    R.U.assign(F.U.begin() + (g - k + 1), F.U.begin() + h + 1);
    R.P.assign(F.P.begin() + (g - k + 1), F.P.begin() + (h - k + 1));
    return R;
}

// Maps the knots linearly so that U[k-1] (u[k]) goes to NewMin and the last knot to NewMax. A curve
// without a range to map keeps its knots.
void MapKnots(std::span<double> U, int k, double NewMin, double NewMax) {
    if (k < 1 || U.size() < static_cast<std::size_t>(k)) return;
    const double a = U[static_cast<std::size_t>(k - 1)];
    const double b = U.back();
    if (!(b - a != 0) || !std::isfinite(b - a)) return;
    for (double& u : U) u = NewMin + (u - a) * (NewMax - NewMin) / (b - a);
}

// The curve's data after UpdateKnots, cut to its knot range with k-fold end knots (an unclamped curve
// becomes the same curve over the same range) and, with Normalise, mapped onto [0, 1]. Throws
// EGeometryError naming Routine when the curve cannot be evaluated.
TSplineData ClampedData(TBSpline& C, const char* Routine, bool Normalise) {
    C.UpdateKnots();
    TSplineData D = DataOf(C);
    const int n = D.Count();
    const int k = D.Order;
    if (k < 1 || n < k)
        throw EGeometryError(Format("%s - The curve has %d control points, fewer than its order %d",
                                    {Routine, n, k}));
    const double Lower = D.U[static_cast<std::size_t>(k - 1)];
    const double Upper = D.U[static_cast<std::size_t>(n)];
    if (!(Lower < Upper)) throw EGeometryError(std::string(Routine) + " - The curve has no parameter range");
    D = Trim(D, Lower, Upper);
    if (Normalise) MapKnots(D.U, D.Order, 0, 1);
    return D;
}

TSplineData Reversed(const TSplineData& D) {
    TSplineData R = D;
    std::reverse(R.P.begin(), R.P.end());
    const std::size_t m = D.U.size();
    const double Mirror = D.U[static_cast<std::size_t>(D.Order - 1)] + D.U[m - 1];
    for (std::size_t i = 0; i < m; ++i) R.U[i] = Mirror - D.U[m - 1 - i];
    return R;
}

// ---- Bezier segments ----

// An interior break of two merged knot vectors: its value in each curve (a curve's own knot, or the
// other's where it has none) and its multiplicity in each (0 where the curve has no such knot).
struct TBreak {
    double A = 0, B = 0;
    int MultA = 0, MultB = 0;
};

// The distinct interior knots of a curve with k-fold end knots, and their multiplicities.
void InteriorKnots(const TSplineData& D, std::vector<double>& Values, std::vector<int>& Mults) {
    for (int i = D.Order; i < D.Count(); ++i) {
        const double u = D.U[static_cast<std::size_t>(i)];
        if (!Values.empty() && Values.back() == u)
            ++Mults.back();
        else {
            Values.push_back(u);
            Mults.push_back(1);
        }
    }
}

// The interior knots of two curves on one range merged in order, knots within MergeTolerance being
// one.
std::vector<TBreak> MergeBreaks(const TSplineData& A, const TSplineData& B) {
    std::vector<double> VA, VB;
    std::vector<int> MA, MB;
    InteriorKnots(A, VA, MA);
    InteriorKnots(B, VB, MB);
    std::vector<TBreak> Result;
    std::size_t i = 0, j = 0;
    while (i < VA.size() || j < VB.size()) {
        if (i < VA.size() && j < VB.size() && std::fabs(VA[i] - VB[j]) < MergeTolerance) {
            Result.push_back({VA[i], VB[j], MA[i], MB[j]});
            ++i;
            ++j;
        } else if (j >= VB.size() || (i < VA.size() && VA[i] < VB[j])) {
            Result.push_back({VA[i], VA[i], MA[i], 0});
            ++i;
        } else {
            Result.push_back({VB[j], VB[j], 0, MB[j]});
            ++j;
        }
    }
    return Result;
}

using TSegment = std::vector<TMVector>;

// The Degree + 1 control points of every non-empty span of D after raising each of Cuts (which must
// include every interior knot of D) to multiplicity Degree, in parameter order.
std::vector<TSegment> Decompose(const TSplineData& D, const std::vector<double>& Cuts) {
    const int p = D.Degree();
    std::vector<double> X;
    for (const double V : Cuts)
        for (int i = Multiplicity(D.U, V); i < p; ++i) X.push_back(V);
    const TSplineData F = Refine(D, X);
    std::vector<TSegment> Segments;
    for (int s = p; s < F.Count(); ++s)
        if (F.U[static_cast<std::size_t>(s)] < F.U[static_cast<std::size_t>(s + 1)])
            Segments.emplace_back(F.P.begin() + (s - p), F.P.begin() + s + 1);
    return Segments;
}

// Removes the knot whose run ends at index r (multiplicity s) Num times (Piegl and Tiller's knot
// removal). The caller knows the curve is smooth enough there, so the removal is exact and nothing
// is tested.
void RemoveKnot(TSplineData& D, int r, int s, int Num) {
    if (Num <= 0) return;
    auto& P = D.P;
    auto& U = D.U;
    auto At = [](auto& V, int I) -> auto& { return V[static_cast<std::size_t>(I)]; };
    const int n = D.Count() - 1;
    const int p = D.Degree();
    const int m = n + p + 1;
    const int Ord = p + 1;
    const double u = At(U, r);
    const int Fout = (2 * r - s - p) / 2;
    int Last = r - s;
    int First = r - p;
    std::vector<TMVector> Temp(static_cast<std::size_t>(2 * p + 2));
    for (int t = 0; t < Num; ++t) {
        const int Off = First - 1;
        At(Temp, 0) = At(P, Off);
        At(Temp, Last + 1 - Off) = At(P, Last + 1);
        int i = First, j = Last, ii = 1, jj = Last - Off;
        while (j - i > t) {
            const double Alfi = (u - At(U, i)) / (At(U, i + Ord + t) - At(U, i));
            const double Alfj = (u - At(U, j - t)) / (At(U, j + Ord) - At(U, j - t));
            At(Temp, ii) = Combine(1 / Alfi, At(P, i), -(1 - Alfi) / Alfi, At(Temp, ii - 1));
            At(Temp, jj) = Combine(1 / (1 - Alfj), At(P, j), -Alfj / (1 - Alfj), At(Temp, jj + 1));
            ++i;
            ++ii;
            --j;
            --jj;
        }
        i = First;
        j = Last;
        while (j - i > t) {
            At(P, i) = At(Temp, i - Off);
            At(P, j) = At(Temp, j - Off);
            ++i;
            --j;
        }
        --First;
        ++Last;
    }
    for (int k = r + 1; k <= m; ++k) At(U, k - Num) = At(U, k);
    int j = Fout, i = Fout;
    for (int k = 1; k < Num; ++k) {
        if (k % 2 == 1)
            ++i;
        else
            --j;
    }
    for (int k = i + 1; k <= n; ++k) At(P, j++) = At(P, k);
    P.resize(P.size() - static_cast<std::size_t>(Num));
    U.resize(U.size() - static_cast<std::size_t>(Num));
}

// The coordinate-wise product of two curves with k-fold end knots over the same range, of degree
// pA + pB. Both are cut into Bezier segments at the merged knots, the segments multiplied, and the
// product joined again: at each knot it is as smooth as the rougher factor that has the knot there.
TSplineData ProductData(const TSplineData& A, const TSplineData& B) {
    const int pA = A.Degree();
    const int pB = B.Degree();
    const int Degree = pA + pB;
    const std::vector<TBreak> Breaks = MergeBreaks(A, B);
    std::vector<int> Targets;
    long long Points = Degree + 1;
    std::vector<double> CutsA, CutsB;
    for (const TBreak& Br : Breaks) {
        int Continuity = INT_MAX;
        if (Br.MultA > 0) Continuity = pA - Br.MultA;
        if (Br.MultB > 0) Continuity = std::min(Continuity, pB - Br.MultB);
        Targets.push_back(Degree - Continuity);
        Points += Targets.back();
        CutsA.push_back(Br.A);
        CutsB.push_back(Br.B);
    }
    CheckResultLimit(Points, Degree + 1);

    const std::vector<TSegment> SA = Decompose(A, CutsA);
    const std::vector<TSegment> SB = Decompose(B, CutsB);
    if (SA.size() != Breaks.size() + 1 || SB.size() != Breaks.size() + 1)
        throw EGeometryError("TBSpline.Multiply - The curves could not be cut into matching segments");

    // Products of Bezier segments of degrees pA and pB: Coef[i][j] = C(pA, j) C(pB, i - j) / C(Degree, i).
    std::vector<std::vector<double>> Coef(static_cast<std::size_t>(Degree + 1),
                                          std::vector<double>(static_cast<std::size_t>(pA + 1), 0.0));
    for (int i = 0; i <= Degree; ++i)
        for (int j = std::max(0, i - pB); j <= std::min(pA, i); ++j)
            Coef[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                Binomial(static_cast<unsigned>(pA), static_cast<unsigned>(j)) *
                Binomial(static_cast<unsigned>(pB), static_cast<unsigned>(i - j)) /
                Binomial(static_cast<unsigned>(Degree), static_cast<unsigned>(i));

    // The product with every interior knot at multiplicity Degree (Degree + 1 where it breaks).
    TSplineData R;
    R.Order = Degree + 1;
    R.U.assign(static_cast<std::size_t>(Degree + 1), A.U.front());
    for (std::size_t s = 0; s < SA.size(); ++s) {
        const bool Breaking = s > 0 && Targets[s - 1] > Degree;
        if (s > 0) R.U.insert(R.U.end(), static_cast<std::size_t>(Breaking ? Degree + 1 : Degree), Breaks[s - 1].A);
        for (int i = s > 0 && !Breaking ? 1 : 0; i <= Degree; ++i) {
            TMVector Q{0, 0, 0};
            for (int j = std::max(0, i - pB); j <= std::min(pA, i); ++j) {
                const TMVector& a = SA[s][static_cast<std::size_t>(j)];
                const TMVector& b = SB[s][static_cast<std::size_t>(i - j)];
                const double c = Coef[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
                Q = VectorAdd(Q, {c * a.X * b.X, c * a.Y * b.Y, c * a.Z * b.Z});
            }
            R.P.push_back(Q);
        }
    }
    R.U.insert(R.U.end(), static_cast<std::size_t>(Degree + 1), A.U.back());

    // Down to the target multiplicities, last knot first so that earlier indices stay.
    for (std::size_t b = Breaks.size(); b-- > 0;) {
        if (Targets[b] >= Degree) continue;
        const auto Run = std::find(R.U.rbegin(), R.U.rend(), Breaks[b].A);
        const int r = static_cast<int>(R.U.rend() - Run) - 1;
        RemoveKnot(R, r, Degree, Degree - Targets[b]);
    }
    return R;
}

// D (k-fold end knots) at order NewOrder: the product with the constant 1 of degree NewOrder - k.
TSplineData RaiseData(const TSplineData& D, int NewOrder) {
    const int t = NewOrder - D.Order;
    if (t <= 0) return D;
    // Every knot gains t copies: refuse an impossible order before building anything of its size.
    CheckResultLimit(D.Count() + static_cast<long long>(t), NewOrder);
    TSplineData One;
    One.Order = t + 1;
    One.P.assign(static_cast<std::size_t>(t + 1), {1, 1, 1});
    One.U.assign(static_cast<std::size_t>(t + 1), D.U.front());
    One.U.insert(One.U.end(), static_cast<std::size_t>(t + 1), D.U.back());
    return ProductData(D, One);
}

// Brings A and B (normalised, k-fold end knots) to one order, at least MinOrder, and one knot
// vector.
void MakeCompatibleData(TSplineData& A, TSplineData& B, int MinOrder) {
    const int Order = std::max({A.Order, B.Order, MinOrder});
    if (A.Order < Order) A = RaiseData(A, Order);
    if (B.Order < Order) B = RaiseData(B, Order);
    std::vector<double> ForA, ForB;
    for (const TBreak& Br : MergeBreaks(A, B)) {
        for (int i = Br.MultA; i < Br.MultB; ++i) ForA.push_back(Br.B);
        for (int i = Br.MultB; i < Br.MultA; ++i) ForB.push_back(Br.A);
    }
    CheckResultLimit(A.Count() + static_cast<long long>(ForA.size()), Order);
    CheckResultLimit(B.Count() + static_cast<long long>(ForB.size()), Order);
    A = Refine(A, ForA);
    B = Refine(B, ForB);
}

std::vector<double> ArrayValues(const TArray& L) {
    TArray Copy = L;
    std::vector<double> Values;
    for (int i = 0; i < Copy.Count(); ++i) Values.push_back(Copy.GetValue(i));
    return Values;
}

}  // namespace

// ---- Knot insertion and refinement ----

void TBSpline::InsertKnot(double T) {
    // Open and Periodic knots follow from the points and the order: refresh them so that a curve
    // edited since its last evaluation is not cut with a stale vector.
    UpdateKnots();
    const int n = Count();
    const int m = n + FOrder;
    if (m < 1 || !(U(1) < T && T < U(m))) return;
    // u[k] <= T < u[n+1]: the k points around T exist.
    if (FOrder < 1 || n < FOrder || !(U(FOrder) <= T && T < U(n + 1)))
        throw EGeometryError("TBSpline.InsertKnot - Unable to insert Knot, Index outside of range was accessed");
    CheckKnotLimit(n + 1, FOrder);
    StoreData(*this, Refine(DataOf(*this), {T}));
}

void TBSpline::RefineKnots(std::span<const double> X) {
    if (X.empty()) return;
    UpdateKnots();
    CheckResultLimit(Count() + static_cast<long long>(X.size()), FOrder);
    StoreData(*this, Refine(DataOf(*this), std::vector<double>(X.begin(), X.end())));
}

void TBSpline::RefineKnotsList(const TArray& L) { RefineKnots(ArrayValues(L)); }

void TBSpline::InsertKnotsFully(const TArray& L) {
    UpdateKnots();
    RefineKnots(FullInsertions(DataOf(*this), ArrayValues(L)));
}

// ---- Parts of a curve ----

void TBSpline::Split(double T, std::unique_ptr<TBSpline>& Left, std::unique_ptr<TBSpline>& Right) {
    auto Copy = Clone();
    Copy->UpdateKnots();
    if (!(T > Copy->MinT() && T < Copy->MaxT()))
        throw EGeometryError(Format("TBSpline.Split - %g lies outside the parameter range", {T}));
    const TSplineData F = InsertFully(DataOf(*Copy), {T});
    const int k = F.Order;
    const int d = static_cast<int>(std::find(F.U.begin(), F.U.end(), T) - F.U.begin());  // u[d+1] = T
    TSplineData L, R;
    L.Order = R.Order = k;
    L.U.assign(F.U.begin(), F.U.begin() + d + k);
    L.P.assign(F.P.begin(), F.P.begin() + d);
    R.U.assign(F.U.begin() + d, F.U.end());
    R.P.assign(F.P.begin() + d, F.P.end());
    MapKnots(L.U, k, 0, 1);
    MapKnots(R.U, k, 0, 1);
    auto NewLeft = NewCurve(*Copy, L);
    Right = NewCurve(*Copy, R);
    Left = std::move(NewLeft);
}

std::unique_ptr<TBSpline> TBSpline::SubCurve(double LowerT, double UpperT) {
    if (LowerT > UpperT) throw EGeometryError("TBSpline.SubCurve - UpperT is less than LowerT");
    auto Copy = Clone();
    Copy->UpdateKnots();
    if (!(LowerT >= Copy->MinT() && UpperT <= Copy->MaxT()))
        throw EGeometryError(Format("TBSpline.SubCurve - %g .. %g lies outside the parameter range",
                                    {LowerT, UpperT}));
    // An end a rounding error away from a knot is that knot: cutting there would leave a knot
    // interval of almost nothing, whose control points run wild.
    TSplineData Data = DataOf(*Copy);
    const double Tolerance = KnotSnapTolerance * (Copy->MaxT() - Copy->MinT());
    LowerT = std::clamp(SnapToKnot(Data.U, LowerT, Tolerance), Copy->MinT(), Copy->MaxT());
    UpperT = std::clamp(SnapToKnot(Data.U, UpperT, Tolerance), LowerT, Copy->MaxT());
    // Both ends are inserted fully, also at the ends of the range: an unclamped curve (or a Custom
    // one, whose range ends between knots) then keeps its whole shape.
    TSplineData D = Trim(Data, LowerT, UpperT);
    MapKnots(D.U, D.Order, 0, 1);
    return NewCurve(*Copy, D);
}

void TBSpline::Reparameterise(double NewMin, double NewMax) {
    UpdateKnots();
    MapKnots(std::span<double>(FKnots.data(), static_cast<std::size_t>(KnotCount())), FOrder, NewMin, NewMax);
    KnotType = ktNonUniform;
    KnotsChanged();
}

void TBSpline::NormaliseKnots() { Reparameterise(0, 1); }

// ---- Order, compatible pairs, sums and products ----

std::unique_ptr<TBSpline> TBSpline::RaiseOrder(int NewOrder) {
    auto Copy = Clone();
    // The order as evaluated: a forced Bezier curve takes the point count.
    Copy->UpdateKnots();
    if (NewOrder <= Copy->GetOrder())
        throw EGeometryError("BSplineRaiseDegree - Order must be greater than existing BSpline curve");
    const TSplineData D = ClampedData(*Copy, "BSplineRaiseDegree", false);
    return NewCurve(*Copy, RaiseData(D, NewOrder));
}

void TBSpline::MakeCompatible(TBSpline& Other) { MakeCompatibleWithOrder(Other, 0); }

void TBSpline::MakeCompatibleWithOrder(TBSpline& Other, int MinOrder) {
    TSplineData A = ClampedData(*this, "TBSpline.MakeCompatible", true);
    TSplineData B = ClampedData(Other, "TBSpline.MakeCompatible", true);
    MakeCompatibleData(A, B, MinOrder);
    StoreData(*this, A);
    StoreData(Other, B);
}

std::unique_ptr<TBSpline> TBSpline::Sum(const TBSpline& Other) const {
    auto A = Clone();
    auto B = Other.Clone();
    A->MakeCompatible(*B);
    for (int i = 0; i < A->Count(); ++i) {
        TRPoint* P = A->Point(i);
        P->SetVector(VectorAdd(P->Vector(), static_cast<const TBSpline&>(*B).Point(i)->Vector()));
    }
    return A;
}

std::unique_ptr<TBSpline> TBSpline::Multiply(const TBSpline& Other) const {
    auto A = Clone();
    auto B = Other.Clone();
    const TSplineData DA = ClampedData(*A, "TBSpline.Multiply", true);
    const TSplineData DB = ClampedData(*B, "TBSpline.Multiply", true);
    StoreData(*A, ProductData(DA, DB));
    return A;
}

// ---- Derived curves ----

std::unique_ptr<TBSpline> TBSpline::Derivative() {
    UpdateKnots();
    const int n = Count();
    const int k = FOrder;
    auto Result = std::make_unique<TBSpline>(std::max(0, k - 1));
    for (int i = 0; i + 1 < n; ++i) {
        const double Span = U(i + k + 1) - U(i + 2);
        // A span of zero length carries no basis function: its coefficient is zero.
        const double F = Span != 0 ? (k - 1) / Span : 0.0;
        Result->AddVector(VectorScale(VectorFromTo(PointVector(i), PointVector(i + 1)), F));
    }
    if (KnotType == ktOpen) {
        Result->UpdateKnots();
        return Result;
    }
    // Periodic knots are kept as they are (u[2] .. u[m-1]): rebuilt Periodic ones would start at 0
    // and shift the parameter by one.
    Result->KnotType = KnotType == ktCustom ? ktCustom : ktNonUniform;
    for (int i = 2; i < n + k; ++i) Result->SetKnot(i - 1, U(i));
    if (KnotType == ktCustom) {
        Result->MinTParameter = MinT();
        Result->MaxTParameter = MaxT();
    }
    return Result;
}

std::unique_ptr<TBSpline> TBSpline::Subdivide() {
    UpdateKnots();
    const TSplineData D = DataOf(*this);
    const int n = D.Count();
    const int k = D.Order;
    // The middle of every non-empty span of the parameter range.
    std::vector<double> Middles;
    for (int s = std::max(k - 1, 0); s < n; ++s) {
        const double a = D.U[static_cast<std::size_t>(s)];
        const double b = D.U[static_cast<std::size_t>(s + 1)];
        if (a < b) Middles.push_back((a + b) / 2);
    }
    CheckResultLimit(n + static_cast<long long>(Middles.size()), k);
    const TSplineData F = Refine(D, Middles);
    auto Result = std::make_unique<TBSpline>(k);
    if (KnotType == ktOpen) {
        // Halving unit spans gives unit spans again at twice the parameter: the Open knots of the
        // new points.
        for (const TMVector& P : F.P) Result->AddVector(P);
        Result->UpdateKnots();
    } else {
        StoreData(*Result, F);
    }
    return Result;
}

std::unique_ptr<TBSpline> TBSpline::EndTangentBezier() {
    UpdateKnots();
    const int n = Count();
    const int k = FOrder;
    if (n < 2 || n < k)
        throw EGeometryError(Format("TBSpline.EndTangentBezier - The curve has %d control points and order %d",
                                    {n, k}));
    const double Lo = MinT();
    const double Hi = MaxT();
    const double R = Hi - Lo;
    const TMVector T0 = VectorScale(VectorFromTo(PointVector(0), PointVector(1)), (k - 1) * R / (U(k + 1) - Lo));
    const TMVector T1 =
        VectorScale(VectorFromTo(PointVector(n - 2), PointVector(n - 1)), (k - 1) * R / (Hi - U(n)));
    auto Result = std::make_unique<TBSpline>(4);
    Result->AddVector(PointVector(0));
    Result->AddVector(VectorAdd(PointVector(0), VectorScale(T0, 1.0 / 3)));
    Result->AddVector(VectorFromTo(VectorScale(T1, 1.0 / 3), PointVector(n - 1)));
    Result->AddVector(PointVector(n - 1));
    Result->UpdateKnots();
    return Result;
}

// ---- Joins and the nearest point ----

std::unique_ptr<TBSpline> TBSpline::JoinWith(const TBSpline& Other, bool Exact) const {
    if (Count() == 0 || Other.Count() == 0) return nullptr;
    if (!Exact) {
        const auto Polygon = JoinAtNearestEnds(Other);
        if (!Polygon) return nullptr;
        const int Order = std::max(FOrder, Other.FOrder);
        CheckKnotLimit(Polygon->Count(), Order);
        auto Result = std::make_unique<TBSpline>(Order);
        Result->AddCopies(*Polygon);
        return Result;
    }
    auto A = Clone();
    auto B = Other.Clone();
    TSplineData DA = ClampedData(*A, "TBSpline.JoinWith", true);
    TSplineData DB = ClampedData(*B, "TBSpline.JoinWith", true);
    const int Order = std::max(DA.Order, DB.Order);
    if (DA.Order < Order) DA = RaiseData(DA, Order);
    if (DB.Order < Order) DB = RaiseData(DB, Order);
    const double Distances[4] = {VectorDistance(DA.P.front(), DB.P.front()), VectorDistance(DA.P.back(), DB.P.front()),
                                 VectorDistance(DA.P.front(), DB.P.back()), VectorDistance(DA.P.back(), DB.P.back())};
    int Nearest = -1;
    double Best = 1e33;
    for (int i = 0; i < 4; ++i)
        if (Distances[i] < Best) {
            Best = Distances[i];
            Nearest = i;
        }
    if (Nearest < 0) return nullptr;
    // Make A end and B start at the joint.
    if (Nearest == 0 || Nearest == 2) DA = Reversed(DA);
    if (Nearest == 2 || Nearest == 3) DB = Reversed(DB);
    const int nA = DA.Count();
    const double s = DA.U[static_cast<std::size_t>(nA)];
    TSplineData Q;
    Q.Order = Order;
    Q.P = DA.P;
    Q.P.insert(Q.P.end(), DB.P.begin() + 1, DB.P.end());
    // A's knots without the last, then B's from u[k+1] on shifted by A's range: the joint keeps
    // multiplicity k - 1, so the curve passes through A's end point.
    Q.U.assign(DA.U.begin(), DA.U.begin() + (nA + Order - 1));
    for (std::size_t i = static_cast<std::size_t>(Order); i < DB.U.size(); ++i) Q.U.push_back(DB.U[i] + s);
    StoreData(*A, Q);
    return A;
}

TMVector TBSpline::ClosestPoint(const TMVector& P, double& T) {
    UpdateKnots();
    const int n = Count();
    if (FOrder < 1 || n < FOrder)
        throw EGeometryError(Format("TBSpline.ClosestPoint - The curve has %d control points, fewer than its order %d",
                                    {n, FOrder}));
    const double Lo = MinT();
    const double Hi = MaxT();
    const int Samples = 4 * n;
    std::vector<double> Distance(static_cast<std::size_t>(Samples) + 1);
    const auto Sample = [&](int i) { return Lo + (Hi - Lo) * i / Samples; };
    for (int i = 0; i <= Samples; ++i) Distance[static_cast<std::size_t>(i)] = VectorDistance(EvaluatePoint(Sample(i)), P);

    // The minimum of the distance between the samples on either side of sample i: golden-section
    // steps close in on it wherever the curve turns, then Newton steps polish it while they bring the
    // point nearer (near a sharp turn a plain Newton step can overshoot and stall off the curve).
    const auto Refine = [&](int i, TCurveDerivatives& D) {
        double a = Sample(std::max(i - 1, 0));
        double b = Sample(std::min(i + 1, Samples));
        const auto Squared = [&](double t) {
            const TMVector q = VectorFromTo(P, EvaluatePoint(t));
            return VectorDot(q, q);
        };
        constexpr double Golden = 0.381966011250105;
        double x1 = a + Golden * (b - a), x2 = b - Golden * (b - a);
        double f1 = Squared(x1), f2 = Squared(x2);
        for (int Step = 0; Step < 100 && b - a > 1e-15 * (Hi - Lo); ++Step) {
            if (f1 <= f2) {
                b = x2, x2 = x1, f2 = f1;
                x1 = a + Golden * (b - a), f1 = Squared(x1);
            } else {
                a = x1, x1 = x2, f1 = f2;
                x2 = b - Golden * (b - a), f2 = Squared(x2);
            }
        }
        double t = f1 <= f2 ? x1 : x2;
        const double WLo = Sample(std::max(i - 1, 0));
        const double WHi = Sample(std::min(i + 1, Samples));
        D = Derivatives(t);
        for (int Step = 0; Step <= 100; ++Step) {
            const TMVector q = VectorFromTo(P, D[0]);
            if (VectorLength(q) <= 1e-6) break;
            const double Denominator = VectorDot(D[2], q) + VectorDot(D[1], D[1]);
            if (!(Denominator > 0) || !std::isfinite(Denominator)) break;
            const double Next = std::clamp(t - VectorDot(D[1], q) / Denominator, WLo, WHi);
            if (VectorLength(D[1]) * std::fabs(Next - t) <= 1e-6) break;
            TCurveDerivatives E = Derivatives(Next);
            if (!(VectorDistance(E[0], P) < VectorLength(q))) break;
            t = Next;
            D = std::move(E);
        }
        return t;
    };

    // A curve that comes near itself has a local minimum of the distance on every branch, and the
    // nearest sample may sit on the wrong one: each local minimum is refined and the best is kept.
    // A run of equal distances counts once, at its start.
    bool Found = false;
    double BestDistance = 0;
    TMVector BestPoint{};
    TCurveDerivatives D;
    for (int i = 0; i <= Samples; ++i) {
        const double d = Distance[static_cast<std::size_t>(i)];
        const bool BelowPrevious = i == 0 || d < Distance[static_cast<std::size_t>(i) - 1];
        const bool NotAboveNext = i == Samples || d <= Distance[static_cast<std::size_t>(i) + 1];
        if (!BelowPrevious || !NotAboveNext) continue;
        const double t = Refine(i, D);
        const double Refined = VectorDistance(D[0], P);
        if (!Found || Refined < BestDistance) {
            Found = true;
            BestDistance = Refined;
            BestPoint = D[0];
            T = t;
        }
    }
    if (!Found) {  // distances that are not numbers have no minimum
        T = Lo;
        BestPoint = Derivatives(Lo)[0];
    }
    return BestPoint;
}

// ---- Knuckles ----

bool TBSpline::KnuckleAllowed(int Index) const {
    return KnotType == ktOpen && Index >= 1 && Index <= Count() - 2;
}

void TBSpline::FindKnuckle(int Index, int& First, int& Last, bool& Found) const {
    const int n = Count();
    const int k = FOrder;
    Found = false;
    First = Last = -1;
    const int To = std::min(Index + k - 2, n - 2) - k + 2;
    for (int f = std::max(1, Index - k + 2); f <= To; ++f) {
        const TRPoint& P = *Point(f);
        bool Run = true;
        for (int i = f + 1; i <= f + k - 2 && Run; ++i) Run = Point(i)->IsEqual(P);
        if (Run) {
            First = f;
            Last = f + k - 2;
            Found = true;
            return;
        }
    }
}

bool TBSpline::IsKnuckle(int Index) const {
    if (KnotType != ktOpen) return false;
    int First, Last;
    bool Found;
    FindKnuckle(Index, First, Last, Found);
    return Found;
}

void TBSpline::SetKnuckle(int Index, bool On) {
    if (KnotType != ktOpen || IsKnuckle(Index) == On) return;
    const TRPoint Source = *static_cast<const TRPoints&>(*this).Point(Index);
    if (On) {
        const int Copies = std::max(0, FOrder - 2);
        CheckKnotLimit(Count() + Copies, FOrder);
        for (int i = 0; i < Copies; ++i) Insert(Index, Source.Clone());
    } else {
        int First, Last;
        bool Found;
        FindKnuckle(Index, First, Last, Found);
        for (int i = Last; i > First; --i) Delete(i);
    }
}

bool TBSpline::IsSameAs(TBSpline& Other) {
    UpdateKnots();
    Other.UpdateKnots();
    if (Count() != Other.Count() || FOrder != Other.FOrder || KnotType != Other.KnotType) return false;
    for (int i = 0; i < Count(); ++i)
        if (!PointsEqual(*Point(i), *Other.Point(i), 1e-9)) return false;
    // Only the knots in use: values beyond them are left over from earlier states of a curve.
    for (int i = 1; i <= KnotCount(); ++i)
        if (U(i) != Other.U(i)) return false;
    return true;
}

// ---- Free routines ----

void InsertSortedKnotValue(TKnotArray& Knots, double V) {
    // A value equal to the first one goes to the front as well: it belongs to the sorted part.
    if (V <= Knots[0]) {
        std::copy_backward(Knots.begin(), Knots.end() - 1, Knots.end());
        Knots[0] = V;
        return;
    }
    for (std::size_t j = 1; j < Knots.size(); ++j) {
        if (Knots[j - 1] < V && V <= Knots[j]) {
            std::copy_backward(Knots.begin() + static_cast<std::ptrdiff_t>(j), Knots.end() - 1, Knots.end());
            Knots[j] = V;
            return;
        }
        if (Knots[j - 1] > Knots[j] && Knots[j - 1] < V) {
            Knots[j] = V;
            return;
        }
    }
}

}  // namespace sarnova
