// Display representations: cached pictures derived from an entity (contour lines, sampled outlines,
// parameter lines, curvature combs) that are rebuilt only after the entity changed and are drawn over
// or instead of the entity's own drawing. The contour overlay that every entity can show lives here.
#pragma once
#include <memory>

#include "foundation/Graphics.h"

namespace sarnova {

class TContours;
class TGeometry;
class TPolylineList;

// The base of every representation. It belongs to one entity, which must outlive it.
class TGeometryRepresentation {
public:
    explicit TGeometryRepresentation(TGeometry& AGeometry);
    virtual ~TGeometryRepresentation();
    TGeometryRepresentation(const TGeometryRepresentation&) = delete;
    TGeometryRepresentation& operator=(const TGeometryRepresentation&) = delete;

    TGeometry& GetGeometry() const { return Geometry; }
    bool GetVisible() const { return Visible; }
    bool GetNeedsRebuild() const { return NeedsRebuild; }
    bool IsRebuilding() const { return Rebuilding; }

    // When it differs: the entity is erased, the flag stored, the picture marked stale and the entity
    // drawn again.
    void SetVisible(bool Value);
    // Marks the picture stale; it is rebuilt when next drawn.
    void Invalidate() { NeedsRebuild = true; }
    // Rebuilds a stale picture, unless a rebuild is already under way. The picture counts as fresh
    // afterwards even when the rebuild throws, so that a failing rebuild is not retried on every draw.
    void Update();
    // When CanDraw: Update, then the picture.
    void Draw(IGraphics& View);
    // When CanDraw: the picture as it stands, without rebuilding (for erasing).
    void DrawOutline(IGraphics& View);
    // Update and the picture, even when hidden.
    void DrawAlways(IGraphics& View);

    // Visible and not being rebuilt.
    virtual bool CanDraw() const;

protected:
    virtual void DoDraw(IGraphics& View) = 0;
    virtual void DoDrawOutline(IGraphics& View) = 0;
    virtual void Rebuild() = 0;

    // A plain store, for constructors of representations that start hidden.
    void StoreVisible(bool Value) { Visible = Value; }

    // The picture's identity for targets that keep drawings: renewed whenever it is rebuilt.
    const TDrawingKey& GetPictureKey() const { return PictureKey; }

private:
    TGeometry& Geometry;
    bool Visible = true;
    bool NeedsRebuild = true;
    bool Rebuilding = false;
    TDrawingKey PictureKey;
};

// A representation whose picture is a polyline list, with screen hit tests. It starts hidden and
// without a list; the subclass's Rebuild makes the list.
class TPolylistRepresentation : public TGeometryRepresentation {
public:
    explicit TPolylistRepresentation(TGeometry& AGeometry);
    ~TPolylistRepresentation() override;

    // The picture; nullptr until built.
    TPolylineList* GetPolylines() const { return Polylines.get(); }

    // The smallest pixel distance from ScreenPoint to a vertex of the picture, and for a mirrored
    // entity to the vertex with y negated; 1e33 when hidden or not built.
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) const;
    // Whether a vertex (or for a mirrored entity its mirror image) lies in Rect, left and top edges
    // inside, right and bottom outside; false when hidden or not built.
    bool InRect(const TRect& Rect, IGraphics& View) const;
    // The contour planes of the document: those of the first contours entity in the entity's list;
    // nullptr without a list or when the list holds none (nothing is created here).
    TContours* FindContours() const;
    bool HasContours() const { return FindContours() != nullptr; }

protected:
    // Each polyline in its own colours; a target that keeps lines keeps them until the next rebuild
    // (not while the entity is dragged, when every step rebuilds).
    void DoDraw(IGraphics& View) override;
    // Each polyline as an unfilled line in the view's colour, so that erasing really erases.
    void DoDrawOutline(IGraphics& View) override;

    std::unique_ptr<TPolylineList> Polylines;

private:
    // Calls Visit with each vertex and, for a mirrored entity, its mirror image, until it answers true.
    template <class F>
    bool AnyVertex(F Visit) const;
};

// The contour overlay: where the document's contour planes cut the entity's facets for display.
class TGeometryContours : public TPolylistRepresentation {
public:
    using TPolylistRepresentation::TPolylistRepresentation;

    // Also not while the entity is dragged, nor while it is edited unless the settings ask for it:
    // cutting large facet meshes is slow.
    bool CanDraw() const override;

protected:
    // Visible with contour planes: the entity's display facets cut at every plane, plus their mirror
    // image for a mirrored entity. Visible without planes: the old picture stays. Hidden: dropped.
    void Rebuild() override;
};

}  // namespace sarnova
