// What every N-sided patch scheme shares: the loop of patch vertices and edges built from N boundary
// B-spline curves, its orientation, change detection against the caller's curves, the end tangents
// and cross-boundary derivative curves of the sides, and their drawing. The footprint domain is
// NPatchFootprint.h; the blending schemes LSqrsNPatch.h and GregoryNPatch.h.
#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "foundation/BSpline.h"

namespace sarnova {

class IGraphics;
class TBSplines;
class TNPatch;
class TNPatchEdge;
class TPolygonList;
class TPolylineList;

// The two edge slots of a patch vertex, filled in order.
template <typename TEdge>
class TEdgeSlots {
public:
    TEdge* First() const { return FEdges[0]; }
    TEdge* Second() const { return FEdges[1]; }
    int Count() const { return (FEdges[0] != nullptr) + (FEdges[1] != nullptr); }
    // The edge that is not E; nullptr when there is none.
    TEdge* Other(const TEdge* E) const {
        if (FEdges[0] != nullptr && FEdges[0] != E) return FEdges[0];
        if (FEdges[1] != nullptr && FEdges[1] != E) return FEdges[1];
        return nullptr;
    }
    // Puts E into the first free slot; false (and nothing changes) when both are taken.
    bool Attach(TEdge* E) {
        for (TEdge*& Slot : FEdges)
            if (Slot == nullptr) {
                Slot = E;
                return true;
            }
        return false;
    }

private:
    TEdge* FEdges[2] = {nullptr, nullptr};
};

// A corner of the loop. Its position is set when the vertex is made and never moved: Update moves
// the ends of the caller's curves, not the vertex.
class TNPatchVertex {
public:
    TMVector Position;

    explicit TNPatchVertex(TNPatch& Owner) : FPatch(&Owner) {}
    virtual ~TNPatchVertex();
    TNPatchVertex(const TNPatchVertex&) = delete;
    TNPatchVertex& operator=(const TNPatchVertex&) = delete;

    TNPatch& Patch() const { return *FPatch; }
    TNPatchEdge* FirstEdge() const { return FEdges.First(); }
    TNPatchEdge* SecondEdge() const { return FEdges.Second(); }
    int EdgeCount() const { return FEdges.Count(); }
    // The edge at this vertex that is not E; nullptr when there is none.
    TNPatchEdge* OtherEdge(const TNPatchEdge* E) const { return FEdges.Other(E); }
    // Puts E into the first free slot; false (and nothing changes) when both are taken.
    bool AttachEdge(TNPatchEdge* E) { return FEdges.Attach(E); }

    // With change detection and two edges: when the caller's curve end at this vertex moved on one
    // edge, the other curve's end is set to it; when both moved, both are set to their midpoint.
    virtual void Update();

private:
    TNPatch* FPatch;
    TEdgeSlots<TNPatchEdge> FEdges;
};

// A side of the loop. The working curve runs from the start vertex to the end vertex; the caller's
// curve and its stored copy are kept only with change detection on, and the caller's curve is never
// freed here.
class TNPatchEdge {
public:
    // Mean of the two vertex positions, written by Update.
    TMVector Midpoint;

    explicit TNPatchEdge(TNPatch& Owner) : FPatch(&Owner) {}
    virtual ~TNPatchEdge();
    TNPatchEdge(const TNPatchEdge&) = delete;
    TNPatchEdge& operator=(const TNPatchEdge&) = delete;

    TNPatch& Patch() const { return *FPatch; }
    bool Flipped() const { return FFlipped; }
    TBSpline* Curve() const { return FCurve; }
    TBSpline* StoredCurve() const { return FStored.get(); }
    TBSpline* WorkingCurve() const { return FWorking.get(); }
    TBSpline* CrossTangentCurve() const { return FCrossTangent.get(); }
    TBSpline* CrossDerivativeCurve() const { return FCrossDerivative.get(); }
    TNPatchVertex* StartVertex() const { return FStartVertex; }
    TNPatchVertex* EndVertex() const { return FEndVertex; }

    // Set the vertex and attach this edge to its first free slot.
    void SetStartVertex(TNPatchVertex* V);
    void SetEndVertex(TNPatchVertex* V);
    // The vertex at the other end from V.
    TNPatchVertex* OtherVertex(const TNPatchVertex* V) const;
    // The other edge at the start vertex and at the end vertex; nullptr where the loop is open.
    TNPatchEdge* PreviousEdge() const;
    TNPatchEdge* NextEdge() const;

