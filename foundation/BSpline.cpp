#include "foundation/BSpline.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "foundation/Graphics.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// Degrees up to this one evaluate derivatives in stack buffers; higher ones (forced Bezier curves of
// many points) allocate their tables.
constexpr int StackDegree = 15;

// The basis functions of span Span (1-based) and their derivatives up to order Count (at most
// Degree), Piegl and Tiller's algorithm. Work holds (p + 1)^2 + 2 (p + 1) + 2 (p + 1) values and
// Ders (Count + 1) (p + 1), row r at Ders + r (p + 1). The caller has checked the span. A fixed degree
// and count (0 and up) let the compiler unroll the loops of the common low degrees; the arithmetic
// is the same, so are the results.
template <int FixedP = -1, int FixedCount = -1>
void BasisDerivativesCore(int Span, int PArg, int CountArg, const TKnotArray& Knots, double T, double* Work,
                          double* Ders) {
    const int p = FixedP >= 0 ? FixedP : PArg;
    const int Count = FixedCount >= 0 ? FixedCount : CountArg;
    const int w = p + 1;
    double* ndu = Work;           // ndu[j][r] at ndu[j * w + r]
    double* left = ndu + w * w;   // left[j], right[j] for j = 1 .. p
    double* right = left + w;
    double* a = right + w;        // two alternating rows of w coefficients
    const int i = Span - 1;       // Knots is numbered from 0
    ndu[0] = 1.0;
    for (int j = 1; j <= p; ++j) {
        left[j] = T - Knots[static_cast<std::size_t>(i + 1 - j)];
        right[j] = Knots[static_cast<std::size_t>(i + j)] - T;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            ndu[j * w + r] = right[r + 1] + left[j - r];
            const double temp = ndu[r * w + j - 1] / ndu[j * w + r];
            ndu[r * w + j] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        ndu[j * w + j] = saved;
    }
    for (int j = 0; j <= p; ++j) Ders[j] = ndu[j * w + p];
    for (int r = 0; r <= p; ++r) {
        double* s1 = a;
        double* s2 = a + w;
        s1[0] = 1.0;
        for (int k = 1; k <= Count; ++k) {
            double d = 0.0;
            const int rk = r - k;
            const int pk = p - k;
            if (r >= k) {
                s2[0] = s1[0] / ndu[(pk + 1) * w + rk];
                d = s2[0] * ndu[rk * w + pk];
            }
            const int j1 = rk >= -1 ? 1 : -rk;
            const int j2 = r - 1 <= pk ? k - 1 : p - r;
            for (int j = j1; j <= j2; ++j) {
                s2[j] = (s1[j] - s1[j - 1]) / ndu[(pk + 1) * w + rk + j];
                d += s2[j] * ndu[(rk + j) * w + pk];
            }
            if (r <= pk) {
                s2[k] = -s1[k - 1] / ndu[(pk + 1) * w + r];
                d += s2[k] * ndu[r * w + pk];
            }
            Ders[k * w + r] = d;
            std::swap(s1, s2);
        }
    }
    double f = p;
    for (int k = 1; k <= Count; ++k) {
        for (int j = 0; j <= p; ++j) Ders[k * w + j] *= f;
        f *= p - k;
    }
}

// BasisDerivativesCore of a fixed degree for every count up to the degree.
template <int P>
void FixedDegreeCore(int Span, int Count, const TKnotArray& Knots, double T, double* Ders) {
    std::array<double, (P + 1) * (P + 5)> Work;
    switch (Count) {
        case 0: BasisDerivativesCore<P, 0>(Span, P, 0, Knots, T, Work.data(), Ders); return;
        case 1: BasisDerivativesCore<P, 1>(Span, P, 1, Knots, T, Work.data(), Ders); return;
        case 2: BasisDerivativesCore<P, 2>(Span, P, 2, Knots, T, Work.data(), Ders); return;
        default: BasisDerivativesCore<P>(Span, P, Count, Knots, T, Work.data(), Ders); return;
    }
}

// BasisDerivativesCore with its work space on the stack, or on the heap above StackDegree; the
// quadratic and cubic cases unrolled.
void CoreWithScratch(int Span, int p, int Count, const TKnotArray& Knots, double T, double* Ders) {
    if (p == 3) return FixedDegreeCore<3>(Span, Count, Knots, T, Ders);
    if (p == 2) return FixedDegreeCore<2>(Span, Count, Knots, T, Ders);
    std::array<double, (StackDegree + 1) * (StackDegree + 5)> StackWork;
    std::vector<double> HeapWork;
    double* Work = StackWork.data();
    if (p > StackDegree) {
        HeapWork.resize(static_cast<std::size_t>(p + 1) * static_cast<std::size_t>(p + 5));
        Work = HeapWork.data();
    }
    BasisDerivativesCore(Span, p, Count, Knots, T, Work, Ders);
}

