// The 3-D view's camera: eye, target, up, projection mode, field of view and view size, turned into
// projection and model-view matrices; conversions between world points and window pixels, pick rays,
// constrained picking, fitting to a box, zooming, and the stack of saved camera states.
// The camera does the projection arithmetic itself (the matrices and the project/unproject rules of
// the GL utility library), so it needs no OpenGL context and runs in tests without a window; the
// OpenGL view loads the matrices it computes. No Qt and no GL here.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/ViewContract.h"
#include "foundation/GeomBox.h"
#include "foundation/Types.h"

namespace sarnova {

// The cross-section of the view volume at a distance in front of the eye.
struct TCameraFrustum {
    TMVector TopLeft;
    TMVector TopRight;
    TMVector BottomLeft;
    TMVector BottomRight;
    TMVector Centre;
    double Width = 0;
    double Height = 0;
};

// One saved camera state. Near, Far, Aspect and the projected extents are recomputed at every Apply
// and are not kept.
struct TCameraInfo {
    TCameraMode Mode = cmPerspective;
    TMVector Eye;
    TMVector Target;
    TMVector Up;
    double FieldOfView = 0;
    double ViewSize = 0;
    bool operator==(const TCameraInfo&) const = default;
};

// The view's saved camera states, newest on top; no depth limit.
class TCameraInfoStack {
public:
    void Push(std::unique_ptr<TCameraInfo> Info) { Items.push_back(std::move(Info)); }
    // The newest state, or nullptr when the stack is empty.
    std::unique_ptr<TCameraInfo> Pop();
    void Clear() { Items.clear(); }
    int Count() const { return static_cast<int>(Items.size()); }
    bool Empty() const { return Items.empty(); }

private:
    std::vector<std::unique_ptr<TCameraInfo>> Items;
};

// What a view collects while measuring the vertices that fall inside a pixel rectangle.
struct TWindowMeasure {
    TMBox Extents = EmptyBox;
    int Count = 0;
    TMVector Sum;
    TMVector Mean;
    TRect Rect;  // pixels, left and top inclusive, right and bottom exclusive
};

// The viewport rectangle in OpenGL window coordinates (y upwards).
struct TViewport {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

// What the camera needs of the view it belongs to.
class ICameraView {
public:
    virtual ~ICameraView() = default;
    virtual int GetClientWidth() const = 0;
    virtual int GetClientHeight() const = 0;
    // The model extents, or the box from (-10, -10, -10) to (10, 10, 10) when they are empty.
    virtual TMBox GetExtents() const = 0;
    // True during the view's extents-only drawing pass.
    virtual bool IsMeasuring() const = 0;
    // Re-measures the model and collects the drawn vertices whose pixels fall inside Rect.
    virtual TWindowMeasure MeasureWindow(const TRect& Rect) = 0;
    // The centre of the model extents found by the last measuring pass: the pivot of world rotation.
    virtual TMVector GetModelCentre() const { return BoxCentre(GetExtents()); }
    // Draws the view once with the camera as it is now (the fly steps render themselves).
    virtual void Render() {}
    // Milliseconds of a steady clock.
    virtual std::uint32_t Milliseconds();
    // A repeating timer, owned by the view, that calls Tick every Interval milliseconds until it is
    // stopped; starting it again replaces the previous one.
    virtual void StartTimer(std::uint32_t Interval, std::function<void()> Tick) {}
    virtual void StopTimer() {}
    // Asks for a repaint some time later.
    virtual void Invalidate() {}
};

class TCamera : public ICamera {
public:
    // Perspective, eye (0, 0, 1), target at the origin, up (0, 1, 0), field of view 35, aspect 1.2,
    // view size 20; Near and Far stay 0 until the first Apply.
    explicit TCamera(ICameraView& View);
    ICameraView& GetView() const { return View; }

    // ---- State ----
    TCameraMode GetMode() const { return Mode; }
    // A change of mode keeps the window that perspective shows at the far distance:
    // ViewSize := 2 Far tan(FieldOfView / 2) once Far is known.
    void SetMode(TCameraMode Value);
    double GetFieldOfView() const { return FieldOfView; }
    // Degrees, clamped to 0..90; a NaN becomes 0.
    void SetFieldOfView(double Degrees);
    const TMVector& GetEye() const { return Eye; }
    void SetEye(const TMVector& V) { Eye = V; }
    const TMVector& GetTarget() const { return Target; }
    void SetTarget(const TMVector& V) { Target = V; }
    // The up direction handed to the look-at transform; it need not be square to the view direction.
    const TMVector& GetUp() const { return Up; }
    void SetUp(const TMVector& V) { Up = V; }
    // Height of the visible window in world units; drives the parallel projection.
    double GetViewSize() const { return ViewSize; }
    void SetViewSize(double Value) { ViewSize = Value; }
    double GetNear() const { return Near; }
    double GetFar() const { return Far; }
    double GetAspect() const { return Aspect; }

