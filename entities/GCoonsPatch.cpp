#include "entities/GCoonsPatch.h"

#include <algorithm>

#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GeoFace.h"
#include "document/Undo.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/ShadedRenderer.h"
#include "entities/GConversions.h"
#include "entities/GExtrudedSurface.h"
#include "foundation/BlockCount.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/NumberText.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "surfaces/CoonsPatch.h"
#include "surfaces/SurfaceAnalysis.h"

namespace sarnova {

namespace {

constexpr const char* PolygonMeshCaption = "Generate Polygon Mesh";
constexpr const char* ParametersCaption = "Show Parameters";
constexpr const char* ShowContoursCaption = "Show Contours";
constexpr const char* MirroredCaption = "Show Mirrored";

// The entity whose curve object Curve is; nullptr when none of Entities holds it.
TGeoBSpline* OwnerOf(const std::vector<TGeoBSpline*>& Entities, const TBSpline* Curve) {
    for (TGeoBSpline* Entity : Entities)
        if (&Entity->Spline() == Curve) return Entity;
    return nullptr;
}

}  // namespace

// ---- TGeoCurveLoopSurface ----

TGeoCurveLoopSurface::TGeoCurveLoopSurface() {
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
    SetDrawOutline(true);
    SetDrawParameters(true);
}

TGeoCurveLoopSurface::~TGeoCurveLoopSurface() {
    // The references stop watching before the patch they feed goes.
    FCurves.Clear();
}

TGeometryReference* TGeoCurveLoopSurface::AddCurveName(const std::string& Name) {
    TGeometryReference* Reference = FCurves.AddName(Name);
    Reference->OnModified = [this](TGeometry*) { CurveModified(); };
    Reference->OnDestroyed = [this](TGeometry*) { CurveDestroyed(); };
    return Reference;
}

TGeometryReference* TGeoCurveLoopSurface::AddCurve(TGeometry* Entity) {
    TGeometryReference* Reference = AddCurveName("");
    Reference->SetGeometry(Entity);
    return Reference;
}

std::vector<TGeoBSpline*> TGeoCurveLoopSurface::CurveEntities() {
    std::vector<TGeoBSpline*> Result;
    for (int I = 0; I < FCurves.Count(); ++I) {
        auto* Curve = dynamic_cast<TGeoBSpline*>(FCurves.Items(I).GetGeometry());
        if (Curve == nullptr) return {};
        Result.push_back(Curve);
    }
    return Result;
}

void TGeoCurveLoopSurface::CurveModified() {
    if (!Regenerating) MarkChanged();
}

void TGeoCurveLoopSurface::CurveDestroyed() {
    ForgetCurves();
    // The list records the deletion with the curve names still in place, so that undo brings the
    // patch back with its curves.
    DeleteFromList();
}

void TGeoCurveLoopSurface::AfterListChange() {
    if (FCurves.Count() == 0)
        TGeoSurface::AfterListChange();
    else if (CurvesMissing && !IsChangePending() && !CurveEntities().empty())
        MarkChanged();
}

void TGeoCurveLoopSurface::UpdateFrame() {
    if (auto* Frame = dynamic_cast<IGeneratedSurfaceFrame*>(GetFrame()))
        Frame->UpdateControls();
    else
        TGeoSurface::UpdateFrame();
}

std::vector<TGeoBSpline*> TGeoCurveLoopSurface::SelectedBSplines(TGeometryList& List) {
    if (!OnlyClassSelected<TGeoBSpline>(List)) return {};
    return SelectedOfClass<TGeoBSpline>(List);
}

void TGeoCurveLoopSurface::MakeFromSelection(TGeometryList& List, std::unique_ptr<TGeoCurveLoopSurface> Entity) {
    for (TGeoBSpline* Curve : SelectedBSplines(List)) {
        if (Curve->GetName().empty()) Curve->SetName(List.UniqueName("Curve1"));
        Entity->AddCurve(Curve);
    }
    Entity->SetDrawParameters(true);
    List.Add(std::move(Entity));
    List.InvalidateViews();
}

void TGeoCurveLoopSurface::AssignCurves(const TGeoCurveLoopSurface& Other) {
    ForgetCurves();
    std::vector<std::string> Names;
    for (int I = 0; I < Other.FCurves.Count(); ++I) Names.push_back(Other.FCurves.Items(I).GetName());
    FCurves.Clear();
    for (const std::string& Name : Names) AddCurveName(Name);
}

void TGeoCurveLoopSurface::SaveCurves(TTextWriter& Out) const {
    Out.WriteLine("NumCurves=" + IntToStr(FCurves.Count()));
    for (int I = 0; I < FCurves.Count(); ++I) Out.WriteLine(FCurves.Items(I).GetName());
}

void TGeoCurveLoopSurface::LoadCurves(TTextReader& In) {
    ForgetCurves();
    FCurves.Clear();
    // Checked against the names that follow before any is taken: a wrong count would take the key
    // lines, or the next block's lines, for curve names.
    CheckListCount(In, {.Names = true});
    const int Count = StrToInt(PositionalValue(In.ReadLine()));
    for (int I = 0; I < Count; ++I) AddCurveName(In.ReadLine());
}

void TGeoCurveLoopSurface::InvalidateCurves() {
    for (int I = 0; I < FCurves.Count(); ++I)
        if (auto* Curve = dynamic_cast<TGeoDraggableCurve*>(FCurves.Items(I).GetGeometry()))
            Curve->InvalidateCurveRepresentations();
    InvalidateViews();
}

void TGeoCurveLoopSurface::RegenerateMovingCurves(const std::vector<TGeoBSpline*>& Entities,
                                                  const std::vector<TBSpline*>& Moving,
                                                  const std::function<void()>& Regenerate) {
    std::vector<TGeoBSpline*> Moved;
    for (TBSpline* Curve : Moving)
        if (TGeoBSpline* Entity = OwnerOf(Entities, Curve)) Moved.push_back(Entity);
    // Regenerated at the next draw after an edit outside an update bracket, the moves join the edit's
    // step all the same.
    TUndoManager* Undo = nullptr;
    if (auto* Document = dynamic_cast<TGeometryInterface*>(GetOwnerList()); Document != nullptr && !Moved.empty())
        Undo = &Document->GetUndoManager();
    if (Undo != nullptr) Undo->BeginUndoJoiningLast();
    Regenerating = true;
    for (TGeoBSpline* Entity : Moved) Entity->BeginChange();
    const auto Close = [&] {
        for (TGeoBSpline* Entity : Moved) Entity->EndChange();
        Regenerating = false;
        if (Undo != nullptr) Undo->EndUndo();
    };
    try {
        Regenerate();
    } catch (...) {
        Close();
        throw;
    }
    Close();
}

// ---- TGeoCoonsPatch ----

TGeoCoonsPatch::TGeoCoonsPatch() : FPatch(std::make_unique<TCoonsPatch>()) {}

TGeoCoonsPatch::~TGeoCoonsPatch() {
    FCurves.Clear();
    FPatch->Clear();
}

bool TGeoCoonsPatch::CanMakePatch(TGeometryList& List) {
    TCoonsCurves Curves;
    for (TGeoBSpline* Curve : SelectedBSplines(List)) Curves.Add(&Curve->Spline());
    return Curves.Count() > 0 && CoonsCurvesValid(Curves);
}

void TGeoCoonsPatch::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (CanMakePatch(List)) {
        if (Menu.Count() > 0) Menu.Add("-");
        Menu.Add(NewGMenuItem("Coons Patch", &List, [](TMenuItem& Sender) {
            if (TGeometryList* Document = GeometryListOf(Sender))
                MakeFromSelection(*Document, std::make_unique<TGeoCoonsPatch>());
        }));
    }
    AddSurfaceSelectionItems(GeometryClassOf<TGeoCoonsPatch>(), Menu, List);
}

