#include "entities/GBSurf.h"

#include <algorithm>

#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/Settings.h"
#include "document/ShadedRenderer.h"
#include "entities/GMesh.h"
#include "foundation/BSpline.h"
#include "foundation/TextUtils.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/MacroFile.h"
#include "foundation/Polyline.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/PolylineOps.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "surfaces/BSurface.h"
#include "surfaces/BSurfaceBuild.h"
#include "surfaces/SurfaceAnalysis.h"

namespace sarnova {

namespace {

constexpr const char* SurfaceOrderCaption = "Surface Order";
constexpr const char* OrderCaptions[] = {"3 (Quadratic)", "4 (Cubic)", "5", "6", "Bezier"};
constexpr const char* KnuckleCaptions[] = {"Knuckle in U", "Knuckle in V"};
constexpr const char* SubDivideCaptions[] = {"Sub Divide U", "Sub Divide V"};

constexpr const char* EdgeNames[] = {"MinUEdge", "MinVEdge", "MaxUEdge", "MaxVEdge"};
constexpr const char* FillNames[] = {"U=0", "V=0", "U=Max", "V=Max"};

constexpr const char* MacroKeyword = "CORNERPOINTSURFACE";

std::string NamePrefix(const TGeometry& G) { return G.GetName().empty() ? "" : G.GetName() + "."; }

int SegmentCountFor(const TBSplineSurface& S) { return BSplineSegmentCount(std::min(S.NumU(), S.NumV())); }

// Replaces every selected entity of class From, from the last to the first, by what Make gives.
template <class From, class F>
void ReplaceSelected(TGeometryList& List, F Make) {
    InListUpdate(List, [&] {
        for (int I = List.Count() - 1; I >= 0; --I) {
            TGeometry& G = List.Items(I);
            auto* Entity = dynamic_cast<From*>(&G);
            if (Entity == nullptr || !G.GetSelected()) continue;
            std::unique_ptr<TGeometry> Replacement = Make(*Entity);
            List.Add(std::move(Replacement));
            G.DeleteFromList();
        }
    });
    List.InvalidateViews();
}

std::unique_ptr<TGeoMesh> MeshEntityOf(const TMesh& Net) {
    auto Mesh = std::make_unique<TGeoMesh>();
    Mesh->Net().Assign(Net);
    return Mesh;
}

}  // namespace

// ---- The dialog's model side ----

std::string NewSurfaceInputError(const TNewSurfaceInput& In) {
    if (In.OrderU > In.NumU && In.OrderV > In.NumV)
        return "The order cannot be more than the number of control polygon points (Complexity) in both the U and V "
               "directions";
    if (In.OrderU > In.NumU)
        return "The order cannot be more than the number of control polygon points (Complexity) in the U Direction";
    if (In.OrderV > In.NumV)
        return "The order cannot be more than the number of control polygon points (Complexity) in the V Direction";
    if (In.NumU < 2 || In.NumV < 2) return "The number of control polygon points (Complexity) must be at least 2";
    if (In.OrderU < 2 || In.OrderV < 2) return "The order must be at least 2";
    if (In.NumU + In.OrderU > MaxKnots || In.NumV + In.OrderV > MaxKnots)
        return "The number of control polygon points and the order cannot together be more than " +
               IntToStr(MaxKnots);
    return {};
}

std::unique_ptr<TBSplineSurface> NewSurfaceFromInput(const TNewSurfaceInput& In) {
    auto S = std::make_unique<TBSplineSurface>(In.NumU, In.NumV);
    S->SetOrderU(In.OrderU);
    S->SetOrderV(In.OrderV);
    for (int J = 0; J < In.NumV; ++J)
        for (int I = 0; I < In.NumU; ++I) {
            const double FU = static_cast<double>(I) / (In.NumU - 1);
            const double FV = static_cast<double>(J) / (In.NumV - 1);
            S->Point(I, J).SetVector({In.Length * FU, In.Breadth * FV, In.Depth * FV});
        }
    return S;
}

TNewSurfaceDialog& NewBSplineSurfaceDialog() {
    static TNewSurfaceDialog Dialog;
    return Dialog;
}

void AssignBSplineSurface(TBSplineSurface& Target, const TBSplineSurface& Source) {
    if (&Target == &Source) return;
    if (Source.KnotType != ktPeriodic) {
        Target.Assign(Source);
    } else {
        Target.TMesh::Assign(Source);
        Target.SetOrderU(Source.OrderU());
        Target.SetOrderV(Source.OrderV());
        Target.SetKnotsU(Source.KnotsU());
        Target.SetKnotsV(Source.KnotsV());
        Target.KnotType = ktPeriodic;
        Target.MinUParameter = Source.MinUParameter;
        Target.MaxUParameter = Source.MaxUParameter;
        Target.MinVParameter = Source.MinVParameter;
        Target.MaxVParameter = Source.MaxVParameter;
    }
    // A copy of the entity (undo, paste) keeps the Bezier choice the menu shows.
    if (Source.GetForcedBezier())
        Target.SetForcedBezier(true);
    else if (Target.GetForcedBezier())
        Target.SetForcedBezier(false);
}

// ---- TGeoBSurf ----

TGeoBSurf::TGeoBSurf() : FSurface(std::make_unique<TBSplineSurface>(4, 4)) {
    SetNet(FSurface.get());
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
    CreateLineRepresentations();
}

TGeoBSurf::~TGeoBSurf() = default;

void TGeoBSurf::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    TMenuItem& Item = Menu.Add(NewGMenuItem("BSpline Surface...", &List, [](TMenuItem& Sender) {
        TGeometryList* Document = GeometryListOf(Sender);
        const TNewSurfaceDialog& Dialog = NewBSplineSurfaceDialog();
        if (Document == nullptr || !Dialog) return;
        std::unique_ptr<TBSplineSurface> Made = Dialog();
        if (!Made) return;
        auto Entity = std::make_unique<TGeoBSurf>();
        AssignBSplineSurface(Entity->Surface(), *Made);
        Document->Add(std::move(Entity));
        Document->RefreshViews();
    }));
    Item.ImageIndex = GetImageIndex();
    AddCreatorItem(Menu, "Drag BSpline Surface", GetImageIndex(), List,
                   [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
                       return std::make_unique<TGeoBSurfaceCreator>(Document);
                   });
}

