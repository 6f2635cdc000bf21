#include "document/GPline.h"

#include <vector>

#include "document/GeoFace.h"
#include "document/GeometryClasses.h"
#include "document/GeometryQuery.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/MacroFile.h"
#include "foundation/PolyList.h"
#include "foundation/PolyListSections.h"
#include "foundation/Polyline.h"
#include "foundation/PolylineResample.h"
#include "platform/Menu.h"

namespace sarnova {

namespace {

// The captions of the popup-menu items whose state follows the entity.
const char* const StraightenCaption = "Straighen Points";
const char* const CloseCaption = "Close";
const char* const SetFirstCaption = "Set Point as First";
const char* const BreakCaption = "Break";
const char* const SliceCaption = "Slice...";
const char* const VertexCaption = "Change Vertex Spacing...";
const char* const DirectionCaption = "Show Direction";
const char* const CurvatureCaption = "Show Curvature";

// The conversions into the other polyline-backed curves, offered once their classes are registered.
struct TConversion {
    const char* Caption;
    const char* Keyword;
};
constexpr TConversion Conversions[] = {
    {"Fit a Cubic Spline", "TCSpline"},
    {"Fit a Cubic Interpolating BSpline ", "TCBSpline"},
    {"Create a BSpline from Points", "TBSpline"},
};

const TGeometryClass* RegisteredClass(const std::string& Keyword) {
    if (!GGeometryClasses) return nullptr;
    const TGeometryClass& Class = GGeometryClasses->FindClass(Keyword);
    return UpperCase(Class.GetKeyword()) == UpperCase(Keyword) ? &Class : nullptr;
}

std::unique_ptr<TGeoPline> NewPline(const TPolyline& Points) {
    auto Entity = std::make_unique<TGeoPline>();
    Entity->Polyline().Assign(Points);
    return Entity;
}

std::vector<TGeoPline*> SelectedPolylines(const TGeometryList& List) { return SelectedOfClass<TGeoPline>(List); }

// The view of a document that has one.
IOpenGLView* DocumentView(TGeometryList* List) {
    auto* Document = dynamic_cast<TGeometryInterface*>(List);
    return Document != nullptr ? Document->View : nullptr;
}

// Replaces the first two selected polylines by Join of them, unless that gives nothing.
template <class F>
void JoinFirstTwoSelected(TGeometryList& List, F Join) {
    const std::vector<TGeoPline*> Selected = SelectedPolylines(List);
    if (Selected.size() < 2) return;
    TGeoPline* A = Selected[0];
    TGeoPline* B = Selected[1];
    std::unique_ptr<TPolyline> Joined = Join(A->Polyline(), B->Polyline());
    if (!Joined) return;
    InListUpdate(List, [&] {
        List.DeleteGeometry(A);
        List.DeleteGeometry(B);
        List.Add(NewPline(*Joined));
    });
    List.InvalidateViews();
}

// Replaces the selected polylines by Weld of copies of them.
template <class F>
void WeldSelected(TGeometryList& List, F Weld) {
    TPolylineList Copies;
    for (TGeoPline* P : SelectedPolylines(List)) Copies.Add(P->Polyline().Clone());
    const std::unique_ptr<TPolylineList> Welded = Weld(Copies);
    InListUpdate(List, [&] {
        List.DeleteSelected();
        if (Welded)
            for (int I = 0; I < Welded->Count(); ++I) List.Add(NewPline(*Welded->Items(I)));
    });
}

}  // namespace

// ---- TGeoPline ----

TGeoPline::TGeoPline() {
    SetCapabilities(GetCapabilities() | cpUndoable);
}

TGeoPline::~TGeoPline() = default;

void TGeoPline::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "Polyline", GetImageIndex(), List, [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
        return std::make_unique<TGeoPolylineCreator>(Document);
    });
}

