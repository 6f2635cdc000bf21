#include "curvenet/GXTCurve.h"
#include "curvenet/GXTSurface.h"
#include "curvenet/XTReferencePoints.h"

#include <algorithm>
#include <array>

#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GPline.h"
#include "document/GeometryClasses.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/BSpline.h"
#include "foundation/ViewContract.h"
#include "foundation/TextUtils.h"
#include "foundation/ColorNames.h"
#include "foundation/Errors.h"
#include "foundation/PolylineOps.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

const char* const OverrideCaption = "Override Point Tangent Condition";
const char* const KnuckleCaption = "Knuckle Point";
const char* const InterpolateCaption = "Interpolate Point";
const char* const StraightCaption = "Straight Segment";
const char* const BlendCaption = "Blended Segment";
const char* const PolylineCaption = "Polyline Curve";
const char* const CubicCaption = "Cubic Spline Curve";
const char* const RibbonCaption = "Surface Tangent Constraint";
const char* const ChordCaption = "Cubic Spline Knot Vector based on Chord Length";
const char* const BoundaryCaption = "Force Curve to be Surface Boundary";
const char* const UnlinkCaption = "Unlink Point";
const char* const ControlPolygonCaption = "Show Control Polygon";
const char* const CurvatureCaption = "Show Curvature";
const char* const InsertCaption = "Insert into Surface";

// The network surfaces of List, in document order, that can take every one of Curves.
std::vector<TGeoXTSurface*> SurfacesTaking(const TGeometryList& List, const std::vector<TGeoXTCurve*>& Curves) {
    std::vector<TGeoXTSurface*> Result;
    for (int I = 0; I < List.Count(); ++I) {
        auto* S = dynamic_cast<TGeoXTSurface*>(&List.Items(I));
        if (S == nullptr) continue;
        if (std::all_of(Curves.begin(), Curves.end(),
                        [S](TGeoXTCurve* C) { return S->Surface().Curves().CanAdd(&C->Curve()); }))
            Result.push_back(S);
    }
    return Result;
}

constexpr std::array<const char*, 7> RibbonCaptions = {"None", "Knuckle Line", "X", "Y", "Z", "Normal to Curve",
                                                       "Parallel to Curve"};

// 0 enabled, 1 disabled, 2 checked.
void ShowState(TMenuItem* Item, int State) {
    if (Item == nullptr) return;
    Item->Enabled = State != csNotAllowed;
    Item->Checked = State == csPresent;
}

void ShowChecked(TMenuItem* Item, bool Checked) {
    if (Item != nullptr) Item->Checked = Checked;
}

// The curves of the document resting on one of Going and not going themselves.
std::vector<TGeoXTCurve*> DependentsOf(const TGeometryList& List, const std::vector<TGeoXTCurve*>& Going) {
    std::vector<TGeoXTCurve*> Result;
    for (int I = 0; I < List.Count(); ++I) {
        auto* C = dynamic_cast<TGeoXTCurve*>(&List.Items(I));
        if (C == nullptr || std::find(Going.begin(), Going.end(), C) != Going.end()) continue;
        if (std::any_of(Going.begin(), Going.end(), [C](TGeoXTCurve* G) { return G->Curve().HasDependent(&C->Curve()); }))
            Result.push_back(C);
    }
    return Result;
}

}  // namespace

// ---- TXTPointInfo ----

void TXTPointInfo::SetSelected(bool Value) {
    if (XTPoint != nullptr) XTPoint->Selected = Value;
}

void TXTPointInfo::SetXTPoint(TXTPoint* Vertex, IGraphics* View, bool AVisible) {
    XTPoint = Vertex;
    if (Vertex != nullptr)
        SetPoint(Vertex->GetPosition(), Vertex->Selected, AVisible, View);
    else
        SetPoint(ZeroVector, false, false, View);
}

void TXTPointInfo::SetRPoint(const TRPoint& Point, IGraphics* View, bool AVisible) {
    XTPoint = nullptr;
    SetPoint(TMVector{Point.X, Point.Y, Point.Z}, Point.Marked, AVisible, View);
}

// ---- TGeoXTCurve ----

TGeoXTCurve::TGeoXTCurve() : FCurve(std::make_unique<TXTCurve>()) {
    UseDisplayPolyline();
    FCurve->OnChange = [this](TXTNode*) { InvalidateCurveRepresentations(); };
    FCurve->OnLosingInput = [this](TXTNode*) { RecordChange(); };
    FCurve->OnFollowingInput = [this](TXTNode*) { RecordFollowingChange(); };
    FCurve->OnRegenerated = [this](TXTCurve*) { SendMessage(std::make_unique<TGeoXTCurveUpdate>()); };
    FCurve->Manager = this;
    SetName("XTCurve1");
    SetCapabilities(GetCapabilities() | 0x8042);
}

const char* TGeoXTCurve::HintText() const {
    return "Left Click to Select, Shift to Select by region, Ctrl to add to previous selection, Delete to remove points, "
           "'A' to add points, ESC to cancel snapping";
}

TGeoXTCurve::~TGeoXTCurve() {
    FCurve->OnChange = nullptr;
    FCurve->OnLosingInput = nullptr;
    FCurve->OnFollowingInput = nullptr;
    FCurve->OnRegenerated = nullptr;
    FCurve.reset();
}

template <class F>
void TGeoXTCurve::Change(F Body) {
    BeginChange();
    Undraw();
    Body();
    EndChange();
    InvalidateViews();
}

