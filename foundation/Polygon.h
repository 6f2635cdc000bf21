// The facet mesh: a list of triangles and quadrilaterals that surfaces produce for shading,
// hydrostatics, contours and export, with its text block, drawing, and clipping by a plane.
#pragma once
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/ChunkedArray.h"
#include "foundation/GeomFacet.h"

namespace sarnova {

class IGraphics;
class TTextReader;
class TTextWriter;

// A facet mesh: triangles and quadrilaterals that share their corner positions. Each position is
// kept once (corners equal bit for bit share it) and a facet holds the numbers of its corners, its
// colours (through a small table of the colour pairs in use), its flags and, when it has any, its
// vertex normals and corner extras. A facet is reached through a TFacetRef; a change to a corner
// gives that facet a position of its own, so no other facet moves with it. Facets enter as facet
// objects (Add), whose content the list keeps.
class TPolygonList {
public:
    // Draw also draws the facet normals and vertex normals.
    bool ShowNormals = false;

    TPolygonList();
    TPolygonList(const TPolygonList&) = delete;
    TPolygonList& operator=(const TPolygonList&) = delete;
    virtual ~TPolygonList();

    int Count() const noexcept { return static_cast<int>(FStore.Records.size()); }
    // Facet Index; throws EError "List index out of bounds (Index)" outside 0 .. Count - 1 (First and
    // Last on an empty list too).
    TFacetRef Polygon(int Index) const;
    TFacetRef First() const;
    TFacetRef Last() const;

    // Appends a facet holding what F holds and returns its index.
    int Add(const TPolygon& F);
    int Add(const std::unique_ptr<TPolygon>& F) { return Add(*F); }
    // Removes the facet at Index; the list's index error outside 0 .. Count - 1.
    void Delete(int Index);
    // Removes every facet.
    virtual void Clear();
    // Facet Index takes everything F holds (TPolygon's copy, not Assign: absent normals go too).
    // Like every change of a corner, deletion or move of facets out of the list, it may renumber the
    // positions the list keeps, to give back those no facet uses any more: addresses of corners taken
    // before such a change do not stay valid.
    void Store(int Index, const TPolygon& F);

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
    // The same split in place: the quadrilateral becomes the first triangle (Assign, so it keeps its
    // place, and its vertex normals, which sit on corners 0 to 2 of both), the second follows it.
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
    // The indices of the selected facets, in order.
    std::vector<int> SelectedIndices() const;

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

    // Fills F with everything facet Index holds (F's previous content goes).
    void CopyInto(int Index, TPolygon& F) const;
    // The distinct corner positions the list keeps, numbered from 0 (some may no longer be used by a
    // facet after corners changed). Passes over a whole mesh may judge each position once.
    int VertexCount() const noexcept { return static_cast<int>(FStore.Vertices.size()); }
    const TFacetCorner& Vertex(int Number) const { return FStore.Vertices[static_cast<std::size_t>(Number)]; }

protected:
    // The one value a facet may carry besides its geometry (a pressure field's pressure); 0 until set.
    double FacetValue(int Index) const;
    void SetFacetValue(int Index, double Value);
    // Facet Index's line of the text block.
    virtual void SaveFacet(int Index, std::string& Text) const;
    // Each quadrilateral is followed by a triangle of its corners 0, 2 and 3 and then becomes the
    // triangle of its corners 0, 1 and 2. With KeepStyle both keep the quadrilateral's colours,
    // selection and value (and the first everything else); without, both are Assign'ed from fresh
    // triangles (a new facet's colours, the selection kept, the second without a value), the first
    // keeping its normals. One pass, linear in the facet count.
    void SplitQuadrilaterals(bool KeepStyle);

private:
    friend class TFacetRef;
    static constexpr std::uint32_t NoVertex = 0xFFFFFFFFu;
    enum : std::uint8_t { QuadBit = 1, SelectedBit = 2, OwnColorBit = 4 };
    struct TRecord {
        std::uint32_t Vertex[4];
        std::uint32_t Style;  // into Styles
        std::uint32_t Parts;  // 0: none, else 1 + the index into Parts
        std::uint8_t Bits;    // QuadBit, SelectedBit, OwnColorBit
        std::uint8_t Corners;  // low four bits: corner i present; high four: corner i marked
    };
    struct TStyle {
        TColor Color;
        TColor EdgeColor;
    };

    const TRecord& Record(int Index) const { return FStore.Records[static_cast<std::size_t>(Index)]; }
    TRecord& Record(int Index) { return FStore.Records[static_cast<std::size_t>(Index)]; }
    std::uint32_t Intern(const TFacetCorner& P);
    std::uint32_t StyleOf(TColor Color, TColor EdgeColor);
    TRecord RecordOf(const TPolygon& F);
    // The parts of R, made when it has none.
    TFacetParts& MakeParts(TRecord& R);
    void DropParts(TRecord& R);
    void GrowVertexTable();
    // Counts the corner positions R gives up; once they reach half the positions kept, the positions
    // no facet uses any more are dropped (a pass over the facets), so that editing corners over and
    // over does not grow the list.
    void Release(const TRecord& R);
    void DropUnusedVertices();
    void CheckIndex(int Index) const;
    // Appends facet Index of Source (another list or this one): as it is when Moved, else as a copy.
    // Map, when given, holds for each position of Source its number here once looked up (NoVertex
    // before), so that a pass copying many facets of one list looks each position up once.
    void AppendFrom(const TPolygonList& Source, int Index, bool Moved, std::vector<std::uint32_t>* Map = nullptr);
    std::vector<std::uint32_t> VertexMap(const TPolygonList& Source) const {
        return std::vector<std::uint32_t>(&Source == this ? 0 : Source.FStore.Vertices.size(), NoVertex);
    }
    friend std::unique_ptr<TPolygonList> ClipPolygonsByPlane(const TPolygonList& Mesh, int Side, const TMPlane& Plane);