void TGeoPline::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (!OnlyClassSelected<TGeoPline>(List)) return;
    if (Menu.Count() > 0) Menu.Add("-");
    AddDocumentItem(Menu, "Convert to PointCloud", List, ConvertSelectedToPointCloud);
    if (List.SelectedCount() == 2) {
        AddDocumentItem(Menu, "Weld Polylines", List, WeldSelectedPolylines);
        AddDocumentItem(Menu, "Bridge Polylines", List, BridgeSelectedPolylines);
        TMenuItem& Item = Menu.Add(NewGMenuItem("Break Polylines at visual intersections", &List, [](TMenuItem& Sender) {
            TGeometryList* Document = GeometryListOf(Sender);
            if (IOpenGLView* View = DocumentView(Document))
                BreakSelectedAtVisualIntersections(*Document, View->GetCamera().ViewPlane());
        }));
        // The cut is seen along the view's direction: without a view there is none.
        Item.Enabled = DocumentView(&List) != nullptr;
    } else {
        AddDocumentItem(Menu, "Weld Multiple Polylines", List, WeldMultiplePolylines);
        AddDocumentItem(Menu, "Weld Multiple Polylines with Tolerance...", List, WeldMultiplePolylinesWithTolerance,
                        static_cast<bool>(PolylineDialogs().InputQuery));
    }
    Menu.Add("-");
    AddDocumentItem(Menu, "Reverse Points Order", List, ReverseSelectedPolylines);
    Menu.Add("-");
    AddDocumentItem(Menu, "Show Polyline Direction", List, ShowSelectedDirections);
    AddDocumentItem(Menu, "Hide Polyline Direction", List, HideSelectedDirections);
}

bool TGeoPline::CreateFromMacro(TMacroFile& Macro, TGeometryList& List) {
    const std::string Line = Macro.GetCurrentLine();
    if (UpperCase(ExtractWord(Line, 1)) != "POLYLINE") return false;
    const std::string Name = Trim(Trim(Line).substr(8, 255));
    // A block without its END is reported where its points begin.
    const int BlockLine = Macro.GetCursor();

    auto Entity = std::make_unique<TGeoPline>();
    TPolyline& Points = Entity->Polyline();
    bool Close = false;
    bool Ended = false;
    while (!Macro.Eof()) {
        const std::string Text = UpperCase(Macro.NextLine());
        if (Text == "END") {
            Ended = true;
            break;
        }
        // The file's last line is never a point: a block must end with END.
        if (Macro.Eof()) break;
        if (LineHasWord("CLOSE", Text)) {
            Close = true;
            continue;
        }
        const double X = List.EvaluateMacroNumber(ExtractWord(Text, 1), Macro);
        const double Y = List.EvaluateMacroNumber(ExtractWord(Text, 2), Macro);
        const double Z = WordCount(Text) > 2 ? List.EvaluateMacroNumber(ExtractWord(Text, 3), Macro) : 0;
        Points.AddPoint(X, Y, Z);
    }
    if (!Ended) Macro.ErrorAtLine("No END for POLYLINE " + Name, BlockLine);
    if (Close) Points.SetClosed(true);
    Entity->SetName(Name);
    List.Add(std::move(Entity));
    return true;
}

int TGeoPline::FirstMarkedPoint() {
    if (!Editing()) return -1;
    for (int I = 0; I < Points.Count(); ++I)
        if (Points.Point(I)->Marked) return I;
    return -1;
}

void TGeoPline::SetPointAsFirst() {
    const int N = FirstMarkedPoint();
    if (N < 0) return;
    ChangeAndRedraw([&] { Points.RotateStart(N); });
}

void TGeoPline::Break() {
    const int N = FirstMarkedPoint();
    TGeometryList* List = GetOwnerList();
    if (N < 0 || List == nullptr) return;
    std::unique_ptr<TGeoPline> Before = NewPline(*SubPolyline(Points, 0, N));
    std::unique_ptr<TGeoPline> After = NewPline(*SubPolyline(Points, N, Points.Count() - 1));
    InListUpdate(*List, [&] {
        List->Add(std::move(Before));
        List->Add(std::move(After));
        List->DeleteGeometry(this);  // frees this entity
    });
}

