#include "document/GCustomPline.h"

#include <cmath>

#include "document/GCreator.h"
#include "document/GPline.h"
#include "document/GeoFace.h"
#include "document/GeometryClasses.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "foundation/BSpline.h"
#include "foundation/BlockCount.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/PolylineOps.h"
#include "foundation/TextFile.h"
#include "foundation/VkMathsIntersect.h"
#include "platform/Menu.h"

namespace sarnova {

// ---- Menu items acting on a document ----

void AddDocumentItem(TMenuItem& Menu, const std::string& Caption, TGeometryList& List,
                     void (*Operation)(TGeometryList&), bool Enabled) {
    TMenuItem& Item = Menu.Add(NewGMenuItem(Caption, &List, [Operation](TMenuItem& Sender) {
        if (TGeometryList* Document = GeometryListOf(Sender)) Operation(*Document);
    }));
    Item.Enabled = Enabled;
}

void AddCreatorItem(TMenuItem& Menu, const std::string& Caption, int ImageIndex, TGeometryList& List,
                    std::unique_ptr<TGeoDraggableCreator> (*Make)(TGeometryList&)) {
    TMenuItem& Item = Menu.Add(NewGMenuItem(Caption, &List, [Make](TMenuItem& Sender) {
        auto* Document = dynamic_cast<TGeometryInterface*>(GeometryListOf(Sender));
        if (Document != nullptr && Document->View != nullptr) RunCreator(Make(*Document), *Document->View);
    }));
    Item.ImageIndex = ImageIndex;
}

// ---- Picking a new point ----

TPickedPolylinePoint PickPolylinePoint(const TPolyline& Curve, TPoint Pixel, IGraphics& View) {
    TPickedPolylinePoint Result;
    const int N = Curve.Count();
    TPolyline Screen;
    for (int I = 0; I < N; ++I) {
        const TPoint P = View.WorldToScreenPoint(*Curve.Point(I));
        Screen.AddPoint(P.X, P.Y, 0);
    }
    TRPoint Pick;
    Pick.SetXYZ(Pixel.X, Pixel.Y, 0);
    double F = 0;
    Screen.FindInsertPosition(Pick, Result.Index, F);
    if (Result.Index < 0) return Result;
    // The depth comes from the segment the point goes into, the first one before the start and the
    // last one after the end, exactly as the insertion itself takes it: the preview shows the point
    // that a click inserts.
    const int Segment = std::clamp(Result.Index, 1, N - 1);
    const TMSegment Depth{Curve.Point(Segment - 1)->Vector(), Curve.Point(Segment)->Vector()};
    Result.Position = PointOnLineClosestToSegment(View.ScreenToRayPoint(Pixel), Depth);
    return Result;
}

// ---- TGeoCustomPLine ----

TGeoCustomPLine::TGeoCustomPLine() {
    UseDisplayPolyline();
    SetCapabilities(GetCapabilities() | cpInsertPointKey | cpSectioned);
}

const char* TGeoCustomPLine::HintText() const {
    return "Left Click to Select, Shift to Select by region, Ctrl to add to add to previous selection, Delete to remove "
           "points, 'A' to add points";
}

TGeoCustomPLine::~TGeoCustomPLine() = default;

bool TGeoCustomPLine::CanDeletePoints() { return true; }

void TGeoCustomPLine::SetShowDirection(bool On) {
    if (On == ShowDirection) return;
    Undraw();
    ShowDirection = On;
    Redraw();
}

int TGeoCustomPLine::MarkedPointCount() {
    if (!Editing() || GetCurve() == nullptr) return 0;
    int Marked = 0;
    for (int I = 0; I < GetCurve()->Count(); ++I)
        if (GetCurve()->Point(I)->Marked) ++Marked;
    return Marked;
}

void TGeoCustomPLine::ReversePoints() {
    if (GetCurve() == nullptr) return;
    ChangeAndRedraw([this] { GetCurve()->Reverse(); });
}

void TGeoCustomPLine::ToggleClosed() {
    if (GetCurve() == nullptr) return;
    ChangeAndRedraw([this] { GetCurve()->SetClosed(!GetCurve()->IsClosed()); });
}

void TGeoCustomPLine::StraightenPoints() {
    if (GetCurve() == nullptr) return;
    const TMarkedRange Range = GetCurve()->MarkedRange();
    if (Range.FirstIndex < 0) return;
    const TMVector First = GetCurve()->Point(Range.FirstIndex)->Vector();
    const TMVector Last = GetCurve()->Point(Range.LastIndex)->Vector();
    // Two coinciding end points give no line to straighten onto.
    if (VectorDistance(First, Last) == 0) return;
    ChangeAndRedraw([&] {
        const TMLine Line = LineThroughPoints(First, Last);
        for (int I = Range.FirstIndex + 1; I < Range.LastIndex; ++I) {
            TRPoint& P = *GetCurve()->Point(I);
            if (P.Marked) P.SetVector(PointOnLineClosestToPoint(Line, P.Vector()));
        }
    });
}

void TGeoCustomPLine::ConvertToPolyline() {
    if (GetCurve() == nullptr || GetOwnerList() == nullptr) return;
    auto Polyline = std::make_unique<TGeoPline>();
    Polyline->GetCurve()->Assign(*GetCurve()->Digitise());
    ReplaceInList(std::move(Polyline))->Redraw();
}

void TGeoCustomPLine::ControlPointsToPolyline() {
    TGeometryList* List = GetOwnerList();
    if (GetCurve() == nullptr || List == nullptr) return;
    auto Polyline = std::make_unique<TGeoPline>();
    Polyline->Polyline().AddCopies(*GetCurve());
    ReplaceInList(std::move(Polyline));
    List->InvalidateViews();
}

void TGeoCustomPLine::ExtrudeSurface() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    std::unique_ptr<TGeometry> Surface = CreateExtrudedSurface(*this);
    if (!Surface) return;
    List->Add(std::move(Surface));
    InvalidateViews();
}

