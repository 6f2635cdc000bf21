// Cut lines of facet meshes: a mesh cut by a plane, or two meshes cut by each other. Every triangle
// cut gives a short segment; the segments are gathered into a graph whose vertices are merged by
// position, cleaned of duplicates and degenerate pieces, and chained into polylines. Contours,
// station sections, mesh slicing and mesh-mesh intersection stand on it.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "foundation/PositionIndex.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova {

class TFacetCutIndex;
class TPolygon;
class TPolygonList;
class TPolyline;
class TPolylineList;
class TIntersectionEdge;

// The edges at one vertex, not owned, in the order they were made. Most vertices of a cut join two
// edges: those two are held in place, and only a vertex with more takes memory of its own.
class TIntersectionEdgeRefs {
public:
    TIntersectionEdge* const* begin() const noexcept { return FSpilled ? FMore.data() : FFew; }
    TIntersectionEdge* const* end() const noexcept { return begin() + size(); }
    std::size_t size() const noexcept { return FSpilled ? FMore.size() : FCount; }
    bool empty() const noexcept { return size() == 0; }
    void push_back(TIntersectionEdge* E);
    // Removes every reference to E.
    void erase(const TIntersectionEdge* E);

private:
    TIntersectionEdge* FFew[2] = {nullptr, nullptr};
    std::size_t FCount = 0;
    bool FSpilled = false;
    std::vector<TIntersectionEdge*> FMore;
};

// A point where cut segments end.
class TIntersectionVertex {
public:
    TMVector Position;
    // The edges ending here, not owned, in the order they were made.
    TIntersectionEdgeRefs Edges;
    // The newest of the other positions merged into this vertex, by its number in the vertex list's
    // record of them; -1 when none was.
    int NewestMerged = -1;

    explicit TIntersectionVertex(const TMVector& P) : Position(P) {}
    int Degree() const noexcept { return static_cast<int>(Edges.size()); }
};

// A cut segment between two vertices. Next and Prev link it into a chain while polylines are built.
class TIntersectionEdge {
public:
    TIntersectionVertex* V1;
    TIntersectionVertex* V2;
    TIntersectionEdge* Next = nullptr;
    TIntersectionEdge* Prev = nullptr;
    // Emitted into a polyline.
    bool Used = false;

    // Registers the edge with both vertices.
    TIntersectionEdge(TIntersectionVertex* A, TIntersectionVertex* B);
    TIntersectionEdge(const TIntersectionEdge&) = delete;
    TIntersectionEdge& operator=(const TIntersectionEdge&) = delete;

    // The end that is not V. Throws EGeometryError
    // "TIntersectionEdge.OtherVertex - Edge do not connect to specified vertex" when V is neither end.
    TIntersectionVertex* OtherVertex(const TIntersectionVertex* V) const;
    // Not linked into a chain and not emitted.
    bool IsFree() const noexcept { return !Next && !Prev && !Used; }
};

