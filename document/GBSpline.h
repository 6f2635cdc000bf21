// The B-spline curve entity: a non-rational B-spline whose editable points are its control points.
// Its order (3 to 6, or one Bezier segment), knuckle points, subdivision, knot insertion with a live
// preview (key S), conversions to polylines, the weld of two B-spline curves, and the creator that
// draws one with the mouse. Structural edits keep the knot vector open and uniform: a curve whose
// knots are not is converted first, once the user agrees.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/GCreator.h"
#include "document/GCustomPline.h"

namespace sarnova {

class TBSpline;

// Asks whether a B-spline Kind ("Curve", "Surface") whose knots are not open may have them opened
// for an operation that needs them so; false when nobody can be asked.
bool AskToOpenKnots(const std::string& Kind);

class TGeoBSpline : public TGeoCustomPLine {
public:
    // An empty open curve of order 4; undoable, clonable, knot insertion with S.
    TGeoBSpline();
    ~TGeoBSpline() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoBSpline>(); }
    static std::string GetKeyword() { return "TBSpline"; }
    static int GetMenuOrder() { return 33; }
    static int GetImageIndex() { return 43; }
    // "BSpline Curve": draws a new B-spline curve in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);
    // The conversions of several selected B-spline curves, and the weld of two.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);

    TBSpline& Spline() const { return *FSpline; }

    // ---- Popup-menu operations ----
    // Order 3 to 6 (ForcedBezier off), or with Bezier one segment through all points; the knots made
    // open. A curve whose knots are not open is changed only when the user agrees.
    void SetOrderFromMenu(int Order);
    void SetBezierFromMenu();
    // Makes a knuckle at the one marked point, or removes the knuckle whose order - 1 coincident points
    // are all marked. Edit mode only.
    void ToggleKnuckle();
    // The same curve with a knot in the middle of every span.
    void Subdivide();
    // Replaces this entity by a Tarvo curve of the hull generators holding a copy of the B-spline;
    // nothing while that entity cannot be made.
    void ConvertToTarvoCurve();
    // Replaces this entity by a curve-network curve with a free point per control point; only for
    // an open curve of order 4.
    void ConvertToXTCurve();

    // ---- Overrides ----
    std::uint8_t GetSelectionType() override { return 3; }
    // Point insertion with A only while the knots are open.
    void Recalculate() override;
    // True for open knots; otherwise asks whether to convert the curve.
    bool CanDeletePoints() override;
    // Deletes marked control points, first to last, while more than order points remain.
    void DeleteSelectedPoints() override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // Curve and B-spline queries get the B-spline, polyline queries the display polyline.
    void Query(TGeometryQuery& Query) override;
    // A TGeoSelectBSplines request selects it too.
    void HandleMessage(TGeoMessage& Message) override;
    // The display polyline and comb; in edit mode the control polygon with a handle per control point.
    void Draw(IGraphics& View) override;
    void DrawOutline(IGraphics& View) override;
    void AddMenuItems(TMenuItem& Root) override;
    void UpdateMenuItems(TMenuItem& Root) override;
    // A knot at the curve parameter of the display polyline's point nearest to the pixel.
    void InsertKnotClick(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    // The control polygon the knot would give, and where the knot goes.
    void DrawInsertKnotPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    void EraseInsertKnotPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;

private:
    // Indices of the marked control points in edit mode; empty outside it.
    std::vector<int> MarkedIndices();
    void UpdateKnuckleItem(TMenuItem& Item);
    // Asks the structural-change question when needed; then the order change as one change.
    template <class F>
    void ChangeOrder(F SetOrder);
    // The curve parameter and position of the display polyline's point nearest to the pixel.
    bool NearestCurvePoint(TPoint ScreenPoint, IGraphics& View, double& T, TMVector& Position);
    // A copy of the B-spline with a knot inserted at T.
    std::unique_ptr<TBSpline> WithKnotAt(double T) const;

    std::unique_ptr<TBSpline> FSpline;
    TPolyline* OwnCurve() const override;
    // The curve with the previewed knot, while the preview is shown.
    std::unique_ptr<TBSpline> KnotPreview;
    // The preview is on the screen (also when the knot could not be previewed).
    bool PreviewShown = false;
    double PreviewParameter = 0;
    TMVector PreviewPosition;
};

// Draws a B-spline curve with left clicks, its control points; a right click makes it. A curve of
// fewer points than order 4 gets the order of its points.
class TGeoBSplineCreator : public TGeoDraggableLineCreator {
public:
    explicit TGeoBSplineCreator(TGeometryList& List);

    TBSpline& Spline() const;

    void CreateGeometry() override;
    // The control polygon, the curve (of a lower order while there are fewer points than 4) and the
    // handles.
    void DrawShape() override;
    void EraseShape() override;

private:
    void DrawSpline(bool Erasing);
};

// ---- Operations on the selected B-spline curves of a document ----

// Each selected B-spline curve replaced by the polyline of its curve.
void ConvertSelectedBSplinesToPolylines(TGeometryList& List);
// Each selected B-spline curve replaced by the polyline of its control points.
void ConvertSelectedBSplineControlPolygons(TGeometryList& List);
// The first two selected B-spline curves replaced by one through both, joined at their nearest ends;
// nothing when that gives no curve.
void WeldSelectedBSplines(TGeometryList& List);

}  // namespace sarnova
