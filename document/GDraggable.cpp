#include "document/GDraggable.h"

#include <cmath>

#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/DeRaridiViewEdit.h"
#include "foundation/DuZezOride.h"
#include "foundation/DuZezOrideConsole.h"
#include "foundation/Errors.h"
#include "foundation/VkMathsIntersect.h"

namespace sarnova {

namespace {

double Distance(TPoint A, TPoint B) { return std::hypot(double(A.X) - B.X, double(A.Y) - B.Y); }

bool IsArrowKey(TKeyCode Key) { return Key >= VK_LEFT && Key <= VK_DOWN; }

TEditPlaneSet Only(TEditPlaneKind Kind) { return static_cast<TEditPlaneSet>(1u << Kind); }

// The chosen kind is a byte that Tab may step through the whole byte range.
void StepEditPlane(TEditPlane& Plane, TEditPlaneSet Allowed, bool Ensure) {
    std::uint8_t Kind = Plane.Kind;
    if (Ensure)
        EditConstraintEnsure(Kind, Allowed);
    else
        EditConstraintNext(Kind, Allowed);
    Plane.Kind = static_cast<TEditPlaneKind>(Kind);
}

}  // namespace

std::uint8_t SnapMarkerKindOf(std::uint8_t SnapKind) {
    if (SnapKind == stPolygonList) return 7;
    if (SnapKind >= 3 && SnapKind <= 5) return 6;
    return 4;
}

bool FindObjectSnap(IGraphics& View, TPoint Pixel, TGeometryObject& Asker, const TMVector& Position,
                    const std::function<void(TGeometrySnapInfo&)>& Collect, TObjectSnap& Result) {
    TGeometrySnapInfo Request(Pixel, &View, &Asker, Position);
    Collect(Request);
    if (!Request.Found()) return false;
    Result.Point = Request.BestPoint;
    Result.Target = Request.SnapTarget;
    Result.MarkerKind = SnapMarkerKindOf(Request.BestKind);
    return true;
}

// ---- Construction and attachment ----

TGeoDraggable::TGeoDraggable() {
    SetCapabilities(GetCapabilities() | cpPointEditing | cpKeys | cpEdit3D | cpGridSnap | cpObjectSnap);
    HintText = "Left Click to Select, Shift to Select by region, Ctrl to add to add to previous selection";
}

void TGeoDraggable::Attach(IOpenGLView& AView) {
    View = &AView;
    AView.DoHintInformation(HintText);
}

bool TGeoDraggable::Detach(IOpenGLView& AView) {
    const bool WasDragging = (State & gsDragging) != 0;
    // An entity left in a drag or key edit would never apply its changes again, and a view that let
    // go may be gone before the next call.
    State &= static_cast<std::uint16_t>(~(gsDragging | gsKeyMoving | gsAxisLock | gsInsertPoint | gsInsertKnot));
    InsertPointPreviewShown = InsertKnotPreviewShown = false;
    View = nullptr;
    if (Editing()) SetEditing(false);
    if (WasDragging) {
        AView.HideSnapMarker();
        AView.HideEditMarker();
    }
    return true;
}

void TGeoDraggable::BeginEdit() {
    TGeometry::BeginEdit();
    DeselectAllPoints();
}

void TGeoDraggable::EndEdit() {
    DeselectAllPoints();
    TGeometry::EndEdit();
}

// ---- Conditions ----

bool TGeoDraggable::Editing3D() const {
    const TGeometryList* List = GetOwnerList();
    return List != nullptr && (List->GetProjectOptions() & po3DEditing) && HasCapability(cpEdit3D);
}

bool TGeoDraggable::GridSnapping() const {
    return Editing3D() && (GetOwnerList()->GetProjectOptions() & poGridSnap) && HasCapability(cpGridSnap);
}

bool TGeoDraggable::ObjectSnapping() const {
    const TGeometryList* List = GetOwnerList();
    return List != nullptr && (List->GetProjectOptions() & poObjectSnap) && HasCapability(cpObjectSnap) &&
           !SnapCancelled;
}

// ---- Edit planes ----

void TGeoDraggable::ChooseEditPlane() {
    if (View == nullptr) return;
    ICamera& Camera = View->GetCamera();
    TEditPlaneSet Allowed = Camera.FacingAxisPlanes();
    RestrictEditPlanes(Allowed);
    AllowedEditPlanes = Allowed;
    TEditPlane Plane = ChosenEditPlane;
    if (Allowed != 0 && !EditPlaneAllowed(Plane.Kind, Allowed)) {
        Plane.Kind = Camera.NearestAxisPlaneCode();
        StepEditPlane(Plane, Allowed, true);
    }
    AdjustEditPlane(Plane, Allowed);
    SetEditPlane(Plane);
}

void TGeoDraggable::SetEditPlane(const TEditPlane& Plane) {
    ChosenEditPlane = Plane;
    if (!EditPlaneAllowed(ChosenEditPlane.Kind, AllowedEditPlanes) ||
        !EditPlaneAllowed(EffectiveEditPlane.Kind, AllowedEditPlanes))
        EffectiveEditPlane = ChosenEditPlane;
}

void TGeoDraggable::UseViewPlane() {
    AllowedEditPlanes = Only(epView);
    ChosenEditPlane.Kind = epView;
    SetEditPlane(ChosenEditPlane);
}

void TGeoDraggable::NextEditPlane() {
    if (AllowedEditPlanes == 0) return;
    StepEditPlane(ChosenEditPlane, AllowedEditPlanes, false);
    EffectiveEditPlane = ChosenEditPlane;
}

TCursor TGeoDraggable::EditPlaneCursor() {
    if (View == nullptr) return crDefault;
    ChooseEditPlane();
    if (ChosenEditPlane.Kind != EffectiveEditPlane.Kind) return crDefault;
    if (View->GetProjection() == cmParallel && View->GetCamera().ViewDirectionCode() < 3) return crDefault;
    switch (ChosenEditPlane.Kind) {
        case epXY: return crEditXY;
        case epZX: return crEditZX;
        case epYZ: return crEditYZ;
        case epAlongX: return crEditAlongX;
        case epAlongY: return crEditAlongY;
        case epAlongZ: return crEditAlongZ;
        case epAlongVector: return crEditAlongVector;
        case epInPlane: return crEditInPlane;
        default: return crDefault;
    }
}

// ---- Cursor, hint and markers ----

void TGeoDraggable::UpdateCursor() {
    if (View == nullptr || View->GetInteractionMode() != imUser) return;
    TCursor Cursor = crDefault;
    if (State & gsInsertPoint)
        Cursor = crInsertPoint;
    else if (State & gsDragging)
        Cursor = crDefault;
    else if (Editing3D())
        Cursor = EditPlaneCursor();
    if (Cursor != View->GetCursor()) View->SetCursor(Cursor);
}

void TGeoDraggable::UpdateHint() {
    if (View == nullptr) return;
    if (Snapped && SnapTarget.GetGeometry() != nullptr) {
        TGeometry& Target = *SnapTarget.GetGeometry();
        View->DoHintInformation("Snapping to " + Target.GetDescription() + ":" + Target.GetName());
        return;
    }
    std::string Hint = "Ctrl to lock manipulation in X/Y/Z";
    if (ObjectSnapping()) Hint += ", ESC to cancel Snap";
    if (Editing3D())
        Hint += ", Available Edit Planes  " + EditConstraintSetText(AllowedEditPlanes) + ", Tab to change";
    View->DoHintInformation(Hint);
}

void TGeoDraggable::ShowEditMarker(const TMVector& Point) {
    if (View != nullptr && !HasCapability(cpNoEditMarker)) View->ShowEditMarker(Point, EffectiveEditPlane);
}

void TGeoDraggable::HideMarkers() {
    if (View == nullptr) return;
    View->HideEditMarker();
    View->HideSnapMarker();
}

void TGeoDraggable::RedrawSnapTarget(IGraphics& AView) {
    if (TGeometry* Target = SnapTarget.GetGeometry(); Target != nullptr && Target != this) Target->DrawEntity(AView);
}

// ---- Picking ----

void TGeoDraggable::SelectPoint(IGraphics& AView, int X, int Y, TShiftState Shift, TSelectAction& Action) {
    Action = saDragRectangle;
    bool Changed = false;
    for (int I = 0; I < GetPointCount(); ++I) {
        TPointInfo& Info = PointInfo(I, &AView);
        if (Info.IsVisible() && Distance(Info.GetScreenPoint(), {X, Y}) < 5.0) {
            if (!Info.IsSelected()) {
                Info.SetSelected(true);
                Changed = true;
            }
            Action = saMouseDrag;
        } else if (!(Shift & ssCtrl) && Info.IsSelected()) {
            Info.SetSelected(false);
            Changed = true;
        }
    }
    if (Changed) Redraw();
}

void TGeoDraggable::SelectRect(IGraphics& AView, const TRect& Rect, TShiftState Shift) {
    for (int I = 0; I < GetPointCount(); ++I) {
        TPointInfo& Info = PointInfo(I, &AView);
        const TPoint P = Info.GetScreenPoint();
        const bool Inside = P.X >= Rect.Left && P.X < Rect.Right && P.Y >= Rect.Top && P.Y < Rect.Bottom;
        if (Info.IsVisible() && Inside)
            Info.SetSelected(true);
        else if (!(Shift & ssCtrl))
            Info.SetSelected(false);
    }
    Redraw();
}

int TGeoDraggable::NearestSelectedPoint(IGraphics& AView, TPoint Pixel) {
    if (!Editing()) return -1;
    int Nearest = -1;
    double Best = HugeValue;
    for (int I = 0; I < GetPointCount(); ++I) {
        TPointInfo& Info = PointInfo(I, &AView);
        if (!Info.IsSelected()) continue;
        const double D = Distance(Info.GetScreenPoint(), Pixel);
        if (D < Best) {
            Best = D;
            Nearest = I;
        }
    }
    return Nearest;
}

void TGeoDraggable::DeselectAllPoints() {
    for (int I = 0; I < GetPointCount(); ++I) PointInfo(I, nullptr).SetSelected(false);
}

// ---- Dragging ----

void TGeoDraggable::MouseDown(IGraphics& AView, TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button != mbLeft) return;
    if (State & (gsInsertPoint | gsInsertKnot)) {
        PickClick(AView, Shift, {X, Y});
        return;
    }
    if ((State & gsKeyMoving) || View == nullptr) return;
    State |= gsDragging;
    SnapCancelled = false;
    SnapTarget.SetGeometry(nullptr);
    StartDrag(AView, {X, Y});
    UpdateHint();
    BeginChange();
    ShowEditMarker(BasePoint);
    UpdateCursor();
    BeginDrag(HandlePoint, BasePoint, AView, Shift, ZeroVector);
}

