// The base of the hull-lines entities.
#include "hulls/GHullLines.h"

#include <algorithm>
#include <cmath>

#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/ShadedRenderer.h"
#include "entities/GBSurf.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "surfaces/BSurface.h"
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

}  // namespace

TGeoHullLines::TGeoHullLines(std::unique_ptr<TBSplineSurface> Generator) : FNet(std::move(Generator)) {
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
}

TGeoHullLines::~TGeoHullLines() = default;

void TGeoHullLines::ProgressText(const std::string& Text) {
    if (auto* Frame = dynamic_cast<IHullLinesFrame*>(GetFrame())) Frame->ShowStatus(Text);
    if (GConsole) GConsole->WriteLine(Text);
    if (GProcessMessages) GProcessMessages();
}

void TGeoHullLines::Generate() {
    if (FGenerated && NetCurrent()) return;
    try {
        RunGenerator();
    } catch (...) {
        // A generator that refuses its parameters puts its last hull back, which stays shown;
        // otherwise the net is no hull any more.
        if (KeptLastHull()) {
            ShowNet(false);
        } else {
            FGenerated = false;
            InvalidateRepresentations();
            InvalidateViews();
        }
        throw;
    }
    ShowNet(true);
}

void TGeoHullLines::ShowNet(bool Changed) {
    FNet->SetNumULine(LineFactor() * FNet->NumU());
    FNet->SetNumVLine(LineFactor() * FNet->NumV());
    FGenerated = true;
    if (Changed) EndChange();
    InvalidateRepresentations();
    FreeRenderer();
    Redraw();
}

void TGeoHullLines::SetUngenerated() {
    if (!FGenerated) return;
    FGenerated = false;
    InvalidateRepresentations();
    FreeRenderer();
    InvalidateViews();
}

void TGeoHullLines::SetDrawBoundaries(bool Value) {
    FDrawBoundaries = Value;
    InvalidateViews();
}

TSurface* TGeoHullLines::GetSurface() { return FGenerated ? FNet.get() : nullptr; }

bool TGeoHullLines::CurvesShown() const {
    return FDrawBoundaries || !FGenerated || (!GetDrawOutline() && !GetDrawParameters() && !DrawContours());
}

void TGeoHullLines::Draw(IGraphics& View) {
    if (CurvesShown()) DrawCurves(View);
    if (FGenerated) TGeoSurface::Draw(View);
}

void TGeoHullLines::DrawOutline(IGraphics& View) {
    if (CurvesShown()) DrawCurves(View);
    if (FGenerated) TGeoSurface::DrawOutline(View);
}

void TGeoHullLines::DrawSimplified(IGraphics& View) { DrawCurvesOutline(View); }

double TGeoHullLines::DistanceToPoint(TPoint ScreenPoint, IGraphics& View) {
    if (IsHidden()) return 1e33;
    double Best = 1e33;
    const auto Points = GetPickPoints();
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

bool TGeoHullLines::InRect(const TRect& Rect, IGraphics& View) {
    if (IsHidden()) return false;
    const auto Points = GetPickPoints();
    for (int i = 0; i < Points->Count(); ++i) {
        const TPoint S = View.WorldToScreenPoint(*Points->Point(i));
        if (S.X >= Rect.Left && S.X < Rect.Right && S.Y >= Rect.Top && S.Y < Rect.Bottom) return true;
    }
    return false;
}

void TGeoHullLines::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(PolygonMeshCaption, [this](TMenuItem&) { GeneratePolygonMesh(); });
    AddMenuItem(ToBSplineCaption, [this](TMenuItem&) { ConvertToSurfaceEntity(); });
    AddMenuItem(ToMeshCaption, [this](TMenuItem&) { ConvertToMeshEntity(); });
    AddMenuItem(ContoursCaption, [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem(SectionsCaption, [this](TMenuItem&) { CreateCalculationSections(); });
    AddMenuItem(ExplodeCaption, [this](TMenuItem&) { ExplodeGenerationCurves(); });
    AddGeneratorMenuItems();
    AddMenuItem("-", {});
    AddMenuItem(BoundariesCaption, [this](TMenuItem&) { SetDrawBoundaries(!FDrawBoundaries); });
    AddMenuItem(OutlineCaption, [this](TMenuItem&) { ToggleDrawOutline(); });
    AddMenuItem(ParametersCaption, [this](TMenuItem&) { ToggleDrawParameters(); });
    AddMenuItem(ShowContoursCaption, [this](TMenuItem&) { SetDrawContours(!DrawContours()); });
    AddAnalysisMenu();
    AddMenuItem(MirroredCaption(), [this](TMenuItem&) { SetMirrored(!Mirrored()); });
    UpdateMenuItems(Root);
}

void TGeoHullLines::UpdateMenuItems(TMenuItem& Root) {
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
    Check(MirroredCaption(), Mirrored());
}

IGeometryFrame* TGeoHullLines::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(FrameName(), *this, Owner)) return Frame;
    return TGeoSurface::CreateFrame(Owner);
}

