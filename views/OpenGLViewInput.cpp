// The view's input: mouse, wheel and keys become camera drags of the interaction mode, point and
// rectangle selection through the view's events, or calls into the editor that is installed, each
// of those inside an overlay bracket so the editor can draw its feedback onto the shown frame.
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>

#include "platform/qt/QtKeys.h"
#include "platform/qt/OpenGLHelpers.h"
#include "views/OpenGLView.h"

namespace sarnova {

namespace {

constexpr std::uint16_t SelectBandPattern = 0x7777;
constexpr std::uint16_t ZoomBandPattern = 0x5555;
// The cursor of selection by region, shown while Shift is held.
constexpr TCursor RegionCursor = 22;

// The view's side of the navigation drags, by interaction mode.
struct TModeDrag {
    TInteractionMode Mode;
    void (TOpenGLView::*Begin)(int, int);
    void (TOpenGLView::*Drag)(int, int);
    void (TOpenGLView::*End)();
};

constexpr TModeDrag ModeDrags[] = {
    {imPan, &TOpenGLView::PanBegin, &TOpenGLView::PanDrag, &TOpenGLView::PanEnd},
    {imZoom, &TOpenGLView::ZoomBegin, &TOpenGLView::ZoomDrag, &TOpenGLView::ZoomEnd},
    {imRotateWorld, &TOpenGLView::RotateWorldBegin, &TOpenGLView::RotateWorldDrag, &TOpenGLView::RotateWorldEnd},
    {imRotateView, &TOpenGLView::RotateViewBegin, &TOpenGLView::RotateViewDrag, &TOpenGLView::RotateViewEnd},
    {imRotateCamera, &TOpenGLView::RotateCameraBegin, &TOpenGLView::RotateCameraDrag, &TOpenGLView::RotateCameraEnd},
    {imFieldOfView, &TOpenGLView::FieldOfViewBegin, &TOpenGLView::FieldOfViewDrag, &TOpenGLView::FieldOfViewEnd},
    {imFly, &TOpenGLView::FlyBegin, &TOpenGLView::FlyDrag, &TOpenGLView::FlyEnd},
    {imZoomWindow, &TOpenGLView::ZoomWindowBegin, &TOpenGLView::ZoomWindowDrag, &TOpenGLView::ZoomWindowEnd},
    {imDragBox, &TOpenGLView::DragBoxBegin, &TOpenGLView::DragBoxDrag, &TOpenGLView::DragBoxEnd},
};

const TModeDrag* FindModeDrag(TInteractionMode Mode) {
    for (const TModeDrag& D : ModeDrags)
        if (D.Mode == Mode) return &D;
    return nullptr;
}

bool IsSelectionMode(TInteractionMode Mode) { return Mode == imNone || Mode == imUser; }

// Runs an editor call inside an overlay bracket. The bracket is opened here when none is open and
// closed afterwards, also when the call throws; inside one that was already open, what the call drew
// is presented.
template <class F>
void InOverlay(TOpenGLView& View, F&& Call) {
    const bool Opened = !(View.GetStateFlags() & (vfOverlay | vfRendering));
    View.BeginOverlayDraw();
    auto Close = [&] {
        if (Opened)
            View.EndOverlayDraw();
        else if (View.GetStateFlags() & vfOverlay)
            View.PresentIfDrawn();
    };
    try {
        Call();
    } catch (...) {
        // The editor's error is the one worth reporting.
        try {
            Close();
        } catch (...) {
        }
        throw;
    }
    Close();
}

// Clears vfDragging when the scope ends, also when a handler throws: a failed handler must not leave
// the view believing a drag is under way (no zoom, no mode change from then on).
class TDragEnd {
public:
    explicit TDragEnd(TOpenGLView& View) : View(View) {}
    ~TDragEnd() { View.SetStateFlag(vfDragging, false); }
    TDragEnd(const TDragEnd&) = delete;
    TDragEnd& operator=(const TDragEnd&) = delete;

private:
    TOpenGLView& View;
};

}  // namespace

std::string InteractionModeHint(TInteractionMode Mode, TCameraMode Projection) {
    switch (Mode) {
        case imPan: return "Left Click to Pan, Middle Click to Pan, MouseWheel Up/Down to Zoom In/Out";
        case imZoom:
            if (Projection == cmPerspective)
                return "Left Click to Zoom, Ctrl+Left Click to change FOV, Middle Click to Pan, MouseWheel Up/Down "
                       "to Zoom In/Out";
            return "Left Click to Zoom, Middle Click to Pan, MouseWheel Up/Down to Zoom In/Out";
        case imRotateWorld:
            return "Left Click Rotate about World, Ctrl+Left Click to Rotate Camera, Middle Click to Pan, MouseWheel "
                   "Up/Down to Zoom In/Out";
        case imRotateView:
            return "Left Click Rotate about Camera Lookat, Ctrl+Left Click to Rotate Camera, Middle Click to Pan, "
                   "MouseWheel Up/Down to Zoom In/Out";
        case imRotateCamera:
            return "Left Click to Rotate Camera, Middle Click to Pan, MouseWheel Up/Down to Zoom In/Out";
        case imFieldOfView: return "Left Click to change FOV, Middle Click to Pan, MouseWheel Up/Down to Zoom In/Out";
        case imFly: return "Left Click to Fly, Middle Click to Pan, MouseWheel Up/Down to Zoom In/Out";
        case imUser: return "Left Click to Select, Shift to Select by region, Ctrl to add to add to previous selection";
        case imZoomWindow:
            return "Left Click to Zoom Window, Middle Click to Pan, MouseWheel Up/Down to Zoom In/Out";
        case imDragBox: return "Left Click to Drag Box, Middle Click to Pan, MouseWheel Up/Down to Zoom In/Out";
        default: return "";
    }
}

// ---- Mouse ----

void TOpenGLView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    if (Button == mbRight) {
        SetStateFlag(vfPopupAllowed, !Editor || Editor->AllowPopupMenu());
        if ((State & vfDragging) && (State & vfRubberBand)) EndRubberBand();
    }
    if (Button == mbMiddle) {
        if (State & vfDragging) return;
        SavedCursor = Cursor;
        PanBegin(X, Y);
        State |= vfMiddlePan;
        return;
    }
    if (!IsSelectionMode(InteractionMode) || (State & vfMiddlePan)) {
        if (Button != mbLeft || (State & vfMiddlePan)) return;
        if (Shift & ssCtrl) {
            if (InteractionMode == imZoom && Camera->GetMode() == cmPerspective)
                FieldOfViewBegin(X, Y);
            else if (InteractionMode == imRotateWorld || InteractionMode == imRotateView)
                RotateCameraBegin(X, Y);
            return;
        }
        if (const TModeDrag* D = FindModeDrag(InteractionMode)) (this->*D->Begin)(X, Y);
        return;
    }