template <class F>
void TGeoXTCurve::ChangeWithDependents(F Body) {
    TGeometryList* List = GetOwnerList();
    const std::vector<TGeoXTCurve*> Dependents = List ? DependentsOf(*List, {this}) : std::vector<TGeoXTCurve*>();
    if (Dependents.empty()) {
        Change(Body);
        return;
    }
    // Vertex references on the dependents follow the renumbering: they change with this curve, in
    // one undo step, so that undo gives them their old vertices back.
    List->BeginUpdate(0);
    try {
        for (TGeoXTCurve* D : Dependents) D->BeginChange();
        Change(Body);
        for (TGeoXTCurve* D : Dependents) D->EndChange();
    } catch (...) {
        List->EndUpdate();
        throw;
    }
    List->EndUpdate();
}

// ---- IXTManager ----


TXTNode* TGeoXTCurve::FindNode(const std::string& Name) {
    const TGeometryList* List = GetOwnerList();
    if (List == nullptr) return nullptr;
    TGeometry* Found = List->FindByName(Name);
    return Found != nullptr ? XTNodeOf(*Found, true) : nullptr;
}

std::unique_ptr<TXTNodeList> TGeoXTCurve::Nodes() {
    const TGeometryList* List = GetOwnerList();
    if (List == nullptr) return nullptr;
    auto Result = std::make_unique<TXTNodeList>();
    for (int I = 0; I < List->Count(); ++I)
        if (TXTNode* Node = XTNodeOf(List->Items(I), false)) Result->Add(Node);
    return Result;
}

void TGeoXTCurve::AddInfoMessage(const TInfoMessage& Message) { TGeometry::AddInfoMessage(Message); }

void TGeoXTCurve::ClearInfoMessages(const void*) { TGeometry::ClearInfoMessages(); }

// ---- Commands ----

template <class T>
void TGeoXTCurve::TogglePointConstraint() {
    const int State = SelectionVertexState<T>(*FCurve);
    if (State == csAbsent)
        Change([&] { AddPointConstraint<T>(*FCurve); });
    else if (State == csPresent)
        Change([&] { RemovePointConstraint<T>(*FCurve); });
}

template <class T>
void TGeoXTCurve::ToggleRangeConstraint() {
    const int State = SelectionRangeState<T>(*FCurve);
    if (State == csAbsent)
        Change([&] { AddRangeConstraint<T>(*FCurve); });
    else if (State == csPresent)
        Change([&] { RemoveRangeConstraint(*FCurve); });
}

namespace {

template <class T>
void ToggleCurveConstraint(TXTCurve& Curve, int State) {
    if (State == csAbsent)
        AddCurveConstraint<T>(Curve);
    else if (State == csPresent)
        RemoveCurveConstraint<T>(Curve);
}

}  // namespace

void TGeoXTCurve::TogglePolyline() {
    const int State = TXTPolylineConstraint::CurveState(*FCurve);
    if (State != csNotAllowed) Change([&] { ToggleCurveConstraint<TXTPolylineConstraint>(*FCurve, State); });
}

void TGeoXTCurve::ToggleCubicSpline() {
    const int State = TXTCubicSplineConstraint::CurveState(*FCurve);
    if (State != csNotAllowed) Change([&] { ToggleCurveConstraint<TXTCubicSplineConstraint>(*FCurve, State); });
}

void TGeoXTCurve::SetRibbonKindFromMenu(std::uint8_t Kind) {
    if (Kind == FCurve->GetRibbonKind()) return;
    Change([&] { FCurve->SetRibbonKind(Kind); });
}

void TGeoXTCurve::ToggleOption(std::uint8_t Option) {
    // One bracket, closed: the toggle is one undo step.
    Change([&] { FCurve->SetOptions(FCurve->Options() ^ Option); });
}

bool TGeoXTCurve::CanUnlinkPoint() const {
    if (!Editing()) return false;
    int Selected = -1;
    for (int I = 0; I < FCurve->PointCount(); ++I)
        if (FCurve->PointAt(I)->Selected) {
            if (Selected >= 0) return false;
            Selected = I;
        }
    return Selected >= 0 && dynamic_cast<TXTReferencePoint*>(FCurve->PointAt(Selected)) != nullptr;
}

void TGeoXTCurve::UnlinkPoint() {
    if (!CanUnlinkPoint()) return;
    for (int I = 0; I < FCurve->PointCount(); ++I)
        if (FCurve->PointAt(I)->Selected) {
            Change([&] { FCurve->DetachPoint(I); });
            return;
        }
}

void TGeoXTCurve::ReversePoints() {
    Change([&] { FCurve->ReversePoints(); });
}

void TGeoXTCurve::ToggleControlPolygon() {
    Undraw();
    FShowControlPolygon = !FShowControlPolygon;
    Redraw();
}

void TGeoXTCurve::ClearLocation() {
    TXTConstraints& List = FCurve->Constraints();
    if (List.HasPlaneConstraint())
        Change([&] { RemovePlaneConstraint(*FCurve); });
    else if (List.HasConstraint<TXTOffsetConstraint>())
        Change([&] { RemoveOffsetConstraint(*FCurve); });
}

void TGeoXTCurve::SetPlaneDirection(std::uint8_t Direction) {
    if (TXTPlaneConstraint::PlaneConstraintState(*FCurve) == csNotAllowed) return;
    if (const TXTPlaneConstraint* Plane = FCurve->Constraints().PlaneConstraint(); Plane && Plane->Direction == Direction)
        return;
    Change([&] {
        AddPlaneConstraint(*FCurve);
        if (TXTPlaneConstraint* Plane = FCurve->Constraints().PlaneConstraint()) Plane->SetDirection(Direction);
    });
}

void TGeoXTCurve::SetPlaneParameter(double Value) {
    if (TXTPlaneConstraint* Plane = FCurve->Constraints().PlaneConstraint())
        Change([&] { Plane->SetParameterValue(Value); });
}

