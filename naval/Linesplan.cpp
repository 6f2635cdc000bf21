#include "naval/Linesplan.h"

#include <cmath>
#include <numbers>
#include <typeinfo>

#include "document/Geometry.h"
#include "document/GeometryQuery.h"
#include "document/Settings.h"
#include "foundation/BSpline.h"
#include "foundation/Contours.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/PolyList.h"
#include "foundation/PolyListSections.h"
#include "foundation/Polygon.h"
#include "foundation/PolylineOps.h"
#include "foundation/VkMathsIntersect.h"
#include "naval/HullSelection.h"
#include "naval/PolyFont.h"
#include "platform/Screen.h"
#include "surfaces/BSurface.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

namespace {

// Sampling purpose of the lines plan's facets.
constexpr TSamplingPurpose LinesPlanPurpose = 7;

void AddEdgesOf(TSurface* S, TPolylineList& Edges) {
    if (auto* B = dynamic_cast<TBSplineSurface*>(S)) {
        for (int Code = 0; Code < 4; ++Code) Edges.Add(B->EdgeCurve(Code)->Digitise());
    } else if (auto* M = dynamic_cast<TMesh*>(S)) {
        for (int Code = 0; Code < 4; ++Code) Edges.Add(M->EdgePolyline(Code));
    }
}

}  // namespace

// ---- TLinesPlanSurface ----

TLinesPlanSurface::TLinesPlanSurface(TLinesPlan* APlan, TSource ASource, std::string AClassName)
    : Plan(APlan), Source(ASource), ClassName(std::move(AClassName)) {}

TLinesPlanSurface::~TLinesPlanSurface() = default;

TMBox TLinesPlanSurface::GetExtents() const {
    if (auto* S = std::get_if<TSurface*>(&Source)) return (*S)->GetExtents();
    if (auto* L = std::get_if<TSurfaces*>(&Source)) return (*L)->GetExtents();
    return std::get<const TPolygonList*>(Source)->Extents();
}

std::unique_ptr<TPolylineList> TLinesPlanSurface::EdgePolylines() const {
    auto Edges = std::make_unique<TPolylineList>();
    if (auto* S = std::get_if<TSurface*>(&Source)) AddEdgesOf(*S, *Edges);
    if (auto* L = std::get_if<TSurfaces*>(&Source))
        for (int I = 0; I < (*L)->Count(); ++I) AddEdgesOf((*L)->Surface(I), *Edges);
    return Edges;
}

// ---- TLinesPlanView ----

TLinesPlanView::TLinesPlanView(TLinesPlan* APlan, std::uint8_t AKind)
    : FPlan(APlan), FKind(AKind), FSurfaceEdges(std::make_unique<TPolylineList>()),
      FContours(std::make_unique<TPolylineList>()), FContourTexts(std::make_unique<TPolylineList>()),
      FGrid(std::make_unique<TLinesPlanGrid>(this)) {
    static constexpr double Defaults[3][2][4] = {{{0.45, 0, 0.1, 1}, {0.55, 0, 0.9, 1}},
                                                 {{0, 0.2, 0.45, 0.8}, {1, 0.2, 0.55, 0.8}},
                                                 {{0.1, 0, 0.45, 1}, {0.9, 0, 0.55, 1}}};
    for (int L = 0; L < 2; ++L) {
        const double* D = Defaults[AKind][L];
        LabelLines[L] = {D[0], D[1], D[2], D[3], false, false};
    }
}

TLinesPlanView::~TLinesPlanView() = default;

void TLinesPlanView::SetContourTextSize(double Value) {
    if (Value == FContourTextSize) return;
    FContourTextSize = Value;
    FRebuildLabels = true;
}

void TLinesPlanView::SetShowContourText(bool Value) {
    if (Value == FShowContourText) return;
    FShowContourText = Value;
    FRebuildLabels = true;
}

void TLinesPlanView::SetShowSurfaceEdges(bool Value) {
    if (Value == FShowSurfaceEdges) return;
    FShowSurfaceEdges = Value;
    FRebuildEdges = true;
}

void TLinesPlanView::SetOffset(const TMVector& Value) {
    if (Value == FOffset) return;
    FOffset = Value;
    FGrid->SetOffset(Value);
    InvalidateContours();
}

