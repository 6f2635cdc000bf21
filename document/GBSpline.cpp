#include "document/GBSpline.h"

#include <algorithm>

#include "document/GeometryQuery.h"
#include "foundation/BSpline.h"
#include "foundation/BSplineOps.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/PolylineOps.h"
#include "platform/Menu.h"
#include "foundation/UserDialogs.h"

namespace sarnova {

namespace {

const char* const OrderCaption = "Curve Order";
const char* const BezierCaption = "Bezier";
const char* const StraightenCaption = "Straighten Points";
const char* const KnuckleCaption = "Knuckle Point";
const char* const SubdivideCaption = "Sub divide";
const char* const CurvatureCaption = "Show Curvature";
const char* const XTCurveCaption = "Create D-Azadavaz Curve (BSpline)";

// The order items under "Curve Order", "Bezier" after them.
struct TOrderItem {
    const char* Caption;
    int Order;
};
constexpr TOrderItem OrderItems[] = {{"3 (Quadratic)", 3}, {"4 (Cubic)", 4}, {"5", 5}, {"6", 6}};

// The order of a new curve and of the creator's curve between drawings.
constexpr int DefaultOrder = 4;

}  // namespace

// ---- TGeoBSpline ----

TGeoBSpline::TGeoBSpline() : FSpline(std::make_unique<TBSpline>(DefaultOrder)) {
    SetCapabilities(GetCapabilities() | cpUndoable | cpInsertKnotKey);
}

TPolyline* TGeoBSpline::OwnCurve() const { return FSpline.get(); }

TGeoBSpline::~TGeoBSpline() = default;

void TGeoBSpline::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "BSpline Curve", GetImageIndex(), List,
                   [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
                       return std::make_unique<TGeoBSplineCreator>(Document);
                   });
}

void TGeoBSpline::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (!OnlyClassSelected<TGeoBSpline>(List)) return;
    if (Menu.Count() > 0) Menu.Add("-");
    AddDocumentItem(Menu, "Convert BSpline Curve representations to Polylines", List,
                    ConvertSelectedBSplinesToPolylines);
    AddDocumentItem(Menu, "Convert BSpline Curve Control Polygons to Polylines", List,
                    ConvertSelectedBSplineControlPolygons);
    if (List.SelectedCount() == 2) AddDocumentItem(Menu, "Weld BSplines", List, WeldSelectedBSplines);
}

std::vector<int> TGeoBSpline::MarkedIndices() {
    std::vector<int> Result;
    if (!Editing()) return Result;
    for (int I = 0; I < FSpline->Count(); ++I)
        if (FSpline->Point(I)->Marked) Result.push_back(I);
    return Result;
}

template <class F>
void TGeoBSpline::ChangeOrder(F SetOrder) {
    if (!CanDeletePoints()) return;
    ChangeAndRedraw([&] {
        SetOrder();
        FSpline->KnotType = ktOpen;
    });
}

void TGeoBSpline::SetOrderFromMenu(int Order) {
    // Refused before anything changes when the knots would not fit.
    CheckKnotLimit(FSpline->Count(), Order);
    ChangeOrder([&] { FSpline->SetOrder(Order); });
}

void TGeoBSpline::SetBezierFromMenu() {
    CheckKnotLimit(FSpline->Count(), FSpline->Count());
    ChangeOrder([&] { FSpline->SetForcedBezier(true); });
}

void TGeoBSpline::ToggleKnuckle() {
    const std::vector<int> Marked = MarkedIndices();
    const int Order = FSpline->GetOrder();
    int Index = -1;
    bool On = false;
    if (Marked.size() == 1) {
        Index = Marked.front();
        On = FSpline->KnuckleAllowed(Index);
        if (On) CheckKnotLimit(FSpline->Count() + std::max(0, Order - 2), Order);
    } else if (static_cast<int>(Marked.size()) == Order - 1 &&
               std::all_of(Marked.begin(), Marked.end(), [this](int I) { return FSpline->IsKnuckle(I); })) {
        Index = Marked.front();
    } else {
        return;
    }
    BeginChange();
    FSpline->SetKnuckle(Index, On);
    EndChange();
    InvalidateViews();
}

void TGeoBSpline::Subdivide() {
    // Made aside first: a curve that cannot take the new knots stays as it is.
    const std::unique_ptr<TBSpline> Refined = FSpline->Subdivide();
    BeginChange();
    Undraw();
    FSpline->Assign(*Refined);
    EndChange();
    Redraw();
}

