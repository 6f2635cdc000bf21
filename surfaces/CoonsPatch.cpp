#include "surfaces/CoonsPatch.h"

#include <algorithm>
#include <cmath>

#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "surfaces/BSurfaceRefine.h"

namespace sarnova {

namespace {

[[noreturn]] void ThrowListIndex(int Index) { throw EError(Format("List index out of bounds (%d)", {Index})); }

// Knots closer than this are one knot when knot vectors are merged.
constexpr double KnotTolerance = 1e-8;

TMVector PointOf(const TBSpline& C, int I) { return C.Point(I)->Vector(); }

// An order-4 curve of four copies of P: a side shrunk to a point.
std::unique_ptr<TBSpline> PointCurve(const TMVector& P) {
    auto C = std::make_unique<TBSpline>(4);
    for (int i = 0; i < 4; ++i) C->AddVector(P);
    C->UpdateKnots();
    return C;
}

// The first leg (second point minus first) and the last leg taken backwards (second-to-last point
// minus last); zero for a curve of fewer than two points.
TMVector FirstLeg(const TBSpline& C) {
    return C.Count() >= 2 ? VectorFromTo(PointOf(C, 0), PointOf(C, 1)) : ZeroVector;
}

TMVector LastLegBackwards(const TBSpline& C) {
    const int n = C.Count();
    return n >= 2 ? VectorFromTo(PointOf(C, n - 1), PointOf(C, n - 2)) : ZeroVector;
}

// The control polygon's length up to each point over its whole length; evenly spaced when the
// polygon has no length.
std::vector<double> ChordParameters(const TBSpline& C) {
    const int n = C.Count();
    std::vector<double> S(static_cast<std::size_t>(n), 0.0);
    for (int i = 1; i < n; ++i)
        S[static_cast<std::size_t>(i)] = S[static_cast<std::size_t>(i - 1)] + VectorDistance(PointOf(C, i - 1), PointOf(C, i));
    const double L = n > 0 ? S.back() : 0.0;
    for (int i = 0; i < n; ++i)
        S[static_cast<std::size_t>(i)] = L > 0 ? S[static_cast<std::size_t>(i)] / L : n > 1 ? static_cast<double>(i) / (n - 1) : 0.0;
    return S;
}

// A surface of NumU x NumV points with the given orders, knot type NonUniform.
std::unique_ptr<TBSplineSurface> NewSurface(int NumU, int NumV, int OrderU, int OrderV) {
    auto S = std::make_unique<TBSplineSurface>(NumU, NumV);
    S->SetOrderU(OrderU);
    S->SetOrderV(OrderV);
    S->KnotType = ktNonUniform;
    return S;
}

// Clamped knots over [0, 1] without interior knots for an order-k direction.
void SetBezierKnots(TBSplineSurface& S, int Direction, int k) {
    for (int i = 1; i <= 2 * k; ++i) {
        const double u = i <= k ? 0.0 : 1.0;
        if (Direction == 0)
            S.SetKnotU(i, u);
        else
            S.SetKnotV(i, u);
    }
}

// A surface with curve C's order, knots and knot type in Direction (0 u, 1 v) and a Bezier of order
// Across (Across points) the other way; the point at index k along C and a across is Point (k, a).
template <typename F>
std::unique_ptr<TBSplineSurface> SurfaceAlong(const TBSpline& C, int Direction, int Across, F Point) {
    const int n = C.Count();
    auto S = Direction == 0 ? NewSurface(n, Across, C.GetOrder(), Across) : NewSurface(Across, n, Across, C.GetOrder());
    S->KnotType = C.KnotType;
    if (Direction == 0)
        S->SetKnotsU(C.Knots());
    else
        S->SetKnotsV(C.Knots());
    SetBezierKnots(*S, 1 - Direction, Across);
    for (int k = 0; k < n; ++k)
        for (int a = 0; a < Across; ++a) (Direction == 0 ? S->Point(k, a) : S->Point(a, k)).SetVector(Point(k, a));
    return S;
}

std::vector<double> KnotsIn(const TBSplineSurface& S, int Direction) {
    const TKnotArray& K = Direction == 0 ? S.KnotsU() : S.KnotsV();
    const int Count = Direction == 0 ? S.NumU() + S.OrderU() : S.NumV() + S.OrderV();
    return std::vector<double>(K.begin(), K.begin() + std::clamp(Count, 0, MaxKnots));
}

}  // namespace

std::vector<double> MissingKnots(const std::vector<double>& Knots, const std::vector<double>& Other) {
    std::vector<double> Missing;
    std::size_t i = 0, j = 0;
    while (j < Other.size()) {
        if (i < Knots.size() && std::fabs(Knots[i] - Other[j]) < KnotTolerance) {
            ++i;
            ++j;
        } else if (i < Knots.size() && Knots[i] < Other[j]) {
            ++i;
        } else {
            Missing.push_back(Other[j]);
            ++j;
        }
    }
    return Missing;
}

std::string CoonsMethodToText(std::uint8_t Method) { return Method == cpBiCubic ? "cpBiCubic" : "cpBiLinear"; }

std::uint8_t CoonsMethodFromText(std::string_view Text) {
    return UpperCase(Text).find("BICUBIC") != std::string::npos ? cpBiCubic : cpBiLinear;
}

// ---- Vertices and edges ----

TCoonsPatchObject::~TCoonsPatchObject() = default;

TMVector TCoonsPatchVertex::Position() const {
    const TCoonsPatchEdge* E = FEdges.First() != nullptr ? FEdges.First() : FEdges.Second();
    const TRPoint* P = E != nullptr ? E->EndPoint(this) : nullptr;
    return P != nullptr ? P->Vector() : ZeroVector;
}

bool TCoonsPatchVertex::IsComplete() const { return FEdges.Count() == 2; }

void TCoonsPatchVertex::Update() {
    if (!IsComplete()) return;
    TCoonsPatchEdge* E1 = FEdges.First();
    TCoonsPatchEdge* E2 = FEdges.Second();
    JoinMovedEnds(E1->EndPoint(this), E1->EndMoved(this), E2->EndPoint(this), E2->EndMoved(this));
}

TCoonsPatchEdge::TCoonsPatchEdge() : FStored(std::make_unique<TBSpline>(4)) {}

TCoonsPatchEdge::~TCoonsPatchEdge() = default;

void TCoonsPatchEdge::SetStartVertex(TCoonsPatchVertex* V) {
    if (V != nullptr && V->AttachEdge(this)) FStartVertex = V;
}

void TCoonsPatchEdge::SetEndVertex(TCoonsPatchVertex* V) {
    if (V != nullptr && V->AttachEdge(this)) FEndVertex = V;
}

void TCoonsPatchEdge::Flip() {
    std::swap(FStartVertex, FEndVertex);
    FFlipped = !FFlipped;
}

bool TCoonsPatchEdge::CurveChanged() { return FCurve != nullptr && !FCurve->IsSameAs(*FStored); }

bool TCoonsPatchEdge::EndMoved(const TCoonsPatchVertex* V) const {
    if (V == nullptr || (V != FStartVertex && V != FEndVertex)) return false;
    // The end that lies at V, as EndPoint takes it, so that a flipped edge reports the end that
    // really moved.
    return CurveEndMoved(FCurve, FStored.get(), (V == FStartVertex) != FFlipped);
}

TRPoint* TCoonsPatchEdge::EndPoint(const TCoonsPatchVertex* V) const {
    if (FCurve == nullptr || FCurve->Count() == 0 || V == nullptr) return nullptr;
    if (V != FStartVertex && V != FEndVertex) return nullptr;
    return (V == FStartVertex) != FFlipped ? FCurve->First() : FCurve->Last();
}

bool TCoonsPatchEdge::IsComplete() const {
    return FCurve != nullptr && FStartVertex != nullptr && FEndVertex != nullptr;
}

void TCoonsPatchEdge::Update() {
    if (FCurve != nullptr) FStored->Assign(*FCurve);
}

// ---- Lists ----

TCoonsPatchObjects::~TCoonsPatchObjects() = default;

TCoonsPatchObject* TCoonsPatchObjects::Objects(int Index) const {
    if (Index < 0 || Index >= Count()) ThrowListIndex(Index);
    return FItems[static_cast<std::size_t>(Index)].get();
}

bool TCoonsPatchObjects::AllComplete() const {
    return std::all_of(FItems.begin(), FItems.end(), [](const auto& O) { return O->IsComplete(); });
}

void TCoonsPatchObjects::UpdateAll() {
    for (const auto& O : FItems) O->Update();
}

TCoonsPatchObject* TCoonsPatchObjects::Append(std::unique_ptr<TCoonsPatchObject> Item) {
    FItems.push_back(std::move(Item));
    return FItems.back().get();
}

TCoonsPatchVertex* TCoonsPatchVertices::AddNew() {
    return static_cast<TCoonsPatchVertex*>(Append(std::make_unique<TCoonsPatchVertex>()));
}

TCoonsPatchVertex* TCoonsPatchVertices::FindByEnd(const TMVector& P, int Among) const {
    for (int i = 0; i < std::min(Among, Count()); ++i)
        if (VectorsEqual(Items(i)->Position(), P)) return Items(i);
    return nullptr;
}

TCoonsPatchEdge* TCoonsPatchEdges::AddNew() {
    return static_cast<TCoonsPatchEdge*>(Append(std::make_unique<TCoonsPatchEdge>()));
}

TBSpline* TCoonsCurves::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ThrowListIndex(Index);
    return FItems[static_cast<std::size_t>(Index)];
}