// The Cox-de Boor triangle of the span s holding T when its whole window lies inside the knots
// (Order <= s <= N), unrolled for the order: the arithmetic of the general loop in CoxDeBoorBasis, so
// the same values. Writes V[s - K + 1 .. s].
template <int K>
void FullWindowBasis(const TKnotArray& Knots, int s, double T, TBasisValues& V) {
    // u[j] is knot s - K + 1 + j, N[j] the basis function of that number.
    const double* u = Knots.data() + (s - K);
    double N[K + 1] = {};
    N[K - 1] = 1.0;
    for (int p = 2; p <= K; ++p)
        for (int j = K - p; j <= K - 1; ++j) {
            const double Ni = N[j];
            const double Ni1 = N[j + 1];
            const double a = Ni != 0 ? (T - u[j]) * Ni / (u[j + p - 1] - u[j]) : 0.0;
            const double b = Ni1 != 0 ? (u[j + p] - T) * Ni1 / (u[j + p] - u[j + 1]) : 0.0;
            N[j] = a + b;
        }
    for (int j = 0; j < K; ++j) V[static_cast<std::size_t>(s - K + 1 + j)] = N[j];
}

// The basis functions of order k of span s (1-based, k <= s) at T and their first derivatives in
// one pass of the Cox-de Boor triangle: the quotients of its last level give both, so the derivative
// costs a few multiplications more than the value. N[j] and D[j] belong to control point s - k + j
// (0-based), j = 0 .. k - 1. k is at most StackDegree + 1.
void BasisAndFirstDerivative(const TKnotArray& Knots, int s, int k, double T, double* N, double* D) {
    // u[j] is knot s - k + 1 + j.
    const double* u = Knots.data() + (s - k);
    std::array<double, StackDegree + 2> L{};
    L[static_cast<std::size_t>(k - 1)] = 1.0;
    for (int p = 2; p < k; ++p)
        for (int j = k - p; j <= k - 1; ++j) {
            const double Ni = L[static_cast<std::size_t>(j)];
            const double Ni1 = L[static_cast<std::size_t>(j) + 1];
            const double a = Ni != 0 ? (T - u[j]) * Ni / (u[j + p - 1] - u[j]) : 0.0;
            const double b = Ni1 != 0 ? (u[j + p] - T) * Ni1 / (u[j + p] - u[j + 1]) : 0.0;
            L[static_cast<std::size_t>(j)] = a + b;
        }
    if (k == 1) {
        N[0] = 1.0;
        D[0] = 0.0;
        return;
    }
    std::array<double, StackDegree + 2> Q{};
    for (int j = 0; j < k; ++j) {
        const double Lj = L[static_cast<std::size_t>(j)];
        Q[static_cast<std::size_t>(j)] = Lj != 0 ? Lj / (u[j + k - 1] - u[j]) : 0.0;
    }
    for (int j = 0; j < k; ++j) {
        const double Qj = Q[static_cast<std::size_t>(j)], Qj1 = Q[static_cast<std::size_t>(j) + 1];
        N[j] = (T - u[j]) * Qj + (u[j + k] - T) * Qj1;
        D[j] = (k - 1) * (Qj - Qj1);
    }
}

void CheckSpan(int Span, int Degree, const char* Routine) {
    if (Degree < 0 || Span - Degree < 0 || Span + Degree > MaxKnots)
        throw EGeometryError(Format("%s - Span %d of degree %d lies outside the %d knots",
                                    {Routine, Span, Degree, MaxKnots}));
}

// The text after the first "=" (at most 255 characters; the whole line when there is none), trimmed.
std::string FieldValue(const std::string& Line) {
    const std::size_t Eq = Line.find('=');
    const std::size_t From = Eq == std::string::npos ? 0 : Eq + 1;
    return Trim(std::string_view(Line).substr(std::min(From, Line.size()), 255));
}

double ReadLimit(const std::string& Line, const char* Message) {
    double Value = 0;
    if (!TryStrToFloat(FieldValue(Line), Value)) throw EGeometryError(Message);
    return Value;
}

}  // namespace

void CheckKnotLimit(int PointCount, int Order) {
    if (static_cast<long long>(PointCount) + Order > MaxKnots)
        throw EGeometryError(Format("TBSpline - %d control points of order %d need %d knots, more than "
                                    "the limit of %d",
                                    {PointCount, Order, static_cast<long long>(PointCount) + Order,
                                     MaxKnots}));
}

// ---- TBSpline ----

TBSpline::TBSpline(int AOrder) : FOrder(0) { SetOrder(AOrder); }

