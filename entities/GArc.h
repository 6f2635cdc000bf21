// The arc entity: a circular arc through a start point, a point on the arc and an end point, edited by
// dragging those three points or typing them into its property frame, and converted to a polyline
// entity on request; with the creator that takes the three points from three clicks in a view.
#pragma once
#include <memory>
#include <string>

#include "document/GCreator.h"
#include "entities/GDefinedCurve.h"
#include "foundation/Arc.h"

namespace sarnova {

// The name under which the GUI registers the arc's property frame.
inline const char* const ArcFrameName = "ArcFrame";

class TGeoArc : public TGeoDefinedCurve {
public:
    // All three points at the origin.
    TGeoArc();
    ~TGeoArc() override;

    const TGeometryClass& GetClass() const override { return GeometryClassOf<TGeoArc>(); }
    static std::string GetKeyword() { return "TArc"; }
    static int GetMenuOrder() { return 16; }
    static int GetImageIndex() { return 62; }
    // "Arc": draws a new arc in the document's view.
    static void AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List);
    // "Convert Arc to Polylines", when every selected entity is an arc.
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List);

    TArc& Arc() { return *FArc; }

    int HandleCount() const override { return 3; }
    TRPoint& Handle(int Index) override { return *FArc->GetPoint(Index); }
    std::unique_ptr<TPolyline> MakePolyline() const override;

    // ---- Overrides ----
    TDataObject GetDataObject() override { return TDataObject::Of(FArc.get()); }
    // "-", "Convert Arc to Polyline".
    void AddMenuItems(TMenuItem& Root) override;
    TMBox CalculateExtents() override { return FArc->Extents(); }
    IGeometryFrame* CreateFrame(void* Owner) override;
    void Transform(const TMMatrix& M) override;
    void Assign(const TGeometry& Source) override;
    // Arc queries get the arc, polyline queries the display polyline.
    void Query(TGeometryQuery& Query) override;
    // A TGeoSelectArcs request selects it.
    void HandleMessage(TGeoMessage& Message) override;
    // The marked points move to where they were when the drag began plus Offset.
    void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
              const TMVector& Offset) override;

protected:
    void SaveKernel(TTextWriter& Out) const override;
    void LoadKernel(TTextReader& In) override;
    // The start point's handle once more in the start colour, unless it is marked.
    void DrawExtraHandles(IGraphics& View) override;

private:
    std::unique_ptr<TArc> FArc;
};

// Three clicks make an arc: the start point, a point on the arc and the end point, while the arc
// through them follows the mouse. The creator then starts over; a right click with nothing entered
// ends it, one during an arc drops the arc.
class TGeoArcCreator : public TGeoDraggableLineCreator {
public:
    explicit TGeoArcCreator(TGeometryList& List);

    void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DrawShape() override;
    void EraseShape() override;
    // A new arc through the first three points, added to the document and drawn.
    void CreateGeometry() override;

private:
    void DrawRubberArc(TColor Color);
};

}  // namespace sarnova