void TGeoDraggable::StartDrag(IGraphics& AView, TPoint Mouse) {
    ClickPoint = LastMouse = Mouse;
    GrabbedIndex = NearestSelectedPoint(AView, Mouse);
    BasePoint = GrabbedIndex >= 0 ? PointInfo(GrabbedIndex, &AView).GetPoint() : ZeroVector;
    HandlePoint = AView.WorldToScreenVector(BasePoint);
    GrabOffset = {HandlePoint.X - ClickPoint.X, HandlePoint.Y - ClickPoint.Y};
    if (Editing3D())
        ChooseEditPlane();
    else
        UseViewPlane();
}

void TGeoDraggable::TrackDrag(IGraphics& AView, TPoint Mouse, TShiftState Shift) {
    LastMouse = Mouse;
    EffectiveEditPlane = ChosenEditPlane;
    // The handle stays under the cursor where it was grabbed.
    const TPoint Target{Mouse.X + GrabOffset.X, Mouse.Y + GrabOffset.Y};
    ICamera& Camera = View->GetCamera();
    if (Editing3D()) {
        if (Shift & ssCtrl) {
            State |= gsAxisLock;
            LockToNearestAxis(AView, Target);
        } else {
            State &= static_cast<std::uint16_t>(~gsAxisLock);
        }
        CurrentPoint = Camera.ScreenToWorldEditConstraint(BasePoint, Target, EffectiveEditPlane);
    } else {
        CurrentPoint = Camera.ScreenToWorldConstrained(BasePoint, Target, epView);
    }
    CurrentScreenPoint = AView.WorldToScreenVector(CurrentPoint);
    SnapPoint(AView, CurrentScreenPoint, CurrentPoint);
}