std::unique_ptr<TBSpline> TBSpline::Clone() const {
    auto Result = std::make_unique<TBSpline>(4);
    Result->Assign(*this);
    return Result;
}

void TBSpline::Assign(const TBSpline& Other) {
    if (&Other == this) return;
    TPolyline::Assign(Other);
    FOrder = Other.FOrder;
    FForcedBezier = Other.FForcedBezier;
    CopyKnotSettings(Other);
}

void TBSpline::CopyKnotSettings(const TBSpline& Other) {
    DisplaySegments = Other.DisplaySegments;
    Tolerance = Other.Tolerance;
    KnotType = Other.KnotType;
    FKnots = Other.FKnots;
    MaxTParameter = Other.MaxTParameter;
    MinTParameter = Other.MinTParameter;
    KnotsChanged();
}

std::unique_ptr<TBSpline> TBSpline::Transformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TBSpline>(FOrder);
    for (int i = 0; i < Count(); ++i) Result->Add(Point(i)->Transformed(M));
    Result->SetOrder(FOrder);
    Result->CopyKnotSettings(*this);
    Result->SetForcedBezier(FForcedBezier);
    return Result;
}

void TBSpline::SetOrder(int K) {
    if (K < 0) throw EGeometryError(Format("TBSpline - Order %d is negative", {K}));
    CheckKnotLimit(Count(), K);
    FOrder = K;
    FForcedBezier = false;
}

void TBSpline::SetForcedBezier(bool B) {
    if (B) {
        CheckKnotLimit(Count(), Count());
        FOrder = Count();
    }
    FForcedBezier = B;
}

double TBSpline::Knot(int I) const {
    if (I < 1 || I > MaxKnots)
        throw EGeometryError(Format("TBSpline - Knot %d lies outside the %d knots", {I, MaxKnots}));
    return U(I);
}

void TBSpline::SetKnot(int I, double Value) {
    if (I < 1 || I > MaxKnots)
        throw EGeometryError(Format("TBSpline - Knot %d lies outside the %d knots", {I, MaxKnots}));
    U(I) = Value;
    KnotsChanged();
}

void TBSpline::SetKnots(std::span<const double> Values) {
    if (Values.size() > static_cast<std::size_t>(MaxKnots)) SetKnot(static_cast<int>(Values.size()), 0.0);
    std::copy(Values.begin(), Values.end(), FKnots.begin());
    std::fill(FKnots.begin() + static_cast<std::ptrdiff_t>(Values.size()), FKnots.end(), 0.0);
    KnotsChanged();
}

double TBSpline::Basis(int I) const {
    if (I < 1 || I > MaxKnots)
        throw EGeometryError(Format("TBSpline - Basis function %d lies outside the %d knots", {I, MaxKnots}));
    return FBasis[static_cast<std::size_t>(I - 1)];
}

int TBSpline::SortedKnots() const {
    if (FSortedKnots < 0) FSortedKnots = SortedKnotRun(FKnots);
    return FSortedKnots;
}

void TBSpline::UpdateKnots() {
    const int n = Count();
    if (KnotType == ktOpen && FForcedBezier) {
        CheckKnotLimit(n, n);
        FOrder = n;
    }
    const int k = FOrder;
    CheckKnotLimit(n, k);
    if (FBuiltCount == n && FBuiltOrder == k && FBuiltType == KnotType) return;
    const int m = n + k;
    switch (KnotType) {
        case ktOpen:
            U(1) = 0;
            for (int i = 2; i <= m; ++i) U(i) = k < i && i < n + 2 ? U(i - 1) + 1 : U(i - 1);
            FSortedKnots = m;
            break;
        case ktPeriodic:
            for (int i = 1; i <= m; ++i) U(i) = i - 1;
            FSortedKnots = m;
            break;
        case ktNonUniform:
        case ktCustom:
            // Min and max as the runtime has them: a NaN knot gives way to its neighbour.
            for (int i = k - 1; i >= 1; --i) U(i) = U(i) < U(i + 1) ? U(i) : U(i + 1);
            for (int i = k + 1; i <= m; ++i) U(i) = U(i) > U(i - 1) ? U(i) : U(i - 1);
            FSortedKnots = -1;
            break;
    }
    FBuiltCount = n;
    FBuiltOrder = k;
    FBuiltType = KnotType;
}

double TBSpline::MaxT() const {
    const double Last = KnotOrZero(Count() + 1);
    switch (KnotType) {
        case ktOpen:
        case ktPeriodic:
        case ktNonUniform:
            return Last;
        case ktCustom:
            return std::min(Last, MaxTParameter - 1e-6);
    }
    throw EGeometryError("Undefinied Parameter range for BSpline");
}