    // The parametric derivative of the working curve at its start, pointing into the edge, and the
    // derivative at its end taken backwards, pointing into the edge from the end vertex. Without a
    // working curve of two points the chords between the vertex positions.
    TMVector StartTangent();
    TMVector EndTangent();
    // StartTangent at the start vertex, EndTangent at the end vertex, zero at any other.
    TMVector TangentAt(const TNPatchVertex* V);
    // The working curve's parameter end; 0 without one.
    double MaxT() const;
    // Distance between the vertex positions.
    double ChordLength() const;
    // With change detection: the caller's curve no longer matches its stored copy.
    bool CurveChanged();
    // Both vertices and a working curve.
    bool IsComplete() const;
    // Exchanges the vertices and reverses the working, cross-tangent and cross-derivative curves.
    void Flip();
    // The working copy from Curve and the cross-tangent copy from CrossTangent (when given); with
    // change detection the edge also keeps Curve and a stored copy of it. Nothing without a curve.
    void SetCurves(TBSpline* ACurve, const TBSpline* CrossTangent);

    // The cross-boundary derivative curve C(t) = Alpha(t) W'(t) + Beta(t) X(t), with Alpha and Beta
    // linear and fitted so that C starts with the previous edge's and ends with the next edge's end
    // tangent. Without a cross-tangent curve, or when the fit fails (logged to the console), the
    // straight curve between those two tangents. Working curves have knots on [0, 1] by then.
    void GenerateCrossDerivative();
    // The working-curve point and the cross-derivative point at T (zero without a cross-derivative
    // curve), T held to the working curve's range. Allocates nothing.
    void PointAndCross(double T, TMVector& Point, TMVector& Cross);
    // Position and derivatives of the working curve and of the cross-derivative curve at T.
    void DerivativesAt(double T, TCurveDerivatives& Point, TCurveDerivatives& Cross);

    // The caller's curve end at V moved since the stored copy was taken (within 1e-30).
    bool EndMoved(const TNPatchVertex* V) const;
    // The caller's curve point at V: its first point at the start vertex and its last at the end
    // vertex, exchanged when the edge is flipped; nullptr without a caller's curve.
    TRPoint* EndPoint(const TNPatchVertex* V) const;

    // Midpoint; with change detection the stored copy and then the working copy refreshed from the
    // caller's curve (reversed when the edge is flipped).
    virtual void Update();

private:
    TNPatch* FPatch;
    bool FFlipped = false;
    TBSpline* FCurve = nullptr;
    std::unique_ptr<TBSpline> FStored;
    std::unique_ptr<TBSpline> FWorking;
    std::unique_ptr<TBSpline> FCrossTangent;
    std::unique_ptr<TBSpline> FCrossDerivative;
    TNPatchVertex* FStartVertex = nullptr;
    TNPatchVertex* FEndVertex = nullptr;
};

// The vertices of a patch, owned.
class TNPatchVertices {
public:
    explicit TNPatchVertices(TNPatch& Owner) : FPatch(&Owner) {}
    int Count() const { return static_cast<int>(FItems.size()); }
    // The list's index error outside 0 .. Count - 1.
    TNPatchVertex* Items(int Index) const;
    // The first vertex within 1e-4 of Point in every coordinate, else a new one from the patch's
    // NewVertex placed there and appended.
    TNPatchVertex* FindOrAdd(const TMVector& Point);
    // Every vertex has two edges.
    bool IsComplete() const;
    void Update();
    void Clear() { FItems.clear(); }
    // Every vertex as an edit handle of kind 2.
    void Draw(IGraphics& G) const;

private:
    TNPatch* FPatch;
    std::vector<std::unique_ptr<TNPatchVertex>> FItems;
};

// The edges of a patch, owned.
class TNPatchEdges {
public:
    explicit TNPatchEdges(TNPatch& Owner) : FPatch(&Owner) {}
    int Count() const { return static_cast<int>(FItems.size()); }
    TNPatchEdge* Items(int Index) const;
    TNPatchEdge* First() const { return FItems.empty() ? nullptr : FItems.front().get(); }
    // A new edge from the patch's NewEdge, appended.
    TNPatchEdge* AddNew();
    bool AnyCurveChanged() const;
    bool IsComplete() const;
    void Update();
    void Clear() { FItems.clear(); }
    // Every working curve.
    void DrawCurves(IGraphics& G) const;
    void DrawCrossTangents(IGraphics& G, double Length) const;
    void DrawCrossDerivatives(IGraphics& G) const;

private:
    TNPatch* FPatch;
    std::vector<std::unique_ptr<TNPatchEdge>> FItems;
};

// A closed loop of N boundary curves (N of 2 or more) to be filled with a surface. The owner adds the
// curves, then calls Update, and calls Update again whenever the curves may have changed. Change
// detection must be chosen before the first curve is added.
class TNPatch {
public:
    TNPatch();
    virtual ~TNPatch();
    TNPatch(const TNPatch&) = delete;
    TNPatch& operator=(const TNPatch&) = delete;

    // Frees all edges, then all vertices.
    void Clear();
    bool GetDetectChanges() const { return FDetectChanges; }
    // Throws EGeometryError "TNPatch.SetDetectChanges - Cannot set change detection state while patch
    // contains edge data" unless the patch has no vertices and no edges.
    void SetDetectChanges(bool Value);

