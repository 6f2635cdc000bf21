#include "entities/GExtrudedSurface.h"

#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/GeometryReference.h"
#include "document/ShadedRenderer.h"
#include "entities/GConversions.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Errors.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "surfaces/BSurface.h"
#include "surfaces/BSurfaceBuild.h"

namespace sarnova {

namespace {

constexpr const char* PolygonMeshCaption = "Generate Polygon Mesh";
constexpr const char* ToBSplineCaption = "Convert to BSpline Surface";
constexpr const char* ToMeshCaption = "Convert to Mesh";
constexpr const char* ContoursCaption = "Extract Contours";
constexpr const char* OutlineCaption = "Show Outline";
constexpr const char* ParametersCaption = "Show Parameters";
constexpr const char* ShowContoursCaption = "Show Contours";
constexpr const char* MirroredCaption = "Show Mirrored";

struct TOptionName {
    TExtrusionOptions Bit;
    const char* Name;
};
constexpr TOptionName OptionNames[] = {{eoRotateWithPath, "eoRotateWithPath"},
                                       {eoOrientWithPath, "eoOrientWithPath"},
                                       {eoCentreWithPath, "eoCentreWithPath"},
                                       {eoScaleShape, "eoScaleShape"}};

TGeoBSpline* BSplineEntityOf(TGeoCustomPLine* Curve) { return dynamic_cast<TGeoBSpline*>(Curve); }

// The curve entity's own curve digitised; nullptr without one.
std::unique_ptr<TPolyline> Digitised(TGeoCustomPLine& Curve) {
    TPolyline* Points = Curve.GetPolyline();
    return Points != nullptr ? Points->Digitise() : nullptr;
}

void NameIfUnnamed(TGeometryList* List, TGeometry& Curve) {
    if (Curve.GetName().empty()) Curve.SetName(List != nullptr ? List->UniqueName("Curve1") : "Curve1");
}

}  // namespace

// ---- TGeoCurveSurface ----

TGeoCurveSurface::TGeoCurveSurface()
    : FCurve1(std::make_unique<TGeometryReference>(this)), FCurve2(std::make_unique<TGeometryReference>(this)) {
    for (TGeometryReference* Reference : {FCurve1.get(), FCurve2.get()}) {
        Reference->OnModified = [this](TGeometry*) { CurveModified(); };
        Reference->OnDestroyed = [this](TGeometry*) { CurveDestroyed(); };
    }
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
    SetDrawOutline(true);
    SetDrawParameters(true);
}

TGeoCurveSurface::~TGeoCurveSurface() {
    // The references stop watching before the results they feed go.
    FCurve1.reset();
    FCurve2.reset();
}

TGeoCustomPLine* TGeoCurveSurface::CurveOf(TGeometryReference& Reference) {
    return dynamic_cast<TGeoCustomPLine*>(Reference.GetGeometry());
}

void TGeoCurveSurface::CurveModified() { MarkChanged(); }

void TGeoCurveSurface::CurveDestroyed() { BeginChange(); }

TDataObject TGeoCurveSurface::GetDataObject() {
    if (FSurface) return TDataObject::Of(FSurface.get());
    return TDataObject::Of(FMesh.get());
}

TSurface* TGeoCurveSurface::GetSurface() {
    if (FSurface) return FSurface.get();
    return FMesh.get();
}

void TGeoCurveSurface::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(PolygonMeshCaption, [this](TMenuItem&) { GeneratePolygonMesh(); });
    AddMenuItem(ToBSplineCaption, [this](TMenuItem&) { ConvertToSurfaceEntity(); });
    AddMenuItem(ToMeshCaption, [this](TMenuItem&) { ConvertToMeshEntity(); });
    AddMenuItem(ContoursCaption, [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem("-", {});
    AddMenuItem(OutlineCaption, [this](TMenuItem&) { MenuToggleDrawOutline(); });
    AddMenuItem(ParametersCaption, [this](TMenuItem&) { MenuToggleDrawParameters(); });
    AddMenuItem(ShowContoursCaption, [this](TMenuItem&) { MenuToggleDrawContours(); });
    AddMenuItem(MirroredCaption, [this](TMenuItem&) { SetMirrored(!Mirrored()); });
    UpdateMenuItems(Root);
}

void TGeoCurveSurface::UpdateMenuItems(TMenuItem& Root) {
    TGeoSurface::UpdateMenuItems(Root);
    const bool Result = GetSurface() != nullptr;
    if (TMenuItem* Item = Root.Find(PolygonMeshCaption)) Item->Enabled = Result && IsClassRegistered(PolygonListKeyword);
    if (TMenuItem* Item = Root.Find(ToMeshCaption)) Item->Enabled = Result;
    if (TMenuItem* Item = Root.Find(ToBSplineCaption)) Item->Enabled = FSurface != nullptr;
    if (TMenuItem* Item = Root.Find(ContoursCaption)) Item->Enabled = IsClassRegistered(PolylineListKeyword);
    if (TMenuItem* Item = Root.Find(OutlineCaption)) Item->Checked = GetDrawOutline();
    if (TMenuItem* Item = Root.Find(ParametersCaption)) Item->Checked = GetDrawParameters();
    if (TMenuItem* Item = Root.Find(ShowContoursCaption)) Item->Checked = DrawContours();
    if (TMenuItem* Item = Root.Find(MirroredCaption)) Item->Checked = Mirrored();
}

void TGeoCurveSurface::AfterListChange() {
    if (FCurve1->GetName().empty() && FCurve2->GetName().empty()) {
        TGeoSurface::AfterListChange();
        return;
    }
    // A curve named before it was read has come: the result can be built now.
    if (CurvesMissing && !IsChangePending() && !MissingCurves()) MarkChanged();
}

bool TGeoCurveSurface::MissingCurves() {
    return CurveOf(*FCurve1) == nullptr || (!FCurve2->GetName().empty() && CurveOf(*FCurve2) == nullptr);
}

void TGeoCurveSurface::Recalculate() {
    FSurface.reset();
    FMesh.reset();
    CurvesMissing = MissingCurves();
    BuildResult();
    TGeoSurface::Recalculate();
}

std::unique_ptr<TPolygonList> TGeoCurveSurface::MeshPolygons(TMesh& Net, std::uint8_t Purpose) {
    return Net.CreatePolygonsFor(static_cast<TSamplingPurpose>(Purpose), 1);
}

std::unique_ptr<TPolygonList> TGeoCurveSurface::CreatePolygonRepresentation(std::uint8_t Purpose) {
    AnnouncePolygonRepresentation(*this);
    if (FSurface) return FSurface->CreatePolygonsFor(static_cast<TSamplingPurpose>(Purpose), 1);
    if (FMesh) return MeshPolygons(*FMesh, Purpose);
    return nullptr;
}

void TGeoCurveSurface::UpdateFrame() {
    if (auto* Frame = dynamic_cast<IGeneratedSurfaceFrame*>(GetFrame()))
        Frame->UpdateControls();
    else
        TGeoSurface::UpdateFrame();
}

void TGeoCurveSurface::CreateRenderer() {
    if (GetRenderer() != nullptr) return;
    TSurface* Surface = GetSurface();
    if (Surface == nullptr) return;
    if (std::unique_ptr<IGLRenderer> Renderer = CreateGLRendererFromSurface(*Surface, Mirrored()))
        SetRenderer(std::move(Renderer));
}

void TGeoCurveSurface::UpdateRenderer() {
    if (GetRenderer() == nullptr) {
        TGeoSurface::UpdateRenderer();
        return;
    }
    // The result is a new object: the renderer is made again over it.
    FreeRenderer();
    CreateRenderer();
}

void TGeoCurveSurface::Query(TGeometryQuery& Query) {
    if (FSurface) {
        AnswerBSplineSurfaceQuery(Query, *FSurface, GetName());
    } else if (FMesh) {
        if (!Query.Asks(qkSampledMesh) && !Query.Asks(qkPolygonList)) return;
        if (Query.CountOnly)
            Query.CountItem();
        else if (Query.Asks(qkSampledMesh))
            Query.AddReference(FMesh.get(), GetName());
        else
            Query.AddInstance(
                FMesh->CreatePolygonsFor(static_cast<TSamplingPurpose>(TGeometryQuery::Resolution()), 1), GetName());
    }
}

void TGeoCurveSurface::AddBoundaryLines(TPolylineList& List) {
    if (FSurface || !FMesh) {
        TGeoSurface::AddBoundaryLines(List);
        return;
    }
    for (int Code = 0; Code < 4; ++Code)
        if (std::unique_ptr<TPolyline> Edge = FMesh->EdgePolyline(Code)) List.Add(std::move(Edge));
}

bool TGeoCurveSurface::TwoCurvesSelected(TGeometryList& List) {
    return List.SelectedCount() == 2 && SelectedOfClass<TGeoCustomPLine>(List).size() == 2;
}

bool TGeoCurveSurface::NameSelectedCurves(TGeometryList& List, TGeoCustomPLine*& First, TGeoCustomPLine*& Second) {
    const std::vector<TGeoCustomPLine*> Curves = SelectedOfClass<TGeoCustomPLine>(List);
    if (Curves.size() < 2) return false;
    First = Curves[0];
    Second = Curves[1];
    NameIfUnnamed(&List, *First);
    NameIfUnnamed(&List, *Second);
    return true;
}

std::string PositionalValue(const std::string& Line) {
    const std::size_t Equals = Line.find('=');
    return Equals == std::string::npos ? std::string() : Line.substr(Equals + 1, 255);
}

// ---- Options ----

std::string ExtrusionOptionsToText(TExtrusionOptions Options) {
    std::string Text;
    for (const TOptionName& Option : OptionNames)
        if (Options & Option.Bit) Text += std::string(Option.Name) + ", ";
    Text = Trim(Text);
    if (!Text.empty() && Text.back() == ',') Text.pop_back();
    return "[" + Text + "]";
}

TExtrusionOptions TextToExtrusionOptions(const std::string& Text) {
    TExtrusionOptions Options = 0;
    for (const TOptionName& Option : OptionNames)
        if (Text.find(Option.Name) != std::string::npos) Options |= Option.Bit;
    return Options;
}

// ---- TGeoExtrudedSurface ----

TGeoExtrudedSurface::TGeoExtrudedSurface() = default;
TGeoExtrudedSurface::~TGeoExtrudedSurface() = default;

void TGeoExtrudedSurface::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (TwoCurvesSelected(List)) {
        if (Menu.Count() > 0) Menu.Add("-");
        Menu.Add(NewGMenuItem("Extrude Surface", &List, [](TMenuItem& Sender) {
            if (TGeometryList* Document = GeometryListOf(Sender)) ExtrudeSelectedCurves(*Document);
        }));
    }
    AddSurfaceSelectionItems(GeometryClassOf<TGeoExtrudedSurface>(), Menu, List);
}

void TGeoExtrudedSurface::ExtrudeSelectedCurves(TGeometryList& List) {
    TGeoCustomPLine* Shape = nullptr;
    TGeoCustomPLine* Path = nullptr;
    if (!NameSelectedCurves(List, Shape, Path)) return;
    auto Entity = std::make_unique<TGeoExtrudedSurface>();
    Entity->Shape().SetGeometry(Shape);
    Entity->Path().SetGeometry(Path);
    List.Add(std::move(Entity));
    List.InvalidateViews();
}

void TGeoExtrudedSurface::SetOptions(TExtrusionOptions Value) {
    if (Value == Options) return;
    BeginChange();
    Options = Value;
    MarkChanged();
    InvalidateViews();
}

void TGeoExtrudedSurface::SetDivisions(int Value) {
    if (Value == Divisions) return;
    BeginChange();
    Divisions = Value;
    MarkChanged();
    InvalidateViews();
}

void TGeoExtrudedSurface::SetMinExtrusion(double Value) {
    if (Value == MinExtrusion) return;
    BeginChange();
    MinExtrusion = Value;
    MarkChanged();
    InvalidateViews();
}

void TGeoExtrudedSurface::SetMaxExtrusion(double Value) {
    if (Value == MaxExtrusion) return;
    BeginChange();
    MaxExtrusion = Value;
    MarkChanged();
    InvalidateViews();
}

void TGeoExtrudedSurface::SwapCurves() {
    TGeometry* PathEntity = FCurve2->GetGeometry();
    if (PathEntity == nullptr) return;
    BeginChange();
    TGeometry* ShapeEntity = FCurve1->GetGeometry();
    FCurve1->SetGeometry(PathEntity);
    FCurve2->SetGeometry(ShapeEntity);
    MarkChanged();
    InvalidateViews();
}

IGeometryFrame* TGeoExtrudedSurface::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(ExtrudedSurfaceFrameName, *this, Owner)) return Frame;
    return TGeoCurveSurface::CreateFrame(Owner);
}

