#include "entities/GSurface.h"

#include <functional>

#include "document/GCustomPline.h"
#include "document/GeoFace.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/Settings.h"
#include "entities/CalculationSectionMakers.h"
#include "entities/GBSurf.h"
#include "entities/GConversions.h"
#include "entities/GMesh.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/GeomBox.h"
#include "foundation/TextFile.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "platform/Menu.h"
#include "surfaces/BSurface.h"
#include "surfaces/Surface.h"
#include "surfaces/SurfaceAnalysis.h"

namespace sarnova {

namespace {

constexpr const char* AnalysisCaption = "Show Surface Analysis";
constexpr const char* AnalysisModeCaptions[] = {"Gaussian Curvature", "Mean Curvature", "Zebra (Isophotes)"};
constexpr const char* AnalysisOffCaption = "Off";

// The owner's side of a representation; nullptr for an entity that is no surface.
ISurfaceEntity* SurfaceOwner(TGeometry& Geometry) { return dynamic_cast<ISurfaceEntity*>(&Geometry); }

// Fills List by Add, then, for a mirrored owner, appends the lines reflected in y = 0.
template <class F>
void FillLines(TGeometry& Owner, std::unique_ptr<TPolylineList>& List, F Add) {
    if (!List) List = std::make_unique<TPolylineList>();
    List->Clear();
    Add(*List);
    if (Owner.Mirrored()) {
        std::unique_ptr<TPolylineList> Mirror = List->Transformed(MatrixMirror(2, 0));
        List->TakeFrom(*Mirror);
    }
}

}  // namespace


ISurfaceEntity::~ISurfaceEntity() = default;

int ZebraStripeCount(std::uint8_t Bands) {
    switch (Bands & 0x7F) {
        case 1: return 180;
        case 2: return 90;
        case 5: return 72;
        case 10: return 36;
        default: return 0;
    }
}

void AddSurfaceLines(TSurface& Surface, TPolylineList& List, int NU, int NV) {
    const int SavedU = Surface.NumULine();
    const int SavedV = Surface.NumVLine();
    const int SavedPoints = Surface.StoredLinePointCount();
    Surface.SetNumULine(NU);
    Surface.SetNumVLine(NV);
    try {
        Surface.AddParameterLines(List, 0, 1);
    } catch (...) {
        Surface.SetNumULine(SavedU);
        Surface.SetNumVLine(SavedV);
        Surface.SetLinePointCount(SavedPoints);
        throw;
    }
    Surface.SetNumULine(SavedU);
    Surface.SetNumVLine(SavedV);
    Surface.SetLinePointCount(SavedPoints);
}

// ---- Representations ----

void TParametersRepresentation::Rebuild() {
    ISurfaceEntity* Owner = SurfaceOwner(GetGeometry());
    if (Owner == nullptr) return;
    FillLines(GetGeometry(), Polylines, [&](TPolylineList& List) {
        if ((GetGeometry().GetState() & gsParameterLines) != 0) Owner->AddParameterLines(List);
    });
}

void TOutlineRepresentation::Rebuild() {
    ISurfaceEntity* Owner = SurfaceOwner(GetGeometry());
    if (Owner == nullptr) return;
    FillLines(GetGeometry(), Polylines, [&](TPolylineList& List) { Owner->AddBoundaryLines(List); });
}

TSurfaceAnalysisRepresentation::TSurfaceAnalysisRepresentation(TGeometry& AGeometry)
    : TGeometryRepresentation(AGeometry), FAnalysis(std::make_unique<TSurfaceAnalysis>()) {
    StoreVisible(false);
}

TSurfaceAnalysisRepresentation::~TSurfaceAnalysisRepresentation() = default;

void TSurfaceAnalysisRepresentation::DoDraw(IGraphics& View) {
    const TSarnovaSettings& Settings = CurrentSettings();
    auto& Curvature = FAnalysis->CurvatureParameters();
    Curvature.SetShadingModel(static_cast<TColorInterpolationMode>(Settings.CurvatureShadingModel));
    Curvature.SetLayers(Settings.CurvatureLayers);
    Curvature.SetLayersCount(Settings.CurvatureLayersCount);
    auto& Zebra = FAnalysis->IsoPhotesParameters();
    Zebra.SetZebraVector(Settings.ZebraVector);
    Zebra.SetZebraBand1Color(Settings.ZebraBand1Color);
    Zebra.SetZebraBand2Color(Settings.ZebraBand2Color);
    // Widths without a stripe count of their own keep the count the analysis has.
    if (const int Stripes = ZebraStripeCount(Settings.ZebraBands); Stripes > 0) Zebra.SetZebraBands(Stripes);
    FAnalysis->Draw(View);
}

void TSurfaceAnalysisRepresentation::DoDrawOutline(IGraphics& View) { FAnalysis->DrawUncolored(View); }

void TSurfaceAnalysisRepresentation::Rebuild() {
    if (ISurfaceEntity* Owner = SurfaceOwner(GetGeometry())) Owner->AddToSurfaceAnalysis(*FAnalysis);
}

// ---- TSurfaceDisplay ----

TSurfaceDisplay::TSurfaceDisplay(TGeometry& AOwner)
    : Owner(AOwner), Analysis(std::make_unique<TSurfaceAnalysisRepresentation>(AOwner)) {}

TSurfaceDisplay::~TSurfaceDisplay() = default;

void TSurfaceDisplay::SetFlag(std::uint16_t Bit, bool Value) {
    Owner.SetState(Value ? (Owner.GetState() | Bit) : (Owner.GetState() & ~Bit));
}

void TSurfaceDisplay::SetDrawOutline(bool Show) {
    if (!Outline) return;
    Outline->SetVisible(Show);
    if (!Outline->GetVisible()) SetFlag(gsParameterLines, false);
    Outline->Invalidate();
    Owner.UpdateFrame();
}

void TSurfaceDisplay::SetShowAnalysis(bool Show) {
    if (GetShowAnalysis() == Show) return;
    SetFlag(gsCurvature, Show);
    Analysis->SetVisible(Show);
    Owner.InvalidateViews();
    Owner.UpdateFrame();
}

void TSurfaceDisplay::ShowAnalysisMode(std::uint8_t Mode) {
    if (!GetShowAnalysis()) {
        Analysis->Analysis().SetMode(Mode);
        SetShowAnalysis(true);
    } else if (Analysis->Analysis().GetMode() != Mode) {
        Analysis->Analysis().SetMode(Mode);
        Analysis->Invalidate();
        Owner.InvalidateViews();
        Owner.UpdateFrame();
    }
}

void TSurfaceDisplay::HideAnalysis() {
    if (GetShowAnalysis()) SetShowAnalysis(false);
}

TMenuItem* TSurfaceDisplay::AddAnalysisMenu() {
    TMenuItem* Item = Owner.AddMenuItem(AnalysisCaption, {});
    for (std::uint8_t Mode = 0; Mode < 3; ++Mode)
        Owner.AddSubMenuItem(AnalysisModeCaptions[Mode], [this, Mode](TMenuItem&) { ShowAnalysisMode(Mode); });
    Owner.AddSubMenuItem(AnalysisOffCaption, [this](TMenuItem&) { HideAnalysis(); });
    return Item;
}

void TSurfaceDisplay::UpdateAnalysisMenu(TMenuItem* Item) const {
    if (Item == nullptr) return;
    const bool Shown = GetShowAnalysis();
    const std::uint8_t Mode = Analysis->Analysis().GetMode();
    Item->Checked = Shown;
    for (std::uint8_t M = 0; M < 3; ++M)
        if (TMenuItem* Sub = Item->Find(AnalysisModeCaptions[M])) Sub->Checked = Shown && Mode == M;
    if (TMenuItem* Off = Item->Find(AnalysisOffCaption)) Off->Checked = !Shown;
}

void TSurfaceDisplay::InvalidateAll() {
    if (Parameters) Parameters->Invalidate();
    if (Outline) Outline->Invalidate();
    Analysis->Invalidate();
}

void TSurfaceDisplay::DrawHighlighted(IGraphics& View) {
    if (!Outline) return;
    DrawHighlightOverlay(Owner, View, [&] { Outline->DrawAlways(View); });
}

TPolylistRepresentation* TSurfaceDisplay::HitRepresentation(bool ContoursFirst) const {
    if (Parameters && Parameters->GetVisible() && GetDrawParameters()) return Parameters.get();
    TPolylistRepresentation* Contours = Owner.DrawContours() ? &Owner.Contours() : nullptr;
    TPolylistRepresentation* Lines = Outline && Outline->GetVisible() ? Outline.get() : nullptr;
    if (ContoursFirst) return Contours != nullptr ? Contours : Lines;
    return Lines != nullptr ? Lines : Contours;
}

void TSurfaceDisplay::ReplaceOwner(std::unique_ptr<TGeometry> Replacement) {
    TGeometryList* List = Owner.GetOwnerList();
    if (List == nullptr) return;
    InListUpdate(*List, [&] {
        Owner.DeleteFromList();
        List->Add(std::move(Replacement));
    });
}

void TSurfaceDisplay::GeneratePolygonMesh() {
    TGeometryList* List = Owner.GetOwnerList();
    if (List == nullptr) return;
    const std::unique_ptr<TPolygonList> Facets = Owner.CreatePolygonRepresentation(0);
    if (!Facets) return;
    InListUpdate(*List, [&] { AddPolygonListEntity(*List, *Facets); });
}

void TSurfaceDisplay::ExtractContours(bool ResetStyles) {
    TGeometryList* List = Owner.GetOwnerList();
    if (List == nullptr) return;
    Owner.Contours().Update();
    const TPolylineList* Lines = Owner.Contours().GetPolylines();
    if (Lines == nullptr) return;
    const std::unique_ptr<TPolylineList> Copy = Lines->Clone();
    if (ResetStyles) Copy->ResetStyles();
    InListUpdate(*List, [&] { AddPolylineListEntity(*List, *Copy); });
}

namespace {

template <typename THull>
void AddCalculationSections(TGeometry& Owner, THull& Hull,
                            const std::function<std::unique_ptr<TPolylineList>(THull&)>& Maker) {
    TGeometryList* List = Owner.GetOwnerList();
    if (List == nullptr || !Maker) return;
    const std::unique_ptr<TPolylineList> Sections = Maker(Hull);
    if (!Sections || Sections->Count() == 0) return;
    InListUpdate(*List, [&] { AddPolylineListEntity(*List, *Sections); });
}

}  // namespace

void TSurfaceDisplay::CreateCalculationSections(TSurface* Surface) {
    if (Surface != nullptr) AddCalculationSections(Owner, *Surface, CalculationSectionMakers().OfSurface);
}

void TSurfaceDisplay::CreateCalculationSections(TSurfaces* Surfaces) {
    if (Surfaces != nullptr) AddCalculationSections(Owner, *Surfaces, CalculationSectionMakers().OfSurfaces);
}

// ---- TGeoSurface ----

TGeoSurface::TGeoSurface() {
    Display.Parameters = std::make_unique<TParametersRepresentation>(*this);
    Display.Outline = std::make_unique<TOutlineRepresentation>(*this);
}

TGeoSurface::~TGeoSurface() = default;

void TGeoSurface::SetDrawParameters(bool Show) {
    if (GetDrawParameters() == Show) return;
    RecordChange();
    Undraw();
    Display.SetFlag(gsParameterLines, Show);
    if (Show) Display.Parameters->SetVisible(true);
    Display.Parameters->Invalidate();
    Redraw();
    UpdateFrame();
}

void TGeoSurface::SetLineCount(int& Count, int Value) {
    Undraw();
    Count = Value;
    Display.Parameters->Invalidate();
    Display.Outline->Invalidate();
    Redraw();
}

TMBox TGeoSurface::CalculateExtents() {
    TMBox Box;
    if (TSurface* Surface = GetSurface())
        Box = Surface->GetExtents();
    else if (const TPolylineList* Lines = Display.Parameters->GetPolylines())
        Box = Lines->Extents();
    return Mirrored() ? CopyBoxSymmetricY(Box) : Box;
}

void TGeoSurface::Assign(const TGeometry& Source) {
    TGeometry::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoSurface*>(&Source);
    if (Other == nullptr) return;
    Display.Parameters->SetVisible(Other->Display.Parameters->GetVisible());
    Display.Outline->SetVisible(Other->Display.Outline->GetVisible());
    Display.NumULine = Other->Display.NumULine;
    Display.NumVLine = Other->Display.NumVLine;
    Display.SetFlag(gsParameterLines, Other->GetDrawParameters());
}

double TGeoSurface::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    TPolylistRepresentation* Hit = Display.HitRepresentation(true);
    return Hit != nullptr ? Hit->DistanceToPoint(ScreenPoint, View) : 1e33;
}