TXTOffsetConstraint* TGeoXTCurve::OffsetConstraint() const {
    const TXTConstraints& List = FCurve->Constraints();
    for (int I = 0; I < List.Count(); ++I)
        if (auto* Offset = dynamic_cast<TXTOffsetConstraint*>(List.Items(I))) return Offset;
    return nullptr;
}

void TGeoXTCurve::SetOffsetCurveByName(const std::string& Name) {
    const int State = TXTOffsetConstraint::OffsetConstraintState(*FCurve);
    if (State == csNotAllowed) return;
    if (Name.empty()) {
        if (State == csPresent) Change([&] { RemoveOffsetConstraint(*FCurve); });
        return;
    }
    auto* Target = dynamic_cast<TXTCurve*>(FindNode(Name));
    if (Target == nullptr || Target == FCurve.get()) return;
    if (const TXTOffsetConstraint* Offset = OffsetConstraint(); Offset && Offset->OffsetCurve() == Target) return;
    Change([&] {
        if (State == csAbsent) AddOffsetConstraint(*FCurve);
        if (TXTOffsetConstraint* Offset = OffsetConstraint()) Offset->SetOffsetCurve(Target);
    });
}

namespace {

void SetAxis(TXTPoint& P, int Axis, double Value) {
    if (Axis == 0)
        P.SetX(Value);
    else if (Axis == 1)
        P.SetY(Value);
    else if (Axis == 2)
        P.SetZ(Value);
}

}  // namespace

void TGeoXTCurve::SetVertexCoordinate(int Vertex, int Axis, double Value) {
    if (Vertex < 0 || Vertex >= FCurve->PointCount() || Axis < 0 || Axis > 2) return;
    Change([&] { SetAxis(*FCurve->PointAt(Vertex), Axis, Value); });
}

void TGeoXTCurve::FillCoordinate(int Axis, double Value) {
    if (Axis < 0 || Axis > 2 || FCurve->PointCount() == 0) return;
    Change([&] {
        for (int I = 0; I < FCurve->PointCount(); ++I) SetAxis(*FCurve->PointAt(I), Axis, Value);
    });
}

void TGeoXTCurve::InsertVertexAbove(int Vertex) {
    const int N = FCurve->PointCount();
    if (N < 2 || Vertex < 0 || Vertex >= N) return;
    const auto At = [this](int I) { return FCurve->PointAt(I)->GetPosition(); };
    if (Vertex > 0)
        ChangeWithDependents([&] { FCurve->InsertPointAt(Vertex, VectorMidpoint(At(Vertex - 1), At(Vertex))); });
    else
        ChangeWithDependents([&] { FCurve->InsertPointAt(0, VectorLerp(At(0), At(1), -1)); });
}

void TGeoXTCurve::InsertVertexBelow(int Vertex) {
    const int N = FCurve->PointCount();
    if (N < 2 || Vertex < 0 || Vertex >= N) return;
    const auto At = [this](int I) { return FCurve->PointAt(I)->GetPosition(); };
    if (Vertex == N - 1)
        ChangeWithDependents([&] { FCurve->AddPointAt(VectorLerp(At(N - 1), At(N - 2), -1)); });
    else
        ChangeWithDependents([&] { FCurve->InsertPointAt(Vertex + 1, VectorMidpoint(At(Vertex), At(Vertex + 1))); });
}

void TGeoXTCurve::SelectVertices(int First, int Last) {
    if (!Editing()) return;
    for (int I = 0; I < FCurve->PointCount(); ++I) FCurve->PointAt(I)->Selected = I >= First && I <= Last;
    Redraw();
}

bool TGeoXTCurve::DropPlaneWithoutDirection() {
    const TXTPlaneConstraint* Plane = FCurve->Constraints().PlaneConstraint();
    if (Plane == nullptr || Plane->Direction != pdNone) return false;
    RemovePlaneConstraint(*FCurve);
    return true;
}

std::unique_ptr<TGeometry> TGeoXTCurve::MakeBSplineEntity() {
    if (FCurve->PointCount() < 2) return nullptr;
    auto Entity = std::make_unique<TGeoBSpline>();
    FCurve->ToBSpline(Entity->Spline());
    return Entity;
}

std::unique_ptr<TGeometry> TGeoXTCurve::MakePolylineEntity() {
    if (FCurve->PointCount() < 2) return nullptr;
    FCurve->Regenerate();
    auto Entity = std::make_unique<TGeoPline>();
    Entity->Polyline().Assign(FCurve->Polyline());
    return Entity;
}

namespace {

// In one update bracket, the new entities are added, then the curves go from the end of the list
// backwards. The curves resting on them lose their links inside change brackets of their own, so
// that undo gives the links back.
void ReplaceCurves(TGeometryList& List, const std::vector<TGeoXTCurve*>& Going,
                   std::vector<std::unique_ptr<TGeometry>> New) {
    const std::vector<TGeoXTCurve*> Dependents = DependentsOf(List, Going);
    InListUpdate(List, [&] {
        for (TGeoXTCurve* D : Dependents) D->BeginChange();
        for (auto& N : New) List.Add(std::move(N));
        for (auto It = Going.rbegin(); It != Going.rend(); ++It) List.DeleteGeometry(*It);
        for (TGeoXTCurve* D : Dependents) D->EndChange();
    });
    List.InvalidateViews();
}

// Each of Curves replaced by the entity Make gives; curves that give none stay.
void ConvertCurves(TGeometryList& List, const std::vector<TGeoXTCurve*>& Curves,
                   std::unique_ptr<TGeometry> (TGeoXTCurve::*Make)()) {
    std::vector<TGeoXTCurve*> Going;
    std::vector<std::unique_ptr<TGeometry>> New;
    for (TGeoXTCurve* C : Curves)
        if (std::unique_ptr<TGeometry> N = (C->*Make)()) {
            New.push_back(std::move(N));
            Going.push_back(C);
        }
    if (!Going.empty()) ReplaceCurves(List, Going, std::move(New));
}

}  // namespace

