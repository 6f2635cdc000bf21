#include "entities/GPlane.h"

#include <cmath>

#include "document/GCurve.h"
#include "document/GeoFace.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/Arc.h"
#include "foundation/Box.h"
#include "foundation/TextUtils.h"
#include "foundation/GeomBox.h"
#include "foundation/RenderTarget.h"
#include "foundation/TextFile.h"
#include "foundation/VkMathsIntersect.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

constexpr double Pi = 3.14159265358979323846;
// Points of the outline along each side of the displayed rectangle.
constexpr int OutlineSteps = 25;
// The box a plane is shown in while the document has no extents.
const TMBox DefaultDisplayBox = MakeBox(-10, -10, -10, 10, 10, 10);

// The popup items whose state follows the plane.
const char* const CurveIntersectionsCaption = "Curve Intersections";
const char* const CurveThroughCaption = "Curve Through Intersections";
const char* const SortCaptions[] = {"Sort in X", "Sort in Y", "Sort in Z"};
const char* const PolylineCaption = "Polyline from Curve Intersection Points";
const char* const BSplineCaption = "BSpline from Curve Intersection Points";
const char* const CubicCaption = "Cubic Spline from Curve Intersection Points";
const char* const CubicBSplineCaption = "Cubic Interpolating BSpline from Curve Intersection Points";
const char* const ShowCurveCaption = "Show Curve Intersections";
const char* const ShowSurfaceCaption = "Show Surface Intersections";
const char* const ShowNormalCaption = "Show Normal";
const char* const ShowAxesCaption = "Show Plane Axes";

const char* BoolText(bool Value) { return Value ? "TRUE" : "FALSE"; }

bool IsAxisMode(TGeoPlaneMode Mode) { return Mode <= pmZ; }
bool IsTurnMode(TGeoPlaneMode Mode) { return Mode >= pmRoll && Mode <= pmYaw; }

// World units per pixel of View at P, measured across the view at P's depth.
double WorldPerPixel(IGraphics& View, const TMVector& P) {
    const TPoint A = View.WorldToScreenVector(P);
    const TMLine R0 = View.ScreenToRayPoint(A);
    const TMLine R1 = View.ScreenToRayPoint({A.X + 100, A.Y});
    if (VectorLength(R0.Direction) == 0 || VectorLength(R1.Direction) == 0) return 0;
    return VectorDistance(PointOnLineClosestToPoint(R0, P), PointOnLineClosestToPoint(R1, P)) / 100;
}

// The point of Line nearest to Ray; Fallback when the two run parallel (the line seen end on).
TMVector ClosestOnLineToRay(const TMLine& Line, const TMLine& Ray, const TMVector& Fallback) {
    const double AA = VectorDot(Line.Direction, Line.Direction);
    const double BB = VectorDot(Ray.Direction, Ray.Direction);
    const double AB = VectorDot(Line.Direction, Ray.Direction);
    if (std::fabs(AA * BB - AB * AB) < 1e-9) return Fallback;
    return PointOnLineClosestToLine(Line, Ray);
}

// The plane drawn shaded in the entity's colour.
class TColouredPlane : public IRenderable {
public:
    TColouredPlane(TPlane& APlane, TColor AColour) : Plane(APlane), Colour(AColour) {}
    TMBox GetBounds() override { return Plane.GetBounds(); }
    void Render(IGraphics& View) override {
        IRenderTarget* Target = RenderTargetOf(View);
        if (Target == nullptr) return;
        Target->Color((Colour & 0xFF) / 255.0, ((Colour >> 8) & 0xFF) / 255.0, ((Colour >> 16) & 0xFF) / 255.0);
        Plane.Render(*Target);
    }

private:
    TPlane& Plane;
    TColor Colour;
};

}  // namespace

