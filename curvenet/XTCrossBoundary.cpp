#include "curvenet/XTCrossBoundary.h"

#include <memory>

#include "curvenet/XTEdges.h"
#include "foundation/VkMaths.h"

namespace sarnova {

namespace {

// Right-handed A x B (VectorCross gives B x A).
TMVector Cross(const TMVector& A, const TMVector& B) { return VectorCross(B, A); }

// A made perpendicular to the tangent T in the plane of T and A, pointing to A's side.
TMVector PerpendicularTo(const TMVector& T, const TMVector& A) {
    return VectorNormalise(Cross(VectorNormalise(Cross(T, A)), T));
}

// The perpendicular direction towards Neighbour at V, the vertex where Neighbour meets the edge.
TMVector SideDirection(const TMVector& Tangent, const TFin* Neighbour, const TVertex* V) {
    if (Neighbour == nullptr || V == nullptr) return ZeroVector;
    const TEdge* E = Neighbour->GetEdge();
    if (E == nullptr || E->OtherVertex(V) == nullptr) return ZeroVector;
    return PerpendicularTo(Tangent, E->GetFin(V)->Direction());
}

std::unique_ptr<TXTBSpline> StraightRibbon(const TMVector& Start, const TMVector& End) {
    auto R = std::make_unique<TXTBSpline>();
    R->SetOrder(2);
    R->AddPoint(Start);
    R->AddPoint(End);
    R->Spline().UpdateKnots();
    return R;
}

}  // namespace

void SetInteriorEdgeRibbons(TXTEdge& Edge) {
    TXTFin* F1 = Edge.XTFin1();
    TXTFin* F2 = Edge.XTFin2();
    if (F1 == nullptr || F2 == nullptr) return;
    const TVertex* Start = F1->GetVertex();
    const TVertex* End = F2->GetVertex();
    TMVector TStart, TEnd;
    Edge.Direction(0, TStart);
    Edge.Direction(1, TEnd);
    // The first fin arrives at the start: its loop goes on along the neighbour there and comes in
    // along the neighbour at the end. The second fin runs the other way.
    F1->SetRibbon(StraightRibbon(SideDirection(TStart, F1->NextFin, Start), SideDirection(TEnd, F1->PrevFin, End)));
    F2->SetRibbon(StraightRibbon(SideDirection(TStart, F2->PrevFin, Start), SideDirection(TEnd, F2->NextFin, End)));
}

}  // namespace sarnova