std::uint8_t TGeoCoonsPatch::GetCoonsMethod() const { return FPatch->CoonsMethod; }

void TGeoCoonsPatch::SetCoonsMethod(std::uint8_t Method) {
    if (Method == FPatch->CoonsMethod) return;
    BeginChange();
    Undraw();
    FPatch->CoonsMethod = Method;
    MarkChanged();
    InvalidateViews();
}

TDataObject TGeoCoonsPatch::GetDataObject() {
    return FValid ? TDataObject::Of(&FPatch->Surface()) : TDataObject{};
}

TSurface* TGeoCoonsPatch::GetSurface() { return FValid ? &FPatch->Surface() : nullptr; }

void TGeoCoonsPatch::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(PolygonMeshCaption, [this](TMenuItem&) { GeneratePolygonMesh(); });
    AddMenuItem("Convert to BSpline Surface", [this](TMenuItem&) { ConvertToSurfaceEntity(); });
    AddMenuItem("Convert to Mesh", [this](TMenuItem&) { ConvertToMeshEntity(); });
    AddMenuItem("Extract Contours", [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem("-", {});
    AddMenuItem(ParametersCaption, [this](TMenuItem&) { MenuToggleDrawParameters(); });
    AddMenuItem(ShowContoursCaption, [this](TMenuItem&) { MenuToggleDrawContours(); });
    AddAnalysisMenu();
    AddMenuItem(MirroredCaption, [this](TMenuItem&) { SetMirrored(!Mirrored()); });
    UpdateMenuItems(Root);
}

void TGeoCoonsPatch::UpdateMenuItems(TMenuItem& Root) {
    TGeoSurface::UpdateMenuItems(Root);
    if (TMenuItem* Item = Root.Find(ParametersCaption)) Item->Checked = GetDrawParameters();
    if (TMenuItem* Item = Root.Find(ShowContoursCaption)) Item->Checked = DrawContours();
    if (TMenuItem* Item = Root.Find(MirroredCaption)) Item->Checked = Mirrored();
    UpdateAnalysisMenu(Root.Find("Show Surface Analysis"));
}

void TGeoCoonsPatch::ForgetCurves() {
    FPatch->Clear();
    FValid = false;
}

void TGeoCoonsPatch::Recalculate() {
    const std::vector<TGeoBSpline*> Entities = CurveEntities();
    CurvesMissing = Entities.empty();
    if (Entities.empty()) {
        ForgetCurves();
    } else {
        // The edges hold the curves' own objects: they are handed over again whenever those differ.
        bool Same = FPatch->Edges().Count() == static_cast<int>(Entities.size());
        for (int I = 0; Same && I < FPatch->Edges().Count(); ++I)
            Same = FPatch->Edges().Items(I)->Curve() == &Entities[static_cast<std::size_t>(I)]->Spline();
        if (!Same) {
            TCoonsCurves Curves;
            for (TGeoBSpline* Entity : Entities) Curves.Add(&Entity->Spline());
            FPatch->SetCurves(Curves);
            FValid = false;
        }
        if (!FPatch->IsValid())
            FValid = false;
        else if (FPatch->NeedsUpdate())
            Regenerate(Entities);
    }
    TGeoSurface::Recalculate();
}

void TGeoCoonsPatch::Regenerate(const std::vector<TGeoBSpline*>& Entities) {
    bool Done = false;
    try {
        RegenerateMovingCurves(Entities, FPatch->CurvesToJoin(), [this] { FPatch->Generate(); });
        Done = true;
    } catch (const std::exception& Error) {
        if (GConsole) GConsole->WriteLine(Error.what());
    }
    FValid = Done && FPatch->GeneratedMethod() != 2;
    if (FValid) {
        FPatch->Surface().SetNumULine(GetNumULine());
        FPatch->Surface().SetNumVLine(GetNumVLine());
    }
    InvalidateCurves();
}

IGeometryFrame* TGeoCoonsPatch::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(CoonsPatchFrameName, *this, Owner)) return Frame;
    return TGeoCurveLoopSurface::CreateFrame(Owner);
}

