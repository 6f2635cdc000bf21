#include "curvenet/GXTSurface.h"

#include <algorithm>
#include <string>

#include "curvenet/GBSurfL.h"
#include "curvenet/GXTCurve.h"
#include "curvenet/XTBSpline.h"
#include "curvenet/XTConstraints.h"
#include "curvenet/XTCurve.h"
#include "curvenet/XTEdges.h"
#include "curvenet/XTPatchFace.h"
#include "curvenet/XTSubDivisionPatch.h"
#include "curvenet/XTReferencePoints.h"
#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GeoFace.h"
#include "document/Undo.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/ShadedRenderer.h"
#include "entities/GBSurf.h"
#include "entities/GGregory.h"
#include "entities/GMesh.h"
#include "foundation/BSpline.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/GeomBox.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/Polyline.h"
#include "foundation/RenderTarget.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "foundation/UserDialogs.h"
#include "surfaces/BSurface.h"
#include "surfaces/Gregory.h"
#include "surfaces/Surface.h"
#include "surfaces/SurfaceAnalysis.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

namespace {

const char* const ContoursCaption = "Show Contours";
const char* const ParametersCaption = "Show Parameters";
const char* const OutlinesCaption = "Show Outlines";
const char* const MirroredCaption = "Mirrored";
const char* const GroupCaption = "Create XTSurface Group";

// The program's dialogs; nullptr without a window.
IUserDialogs* ProgramDialogs() { return GExceptionHandler ? GExceptionHandler->UserDialogs : nullptr; }

// The chosen file of a save dialog; empty when cancelled or when nobody can be asked.
std::string AskSaveFile(const std::string& Title, const std::string& Extension, const std::string& Filter) {
    IUserDialogs* Dialogs = ProgramDialogs();
    if (Dialogs == nullptr) return {};
    TSaveDialog Dialog;
    Dialog.Title = Title;
    Dialog.DefaultExt = Extension;
    Dialog.Filter = Filter;
    if (!Dialogs->ExecuteSaveDialog(Dialog)) return {};
    return Dialog.FileName;
}

}  // namespace

TXTNode* XTNodeOf(TGeometry& Entity, bool Regenerate) {
    if (auto* Curve = dynamic_cast<TGeoXTCurve*>(&Entity)) return &Curve->Curve();
    if (auto* Surface = dynamic_cast<TGeoXTSurface*>(&Entity)) {
        if (Regenerate) Surface->GetDataObject();
        return &Surface->Surface();
    }
    return nullptr;
}

// ---- TXTSurfaceEditor ----

void TXTSurfaceEditor::Clear() {
    FPoints.clear();
    FPointCurves.clear();
    FCurves.clear();
}

void TXTSurfaceEditor::Rebuild() {
    Clear();
    for (int I = 0; I < Surface.Curves().Count(); ++I)
        if (TXTCurve* C = Surface.Curves().Curve(I)) AddCurvePoints(*C);
}

void TXTSurfaceEditor::AddCurvePoints(TXTCurve& Curve) {
    const bool InPlane = Curve.Constraints().HasPlaneConstraint();
    bool Added = false;
    for (int I = 0; I < Curve.PointCount(); ++I) {
        TXTPoint* P = Curve.PointAt(I);
        if (dynamic_cast<TXTPointIndexReference*>(P) != nullptr) continue;
        // Points of a curve in a plane that rest on something follow their hosts.
        if (I > 0 && InPlane && P->State != 0) continue;
        FPoints.push_back(P);
        FPointCurves.push_back(&Curve);
        Added = true;
    }
    if (Added) FCurves.push_back(&Curve);
}

void TXTSurfaceEditor::DrawCurves(IGraphics& G) {
    for (TXTCurve* C : FCurves) C->Draw(G);
}

void TXTSurfaceEditor::DrawSpanPolygons(IGraphics& G) {
    for (TXTCurve* C : FCurves) C->DrawSegments(G);
}