TMVector PlaneModeAxis(TGeoPlaneMode Mode) {
    switch (Mode) {
        case pmX:
        case pmRoll: return XAxisVector;
        case pmY:
        case pmPitch: return YAxisVector;
        case pmZ:
        case pmYaw: return ZAxisVector;
        default: return ZeroVector;
    }
}

// ---- Creation ----

TGeoPlane::TGeoPlane()
    : FPlane(std::make_unique<TPlane>()), FOutline(std::make_unique<TPolyline>()),
      FHandles(std::make_unique<TPolyline>()), FCurveIntersections(std::make_unique<TPolyline>()),
      FSurfaceIntersections(std::make_unique<TPolylineList>()) {
    FPlane->SetExtents(DefaultDisplayBox);
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
}

TGeoPlane::~TGeoPlane() = default;

void TGeoPlane::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    TMenuItem& Item = Menu.Add(NewGMenuItem("Plane", &List, [](TMenuItem& Sender) {
        TGeometryList* Document = GeometryListOf(Sender);
        if (Document == nullptr) return;
        TGeometry* Plane = Document->Add(std::make_unique<TGeoPlane>());
        Document->SelectOnly(Plane);
    }));
    Item.ImageIndex = GetImageIndex();
}

// ---- Position ----

void TGeoPlane::SetPlaneMode(TGeoPlaneMode Value) {
    if (Value == Mode || Value > pmThreePoints) return;
    BeginChange();
    Mode = Value;
    const TMVector N = FPlane->Normal();
    const TMVector A = PlaneModeAxis(Value);
    if (IsAxisMode(Value)) {
        FPlane->SetNormal(A);
    } else if (IsTurnMode(Value)) {
        const TMVector Across = VectorPerpendicularPart(A, N);
        // A normal along the turning axis has nothing across it to keep.
        if (VectorLength(Across) < 1e-4)
            FPlane->SetNormal(Value == pmYaw ? YAxisVector : ZAxisVector);
        else
            FPlane->SetNormal(VectorNormalise(Across));
    } else {
        const TMVector C = VectorScale(N, FPlane->Offset());
        TMVector U, V;
        PlaneAxes(N, U, V);
        while (FHandles->Count() > 3) FHandles->Delete(FHandles->Count() - 1);
        FHandles->Point(0)->SetVector(C);
        FHandles->Point(1)->SetVector(VectorAdd(C, U));
        FHandles->Point(2)->SetVector(VectorAdd(C, V));
    }
    UpdateOutline();
    EndChange();
    InvalidateViews();
}

double TGeoPlane::GetInclination() const {
    const TMVector& N = FPlane->Normal();
    switch (Mode) {
        case pmRoll: return Angle2D(N.Y, N.Z);
        case pmPitch: return Angle2D(N.X, N.Z);
        case pmYaw: return Angle2D(N.X, N.Y);
        default: return 0;
    }
}

void TGeoPlane::SetInclination(double Angle) {
    if (!IsTurnMode(Mode) || !std::isfinite(Angle) || Angle == GetInclination()) return;
    BeginChange();
    // Far-off turns are brought near first, so that the steps of pi below stay few.
    if (std::fabs(Angle) > 1e6) Angle = std::remainder(Angle, Pi);
    while (Angle < Pi / 2) Angle += Pi;
    while (Angle > Pi / 2) Angle -= Pi;
    const double S = std::sin(Angle);
    const double C = std::cos(Angle);
    FPlane->SetNormal(Mode == pmRoll ? TMVector{0, S, C} : Mode == pmPitch ? TMVector{S, 0, C} : TMVector{S, C, 0});
    FPlane->SetOffset(VectorDot(FPlane->Normal(), FHandles->Point(0)->Vector()));
    EndChange();
    InvalidateViews();
}

void TGeoPlane::SetOffset(double Value) {
    if (Value == FPlane->Offset()) return;
    BeginChange();
    FPlane->SetOffset(Value);
    EndChange();
    InvalidateViews();
}