void TCoonsCurves::Add(TBSpline* C) {
    if (std::find(FItems.begin(), FItems.end(), C) == FItems.end()) FItems.push_back(C);
}

// ---- Patch ----

TCoonsPatch::TCoonsPatch() : FSurface(std::make_unique<TBSplineSurface>(4, 4)) {}

TCoonsPatch::~TCoonsPatch() = default;

void TCoonsPatch::Clear() {
    FEdges.Clear();
    FVertices.Clear();
}

TCoonsPatchEdge* TCoonsPatch::AddCurve(TBSpline* Curve) {
    TCoonsPatchEdge* E = FEdges.AddNew();
    if (Curve == nullptr || Curve->Count() == 0) return E;
    // The far end is looked for among the vertices that were there before this curve: a vertex made
    // for the near end has no edge yet, so no position to compare with.
    const int Before = FVertices.Count();
    TCoonsPatchVertex* V1 = FVertices.FindByEnd(Curve->First()->Vector(), Before);
    if (V1 == nullptr) V1 = FVertices.AddNew();
    TCoonsPatchVertex* V2 = FVertices.FindByEnd(Curve->Last()->Vector(), Before);
    if (V2 == nullptr) V2 = FVertices.AddNew();
    E->SetCurve(Curve);
    E->SetStartVertex(V1);
    E->SetEndVertex(V2);
    return E;
}

