// The base of the curve entities whose model object is a polyline or a curve derived from one, and
// whose editable points are that object's points: the entity block in the document file, the FX, FY
// and FZ values of macro expressions, point editing in the view (drag, insert with A, delete), snap
// candidates, the plane section, the direction arrow, the shared popup-menu operations and what the
// property frame asks of the entity.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/GCurve.h"
#include "document/GeometryList.h"

namespace sarnova {

class TGeoDraggableCreator;
class TGeoPline;
class TPolyline;

// The popup item of every polyline-backed curve that extrudes it.
inline const char* const ExtrudeSurfaceCaption = "Extrude a Surface";

// The name under which the GUI registers the property frame of these curves.
inline const char* const PlineFrameName = "PlineFrame";

// The property frame of a polyline-backed curve: a point grid under name, colour and, for a
// B-spline, its order.
class IPlineFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    void Refresh() override { UpdateFromEntity(); }
    // Every field and row from the entity.
    virtual void UpdateFromEntity() = 0;
    // Only the rows of marked points (while they are dragged).
    virtual void UpdateMarkedRows() = 0;
};

// Body inside one update bracket of List that ends editing and shows the hourglass, closed also when
// Body fails: how an entity is replaced by others, so that the document hears of it once.
template <class F>
void InListUpdate(TGeometryList& List, F Body) {
    List.BeginUpdate(ufEndEditing | ufHourGlass);
    try {
        Body();
    } catch (...) {
        try {
            List.EndUpdate();
        } catch (...) {
        }
        throw;
    }
    List.EndUpdate();
}

// Body inside one change bracket of Entity, erased before and redrawn after; the bracket is closed
// also when Body fails.
template <class F>
void InRedrawnChange(TGeometry& Entity, F Body) {
    Entity.BeginChange();
    Entity.Undraw();
    try {
        Body();
    } catch (...) {
        Entity.EndChange();
        throw;
    }
    Entity.EndChange();
    Entity.Redraw();
}

// The selected entities of List that are of class T, in list order.
template <class T>
std::vector<T*> SelectedOfClass(const TGeometryList& List) {
    std::vector<T*> Result;
    for (int I = 0; I < List.Count(); ++I) {
        TGeometry& G = List.Items(I);
        if (G.GetSelected())
            if (auto* Entity = dynamic_cast<T*>(&G)) Result.push_back(Entity);
    }
    return Result;
}

// Whether something is selected and every selected entity is of class T: when a class offers its
// operations on several entities.
template <class T>
bool OnlyClassSelected(const TGeometryList& List) {
    return List.SelectedCount() > 0 && static_cast<int>(SelectedOfClass<T>(List).size()) == List.SelectedCount();
}

// Operation on each selected entity of class T, in list order, inside one update bracket of List.
// The entities are gathered first, so an operation may replace its entity by a new one at the end.
template <class T, class F>
void ForEachSelected(TGeometryList& List, F Operation) {
    const std::vector<T*> Selected = SelectedOfClass<T>(List);
    InListUpdate(List, [&] {
        for (T* Entity : Selected) Operation(*Entity);
    });
}

// A menu item acting on the document it carries.
void AddDocumentItem(TMenuItem& Menu, const std::string& Caption, TGeometryList& List,
                     void (*Operation)(TGeometryList&), bool Enabled = true);
// The Create-menu item that hands a creator made by Make for the document to the document's view.
void AddCreatorItem(TMenuItem& Menu, const std::string& Caption, int ImageIndex, TGeometryList& List,
                    std::unique_ptr<TGeoDraggableCreator> (*Make)(TGeometryList&));

// Where a new point picked at a pixel would go: the insert index (-1 when the curve has no segment)
// and its position on the pick ray nearest to the segment it goes into.
struct TPickedPolylinePoint {
    TMVector Position;
    int Index = -1;
};
TPickedPolylinePoint PickPolylinePoint(const TPolyline& Curve, TPoint Pixel, IGraphics& View);
// The insert-point preview over Points at the pixel: lines from the neighbouring points to the picked
// position and a handle there, in Colour.
void DrawInsertPointPreviewOver(const TPolyline& Points, TPoint Pixel, IGraphics& View, TColor Colour);
// One edit handle of kind 0 per point of Points for which Shown holds (every point without it), in the
// select colour when marked and the control-polygon colour otherwise, then the first point's handle
// again in the start colour when it is not marked. Without InColour everything in the colour the
// caller has set.
void DrawPointHandlesOf(const TGeometry& Entity, IGraphics& View, const TPolyline& Points, bool InColour,
                        const std::function<bool(int)>& Shown = {});
