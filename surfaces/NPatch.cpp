#include "surfaces/NPatch.h"

#include <algorithm>

#include "foundation/Graphics.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/VkMathsSolvers.h"

namespace sarnova {

namespace {

[[noreturn]] void ThrowListIndex(int Index) { throw EError(Format("List index out of bounds (%d)", {Index})); }

// A curve that cannot be evaluated or differentiated: fewer than two points or than its order.
bool Usable(const TBSpline* C) { return C != nullptr && C->Count() >= 2 && C->Count() >= C->GetOrder(); }

// An order-2 curve from A to B with its knots built.
std::unique_ptr<TBSpline> StraightCurve(const TMVector& A, const TMVector& B) {
    auto C = std::make_unique<TBSpline>(2);
    C->AddVector(A);
    C->AddVector(B);
    C->UpdateKnots();
    return C;
}

// S and T with S A + T B = D. The solver takes two components of the equation; the fit counts only
// when the answer meets all three, so that the cross derivative really ends at D. A D off the plane
// by a trace of placement error is fitted in the plane; Trace is what it misses there.
bool FitEnd(const TMVector& A, const TMVector& B, const TMVector& Target, double& S, double& T, TMVector& Trace) {
    const TMVector D = IntoNearPlane(A, B, Target, TangentPlaneTolerance);
    Trace = VectorFromTo(D, Target);
    if (Solve3DPlaneEquation(A, B, D, S, T, false)) return false;
    const TMVector Fit = VectorAdd(VectorScale(A, S), VectorScale(B, T));
    return VectorDistance(Fit, D) <= 1e-9 * std::max(1.0, VectorLength(D));
}

// Writes the failure of one of the two end fits to the console.
void LogFailedFit(const TRPoint& At) {
    if (GConsole)
        GConsole->WriteLine(Format("TNPatchEdge.GenerateCrossDerivative - Solve3DPlaneEquation failed at "
                                   "(%10.3f, %10.3f, %10.3f)",
                                   {At.X, At.Y, At.Z}));
}

// One line per sample from the curve point along Vector(s) times Scale, and the lines joining the
// tips: 101 samples of W over its range and of V over its own.
void DrawCrossVectors(IGraphics& G, TBSpline& W, TBSpline& V, double Scale, bool FromPrevious) {
    TMVector Previous;
    for (int i = 0; i <= 100; ++i) {
        const double s = i / 100.0;
        const TMVector P = W.EvaluatePoint(W.MinT() + s * (W.MaxT() - W.MinT()));
        const TMVector D = V.EvaluatePoint(V.MinT() + s * (V.MaxT() - V.MinT()));
        const TMVector Q = VectorAdd(P, VectorScale(D, Scale));
        G.LineVectors(P, Q);
        if (i > 0) {
            if (FromPrevious)
                G.LineVectors(Previous, Q);
            else
                G.LineVectors(Q, Previous);
        }
        Previous = Q;
    }
}

}  // namespace

TMVector CurveStartDerivative(TBSpline& C) {
    if (C.Count() < 2) return ZeroVector;
    C.UpdateKnots();
    const int k = C.GetOrder();
    const TMVector Leg = VectorFromTo(C.Point(0)->Vector(), C.Point(1)->Vector());
    const double Span = k >= 1 && k + 1 <= MaxKnots ? C.Knot(k + 1) - C.Knot(2) : 0.0;
    return Span > 0 ? VectorScale(Leg, (k - 1) / Span) : Leg;
}

TMVector CurveEndDerivativeBackwards(TBSpline& C) {
    const int n = C.Count();
    if (n < 2) return ZeroVector;
    C.UpdateKnots();
    const int k = C.GetOrder();
    const TMVector Leg = VectorFromTo(C.Point(n - 1)->Vector(), C.Point(n - 2)->Vector());
    const double Span = n + k - 1 <= MaxKnots && n + k - 1 >= 1 ? C.Knot(n + k - 1) - C.Knot(n) : 0.0;
    return Span > 0 ? VectorScale(Leg, (k - 1) / Span) : Leg;
}

bool CurveEndMoved(const TBSpline* Curve, const TBSpline* Stored, bool First) {
    // Any difference counts: the caller moved the point.
    constexpr double TinyValue = 1e-30;
    if (Curve == nullptr || Stored == nullptr || Curve->Count() == 0 || Stored->Count() == 0) return false;
    return First ? !PointsEqual(*Curve->First(), *Stored->First(), TinyValue)
                 : !PointsEqual(*Curve->Last(), *Stored->Last(), TinyValue);
}

void JoinMovedEnds(TRPoint* P1, bool Moved1, TRPoint* P2, bool Moved2) {
    if (P1 == nullptr || P2 == nullptr) return;
    if (Moved1 && Moved2) {
        const TMVector Mid = VectorMidpoint(P1->Vector(), P2->Vector());
        P1->SetVector(Mid);
        P2->SetVector(Mid);
    } else if (Moved1) {
        P2->Assign(*P1);
    } else if (Moved2) {
        P1->Assign(*P2);
    }
}

// ---- Vertices ----

TNPatchVertex::~TNPatchVertex() = default;

void TNPatchVertex::Update() {
    if (EdgeCount() < 2) return;
    TNPatchEdge* E1 = FEdges.First();
    TNPatchEdge* E2 = FEdges.Second();
    JoinMovedEnds(E1->EndPoint(this), E1->EndMoved(this), E2->EndPoint(this), E2->EndMoved(this));
}

// ---- Edges ----

TNPatchEdge::~TNPatchEdge() = default;

void TNPatchEdge::SetStartVertex(TNPatchVertex* V) {
    FStartVertex = V;
    if (V != nullptr) V->AttachEdge(this);
}

void TNPatchEdge::SetEndVertex(TNPatchVertex* V) {
    FEndVertex = V;
    if (V != nullptr) V->AttachEdge(this);
}

TNPatchVertex* TNPatchEdge::OtherVertex(const TNPatchVertex* V) const {
    return V == FStartVertex ? FEndVertex : FStartVertex;
}

TNPatchEdge* TNPatchEdge::PreviousEdge() const {
    return FStartVertex != nullptr ? FStartVertex->OtherEdge(this) : nullptr;
}

TNPatchEdge* TNPatchEdge::NextEdge() const { return FEndVertex != nullptr ? FEndVertex->OtherEdge(this) : nullptr; }

TMVector TNPatchEdge::StartTangent() {
    if (FWorking != nullptr && FWorking->Count() >= 2) return CurveStartDerivative(*FWorking);
    if (FStartVertex == nullptr || FEndVertex == nullptr) return ZeroVector;
    return VectorFromTo(FEndVertex->Position, FStartVertex->Position);
}

TMVector TNPatchEdge::EndTangent() {
    if (FWorking != nullptr && FWorking->Count() >= 2) return CurveEndDerivativeBackwards(*FWorking);
    if (FStartVertex == nullptr || FEndVertex == nullptr) return ZeroVector;
    return VectorFromTo(FStartVertex->Position, FEndVertex->Position);
}

TMVector TNPatchEdge::TangentAt(const TNPatchVertex* V) {
    if (V == nullptr) return ZeroVector;
    if (V == FStartVertex) return StartTangent();
    if (V == FEndVertex) return EndTangent();
    return ZeroVector;
}

double TNPatchEdge::MaxT() const { return FWorking != nullptr ? FWorking->MaxT() : 0.0; }

double TNPatchEdge::ChordLength() const {
    if (FStartVertex == nullptr || FEndVertex == nullptr) return 0;
    return VectorDistance(FStartVertex->Position, FEndVertex->Position);
}

bool TNPatchEdge::CurveChanged() {
    if (!FPatch->GetDetectChanges() || FCurve == nullptr || FStored == nullptr) return false;
    return !FCurve->IsSameAs(*FStored);
}

bool TNPatchEdge::IsComplete() const {
    return FStartVertex != nullptr && FEndVertex != nullptr && FWorking != nullptr;
}

void TNPatchEdge::Flip() {
    std::swap(FStartVertex, FEndVertex);
    for (TBSpline* C : {FWorking.get(), FCrossTangent.get(), FCrossDerivative.get()})
        if (C != nullptr) C->Reverse();
    FFlipped = !FFlipped;
}

void TNPatchEdge::SetCurves(TBSpline* ACurve, const TBSpline* CrossTangent) {
    if (ACurve == nullptr) return;
    if (FWorking != nullptr)
        FWorking->Assign(*ACurve);
    else
        FWorking = ACurve->Clone();
    if (CrossTangent != nullptr) {
        if (FCrossTangent != nullptr)
            FCrossTangent->Assign(*CrossTangent);
        else
            FCrossTangent = CrossTangent->Clone();
    }
    if (FPatch->GetDetectChanges()) {
        FCurve = ACurve;
        FStored = ACurve->Clone();
    }
}

void TNPatchEdge::GenerateCrossDerivative() {
    TNPatchEdge* Previous = PreviousEdge();
    TNPatchEdge* Next = NextEdge();
    const TMVector D0 = Previous != nullptr ? Previous->TangentAt(FStartVertex) : ZeroVector;
    const TMVector D1 = Next != nullptr ? Next->TangentAt(FEndVertex) : ZeroVector;

    std::unique_ptr<TBSpline> Result;
    if (Usable(FWorking.get()) && Usable(FCrossTangent.get())) {
        TBSpline& W = *FWorking;
        TBSpline& X = *FCrossTangent;
        W.UpdateKnots();
        X.UpdateKnots();
        double S0 = 0, T0 = 0, S1 = 0, T1 = 0;
        TMVector Trace0, Trace1;
        const bool Failed0 = !FitEnd(W.Derivatives(W.MinT())[1], X.First()->Vector(), D0, S0, T0, Trace0);
        if (Failed0) LogFailedFit(*W.First());
        const bool Failed1 = !FitEnd(W.Derivatives(W.MaxT())[1], X.Last()->Vector(), D1, S1, T1, Trace1);
        if (Failed1) LogFailedFit(*W.Last());
        if (!Failed0 && !Failed1) {
            try {
                std::unique_ptr<TBSpline> Wd = W.GetOrder() <= 2 ? W.RaiseOrder(3)->Derivative() : W.Derivative();
                const auto Alpha = StraightCurve({S0, S0, S0}, {S1, S1, S1});
                const auto Beta = StraightCurve({T0, T0, T0}, {T1, T1, T1});
                Result = Alpha->Multiply(*Wd)->Sum(*Beta->Multiply(X));
                // The traces by which the ends missed the plane, carried along so the ends are exact.
                if (VectorLength(Trace0) > 0 || VectorLength(Trace1) > 0)
                    Result = Result->Sum(*StraightCurve(Trace0, Trace1));
            } catch (const EGeometryError&) {
                // Curves the B-spline products cannot take (beyond the knot limit) get the straight
                // cross derivative below.
                Result.reset();
            }
        }
    }
    if (Result == nullptr) Result = StraightCurve(D0, D1);
    FCrossDerivative = std::move(Result);
}

void TNPatchEdge::PointAndCross(double T, TMVector& Point, TMVector& Cross) {
    // Side positions of points just outside the footprint run past the ends of the side.
    if (FWorking != nullptr && FWorking->MinT() <= FWorking->MaxT())
        T = std::clamp(T, FWorking->MinT(), FWorking->MaxT());
    Point = FWorking != nullptr ? FWorking->EvaluatePoint(T) : ZeroVector;
    Cross = FCrossDerivative != nullptr ? FCrossDerivative->EvaluatePoint(T) : ZeroVector;
}

void TNPatchEdge::DerivativesAt(double T, TCurveDerivatives& Point, TCurveDerivatives& Cross) {
    Point = FWorking != nullptr ? FWorking->Derivatives(T) : TCurveDerivatives{};
    Cross = FCrossDerivative != nullptr ? FCrossDerivative->Derivatives(T) : TCurveDerivatives{};
}

bool TNPatchEdge::EndMoved(const TNPatchVertex* V) const {
    if (V != FStartVertex && V != FEndVertex) return false;
    // The end of the caller's curve that lies at V, as EndPoint takes it, so that a flipped edge
    // reports the end that really moved.
    return CurveEndMoved(FCurve, FStored.get(), (V == FStartVertex) != FFlipped);
}

TRPoint* TNPatchEdge::EndPoint(const TNPatchVertex* V) const {
    if (FCurve == nullptr || FCurve->Count() == 0) return nullptr;
    if (V != FStartVertex && V != FEndVertex) return nullptr;
    const bool First = (V == FStartVertex) != FFlipped;
    return First ? FCurve->First() : FCurve->Last();
}

void TNPatchEdge::Update() {
    if (FStartVertex != nullptr && FEndVertex != nullptr)
        Midpoint = VectorMidpoint(FStartVertex->Position, FEndVertex->Position);
    if (!FPatch->GetDetectChanges() || FCurve == nullptr) return;
    if (FStored != nullptr)
        FStored->Assign(*FCurve);
    else
        FStored = FCurve->Clone();
    if (FWorking != nullptr)
        FWorking->Assign(*FStored);
    else
        FWorking = FStored->Clone();
    if (FFlipped) FWorking->Reverse();
}

// ---- Lists ----

TNPatchVertex* TNPatchVertices::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ThrowListIndex(Index);
    return FItems[static_cast<std::size_t>(Index)].get();
}