bool TCoonsPatch::SetCurves(const TCoonsCurves& Curves) {
    Clear();
    for (int i = 0; i < Curves.Count(); ++i) AddCurve(Curves.Items(i));
    return IsValid();
}

bool TCoonsPatch::IsValid() const {
    return FVertices.AllComplete() && FEdges.AllComplete() && FVertices.Count() == FEdges.Count() &&
           FEdges.Count() >= 2 && FEdges.Count() <= 4;
}

bool TCoonsPatch::NeedsUpdate() {
    for (int i = 0; i < FEdges.Count(); ++i)
        if (FEdges.Items(i)->CurveChanged()) return true;
    return CoonsMethod != FGeneratedMethod;
}

std::vector<TBSpline*> TCoonsPatch::OrientLoop() {
    const int n = FEdges.Count();
    std::vector<TBSpline*> Curves;
    std::vector<const TCoonsPatchEdge*> Visited;
    TCoonsPatchEdge* E = FEdges.Items(0);
    Curves.push_back(E->Curve());
    Visited.push_back(E);
    for (int k = 1; k < n; ++k) {
        TCoonsPatchVertex* V = E->EndVertex();
        TCoonsPatchEdge* Next = V->OtherEdge(E);
        if (Next == nullptr || std::find(Visited.begin(), Visited.end(), Next) != Visited.end())
            throw EGeometryError("TCoonsPatch.Generate - The curves form more than one loop");
        if (Next->EndVertex() == V) Next->Flip();
        Curves.push_back(Next->Curve());
        Visited.push_back(Next);
        E = Next;
    }
    return Curves;
}

