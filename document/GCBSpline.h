// The interpolating cubic B-spline entity: a cubic B-spline through the points the user edits, shaped
// by its continuity, end conditions and chord-length weighting. The optional display of the generated
// B-spline's control polygon, conversions to polylines and to a plain B-spline curve, what its property
// frame edits, and the creator that draws one with the mouse.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "document/GCreator.h"
#include "document/GCustomPline.h"
#include "foundation/BSplineInterpolate.h"

namespace sarnova {

class TCBSpline;

// The name under which the GUI registers the property frame of the interpolating cubic B-spline.
inline const char* const CBSplineFrameName = "CBSplineFrame";

class TGeoCBSpline : public TGeoCustomPLine {
public:
    // An empty curve of second-order continuity with natural ends; undoable and clonable.
    TGeoCBSpline();
    ~TGeoCBSpline() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoCBSpline>(); }
    static std::string GetKeyword() { return "TCBSpline"; }
    static int GetMenuOrder() { return 34; }
    static int GetImageIndex() { return 44; }
    // "Cubic BSpline (Interpolating)": draws a new curve in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);
    // The conversions of several selected interpolating cubic B-splines.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);

    TCBSpline& Spline() const { return *FSpline; }

    bool GetShowControlPolygon() const { return ShowControlPolygon; }
    // Erased, stored and drawn again.
    void SetShowControlPolygon(bool On);
    void ToggleControlPolygon() { SetShowControlPolygon(!ShowControlPolygon); }
    // Replaces this entity by a B-spline curve entity of the generated B-spline; this entity is freed.
    void ConvertToBSpline();

    // ---- What the property frame edits ----
    // Each does nothing when the value is already so. Otherwise the change is recorded and marked, and
    // applied when the entity is next drawn.
    void SetContinuity(TSplineContinuity Value);
    // The kind of the start or end condition; a clamped condition keeps its tangent for later.
    void SetStartConditionKind(TEndConditionKind Kind);
    void SetEndConditionKind(TEndConditionKind Kind);
    void SetAccountForChordLength(bool Value);

    // ---- Overrides ----
    std::uint8_t GetSelectionType() override { return 2; }
    // Deletes marked points, first to last, while more than four points remain.
    void DeleteSelectedPoints() override;
    void Transform(const TMMatrix& M) override;
    // Also the interpolation settings of a source of this class.
    void Assign(const TGeometry& Source) override;
    // Its block is its settings, points, name and colour, each changed inside a change bracket.
    bool WritesItsBlockFromState() const override { return true; }
    // Curve queries get the interpolating curve, B-spline queries its generated B-spline, polyline
    // queries the display polyline.
    void Query(TGeometryQuery& Query) override;
    // The display polyline and comb, the generated control polygon when shown, and in edit mode a
    // handle per point.
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    // Its own frame when the GUI has one, else the default frame.
    IGeometryFrame* CreateFrame(void* Owner) override;
    void AddMenuItems(TMenuItem& Root) override;
    void UpdateMenuItems(TMenuItem& Root) override;

private:
    // The settings change bracket: nothing when Value equals Field.
    template <class T>
    void ChangeSetting(T& Field, T Value);

    bool ShowControlPolygon = false;
    std::unique_ptr<TCBSpline> FSpline;
    TPolyline* OwnCurve() const override;
};

// Draws an interpolating cubic B-spline through left clicks; a right click makes it.
class TGeoCBSplineCreator : public TGeoDraggableLineCreator {
public:
    explicit TGeoCBSplineCreator(TGeometryList& List);
    void CreateGeometry() override;
    void DrawShape() override;
    void EraseShape() override;
};

// ---- Operations on the selected interpolating cubic B-splines of a document ----

// Each replaced by the polyline of its curve.
void ConvertSelectedCBSplinesToPolylines(TGeometryList& List);
// Each replaced by the polyline of its points.
void ConvertSelectedCBSplinePointsToPolylines(TGeometryList& List);
// Each replaced by a B-spline curve entity of its generated B-spline.
void ConvertSelectedCBSplinesToBSplines(TGeometryList& List);

}  // namespace sarnova
