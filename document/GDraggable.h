// The base of every entity whose points are edited by dragging handles in a 3-D view: picking handles,
// dragging them on an edit plane or along an axis chosen from the camera (Tab cycles, Ctrl locks to the
// nearest axis), grid and object snapping, nudging with the arrow keys, the insert-point (A) and
// insert-knot (S) pick modes, and the cursor, markers and hint that tell the user what happens. Each
// drag and each nudge is one change bracket, so an undoable entity leaves one undo snapshot.
// Subclasses move their own points in BeginDrag, Drag and EndDrag.
//
// The edit-plane types TEditPlane, TEditPlaneKind and TEditPlaneSet live with the view interface
// (foundation/ViewContract.h), which the camera and the view's markers take them through.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "document/Geometry.h"
#include "document/GeometryReference.h"
#include "foundation/ViewContract.h"

namespace sarnova {

class TGeometrySnapInfo;

// The program's own cursors used while editing and creating (numbers of the screen cursor table).
inline constexpr TCursor crInsertPoint = 23;
inline constexpr TCursor crEditXY = 27;
inline constexpr TCursor crEditZX = 28;
inline constexpr TCursor crEditYZ = 29;
inline constexpr TCursor crCreateXY = 30;
inline constexpr TCursor crCreateXZ = 31;
inline constexpr TCursor crCreateYZ = 32;
inline constexpr TCursor crEditAlongX = 33;
inline constexpr TCursor crEditAlongY = 34;
inline constexpr TCursor crEditAlongZ = 35;
inline constexpr TCursor crEditAlongVector = 36;
inline constexpr TCursor crEditInPlane = 37;

// Whether Kind is a member of Set (kinds above 15 never are).
inline bool EditPlaneAllowed(unsigned Kind, TEditPlaneSet Set) { return Kind <= 15 && ((Set >> Kind) & 1u) != 0; }

// The view's snap-marker kind for a snap kind: 7 for polygon-list vertices (2), 6 for points on curves
// and edges (3, 4, 5), 4 for the rest.
std::uint8_t SnapMarkerKindOf(std::uint8_t SnapKind);

// What an object snap found: the point, the entity offering it and the marker kind to show.
struct TObjectSnap {
    TMVector Point;
    TGeometry* Target = nullptr;
    std::uint8_t MarkerKind = 4;
};

class TGeoDraggable : public TGeometry {
public:
    // Adds point editing, keys, 3-D editing and both snappings to the capabilities.
    TGeoDraggable();
    ~TGeoDraggable() override;

    // ---- Editor slots ----
    // Remembers the view and shows the resting hint.
    void Attach(IOpenGLView& View) override;
    // Leaves editing and any drag, key edit or pick mode, and forgets the view; always lets go.
    bool Detach(IOpenGLView& View) override;
    void UpdateCursor() override;
    // Selects every visible point within 5 pixels (Action saMouseDrag), else asks for a rubber band;
    // without Ctrl the points missed are deselected.
    void SelectPoint(IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action) override;
    void SelectRect(IGraphics& View, const TRect& Rect, TShiftState Shift) override;
    // The left button starts a drag, or inserts in a pick mode.
    void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(IGraphics& View, TShiftState Shift, int X, int Y) override;
    void HideFeedback() override;
    void ShowFeedback() override;
    // The dragged or nudged point while a drag or key edit runs.
    void GetCursorLocation(IGraphics& View, TPoint Pixel, TMVector& Location) override;
    void KeyDown(TKeyCode& Key, TShiftState Shift) override;
    void KeyUp(TKeyCode& Key, TShiftState Shift) override;
    // Logs the character to the console.
    void KeyPress(char32_t& Key) override;

    // Entering and leaving edit mode clear every point's selection.
    void BeginEdit() override;
    void EndEdit() override;