void TGeoBSpline::ConvertToTarvoCurve() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    std::unique_ptr<TGeometry> Tarvo = CreateTarvoCurve(*FSpline);
    if (!Tarvo) return;
    SetSelected(false);
    ReplaceInList(std::move(Tarvo));
    List->InvalidateViews();
}

void TGeoBSpline::ConvertToXTCurve() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr || FSpline->GetOrder() != 4 || FSpline->KnotType != ktOpen) return;
    std::unique_ptr<TGeometry> Curve = CreateXTCurve(*FSpline, TXTCurveShape::Free);
    if (!Curve) return;
    SetSelected(false);
    ReplaceInList(std::move(Curve));  // frees this entity
    List->InvalidateViews();
}

void TGeoBSpline::Recalculate() {
    TGeoCustomPLine::Recalculate();
    const std::uint16_t Capabilities = GetCapabilities();
    SetCapabilities(FSpline->KnotType == ktOpen ? Capabilities | cpInsertPointKey
                                                : Capabilities & static_cast<std::uint16_t>(~cpInsertPointKey));
}

bool AskToOpenKnots(const std::string& Kind) {
    // Without anyone to ask the entity stays as it is.
    IUserDialogs* Dialogs = GExceptionHandler ? GExceptionHandler->UserDialogs : nullptr;
    if (Dialogs == nullptr) return false;
    return Dialogs->MessageBox("Warning",
                               "This operation can only be performed on a BSpline " + Kind +
                                   " \r\nwith an Open Uniform Knot Vector, Convert the Curve?",
                               TMsgDlgType::mtWarning, mbOK | mbCancel) == TModalResult::mrOk;
}

bool TGeoBSpline::CanDeletePoints() { return FSpline->KnotType == ktOpen || AskToOpenKnots("Curve"); }

void TGeoBSpline::DeleteSelectedPoints() {
    if (!CanDeletePoints()) return;
    BeginChange();
    Undraw();
    FSpline->KnotType = ktOpen;
    // Never fewer than two points, whatever order a damaged file gave the curve.
    RemoveMarkedPoints(std::max(FSpline->GetOrder(), 2));
    EndChange();
    Redraw();
}

void TGeoBSpline::Transform(const TMMatrix& M) {
    BeginChange();
    FSpline->Assign(*FSpline->Transformed(M));
    EndChange();
}

void TGeoBSpline::Assign(const TGeometry& Source) {
    TGeoCustomPLine::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoBSpline*>(&Source)) FSpline->Assign(*Other->FSpline);
}

void TGeoBSpline::Query(TGeometryQuery& Query) {
    const bool AsCurve = Query.Asks(qkCurve) || Query.Asks(qkBSplineCurve);
    if (!AsCurve && !Query.Asks(qkPolyline)) return;
    if (Query.CountOnly)
        Query.CountItem();
    else if (AsCurve)
        Query.AddReference(FSpline.get(), GetName());
    else if (TPolyline* Display = DisplayPolyline())
        Query.AddReference(Display, GetName());
}

void TGeoBSpline::HandleMessage(TGeoMessage& Message) {
    TGeoCustomPLine::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectBSplines*>(&Message) != nullptr) SetSelected(true);
}

void TGeoBSpline::Draw(IGraphics& View) {
    TGeoCustomPLine::Draw(View);
    if (!Editing()) return;
    View.SetLineColor(Colors().ControlPolygonColor());
    FSpline->DrawControlPolygon(View);
    DrawPointHandles(View, *FSpline, true);
}

void TGeoBSpline::DrawOutline(IGraphics& View) {
    TGeoCustomPLine::DrawOutline(View);
    if (!Editing()) return;
    FSpline->DrawControlPolygon(View);
    DrawPointHandles(View, *FSpline, false);
}