void TLinesPlanView::SetContours(const TContours& Contours) {
    InvalidateContours();
    FGrid->SetContours(Contours, FKind);
}

TMVector TLinesPlanView::SheetPoint(double S, double T) const {
    const TMBox B = FGrid->GetExtents();
    return {B.Min.X + FOffset.X + S * (B.Max.X - B.Min.X), B.Min.Y + FOffset.Y + T * (B.Max.Y - B.Min.Y), 0};
}

void TLinesPlanView::SheetFraction(const TMVector& P, double& S, double& T) const {
    // A grid without width or height has no fraction in that direction: S or T stays as it is.
    const TMBox B = FGrid->GetExtents();
    if (B.Max.X > B.Min.X) S = (P.X - B.Min.X - FOffset.X) / (B.Max.X - B.Min.X);
    if (B.Max.Y > B.Min.Y) T = (P.Y - B.Min.Y - FOffset.Y) / (B.Max.Y - B.Min.Y);
}

double TLinesPlanView::SectionSign(double Station) const {
    const double Sign = Station < FPlan->GetReflectionPlane() ? 1 : -1;
    return FPlan->GetFlipSections() ? -Sign : Sign;
}

// The sheet placement of this view's contours; Sign, the side of the body plan, matters to it only.
TMMatrix TLinesPlanView::ContourMatrix(double Sign) const {
    TMMatrix M = IdentityMatrix;
    if (FKind == 0) {
        if (FPlan->GetFlipWaterlines()) M[1][1] = -1;
    } else if (FKind == 2) {
        M = MatrixFromAxes({1, 0, 0}, {0, 0, 1}, {0, 1, 0}, ZeroVector);
    } else {
        M = MatrixFromAxes({0, 0, 1}, {Sign, 0, 0}, {0, 1, 0}, ZeroVector);
    }
    M[0][3] = FOffset.X;
    M[1][3] = FOffset.Y;
    return M;
}

void TLinesPlanView::BuildContours() {
    FContours->Clear();
    for (int I = 0; I < FPlan->SurfaceCount(); ++I) {
        TLinesPlanSurface& S = FPlan->Surfaces(I);
        const TPolylineList* Family = FKind == 0 ? S.ZContours.get() : FKind == 1 ? S.XContours.get() : S.YContours.get();
        if (!Family) continue;
        for (int K = 0; K < Family->Count(); ++K) {
            const TPolyline* P = Family->Items(K);
            if (P->Count() == 0) continue;
            FContours->Add(P->Transformed(ContourMatrix(SectionSign(P->GetStation()))));
        }
    }
    FContours->ResetStyles();
    FRebuildContours = false;
    FRebuildLabels = true;
}

void TLinesPlanView::BuildSurfaceEdges() {
    FSurfaceEdges->Clear();
    FRebuildEdges = false;
    if (!FShowSurfaceEdges) return;
    TPolylineList Edges;
    for (int I = 0; I < FPlan->SurfaceCount(); ++I) {
        auto E = FPlan->Surfaces(I).EdgePolylines();
        Edges.TakeFrom(*E);
    }
    if (FKind != 1) {
        FSurfaceEdges->AddCopies(*Edges.Transformed(ContourMatrix(1)));
        return;
    }
    // The body plan: both halves from one mapping, the pieces beyond the reflection plane mirrored
    // about the centre line.
    const double RP = FPlan->GetReflectionPlane();
    auto Mapped = Edges.Transformed(ContourMatrix(FPlan->GetFlipSections() ? -1 : 1));
    const TMPlane Cut{{0, 0, 1}, RP};
    if (auto Below = ClipPolylinesByPlane(*Mapped, -1, Cut, false, false)) FSurfaceEdges->AddCopies(*Below);
    if (auto Above = ClipPolylinesByPlane(*Mapped, 1, Cut, false, false))
        FSurfaceEdges->AddCopies(*Above->Transformed(MatrixMirror(1, FOffset.X)));
}

