// Facets: the triangles and quadrilaterals that meshes, surface tessellations, contours, hydrostatic
// integrations and exports are built from, with their one-line text form, and the two thin lists of
// facets and of line segments that the mesh and contour code work with.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Colors.h"
#include "foundation/Geom.h"

namespace sarnova {

// The position of a facet corner. Facets keep their corners as bare positions: whatever else a
// point object carries (weight, parameter, code, mark) is kept by the facet only where a corner has
// it (TPolygon::CornerPoint gives the corner as a whole point).
struct TFacetCorner {
    double X = 0;
    double Y = 0;
    double Z = 0;

    TFacetCorner() = default;
    explicit TFacetCorner(const TMVector& V) : X(V.X), Y(V.Y), Z(V.Z) {}

    TMVector Vector() const { return {X, Y, Z}; }
    void SetXYZ(double AX, double AY, double AZ) {
        X = AX;
        Y = AY;
        Z = AZ;
    }
    void SetVector(const TMVector& V) { SetXYZ(V.X, V.Y, V.Z); }
    // A plain point object at this position, for routines that take one.
    TRPoint AsPoint() const { return TRPoint(Vector()); }
    // As TRPoint's: inside B on all three axes, bounds included; every coordinate within 1e-4.
    bool InsideBox(const TMBox& B) const;
    bool IsEqual(const TFacetCorner& B) const;

    // Made alone only as the fourth corner of a quadrilateral: from a pool, without a heap header.
    static void* operator new(std::size_t Size);
    static void operator delete(void* P, std::size_t Size) noexcept;
};

// What a point object carries besides its position and mark, at their defaults in a corner that was
// never given them.
struct TFacetCornerExtra {
    double W = 1.0;
    double T = 0;
    std::int32_t Tag = 0;
};
using TFacetCornerExtras = std::array<TFacetCornerExtra, 4>;

// The vertex normals of a facet, and the extras of the rare facets whose corners carry any: one part,
// as the pointer to the extras fills what would be the part's padding.
struct TFacetParts {
    std::array<TMVector, 3> Normal{};
    std::uint8_t NormalSet = 0;  // bit i: normal i present
    std::unique_ptr<TFacetCornerExtras> Extras;

    TFacetParts() = default;
    TFacetParts(const TFacetParts& P);
    TFacetParts& operator=(const TFacetParts& P);
    TFacetParts(TFacetParts&&) noexcept = default;
    TFacetParts& operator=(TFacetParts&&) noexcept = default;
};

class TFacetRef;
class TPolygonList;

// One triangle (Shape 0, corners 0 to 2) or quadrilateral (Shape 1, corners 0 to 3) with optional
// vertex normals at corners 0 to 2: a facet on its own, as routines build, cut and hand on facets (a
// mesh keeps what its facets hold in storage of its own, TPolygonList). The three first corners live
// inside the object as bare positions; the fourth corner, the normals and the corners' weights,
// parameters and codes live in parts of their own made when first given, so a plain triangle carries
// no room it does not use.
class TPolygon {
public:
    TColor Color = 0;
    // Scratch for a caller's grouping; 0 in a new facet, not copied, and not kept by a mesh.
    std::int32_t Group = 0;
    TColor EdgeColor = clWhite;
    // Set by SetColor; carried by copies.
    bool OwnColor = false;
    bool Selected = false;

private:
    // Beside the flags above, where they fill what would be padding.
    std::uint8_t FShape : 4 = 0;
    std::uint8_t FMarks : 4 = 0;  // bit i: corner i marked for editing
    std::uint8_t FCornerSet = 0;  // bit i: corner i present

public:

    // An empty facet: no corners, no normals, Shape 0, Color 0. Fill it with SetShape, SetCorner or
    // LoadFromText before measuring it: a corner not yet given counts as the origin.
    TPolygon() = default;
    // CreateShape: SetShape(Shape), with OwnColor false.
    explicit TPolygon(int Shape);
    virtual ~TPolygon();

    // Facets come and go by the hundred thousand (cut, clipped, handed to a mesh): they are carved
    // from large blocks, which saves the allocator's per-block header.
    static void* operator new(std::size_t Size);
    static void operator delete(void* P, std::size_t Size) noexcept;