void TXTSurfaceEditor::DrawEditing(IGraphics& G) {
    DrawCurves(G);
    DrawSpanPolygons(G);
    IRenderTarget* Target = RenderTargetOf(G);
    for (int I = 0; I < Count(); ++I) {
        const TMVector P = FPoints[static_cast<std::size_t>(I)]->GetPosition();
        G.EditHandle(0, P.X, P.Y, P.Z);
        TMVector Window;
        if (Target == nullptr || !Target->WorldToWindow(P, Window)) continue;
        Target->BeginPixelOverlay();
        G.TextOut(std::to_string(I), Window.X + 10, Window.Y + 10, 0);
        Target->EndPixelOverlay();
    }
}

// ---- TGeoXTSurface ----

TGeoXTSurface::TGeoXTSurface()
    : FSurface(std::make_unique<TXTSurface>()), FEditor(std::make_unique<TXTSurfaceEditor>(*FSurface)) {
    Display.NumULine = 5;
    Display.NumVLine = 5;
    FSurface->Manager = this;
    FSurface->OnLosingInput = [this](TXTNode*) { RecordChange(); };
    FSurface->OnChange = [this](TXTNode*) {
        // A changed curve may have new points; the old ones must not be reached through the editor.
        // A drag moves the points it holds and keeps them.
        if ((GetState() & gsDragging) == 0) FEditor->Clear();
        // The next generation frees the patches the renderer draws, also when it fails on the way.
        if (auto* Renderer = dynamic_cast<IGLRenderer*>(GetRenderer())) Renderer->ClearInstances();
        MarkChanged();
    };
    // Also after a generation that a message stopped: the points are the curves' whatever became of
    // the patches, and the message reaches the errors window.
    FSurface->OnRegenerated = [this](TXTSurfaceBase*) {
        FEditor->Rebuild();
        AddToRenderer();
        SendMessage(std::make_unique<TGeoXTSurfaceUpdate>());
    };
    SetName("XTSurface1");
    SetCapabilities(static_cast<std::uint16_t>((GetCapabilities() | cpUndoable | cpRenderable) & ~cpPointEditing));
    CreateLineRepresentations();
}

TGeoXTSurface::~TGeoXTSurface() {
    // The renderer may still point at the polygons and patches.
    FreeRenderer();
    FSurface->OnChange = nullptr;
    FSurface->OnLosingInput = nullptr;
    FSurface->OnRegenerated = nullptr;
    FEditor.reset();
    FSurface.reset();
}

template <class F>
void TGeoXTSurface::Change(F Body) {
    BeginChange();
    Undraw();
    Body();
    EndChange();
    InvalidateViews();
}

void TGeoXTSurface::SetName(const std::string& Value) {
    const std::string Clean = NameWithoutControls(Value);
    // The undo snapshot must hold the old name, which the surface object keeps.
    if (Clean != TGeometry::GetName() || Clean != FSurface->GetName()) RecordChange();
    FSurface->SetName(Clean);
    TGeoDraggableSurface::SetName(Value);
}

bool TGeoXTSurface::GenerationAllowed() const {
    const TGeometryList* List = GetOwnerList();
    // Commands that rebuild the document from the surfaces of the last generation run in brackets
    // with the hourglass (or flag 4); regenerating there would free the patches they are using.
    return List == nullptr || !List->Updating() || (List->GetUpdateFlags() & (ufHourGlass | 4)) == 0;
}

TDataObject TGeoXTSurface::GetDataObject() {
    if (GenerationAllowed()) FSurface->Regenerate();
    return TDataObject::Of(&FSurface->Surfaces());
}

// ---- IXTManager ----

TXTNode* TGeoXTSurface::FindNode(const std::string& Name) {
    const TGeometryList* List = GetOwnerList();
    if (List == nullptr) return nullptr;
    TGeometry* Found = List->FindByName(Name);
    return Found != nullptr ? XTNodeOf(*Found, true) : nullptr;
}