void TGeoCoonsPatch::Assign(const TGeometry& Source) {
    TGeoCurveLoopSurface::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoCoonsPatch*>(&Source);
    if (Other == nullptr) return;
    AssignCurves(*Other);
    FPatch->CoonsMethod = Other->FPatch->CoonsMethod;
}

void TGeoCoonsPatch::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    Out.WriteLine("InterpolationMethod=" + CoonsMethodToText(FPatch->CoonsMethod));
    SaveCurves(Out);
    WriteSurfaceBlockKeys(Out, *this, false);
    Out.WriteLine("");
}

void TGeoCoonsPatch::LoadFromText(TTextReader& In) {
    FPatch->CoonsMethod = CoonsMethodFromText(In.ReadLine());
    LoadCurves(In);
    ReadSurfaceBlockKeys(In, *this);
}

std::unique_ptr<TPolygonList> TGeoCoonsPatch::CreatePolygonRepresentation(std::uint8_t Purpose) {
    AnnouncePolygonRepresentation(*this);
    TSurface* Surface = GetSurface();
    return Surface != nullptr ? Surface->CreatePolygonsFor(static_cast<TSamplingPurpose>(Purpose), 1) : nullptr;
}

void TGeoCoonsPatch::CreateRenderer() {
    if (GetRenderer() != nullptr || !FValid) return;
    if (std::unique_ptr<IGLRenderer> Renderer = CreateGLRendererFromSurface(FPatch->Surface(), Mirrored()))
        SetRenderer(std::move(Renderer));
}

void TGeoCoonsPatch::UpdateRenderer() {
    // No shading of a patch the curves do not form.
    if (!FValid)
        FreeRenderer();
    else
        TGeoCurveLoopSurface::UpdateRenderer();
}

void TGeoCoonsPatch::Query(TGeometryQuery& Query) {
    if (FValid) AnswerBSplineSurfaceQuery(Query, FPatch->Surface(), GetName());
}

void TGeoCoonsPatch::AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) {
    if (FValid) Analysis.AddSurface(FPatch->Surface(), 1);
}

}  // namespace sarnova
