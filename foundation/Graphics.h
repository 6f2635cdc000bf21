// The contracts between what is drawn and what draws: the drawing target IGraphics through which every
// entity and kernel object draws itself in world coordinates, objects that render themselves with
// OpenGL (IRenderable), and the editor channel through which a 3-D view hands its mouse and keys to
// the entity or creation tool being edited (IEditorInterface). Nothing here draws.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "foundation/Colors.h"
#include "foundation/VkMaths.h"
#include "foundation/Keys.h"
#include "foundation/Types.h"

namespace sarnova {

class TRPoint;
class TRPoints;
class TPolygon;
class IRenderable;
class IOpenGLView;

// What a point pick asks the view to do next.
enum TSelectAction : std::uint8_t { saDoNothing, saDragRectangle, saMouseDrag };

// Projection of the GDI view.
enum class TProjection : std::uint8_t { Orthographic, Perspective };

// What the mouse does in a view. In imNone and imUser the view gives the mouse to its editor; the view
// handles every other mode itself.
enum TInteractionMode : std::uint8_t {
    imNone,
    imPan,
    imZoom,
    imRotate,
    imRotateWorld,
    imRotateView,
    imRotateCamera,
    imFieldOfView,
    imFly,
    imUser,
    imZoomWindow,
    imDragBox,
    imEdit,
};

// The identity of a drawing that a target may keep (IGraphics::KeptLines): a number no other key
// ever had, and a new one at every Renew, so that what a target kept under an old number is never
// asked for again. A copy stands for a drawing of its own and gets a number of its own.
class TDrawingKey {
public:
    TDrawingKey() : Value(NextValue()) {}
    TDrawingKey(const TDrawingKey&) : Value(NextValue()) {}
    TDrawingKey& operator=(const TDrawingKey&) {
        Renew();
        return *this;
    }
    // After every change of the drawing.
    void Renew() { Value = NextValue(); }
    std::uint64_t GetValue() const { return Value; }

private:
    static std::uint64_t NextValue();
    std::uint64_t Value;
};

// A drawing target. World coordinates are model units, screen positions integer pixels of the target.
// A line strip is LineStart, any number of LineNext, then LineFinish, with nothing else drawn in
// between (the 3-D view refuses that; canvas targets do not check). Drawing changes nothing in the
// drawn objects, and callers do not keep the target after their draw call returns.
class IGraphics {
public:
    virtual ~IGraphics() = default;

    virtual TColor GetLineColor() = 0;
    virtual TColor GetFillColor() = 0;
    virtual TColor GetBackColor() = 0;
    virtual void SetLineColor(TColor C) = 0;
    virtual void SetFillColor(TColor C) = 0;
    virtual void SetBackColor(TColor C) = 0;
    // Width in pixels of the lines drawn from now on; 1 is the normal width, a highlight asks for 3.
    virtual void SetLineWidth(double Width) = 0;

    virtual void Line(double X1, double Y1, double Z1, double X2, double Y2, double Z2) = 0;
    // Line(X1, Y1, 0, X2, Y2, 0).
    virtual void Line2D(double X1, double Y1, double X2, double Y2) = 0;
    // The point and vector forms pass their coordinates to Line, LineStart and LineNext unless a
    // target needs them apart.
    virtual void LinePoints(const TRPoint& P1, const TRPoint& P2);
    virtual void LineVectors(const TMVector& P1, const TMVector& P2);
    virtual void LineStart(double X, double Y, double Z) = 0;
    virtual void LineStartPoint(const TRPoint& P);
    virtual void LineStartVector(const TMVector& V);
    virtual void LineNext(double X, double Y, double Z) = 0;
    virtual void LineNextPoint(const TRPoint& P);
    virtual void LineNextVector(const TMVector& V);
    virtual void LineFinish() = 0;
    // The list as a polyline, or as a filled polygon when its Filled flag is set; in the list's own
    // colours when its OwnColors flag is set. Which colours are current afterwards is the target's rule.
    virtual void Polyline(const TRPoints& Points) = 0;
    // A facet filled with its Color and outlined with its EdgeColor.
    virtual void Polygon(const TPolygon& F) = 0;
    // Lets the object render itself; targets without OpenGL ignore it.
    virtual void RenderObject(IRenderable& Obj) = 0;
    // Whether the target keeps the lines handed to KeptLines and draws them again without asking for
    // them (an OpenGL view while it draws, not while it only measures). A caller that would draw
    // other lines for such a target (every shared edge once, say) asks first. False in the base.
    virtual bool KeepsLines();
    // Lines drawn unchanged frame after frame, such as a wireframe while the view turns. A target
    // that keeps lines asks Draw for them once while Key keeps its number and draws what it kept at
    // every later call; any other target, and one that only measures, gets them from Draw every
    // time. Draw draws lines only (Line, the line strips, Polyline without own colours) through the
    // target it is given, and sets no colour: the lines take the colour current at each call.
    virtual void KeptLines(const TDrawingKey& Key, const std::function<void(IGraphics&)>& Draw);
    // An edit-handle marker; Kind is one of the view's marker shapes.
    virtual void EditHandle(int Kind, double X, double Y, double Z) = 0;
    virtual void EditHandlePoint(const TRPoint& P, int Kind) = 0;
    virtual void VectorPoints(const TRPoint& Base, const TRPoint& Direction, double Size, bool Absolute) = 0;
    // An arrow from Base along Direction, Size long when Absolute, else Size times |Direction|.
    virtual void Vector(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute) = 0;
    virtual void TextOut(const std::string& Text, double X, double Y, double Z) = 0;
    // Text extents in target pixels.
    virtual double TextWidth(const std::string& Text) = 0;
    virtual double TextHeight(const std::string& Text) = 0;

