#include "document/GDraggable.h"

#include <cmath>

#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/Polyline.h"
#include "foundation/EditPlaneSets.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
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

TGeoDraggable::TEditState& TGeoDraggable::Edit() {
    if (TSubclassPart* Made = FindPart(TPartSlot::Edit)) return static_cast<TEditState&>(*Made);
    return static_cast<TEditState&>(KeepPart(TPartSlot::Edit, std::make_unique<TEditState>()));
}

const TGeoDraggable::TEditState& TGeoDraggable::EditState() const {
    static const TEditState Fresh;
    const TSubclassPart* Made = FindPart(TPartSlot::Edit);
    return Made ? static_cast<const TEditState&>(*Made) : Fresh;
}

TGeoDraggable::TGeoDraggable() {
    SetCapabilities(GetCapabilities() | cpPointEditing | cpKeys | cpEdit3D | cpGridSnap | cpObjectSnap);
}

TGeoDraggable::~TGeoDraggable() { DropPart(TPartSlot::Edit); }

const char* TGeoDraggable::HintText() const {
    return "Left Click to Select, Shift to Select by region, Ctrl to add to add to previous selection";
}

void TGeoDraggable::Attach(IOpenGLView& AView) {
    Edit().View = &AView;
    AView.DoHintInformation(HintText());
}

bool TGeoDraggable::Detach(IOpenGLView& AView) {
    const bool WasDragging = (State & gsDragging) != 0;
    // An entity left in a drag or key edit would never apply its changes again, and a view that let
    // go may be gone before the next call.
    State &= static_cast<std::uint16_t>(~(gsDragging | gsKeyMoving | gsAxisLock | gsInsertPoint | gsInsertKnot));
    if (auto* Made = static_cast<TEditState*>(FindPart(TPartSlot::Edit))) {
        Made->InsertPointPreviewShown = Made->InsertKnotPreviewShown = false;
        Made->View = nullptr;
    }
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
    const TEditState& E = EditState();
    const TGeometryList* List = GetOwnerList();
    return List != nullptr && (List->GetProjectOptions() & poObjectSnap) && HasCapability(cpObjectSnap) &&
           !E.SnapCancelled;
}

// ---- Edit planes ----

void TGeoDraggable::ChooseEditPlane() {
    TEditState& E = Edit();
    if (GetView() == nullptr) return;
    ICamera& Camera = GetView()->GetCamera();
    TEditPlaneSet Allowed = Camera.FacingAxisPlanes();
    RestrictEditPlanes(Allowed);
    E.AllowedEditPlanes = Allowed;
    TEditPlane Plane = E.ChosenEditPlane;
    if (Allowed != 0 && !EditPlaneAllowed(Plane.Kind, Allowed)) {
        Plane.Kind = Camera.NearestAxisPlaneCode();
        StepEditPlane(Plane, Allowed, true);
    }
    AdjustEditPlane(Plane, Allowed);
    SetEditPlane(Plane);
}

void TGeoDraggable::SetEditPlane(const TEditPlane& Plane) {
    TEditState& E = Edit();
    E.ChosenEditPlane = Plane;
    if (!EditPlaneAllowed(E.ChosenEditPlane.Kind, E.AllowedEditPlanes) ||
        !EditPlaneAllowed(E.EffectiveEditPlane.Kind, E.AllowedEditPlanes))
        E.EffectiveEditPlane = E.ChosenEditPlane;
}

void TGeoDraggable::UseViewPlane() {
    TEditState& E = Edit();
    E.AllowedEditPlanes = Only(epView);
    E.ChosenEditPlane.Kind = epView;
    SetEditPlane(E.ChosenEditPlane);
}

void TGeoDraggable::NextEditPlane() {
    TEditState& E = Edit();
    if (E.AllowedEditPlanes == 0) return;
    StepEditPlane(E.ChosenEditPlane, E.AllowedEditPlanes, false);
    E.EffectiveEditPlane = E.ChosenEditPlane;
}