void TLinesPlanView::BuildContourTexts() {
    FContourTexts->Clear();
    FRebuildLabels = false;
    if (!FShowContourText) return;
    for (const TLabelLine& L : LabelLines) {
        const TMVector E1 = SheetPoint(L.S1, L.T1), E2 = SheetPoint(L.S2, L.T2);
        const bool FirstLow = L.T1 < L.T2;
        const TMPlane Plane = PlaneFromPointsAndDirection(FirstLow ? E1 : E2, FirstLow ? E2 : E1, ZAxisVector);
        const TMVector D = IntersectionOfTwoPlanes(Plane, XYPlane).Direction;
        // Labels run along the line, turned so that they never read upside down.
        double Angle = Angle2D(D.Y, D.X);
        if (Angle > std::numbers::pi / 2 + 1e-9) Angle -= std::numbers::pi;
        if (Angle <= -std::numbers::pi / 2 + 1e-9) Angle += std::numbers::pi;
        for (int I = 0; I < FContours->Count(); ++I) {
            auto Crossings = CurvePlaneIntersections(Plane, *FContours->Items(I));
            if (!Crossings || Crossings->Count() == 0) continue;
            const TRPoint* P = Crossings->Point(0);
            auto Text = StrokeText(FormatOptionalDecimals(P->Z, 3), 0, 0, FContourTextSize / 10, 0);
            if (Text->Count() == 0) continue;
            const TMBox B = Text->Extents();
            const double H = B.Max.Y - B.Min.Y;
            const TMMatrix ToCentre = MatrixTranslation(-(B.Min.X + B.Max.X) / 2, -(B.Min.Y + B.Max.Y) / 2, 0);
            const TMMatrix Place = MatrixTranslation(P->X - H * D.X, P->Y - H * D.Y, P->Z);
            const TMMatrix M =
                MatrixMultiply(Place, MatrixMultiply(MatrixRotationAboutAxis(ZAxisVector, Angle), ToCentre));
            FContourTexts->AddCopies(*Text->Transformed(M));
        }
    }
}

void TLinesPlanView::Rebuild() {
    if (FRebuildContours) BuildContours();
    if (FRebuildLabels) BuildContourTexts();
    if (FRebuildEdges) BuildSurfaceEdges();
}

void TLinesPlanView::Draw(IGraphics& G) {
    if (FPlan->GetShowGrid()) FGrid->Draw(G);
    Rebuild();
    G.SetLineColor(ContourColor);
    FContours->Draw(G);
    FContourTexts->Draw(G);
    G.SetLineColor(SurfaceColor);
    FSurfaceEdges->Draw(G);
    if (FPlan->EditingLabelLines)
        for (const TLabelLine& L : LabelLines) DrawTextLine(G, L);
}

void TLinesPlanView::DrawTextLine(IGraphics& G, const TLabelLine& Line) {
    const TMVector E1 = SheetPoint(Line.S1, Line.T1), E2 = SheetPoint(Line.S2, Line.T2);
    G.SetLineColor(FPlan->LabelLineColor);
    G.Line2D(E1.X, E1.Y, E2.X, E2.Y);
    G.SetLineColor(Line.Selected1 ? FPlan->SelectedHandleColor : FPlan->LabelLineColor);
    G.EditHandle(0, E1.X, E1.Y, 100);
    G.SetLineColor(Line.Selected2 ? FPlan->SelectedHandleColor : FPlan->LabelLineColor);
    G.EditHandle(0, E2.X, E2.Y, 100);
}

bool TLinesPlanView::SelectHandle(IGraphics& G, int X, int Y) {
    for (TLabelLine& L : LabelLines)
        for (int End = 0; End < 2; ++End) {
            const TMVector P = End == 0 ? SheetPoint(L.S1, L.T1) : SheetPoint(L.S2, L.T2);
            const TPoint Pixel = G.WorldToScreen(P.X, P.Y, P.Z);
            if (std::hypot(Pixel.X - X, Pixel.Y - Y) < FPlan->PickDistance) {
                (End == 0 ? L.Selected1 : L.Selected2) = true;
                return true;
            }
        }
    return false;
}

bool TLinesPlanView::HasSelectedEnd() const {
    for (const TLabelLine& L : LabelLines)
        if (L.Selected1 || L.Selected2) return true;
    return false;
}

void TLinesPlanView::ClearSelection() {
    for (TLabelLine& L : LabelLines) L.Selected1 = L.Selected2 = false;
}

