// What arcs and circles share: a curve entity defined by a few handle points (three for an arc, the
// centre and four quadrant points for a circle) and shown, picked, snapped to and converted through a
// cached 101-point polyline worked out from them. Outside edit mode the entity's points are those of
// the polyline, so that picking and the point-based tools work along the drawn curve; in edit mode
// they are the handles, which are dragged or typed into the property frame's grid.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "document/GCustomPline.h"
#include "document/GDraggable.h"
#include "document/GeometryQuery.h"
#include "document/GeometryRepresentation.h"

namespace sarnova {

class TPolyline;

// The cached display polyline of an arc or a circle, made by the entity when first needed and again
// after every change.
class TShapeRepresentation : public TGeometryRepresentation {
public:
    using TMake = std::function<std::unique_ptr<TPolyline>()>;
    TShapeRepresentation(TGeometry& AGeometry, TMake AMake);
    ~TShapeRepresentation() override;

    // The polyline, made now when it is missing or stale.
    TPolyline& Polyline();
    // The polyline as last made; nullptr before the first.
    TPolyline* GetPolyline() const { return Shape.get(); }

protected:
    void DoDraw(IGraphics& View) override;
    void DoDrawOutline(IGraphics& View) override;
    void Rebuild() override;

private:
    TMake Make;
    std::unique_ptr<TPolyline> Shape;
};

// The property frame of an arc or a circle: name, colour and a grid of its defining points.
class IShapeFrame : public IGeometryFrame {
public:
    bool IsDefaultFrame() const override { return false; }
    void Refresh() override { UpdateFromEntity(); }
    // Every field from the entity.
    virtual void UpdateFromEntity() = 0;
    // What a drag changes, while it runs.
    virtual void UpdateDragged() = 0;
};

class TGeoDefinedCurve : public TGeoDraggable {
public:
    // Undoable; the polyline made by the subclass's MakePolyline.
    TGeoDefinedCurve();
    ~TGeoDefinedCurve() override;

    // The handle points.
    virtual int HandleCount() const = 0;
    virtual TRPoint& Handle(int Index) = 0;
    // The 101-point polyline of the present handles.
    virtual std::unique_ptr<TPolyline> MakePolyline() const = 0;

    TShapeRepresentation& Representation() { return *Shape; }
    // The display polyline, made now when missing or stale.
    TPolyline& DisplayPolyline() { return Shape->Polyline(); }
    // Copies of the handles as they were when the present drag began; nullptr outside a drag.
    const TPolyline* GetDragCopy() const { return DragCopy.get(); }

    // ---- What the menus and the property frame do ----
    // In edit mode, marks handles First to Last and unmarks the others, then redraws; nothing
    // outside edit mode.
    void MarkPointRange(int First, int Last);
    // Coordinate Axis (0 x, 1 y, 2 z) of handle Index becomes Value, as one change; nothing for an
    // index or axis out of range.
    void SetPointCoordinate(int Index, int Axis, double Value);
    // Replaces this entity, in one update bracket of its list, by a polyline entity through a copy
    // of the display polyline; this entity is freed. Nothing without a list.
    void ConvertToPolyline();

    // ---- Overrides ----
    // The handles in edit mode, the display polyline's points outside it.
    int GetPointCount() override;
    TRPoint* GetPoint(int Index) override;
    // A curve.
    std::uint8_t GetSelectionType() override { return 2; }
    void InvalidateRepresentations() override;
    // Unmarked handles as points; outside edit mode the display polyline's point nearest to the
    // request's pixel as a point on a curve.
    void AddSnapPoints(TGeometrySnapInfo& Request) override;
    // The display polyline in the entity's draw colour.
    void DrawHighlighted(IGraphics& View) override;
    // The display polyline; in edit mode a handle at every defining point, in the select colour when
    // marked and the control-polygon colour otherwise.
    void Draw(IGraphics& View) override;
    // The same without colours of its own, for erasing.
    void DrawOutline(IGraphics& View) override;
    void DrawSimplified(IGraphics& View) override;
    // "[<keyword>]", the kernel object's lines, "Name=" and "Color=" when they apply, an empty line.
    void SaveToText(TTextWriter& Out) override;
    // The kernel object's lines, then key lines up to the first line without a key: NAME and COLOR
    // (any case) are read, other keys passed over.
    void LoadFromText(TTextReader& In) override;
    void UpdateFrame() override;
    void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                   const TMVector& Offset) override;
    void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                 const TMVector& Offset) override;

protected:
    // The kernel object's own lines of the block.
    virtual void SaveKernel(TTextWriter& Out) const = 0;
    virtual void LoadKernel(TTextReader& In) = 0;
    // After the handles, in colour: the arc marks its start point once more.
    virtual void DrawExtraHandles(IGraphics& View) {}
    // The display polyline is stale and the frame shows what the drag changed.
    void Dragged();
    // During a drag, every marked handle becomes its copy from the drag's start plus Offset; then
    // Dragged.
    void DragMarkedHandles(const TMVector& Offset);
    IShapeFrame* ShapeFrame() const;
    // Begin change and erase, Body, end change and invalidate the views: an edit in the frame.
    template <class F>
    void ChangeInFrame(F Body) {
        BeginChange();
        Undraw();
        Body();
        EndChange();
        InvalidateViews();
    }
    // A query for the kernel object (kind Kind) or, failing that, for polylines (the display
    // polyline); both stay the entity's.
    template <class T>
    void AnswerQuery(TGeometryQuery& Query, int Kind, T* Kernel) {
        const bool AsKernel = Query.Asks(Kind);
        if (!AsKernel && !Query.Asks(qkPolyline)) return;
        if (Query.CountOnly)
            Query.CountItem();
        else if (AsKernel)
            Query.AddReference(Kernel, GetName());
        else
            Query.AddReference(&DisplayPolyline(), GetName());
    }

    std::unique_ptr<TPolyline> DragCopy;

    // In edit mode a handle at every defining point, coloured by its mark when InColour.
    void DrawHandles(IGraphics& View, bool InColour);

private:

    std::unique_ptr<TShapeRepresentation> Shape;
};

// Every selected entity of class T replaced by a polyline entity, in one update bracket of List, then
// the views invalidated.
template <class T>
void ConvertSelectedToPolylines(TGeometryList& List) {
    ForEachSelected<T>(List, [](T& Entity) { Entity.ConvertToPolyline(); });
    List.InvalidateViews();
}

}  // namespace sarnova