    std::unique_ptr<TCameraInfo> SaveState() const;
    void Restore(const TCameraInfo& Info);

    // Eye := Target - ViewDirection x D.
    void SetDistance(double D);
    // Turns the camera about its eye: Target := Eye + normalise(V) x Distance.
    void SetViewDirection(const TMVector& V);

    // ---- Derived quantities ----
    double Distance() const;
    // Unit vector from eye to target; zero when they coincide.
    TMVector ViewDirection() const;
    TMPlane ViewPlane() const override;
    TMPlane TargetPlane() const;
    TPlaneDirection ViewDirectionCode() const override;
    TMPlane NearestAxisPlane() const override;
    TEditPlaneKind NearestAxisPlaneCode() const override;
    TEditPlaneSet FacingAxisPlanes() const override;

    const TViewport& GetViewport() const { return Viewport; }
    // The view tells the camera whenever it sets the OpenGL viewport.
    void SetViewport(const TViewport& Value) { Viewport = Value; }
    int ViewportWidth() const { return Viewport.Width - Viewport.X; }
    int ViewportHeight() const { return Viewport.Height - Viewport.Y; }

    // In perspective ViewSize is first recomputed from Far and the field of view.
    double ViewHeight();
    double ViewWidth();
    double ViewLeft();
    double ViewRight();
    double ViewTop() const { return ViewSize / 2; }
    double ViewBottom() const { return -ViewSize / 2; }
    double HalfHeightAt(double D) const;
    double HalfWidthAt(double D) const;
    TCameraFrustum FrustumSection(double D) const;
    // From the target to the middle of the right, and of the top, edge of FrustumSection(Distance).
    TMVector RightVector() const override;
    TMVector UpVector() const override;

    // The model extents as seen by the last Apply, in view-plane units (0 is the window centre).
    double ProjectedMinX() const { return MinX; }
    double ProjectedMinY() const { return MinY; }
    double ProjectedMaxX() const { return MaxX; }
    double ProjectedMaxY() const { return MaxY; }
    double ProjectedWidth() const { return MaxX - MinX; }
    double ProjectedHeight() const { return MaxY - MinY; }
    // World units per pixel at P along the screen diagonal; 0 while the view measures its extents.
    double WorldPerPixel(const TMVector& P) override;

    // ---- Applying ----
    // Aspect from the view's client size, Near and Far from the model extents.
    void UpdateClipping();
    // Computes the projection and model-view matrices from the current state.
    void ApplyProjection();
    // UpdateClipping, ApplyProjection and the projected extents of the view's model extents.
    void Apply();
    void CalculateProjectedExtents(const TMBox& Box);
    // Matrices for a picture of Width x Height (printing, copying); ViewSize and Aspect are left as
    // they were, the matrices stay those of that picture until the next ApplyProjection.
    void ApplyForAspect(int Width, int Height);
    // Column vectors, [row][column], as the foundation's matrices.
    const TMMatrix& GetProjectionMatrix() const { return ProjectionMatrix; }
    const TMMatrix& GetModelViewMatrix() const { return ModelViewMatrix; }

    // ---- Conversions ----
    // Pixel coordinates: x to the right, y downwards from the top-left corner of the viewport.
    TPoint WorldToScreen(double X, double Y, double Z);
    TPoint WorldToScreenVector(const TMVector& V);
    TPoint WorldToScreenPoint(const TRPoint& P);
    // The point at depth Depth (0 near plane, 1 far plane) under the pixel. Looking exactly along an
    // axis the point is put on the principal plane through the origin (z, x or y := 0).
    TMVector ScreenToWorld(int X, int Y, double Depth);
    TMVector ScreenToWorldPoint(TPoint Pixel);
    // Through the pixel's near point, unit direction from its far point towards the viewer.
    TMLine ScreenToRay(int X, int Y);
    TMLine ScreenToRayPoint(TPoint Pixel);
    TMVector ScreenToWorldConstrained(const TMVector& Base, TPoint Pixel, TEditPlaneKind Code) override;
    TMVector ScreenToWorldEditConstraint(const TMVector& Base, TPoint Pixel,
                                         const TEditPlane& Constraint) override;

    // ---- Fitting and zooming ----
    void FitToBox(const TMBox& Box);
    // The eye point, along the view direction, from which Box just fills the frustum.
    TMVector CalculateClosestCamera(const TMBox& Box);
    // Rect in pixels.
    void ZoomWindow(const TRect& Rect);
    void ZoomIn();
    void ZoomOut();