TNPatchVertex* TNPatchVertices::FindOrAdd(const TMVector& Point) {
    for (const auto& V : FItems)
        if (VectorsEqual(V->Position, Point)) return V.get();
    auto V = FPatch->NewVertex();
    V->Position = Point;
    FItems.push_back(std::move(V));
    return FItems.back().get();
}

bool TNPatchVertices::IsComplete() const {
    for (const auto& V : FItems)
        if (V->EdgeCount() < 2) return false;
    return true;
}

void TNPatchVertices::Update() {
    for (const auto& V : FItems) V->Update();
}

void TNPatchVertices::Draw(IGraphics& G) const {
    for (const auto& V : FItems) G.EditHandle(2, V->Position.X, V->Position.Y, V->Position.Z);
}

TNPatchEdge* TNPatchEdges::Items(int Index) const {
    if (Index < 0 || Index >= Count()) ThrowListIndex(Index);
    return FItems[static_cast<std::size_t>(Index)].get();
}

TNPatchEdge* TNPatchEdges::AddNew() {
    FItems.push_back(FPatch->NewEdge());
    return FItems.back().get();
}

bool TNPatchEdges::AnyCurveChanged() const {
    for (const auto& E : FItems)
        if (E->CurveChanged()) return true;
    return false;
}

bool TNPatchEdges::IsComplete() const {
    for (const auto& E : FItems)
        if (!E->IsComplete()) return false;
    return true;
}