TGeometry* ReplaceEntityInList(TGeometry& Old, std::unique_ptr<TGeometry> New) {
    TGeometryList* List = Old.GetOwnerList();
    if (List == nullptr) return nullptr;
    TGeometry* Added = nullptr;
    InListUpdate(*List, [&] {
        Added = List->Add(std::move(New));
        List->DeleteGeometry(&Old);  // frees Old
    });
    return Added;
}

TGeometry* TGeoCustomPLine::ReplaceInList(std::unique_ptr<TGeometry> Entity) {
    return ReplaceEntityInList(*this, std::move(Entity));
}

void TGeoCustomPLine::RemoveMarkedPoints(int Keep) {
    while (GetCurve()->Count() > Keep) {
        int Marked = -1;
        for (int I = 0; I < GetCurve()->Count() && Marked < 0; ++I)
            if (GetCurve()->Point(I)->Marked) Marked = I;
        if (Marked < 0) break;
        GetCurve()->Delete(Marked);
    }
}

void DrawPointHandlesOf(const TGeometry& Entity, IGraphics& View, const TPolyline& Points, bool InColour,
                        const std::function<bool(int)>& Shown) {
    const TGeometryColors& C = Entity.Colors();
    for (int I = 0; I < Points.Count(); ++I) {
        if (Shown && !Shown(I)) continue;
        const TRPoint& P = *Points.Point(I);
        if (InColour) View.SetLineColor(P.Marked ? C.SelectColor() : C.ControlPolygonColor());
        View.EditHandlePoint(P, 0);
    }
    if (InColour && Points.Count() > 0 && !Points.First()->Marked) {
        View.SetLineColor(C.StartColor());
        View.EditHandlePoint(*Points.First(), 0);
    }
}

void TGeoCustomPLine::DrawPointHandles(IGraphics& View, const TPolyline& Points, bool InColour) {
    DrawPointHandlesOf(*this, View, Points, InColour);
}

void TGeoCustomPLine::SetPointCoordinate(int Index, int Axis, double Value) {
    if (GetCurve() == nullptr || Index < 0 || Index >= GetCurve()->Count()) return;
    BeginChange();
    Undraw();
    TRPoint& P = *GetCurve()->Point(Index);
    (Axis == 0 ? P.X : Axis == 1 ? P.Y : P.Z) = Value;
    EndChange();
    InvalidateViews();
}

