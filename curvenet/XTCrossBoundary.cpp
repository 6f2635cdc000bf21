#include "curvenet/XTCrossBoundary.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <unordered_set>
#include <vector>

#include "curvenet/XTCurve.h"
#include "curvenet/XTEdges.h"
#include "foundation/BSplineInterpolate.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
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

const double Cos5 = std::cos(5 * std::numbers::pi / 180);
const double Cos15 = std::cos(15 * std::numbers::pi / 180);
constexpr double Tolerance = 1e-4;

// Unit direction of E at V, along E away from V.
TMVector DirAt(const TEdge* E, const TVertex* V) { return E->GetFin(V)->Direction(); }

const TEdge* EdgeOf(const TFin* F) { return F != nullptr ? F->GetEdge() : nullptr; }

// N flipped when it points more than 90 degrees away from Reference.
TMVector Towards(const TMVector& N, const TMVector& Reference) {
    return VectorLength(VectorAdd(N, Reference)) < std::numbers::sqrt2 ? VectorNegate(N) : N;
}

struct TCBVertex {
    bool IsKink = false;
    bool SidesDiffer = false;
    bool IsCrossed = false;
    TMVector Normal;
    TXTEdge* EdgeIn = nullptr;
    TXTEdge* EdgeOut = nullptr;
    TVertex* Vertex = nullptr;
    TMVector Side1In, Side1Out, Side2In, Side2Out;
    // The chain's edges from the previous vertex of the list up to this one.
    std::vector<TXTEdge*> EdgesBefore;
};

struct TCBSegment {
    int Side = 0;  // 0 both sides, 1 or 2 that side only
    int FirstIndex = -1;
    int LastIndex = -1;
};

class TCrossBoundaryTangent {
public:
    TCrossBoundaryTangent(TXTCurve& ACurve, bool ALinear, const std::function<void(const TInfoMessage&)>& AOnMessage)
        : Curve(ACurve), Linear(ALinear), OnMessage(AOnMessage) {}
    void Generate(const std::vector<TXTEdge*>& Remaining);

private:
    bool Knuckle() const { return Curve.GetRibbonKind() == rkKnuckle; }
    void AddVertex(TXTEdge* In, TVertex* V, TXTEdge* Out, std::vector<TXTEdge*> Before);
    void Calculate(TCBVertex& X);
    TMVector FanSignedNormal(const TCBVertex& X, TMVector Normal) const;
    TMVector CrossingNormal(const TCBVertex& X, const TMVector& T) const;
    TMVector ContinuousNormal(const TCBVertex& X, const TMVector& T, int Side) const;
    TMVector EndNormal(const TCBVertex& X, const TMVector& T, int Side) const;
    std::vector<const TEdge*> AroundSide(const TCBVertex& X, int Side) const;
    void Check(const TCBVertex& X, const std::vector<const TEdge*>& Edges, const TMVector& N, int Side);
    void SegmentKnuckle(int Side);
    void SegmentOther();
    void GenerateSegment(const TCBSegment& S);

    TXTCurve& Curve;
    bool Linear;
    const std::function<void(const TInfoMessage&)>& OnMessage;
    std::vector<TCBVertex> Vertices;
    std::vector<TCBSegment> Segments;
};

void TCrossBoundaryTangent::AddVertex(TXTEdge* In, TVertex* V, TXTEdge* Out, std::vector<TXTEdge*> Before) {
    TCBVertex X;
    X.EdgeIn = In;
    X.EdgeOut = Out;
    X.Vertex = V;
    X.EdgesBefore = std::move(Before);
    Calculate(X);
    Vertices.push_back(std::move(X));
}