TCursor TGeoDraggable::EditPlaneCursor() {
    const TEditState& E = EditState();
    if (GetView() == nullptr) return crDefault;
    ChooseEditPlane();
    if (E.ChosenEditPlane.Kind != E.EffectiveEditPlane.Kind) return crDefault;
    if (GetView()->GetProjection() == cmParallel && GetView()->GetCamera().ViewDirectionCode() < 3) return crDefault;
    switch (E.ChosenEditPlane.Kind) {
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
    if (GetView() == nullptr || GetView()->GetInteractionMode() != imUser) return;
    TCursor Cursor = crDefault;
    if (State & gsInsertPoint)
        Cursor = crInsertPoint;
    else if (State & gsDragging)
        Cursor = crDefault;
    else if (Editing3D())
        Cursor = EditPlaneCursor();
    if (Cursor != GetView()->GetCursor()) GetView()->SetCursor(Cursor);
}

void TGeoDraggable::UpdateHint() {
    const TEditState& E = EditState();
    if (GetView() == nullptr) return;
    if (E.Snapped && GetSnapTarget() != nullptr) {
        TGeometry& Target = *GetSnapTarget();
        GetView()->DoHintInformation("Snapping to " + Target.GetDescription() + ":" + Target.GetName());
        return;
    }
    std::string Hint = "Ctrl to lock manipulation in X/Y/Z";
    if (ObjectSnapping()) Hint += ", ESC to cancel Snap";
    if (Editing3D())
        Hint += ", Available Edit Planes  " + EditConstraintSetText(E.AllowedEditPlanes) + ", Tab to change";
    GetView()->DoHintInformation(Hint);
}

void TGeoDraggable::ShowEditMarker(const TMVector& Point) {
    const TEditState& E = EditState();
    if (GetView() != nullptr && !HasCapability(cpNoEditMarker)) GetView()->ShowEditMarker(Point, E.EffectiveEditPlane);
}

void TGeoDraggable::HideMarkers() {
    if (GetView() == nullptr) return;
    GetView()->HideEditMarker();
    GetView()->HideSnapMarker();
}

void TGeoDraggable::RedrawSnapTarget(IGraphics& AView) {
    if (TGeometry* Target = GetSnapTarget(); Target != nullptr && Target != this) Target->DrawEntity(AView);
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
    TEditState& E = Edit();
    if (Button != mbLeft) return;
    if (State & (gsInsertPoint | gsInsertKnot)) {
        PickClick(AView, Shift, {X, Y});
        return;
    }
    if ((State & gsKeyMoving) || GetView() == nullptr) return;
    State |= gsDragging;
    E.SnapCancelled = false;
    E.SnapTarget.SetGeometry(nullptr);
    StartDrag(AView, {X, Y});
    UpdateHint();
    BeginChange();
    ShowEditMarker(E.BasePoint);
    UpdateCursor();
    BeginDrag(E.HandlePoint, E.BasePoint, AView, Shift, ZeroVector);
}

void TGeoDraggable::StartDrag(IGraphics& AView, TPoint Mouse) {
    TEditState& E = Edit();
    E.ClickPoint = E.LastMouse = Mouse;
    E.GrabbedIndex = NearestSelectedPoint(AView, Mouse);
    E.BasePoint = E.GrabbedIndex >= 0 ? PointInfo(E.GrabbedIndex, &AView).GetPoint() : ZeroVector;
    E.HandlePoint = AView.WorldToScreenVector(E.BasePoint);
    E.GrabOffset = {E.HandlePoint.X - E.ClickPoint.X, E.HandlePoint.Y - E.ClickPoint.Y};
    if (Editing3D())
        ChooseEditPlane();
    else
        UseViewPlane();
}

void TGeoDraggable::TrackDrag(IGraphics& AView, TPoint Mouse, TShiftState Shift) {
    TEditState& E = Edit();
    E.LastMouse = Mouse;
    E.EffectiveEditPlane = E.ChosenEditPlane;
    // The handle stays under the cursor where it was grabbed.
    const TPoint Target{Mouse.X + E.GrabOffset.X, Mouse.Y + E.GrabOffset.Y};
    ICamera& Camera = GetView()->GetCamera();
    if (Editing3D()) {
        if (Shift & ssCtrl) {
            State |= gsAxisLock;
            LockToNearestAxis(AView, Target);
        } else {
            State &= static_cast<std::uint16_t>(~gsAxisLock);
        }
        E.CurrentPoint = Camera.ScreenToWorldEditConstraint(E.BasePoint, Target, E.EffectiveEditPlane);
    } else {
        E.CurrentPoint = Camera.ScreenToWorldConstrained(E.BasePoint, Target, epView);
    }
    E.CurrentScreenPoint = AView.WorldToScreenVector(E.CurrentPoint);
    SnapPoint(AView, E.CurrentScreenPoint, E.CurrentPoint);
}

void TGeoDraggable::LockToNearestAxis(IGraphics& AView, TPoint Pixel) {
    TEditState& E = Edit();
    double Best = HugeValue;
    const TEditPlaneKind Chosen = E.ChosenEditPlane.Kind;
    if (Chosen == epXY || Chosen == epYZ || Chosen == epZX) {
        const TEditPlaneKind Axes[] = {epAlongX, epAlongY, epAlongZ};
        for (TEditPlaneKind Axis : Axes) {
            // Each plane offers the two axes lying in it.
            const bool InPlane = (Axis == epAlongX && Chosen != epYZ) || (Axis == epAlongY && Chosen != epZX) ||
                                 (Axis == epAlongZ && Chosen != epXY);
            if (!InPlane) continue;
            const TMVector P = GetView()->GetCamera().ScreenToWorldConstrained(E.BasePoint, Pixel, Axis);
            const double D = Distance(AView.WorldToScreenVector(P), Pixel);
            if (D < Best) {
                Best = D;
                E.EffectiveEditPlane.Kind = Axis;
            }
        }
    } else if (Chosen == epInPlane) {
        const TMPlane Plane = PlaneFromNormalAndPoint(E.EffectiveEditPlane.Plane.Normal, E.BasePoint);
        const TMLine Ray = AView.ScreenToRay(Pixel.X, Pixel.Y);
        const TMVector Axes[] = {XAxisVector, YAxisVector, ZAxisVector};
        const double Components[] = {Plane.Normal.X, Plane.Normal.Y, Plane.Normal.Z};
        for (int I = 0; I < 3; ++I) {
            if (!(std::fabs(Components[I]) < 1 - 0.0001)) continue;
            const TMLine Line = IntersectionOfTwoPlanes(Plane, PlaneFromNormalAndPoint(Axes[I], E.BasePoint));
            TMVector P;
            try {
                P = PointOnLineClosestToLine(Line, Ray);
            } catch (const EError&) {
                continue;  // seen end on, the line offers no point under the pixel
            }
            const double D = Distance(AView.WorldToScreenVector(P), Pixel);
            if (D < Best) {
                Best = D;
                E.EffectiveEditPlane.Kind = epAlongVector;
                E.EffectiveEditPlane.Direction = Line.Direction;
            }
        }
    }
}

void TGeoDraggable::MouseMove(IGraphics& AView, TShiftState Shift, int X, int Y) {
    TEditState& E = Edit();
    if ((State & gsDragging) && GetView() != nullptr) {
        Undraw();
        RedrawSnapTarget(AView);
        TrackDrag(AView, {X, Y}, Shift);
        const TMVector Offset = VectorFromTo(E.BasePoint, E.CurrentPoint);
        ShowEditMarker(E.CurrentPoint);
        UpdateCursor();
        GetView()->DrawGrid();
        Drag(E.CurrentScreenPoint, E.CurrentPoint, AView, Shift, Offset);
        Redraw();
        if (E.Snapped)
            GetView()->ShowSnapMarker(E.CurrentPoint, E.SnapMarkerKind);
        else
            GetView()->HideSnapMarker();
    } else if (State & (gsInsertPoint | gsInsertKnot)) {
        const bool Knot = (State & gsInsertPoint) == 0;
        bool& Shown = Knot ? E.InsertKnotPreviewShown : E.InsertPointPreviewShown;
        if (Shown) {
            if (Knot)
                EraseInsertKnotPreview(E.CurrentScreenPoint, Shift, AView);
            else
                EraseInsertPointPreview(E.CurrentScreenPoint, Shift, AView);
        }
        E.Snapped = false;
        E.SnapTarget.SetGeometry(nullptr);
        E.CurrentScreenPoint = {X, Y};
        E.CurrentPoint = AView.ScreenToWorld(X, Y);
        if (Knot)
            DrawInsertKnotPreview(E.CurrentScreenPoint, Shift, AView);
        else
            DrawInsertPointPreview(E.CurrentScreenPoint, Shift, AView);
        Shown = true;
    } else {
        E.CurrentScreenPoint = {X, Y};
        E.CurrentPoint = AView.ScreenToWorld(X, Y);
    }
    UpdateHint();
}

void TGeoDraggable::MouseUp(IGraphics& AView, TMouseButton, TShiftState Shift, int X, int Y) {
    TEditState& E = Edit();
    if (!(State & gsDragging) || GetView() == nullptr) return;
    State &= static_cast<std::uint16_t>(~gsDragging);
    E.EffectiveEditPlane = E.ChosenEditPlane;
    HideMarkers();
    UpdateCursor();
    GetView()->DrawGrid();
    RedrawSnapTarget(AView);
    // The release point is snapped and locked like a move.
    TrackDrag(AView, {X, Y}, Shift);
    EndDrag(E.CurrentScreenPoint, E.CurrentPoint, AView, Shift, VectorFromTo(E.BasePoint, E.CurrentPoint));
    GetView()->DoHintInformation(HintText());
    MarkChanged();
    InvalidateViews();
}

void TGeoDraggable::GetCursorLocation(IGraphics&, TPoint, TMVector& Location) {
    const TEditState& E = EditState();
    if (State & (gsDragging | gsKeyMoving)) Location = E.CurrentPoint;
}

// ---- Snapping ----

void TGeoDraggable::SnapPoint(IGraphics& AView, TPoint& ScreenPoint, TMVector& Point) {
    TEditState& E = Edit();
    E.Snapped = false;
    E.SnapTarget.SetGeometry(nullptr);
    double GridDistance = HugeValue;
    double ObjectDistance = HugeValue;
    const bool Grid = GridSnapping() && GetView() != nullptr;
    const bool Objects = ObjectSnapping();
    TMVector GridPoint;
    TMVector ObjectPoint;
    if (Grid) {
        GridPoint = GetView()->GetGrid().SnapPointConstrained(Point, E.EffectiveEditPlane.Kind);
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
        E.Snapped = true;
    }
    ScreenPoint = AView.WorldToScreenVector(Point);
}

bool TGeoDraggable::SnapToObjects(IGraphics& AView, TPoint ScreenPoint, TMVector& Point) {
    TEditState& E = Edit();
    TObjectSnap Found;
    if (!FindObjectSnap(AView, ScreenPoint, *this, Point, [this](TGeometrySnapInfo& R) { CollectSnapPoints(R); },
                        Found)) {
        E.SnapTarget.SetGeometry(nullptr);
        return false;
    }
    Point = Found.Point;
    E.SnapTarget.SetGeometry(Found.Target);
    E.SnapMarkerKind = Found.MarkerKind;
    return true;
}

void TGeoDraggable::CollectSnapPoints(TGeometrySnapInfo& Request) {
    if (GetOwnerList() != nullptr) GetOwnerList()->CollectSnapPoints(Request);
}

void TGeoDraggable::CancelSnap() { Edit().SnapCancelled = true; }

// ---- Keys ----

void TGeoDraggable::MoveAtLastMouse(TShiftState Shift) {
    const TEditState& E = EditState();
    if (GetView() != nullptr) MouseMove(*GetView(), Shift, E.LastMouse.X, E.LastMouse.Y);
}

void TGeoDraggable::KeyDown(TKeyCode& Key, TShiftState Shift) {
    switch (Key) {
        case VK_TAB:
            if (GetView() == nullptr) return;
            GetView()->HideEditMarker();
            GetView()->PresentIfDrawn();
            NextEditPlane();
            MoveAtLastMouse(Shift);
            GetView()->PresentIfDrawn();
            UpdateHint();
            UpdateCursor();
            break;
        case VK_CONTROL:
            if ((State & gsDragging) && !(State & gsAxisLock) && GetView() != nullptr) {
                MoveAtLastMouse(Shift);
                GetView()->PresentIfDrawn();
            }
            break;
        case VK_ESCAPE:
            CancelSnap();
            if (GetView() == nullptr) return;
            MoveAtLastMouse(Shift);
            GetView()->PresentIfDrawn();
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
            if (IsArrowKey(Key) && GetView() != nullptr) {
                if (!(State & gsKeyMoving)) StartEditKey(Key, Shift);
                ContinueEditKey(Key, Shift);
            }
            break;
    }
}

void TGeoDraggable::KeyUp(TKeyCode& Key, TShiftState Shift) {
    switch (Key) {
        case VK_CONTROL:
            if ((State & gsAxisLock) && GetView() != nullptr) {
                MoveAtLastMouse(Shift);
                GetView()->PresentIfDrawn();
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
    TEditState& E = Edit();
    if (State & gsKeyMoving) throw EError("TGeoDraggable.StartEditKey - Key already pressed");
    State |= gsKeyMoving;
    E.KeyStepsX = E.KeyStepsY = 0;
    SetupKeyAxes();
    E.HandlePoint = GetView()->GetMousePosition();
    E.GrabbedIndex = NearestSelectedPoint(*GetView(), E.HandlePoint);
    E.BasePoint = E.GrabbedIndex >= 0 ? PointInfo(E.GrabbedIndex, GetView()).GetPoint() : ZeroVector;
    // One change bracket, and so one undo snapshot, for the whole key edit.
    BeginChange();
    ShowEditMarker(E.BasePoint);
    BeginDrag(E.HandlePoint, E.BasePoint, *GetView(), Shift, ZeroVector);
}

void TGeoDraggable::SetupKeyAxes() {
    TEditState& E = Edit();
    ICamera& Camera = GetView()->GetCamera();
    TMVector Right = VectorNormalise(Camera.RightVector());
    TMVector Up = VectorNormalise(Camera.UpVector());
    if (Editing3D()) {
        ChooseEditPlane();
        const TEditPlane& Plane = E.ChosenEditPlane;
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
    E.KeyAxisX = VectorScale(Right, Nudge);
    E.KeyAxisY = VectorScale(Up, Nudge);
}

TMVector TGeoDraggable::KeyEditPosition() const {
    const TEditState& E = EditState();
    return VectorSum3(E.BasePoint, VectorScale(E.KeyAxisX, E.KeyStepsX), VectorScale(E.KeyAxisY, E.KeyStepsY));
}

void TGeoDraggable::ContinueEditKey(TKeyCode Key, TShiftState Shift) {
    TEditState& E = Edit();
    if (!(State & gsKeyMoving)) return;
    Undraw();
    if (Key == VK_LEFT) --E.KeyStepsX;
    if (Key == VK_RIGHT) ++E.KeyStepsX;
    if (Key == VK_UP) ++E.KeyStepsY;
    if (Key == VK_DOWN) --E.KeyStepsY;
    E.CurrentPoint = KeyEditPosition();
    E.CurrentScreenPoint = GetView()->WorldToScreenVector(E.CurrentPoint);
    GetView()->DrawGrid();
    ShowEditMarker(E.CurrentPoint);
    Drag(E.CurrentScreenPoint, E.CurrentPoint, *GetView(), Shift, VectorFromTo(E.BasePoint, E.CurrentPoint));
    MarkChanged();
    Redraw();
}

void TGeoDraggable::EndEditKey(TShiftState Shift) {
    TEditState& E = Edit();
    if (!(State & gsKeyMoving) || GetView() == nullptr) return;
    E.CurrentPoint = KeyEditPosition();
    E.CurrentScreenPoint = GetView()->WorldToScreenVector(E.CurrentPoint);
    EndDrag(E.CurrentScreenPoint, E.CurrentPoint, *GetView(), Shift, VectorFromTo(E.BasePoint, E.CurrentPoint));
    State &= static_cast<std::uint16_t>(~gsKeyMoving);
    GetView()->HideEditMarker();
    MarkChanged();
    InvalidateViews();
}

// ---- The pick modes ----

void TGeoDraggable::EnterPickMode(TKeyCode Key, TShiftState Shift) {
    TEditState& E = Edit();
    const bool Knot = Key == 'S';
    if (!HasCapability(Knot ? cpInsertKnotKey : cpInsertPointKey)) return;
    if (State & (gsInsertPoint | gsInsertKnot | gsDragging | gsKeyMoving)) return;
    if (Shift != 0 || GetView() == nullptr || GetView()->GetInteractionMode() != imUser) return;
    State |= Knot ? gsInsertKnot : gsInsertPoint;
    UpdateCursor();
    E.CurrentScreenPoint = GetView()->GetMousePosition();
    if (Knot) {
        DrawInsertKnotPreview(E.CurrentScreenPoint, Shift, *GetView());
        E.InsertKnotPreviewShown = true;
    } else {
        DrawInsertPointPreview(E.CurrentScreenPoint, Shift, *GetView());
        E.InsertPointPreviewShown = true;
    }
}

void TGeoDraggable::LeavePickMode(TKeyCode Key, TShiftState Shift) {
    TEditState& E = Edit();
    const bool Knot = Key == 'S';
    const std::uint16_t Mode = Knot ? gsInsertKnot : gsInsertPoint;
    if (!(State & Mode)) return;
    State &= static_cast<std::uint16_t>(~Mode);
    UpdateCursor();
    if (GetView() != nullptr) {
        if (Knot)
            EraseInsertKnotPreview(E.CurrentScreenPoint, Shift, *GetView());
        else
            EraseInsertPointPreview(E.CurrentScreenPoint, Shift, *GetView());
    }
    (Knot ? E.InsertKnotPreviewShown : E.InsertPointPreviewShown) = false;
    Redraw();
}

void TGeoDraggable::PickClick(IGraphics& AView, TShiftState Shift, TPoint Click) {
    TEditState& E = Edit();
    E.HandlePoint = Click;
    if (State & gsInsertPoint) {
        EraseInsertPointPreview(E.HandlePoint, Shift, AView);
        InsertPointClick(Click, Shift, AView);
        DrawInsertPointPreview(E.HandlePoint, Shift, AView);
    } else {
        EraseInsertKnotPreview(E.HandlePoint, Shift, AView);
        InsertKnotClick(Click, Shift, AView);
        DrawInsertKnotPreview(E.HandlePoint, Shift, AView);
    }
    MarkChanged();
}

void TGeoDraggable::HideFeedback() {
    TEditState& E = Edit();
    if (GetView() == nullptr) return;
    if (State & gsInsertPoint) {
        EraseInsertPointPreview(E.CurrentScreenPoint, 0, *GetView());
        E.InsertPointPreviewShown = false;
    } else if (State & gsInsertKnot) {
        EraseInsertKnotPreview(E.CurrentScreenPoint, 0, *GetView());
        E.InsertKnotPreviewShown = false;
    }
}

void TGeoDraggable::ShowFeedback() {
    TEditState& E = Edit();
    if (GetView() == nullptr) return;
    if (State & gsInsertPoint) {
        DrawInsertPointPreview(E.CurrentScreenPoint, 0, *GetView());
        E.InsertPointPreviewShown = true;
    } else if (State & gsInsertKnot) {
        DrawInsertKnotPreview(E.CurrentScreenPoint, 0, *GetView());
        E.InsertKnotPreviewShown = true;
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