void TGeoHullLines::UpdateFrame() {
    if (auto* Frame = dynamic_cast<IHullLinesFrame*>(GetFrame()))
        Frame->UpdateFromEntity();
    else
        TGeoSurface::UpdateFrame();
}

void TGeoHullLines::Assign(const TGeometry& Source) {
    TGeoSurface::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoHullLines*>(&Source);
    if (Other == nullptr || !AssignGenerator(*Other)) return;
    SetDrawBoundaries(Other->FDrawBoundaries);
    FGenerated = Other->FGenerated;
    InvalidateRepresentations();
}

void TGeoHullLines::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetClass().GetKeyword() + "]");
    FNet->SaveToText(Out);
    WriteCommonKeys(Out, *this, ckName | ckColor);
    if (FDrawBoundaries) Out.WriteLine("DrawBoundaries=TRUE");
    const bool ParametersFirst = ParametersBeforeOutline();
    if (ParametersFirst && GetDrawParameters()) Out.WriteLine("DrawParameters=TRUE");
    if (GetDrawOutline()) Out.WriteLine("DrawOutline=TRUE");
    if (!ParametersFirst && GetDrawParameters()) Out.WriteLine("DrawParameters=TRUE");
    if (DrawContours()) Out.WriteLine("DrawContours=TRUE");
    if (Mirrored()) Out.WriteLine("Mirrored=TRUE");
    Out.WriteLine("");
}

void TGeoHullLines::LoadFromText(TTextReader& In) {
    FNet->LoadFromText(In);
    FDrawBoundaries = false;
    // A switch the block does not name was off when it was written.
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
    FGenerated = FNet->NumU() > 0 && FNet->PointCount() >= FNet->NumU() * FNet->NumV() && [this] {
        const TMBox Box = FNet->GetExtents();
        return Box.Max.X > Box.Min.X;
    }();
    InvalidateRepresentations();
}

std::unique_ptr<TPolygonList> TGeoHullLines::CreatePolygonRepresentation(std::uint8_t Purpose) {
    if (!FGenerated) return nullptr;
    AnnouncePolygonRepresentation(*this);
    return FNet->CreatePolygonsFor(static_cast<TSamplingPurpose>(Purpose), 1);
}

void TGeoHullLines::CreateRenderer() {
    if (GetRenderer() != nullptr || !FGenerated) return;
    if (std::unique_ptr<IGLRenderer> Renderer = CreateGLRendererFromSurface(*FNet, Mirrored()))
        SetRenderer(std::move(Renderer));
}

void TGeoHullLines::Query(TGeometryQuery& Query) {
    if (!FGenerated) return;
    // Readers of a query match the exact class of a surface: they get a plain B-spline surface.
    if (!Query.CountOnly && (Query.Asks(qkSurface) || Query.Asks(qkSurface + 1))) {
        auto Surface = std::make_unique<TBSplineSurface>();
        AssignBSplineSurface(*Surface, *FNet);
        Query.AddInstance(std::move(Surface), GetName());
        return;
    }
    AnswerBSplineSurfaceQuery(Query, *FNet, GetName());
}

void TGeoHullLines::AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) {
    if (FGenerated) Analysis.AddSurface(*FNet, 1);
}

}  // namespace sarnova