void TGeoBSpline::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(OrderCaption, {});
    for (const TOrderItem& Item : OrderItems) {
        const int Order = Item.Order;
        AddSubMenuItem(Item.Caption, [this, Order](TMenuItem&) { SetOrderFromMenu(Order); });
    }
    AddSubMenuItem(BezierCaption, [this](TMenuItem&) { SetBezierFromMenu(); });
    AddMenuItem("-", {});
    AddMenuItem("Reverse Points Order", [this](TMenuItem&) { ReversePoints(); });
    AddMenuItem(StraightenCaption, [this](TMenuItem&) { StraightenPoints(); });
    AddMenuItem(KnuckleCaption, [this](TMenuItem&) { ToggleKnuckle(); });
    AddMenuItem(SubdivideCaption, [this](TMenuItem&) { Subdivide(); });
    AddMenuItem("-", {});
    // Only once the hull generators can make a Tarvo curve.
    if (CanCreateTarvoCurve())
        AddMenuItem("Convert Curve to TarvoCurve", [this](TMenuItem&) { ConvertToTarvoCurve(); });
    AddMenuItem("Convert Curve to Polyline", [this](TMenuItem&) { ConvertToPolyline(); });
    AddMenuItem("Control Points to Polyline", [this](TMenuItem&) { ControlPointsToPolyline(); });
    AddMenuItem(ExtrudeSurfaceCaption, [this](TMenuItem&) { ExtrudeSurface(); });
    AddMenuItem("-", {});
    if (CanCreateXTCurve()) {
        AddMenuItem(XTCurveCaption, [this](TMenuItem&) { ConvertToXTCurve(); });
        AddMenuItem("-", {});
    }
    AddMenuItem(CurvatureCaption, [this](TMenuItem&) { ToggleDrawCurvature(); });
    UpdateMenuItems(Root);
}

void TGeoBSpline::UpdateMenuItems(TMenuItem& Root) {
    const int Count = FSpline->Count();
    const int Order = FSpline->GetOrder();
    const bool Bezier = FSpline->GetForcedBezier();
    if (TMenuItem* Orders = Root.Find(OrderCaption)) {
        for (const TOrderItem& Item : OrderItems)
            if (TMenuItem* I = Orders->Find(Item.Caption)) {
                I->Checked = Order == Item.Order && !Bezier;
                I->Enabled = Count > Item.Order - 1;
            }
        if (TMenuItem* I = Orders->Find(BezierCaption)) {
            I->Checked = Bezier;
            I->Enabled = Count > 2;
        }
    }
    if (TMenuItem* I = Root.Find(StraightenCaption)) I->Enabled = MarkedPointCount() > 2;
    if (TMenuItem* I = Root.Find(XTCurveCaption)) I->Enabled = Order == 4 && FSpline->KnotType == ktOpen;
    if (TMenuItem* I = Root.Find(KnuckleCaption)) UpdateKnuckleItem(*I);
    if (TMenuItem* I = Root.Find(SubdivideCaption)) I->Enabled = FSpline->KnotType == ktOpen;
    if (TMenuItem* I = Root.Find(CurvatureCaption)) I->Checked = DrawCurvature();
}

void TGeoBSpline::UpdateKnuckleItem(TMenuItem& Item) {
    if (!Editing()) {
        Item.Enabled = false;
        Item.Checked = false;
        return;
    }
    const std::vector<int> Marked = MarkedIndices();
    if (static_cast<int>(Marked.size()) == FSpline->GetOrder() - 1 &&
        std::all_of(Marked.begin(), Marked.end(), [this](int I) { return FSpline->IsKnuckle(I); })) {
        Item.Enabled = true;
        Item.Checked = true;
    } else if (Marked.size() == 1) {
        Item.Enabled = FSpline->KnuckleAllowed(Marked.front());
        Item.Checked = false;
    }
}

bool TGeoBSpline::NearestCurvePoint(TPoint ScreenPoint, IGraphics& View, double& T, TMVector& Position) {
    const TPolyline* Display = DisplayPolyline();
    if (Display == nullptr || Display->Count() < 2) return false;
    const std::unique_ptr<TRPoint> Nearest = PolylineNearestScreenPoint(ScreenPoint, *Display, View);
    T = Nearest->T;
    Position = Nearest->Vector();
    return true;
}

std::unique_ptr<TBSpline> TGeoBSpline::WithKnotAt(double T) const {
    std::unique_ptr<TBSpline> Result = FSpline->Clone();
    Result->InsertKnot(T);
    return Result;
}

void TGeoBSpline::InsertKnotClick(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    double T = 0;
    TMVector Position;
    if (!NearestCurvePoint(ScreenPoint, View, T, Position)) return;
    // Made aside first: a knot that cannot be inserted leaves the curve as it is.
    const std::unique_ptr<TBSpline> Refined = WithKnotAt(T);
    BeginChange();
    Undraw();
    FSpline->Assign(*Refined);
    EndChange();
    InvalidateViews();
}