    // One side. The curve is ignored (the vertices found or made stay) unless each of its end vertices
    // still has a free edge slot; the loop then does not close.
    void AddBoundaryCurve(TBSpline* Curve, const TBSpline* CrossTangent);
    // Clear, every curve added without cross tangents, and Update when the loop closes; whether it
    // closes.
    bool SetBoundaryCurves(const TBSplines& Curves);
    // Every vertex has two edges and every edge both vertices and a working curve (true when empty).
    bool IsClosed() const;
    // With change detection, whether any caller's curve changed.
    bool EdgesChanged();
    // Whether a caller's curve changed (decided first, change detection only); then in every case
    // the vertices' Update (joining moved curve ends), the edges' Update (fresh working copies) and
    // Build, so that what Build derives always comes from the current curves.
    bool Update();
    // The curves whose ends the next Update moves to join them at the vertices.
    std::vector<TBSpline*> CurvesToJoin() const;
    // The working and cross-tangent copies get knots on [0, 1], then every edge's cross derivative.
    void GenerateCrossDerivatives();

    TNPatchEdge* FirstEdge() const { return FEdges.First(); }
    TNPatchVertices& Vertices() { return FVertices; }
    const TNPatchVertices& Vertices() const { return FVertices; }
    TNPatchEdges& Edges() { return FEdges; }
    const TNPatchEdges& Edges() const { return FEdges; }
    // Mean of the vertex positions, written by Build.
    TMVector Centre() const { return FCentre; }

    // Every vertex as an edit handle of kind 2 and every working curve.
    void DrawBoundary(IGraphics& G) const;
    // Per edge 101 samples of the working curve, each with a line along the cross-tangent vector
    // scaled by Length / 2 and the line joining the tips.
    void DrawCrossTangents(IGraphics& G, double Length) const;
    // The same for the cross-derivative curves, scaled by 0.25.
    void DrawCrossDerivatives(IGraphics& G) const;

    virtual std::unique_ptr<TNPatchVertex> NewVertex();
    virtual std::unique_ptr<TNPatchEdge> NewEdge();
    // Orients the loop: walks it from the first edge, whose direction it keeps, flipping every edge
    // that runs against it, and sets the centre. An open loop is walked as far as it goes.
    virtual void Build();
    // Nothing in the base.
    virtual void AddParameterLines(TPolylineList& Lines);
    // nullptr in the base.
    virtual std::unique_ptr<TPolygonList> CreatePolygons();
    // Nothing in the base.
    virtual void Draw(IGraphics& G);

private:
    TNPatchVertices FVertices;
    TNPatchEdges FEdges;
    bool FDetectChanges = false;
    TMVector FCentre;
};

// Whether the curves form one closed loop, asked of a temporary patch.
bool NPatchCurvesClosed(const TBSplines& Curves);

// Shared by the patches that watch the caller's curves. Whether the caller's curve end (its first
// point when First, else its last) differs from the stored copy's (within 1e-30): false without
// either curve or with an empty one.
bool CurveEndMoved(const TBSpline* Curve, const TBSpline* Stored, bool First);
// Joins two curve ends at one vertex after a move: the moved end is copied onto the other, or both
// go to their midpoint when both moved. Nothing when neither moved or an end is missing.
void JoinMovedEnds(TRPoint* P1, bool Moved1, TRPoint* P2, bool Moved2);

// The curves whose ends JoinMovedEnds would move at the vertices (those joining two edges) of
// Vertices, each once, so that their owners can record them before they change: both curves where
// both ends moved, else the curve whose end did not move.
template <class TVertices>
std::vector<TBSpline*> CurvesToJoinAt(const TVertices& Vertices) {
    std::vector<TBSpline*> Result;
    const auto Add = [&Result](TBSpline* Curve) {
        if (Curve != nullptr && std::find(Result.begin(), Result.end(), Curve) == Result.end()) Result.push_back(Curve);
    };
    for (int I = 0; I < Vertices.Count(); ++I) {
        const auto* V = Vertices.Items(I);
        if (V->EdgeCount() < 2) continue;
        const auto* E1 = V->FirstEdge();
        const auto* E2 = V->SecondEdge();
        const TRPoint* P1 = E1->EndPoint(V);
        const TRPoint* P2 = E2->EndPoint(V);
        if (P1 == nullptr || P2 == nullptr || P1->Vector() == P2->Vector()) continue;
        if (E2->EndMoved(V)) Add(E1->Curve());
        if (E1->EndMoved(V)) Add(E2->Curve());
    }
    return Result;
}

// The derivative of a curve at its start, and at its end taken backwards: (k - 1) / (u[k+1] - u[2])
// (P1 - P0) and (k - 1) / (u[n+k-1] - u[n]) (P[n-2] - P[n-1]) with the knots brought up to date.
// Without two points zero; a zero knot span gives the plain leg.
TMVector CurveStartDerivative(TBSpline& C);
TMVector CurveEndDerivativeBackwards(TBSpline& C);

}  // namespace sarnova