void TCoonsPatch::Generate() {
    FVertices.UpdateAll();
    if (IsValid()) {
        const std::vector<TBSpline*> C = OrientLoop();
        for (TBSpline* Curve : C) Curve->UpdateKnots();
        std::unique_ptr<TBSplineSurface> S;
        const bool BiCubic = C.size() == 4 && CoonsMethod == cpBiCubic;
        if (C.size() == 2)
            S = BiLinearCoonsPatch(*C[0], *C[1]);
        else if (C.size() == 3)
            S = BiLinearCoonsPatch(*C[0], *C[1], *C[2]);
        else if (BiCubic)
            S = BiCubicCoonsPatch(*C[0], *C[1], *C[2], *C[3]);
        else
            S = BiLinearCoonsPatch(*C[0], *C[1], *C[2], *C[3]);
        FSurface->Assign(*S);
        FGeneratedMethod = BiCubic ? cpBiCubic : cpBiLinear;
    }
    FEdges.UpdateAll();
}

bool TCoonsPatch::Update() {
    if (!NeedsUpdate()) return false;
    Generate();
    return true;
}

bool CoonsCurvesValid(const TCoonsCurves& Curves) {
    TCoonsPatch Patch;
    return Patch.SetCurves(Curves);
}

// ---- Orientation ----

bool OrientCurveFrom(const TRPoint& Point, TBSpline& Curve) {
    if (Curve.Count() == 0) return true;
    if (Curve.First()->IsEqual(Point)) return false;
    if (Curve.Last()->IsEqual(Point)) {
        Curve.Reverse();
        return false;
    }
    return true;
}

namespace {

bool HasPoints(std::initializer_list<const TBSpline*> Curves) {
    return std::all_of(Curves.begin(), Curves.end(), [](const TBSpline* C) { return C->Count() > 0; });
}

// P lies on either end of B.
bool TouchesEnd(const TRPoint& P, const TBSpline& B) { return P.IsEqual(*B.First()) || P.IsEqual(*B.Last()); }

}  // namespace

bool OrientFourCurves(TBSpline& C1, TBSpline& C2, TBSpline& C3, TBSpline& C4) {
    if (!HasPoints({&C1, &C2, &C3, &C4})) return false;
    if (TouchesEnd(*C1.Last(), C2)) C1.Reverse();
    if (OrientCurveFrom(*C1.First(), C2)) return false;
    if (OrientCurveFrom(*C2.Last(), C3)) return false;
    if (OrientCurveFrom(*C1.Last(), C4)) return false;
    return C3.Last()->IsEqual(*C4.Last());
}

bool OrientThreeCurves(TBSpline& C1, TBSpline& C2, TBSpline& C3) {
    if (!HasPoints({&C1, &C2, &C3})) return false;
    if (TouchesEnd(*C1.First(), C2)) C1.Reverse();
    if (OrientCurveFrom(*C1.Last(), C2)) return false;
    if (OrientCurveFrom(*C2.Last(), C3)) return false;
    return C3.Last()->IsEqual(*C1.First());
}

