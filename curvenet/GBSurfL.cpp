#include "curvenet/GBSurfL.h"

#include "document/GCustomPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/ShadedRenderer.h"
#include "entities/GBSurf.h"
#include "entities/GConversions.h"
#include "entities/GMesh.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/GeomBox.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "surfaces/SurfaceAnalysis.h"
#include "surfaces/SurfaceList.h"

namespace sarnova {

namespace {

constexpr const char* ShowOutlinesCaption = "Show Outlines";
constexpr const char* ShowParametersCaption = "Show Parameters";
constexpr const char* ShowContoursCaption = "Show Contours";
constexpr const char* MirroredCaption = "Mirrored";

// A copy of S with the list display settings; periodic surfaces keep their knots as they stand.
std::unique_ptr<TBSplineSurface> ListCopy(const TBSplineSurface& S) {
    auto Copy = std::make_unique<TBSplineSurface>(0, 0);
    AssignBSplineSurface(*Copy, S);
    return Copy;
}

// Clear Target, then a copy of every B-spline surface of Source.
void AssignSurfaceCopies(TBSplineSurfaceList& Target, const TSurfaces& Source) {
    Target.Clear();
    for (int I = 0; I < Source.Count(); ++I)
        if (const TBSplineSurface* S = Source.BSplineSurface(I)) Target.AddSurface(ListCopy(*S));
}

}  // namespace

TGeoBSurfList::TGeoBSurfList() : FSurfaces(std::make_unique<TBSplineSurfaceList>()) {
    Display.NumULine = 5;
    Display.NumVLine = 5;
    SetDrawOutline(true);
    SetDrawParameters(true);
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
}

TGeoBSurfList::~TGeoBSurfList() = default;

TDataObject TGeoBSurfList::GetDataObject() { return TDataObject::Of(FSurfaces.get()); }

void TGeoBSurfList::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    // Only with something selected: a list of nothing would be an empty entity.
    if (!OnlyClassSelected<TGeoBSurf>(List)) return;
    if (Menu.Count() > 0) Menu.Add("-");
    Menu.Add(NewGMenuItem("Create BSpline Surface List", &List, [](TMenuItem& Sender) {
        if (TGeometryList* Document = GeometryListOf(Sender)) CreateFromSelection(*Document);
    }));
}

void TGeoBSurfList::CreateFromSelection(TGeometryList& List) {
    auto Entity = std::make_unique<TGeoBSurfList>();
    for (TGeoBSurf* Surface : SelectedOfClass<TGeoBSurf>(List)) Entity->FSurfaces->AddSurface(ListCopy(Surface->Surface()));
    TGeometry* Added = nullptr;
    InListUpdate(List, [&] {
        List.DeleteSelected();
        Added = List.Add(std::move(Entity));
    });
    if (Added != nullptr && Added->GetOwnerList() == &List) Added->Redraw();
}

void TGeoBSurfList::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem("Explode", [this](TMenuItem&) { Explode(); });
    AddMenuItem("Explode as Surface Meshes", [this](TMenuItem&) { ExplodeAsMeshes(); });
    AddMenuItem("-", {});
    AddMenuItem("Extract Contours", [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem("Create Polygon Mesh", [this](TMenuItem&) { GeneratePolygonMesh(); });
    AddMenuItem("Create Calculation Sections", [this](TMenuItem&) { CreateCalculationSections(); });
    AddMenuItem("-", {});
    AddMenuItem(ShowOutlinesCaption, [this](TMenuItem&) { ToggleDrawOutline(); });
    AddMenuItem(ShowParametersCaption, [this](TMenuItem&) { ToggleDrawParameters(); });
    AddMenuItem(ShowContoursCaption, [this](TMenuItem&) { SetDrawContours(!DrawContours()); });
    AddAnalysisMenu();
    AddMenuItem(MirroredCaption, [this](TMenuItem&) { SetMirrored(!Mirrored()); });
    UpdateMenuItems(Root);
}

void TGeoBSurfList::UpdateMenuItems(TMenuItem& Root) {
    TGeoSurface::UpdateMenuItems(Root);
    const bool Lists = IsClassRegistered(PolylineListKeyword);
    if (TMenuItem* Item = Root.Find("Extract Contours")) Item->Enabled = DrawContours() && Lists;
    if (TMenuItem* Item = Root.Find("Create Calculation Sections")) Item->Enabled = Lists;
    if (TMenuItem* Item = Root.Find("Create Polygon Mesh")) Item->Enabled = IsClassRegistered(PolygonListKeyword);
    if (TMenuItem* Item = Root.Find(ShowContoursCaption)) Item->Checked = DrawContours();
    if (TMenuItem* Item = Root.Find(MirroredCaption)) Item->Checked = Mirrored();
    if (TMenuItem* Item = Root.Find(ShowParametersCaption)) Item->Checked = GetDrawParameters();
    if (TMenuItem* Item = Root.Find(ShowOutlinesCaption)) Item->Checked = GetDrawOutline();
    UpdateAnalysisMenu(Root.Find("Show Surface Analysis"));
}

TMBox TGeoBSurfList::CalculateExtents() {
    const TMBox Box = FSurfaces->GetExtents();
    return Mirrored() ? CopyBoxSymmetricY(Box) : Box;
}

void TGeoBSurfList::Transform(const TMMatrix& M) {
    BeginChange();
    const std::unique_ptr<TBSplineSurfaceList> Moved = FSurfaces->Transformed(M);
    AssignSurfaceCopies(*FSurfaces, *Moved);
    EndChange();
}

void TGeoBSurfList::Assign(const TGeometry& Source) {
    TGeoSurface::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoBSurfList*>(&Source)) AssignSurfaceCopies(*FSurfaces, *Other->FSurfaces);
}