namespace {

void SetCoordinate(TRPoint& P, int Axis, double Value) { (Axis == 0 ? P.X : Axis == 1 ? P.Y : P.Z) = Value; }

}  // namespace

void TGeoPlane::SetLocationCoordinate(int Axis, double Value) {
    if (Axis < 0 || Axis > 2) return;
    BeginChange();
    TRPoint& Location = *FHandles->Point(0);
    SetCoordinate(Location, Axis, Value);
    FPlane->SetOffset(VectorDot(FPlane->Normal(), Location.Vector()));
    EndChange();
    InvalidateViews();
}

void TGeoPlane::SetHandleCoordinate(int Index, int Axis, double Value) {
    if (Index < 0 || Index > 2 || Axis < 0 || Axis > 2) return;
    BeginChange();
    Undraw();
    SetCoordinate(*FHandles->Point(Index), Axis, Value);
    PlaneFromHandles();
    EndChange();
    InvalidateViews();
}

void TGeoPlane::SelectOnlyHandle(int Index) {
    for (int I = 0; I < FHandles->Count(); ++I) FHandles->Point(I)->Marked = I == Index;
    Redraw();
}

// ---- Display switches ----

template <class T>
void TGeoPlane::SetSwitch(T& Field, T Value) {
    if (Field == Value) return;
    // The switches are kept in the block: a change is an undoable step like any other.
    BeginChange();
    Undraw();
    Field = Value;
    EndChange();
    Redraw();
}

void TGeoPlane::SetSortAxis(std::uint8_t Value) {
    if (Value <= 2) SetSwitch(SortAxis, Value);
}
void TGeoPlane::SetShowCurveIntersections(bool Value) { SetSwitch(ShowCurveIntersections, Value); }
void TGeoPlane::SetShowIntersectionCurve(bool Value) { SetSwitch(ShowIntersectionCurve, Value); }
void TGeoPlane::SetShowSurfaceIntersections(bool Value) { SetSwitch(ShowSurfaceIntersections, Value); }
void TGeoPlane::SetShowNormal(bool Value) { SetSwitch(ShowNormal, Value); }
void TGeoPlane::SetShowAxes(bool Value) { SetSwitch(ShowAxes, Value); }

// ---- Derived shapes ----

bool TGeoPlane::Corners(std::array<TMVector, 4>& C) const {
    // A plane read without a normal has no rectangle to show.
    if (VectorLength(FPlane->Normal()) == 0) return false;
    C = PlaneBoxRectangle(FPlane->Plane(), FPlane->Extents());
    return true;
}

void TGeoPlane::FillOutline() {
    FOutline->Clear();
    std::array<TMVector, 4> C;
    if (!Corners(C)) return;
    const auto Side = [&](const TMVector& From, const TMVector& To, int First, int Last) {
        for (int I = First; I <= Last; ++I)
            FOutline->AddVector(VectorLerp(From, To, static_cast<double>(I) / OutlineSteps));
    };
    Side(C[1], C[2], 0, OutlineSteps);
    Side(C[2], C[3], 1, OutlineSteps);
    Side(C[3], C[0], 1, OutlineSteps);
    Side(C[0], C[1], 1, OutlineSteps - 1);
}