TMVector TCrossBoundaryTangent::FanSignedNormal(const TCBVertex& X, TMVector Normal) const {
    const TEdge* First = X.Vertex->FirstEdge();
    const TFace* A = First->Fin1()->GetFace();
    const TFace* B = First->Fin2()->GetFace();
    const TFace* Face = A;
    const auto Index = [](const TFace* F) { return F->GetManifold()->Faces().IndexOf(F); };
    if (A == nullptr || (B != nullptr && (B->FinCount() < A->FinCount() ||
                                          (B->FinCount() == A->FinCount() && Index(B) < Index(A)))))
        Face = B;
    if (Face == nullptr) return Normal;
    const TMVector P = X.Vertex->Position;
    TMVector Fan;
    const auto& Fins = Face->Fins();
    for (std::size_t I = 0; I < Fins.size(); ++I) {
        const TMVector Pa = Fins[I]->GetVertex()->Position;
        const TMVector Pb = Fins[(I + 1) % Fins.size()]->GetVertex()->Position;
        Fan = VectorAdd(Fan, VectorNormalise(Cross(VectorNormalise(VectorFromTo(P, Pa)), VectorNormalise(VectorFromTo(P, Pb)))));
    }
    Fan = VectorNormalise(Fan);
    if (VectorLength(Fan) > 0 && VectorLength(VectorAdd(Fan, Normal)) > std::numbers::sqrt2) return VectorNegate(Normal);
    return Normal;
}

// The edges met going round the vertex on one side from one curve edge to the other, those two
// excluded: side 1 from the outgoing edge, side 2 from the incoming one.
std::vector<const TEdge*> TCrossBoundaryTangent::AroundSide(const TCBVertex& X, int Side) const {
    std::vector<const TEdge*> Result;
    const TEdge* To = Side == 1 ? X.EdgeIn : X.EdgeOut;
    const TFin* F = (Side == 1 ? X.EdgeOut->Fin1() : X.EdgeIn->Fin2())->NextFin;
    while (F != nullptr && F->GetEdge() != To && static_cast<int>(Result.size()) <= X.Vertex->EdgeCount()) {
        Result.push_back(F->GetEdge());
        F = F->OtherFin() != nullptr ? F->OtherFin()->NextFin : nullptr;
    }
    return Result;
}

// Of Edges at V, the one most across T, provided it is more than 5 degrees from parallel; the first
// of equals.
const TEdge* MostAcross(const std::vector<const TEdge*>& Edges, const TVertex* V, const TMVector& T) {
    const TEdge* Best = nullptr;
    double BestCos = Cos5;
    for (const TEdge* E : Edges) {
        const double C = std::fabs(VectorDot(T, DirAt(E, V)));
        if (C < BestCos) {
            BestCos = C;
            Best = E;
        }
    }
    return Best;
}

TMVector TCrossBoundaryTangent::CrossingNormal(const TCBVertex& X, const TMVector& T) const {
    std::vector<const TEdge*> Crossing;
    for (int I = 0; I < X.Vertex->EdgeCount(); ++I)
        if (X.Vertex->Edge(I) != X.EdgeIn && X.Vertex->Edge(I) != X.EdgeOut) Crossing.push_back(X.Vertex->Edge(I));
    const TEdge* Best = MostAcross(Crossing, X.Vertex, T);
    if (Best == nullptr) return ZeroVector;
    return Towards(VectorNormalise(Cross(DirAt(Best, X.Vertex), T)), X.Normal);
}

TMVector TCrossBoundaryTangent::ContinuousNormal(const TCBVertex& X, const TMVector& T, int Side) const {
    const std::string Routine = "TXTCrossBoundaryVertex.GetContinuousNormal" + std::to_string(Side);
    const std::vector<const TEdge*> Edges = AroundSide(X, Side);
    if (Edges.empty()) {
        const TMVector P = X.Vertex->Position;
        throw EGeometryError(FormatWithPoint(Routine + " - Cannot calculate normal on side" + std::to_string(Side) +
                                                 " of vertex (%10.3f, %10.3f, %10.3f), there are no edges",
                                             {P.X, P.Y, P.Z}));
    }
    const TEdge* Best = MostAcross(Edges, X.Vertex, T);
    if (Best == nullptr) throw EGeometryError(Routine + " - Edge not found to create normal");
    const TMVector D = DirAt(Best, X.Vertex);
    return VectorNormalise(Side == 1 ? Cross(T, D) : Cross(D, T));
}

