// The facet mesh: an owning list of triangles and quadrilaterals that surfaces produce for shading,
// hydrostatics, contours and export, with its text block, drawing, and clipping by a plane.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "foundation/GeomFacet.h"

namespace sarnova {

class IGraphics;
class TTextReader;
class TTextWriter;

// Owns its facets: Clear and destruction free them. Facets enter through Add and TakeFrom only, so
// every facet of the list is owned by it.
class TPolygonList : public TPolygons {
public:
    // Draw also draws the facet normals and vertex normals.
    bool ShowNormals = false;

    TPolygonList() = default;
    ~TPolygonList() override;

    // Appends F, which the list takes over, and returns its index.
    int Add(std::unique_ptr<TPolygon> F);
    // Frees the facet at Index and removes it; the list's index error outside 0 .. Count - 1.
    void Delete(int Index);
    // Frees every facet.
    void Clear() override;

    // Clear, ShowNormals copied, then a copy (CopyPolygon) of every facet of Other in order.
    void Assign(const TPolygonList& Other);
    std::unique_ptr<TPolygonList> Clone() const;
    // Appends copies of Other's facets; nothing when Other is null.
    void AddCopies(const TPolygonList* Other);
    // Moves every facet of L into this list, L's last facet first (so they arrive in reverse order);
    // L ends empty.
    void TakeFrom(TPolygonList& L);
    // Moves the facets whose flag in Take is set (one flag per facet, missing flags count as clear) to
    // the end of Target in their order; the others keep theirs. Linear in the facet count.
    void MoveFacetsTo(const std::vector<bool>& Take, TPolygonList& Target);

    // Every quadrilateral (0, 1, 2, 3) split into the fresh triangles (0, 1, 2) and (0, 2, 3), which
    // take copies of the corners and the selection flag but a new facet's colours and no normals;
    // triangles copied. ShowNormals copied.
    std::unique_ptr<TPolygonList> TriangulatedCopy() const;
    // The same split in place: the quadrilateral's own object becomes the first triangle (Assign, so
    // it keeps its place, and its vertex normals, which sit on corners 0 to 2 of both), the second
    // follows it.
    void Triangulate();
    // The facets replaced by those of TriangulatedCopy.
    void ReplaceByTriangles();
    // TransformedPolygon of every facet; ShowNormals copied.
    std::unique_ptr<TPolygonList> Transformed(const TMMatrix& M) const;
    // FlipPolygon on every facet.
    void FlipNormals();

    // Box of all corners; the empty box for an empty mesh.
    TMBox Extents() const;
    int SelectedCount() const;
    // The selected facets, still owned by this mesh.
    std::unique_ptr<TPolygons> SelectedPolygons() const;

    // Every edge of every facet as a separate line (shared edges twice); with ShowNormals also an
    // arrow along each facet normal from its centroid and the vertex normals, 1 % of the mesh size long.
    void Draw(IGraphics& G) const;
    // Every edge once, however many facets share it (the same two corner positions exactly, either
    // way round), in the order and direction in which the facets first have it; no normals. The
    // lines of Draw's edges in about half the calls: a closed mesh has each edge in two facets.
    void DrawDistinctEdges(IGraphics& G) const;
    // Every facet through G.Polygon, which fills and colours it.
    void DrawFilled(IGraphics& G) const;

    // "NumberofPolygons=<count>", then one line per facet.
    virtual void SaveToText(TTextWriter& Out) const;
    // Reads such a block and appends its facets; the mesh is not cleared first and the key before "="
    // is not checked. A count that is no integer throws EConvertError; a count of 0 or less reads
    // nothing. Facets are read line by line, never allocated ahead by the count, so a damaged count
    // cannot exhaust memory: a block that ends early throws EInOutError "I/O Result 100", and a bad
    // facet line throws its own error; the facets read before stay in the mesh.
    virtual void LoadFromText(TTextReader& In);

protected:
    // Each quadrilateral F is followed by Second(F), made for all of them before anything changes,
    // and then turned into its first triangle by First(F). One pass, linear in the facet count.
    void SplitQuadrilaterals(const std::function<std::unique_ptr<TPolygon>(const TPolygon&)>& Second,
                             const std::function<void(TPolygon&)>& First);
};

// The part of Mesh on the negative side of Plane (within 1e-4 counts as on it), split into
// triangles; Side 1 reverses the plane first, so it keeps the positive side. Quadrilaterals are
// split into their two triangles before they are clipped, so a cut quadrilateral keeps all of its
// part on the kept side.
std::unique_ptr<TPolygonList> ClipPolygonsByPlane(const TPolygonList& Mesh, int Side, const TMPlane& Plane);

}  // namespace sarnova