void TGeoBSurf::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    bool HasMesh = false;
    bool HasSurface = false;
    for (int I = 0; I < List.Count() && !(HasMesh && HasSurface); ++I) {
        TGeometry& G = List.Items(I);
        if (!G.GetSelected()) continue;
        if (dynamic_cast<TGeoMesh*>(&G) != nullptr)
            HasMesh = true;
        else if (dynamic_cast<TGeoBSurf*>(&G) != nullptr)
            HasSurface = true;
    }
    if (HasMesh) {
        if (Menu.Count() > 0) Menu.Add("-");
        Menu.Add(NewGMenuItem("Convert Meshes to 2nd Order BSplineSurfaces", &List, [](TMenuItem& Sender) {
            if (TGeometryList* Document = GeometryListOf(Sender))
                ReplaceSelected<TGeoMesh>(*Document, [](TGeoMesh& Mesh) {
                    auto Entity = std::make_unique<TGeoBSurf>();
                    Entity->Surface().TMesh::Assign(Mesh.Net());
                    Entity->Surface().SetOrderU(2);
                    Entity->Surface().SetOrderV(2);
                    return Entity;
                });
        }));
    }
    if (HasSurface) {
        if (Menu.Count() > 0) Menu.Add("-");
        Menu.Add(NewGMenuItem("Convert BSpline Surface Representation to Meshes", &List, [](TMenuItem& Sender) {
            if (TGeometryList* Document = GeometryListOf(Sender))
                ReplaceSelected<TGeoBSurf>(*Document, [](TGeoBSurf& Surface) {
                    TBSplineSurface& S = Surface.Surface();
                    return MeshEntityOf(*S.CreateMeshSized(Surface.GetNumULine(), Surface.GetNumVLine()));
                });
        }));
        Menu.Add(NewGMenuItem("Convert BSpline Surface Control Polygons to Meshes", &List, [](TMenuItem& Sender) {
            if (TGeometryList* Document = GeometryListOf(Sender))
                ReplaceSelected<TGeoBSurf>(*Document, [](TGeoBSurf& Surface) { return MeshEntityOf(Surface.Surface()); });
        }));
    }
}