void TGeoDraggable::LockToNearestAxis(IGraphics& AView, TPoint Pixel) {
    double Best = HugeValue;
    const TEditPlaneKind Chosen = ChosenEditPlane.Kind;
    if (Chosen == epXY || Chosen == epYZ || Chosen == epZX) {
        const TEditPlaneKind Axes[] = {epAlongX, epAlongY, epAlongZ};
        for (TEditPlaneKind Axis : Axes) {
            // Each plane offers the two axes lying in it.
            const bool InPlane = (Axis == epAlongX && Chosen != epYZ) || (Axis == epAlongY && Chosen != epZX) ||
                                 (Axis == epAlongZ && Chosen != epXY);
            if (!InPlane) continue;
            const TMVector P = View->GetCamera().ScreenToWorldConstrained(BasePoint, Pixel, Axis);
            const double D = Distance(AView.WorldToScreenVector(P), Pixel);
            if (D < Best) {
                Best = D;
                EffectiveEditPlane.Kind = Axis;
            }
        }
    } else if (Chosen == epInPlane) {
        const TMPlane Plane = PlaneFromNormalAndPoint(EffectiveEditPlane.Plane.Normal, BasePoint);
        const TMLine Ray = AView.ScreenToRay(Pixel.X, Pixel.Y);
        const TMVector Axes[] = {XAxisVector, YAxisVector, ZAxisVector};
        const double Components[] = {Plane.Normal.X, Plane.Normal.Y, Plane.Normal.Z};
        for (int I = 0; I < 3; ++I) {
            if (!(std::fabs(Components[I]) < 1 - 0.0001)) continue;
            const TMLine Line = IntersectionOfTwoPlanes(Plane, PlaneFromNormalAndPoint(Axes[I], BasePoint));
            TMVector P;
            try {
                P = PointOnLineClosestToLine(Line, Ray);
            } catch (const EError&) {
                continue;  // seen end on, the line offers no point under the pixel
            }
            const double D = Distance(AView.WorldToScreenVector(P), Pixel);
            if (D < Best) {
                Best = D;
                EffectiveEditPlane.Kind = epAlongVector;
                EffectiveEditPlane.Direction = Line.Direction;
            }
        }
    }
}

