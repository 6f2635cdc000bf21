#include "hulls/GTarvoCurve.h"

#include <algorithm>
#include <numbers>

#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/BSpline.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/PolylineOps.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

const char* const StraightCaption = "Straight Points";
const char* const BlendCaption = "Blend Points";
const char* const KnuckleCaption = "Knuckle Point";
const char* const ReverseCaption = "Reverse Points Order";
const char* const CurvatureCaption = "Show Curvature";

bool IsAngleKind(TPlaneKind K) { return K == pkRoll || K == pkPitch || K == pkYaw; }

void ShowState(TMenuItem* Item, TConstraintState State) {
    if (Item == nullptr) return;
    Item->Enabled = State != tarvo::csBlocked;
    Item->Checked = State == tarvo::csPresent;
}

}  // namespace

// ---- TGeoTarvoCurve ----

TGeoTarvoCurve::TGeoTarvoCurve() : FCurve(std::make_unique<TTarvoCurve>()) {
    FCurve->SetManager(this);
    FCurve->Name = "TarvoCurve1";
    StoreName(FCurve->Name);
    // A parent curve's change reaches this curve as an invalidation: the pictures follow.
    FCurve->OnInvalidate = [this](TNode*) { InvalidateCurveRepresentations(); };
    FCurve->OnLosingParent = [this](TNode*) { RecordChange(); };
    // Evaluating moves the points that constraints drive (towards a changed parent curve, too). Inside
    // an action or an undo step the points as they were join that step, so that undo gives them back
    // rather than deriving them again; a redraw outside any step records nothing.
    FCurve->OnEvaluating = [this](TNode*) {
        const TGeometryList* List = GetOwnerList();
        if (List != nullptr && List->Updating() && FCurve->Constraints().Count() > 0) RecordFollowingChange();
    };
    SetCapabilities(GetCapabilities() | cpUndoable | cpInsertPointKey);
}

TGeoTarvoCurve::~TGeoTarvoCurve() {
    FCurve->OnInvalidate = nullptr;
    FCurve->OnLosingParent = nullptr;
    FCurve->OnEvaluating = nullptr;
    FCurve.reset();
}

void TGeoTarvoCurve::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "TarvoCurve", GetImageIndex(), List,
                   [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
                       return std::make_unique<TGeoTarvoCurveCreator>(Document);
                   });
}

TNode* TGeoTarvoCurve::FindNode(const std::string& Name) {
    const TGeometryList* List = GetOwnerList();
    if (List == nullptr) return nullptr;
    for (int I = 0; I < List->Count(); ++I)
        if (auto* T = dynamic_cast<TGeoTarvoCurve*>(&List->Items(I)); T != nullptr && T->FCurve->Name == Name)
            return T->FCurve.get();
    return nullptr;
}

std::unique_ptr<TNodes> TGeoTarvoCurve::Nodes() {
    auto Result = std::make_unique<TNodes>();
    if (const TGeometryList* List = GetOwnerList())
        for (int I = 0; I < List->Count(); ++I)
            if (auto* T = dynamic_cast<TGeoTarvoCurve*>(&List->Items(I))) Result->Add(T->FCurve.get());
    return Result;
}

ITarvoCurveFrame* TGeoTarvoCurve::TarvoFrame() const { return dynamic_cast<ITarvoCurveFrame*>(GetFrame()); }

void TGeoTarvoCurve::Evaluate() {
    if (FCurve->IsValid()) return;
    try {
        FCurve->Update();
        LastError.clear();
    } catch (const std::exception& E) {
        // Said once, not at every redraw.
        if (E.what() != LastError && GConsole) GConsole->WriteLine(GetName() + ": " + E.what());
        LastError = E.what();
    }
}

template <class F>
void TGeoTarvoCurve::Change(F Body) {
    InRedrawnChange(*this, Body);
}

void TGeoTarvoCurve::AfterCommand() {
    InvalidateViews();
    RefreshFrame();
}

// ---- Commands ----

template <class T>
void TGeoTarvoCurve::ToggleRange() {
    const TConstraintState S = T::StateForSelection(*FCurve);
    if (S == tarvo::csBlocked) return;
    Change([&] {
        if (S == tarvo::csAbsent)
            T::AddForSelection(*FCurve);
        else
            T::RemoveForSelection(*FCurve);
    });
    AfterCommand();
}

