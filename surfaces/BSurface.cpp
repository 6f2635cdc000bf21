#include "surfaces/BSurface.h"

#include <algorithm>
#include <array>
#include <type_traits>
#include <vector>

#include "foundation/Graphics.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/TextFile.h"

namespace sarnova {

namespace {

// Degrees up to this one evaluate derivatives in stack buffers.
constexpr int StackDegree = 15;

const char* const NoRange = "Undefinied Parameter range for BSpline Surface";

void CheckDirection(long long Points, long long Order, const char* Direction) {
    if (Points + Order > MaxKnots)
        throw EGeometryError(Format("TBSplineSurface - %d control points of order %d in %s need %d knots, more "
                                    "than the limit of %d",
                                    {Points, Order, Direction, Points + Order, MaxKnots}));
}

void CheckKnotIndex(int I) {
    if (I < 1 || I > MaxKnots)
        throw EGeometryError(Format("TBSplineSurface - Knot %d lies outside the %d knots", {I, MaxKnots}));
}

// Knot I (1-based), 0 outside the array (a degenerate order may point there).
double KnotAt(const TKnotArray& Knots, int I) {
    return I >= 1 && I <= MaxKnots ? Knots[static_cast<std::size_t>(I - 1)] : 0.0;
}

// One end of a parameter range: the knot, narrowed by the stored limit for Custom knots.
double RangeEnd(TKnotType Type, double Knot, double Limit, bool Lower) {
    switch (Type) {
        case ktOpen:
        case ktNonUniform: return Knot;
        case ktCustom: return Lower ? std::max(Limit, Knot) : std::min(Limit, Knot);
        default: throw EGeometryError(NoRange);
    }
}

// Rebuilds or tidies one knot vector of n points of order k.
void UpdateKnotVector(TKnotType Type, int n, int k, TKnotArray& Knots) {
    const auto U = [&Knots](int I) -> double& { return Knots[static_cast<std::size_t>(I - 1)]; };
    const int m = n + k;
    switch (Type) {
        case ktOpen:
            if (m < 1) return;
            U(1) = 0;
            for (int i = 2; i <= m; ++i) U(i) = k < i && i < n + 2 ? U(i - 1) + 1 : U(i - 1);
            break;
        case ktNonUniform:
        case ktCustom:
            // Min and max as the runtime has them: a NaN knot gives way to its neighbour.
            for (int i = k - 1; i >= 1; --i) U(i) = U(i) < U(i + 1) ? U(i) : U(i + 1);
            for (int i = std::max(k + 1, 2); i <= m; ++i) U(i) = U(i) > U(i - 1) ? U(i) : U(i - 1);
            break;
        case ktPeriodic:
            break;
    }
}

// The knots of a reversed direction of N knots: u'(i) = u(N) - u(N + 1 - i).
void ReverseKnots(TKnotArray& Knots, int N) {
    const TKnotArray Old = Knots;
    for (int i = 1; i <= N; ++i)
        Knots[static_cast<std::size_t>(i - 1)] = Old[static_cast<std::size_t>(N - 1)] - Old[static_cast<std::size_t>(N - i)];
}

// A text after "=", trimmed, as a real with full precision.
double ReadLimit(const std::string& Line, const char* Message) {
    double Value = 0;
    if (!TryStrToFloat(Trim(TextAfterKeyword("=", Line)), Value)) throw EGeometryError(Message);
    return Value;
}

int ReadOrder(const std::string& Line, const char* Message) {
    int Value = 0;
    if (!TryStrToInt(Trim(TextAfterKeyword("=", Line)), Value) || Value < 0) throw EGeometryError(Message);
    return Value;
}

// The basis functions of every parameter of one direction, computed once for a grid of samples.
struct TBasisTable {
    struct TSpan {
        int First = 1;
        int Last = 0;
        std::size_t Offset = 0;
    };
    std::vector<TSpan> Spans;
    std::vector<double> Values;