bool OrientTwoCurves(TBSpline& C1, TBSpline& C2) {
    if (!HasPoints({&C1, &C2})) return false;
    if (OrientCurveFrom(*C1.First(), C2)) return false;
    return C2.Last()->IsEqual(*C1.Last());
}

// ---- Compatibility and the Boolean sum ----

void MakeBSplinesCompatible(TBSpline& C1, TBSpline& C2, int MinOrder) { C1.MakeCompatibleWithOrder(C2, MinOrder); }

void MakeSurfacesCompatible(TBSplineSurface& S, const TBSplineSurface& Other, int Direction) {
    S.UpdateKnots();
    const int Count = Direction == 0 ? S.NumU() + S.OrderU() : S.NumV() + S.OrderV();
    const double Max = Direction == 0 ? S.MaxU() : S.MaxV();
    if (Max != 0)
        for (int i = 1; i <= std::min(Count, MaxKnots); ++i) {
            if (Direction == 0)
                S.SetKnotU(i, S.KnotU(i) / Max);
            else
                S.SetKnotV(i, S.KnotV(i) / Max);
        }
    S.KnotType = ktNonUniform;
    if (Direction == 0 && S.OrderU() < Other.OrderU())
        S.Assign(*BSplineSurfaceRaiseDegreeU(S, Other.OrderU()));
    else if (Direction == 1 && S.OrderV() < Other.OrderV())
        S.Assign(*BSplineSurfaceRaiseDegreeV(S, Other.OrderV()));
    const std::vector<double> Missing = MissingKnots(KnotsIn(S, Direction), KnotsIn(Other, Direction));
    if (Direction == 0)
        S.RefineKnotsU(Missing);
    else
        S.RefineKnotsV(Missing);
}

std::unique_ptr<TBSplineSurface> BooleanSumSurfaces(TBSplineSurface& S1, TBSplineSurface& S2, TBSplineSurface& S3) {
    MakeSurfacesCompatible(S2, S1, 0);
    MakeSurfacesCompatible(S1, S2, 1);
    MakeSurfacesCompatible(S3, S1, 0);
    MakeSurfacesCompatible(S3, S2, 1);
    const int NU = S3.NumU(), NV = S3.NumV();
    if (S1.NumU() != NU || S2.NumU() != NU || S1.NumV() != NV || S2.NumV() != NV)
        throw EGeometryError("BooleanSumSurfaces - The surfaces could not be made compatible");
    auto Result = CloneBSplineSurface(S3);
    for (int j = 0; j < NV; ++j)
        for (int i = 0; i < NU; ++i)
            Result->Point(i, j).SetVector(
                VectorFromTo(S3.Point(i, j).Vector(), VectorAdd(S1.Point(i, j).Vector(), S2.Point(i, j).Vector())));
    return Result;
}

// ---- Constructions ----

std::unique_ptr<TBSplineSurface> BiLinearCoonsPatch(const TBSpline& AC1, const TBSpline& AC2, const TBSpline& AC3,
                                                    const TBSpline& AC4) {
    auto C1 = AC1.Clone(), C2 = AC2.Clone(), C3 = AC3.Clone(), C4 = AC4.Clone();
    if (!OrientFourCurves(*C1, *C2, *C3, *C4))
        throw EGeometryError("CoonsPatch:BiLinearCoonsPatch(n=4) - Invalid Curve Connections");
    MakeBSplinesCompatible(*C1, *C3, 2);
    MakeBSplinesCompatible(*C2, *C4, 2);
    // Ruled between bottom and top, and between left and right.
    auto S1 = SurfaceAlong(*C1, 0, 2, [&](int i, int a) { return PointOf(a == 0 ? *C1 : *C3, i); });
    auto S2 = SurfaceAlong(*C2, 1, 2, [&](int j, int a) { return PointOf(a == 0 ? *C2 : *C4, j); });
    // Bilinear between the corners.
    auto S3 = NewSurface(2, 2, 2, 2);
    SetBezierKnots(*S3, 0, 2);
    SetBezierKnots(*S3, 1, 2);
    S3->Point(0, 0).SetVector(C1->First()->Vector());
    S3->Point(1, 0).SetVector(C1->Last()->Vector());
    S3->Point(0, 1).SetVector(C2->Last()->Vector());
    S3->Point(1, 1).SetVector(C4->Last()->Vector());
    return BooleanSumSurfaces(*S1, *S2, *S3);
}