void TGeoTarvoCurve::ToggleStraight() { ToggleRange<TStraightConstraint>(); }
void TGeoTarvoCurve::ToggleBlend() { ToggleRange<TBlendConstraint>(); }
void TGeoTarvoCurve::ToggleKnuckle() { ToggleRange<TKnuckleConstraint>(); }

void TGeoTarvoCurve::AddPlaneConstraint() {
    if (TPlaneConstraint::State(*FCurve) != tarvo::csAbsent) return;
    Change([&] { TPlaneConstraint::Add(*FCurve); });
    AfterCommand();
}

void TGeoTarvoCurve::AddOffsetConstraint() {
    if (TOffsetConstraint::State(*FCurve) != tarvo::csAbsent) return;
    Change([&] { TOffsetConstraint::Add(*FCurve); });
    AfterCommand();
}

bool TGeoTarvoCurve::CanReverse() const { return FCurve->Dependents().Count() == 0; }

void TGeoTarvoCurve::ReversePoints() {
    if (!CanReverse()) return;
    Change([&] { FCurve->Reverse(); });
    AfterCommand();
}

template <class F>
void TGeoTarvoCurve::ReplaceEvaluated(F Make) {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    // The constraints move points of the curve as the document holds it: the curve is recorded first,
    // in the replacement's step, so that undo gives those points back unmoved.
    InListUpdate(*List, [&] {
        if (!FCurve->IsValid()) RecordChange();
        Evaluate();
        ReplaceEntityInList(*this, Make());  // frees this entity
    });
    List->InvalidateViews();
}

void TGeoTarvoCurve::ConvertToPolyline() {
    ReplaceEvaluated([&] {
        auto Polyline = std::make_unique<TGeoPline>();
        Polyline->Polyline().Assign(FCurve->Polyline());
        return Polyline;
    });
}

void TGeoTarvoCurve::ControlPointsToPolyline() {
    ReplaceEvaluated([&] {
        auto Polyline = std::make_unique<TGeoPline>();
        Polyline->Polyline().AddCopies(FCurve->Spline());
        return Polyline;
    });
}

void TGeoTarvoCurve::ConvertToBSpline() {
    ReplaceEvaluated([&] {
        auto Curve = std::make_unique<TGeoBSpline>();
        Curve->Spline().Assign(FCurve->Spline());
        return Curve;
    });
}

// ---- What the frame does ----

void TGeoTarvoCurve::DeleteConstraint(int Index) {
    if (Index < 0 || Index >= FCurve->Constraints().Count()) return;
    Change([&] { FCurve->Constraints().Delete(Index); });
    AfterCommand();
}

void TGeoTarvoCurve::ClearConstraints() {
    Change([&] { FCurve->Constraints().Clear(); });
    AfterCommand();
}

void TGeoTarvoCurve::SetPlaneKind(TPlaneKind Kind) {
    TPlaneConstraint* P = FCurve->Constraints().PlaneConstraint();
    if (P == nullptr || P->Kind() == Kind) return;
    Change([&] { P->SetKind(Kind); });
    AfterCommand();
}

void TGeoTarvoCurve::SetPlaneValue(double Shown) {
    TPlaneConstraint* P = FCurve->Constraints().PlaneConstraint();
    if (P == nullptr || P->Kind() == pkNone) return;
    const double Value = IsAngleKind(P->Kind()) ? Shown * std::numbers::pi / 180 : Shown;
    Change([&] { P->SetValue(Value); });
    AfterCommand();
}

void TGeoTarvoCurve::SetOffsetReference(const std::string& Name) {
    TOffsetConstraint* O = FCurve->Constraints().OffsetConstraint();
    if (O == nullptr) return;
    Change([&] { O->ReferenceCurve().SetName(Name); });
    AfterCommand();
}

void TGeoTarvoCurve::SetOffsetAxis(TOffsetAxis Axis) {
    TOffsetConstraint* O = FCurve->Constraints().OffsetConstraint();
    if (O == nullptr || O->Axis() == Axis) return;
    Change([&] { O->SetAxis(Axis); });
    AfterCommand();
}

void TGeoTarvoCurve::SetSurfaceOperation(TSurfaceOperation Op) {
    if (FCurve->GetSurfaceOperation() == Op) return;
    Change([&] { FCurve->SetSurfaceOperation(Op); });
    InvalidateViews();
}