bool TGeoBSurf::CreateFromMacro(TMacroFile& Macro, TGeometryList& List) {
    const std::string Line = Trim(Macro.GetCurrentLine());
    // Only the whole first word: a command on an entity named "CornerPointSurface1" is not one.
    if (UpperCase(ExtractWord(Line, 1)) != MacroKeyword) return false;
    const std::string Name = Trim(Line.substr(std::string_view(MacroKeyword).size()));
    const int CommandLine = Macro.GetCursor() - 1;
    std::vector<TMVector> Points;
    bool Ended = false;
    while (!Macro.Eof()) {
        const std::string U = UpperCase(Macro.NextLine());
        if (U.empty() && Macro.Eof()) break;
        if (U == "END") {
            Ended = true;
            break;
        }
        TMVector P;
        P.X = List.EvaluateMacroNumber(ExtractWord(U, 1), Macro);
        P.Y = List.EvaluateMacroNumber(ExtractWord(U, 2), Macro);
        P.Z = WordCount(U) > 2 ? List.EvaluateMacroNumber(ExtractWord(U, 3), Macro) : 0.0;
        Points.push_back(P);
    }
    if (!Ended) Macro.ErrorAtLine("No END for CORNERPOINTSURFACE " + Name, CommandLine);
    if (Points.size() != 4) Macro.ErrorAtLine("Four points expected for CORNERPOINTSURFACE " + Name, CommandLine);
    const std::unique_ptr<TBSplineSurface> Corners = CornerPointBSplineSurface(Points[0], Points[1], Points[2], Points[3]);
    auto Entity = std::make_unique<TGeoBSurf>();
    AssignBSplineSurface(Entity->Surface(), *Corners);
    Entity->SetName(Name);
    Entity->SetNumULine(4);
    Entity->SetNumVLine(4);
    List.Add(std::move(Entity));
    return true;
}

void TGeoBSurf::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(SurfaceOrderCaption, {});
    for (const char* Caption : OrderCaptions) AddSubMenuItem(Caption, [this](TMenuItem& Sender) { SurfaceOrderClick(Sender); });
    AddMenuItem("-", {});
    AddMenuItem(KnuckleCaptions[0], [this](TMenuItem&) { KnuckleUClick(); });
    AddMenuItem(KnuckleCaptions[1], [this](TMenuItem&) { KnuckleVClick(); });
    AddMenuItem("-", {});
    AddMenuItem(SubDivideCaptions[0], [this](TMenuItem&) { SubDivideU(); });
    AddMenuItem(SubDivideCaptions[1], [this](TMenuItem&) { SubDivideV(); });
    AddMenuItem("Reverse in U", [this](TMenuItem&) { ReverseU(); });
    AddMenuItem("Reverse in V", [this](TMenuItem&) { ReverseV(); });
    AddMenuItem("Flip U-V", [this](TMenuItem&) { SwapUV(); });
    AddMenuItem("-", {});
    AddMenuItem("Extract Edges", [this](TMenuItem&) { ExtractEdges(); });
    AddMenuItem("Fill Edges to Centerline", [this](TMenuItem&) { FillEdgesToCenterline(); });
    AddConversionMenuItems([this] {
        AddMenuItem("Convert to Surface Mesh", [this](TMenuItem&) { ConvertToSurfaceMesh(); });
        AddMenuItem("Control Points to Mesh", [this](TMenuItem&) { ControlPointsToMesh(); });
    });
    AddMenuItem("-", {});
    AddDisplayMenuItems();
    UpdateMenuItems(Root);
}

void TGeoBSurf::UpdateMenuItems(TMenuItem& Root) {
    TGeoCustomMesh::UpdateMenuItems(Root);
    UpdateDisplayMenuItems(Root);
    UpdateKnuckleItems(Root);
    const bool Open = FSurface->KnotType == ktOpen;
    for (const char* Caption : SubDivideCaptions)
        if (TMenuItem* Item = Root.Find(Caption)) Item->Enabled = Open;
    if (TMenuItem* Orders = Root.Find(SurfaceOrderCaption)) {
        Orders->Enabled = Open;
        const TBSplineSurface& S = *FSurface;
        const bool Bezier = S.GetForcedBezier();
        for (int K = 3; K <= 6; ++K)
            if (TMenuItem* Item = Orders->Find(OrderCaptions[K - 3])) {
                Item->Checked = !Bezier && S.OrderU() == K && S.OrderV() == K;
                Item->Enabled = S.NumU() > K - 1 && S.NumV() > K - 1;
            }
        if (TMenuItem* Item = Orders->Find(OrderCaptions[4])) {
            Item->Checked = Bezier;
            Item->Enabled = S.NumU() * S.NumV() > 2;
        }
    }
}