void TGeoDraggable::MouseMove(IGraphics& AView, TShiftState Shift, int X, int Y) {
    if ((State & gsDragging) && View != nullptr) {
        Undraw();
        RedrawSnapTarget(AView);
        TrackDrag(AView, {X, Y}, Shift);
        const TMVector Offset = VectorFromTo(BasePoint, CurrentPoint);
        ShowEditMarker(CurrentPoint);
        UpdateCursor();
        View->DrawGrid();
        Drag(CurrentScreenPoint, CurrentPoint, AView, Shift, Offset);
        Redraw();
        if (Snapped)
            View->ShowSnapMarker(CurrentPoint, SnapMarkerKind);
        else
            View->HideSnapMarker();
    } else if (State & (gsInsertPoint | gsInsertKnot)) {
        const bool Knot = (State & gsInsertPoint) == 0;
        bool& Shown = Knot ? InsertKnotPreviewShown : InsertPointPreviewShown;
        if (Shown) {
            if (Knot)
                EraseInsertKnotPreview(CurrentScreenPoint, Shift, AView);
            else
                EraseInsertPointPreview(CurrentScreenPoint, Shift, AView);
        }
        Snapped = false;
        SnapTarget.SetGeometry(nullptr);
        CurrentScreenPoint = {X, Y};
        CurrentPoint = AView.ScreenToWorld(X, Y);
        if (Knot)
            DrawInsertKnotPreview(CurrentScreenPoint, Shift, AView);
        else
            DrawInsertPointPreview(CurrentScreenPoint, Shift, AView);
        Shown = true;
    } else {
        CurrentScreenPoint = {X, Y};
        CurrentPoint = AView.ScreenToWorld(X, Y);
    }
    UpdateHint();
}

void TGeoDraggable::MouseUp(IGraphics& AView, TMouseButton, TShiftState Shift, int X, int Y) {
    if (!(State & gsDragging) || View == nullptr) return;
    State &= static_cast<std::uint16_t>(~gsDragging);
    EffectiveEditPlane = ChosenEditPlane;
    HideMarkers();
    UpdateCursor();
    View->DrawGrid();
    RedrawSnapTarget(AView);
    // The release point is snapped and locked like a move.
    TrackDrag(AView, {X, Y}, Shift);
    EndDrag(CurrentScreenPoint, CurrentPoint, AView, Shift, VectorFromTo(BasePoint, CurrentPoint));
    View->DoHintInformation(HintText);
    MarkChanged();
    InvalidateViews();
}

