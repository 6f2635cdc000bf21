#include "curvenet/XTCurveRepresentation.h"

#include <algorithm>
#include <cmath>

#include "foundation/Errors.h"
#include "foundation/PolylineOps.h"

namespace sarnova {

namespace {

// Side tolerance of the plane crossings, and the least slope of a segment against the plane.
constexpr double PlaneTolerance = 1e-9;

std::unique_ptr<TXTPoint> PlainCopy(const TXTPoint& Point) {
    auto P = std::make_unique<TXTPoint>();
    P->Assign(Point);
    return P;
}

}  // namespace

TXTCurveRepresentation::TXTCurveRepresentation() : FSnapshot(nullptr), FPoints(this) {}

TXTCurveRepresentation::~TXTCurveRepresentation() { NotifyDestroying(); }

// ---- Point editing ----

void TXTCurveRepresentation::PointInserted(int Index, TXTPoint* Point) {
    FSnapshot.Insert(std::clamp(Index, 0, FSnapshot.Count()), PlainCopy(*Point));
    TXTInsertPointMessage Message(Point);
    SendMessage(Message);
    Changed();
}

void TXTCurveRepresentation::PointRemoved(int Index, TXTPoint* Point) {
    if (Index >= 0 && Index < FSnapshot.Count()) FSnapshot.Delete(Index);
    TXTRemovePointMessage Message(Point);
    SendMessage(Message);
    Changed();
}

void TXTCurveRepresentation::ClearPoints() {
    FPoints.Clear();
    FSnapshot.Clear();
}

void TXTCurveRepresentation::DetachPoint(int Index) {
    TXTPoint* Old = FPoints.Items(Index);
    auto Plain = std::make_unique<TXTPoint>();
    Plain->SetPosition(Old->GetPosition());  // not yet in the list: nothing is told
    FPoints.Replace(Old, std::move(Plain));
}

void TXTCurveRepresentation::AddressOfPoint(int, TBeadAddress& Address) { Address = InvalidBeadAddress; }

void TXTCurveRepresentation::RibbonAt(const TBeadAddress&, TXTRibbonTangent& Ribbon) {
    Ribbon.Kind = rkNone;
    Ribbon.Plane = NullPlane;
}

TXTPoint* TXTCurveRepresentation::AddPoint(std::unique_ptr<TXTPoint> Point) {
    TXTPoint* P = FPoints.Add(std::move(Point));
    PointInserted(FPoints.Count() - 1, P);
    return P;
}

TXTPoint* TXTCurveRepresentation::AddPointAt(const TMVector& Position) {
    auto P = std::make_unique<TXTPoint>();
    P->SetPosition(Position);
    return AddPoint(std::move(P));
}

TXTPoint* TXTCurveRepresentation::AddPointXYZ(double X, double Y, double Z) { return AddPointAt({X, Y, Z}); }

TXTPoint* TXTCurveRepresentation::InsertPoint(int Index, std::unique_ptr<TXTPoint> Point) {
    TXTPoint* P = FPoints.Insert(Index, std::move(Point));
    PointInserted(Index, P);
    return P;
}

TXTPoint* TXTCurveRepresentation::InsertPointAt(int Index, const TMVector& Position) {
    auto P = std::make_unique<TXTPoint>();
    P->SetPosition(Position);
    return InsertPoint(Index, std::move(P));
}

void TXTCurveRepresentation::DeletePoint(int Index) {
    PointRemoved(Index, FPoints.Items(Index));
    FPoints.Delete(Index);
}

void TXTCurveRepresentation::Assign(const TXTCurveRepresentation& Other) {
    if (&Other == this) return;
    SetName(Other.GetName());
    FPolyline.Assign(Other.FPolyline);
    FPoints.Assign(Other.FPoints);
    FSnapshot.Assign(Other.FSnapshot);
}

// ---- Queries ----

bool TXTCurveRepresentation::IsBreakPoint(int Index) const {
    const int N = PointCount();
    if (Index < 0 || Index >= N) return false;
    const std::uint8_t State = PointAt(Index)->State;
    if (State > psInterpolated) return true;
    if (State != psInterpolated || Index < 1 || Index > N - 2) return false;
    return PointAt(Index - 1)->State == psFree || PointAt(Index + 1)->State == psFree;
}

TXTSelectionRange TXTCurveRepresentation::SelectionRange() const {
    TXTSelectionRange R;
    int Selected = 0;
    for (int I = 0; I < PointCount(); ++I) {
        if (!PointAt(I)->Selected) continue;
        if (R.First < 0) R.First = I;
        R.Last = I;
        ++Selected;
    }
    if (R.First == R.Last)
        R.Kind = 1;
    else
        R.Kind = Selected == R.Last - R.First + 1 ? 2 : 3;
    return R;
}

bool TXTCurveRepresentation::HasPointMoved(int Index) const {
    if (FSnapshot.Count() != FPoints.Count()) return false;
    return !VectorsEqual(FPoints.Items(Index)->GetPosition(), FSnapshot.Items(Index)->GetPosition());
}

void TXTCurveRepresentation::TakeSnapshot() {
    FSnapshot.Clear();
    for (int I = 0; I < PointCount(); ++I) FSnapshot.Add(PlainCopy(*PointAt(I)));
}

// ---- The digitised curve ----

void TXTCurveRepresentation::EnsureUpToDate() {
    if (!IsUpToDate()) Regenerate();
}

std::unique_ptr<TRPoint> TXTCurveRepresentation::IntersectionOfLineAndPlane(const TRPoint& A, const TRPoint& B,
                                                                            const TMPlane& Plane) {
    const TMVector D = VectorFromTo(B.Vector(), A.Vector());
    const double DN = VectorDot(D, Plane.Normal);
    if (std::abs(DN) < PlaneTolerance)
        throw EGeometryError(
            "TXTCurveRepresentation.IntersectionOfLineAndPlane: Intersection attempted with a line parallel to plane");
    const double S = (Plane.Distance - VectorDot(A.Vector(), Plane.Normal)) / DN;
    auto P = std::make_unique<TRPoint>(VectorAdd(A.Vector(), VectorScale(D, S)));
    P->W = A.W + S * (A.W - B.W);
    P->Tag = A.Tag;
    return P;
}

std::unique_ptr<TPolyline> TXTCurveRepresentation::PlaneIntersections(const TMPlane& Plane) {
    EnsureUpToDate();
    std::unique_ptr<TPolyline> Result;
    const TPolyline& L = FPolyline;
    for (int I = 0; I + 1 < L.Count(); ++I) {
        const TRPoint& A = *L.Point(I);
        const TRPoint& B = *L.Point(I + 1);
        const int SideA = PlaneSide(Plane, A.Vector(), PlaneTolerance);
        const int SideB = PlaneSide(Plane, B.Vector(), PlaneTolerance);
        if (SideA == SideB) continue;
        if (!Result) Result = std::make_unique<TPolyline>();
        // A segment that leaves the plane more steeply than the tolerance is cut; a shallower one
        // has an end on the plane (its sides differ), and that end is the crossing.
        if (std::abs(VectorDot(VectorFromTo(B.Vector(), A.Vector()), Plane.Normal)) >= PlaneTolerance)
            Result->AddRPoint(IntersectionOfLineAndPlane(A, B, Plane));
        else
            Result->AddPointCopy(SideA == 0 ? &A : &B);
    }
    return Result;
}

void TXTCurveRepresentation::NearestPlaneIntersection(const TMPlane& Plane, const TMVector& Near,
                                                      TBeadAddress& Address) {
    Address = InvalidBeadAddress;
    std::unique_ptr<TPolyline> Crossings = PlaneIntersections(Plane);
    if (!Crossings) return;
    double Best = HugeValue;
    const TRPoint* Nearest = nullptr;
    for (int I = 0; I < Crossings->Count(); ++I) {
        const TRPoint* P = Crossings->Point(I);
        const double D = VectorDistance(P->Vector(), Near);
        if (D < Best) {
            Best = D;
            Nearest = P;
        }
    }
    if (!Nearest) return;
    Address = MakeBeadAddress(Nearest->Tag, Nearest->W);
    NormaliseAddress(Address);
}

void TXTCurveRepresentation::NearestAddress(const TMVector& P, TBeadAddress& Address) {
    EnsureUpToDate();
    Address = InvalidBeadAddress;
    if (FPolyline.Count() == 0) return;
    std::unique_ptr<TRPoint> Nearest = PolylineNearestPoint(P, FPolyline);
    Address = MakeBeadAddress(Nearest->Tag, Nearest->W);
    NormaliseAddress(Address);
}

void TXTCurveRepresentation::AddressOnAxisPlane(const TMVector& P, int Axis, TBeadAddress& Address) {
    Address = InvalidBeadAddress;
    if (Axis >= 0 && Axis <= 2) {
        TMPlane Plane = Axis == 0 ? YZPlane : Axis == 1 ? XZPlane : XYPlane;
        Plane.Distance = VectorDot(Plane.Normal, P);
        NearestPlaneIntersection(Plane, P, Address);
    }
    if (!IsValidAddress(Address)) NearestAddress(P, Address);
}

// ---- Drawing ----

void TXTCurveRepresentation::DrawDependentCurves(IGraphics& G) {
    std::unordered_set<const TXTNode*> Drawn{this};
    DrawDependentCurves(G, Drawn);
}

void TXTCurveRepresentation::DrawWithDependents(IGraphics& G) {
    Draw(G);
    DrawDependentCurves(G);
}

void TXTCurveRepresentation::DrawDependentCurves(IGraphics& G, std::unordered_set<const TXTNode*>& Drawn) {
    for (int I = 0; I < Dependents().Count(); ++I) {
        TXTReference* R = Dependents().Items(I);
        auto* Curve = R ? dynamic_cast<TXTCurveRepresentation*>(R->GetOwner()) : nullptr;
        if (!Curve || !Drawn.insert(Curve).second) continue;
        Curve->Draw(G);
        Curve->DrawDependentCurves(G, Drawn);
    }
}

}  // namespace sarnova