void TGeoXTCurve::ConvertToBSpline() {
    if (TGeometryList* List = GetOwnerList()) ConvertCurves(*List, {this}, &TGeoXTCurve::MakeBSplineEntity);
}

void TGeoXTCurve::ConvertToPolyline() {
    if (TGeometryList* List = GetOwnerList()) ConvertCurves(*List, {this}, &TGeoXTCurve::MakePolylineEntity);
}

// ---- Overrides ----

std::string TGeoXTCurve::GetName() const { return FCurve->GetName(); }

void TGeoXTCurve::SetName(const std::string& Value) {
    const std::string Clean = NameWithoutControls(Value);
    // The undo snapshot must hold the old name, which the curve object keeps.
    if (Clean != GetName()) RecordChange();
    FCurve->SetName(Clean);
    TGeoDraggableCurve::SetName(Value);
}

TDataObject TGeoXTCurve::GetDataObject() { return TDataObject::Of(FCurve.get()); }

std::unique_ptr<TPointInfo> TGeoXTCurve::CreatePointInfo() { return std::make_unique<TXTPointInfo>(this); }

void TGeoXTCurve::GetPointInfo(int Index, TPointInfo& Info, IGraphics* View) {
    auto* X = dynamic_cast<TXTPointInfo*>(&Info);
    if (X == nullptr) {
        TGeoDraggableCurve::GetPointInfo(Index, Info, View);
        return;
    }
    if (Editing()) {
        X->SetXTPoint(Index >= 0 && Index < FCurve->PointCount() ? FCurve->PointAt(Index) : nullptr, View, true);
        return;
    }
    const TPolyline& P = *GetPolyline();
    if (Index >= 0 && Index < P.Count())
        X->SetRPoint(*P.Point(Index), View, true);
    else
        X->SetXTPoint(nullptr, View, false);
}

int TGeoXTCurve::GetPointCount() { return Editing() ? FCurve->PointCount() : GetPolyline()->Count(); }

TMBox TGeoXTCurve::CalculateExtents() {
    FCurve->Regenerate();
    return FCurve->Extents();
}

IXTCurveFrame* TGeoXTCurve::CurveFrame() const { return dynamic_cast<IXTCurveFrame*>(GetFrame()); }

IGeometryFrame* TGeoXTCurve::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(XTCurveFrameName, *this, Owner)) return Frame;
    return TGeoDraggableCurve::CreateFrame(Owner);
}

void TGeoXTCurve::UpdateFrame() {
    if (IXTCurveFrame* Frame = CurveFrame())
        Frame->Refresh();
    else
        TGeoDraggableCurve::UpdateFrame();
}

void TGeoXTCurve::Transform(const TMMatrix& M) {
    BeginChange();
    Undraw();
    FCurve->Transform(M);
    EndChange();
    InvalidateViews();
}

void TGeoXTCurve::Assign(const TGeometry& Source) {
    TGeoDraggableCurve::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoXTCurve*>(&Source)) {
        FCurve->Assign(*Other->FCurve);
        StoreName(FCurve->GetName());
    }
}

std::unique_ptr<TPolyline> TGeoXTCurve::IntersectPlane(const TMPlane& Plane) {
    return CurvePlaneIntersections(Plane, *GetPolyline());
}

TPolyline* TGeoXTCurve::GetPolyline() {
    FCurve->Regenerate();
    return &FCurve->Polyline();
}

void TGeoXTCurve::AddToCurveAnalysis(TCurveAnalysis& Analysis) { FCurve->AddToCurveAnalysis(Analysis); }

void TGeoXTCurve::SaveToText(TTextWriter& Out) {
    // Points resting on other curves are written where their hosts hold them now. A curve that cannot
    // be regenerated (its host missing or damaged, a cycle, coinciding points) is written as it holds
    // itself: its references are written by name and resolved again when the file is read.
    try {
        FCurve->Regenerate();
    } catch (const std::exception&) {
    }
    Out.WriteLine("[" + GetKeyword() + "]");
    FCurve->SaveToText(Out);
    // A recoloured curve keeps its colour; one in the draw colour writes nothing more.
    WriteCommonKeys(Out, *this, ckColor);
    Out.WriteLine("");
}

void TGeoXTCurve::LoadFromText(TTextReader& In) {
    FCurve->LoadFromText(In);
    StoreName(FCurve->GetName());
    while (!In.Eof()) {
        const std::string Line = In.ReadLine();
        const std::size_t Eq = Line.find('=');
        if (Eq == std::string::npos) break;
        const std::string Key = UpperCase(Trim(Line.substr(0, Eq)));
        if (Key.empty()) break;
        if (Key == "COLOR") SetColor(StringToColor(Trim(Line.substr(Eq + 1))));
    }
}