std::vector<std::pair<int, int>> TGeoBSurf::SelectedNetPoints() {
    std::vector<std::pair<int, int>> Result;
    if (!Editing()) return Result;
    for (int I = 0; I < FSurface->NumU(); ++I)
        for (int J = 0; J < FSurface->NumV(); ++J)
            if (FSurface->Point(I, J).Marked) Result.emplace_back(I, J);
    return Result;
}

void TGeoBSurf::UpdateKnuckleItems(TMenuItem& Root) {
    TMenuItem* Items[2] = {Root.Find(KnuckleCaptions[0]), Root.Find(KnuckleCaptions[1])};
    for (TMenuItem* Item : Items)
        if (Item != nullptr) {
            Item->Enabled = false;
            Item->Checked = false;
        }
    if (!Editing()) return;
    const std::vector<std::pair<int, int>> Selected = SelectedNetPoints();
    const int S = static_cast<int>(Selected.size());
    for (int Direction = 0; Direction < 2; ++Direction) {
        TMenuItem* Item = Items[Direction];
        if (Item == nullptr) continue;
        const auto Index = [Direction](const std::pair<int, int>& P) { return Direction == 0 ? P.first : P.second; };
        const int Order = Direction == 0 ? FSurface->OrderU() : FSurface->OrderV();
        const bool AllOnKnuckle = S > 0 && std::all_of(Selected.begin(), Selected.end(), [&](const auto& P) {
            return Direction == 0 ? FSurface->IsKnuckleU(Index(P)) : FSurface->IsKnuckleV(Index(P));
        });
        if (Order == S + 1 && AllOnKnuckle) {
            Item->Enabled = true;
            Item->Checked = true;
        } else if (S == 1) {
            const int I = Index(Selected[0]);
            Item->Enabled = Direction == 0 ? FSurface->CanKnuckleU(I) : FSurface->CanKnuckleV(I);
        }
    }
}

void TGeoBSurf::KnuckleClick(int Direction) {
    const std::vector<std::pair<int, int>> Selected = SelectedNetPoints();
    if (Selected.empty()) return;
    const auto Index = [Direction](const std::pair<int, int>& P) { return Direction == 0 ? P.first : P.second; };
    const auto Set = [&](int I, bool On) {
        Direction == 0 ? FSurface->SetKnuckleU(I, On) : FSurface->SetKnuckleV(I, On);
    };
    const int S = static_cast<int>(Selected.size());
    if (S == 1) {
        const int I = Index(Selected[0]);
        const bool Can = Direction == 0 ? FSurface->CanKnuckleU(I) : FSurface->CanKnuckleV(I);
        BeginChange();
        Set(I, Can);
        EndChange();
        InvalidateViews();
        return;
    }
    const int Order = Direction == 0 ? FSurface->OrderU() : FSurface->OrderV();
    const bool AllOnKnuckle = std::all_of(Selected.begin(), Selected.end(), [&](const auto& P) {
        return Direction == 0 ? FSurface->IsKnuckleU(Index(P)) : FSurface->IsKnuckleV(Index(P));
    });
    if (Order != S + 1 || !AllOnKnuckle) return;
    // Ordered by i, then j: in V the first selected point in that order names the line.
    const int I = Index(Selected[0]);
    BeginChange();
    Set(I, false);
    EndChange();
    InvalidateViews();
}

void TGeoBSurf::KnuckleUClick() { KnuckleClick(0); }

void TGeoBSurf::KnuckleVClick() { KnuckleClick(1); }

void TGeoBSurf::SurfaceOrderClick(TMenuItem& Sender) {
    // The first character as the menu shows it: an accelerator marker is not part of it.
    const std::string& Caption = Sender.Caption;
    const std::size_t At = Caption.find_first_not_of('&');
    if (At == std::string::npos) return;
    const char First = Caption[At];
    if (First >= '3' && First <= '6')
        SetSurfaceOrder(First - '0');
    else if (First == 'B')
        SetSurfaceOrder(0);
}