void TGeoPlane::UpdateOutline(IGraphics* View) {
    FillOutline();
    if (!Editing()) return;
    std::array<TMVector, 4> C;
    if (!Corners(C)) return;
    const TMPlane& P = FPlane->Plane();
    const int Wanted = Mode == pmThreePoints || IsTurnMode(Mode) ? 3 : 1;
    while (FHandles->Count() > Wanted) FHandles->Delete(FHandles->Count() - 1);
    TRPoint& Location = *FHandles->Point(0);
    if (IsAxisMode(Mode)) {
        Location.SetVector(VectorMidpoint(C[0], C[2]));
    } else if (IsTurnMode(Mode)) {
        Location.SetVector(PointOnPlaneClosestToPoint(P, Location.Vector()));
        if (View == nullptr) View = GetView();
        // Without a view the arms are one unit long.
        const double L = View != nullptr ? 100 * WorldPerPixel(*View, Location.Vector()) : 1.0;
        const TMVector D = VectorNormalise(VectorCross(P.Normal, PlaneModeAxis(Mode)));
        const bool Dragging = (GetState() & gsDragging) != 0;
        for (int K = 1; K <= 2; ++K) {
            TRPoint& Arm = *FHandles->Point(K);
            if (Dragging && Arm.Marked) continue;
            Arm.SetVector(VectorAdd(Location.Vector(), VectorScale(D, K == 1 ? L : -L)));
        }
    } else {
        for (int K = 0; K < 3; ++K) {
            TRPoint& H = *FHandles->Point(K);
            H.SetVector(PointOnPlaneClosestToPoint(P, H.Vector()));
        }
    }
}

void TGeoPlane::InitHandles() {
    if (Mode == pmThreePoints) {
        const TMVector N = FPlane->Normal();
        const TMVector C = VectorScale(N, FPlane->Offset());
        TMVector U, V;
        PlaneAxes(N, U, V);
        FHandles->Point(0)->SetVector(C);
        FHandles->Point(1)->SetVector(VectorAdd(C, U));
        FHandles->Point(2)->SetVector(VectorAdd(C, V));
        return;
    }
    std::array<TMVector, 4> C;
    if (Corners(C)) FHandles->Point(0)->SetVector(VectorMidpoint(C[0], C[2]));
}

void TGeoPlane::PlaneFromHandles() {
    if (FHandles->Count() < 3) return;
    const TMVector A = FHandles->Point(0)->Vector();
    const TMVector B = FHandles->Point(1)->Vector();
    const TMVector C = FHandles->Point(2)->Vector();
    if (TriangleArea(A, B, C) > 0) FPlane->SetPlane(PlaneFromPoints(A, B, C));
}

void TGeoPlane::DetectPlaneMode() {
    const TMVector& N = FPlane->Normal();
    if (N.X == 0 && N.Y == 0)
        Mode = pmZ;
    else if (N.Y == 0 && N.Z == 0)
        Mode = pmX;
    else if (N.Z == 0 && N.X == 0)
        Mode = pmY;
    else if (N.X == 0)
        Mode = pmRoll;
    else if (N.Y == 0)
        Mode = pmPitch;
    else if (N.Z == 0)
        Mode = pmYaw;
    else
        Mode = pmThreePoints;
}

// ---- Picking ----

int TGeoPlane::GetPointCount() {
    if (Editing()) return FHandles->Count();
    if (FOutline->Count() == 0) FillOutline();
    return FOutline->Count();
}

TRPoint* TGeoPlane::GetPoint(int Index) {
    TPolyline& Points = Editing() ? *FHandles : *FOutline;
    return Index >= 0 && Index < Points.Count() ? Points.Point(Index) : nullptr;
}

// ---- Changes ----

void TGeoPlane::Recalculate() {
    RefreshIntersections();
    FillOutline();
    TGeoDraggable::Recalculate();
}

IPlaneFrame* TGeoPlane::PlaneFrame() const { return dynamic_cast<IPlaneFrame*>(GetFrame()); }

IGeometryFrame* TGeoPlane::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(PlaneFrameName, *this, Owner)) return Frame;
    return TGeoDraggable::CreateFrame(Owner);
}

void TGeoPlane::UpdateFrame() {
    if (IPlaneFrame* Frame = PlaneFrame())
        Frame->RefreshAll();
    else
        TGeoDraggable::UpdateFrame();
}

void TGeoPlane::Transform(const TMMatrix& M) {
    BeginChange();
    FPlane->SetPlane(MatrixTransformPlane(M, FPlane->Plane()));
    EndChange();
}