    std::uint8_t GetShape() const noexcept { return FShape; }
    // The fields by name, as a list's facet (TFacetRef) gives them.
    TColor GetColor() const noexcept { return Color; }
    TColor GetEdgeColor() const noexcept { return EdgeColor; }
    bool GetOwnColor() const noexcept { return OwnColor; }
    bool GetSelected() const noexcept { return Selected; }
    // Fresh corners at the origin for Shape 0 (three) or 1 (four), Color clNone, EdgeColor clWhite;
    // the previous corners are dropped, the normals kept. Throws EGeometryError
    // "TPolygon.SetShape - Shape must be 0 (triangle) or 1 (quadrilateral)" for any other value.
    void SetShape(int Shape);
    // Stores P (every field, the mark included) as corner Index (0 to 3). Index 2 makes the facet a
    // triangle (dropping corner 3) and Index 3 a quadrilateral, so corners given in order leave the
    // right shape. Other indices do nothing.
    void SetCorner(int Index, const TRPoint& P);
    // Corner Index (0 to 3) of the facet takes P's values as TRPoint::Assign does (all but the mark);
    // nothing for a corner the facet does not have.
    void AssignCorner(int Index, const TRPoint& P);
    // Shape, corner values (TRPoint::Assign), the normals present in F (those absent in F stay as
    // they are), Color, OwnColor, EdgeColor and Selected.
    void Assign(const TPolygon& F);

    int CornerCount() const noexcept { return FShape == 1 ? 4 : 3; }
    // Corner 0 to 3; nullptr for a corner the facet does not have and for any other index.
    TFacetCorner* Corner(int Index) noexcept { return HasCorner(Index) ? &Slot(Index) : nullptr; }
    const TFacetCorner* Corner(int Index) const noexcept { return HasCorner(Index) ? &StoredCorner(Index) : nullptr; }
    // Corner 0 to 3 (Index & 3) as stored: the origin for a corner the facet does not have (its
    // slot holds a default point). Cheaper than Corner for passes over many facets.
    const TFacetCorner& StoredCorner(int Index) const noexcept {
        const int I = Index & 3;
        if (I < 3) return FCorners[static_cast<std::size_t>(I)];
        return FCorner3 ? *FCorner3 : NoCorner;
    }
    // Corner Index (0 to 3) as a point object: its position, weight, parameter, code and mark; a
    // default point for a corner the facet does not have.
    TRPoint CornerPoint(int Index) const;
    // The mark of corner Index (selected for editing); false for a corner the facet does not have.
    bool CornerMarked(int Index) const noexcept { return HasCorner(Index) && (FMarks >> Index & 1); }
    // Nothing for a corner the facet does not have.
    void SetCornerMarked(int Index, bool Value) noexcept;
    // Vertex normal of corner 0 to 2; nullptr when it has none, and for any other index.
    const TMVector* Normal(int Index) const noexcept {
        return HasNormal(Index) ? &FParts->Normal[static_cast<std::size_t>(Index)] : nullptr;
    }
    // Vertex normal of corner Index (0 to 2); other indices do nothing.
    void SetNormal(int Index, const TMVector& N);
    void SetColor(TColor C) {
        Color = C;
        OwnColor = true;
    }

    // The three corners. Throws EGeometryError "TPolygon.Triangle - Polygon is a Quadrilateral" for a
    // quadrilateral.
    TMTriangle Triangle() const;
    double Area() const;

    // A triangle becomes a quadrilateral with a new corner at V before corner Index; Index 0 or 3
    // appends it after the last corner. Throws EGeometryError for an index outside 0 to 3 or a facet
    // that is not a triangle, leaving the facet as it was.
    void Insert(int Index, const TMVector& V);
    // A quadrilateral becomes a triangle without corner Index. Throws EGeometryError "TPolygon.Delete -
    // Point index is outside range, expected [0, 3]" or "TPolygon.Delete - Point can only be deleted
    // from a polygon with 4 points", leaving the facet as it was.
    void Delete(int Index);
    // Exchanges the values of corners A and B (0 to 3, both present; the marks stay where they are).
    void SwapCornerValues(int A, int B);

    // Appends the facet's line and "\n": "3 " or "4 " and x, y, z of every corner with three decimals,
    // one blank between numbers.
    virtual void SaveToText(std::string& Text) const;
    // Reads a line written by SaveToText; anything after the last coordinate is ignored. A count other
    // than 3 or 4, or a missing or malformed number, throws EInOutError quoting the line and leaves
    // the facet as it was.
    virtual void LoadFromText(std::string_view Line);

protected:
    // Descendants copy through these (every field, the parts deeply); elsewhere Assign and
    // CopyPolygon say what is copied.
    TPolygon(const TPolygon& F);
    TPolygon& operator=(const TPolygon& F);

private:
    friend class TPolygonList;
    friend class TFacetRef;
    using TCornerExtra = TFacetCornerExtra;
    using TCornerExtras = TFacetCornerExtras;
    // Pooled: made for every facet that carries normals.
    struct TParts : TFacetParts {
        TParts() = default;
        TParts(const TParts& P) = default;
        TParts& operator=(const TParts& P) = default;
        static void* operator new(std::size_t Size);
        static void operator delete(void* P, std::size_t Size) noexcept;
    };