    // ---- Drag navigation ----
    // Each begin records the camera and the press pixel; each drag sets the camera from that record
    // and the current pixel, never from the previous move, so moving back undoes a drag.
    // Pixel x is ViewportWidth wide, y ViewportHeight high, y downwards.
    void PanBegin(int X, int Y);
    // Moving by half the window width moves the target by one right vector (the half width at the
    // target), against the mouse, so the scene follows it.
    void PanDrag(int X, int Y);
    void PanEnd() {}
    void ZoomBegin(int X, int Y);
    // Only the vertical motion counts: a fifth of the window height down doubles the distance
    // (perspective) or the view size (parallel), a fifth up halves it, keeping the point first under
    // the mouse under it.
    void ZoomDrag(int X, int Y);
    void ZoomEnd() {}
    void RotateViewBegin(int X, int Y);
    // About the target: a window width turns 180 degrees about the vertical through the target, a
    // window height 180 degrees about the camera's right axis.
    void RotateViewDrag(int X, int Y);
    void RotateViewEnd() {}
    void RotateCameraBegin(int X, int Y);
    // About the eye: a window width or height turns the look by one field of view.
    void RotateCameraDrag(int X, int Y);
    void RotateCameraEnd() {}
    void RotateWorldBegin(int X, int Y);
    // As RotateViewDrag, about the model centre of the last measuring pass; eye and target both move.
    void RotateWorldDrag(int X, int Y);
    void RotateWorldEnd() {}
    void FieldOfViewBegin(int X, int Y);
    // The start field of view times the zoom factor of ZoomDrag, clamped to 0..90 degrees.
    void FieldOfViewDrag(int X, int Y);
    void FieldOfViewEnd() {}
    // Starts the fly timer; the steering keeps its last values until the first FlySteer.
    void FlyBegin(int X, int Y);
    // The mouse's offset from the window centre, in half windows: positive left of and below it.
    void FlySteer(int X, int Y);
    // One timer tick: flies on for the time since the last tick, turning a little towards the mouse,
    // slower the further the mouse is from the centre; Up becomes (0, 0, 1); renders.
    void FlyStep();
    void FlyEnd();
    double GetFlySteerX() const { return FlySteerX; }
    double GetFlySteerY() const { return FlySteerY; }
    // Scroll positions run from 0 to 20000 over the projected model extents.
    void HScrollBegin();
    void HScrollTo(int Position);
    void HScrollEnd() {}
    void VScrollBegin();
    void VScrollTo(int Position);
    void VScrollEnd() {}
    void StartFlyTimer();
    void StopFlyTimer();

    // The frustum's five points carried through M; Width and Height from the carried corners.
    static TCameraFrustum TransformFrustum(const TMMatrix& M, const TCameraFrustum& F);

private:
    // gluProject / gluUnProject with the camera's matrices and viewport; false where they fail.
    bool Project(const TMVector& P, TMVector& Window) const;
    bool UnProject(double WinX, double WinY, double WinZ, TMVector& P) const;
    TMVector Unprojected(int X, int Y, double Depth);
    void Zoom(double Factor);

    ICameraView& View;
    TCameraMode Mode = cmPerspective;
    TMVector Eye{0, 0, 1};
    TMVector Target{0, 0, 0};
    TMVector Up{0, 1, 0};
    double Near = 0;
    double Far = 0;
    double FieldOfView = 35;
    double Aspect = 1.2;
    double ViewSize = 20;
    double MinX = 0;
    double MinY = 0;
    double MaxX = 0;
    double MaxY = 0;
    TViewport Viewport;
    TMMatrix ProjectionMatrix = IdentityMatrix;
    TMMatrix ModelViewMatrix = IdentityMatrix;

    // Drag state, recorded by the begins.
    void RecordRightAndUp();
    // The unit right and up vectors and the start eye, target and up of a scroll.
    void ScrollBegin();
    double StartDistance = 0;
    double StartFieldOfView = 0;
    int StartX = 0;
    int StartY = 0;
    std::uint32_t FlyClock = 0;
    TMVector StartTarget;
    TMVector RightVec;
    TMVector UpVec;
    TMVector StartViewDirection;
    TMVector StartPick;
    TMVector StartEye;
    TMVector StartUp;
    double FlySteerX = 0;
    double FlySteerY = 0;
    TMVector Pivot;
    double ScrollViewWidth = 0;
    double ScrollExtentWidth = 0;
    double ScrollExtentStart = 0;
    double ScrollViewHeight = 0;
    double ScrollExtentHeight = 0;
    double ScrollExtentEnd = 0;
    TCameraFrustum StartFrustum;
};

// The projection matrices of the GL utility library, in the foundation's layout. A degenerate request
// (zero depth range, zero field of view or aspect, empty window) gives the identity, as the library
// leaves the matrix unchanged then.
TMMatrix PerspectiveMatrix(double FieldOfView, double Aspect, double Near, double Far);
TMMatrix OrthoMatrix(double Left, double Right, double Bottom, double Top, double Near, double Far);
TMMatrix LookAtMatrix(const TMVector& Eye, const TMVector& Target, const TMVector& Up);

}  // namespace sarnova