void TLinesPlanView::MoveSelectedEnd(IGraphics& G, int X, int Y) {
    TMVector P = G.ScreenToWorld(X, Y);
    P.Z = 0;
    for (TLabelLine& L : LabelLines) {
        if (L.Selected1) SheetFraction(P, L.S1, L.T1);
        if (L.Selected2) SheetFraction(P, L.S2, L.T2);
    }
    FRebuildLabels = true;
}

// ---- TLinesPlan ----

TLinesPlan::TLinesPlan()
    : FWaterlines(std::make_unique<TLinesPlanView>(this, 0)), FStations(std::make_unique<TLinesPlanView>(this, 1)),
      FButtocks(std::make_unique<TLinesPlanView>(this, 2)), FBorder(std::make_unique<TLinesPlanBorder>(this)),
      FContours(std::make_unique<TContours>()) {
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) {
        V->Grid().Color = FGridColor;
        V->Grid().SetTextSize(FGridTextSize);
        V->Grid().SetShowText(FShowGridText);
        V->SurfaceColor = FSurfaceColor;
        V->SetContourTextSize(FContourTextSize);
        V->SetShowContourText(FShowContourText);
        V->SetShowSurfaceEdges(FShowSurfaceEdges);
    }
    FStations->ContourColor = FSectionColor;
    FWaterlines->ContourColor = FWaterlineColor;
    FButtocks->ContourColor = FButtockColor;
}

TLinesPlan::~TLinesPlan() = default;

void TLinesPlan::AddSurface(const TDataObject& Object) {
    FState = lpsFacets;
    const THullObject Hull = HullObjectOf(Object);
    std::string Name = Object.Type ? KernelClassName(*Object.Type) : std::string();
    if (auto* S = std::get_if<TSurface*>(&Hull))
        FSurfaces.push_back(std::make_unique<TLinesPlanSurface>(this, *S, Name));
    else if (auto* L = std::get_if<TSurfaces*>(&Hull))
        FSurfaces.push_back(std::make_unique<TLinesPlanSurface>(this, *L, Name));
    else if (auto* F = std::get_if<const TPolygonList*>(&Hull))
        FSurfaces.push_back(std::make_unique<TLinesPlanSurface>(this, *F, Name));
    else
        throw EError("Object is not a valid Surface");
}

void TLinesPlan::ClearSurfaces() {
    FSurfaces.clear();
    FState = lpsFacets;
}

TMBox TLinesPlan::GetExtents() const {
    TMBox Box = EmptyBox;
    for (const auto& S : FSurfaces) Box = UniteBoxes(Box, S->GetExtents());
    return Box;
}

void TLinesPlan::LowerState(std::uint8_t To) {
    if (FState > To) FState = To;
}

void TLinesPlan::InvalidateViews() {
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) V->InvalidateContours();
}

void TLinesPlan::SetLayout(std::uint8_t Value) {
    if (Value == FLayout) return;
    FLayout = Value;
    FBorder->Invalidate();
    InvalidateViews();
    LowerState(lpsLayout);
}

void TLinesPlan::SetDensity(int Value) {
    if (Value == FDensity) return;
    FDensity = Value;
    FState = lpsFacets;
}

void TLinesPlan::SetGridColor(TColor Value) {
    if (Value == FGridColor) return;
    FGridColor = Value;
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) V->Grid().Color = Value;
}

void TLinesPlan::SetSectionColor(TColor Value) { FStations->ContourColor = FSectionColor = Value; }
void TLinesPlan::SetWaterlineColor(TColor Value) { FWaterlines->ContourColor = FWaterlineColor = Value; }
void TLinesPlan::SetButtockColor(TColor Value) { FButtocks->ContourColor = FButtockColor = Value; }

void TLinesPlan::SetSurfaceColor(TColor Value) {
    FSurfaceColor = Value;
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) V->SurfaceColor = Value;
}

void TLinesPlan::SetViewGap(double Value) {
    if (Value == FViewGap) return;
    FViewGap = Value;
    LowerState(lpsLayout);
}

void TLinesPlan::SetShowGrid(bool Value) {
    if (Value == FShowGrid) return;
    FShowGrid = Value;
    InvalidateViews();
    LowerState(lpsLayout);
}

