// Interactive creators: the tools that build a new entity from mouse clicks in a 3-D view. A creator
// is the view's editor while the user clicks: it turns the mouse into snapped points on the drawing
// plane (the axis plane most facing the viewer, through the last fixed point), shows a rubber-band
// shape, and on finishing adds the new entity to its document list and either starts over or ends.
//
// Lifetime: a creator started with RunCreator is owned by the program until it ends. It ends inside
// one of its own input handlers (a right click or Esc with nothing entered); it is then detached from
// the view at once and freed only after that input call has returned, and touches nothing of its own
// after ending. Code that overrides a handler checks HasEnded() after calling Finish.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "document/GDraggable.h"
#include "document/Geometry.h"
#include "foundation/ViewContract.h"

namespace sarnova {

class TGeometryList;
class TGeometrySnapInfo;
class TPolyline;

class TGeoDraggableCreator : public TGeometryObject {
public:
    // Both snappings allowed, nothing entered.
    explicit TGeoDraggableCreator(TGeometryList& List);
    // Hides the snap marker of a view that still holds the creator.
    ~TGeoDraggableCreator() override;
    TGeoDraggableCreator(const TGeoDraggableCreator&) = delete;
    TGeoDraggableCreator& operator=(const TGeoDraggableCreator&) = delete;

    // ---- Editor slots ----
    // Puts the view in imUser and shows the hint.
    void Attach(IOpenGLView& View) override;
    // Hides the snap marker and forgets the view.
    bool Detach(IOpenGLView& View) override;
    // Every mouse move with enter and leave, and keys.
    std::uint8_t GetEditorFlags() override;
    // The cross looking exactly along an axis; else the cursor of the drawing plane.
    void UpdateCursor() override;
    // Never: a right click with nothing entered ends the creator here instead.
    bool AllowPopupMenu() override;
    void MouseMove(IGraphics& View, TShiftState Shift, int X, int Y) override;
    void HideFeedback() override;
    void ShowFeedback() override;
    // The current snapped point.
    void GetCursorLocation(IGraphics& View, TPoint Pixel, TMVector& Location) override;
    // Esc finishes.
    void KeyPress(char32_t& Key) override;

    // ---- Operations for subclasses ----
    // The point the drawing plane passes through.
    virtual void GetReferencePoint(TMVector& Point) = 0;
    // Makes the entity from what was entered and adds it to the document list.
    virtual void CreateGeometry() = 0;
    virtual void Reset();
    virtual void DrawShape() = 0;
    virtual void EraseShape() = 0;
    virtual void HideShape();
    // Draws the shape, and the snap marker at the current point while it is an object snap.
    virtual void ShowShape();
    // Offers the request to the document list.
    virtual void CollectSnapPoints(TGeometrySnapInfo& Request);
    // The point under the pixel on the drawing plane, snapped to the grid (all three coordinates) or
    // to objects, the nearer on screen winning and the object on a tie; it becomes the current point.
    virtual void ScreenToWorld(int X, int Y, TMVector& Point);
    // The axis plane most facing the viewer, through the reference point.
    virtual void GetDrawingPlane(TMPlane& Plane);
    // The drawing plane as a plane code: 0 XY, 1 YZ, 2 XZ, 6 none.
    virtual TPlaneDirection GetPrincipalPlane();
    // 1 clears the input and stays attached for the next entity; 2 detaches from the view and ends;
    // 0 means 1 once something was entered, else 2.
    virtual void Finish(std::uint8_t Code);

    // ---- State ----
    bool GridSnapping() const;
    bool ObjectSnapping() const;
    bool SnapToObjects(IGraphics& View, TPoint Pixel, TMVector& Point);
    void UpdateHint();

    bool HasEnded() const { return Ended; }
    std::uint8_t GetPhase() const { return Phase; }
    std::uint16_t GetCapabilities() const { return Capabilities; }
    void SetCapabilities(std::uint16_t Value) { Capabilities = Value; }
    bool GetSnapped() const { return Snapped; }
    TGeometry* GetSnapTarget() { return SnapTarget.GetGeometry(); }
    const TMVector& GetCurrentPoint() const { return CurrentPoint; }
    IOpenGLView* GetView() const { return View; }
    TGeometryList& GetDocumentList() const { return *List; }

protected:
    // 0 nothing entered; the rectangle creator sets 1 with its first corner, the line creator 2 once
    // it holds points.
    std::uint8_t Phase = 0;
    std::uint16_t Capabilities = cpGridSnap | cpObjectSnap;
    bool Snapped = false;
    std::uint8_t SnapMarkerKind = 4;
    TMVector CurrentPoint;
    // Forgets the entity when it is freed.
    TGeometryReference SnapTarget{nullptr};
    IOpenGLView* View = nullptr;
    TGeometryList* List;

private:
    friend class TCreatorHost;
    bool Ended = false;
};

// Collects a sequence of points: each left click fixes one, the last point follows the mouse, and a
// right click makes the entity from at least two clicked points.
class TGeoDraggableLineCreator : public TGeoDraggableCreator {
public:
    // Points is the collector, a polyline or a curve derived from one, made by the concrete creator.
    TGeoDraggableLineCreator(TGeometryList& List, std::unique_ptr<TPolyline> APoints);
    ~TGeoDraggableLineCreator() override;

    void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(IGraphics& View, TShiftState Shift, int X, int Y) override;
    // The last fixed point once two points are held, else the origin.
    void GetReferencePoint(TMVector& Point) override;
    void Reset() override;
    void DrawShape() override;
    void EraseShape() override;

    TPolyline& GetPoints() const { return *Points; }

protected:
    std::unique_ptr<TPolyline> Points;

private:
    void DrawPoints(TColor Color);
};

// Spans a rectangle in the axis plane through the origin most facing the viewer: the first click
// fixes a corner, the second makes the entity when the rectangle has size.
class TGeoDraggableRectCreator : public TGeoDraggableCreator {
public:
    using TGeoDraggableCreator::TGeoDraggableCreator;

    void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(IGraphics& View, TShiftState Shift, int X, int Y) override;
    // The first corner while it is held, else the origin.
    void GetReferencePoint(TMVector& Point) override;
    void DrawShape() override;
    void EraseShape() override;

    // The corners and extents from the two picked corners, projected onto the axis plane.
    void ComputeRectangle();

    const std::array<TMVector, 4>& GetCorners() const { return Corners; }
    const TMRect2D& GetExtents() const { return Extents; }

protected:
    std::array<TMVector, 4> Corners{};
    TMRect2D Extents;
    TMVector FirstCorner;
    TMVector SecondCorner;

private:
    void DrawCorners(TColor Color);
};

// Hands Creator to View as its editor and keeps it until it ends, or until the view lets it go; it is
// freed after the input call in which that happened has returned. Returns the creator.
TGeoDraggableCreator& RunCreator(std::unique_ptr<TGeoDraggableCreator> Creator, IOpenGLView& View);
// How many creators RunCreator is keeping.
int RunningCreatorCount();

}  // namespace sarnova
