// The cross-boundary tangent ribbons of a curve-network surface's edges: unit vectors along an edge
// that lie in the surface's tangent plane and point into the face on each side.
#pragma once

namespace sarnova {

class TXTEdge;

// Ribbons for an edge made inside a face: on each side, straight (order 2) from the direction of the
// neighbouring edge at the start to that at the end, each made perpendicular to the edge's tangent
// there. A side without a neighbour at an end gets the zero vector there.
void SetInteriorEdgeRibbons(TXTEdge& Edge);

}  // namespace sarnova