void TGeoPline::Slice(const TMPlane& Plane, bool CloseIfClosed) {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    InListUpdate(*List, [&] {
        std::unique_ptr<TPolylineList> Pieces = SplitPolylineByPlane(Points, -1, Plane, CloseIfClosed, false);
        std::unique_ptr<TPolylineList> Positive = SplitPolylineByPlane(Points, 1, Plane, CloseIfClosed, false);
        if (!Pieces) Pieces = std::make_unique<TPolylineList>();
        if (Positive) Pieces->TakeFrom(*Positive);
        for (int I = 0; I < Pieces->Count(); ++I) List->Add(NewPline(*Pieces->Items(I)));
        List->DeleteGeometry(this);  // frees this entity
    });
}

void TGeoPline::ChangeVertexSpacing(const TVertexOptions& Options) {
    if (Options.Mode == 0) return;
    // Rebuilt aside first: a re-spacing that fails leaves the polyline and the undo history alone.
    const std::unique_ptr<TPolyline> Copy = Points.Clone();
    ModifyPolylineVertices(*Copy, Options);
    BeginChange();
    Undraw();
    Points.Assign(*Copy);
    MarkChanged();
    InvalidateViews();
    EndChange();
}

void TGeoPline::ConvertToCurveClass(const std::string& Keyword) {
    const TGeometryClass* Class = RegisteredClass(Keyword);
    TGeometryList* List = GetOwnerList();
    if (Class == nullptr || List == nullptr) return;
    std::unique_ptr<TGeometry> Entity = Class->Create();
    auto* Curve = dynamic_cast<TGeoCustomPLine*>(Entity.get());
    if (Curve == nullptr || Curve->GetCurve() == nullptr) return;
    TPolyline& Target = *Curve->GetCurve();
    while (Target.Count() > 0) Target.Delete(Target.Count() - 1);
    Target.AddCopies(Points);
    List->Add(std::move(Entity))->Redraw();
}

void TGeoPline::CreateXTCurveFrom(TXTCurveShape Shape) {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    std::unique_ptr<TGeometry> Curve = CreateXTCurve(Points, Shape);
    if (!Curve) return;
    SetSelected(false);
    List->Add(std::move(Curve))->Redraw();
}

void TGeoPline::ConvertToPointCloud() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    std::unique_ptr<TGeometry> Cloud = CreatePointCloud({&Points});
    if (!Cloud) return;
    ReplaceInList(std::move(Cloud));
    List->InvalidateViews();
}

void TGeoPline::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(StraightenCaption, [this](TMenuItem&) { StraightenPoints(); });
    AddMenuItem(CloseCaption, [this](TMenuItem&) { ToggleClosed(); });
    AddMenuItem(SetFirstCaption, [this](TMenuItem&) { SetPointAsFirst(); });
    AddMenuItem(BreakCaption, [this](TMenuItem&) { Break(); });
    AddMenuItem(SliceCaption, [this](TMenuItem&) {
        const auto& Show = PolylineDialogs().ShowSliceDialog;
        TGeometryList* List = GetOwnerList();
        bool Close = false;
        TMPlane Plane;
        if (Show && List != nullptr && Show("Polyline", *List, true, Close, Plane)) Slice(Plane, Close);
    });
    AddMenuItem("Reverse Points Order", [this](TMenuItem&) { ReversePoints(); });
    AddMenuItem(VertexCaption, [this](TMenuItem&) {
        if (const auto& Show = PolylineDialogs().ShowVertexDialogForPolyline) ChangeVertexSpacing(Show(Points));
    });
    bool Converting = false;
    for (const TConversion& C : Conversions)
        if (RegisteredClass(C.Keyword) != nullptr) {
            if (!Converting) AddMenuItem("-", {});
            Converting = true;
            const std::string Keyword = C.Keyword;
            AddMenuItem(C.Caption, [this, Keyword](TMenuItem&) { ConvertToCurveClass(Keyword); });
        }
    AddMenuItem("-", {});
    if (CanCreateXTCurve()) {
        AddMenuItem("Create D-Azadavaz Curve (Cubic Spline)",
                    [this](TMenuItem&) { CreateXTCurveFrom(TXTCurveShape::CubicSpline); });
        AddMenuItem("Create D-Azadavaz Curve (Polyline)",
                    [this](TMenuItem&) { CreateXTCurveFrom(TXTCurveShape::Polyline); });
        AddMenuItem("-", {});
    }
    AddMenuItem("Convert to PointCloud", [this](TMenuItem&) { ConvertToPointCloud(); });
    AddMenuItem(ExtrudeSurfaceCaption, [this](TMenuItem&) { ExtrudeSurface(); });
    AddMenuItem("-", {});
    AddMenuItem(DirectionCaption, [this](TMenuItem&) { ToggleShowDirection(); });
    AddMenuItem(CurvatureCaption, [this](TMenuItem&) { ToggleDrawCurvature(); });
    UpdateMenuItems(Root);
}