void TGeoDraggable::GetCursorLocation(IGraphics&, TPoint, TMVector& Location) {
    if (State & (gsDragging | gsKeyMoving)) Location = CurrentPoint;
}

// ---- Snapping ----

void TGeoDraggable::SnapPoint(IGraphics& AView, TPoint& ScreenPoint, TMVector& Point) {
    Snapped = false;
    SnapTarget.SetGeometry(nullptr);
    double GridDistance = HugeValue;
    double ObjectDistance = HugeValue;
    const bool Grid = GridSnapping() && View != nullptr;
    const bool Objects = ObjectSnapping();
    TMVector GridPoint;
    TMVector ObjectPoint;
    if (Grid) {
        GridPoint = View->GetGrid().SnapPointConstrained(Point, EffectiveEditPlane.Kind);
        GridDistance = Distance(AView.WorldToScreenVector(GridPoint), ScreenPoint);
    }
    if (Objects) {
        ObjectPoint = Point;
        if (SnapToObjects(AView, ScreenPoint, ObjectPoint))
            ObjectDistance = Distance(AView.WorldToScreenVector(ObjectPoint), ScreenPoint);
    }
    if (!Grid && !Objects) return;
    // Only object snapping, and it found nothing.
    if (!Grid && ObjectDistance >= HugeValue) return;
    if (GridDistance < ObjectDistance) {
        Point = GridPoint;
    } else {
        Point = ObjectPoint;
        Snapped = true;
    }
    ScreenPoint = AView.WorldToScreenVector(Point);
}

bool TGeoDraggable::SnapToObjects(IGraphics& AView, TPoint ScreenPoint, TMVector& Point) {
    TObjectSnap Found;
    if (!FindObjectSnap(AView, ScreenPoint, *this, Point, [this](TGeometrySnapInfo& R) { CollectSnapPoints(R); },
                        Found)) {
        SnapTarget.SetGeometry(nullptr);
        return false;
    }
    Point = Found.Point;
    SnapTarget.SetGeometry(Found.Target);
    SnapMarkerKind = Found.MarkerKind;
    return true;
}

void TGeoDraggable::CollectSnapPoints(TGeometrySnapInfo& Request) {
    if (GetOwnerList() != nullptr) GetOwnerList()->CollectSnapPoints(Request);
}

void TGeoDraggable::CancelSnap() { SnapCancelled = true; }

// ---- Keys ----

void TGeoDraggable::MoveAtLastMouse(TShiftState Shift) {
    if (View != nullptr) MouseMove(*View, Shift, LastMouse.X, LastMouse.Y);
}

void TGeoDraggable::KeyDown(TKeyCode& Key, TShiftState Shift) {
    switch (Key) {
        case VK_TAB:
            if (View == nullptr) return;
            View->HideEditMarker();
            View->PresentIfDrawn();
            NextEditPlane();
            MoveAtLastMouse(Shift);
            View->PresentIfDrawn();
            UpdateHint();
            UpdateCursor();
            break;
        case VK_CONTROL:
            if ((State & gsDragging) && !(State & gsAxisLock) && View != nullptr) {
                MoveAtLastMouse(Shift);
                View->PresentIfDrawn();
            }
            break;
        case VK_ESCAPE:
            CancelSnap();
            if (View == nullptr) return;
            MoveAtLastMouse(Shift);
            View->PresentIfDrawn();
            UpdateHint();
            break;
        case VK_DELETE:
            if (!(State & gsKeyMoving)) DeleteSelectedPoints();
            break;
        case 'A':
        case 'S':
            EnterPickMode(Key, Shift);
            break;
        default:
            if (IsArrowKey(Key) && View != nullptr) {
                if (!(State & gsKeyMoving)) StartEditKey(Key, Shift);
                ContinueEditKey(Key, Shift);
            }
            break;
    }
}

void TGeoDraggable::KeyUp(TKeyCode& Key, TShiftState Shift) {
    switch (Key) {
        case VK_CONTROL:
            if ((State & gsAxisLock) && View != nullptr) {
                MoveAtLastMouse(Shift);
                View->PresentIfDrawn();
            }
            break;
        case 'A':
        case 'S':
            LeavePickMode(Key, Shift);
            break;
        case VK_F11:
            SendMessage(std::make_unique<TGeoShowAttributesPanel>());
            break;
        default:
            if (IsArrowKey(Key)) EndEditKey(Shift);
            break;
    }
}

