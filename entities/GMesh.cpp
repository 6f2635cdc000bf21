#include "entities/GMesh.h"

#include <algorithm>

#include "document/GCustomPline.h"
#include "document/ShadedRenderer.h"
#include "document/GPline.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "entities/GBSurf.h"
#include "entities/GConversions.h"
#include "foundation/Polygon.h"
#include "foundation/PolyList.h"
#include "foundation/Polyline.h"
#include "foundation/PolylineOps.h"
#include "platform/Menu.h"
#include "surfaces/BSurfaceBuild.h"
#include "surfaces/Surface.h"

namespace sarnova {

namespace {

constexpr const char* ExtractContoursCaption = "Extract Contours";
constexpr const char* ExplodeCaption = "Explode to Polylines";
constexpr const char* ShowMeshCaption = "Show Mesh";
constexpr const char* ShowContoursCaption = "Show Contours";
constexpr const char* MirroredCaption = "Mirrored";

constexpr const char* EdgeNames[] = {"MinUEdge", "MinVEdge", "MaxUEdge", "MaxVEdge"};

}  // namespace

TGeoMesh::TGeoMesh() : Mesh(std::make_unique<TMesh>(4, 4)) {
    SetNet(Mesh.get());
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
    CreateLineRepresentations();
}

TGeoMesh::~TGeoMesh() = default;

void TGeoMesh::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "Drag Mesh", GetImageIndex(), List, [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
        return std::make_unique<TGeoMeshCreator>(Document);
    });
}

void TGeoMesh::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem("Reverse in U", [this](TMenuItem&) { ReverseU(); });
    AddMenuItem("Reverse in V", [this](TMenuItem&) { ReverseV(); });
    AddMenuItem("Flip U-V", [this](TMenuItem&) { SwapUV(); });
    AddMenuItem("-", {});
    AddMenuItem("Extract Edges", [this](TMenuItem&) { ExtractEdges(); });
    AddMenuItem("Generate Polygon Mesh", [this](TMenuItem&) { GeneratePolygonMesh(); });
    AddMenuItem(ExplodeCaption, {});
    AddSubMenuItem("U Mesh Lines", [this](TMenuItem&) { ExplodeULines(); });
    AddSubMenuItem("V Mesh Lines", [this](TMenuItem&) { ExplodeVLines(); });
    AddSubMenuItem("U/V Mesh Lines", [this](TMenuItem&) { ExplodeUVLines(); });
    AddMenuItem("Make a B-Spline surface", [this](TMenuItem&) { MakeBSplineSurface(); });
    AddMenuItem(ExtractContoursCaption, [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem("-", {});
    AddMenuItem(ShowMeshCaption, [this](TMenuItem&) { MenuToggleDrawParameters(); });
    AddMenuItem(ShowContoursCaption, [this](TMenuItem&) { MenuToggleDrawContours(); });
    AddMenuItem(MirroredCaption, [this](TMenuItem&) { SetMirrored(!Mirrored()); });
    UpdateMenuItems(Root);
}

void TGeoMesh::UpdateMenuItems(TMenuItem& Root) {
    TGeoCustomMesh::UpdateMenuItems(Root);
    if (TMenuItem* Item = Root.Find(ShowMeshCaption)) Item->Checked = GetDrawParameters();
    if (TMenuItem* Item = Root.Find(ShowContoursCaption)) Item->Checked = DrawContours();
    if (TMenuItem* Item = Root.Find(MirroredCaption)) Item->Checked = Mirrored();
    const bool Lists = IsClassRegistered(PolylineListKeyword);
    if (TMenuItem* Item = Root.Find(ExtractContoursCaption)) Item->Enabled = DrawContours() && Lists;
    if (TMenuItem* Item = Root.Find(ExplodeCaption)) Item->Enabled = Lists;
    if (TMenuItem* Item = Root.Find("Generate Polygon Mesh")) Item->Enabled = IsClassRegistered(PolygonListKeyword);
}

void TGeoMesh::AddSnapPoints(TGeometrySnapInfo& Request) {
    TGeoCustomMesh::AddSnapPoints(Request);
    if (!Request.SnapTypes().test(stSurfaceEdge) || Editing() || Request.View == nullptr) return;
    for (int Code = 0; Code < 4; ++Code) {
        const std::unique_ptr<TPolyline> Edge = Mesh->EdgePolyline(Code);
        if (Edge->Count() == 0) continue;
        const std::unique_ptr<TRPoint> Nearest = PolylineNearestScreenPoint(Request.ScreenPoint, *Edge, *Request.View);
        Request.TryRPoint(*Nearest, stSurfaceEdge, this);
    }
}

void TGeoMesh::Transform(const TMMatrix& M) {
    BeginChange();
    Mesh->Assign(*Mesh->CreateTransformed(M));
    EndChange();
}

void TGeoMesh::Assign(const TGeometry& Source) {
    TGeoCustomMesh::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoMesh*>(&Source)) Mesh->Assign(*Other->Mesh);
}