void TLinesPlan::SetReflectionPlane(double Value) {
    if (Value == FReflectionPlane) return;
    FReflectionPlane = Value;
    FStations->InvalidateContours();
}

void TLinesPlan::SetFlipSections(bool Value) {
    if (Value == FFlipSections) return;
    FFlipSections = Value;
    FStations->InvalidateContours();
}

void TLinesPlan::SetFlipWaterlines(bool Value) {
    if (Value == FFlipWaterlines) return;
    FFlipWaterlines = Value;
    FWaterlines->Grid().SetFlip(Value);
    InvalidateViews();
    LowerState(lpsLayout);
}

void TLinesPlan::SetShowBorder(bool Value) {
    if (Value == FShowBorder) return;
    FShowBorder = Value;
    LowerState(lpsLayout);
}

void TLinesPlan::SetShowInfoBox(bool Value) {
    if (Value == FShowInfoBox) return;
    FShowInfoBox = Value;
    FBorder->SetShowInfoBox(Value);
    LowerState(lpsLayout);
}

void TLinesPlan::SetShowGridText(bool Value) {
    if (Value == FShowGridText) return;
    FShowGridText = Value;
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) V->Grid().SetShowText(Value);
}

void TLinesPlan::SetShowContourText(bool Value) {
    if (Value == FShowContourText) return;
    FShowContourText = Value;
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) V->SetShowContourText(Value);
}

void TLinesPlan::SetGridTextSize(double Value) {
    if (Value == FGridTextSize) return;
    FGridTextSize = Value;
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) V->Grid().SetTextSize(Value);
}

void TLinesPlan::SetContourTextSize(double Value) {
    if (Value == FContourTextSize) return;
    FContourTextSize = Value;
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) V->SetContourTextSize(Value);
}

void TLinesPlan::SetShowSurfaceEdges(bool Value) {
    if (Value == FShowSurfaceEdges) return;
    FShowSurfaceEdges = Value;
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) V->SetShowSurfaceEdges(Value);
}

void TLinesPlan::ContoursChanged() { LowerState(lpsContours); }

void TLinesPlan::Update() {
    THourGlassCursor Cursor;
    if (FState == lpsFacets) {
        for (auto& S : FSurfaces) {
            S->Facets.reset();
            if (GConsole) GConsole->WriteLine("Generating Polygons for " + S->ClassName);
            if (auto* Surface = std::get_if<TSurface*>(&S->Source))
                S->Facets = (*Surface)->CreatePolygonsFor(LinesPlanPurpose, 1);
            else if (auto* List = std::get_if<TSurfaces*>(&S->Source))
                S->Facets = (*List)->CreatePolygonsFor(LinesPlanPurpose);
            else
                S->Facets = std::get<const TPolygonList*>(S->Source)->TriangulatedCopy();
        }
        FState = lpsContours;
    }
    if (FState == lpsContours) {
        for (auto& S : FSurfaces) {
            auto Family = [&](int Axis) {
                auto One = FContours->Clone();
                if (Axis != 0) One->ClearX();
                if (Axis != 1) One->ClearY();
                if (Axis != 2) One->ClearZ();
                auto Lines = ContoursFromPolygons(S->Facets.get(), *One, ContourColors());
                return Lines ? std::move(Lines) : std::make_unique<TPolylineList>();
            };
            S->XContours = Family(0);
            S->YContours = Family(1);
            S->ZContours = Family(2);
        }
        for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) V->SetContours(*FContours);
        FState = lpsLayout;
    }
    if (FState == lpsLayout) {
        Layout();
        FState = lpsUpToDate;
    }
}