    static const TFacetCorner NoCorner;

    bool HasCorner(int Index) const noexcept { return Index >= 0 && Index < 4 && (FCornerSet >> Index & 1); }
    bool HasNormal(int Index) const noexcept {
        return Index >= 0 && Index < 3 && FParts && (FParts->NormalSet >> Index & 1);
    }
    // The slot of corner Index (0 to 3), the fourth made when first needed.
    TFacetCorner& Slot(int Index);
    void DropCorner(int Index);
    // Slot Index takes P's values but not its mark.
    void StoreValues(int Index, const TRPoint& P);
    // Extras of slot Index from those of slot From of F (defaults where F has none).
    void CopyExtras(int Index, const TPolygon& F, int From);
    void ClearExtras(int Index);
    TCornerExtra ExtraOf(int Index) const {
        const TCornerExtras* E = Extras();
        return E ? (*E)[static_cast<std::size_t>(Index & 3)] : TCornerExtra{};
    }
    TCornerExtras* Extras() const noexcept { return FParts ? FParts->Extras.get() : nullptr; }
    TCornerExtras& MakeExtras();
    TParts& MakeParts();

    // Slots 0 to 2 without their corner hold the origin, so every routine may read them; the
    // fourth slot exists while the facet has its fourth corner (or had it, until dropped).
    std::array<TFacetCorner, 3> FCorners{};
    std::unique_ptr<TFacetCorner> FCorner3;
    std::unique_ptr<TParts> FParts;
};

// Appends the text line of a facet of Shape (0 or 1) with corners A, B, C and, for a quadrilateral,
// D, as TPolygon::SaveToText writes it.
void AppendFacetLine(std::string& Text, int Shape, const TFacetCorner& A, const TFacetCorner& B, const TFacetCorner& C,
                     const TFacetCorner& D);

// A damaged facet line for an error message, in quotes, cut short so that the message stays readable.
std::string QuotedLine(std::string_view Line);

// ---- Building ----

// New facets whose corners are copies (TRPoint::Assign) of the given points.
std::unique_ptr<TPolygon> NewTriangle(const TRPoint& A, const TRPoint& B, const TRPoint& C);
std::unique_ptr<TPolygon> NewQuad(const TRPoint& A, const TRPoint& B, const TRPoint& C, const TRPoint& D);
std::unique_ptr<TPolygon> TriangleFromVectors(const TMVector& A, const TMVector& B, const TMVector& C);
std::unique_ptr<TPolygon> QuadFromVectors(const TMVector& A, const TMVector& B, const TMVector& C,
                                          const TMVector& D);
// A plain facet of F's shape, Assign'ed from F.
std::unique_ptr<TPolygon> CopyPolygon(const TPolygon& F);
std::unique_ptr<TPolygon> CopyPolygon(const TFacetRef& F);

// ---- Attributes and measures (corners only) ----
// Those that passes over whole meshes need are given for a facet of a list (TFacetRef) too.

// Corner Index, or the origin for a corner the facet does not have (as the measures count it).
const TFacetCorner& PolygonCornerOrOrigin(const TPolygon& F, int Index);
const TFacetCorner& PolygonCornerOrOrigin(const TFacetRef& F, int Index);
// All three vertex normals are present.
bool PolygonHasNormals(const TPolygon& F);
bool PolygonHasNormals(const TFacetRef& F);
// The first corner within 1e-4 of P per coordinate; -1 when none.
int PolygonCornerIndex(const TPolygon& F, const TRPoint& P);
int PolygonCornerIndex(const TFacetRef& F, const TRPoint& P);
// The vertex normal of the corner PolygonCornerIndex finds; nothing when none matches.
void SetPolygonNormalAt(TPolygon& F, const TRPoint& P, const TMVector& N);

// Over the corners' x (y, z): Mode 0 the maximum, 1 the minimum, 2 the mean; any other Mode the
// maximum.
double PolygonX(const TPolygon& F, int Mode);
double PolygonY(const TPolygon& F, int Mode);
double PolygonZ(const TPolygon& F, int Mode);
TMBox PolygonBox(const TPolygon& F);
// Mean of the corners.
TMVector PolygonCentroid(const TPolygon& F);
TMVector PolygonCentroid(const TFacetRef& F);
// 0.5 |(B - A) x (C - A)|.
double TriangleAreaOfPoints(const TRPoint& A, const TRPoint& B, const TRPoint& C);
// Half the cross product of the diagonals, 0.5 |(C - A) x (D - B)|.
double QuadAreaOfPoints(const TRPoint& A, const TRPoint& B, const TRPoint& C, const TRPoint& D);
// Unit normal, right-handed: a triangle's corners run counter-clockwise seen from its tip. A
// quadrilateral uses its diagonals. A degenerate facet gives the zero vector.
TMVector PolygonNormal(const TPolygon& F);
TMVector PolygonNormal(const TFacetRef& F);
// At least one corner lies inside Box, bounds included.
bool PolygonTouchesBox(const TPolygon& F, const TMBox& Box);

// ---- Edits and transforms ----

// Reverses the orientation by exchanging the values of corners 0 and 2; the normals stay.
void FlipPolygon(TPolygon& F);
// A new facet of F's shape with the corners carried through M. Vertex normals are directions: they
// go through the linear part of M only and are normalised again. Color is set by SetColor (so
// OwnColor is true); EdgeColor and Selected are copied.
std::unique_ptr<TPolygon> TransformedPolygon(const TPolygon& F, const TMMatrix& M);
// The parts of the triangle P0, P1, P2 on the positive (Above) and negative (Below) side of Plane;
// corners within 1e-4 of the plane go to both. A part with fewer than three corners or an area
// below 1e-10 is nullptr. On an error both are nullptr.
void SplitTriangleByPlane(const TPolygon& F, const TMPlane& Plane, std::unique_ptr<TPolygon>& Above,
                          std::unique_ptr<TPolygon>& Below);
// The part of the triangle P0, P1, P2 on the negative side of Plane (within 1e-4 counts as on it):
// a copy of F when all three lie below, nullptr when all lie above or fewer than three points remain.
// Only the first three corners decide, so a quadrilateral cut by the plane is clipped as its first
// triangle.
std::unique_ptr<TPolygon> ClippedPolygonArea(const TPolygon& F, const TMPlane& Plane);
std::unique_ptr<TPolygon> ClippedPolygonArea(const TFacetRef& F, const TMPlane& Plane);
// The corners of that part without making it, for callers that clip many facets: 0 for none, else
// the part's 3 or 4 corners (a copy of F's corners when all of F lies below).
int ClippedPolygonCorners(const TPolygon& F, const TMPlane& Plane, std::array<TMVector, 4>& Corners);
int ClippedPolygonCorners(const TFacetRef& F, const TMPlane& Plane, std::array<TMVector, 4>& Corners);

// ---- Lists ----

// Facet objects in order, not owned (a mesh, TPolygonList, keeps its facets in storage of its own).
class TPolygons {
public:
    TPolygons() = default;
    TPolygons(const TPolygons&) = delete;
    TPolygons& operator=(const TPolygons&) = delete;
    virtual ~TPolygons() = default;