void TGeoDraggable::KeyPress(char32_t& Key) {
    if (GConsole) GConsole->WriteLine("Keypress - " + CharToUtf8(Key));
}

// ---- Nudging with the arrow keys ----

void TGeoDraggable::StartEditKey(TKeyCode, TShiftState Shift) {
    if (State & gsKeyMoving) throw EError("TGeoDraggable.StartEditKey - Key already pressed");
    State |= gsKeyMoving;
    KeyStepsX = KeyStepsY = 0;
    SetupKeyAxes();
    HandlePoint = View->GetMousePosition();
    GrabbedIndex = NearestSelectedPoint(*View, HandlePoint);
    BasePoint = GrabbedIndex >= 0 ? PointInfo(GrabbedIndex, View).GetPoint() : ZeroVector;
    // One change bracket, and so one undo snapshot, for the whole key edit.
    BeginChange();
    ShowEditMarker(BasePoint);
    BeginDrag(HandlePoint, BasePoint, *View, Shift, ZeroVector);
}

void TGeoDraggable::SetupKeyAxes() {
    ICamera& Camera = View->GetCamera();
    TMVector Right = VectorNormalise(Camera.RightVector());
    TMVector Up = VectorNormalise(Camera.UpVector());
    if (Editing3D()) {
        ChooseEditPlane();
        const TEditPlane& Plane = ChosenEditPlane;
        if (Plane.Kind == epXY || Plane.Kind == epYZ || Plane.Kind == epZX) {
            const TMVector A = Plane.Kind == epYZ ? YAxisVector : XAxisVector;
            const TMVector B = Plane.Kind == epXY ? YAxisVector : ZAxisVector;
            // The keys always move along the positive axes; the axis more to the right takes Left
            // and Right.
            const bool Swap = VectorDot(B, Right) > VectorDot(A, Right) && VectorDot(B, Up) < VectorDot(A, Up);
            Right = Swap ? B : A;
            Up = Swap ? A : B;
        } else if (Plane.Kind >= epAlongX && Plane.Kind <= epAlongZ) {
            const TMVector Axes[] = {XAxisVector, YAxisVector, ZAxisVector};
            Right = Up = Axes[Plane.Kind - epAlongX];
        } else if (Plane.Kind == epAlongVector && VectorLength(Plane.Direction) > 0) {
            Right = Up = VectorNormalise(Plane.Direction);
        } else if (Plane.Kind == epInPlane) {
            // The screen directions laid into the constraint's plane, where they stay usable.
            const TMVector N = VectorNormalise(Plane.Plane.Normal);
            const TMVector R = VectorNormalise(VectorPerpendicularPart(N, Right));
            const TMVector U = VectorNormalise(VectorPerpendicularPart(N, Up));
            if (VectorLength(R) > 0) Right = R;
            if (VectorLength(U) > 0) Up = U;
        }
    } else {
        UseViewPlane();
    }
    const double Nudge = CurrentSettings().Nudge;
    KeyAxisX = VectorScale(Right, Nudge);
    KeyAxisY = VectorScale(Up, Nudge);
}

TMVector TGeoDraggable::KeyEditPosition() const {
    return VectorSum3(BasePoint, VectorScale(KeyAxisX, KeyStepsX), VectorScale(KeyAxisY, KeyStepsY));
}

void TGeoDraggable::ContinueEditKey(TKeyCode Key, TShiftState Shift) {
    if (!(State & gsKeyMoving)) return;
    Undraw();
    if (Key == VK_LEFT) --KeyStepsX;
    if (Key == VK_RIGHT) ++KeyStepsX;
    if (Key == VK_UP) ++KeyStepsY;
    if (Key == VK_DOWN) --KeyStepsY;
    CurrentPoint = KeyEditPosition();
    CurrentScreenPoint = View->WorldToScreenVector(CurrentPoint);
    View->DrawGrid();
    ShowEditMarker(CurrentPoint);
    Drag(CurrentScreenPoint, CurrentPoint, *View, Shift, VectorFromTo(BasePoint, CurrentPoint));
    MarkChanged();
    Redraw();
}

void TGeoDraggable::EndEditKey(TShiftState Shift) {
    if (!(State & gsKeyMoving) || View == nullptr) return;
    CurrentPoint = KeyEditPosition();
    CurrentScreenPoint = View->WorldToScreenVector(CurrentPoint);
    EndDrag(CurrentScreenPoint, CurrentPoint, *View, Shift, VectorFromTo(BasePoint, CurrentPoint));
    State &= static_cast<std::uint16_t>(~gsKeyMoving);
    View->HideEditMarker();
    MarkChanged();
    InvalidateViews();
}