void TGeoCustomPLine::PrepareStructureChange() {
    if (auto* BSpline = dynamic_cast<TBSpline*>(GetCurve())) BSpline->KnotType = ktOpen;
}

void TGeoCustomPLine::InsertPointAbove(int Index) {
    if (GetCurve() == nullptr || GetCurve()->Count() < 2 || Index < 0 || Index >= GetCurve()->Count() || !CanDeletePoints()) return;
    ChangeAndRedraw([&] {
        PrepareStructureChange();
        const TRPoints& C = *GetCurve();
        if (Index > 0) {
            GetCurve()->InsertVector(Index, VectorMidpoint(C.Point(Index - 1)->Vector(), C.Point(Index)->Vector()));
        } else {
            const TMVector P0 = C.Point(0)->Vector();
            GetCurve()->InsertVector(0, VectorAdd(P0, VectorFromTo(C.Point(1)->Vector(), P0)));
        }
    });
}

void TGeoCustomPLine::InsertPointBelow(int Index) {
    if (GetCurve() == nullptr || GetCurve()->Count() < 2 || Index < 0 || Index >= GetCurve()->Count() || !CanDeletePoints()) return;
    ChangeAndRedraw([&] {
        PrepareStructureChange();
        const TRPoints& C = *GetCurve();
        const int Last = C.Count() - 1;
        if (Index == Last) {
            const TMVector Pn = C.Point(Last)->Vector();
            GetCurve()->AddVector(VectorAdd(Pn, VectorFromTo(C.Point(Last - 1)->Vector(), Pn)));
        } else {
            GetCurve()->InsertVector(Index + 1, VectorMidpoint(C.Point(Index)->Vector(), C.Point(Index + 1)->Vector()));
        }
    });
}

void TGeoCustomPLine::MarkPointRange(int First, int Last) {
    if (GetCurve() == nullptr) return;
    for (int I = 0; I < GetCurve()->Count(); ++I) GetCurve()->Point(I)->Marked = I >= First && I <= Last;
    Redraw();
}

void TGeoCustomPLine::FillCoordinate(int Axis, double Value) {
    if (GetCurve() == nullptr) return;
    BeginChange();
    for (int I = 0; I < GetCurve()->Count(); ++I) {
        TRPoint& P = *GetCurve()->Point(I);
        (Axis == 0 ? P.X : Axis == 1 ? P.Y : P.Z) = Value;
    }
    EndChange();
    InvalidateViews();
}

void TGeoCustomPLine::SetCurveOrder(int Order) {
    auto* BSpline = dynamic_cast<TBSpline*>(GetCurve());
    if (BSpline == nullptr || !CanDeletePoints()) return;
    ChangeAndRedraw([&] {
        BSpline->SetOrder(Order);
        BSpline->KnotType = ktOpen;
    });
}

TDataObject TGeoCustomPLine::GetDataObject() { return TDataObject::Of(GetCurve()); }

int TGeoCustomPLine::GetPointCount() {
    if (Editing()) return GetCurve() != nullptr ? GetCurve()->Count() : 0;
    const TPolyline* Display = DisplayPolyline();
    return Display != nullptr ? Display->Count() : 0;
}

TRPoint* TGeoCustomPLine::GetPoint(int Index) {
    TPolyline* Points = Editing() ? GetCurve() : DisplayPolyline();
    if (Points == nullptr || Index < 0 || Index >= Points->Count()) return nullptr;
    return Points->Point(Index);
}

void TGeoCustomPLine::AddSnapPoints(TGeometrySnapInfo& Request) {
    if (GetCurve() == nullptr) return;
    const TSnapOptions Kinds = Request.SnapTypes();
    if (Kinds.test(stPoint))
        for (int I = 0; I < GetCurve()->Count(); ++I) {
            const TRPoint& P = *GetCurve()->Point(I);
            if (!P.Marked) Request.TryRPoint(P, stPoint, this);
        }
    if (Kinds.test(stCurve) && !Editing() && Request.View != nullptr) {
        if (const TPolyline* Display = DisplayPolyline()) {
            const std::unique_ptr<TRPoint> Nearest = PolylineNearestScreenPoint(Request.ScreenPoint, *Display, *Request.View);
            Request.TryRPoint(*Nearest, stCurve, this);
        }
    }
}