void TLinesPlan::Layout() {
    const TMBox W = FWaterlines->Grid().GetExtents();
    const TMBox S = FStations->Grid().GetExtents();
    const TMBox B = FButtocks->Grid().GetExtents();
    const double G = FViewGap;
    TMBox Box = EmptyBox;
    Box.Min = {W.Min.X, W.Min.Y, 0};
    Box.Max = {W.Max.X, 0, 0};
    switch (FLayout) {
        case 1:
            FButtocks->SetOffset({0, W.Max.Y - B.Min.Y + G, 0});
            FStations->SetOffset({(W.Min.X + W.Max.X) / 2, W.Max.Y - B.Min.Y + G, 0});
            Box.Max.Y = FStations->GetOffset().Y + S.Max.Y;
            break;
        case 2:
            FButtocks->SetOffset({0, W.Max.Y - B.Min.Y + G, 0});
            FStations->SetOffset({B.Max.X - S.Min.X + G, W.Max.Y - B.Min.Y + G, 0});
            Box.Max.X = FStations->GetOffset().X + S.Max.X;
            Box.Max.Y = FStations->GetOffset().Y + S.Max.Y;
            break;
        case 3:
            FStations->SetOffset({(W.Min.X + W.Max.X) / 2, W.Max.Y - S.Min.Y + G, 0});
            FButtocks->SetOffset({0, W.Max.Y + G + (S.Max.Y - S.Min.Y) + G - B.Min.Y, 0});
            Box.Max.Y = FButtocks->GetOffset().Y + B.Max.Y;
            break;
        default:
            FButtocks->SetOffset({0, W.Max.Y - B.Min.Y + G, 0});
            FStations->SetOffset({(W.Min.X + W.Max.X) / 2, W.Max.Y + G + (B.Max.Y - B.Min.Y) + G - S.Min.Y, 0});
            Box.Max.Y = FStations->GetOffset().Y + S.Max.Y;
            break;
    }
    Box.Min.X -= G;
    Box.Min.Y -= G;
    Box.Max.X += G;
    Box.Max.Y += G;
    FBorder->SetBox(Box);
}

void TLinesPlan::Prepare() {
    if (FState != lpsUpToDate) Update();
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) V->Rebuild();
}

void TLinesPlan::Draw(IGraphics& G) {
    if (FState != lpsUpToDate) Update();
    FWaterlines->Draw(G);
    FStations->Draw(G);
    FButtocks->Draw(G);
    if (FShowBorder) FBorder->Draw(G);
}

TLinesPlanView* TLinesPlan::ViewWithSelection() {
    for (TLinesPlanView* V : {FWaterlines.get(), FButtocks.get(), FStations.get()})
        if (V->HasSelectedEnd()) return V;
    return nullptr;
}

void TLinesPlan::SelectHandle(IGraphics& G, int X, int Y, TSelectAction& Action) {
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()}) V->ClearSelection();
    for (TLinesPlanView* V : {FWaterlines.get(), FStations.get(), FButtocks.get()})
        if (V->SelectHandle(G, X, Y)) {
            Action = saMouseDrag;
            return;
        }
}

void TLinesPlan::MouseDown(int, int, IGraphics&) { ViewWithSelection(); }

void TLinesPlan::MouseMove(int X, int Y, IGraphics& G) {
    if (TLinesPlanView* V = ViewWithSelection()) V->MoveSelectedEnd(G, X, Y);
}

void TLinesPlan::MouseUp(int, int, IGraphics&) { ViewWithSelection(); }

std::unique_ptr<TPolylineList> TLinesPlan::ToPolylineList() {
    Prepare();
    auto Result = std::make_unique<TPolylineList>();
    auto AddColoured = [&](const TPolylineList& Source, TColor Colour) {
        for (int I = 0; I < Source.Count(); ++I) {
            auto P = Source.Items(I)->Clone();
            P->OwnColors = true;
            P->LineColor = Colour;
            Result->Add(std::move(P));
        }
    };
    for (TLinesPlanView* V : {FStations.get(), FWaterlines.get(), FButtocks.get()}) {
        AddColoured(V->SurfaceEdges(), V->SurfaceColor);
        AddColoured(V->Contours(), V->ContourColor);
        if (FShowContourText) AddColoured(V->ContourTexts(), V->ContourColor);
        if (FShowGrid) AddColoured(V->Grid().Polylines(), V->Grid().Color);
    }
    if (FShowBorder) Result->AddCopies(FBorder->Polylines());
    for (int I = 0; I < Result->Count(); ++I) {
        TPolyline* P = Result->Items(I);
        for (int K = 0; K < P->Count(); ++K) P->Point(K)->Z = 0;
    }
    return Result;
}

std::unique_ptr<TGeometryQuery> GenerateLinesPlanQuery() {
    auto Query = std::make_unique<TGeometryQuery>();
    Query->Kinds = LinesPlanQueryKinds;
    return Query;
}

}  // namespace sarnova