    DragMode = InteractionMode;
    if (Editor) {
        EditorMouseDown(Button, Shift, X, Y);
        return;
    }
    if (OnSelectPoint && Button == mbLeft) {
        TSelectAction Action = saDragRectangle;
        if (!(Shift & ssShift) || !OnSelectRect) {
            Action = saDoNothing;
            OnSelectPoint(*this, X, Y, Shift, Action);
        }
        // What the pick changed is painted before a band freezes the frame.
        PaintPending();
        if (OnSelectRect && Action == saDragRectangle) {
            SetCursor(crCross);
            BeginRubberBand(X, Y, SelectBandPattern);
            return;
        }
        if (Action != saMouseDrag) return;
    }
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TOpenGLView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbMiddle) {
        if (!(State & vfMiddlePan)) return;
        PanEnd();
        State &= ~vfMiddlePan;
        SetCursor(SavedCursor);
        return;
    }
    if (!IsSelectionMode(DragMode) || (State & vfMiddlePan)) {
        if (Button != mbLeft || !(State & vfDragging) || (State & vfMiddlePan)) return;
        State &= ~vfDragging;
        if (const TModeDrag* D = FindModeDrag(DragMode)) (this->*D->End)();
        return;
    }

    if (Editor) {
        EditorMouseUp(Button, Shift, X, Y);
        return;
    }
    const TDragEnd Ends(*this);
    if (!(State & vfRubberBand) || Button != mbLeft) {
        if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
        return;
    }
    const TRect Rect = EndRubberBand();
    SetCursor((Shift & ssShift) ? RegionCursor : crDefault);
    // A band of a few pixels is a click that slipped, not a region.
    if (OnSelectRect && Rect.Left + 3 < Rect.Right && Rect.Top + 3 < Rect.Bottom) OnSelectRect(*this, Rect, Shift);
}