// In one update bracket of Old's owner list, New is added and Old deleted (freed). Returns the added
// entity; nullptr, and nothing done, without an owner list.
TGeometry* ReplaceEntityInList(TGeometry& Old, std::unique_ptr<TGeometry> New);

class TGeoCustomPLine : public TGeoDraggableCurve {
public:
    // A visible display polyline, point insertion with A, sectioned by plane entities. The subclass
    // makes the curve.
    TGeoCustomPLine();
    const char* HintText() const override;
    ~TGeoCustomPLine() override;

    // Whether points may be deleted or inserted (or the order changed) now.
    virtual bool CanDeletePoints();

    TPolyline* GetCurve() const { return OwnCurve(); }
    TPolyline* GetPolyline() override { return OwnCurve(); }

    bool GetShowDirection() const { return ShowDirection; }
    // Nothing when unchanged; else erased, stored and drawn again.
    void SetShowDirection(bool On);
    void ToggleShowDirection() { SetShowDirection(!ShowDirection); }
    // Marked curve points in edit mode; 0 outside it.
    int MarkedPointCount();

    // ---- Popup-menu operations ----
    void ReversePoints();
    // Closes an open curve (a copy of the first point appended) or opens a closed one.
    void ToggleClosed();
    // Moves the marked points onto the line through the first and the last marked point.
    void StraightenPoints();
    // Replaces this entity by a polyline entity of the digitised curve; this entity is freed.
    void ConvertToPolyline();
    // Replaces this entity by a polyline entity through copies of the curve's points (for a B-spline
    // its control points); this entity is freed.
    void ControlPointsToPolyline();
    // "Extrude a Surface": a new linear extrusion of this curve (named first when unnamed) in its list.
    void ExtrudeSurface();

    // ---- What the property frame does ----
    // Coordinate Axis (0 x, 1 y, 2 z) of point Index becomes Value, as one change.
    void SetPointCoordinate(int Index, int Axis, double Value);
    // A new point before point Index: halfway to the point before it, or for the first point one
    // segment back along the first segment. Nothing when points may not be inserted or the curve has
    // fewer than two points.
    void InsertPointAbove(int Index);
    // A new point after point Index: halfway to the next point, or after the last point one segment
    // further along the last segment.
    void InsertPointBelow(int Index);
    // Marks points First to Last, unmarks the rest, and redraws.
    void MarkPointRange(int First, int Last);
    // Coordinate Axis of every point becomes Value, as one change.
    void FillCoordinate(int Axis, double Value);
    // The order of a B-spline curve, its knots made open; nothing for other curves or when the
    // structure may not change.
    void SetCurveOrder(int Order);