    // Everything the list holds but ShowNormals: copied, swapped and cleared whole.
    struct TStorage {
        TChunkedArray<TRecord> Records;
        TChunkedArray<TFacetCorner> Vertices;
        // Open-addressed table of vertex numbers by position; NoVertex marks a free slot.
        std::vector<std::uint32_t> VertexTable;
        // Vertices met lately, by their position's hash: the vertex number + 1, 0 for none.
        std::array<std::uint32_t, 256> Recent{};
        std::vector<TStyle> Styles;
        // The number in Styles of each colour pair (fill colour in the low half).
        std::unordered_map<std::uint64_t, std::uint32_t> StyleNumbers;
        std::uint32_t LastStyle = 0;
        std::deque<TFacetParts> Parts;
        std::vector<std::uint32_t> FreeParts;
        std::vector<double> Values;  // empty while every value is 0
        std::size_t Released = 0;
    };
    TStorage FStore;

};

// A facet of a polygon list, named by the list and its place in it: what the list hands out for a
// facet. It reads the list's storage and writes through the list, and stays valid while the facet
// keeps its place. Its reading members are those of a facet object; the fields are read through
// GetColor, GetEdgeColor, GetOwnColor and GetSelected and set through the Set members.
class TFacetRef {
public:
    TFacetRef(const TPolygonList& L, int Index) noexcept : FList(const_cast<TPolygonList*>(&L)), FIndex(Index) {}
    // So that List.Polygon(I)->Corner(K) reads as it does for a facet object.
    TFacetRef* operator->() noexcept { return this; }
    const TFacetRef* operator->() const noexcept { return this; }
    int Index() const noexcept { return FIndex; }
    TPolygonList& List() const noexcept { return *FList; }

    std::uint8_t GetShape() const noexcept { return Rec().Bits & TPolygonList::QuadBit; }
    int CornerCount() const noexcept { return GetShape() == 1 ? 4 : 3; }
    const TFacetCorner* Corner(int Index) const noexcept { return HasCorner(Index) ? &StoredCorner(Index) : nullptr; }
    const TFacetCorner& StoredCorner(int Index) const noexcept {
        const std::uint32_t V = Rec().Vertex[Index & 3];
        return V == TPolygonList::NoVertex ? NoCorner : FList->FStore.Vertices[V];
    }
    // The number of corner Index's position in the list (TPolygonList::Vertex); -1 for a corner the
    // facet does not have.
    int VertexNumber(int Index) const noexcept {
        const std::uint32_t V = Rec().Vertex[Index & 3];
        return V == TPolygonList::NoVertex ? -1 : static_cast<int>(V);
    }
    TRPoint CornerPoint(int Index) const;
    bool CornerMarked(int Index) const noexcept { return HasCorner(Index) && (Rec().Corners >> (4 + Index) & 1); }
    const TMVector* Normal(int Index) const noexcept;
    TColor GetColor() const noexcept { return FList->FStore.Styles[Rec().Style].Color; }
    TColor GetEdgeColor() const noexcept { return FList->FStore.Styles[Rec().Style].EdgeColor; }
    bool GetOwnColor() const noexcept { return Rec().Bits & TPolygonList::OwnColorBit; }
    bool GetSelected() const noexcept { return Rec().Bits & TPolygonList::SelectedBit; }
    TMTriangle Triangle() const;
    double Area() const;
    // A facet object holding a copy of this facet, for a routine that takes a facet object.
    TPolygon operator*() const;

    void SetSelected(bool Value) noexcept;
    // Fill colour, which makes the colour the facet's own (as TPolygon::SetColor).
    void SetColor(TColor C);
    void SetEdgeColor(TColor C);
    void SetCornerMarked(int Index, bool Value) noexcept;
    void SetNormal(int Index, const TMVector& N);
    // The position of corner Index (0 to 3) alone; its extras and mark stay. Nothing for a corner the
    // facet does not have.
    void MoveCorner(int Index, const TMVector& V);
    // As TPolygon's members of the same names.
    void SetCorner(int Index, const TRPoint& P);
    void AssignCorner(int Index, const TRPoint& P);
    void Assign(const TPolygon& F);
    void Insert(int Index, const TMVector& V);
    void Delete(int Index);
    void SwapCornerValues(int A, int B);

private:
    static const TFacetCorner NoCorner;
    const TPolygonList::TRecord& Rec() const noexcept { return FList->Record(FIndex); }
    bool HasCorner(int Index) const noexcept { return Index >= 0 && Index < 4 && (Rec().Corners >> Index & 1); }
    // Applies Edit to a facet object holding this facet, then stores the object back.
    template <class TEdit>
    void Edit(TEdit&& Change);

    TPolygonList* FList;
    int FIndex;
};

// FlipPolygon and SetPolygonNormalAt for a facet of a list.
void FlipPolygon(TFacetRef F);
void SetPolygonNormalAt(TFacetRef F, const TRPoint& P, const TMVector& N);

// The part of Mesh on the negative side of Plane (within 1e-4 counts as on it), split into
// triangles; Side 1 reverses the plane first, so it keeps the positive side. Quadrilaterals are
// split into their two triangles before they are clipped, so a cut quadrilateral keeps all of its
// part on the kept side.
std::unique_ptr<TPolygonList> ClipPolygonsByPlane(const TPolygonList& Mesh, int Side, const TMPlane& Plane);

}  // namespace sarnova