void TGeoTarvoCurve::SetPointCoordinate(int Index, int Axis, double Value) {
    if (Index < 0 || Index >= FCurve->Count() || !FCurve->AcceptsIndex(Index)) return;
    Change([&] {
        TRPoint& P = *FCurve->Point(Index);
        (Axis == 0 ? P.X : Axis == 1 ? P.Y : P.Z) = Value;
        FCurve->Invalidate(false);
        Evaluate();
    });
    InvalidateViews();
}

void TGeoTarvoCurve::InsertPointAbove(int Row) {
    if (Row < 0 || Row >= FCurve->Count() || FCurve->Count() < 2) return;
    Change([&] { FCurve->InsertPointAt(Row); });
    AfterCommand();
}

void TGeoTarvoCurve::InsertPointBelow(int Row) {
    if (Row < 0 || Row >= FCurve->Count() || FCurve->Count() < 2) return;
    Change([&] { FCurve->InsertPointAt(Row + 1); });
    AfterCommand();
}

void TGeoTarvoCurve::MarkRows(int First, int Last) {
    if (!Editing()) return;
    for (int I = 0; I < FCurve->Count(); ++I)
        FCurve->Point(I)->Marked = First <= I && I <= Last && FCurve->AcceptsIndex(I);
    Redraw();
    if (ITarvoCurveFrame* Frame = TarvoFrame()) Frame->UpdateConstraintButtons();
}

void TGeoTarvoCurve::DeleteRows(int First, int Last) {
    for (int I = 0; I < FCurve->Count(); ++I) FCurve->Point(I)->Marked = First <= I && I <= Last;
    DeleteSelectedPoints();
}

void TGeoTarvoCurve::FillCoordinate(int Axis, double Value) {
    Change([&] {
        for (int I = 0; I < FCurve->Count(); ++I) {
            TRPoint& P = *FCurve->Point(I);
            (Axis == 0 ? P.X : Axis == 1 ? P.Y : P.Z) = Value;
        }
        FCurve->Invalidate(false);
    });
    AfterCommand();
}

// ---- Overrides ----

TDataObject TGeoTarvoCurve::GetDataObject() { return TDataObject::Of(FCurve.get()); }

TMBox TGeoTarvoCurve::CalculateExtents() { return FCurve->Extents(); }

TPolyline* TGeoTarvoCurve::GetPolyline() {
    Evaluate();
    return &FCurve->Polyline();
}

int TGeoTarvoCurve::GetPointCount() { return Editing() ? FCurve->Count() : GetPolyline()->Count(); }

TRPoint* TGeoTarvoCurve::GetPoint(int Index) {
    return Editing() ? FCurve->Point(Index) : GetPolyline()->Point(Index);
}

void TGeoTarvoCurve::GetPointInfo(int Index, TPointInfo& Info, IGraphics* View) {
    auto* R = dynamic_cast<TRPointInfo*>(&Info);
    if (!Editing() || R == nullptr) {
        TGeoDraggableCurve::GetPointInfo(Index, Info, View);
        return;
    }
    // Points a constraint drives cannot be picked.
    R->SetRPoint(FCurve->Point(Index), View, FCurve->AcceptsIndex(Index));
}

void TGeoTarvoCurve::AddSnapPoints(TGeometrySnapInfo& Request) {
    const TSnapOptions Kinds = Request.SnapTypes();
    if (Kinds.test(stPoint))
        for (int I = 0; I < FCurve->Count(); ++I) {
            const TRPoint& P = *FCurve->Point(I);
            if (!P.Marked) Request.TryRPoint(P, stPoint, this);
        }
    if (Kinds.test(stCurve) && !Editing() && Request.View != nullptr) {
        const TPolyline& Display = *GetPolyline();
        if (Display.Count() > 0) {
            const std::unique_ptr<TRPoint> Nearest = PolylineNearestScreenPoint(Request.ScreenPoint, Display, *Request.View);
            Request.TryRPoint(*Nearest, stCurve, this);
        }
    }
}

std::string TGeoTarvoCurve::GetName() const { return FCurve->Name; }

void TGeoTarvoCurve::SetName(const std::string& Value) {
    const std::string Clean = NameWithoutControls(Value);
    // The undo snapshot must hold the old name, which the curve object keeps.
    if (Clean != GetName()) RecordChange();
    FCurve->Name = Clean;
    TGeoDraggableCurve::SetName(Value);
}

