// The cross-boundary tangent ribbons of a curve-network surface's edges: unit vectors along an edge
// that lie in the surface's tangent plane and point into the face on each side.
#pragma once
#include <functional>
#include <vector>

#include "foundation/GeomInfo.h"

namespace sarnova {

class TManifold;
class TXTCurve;
class TXTEdge;

// Fills the ribbons of both fins of every edge of Manifold that lies on Curve, chain by chain. A
// knuckle-line curve gets one ribbon per side; otherwise the sides share one ribbon (negated on the
// second side) wherever the faces meet in one tangent plane. Every edge at a vertex that leaves the
// tangent plane there is reported through OnMessage ("Non-continuous tangent plane at Vertex ...").
// With LinearInterpolation each edge's ribbon is straight between the directions at its ends.
// Raises the GetContinuousNormal1/2 errors when a side has no edge to take its plane from.
void GenerateCrossBoundaryTangents(TXTCurve& Curve, TManifold& Manifold, bool LinearInterpolation,
                                   const std::function<void(const TInfoMessage&)>& OnMessage);
// The same for every curve of a surface at once, given the edges of each curve in manifold order
// (saves a pass over all edges per curve).
void GenerateCrossBoundaryTangents(TXTCurve& Curve, const std::vector<TXTEdge*>& CurveEdges, bool LinearInterpolation,
                                   const std::function<void(const TInfoMessage&)>& OnMessage);

// Ribbons for an edge made inside a face: on each side, straight (order 2) from the direction of the
// neighbouring edge at the start to that at the end, each made perpendicular to the edge's tangent
// there. A side without a neighbour at an end gets the zero vector there.
void SetInteriorEdgeRibbons(TXTEdge& Edge);

}  // namespace sarnova
