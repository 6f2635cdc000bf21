// The ship hull-lines entity.
#include "hulls/GHalvorn.h"

#include <algorithm>
#include <cmath>

#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/ShadedRenderer.h"
#include "entities/GBSurf.h"
#include "foundation/DuZezOride.h"
#include "foundation/DuZezOrideColors.h"
#include "foundation/DuZezOrideConsole.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"
#include "naval/GPList.h"
#include "platform/Menu.h"
#include "surfaces/SurfaceAnalysis.h"

namespace sarnova {

namespace {

constexpr const char* PolygonMeshCaption = "Generate Polygon Mesh";
constexpr const char* ToBSplineCaption = "Convert to BSpline Surface";
constexpr const char* ToMeshCaption = "Convert to Mesh";
constexpr const char* ContoursCaption = "Extract Contours";
constexpr const char* SectionsCaption = "Create Calculation Sections";
constexpr const char* ExplodeCaption = "Explode Generation Curves";
constexpr const char* BoundariesCaption = "Show Boundaries";
constexpr const char* OutlineCaption = "Show Outline";
constexpr const char* ParametersCaption = "Show Parameters";
constexpr const char* ShowContoursCaption = "Show Contours";
constexpr const char* MirroredCaption = "Show Mirrored";

}  // namespace

TGeoHalvorn::TGeoHalvorn() : FGenerator(std::make_unique<THalvornVisual>()) {
    FGenerator->OnProgressText = [this](const std::string& Text) { ProgressText(Text); };
    SetDrawParameters(true);
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
}

TGeoHalvorn::~TGeoHalvorn() = default;

void TGeoHalvorn::AddCreateMenuItems(TMenuItem& Menu, TGeometryList& List) {
    TMenuItem& Item = Menu.Add(NewGMenuItem("Halvorn Hull", &List, [](TMenuItem& Sender) {
        TGeometryList* Document = GeometryListOf(Sender);
        if (Document == nullptr) return;
        Document->Add(std::make_unique<TGeoHalvorn>());
        Document->RefreshViews();
    }));
    Item.ImageIndex = GetImageIndex();
}

void TGeoHalvorn::ProgressText(const std::string& Text) {
    if (auto* Frame = dynamic_cast<IHalvornFrame*>(GetFrame())) Frame->ShowStatus(Text);
    if (GConsole) GConsole->WriteLine(Text);
    if (GProcessMessages) GProcessMessages();
}

void TGeoHalvorn::Generate() {
    try {
        FGenerator->Generate();
    } catch (...) {
        // The net may be partly overwritten: it is not a hull any more.
        FGenerated = false;
        InvalidateRepresentations();
        InvalidateViews();
        throw;
    }
    FGenerator->SetNumULine(3 * FGenerator->NumU());
    FGenerator->SetNumVLine(3 * FGenerator->NumV());
    FGenerated = true;
    EndChange();
    InvalidateRepresentations();
    FreeRenderer();
    Redraw();
}

void TGeoHalvorn::SetUngenerated() {
    if (!FGenerated) return;
    FGenerated = false;
    InvalidateRepresentations();
    FreeRenderer();
    InvalidateViews();
}

void TGeoHalvorn::SetDrawBoundaries(bool Value) {
    FDrawBoundaries = Value;
    InvalidateViews();
}

TDataObject TGeoHalvorn::GetDataObject() { return TDataObject::Of(static_cast<THalvorn*>(FGenerator.get())); }

TSurface* TGeoHalvorn::GetSurface() { return FGenerated ? FGenerator.get() : nullptr; }

bool TGeoHalvorn::CurvesShown() const {
    return FDrawBoundaries || !FGenerated || (!GetDrawOutline() && !GetDrawParameters() && !DrawContours());
}

void TGeoHalvorn::Draw(IGraphics& View) {
    FGenerator->Mirrored = Mirrored();
    if (CurvesShown()) FGenerator->DrawCurves(View);
    if (FGenerated) TGeoSurface::Draw(View);
}

void TGeoHalvorn::DrawOutline(IGraphics& View) {
    FGenerator->Mirrored = Mirrored();
    if (CurvesShown()) FGenerator->DrawCurves(View);
    if (FGenerated) TGeoSurface::DrawOutline(View);
}

void TGeoHalvorn::DrawSimplified(IGraphics& View) {
    FGenerator->Mirrored = Mirrored();
    FGenerator->DrawCurvesOutline(View);
}

double TGeoHalvorn::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    if (IsHidden()) return 1e33;
    double Best = 1e33;
    const auto Points = FGenerator->GetPickPoints();
    auto Visit = [&](double X, double Y, double Z) {
        const TPoint S = View.WorldToScreen(X, Y, Z);
        Best = std::min(Best, std::hypot(double(S.X) - ScreenPoint.X, double(S.Y) - ScreenPoint.Y));
    };
    for (int i = 0; i < Points->Count(); ++i) {
        const TRPoint* Q = Points->Point(i);
        Visit(Q->X, Q->Y, Q->Z);
        if (Mirrored()) Visit(Q->X, -Q->Y, Q->Z);
    }
    return Best;
}

