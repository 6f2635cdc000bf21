// The node of a curve-network curve as far as its points go: the defining points, a snapshot of them
// from the last rebuild, the digitised polyline whose points carry their place on the curve, point
// editing with its messages to the curves and surfaces resting on the curve, and the queries on the
// selection, the break points and the digitised curve.
#pragma once
#include <cstdint>
#include <memory>
#include <unordered_set>

#include "curvenet/XTNode.h"
#include "curvenet/XTPoints.h"
#include "foundation/Curve.h"
#include "foundation/Polyline.h"

namespace sarnova {

// Tangent-ribbon kinds of a curve.
inline constexpr std::uint8_t rkNone = 0;
inline constexpr std::uint8_t rkKnuckle = 1;
inline constexpr std::uint8_t rkX = 2;
inline constexpr std::uint8_t rkY = 3;
inline constexpr std::uint8_t rkZ = 4;
inline constexpr std::uint8_t rkNormalToCurve = 5;
inline constexpr std::uint8_t rkTangentialToCurve = 6;

// The surface tangent plane of a curve at a place, by the curve's ribbon kind (the curve's constraint
// list fills it): Reference is the direction the plane is built from, Frame the curve's frame there.
struct TXTRibbonTangent {
    std::uint8_t Kind = rkNone;
    TMVector Reference;
    TMPlane Plane = NullPlane;
    TFrenetFrame Frame;
};

// Selection summary of SelectionRange.
struct TXTSelectionRange {
    // 1: one point selected, or none; 2: one unbroken run of two or more; 3: anything else.
    int Kind = 1;
    int First = -1;
    int Last = -1;
    bool operator==(const TXTSelectionRange&) const = default;
};

class TXTCurveRepresentation : public TXTNode {
public:
    TXTCurveRepresentation();
    ~TXTCurveRepresentation() override;

    std::uint8_t GetRibbonKind() const { return FRibbonKind; }
    TXTPoints& Points() { return FPoints; }
    const TXTPoints& Points() const { return FPoints; }
    // Copies of the points as they were at the end of the last rebuild, index-aligned with them.
    TXTPoints& Snapshot() { return FSnapshot; }
    const TXTPoints& Snapshot() const { return FSnapshot; }
    // The digitised curve; each point's Tag is its span and W its span parameter.
    TPolyline& Polyline() { return FPolyline; }
    const TPolyline& Polyline() const { return FPolyline; }

    virtual void SetRibbonKind(std::uint8_t Kind) { FRibbonKind = Kind; }
    // A plain copy of Point enters the snapshot at Index, an insert message is sent, then Changed.
    virtual void PointInserted(int Index, TXTPoint* Point);
    // The snapshot entry at Index goes, a remove message is sent (Point still in the list), then
    // Changed.
    virtual void PointRemoved(int Index, TXTPoint* Point);
    // Brings an address into the curve's canonical form.
    virtual void NormaliseAddress(TBeadAddress& Address) = 0;
    // Frees every point and the snapshot with them; no messages.
    virtual void ClearPoints();
    // Replaces the point by a plain free point at its position; no message.
    virtual void DetachPoint(int Index);
    // The base knows no spans: the invalid address.
    virtual void AddressOfPoint(int Index, TBeadAddress& Address);
    // Position and frame at an address; the base leaves them as they were.
    virtual void F(const TBeadAddress& Address, TMVector& Position) {}
    virtual void Frenet(const TBeadAddress& Address, TFrenetFrame& Frame) {}
    // The base: kind none and the null plane.
    virtual void RibbonAt(const TBeadAddress& Address, TXTRibbonTangent& Ribbon);

    // ---- Point editing ----

    TXTPoint* AddPoint(std::unique_ptr<TXTPoint> Point);
    TXTPoint* AddPointAt(const TMVector& Position);
    TXTPoint* AddPointXYZ(double X, double Y, double Z);
    TXTPoint* InsertPoint(int Index, std::unique_ptr<TXTPoint> Point);
    TXTPoint* InsertPointAt(int Index, const TMVector& Position);
    // PointRemoved first, then the point is freed.
    void DeletePoint(int Index);
    // Name, polyline, points and snapshot.
    void Assign(const TXTCurveRepresentation& Other);

    // ---- Queries ----

    int PointCount() const { return FPoints.Count(); }
    TXTPoint* PointAt(int Index) const { return FPoints.Items(Index); }
    TXTPoint* FirstPoint() const { return FPoints.First(); }
    TXTPoint* LastPoint() const { return FPoints.Last(); }
    TMBox Extents() const { return FPoints.Extents(); }
    // A point whose state is above interpolated, or an interpolated inner point next to a free one.
    // Break points divide the curve into spans.
    bool IsBreakPoint(int Index) const;
    TXTSelectionRange SelectionRange() const;
    // The point's position differs from its snapshot copy (1e-4 per coordinate); false when the
    // snapshot does not match the points in count.
    bool HasPointMoved(int Index) const;
    void TakeSnapshot();

    // ---- The digitised curve (each first regenerates a stale curve) ----

    // The point of line AB in the plane, its weight interpolated along the same line and its tag A's.
    // Throws EGeometryError when AB is parallel to the plane.
    std::unique_ptr<TRPoint> IntersectionOfLineAndPlane(const TRPoint& A, const TRPoint& B, const TMPlane& Plane);
    // The crossings of the polyline with the plane, each carrying its address in Tag and W; nullptr
    // when there is none. A polyline point on the plane gives one crossing per segment it ends.
    std::unique_ptr<TPolyline> PlaneIntersections(const TMPlane& Plane);
    // The crossing nearest to Near (the first of equals), normalised; the invalid address for none.
    void NearestPlaneIntersection(const TMPlane& Plane, const TMVector& Near, TBeadAddress& Address);
    // The place of the polyline nearest to P, normalised; the invalid address without a polyline.
    void NearestAddress(const TMVector& P, TBeadAddress& Address);
    // Where the plane through P normal to Axis (0 X, 1 Y, 2 Z) crosses the curve nearest to P, so that
    // a point moved along one coordinate keeps it; failing that (or for another axis), the nearest
    // place.
    void AddressOnAxisPlane(const TMVector& P, int Axis, TBeadAddress& Address);

    // Draws every curve resting on this one, and those resting on them, each once.
    void DrawDependentCurves(IGraphics& G);
    // Draw, then the curves resting on it.
    void DrawWithDependents(IGraphics& G);

private:
    void DrawDependentCurves(IGraphics& G, std::unordered_set<const TXTNode*>& Drawn);
    void EnsureUpToDate();

    TXTPoints FSnapshot;
    TXTPoints FPoints;
    TPolyline FPolyline;
    std::uint8_t FRibbonKind = rkNone;
};

}  // namespace sarnova