    // ---- Operations for subclasses ----
    // May narrow or replace the planes the camera allows.
    virtual void RestrictEditPlanes(TEditPlaneSet& Allowed);
    // May change the chosen plane's kind, direction or plane.
    virtual void AdjustEditPlane(TEditPlane& Plane, TEditPlaneSet Allowed);
    // Offers the request to the owner list; nothing without one.
    virtual void CollectSnapPoints(TGeometrySnapInfo& Request);
    // Switches object snapping off until the next drag starts.
    virtual void CancelSnap();
    // Grid and object snapping of Point (and its ScreenPoint); the nearer candidate on screen wins, the
    // object on a tie.
    virtual void SnapPoint(IGraphics& View, TPoint& ScreenPoint, TMVector& Point);
    // Point is the handle's new position, ScreenPoint its pixel, Offset the move from the base point
    // (zero in BeginDrag). Subclasses move their selected points by Offset and commit in EndDrag.
    virtual void BeginDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                           const TMVector& Offset);
    virtual void Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                      const TMVector& Offset);
    virtual void EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                         const TMVector& Offset);
    virtual void InsertPointClick(TPoint ScreenPoint, TShiftState Shift, IGraphics& View);
    virtual void DrawInsertPointPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View);
    virtual void EraseInsertPointPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View);
    virtual void InsertKnotClick(TPoint ScreenPoint, TShiftState Shift, IGraphics& View);
    virtual void DrawInsertKnotPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View);
    virtual void EraseInsertKnotPreview(TPoint ScreenPoint, TShiftState Shift, IGraphics& View);
    virtual void DeselectAllPoints();

    // ---- Conditions and state ----
    // The owner list has po3DEditing and the entity cpEdit3D.
    bool Editing3D() const;
    // 3-D editing, poGridSnap and cpGridSnap: grid snapping needs 3-D editing.
    bool GridSnapping() const;
    // poObjectSnap and cpObjectSnap, unless Esc cancelled it during this drag.
    bool ObjectSnapping() const;

    IOpenGLView* GetView() const { return EditState().View; }
    TEditPlaneSet GetAllowedEditPlanes() const { return EditState().AllowedEditPlanes; }
    const TEditPlane& GetChosenEditPlane() const { return EditState().ChosenEditPlane; }
    const TEditPlane& GetEffectiveEditPlane() const { return EditState().EffectiveEditPlane; }
    const TMVector& GetBasePoint() const { return EditState().BasePoint; }
    const TMVector& GetCurrentPoint() const { return EditState().CurrentPoint; }
    TPoint GetCurrentScreenPoint() const { return EditState().CurrentScreenPoint; }
    int GetGrabbedIndex() const { return EditState().GrabbedIndex; }
    bool GetSnapped() const { return EditState().Snapped; }
    TGeometry* GetSnapTarget() {
        auto* Made = static_cast<TEditState*>(FindPart(TPartSlot::Edit));
        return Made ? Made->SnapTarget.GetGeometry() : nullptr;
    }
    std::string GetHintText() const { return HintText(); }

    // The camera's planes, narrowed by the entity; the chosen kind kept when allowed, else the plane
    // most facing the viewer, else the next allowed one.
    void ChooseEditPlane();
    // The chosen plane; the effective one follows unless both kinds are allowed.
    void SetEditPlane(const TEditPlane& Plane);
    // Tab: the next allowed kind, wrapping around.
    void NextEditPlane();
    // The cursor of the chosen plane; 0 while Ctrl overrides it, or for a parallel view exactly along
    // an axis.
    TCursor EditPlaneCursor();
    // The selected point nearest to Pixel on screen (the first on a tie); -1 when none is selected or
    // the entity is not being edited.
    int NearestSelectedPoint(IGraphics& View, TPoint Pixel);
    void UpdateHint();

protected:
    // The status-line hint while the entity is attached to a view: a fixed text per class.
    virtual const char* HintText() const;
    // A subclass's points as they were when a drag began; nullptr outside a drag.
    std::unique_ptr<TPolyline>& DragSnapshot() { return Edit().DragSnapshot; }

private:
    // Only epView: how points move when 3-D editing is off.
    void UseViewPlane();
    void StartDrag(IGraphics& View, TPoint Mouse);
    // The mouse position turned into CurrentPoint: constrained, axis-locked with Ctrl, snapped.
    void TrackDrag(IGraphics& View, TPoint Mouse, TShiftState Shift);
    void LockToNearestAxis(IGraphics& View, TPoint Pixel);
    bool SnapToObjects(IGraphics& View, TPoint ScreenPoint, TMVector& Point);
    void ShowEditMarker(const TMVector& Point);
    void HideMarkers();
    // Redraws the entity last snapped to, so its highlight goes.
    void RedrawSnapTarget(IGraphics& View);
    void MoveAtLastMouse(TShiftState Shift);
    void StartEditKey(TKeyCode Key, TShiftState Shift);
    void SetupKeyAxes();
    void ContinueEditKey(TKeyCode Key, TShiftState Shift);
    void EndEditKey(TShiftState Shift);
    TMVector KeyEditPosition() const;
    void EnterPickMode(TKeyCode Key, TShiftState Shift);
    void LeavePickMode(TKeyCode Key, TShiftState Shift);
    void PickClick(IGraphics& View, TShiftState Shift, TPoint Click);

    // What drags, nudges and the pick modes work with, made when first changed and kept with the
    // entity's rare parts: most entities of a large document are never edited.
    struct TEditState : TSubclassPart {
        int KeyStepsX = 0;
        int KeyStepsY = 0;
        TMVector KeyAxisX;
        TMVector KeyAxisY;
        bool InsertPointPreviewShown = false;
        bool InsertKnotPreviewShown = false;
        bool Snapped = false;
        TEditPlaneSet AllowedEditPlanes = 0;
        TEditPlane ChosenEditPlane;
        TEditPlane EffectiveEditPlane;
        TPoint ClickPoint;
        TPoint GrabOffset;
        TPoint HandlePoint;
        TMVector BasePoint;
        int GrabbedIndex = -1;
        TPoint CurrentScreenPoint;
        TPoint LastMouse;
        TMVector CurrentPoint;
        // Forgets the entity when it is freed, so a target deleted between two mouse events is never touched.
        TGeometryReference SnapTarget{nullptr};
        bool SnapCancelled = false;
        std::uint8_t SnapMarkerKind = 4;
        // The view the entity is attached to while it is edited.
        IOpenGLView* View = nullptr;
        // A subclass's points as they were when a drag began.
        std::unique_ptr<TPolyline> DragSnapshot;
    };
    // The state, made when missing.
    TEditState& Edit();
    // The state as it stands, or a fresh one's values when none was made yet.
    const TEditState& EditState() const;

};

// Runs one object-snap request for Asker at Pixel: Collect offers it to the entities. True, with the
// candidate in Result, when one was found within the tolerance.
bool FindObjectSnap(IGraphics& View, TPoint Pixel, TGeometryObject& Asker, const TMVector& Position,
                    const std::function<void(TGeometrySnapInfo&)>& Collect, TObjectSnap& Result);

}  // namespace sarnova