void TOpenGLView::MouseMove(TShiftState Shift, int X, int Y) {
    if (State & vfMiddlePan) {
        // The release may come outside the view; the pan ends at the first move without the button.
        if (Shift & ssMiddle)
            PanDrag(X, Y);
        else if (State & vfDragging)
            PanEnd();
        return;
    }
    if (State & vfRubberBand) {
        MoveRubberBand(X, Y);
        return;
    }
    if (IsSelectionMode(InteractionMode)) {
        if (Editor)
            EditorMouseMove(Shift, X, Y);
        else if (OnMouseMove)
            OnMouseMove(this, Shift, X, Y);
        DoMouseLocation(X, Y);
        return;
    }
    if (!(State & vfDragging)) return;
    const TModeDrag* D = FindModeDrag(DragMode);
    if (!D) return;
    // A move with no button held: the release went elsewhere (another window took the mouse). The drag
    // ends here; left on, every later frame would be drawn as a drag preview.
    if (!(Shift & (ssLeft | ssRight | ssMiddle))) {
        State &= ~vfDragging;
        (this->*D->End)();
        return;
    }
    (this->*D->Drag)(X, Y);
}

bool TOpenGLView::DoMouseWheel(TShiftState, int WheelDelta, TPoint) {
    if (WheelDelta > 0 && !(State & vfRubberBand))
        ZoomIn();
    else
        ZoomOut();
    return true;
}

void TOpenGLView::DoMouseEnter() {
    if (Editor && (Editor->GetEditorFlags() & efAllMoves)) InOverlay(*this, [this] { Editor->ShowFeedback(); });
    if (OnMouseEnter) OnMouseEnter(this);
}

void TOpenGLView::DoMouseLeave() {
    if (State & vfMiddlePan) MouseUp(mbMiddle, 0, -1, -1);
    if (Editor && (Editor->GetEditorFlags() & efAllMoves)) InOverlay(*this, [this] { Editor->HideFeedback(); });
    if (OnMouseLeave) OnMouseLeave(this);
}

QMenu* TOpenGLView::GetPopupMenu() const {
    if (!(State & vfPopupAllowed) || (State & vfRubberBand)) return nullptr;
    return PopupMenu;
}

void TOpenGLView::DoMouseLocation(int X, int Y) {
    if (!OnMouseLocation) return;
    TMVector P = ScreenToWorld(X, Y);
    if (Editor) Editor->GetCursorLocation(*this, {X, Y}, P);
    OnMouseLocation(this, P.X, P.Y, P.Z);
}

void TOpenGLView::DoSelectionHint(int X, int Y, std::string& Hint) {
    if (OnSelectionHint) OnSelectionHint(this, X, Y, Hint);
}

void TOpenGLView::PaintPending() {
    // Paints of the view wait as an update request of its window.
    if (isVisible()) QCoreApplication::sendPostedEvents(window(), QEvent::UpdateRequest);
}

// ---- Editor hand-off ----