std::unique_ptr<TXTNodeList> TGeoXTSurface::Nodes() {
    const TGeometryList* List = GetOwnerList();
    if (List == nullptr) return nullptr;
    auto Result = std::make_unique<TXTNodeList>();
    for (int I = 0; I < List->Count(); ++I) {
        TGeometry& G = List->Items(I);
        // Without regenerating: the nodes are listed while a generation walks the graph.
        if (TXTNode* Node = XTNodeOf(G, false)) Result->Add(Node);
    }
    return Result;
}

TXTCurve* TGeoXTSurface::FindCurve(const std::string& Name) { return dynamic_cast<TXTCurve*>(FindNode(Name)); }

void TGeoXTSurface::AddInfoMessage(const TInfoMessage& Message) { TGeometry::AddInfoMessage(Message); }

void TGeoXTSurface::ClearInfoMessages(const void*) { TGeometry::ClearInfoMessages(); }

// ---- Editing ----

void TGeoXTSurface::SetDrawOptions(std::uint16_t Value) {
    if (Value == FDrawOptions) return;
    Change([&] { FDrawOptions = Value; });
}

void TGeoXTSurface::SetOptions(const TXTSurfaceOptions& Options) {
    if (SameSurfaceOptions(Options, FSurface->Options())) return;
    Change([&] { FSurface->SetOptions(Options); });
}

void TGeoXTSurface::AddCurve(const std::string& EntityName) {
    TXTCurve* Curve = FindCurve(EntityName);
    if (Curve == nullptr || !FSurface->Curves().CanAdd(Curve)) return;
    Change([&] { FSurface->Curves().Add(Curve); });
}

void TGeoXTSurface::RemoveCurve(const std::string& EntityName) {
    TXTCurve* Curve = FindCurve(EntityName);
    if (Curve == nullptr || !FSurface->Curves().Contains(Curve)) return;
    Change([&] { FSurface->Curves().Remove(Curve); });
}

template <class F>
std::vector<TGeometry*> TGeoXTSurface::CurveEntitiesOf(F Take) const {
    std::vector<TGeometry*> Result;
    const TGeometryList* List = GetOwnerList();
    if (List == nullptr) return Result;
    std::vector<TXTCurve*> Curves;
    for (int I = 0; I < FEditor->Count(); ++I)
        if (Take(I) && std::find(Curves.begin(), Curves.end(), FEditor->CurveOf(I)) == Curves.end())
            Curves.push_back(FEditor->CurveOf(I));
    for (int I = 0; I < List->Count() && !Curves.empty(); ++I)
        if (auto* C = dynamic_cast<TGeoXTCurve*>(&List->Items(I));
            C != nullptr && std::find(Curves.begin(), Curves.end(), &C->Curve()) != Curves.end())
            Result.push_back(C);
    return Result;
}

void TGeoXTSurface::SetPointCoordinate(int Index, int Axis, double Value) {
    if (Index < 0 || Index >= GetPointCount() || Axis < 0 || Axis > 2) return;
    TXTPoint* P = FEditor->Points(Index);
    TGeometryList* List = GetOwnerList();
    const std::vector<TGeometry*> Curves = CurveEntitiesOf([Index](int I) { return I == Index; });
    // The point is the curve's: the curve changes with the surface, in one undo step.
    if (List != nullptr) List->BeginUpdate(0);
    try {
        for (TGeometry* C : Curves) C->BeginChange();
        Change([&] {
            if (Axis == 0)
                P->SetX(Value);
            else if (Axis == 1)
                P->SetY(Value);
            else
                P->SetZ(Value);
        });
        for (TGeometry* C : Curves) C->EndChange();
    } catch (...) {
        if (List != nullptr) List->EndUpdate();
        throw;
    }
    if (List != nullptr) List->EndUpdate();
}

void TGeoXTSurface::SelectPoints(int First, int Last) {
    if (!Editing()) return;
    for (int I = 0; I < GetPointCount(); ++I) FEditor->Points(I)->Selected = I >= First && I <= Last;
    InvalidateViews();
}