void TNPatchEdges::Update() {
    for (const auto& E : FItems) E->Update();
}

void TNPatchEdges::DrawCurves(IGraphics& G) const {
    for (const auto& E : FItems)
        if (E->WorkingCurve() != nullptr) E->WorkingCurve()->Draw(G);
}

void TNPatchEdges::DrawCrossTangents(IGraphics& G, double Length) const {
    for (const auto& E : FItems) {
        TBSpline* W = E->WorkingCurve();
        TBSpline* X = E->CrossTangentCurve();
        if (W != nullptr && X != nullptr && X->Count() > 1) DrawCrossVectors(G, *W, *X, Length / 2, false);
    }
}

void TNPatchEdges::DrawCrossDerivatives(IGraphics& G) const {
    for (const auto& E : FItems) {
        TBSpline* W = E->WorkingCurve();
        TBSpline* C = E->CrossDerivativeCurve();
        if (W != nullptr && C != nullptr && C->Count() > 1) DrawCrossVectors(G, *W, *C, 0.25, true);
    }
}

// ---- Patch ----

TNPatch::TNPatch() : FVertices(*this), FEdges(*this) {}

TNPatch::~TNPatch() { Clear(); }

void TNPatch::Clear() {
    FEdges.Clear();
    FVertices.Clear();
}