void TGeoTarvoCurve::Assign(const TGeometry& Source) {
    TGeoDraggableCurve::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoTarvoCurve*>(&Source)) {
        FCurve->Assign(*Other->FCurve);
        // The name is the curve's: a copy or an undo step takes it too.
        FCurve->Name = Other->FCurve->Name;
        StoreName(FCurve->Name);
    }
}

void TGeoTarvoCurve::AfterListChange() {
    if (TOffsetConstraint* Offset = FCurve->Constraints().OffsetConstraint()) Offset->ReferenceCurve().Bind();
    TGeoDraggableCurve::AfterListChange();
}

void TGeoTarvoCurve::Transform(const TMMatrix& M) {
    Change([&] { FCurve->Transform(M); });
}

void TGeoTarvoCurve::Query(TGeometryQuery& Query) {
    const bool AsCurve = Query.Asks(qkCurve) || Query.Asks(qkBSplineCurve);
    if (!AsCurve && !Query.Asks(qkPolyline)) return;
    if (Query.CountOnly)
        Query.CountItem();
    else if (AsCurve)
        Query.AddReference(&FCurve->Spline(), GetName());
    else
        Query.AddReference(GetPolyline(), GetName());
}

void TGeoTarvoCurve::DeleteSelectedPoints() {
    Change([&] {
        // Never below four points; the marked points left stay marked.
        while (FCurve->Count() > 4) {
            int Marked = -1;
            for (int I = 0; I < FCurve->Count() && Marked < 0; ++I)
                if (FCurve->Point(I)->Marked) Marked = I;
            if (Marked < 0) break;
            FCurve->DeletePoint(Marked);
        }
    });
    AfterCommand();
}

void TGeoTarvoCurve::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FCurve->SaveToText(Out);
    // A colour chosen in the frame is kept; a curve in the default colour writes nothing more.
    WriteCommonKeys(Out, *this, ckColor);
    Out.WriteLine("");
}

void TGeoTarvoCurve::LoadFromText(TTextReader& In) {
    FCurve->LoadFromText(In);
    StoreName(FCurve->Name);
    ReadNameAndColorLines(In, *this, true);
}

IGeometryFrame* TGeoTarvoCurve::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(TarvoCurveFrameName, *this, Owner)) return Frame;
    return TGeoDraggableCurve::CreateFrame(Owner);
}

void TGeoTarvoCurve::UpdateFrame() {
    if (ITarvoCurveFrame* Frame = TarvoFrame())
        Frame->UpdateFromEntity();
    else
        TGeoDraggableCurve::UpdateFrame();
}

void TGeoTarvoCurve::DrawCurve(IGraphics& View) {
    Evaluate();
    // As last evaluated when the evaluation failed: the curve's own Draw would try again and throw.
    FCurve->Polyline().Draw(View);
}

void TGeoTarvoCurve::Draw(IGraphics& View) {
    const TGeometryColors& C = Colors();
    View.SetLineColor(C.DrawColor());
    DrawCurve(View);
    TGeoDraggableCurve::Draw(View);
    // While it moves, the curves that follow it move along.
    if ((GetState() & (gsDragging | gsKeyMoving)) != 0) {
        View.SetLineColor(C.NonEditColor());
        try {
            FCurve->DrawDependents(View);
        } catch (const std::exception&) {
            // A curve that cannot follow says so when its own entity draws it.
        }
    }
    if (!Editing()) return;
    View.SetLineColor(C.ControlPolygonColor());
    FCurve->DrawControlPolygon(View);
    DrawPointHandlesOf(*this, View, FCurve->Spline(), true, [this](int I) { return FCurve->AcceptsIndex(I); });
}

void TGeoTarvoCurve::DrawOutline(IGraphics& View) {
    FCurve->Polyline().Draw(View);
    TGeoDraggableCurve::DrawOutline(View);
    if (!Editing()) return;
    FCurve->DrawControlPolygon(View);
    DrawPointHandlesOf(*this, View, FCurve->Spline(), false);
}

void TGeoTarvoCurve::DrawSimplified(IGraphics& View) { DrawCurve(View); }