    virtual TPoint WorldToScreen(double X, double Y, double Z) = 0;
    virtual TPoint WorldToScreenVector(const TMVector& V) = 0;
    virtual TPoint WorldToScreenPoint(const TRPoint& P) = 0;
    virtual TMVector ScreenToWorld(int X, int Y) = 0;
    virtual TMVector ScreenToWorldPoint(TPoint P) = 0;
    // The pick ray through the pixel.
    virtual TMLine ScreenToRay(int X, int Y) = 0;
    virtual TMLine ScreenToRayPoint(TPoint P) = 0;
};

// An object that renders itself with OpenGL inside a 3-D view.
class IRenderable {
public:
    virtual ~IRenderable() = default;

    // The box the object occupies; the view adds it to its model extents before rendering.
    virtual TMBox GetBounds() = 0;
    // Draws into the view's current rendering context; an implementation may ignore View.
    virtual void Render(IGraphics& View) = 0;
};

// Bits of the editor flags: which input the view routes to its editor.
inline constexpr std::uint8_t efSelectPoints = 1;  // presses go to SelectPoint, Shift+press to a band
inline constexpr std::uint8_t efDragMoves = 2;     // moves with a button held go to MouseMove
inline constexpr std::uint8_t efAllMoves = 4;      // every move, enter/leave feedback, press after a pick
inline constexpr std::uint8_t efKeys = 8;          // keys go to KeyDown, KeyUp and KeyPress

// The channel through which a 3-D view hands its input to the entity or tool being edited. The view
// holds the editor without owning it; every input call is bracketed by the view's overlay drawing, so
// an editor may draw its feedback through the IGraphics it receives.
class IEditorInterface {
public:
    virtual ~IEditorInterface() = default;

    virtual std::uint8_t GetEditorFlags() = 0;
    virtual void Attach(IOpenGLView& View) = 0;
    // True when the editor may be let go.
    virtual bool Detach(IOpenGLView& View) = 0;
    virtual void UpdateCursor() = 0;
    // Whether a right press may open the view's popup menu.
    virtual bool AllowPopupMenu() = 0;
    // Action comes preset by the view; the editor may change it.
    virtual void SelectPoint(IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action) = 0;
    virtual void SelectRect(IGraphics& View, const TRect& Rect, TShiftState Shift) = 0;
    virtual void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) = 0;
    virtual void MouseUp(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) = 0;
    virtual void MouseMove(IGraphics& View, TShiftState Shift, int X, int Y) = 0;
    virtual void HideFeedback() = 0;
    virtual void ShowFeedback() = 0;
    // Location comes as the world point under Pixel; the editor may replace it.
    virtual void GetCursorLocation(IGraphics& View, TPoint Pixel, TMVector& Location) = 0;
    virtual void KeyDown(TKeyCode& Key, TShiftState Shift) = 0;
    virtual void KeyUp(TKeyCode& Key, TShiftState Shift) = 0;
    virtual void KeyPress(char32_t& Key) = 0;
};

// The editor that wants nothing: no flags, lets go and allows popup menus whenever asked, and leaves
// every in-out argument as the view set it. Root of every document entity and creation tool.
class TEditorInterface : public IEditorInterface {
public:
    void Attach(IOpenGLView& View) override;
    bool Detach(IOpenGLView& View) override;
    std::uint8_t GetEditorFlags() override;
    void UpdateCursor() override;
    bool AllowPopupMenu() override;
    void SelectPoint(IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action) override;
    void SelectRect(IGraphics& View, const TRect& Rect, TShiftState Shift) override;
    void MouseDown(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(IGraphics& View, TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(IGraphics& View, TShiftState Shift, int X, int Y) override;
    void HideFeedback() override;
    void ShowFeedback() override;
    void GetCursorLocation(IGraphics& View, TPoint Pixel, TMVector& Location) override;
    void KeyDown(TKeyCode& Key, TShiftState Shift) override;
    void KeyUp(TKeyCode& Key, TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
};

// The five lines of the arrow that IGraphics.Vector draws, as (from, to) pairs: the shaft from Base
// to the tip, Size long when Absolute, else Size times |Direction|, and four head lines from 0.3 of
// the length back along the shaft and 0.2 of it aside, each ending at the tip. False for a zero
// Direction, which has no head to lay across.
using TArrowLines = std::array<std::array<TMVector, 2>, 5>;
bool ArrowLines(const TMVector& Base, const TMVector& Direction, double Size, bool Absolute, TArrowLines& Lines);

// A line width that every target can draw: whole pixels from 1 to 16; anything below 1, or not a
// number, is the normal width 1.
int DrawableLineWidth(double Width);

// A click in a view without an editor; the handler may change Action.
using TSelectPointEvent =
    std::function<void(IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action)>;
// A finished rubber band in a view without an editor.
using TSelectRectEvent = std::function<void(IGraphics& View, const TRect& Rect, TShiftState Shift)>;
// A view asks its owner to draw the document through View; Sender is the view.
using TRedrawEvent = std::function<void(void* Sender, IGraphics& View)>;

}  // namespace sarnova