void TGeoPlane::Assign(const TGeometry& Source) {
    TGeoDraggable::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoPlane*>(&Source);
    if (Other == nullptr) return;
    FPlane->Assign(*Other->FPlane);
    Mode = Other->Mode;
    SortAxis = Other->SortAxis;
    ShowCurveIntersections = Other->ShowCurveIntersections;
    ShowNormal = Other->ShowNormal;
    ShowAxes = Other->ShowAxes;
    ShowSurfaceIntersections = Other->ShowSurfaceIntersections;
    ShowIntersectionCurve = Other->ShowIntersectionCurve;
    IntersectionsStale = true;
}

void TGeoPlane::Query(TGeometryQuery& Query) {
    if (!Query.Asks(qkPlane)) return;
    if (Query.CountOnly)
        Query.CountItem();
    else
        Query.AddReference(FPlane.get(), GetName());
}

void TGeoPlane::HandleMessage(TGeoMessage& Message) {
    TGeoDraggable::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectPlanes*>(&Message) != nullptr) {
        SetSelected(true);
        return;
    }
    const bool ListChanged = dynamic_cast<TGeoListChange*>(&Message) != nullptr;
    const bool OtherChanged = dynamic_cast<TGeoGeometryChange*>(&Message) != nullptr &&
                              dynamic_cast<TGeoPlane*>(Message.SenderGeometry) == nullptr;
    TGeometryList* List = GetOwnerList();
    if ((!ListChanged && !OtherChanged) || List == nullptr) return;
    const TMBox B = List->GetExtents();
    FPlane->SetExtents(BoxHasArea(B) ? B : DefaultDisplayBox);
    FillOutline();
    if (FHandles->Count() == 0) InitHandles();
    IntersectionsStale = true;
}

// ---- Drawing ----

void TGeoPlane::DrawNormalAndAxes(IGraphics& View) {
    if (!ShowNormal && !ShowAxes) return;
    // The arrows are sized in the pixels of a document's view.
    if (dynamic_cast<TGeometryInterface*>(GetOwnerList()) == nullptr) return;
    std::array<TMVector, 4> C;
    if (!Corners(C)) return;
    const TMVector Centre = VectorMidpoint(C[0], C[2]);
    const double Length = 30 * WorldPerPixel(View, Centre);
    const TMVector N = VectorNormalise(FPlane->Normal());
    TMVector U, V;
    PlaneAxes(N, U, V);
    struct TArrow {
        bool Shown;
        TMVector Direction;
        const char* Label;
    };
    const TArrow Arrows[] = {{ShowNormal, N, "N"}, {ShowAxes, U, "U"}, {ShowAxes, V, "V"}};
    for (const TArrow& A : Arrows)
        if (A.Shown) View.Vector(Centre, A.Direction, Length, true);
    // Each label half its width right of its arrow's tip and one line above it, at the tip's depth.
    for (const TArrow& A : Arrows) {
        if (!A.Shown) continue;
        const TMVector Tip = VectorAdd(Centre, VectorScale(A.Direction, Length));
        const TPoint Pixel = View.WorldToScreenVector(Tip);
        const TPoint At{Pixel.X + static_cast<int>(View.TextWidth(A.Label) / 2),
                        Pixel.Y - static_cast<int>(View.TextHeight(A.Label))};
        const TMLine Ray = View.ScreenToRayPoint(At);
        if (VectorLength(Ray.Direction) == 0) continue;
        const TMVector P = PointOnLineClosestToPoint(Ray, Tip);
        View.TextOut(A.Label, P.X, P.Y, P.Z);
    }
}

