#include "surfaces/NPatchFootprint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/Graphics.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/VkMathsIntersect.h"
#include "surfaces/Surface.h"

namespace sarnova {

namespace {

// Below this the closest approach of two lines is not determined (the lines run parallel).
constexpr double ParallelDet = 1e-9;

// Footprint corners closer than this fraction of the footprint's size count as coincident.
constexpr double CoincidentCorners = 1e-9;

// The foot of Q on the line C0 + t (C1 - C0): the point and t.
TMVector FootOnSide(const TMVector& Q, const TMVector& C0, const TMVector& C1, double& T) {
    const TMVector D = VectorFromTo(C0, C1);
    const double L2 = VectorDot(D, D);
    T = L2 > 0 ? VectorDot(VectorFromTo(C0, Q), D) / L2 : 0.0;
    return VectorAdd(C0, VectorScale(D, T));
}

// The corners on the unit circle, edge 0's at angle 0, spaced by the chord lengths of the sides;
// false (nothing set) when every side has length 0.
bool ChordLengthCorners(const std::vector<TFootprintNPatchEdge*>& Loop) {
    double Total = 0;
    for (const TFootprintNPatchEdge* Edge : Loop) Total += Edge->ChordLength();
    if (!(Total > 0)) return false;
    double Run = 0;
    for (TFootprintNPatchEdge* Edge : Loop) {
        const double a = 2 * std::numbers::pi * Run / Total;
        Edge->DomainCorner = {std::sin(a), std::cos(a), 0};
        Run += Edge->ChordLength();
    }
    return true;
}

// The corners, lying in the plane of Normal, make a convex polygon that goes round once and turns
// by a clear angle at every corner.
bool ConvexCorners(const std::vector<TFootprintNPatchEdge*>& Loop, const TMVector& Normal) {
    // Radians; a corner turning less than this is taken as straight.
    constexpr double LeastTurn = 1e-3;
    const std::size_t N = Loop.size();
    double Sum = 0;
    for (std::size_t k = 0; k < N; ++k) {
        const TMVector& C0 = Loop[(k + N - 1) % N]->DomainCorner;
        const TMVector& C1 = Loop[k]->DomainCorner;
        const TMVector& C2 = Loop[(k + 1) % N]->DomainCorner;
        const TMVector In = VectorFromTo(C0, C1);
        const TMVector Out = VectorFromTo(C1, C2);
        // VectorCross (Out, In) is In x Out.
        const double Turn = std::atan2(VectorDot(VectorCross(Out, In), Normal), VectorDot(In, Out));
        if (!(std::fabs(Turn) >= LeastTurn) || (k > 0 && (Turn > 0) != (Sum > 0))) return false;
        Sum += Turn;
    }
    return std::fabs(std::fabs(Sum) - 2 * std::numbers::pi) < 1e-6;
}

}  // namespace

// ---- Edges ----

TFootprintNPatchEdge::TFootprintNPatchEdge(TFootprintNPatch& Owner) : TNPatchEdge(Owner) {}

TFootprintNPatch& TFootprintNPatchEdge::FootprintPatch() const { return static_cast<TFootprintNPatch&>(Patch()); }

TFootprintNPatchEdge* TFootprintNPatchEdge::PreviousEdge() const {
    return dynamic_cast<TFootprintNPatchEdge*>(TNPatchEdge::PreviousEdge());
}

TFootprintNPatchEdge* TFootprintNPatchEdge::NextEdge() const {
    return dynamic_cast<TFootprintNPatchEdge*>(TNPatchEdge::NextEdge());
}

void TFootprintNPatchEdge::SetDomainPoint(const TMVector& Q) {
    const TFootprintNPatchEdge* Previous = PreviousEdge();
    const TMVector C0 = Previous != nullptr ? Previous->DomainCorner : DomainCorner;
    const TMVector& C1 = DomainCorner;
    if (!ParallelNeighbours) {
        // The side line starts at C0 and is directed from C1 towards C0, so |t| is the distance
        // from C0.
        const TMClosestApproach A = ClosestApproachOfLines(LineThroughPoints(Q, Focus), LineThroughPoints(C0, C1));
        const double Length = VectorDistance(C0, C1);
        if (std::fabs(A.Det) >= ParallelDet && Length > 0) {
            SideDistance = VectorDistance(Q, A.PB);
            SidePosition = std::fabs(A.TB) / Length;
            return;
        }
        // Q on the focus: every line through it would do; its foot on the side is the limit.
    }
    double t;
    const TMVector H = FootOnSide(Q, C0, C1, t);
    SideDistance = VectorDistance(Q, H);
    SidePosition = std::clamp(t, 0.0, 1.0);
}

TMVector TFootprintNPatchEdge::SideInterpolant(double, double) { return ZeroVector; }

TMVector TFootprintNPatchEdge::SectorPoint(double A, double B) const {
    const TFootprintNPatchEdge* X = NextEdge();
    if (X == nullptr) throw EGeometryError("TFootprintNPatchEdge.SectorPoint - The patch loop is not closed");
    const TMVector& Centre = FootprintPatch().DomainCentre;
    const TMVector Y = VectorLerp(Centre, X->SidePoint, A);
    const TMVector Z = VectorLerp(SidePoint, Centre, B);
    return PointBetweenTwoLines(PencilLine(Y), X->PencilLine(Z));
}

TMLine TFootprintNPatchEdge::PencilLine(const TMVector& Through) const {
    const TFootprintNPatchEdge* Previous = PreviousEdge();
    const TFootprintNPatchEdge* Next = NextEdge();
    if (!ParallelNeighbours || Previous == nullptr || Next == nullptr || Previous->PreviousEdge() == nullptr)
        return LineThroughPoints(Focus, Through);
    // The neighbouring sides are parallel only within a tolerance: the direction turns from the
    // previous side's to the next side's with the distance between them, so that the line through
    // a point of either side is that side itself and the sectors keep to the sides.
    const TMVector& P0 = Previous->PreviousEdge()->DomainCorner;
    const TMVector& P1 = Previous->DomainCorner;
    const TMVector& N0 = DomainCorner;
    const TMVector& N1 = Next->DomainCorner;
    const TMVector D0 = VectorNormalise(VectorFromTo(P0, P1));
    TMVector D1 = VectorNormalise(VectorFromTo(N0, N1));
    if (VectorDot(D0, D1) < 0) D1 = VectorScale(D1, -1);
    double T0, T1;
    const double To0 = VectorDistance(Through, FootOnSide(Through, P0, P1, T0));
    const double To1 = VectorDistance(Through, FootOnSide(Through, N0, N1, T1));
    const double W = To0 + To1 > 0 ? To0 / (To0 + To1) : 0.5;
    return LineThroughPoints(Through, VectorAdd(Through, VectorLerp(D0, D1, W)));
}

TMVector TFootprintNPatchEdge::EvaluateSector(double A, double B) {
    return FootprintPatch().EvaluateDomainPoint(SectorPoint(A, B));
}

// ---- Patch ----

std::unique_ptr<TNPatchEdge> TFootprintNPatch::NewEdge() { return std::make_unique<TFootprintNPatchEdge>(*this); }

TFootprintNPatchEdge* TFootprintNPatch::FirstEdge() const {
    return dynamic_cast<TFootprintNPatchEdge*>(TNPatch::FirstEdge());
}

void TFootprintNPatch::Build() {
    TNPatch::Build();
    FLoop.clear();
    FValid = false;

    // The loop from the first edge; it must be one closed loop through every edge.
    TFootprintNPatchEdge* First = FirstEdge();
    if (First == nullptr || !IsClosed()) return;
    TFootprintNPatchEdge* E = First;
    do {
        FLoop.push_back(E);
        E = E->NextEdge();
    } while (E != nullptr && E != First && static_cast<int>(FLoop.size()) <= Edges().Count());
    const int N = static_cast<int>(FLoop.size());
    if (E != First || N != Edges().Count() || N < 3) return;

    switch (FootprintType) {
        case 0:
            for (int k = 0; k < N; ++k) {
                const double a = 2 * std::numbers::pi * k / N;
                FLoop[static_cast<std::size_t>(k)]->DomainCorner = {std::sin(a), std::cos(a), 0};
            }
            break;
        case 1:
            if (!ChordLengthCorners(FLoop)) return;
            break;
        case 2: {
            TPolyline Corners;
            for (const TFootprintNPatchEdge* Edge : FLoop) Corners.AddVector(Edge->EndVertex()->Position);
            TMPlane Plane{};
            FitPlaneToPoints(Corners, 3, Plane);
            // Corners on one line leave the plane undetermined.
            if (!(VectorLength(Plane.Normal) > 0.5)) return;
            for (TFootprintNPatchEdge* Edge : FLoop)
                Edge->DomainCorner = PointOnPlaneClosestToPoint(Plane, Edge->EndVertex()->Position);
            // An outline that is not convex in projection (a corner bent inwards, or straight where a
            // curve runs on through a T-junction) has sectors that fold or vanish: it is spaced by
            // chord length instead, which keeps the sides, though not the plane.
            if (!ConvexCorners(FLoop, Plane.Normal) && !ChordLengthCorners(FLoop)) return;
            break;
        }
        default:
            break;
    }

    TMVector Sum{0, 0, 0};
    for (const TFootprintNPatchEdge* Edge : FLoop) Sum = VectorAdd(Sum, Edge->DomainCorner);
    DomainCentre = VectorScale(Sum, 1.0 / N);

    double Size = 0;
    for (const TFootprintNPatchEdge* Edge : FLoop) Size = std::max(Size, VectorDistance(Edge->DomainCorner, DomainCentre));
    for (int k = 0; k < N; ++k)
        if (!(VectorDistance(FLoop[static_cast<std::size_t>(k)]->DomainCorner,
                             FLoop[static_cast<std::size_t>((k + 1) % N)]->DomainCorner) > CoincidentCorners * Size))
            return;

    try {
        for (int k = 0; k < N; ++k) {
            TFootprintNPatchEdge& Edge = *FLoop[static_cast<std::size_t>(k)];
            const TMVector& C = Edge.DomainCorner;
            const TMVector& P = FLoop[static_cast<std::size_t>((k + N - 1) % N)]->DomainCorner;
            const TMVector& PP = FLoop[static_cast<std::size_t>((k + N - 2) % N)]->DomainCorner;
            const TMVector& X = FLoop[static_cast<std::size_t>((k + 1) % N)]->DomainCorner;
            const TMLine LPrev = LineThroughPoints(P, PP);
            const TMLine LOwn = LineThroughPoints(P, C);
            const TMLine LNext = LineThroughPoints(C, X);
            if (std::fabs(VectorDot(LPrev.Direction, LNext.Direction)) < 1 - DefaultTolerance) {
                Edge.ParallelNeighbours = false;
                Edge.Focus = PointBetweenTwoLines(LPrev, LNext);
                Edge.SidePoint = PointBetweenTwoLines(LOwn, LineThroughPoints(DomainCentre, Edge.Focus));
            } else {
                Edge.ParallelNeighbours = true;
                Edge.SidePoint = VectorMidpoint(P, C);
                Edge.Focus = Edge.SidePoint;
            }
        }
        // Every sector must have its four corners: lines that meet nowhere show a footprint whose
        // sectors do not exist.
        for (const TFootprintNPatchEdge* Edge : FLoop)
            for (const double A : {0.0, 1.0})
                for (const double B : {0.0, 1.0}) Edge->SectorPoint(A, B);
    } catch (const EError&) {
        return;
    }
    FValid = true;
}

void TFootprintNPatch::CheckFootprint() const {
    if (!FValid)
        throw EGeometryError(
            "TFootprintNPatch - The patch has no usable footprint (an open loop, fewer than three sides or "
            "coincident corners)");
}

TMVector TFootprintNPatch::NearestCornerPoint(const TMVector& Q) const {
    const TFootprintNPatchEdge* Nearest = nullptr;
    double Best = HugeValue;
    for (const TFootprintNPatchEdge* Edge : FLoop) {
        const double d = VectorDistance(Edge->DomainCorner, Q);
        if (d < Best) {
            Best = d;
            Nearest = Edge;
        }
    }
    if (Nearest == nullptr) return ZeroVector;
    const TBSpline* W = Nearest->WorkingCurve();
    return W != nullptr && W->Count() > 0 ? W->Last()->Vector() : Nearest->EndVertex()->Position;
}

template <typename F>
void TFootprintNPatch::ForEachSectorLine(F Line) {
    if (!FValid) return;
    const int m = std::max(SectorGridDensity, 1);
    std::vector<TMVector> Points(static_cast<std::size_t>(m + 1));
    for (TFootprintNPatchEdge* Edge : FLoop)
        for (int Direction = 0; Direction < 2; ++Direction)
            for (int k = 0; k <= m; ++k) {
                for (int i = 0; i <= m; ++i) {
                    const double Fixed = static_cast<double>(k) / m;
                    const double Running = static_cast<double>(i) / m;
                    Points[static_cast<std::size_t>(i)] =
                        Direction == 0 ? Edge->EvaluateSector(Fixed, Running) : Edge->EvaluateSector(Running, Fixed);
                }
                Line(Points);
            }
}

void TFootprintNPatch::AddParameterLines(TPolylineList& Lines) {
    Lines.Clear();
    ForEachSectorLine([&Lines](const std::vector<TMVector>& Points) {
        auto P = std::make_unique<TPolyline>();
        for (const TMVector& V : Points) P->AddVector(V);
        Lines.Add(std::move(P));
    });
}

std::unique_ptr<TPolygonList> TFootprintNPatch::CreatePolygons() {
    auto Result = std::make_unique<TPolygonList>();
    if (!FValid) return Result;
    const int m = std::max(SectorGridDensity, 1);
    for (TFootprintNPatchEdge* Edge : FLoop) {
        TMesh Mesh(m + 1, m + 1);
        for (int j = 0; j <= m; ++j)
            for (int i = 0; i <= m; ++i)
                Mesh.Point(i, j).SetVector(Edge->EvaluateSector(static_cast<double>(i) / m, static_cast<double>(j) / m));
        auto Triangles = Mesh.CreatePolygons();
        Result->TakeFrom(*Triangles);
    }
    return Result;
}

void TFootprintNPatch::Draw(IGraphics& G) {
    ForEachSectorLine([&G](const std::vector<TMVector>& Points) {
        G.LineStartVector(Points.front());
        for (std::size_t i = 1; i < Points.size(); ++i) G.LineNextVector(Points[i]);
        G.LineFinish();
    });
}

void TFootprintNPatch::SetDomainPoint(const TMVector& Q) {
    for (TFootprintNPatchEdge* Edge : FLoop) Edge->SetDomainPoint(Q);
}

TMVector TFootprintNPatch::EvaluateDomainPoint(const TMVector&) { return ZeroVector; }

}  // namespace sarnova