void TGeoBSpline::DrawInsertKnotPreview(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    if (!NearestCurvePoint(ScreenPoint, View, PreviewParameter, PreviewPosition)) return;
    Undraw();
    try {
        KnotPreview = WithKnotAt(PreviewParameter);
    } catch (const EGeometryError&) {
        // Nothing to preview there; a click reports why.
        KnotPreview.reset();
    }
    PreviewShown = true;
    const TGeometryColors& C = Colors();
    View.SetLineColor(C.DrawColor());
    if (TPolylineRepresentation* Display = GetPolylineRepresentation()) Display->Draw(View);
    if (KnotPreview) {
        View.SetLineColor(C.ControlPolygonColor());
        KnotPreview->DrawControlPolygon(View);
        DrawPointHandles(View, *KnotPreview, true);
    }
    View.EditHandle(2, PreviewPosition.X, PreviewPosition.Y, PreviewPosition.Z);
}

void TGeoBSpline::EraseInsertKnotPreview(TPoint, TShiftState, IGraphics& View) {
    if (!PreviewShown) return;
    PreviewShown = false;
    View.SetLineColor(Colors().BackColor());
    View.EditHandle(2, PreviewPosition.X, PreviewPosition.Y, PreviewPosition.Z);
    if (TPolylineRepresentation* Display = GetPolylineRepresentation()) Display->DrawOutline(View);
    if (KnotPreview) {
        KnotPreview->DrawControlPolygon(View);
        DrawPointHandles(View, *KnotPreview, false);
    }
    KnotPreview.reset();
}

// ---- TGeoBSplineCreator ----

TGeoBSplineCreator::TGeoBSplineCreator(TGeometryList& List)
    : TGeoDraggableLineCreator(List, std::make_unique<TBSpline>(DefaultOrder)) {}

TBSpline& TGeoBSplineCreator::Spline() const { return static_cast<TBSpline&>(GetPoints()); }

void TGeoBSplineCreator::CreateGeometry() {
    const TBSpline& Source = Spline();
    auto Entity = std::make_unique<TGeoBSpline>();
    TBSpline& Target = Entity->Spline();
    Target.Assign(Source);
    // Too few points for the order: the order of the points, but never below a straight line.
    if (Target.Count() >= 2 && Target.Count() < Target.GetOrder()) Target.SetOrder(Target.Count());
    GetDocumentList().Add(std::move(Entity))->Redraw();
}

void TGeoBSplineCreator::DrawShape() { DrawSpline(false); }

void TGeoBSplineCreator::EraseShape() { DrawSpline(true); }

void TGeoBSplineCreator::DrawSpline(bool Erasing) {
    IOpenGLView* Target = GetView();
    if (Target == nullptr) return;
    const TSarnovaSettings& Settings = CurrentSettings();
    TBSpline& Curve = Spline();
    Target->SetLineColor(Erasing ? Settings.BackColor : Settings.ControlPolygonColor);
    Target->Polyline(Curve);
    if (!Erasing) Target->SetLineColor(Settings.DrawColor);
    // While there are fewer points than the order the curve is drawn at the order of its points (a
    // single point stays at the full order, which draws it as the control polygon).
    if (Curve.Count() >= 2 && Curve.Count() < Curve.GetOrder()) Curve.SetOrder(Curve.Count());
    Curve.Draw(*Target);
    Curve.SetOrder(DefaultOrder);
    if (!Erasing) Target->SetLineColor(Settings.ControlPolygonColor);
    for (int I = 0; I < Curve.Count(); ++I) Target->EditHandlePoint(*Curve.Point(I), 0);
}

// ---- Operations on the selected B-spline curves ----

void ConvertSelectedBSplinesToPolylines(TGeometryList& List) {
    ForEachSelected<TGeoBSpline>(List, [](TGeoBSpline& Curve) { Curve.ConvertToPolyline(); });
}

void ConvertSelectedBSplineControlPolygons(TGeometryList& List) {
    ForEachSelected<TGeoBSpline>(List, [](TGeoBSpline& Curve) { Curve.ControlPointsToPolyline(); });
}

void WeldSelectedBSplines(TGeometryList& List) {
    const std::vector<TGeoBSpline*> Selected = SelectedOfClass<TGeoBSpline>(List);
    if (Selected.size() < 2) return;
    TGeoBSpline* A = Selected[0];
    TGeoBSpline* B = Selected[1];
    const std::unique_ptr<TBSpline> Joined = A->Spline().JoinWith(B->Spline(), true);
    if (!Joined) return;
    auto Welded = std::make_unique<TGeoBSpline>();
    Welded->Spline().Assign(*Joined);
    InListUpdate(List, [&] {
        // The later one first: undo brings them back in reverse, so they return in their order.
        List.DeleteGeometry(B);
        List.DeleteGeometry(A);
        List.Add(std::move(Welded));
    });
    List.InvalidateViews();
}

}  // namespace sarnova