    int Count() const noexcept { return static_cast<int>(FItems.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1 (First and Last on an
    // empty list too).
    // Inline: passes over every facet of a mesh call it once a facet.
    TPolygon* Polygon(int Index) const {
        if (Index < 0 || Index >= Count()) ThrowIndexError(Index);
        return FItems[static_cast<std::size_t>(Index)];
    }
    TPolygon* First() const { return Polygon(0); }
    TPolygon* Last() const { return Polygon(Count() - 1); }
    // Appends F and returns its index.
    int Add(TPolygon* F);
    // Removes the reference at Index.
    void Delete(int Index);
    virtual void Clear() { FItems.clear(); }

protected:
    std::vector<TPolygon*> FItems;

private:
    [[noreturn]] static void ThrowIndexError(int Index);
};

// Line segments, owned; contour tracing collects its pieces here.
class TLines {
public:
    int Count() const noexcept { return static_cast<int>(FLines.size()); }
    // Appends a segment from P1 to P2 (it takes both points) and returns its index.
    int Add(std::unique_ptr<TRPoint> P1, std::unique_ptr<TRPoint> P2);
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TRLine* Line(int Index) const;
    void Delete(int Index);
    void Clear() { FLines.clear(); }

private:
    std::vector<std::unique_ptr<TRLine>> FLines;
};

}  // namespace sarnova