std::unique_ptr<TPolyline> TGeoCustomPLine::IntersectPlane(const TMPlane& Plane) {
    if (GetCurve() == nullptr) return nullptr;
    return CurvePlaneIntersections(Plane, *GetCurve());
}

void TGeoCustomPLine::DrawSimplified(IGraphics& View) {
    if (GetCurve() != nullptr) GetCurve()->DrawControlPolygon(View);
}

void TGeoCustomPLine::SaveToText(TTextWriter& Out) {
    if (GetCurve() == nullptr) return;
    Out.WriteLine("[" + GetCurve()->ClassName() + "]");
    GetCurve()->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName | ckColor);
    Out.WriteLine("");
}

void TGeoCustomPLine::LoadFromText(TTextReader& In) {
    // The points, one a line, follow the curve's own header lines (order, knots).
    if (const int Header = LinesBeforeKey(In, "NUMPOINTS", 16); Header >= 0) CheckListCount(In, {.SkipLines = Header});
    if (GetCurve() != nullptr) GetCurve()->LoadFromText(In);
    TBlockLine Line;
    while (ReadBlockLine(In, Line))
        if (Line.Key == "NAME" || Line.Key == "COLOR") ReadCommonKey(*this, Line);
}

double TGeoCustomPLine::Expression(const std::string& PropertyText) {
    const std::string& Text = PropertyText;
    const std::string FunctionError = "TGeoCustomPline.Expression - Correct Function component not found " + Text;
    const std::size_t Open = Text.find('(');
    const std::size_t Close = Text.rfind(')');
    if (Open == std::string::npos || Close == std::string::npos || Close < Open) throw EError(FunctionError);
    const std::string Argument = Text.substr(Open + 1, Close - Open - 1);
    const double Value = GetOwnerList() != nullptr ? GetOwnerList()->EvaluateNumber(Argument) : ParseFloat(Argument);
    if (GetCurve() == nullptr) throw EError("Abscissa out of range (" + Text + ")");

    std::unique_ptr<TRPoint> Point;
    if (Text.starts_with("FX"))
        Point = GetCurve()->PointAtX(Value);
    else if (Text.starts_with("FY"))
        Point = GetCurve()->PointAtY(Value);
    else if (Text.starts_with("FZ"))
        Point = GetCurve()->PointAtZ(Value);
    else
        throw EError(FunctionError);
    if (!Point) throw EError("Abscissa out of range (" + Text + ")");

    if (Text.find(".X") != std::string::npos) return Point->X;
    if (Text.find(".Y") != std::string::npos) return Point->Y;
    if (Text.find(".Z") != std::string::npos) return Point->Z;
    throw EError("TGeoCustomPline.Expression - Correct Coordinate component not found " + Text);
}

void TGeoCustomPLine::DeleteSelectedPoints() {
    if (GetCurve() == nullptr || !CanDeletePoints()) return;
    BeginChange();
    Undraw();
    PrepareStructureChange();
    RemoveMarkedPoints(2);
    EndChange();
    InvalidateViews();
}

IGeometryFrame* TGeoCustomPLine::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(PlineFrameName, *this, Owner)) return Frame;
    return TGeoDraggableCurve::CreateFrame(Owner);
}

IPlineFrame* TGeoCustomPLine::PlineFrame() const { return dynamic_cast<IPlineFrame*>(GetFrame()); }

void TGeoCustomPLine::UpdateFrame() {
    if (IPlineFrame* Frame = PlineFrame())
        Frame->UpdateFromEntity();
    else
        TGeoDraggableCurve::UpdateFrame();
}

void TGeoCustomPLine::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    if (GetCurve() != nullptr) DragSnapshot() = GetCurve()->Clone();
}

void TGeoCustomPLine::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) {
    const TPolyline* Snapshot = DragSnapshot().get();
    if (GetCurve() == nullptr || !Snapshot) return;
    const int N = std::min(GetCurve()->Count(), Snapshot->Count());
    for (int I = 0; I < N; ++I) {
        TRPoint& P = *GetCurve()->Point(I);
        if (P.Marked) P.SetVector(VectorAdd(Snapshot->Point(I)->Vector(), Offset));
    }
    InvalidateCurveRepresentations();
    if (IPlineFrame* Frame = PlineFrame()) Frame->UpdateMarkedRows();
}