void TGeoTarvoCurve::DrawHighlighted(IGraphics& View) {
    DrawHighlightOverlay(*this, View, [&] { DrawCurve(View); });
}

void TGeoTarvoCurve::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(StraightCaption, [this](TMenuItem&) { ToggleStraight(); });
    AddMenuItem(BlendCaption, [this](TMenuItem&) { ToggleBlend(); });
    AddMenuItem(KnuckleCaption, [this](TMenuItem&) { ToggleKnuckle(); });
    AddMenuItem("-", {});
    AddMenuItem(ReverseCaption, [this](TMenuItem&) { ReversePoints(); });
    AddMenuItem("-", {});
    AddMenuItem("Convert TarvoCurve to Polyline", [this](TMenuItem&) { ConvertToPolyline(); });
    AddMenuItem("Control Points to Polyline", [this](TMenuItem&) { ControlPointsToPolyline(); });
    AddMenuItem("Convert TarvoCurve to BSpline", [this](TMenuItem&) { ConvertToBSpline(); });
    AddMenuItem("-", {});
    AddMenuItem(CurvatureCaption, [this](TMenuItem&) { ToggleDrawCurvature(); });
    UpdateMenuItems(Root);
}

void TGeoTarvoCurve::UpdateMenuItems(TMenuItem& Root) {
    ShowState(Root.Find(StraightCaption), TStraightConstraint::StateForSelection(*FCurve));
    ShowState(Root.Find(BlendCaption), TBlendConstraint::StateForSelection(*FCurve));
    ShowState(Root.Find(KnuckleCaption), TKnuckleConstraint::StateForSelection(*FCurve));
    if (TMenuItem* I = Root.Find(ReverseCaption)) I->Enabled = CanReverse();
    if (TMenuItem* I = Root.Find(CurvatureCaption)) I->Checked = DrawCurvature();
}

void TGeoTarvoCurve::SelectPoint(IGraphics& View, int X, int Y, TShiftState Shift, TSelectAction& Action) {
    TGeoDraggableCurve::SelectPoint(View, X, Y, Shift, Action);
    if (ITarvoCurveFrame* Frame = TarvoFrame()) Frame->UpdateConstraintButtons();
}

void TGeoTarvoCurve::SelectRect(IGraphics& View, const TRect& Rect, TShiftState Shift) {
    TGeoDraggableCurve::SelectRect(View, Rect, Shift);
    if (ITarvoCurveFrame* Frame = TarvoFrame()) Frame->UpdateConstraintButtons();
}

bool TGeoTarvoCurve::OnlyFirstMarked() const {
    if (FCurve->Count() == 0 || !FCurve->Point(0)->Marked) return false;
    for (int I = 1; I < FCurve->Count(); ++I)
        if (FCurve->Point(I)->Marked) return false;
    return true;
}

void TGeoTarvoCurve::RestrictEditPlanes(TEditPlaneSet& Allowed) {
    const TConstraints& List = FCurve->Constraints();
    if (const TOffsetConstraint* O = List.OffsetConstraint()) {
        switch (O->Axis()) {
            case oaX: Allowed = 1u << epAlongX; return;
            case oaY: Allowed = 1u << epAlongY; return;
            case oaZ: Allowed = 1u << epAlongZ; return;
            case oaVector:
                if (!OnlyFirstMarked()) Allowed = 1u << epAlongVector;
                return;
            default: break;
        }
    }
    if (const TPlaneConstraint* P = List.PlaneConstraint()) {
        switch (P->Kind()) {
            case pkX: Allowed = 1u << epYZ; break;
            case pkY: Allowed = 1u << epZX; break;
            case pkZ: Allowed = 1u << epXY; break;
            case pkRoll:
            case pkPitch:
            case pkYaw: Allowed = 1u << epInPlane; break;
            default: break;
        }
    }
}

