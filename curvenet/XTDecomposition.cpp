#include "curvenet/XTDecomposition.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "curvenet/XTCrossBoundary.h"
#include "curvenet/XTCurve.h"
#include "curvenet/XTEdges.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/Polyline.h"
#include "foundation/PolylineOps.h"
#include "foundation/VkMathsIntersect.h"
#include "foundation/VkMathsSolvers.h"
#include "surfaces/Manifold.h"

namespace sarnova {

namespace {

// Levels closer than this are one level.
constexpr double Tau = 0.0001;
constexpr double NoScore = 1e33;
// Corners flatter than 15 degrees take their cut tangent from the surface normal.
constexpr double FlatCorner = 0.2617993877991494;
const double Root2 = std::sqrt(2.0);

TXTEdge* XTEdgeOf(const TFin* F) { return F != nullptr ? dynamic_cast<TXTEdge*>(F->GetEdge()) : nullptr; }

// The vertex a fin leaves.
TVertex* TailOf(const TFin* F) { return F->OtherFin()->GetVertex(); }

double LevelOf(const TVertex* V, const TMVector& Axis) { return VectorDot(V->Position, Axis); }

// Level lies strictly between A and B, with margin Tau.
bool StrictlyBetween(double Level, double A, double B) {
    return (Level - Tau >= B && Level + Tau <= A) || (Level - Tau >= A && Level + Tau <= B);
}

// Address lies strictly inside the address range of E, in either order.
bool InsideEdge(const TBeadAddress& Address, const TXTEdge& E) {
    if (!IsValidAddress(Address)) return false;
    return (AddressLess(E.StartAddress, Address) && AddressLess(Address, E.EndAddress)) ||
           (AddressLess(E.EndAddress, Address) && AddressLess(Address, E.StartAddress));
}

// The spline parameter of E's first crossing of Plane; false when there is none.
bool FirstCrossing(const TXTEdge& E, const TMPlane& Plane, double& T) {
    TXTBSpline& S = E.GetSpline();
    if (S.Count() < 2) return false;
    auto Crossings = CurvePlaneIntersections(Plane, S.Spline());
    if (Crossings == nullptr || Crossings->Count() == 0) return false;
    T = Crossings->Point(0)->T;
    return true;
}

// The larger over the smaller of the two largest principal sizes of the points.
double Elongation(const std::vector<TMVector>& Points) {
    TPolyline P;
    for (const TMVector& V : Points) P.AddVector(V);
    const TMOrientedBox Box = PrincipalAxes(P);
    const double Large = std::max(Box.Size1, Box.Size2);
    const double Small = std::min(Box.Size1, Box.Size2);
    return Large / Small;
}

// The derivative of F's edge spline and F's ribbon at F's head (AtHead) or tail, as the spline runs.
// False when the fin has no ribbon.
bool EndData(TFin* F, bool AtHead, TMVector& Derivative, TMVector& Ribbon) {
    TXTEdge* E = XTEdgeOf(F);
    auto* XF = dynamic_cast<TXTFin*>(F);
    if (E == nullptr || XF == nullptr || XF->Ribbon().Count() < 1) return false;
    const bool AtStart = (F == E->Fin1()) == AtHead;
    TXTBSpline& S = E->GetSpline();
    if (AtStart) {
        S.StartDerivative(Derivative);
        XF->Ribbon().FirstPoint(Ribbon);
    } else {
        S.EndDerivative(Derivative);
        XF->Ribbon().LastPoint(Ribbon);
    }
    return true;
}

TMVector EdgeTangentOf(const TFin* F) {
    const auto* XF = dynamic_cast<const TXTFin*>(F);
    return XF != nullptr ? XF->EdgeTangent() : ZeroVector;
}

}  // namespace

// ---- Slices ----

TXTDecompositionSlice::TXTDecompositionSlice(TXTDecompositionDirection* ADirection, TFin* AStartFin)
    : FDirection(ADirection) {
    Start.Fin = AStartFin;
    Start.Point = AStartFin->GetVertex()->Position;
    Level = VectorDot(Start.Point, FDirection->Axis);
}

const TMVector& TXTDecompositionSlice::Axis() const { return FDirection->Axis; }

TMPlane TXTDecompositionSlice::Plane() const { return {Axis(), Level}; }

bool TXTDecompositionSlice::SharesEdge() const {
    return HasEnd() && !End.Inside && (End.Fin == Start.Fin->NextFin || Start.Fin == End.Fin->NextFin);
}

void TXTDecompositionSlice::FindOpposite() {
    if (HasEnd()) return;
    const int N = Start.Fin->GetFace() != nullptr ? Start.Fin->GetFace()->FinCount() : 0;
    TFin* R = Start.Fin->NextFin != nullptr ? Start.Fin->NextFin->NextFin : nullptr;
    for (int Steps = 0; R != nullptr && R != Start.Fin && Steps < N; ++Steps, R = R->NextFin) {
        if (!StrictlyBetween(Level, LevelOf(R->GetVertex(), Axis()), LevelOf(TailOf(R), Axis()))) continue;
        TXTEdge* E = XTEdgeOf(R);
        double T = 0;
        if (E == nullptr || !FirstCrossing(*E, Plane(), T)) return;
        End.Fin = R;
        End.Inside = true;
        E->GetSpline().PositionAt(T, End.Point);
        End.Address = InvalidBeadAddress;
        if (E->Curve != nullptr) {
            TBeadAddress A;
            E->Curve->NearestPlaneIntersection(Plane(), End.Point, A);
            if (InsideEdge(A, *E)) End.Address = A;
        }
        return;
    }
}

void TXTDecompositionSlice::SideCounts(int& P, int& Q) const {
    P = Q = 0;
    if (!HasEnd()) return;
    const int N = Start.Fin->GetFace()->FinCount();
    int K = 0;
    for (const TFin* F = Start.Fin; F != End.Fin && K <= N; F = F->NextFin) ++K;
    const bool Rising = LevelOf(End.Fin->GetVertex(), Axis()) >= LevelOf(TailOf(End.Fin), Axis());
    const int Second = N - K + (End.Inside ? 2 : 1);
    P = Rising ? K + 1 : Second;
    Q = Rising ? Second : K + 1;
}

void TXTDecompositionSlice::AspectRatios(double& R1, double& R2) const {
    R1 = R2 = NoScore;
    if (!HasEnd()) return;
    const int N = Start.Fin->GetFace()->FinCount();
    std::vector<TMVector> One, Two;
    int Steps = 0;
    for (const TFin* F = Start.Fin; F != End.Fin && Steps <= N; F = F->NextFin, ++Steps) One.push_back(F->Position());
    One.push_back(End.Point);
    Two.push_back(End.Point);
    Steps = 0;
    for (const TFin* F = End.Inside ? End.Fin : End.Fin->NextFin; F != Start.Fin && Steps <= N; F = F->NextFin, ++Steps)
        Two.push_back(F->Position());
    Two.push_back(Start.Point);
    const double A = Elongation(One);
    const double B = Elongation(Two);
    const bool Rising = LevelOf(End.Fin->GetVertex(), Axis()) >= LevelOf(TailOf(End.Fin), Axis());
    R1 = Rising ? A : B;
    R2 = Rising ? B : A;
}

bool TXTDecompositionSlice::IsReflexCut() const {
    if (!HasEnd()) return false;
    // The cut C leaves the corner between the edges D1 and D2 outside their angle.
    auto Outside = [](const TFin* Arriving, const TMVector& C) {
        const TMVector D1 = Arriving->Direction();
        const TMVector D2 = Arriving->NextFin->OtherFin()->Direction();
        return VectorAngle(D1, C) + VectorAngle(C, D2) > std::numbers::pi;
    };
    if (Outside(Start.Fin, VectorNormalise(VectorFromTo(Start.Point, End.Point)))) return true;
    if (End.Inside) return false;
    return Outside(End.Fin, VectorNormalise(VectorFromTo(End.Point, Start.Point)));
}

void TXTDecompositionSlice::Prepare() {
    if (!HasEnd() || SharesEdge()) return;
    if (End.Inside) {
        TXTEdge* E = XTEdgeOf(End.Fin);
        TEdgeSplit Split;
        double T = 0;
        if (E != nullptr && E->ForceBezier && FirstCrossing(*E, Plane(), T)) {
            E->SubDivideAtT(Split, T);
        } else if (E != nullptr && !E->ForceBezier && InsideEdge(End.Address, *E)) {
            E->SubDivideAtBead(End.Address, Split);
        } else {
            // No place to split the crossed edge at: this slice makes no cut.
            End = TXTSliceEnd();
            return;
        }
        if (E->Fin1() == End.Fin) End.Fin = End.Fin->PrevFin;
        End.Inside = false;
        FDirection->UpdateSlices(E, this);
    }

    const TMVector Chord = VectorFromTo(Start.Point, End.Point);
    Start.Tangent = Derivative(Start.Fin, End.Fin);
    if (VectorLength(VectorAdd(VectorNormalise(Start.Tangent), VectorNormalise(Chord))) < Root2)
        Start.Tangent = VectorNegate(Start.Tangent);
    End.Tangent = Derivative(End.Fin, Start.Fin);
    if (VectorLength(VectorAdd(VectorNormalise(End.Tangent), VectorNormalise(VectorNegate(Chord)))) < Root2)
        End.Tangent = VectorNegate(End.Tangent);

    // The tangents' reach along the chord is held to 2.4 chord lengths.
    const double Length = VectorLength(Chord);
    const TMVector Along = VectorNormalise(Chord);
    const double Reach = std::abs(VectorDot(Start.Tangent, Along)) + std::abs(VectorDot(End.Tangent, Along));
    const double Limit = 2.4 * Length;
    if (Reach > Limit) {
        Start.Tangent = VectorScale(Start.Tangent, Limit / Reach);
        End.Tangent = VectorScale(End.Tangent, Limit / Reach);
    }
}

void TXTDecompositionSlice::Repoint(const TEdge* Edge) {
    if (Start.Fin == Edge->Fin2()) Start.Fin = Start.Fin->NextFin;
    if (!HasEnd()) return;
    if (!End.Inside) {
        if (End.Fin == Edge->Fin2()) End.Fin = End.Fin->NextFin;
        return;
    }
    if (End.Fin != Edge->Fin1() && End.Fin != Edge->Fin2()) return;
    if (StrictlyBetween(Level, LevelOf(End.Fin->GetVertex(), Axis()), LevelOf(TailOf(End.Fin), Axis()))) return;
    End.Fin = End.Fin == Edge->Fin1() ? End.Fin->PrevFin : End.Fin->NextFin;
}

bool TXTDecompositionSlice::Cut() {
    if (!HasEnd() || SharesEdge()) return false;
    // An end still inside an edge was not prepared.
    if (End.Inside || Start.Fin->GetFace() == nullptr || Start.Fin->GetFace() != End.Fin->GetFace()) return true;
    TFaceSplit Split;
    Start.Fin->GetFace()->SubDivideAtFins(Start.Fin, End.Fin, Split);
    auto* E = dynamic_cast<TXTEdge*>(Split.NewEdge);
    if (E == nullptr) return true;
    const TMVector P0 = E->Fin1()->Position();
    const TMVector P3 = E->Fin2()->Position();
    TXTBSpline& S = E->GetSpline();
    S.Clear();
    S.AddPoint(P0);
    S.AddPoint(VectorAdd(P0, VectorScale(Start.Tangent, 1.0 / 3)));
    S.AddPoint(VectorAdd(P3, VectorScale(End.Tangent, 1.0 / 3)));
    S.AddPoint(P3);
    S.SetOrder(4);
    SetInteriorEdgeRibbons(*E);
    return false;
}

TMVector TXTDecompositionSlice::Derivative(TFin* A, TFin* B) const {
    TXTEdge* EA = XTEdgeOf(A);
    TXTEdge* EN = XTEdgeOf(A->NextFin);
    const TMVector Normal = Axis();
    if (EA != nullptr && EN != nullptr && EA->Curve != nullptr && EA->Curve == EN->Curve) {
        // A's vertex lies inside a run of one curve: blend the neighbours' tangents at the run's ends.
        auto OnCurve = [&](const TFin* F) { return XTEdgeOf(F) != nullptr && XTEdgeOf(F)->Curve == EA->Curve; };
        auto OnlyOneCurve = [] {
            throw EGeometryError(
                "TXTDecompositionSlice.Derivative - Failed to find derivative, face seems to be boundard by only one curve!");
        };
        double Forward = 0;
        TFin* Last = A;
        for (TFin* F = A->NextFin; OnCurve(F); F = F->NextFin) {
            if (F == A) OnlyOneCurve();
            Forward += F->GetEdge()->Length();
            Last = F;
        }
        double Back = A->GetEdge()->Length();
        TFin* First = A;
        for (TFin* F = A->PrevFin; OnCurve(F); F = F->PrevFin) {
            if (F == A) OnlyOneCurve();
            Back += F->GetEdge()->Length();
            First = F;
        }
        // The neighbours' tangents leaving the run's ends, in terms of the run's tangent and ribbon.
        const TMVector N0 = EdgeTangentOf(First->PrevFin);
        const TMVector N1 = EdgeTangentOf(Last->NextFin->OtherFin());
        const double H = Back / (Back + Forward);
        TMVector C0, R0, C1, R1, CA, RA;
        double S0 = 0, T0 = 0, S1 = 0, T1 = 0;
        bool Failed = !EndData(First, false, C0, R0) || !EndData(Last, true, C1, R1) || !EndData(A, true, CA, RA);
        Failed = Failed || Solve3DLinearEquation(C0, R0, N0, S0, T0, false);
        Failed = Failed || Solve3DLinearEquation(C1, R1, N1, S1, T1, false);
        if (Failed) return VectorLerp(N0, N1, H);
        const double S = (1 - H) * S0 + H * S1;
        const double T = (1 - H) * T0 + H * T1;
        const TMVector Q = VectorAdd(VectorScale(RA, T), VectorScale(CA, S));
        return EllipticVector(CA, Q, Normal);
    }

    // A corner between two curves: the tangents of both edges leaving it.
    const TMVector V = EdgeTangentOf(A);
    const TMVector W = EdgeTangentOf(A->NextFin->OtherFin());
    double Alpha = VectorAngle(V, W);
    if (Alpha > std::numbers::pi / 2) Alpha = std::numbers::pi - Alpha;
    if (Alpha > FlatCorner) return EllipticVector(V, W, Normal);
    // Nearly straight through: across the surface, in the slice plane.
    TMVector D, R;
    EndData(A, true, D, R);
    const TMVector N = VectorNormalise(VectorCross(A->Direction(), VectorNormalise(R)));
    TMVector T = VectorNormalise(VectorCross(N, Normal));
    const TMVector ToB = VectorFromTo(A->Position(), B->Position());
    if (VectorLength(VectorAdd(T, VectorNormalise(ToB))) < Root2) T = VectorNegate(T);
    return VectorScale(T, VectorLength(ToB));
}

// ---- Directions ----

void TXTDecompositionDirection::DeleteSlice(int Index) { FSlices.erase(FSlices.begin() + Index); }

void TXTDecompositionDirection::Build(const TMVector& AAxis) {
    Axis = AAxis;
    Failed = false;
    Score = NoScore;
    FSlices.clear();
    auto It = FOwner->Face()->FinIterator();
    while (It->MoveNext()) FSlices.push_back(std::make_unique<TXTDecompositionSlice>(this, It->Current()));
    std::stable_sort(FSlices.begin(), FSlices.end(), [](const auto& A, const auto& B) { return A->Level < B->Level; });

    auto LevelAt = [this](int S) { return Slice(S)->Level; };
    for (int S = 1; S + 1 < SliceCount(); ++S)
        if (std::abs(LevelAt(S - 1) - LevelAt(S + 1)) < Tau) {
            Failed = true;
            return;
        }
    // Two vertices on one level: one cut from the one to the other.
    for (int S = SliceCount() - 2; S >= 0; --S)
        if (std::abs(LevelAt(S) - LevelAt(S + 1)) < Tau) {
            Slice(S + 1)->End = Slice(S)->Start;
            DeleteSlice(S);
        }
    for (const auto& S : FSlices) S->FindOpposite();

    // The first and last slices are the lowest and highest vertices, which start no real cut. An end
    // cut that would leave a triangle beside a four-sided band goes.
    int P1 = 0, Q1 = 0, P2 = 0, Q2 = 0;
    if (SliceCount() == 4) {
        Slice(1)->SideCounts(P1, Q1);
        Slice(2)->SideCounts(P2, Q2);
        if (P1 == 3 && P2 == 4 && Q2 == 4)
            DeleteSlice(1);
        else if (Q2 == 3 && Q1 == 4 && P1 == 4)
            DeleteSlice(2);
    }
    if (SliceCount() < 3) {
        Failed = true;
        return;
    }
    if (SliceCount() >= 5) {
        Slice(1)->SideCounts(P1, Q1);
        Slice(2)->SideCounts(P2, Q2);
        if (!Slice(1)->IsReflexCut() && P1 == 3 && P2 == 4) DeleteSlice(1);
        const int Last = SliceCount() - 2;
        Slice(Last)->SideCounts(P1, Q1);
        Slice(Last - 1)->SideCounts(P2, Q2);
        if (!Slice(Last)->IsReflexCut() && Q1 == 3 && Q2 == 4) DeleteSlice(Last);
    }

    const int Count = SliceCount();
    if (Count == 3) {
        int P = 0, Q = 0;
        Slice(1)->SideCounts(P, Q);
        Slice(1)->SidesBefore = P;
        Slice(1)->SidesAfter = Q;
        double R1 = 0, R2 = 0;
        Slice(1)->AspectRatios(R1, R2);
        Score = R1 * R2;
        return;
    }
    int P = 0, Q = 0;
    Slice(1)->SideCounts(P, Q);
    Slice(1)->SidesBefore = P;
    Slice(Count - 2)->SideCounts(P, Q);
    Slice(Count - 2)->SidesAfter = Q;
    double R1 = 0, R2 = 0, Unused = 0;
    Slice(1)->AspectRatios(R1, Unused);
    Slice(Count - 2)->AspectRatios(Unused, R2);
    Score = R1 * R2;
    for (int S = 2; S <= Count - 2; ++S) {
        Slice(S - 1)->SidesAfter = 4;
        Slice(S)->SidesBefore = 4;
        const TXTDecompositionSlice* Low = Slice(S - 1);
        const TXTDecompositionSlice* High = Slice(S);
        Score *= Elongation({Low->StartPoint(), Low->EndPoint(), High->EndPoint(), High->StartPoint()});
    }
}

bool TXTDecompositionDirection::Execute() {
    for (const auto& S : FSlices) S->Prepare();
    for (const auto& S : FSlices)
        if (S->Cut()) return true;
    return false;
}

void TXTDecompositionDirection::UpdateSlices(const TEdge* Edge, const TXTDecompositionSlice* Except) {
    for (const auto& S : FSlices)
        if (S.get() != Except) S->Repoint(Edge);
}

// ---- The decomposition ----

bool TXTDecomposition::Plan(TFace* AFace) {
    FFace = AFace;
    FDirections.clear();
    FChosen = nullptr;
    if (FFace == nullptr || FFace->FinCount() <= 3) return true;
    const std::vector<TFin*> Loop = ClosedFinLoop(FFace->FirstFin(), "TXTDecomposition.Plan");
    TPolyline Outline;
    for (TFin* F : Loop) {
        // Only curve-network edges can be split and cut.
        if (dynamic_cast<TXTFin*>(F) == nullptr || XTEdgeOf(F) == nullptr) return true;
        Outline.AddVector(F->Position());
    }
    FNormal = Outline.FittedPlane().Normal;
    const TMVector Axes[] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}};
    for (const TMVector& A : Axes) {
        if (std::abs(VectorDot(FNormal, A)) >= std::sqrt(3.0) / 2) continue;
        FDirections.push_back(std::make_unique<TXTDecompositionDirection>(this));
        FDirections.back()->Build(A);
    }
    return std::all_of(FDirections.begin(), FDirections.end(), [](const auto& D) { return D->Failed; });
}

bool TXTDecomposition::Execute() {
    FChosen = nullptr;
    for (const auto& D : FDirections)
        if (!D->Failed && D->Score < NoScore && (FChosen == nullptr || D->Score < FChosen->Score)) FChosen = D.get();
    return FChosen != nullptr && FChosen->Execute();
}

bool Decompose(TFace* Face) {
    TXTDecomposition D;
    return D.Plan(Face) || D.Execute();
}

}  // namespace sarnova