void TOpenGLView::EditorMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!Editor) return;
    // The right button then opens the menu instead.
    if (Button == mbRight && PopupMenu && PopupAutoPopup && Editor->AllowPopupMenu()) return;
    auto PassPress = [&] {
        State |= vfDragging;
        CheckGLError();
        InOverlay(*this, [&] { Editor->MouseDown(*this, Button, Shift, X, Y); });
    };
    if (!(Editor->GetEditorFlags() & efSelectPoints)) {
        PassPress();
        return;
    }
    TSelectAction Action = saDragRectangle;
    if (!(Shift & ssShift)) {
        Action = saDoNothing;
        InOverlay(*this, [&] { Editor->SelectPoint(*this, X, Y, Shift, Action); });
    }
    // A pick may end the editing and take the editor away.
    if (!Editor) return;
    if (Action == saDragRectangle) {
        SetCursor(crCross);
        PaintPending();
        BeginRubberBand(X, Y, SelectBandPattern);
    } else if (Action == saMouseDrag || (Editor->GetEditorFlags() & efAllMoves)) {
        PassPress();
    }
}

void TOpenGLView::EditorMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (State & vfRubberBand) {
        const TRect Rect = EndRubberBand();
        if (Shift & ssShift)
            SetCursor(RegionCursor);
        else if (Editor)
            Editor->UpdateCursor();
        if (Editor) InOverlay(*this, [&] { Editor->SelectRect(*this, Rect, Shift); });
        return;
    }
    const TDragEnd Ends(*this);
    if (Editor) InOverlay(*this, [&] { Editor->MouseUp(*this, Button, Shift, X, Y); });
}

void TOpenGLView::EditorMouseMove(TShiftState Shift, int X, int Y) {
    if (!Editor) return;
    const std::uint8_t Flags = Editor->GetEditorFlags();
    if ((Flags & efAllMoves) || ((Flags & efDragMoves) && (Shift & (ssLeft | ssRight | ssMiddle))))
        InOverlay(*this, [&] { Editor->MouseMove(*this, Shift, X, Y); });
}

// ---- Keys ----

bool TOpenGLView::EditorWantsKeys() const {
    return Editor && (Editor->GetEditorFlags() & efKeys) && !(State & vfRubberBand);
}