std::unique_ptr<TBSplineSurface> BiLinearCoonsPatch(const TBSpline& AC1, const TBSpline& AC2, const TBSpline& AC3) {
    auto C1 = AC1.Clone(), C2 = AC2.Clone(), C3 = AC3.Clone();
    if (!OrientThreeCurves(*C1, *C2, *C3))
        throw EGeometryError("CoonsPatch:BiLinearCoonsPatch(n=3) - Invalid Curve Connections");
    // The side shrinks to a point where the loop turns least: there the patch is most nearly a
    // four-sided one with a straight angle.
    const TBSpline* Arriving[3] = {C1.get(), C2.get(), C3.get()};
    const TBSpline* Leaving[3] = {C2.get(), C3.get(), C1.get()};
    int Corner = 0;
    double Smallest = 0;
    for (int c = 0; c < 3; ++c) {
        const double Angle = VectorAngle(VectorNegate(LastLegBackwards(*Arriving[c])), FirstLeg(*Leaving[c]));
        if (c == 0 || Angle < Smallest) {
            Smallest = Angle;
            Corner = c;
        }
    }
    const auto P = PointCurve(Arriving[Corner]->Last()->Vector());
    switch (Corner) {
        case 0: return BiLinearCoonsPatch(*C1, *P, *C2, *C3);
        case 1: return BiLinearCoonsPatch(*C1, *C2, *P, *C3);
        default: return BiLinearCoonsPatch(*C1, *C2, *C3, *P);
    }
}

std::unique_ptr<TBSplineSurface> BiLinearCoonsPatch(const TBSpline& AC1, const TBSpline& AC2) {
    auto C1 = AC1.Clone(), C2 = AC2.Clone();
    if (!OrientTwoCurves(*C1, *C2))
        throw EGeometryError("CoonsPatch:BiLinearCoonsPatch(n=2) - Invalid Curve Connections");
    const auto PA = PointCurve(C1->First()->Vector());
    const auto PB = PointCurve(C1->Last()->Vector());
    return BiLinearCoonsPatch(*C1, *PA, *C2, *PB);
}