// ---- Menus ----

void TGeoXTSurface::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (static_cast<int>(SelectedOfClass<TGeoXTCurve>(List).size()) != List.SelectedCount()) return;
    if (Menu.Count() > 0) Menu.Add("-");
    TGeometryList* Doc = &List;
    Menu.Add(GroupCaption, [Doc](TMenuItem&) { CreateGroup(*Doc); });
}

TGeoXTSurface* TGeoXTSurface::CreateGroup(TGeometryList& List) {
    auto Entity = std::make_unique<TGeoXTSurface>();
    for (TGeoXTCurve* C : SelectedOfClass<TGeoXTCurve>(List)) Entity->FSurface->Curves().Add(&C->Curve());
    Entity->SetDrawParameters(true);
    auto* Added = static_cast<TGeoXTSurface*>(List.Add(std::move(Entity)));
    Added->Redraw();
    return Added;
}

void TGeoXTSurface::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem("Explode", [this](TMenuItem&) { Explode(); });
    AddMenuItem("Explode as Surface Meshes", [this](TMenuItem&) { ExplodeAsMeshes(); });
    AddMenuItem("Extract Curve Edges", [this](TMenuItem&) { ExtractCurveEdges(); });
    AddMenuItem("-", {});
    AddMenuItem("Convert to BSpline Surface List", [this](TMenuItem&) { ConvertToBSplineSurfaceList(); });
    AddMenuItem("Extract Contours", [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem("Create Polygon Mesh", [this](TMenuItem&) { GeneratePolygonMesh(); });
    AddMenuItem("Create Calculation Sections", [this](TMenuItem&) { CreateCalculationSections(); });
    AddMenuItem("-", {});
    AddMenuItem("Export Surface and Curves...", [this](TMenuItem&) { ExportSurfaceAndCurves(); });
    AddMenuItem("Export Manifold...", [this](TMenuItem&) { ExportManifold(); });
    AddMenuItem("-", {});
    AddMenuItem(OutlinesCaption, [this](TMenuItem&) { ToggleDrawOutline(); });
    AddMenuItem(ParametersCaption, [this](TMenuItem&) { ToggleDrawParameters(); });
    AddMenuItem(ContoursCaption, [this](TMenuItem&) { SetDrawContours(!DrawContours()); });
    AddAnalysisMenu();
    AddMenuItem(MirroredCaption, [this](TMenuItem&) { SetMirrored(!Mirrored()); });
    UpdateMenuItems(Root);
}

void TGeoXTSurface::UpdateMenuItems(TMenuItem& Root) {
    TGeoDraggableSurface::UpdateMenuItems(Root);
    UpdateDisplayMenuItems(Root);
    if (TMenuItem* Item = Root.Find(OutlinesCaption)) Item->Checked = GetDrawOutline();
}

// ---- Commands ----

void TGeoXTSurface::Explode() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    FSurface->Regenerate();
    InListUpdate(*List, [&] {
        const TSurfaces& Surfaces = FSurface->Surfaces();
        for (int I = 0; I < Surfaces.Count(); ++I) {
            TSurface* S = Surfaces.Surface(I);
            if (auto* B = dynamic_cast<TBSplineSurface*>(S)) {
                auto Entity = std::make_unique<TGeoBSurf>();
                AssignBSplineSurface(Entity->Surface(), *B);
                Entity->SetNumULine(5);
                Entity->SetNumVLine(5);
                List->Add(std::move(Entity))->Redraw();
            } else if (auto* G = dynamic_cast<TGregorySurface*>(S)) {
                auto Entity = std::make_unique<TGeoGregorySurface>();
                Entity->Surface().Assign(*G);
                Entity->SetNumULine(5);
                Entity->SetNumVLine(5);
                List->Add(std::move(Entity))->Redraw();
            }
        }
        DeleteFromList();
    });
}

