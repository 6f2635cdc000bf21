// Grafting a small local B-spline surface into a large main one, and the binary space partition of
// control-net triangles that tells which control points of one net lie outside the other.
#pragma once
#include <cstdint>
#include <memory>

#include "foundation/GeomFacet.h"
#include "foundation/VkMaths.h"

namespace sarnova {

class TBSplineSurface;
class TPolygonList;

// Where a point or facet lies against a node's plane.
enum TBSPSide : std::uint8_t { bsBack = 0, bsFront = 1, bsOn = 2, bsSpanning = 3 };

class TBSPNode {
public:
    TBSPNode() = default;
    // An empty node whose plane is that of Polygon.
    explicit TBSPNode(const TPolygon& Polygon);
    TBSPNode(const TBSPNode&) = delete;
    TBSPNode& operator=(const TBSPNode&) = delete;
    virtual ~TBSPNode();

    bool HasPlane = false;
    // The facet that defined the node; nullptr for a root whose plane was set directly.
    std::unique_ptr<TPolygon> Polygon;
    TMVector Normal{0, 0, 0};
    double Distance = 0;
    std::unique_ptr<TBSPNode> Back;
    std::unique_ptr<TBSPNode> Front;

    // The facet's unit normal through its first corner.
    void SetPlane(const TPolygon& F);
    // A facet's class from its first three corners.
    TBSPSide ClassifyPolygon(const TPolygon& F) const;
    // Files the facet under this node: a facet of area 1e-10 or less is ignored, one on the plane
    // dropped, a spanning one split by the plane.
    virtual void InsertPolygon(const TPolygon& F);
    // A quadrilateral goes down as its two triangles (0, 1, 2 and 0, 2, 3).
    void AddBack(const TPolygon& F);
    void AddFront(const TPolygon& F);
    // Against this node's plane alone (1e-4 counts as on it).
    TBSPSide PointSide(const TMVector& P) const;
    // Against the whole tree below this node.
    TBSPSide ClassifyPoint(const TMVector& P) const;
    // Two triangles per cell of the surface's control net; the first one of area above 1e-10 fixes
    // the plane of a node that has none.
    void AddSurface(const TBSplineSurface& Surface);
    // Copies of the parts of the facet on Side (Back or Front) of the tree, appended to List.
    virtual void ClipPolygon(const TPolygon& F, TBSPSide Side, TPolygonList& List) const;

private:
    void AddTo(std::unique_ptr<TBSPNode>& Child, const TPolygon& F);
    void ClipTriangle(const TPolygon& F, TBSPSide Side, TPolygonList& List) const;
    TMPlane Plane() const { return {Normal, Distance}; }
};

// The root of a tree; adds nothing to the node.
class TBSPTree : public TBSPNode {};

// The index box of the marked control points of a net; all -1 when none is marked.
struct TNetSelection {
    int MinU = -1, MaxU = -1, MinV = -1, MaxV = -1;
    bool IsEmpty() const { return MinU < 0; }
};

// The index box of Net's marked control points.
TNetSelection MarkedSelection(const TBSplineSurface& Net);
// Turns and, where their directions oppose, reverses Local so that its U and V run as Main's.
void OrientLocal(const TBSplineSurface& Main, TBSplineSurface& Local);
// Inserts knots into A across Direction (0 U, 1 V) until MainSel spans as many lines as LocalSel
// of L, placing each new knot where the local lines fall; the knots carry at most four decimals.
// Throws EGeometryError when the net cannot take the knots.
void InsertGraftKnots(TBSplineSurface& A, const TNetSelection& MainSel, const TBSplineSurface& L,
                      const TNetSelection& LocalSel, int Direction);
// Whether control point (I, J), an interior one, turns out of line with its neighbours.
bool IsOutlier(TBSplineSurface& A, int I, int J);
// Moves an outlying interior control point onto the curves through its neighbours.
void Smooth(TBSplineSurface& A, int I, int J);
// A new surface: Main with the part of Local that stands outside it grafted into its net. Neither
// input changes; when nothing of Local stands out, or no control point of Main lies inside Local,
// the result is a plain copy of Main.
std::unique_ptr<TBSplineSurface> GraftSurface(const TBSplineSurface& Main, const TBSplineSurface& Local);

// Facets whose area is at most this are left out of the trees.
inline constexpr double BSPAreaThreshold = 1e-10;

}  // namespace sarnova