double TGeoXTCurve::Expression(const std::string& PropertyText) {
    const std::size_t Open = PropertyText.find('(');
    const std::size_t Close = PropertyText.rfind(')');
    const std::string Upper = UpperCase(PropertyText);
    if (Open == std::string::npos || Close == std::string::npos || Close < Open)
        throw EError("TGeoXTCurve.Expression - Correct Function component not found " + PropertyText);
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) throw EError("TGeoXTCurve.Expression - Correct Function component not found " + PropertyText);
    const double Value = List->EvaluateNumber(PropertyText.substr(Open + 1, Close - Open - 1));
    if (FCurve->PointCount() < 2) throw EError("Abscissa out of range (" + PropertyText + ")");
    TBSpline Spline;
    FCurve->ToBSpline(Spline);
    std::unique_ptr<TRPoint> P;
    if (Upper.starts_with("FX"))
        P = Spline.PointAtX(Value);
    else if (Upper.starts_with("FY"))
        P = Spline.PointAtY(Value);
    else if (Upper.starts_with("FZ"))
        P = Spline.PointAtZ(Value);
    else
        throw EError("TGeoXTCurve.Expression - Correct Function component not found " + PropertyText);
    if (!P) throw EError("Abscissa out of range (" + PropertyText + ")");
    // The coordinate follows the argument: FX(Deck.X).Z asks for z.
    const std::string Suffix = Upper.substr(Close + 1);
    if (Suffix.find(".X") != std::string::npos) return P->X;
    if (Suffix.find(".Y") != std::string::npos) return P->Y;
    if (Suffix.find(".Z") != std::string::npos) return P->Z;
    throw EError("TGeoXTCurve.Expression - Correct Coordinate component not found " + PropertyText);
}

void TGeoXTCurve::Query(TGeometryQuery& Query) {
    const bool AsSpline = Query.Asks(qkBSplineCurve);
    if (!AsSpline && !Query.Asks(qkPolyline)) return;
    if (FCurve->PointCount() < 2) return;
    if (Query.CountOnly) {
        Query.CountItem();
    } else if (AsSpline) {
        auto Spline = std::make_unique<TBSpline>();
        FCurve->ToBSpline(*Spline);
        Query.AddInstance(std::move(Spline), GetName());
    } else {
        Query.AddReference(GetPolyline(), GetName());
    }
}

void TGeoXTCurve::HandleMessage(TGeoMessage& Message) {
    TGeoDraggableCurve::HandleMessage(Message);
    if (dynamic_cast<TGeoPostCopyMessage*>(&Message) != nullptr)
        FCurve->ResolveReferences();
    else if (dynamic_cast<TGeoPostPasteMessage*>(&Message) != nullptr)
        FCurve->CheckReferences();
}

// ---- Drawing ----

void TGeoXTCurve::DrawHighlighted(IGraphics& View) {
    View.SetLineWidth(3);
    View.SetLineColor(Colors().DrawColor());
    FCurve->Draw(View);
    View.SetLineWidth(1);
}

void TGeoXTCurve::DrawSimplified(IGraphics& View) { FCurve->Draw(View); }

void TGeoXTCurve::DrawRibbon(IGraphics& View) {
    // Ten pixels long at the first vertex; a target without a camera has no pixels to measure by.
    auto* Camera = dynamic_cast<IOpenGLView*>(&View);
    if (Camera == nullptr || FCurve->PointCount() == 0) return;
    FCurve->DrawRibbon(View, 10 * Camera->GetCamera().WorldPerPixel(FCurve->PointAt(0)->GetPosition()));
}

void TGeoXTCurve::DrawVertices(IGraphics& View, bool Outline) {
    const TGeometryColors& C = Colors();
    for (int I = 0; I < FCurve->PointCount(); ++I) {
        const TXTPoint& P = *FCurve->PointAt(I);
        const TMVector Pos = P.GetPosition();
        if (Editing()) {
            if (!Outline)
                View.SetLineColor(P.Selected ? C.SelectColor() : I == 0 ? C.StartColor() : C.ControlPolygonColor());
            View.EditHandle(0, Pos.X, Pos.Y, Pos.Z);
        } else if (P.State > 0) {
            View.EditHandle(3, Pos.X, Pos.Y, Pos.Z);
        }
    }
}

void TGeoXTCurve::Draw(IGraphics& View) {
    const bool Wide = FCurve->GetRibbonKind() != rkNone;
    if (Wide) View.SetLineWidth(3);
    FCurve->Draw(View);
    TGeoDraggableCurve::Draw(View);
    if (Wide) View.SetLineWidth(1);
    DrawRibbon(View);
    if ((GetState() & (gsDragging | gsKeyMoving)) != 0) {
        View.SetLineColor(Colors().NonEditColor());
        FCurve->DrawDependentCurves(View);
    }
    if (Editing()) {
        View.SetLineColor(Colors().ControlPolygonColor());
        if (FShowControlPolygon)
            FCurve->Segments().DrawControlPoints(View);
        else
            FCurve->DrawSegments(View);
    } else if (FShowControlPolygon) {
        FCurve->DrawSegments(View);
    }
    DrawVertices(View, false);
}

void TGeoXTCurve::DrawOutline(IGraphics& View) {
    const bool Wide = FCurve->GetRibbonKind() != rkNone;
    if (Wide) View.SetLineWidth(3);
    FCurve->Draw(View);
    TGeoDraggableCurve::DrawOutline(View);
    if (Wide) View.SetLineWidth(1);
    DrawRibbon(View);
    if ((GetState() & (gsDragging | gsKeyMoving)) != 0) FCurve->DrawDependentCurves(View);
    if (Editing()) {
        if (FShowControlPolygon)
            FCurve->Segments().DrawControlPoints(View);
        else
            FCurve->DrawSegments(View);
    } else if (FShowControlPolygon) {
        FCurve->DrawSegments(View);
    }
    DrawVertices(View, true);
}

// ---- Menus ----