// The vertices, owned. Positions within 1e-4 of each other in every coordinate share one vertex, so
// any two vertices differ by at least 1e-4 in some coordinate. Lookup goes through a position index,
// which keeps gathering linear in the number of segments.
class TIntersectionVertices {
public:
    int Count() const noexcept { return static_cast<int>(FItems.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TIntersectionVertex* Vertex(int Index) const;
    // The vertex within 1e-4 of P in every coordinate (the oldest, should several be), or a new one at
    // P. The first position seen at a place is the one kept. A position that is not finite always
    // gets a vertex of its own.
    TIntersectionVertex* FindOrAdd(const TMVector& P);
    // Of V's position and the other positions merged into it, the one farthest from From (V's own,
    // on a tie).
    TMVector FarthestPosition(const TIntersectionVertex& V, const TMVector& From) const;
    // Room for N positions without growing the lookup tables.
    void Reserve(std::size_t N);
    void Clear();

private:
    // A position that merged into an older vertex, chained to the one merged into it before.
    struct TMergedPosition {
        TMVector Position;
        int Older;
    };
    // A position met before, by its exact bits: cuts meet most positions twice or more (every cut
    // point ends two segments), and the exact match spares the tolerant search.
    struct TExactSlot {
        std::uint64_t Bits[3];
        int Number;
    };
    int FindExact(const TMVector& P, std::size_t& Slot) const;
    void AddExact(const TMVector& P, int Number);
    // A table of exact positions of Size slots (a power of two) holding the present ones.
    void RehashExact(std::size_t Size);

    // A deque keeps every vertex where it is as more are added, without an allocation for each.
    std::deque<TIntersectionVertex> FItems;
    // Vertex i sits at position number i.
    TPositionIndex FPlaces;
    // Open addressing, a power of two in size, at most half full; Number -1 marks a free slot.
    std::vector<TExactSlot> FExact;
    std::size_t FExactCount = 0;
    std::vector<TMergedPosition> FMerged;
};

// The edges, owned. They stay where they are until Clear, so that the list's order can change
// without moving them and making an edge costs no allocation of its own.
class TIntersectionEdges {
public:
    int Count() const noexcept { return static_cast<int>(FItems.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TIntersectionEdge* Edge(int Index) const;
    // A new edge from A to B, registered with both.
    TIntersectionEdge* Add(TIntersectionVertex* A, TIntersectionVertex* B);
    // Unregisters the edge at Index from its vertices and takes it from the list.
    void Delete(int Index);
    // Orients every edge from its lower to its higher vertex (ordered by x, then y, then z), sorts the
    // edges by their ends, and deletes edges whose ends agree within 1e-4 and all but the first of
    // edges joining the same two places.
    void SortEdges();
    void Clear();

private:
    std::deque<TIntersectionEdge> FStore;
    // The edges of the list, in its order.
    std::vector<TIntersectionEdge*> FItems;
};

// Gathers the cut segments of one cut and chains them into polylines.
class TPolygonIntersections {
public:
    TIntersectionVertices Vertices;
    TIntersectionEdges Edges;

    TPolygonIntersections() = default;
    TPolygonIntersections(const TPolygonIntersections&) = delete;
    TPolygonIntersections& operator=(const TPolygonIntersections&) = delete;

    // Frees the edges, then the vertices.
    void Clear();
    // An edge between the (merged) vertices at S's ends, unless one already joins them. A segment
    // whose ends merge into one vertex, or that is not finite, adds nothing.
    void AddSegment(const TMSegment& S);
    // The same without asking for an existing edge; SortEdges removes the duplicates later.
    void AddSegmentUnchecked(const TMVector& A, const TMVector& B);
    // Clear, then the plane's cut of every facet; a quadrilateral is cut as its triangles (0, 1, 2)
    // and (0, 2, 3). Crossing segments and segments along an edge are gathered; touching points and
    // facets lying in the plane add nothing. Corners within the mesh's on-plane tolerance count as
    // on the plane (TPlaneCutter), so a closed mesh gives closed cuts even where the plane passes
    // through vertices. Linear in the number of facets.
    void IntersectPlane(const TMPlane& Plane, const TPolygonList& Mesh);
    // The same cut through an index of the mesh: the same segments in the same order, found among
    // the triangles near the plane only.
    void IntersectPlane(const TMPlane& Plane, const TFacetCutIndex& Index);
    // Adds the cuts of every pair of triangles, one of each mesh, that meet (quadrilaterals as their
    // two triangles). Only triangles whose boxes reach into the overlap of the meshes' boxes (grown
    // by a tenth about its centre) are examined, and pairs are found through a grid on their boxes
    // rather than by trying every pair.
    void IntersectMeshes(const TPolygonList& A, const TPolygonList& B);
    // Chains the edges into polylines: each chain runs from a free edge backward and forward through
    // its vertices while free edges continue it, and becomes one polyline (a closed one repeats its
    // first point at the end). Chains ending at a branch are kept like any other, and chaining goes on
    // until every edge is used. An open line that ends where the cut leaves the mesh ends at the
    // farthest of the positions merged into its end vertex. The polylines lose repeated points and
    // points within 1e-4 of the line through their neighbours; those shorter than 0.001 are dropped.
    // nullptr when nothing is left.
    std::unique_ptr<TPolylineList> ToPolylines();
};

// The segment two triangles have in common, as a new polyline of two points; nullptr when they do not
// meet or when either facet is a quadrilateral.
std::unique_ptr<TPolyline> IntersectFacets(const TPolygon& A, const TPolygon& B);

// Cut lines of a plane with a mesh; nullptr when there are none.
std::unique_ptr<TPolylineList> IntersectPlaneWithPolygons(const TMPlane& Plane, const TPolygonList& Mesh);
// The same lines through an index of the mesh, for callers that cut it many times.
std::unique_ptr<TPolylineList> IntersectPlaneWithPolygons(const TMPlane& Plane, const TFacetCutIndex& Index);
// Cut lines of two meshes; nullptr when there are none.
std::unique_ptr<TPolylineList> IntersectPolygonLists(const TPolygonList& MeshA, const TPolygonList& MeshB);

}  // namespace sarnova