double TBSpline::MinT() const {
    const double First = KnotOrZero(FOrder);
    switch (KnotType) {
        case ktOpen:
        case ktPeriodic:
        case ktNonUniform:
            return First;
        case ktCustom:
            return std::max(First, MinTParameter + 1e-6);
    }
    throw EGeometryError("Undefinied Parameter range for BSpline");
}

void TBSpline::ComputeBasisRange(double T, int& First, int& Last) {
    const int n = Count();
    const int k = FOrder;
    CheckKnotLimit(n, k);
    // Basis is zero outside [FBasisFirst, FBasisLast]; clear the last window only.
    if (FBasisFirst <= FBasisLast)
        std::fill(FBasis.begin() + (FBasisFirst - 1), FBasis.begin() + FBasisLast, 0.0);
    TBasisValues N;
    CoxDeBoorBasis(n, k, FKnots, n > 0 && k >= 1 && SortedKnots() >= n + k, T, N, First, Last);
    for (int i = First; i <= Last; ++i) FBasis[static_cast<std::size_t>(i - 1)] = N[static_cast<std::size_t>(i)];
    FBasisFirst = First;
    FBasisLast = Last;
}

void TBSpline::ComputeBasis(double T) {
    int First, Last;
    ComputeBasisRange(T, First, Last);
}

TMVector TBSpline::SumBasis(int First, int Last) const {
    TMVector Result{0, 0, 0};
    for (int i = First; i <= Last; ++i) {
        const double b = FBasis[static_cast<std::size_t>(i - 1)];
        if (b > 0) {
            const TRPoint* P = Point(i - 1);
            Result.X += b * P->X;
            Result.Y += b * P->Y;
            Result.Z += b * P->Z;
        }
    }
    return Result;
}

TMVector TBSpline::EvaluatePoint(double T) {
    int First, Last;
    ComputeBasisRange(T, First, Last);
    return SumBasis(First, Last);
}

std::unique_ptr<TRPoint> TBSpline::PointAt(double T) {
    auto Result = std::make_unique<TRPoint>(EvaluatePoint(T));
    Result->T = T;
    return Result;
}

std::unique_ptr<TRPoint> TBSpline::PointAtX(double X) {
    UpdateKnots();
    return SearchCoordinate(0, X, MinT(), MaxT(), Tolerance);
}

std::unique_ptr<TRPoint> TBSpline::PointAtY(double Y) {
    UpdateKnots();
    return SearchCoordinate(1, Y, MinT(), MaxT(), Tolerance);
}

std::unique_ptr<TRPoint> TBSpline::PointAtZ(double Z) {
    UpdateKnots();
    return SearchCoordinate(2, Z, MinT(), MaxT(), Tolerance);
}

int TBSpline::SpanOf(double T) {
    const int n = Count();
    const int k = FOrder;
    const int h = FSpanHint;
    // On knots in order only one span holds T, so a span found to hold it is the one the search
    // would find. Curves are mostly evaluated along their parameter: the last span, or the next.
    if (h >= k && h <= n && SortedKnots() >= n + k) {
        if (U(h) <= T && T < U(h + 1)) return h;
        if (h < n && U(h + 1) <= T && T < U(h + 2)) return FSpanHint = h + 1;
    }
    return FSpanHint = FindKnotSpan(n, k - 1, FKnots, T);
}

void TBSpline::DerivativesUpTo(double T, int Levels, TMVector* Out) {
    UpdateKnots();
    std::fill(Out, Out + Levels + 1, TMVector{});
    const int n = Count();
    const int k = FOrder;
    if (k < 1 || n < k) return;
    const int s = SpanOf(T);
    if (s < 0) return;
    const int p = k - 1;
    const int w = p + 1;
    std::array<double, 4 * (StackDegree + 1)> StackDers;
    std::vector<double> HeapDers;
    std::span<double> Ders(StackDers);
    if (p > StackDegree) {
        HeapDers.resize(4 * static_cast<std::size_t>(w));
        Ders = HeapDers;
    }
    BasisFunctionDerivativesInto(s, p, Levels, FKnots, T, Ders);
    for (int j = 0; j <= p; ++j) {
        const TMVector P = PointVector(s - k + j);
        for (int r = 0; r <= Levels; ++r) Out[r] = VectorAdd(Out[r], VectorScale(P, Ders[static_cast<std::size_t>(r * w + j)]));
    }
}

TCurveDerivatives TBSpline::Derivatives(double T) {
    TCurveDerivatives Result;
    DerivativesUpTo(T, 3, Result.data());
    return Result;
}