void TGeoBSurfList::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FSurfaces->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName);
    // A hidden outline or hidden lines are written too: the reader starts with both shown.
    Out.WriteLine(GetDrawOutline() ? "DrawOutline=TRUE" : "DrawOutline=FALSE");
    Out.WriteLine(GetDrawParameters() ? "DrawParameters=TRUE" : "DrawParameters=FALSE");
    if (DrawContours()) Out.WriteLine("DrawContours=TRUE");
    WriteCommonKeys(Out, *this, ckMirrored | ckColor);
    Out.WriteLine("");
}

void TGeoBSurfList::LoadFromText(TTextReader& In) {
    FSurfaces->LoadFromText(In);
    TBlockLine Line;
    while (ReadBlockLine(In, Line)) {
        const bool True = UpperCase(Line.Value) == "TRUE";
        if (Line.Key == "DRAWOUTLINE")
            SetDrawOutline(True);
        else if (Line.Key == "DRAWPARAMETERS")
            SetDrawParameters(True);
        else if (Line.Key == "DRAWCONTOURS")
            SetDrawContours(True);
        else
            ReadCommonKey(*this, Line);
    }
}

std::unique_ptr<TPolygonList> TGeoBSurfList::CreatePolygonRepresentation(std::uint8_t Purpose) {
    const std::string Name = GetName();
    if (GConsole)
        GConsole->WriteLine("  Creating Polygon Representation of " + ClassName() + (Name.empty() ? "" : "." + Name) +
                            "...");
    return FSurfaces->CreatePolygonsFor(Purpose);
}

void TGeoBSurfList::CreateRenderer() {
    if (GetRenderer() != nullptr) return;
    std::unique_ptr<IGLRenderer> Renderer = CreateGLRendererFromSurfaces(*FSurfaces, Mirrored());
    if (Renderer) SetRenderer(std::move(Renderer));
}

void TGeoBSurfList::Query(TGeometryQuery& Query) {
    const bool AsList = Query.Asks(qkSurfaceList) || Query.Asks(qkSurfaceList + 1);
    const bool AsSurfaces = Query.Asks(qkSurface) || Query.Asks(qkSurface + 1);
    if (!AsList && !AsSurfaces && !Query.Asks(qkSampledMesh) && !Query.Asks(qkPolygonList)) return;
    const auto Purpose = static_cast<TSamplingPurpose>(TGeometryQuery::Resolution());
    if (Query.CountOnly) {
        Query.CountItem();
    } else if (AsList) {
        Query.AddReference(FSurfaces.get(), GetName());
    } else if (AsSurfaces) {
        for (int I = 0; I < FSurfaces->Count(); ++I) Query.AddReference(FSurfaces->Surface(I), "");
    } else if (Query.Asks(qkSampledMesh)) {
        for (int I = 0; I < FSurfaces->Count(); ++I)
            Query.AddInstance(FSurfaces->Surface(I)->CreateMeshFor(Purpose, FSurfaces->Count()), GetName());
    } else {
        Query.AddInstance(FSurfaces->CreatePolygonsFor(Purpose), GetName());
    }
}

void TGeoBSurfList::AddBoundaryLines(TPolylineList& List) {
    for (int I = 0; I < FSurfaces->Count(); ++I)
        if (TBSplineSurface* S = FSurfaces->BSplineSurface(I); S != nullptr && S->KnotType != ktPeriodic)
            AddSurfaceLines(*S, List, 2, 2);
}

void TGeoBSurfList::AddParameterLines(TPolylineList& List) {
    for (int I = 0; I < FSurfaces->Count(); ++I)
        if (TBSplineSurface* S = FSurfaces->BSplineSurface(I); S != nullptr && S->KnotType != ktPeriodic)
            AddSurfaceLines(*S, List, GetNumULine(), GetNumVLine());
}

void TGeoBSurfList::AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) { Analysis.AddSurfaces(*FSurfaces); }

void TGeoBSurfList::CreateCalculationSections() { Display.CreateCalculationSections(FSurfaces.get()); }

void TGeoBSurfList::Explode() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    InListUpdate(*List, [&] {
        for (int I = 0; I < FSurfaces->Count(); ++I) {
            const TBSplineSurface* S = FSurfaces->BSplineSurface(I);
            if (S == nullptr) continue;
            auto Entity = std::make_unique<TGeoBSurf>();
            AssignBSplineSurface(Entity->Surface(), *S);
            Entity->SetNumULine(5);
            Entity->SetNumVLine(5);
            List->Add(std::move(Entity))->Redraw();
        }
        DeleteFromList();
    });
}

void TGeoBSurfList::ExplodeAsMeshes() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    InListUpdate(*List, [&] {
        for (int I = 0; I < FSurfaces->Count(); ++I) {
            auto Mesh = std::make_unique<TGeoMesh>();
            Mesh->Net().Assign(*FSurfaces->Surface(I)->CreateMesh());
            List->Add(std::move(Mesh));
        }
        DeleteFromList();
    });
}

}  // namespace sarnova