bool TGeoSurface::InRect(const TRect& Rect, IGraphics& View) {
    TPolylistRepresentation* Hit = Display.HitRepresentation(false);
    return Hit != nullptr && Hit->InRect(Rect, View);
}


void TGeoSurface::Draw(IGraphics& View) {
    // With neither parameter lines nor contours the outline is all there is to see.
    if ((GetState() & (gsParameterLines | gsContours)) == 0) Display.Outline->SetVisible(true);
    Display.Parameters->Draw(View);
    Display.Outline->Draw(View);
    Display.Analysis->Draw(View);
    if (DrawContours()) Contours().Draw(View);
}

void TGeoSurface::DrawOutline(IGraphics& View) {
    Display.Parameters->DrawOutline(View);
    Display.Outline->DrawOutline(View);
    Display.Analysis->DrawOutline(View);
    if (DrawContours()) Contours().DrawOutline(View);
}

void TGeoSurface::DrawSimplified(IGraphics& View) { DrawBox(View); }

void TGeoSurface::HandleMessage(TGeoMessage& Message) {
    TGeometry::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectSurfaces*>(&Message) != nullptr) SetSelected(true);
}

bool TGeoSurface::HasMeshSurface(TGeometry* Entity) {
    auto* Surface = dynamic_cast<TGeoSurface*>(Entity);
    return Surface != nullptr && dynamic_cast<TMesh*>(Surface->GetSurface()) != nullptr;
}