void TGeoXTCurve::AddMenuItems(TMenuItem& Root) {
    TGeoDraggableCurve::AddMenuItems(Root);
    AddMenuItem(InsertCaption, {});
    AddMenuItem("-", {});
    AddMenuItem(OverrideCaption, [this](TMenuItem&) { TogglePointConstraint<TXTOverrideSurfaceTangentConstraint>(); });
    AddMenuItem(KnuckleCaption, [this](TMenuItem&) { TogglePointConstraint<TXTKnuckleConstraint>(); });
    AddMenuItem(InterpolateCaption, [this](TMenuItem&) { TogglePointConstraint<TXTInterpolateConstraint>(); });
    AddMenuItem(StraightCaption, [this](TMenuItem&) { ToggleRangeConstraint<TXTStraightConstraint>(); });
    AddMenuItem(BlendCaption, [this](TMenuItem&) { ToggleRangeConstraint<TXTBlendConstraint>(); });
    AddMenuItem(PolylineCaption, [this](TMenuItem&) { TogglePolyline(); });
    AddMenuItem(CubicCaption, [this](TMenuItem&) { ToggleCubicSpline(); });
    AddMenuItem("-", {});
    AddMenuItem(RibbonCaption, {});
    for (std::size_t K = 0; K < RibbonCaptions.size(); ++K)
        AddSubMenuItem(RibbonCaptions[K],
                       [this, K](TMenuItem&) { SetRibbonKindFromMenu(static_cast<std::uint8_t>(K)); });
    AddMenuItem(ChordCaption, [this](TMenuItem&) { ToggleOption(coFitChordLength); });
    AddMenuItem(BoundaryCaption, [this](TMenuItem&) { ToggleOption(coSurfaceBoundary); });
    AddMenuItem("-", {});
    AddMenuItem(UnlinkCaption, [this](TMenuItem&) { UnlinkPoint(); });
    AddMenuItem("Reverse Point Order", [this](TMenuItem&) { ReversePoints(); });
    AddMenuItem("-", {});
    AddMenuItem("Convert to BSpline Curve", [this](TMenuItem&) { ConvertToBSpline(); });
    AddMenuItem("Convert to Polyline Curve", [this](TMenuItem&) { ConvertToPolyline(); });
    AddMenuItem("-", {});
    AddMenuItem(ControlPolygonCaption, [this](TMenuItem&) { ToggleControlPolygon(); });
    AddMenuItem(CurvatureCaption, [this](TMenuItem&) { ToggleDrawCurvature(); });
}

void TGeoXTCurve::UpdateMenuItems(TMenuItem& Root) {
    TGeoDraggableCurve::UpdateMenuItems(Root);
    if (TMenuItem* Insert = Root.Find(InsertCaption)) {
        Insert->Clear();
        if (TGeometryList* List = GetOwnerList())
            for (TGeoXTSurface* S : SurfacesTaking(*List, {this})) {
                const std::string Name = GetName();
                Insert->Add(S->GetName(), [S, Name](TMenuItem&) { S->AddCurve(Name); });
            }
        Insert->Enabled = Insert->Count() > 0;
    }
    if (TMenuItem* Item = Root.Find(UnlinkCaption)) Item->Enabled = CanUnlinkPoint();
    ShowState(Root.Find(OverrideCaption), SelectionVertexState<TXTOverrideSurfaceTangentConstraint>(*FCurve));
    ShowState(Root.Find(KnuckleCaption), SelectionVertexState<TXTKnuckleConstraint>(*FCurve));
    ShowState(Root.Find(InterpolateCaption), SelectionVertexState<TXTInterpolateConstraint>(*FCurve));
    ShowState(Root.Find(StraightCaption), SelectionRangeState<TXTStraightConstraint>(*FCurve));
    ShowState(Root.Find(BlendCaption), SelectionRangeState<TXTBlendConstraint>(*FCurve));
    ShowState(Root.Find(PolylineCaption), TXTPolylineConstraint::CurveState(*FCurve));
    ShowState(Root.Find(CubicCaption), TXTCubicSplineConstraint::CurveState(*FCurve));
    if (TMenuItem* Ribbon = Root.Find(RibbonCaption))
        for (int K = 0; K < Ribbon->Count(); ++K) Ribbon->Items(K).Checked = K == FCurve->GetRibbonKind();
    ShowChecked(Root.Find(ChordCaption), (FCurve->Options() & coFitChordLength) != 0);
    ShowChecked(Root.Find(BoundaryCaption), (FCurve->Options() & coSurfaceBoundary) != 0);
    ShowChecked(Root.Find(CurvatureCaption), DrawCurvature());
    ShowChecked(Root.Find(ControlPolygonCaption), FShowControlPolygon);
}

namespace {

// The state all curves share, -1 when they differ.
template <class F>
int SharedState(const std::vector<TGeoXTCurve*>& Curves, F StateOf) {
    int Shared = -2;
    for (TGeoXTCurve* C : Curves) {
        const int S = StateOf(C->Curve());
        if (Shared == -2)
            Shared = S;
        else if (Shared != S)
            return -1;
    }
    return Shared;
}

void SetOptionOnSelected(TGeometryList& List, std::uint8_t Option, bool On) {
    ForEachSelected<TGeoXTCurve>(List, [&](TGeoXTCurve& C) {
        const std::uint8_t Options = On ? (C.Curve().Options() | Option) : (C.Curve().Options() & ~Option);
        if (Options == C.Curve().Options()) return;
        C.BeginChange();
        C.Curve().SetOptions(Options);
        C.EndChange();
    });
    List.InvalidateViews();
}

}  // namespace