std::unique_ptr<TBSplineSurface> BiCubicCoonsPatch(const TBSpline& AC1, const TBSpline& AC2, const TBSpline& AC3,
                                                   const TBSpline& AC4) {
    auto C1 = AC1.Clone(), C2 = AC2.Clone(), C3 = AC3.Clone(), C4 = AC4.Clone();
    if (!OrientFourCurves(*C1, *C2, *C3, *C4)) throw EGeometryError("Invalid Curve Connections");
    MakeBSplinesCompatible(*C1, *C3, 4);
    MakeBSplinesCompatible(*C2, *C4, 4);
    const int NU = C1->Count(), NV = C2->Count();
    const std::vector<double> S1Params = ChordParameters(*C1), S3Params = ChordParameters(*C3);
    const std::vector<double> S2Params = ChordParameters(*C2), S4Params = ChordParameters(*C4);

    // Bottom to top, the inner rows leaving the bottom and top along the side legs.
    // Rows 0 and 3 (columns 0 and 3) are the curves; rows 1 and 2 leave them along the end legs of
    // the sides they meet, interpolated by chord length.
    const auto Blend = [](const TBSpline& Start, const TBSpline& End, const std::vector<double>& StartParams,
                          const std::vector<double>& EndParams, const TBSpline& Before, const TBSpline& After) {
        return [&](int k, int a) {
            const auto s = static_cast<std::size_t>(k);
            switch (a) {
                case 0: return PointOf(Start, k);
                case 1: return VectorAdd(PointOf(Start, k), VectorLerp(FirstLeg(Before), FirstLeg(After), StartParams[s]));
                case 2:
                    return VectorAdd(PointOf(End, k),
                                     VectorLerp(LastLegBackwards(Before), LastLegBackwards(After), EndParams[s]));
                default: return PointOf(End, k);
            }
        };
    };
    auto S1 = SurfaceAlong(*C1, 0, 4, Blend(*C1, *C3, S1Params, S3Params, *C2, *C4));
    auto S2 = SurfaceAlong(*C2, 1, 4, Blend(*C2, *C4, S2Params, S4Params, *C1, *C3));

    // The bicubic corner patch: boundary points next to each corner from S1 and S2, inner points
    // by twist estimates.
    auto S3 = std::make_unique<TBSplineSurface>(4, 4);
    const auto Set = [&S3](int i, int j, const TRPoint& P) { S3->Point(i, j).SetVector(P.Vector()); };
    Set(0, 0, S1->Point(0, 0));
    Set(1, 0, S1->Point(1, 0));
    Set(0, 1, S2->Point(0, 1));
    Set(3, 0, S2->Point(3, 0));
    Set(2, 0, S2->Point(2, 0));
    Set(3, 1, S1->Point(NU - 1, 1));
    Set(0, 3, S1->Point(0, 3));
    Set(0, 2, S1->Point(0, 2));
    Set(1, 3, S2->Point(1, NV - 1));
    Set(3, 3, S1->Point(NU - 1, 3));
    Set(3, 2, S1->Point(NU - 1, 2));
    Set(2, 3, S2->Point(2, NV - 1));
    struct TTwist {
        int Ci, Cj, Ui, Uj, Vi, Vj, Ii, Ij;  // corner, its two neighbours, the inner point
        int S1i, S1j, S2i, S2j;              // the diagonal points of S1 and S2
    };
    const TTwist Twists[4] = {
        {0, 0, 1, 0, 0, 1, 1, 1, 1, 1, 1, 1},
        {3, 0, 2, 0, 3, 1, 2, 1, NU - 2, 1, 2, 1},
        {0, 3, 1, 3, 0, 2, 1, 2, 1, 2, 1, NV - 2},
        {3, 3, 2, 3, 3, 2, 2, 2, NU - 2, 2, 2, NV - 2},
    };
    for (const TTwist& T : Twists) {
        const TMVector P00 = S3->Point(T.Ci, T.Cj).Vector();
        const TMVector N = VectorFromTo(P00, VectorAdd(S3->Point(T.Ui, T.Uj).Vector(), S3->Point(T.Vi, T.Vj).Vector()));
        const TMVector O = VectorFromTo(N, S1->Point(T.S1i, T.S1j).Vector());
        const TMVector P = VectorFromTo(N, S2->Point(T.S2i, T.S2j).Vector());
        const double Sum = VectorLength(VectorAdd(O, P));
        // Two opposite (or two zero) suggestions leave the zero-twist point.
        const TMVector Inner =
            Sum > 0 ? VectorAdd(N, VectorScale(VectorAdd(VectorScale(P, VectorLength(P)), VectorScale(O, VectorLength(O))), 1 / Sum))
                    : N;
        S3->Point(T.Ii, T.Ij).SetVector(Inner);
    }
    S3->UpdateKnots();
    return BooleanSumSurfaces(*S1, *S2, *S3);
}

}  // namespace sarnova