void TGeoSurface::ConvertToSurfaceEntity() {
    auto* Spline = dynamic_cast<TBSplineSurface*>(GetSurface());
    if (Spline == nullptr) {
        ConvertToMeshEntity();
        return;
    }
    if (GetOwnerList() == nullptr) return;
    auto Entity = std::make_unique<TGeoBSurf>();
    AssignBSplineSurface(Entity->Surface(), *Spline);
    Display.ReplaceOwner(std::move(Entity));
}

void TGeoSurface::ConvertToMeshEntity() {
    auto* Net = dynamic_cast<TMesh*>(GetSurface());
    if (Net == nullptr || GetOwnerList() == nullptr) return;
    auto Mesh = std::make_unique<TGeoMesh>();
    Mesh->Net().Assign(*Net);
    Display.ReplaceOwner(std::move(Mesh));
}

void AnnouncePolygonRepresentation(const TGeometry& Entity) {
    const std::string Name = Entity.GetName();
    if (GConsole)
        GConsole->WriteLine("  Creating Polygon Representation of " + Entity.ClassName() +
                            (Name.empty() ? "" : "." + Name) + "...");
}

void AnswerBSplineSurfaceQuery(TGeometryQuery& Query, TSurface& Surface, const std::string& Name) {
    const bool AsSurface = Query.Asks(qkSurface) || Query.Asks(qkSurface + 1);
    if (!AsSurface && !Query.Asks(qkSampledMesh) && !Query.Asks(qkPolygonList)) return;
    const auto Purpose = static_cast<TSamplingPurpose>(TGeometryQuery::Resolution());
    if (Query.CountOnly)
        Query.CountItem();
    else if (AsSurface)
        Query.AddReference(&Surface, Name);
    else if (Query.Asks(qkSampledMesh))
        Query.AddInstance(Surface.CreateMeshFor(Purpose, 1), Name);
    else
        Query.AddInstance(Surface.CreatePolygonsFor(Purpose, 1), Name);
}