void TGeoXTCurve::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (!OnlyClassSelected<TGeoXTCurve>(List)) return;
    const std::vector<TGeoXTCurve*> Curves = SelectedOfClass<TGeoXTCurve>(List);
    const auto AllHave = [&](std::uint8_t Option) {
        return std::all_of(Curves.begin(), Curves.end(),
                           [Option](TGeoXTCurve* C) { return (C->Curve().Options() & Option) != 0; });
    };
    const bool AllBoundary = AllHave(coSurfaceBoundary);
    const bool AllChord = AllHave(coFitChordLength);
    const bool AllKnuckle = std::all_of(Curves.begin(), Curves.end(),
                                        [](TGeoXTCurve* C) { return C->Curve().GetRibbonKind() == rkKnuckle; });
    const int PolylineState =
        SharedState(Curves, [](const TXTCurve& C) { return TXTPolylineConstraint::CurveState(C); });
    const int CubicState =
        SharedState(Curves, [](const TXTCurve& C) { return TXTCubicSplineConstraint::CurveState(C); });
    TGeometryList* Doc = &List;

    if (Menu.Count() > 0) Menu.Add("-");
    const std::vector<TGeoXTSurface*> Hosts = SurfacesTaking(List, Curves);
    if (!Hosts.empty()) {
        TMenuItem& Insert = Menu.Add(InsertCaption);
        for (TGeoXTSurface* S : Hosts)
            Insert.Add(S->GetName(), [Doc, S](TMenuItem&) {
                InListUpdate(*Doc, [&] {
                    for (TGeoXTCurve* C : SelectedOfClass<TGeoXTCurve>(*Doc)) S->AddCurve(C->GetName());
                });
            });
        Menu.Add("-");
    }
    Menu.Add("Force Curves to be Surface Boundary",
             [Doc, AllBoundary](TMenuItem&) { SetOptionOnSelected(*Doc, coSurfaceBoundary, !AllBoundary); })
        .Checked = AllBoundary;
    Menu.Add(ChordCaption, [Doc, AllChord](TMenuItem&) { SetOptionOnSelected(*Doc, coFitChordLength, !AllChord); })
        .Checked = AllChord;
    Menu.Add("Knuckle Surface Tangent Constraint",
             [Doc, AllKnuckle](TMenuItem&) {
                 ForEachSelected<TGeoXTCurve>(*Doc, [&](TGeoXTCurve& C) {
                     C.SetRibbonKindFromMenu(AllKnuckle ? rkNone : rkKnuckle);
                 });
             })
        .Checked = AllKnuckle;
    if (PolylineState == csAbsent || PolylineState == csPresent)
        Menu.Add("Polyline Curves",
                 [Doc](TMenuItem&) { ForEachSelected<TGeoXTCurve>(*Doc, [](TGeoXTCurve& C) { C.TogglePolyline(); }); })
            .Checked = PolylineState == csPresent;
    if (CubicState == csAbsent || CubicState == csPresent)
        Menu.Add("Cubic Spline Curves",
                 [Doc](TMenuItem&) {
                     ForEachSelected<TGeoXTCurve>(*Doc, [](TGeoXTCurve& C) { C.ToggleCubicSpline(); });
                 })
            .Checked = CubicState == csPresent;
    Menu.Add("-");
    Menu.Add("Convert XTCurves to BSplines",
             [Doc](TMenuItem&) { ConvertCurves(*Doc, SelectedOfClass<TGeoXTCurve>(*Doc), &TGeoXTCurve::MakeBSplineEntity); });
    Menu.Add("Convert XTCurves to Polylines",
             [Doc](TMenuItem&) { ConvertCurves(*Doc, SelectedOfClass<TGeoXTCurve>(*Doc), &TGeoXTCurve::MakePolylineEntity); });
}

void InstallXTCurveMaker() {
    SetXTCurveMaker([](const TPolyline& Points, TXTCurveShape Shape) -> std::unique_ptr<TGeometry> {
        auto Entity = std::make_unique<TGeoXTCurve>();
        TXTCurve& C = Entity->Curve();
        for (int I = 0; I < Points.Count(); ++I) {
            const TRPoint& P = *Points.Point(I);
            C.AddPointAt(TMVector{P.X, P.Y, P.Z});
        }
        if (Shape == TXTCurveShape::CubicSpline)
            AddCurveConstraint<TXTCubicSplineConstraint>(C);
        else if (Shape == TXTCurveShape::Polyline)
            AddCurveConstraint<TXTPolylineConstraint>(C);
        return Entity;
    });
}

}  // namespace sarnova