TMVector TCrossBoundaryTangent::EndNormal(const TCBVertex& X, const TMVector& T, int Side) const {
    const TEdge* Neighbour;
    if (X.EdgeOut == nullptr)
        Neighbour = Side == 1 ? EdgeOf(X.EdgeIn->Fin1()->PrevFin) : EdgeOf(X.EdgeIn->Fin2()->NextFin);
    else
        Neighbour = Side == 1 ? EdgeOf(X.EdgeOut->Fin1()->NextFin) : EdgeOf(X.EdgeOut->Fin2()->PrevFin);
    if (Neighbour == nullptr) return X.Normal;
    const TMVector A = DirAt(Neighbour, X.Vertex);
    if (std::fabs(VectorDot(T, A)) >= Cos15) return X.Normal;
    return Towards(VectorNormalise(Side == 1 ? Cross(T, A) : Cross(A, T)), X.Normal);
}

void TCrossBoundaryTangent::Check(const TCBVertex& X, const std::vector<const TEdge*>& Edges, const TMVector& N,
                                  int Side) {
    for (const TEdge* E : Edges) {
        if (std::fabs(VectorDot(N, DirAt(E, X.Vertex))) <= Tolerance) continue;
        if (!OnMessage) continue;
        const TMVector P = X.Vertex->Position;
        TInfoMessage M;
        M.Sender = X.Vertex;
        M.Text = FormatWithPoint("Non-continuous tangent plane at Vertex %d (%10.3f, %10.3f, %10.3f) on Side %d of %s",
                                 {X.Vertex->Index(), P.X, P.Y, P.Z, Side, Curve.GetName()});
        ExtendBoxByVector(P, M.Box);
        OnMessage(M);
    }
}

void TCrossBoundaryTangent::Calculate(TCBVertex& X) {
    TVertex* V = X.Vertex;
    // The vertex normal from consecutive edge pairs around it.
    TMVector Sum;
    TEdge* R = V->FirstEdge();
    const int Pairs = V->EdgeCount() < 3 ? 1 : V->EdgeCount();
    for (int I = 0; I < Pairs && R != nullptr; ++I) {
        TEdge* S = V->NextEdge(R);
        if (S == nullptr) break;
        const TMVector C = Cross(DirAt(R, V), DirAt(S, V));
        if (VectorLength(C) > Tolerance) Sum = VectorAdd(Sum, VectorNormalise(C));
        R = S;
    }
    X.Normal = VectorNormalise(Sum);
    if (V->EdgeCount() == 2) X.Normal = FanSignedNormal(X, X.Normal);

    const TMVector T = X.EdgeOut != nullptr ? DirAt(X.EdgeOut, V) : VectorNegate(DirAt(X.EdgeIn, V));
    const bool Both = X.EdgeIn != nullptr && X.EdgeOut != nullptr;
    X.IsKink = Both && !VectorsEqual(VectorNegate(DirAt(X.EdgeIn, V)), DirAt(X.EdgeOut, V));
    for (int I = 0; I < V->EdgeCount() && !X.IsCrossed; ++I) {
        const auto* E = dynamic_cast<const TXTEdge*>(V->Edge(I));
        X.IsCrossed = E != nullptr && E->Curve != nullptr && E->Curve != &Curve && E->Curve->GetRibbonKind() != rkNone;
    }
    // Whether a side has edges of its own between the two curve edges.
    const bool Side1Open = !Both || EdgeOf(X.EdgeIn->Fin1()->PrevFin) != X.EdgeOut;
    const bool Side2Open = !Both || EdgeOf(X.EdgeIn->Fin2()->NextFin) != X.EdgeOut;
    const auto SideNormal = [&](int Side) { return Both ? ContinuousNormal(X, T, Side) : EndNormal(X, T, Side); };
    if (Knuckle())
        X.SidesDiffer = true;
    else if (Both && (!Side1Open || !Side2Open))
        X.SidesDiffer = false;
    else
        X.SidesDiffer = !VectorsEqual(SideNormal(1), SideNormal(2));

    if (X.IsKink) {
        const auto Perpendicular = [&](const TXTEdge* Curved, const TFin* Neighbour) {
            const TEdge* A = EdgeOf(Neighbour);
            if (A == nullptr) return ZeroVector;
            return PerpendicularTo(DirAt(Curved, V), DirAt(A, V));
        };
        X.Side1In = Perpendicular(X.EdgeIn, X.EdgeIn->Fin1()->PrevFin);
        X.Side1Out = Perpendicular(X.EdgeOut, X.EdgeOut->Fin1()->NextFin);
        X.Side2In = Perpendicular(X.EdgeIn, X.EdgeIn->Fin2()->NextFin);
        X.Side2Out = Perpendicular(X.EdgeOut, X.EdgeOut->Fin2()->PrevFin);
    } else if (X.SidesDiffer) {
        TMVector N1, N2;
        if (Side1Open) N1 = SideNormal(1);
        if (Side2Open) N2 = SideNormal(2);
        if (Both) {
            if (Side1Open) {
                auto Edges = AroundSide(X, 1);
                Edges.insert(Edges.begin(), X.EdgeOut);
                Edges.push_back(X.EdgeIn);
                Check(X, Edges, N1, 1);
            }
            if (Side2Open) {
                auto Edges = AroundSide(X, 2);
                Edges.insert(Edges.begin(), X.EdgeIn);
                Edges.push_back(X.EdgeOut);
                Check(X, Edges, N2, 2);
            }
        }
        X.Side1In = X.Side1Out = Side1Open ? VectorNormalise(Cross(N1, T)) : ZeroVector;
        X.Side2In = X.Side2Out = Side2Open ? VectorNormalise(Cross(T, N2)) : ZeroVector;
    } else {
        const TMVector N = CrossingNormal(X, T);
        if (VectorLength(N) > 0) {
            std::vector<const TEdge*> All;
            for (int I = 0; I < V->EdgeCount(); ++I) All.push_back(V->Edge(I));
            Check(X, All, N, 2);
        }
        const TMVector C = VectorNormalise(Cross(T, N));
        X.Side1In = X.Side1Out = VectorNegate(C);
        X.Side2In = X.Side2Out = C;
    }
}