void WriteSurfaceBlockKeys(TTextWriter& Out, TGeoSurface& Entity, bool WithOutline) {
    WriteCommonKeys(Out, Entity, ckName | ckColor);
    Out.WriteLine(Entity.GetDrawParameters() ? "DrawParameters=TRUE" : "DrawParameters=FALSE");
    if (WithOutline) Out.WriteLine(Entity.GetDrawOutline() ? "DrawOutline=TRUE" : "DrawOutline=FALSE");
    if (Entity.DrawContours()) Out.WriteLine("DrawContours=TRUE");
    WriteCommonKeys(Out, Entity, ckMirrored);
    if (Entity.GetNumULine() != 25) Out.WriteLine("NumULine=" + IntToStr(Entity.GetNumULine()));
    if (Entity.GetNumVLine() != 25) Out.WriteLine("NumVLine=" + IntToStr(Entity.GetNumVLine()));
}

void MarkDocumentModified(TGeometry& Entity) {
    if (auto* Document = dynamic_cast<TGeometryInterface*>(Entity.GetOwnerList())) Document->SetModified(true);
}

int SurfaceLineCount(const TBlockLine& Line, const char* Name, int LineNo) {
    int Count = 0;
    if (!TryStrToInt(Line.Value, Count) || Count < 1 || Count > MaxSurfaceLineCount)
        throw EGeometryError(std::string(Name) + "=" + Line.Value + " on line " + std::to_string(LineNo) +
                             " is outside 1 to " + std::to_string(MaxSurfaceLineCount));
    return Count;
}

