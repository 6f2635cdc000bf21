// The base of every curve entity: a draggable entity drawn and picked through a cached display
// polyline, with a switchable curvature comb. Other code reaches the curve behind any curve entity
// through GetPolyline and AddToCurveAnalysis.
#pragma once
#include <memory>

#include "document/GDraggable.h"
#include "document/GeometryRepresentation.h"
#include "foundation/Curvature.h"

namespace sarnova {

class TGeoDraggableCurve;
class TPolyline;

// The curve as a display polyline: a plain polyline densified to about 200 points, any other curve
// digitised. Built lazily before it is drawn; hit tests use the vertices of the last one built.
class TPolylineRepresentation : public TGeometryRepresentation {
public:
    // Visible, nothing built yet.
    explicit TPolylineRepresentation(TGeoDraggableCurve& ACurve);
    ~TPolylineRepresentation() override;

    // The display polyline; nullptr until built or when the entity has no curve.
    TPolyline* GetPolyline() const { return Display.get(); }

    // The smallest pixel distance to a display vertex; 1e33 when hidden or nothing is built.
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) const;
    // Whether a display vertex lies in Rect (left and top edges inside, right and bottom outside);
    // false when hidden or nothing is built.
    bool InRect(const TRect& Rect, IGraphics& View) const;

protected:
    void DoDraw(IGraphics& View) override;
    void DoDrawOutline(IGraphics& View) override;
    void Rebuild() override;

private:
    TGeoDraggableCurve& Curve;
    std::unique_ptr<TPolyline> Display;
};

// The curvature comb of a curve entity. Hidden at creation.
class TCurvatureAnalysisRepresentation : public TGeometryRepresentation {
public:
    explicit TCurvatureAnalysisRepresentation(TGeoDraggableCurve& ACurve);
    ~TCurvatureAnalysisRepresentation() override;

    const TCurveAnalysis& GetAnalysis() const { return Analysis; }

    // Also while the curve is edited when the settings show curvature during editing, so the comb of
    // the edited curve shows even with the curve's own comb switched off.
    bool CanDraw() const override;

protected:
    void DoDraw(IGraphics& View) override;
    void DoDrawOutline(IGraphics& View) override;
    void Rebuild() override;

private:
    TGeoDraggableCurve& Curve;
    TCurveAnalysis Analysis;
};

class TGeoDraggableCurve : public TGeoDraggable {
public:
    // No display polyline (subclasses with a curve make one); the comb hidden.
    TGeoDraggableCurve();
    ~TGeoDraggableCurve() override;

    // Rebuilds Analysis from GetPolyline; an entity without a curve leaves it empty.
    virtual void AddToCurveAnalysis(TCurveAnalysis& Analysis);
    // The data object when it is a polyline (or a curve derived from one), else nullptr.
    virtual TPolyline* GetPolyline();

    // The curvature comb shown: state bit gsCurvature, always equal to the comb's visibility.
    bool DrawCurvature() const { return (GetState() & gsCurvature) != 0; }
    // Nothing when unchanged; else the state bit and the comb together, then the views are
    // invalidated and the frame refreshed.
    void SetDrawCurvature(bool On);
    void ToggleDrawCurvature() { SetDrawCurvature(!DrawCurvature()); }
    // Both pictures are rebuilt when next drawn.
    void InvalidateCurveRepresentations();

    // nullptr for a class without a display polyline (UseDisplayPolyline).
    TPolylineRepresentation* GetPolylineRepresentation() const;
    TCurvatureAnalysisRepresentation& GetCurvatureRepresentation() const;
    // The display polyline, built now when it is missing or stale; nullptr without a curve.
    TPolyline* DisplayPolyline();

    // ---- Overrides ----
    void InvalidateRepresentations() override;
    // The extents of GetPolyline; empty without a curve.
    TMBox CalculateExtents() override;
    // Also copies the display polyline's visibility and the curvature display of a curve source.
    void Assign(const TGeometry& Source) override;
    // Along the display polyline while the owner list holds fewer than 500 entities and the display
    // polyline is visible; else the entity's points.
    double DistanceToPoint(TPoint ScreenPoint, IGraphics& View) override;
    bool InRect(const TRect& Rect, IGraphics& View) override;
    // The display polyline in the draw colour.
    void DrawHighlighted(IGraphics& View) override;
    // The display polyline, then the comb.
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    // The extents box.
    void DrawSimplified(IGraphics& View) override;
    // A TGeoSelectCurves request selects the entity.
    void HandleMessage(TGeoMessage& Message) override;

protected:
    // The entity is drawn and picked through a display polyline (a TPolylineRepresentation).
    void UseDisplayPolyline() { HasDisplayPolyline = true; }

private:
    // Whether hit tests go along the display polyline.
    bool PicksByDisplayPolyline() const;

    // Both pictures are made when first asked for: a document holds curves by the hundred thousand,
    // most of them never drawn with a comb, many never drawn at all. Until then the display polyline
    // counts as visible and stale, the comb as hidden.
    struct TPictures : TSubclassPart {
        ~TPictures() override;
        std::unique_ptr<TPolylineRepresentation> Polyline;
        // After the display polyline, so that it goes first.
        std::unique_ptr<TCurvatureAnalysisRepresentation> Comb;
    };
    TPictures& MakePictures() const;
    // The pictures made so far; nullptr for one not made yet.
    TPictures* MadePictures() const { return static_cast<TPictures*>(FindPart(TPartSlot::Pictures)); }
    TPolylineRepresentation* MadePolyline() const { return MadePictures() ? MadePictures()->Polyline.get() : nullptr; }
    TCurvatureAnalysisRepresentation* MadeComb() const { return MadePictures() ? MadePictures()->Comb.get() : nullptr; }

    // The only field, so that a subclass's first small field takes the padding after it.
    bool HasDisplayPolyline = false;
};

}  // namespace sarnova