void TCrossBoundaryTangent::SegmentKnuckle(int Side) {
    const int M = static_cast<int>(Vertices.size());
    if (Linear) {
        for (int I = 1; I < M; ++I) Segments.push_back({Side, I - 1, I});
        return;
    }
    int Start = 0;
    for (int I = 1; I < M - 1; ++I)
        if (Vertices[I].IsKink || Vertices[I].IsCrossed) {
            Segments.push_back({Side, Start, I});
            Start = I;
        }
    Segments.push_back({Side, Start, M - 1});
}

void TCrossBoundaryTangent::SegmentOther() {
    const int M = static_cast<int>(Vertices.size());
    if (Linear) {
        for (int I = 1; I < M; ++I) {
            Segments.push_back({1, I - 1, I});
            Segments.push_back({2, I - 1, I});
        }
        return;
    }
    const auto Breaks = [&](int I) { return Vertices[I].IsKink || Vertices[I].SidesDiffer; };
    bool Separate = Vertices[0].SidesDiffer || (M > 1 && Breaks(1));
    // The open segments: both sides in Open[0], or side 1 and side 2 in Open[1] and Open[2].
    int Start = 0;
    const auto Close = [&](int End) {
        if (Separate) {
            Segments.push_back({1, Start, End});
            Segments.push_back({2, Start, End});
        } else {
            Segments.push_back({0, Start, End});
        }
        Start = End;
    };
    for (int A = 1; A <= M - 2; ++A) {
        const int B = A + 1;
        if (Separate) {
            if (!Breaks(A) && !Breaks(B)) {
                Close(A);
                Separate = false;
            } else if (Vertices[A].IsCrossed) {
                Close(A);
            }
        } else {
            if (Breaks(B)) {
                Close(A);
                Separate = true;
            } else if (Vertices[A].IsCrossed) {
                Close(A);
            }
        }
    }
    Close(M - 1);
}