void TGeoExtrudedSurface::Assign(const TGeometry& Source) {
    TGeoCurveSurface::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoExtrudedSurface*>(&Source);
    if (Other == nullptr) return;
    FCurve1->SetName(Other->FCurve1->GetName());
    FCurve2->SetName(Other->FCurve2->GetName());
    Options = Other->Options;
    MinExtrusion = Other->MinExtrusion;
    MaxExtrusion = Other->MaxExtrusion;
    Divisions = Other->Divisions;
}

void TGeoExtrudedSurface::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    Out.WriteLine("Curve1=" + FCurve1->GetName());
    Out.WriteLine("Curve2=" + FCurve2->GetName());
    Out.WriteLine("Options=" + ExtrusionOptionsToText(Options));
    Out.WriteLine("Divisions=" + IntToStr(Divisions));
    Out.WriteLine("MinExtrusion=" + FormatDefaultReal(MinExtrusion));
    Out.WriteLine("MaxExtrusion=" + FormatDefaultReal(MaxExtrusion));
    WriteSurfaceBlockKeys(Out, *this, true);
    Out.WriteLine("");
}

void TGeoExtrudedSurface::LoadFromText(TTextReader& In) {
    FCurve1->SetName(PositionalValue(In.ReadLine()));
    FCurve2->SetName(PositionalValue(In.ReadLine()));
    Options = TextToExtrusionOptions(In.ReadLine());
    // Values below 1 count as 1; a huge one would build a surface nobody can draw.
    const int DivisionsLine = In.LineNumber();
    Divisions = StrToInt(PositionalValue(In.ReadLine()));
    if (Divisions > MaxSurfaceLineCount)
        throw EGeometryError("Divisions=" + IntToStr(Divisions) + " on line " + IntToStr(DivisionsLine) +
                             " is more than " + IntToStr(MaxSurfaceLineCount));
    MinExtrusion = ParseFloat(PositionalValue(In.ReadLine()));
    MaxExtrusion = ParseFloat(PositionalValue(In.ReadLine()));
    ReadSurfaceBlockKeys(In, *this);
}