// ---- The pick modes ----

void TGeoDraggable::EnterPickMode(TKeyCode Key, TShiftState Shift) {
    const bool Knot = Key == 'S';
    if (!HasCapability(Knot ? cpInsertKnotKey : cpInsertPointKey)) return;
    if (State & (gsInsertPoint | gsInsertKnot | gsDragging | gsKeyMoving)) return;
    if (Shift != 0 || View == nullptr || View->GetInteractionMode() != imUser) return;
    State |= Knot ? gsInsertKnot : gsInsertPoint;
    UpdateCursor();
    CurrentScreenPoint = View->GetMousePosition();
    if (Knot) {
        DrawInsertKnotPreview(CurrentScreenPoint, Shift, *View);
        InsertKnotPreviewShown = true;
    } else {
        DrawInsertPointPreview(CurrentScreenPoint, Shift, *View);
        InsertPointPreviewShown = true;
    }
}

void TGeoDraggable::LeavePickMode(TKeyCode Key, TShiftState Shift) {
    const bool Knot = Key == 'S';
    const std::uint16_t Mode = Knot ? gsInsertKnot : gsInsertPoint;
    if (!(State & Mode)) return;
    State &= static_cast<std::uint16_t>(~Mode);
    UpdateCursor();
    if (View != nullptr) {
        if (Knot)
            EraseInsertKnotPreview(CurrentScreenPoint, Shift, *View);
        else
            EraseInsertPointPreview(CurrentScreenPoint, Shift, *View);
    }
    (Knot ? InsertKnotPreviewShown : InsertPointPreviewShown) = false;
    Redraw();
}

void TGeoDraggable::PickClick(IGraphics& AView, TShiftState Shift, TPoint Click) {
    HandlePoint = Click;
    if (State & gsInsertPoint) {
        EraseInsertPointPreview(HandlePoint, Shift, AView);
        InsertPointClick(Click, Shift, AView);
        DrawInsertPointPreview(HandlePoint, Shift, AView);
    } else {
        EraseInsertKnotPreview(HandlePoint, Shift, AView);
        InsertKnotClick(Click, Shift, AView);
        DrawInsertKnotPreview(HandlePoint, Shift, AView);
    }
    MarkChanged();
}

void TGeoDraggable::HideFeedback() {
    if (View == nullptr) return;
    if (State & gsInsertPoint) {
        EraseInsertPointPreview(CurrentScreenPoint, 0, *View);
        InsertPointPreviewShown = false;
    } else if (State & gsInsertKnot) {
        EraseInsertKnotPreview(CurrentScreenPoint, 0, *View);
        InsertKnotPreviewShown = false;
    }
}

void TGeoDraggable::ShowFeedback() {
    if (View == nullptr) return;
    if (State & gsInsertPoint) {
        DrawInsertPointPreview(CurrentScreenPoint, 0, *View);
        InsertPointPreviewShown = true;
    } else if (State & gsInsertKnot) {
        DrawInsertKnotPreview(CurrentScreenPoint, 0, *View);
        InsertKnotPreviewShown = true;
    }
    UpdateCursor();
}

// ---- Subclass operations: the base moves nothing ----

void TGeoDraggable::RestrictEditPlanes(TEditPlaneSet&) {}
void TGeoDraggable::AdjustEditPlane(TEditPlane&, TEditPlaneSet) {}
void TGeoDraggable::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {}
void TGeoDraggable::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {}
void TGeoDraggable::EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {}
void TGeoDraggable::InsertPointClick(TPoint, TShiftState, IGraphics&) {}
void TGeoDraggable::DrawInsertPointPreview(TPoint, TShiftState, IGraphics&) {}
void TGeoDraggable::EraseInsertPointPreview(TPoint, TShiftState, IGraphics&) {}
void TGeoDraggable::InsertKnotClick(TPoint, TShiftState, IGraphics&) {}
void TGeoDraggable::DrawInsertKnotPreview(TPoint, TShiftState, IGraphics&) {}
void TGeoDraggable::EraseInsertKnotPreview(TPoint, TShiftState, IGraphics&) {}

}  // namespace sarnova