void TCrossBoundaryTangent::GenerateSegment(const TCBSegment& S) {
    std::vector<TMVector> Points;
    for (int I = S.FirstIndex; I <= S.LastIndex; ++I) {
        const TCBVertex& X = Vertices[static_cast<std::size_t>(I)];
        if (S.Side == 2)
            Points.push_back(I == S.FirstIndex ? X.Side2Out : X.Side2In);
        else
            Points.push_back(I == S.FirstIndex ? X.Side1Out : X.Side1In);
    }
    TXTBSpline Ribbon(*InterpolatingCubicBSpline(Points, NaturalEndCondition, NaturalEndCondition, false));
    for (int I = S.FirstIndex + 1; I <= S.LastIndex; ++I) {
        const auto& Edges = Vertices[static_cast<std::size_t>(I)].EdgesBefore;
        const double Base = I - 1 - S.FirstIndex;
        double Total = 0;
        for (const TXTEdge* E : Edges) Total += E->Length();
        double Before = 0;
        for (TXTEdge* E : Edges) {
            const double L = E->Length();
            const double Lo = Base + (Total > 0 ? Before / Total : 0);
            const double Hi = Base + (Total > 0 ? (Before + L) / Total : 1);
            Before += L;
            std::unique_ptr<TXTBSpline> Piece = Ribbon.SubCurve(Lo, Hi);
            Piece->NormaliseKnots();
            if (S.Side == 0) {
                auto Negated = Piece->Clone();
                for (int K = 0; K < Negated->Count(); ++K) {
                    TMVector P;
                    Negated->PointAt(K, P);
                    Negated->SetPoint(K, VectorNegate(P));
                }
                E->XTFin2()->SetRibbon(std::move(Negated));
            }
            (S.Side == 2 ? E->XTFin2() : E->XTFin1())->SetRibbon(std::move(Piece));
        }
    }
}

void TCrossBoundaryTangent::Generate(const std::vector<TXTEdge*>& Remaining) {
    std::unordered_set<const TXTEdge*> Done;
    for (TXTEdge* First : Remaining) {
        if (Done.count(First)) continue;
        TXTEdge* E = First;
        while (TXTEdge* P = E->NextOnCurveAtStart()) {
            if (!AddressLess(P->StartAddress, E->StartAddress)) break;
            E = P;
        }
        // Walks the chain from E; a junction vertex is added where Junction(R, S) holds.
        const auto Walk = [&](auto Junction, bool Remove) {
            Vertices.clear();
            Segments.clear();
            AddVertex(nullptr, E->Fin1()->GetVertex(), E, {});
            if (Remove) Done.insert(E);
            std::vector<TXTEdge*> Before{E};
            TXTEdge* R = E;
            while (TXTEdge* S = R->NextOnCurveAtEnd()) {
                if (!AddressLess(R->StartAddress, S->StartAddress)) break;
                if (Junction(R, S)) {
                    AddVertex(R, R->Fin2()->GetVertex(), S, std::move(Before));
                    Before.clear();
                }
                Before.push_back(S);
                if (Remove) Done.insert(S);
                R = S;
            }
            AddVertex(R, R->Fin2()->GetVertex(), nullptr, std::move(Before));
        };
        if (Knuckle()) {
            Walk([](TXTEdge* R, TXTEdge* S) { return R->Fin1()->PrevFin != S->Fin1(); }, true);
            SegmentKnuckle(1);
            for (const TCBSegment& S : Segments) GenerateSegment(S);
            Walk([](TXTEdge* R, TXTEdge* S) { return R->Fin2()->NextFin != S->Fin2(); }, false);
            SegmentKnuckle(2);
        } else {
            Walk([](TXTEdge* R, TXTEdge*) { return R->Fin2()->GetVertex()->EdgeCount() > 2; }, true);
            SegmentOther();
        }
        for (const TCBSegment& S : Segments) GenerateSegment(S);
    }
}

}  // namespace

void GenerateCrossBoundaryTangents(TXTCurve& Curve, TManifold& Manifold, bool LinearInterpolation,
                                   const std::function<void(const TInfoMessage&)>& OnMessage) {
    std::vector<TXTEdge*> Edges;
    for (int I = 0; I < Manifold.Edges().Count(); ++I)
        if (auto* E = dynamic_cast<TXTEdge*>(Manifold.Edges().Edge(I)); E != nullptr && E->Curve == &Curve)
            Edges.push_back(E);
    GenerateCrossBoundaryTangents(Curve, Edges, LinearInterpolation, OnMessage);
}

void GenerateCrossBoundaryTangents(TXTCurve& Curve, const std::vector<TXTEdge*>& CurveEdges, bool LinearInterpolation,
                                   const std::function<void(const TInfoMessage&)>& OnMessage) {
    TCrossBoundaryTangent Run(Curve, LinearInterpolation, OnMessage);
    Run.Generate(CurveEdges);
}

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