TCurveFirstDerivatives TBSpline::FirstDerivatives(double T) {
    TCurveFirstDerivatives Result{};
    const int k = FOrder;
    if (k > StackDegree + 1) {
        DerivativesUpTo(T, 1, Result.data());
        return Result;
    }
    UpdateKnots();
    const int n = Count();
    if (k < 1 || n < k) return Result;
    const int s = SpanOf(T);
    if (s < 0) return Result;
    std::array<double, StackDegree + 1> N, D;
    BasisAndFirstDerivative(FKnots, s, k, T, N.data(), D.data());
    for (int j = 0; j < k; ++j) {
        const TRPoint& P = *std::as_const(*this).Point(s - k + j);
        const double a = N[static_cast<std::size_t>(j)], b = D[static_cast<std::size_t>(j)];
        Result[0].X += a * P.X;
        Result[0].Y += a * P.Y;
        Result[0].Z += a * P.Z;
        Result[1].X += b * P.X;
        Result[1].Y += b * P.Y;
        Result[1].Z += b * P.Z;
    }
    return Result;
}

TFrenetFrame TBSpline::FrenetFrame(double T) { return FrenetFrameFromDerivatives(Derivatives(T)); }

TDigitisationParameters TBSpline::DigitisationParameters(bool ByKnotInterval) {
    UpdateKnots();
    const int n = Count();
    const int Samples = 10 * n > 100 ? 10 * n : 100;
    return ParameterisationArray(n, FOrder, Samples, ByKnotInterval, FKnots, MinT(), MaxT());
}

std::unique_ptr<TPolyline> TBSpline::Digitise() {
    const int n = Count();
    if (n == 0 || n < FOrder) return TPolyline::Digitise();
    UpdateKnots();
    const TDigitisationParameters Params =
        ParameterisationArray(n, FOrder, DisplaySegments, true, FKnots, MinT(), MaxT());
    auto Result = std::make_unique<TPolyline>();
    for (const double t : Params) Result->Add(PointAt(t));
    return Result;
}

void TBSpline::Draw(IGraphics& G) {
    const int n = Count();
    if (n == 0 || n < FOrder || FOrder < 3 || n > 200) {
        TPolyline::Draw(G);
        return;
    }
    UpdateKnots();
    const TDigitisationParameters Params =
        ParameterisationArray(n, FOrder, DisplaySegments, true, FKnots, MinT(), MaxT());
    TRPoint P;
    for (std::size_t i = 0; i < Params.size(); ++i) {
        P.SetVector(EvaluatePoint(Params[i]));
        P.T = Params[i];
        if (i == 0)
            G.LineStartPoint(P);
        else
            G.LineNextPoint(P);
    }
    G.LineFinish();
}

void TBSpline::Reverse() {
    if (KnotType == ktNonUniform || KnotType == ktCustom) {
        const int m = KnotCount();
        CheckKnotLimit(Count(), FOrder);
        const TKnotArray Old = FKnots;
        const auto OldU = [&Old](int I) { return I >= 1 ? Old[static_cast<std::size_t>(I - 1)] : 0.0; };
        // Any constant mirrors the parameter; this one keeps a clamped range where it was.
        const double Mirror = OldU(FOrder) + OldU(m);
        for (int i = 1; i <= m; ++i) U(i) = Mirror - OldU(m + 1 - i);
        if (KnotType == ktCustom) {
            const double Lower = MinTParameter;
            MinTParameter = Mirror - MaxTParameter;
            MaxTParameter = Mirror - Lower;
        }
        KnotsChanged();
    }
    TPolyline::Reverse();
}

std::string TBSpline::KnotTypeText() const { return KnotTypeName(KnotType); }

void TBSpline::KnotTypeByString(std::string_view S) {
    if (!KnotTypeFromText(S, KnotType)) throw EGeometryError("TBSpline.KnotTypeByString - Unknown knotType");
}

std::string TBSpline::KnotsText() const {
    CheckKnotLimit(Count(), FOrder);
    return KnotArrayText(FKnots, KnotCount());
}

void TBSpline::SetKnotsText(std::string_view S) {
    ReadKnotArrayText(S, FKnots, "TBSpline.SetKnotsText");
    KnotsChanged();
}