void TGeoBSurf::SetSurfaceOrder(int Order) {
    TBSplineSurface& S = *FSurface;
    // An order above the point count leaves nothing to draw; the menu does not offer it.
    if (Order != 0 && (Order < 2 || Order > S.NumU() || Order > S.NumV())) return;
    if (!CanChangeNet()) return;
    BeginChange();
    Undraw();
    if (Order == 0) {
        S.SetForcedBezier(true);
    } else {
        S.SetOrderU(Order);
        S.SetOrderV(Order);
    }
    S.KnotType = ktOpen;
    EndChange();
    Redraw();
}

void TGeoBSurf::SetDirectionOrder(int Direction, int Order) {
    TBSplineSurface& S = *FSurface;
    if (Order < 2 || Order > (Direction == 0 ? S.NumU() : S.NumV())) return;
    if (!CanChangeNet()) return;
    BeginChange();
    Undraw();
    Direction == 0 ? S.SetOrderU(Order) : S.SetOrderV(Order);
    S.KnotType = ktOpen;
    EndChange();
    Redraw();
}

std::vector<std::string> OrderChoices(int Count) {
    static const char* const Named[] = {"2 (Linear)", "3 (Quadratic)", "4 (Cubic)"};
    std::vector<std::string> Result;
    for (int N = 2; N <= Count; ++N)
        Result.push_back(N == Count ? IntToStr(N) + " (Bezier)" : N <= 4 ? Named[N - 2] : IntToStr(N));
    return Result;
}

void TGeoBSurf::ReplaceSurface(std::unique_ptr<TBSplineSurface> Refined) {
    if (!Refined) return;
    BeginChange();
    Undraw();
    AssignBSplineSurface(*FSurface, *Refined);
    EndChange();
    Redraw();
}

void TGeoBSurf::SubDivideU() { ReplaceSurface(FSurface->SubDivide(0)); }

void TGeoBSurf::SubDivideV() { ReplaceSurface(FSurface->SubDivide(1)); }

void AddEdgeCurveEntities(TGeometry& Entity, const std::function<std::unique_ptr<TBSpline>(int)>& EdgeCurve) {
    TGeometryList* List = Entity.GetOwnerList();
    if (List == nullptr) return;
    const std::string Prefix = NamePrefix(Entity);
    InListUpdate(*List, [&] {
        for (int Code = 0; Code < 4; ++Code) {
            const std::unique_ptr<TBSpline> Edge = EdgeCurve(Code);
            auto Curve = std::make_unique<TGeoBSpline>();
            Curve->Spline().Assign(*Edge);
            Curve->SetName(Prefix + EdgeNames[Code]);
            List->Add(std::move(Curve))->Redraw();
        }
    });
}

void TGeoBSurf::ExtractEdges() {
    AddEdgeCurveEntities(*this, [this](int Code) { return FSurface->EdgeCurve(Code); });
}

void TGeoBSurf::FillEdgesToCenterline() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    const std::string Prefix = NamePrefix(*this);
    InListUpdate(*List, [&] {
        for (int Code = 0; Code < 4; ++Code) {
            const std::unique_ptr<TBSplineSurface> Filled = FSurface->FillEdgeToCenterline(Code);
            auto Entity = std::make_unique<TGeoBSurf>();
            AssignBSplineSurface(Entity->Surface(), *Filled);
            Entity->SetName(Prefix + FillNames[Code]);
            List->Add(std::move(Entity))->Redraw();
        }
    });
}

void TGeoBSurf::ConvertToSurfaceMesh() {
    if (GetOwnerList() == nullptr) return;
    std::unique_ptr<TGeoMesh> Mesh = MeshEntityOf(*FSurface->CreateMeshSized(GetNumULine(), GetNumVLine()));
    Display.ReplaceOwner(std::move(Mesh));
}

void TGeoBSurf::ControlPointsToMesh() {
    if (GetOwnerList() == nullptr) return;
    Display.ReplaceOwner(MeshEntityOf(*FSurface));
}

void TGeoBSurf::Recalculate() {
    FSurface->SetLinePointCount(SegmentCountFor(*FSurface));
    FSurface->SetNumULine(GetNumULine());
    FSurface->SetNumVLine(GetNumVLine());
    TGeoCustomMesh::Recalculate();
}