void TGeoPlane::DrawEditShapes(IGraphics& View, bool InColour) {
    if (!Editing() || FHandles->Count() == 0) return;
    if (InColour) View.SetLineColor(Colors().ControlPolygonColor());
    const TMVector Location = FHandles->Point(0)->Vector();
    if (IsTurnMode(Mode)) {
        const TMVector A = PlaneModeAxis(Mode);
        const double L = 100 * WorldPerPixel(View, Location);
        DrawCircle(MakeCircle(Location, A, L), View);
        View.LineVectors(VectorAdd(Location, VectorScale(A, -L)), VectorAdd(Location, VectorScale(A, L)));
    } else if (Mode == pmThreePoints && FHandles->Count() >= 3) {
        for (int K = 0; K < 3; ++K) View.LinePoints(*FHandles->Point(K), *FHandles->Point((K + 1) % 3));
    }
    for (int K = 0; K < FHandles->Count(); ++K) {
        const TRPoint& H = *FHandles->Point(K);
        if (InColour) View.SetLineColor(H.Marked ? Colors().SelectColor() : Colors().ControlPolygonColor());
        View.EditHandlePoint(H, 0);
    }
}

void TGeoPlane::DrawShapes(IGraphics& View, bool InColour) {
    if (ShowCurveIntersections) {
        if (ShowIntersectionCurve) FCurveIntersections->Draw(View);
        for (int I = 0; I < FCurveIntersections->Count(); ++I) View.EditHandlePoint(*FCurveIntersections->Point(I), 2);
    }
    if (ShowSurfaceIntersections) FSurfaceIntersections->Draw(View);
    DrawEditShapes(View, InColour);
}

void TGeoPlane::Draw(IGraphics& View) {
    if (IntersectionsStale) RefreshIntersections();
    DrawSimplified(View);
    DrawNormalAndAxes(View);
    UpdateOutline(&View);
    DrawShapes(View, true);
}

void TGeoPlane::DrawOutline(IGraphics& View) {
    DrawSimplified(View);
    DrawNormalAndAxes(View);
    DrawShapes(View, false);
}

void TGeoPlane::DrawSimplified(IGraphics& View) {
    if (VectorLength(FPlane->Normal()) != 0) FPlane->Draw(View);
}

void TGeoPlane::DrawRendered(IGraphics& View) {
    UpdateOutline(&View);
    if (GetSelected() && FOutline->Count() > 0) DrawBoxCorners(FOutline->Extents(), View);
    if (VectorLength(FPlane->Normal()) == 0) return;
    TColouredPlane Shaded(*FPlane, GetColor());
    View.RenderObject(Shaded);
}

// ---- The document file ----

void TGeoPlane::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FPlane->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName | ckColor);
    const char* const Axes[] = {"X", "Y", "Z"};
    Out.WriteLine(std::string("ShowCurveIntersections=") + BoolText(ShowCurveIntersections));
    Out.WriteLine(std::string("Sort=") + Axes[SortAxis <= 2 ? SortAxis : 0]);
    Out.WriteLine(std::string("ShowNormal=") + BoolText(ShowNormal));
    Out.WriteLine(std::string("ShowAxes=") + BoolText(ShowAxes));
    Out.WriteLine(std::string("ShowSurfaceIntersections=") + BoolText(ShowSurfaceIntersections));
    Out.WriteLine(std::string("ShowIntersectionCurve=") + BoolText(ShowIntersectionCurve));
    Out.WriteLine("");
}

void TGeoPlane::LoadFromText(TTextReader& In) {
    // A block that does not say so leaves the normal hidden, unlike a new plane.
    ShowNormal = false;
    FPlane->LoadFromText(In);
    TBlockLine Line;
    while (ReadBlockLine(In, Line)) {
        const std::string Value = UpperCase(Line.Value);
        const bool On = Value.find("TRUE") != std::string::npos;
        if (Line.Key == "NAME" || Line.Key == "COLOR")
            ReadCommonKey(*this, Line);
        else if (Line.Key == "SORT")
            SortAxis = Value.find('Y') != std::string::npos ? 1 : Value.find('Z') != std::string::npos ? 2 : 0;
        else if (Line.Key == "SHOWCURVEINTERSECTIONS")
            ShowCurveIntersections = On;
        else if (Line.Key == "SHOWNORMAL")
            ShowNormal = On;
        else if (Line.Key == "SHOWAXES")
            ShowAxes = On;
        else if (Line.Key == "SHOWSURFACEINTERSECTIONS")
            ShowSurfaceIntersections = On;
        else if (Line.Key == "SHOWINTERSECTIONCURVE")
            ShowIntersectionCurve = On;
    }
    DetectPlaneMode();
    IntersectionsStale = true;
}