namespace sarnova {

// ---- Dragging vertices ----

namespace {

// The entity holding a curve-network node; nullptr for a node outside any entity.
TGeoXTCurve* EntityOf(TXTNode* Node) { return Node ? dynamic_cast<TGeoXTCurve*>(Node->Manager) : nullptr; }

}  // namespace

void TGeoXTCurve::DeselectAllPoints() {
    for (int I = 0; I < FCurve->PointCount(); ++I) FCurve->PointAt(I)->Selected = false;
}

void TGeoXTCurve::CollectSnapPoints(TGeometrySnapInfo& Request) {
    if (!FSnapQuery && Request.View) {
        FSnapQuery = std::make_unique<TXTSnapQuery>(FCurve.get(), 0, *Request.View);
        FSnapQuery->OnFilter = [this](TXTNode* Node) {
            TGeoXTCurve* Entity = EntityOf(Node);
            return Entity && Entity->GetOwnerList() == GetOwnerList() && Entity->GetDisplayState() == dsNormal;
        };
    }
    if (FSnapQuery) {
        const TSnapOptions Kinds = Request.SnapTypes();
        FSnapQuery->Options = static_cast<std::uint8_t>((Kinds[stPoint] ? soVertices : 0) | (Kinds[stCurve] ? soCurves : 0));
        FSnapQuery->Query(Request.ScreenPoint, Request.Position, FSnapResult);
        // A reference point is moved elsewhere by detaching it first.
        if (dynamic_cast<TXTReferencePoint*>(FSnapResult.Point)) return;
        if (FSnapResult.Kind == skVertex)
            Request.TryPoint(FSnapResult.WorldPosition, stCurveNetPoint, EntityOf(FSnapResult.Curve));
        else if (FSnapResult.Kind == skCurve)
            Request.TryPoint(FSnapResult.WorldPosition, stCurveNetCurve, EntityOf(FSnapResult.Curve));
    }
    TGeoDraggableCurve::CollectSnapPoints(Request);
}

void TGeoXTCurve::CancelSnap() {
    TGeoDraggableCurve::CancelSnap();
    if (FSnapQuery) FSnapQuery->ClearTargets();
    FSnapResult.Kind = skNone;
}

void TGeoXTCurve::UpdateCursor() {
    IOpenGLView* AView = GetView();
    if (AView && (GetState() & gsDragging) && ObjectSnapping() && FSnapQuery && FSnapResult.Kind != skNone) {
        const TCursor Cursor = FSnapQuery->Cursor();
        if (Cursor != AView->GetCursor()) AView->SetCursor(Cursor);
        return;
    }
    TGeoDraggableCurve::UpdateCursor();
}

void TGeoXTCurve::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    FDragSnapshot.clear();
    for (int I = 0; I < FCurve->PointCount(); ++I) FDragSnapshot.push_back(FCurve->PointAt(I)->GetPosition());
    FSnapResult = TXTSnapTarget();
}

void TGeoXTCurve::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) {
    const int N = std::min(FCurve->PointCount(), static_cast<int>(FDragSnapshot.size()));
    for (int I = 0; I < N; ++I)
        if (FCurve->PointAt(I)->Selected) FCurve->PointAt(I)->SetPosition(VectorAdd(FDragSnapshot[I], Offset));
    if (auto* Reference = dynamic_cast<TXTReferencePoint*>(FSnapResult.Point); Reference && FSnapQuery) {
        // Back on its host while it stays; following the mouse while a snap or detach is pending.
        if (FSnapResult.Kind == skNone)
            Reference->SetReleased(false);
        else
            Reference->ReleaseAt(VectorAdd(FSnapQuery->StartPosition(), Offset));
    }
    InvalidateCurveRepresentations();
    if (IXTCurveFrame* Frame = CurveFrame()) Frame->UpdateGridValues();
}

void TGeoXTCurve::EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    const bool Chosen = FSnapResult.Curve && GetSnapTarget() == EntityOf(FSnapResult.Curve);
    if (FSnapResult.Kind == skDetach || ((FSnapResult.Kind == skVertex || FSnapResult.Kind == skCurve) && Chosen))
        FCurve->ApplySnap(FSnapResult);
    FSnapResult = TXTSnapTarget();
    FDragSnapshot.clear();
    FSnapQuery.reset();
}

void TGeoXTCurve::AddSnapPoints(TGeometrySnapInfo& Request) {
    // Network curves meet one another, and the curve being drawn, only through the snap query.
    if (dynamic_cast<TGeoXTCurve*>(Request.Asker) || dynamic_cast<TGeoXTCurveCreator*>(Request.Asker)) return;
    const TSnapOptions Kinds = Request.SnapTypes();
    if (Kinds.test(stCurveNetPoint))
        for (int I = 0; I < FCurve->PointCount(); ++I) {
            const TXTPoint* P = FCurve->PointAt(I);
            if (!P->Selected) Request.TryPoint(P->GetPosition(), stPoint, this);
        }
    if (Kinds.test(stCurveNetCurve) && !Editing() && Request.View) {
        const TPolyline* Line = nullptr;
        try {
            Line = GetPolyline();
        } catch (const EError&) {
            return;
        }
        if (Line->Count() == 0) return;
        const std::unique_ptr<TRPoint> Nearest = PolylineNearestScreenPoint(Request.ScreenPoint, *Line, *Request.View);
        Request.TryRPoint(*Nearest, stCurve, this);
    }
}

std::unique_ptr<TPolyline> TGeoXTCurve::VertexPolyline() const {
    auto Vertices = std::make_unique<TPolyline>();
    for (int I = 0; I < FCurve->PointCount(); ++I) Vertices->AddVector(FCurve->PointAt(I)->GetPosition());
    return Vertices;
}

void TGeoXTCurve::DrawInsertPointPreview(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    DrawInsertPointPreviewOver(*VertexPolyline(), ScreenPoint, View, Colors().SelectColor());
    Redraw();
}

void TGeoXTCurve::EraseInsertPointPreview(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    DrawInsertPointPreviewOver(*VertexPolyline(), ScreenPoint, View, Colors().BackColor());
    Redraw();
}

void TGeoXTCurve::InsertPointClick(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    const TPickedPolylinePoint Picked = PickPolylinePoint(*VertexPolyline(), ScreenPoint, View);
    if (Picked.Index < 0) return;
    ChangeWithDependents([&] { FCurve->InsertPointAt(Picked.Index, Picked.Position); });
    UpdateFrame();
}

void TGeoXTCurve::DeleteSelectedPoints() {
    auto FirstSelected = [this] {
        for (int I = 0; I < FCurve->PointCount(); ++I)
            if (FCurve->PointAt(I)->Selected) return I;
        return -1;
    };
    if (FirstSelected() < 0 || FCurve->PointCount() <= 2) return;
    ChangeWithDependents([&] {
        for (int I = FirstSelected(); I >= 0 && FCurve->PointCount() > 2; I = FirstSelected()) FCurve->DeletePoint(I);
    });
}

}  // namespace sarnova