    // ---- Overrides ----
    TDataObject GetDataObject() override;
    // The curve's points in edit mode; the display polyline's outside it, so that everything working
    // on an entity's points works along the drawn curve.
    int GetPointCount() override;
    TRPoint* GetPoint(int Index) override;
    // Unmarked curve points as points; outside edit mode the point of the display polyline nearest to
    // the request's pixel as a point on a curve.
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    std::unique_ptr<TPolyline> IntersectPlane(const TMPlane& Plane) override;
    // The control polygon.
    void DrawSimplified(IGraphics& View) override;
    // "[<curve class>]", the curve's own block, "Name=" and "Color=" when they apply, an empty line.
    void SaveToText(TTextWriter& Out) override;
    // The curve's block, then key lines up to the first line without a key; NAME and COLOR are read,
    // other keys passed over.
    void LoadFromText(TTextReader& In) override;
    // "FX(<expression>).Y" and the like: a coordinate of the curve's point at an x, y or z.
    double Expression(const std::string& PropertyText) override;
    // Deletes marked points, first to last, while more than two points remain.
    void DeleteSelectedPoints() override;
    // The polyline frame when the GUI has one, else the default frame.
    IGeometryFrame* CreateFrame(void* Owner) override;
    void UpdateFrame() override;
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    // Marked points move to where they were at the start of the drag plus Offset.
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override;
    void InsertPointClick(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    void DrawInsertPointPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;
    void EraseInsertPointPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View) override;

protected:
    // The subclass's curve, which the subclass owns and frees; nullptr while it is not made. Asked
    // for instead of kept: a document holds polylines by the hundred thousand.
    virtual TPolyline* OwnCurve() const { return nullptr; }
    // Removes the first marked point again and again while more than Keep points remain.
    void RemoveMarkedPoints(int Keep);
    // One edit handle of kind 0 per point of Points, in the select colour when marked and the
    // control-polygon colour otherwise, then the first point's handle again in the start colour when
    // it is not marked. Without InColour everything in the colour the caller has set.
    void DrawPointHandles(IGraphics& View, const TPolyline& Points, bool InColour);
    // In one update bracket of the owner list, Entity is added and this entity deleted (freed).
    // Returns the added entity; nullptr, and nothing done, without an owner list.
    TGeometry* ReplaceInList(std::unique_ptr<TGeometry> Entity);
    // The preview lines and handle in Colour.
    void DrawInsertPreview(TPoint ScreenPoint, IGraphics& View, TColor Colour);
    // Begin change and erase, Body, end change and redraw: the bracket of the menu operations.
    template <class F>
    void ChangeAndRedraw(F Body);

private:
    IPlineFrame* PlineFrame() const;
    // A point in the curve's structure is inserted: B-spline knots become open first.
    void PrepareStructureChange();

    // First, so that it takes the padding after the base's last field.
    bool ShowDirection = false;
};

template <class F>
void TGeoCustomPLine::ChangeAndRedraw(F Body) {
    BeginChange();
    Undraw();
    Body();
    EndChange();
    Redraw();
}

// ---- Conversions into curve-network curves ----

// Whole-curve shape of a curve-network curve made from points.
enum class TXTCurveShape { Free, CubicSpline, Polyline };
// Makes a curve-network curve entity with one free point per point of Points and the shape's
// whole-curve constraint.
using TXTCurveMaker = std::function<std::unique_ptr<TGeometry>(const TPolyline& Points, TXTCurveShape Shape)>;
// Installed by the registration of the entity classes; an empty maker removes it.
void SetXTCurveMaker(TXTCurveMaker Maker);
// A maker is installed and the curve-network curve class is registered.
bool CanCreateXTCurve();
// The new entity; nullptr when none can be made.
std::unique_ptr<TGeometry> CreateXTCurve(const TPolyline& Points, TXTCurveShape Shape);

// ---- Conversions into entity kinds of the higher floors ----
// Each maker is installed by the registration of the entity classes; an empty maker removes it.

class TBSpline;

// Makes a new Tarvo curve entity (default name "TarvoCurve1") whose curve's B-spline is assigned from
// Spline.
using TTarvoCurveMaker = std::function<std::unique_ptr<TGeometry>(const TBSpline& Spline)>;
void SetTarvoCurveMaker(TTarvoCurveMaker Maker);
bool CanCreateTarvoCurve();
// The new entity; nullptr while no maker is installed.
std::unique_ptr<TGeometry> CreateTarvoCurve(const TBSpline& Spline);

// Makes the surface extruded from Curve.
using TExtrudedSurfaceMaker = std::function<std::unique_ptr<TGeometry>(TGeoCustomPLine& Curve)>;
void SetExtrudedSurfaceMaker(TExtrudedSurfaceMaker Maker);
// The new entity; nullptr while no maker is installed.
std::unique_ptr<TGeometry> CreateExtrudedSurface(TGeoCustomPLine& Curve);

// Makes a point-cloud entity of copies of the points of Polylines, in their order.
using TPointCloudMaker = std::function<std::unique_ptr<TGeometry>(const std::vector<const TPolyline*>& Polylines)>;
void SetPointCloudMaker(TPointCloudMaker Maker);
// The new entity; nullptr while no maker is installed.
std::unique_ptr<TGeometry> CreatePointCloud(const std::vector<const TPolyline*>& Polylines);

}  // namespace sarnova