bool TGeoHalvorn::InRect(const TRect& Rect, IGraphics& View) {
    if (IsHidden()) return false;
    const auto Points = FGenerator->GetPickPoints();
    for (int i = 0; i < Points->Count(); ++i) {
        const TPoint S = View.WorldToScreenPoint(*Points->Point(i));
        if (S.X >= Rect.Left && S.X < Rect.Right && S.Y >= Rect.Top && S.Y < Rect.Bottom) return true;
    }
    return false;
}

void TGeoHalvorn::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(PolygonMeshCaption, [this](TMenuItem&) { GeneratePolygonMesh(); });
    AddMenuItem(ToBSplineCaption, [this](TMenuItem&) { ConvertToSurfaceEntity(); });
    AddMenuItem(ToMeshCaption, [this](TMenuItem&) { ConvertToMeshEntity(); });
    AddMenuItem(ContoursCaption, [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem(SectionsCaption, [this](TMenuItem&) { CreateCalculationSections(); });
    AddMenuItem(ExplodeCaption, [this](TMenuItem&) { ExplodeGenerationCurves(); });
    AddMenuItem("-", {});
    AddMenuItem(BoundariesCaption, [this](TMenuItem&) { SetDrawBoundaries(!FDrawBoundaries); });
    AddMenuItem(OutlineCaption, [this](TMenuItem&) { ToggleDrawOutline(); });
    AddMenuItem(ParametersCaption, [this](TMenuItem&) { ToggleDrawParameters(); });
    AddMenuItem(ShowContoursCaption, [this](TMenuItem&) { SetDrawContours(!DrawContours()); });
    AddAnalysisMenu();
    AddMenuItem(MirroredCaption, [this](TMenuItem&) { SetMirrored(!Mirrored()); });
    UpdateMenuItems(Root);
}

void TGeoHalvorn::UpdateMenuItems(TMenuItem& Root) {
    TGeoSurface::UpdateMenuItems(Root);
    const bool OthersShown = GetDrawOutline() || GetDrawParameters() || DrawContours();
    auto Set = [&Root](const char* Caption, bool Enabled) {
        if (TMenuItem* Item = Root.Find(Caption)) Item->Enabled = Enabled;
    };
    Set(ContoursCaption, FGenerated && DrawContours());
    for (const char* Caption : {PolygonMeshCaption, ToBSplineCaption, ToMeshCaption, ShowContoursCaption,
                                OutlineCaption, ParametersCaption, ExplodeCaption, SectionsCaption})
        Set(Caption, FGenerated);
    Set(BoundariesCaption, FGenerated && OthersShown);
    auto Check = [&Root](const char* Caption, bool Checked) {
        if (TMenuItem* Item = Root.Find(Caption)) Item->Checked = Checked;
    };
    Check(BoundariesCaption, FDrawBoundaries || !OthersShown);
    Check(OutlineCaption, GetDrawOutline());
    Check(ParametersCaption, GetDrawParameters());
    Check(ShowContoursCaption, DrawContours());
    Check(MirroredCaption, Mirrored());
}

IGeometryFrame* TGeoHalvorn::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(HalvornFrameName, *this, Owner)) return Frame;
    return TGeoSurface::CreateFrame(Owner);
}

void TGeoHalvorn::UpdateFrame() {
    if (auto* Frame = dynamic_cast<IHalvornFrame*>(GetFrame()))
        Frame->UpdateFromEntity();
    else
        TGeoSurface::UpdateFrame();
}

void TGeoHalvorn::Assign(const TGeometry& Source) {
    TGeoSurface::Assign(Source);
    if (const auto* Other = dynamic_cast<const TGeoHalvorn*>(&Source)) {
        FGenerator->Assign(*Other->FGenerator);
        SetDrawBoundaries(Other->FDrawBoundaries);
        FGenerated = Other->FGenerated;
        InvalidateRepresentations();
    }
}

void TGeoHalvorn::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    FGenerator->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName | ckColor);
    if (FDrawBoundaries) Out.WriteLine("DrawBoundaries=TRUE");
    if (GetDrawOutline()) Out.WriteLine("DrawOutline=TRUE");
    if (GetDrawParameters()) Out.WriteLine("DrawParameters=TRUE");
    if (DrawContours()) Out.WriteLine("DrawContours=TRUE");
    if (Mirrored()) Out.WriteLine("Mirrored=TRUE");
    Out.WriteLine("");
}

void TGeoHalvorn::LoadFromText(TTextReader& In) {
    FGenerator->LoadFromText(In);
    FDrawBoundaries = false;
    bool Outline = false, Parameters = false, Contours = false;
    TBlockLine Line;
    while (ReadBlockLine(In, Line)) {
        const bool On = UpperCase(Line.Value) == "TRUE";
        if (Line.Key == "DRAWBOUNDARIES")
            FDrawBoundaries = On;
        else if (Line.Key == "DRAWOUTLINE")
            Outline = On;
        else if (Line.Key == "DRAWPARAMETERS")
            Parameters = On;
        else if (Line.Key == "DRAWCONTOURS")
            Contours = On;
        else
            ReadCommonKey(*this, Line);
    }
    // The outline first: hiding it hides the parameter lines too.
    SetDrawOutline(Outline);
    SetDrawParameters(Parameters);
    if (Contours) SetDrawContours(true);
    FGenerated = FGenerator->NumU() > 0 && FGenerator->PointCount() >= FGenerator->NumU() * FGenerator->NumV() &&
                 [this] {
                     const TMBox Box = FGenerator->GetExtents();
                     return Box.Max.X > Box.Min.X;
                 }();
    InvalidateRepresentations();
}