void TBSpline::SaveToText(TTextWriter& F) {
    if (KnotType != ktOpen) F.WriteLine("KnotType=" + KnotTypeText());
    if (KnotType == ktNonUniform || KnotType == ktCustom) {
        F.WriteLine("Knot=" + KnotsText());
        // A Custom curve writes its own limits: the range it evaluates lies 1e-6 inside them, and
        // writing that would narrow the curve by 1e-6 at each save.
        const double Lower = KnotType == ktCustom ? MinTParameter : MinT();
        const double Upper = KnotType == ktCustom ? MaxTParameter : MaxT();
        F.WriteLine("MinTParameter=" + FloatToStrWithPoint(Lower));
        F.WriteLine("MaxTParameter=" + FloatToStrWithPoint(Upper));
    }
    if (FForcedBezier) F.WriteLine("ForcedBezier");
    F.WriteLine("Order=" + IntToStr(FOrder));
    F.WriteLine("NumPoints=" + IntToStr(Count()));
    // The polyline block with six decimals instead of three.
    for (int i = 0; i < Count(); ++i) {
        const TRPoint* P = Point(i);
        F.WriteLine(FormatWithPoint("%10.6f %10.6f %10.6f", {P->X, P->Y, P->Z}));
    }
}

void TBSpline::LoadFromText(TTextReader& F) {
    std::string Line = F.ReadLine();
    int KnotsGiven = -1;
    if (UpperCase(Line).find("KNOTTYPE") != std::string::npos) {
        KnotTypeByString(Line);
        Line = F.ReadLine();
        if (KnotType == ktNonUniform || KnotType == ktCustom) {
            KnotsGiven = ReadKnotArrayText(Line, FKnots, "TBSpline.SetKnotsText");
            KnotsChanged();
            MinTParameter = ReadLimit(F.ReadLine(), "Error in field BSplineSurface.MinTParameter");
            MaxTParameter = ReadLimit(F.ReadLine(), "Error in field BSplineSurface.MaxTParameter");
            Line = F.ReadLine();
        }
    }
    if (Line == "ForcedBezier") {
        SetForcedBezier(true);
        Line = F.ReadLine();
    }
    int K = 0;
    if (!TryStrToInt(FieldValue(Line), K) || K < 0) throw EGeometryError("Error in field BSpline.Order");
    CheckKnotLimit(Count(), K);
    FOrder = K;
    // The point reader grows the list one line at a time, so a huge count ends at the end of the
    // text; the knot limit is checked on what was read.
    TPolyline::LoadFromText(F);
    CheckKnotLimit(Count(), FOrder);
    CheckReadKnots("B-spline", Count(), FOrder, KnotsGiven, FKnots);
}

// ---- Free routines ----

// Cox-de Boor recursion. On a non-decreasing knot vector only the k functions of the span holding T
// can be non-zero, and every other function of the full recursion comes out exactly 0 (a term whose
// lower-order value is 0 is skipped), so the recursion is run on that window alone: the same values,
// O(k^2) instead of O(n k). Knots out of order take the full recursion.
void CoxDeBoorBasis(int N, int Order, const TKnotArray& Knots, bool Sorted, double T, TBasisValues& Values,
                    int& First, int& Last) {
    const int n = N;
    const int k = Order;
    First = 1;
    Last = 0;
    if (n <= 0 || k < 1) return;
    CheckKnotLimit(n, k);
    const auto U = [&Knots](int I) { return Knots[static_cast<std::size_t>(I - 1)]; };
    auto& V = Values;  // V[1 .. m]; only the window is initialised
    const int m = n + k;
    if (Sorted) {
        if (!(T >= U(1) && T < U(m))) {
            if (T == U(m)) {
                First = Last = n;
                V[static_cast<std::size_t>(n)] = 1.0;
            }
            return;
        }
        // u[s] <= T < u[s+1]: the one step function that is 1.
        const int s = static_cast<int>(std::upper_bound(Knots.begin(), Knots.begin() + m, T) - Knots.begin());
        if (k >= 2 && k <= 4 && s >= k && s <= n) {
            if (k == 4)
                FullWindowBasis<4>(Knots, s, T, V);
            else if (k == 3)
                FullWindowBasis<3>(Knots, s, T, V);
            else
                FullWindowBasis<2>(Knots, s, T, V);
            First = s - k + 1;
            Last = s;
            return;
        }
        const int Lo = std::max(1, s - k + 1);
        for (int i = Lo; i <= std::min(s + 1, m); ++i) V[static_cast<std::size_t>(i)] = 0.0;
        V[static_cast<std::size_t>(s)] = 1.0;
        for (int p = 2; p <= k; ++p) {
            const int Hi = std::min(s, m - p);
            for (int i = std::max(1, s - p + 1); i <= Hi; ++i) {
                const double Ni = V[static_cast<std::size_t>(i)];
                const double Ni1 = V[static_cast<std::size_t>(i + 1)];
                const double a = Ni != 0 ? (T - U(i)) * Ni / (U(i + p - 1) - U(i)) : 0.0;
                const double b = Ni1 != 0 ? (U(i + p) - T) * Ni1 / (U(i + p) - U(i + 1)) : 0.0;
                V[static_cast<std::size_t>(i)] = a + b;
            }
        }
        First = Lo;
        Last = std::min(s, n);
    } else {
        for (int i = 1; i <= m - 1; ++i) V[static_cast<std::size_t>(i)] = U(i) <= T && T < U(i + 1) ? 1.0 : 0.0;
        V[static_cast<std::size_t>(m)] = 0.0;
        for (int p = 2; p <= k; ++p)
            for (int i = 1; i <= m - p; ++i) {
                const double Ni = V[static_cast<std::size_t>(i)];
                const double Ni1 = V[static_cast<std::size_t>(i + 1)];
                const double a = Ni != 0 ? (T - U(i)) * Ni / (U(i + p - 1) - U(i)) : 0.0;
                const double b = Ni1 != 0 ? (U(i + p) - T) * Ni1 / (U(i + p) - U(i + 1)) : 0.0;
                V[static_cast<std::size_t>(i)] = a + b;
            }
        if (T == U(m)) V[static_cast<std::size_t>(n)] = 1.0;
        First = 1;
        Last = n;
    }
}