void TGeoPline::UpdateMenuItems(TMenuItem& Root) {
    const auto Set = [&Root](const char* Caption, auto Apply) {
        if (TMenuItem* Item = Root.Find(Caption)) Apply(*Item);
    };
    const int Marked = MarkedPointCount();
    Set(StraightenCaption, [&](TMenuItem& I) { I.Enabled = Marked > 2; });
    Set(CloseCaption, [&](TMenuItem& I) { I.Checked = Points.IsClosed(); });
    Set(SetFirstCaption, [&](TMenuItem& I) { I.Enabled = Marked == 1; });
    Set(BreakCaption, [&](TMenuItem& I) { I.Enabled = Marked == 1; });
    Set(SliceCaption, [&](TMenuItem& I) { I.Enabled = static_cast<bool>(PolylineDialogs().ShowSliceDialog); });
    Set(VertexCaption, [&](TMenuItem& I) { I.Enabled = static_cast<bool>(PolylineDialogs().ShowVertexDialogForPolyline); });
    Set(DirectionCaption, [&](TMenuItem& I) { I.Checked = GetShowDirection(); });
    Set(CurvatureCaption, [&](TMenuItem& I) { I.Checked = DrawCurvature(); });
}

void TGeoPline::AfterListChange() {
    if (!GetName().empty() && Points.Count() > 0) return;
    TGeoCustomPLine::AfterListChange();
}

void TGeoPline::Transform(const TMMatrix& M) {
    BeginChange();
    Points.Assign(*Points.Transformed(M));
    EndChange();
}

void TGeoPline::Assign(const TGeometry& Source) {
    TGeoCustomPLine::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoPline*>(&Source)) Points.Assign(Other->Points);
}

void TGeoPline::Query(TGeometryQuery& Query) {
    if (!Query.Asks(qkPolyline)) return;
    if (Query.CountOnly)
        Query.CountItem();
    else
        Query.AddReference(&Points, GetName());
}

void TGeoPline::HandleMessage(TGeoMessage& Message) {
    TGeoCustomPLine::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectPolylines*>(&Message) != nullptr) SetSelected(true);
}

void TGeoPline::DrawShapes(IGraphics& View, bool InColour) {
    if (GetShowDirection()) Points.DrawDirection(View);
    if (!Editing()) return;
    if (InColour) View.SetLineColor(Colors().ControlPolygonColor());
    Points.DrawControlPolygon(View);
    DrawPointHandles(View, Points, InColour);
}

void TGeoPline::Draw(IGraphics& View) {
    TGeoCustomPLine::Draw(View);
    DrawShapes(View, true);
}

void TGeoPline::DrawOutline(IGraphics& View) {
    TGeoCustomPLine::DrawOutline(View);
    DrawShapes(View, false);
}