// ---- Dragging ----

void TGeoPlane::RestrictEditPlanes(TEditPlaneSet& Allowed) {
    if (IsAxisMode(Mode)) Allowed = static_cast<TEditPlaneSet>(1u << (static_cast<int>(epAlongX) + static_cast<int>(Mode)));
}

void TGeoPlane::AdjustEditPlane(TEditPlane& Plane, TEditPlaneSet) {
    if (IsAxisMode(Mode)) Plane.Kind = static_cast<TEditPlaneKind>(static_cast<int>(epAlongX) + static_cast<int>(Mode));
}

void TGeoPlane::SnapPoint(IGraphics& View, TPoint& ScreenPoint, TMVector& Point) {
    TGeoDraggable::SnapPoint(View, ScreenPoint, Point);
    if (!IsAxisMode(Mode)) return;
    Point = ClosestOnLineToRay({DragOrigin, DragDirection}, View.ScreenToRayPoint(ScreenPoint), Point);
    ScreenPoint = View.WorldToScreenVector(Point);
}

void TGeoPlane::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    if (!IsAxisMode(Mode)) return;
    DragDirection = FPlane->Normal();
    DragOrigin = FHandles->Point(0)->Vector();
}

void TGeoPlane::Drag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState, const TMVector&) {
    const int K = GetGrabbedIndex();
    if (K < 0) return;
    const TMLine Ray = View.ScreenToRayPoint(ScreenPoint);
    TRPoint& Location = *FHandles->Point(0);
    if (IsAxisMode(Mode)) {
        const TMVector P = ClosestOnLineToRay({DragOrigin, DragDirection}, Ray, Point);
        FPlane->SetOffset(VectorDot(FPlane->Normal(), P));
        Location.SetVector(P);
    } else if (IsTurnMode(Mode) && K == 0) {
        // The location point carries the plane parallel to itself.
        FPlane->SetOffset(VectorDot(FPlane->Normal(), Point));
        Location.SetVector(Point);
    } else if (IsTurnMode(Mode)) {
        // An arm turns the plane about the axis through the location point.
        const TMVector A = PlaneModeAxis(Mode);
        TMVector F = PointOnLineClosestToPoint({Location.Vector(), A}, Point);
        if (VectorDistance(F, Point) > 1e-4) {
            if (VectorDistance(F, Location.Vector()) < 1e-4) F = VectorAdd(F, A);
            FPlane->SetPlane(PlaneFromPoints(Location.Vector(), F, Point));
        }
        FHandles->Point(K)->SetVector(Point);
    } else {
        FHandles->Point(K)->SetVector(Point);
        PlaneFromHandles();
    }
    if (IPlaneFrame* Frame = PlaneFrame()) Frame->RefreshPosition();
    if (ShowCurveIntersections) CalculateCurveIntersections();
}

// ---- Menus ----

