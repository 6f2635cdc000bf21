// The 3-D view as the document model sees it: camera conversions and constrained picking, the edit
// planes the camera offers, grid snapping, overlay drawing, the snap and edit markers, the editor
// hand-off, the interaction mode and the cursor. The OpenGL view implements these interfaces; the model
// never sees OpenGL, and tests drive the model through a view of their own with a predictable camera.
#pragma once
#include <cstdint>
#include <string>

#include "foundation/Graphics.h"

namespace sarnova {

enum TCameraMode : std::uint8_t { cmParallel, cmPerspective };

// How a mouse position becomes a 3-D point relative to a base point (the edit constraint).
enum TEditPlaneKind : std::uint8_t {
    epView,         // plane through the base point facing the viewer
    epXY,           // plane normal to Z
    epYZ,           // plane normal to X
    epZX,           // plane normal to Y
    epAlongX,       // line along X
    epAlongY,       // line along Y
    epAlongZ,       // line along Z
    epInPlane,      // plane with the constraint's own normal
    epAlongVector,  // line along the constraint's own direction
};

// A set of edit-plane kinds 0 to 15: bit n stands for kind n.
using TEditPlaneSet = std::uint16_t;

// The edit constraint of interactive point editing.
struct TEditPlane {
    TEditPlaneKind Kind = epView;
    TMVector Direction;  // used by epAlongVector
    TMPlane Plane;       // its normal is used by epInPlane
};

// The view's camera.
class ICamera {
public:
    virtual ~ICamera() = default;

    // 0 looking exactly along Z, 1 along X, 2 along Y, 6 in any other direction.
    virtual TPlaneDirection ViewDirectionCode() const = 0;
    // The axis planes that face the viewer well enough to drag in.
    virtual TEditPlaneSet FacingAxisPlanes() const = 0;
    // The axis plane most facing the viewer (epXY, epYZ or epZX).
    virtual TEditPlaneKind NearestAxisPlaneCode() const = 0;
    // The point under Pixel relative to Base: kinds epView to epAlongZ; later kinds constrain nothing.
    virtual TMVector ScreenToWorldConstrained(const TMVector& Base, TPoint Pixel, TEditPlaneKind Code) = 0;
    // As ScreenToWorldConstrained, also for the constraint's own plane and direction.
    virtual TMVector ScreenToWorldEditConstraint(const TMVector& Base, TPoint Pixel,
                                                 const TEditPlane& Constraint) = 0;
    // From the camera target to the middle of the right and of the top edge of the view at the
    // target; not normalised.
    virtual TMVector RightVector() const = 0;
    virtual TMVector UpVector() const = 0;
    // The plane through the origin whose normal is the axis nearest the viewing direction.
    virtual TMPlane NearestAxisPlane() const = 0;
    // The plane through the eye whose normal is the viewing direction.
    virtual TMPlane ViewPlane() const = 0;
    // The world length of one pixel at P.
    virtual double WorldPerPixel(const TMVector& P) = 0;
};

// The view's construction grid.
class IViewGrid {
public:
    virtual ~IViewGrid() = default;

    // The snapping step.
    virtual double GetGridSize() const = 0;
    // Whether the grid is drawn.
    virtual bool GetEnabled() const = 0;
    // Every coordinate moved to the nearest multiple of the grid size, exact halves towards zero.
    virtual TMVector SnapPoint(const TMVector& P) const = 0;
    // The same for the coordinates the kind leaves free; other kinds leave P unchanged.
    virtual TMVector SnapPointConstrained(const TMVector& P, TEditPlaneKind Code) const = 0;
};

// The document window's 3-D view. As a drawing target it refuses calls that break a line strip.
class IOpenGLView : public IGraphics {
public:
    // Entities and creators edit only in imUser.
    virtual TInteractionMode GetInteractionMode() const = 0;
    // Throws for imRotate; ignored while the user drags.
    virtual void SetInteractionMode(TInteractionMode Mode) = 0;
    virtual TCursor GetCursor() const = 0;
    // The new cursor shows at once.
    virtual void SetCursor(TCursor Cursor) = 0;
    // The cursor of the interaction mode; in imUser the editor's UpdateCursor is asked too.
    virtual void UpdateCursor() = 0;
    // Where the mouse pointer is now, in the view's client pixels (it may lie outside the view): keys
    // that act at the pointer have no mouse event to take it from.
    virtual TPoint GetMousePosition() const = 0;

    virtual ICamera& GetCamera() = 0;
    virtual IViewGrid& GetGrid() = 0;
    virtual TCameraMode GetProjection() const = 0;

    // Makes the view's rendering context current, so entities may build display objects while loading.
    virtual void MakeCurrent() = 0;
    // Renders the whole view once; ignored during a render.
    virtual void Render() = 0;
    // Saves the camera and fits it to the model; ignored while the user drags.
    virtual void ZoomAll() = 0;

    // Hands the mouse and keys to Editor (none when null): the previous editor is detached, the new one
    // attached, and the cursor updated.
    virtual void SetEditorInterface(IEditorInterface* Editor) = 0;

    // Drawing outside a render pass. Begin does nothing while a render or an overlay is under way; End
    // presents the frame when anything was drawn.
    virtual void BeginOverlayDraw() = 0;
    virtual void EndOverlayDraw() = 0;
    virtual bool IsOverlayDrawing() const = 0;
    // Presents the frame when anything was drawn since the overlay began.
    virtual void PresentIfDrawn() = 0;
    // Draws the grid when it is enabled, keeping the line colour.
    virtual void DrawGrid() = 0;
    // Shows a hint line to the view's owner.
    virtual void DoHintInformation(const std::string& Text) = 0;

    // The snap marker at P, of one of the view's marker kinds.
    virtual void ShowSnapMarker(const TMVector& P, std::uint8_t Kind) = 0;
    virtual void HideSnapMarker() = 0;
    // The edit-constraint marker at P, showing the constraint's kind (and its plane or direction).
    virtual void ShowEditMarker(const TMVector& P, const TEditPlane& Constraint) = 0;
    virtual void HideEditMarker() = 0;
};

}  // namespace sarnova