// ---- TGeoPolylineCreator ----

TGeoPolylineCreator::TGeoPolylineCreator(TGeometryList& List)
    : TGeoDraggableLineCreator(List, std::make_unique<TPolyline>()) {}

void TGeoPolylineCreator::CreateGeometry() {
    GetDocumentList().Add(NewPline(GetPoints()))->Redraw();
}

// ---- Operations on the selected polylines ----

void WeldSelectedPolylines(TGeometryList& List) {
    JoinFirstTwoSelected(List, [](const TPolyline& A, const TPolyline& B) { return A.JoinAtNearestEnds(B); });
}

void BridgeSelectedPolylines(TGeometryList& List) {
    JoinFirstTwoSelected(List, [](const TPolyline& A, const TPolyline& B) { return A.MergeLoop(B); });
}

void BreakSelectedAtVisualIntersections(TGeometryList& List, const TMPlane& Plane) {
    const std::vector<TGeoPline*> Selected = SelectedPolylines(List);
    if (Selected.size() < 2) return;
    TGeoPline* A = Selected[0];
    TGeoPline* B = Selected[1];
    const std::unique_ptr<TPolylineList> PiecesA = SplitPolylineByPolyline(A->Polyline(), B->Polyline(), Plane);
    const std::unique_ptr<TPolylineList> PiecesB = SplitPolylineByPolyline(B->Polyline(), A->Polyline(), Plane);
    InListUpdate(List, [&] {
        for (const TPolylineList* Pieces : {PiecesA.get(), PiecesB.get()})
            if (Pieces != nullptr)
                for (int I = 0; I < Pieces->Count(); ++I) List.Add(NewPline(*Pieces->Items(I)));
        List.DeleteGeometry(A);
        List.DeleteGeometry(B);
    });
    List.InvalidateViews();
}

void WeldMultiplePolylines(TGeometryList& List) {
    WeldSelected(List, [](const TPolylineList& Copies) { return WeldAllPolylines(Copies); });
}

void WeldMultiplePolylinesWithin(TGeometryList& List, double Tolerance) {
    WeldSelected(List, [Tolerance](const TPolylineList& Copies) { return WeldPolylinesWithin(Copies, Tolerance); });
}

void WeldMultiplePolylinesWithTolerance(TGeometryList& List) {
    const auto& Query = PolylineDialogs().InputQuery;
    std::string Text = "0.001";
    if (!Query || !Query("Weld Multiple Polylines with Tolerance", "Max tolerance between lines:", Text)) return;
    // "," is as good a decimal separator as "." here; a text that is no number is passed over.
    double Tolerance = 0;
    try {
        Tolerance = ParseFloat(Text);
    } catch (const EConvertError&) {
        return;
    }
    WeldMultiplePolylinesWithin(List, Tolerance);
}

void ReverseSelectedPolylines(TGeometryList& List) {
    InListUpdate(List, [&] {
        for (TGeoPline* P : SelectedPolylines(List)) P->ReversePoints();
    });
}

void ConvertSelectedToPointCloud(TGeometryList& List) {
    std::vector<const TPolyline*> Polylines;
    for (TGeoPline* P : SelectedPolylines(List)) Polylines.push_back(&P->Polyline());
    std::unique_ptr<TGeometry> Cloud = CreatePointCloud(Polylines);
    if (!Cloud) return;
    // The bracket's end redraws the views; the cloud itself may be gone by then, when the validation
    // after the change finds all its points in one place.
    InListUpdate(List, [&] {
        List.DeleteSelected();
        List.Add(std::move(Cloud));
    });
}

void ShowSelectedDirections(TGeometryList& List) {
    for (TGeoPline* P : SelectedPolylines(List)) P->SetShowDirection(true);
}

void HideSelectedDirections(TGeometryList& List) {
    for (TGeoPline* P : SelectedPolylines(List)) P->SetShowDirection(false);
}

}  // namespace sarnova