void TGeoBSurf::AddSnapPoints(TGeometrySnapInfo& Request) {
    TGeoCustomMesh::AddSnapPoints(Request);
    // A periodic surface has no parameter range to trace its edges over.
    if (!Request.SnapTypes().test(stSurfaceEdge) || Editing() || Request.View == nullptr ||
        FSurface->KnotType == ktPeriodic)
        return;
    for (int Code = 0; Code < 4; ++Code) {
        const std::unique_ptr<TPolyline> Edge = FSurface->EdgeCurve(Code)->Digitise();
        if (Edge->Count() == 0) continue;
        const std::unique_ptr<TRPoint> Nearest = PolylineNearestScreenPoint(Request.ScreenPoint, *Edge, *Request.View);
        Request.TryRPoint(*Nearest, stSurfaceEdge, this);
    }
}

void TGeoBSurf::Transform(const TMMatrix& M) {
    BeginChange();
    AssignBSplineSurface(*FSurface, *FSurface->CreateTransformed(M));
    EndChange();
}

void TGeoBSurf::Assign(const TGeometry& Source) {
    TGeoCustomMesh::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoBSurf*>(&Source);
    if (Other == nullptr) return;
    AssignBSplineSurface(*FSurface, *Other->FSurface);
}

bool SurfaceAnalysisShownNow(const TGeometry& Entity) {
    if ((Entity.GetState() & gsDragging) != 0) return false;
    return CurrentSettings().ShowSurfaceCurvatureWhileEditing || !Entity.Editing();
}

bool SurfaceLinesShownWhileEditing(const TGeometry& Entity, bool DrawParameters) {
    return DrawParameters || !Entity.DrawContours() || !CurrentSettings().ShowSurfaceContoursWhileEditing;
}

bool TGeoBSurf::ShowAnalysisNow() const { return SurfaceAnalysisShownNow(*this); }

bool TGeoBSurf::ShowLinesWhileEditing() const { return SurfaceLinesShownWhileEditing(*this, GetDrawParameters()); }

void TGeoBSurf::Draw(IGraphics& View) {
    if (ShowAnalysisNow()) AnalysisRepresentation().Draw(View);
    if (Editing()) {
        DrawEditNet(View);
    } else {
        OutlineRepresentation()->Draw(View);
        ParametersRepresentation()->Draw(View);
    }
    if (DrawContours()) Contours().Draw(View);
}

void TGeoBSurf::DrawOutline(IGraphics& View) {
    if (ShowAnalysisNow()) AnalysisRepresentation().DrawOutline(View);
    if (Editing()) {
        DrawEditLines(View, true);
    } else {
        OutlineRepresentation()->Draw(View);
        ParametersRepresentation()->DrawOutline(View);
    }
    if (DrawContours()) Contours().DrawOutline(View);
}

void TGeoBSurf::DrawEditNet(IGraphics& View) { DrawEditLines(View, false); }

void TGeoBSurf::DrawEditLines(IGraphics& View, bool Plain) {
    TBSplineSurface& S = *FSurface;
    const TGeometryColors& C = Colors();
    const auto Color = [&](TColor Value) {
        if (!Plain) View.SetLineColor(Value);
    };
    const auto Handle = [&](const TRPoint& P, TColor Normal) {
        Color(P.Marked ? C.SelectColor() : Normal);
        View.EditHandlePoint(P, 0);
    };
    // Periodic knots give no parameter range: only the net is drawn.
    const bool Lines = S.KnotType != ktPeriodic;
    const std::uint8_t EditView = GetEditView();
    if (EditView == mvUV) {
        Color(C.DrawColor());
        if (Lines && ShowLinesWhileEditing()) S.Draw(View);
        Color(C.ControlPolygonColor());
        S.DrawControlNet(View);
        for (int K = 0; K < S.NumU() * S.NumV(); ++K) Handle(S.PointByIndex(K), C.ControlPolygonColor());
        return;
    }
    const bool InU = EditView == mvU;
    const int Count = InU ? S.NumU() : S.NumV();
    const int Edited = GetEditIndex();
    const TColor LineColor = InU ? C.ControlPolygonColor() : C.DrawColor();
    const auto Fraction = [Count](int P) { return Count > 1 ? static_cast<double>(P) / (Count - 1) : 0.0; };
    if (Lines) {
        S.UpdateKnots();
        if ((GetState() & gsDragging) != 0) {
            Color(LineColor);
            S.DrawIsoLine(InU ? 0 : 1, Fraction(Edited), View);
        } else {
            for (int P = 0; P < Count; ++P) {
                Color(P == Edited ? C.DrawColor() : C.ControlPolygonColor());
                S.DrawIsoLine(InU ? 0 : 1, Fraction(P), View);
            }
        }
    }
    const int Along = InU ? S.NumV() : S.NumU();
    const auto At = [&](int K) -> TRPoint& { return InU ? S.Point(Edited, K) : S.Point(K, Edited); };
    Color(LineColor);
    for (int K = 0; K < Along; ++K) K == 0 ? View.LineStartPoint(At(K)) : View.LineNextPoint(At(K));
    if (Along > 0) View.LineFinish();
    for (int K = 0; K < Along; ++K) Handle(At(K), LineColor);
}

