// The circle entity: a full circle in any plane, held as its centre and four quadrant points. Dragging
// the centre moves it; dragging a quadrant point pivots the circle about the opposite one. Its property
// frame sets the centre and the radius; it converts to a polyline entity or a triangulated disc; and
// its creator takes the centre and a rim point from two clicks in a view.
#pragma once
#include <memory>
#include <string>

#include "document/GCreator.h"
#include "entities/GDefinedCurve.h"
#include "foundation/Arc.h"

namespace sarnova {

// The name under which the GUI registers the circle's property frame.
inline const char* const CircleFrameName = "CircleFrame";

class TGeoCircle : public TGeoDefinedCurve {
public:
    // All five points at the origin.
    TGeoCircle();
    ~TGeoCircle() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoCircle>(); }
    static std::string GetKeyword() { return "TCircle"; }
    static int GetMenuOrder() { return 15; }
    static int GetImageIndex() { return 63; }
    // "Circle": draws a new circle in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);
    // "Convert Circle to Polylines" and "Mesh Circles", when every selected entity is a circle.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);

    TCircle& Circle() { return *FCircle; }

    // ---- What the menus and the property frame do ----
    // Coordinate Axis (0 x, 1 y, 2 z) of the centre becomes Value, the circle moving along with radius
    // and axes kept, as one change.
    void SetCentreCoordinate(int Axis, double Value);
    // The radius becomes |Value|, centre and axes kept, as one change.
    void SetRadius(double Value);
    // A new polygon-list entity of the disc's triangles; the circle stays.
    void MeshCircle();

    int HandleCount() const override { return 5; }
    TRPoint& Handle(int Index) override { return *FCircle->Point(Index); }
    std::unique_ptr<TPolyline> MakePolyline() const override;

    // ---- Overrides ----
    TDataObject GetDataObject() override { return TDataObject::Of(FCircle.get()); }
    // "-", "Convert Circle to Polyline", "Mesh Circle".
    void AddMenuItems(TMenuItem& Root) override;
    void UpdateMenuItems(TMenuItem& Root) override;
    TMBox CalculateExtents() override { return FCircle->Extents(); }
    IGeometryFrame* CreateFrame(void* Owner) override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // Circle queries get the circle, polyline queries the display polyline.
    void Query(TGeometryQuery& Query) override;
    // A TGeoSelectCircles request selects it.
    void HandleMessage(TGeoMessage& Message) override;
    // While a quadrant point is dragged, the snapped point is held to the plane through the centre
    // that holds the dragged diameter and the normal.
    void SnapPoint(IGraphics& View, TPoint& ScreenPoint, TMVector& Point) override;
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    // The centre (or no point) moves the circle there. A quadrant point makes the circle pass through
    // the opposite one and the dragged position, with that distance as its diameter, tilted about the
    // line through the opposite point across the drag plane.
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;

protected:
    void SaveKernel(TTextWriter& Out) const override;
    void LoadKernel(TTextReader& In) override;

private:
    // A quadrant point (1 to 4) is being dragged.
    bool DraggingQuadrant() const;

    std::unique_ptr<TCircle> FCircle;
    // During a quadrant drag: the opposite quadrant point, which stays, and the plane the dragged
    // point moves in.
    TMVector FixedPoint;
    TMPlane DragPlane;
};

// Two clicks make a circle: the centre, then a point on the rim, in the axis plane most facing the
// viewer through the centre, while the circle follows the mouse. The creator then starts over; a right
// click with nothing entered ends it, one after the centre drops the centre.
class TGeoCircleCreator : public TGeoDraggableCreator {
public:
    explicit TGeoCircleCreator(TGeometryList& List);

    // The centre once it is placed, else the origin.
    void GetReferencePoint(TMVector& Point) override;
    void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(IGraphics& View, TShiftState Shift, int X, int Y) override;
    void DrawShape() override;
    void EraseShape() override;
    // A new circle as last shown, added to the document and drawn.
    void CreateGeometry() override;

    const TMCircle& GetCircle() const { return Circle; }

private:
    void DrawRubberCircle(TColor Color);

    TMVector Centre;
    TMVector Rim;
    TMCircle Circle;
};

}  // namespace sarnova