void TGeoTarvoCurve::AdjustEditPlane(TEditPlane& Plane, TEditPlaneSet) {
    const TConstraints& List = FCurve->Constraints();
    if (const TOffsetConstraint* O = List.OffsetConstraint()) {
        switch (O->Axis()) {
            case oaX: Plane.Kind = epAlongX; return;
            case oaY: Plane.Kind = epAlongY; return;
            case oaZ: Plane.Kind = epAlongZ; return;
            case oaVector:
                if (!OnlyFirstMarked()) {
                    Plane.Kind = epAlongVector;
                    Plane.Direction = O->Direction();
                }
                return;
            default: break;
        }
    }
    if (const TPlaneConstraint* P = List.PlaneConstraint()) {
        switch (P->Kind()) {
            case pkX: Plane.Kind = epYZ; break;
            case pkY: Plane.Kind = epZX; break;
            case pkZ: Plane.Kind = epXY; break;
            case pkRoll:
            case pkPitch:
            case pkYaw:
                Plane.Kind = epInPlane;
                Plane.Plane = P->Plane();
                break;
            default: break;
        }
    }
}

void TGeoTarvoCurve::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    DragStart.clear();
    for (int I = 0; I < FCurve->Count(); ++I) DragStart.push_back(FCurve->Point(I)->Vector());
}

void TGeoTarvoCurve::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) {
    const int N = std::min(FCurve->Count(), static_cast<int>(DragStart.size()));
    for (int I = 0; I < N; ++I) {
        TRPoint& P = *FCurve->Point(I);
        if (P.Marked) P.SetVector(VectorAdd(DragStart[static_cast<std::size_t>(I)], Offset));
    }
    FCurve->Invalidate(false);
    InvalidateCurveRepresentations();
    if (ITarvoCurveFrame* Frame = TarvoFrame()) Frame->UpdatePointCells();
}

void TGeoTarvoCurve::EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    DragStart.clear();
}

void TGeoTarvoCurve::InsertPointClick(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    const TPickedPolylinePoint Picked = PickPolylinePoint(FCurve->Spline(), ScreenPoint, View);
    if (Picked.Index < 0) return;
    Change([&] { FCurve->InsertPointVector(Picked.Index, Picked.Position); });
    AfterCommand();
}

void TGeoTarvoCurve::DrawInsertPointPreview(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    DrawInsertPointPreviewOver(FCurve->Spline(), ScreenPoint, View, Colors().SelectColor());
}

void TGeoTarvoCurve::EraseInsertPointPreview(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    DrawInsertPointPreviewOver(FCurve->Spline(), ScreenPoint, View, Colors().BackColor());
}

// ---- TGeoTarvoCurveCreator ----

TGeoTarvoCurveCreator::TGeoTarvoCurveCreator(TGeometryList& List) : TGeoBSplineCreator(List) {}

void TGeoTarvoCurveCreator::CreateGeometry() {
    auto Entity = std::make_unique<TGeoTarvoCurve>();
    const TPolyline& Placed = GetPoints();
    for (int I = 0; I < Placed.Count(); ++I) Entity->Curve().AddPoint(Placed.Point(I)->Clone());
    GetDocumentList().Add(std::move(Entity))->Redraw();
}

// ---- TGeoOldCurveLoader ----

TGeoOldCurveLoader::TGeoOldCurveLoader() = default;

TGeoOldCurveLoader::~TGeoOldCurveLoader() {
    if (!Held) return;
    // Said rather than raised: a destructor must not throw.
    if (GConsole) GConsole->WriteLine("Old format TarvoCurve not imported properly");
    Held.reset();
}

void TGeoOldCurveLoader::LoadFromText(TTextReader& In) {
    auto Entity = std::make_unique<TGeoTarvoCurve>();
    TTarvoCurve& C = Entity->Curve();
    auto Spline = std::make_unique<TBSpline>(4);
    Spline->LoadFromText(In);
    C.Spline().Assign(*Spline);
    C.Constraints().LoadFromText(In);
    Entity->SetName(Trim(TarvoFieldText(In.ReadLine())));
    Held = std::move(Entity);
    if (GConsole) GConsole->WriteLine("Old format TarvoCurve Loaded");
}

void TGeoOldCurveLoader::SetOwnerList(TGeometryList* List) {
    TGeometry::SetOwnerList(List);
    if (List == nullptr || !Held) return;
    Handing = true;
    try {
        List->Add(std::move(Held));
    } catch (...) {
        Handing = false;
        throw;
    }
    Handing = false;
    if (GConsole) GConsole->WriteLine("Old format TarvoCurve sucessfully imported");
}

void TGeoOldCurveLoader::AfterListChange() {
    if (!Held && !Handing && GetOwnerList() != nullptr && GetOwnerList() != GClipboard)
        DeleteFromList();  // frees this loader
}

}  // namespace sarnova
