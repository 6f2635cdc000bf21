#include "entities/GGregory.h"

#include <algorithm>

#include "document/GCustomPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/ShadedRenderer.h"
#include "entities/GBSurf.h"
#include "entities/GMesh.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/GeomBox.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "surfaces/Gregory.h"
#include "surfaces/SurfaceAnalysis.h"

namespace sarnova {

namespace {

void SetLineCounts(TSurface& Surface, int NumU, int NumV, int Points) {
    Surface.SetNumULine(NumU);
    Surface.SetNumVLine(NumV);
    Surface.SetLinePointCount(Points);
}

}  // namespace

TGeoGregorySurface::TGeoGregorySurface() : FSurface(std::make_unique<TGregorySurface>()) {
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
    CreateLineRepresentations();
}

TGeoGregorySurface::~TGeoGregorySurface() = default;

void TGeoGregorySurface::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    AddCreatorItem(Menu, "Drag Gregory Surface", GetImageIndex(), List,
                   [](TGeometryList& Document) -> std::unique_ptr<TGeoDraggableCreator> {
                       return std::make_unique<TGeoGregoryCreator>(Document);
                   });
}

TDataObject TGeoGregorySurface::GetDataObject() { return TDataObject::Of(FSurface.get()); }

TSurface* TGeoGregorySurface::GetSurface() { return FSurface.get(); }

TRPoint* TGeoGregorySurface::GetPoint(int Index) {
    if (Index < 0 || Index >= TGregorySurface::ControlPointCount) return nullptr;
    return &FSurface->ControlPoint(Index);
}

void TGeoGregorySurface::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem("Extract Edges", [this](TMenuItem&) { ExtractEdges(); });
    AddConversionMenuItems(
        [this] { AddMenuItem("Convert to Surface Mesh", [this](TMenuItem&) { ConvertToSurfaceMesh(); }); });
    AddMenuItem("-", {});
    AddDisplayMenuItems();
    UpdateMenuItems(Root);
}

void TGeoGregorySurface::UpdateMenuItems(TMenuItem& Root) {
    TGeoDraggableSurface::UpdateMenuItems(Root);
    UpdateDisplayMenuItems(Root);
}

void TGeoGregorySurface::AddSnapPoints(TGeometrySnapInfo& Request) {
    if (!Request.SnapTypes().test(stPoint)) return;
    for (int K = 0; K < TGregorySurface::ControlPointCount; ++K) {
        const TRPoint& P = FSurface->ControlPoint(K);
        if (!P.Marked) Request.TryRPoint(P, stPoint, this);
    }
}

TMBox TGeoGregorySurface::CalculateExtents() {
    const TMBox Box = FSurface->GetExtents();
    return Mirrored() ? CopyBoxSymmetricY(Box) : Box;
}

IGeometryFrame* TGeoGregorySurface::CreateFrame(void* Owner) {
    Display.NumULine = FSurface->NumULine();
    Display.NumVLine = FSurface->NumVLine();
    if (IGeometryFrame* Frame = CreateGeometryFrame(GregoryFrameName, *this, Owner)) return Frame;
    return TGeoDraggableSurface::CreateFrame(Owner);
}

void TGeoGregorySurface::UpdateFrame() {
    if (IGregoryFrame* Frame = GregoryFrame())
        Frame->Refresh();
    else
        TGeoDraggableSurface::UpdateFrame();
}

void TGeoGregorySurface::Transform(const TMMatrix& M) {
    BeginChange();
    FSurface->Assign(*FSurface->CreateTransformed(M));
    EndChange();
}

void TGeoGregorySurface::Assign(const TGeometry& Source) {
    TGeoDraggableSurface::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoGregorySurface*>(&Source)) FSurface->Assign(*Other->FSurface);
}

void TGeoGregorySurface::Draw(IGraphics& View) {
    if (SurfaceAnalysisShownNow(*this)) AnalysisRepresentation().Draw(View);
    if (Editing()) {
        DrawEditNet(View);
    } else {
        OutlineRepresentation()->Draw(View);
        ParametersRepresentation()->Draw(View);
    }
    if (DrawContours()) Contours().Draw(View);
}

void TGeoGregorySurface::DrawOutline(IGraphics& View) {
    if (SurfaceAnalysisShownNow(*this)) AnalysisRepresentation().DrawOutline(View);
    if (Editing()) {
        DrawEditNet(View, true);
    } else {
        OutlineRepresentation()->Draw(View);
        ParametersRepresentation()->DrawOutline(View);
    }
    if (DrawContours()) Contours().DrawOutline(View);
}

void TGeoGregorySurface::DrawEditNet(IGraphics& View, bool Plain) {
    const TGeometryColors& C = Colors();
    const auto Color = [&](TColor Value) {
        if (!Plain) View.SetLineColor(Value);
    };
    Color(C.DrawColor());
    if (SurfaceLinesShownWhileEditing(*this, GetDrawParameters())) FSurface->Draw(View);
    Color(C.ControlPolygonColor());
    FSurface->DrawControlNet(View);
    for (int K = 0; K < TGregorySurface::ControlPointCount; ++K) {
        const TRPoint& P = FSurface->ControlPoint(K);
        Color(P.Marked ? C.SelectColor() : C.ControlPolygonColor());
        View.EditHandlePoint(P, 0);
    }
}

