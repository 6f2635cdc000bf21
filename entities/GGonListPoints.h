// Corner references of facet meshes: lists of corners picked for editing, and the shared points that
// gather the corners standing at one place in different facets, so that one edit moves all of them.
// A corner edit moves one facet's corner only; this is how editing keeps adjacent facets joined.
#pragma once
#include <memory>
#include <vector>

#include "document/Geometry.h"
#include "foundation/Polygon.h"

namespace sarnova {

class TPolyline;

// One corner of a facet of a mesh, named by the mesh, the facet's index and the corner's index.
struct TCornerRef {
    TPolygonList* List = nullptr;
    int FacetIndex = 0;
    int Index = 0;

    TFacetRef Facet() const { return List->Polygon(FacetIndex); }
    const TFacetCorner& Corner() const { return *Facet().Corner(Index); }
    TMVector Vector() const { return Corner().Vector(); }
    // Moves the corner; the other facets' corners at its old place stay.
    void SetVector(const TMVector& V) const { Facet().MoveCorner(Index, V); }
    bool Marked() const { return Facet().CornerMarked(Index); }
    void SetMarked(bool Value) const { Facet().SetCornerMarked(Index, Value); }
    bool operator==(const TCornerRef&) const = default;
};

// Corner references in order; the list never frees the facets. Whoever frees or reshapes the facets
// clears the list first.
class TRPointList {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TCornerRef Items(int Index) const;
    void Add(TCornerRef Corner) { FItems.push_back(Corner); }
    void Clear() { FItems.clear(); }
    // The mark of every listed corner.
    void SetSelected(bool Value);
    // Polyline cleared, then a copy of every listed corner appended.
    void CopyToPolyline(TPolyline& Polyline) const;

private:
    std::vector<TCornerRef> FItems;
};

// The view's description of one picked facet corner: its position and mark, or none.
class TCornerPointInfo : public TPointInfo {
public:
    using TPointInfo::TPointInfo;
    TCornerRef Corner;

    // Marks the corner; nothing without one.
    void SetSelected(bool Value) override;
    // Holds the corner; without one (a null facet) the zero vector, not selected, not visible.
    void SetCorner(TCornerRef ACorner, IGraphics* View, bool AVisible);
};

// The corners at one position, and that position.
class TSharedPoint : public TRPointList {
public:
    explicit TSharedPoint(const TMVector& Position) : FPosition(Position) {}

    double X() const { return FPosition.X; }
    double Y() const { return FPosition.Y; }
    double Z() const { return FPosition.Z; }
    const TMVector& Position() const { return FPosition; }
    // That coordinate of every corner and of the stored position.
    void SetX(double Value);
    void SetY(double Value);
    void SetZ(double Value);
    // Axis 0 x, 1 y, 2 z; nothing for another axis.
    void SetCoordinate(int Axis, double Value);
    void SetPosition(const TMVector& Value);
    // The stored position taken from the first corner (after the corners were moved directly).
    void UpdatePosition();

private:
    TMVector FPosition;
};

// The shared points of the selected facets of a mesh, in the order their first corners come.
class TSharedPointList {
public:
    // Corners whose coordinates all differ by less than this share a point.
    static constexpr double Tolerance = 1e-10;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EError "List index out of bounds (Index)" outside 0 .. Count - 1.
    TSharedPoint& Items(int Index) const;
    // Corner joins the first shared point whose position equals its own within Tolerance, else a new
    // shared point at the corner's position is appended.
    void AddCorner(TCornerRef Corner);
    // Clear, then every corner of every selected facet of Facets, in list and corner order, through
    // AddCorner. Looks the positions up in a hash, so a whole hull builds in linear time.
    void Build(TPolygonList& Facets);
    // Frees the shared points, never the corners.
    void Clear() { FItems.clear(); }
    void UpdatePositions();
    // Axis (0 x, 1 y, 2 z) of every shared point, and so of every corner listed, becomes Value.
    void FillCoordinate(int Axis, double Value);

private:
    std::vector<std::unique_ptr<TSharedPoint>> FItems;
};

}  // namespace sarnova