void TGeoXTSurface::ExplodeAsMeshes() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    FSurface->Regenerate();
    InListUpdate(*List, [&] {
        const TSurfaces& Surfaces = FSurface->Surfaces();
        for (int I = 0; I < Surfaces.Count(); ++I) {
            auto* M = dynamic_cast<TMesh*>(Surfaces.Surface(I));
            if (M == nullptr) continue;
            auto Entity = std::make_unique<TGeoMesh>();
            Entity->Net().Assign(*M);
            List->Add(std::move(Entity))->Redraw();
        }
        DeleteFromList();
    });
}

void TGeoXTSurface::ExtractCurveEdges() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    FSurface->Regenerate();
    InListUpdate(*List, [&] {
        const TEdges& Edges = FSurface->Manifold().Edges();
        for (int I = 0; I < Edges.Count(); ++I) {
            auto* E = dynamic_cast<TXTEdge*>(Edges.Edge(I));
            if (E == nullptr) continue;
            auto Entity = std::make_unique<TGeoBSpline>();
            Entity->Spline().Assign(E->GetSpline().Spline());
            List->Add(std::move(Entity))->Redraw();
        }
    });
}

void TGeoXTSurface::ConvertToBSplineSurfaceList() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    FSurface->Regenerate();
    auto Entity = std::make_unique<TGeoBSurfList>();
    const TSurfaces& Surfaces = FSurface->Surfaces();
    for (int I = 0; I < Surfaces.Count(); ++I)
        if (auto* B = dynamic_cast<TBSplineSurface*>(Surfaces.Surface(I)))
            Entity->Surfaces().AddSurface(CloneBSplineSurface(*B));
    // A list without surfaces would be an empty entity in place of the surface.
    if (Entity->Surfaces().Count() == 0) return;
    InListUpdate(*List, [&] {
        List->Add(std::move(Entity))->Redraw();
        DeleteFromList();
    });
}

void TGeoXTSurface::CreateCalculationSections() {
    FSurface->Regenerate();
    Display.CreateCalculationSections(&FSurface->Surfaces());
}

void TGeoXTSurface::ExportSurfaceAndCurves() {
    const std::string FileName =
        AskSaveFile("Export Surface and Curves", "geo", "Geometry File (*.geo)|*.geo");
    if (!FileName.empty()) FSurface->ExportWithCurves(FileName);
}

void TGeoXTSurface::ExportManifold() {
    const std::string FileName = AskSaveFile("Export Manifold", "man", "Manifold File (*.man)|*.man");
    if (FileName.empty()) return;
    FSurface->Regenerate();
    FSurface->Manifold().SaveToFile(FileName);
}

// ---- Overrides ----

int TGeoXTSurface::GetPointCount() {
    if (GenerationAllowed()) FSurface->Regenerate();
    return FEditor->Count();
}

std::unique_ptr<TPointInfo> TGeoXTSurface::CreatePointInfo() { return std::make_unique<TXTPointInfo>(this); }

void TGeoXTSurface::GetPointInfo(int Index, TPointInfo& Info, IGraphics* View) {
    auto* X = dynamic_cast<TXTPointInfo*>(&Info);
    if (X == nullptr) {
        TGeoDraggableSurface::GetPointInfo(Index, Info, View);
        return;
    }
    X->SetXTPoint(Index >= 0 && Index < FEditor->Count() ? FEditor->Points(Index) : nullptr, View, true);
}

TMBox TGeoXTSurface::CalculateExtents() {
    TMBox Box;
    FSurface->GetExtents(Box);
    return Mirrored() ? CopyBoxSymmetricY(Box) : Box;
}

IGeometryFrame* TGeoXTSurface::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(XTSurfaceFrameName, *this, Owner)) return Frame;
    return TGeoDraggableSurface::CreateFrame(Owner);
}

void TGeoXTSurface::UpdateFrame() {
    if (IXTSurfaceFrame* Frame = SurfaceFrame())
        Frame->Refresh();
    else
        TGeoDraggableSurface::UpdateFrame();
}