void TOpenGLView::KeyDown(TKeyCode& Key, TShiftState Shift) {
    if (Key == VK_SHIFT && IsSelectionMode(InteractionMode) && !(State & vfDragging)) SetCursor(RegionCursor);
    if (EditorWantsKeys())
        InOverlay(*this, [&] { Editor->KeyDown(Key, Shift); });
    else if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TOpenGLView::KeyUp(TKeyCode& Key, TShiftState Shift) {
    if (Key == VK_SHIFT && Cursor == RegionCursor) UpdateCursor();
    if (EditorWantsKeys())
        InOverlay(*this, [&] { Editor->KeyUp(Key, Shift); });
    else if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TOpenGLView::KeyPress(char32_t& Key) {
    if (EditorWantsKeys())
        InOverlay(*this, [&] { Editor->KeyPress(Key); });
    else if (OnKeyPress)
        OnKeyPress(this, Key);
}

// ---- Rubber band ----

void TOpenGLView::BeginRubberBand(int X, int Y, std::uint16_t Pattern) {
    State |= vfDragging | vfRubberBand;
    DragStart = {X, Y};
    BandPattern = Pattern;
    const int GLY = GetClientHeight() - Y;
    BandRect = {X, GLY, X, GLY};
    BandShown = false;
    Present();
}

void TOpenGLView::MoveRubberBand(int X, int Y) {
    if (!(State & vfRubberBand)) return;
    if (BandShown) DrawBandXor();
    BandRect.Right = X;
    BandRect.Bottom = GetClientHeight() - Y;
    DrawBandXor();
    BandShown = true;
    Present();
}

TRect TOpenGLView::EndRubberBand() {
    if (BandShown) DrawBandXor();
    BandShown = false;
    Present();
    State &= ~(vfDragging | vfRubberBand);
    const int H = GetClientHeight();
    const int Y1 = H - BandRect.Top;
    const int Y2 = H - BandRect.Bottom;
    return {std::min(BandRect.Left, BandRect.Right), std::min(Y1, Y2), std::max(BandRect.Left, BandRect.Right),
            std::max(Y1, Y2)};
}

void TOpenGLView::DrawBandRectangle() {
    // Through the pixel centres, so that each edge covers one row or column of pixels exactly.
    const double X1 = BandRect.Left + 0.5;
    const double X2 = BandRect.Right + 0.5;
    const double Y1 = BandRect.Top - 0.5;
    const double Y2 = BandRect.Bottom - 0.5;
    glBegin(GL_LINE_LOOP);
    glVertex2d(X1, Y1);
    glVertex2d(X2, Y1);
    glVertex2d(X2, Y2);
    glVertex2d(X1, Y2);
    glEnd();
}

void TOpenGLView::DrawBandXor() {
    if (!(State & vfContextReady)) return;
    MakeCurrent();
    {
        glPushAttrib(GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT | GL_LINE_BIT | GL_LIGHTING_BIT | GL_DEPTH_BUFFER_BIT |
                     GL_CURRENT_BIT);
        glEnable(GL_COLOR_LOGIC_OP);
        glLogicOp(GL_XOR);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, BandPattern);
        glLineWidth(1);
        SetGLColor(AxisIconColor);
        const TGLMatrixSaver KeepProjection(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, GetClientWidth(), 0, GetClientHeight(), -110, 110);
        const TGLMatrixSaver KeepModelView(GL_MODELVIEW);
        glLoadIdentity();
        DrawBandRectangle();
    }
    glPopAttrib();
    CheckGLError();
}

void TOpenGLView::ZoomWindowBegin(int X, int Y) {
    SaveCameraState();
    DragMode = imZoomWindow;
    BeginRubberBand(X, Y, ZoomBandPattern);
}

void TOpenGLView::ZoomWindowDrag(int X, int Y) { MoveRubberBand(X, Y); }

void TOpenGLView::ZoomWindowEnd() { ZoomWindow(EndRubberBand()); }

void TOpenGLView::DragBoxBegin(int X, int Y) {
    if (!OnDragRect) return;
    DragMode = imDragBox;
    BeginRubberBand(X, Y, SelectBandPattern);
}

void TOpenGLView::DragBoxDrag(int X, int Y) { MoveRubberBand(X, Y); }

void TOpenGLView::DragBoxEnd() {
    // The release has cleared vfDragging already; the band tells whether this drag began.
    if (!(State & vfRubberBand)) return;
    const TRect Rect = EndRubberBand();
    if (OnDragRect) OnDragRect(this, Rect);
}

// ---- Qt's events ----

TPoint TOpenGLView::EventPixel(const QPointF& Position) const {
    const double Ratio = devicePixelRatioF();
    return {static_cast<int>(std::floor(Position.x() * Ratio)), static_cast<int>(std::floor(Position.y() * Ratio))};
}

void TOpenGLView::Guarded(const std::function<void()>& Handler) {
    // Nothing may leave an event handler into Qt's loop: errors go where the program shows them.
    try {
        Handler();
    } catch (const std::exception& E) {
        ReportError(E);
    }
}

void TOpenGLView::HandleMousePress(QMouseEvent* Event, TShiftState Extra) {
    TMouseButton Button;
    if (!QtMouseButton(Event->button(), Button)) {
        Event->ignore();
        return;
    }
    const TPoint P = EventPixel(Event->position());
    const TShiftState Shift = QtShiftState(Event->modifiers(), Event->buttons()) | Extra;
    Guarded([&] { MouseDown(Button, Shift, P.X, P.Y); });
}

void TOpenGLView::mousePressEvent(QMouseEvent* Event) { HandleMousePress(Event, 0); }

void TOpenGLView::mouseDoubleClickEvent(QMouseEvent* Event) { HandleMousePress(Event, ssDouble); }

void TOpenGLView::mouseReleaseEvent(QMouseEvent* Event) {
    TMouseButton Button;
    if (!QtMouseButton(Event->button(), Button)) {
        Event->ignore();
        return;
    }
    const TPoint P = EventPixel(Event->position());
    const TShiftState Shift = QtShiftState(Event->modifiers(), Event->buttons());
    Guarded([&] { MouseUp(Button, Shift, P.X, P.Y); });
}

void TOpenGLView::mouseMoveEvent(QMouseEvent* Event) {
    const TPoint P = EventPixel(Event->position());
    const TShiftState Shift = QtShiftState(Event->modifiers(), Event->buttons());
    Guarded([&] { MouseMove(Shift, P.X, P.Y); });
}

void TOpenGLView::wheelEvent(QWheelEvent* Event) {
    // A sideways turn is not a zoom.
    const int Delta = Event->angleDelta().y();
    if (Delta == 0) {
        Event->ignore();
        return;
    }
    const TPoint P = EventPixel(Event->position());
    const TShiftState Shift = QtShiftState(Event->modifiers(), Event->buttons());
    bool Handled = true;
    Guarded([&] { Handled = DoMouseWheel(Shift, Delta, P); });
    Event->setAccepted(Handled);
}

void TOpenGLView::keyPressEvent(QKeyEvent* Event) {
    TKeyCode Key = QtKeyToVirtualKey(Event->key(), Event->modifiers());
    const TShiftState Shift = QtShiftState(Event->modifiers(), Qt::NoButton);
    Guarded([&] {
        if (Key != 0) KeyDown(Key, Shift);
        // The characters the key typed, as the platform sends them after the key itself; Delete types
        // none there.
        for (const char32_t C : Event->text().toUcs4()) {
            if (C == 0x7F) continue;
            char32_t Char = C;
            KeyPress(Char);
        }
    });
}

void TOpenGLView::keyReleaseEvent(QKeyEvent* Event) {
    // A held key repeats its press only.
    if (Event->isAutoRepeat()) return;
    TKeyCode Key = QtKeyToVirtualKey(Event->key(), Event->modifiers());
    if (Key == 0) return;
    const TShiftState Shift = QtShiftState(Event->modifiers(), Qt::NoButton);
    Guarded([&] { KeyUp(Key, Shift); });
}

void TOpenGLView::enterEvent(QEnterEvent* Event) {
    QOpenGLWidget::enterEvent(Event);
    Guarded([this] { DoMouseEnter(); });
}

void TOpenGLView::leaveEvent(QEvent* Event) {
    QOpenGLWidget::leaveEvent(Event);
    Guarded([this] { DoMouseLeave(); });
}

void TOpenGLView::contextMenuEvent(QContextMenuEvent* Event) {
    QMenu* Menu = GetPopupMenu();
    if (!Menu || !PopupAutoPopup) {
        Event->ignore();
        return;
    }
    Menu->popup(Event->globalPos());
}

bool TOpenGLView::focusNextPrevChild(bool) { return false; }

bool TOpenGLView::event(QEvent* Event) {
    if (Event->type() != QEvent::ToolTip || !IsSelectionMode(InteractionMode) || Editor || !OnSelectionHint)
        return QOpenGLWidget::event(Event);
    auto* Help = static_cast<QHelpEvent*>(Event);
    const TPoint P = EventPixel(Help->pos());
    std::string Hint;
    Guarded([&] { DoSelectionHint(P.X, P.Y, Hint); });
    if (Hint.empty()) {
        QToolTip::hideText();
        return true;
    }
    // The tip stays until the mouse leaves the pixels around it; the next rest asks again.
    const QRect Around(Help->pos() - QPoint(1, 1), QSize(3, 3));
    QToolTip::showText(Help->globalPos(), QString::fromStdString(Hint), this, Around, INT_MAX);
    return true;
}

}  // namespace sarnova