std::unique_ptr<TPolygonList> TGeoHalvorn::CreatePolygonRepresentation(std::uint8_t Purpose) {
    if (!FGenerated) return nullptr;
    AnnouncePolygonRepresentation(*this);
    return FGenerator->CreatePolygonsFor(static_cast<TSamplingPurpose>(Purpose), 1);
}

void TGeoHalvorn::CreateRenderer() {
    if (GetRenderer() != nullptr || !FGenerated) return;
    if (std::unique_ptr<IGLRenderer> Renderer = CreateGLRendererFromSurface(*FGenerator, Mirrored()))
        SetRenderer(std::move(Renderer));
}

void TGeoHalvorn::Query(TGeometryQuery& Query) {
    if (!FGenerated) return;
    // Readers of a query match the exact class of a surface: they get a plain B-spline surface.
    if (!Query.CountOnly && (Query.Asks(qkSurface) || Query.Asks(qkSurface + 1))) {
        auto Surface = std::make_unique<TBSplineSurface>();
        AssignBSplineSurface(*Surface, *FGenerator);
        Query.AddInstance(std::move(Surface), GetName());
        return;
    }
    AnswerBSplineSurfaceQuery(Query, *FGenerator, GetName());
}

void TGeoHalvorn::AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) {
    if (FGenerated) Analysis.AddSurface(*FGenerator, 1);
}

void TGeoHalvorn::ExplodeGenerationCurves() {
    TGeometryList* List = GetOwnerList();
    if (List == nullptr || !FGenerated) return;
    THalvornVisual& G = *FGenerator;
    std::vector<std::unique_ptr<TGeometry>> Made;
    auto Name = [](const std::string& Curve) { return "Halvorn." + Curve; };
    auto AddPolyline = [&](const std::string& Curve, const TPolyline& Source) {
        auto E = std::make_unique<TGeoPline>();
        E->Polyline().AddCopies(Source);
        E->SetName(Name(Curve));
        Made.push_back(std::move(E));
    };
    auto AddSpline = [&](const std::string& Curve, const TBSpline& Source) {
        auto E = std::make_unique<TGeoBSpline>();
        E->Spline().Assign(Source);
        E->SetName(Name(Curve));
        Made.push_back(std::move(E));
    };
    auto AddList = [&](const std::string& Curve, const std::vector<std::unique_ptr<TPolyline>>& Source) {
        auto E = std::make_unique<TGeoPList>();
        for (const auto& P : Source) E->Polylines().Add(P->Clone());
        E->SetName(Name(Curve));
        Made.push_back(std::move(E));
    };
    AddPolyline("iXParamL", G.IXParamL());
    AddPolyline("iXParamF", G.IXParamF());
    const TBSpline AftFullNess(3);
    const std::pair<const char*, const TBSpline*> Splines[] = {
        {"Stem", &G.Stem()},           {"Stern", &G.Stern()},
        {"DeckLine", &G.DeckLine()},   {"MidSection", &G.MidSection()},
        {"Transom", &G.Transom()},     {"SternSide", &G.SternSide()},
        {"Deck", &G.Deck()},           {"BowFlatTangenet", &G.BowFlatTangenet()},
        {"BowFullness", &G.BowFullness()}, {"AftFlatTangent", &G.AftFlatTangent()},
        {"AftFullNess", &AftFullNess}, {"Projection", &G.Projection()},
        {"FullStern", &G.FullStern()}};
    for (const auto& [Curve, Spline] : Splines) AddSpline(Curve, *Spline);
    std::vector<std::unique_ptr<TPolyline>> Columns;
    for (int i = 0; i < G.ColumnListCount(); ++i) Columns.push_back(G.Column(i).Clone());
    AddList("Columns", Columns);
    AddList("Verts", G.Verts());
    auto AddSplines = [&](const char* ListName, const std::vector<std::unique_ptr<TBSpline>>& Source) {
        for (std::size_t i = 0; i < Source.size(); ++i)
            AddSpline(std::string(ListName) + "(" + std::to_string(i) + ")", *Source[i]);
    };
    AddSplines("BowBlenders", G.BowBlenders());
    AddSplines("AftBlenders", G.AftBlenders());
    AddSplines("Bls", G.Bls());
    auto Surface = std::make_unique<TGeoBSurf>();
    AssignBSplineSurface(Surface->Surface(), G);
    Surface->SetName(Name("Surface"));
    Surface->Recalculate();
    Made.push_back(std::move(Surface));

    InListUpdate(*List, [&] {
        for (auto& E : Made) List->Add(std::move(E));
        DeleteFromList();
    });
}

}  // namespace sarnova
