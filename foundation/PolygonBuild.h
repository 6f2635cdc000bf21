// Building facet meshes from other geometry: closed outlines filled with triangles, surfaces skinned
// between successive sections, plates along section lines; and the facet edits of the mesh entity:
// subdividing, merging two facets into a quadrilateral, the nearest boundary point of a facet.
// Every mesh and facet returned is new and belongs to the caller.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace sarnova {

class TPolygon;
class TPolygonList;
class TPolygons;
class TPolyline;
class TPolylineList;
class TRPoint;

// Triangles filling a closed planar outline (its repeated closing point may be present or not). The
// outline is split along the first valid diagonal, and so on for each piece; a piece without one is
// left as a hole. An outline of fewer than three points, once the closing repeats are dropped, gives
// an empty mesh. Facets of coincident points are kept, with no area.
std::unique_ptr<TPolygonList> TriangulatePolyline(const TPolyline& Outline);

// Copies of the sections re-spaced at knuckles (Spacing, Angle in radians), skinned with
// SkinPolylines. A spacing not above 0 or a section of fewer than two points throws the re-spacing's
// EGeometryError.
std::unique_ptr<TPolygonList> MeshFromSections(const TPolylineList& Sections, double Spacing, double Angle);
// The facets between every two successive polylines of the list, as they are.
std::unique_ptr<TPolygonList> SkinPolylines(const TPolylineList& Sections);
// Appends the facets between P and Q, linked point to point by LinkSections: each runs P[b], Q[d],
// Q[e], P[c] for successive links (b, d), (c, e), a triangle when a corner repeats.
void StripBetween(const TPolyline& P, const TPolyline& Q, TPolygonList& Mesh);

// A plate of the given Width (offset inward in the section plane) and Thickness (along x) along one
// section line, as triangles; its ends are left open. A section of fewer than two distinct points
// gives an empty mesh.
std::unique_ptr<TPolygonList> ThickenPolyline(const TPolyline& Section, double Width, double Thickness);
// The plates of every section of the list in one mesh.
std::unique_ptr<TPolygonList> ThickenPolylines(const TPolylineList& Sections, double Width, double Thickness);

// A triangle: three triangles about its centroid. A quadrilateral: two, cut along its shorter midline
// (the one from edge 0-1 to edge 2-3 on a tie).
std::unique_ptr<TPolygonList> SubdivideFacet(const TPolygon& F);
// Every facet subdivided, in one mesh; of a mesh, the facets of the given indices.
std::unique_ptr<TPolygonList> SubdivideFacets(const TPolygons& L);
std::unique_ptr<TPolygonList> SubdivideFacets(const TPolygonList& L, const std::vector<int>& Indices);

// Some edge of A joins the same two places (within 1e-4, either direction) as an edge of B.
bool FacetsShareEdge(const TPolygon& A, const TPolygon& B);
// The quadrilateral of the two corners of A off their first shared edge and the two of B; nullptr
// without a shared edge. B is reversed in place first when its normal turns more than 90 degrees from
// A's, so the result is oriented like A.
std::unique_ptr<TPolygon> MergeFacetsToQuad(const TPolygon& A, TPolygon& B);

// Where a facet's boundary comes nearest to a point: Edge is the index at which a corner inserted on
// that edge goes (k + 1 for the edge from corner k; the corner count for the closing edge), Fraction
// the position along the edge in [0, 1]. Edge is -1 for a facet without corners.
struct TClosestEdgePoint {
    std::int32_t Edge = -1;
    double Fraction = 0;
};
TClosestEdgePoint ClosestEdgePoint(const TPolygon& F, const TRPoint& Point);

}  // namespace sarnova