    TBasisTable(int n, int k, const TKnotArray& Knots, bool Sorted, const TDigitisationParameters& Params) {
        TBasisValues N;
        Spans.reserve(Params.size());
        for (const double t : Params) {
            TSpan S;
            CoxDeBoorBasis(n, k, Knots, Sorted, t, N, S.First, S.Last);
            S.Offset = Values.size();
            for (int i = S.First; i <= S.Last; ++i) Values.push_back(N[static_cast<std::size_t>(i)]);
            Spans.push_back(S);
        }
    }
    const double* At(std::size_t Index) const { return Values.data() + Spans[Index].Offset; }
};

// A table of basis derivatives, rows 0 to 2, on the stack for ordinary degrees.
class TDerivativeTable {
public:
    explicit TDerivativeTable(int Degree) : FWidth(static_cast<std::size_t>(std::max(Degree, 0)) + 1) {
        if (Degree > StackDegree) {
            FHeap.resize(3 * FWidth);
            FData = FHeap.data();
        }
    }
    std::span<double> Span() { return {FData, 3 * FWidth}; }
    double At(int Row, int Column) const { return FData[static_cast<std::size_t>(Row) * FWidth + static_cast<std::size_t>(Column)]; }

private:
    std::size_t FWidth;
    std::array<double, 3 * (StackDegree + 1)> FStack;
    std::vector<double> FHeap;
    double* FData = FStack.data();
};

}  // namespace

// ---- Construction and settings ----

TBSplineSurface::TBSplineSurface(int ANumU, int ANumV) : TMesh(ANumU, ANumV) { TBSplineSurface::SetSize(ANumU, ANumV); }

void TBSplineSurface::SetSize(int ANumU, int ANumV) {
    StoreSize(ANumU, ANumV);
    FOrderU = 4;
    FOrderV = 4;
    SetNumULine(25);
    SetNumVLine(25);
    SetLinePointCount(50);
    KnotType = ktOpen;
}

void TBSplineSurface::SetOrderU(int K) {
    if (K < 0) throw EGeometryError(Format("TBSplineSurface - Order %d is negative", {K}));
    if (K == 0) throw EGeometryError("TBSplineSurface - Order 0 has no basis functions");
    CheckDirection(NumU(), K, "U");
    FForcedBezier = false;
    FOrderU = K;
}

void TBSplineSurface::SetOrderV(int K) {
    if (K < 0) throw EGeometryError(Format("TBSplineSurface - Order %d is negative", {K}));
    if (K == 0) throw EGeometryError("TBSplineSurface - Order 0 has no basis functions");
    CheckDirection(NumV(), K, "V");
    FForcedBezier = false;
    FOrderV = K;
}

void TBSplineSurface::SetForcedBezier(bool B) {
    if (B) {
        CheckDirection(NumU(), NumU(), "U");
        CheckDirection(NumV(), NumV(), "V");
        FOrderU = NumU();
        FOrderV = NumV();
    }
    FForcedBezier = B;
}

std::string TBSplineSurface::KnotTypeString() const { return KnotTypeName(KnotType); }

void TBSplineSurface::KnotTypeByString(std::string_view Text) {
    if (!KnotTypeFromText(Text, KnotType)) throw EGeometryError("TBSplineSurface.KnotTypeByString - Unknown knotType");
}

double TBSplineSurface::KnotU(int I) const {
    CheckKnotIndex(I);
    return FKnotsU[static_cast<std::size_t>(I - 1)];
}

double TBSplineSurface::KnotV(int I) const {
    CheckKnotIndex(I);
    return FKnotsV[static_cast<std::size_t>(I - 1)];
}

void TBSplineSurface::SetKnotU(int I, double Value) {
    CheckKnotIndex(I);
    FKnotsU[static_cast<std::size_t>(I - 1)] = Value;
    KnotsChanged();
}

void TBSplineSurface::SetKnotV(int I, double Value) {
    CheckKnotIndex(I);
    FKnotsV[static_cast<std::size_t>(I - 1)] = Value;
    KnotsChanged();
}

void TBSplineSurface::SetKnotsU(const TKnotArray& Knots) {
    FKnotsU = Knots;
    KnotsChanged();
}

void TBSplineSurface::SetKnotsV(const TKnotArray& Knots) {
    FKnotsV = Knots;
    KnotsChanged();
}

void TBSplineSurface::CheckKnotLimits() const {
    CheckDirection(NumU(), FOrderU, "U");
    CheckDirection(NumV(), FOrderV, "V");
}

void TBSplineSurface::CheckLoadedSize(int ANumU, int ANumV) const {
    CheckDirection(ANumU, FOrderU, "U");
    CheckDirection(ANumV, FOrderV, "V");
    if (FForcedBezier && KnotType == ktOpen) {
        CheckDirection(ANumU, ANumU, "U");
        CheckDirection(ANumV, ANumV, "V");
    }
}

// ---- Knot vectors and range ----

void TBSplineSurface::UpdateKnotsU() {
    if (KnotType == ktOpen && FForcedBezier) SetForcedBezier(true);
    CheckDirection(NumU(), FOrderU, "U");
    const TBuiltKnots Wanted{NumU(), FOrderU, KnotType};
    if (FBuiltU == Wanted) return;
    UpdateKnotVector(KnotType, NumU(), FOrderU, FKnotsU);
    FSortedU = -1;
    FBuiltU = Wanted;
}

void TBSplineSurface::UpdateKnotsV() {
    if (KnotType == ktOpen && FForcedBezier) SetForcedBezier(true);
    CheckDirection(NumV(), FOrderV, "V");
    const TBuiltKnots Wanted{NumV(), FOrderV, KnotType};
    if (FBuiltV == Wanted) return;
    UpdateKnotVector(KnotType, NumV(), FOrderV, FKnotsV);
    FSortedV = -1;
    FBuiltV = Wanted;
}

void TBSplineSurface::UpdateKnots() {
    UpdateKnotsU();
    UpdateKnotsV();
}

double TBSplineSurface::MinU() const { return RangeEnd(KnotType, KnotAt(FKnotsU, FOrderU), MinUParameter, true); }

double TBSplineSurface::MaxU() const { return RangeEnd(KnotType, KnotAt(FKnotsU, NumU() + 1), MaxUParameter, false); }

double TBSplineSurface::MinV() const { return RangeEnd(KnotType, KnotAt(FKnotsV, FOrderV), MinVParameter, true); }

double TBSplineSurface::MaxV() const { return RangeEnd(KnotType, KnotAt(FKnotsV, NumV() + 1), MaxVParameter, false); }

// ---- Evaluation ----

bool TBSplineSurface::SortedU() const {
    if (FSortedU < 0) FSortedU = SortedKnotRun(FKnotsU);
    return FSortedU >= NumU() + FOrderU;
}

bool TBSplineSurface::SortedV() const {
    if (FSortedV < 0) FSortedV = SortedKnotRun(FKnotsV);
    return FSortedV >= NumV() + FOrderV;
}

bool TBSplineSurface::CanEvaluate() const {
    return FOrderU >= 1 && FOrderV >= 1 && NumU() >= FOrderU && NumV() >= FOrderV && NumU() > 1 && NumV() > 1;
}

TMVector TBSplineSurface::SumNet(const double* Nu, int FirstU, int LastU, const double* Nv, int FirstV,
                                 int LastV) const {
    TMVector R{0, 0, 0};
    const bool Whole = PointCount() >= static_cast<long long>(NumU()) * NumV();
    for (int j = FirstV; j <= LastV; ++j) {
        const double b = Nv[j - FirstV];
        if (!(b > 0)) continue;
        for (int i = FirstU; i <= LastU; ++i) {
            const double a = Nu[i - FirstU];
            if (!(a > 0)) continue;
            const double c = a * b;
            const TRPoint& P = Whole && i <= NumU() && j <= NumV() ? GridPoint(i - 1, j - 1) : Point(i - 1, j - 1);
            R.X += c * P.X;
            R.Y += c * P.Y;
            R.Z += c * P.Z;
        }
    }
    return R;
}

TMVector TBSplineSurface::Evaluate(double U, double V) const {
    CheckKnotLimits();
    TBasisValues Nu, Nv;
    int FirstU, LastU, FirstV, LastV;
    CoxDeBoorBasis(NumU(), FOrderU, FKnotsU, SortedU(), U, Nu, FirstU, LastU);
    CoxDeBoorBasis(NumV(), FOrderV, FKnotsV, SortedV(), V, Nv, FirstV, LastV);
    if (FirstU > LastU || FirstV > LastV) return ZeroVector;
    return SumNet(&Nu[static_cast<std::size_t>(FirstU)], FirstU, LastU, &Nv[static_cast<std::size_t>(FirstV)], FirstV,
                  LastV);
}

bool TBSplineSurface::DerivativeBases(double U, double V, int Count, int& SpanU, int& SpanV, std::span<double> Du,
                                      std::span<double> Dv) {
    UpdateKnots();
    const int n = NumU(), k = FOrderU, nv = NumV(), kv = FOrderV;
    if (k < 1 || kv < 1 || n < k || nv < kv) return false;
    SpanU = FindKnotSpan(n, k - 1, FKnotsU, U);
    SpanV = FindKnotSpan(nv, kv - 1, FKnotsV, V);
    if (SpanU < 0 || SpanV < 0) return false;
    // The levels asked for whatever the point counts; levels above the degree come out zero.
    BasisFunctionDerivativesInto(SpanU, k - 1, Count, FKnotsU, U, Du);
    BasisFunctionDerivativesInto(SpanV, kv - 1, Count, FKnotsV, V, Dv);
    return true;
}

namespace {

void AddScaled(TMVector& Sum, double c, const TRPoint& P) {
    Sum.X += c * P.X;
    Sum.Y += c * P.Y;
    Sum.Z += c * P.Z;
}

// The control points of the spans, column by column: Visit(a, b, P) for a = 0 .. p inside b = 0 .. q.
// The grid is read directly when the list holds all of it.
template <typename TVisit>
void ForSpanPoints(const TMesh& Net, int SpanU, int p, int SpanV, int q, TVisit&& Visit) {
    const bool Whole = Net.PointCount() >= static_cast<long long>(Net.NumU()) * Net.NumV();
    for (int b = 0; b <= q; ++b)
        for (int a = 0; a <= p; ++a) {
            const int I = SpanU - p - 1 + a, J = SpanV - q - 1 + b;
            Visit(a, b, Whole ? Net.GridPoint(I, J) : Net.Point(I, J));
        }
}

// S, Su and Sv, and for TSurfaceDerivatives the second derivatives too, from the basis tables of the
// spans; products and sums in the same order for both, so they agree bit for bit.
template <typename TResult>
TResult SumSpanDerivatives(const TMesh& Net, int SpanU, int p, int SpanV, int q, const TDerivativeTable& Du,
                           const TDerivativeTable& Dv) {
    TResult D;
    ForSpanPoints(Net, SpanU, p, SpanV, q, [&](int a, int b, const TRPoint& P) {
        AddScaled(D.S, Du.At(0, a) * Dv.At(0, b), P);
        AddScaled(D.Su, Du.At(1, a) * Dv.At(0, b), P);
        AddScaled(D.Sv, Du.At(0, a) * Dv.At(1, b), P);
        if constexpr (std::is_same_v<TResult, TSurfaceDerivatives>) {
            AddScaled(D.Suu, Du.At(2, a) * Dv.At(0, b), P);
            AddScaled(D.Svv, Du.At(0, a) * Dv.At(2, b), P);
            AddScaled(D.Suv, Du.At(1, a) * Dv.At(1, b), P);
        }
    });
    return D;
}

}  // namespace

TSurfaceDerivatives TBSplineSurface::EvaluateDerivatives(double U, double V) {
    TDerivativeTable Du(FOrderU - 1), Dv(FOrderV - 1);
    int su = 0, sv = 0;
    if (!DerivativeBases(U, V, 2, su, sv, Du.Span(), Dv.Span())) return {};
    return SumSpanDerivatives<TSurfaceDerivatives>(*this, su, FOrderU - 1, sv, FOrderV - 1, Du, Dv);
}

TSurfaceFirstDerivatives TBSplineSurface::EvaluateFirstDerivatives(double U, double V) {
    TDerivativeTable Du(FOrderU - 1), Dv(FOrderV - 1);
    int su = 0, sv = 0;
    if (!DerivativeBases(U, V, 1, su, sv, Du.Span(), Dv.Span())) return {};
    return SumSpanDerivatives<TSurfaceFirstDerivatives>(*this, su, FOrderU - 1, sv, FOrderV - 1, Du, Dv);
}

// ---- Sampling and drawing ----

void TBSplineSurface::SampleCounts(TSamplingPurpose Purpose, int SurfaceCount, int& NU, int& NV) const {
    const int n = NumU(), m = NumV();
    int a, b;  // the factors of n and m
    if (SurfaceCount == 1) {
        switch (Purpose) {
            case 0:
                NU = NumULine();
                NV = NumVLine();
                return;
            case 1: a = 4; break;
            case 2: a = 2; break;
            case 3: a = 1; break;
            case 4:
            case 5:
                NU = BSplineSegmentCount(n);
                NV = BSplineSegmentCount(m);
                return;
            case 6: a = 4; break;
            case 7: a = 10; break;
            case 8: a = 4; break;
            case 9: a = 10; break;
            default: return;
        }
        NU = a * n;
        NV = a * m;
        return;
    }
    const int f = SampleFactor(SurfaceCount);
    switch (Purpose % 128) {
        case 0:
            NU = NV = f * n;
            return;
        case 1:
        case 5:
        case 7:
        case 8: a = b = 2 * f; break;
        case 2:
        case 4:
        case 6: a = b = f; break;
        case 3:
            NU = f * n / 2;
            NV = f * m / 2;
            return;
        case 9: a = b = 10; break;
        default: return;
    }
    NU = a * n;
    NV = b * m;
}

void TBSplineSurface::SampleParameters(int NU, int NV, TDigitisationParameters& UParams,
                                       TDigitisationParameters& VParams) {
    UpdateKnots();
    UParams = ParameterisationArray(NumU(), FOrderU, NU, true, FKnotsU, MinU(), MaxU());
    VParams = ParameterisationArray(NumV(), FOrderV, NV, true, FKnotsV, MinV(), MaxV());
}

std::unique_ptr<TMesh> TBSplineSurface::CreateMeshSized(int NU, int NV) {
    TDigitisationParameters UParams, VParams;
    SampleParameters(NU, NV, UParams, VParams);
    const TBasisTable Bu(NumU(), FOrderU, FKnotsU, SortedU(), UParams);
    const TBasisTable Bv(NumV(), FOrderV, FKnotsV, SortedV(), VParams);
    const int CU = static_cast<int>(UParams.size());
    const int CV = static_cast<int>(VParams.size());
    auto Result = std::make_unique<TMesh>(CU, CV);
    for (int j = 0; j < CV; ++j) {
        const auto& SV = Bv.Spans[static_cast<std::size_t>(j)];
        for (int i = 0; i < CU; ++i) {
            const auto& SU = Bu.Spans[static_cast<std::size_t>(i)];
            Result->Point(i, j).SetVector(SumNet(Bu.At(static_cast<std::size_t>(i)), SU.First, SU.Last,
                                                 Bv.At(static_cast<std::size_t>(j)), SV.First, SV.Last));
        }
    }
    return Result;
}

void TBSplineSurface::DrawLine(IGraphics& G, int Direction, double At, const TDigitisationParameters& Along) {
    for (std::size_t i = 0; i < Along.size(); ++i) {
        const TMVector P = Direction == 0 ? Evaluate(At, Along[i]) : Evaluate(Along[i], At);
        if (i == 0)
            G.LineStartVector(P);
        else
            G.LineNextVector(P);
    }
    G.LineFinish();
}

void TBSplineSurface::Draw(IGraphics& G) {
    if (!CanEvaluate()) return;
    UpdateKnots();
    const double U0 = MinU(), U1 = MaxU(), V0 = MinV(), V1 = MaxV();
    const auto ULines = ParameterisationArray(NumU(), FOrderU, NumULine(), true, FKnotsU, U0, U1);
    const auto VLines = ParameterisationArray(NumV(), FOrderV, NumVLine(), true, FKnotsV, V0, V1);
    const auto UPts = ParameterisationArray(NumU(), FOrderU, LinePointCount(), true, FKnotsU, U0, U1);
    const auto VPts = ParameterisationArray(NumV(), FOrderV, LinePointCount(), true, FKnotsV, V0, V1);
    for (const double u : ULines) DrawLine(G, 0, u, VPts);
    for (const double v : VLines) DrawLine(G, 1, v, UPts);
}

void TBSplineSurface::DrawControlNet(IGraphics& G) { TMesh::Draw(G); }

void TBSplineSurface::DrawIsoLine(int Direction, double Fraction, IGraphics& G) {
    if (Direction != 0 && Direction != 1) return;
    if (!CanEvaluate()) return;
    UpdateKnots();
    if (Direction == 0) {
        const auto VPts = ParameterisationArray(NumV(), FOrderV, LinePointCount(), true, FKnotsV, MinV(), MaxV());
        DrawLine(G, 0, MinU() + URange() * Fraction, VPts);
    } else {
        const auto UPts = ParameterisationArray(NumU(), FOrderU, LinePointCount(), true, FKnotsU, MinU(), MaxU());
        DrawLine(G, 1, MinV() + VRange() * Fraction, UPts);
    }
}

void TBSplineSurface::AddParameterLines(TPolylineList& List, TSamplingPurpose Purpose, int SurfaceCount) {
    if (!CanEvaluate()) return;
    UpdateKnots();
    int NU = NumULine();
    int NV = NumVLine();
    SampleCounts(Purpose, SurfaceCount, NU, NV);
    const double U0 = MinU(), U1 = MaxU(), V0 = MinV(), V1 = MaxV();
    const auto ULines = ParameterisationArray(NumU(), FOrderU, NU, true, FKnotsU, U0, U1);
    const auto VLines = ParameterisationArray(NumV(), FOrderV, NV, true, FKnotsV, V0, V1);
    const auto UPts = ParameterisationArray(NumU(), FOrderU, LinePointCount(), true, FKnotsU, U0, U1);
    const auto VPts = ParameterisationArray(NumV(), FOrderV, LinePointCount(), true, FKnotsV, V0, V1);
    for (const double u : ULines) {
        auto Line = std::make_unique<TPolyline>();
        for (const double v : VPts) Line->AddVector(Evaluate(u, v));
        List.Add(std::move(Line));
    }
    for (const double v : VLines) {
        auto Line = std::make_unique<TPolyline>();
        for (const double u : UPts) Line->AddVector(Evaluate(u, v));
        List.Add(std::move(Line));
    }
}

// ---- Copies, edges and reshaping ----

std::unique_ptr<TBSpline> TBSplineSurface::EdgeCurve(int Code) {
    UpdateKnots();
    const bool AlongV = Code != 1 && Code != 3;
    // The range first: a Periodic surface has none and throws before anything is built.
    const double Lower = AlongV ? MinV() : MinU();
    const double Upper = AlongV ? MaxV() : MaxU();
    auto Curve = std::make_unique<TBSpline>(4);
    if (AlongV) {
        const int i = Code == 0 ? 0 : NumU() - 1;
        for (int j = 0; j < NumV(); ++j) Curve->AddPointCopy(&static_cast<const TMesh&>(*this).Point(i, j));
    } else {
        const int j = Code == 1 ? 0 : NumV() - 1;
        for (int i = 0; i < NumU(); ++i) Curve->AddPointCopy(&static_cast<const TMesh&>(*this).Point(i, j));
    }
    Curve->SetOrder(AlongV ? FOrderV : FOrderU);
    Curve->KnotType = KnotType;
    const TKnotArray& Knots = AlongV ? FKnotsV : FKnotsU;
    for (int i = 1; i <= MaxKnots; ++i) Curve->SetKnot(i, Knots[static_cast<std::size_t>(i - 1)]);
    Curve->MinTParameter = Lower;
    Curve->MaxTParameter = Upper;
    return Curve;
}

void TBSplineSurface::Assign(const TBSplineSurface& Other) {
    if (&Other == this) return;
    const double OtherMaxU = Other.MaxU(), OtherMaxV = Other.MaxV(), OtherMinU = Other.MinU(), OtherMinV = Other.MinV();
    TMesh::Assign(Other);
    FOrderU = Other.FOrderU;
    FOrderV = Other.FOrderV;
    FKnotsU = Other.FKnotsU;
    FKnotsV = Other.FKnotsV;
    KnotType = Other.KnotType;
    MaxUParameter = OtherMaxU;
    MaxVParameter = OtherMaxV;
    MinUParameter = OtherMinU;
    MinVParameter = OtherMinV;
    KnotsChanged();
}

std::unique_ptr<TBSplineSurface> CloneBSplineSurface(const TBSplineSurface& S) {
    auto Result = std::make_unique<TBSplineSurface>(0, 0);
    Result->Assign(S);
    return Result;
}

std::unique_ptr<TBSplineSurface> TBSplineSurface::CreateTransformed(const TMMatrix& M) const {
    auto Result = std::make_unique<TBSplineSurface>(NumU(), NumV());
    for (int J = 0; J < NumV(); ++J)
        for (int I = 0; I < NumU(); ++I) Result->SetPoint(I, J, *Point(I, J).Transformed(M));
    Result->SetOrderU(FOrderU);
    Result->SetOrderV(FOrderV);
    Result->SetKnotsU(FKnotsU);
    Result->SetKnotsV(FKnotsV);
    Result->KnotType = KnotType;
    Result->MaxUParameter = MaxUParameter;
    Result->MaxVParameter = MaxVParameter;
    Result->MinUParameter = MinUParameter;
    Result->MinVParameter = MinVParameter;
    return Result;
}

void TBSplineSurface::ReverseU() {
    const bool Stored = KnotType == ktNonUniform || KnotType == ktCustom;
    if (Stored) CheckDirection(NumU(), FOrderU, "U");
    TMesh::ReverseU();
    if (Stored) ReverseKnots(FKnotsU, NumU() + FOrderU);
    KnotsChanged();
}

void TBSplineSurface::ReverseV() {
    const bool Stored = KnotType == ktNonUniform || KnotType == ktCustom;
    if (Stored) CheckDirection(NumV(), FOrderV, "V");
    TMesh::ReverseV();
    if (Stored) ReverseKnots(FKnotsV, NumV() + FOrderV);
    KnotsChanged();
}

void TBSplineSurface::SwapUV() {
    TMesh::SwapUV();
    std::swap(FOrderU, FOrderV);
    if (KnotType == ktNonUniform || KnotType == ktCustom) {
        std::swap(MaxUParameter, MaxVParameter);
        std::swap(MinUParameter, MinVParameter);
        std::swap(FKnotsU, FKnotsV);
    }
    KnotsChanged();
}

// ---- Text block ----

void TBSplineSurface::SaveToText(TTextWriter& F) const {
    CheckKnotLimits();
    if (KnotType != ktOpen) {
        // A Periodic surface has no range of its own; the knots it spans are written, so that it
        // reads back as it was rather than failing the save.
        const bool Periodic = KnotType == ktPeriodic;
        const double Lower[2] = {Periodic ? KnotAt(FKnotsU, FOrderU) : MinU(), Periodic ? KnotAt(FKnotsV, FOrderV) : MinV()};
        const double Upper[2] = {Periodic ? KnotAt(FKnotsU, NumU() + 1) : MaxU(),
                                 Periodic ? KnotAt(FKnotsV, NumV() + 1) : MaxV()};
        F.WriteLine("KnotType=" + KnotTypeString());
        F.WriteLine("KnotU=" + KnotArrayText(FKnotsU, NumU() + FOrderU));
        F.WriteLine("KnotV=" + KnotArrayText(FKnotsV, NumV() + FOrderV));
        F.WriteLine("MinUParameter=" + FloatToStrWithPoint(Lower[0]));
        F.WriteLine("MinVParameter=" + FloatToStrWithPoint(Lower[1]));
        F.WriteLine("MaxUParameter=" + FloatToStrWithPoint(Upper[0]));
        F.WriteLine("MaxVParameter=" + FloatToStrWithPoint(Upper[1]));
    }
    if (FForcedBezier) F.WriteLine("ForcedBezier");
    F.WriteLine("OrderU=" + IntToStr(FOrderU));
    F.WriteLine("OrderV=" + IntToStr(FOrderV));
    TMesh::SaveToText(F);
}

void TBSplineSurface::LoadFromText(TTextReader& F) {
    std::string Line = F.ReadLine();
    int GivenU = -1;
    int GivenV = -1;
    if (UpperCase(Line).find("KNOTTYPE") != std::string::npos) {
        KnotTypeByString(Line);
        GivenU = ReadKnotArrayText(F.ReadLine(), FKnotsU, "TBSplineSurface.LoadFromText");
        KnotsChanged();
        GivenV = ReadKnotArrayText(F.ReadLine(), FKnotsV, "TBSplineSurface.LoadFromText");
        KnotsChanged();
        MinUParameter = ReadLimit(F.ReadLine(), "Error in field BSplineSurface.MinUParameter");
        MinVParameter = ReadLimit(F.ReadLine(), "Error in field BSplineSurface.MinVParameter");
        MaxUParameter = ReadLimit(F.ReadLine(), "Error in field BSplineSurface.MaxUParameter");
        MaxVParameter = ReadLimit(F.ReadLine(), "Error in field BSplineSurface.MaxVParameter");
        Line = F.ReadLine();
    }
    if (Line == "ForcedBezier") {
        // The orders follow on the next lines, so only the flag is set here.
        FForcedBezier = true;
        Line = F.ReadLine();
    }
    FOrderU = ReadOrder(Line, "Error in field BSplineSurface.OrderU");
    FOrderV = ReadOrder(F.ReadLine(), "Error in field BSplineSurface.OrderV");
    TMesh::LoadFromText(F);
    if (KnotType == ktPeriodic) GivenU = GivenV = -1;
    CheckReadKnots("B-spline surface U", NumU(), FOrderU, GivenU, FKnotsU);
    CheckReadKnots("B-spline surface V", NumV(), FOrderV, GivenV, FKnotsV);
}

}  // namespace sarnova