void TNPatch::SetDetectChanges(bool Value) {
    if (FVertices.Count() > 0 || FEdges.Count() > 0)
        throw EGeometryError(
            "TNPatch.SetDetectChanges - Cannot set change detection state while patch contains edge data");
    FDetectChanges = Value;
}

void TNPatch::AddBoundaryCurve(TBSpline* Curve, const TBSpline* CrossTangent) {
    if (Curve == nullptr || Curve->Count() == 0) return;
    TNPatchVertex* V1 = FVertices.FindOrAdd(Curve->First()->Vector());
    TNPatchVertex* V2 = FVertices.FindOrAdd(Curve->Last()->Vector());
    // Both ends need a free slot; a curve closed on itself needs both slots of its one vertex.
    const bool Room = V1 == V2 ? V1->EdgeCount() == 0 : V1->EdgeCount() <= 1 && V2->EdgeCount() <= 1;
    if (!Room) return;
    TNPatchEdge* E = FEdges.AddNew();
    E->SetStartVertex(V1);
    E->SetEndVertex(V2);
    E->SetCurves(Curve, CrossTangent);
}

bool TNPatch::SetBoundaryCurves(const TBSplines& Curves) {
    Clear();
    for (int i = 0; i < Curves.Count(); ++i) AddBoundaryCurve(Curves.Items(i), nullptr);
    const bool Closed = IsClosed();
    if (Closed) Update();
    return Closed;
}