void TGeoXTSurface::Assign(const TGeometry& Source) {
    TGeoDraggableSurface::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoXTSurface*>(&Source);
    if (Other == nullptr) return;
    FSurface->Assign(*Other->FSurface);
    // A copy keeps the scheme it was given: pasting a customised surface must not reset it.
    FSurface->SetOptions(Other->FSurface->Options());
    FDrawOptions = Other->FDrawOptions;
    FSurface->SetName(Other->FSurface->GetName());
    StoreName(FSurface->GetName());
}

void TGeoXTSurface::DrawPatches(IGraphics& View) {
    const double Scale = BoxMaxSize(GetExtents()) * 0.01;
    FSurface->DrawWithOptions(View, FDrawOptions, Scale);
}

void TGeoXTSurface::Draw(IGraphics& View) {
    if (Editing()) {
        const TGeometryColors& C = Colors();
        View.SetLineColor(C.ControlPolygonColor());
        FEditor->DrawCurves(View);
        FEditor->DrawSpanPolygons(View);
        for (int I = 0; I < FEditor->Count(); ++I) {
            const TXTPoint& P = *FEditor->Points(I);
            View.SetLineColor(P.Selected ? C.SelectColor() : I == 0 ? C.StartColor() : C.ControlPolygonColor());
            const TMVector Pos = P.GetPosition();
            View.EditHandle(0, Pos.X, Pos.Y, Pos.Z);
        }
    }
    if ((GetState() & gsDragging) != 0) return;
    if ((GetState() & (gsParameterLines | gsContours)) == 0) OutlineRepresentation()->SetVisible(true);
    ParametersRepresentation()->Draw(View);
    OutlineRepresentation()->Draw(View);
    AnalysisRepresentation().Draw(View);
    if (DrawContours()) Contours().Draw(View);
    DrawPatches(View);
}

void TGeoXTSurface::DrawOutline(IGraphics& View) {
    if (Editing()) FEditor->DrawEditing(View);
    if ((GetState() & gsDragging) != 0) return;
    ParametersRepresentation()->DrawOutline(View);
    OutlineRepresentation()->DrawOutline(View);
    AnalysisRepresentation().DrawOutline(View);
    if (DrawContours()) Contours().DrawOutline(View);
    DrawPatches(View);
}

void TGeoXTSurface::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FSurface->SaveToText(Out);
    // Written either way: a reader keeps the switch of a new surface (on) when the key is missing.
    Out.WriteLine(GetDrawParameters() ? "DrawParameters=TRUE" : "DrawParameters=FALSE");
    if (FDrawOptions != 0) Out.WriteLine("DrawOptions=" + DrawOptionsToText(TXTSurfaceDrawOptions{FDrawOptions}));
    if (DrawContours()) Out.WriteLine("DrawContours=TRUE");
    WriteCommonKeys(Out, *this, ckMirrored | ckColor);
    Out.WriteLine("");
}

void TGeoXTSurface::LoadFromText(TTextReader& In) {
    FSurface->LoadFromText(In);
    StoreName(FSurface->GetName());
    TBlockLine Line;
    while (ReadBlockLine(In, Line)) {
        const bool True = UpperCase(Line.Value) == "TRUE";
        if (Line.Key == "NAME")
            SetName(Line.Value);
        else if (Line.Key == "DRAWOPTIONS")
            FDrawOptions = TextToDrawOptions(Line.Value).Bits;
        else if (Line.Key == "DRAWPARAMETERS")
            SetDrawParameters(True);
        else if (Line.Key == "DRAWCONTOURS")
            SetDrawContours(True);
        else
            ReadCommonKey(*this, Line);
    }
}