void TGeoGregorySurface::DrawSimplified(IGraphics& View) {
    FSurface->DrawControlNet(View);
    if (Mirrored()) FSurface->CreateTransformed(MirrorXZMatrix)->DrawControlNet(View);
}

void TGeoGregorySurface::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FSurface->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName);
    if (!GetDrawParameters()) Out.WriteLine("DrawParameters=FALSE");
    if (DrawContours()) Out.WriteLine("DrawContours=TRUE");
    WriteCommonKeys(Out, *this, ckMirrored | ckColor);
    Out.WriteLine("");
}

void TGeoGregorySurface::LoadFromText(TTextReader& In) {
    FSurface->LoadFromText(In);
    TBlockLine Line;
    while (ReadBlockLine(In, Line)) {
        const bool True = UpperCase(Line.Value) == "TRUE";
        if (Line.Key == "DRAWPARAMETERS")
            SetDrawParameters(True);
        else if (Line.Key == "DRAWCONTOURS")
            SetDrawContours(True);
        else
            ReadCommonKey(*this, Line);
    }
}

std::unique_ptr<TPolygonList> TGeoGregorySurface::CreatePolygonRepresentation(std::uint8_t Purpose) {
    const std::string Name = GetName();
    if (GConsole)
        GConsole->WriteLine("  Creating Polygon Representation of " + ClassName() + (Name.empty() ? "" : "." + Name) +
                            "...");
    return FSurface->CreatePolygonsFor(Purpose, 1);
}

void TGeoGregorySurface::CreateRenderer() {
    if (GetRenderer() != nullptr) return;
    std::unique_ptr<IGLRenderer> Renderer = CreateGLRendererFromSurface(*FSurface, Mirrored());
    if (Renderer) SetRenderer(std::move(Renderer));
}

void TGeoGregorySurface::Query(TGeometryQuery& Query) {
    if (!Query.Asks(qkSurface) && !Query.Asks(qkSampledMesh) && !Query.Asks(qkPolygonList)) return;
    const auto Purpose = static_cast<TSamplingPurpose>(TGeometryQuery::Resolution());
    if (Query.CountOnly)
        Query.CountItem();
    else if (Query.Asks(qkSurface))
        Query.AddReference(FSurface.get(), GetName());
    else if (Query.Asks(qkSampledMesh))
        Query.AddInstance(FSurface->CreateMeshFor(Purpose, 1), GetName());
    else
        Query.AddInstance(FSurface->CreatePolygonsFor(Purpose, 1), GetName());
}

void TGeoGregorySurface::BeginDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    Undraw();
    SetLineCounts(*FSurface, 25, 25, 25);
    Redraw();
    DragStart = CloneGregorySurface(*FSurface);
}

void TGeoGregorySurface::Drag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector& Offset) {
    if (!DragStart) return;
    // From the start positions each time, so that many small steps add no error.
    for (int K = 0; K < TGregorySurface::ControlPointCount; ++K) {
        TRPoint& P = FSurface->ControlPoint(K);
        if (!P.Marked) continue;
        const TRPoint& Start = DragStart->ControlPoint(K);
        P.X = Start.X + Offset.X;
        P.Y = Start.Y + Offset.Y;
        P.Z = Start.Z + Offset.Z;
    }
    if (IGregoryFrame* Frame = GregoryFrame()) Frame->RefreshSelectedRows();
}

void TGeoGregorySurface::EndDrag(TPoint, const TMVector&, IGraphics&, TShiftState, const TMVector&) {
    DragStart.reset();
    Undraw();
    SetLineCounts(*FSurface, GetNumULine(), GetNumVLine(), 2 * std::min(GetNumULine(), GetNumVLine()));
    Redraw();
}

void TGeoGregorySurface::AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) { Analysis.AddSurface(*FSurface, 1); }

void TGeoGregorySurface::ExtractEdges() {
    AddEdgeCurveEntities(*this, [this](int Code) { return FSurface->BoundaryCurve(Code); });
}

void TGeoGregorySurface::ConvertToSurfaceMesh() {
    if (GetOwnerList() == nullptr) return;
    auto Mesh = std::make_unique<TGeoMesh>();
    Mesh->Net().Assign(*FSurface->CreateMeshSized(GetNumULine(), GetNumVLine()));
    Display.ReplaceOwner(std::move(Mesh));
}

void TGeoGregorySurface::SetAllCoordinates(int Axis, double Value) {
    if (Axis < 0 || Axis > 2) return;
    BeginChange();
    Undraw();
    for (int K = 0; K < TGregorySurface::ControlPointCount; ++K) {
        TRPoint& P = FSurface->ControlPoint(K);
        (Axis == 0 ? P.X : Axis == 1 ? P.Y : P.Z) = Value;
    }
    EndChange();
    InvalidateViews();
}

// ---- TGeoGregoryCreator ----

void TGeoGregoryCreator::CreateGeometry() {
    const auto& C = GetCorners();
    const std::unique_ptr<TGregorySurface> Patch = GregorySurfaceFromCorners(C[0], C[3], C[2], C[1]);
    auto Entity = std::make_unique<TGeoGregorySurface>();
    Entity->Surface().Assign(*Patch);
    GetDocumentList().Add(std::move(Entity))->Redraw();
}

}  // namespace sarnova