int SortedKnotRun(const TKnotArray& Knots) {
    int s = 1;
    while (s < MaxKnots && Knots[static_cast<std::size_t>(s - 1)] <= Knots[static_cast<std::size_t>(s)]) ++s;
    return s;
}

std::string KnotTypeName(TKnotType Type) {
    switch (Type) {
        case ktOpen: return "Open";
        case ktPeriodic: return "Periodic";
        case ktNonUniform: return "NonUniform";
        default: return "Custom";
    }
}

bool KnotTypeFromText(std::string_view Text, TKnotType& Type) {
    const std::string Upper = UpperCase(Text);
    const std::pair<const char*, TKnotType> Names[] = {
        {"OPEN", ktOpen}, {"PERIODIC", ktPeriodic}, {"NONUNIFORM", ktNonUniform}, {"CUSTOM", ktCustom}};
    for (const auto& [Name, Value] : Names)
        if (Upper.find(Name) != std::string::npos) {
            Type = Value;
            return true;
        }
    return false;
}

std::string KnotArrayText(const TKnotArray& Knots, int Count) {
    std::string Result = "[";
    for (int i = 1; i <= std::min(Count, MaxKnots); ++i) {
        if (i > 1) Result += ' ';
        Result += FloatToStrWithPoint(Knots[static_cast<std::size_t>(i - 1)]);
    }
    return Result + "]";
}

int ReadKnotArrayText(std::string_view S, TKnotArray& Knots, const char* Routine) {
    std::string_view Body = S.substr(0, S.find(']'));
    const std::size_t Open = Body.find('[');
    if (Open != std::string_view::npos) Body = Body.substr(Open + 1);
    const int Words = WordCount(Body);
    if (Words > MaxKnots)
        throw EGeometryError(Format("%s - %d knots given, more than the limit of %d", {Routine, Words, MaxKnots}));
    TKnotArray Values{};
    for (int i = 1; i <= Words; ++i) Values[static_cast<std::size_t>(i - 1)] = ParseFloat(ExtractWord(Body, i));
    std::copy(Values.begin(), Values.begin() + Words, Knots.begin());
    return Words;
}

void CheckReadKnots(const char* What, int Points, int Order, int Given, const TKnotArray& Knots) {
    if (Order < 1) throw EGeometryError(Format("%s order %d is less than 1", {What, Order}));
    if (Order > Points) throw EGeometryError(Format("%s order %d exceeds its %d points", {What, Order, Points}));
    if (Given < 0) return;
    if (Given != Points + Order)
        throw EGeometryError(Format("%s has %d knots where %d points of order %d need %d",
                                    {What, Given, Points, Order, Points + Order}));
    // A range of no length leaves every basis function undefined.
    if (!(Knots[static_cast<std::size_t>(Order - 1)] < Knots[static_cast<std::size_t>(Points)]))
        throw EGeometryError(Format("%s knots span no parameter range", {What}));
}

int FindKnotSpan(int N, int Degree, const TKnotArray& Knots, double T) {
    if (Degree < 0 || N < Degree + 1 || N + 1 > MaxKnots) return -1;
    const auto u = [&Knots](int I) { return Knots[static_cast<std::size_t>(I - 1)]; };
    if (!(T >= u(Degree + 1) && T <= u(N + 1))) return -1;
    if (T == u(N + 1)) return N;
    // Invariant u[Low] <= T < u[High]; the interval halves each round, whatever order the knots are in.
    int Low = Degree + 1;
    int High = N + 1;
    // Written without branches: which half T lies in is as good as random, and a mispredicted jump
    // per halving would cost more than the rest of an evaluation.
    while (High - Low > 1) {
        const int Mid = (Low + High) / 2;
        const bool Below = T < u(Mid);
        High = Below ? Mid : High;
        Low = Below ? Low : Mid;
    }
    return Low;
}