std::unique_ptr<TPolygonList> TGeoXTSurface::CreatePolygonRepresentation(std::uint8_t Purpose) {
    AnnouncePolygonRepresentation(*this);
    auto Result = std::make_unique<TPolygonList>();
    const TXTPatchFaces& Faces = FSurface->GetPatchFaces();
    for (int I = 0; I < Faces.Count(); ++I) {
        TXTPatchFace* Face = Faces.Face(I);
        if (Face == nullptr) continue;
        if (TSurface* S = Face->Surface())
            Result->AddCopies(S->CreatePolygonsFor(Purpose, Faces.Count()).get());
        else
            Result->AddCopies(Face->Polygons());
    }
    return Result;
}

void TGeoXTSurface::AddToRenderer() {
    auto* Renderer = dynamic_cast<IGLRenderer*>(GetRenderer());
    if (Renderer == nullptr) return;
    // The instances point into the faces of one generation: they go before those faces do.
    Renderer->ClearInstances();
    const TXTPatchFaces& Faces = FSurface->PatchFaces();
    for (int I = 0; I < Faces.Count(); ++I) {
        TXTPatchFace* Face = Faces.Face(I);
        if (Face == nullptr) continue;
        if (TSurface* S = Face->Surface())
            Renderer->AddSurface(*S, Faces.Count());
        else if (TPolygonList* Polygons = Face->Polygons())
            Renderer->AddPolygons(*Polygons, true);
    }
}

void TGeoXTSurface::CreateRenderer() {
    if (GetRenderer() != nullptr) return;
    std::unique_ptr<IGLRenderer> Renderer = CreateGLRenderer(Mirrored());
    if (!Renderer) return;
    SetRenderer(std::move(Renderer));
    FSurface->Regenerate();
    AddToRenderer();
    TGeoDraggableSurface::UpdateRenderer();
}

void TGeoXTSurface::UpdateRenderer() {
    if (GetRenderer() == nullptr) return;
    FSurface->Regenerate();
    AddToRenderer();
    TGeoDraggableSurface::UpdateRenderer();
}

void TGeoXTSurface::Query(TGeometryQuery& Query) {
    const TXTPatchType Type = FSurface->Options().PatchType;
    const bool AsList = Query.Asks(qkSurfaceList);
    const bool AsSurface = Query.Asks(qkSurface);
    const bool AsMesh = Query.Asks(qkSampledMesh);
    const bool AsPolygons = Query.Asks(qkPolygonList);
    const bool BSplineKind = Type == sptLinearCoonsBezier || Type == sptCubicCoonsBezier || Type == sptGregory;
    const bool AsBSpline = BSplineKind && Query.Asks(qkSurface + 1);
    if (Type == sptSubdivision) {
        if (!AsPolygons) return;
        if (Query.CountOnly) {
            Query.CountItem();
            return;
        }
        // The patches of a subdivision surface are its polygons.
        auto Polygons = std::make_unique<TPolygonList>();
        const TXTPatchFaces& Faces = FSurface->GetPatchFaces();
        for (int I = 0; I < Faces.Count(); ++I)
            if (TXTPatchFace* Face = Faces.Face(I); Face != nullptr && Face->Polygons() != nullptr)
                Polygons->AddCopies(Face->Polygons());
        if (Polygons->Count() > 0) Query.AddInstance(std::move(Polygons), GetName());
        return;
    }
    if (!AsList && !AsSurface && !AsBSpline && !AsMesh && !AsPolygons) return;
    if (Query.CountOnly) {
        Query.CountItem();
        return;
    }
    // A surface loaded or changed since it was last drawn is stale: the query answers with its patches.
    if (GenerationAllowed()) FSurface->Regenerate();
    const TSurfaces& Surfaces = FSurface->Surfaces();
    const auto Purpose = static_cast<TSamplingPurpose>(TGeometryQuery::Resolution());
    if (AsList) {
        Query.AddReference(const_cast<TSurfaces*>(&Surfaces), GetName());
    } else if (AsSurface || (AsBSpline && Type != sptGregory)) {
        for (int I = 0; I < Surfaces.Count(); ++I) Query.AddReference(Surfaces.Surface(I), "");
    } else if (AsBSpline && Type == sptGregory) {
        for (int I = 0; I < Surfaces.Count(); ++I)
            if (auto* G = dynamic_cast<TGregorySurface*>(Surfaces.Surface(I)))
                {
                    auto B = std::make_unique<TBSplineSurface>();
                    G->ConvertToBSpline(*B);
                    Query.AddInstance(std::move(B), GetName());
                }
    } else if (AsMesh) {
        for (int I = 0; I < Surfaces.Count(); ++I)
            Query.AddInstance(Surfaces.Surface(I)->CreateMeshFor(Purpose, Surfaces.Count()), GetName());
    } else if (AsPolygons) {
        for (int I = 0; I < Surfaces.Count(); ++I)
            Query.AddInstance(Surfaces.Surface(I)->CreatePolygonsFor(Purpose, Surfaces.Count()), GetName());
    }
}