void ReadSurfaceBlockKeys(TTextReader& In, TGeoSurface& Entity) {
    std::optional<bool> Parameters;
    std::optional<bool> Outline;
    TBlockLine Line;
    while (ReadBlockLine(In, Line)) {
        const bool True = UpperCase(Line.Value) == "TRUE";
        if (Line.Key == "DRAWPARAMETERS")
            Parameters = True;
        else if (Line.Key == "DRAWOUTLINE")
            Outline = True;
        else if (Line.Key == "DRAWCONTOURS")
            Entity.SetDrawContours(True);
        else if (Line.Key == "NUMULINE")
            Entity.SetNumULine(SurfaceLineCount(Line, "NumULine", In.LastLineNumber()));
        else if (Line.Key == "NUMVLINE")
            Entity.SetNumVLine(SurfaceLineCount(Line, "NumVLine", In.LastLineNumber()));
        else
            ReadCommonKey(Entity, Line);
    }
    if (Outline) Entity.SetDrawOutline(*Outline);
    if (Parameters) Entity.SetDrawParameters(*Parameters);
}

namespace {

// "Convert to Surfaces" and "Convert to Surfaces Meshes...", for a selection whose every entity has a
// mesh surface.
void AddConvertSelectionItems(TMenuItem& Menu, TGeometryList& List) {
    // Each converted entity leaves the list, so the index stays where it is.
    const auto ConvertWith = [](void (TGeoSurface::*Convert)()) {
        return [Convert](TMenuItem& Sender) {
            TGeometryList* Document = GeometryListOf(Sender);
            if (Document == nullptr) return;
            InListUpdate(*Document, [&] {
                for (int I = 0; I < Document->Count();) {
                    TGeometry& G = Document->Items(I);
                    if (G.GetSelected() && TGeoSurface::HasMeshSurface(&G))
                        (static_cast<TGeoSurface&>(G).*Convert)();
                    else
                        ++I;
                }
            });
            Document->InvalidateViews();
        };
    };
    Menu.Add(NewGMenuItem("Convert to Surfaces", &List, ConvertWith(&TGeoSurface::ConvertToSurfaceEntity)));
    Menu.Add(NewGMenuItem("Convert to Surfaces Meshes...", &List, ConvertWith(&TGeoSurface::ConvertToMeshEntity)));
}

}  // namespace

void TGeoSurface::AddSurfaceSelectionItems(const TGeometryClass& Class, TMenuItem& Menu, TGeometryList& List) {
    bool AllOfClass = List.SelectedCount() > 0;
    bool AllConvertible = AllOfClass;
    for (int I = 0; I < List.Count() && AllOfClass; ++I) {
        TGeometry& G = List.Items(I);
        if (!G.GetSelected()) continue;
        AllOfClass = G.ClassName() == Class.ClassName();
        AllConvertible = AllConvertible && AllOfClass && HasMeshSurface(&G);
    }
    if (!AllOfClass) return;
    if (Menu.Count() > 0) Menu.Add("-");
    if (AllConvertible) AddConvertSelectionItems(Menu, List);
    Menu.Add(NewGMenuItem("Create Polygons", &List, [](TMenuItem& Sender) {
        TGeometryList* Document = GeometryListOf(Sender);
        if (Document == nullptr) return;
        // The count is read anew each step: the new polygon lists join the list, but are no surfaces.
        InListUpdate(*Document, [&] {
            for (int I = 0; I < Document->Count(); ++I) {
                auto* Surface = dynamic_cast<TGeoSurface*>(&Document->Items(I));
                if (Surface != nullptr && Surface->GetSelected()) Surface->GeneratePolygonMesh();
            }
        });
        Document->InvalidateViews();
    }));
}

// ---- TGeoDraggableSurface ----