void TGeoExtrudedSurface::BuildResult() {
    TGeoCustomPLine* PathCurve = CurveOf(*FCurve2);
    TGeoCustomPLine* ShapeCurve = CurveOf(*FCurve1);
    if (ShapeCurve == nullptr) return;
    TGeoBSpline* ShapeSpline = BSplineEntityOf(ShapeCurve);
    if (!FCurve2->GetName().empty()) {
        // A path that names no curve gives nothing rather than a linear extrusion nobody asked for.
        if (PathCurve == nullptr) return;
        TGeoBSpline* PathSpline = BSplineEntityOf(PathCurve);
        if (ShapeSpline != nullptr && PathSpline != nullptr) {
            FSurface = SweepBSpline(ShapeSpline->Spline(), PathSpline->Spline(), Options);
        } else {
            const std::unique_ptr<TPolyline> ShapePoints = Digitised(*ShapeCurve);
            const std::unique_ptr<TPolyline> PathPoints = Digitised(*PathCurve);
            if (ShapePoints && PathPoints) FMesh = SweepProfile(*ShapePoints, *PathPoints, Options);
        }
    } else if (ShapeSpline != nullptr) {
        FSurface = ExtrudeBSpline(ShapeSpline->Spline(), Divisions, MinExtrusion, MaxExtrusion);
    } else if (const std::unique_ptr<TPolyline> ShapePoints = Digitised(*ShapeCurve)) {
        FMesh = ExtrudePolyline(*ShapePoints, Divisions, MinExtrusion, MaxExtrusion);
    }
    if (FSurface) {
        FSurface->SetNumULine(GetNumULine());
        FSurface->SetNumVLine(GetNumVLine());
    }
}

std::unique_ptr<TGeoExtrudedSurface> CreateExtrudedSurfaceFromCurve(TGeoCustomPLine& Curve) {
    NameIfUnnamed(Curve.GetOwnerList(), Curve);
    auto Entity = std::make_unique<TGeoExtrudedSurface>();
    Entity->Shape().SetGeometry(&Curve);
    return Entity;
}

}  // namespace sarnova