void TGeoCustomPLine::EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    DragSnapshot().reset();
}

void TGeoCustomPLine::InsertPointClick(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    if (GetCurve() == nullptr) return;
    BeginChange();
    Undraw();
    GetCurve()->InsertScreenPoint(ScreenPoint, View);
    EndChange();
    InvalidateViews();
}

void DrawInsertPointPreviewOver(const TPolyline& Points, TPoint Pixel, IGraphics& View, TColor Colour) {
    const TPickedPolylinePoint Picked = PickPolylinePoint(Points, Pixel, View);
    const int K = Picked.Index;
    if (K < 0) return;
    const int N = Points.Count();
    View.SetLineColor(Colour);
    if (K > 0 && K <= N) View.LineVectors(Picked.Position, Points.Point(K - 1)->Vector());
    if (K >= 0 && K <= N - 1) View.LineVectors(Picked.Position, Points.Point(K)->Vector());
    View.EditHandle(0, Picked.Position.X, Picked.Position.Y, Picked.Position.Z);
}

void TGeoCustomPLine::DrawInsertPreview(TPoint ScreenPoint, IGraphics& View, TColor Colour) {
    if (GetCurve() != nullptr) DrawInsertPointPreviewOver(*GetCurve(), ScreenPoint, View, Colour);
}

void TGeoCustomPLine::DrawInsertPointPreview(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    DrawInsertPreview(ScreenPoint, View, Colors().SelectColor());
    Redraw();
}

void TGeoCustomPLine::EraseInsertPointPreview(TPoint ScreenPoint, TShiftState, IGraphics& View) {
    DrawInsertPreview(ScreenPoint, View, Colors().BackColor());
}

// ---- Conversions into curve-network curves ----

namespace {

TXTCurveMaker& XTCurveMaker() {
    static TXTCurveMaker Installed;
    return Installed;
}

}  // namespace

void SetXTCurveMaker(TXTCurveMaker Maker) { XTCurveMaker() = std::move(Maker); }

bool CanCreateXTCurve() {
    if (!XTCurveMaker() || !GGeometryClasses) return false;
    return UpperCase(GGeometryClasses->FindClass("TXTCurve").GetKeyword()) == "TXTCURVE";
}

std::unique_ptr<TGeometry> CreateXTCurve(const TPolyline& Points, TXTCurveShape Shape) {
    return CanCreateXTCurve() ? XTCurveMaker()(Points, Shape) : nullptr;
}

// ---- Conversions into entity kinds of the higher floors ----

namespace {

TTarvoCurveMaker& TarvoCurveMaker() {
    static TTarvoCurveMaker Installed;
    return Installed;
}

TExtrudedSurfaceMaker& ExtrudedSurfaceMaker() {
    static TExtrudedSurfaceMaker Installed;
    return Installed;
}

TPointCloudMaker& PointCloudMaker() {
    static TPointCloudMaker Installed;
    return Installed;
}

}  // namespace

void SetTarvoCurveMaker(TTarvoCurveMaker Maker) { TarvoCurveMaker() = std::move(Maker); }

bool CanCreateTarvoCurve() { return static_cast<bool>(TarvoCurveMaker()); }

std::unique_ptr<TGeometry> CreateTarvoCurve(const TBSpline& Spline) {
    return TarvoCurveMaker() ? TarvoCurveMaker()(Spline) : nullptr;
}

void SetExtrudedSurfaceMaker(TExtrudedSurfaceMaker Maker) { ExtrudedSurfaceMaker() = std::move(Maker); }

std::unique_ptr<TGeometry> CreateExtrudedSurface(TGeoCustomPLine& Curve) {
    return ExtrudedSurfaceMaker() ? ExtrudedSurfaceMaker()(Curve) : nullptr;
}

void SetPointCloudMaker(TPointCloudMaker Maker) { PointCloudMaker() = std::move(Maker); }

std::unique_ptr<TGeometry> CreatePointCloud(const std::vector<const TPolyline*>& Polylines) {
    return PointCloudMaker() ? PointCloudMaker()(Polylines) : nullptr;
}

}  // namespace sarnova