TGeoDraggableSurface::TGeoDraggableSurface() { SetDrawParameters(true); }

TGeoDraggableSurface::~TGeoDraggableSurface() = default;

void TGeoDraggableSurface::CreateLineRepresentations() {
    Display.Parameters = std::make_unique<TParametersRepresentation>(*this);
    Display.Outline = std::make_unique<TOutlineRepresentation>(*this);
    Display.Parameters->SetVisible(true);
    Display.Outline->SetVisible(true);
}

void TGeoDraggableSurface::SetDrawParameters(bool Show) {
    if (GetDrawParameters() == Show) {
        if (Display.Parameters) Display.Parameters->SetVisible(Show);
        return;
    }
    RecordChange();
    Display.SetFlag(gsParameterLines, Show);
    if (Display.Parameters) {
        if (Show) Display.Parameters->SetVisible(true);
        Display.Parameters->Invalidate();
    }
    InvalidateViews();
    UpdateFrame();
}

void TGeoDraggableSurface::Assign(const TGeometry& Source) {
    TSurfaceEntity<TGeoDraggable>::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoDraggableSurface*>(&Source);
    if (Other == nullptr) return;
    SetDrawParameters(Other->GetDrawParameters());
    // Copies (undo, paste) keep the line counts, which not every block saves.
    Display.NumULine = Other->Display.NumULine;
    Display.NumVLine = Other->Display.NumVLine;
}

void TGeoDraggableSurface::AddConversionMenuItems(const std::function<void()>& Between) {
    AddMenuItem("Generate Polygon Mesh", [this](TMenuItem&) { GeneratePolygonMesh(); });
    if (Between) Between();
    AddMenuItem("Extract Contours", [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem("Create Calculation Sections", [this](TMenuItem&) { CreateCalculationSections(); });
}

void TGeoDraggableSurface::AddDisplayMenuItems() {
    AddMenuItem("Show Parameters", [this](TMenuItem&) { MenuToggleDrawParameters(); });
    AddMenuItem("Show Contours", [this](TMenuItem&) { MenuToggleDrawContours(); });
    AddAnalysisMenu();
    AddMenuItem("Mirrored", [this](TMenuItem&) { SetMirrored(!Mirrored()); });
}

void TGeoDraggableSurface::UpdateDisplayMenuItems(TMenuItem& Root) {
    const bool Lists = IsClassRegistered(PolylineListKeyword);
    if (TMenuItem* Item = Root.Find("Extract Contours")) Item->Enabled = DrawContours() && Lists;
    if (TMenuItem* Item = Root.Find("Create Calculation Sections")) Item->Enabled = Lists;
    if (TMenuItem* Item = Root.Find("Generate Polygon Mesh")) Item->Enabled = IsClassRegistered(PolygonListKeyword);
    if (TMenuItem* Item = Root.Find("Show Parameters")) Item->Checked = GetDrawParameters();
    if (TMenuItem* Item = Root.Find("Show Contours")) Item->Checked = DrawContours();
    if (TMenuItem* Item = Root.Find("Mirrored")) Item->Checked = Mirrored();
    UpdateAnalysisMenu(Root.Find(AnalysisCaption));
}

void TGeoDraggableSurface::SetLineCount(int& Count, int Value) {
    Undraw();
    Count = Value;
    // Applied at once (no undo record), so that the surface draws with the new count while edited.
    EndChange();
    Redraw();
}



double TGeoDraggableSurface::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    // In large documents the cached lines cost too much to rebuild for every pick.
    if (GetOwnerList() == nullptr || GetOwnerList()->Count() >= 500) return TGeoDraggable::DistanceToPoint(ScreenPoint, View);
    TPolylistRepresentation* Hit = Display.HitRepresentation(true);
    return Hit != nullptr ? Hit->DistanceToPoint(ScreenPoint, View) : TGeoDraggable::DistanceToPoint(ScreenPoint, View);
}

bool TGeoDraggableSurface::InRect(const TRect& Rect, IGraphics& View) {
    if (GetOwnerList() == nullptr || GetOwnerList()->Count() >= 500) return TGeoDraggable::InRect(Rect, View);
    TPolylistRepresentation* Hit = Display.HitRepresentation(true);
    return Hit != nullptr ? Hit->InRect(Rect, View) : TGeoDraggable::InRect(Rect, View);
}


}  // namespace sarnova