void TGeoBSurf::CreateRenderer() {
    if (GetRenderer() != nullptr) return;
    std::unique_ptr<IGLRenderer> Renderer = CreateGLRendererFromSurface(*FSurface, Mirrored());
    if (Renderer) SetRenderer(std::move(Renderer));
}

void TGeoBSurf::Query(TGeometryQuery& Query) { AnswerBSplineSurfaceQuery(Query, *FSurface, GetName()); }

void TGeoBSurf::HandleMessage(TGeoMessage& Message) {
    TGeoCustomMesh::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectBSplineSurfaces*>(&Message) != nullptr ||
        dynamic_cast<TGeoSelectSurfaces*>(&Message) != nullptr)
        SetSelected(true);
}

void TGeoBSurf::AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) { Analysis.AddSurface(*FSurface, 1); }

void TGeoBSurf::AddBoundaryLines(TPolylineList& List) {
    if (FSurface->KnotType != ktPeriodic) TGeoCustomMesh::AddBoundaryLines(List);
}

void TGeoBSurf::AddParameterLines(TPolylineList& List) {
    if (FSurface->KnotType != ktPeriodic) TGeoCustomMesh::AddParameterLines(List);
}

void TGeoBSurf::EndDrag(TPoint ScreenPoint, const TMVector& Point, IGraphics& View, TShiftState Shift,
                        const TMVector& Offset) {
    TGeoCustomMesh::EndDrag(ScreenPoint, Point, View, Shift, Offset);
    FSurface->SetLinePointCount(SegmentCountFor(*FSurface));
}

bool TGeoBSurf::CanChangeNet() { return FSurface->KnotType == ktOpen || AskToOpenKnots("Surface"); }

void TGeoBSurf::OpenKnots() { FSurface->KnotType = ktOpen; }

void TGeoBSurf::SetEditView(std::uint8_t View) {
    if (View == mvUV) {
        FSurface->SetNumULine(10);
        FSurface->SetNumVLine(10);
        FSurface->SetLinePointCount(10);
    }
    FSurface->SetNumULine(GetNumULine());
    FSurface->SetNumVLine(GetNumVLine());
    TGeoCustomMesh::SetEditView(View);
}

void TGeoBSurf::SaveExtraKeys(TTextWriter& Out) {
    if (GetNumULine() != 25) Out.WriteLine("NumULine=" + IntToStr(GetNumULine()));
    if (GetNumVLine() != 25) Out.WriteLine("NumVLine=" + IntToStr(GetNumVLine()));
}

bool TGeoBSurf::LoadExtraKey(const TBlockLine& Line) {
    const bool U = Line.Key == "NUMULINE";
    if (!U && Line.Key != "NUMVLINE") return false;
    const int Count = StrToInt(Line.Value);
    if (Count < 1 || Count > MaxSurfaceLineCount)
        throw EGeometryError(std::string("Error in field BSplineSurface.") + (U ? "NumULine" : "NumVLine"));
    U ? SetNumULine(Count) : SetNumVLine(Count);
    return true;
}

// ---- TGeoBSurfaceCreator ----

void TGeoBSurfaceCreator::CreateGeometry() {
    const auto& C = GetCorners();
    const std::unique_ptr<TBSplineSurface> Corners = CornerPointBSplineSurface(C[0], C[3], C[2], C[1]);
    auto Entity = std::make_unique<TGeoBSurf>();
    AssignBSplineSurface(Entity->Surface(), *Corners);
    GetDocumentList().Add(std::move(Entity))->Redraw();
}

}  // namespace sarnova