void TGeoMesh::CreateRenderer() {
    if (GetRenderer() != nullptr) return;
    // Nothing when no GUI registered a renderer (headless runs): the mesh keeps drawing its lines.
    std::unique_ptr<IGLRenderer> Renderer = CreateGLRendererFromSurface(*Mesh, Mirrored());
    if (Renderer) SetRenderer(std::move(Renderer));
}

void TGeoMesh::Query(TGeometryQuery& Query) {
    if (!Query.Asks(qkSampledMesh) && !Query.Asks(qkPolygonList)) return;
    if (Query.CountOnly)
        Query.CountItem();
    else if (Query.Asks(qkSampledMesh))
        Query.AddReference(Mesh.get(), GetName());
    else
        Query.AddInstance(Mesh->CreatePolygonsFor(static_cast<TSamplingPurpose>(TGeometryQuery::Resolution()), 1), GetName());
}

void TGeoMesh::HandleMessage(TGeoMessage& Message) {
    TGeoCustomMesh::HandleMessage(Message);
    if (dynamic_cast<TGeoSelectMeshes*>(&Message) != nullptr || dynamic_cast<TGeoSelectSurfaces*>(&Message) != nullptr)
        SetSelected(true);
}

void TGeoMesh::AddBoundaryLines(TPolylineList& List) {
    for (int Code = 0; Code < 4; ++Code) List.Add(Mesh->EdgePolyline(Code));
}

void TGeoMesh::ExtractEdges() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    const std::string Prefix = GetName().empty() ? "" : GetName() + ".";
    InListUpdate(*List, [&] {
        for (int Code = 0; Code < 4; ++Code) {
            auto Edge = std::make_unique<TGeoPline>();
            Edge->Polyline().Assign(*Mesh->EdgePolyline(Code));
            Edge->SetName(Prefix + EdgeNames[Code]);
            List->Add(std::move(Edge))->Redraw();
        }
    });
}

void TGeoMesh::MakeBSplineSurface() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    auto Entity = std::make_unique<TGeoBSurf>();
    TBSplineSurface& Surface = Entity->Surface();
    Surface.TMesh::Assign(*Mesh);
    Surface.SetOrderU(std::min(Mesh->NumU(), 4));
    Surface.SetOrderV(std::min(Mesh->NumV(), 4));
    List->Add(std::move(Entity))->Redraw();
}

void TGeoMeshCreator::CreateGeometry() {
    const auto& C = GetCorners();
    const std::unique_ptr<TMesh> Corners = CornerPointMesh(C[0], C[3], C[2], C[1]);
    auto Entity = std::make_unique<TGeoMesh>();
    Entity->Net().Assign(*Corners);
    GetDocumentList().Add(std::move(Entity))->Redraw();
}

void TGeoMesh::ExplodeLines(bool Lines, bool Rows) {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr) return;
    TPolylineList All;
    if (Lines) All.AddCopies(*Mesh->GridLines(false));
    if (Rows) All.AddCopies(*Mesh->GridLines(true));
    std::unique_ptr<TGeometry> Replacement = NewPolylineListEntity(All);
    if (!Replacement) return;
    InListUpdate(*List, [&] {
        DeleteFromList();  // frees this entity
        List->Add(std::move(Replacement));
    });
}

void TGeoMesh::ExplodeULines() { ExplodeLines(true, false); }
void TGeoMesh::ExplodeVLines() { ExplodeLines(false, true); }
void TGeoMesh::ExplodeUVLines() { ExplodeLines(true, true); }

}  // namespace sarnova