void TGeoXTSurface::HandleMessage(TGeoMessage& Message) {
    TGeoDraggableSurface::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectSurfaces*>(&Message) != nullptr)
        SetSelected(true);
    else if (dynamic_cast<TGeoPostCopyMessage*>(&Message) != nullptr)
        FSurface->ResolveReferences();
}

void TGeoXTSurface::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    GetPointCount();
    // The dragged points are the curves': their snapshots join the step the drag began with.
    FDragCurves = CurveEntitiesOf([this](int I) { return FEditor->Points(I)->Selected; });
    auto* Document = dynamic_cast<TGeometryInterface*>(GetOwnerList());
    if (Document != nullptr) Document->GetUndoManager().BeginUndoJoiningLast();
    for (TGeometry* C : FDragCurves) C->RecordChange();
    if (Document != nullptr) Document->GetUndoManager().EndUndo();
    DragStart = std::make_unique<TPolyline>();
    for (int I = 0; I < FEditor->Count(); ++I) {
        const TMVector P = FEditor->Points(I)->GetPosition();
        DragStart->AddPoint(P.X, P.Y, P.Z);
    }
}

void TGeoXTSurface::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) {
    if (!DragStart) return;
    // From the start positions each time, so that many small steps add no error.
    for (int I = 0; I < FEditor->Count() && I < DragStart->Count(); ++I) {
        TXTPoint* P = FEditor->Points(I);
        if (!P->Selected) continue;
        const TRPoint& Start = *DragStart->Point(I);
        P->SetPosition(TMVector{Start.X + Offset.X, Start.Y + Offset.Y, Start.Z + Offset.Z});
    }
    if (IXTSurfaceFrame* Frame = SurfaceFrame()) Frame->RefreshGrid();
}

void TGeoXTSurface::EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    DragStart.reset();
    const std::vector<TGeometry*> Curves = std::move(FDragCurves);
    FDragCurves.clear();
    for (TGeometry* C : Curves)
        if (GetOwnerList() != nullptr && GetOwnerList()->Contains(C)) C->EndChange();
}

void TGeoXTSurface::AddBoundaryLines(TPolylineList& List) { FSurface->AddEdgeCurves(List); }

void TGeoXTSurface::AddParameterLines(TPolylineList& List) { FSurface->AddParameterLines(List); }

void TGeoXTSurface::AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) {
    Analysis.BeginUpdate();
    const TXTPatchFaces& Faces = FSurface->GetPatchFaces();
    for (int I = 0; I < Faces.Count(); ++I) {
        TXTPatchFace* Face = Faces.Face(I);
        if (Face == nullptr) continue;
        if (TSurface* S = Face->Surface())
            Analysis.AddSurface(*S, Faces.Count());
        else if (TXTSubDivisionPatch* Patch = Face->SubdivisionPatch(); Patch != nullptr && Patch->GetManifold() != nullptr)
            Analysis.AddManifold(*Patch->GetManifold());
    }
    Analysis.EndUpdate();
}

}  // namespace sarnova