bool TNPatch::IsClosed() const { return FVertices.IsComplete() && FEdges.IsComplete(); }

bool TNPatch::EdgesChanged() { return FDetectChanges && FEdges.AnyCurveChanged(); }

bool TNPatch::Update() {
    const bool Changed = EdgesChanged();
    FVertices.Update();
    FEdges.Update();
    Build();
    return Changed;
}

std::vector<TBSpline*> TNPatch::CurvesToJoin() const { return CurvesToJoinAt(FVertices); }

void TNPatch::GenerateCrossDerivatives() {
    for (int i = 0; i < FEdges.Count(); ++i) {
        TNPatchEdge* E = FEdges.Items(i);
        for (TBSpline* C : {E->WorkingCurve(), E->CrossTangentCurve()})
            if (C != nullptr && C->Count() > 0) C->NormaliseKnots();
    }
    for (int i = 0; i < FEdges.Count(); ++i) FEdges.Items(i)->GenerateCrossDerivative();
}

void TNPatch::DrawBoundary(IGraphics& G) const {
    FVertices.Draw(G);
    FEdges.DrawCurves(G);
}

void TNPatch::DrawCrossTangents(IGraphics& G, double Length) const { FEdges.DrawCrossTangents(G, Length); }

void TNPatch::DrawCrossDerivatives(IGraphics& G) const { FEdges.DrawCrossDerivatives(G); }

std::unique_ptr<TNPatchVertex> TNPatch::NewVertex() { return std::make_unique<TNPatchVertex>(*this); }

std::unique_ptr<TNPatchEdge> TNPatch::NewEdge() { return std::make_unique<TNPatchEdge>(*this); }

void TNPatch::Build() {
    TNPatchEdge* First = FEdges.First();
    FCentre = ZeroVector;
    if (First == nullptr || First->StartVertex() == nullptr) return;
    TNPatchVertex* P = First->StartVertex();
    TNPatchEdge* E = First;
    TMVector Sum{0, 0, 0};
    int Visited = 0;
    // Each step visits one edge, so a loop of Count edges ends within Count steps even when the
    // edges do not close.
    for (int Step = 0; Step < FEdges.Count(); ++Step) {
        Sum = VectorAdd(Sum, P->Position);
        ++Visited;
        P = E->OtherVertex(P);
        if (P == nullptr) break;
        E = P->OtherEdge(E);
        if (E == nullptr || E == First) break;
        if (P == E->EndVertex()) E->Flip();
    }
    // A closed loop visits one vertex per edge; an open one is averaged over the vertices it reached.
    FCentre = VectorScale(Sum, 1.0 / Visited);
}

void TNPatch::AddParameterLines(TPolylineList&) {}

std::unique_ptr<TPolygonList> TNPatch::CreatePolygons() { return nullptr; }

void TNPatch::Draw(IGraphics&) {}

bool NPatchCurvesClosed(const TBSplines& Curves) {
    TNPatch Patch;
    return Patch.SetBoundaryCurves(Curves);
}

}  // namespace sarnova