void TGeoPlane::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(CurveIntersectionsCaption, {});
    AddSubMenuItem(CurveThroughCaption, [this](TMenuItem&) { SetShowIntersectionCurve(!ShowIntersectionCurve); });
    AddSubMenuItem("-", {});
    for (std::uint8_t Axis = 0; Axis < 3; ++Axis)
        AddSubMenuItem(SortCaptions[Axis], [this, Axis](TMenuItem&) { SetSortAxis(Axis); });
    AddMenuItem("-", {});
    AddMenuItem(PolylineCaption, [this](TMenuItem&) { PolylineFromIntersections(); });
    AddMenuItem(BSplineCaption, [this](TMenuItem&) { BSplineFromIntersections(); });
    AddMenuItem(CubicCaption, [this](TMenuItem&) { CubicSplineFromIntersections(); });
    AddMenuItem(CubicBSplineCaption, [this](TMenuItem&) { CubicSplineFromIntersections(); });
    AddMenuItem("-", {});
    AddMenuItem(ShowCurveCaption, [this](TMenuItem&) { SetShowCurveIntersections(!ShowCurveIntersections); });
    AddMenuItem(ShowSurfaceCaption, [this](TMenuItem&) { SetShowSurfaceIntersections(!ShowSurfaceIntersections); });
    AddMenuItem(ShowNormalCaption, [this](TMenuItem&) { SetShowNormal(!ShowNormal); });
    AddMenuItem(ShowAxesCaption, [this](TMenuItem&) { SetShowAxes(!ShowAxes); });
    UpdateMenuItems(Root);
}

void TGeoPlane::UpdateMenuItems(TMenuItem& Root) {
    if (IntersectionsStale) RefreshIntersections();
    const auto Set = [](TMenuItem* Menu, const char* Caption, bool Enabled, bool Checked) {
        if (Menu == nullptr) return;
        if (TMenuItem* Item = Menu->Find(Caption)) {
            Item->Enabled = Enabled;
            Item->Checked = Checked;
        }
    };
    const int Points = FCurveIntersections->Count();
    Set(&Root, ShowCurveCaption, true, ShowCurveIntersections);
    Set(&Root, ShowSurfaceCaption, true, ShowSurfaceIntersections);
    Set(&Root, ShowNormalCaption, true, ShowNormal);
    Set(&Root, ShowAxesCaption, true, ShowAxes);
    Set(&Root, PolylineCaption, ShowCurveIntersections && Points > 1, false);
    for (const char* Caption : {BSplineCaption, CubicCaption, CubicBSplineCaption})
        Set(&Root, Caption, ShowCurveIntersections && Points > 3, false);
    TMenuItem* Sub = Root.Find(CurveIntersectionsCaption);
    Set(Sub, CurveThroughCaption, ShowCurveIntersections, ShowIntersectionCurve);
    for (std::uint8_t Axis = 0; Axis < 3; ++Axis)
        Set(Sub, SortCaptions[Axis], ShowIntersectionCurve && ShowCurveIntersections, SortAxis == Axis);
}

// ---- Helpers for the slice dialog and the commands ----

std::vector<std::string> NamedPlanes(const TGeometryList& List) {
    std::vector<std::string> Names;
    for (int I = 0; I < List.Count(); ++I) {
        const TGeometry& G = List.Items(I);
        if (dynamic_cast<const TGeoPlane*>(&G) != nullptr && !G.GetName().empty()) Names.push_back(G.GetName());
    }
    return Names;
}

bool FindNamedPlane(const TGeometryList& List, const std::string& Name, TMPlane& Plane) {
    const auto* Found = dynamic_cast<const TGeoPlane*>(List.FindByName(Name));
    if (Found == nullptr) return false;
    Plane = Found->Plane().Plane();
    return true;
}

bool IsPlaneCutSurface(TGeometry& Entity) {
    const std::uint8_t Kind = Entity.GetSelectionType();
    return Kind == hgSurface || Kind == hgMesh || Kind == hgBSplineSurface || Kind == hgPolygons;
}

TPolyline* ProjectableCurve(TGeometry& Entity) {
    auto* Curve = dynamic_cast<TGeoDraggableCurve*>(&Entity);
    return Curve != nullptr ? Curve->GetPolyline() : nullptr;
}

}  // namespace sarnova