void BasisFunctionDerivatives(int Span, int Degree, int Count, TBSplineDerivatives& Result,
                              const TKnotArray& Knots, double T) {
    CheckSpan(Span, Degree, "BasisFunctionDerivatives");
    const std::size_t w = static_cast<std::size_t>(Degree) + 1;
    const int Rows = std::max(0, Count);
    std::vector<double> Ders((static_cast<std::size_t>(Rows) + 1) * w);
    BasisFunctionDerivativesInto(Span, Degree, Rows, Knots, T, Ders);
    Result.assign(static_cast<std::size_t>(Rows) + 1, std::vector<double>(w, 0.0));
    for (std::size_t r = 0; r < Result.size(); ++r)
        std::copy(Ders.begin() + static_cast<std::ptrdiff_t>(r * w), Ders.begin() + static_cast<std::ptrdiff_t>((r + 1) * w),
                  Result[r].begin());
}

void BasisFunctionDerivativesInto(int Span, int Degree, int Count, const TKnotArray& Knots, double T,
                                  std::span<double> Ders) {
    CheckSpan(Span, Degree, "BasisFunctionDerivatives");
    const std::size_t w = static_cast<std::size_t>(Degree) + 1;
    const std::size_t Rows = static_cast<std::size_t>(std::max(0, Count));
    if (Ders.size() < (Rows + 1) * w)
        throw EGeometryError(Format("BasisFunctionDerivatives - Room for %d values, %d needed",
                                    {static_cast<long long>(Ders.size()), static_cast<long long>((Rows + 1) * w)}));
    // Rows above the degree are zero.
    const std::size_t Computed = std::min(Rows, static_cast<std::size_t>(Degree));
    CoreWithScratch(Span, Degree, static_cast<int>(Computed), Knots, T, Ders.data());
    std::fill(Ders.begin() + static_cast<std::ptrdiff_t>((Computed + 1) * w),
              Ders.begin() + static_cast<std::ptrdiff_t>((Rows + 1) * w), 0.0);
}

void BasisFunctions(int Span, int Degree, const TKnotArray& Knots, std::span<double> Result, double T) {
    CheckSpan(Span + 1, Degree, "BasisFunctions");
    const std::size_t w = static_cast<std::size_t>(Degree) + 1;
    if (Result.size() < w)
        throw EGeometryError(Format("BasisFunctions - Room for %d values, %d needed",
                                    {static_cast<long long>(Result.size()), static_cast<long long>(w)}));
    CoreWithScratch(Span + 1, Degree, 0, Knots, T, Result.data());
}

TDigitisationParameters ParameterisationArray(int N, int Order, int Samples, bool ByKnotInterval,
                                              const TKnotArray& Knots, double MinT, double MaxT) {
    CheckKnotLimit(N, Order);
    std::vector<double> D{Knots[0]};
    for (int i = 2; i <= N + Order; ++i)
        if (Knots[static_cast<std::size_t>(i - 1)] > D.back()) D.push_back(Knots[static_cast<std::size_t>(i - 1)]);
    if (Samples < 2) Samples = 2;
    const auto Coordinate = [&D](double t) {
        for (std::size_t j = 0; j + 1 < D.size(); ++j)
            if (D[j] <= t && t <= D[j + 1]) return static_cast<double>(j) + (t - D[j]) / (D[j + 1] - D[j]);
        throw EGeometryError("BSpline.ParameterisationArray - Knot Interval not found");
    };
    TDigitisationParameters Result(static_cast<std::size_t>(Samples));
    if (ByKnotInterval) {
        const double s0 = Coordinate(MinT);
        const double s1 = Coordinate(MaxT);
        const int LastInterval = static_cast<int>(D.size()) - 2;
        int j = 0;
        for (int i = 0; i < Samples; ++i) {
            const double s = s0 + i * (s1 - s0) / (Samples - 1);
            while (j < LastInterval && s > j + 1) ++j;
            Result[static_cast<std::size_t>(i)] = D[j] + (D[j + 1] - D[j]) * (s - j);
        }
    } else {
        for (int i = 0; i < Samples; ++i)
            Result[static_cast<std::size_t>(i)] = D.front() + (D.back() - D.front()) * i / (Samples - 1);
    }
    for (double& t : Result) {
        if (t < MinT) t = MinT;
        if (t > MaxT) t = MaxT;
    }
    return Result;
}

int BSplineSegmentCount(int N) { return N >= 20 ? N * 4 : N * (10 - (N - 2) / 3); }

}  // namespace sarnova
