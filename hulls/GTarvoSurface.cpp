#include "hulls/GTarvoSurface.h"

#include <vector>

#include "document/GCustomPline.h"
#include "document/GeometryFile.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "document/ShadedRenderer.h"
#include "foundation/TextUtils.h"
#include "foundation/ColorNames.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"
#include "hulls/GTarvoCurve.h"
#include "platform/Menu.h"
#include "surfaces/SurfaceAnalysis.h"

namespace sarnova {

bool TGeoTarvoSurface::OnlyTarvoCurvesSelected(const TGeometryList& List) {
    for (int I = 0; I < List.Count(); ++I) {
        TGeometry& G = List.Items(I);
        if (G.GetSelected() && dynamic_cast<TGeoTarvoCurve*>(&G) == nullptr) return false;
    }
    return true;
}

TNode* TGeoTarvoSurface::NodeOf(TGeometry* Entity) {
    if (auto* C = dynamic_cast<TGeoTarvoCurve*>(Entity)) return &C->Curve();
    // A derived entity may show another object than its node.
    if (auto* S = dynamic_cast<TGeoTarvoSurface*>(Entity); S != nullptr && S->GetDataObject().Object == S->FSurface.get())
        return S->FSurface.get();
    return nullptr;
}

TGeoTarvoSurface::TGeoTarvoSurface() : TGeoTarvoSurface(std::make_unique<TTarvoSurface>(), "TarvoSurface1") {}

TGeoTarvoSurface::TGeoTarvoSurface(std::unique_ptr<TTarvoSurface> Node, const std::string& Name)
    : FSurface(std::move(Node)) {
    FSurface->SetManager(this);
    FSurface->Name = Name;
    StoreName(FSurface->Name);
    FSurface->OnInvalidate = [this](TNode*) { MarkChanged(); };
    FSurface->OnLosingParent = [this](TNode*) { RecordChange(); };
    SetCapabilities(GetCapabilities() | cpUndoable | cpRenderable);
}

TGeoTarvoSurface::~TGeoTarvoSurface() {
    FSurface->OnInvalidate = nullptr;
    FSurface->OnLosingParent = nullptr;
    FSurface.reset();
}

void TGeoTarvoSurface::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (OnlyTarvoCurvesSelected(List)) {
        if (Menu.Count() > 0) Menu.Add("-");
        Menu.Add(NewGMenuItem("Create TarvoSurface", &List, [](TMenuItem& Sender) {
            if (TGeometryList* Document = GeometryListOf(Sender)) CreateFromSelection(*Document);
        }));
    }
}

TGeoTarvoSurface* TGeoTarvoSurface::CreateFromSelection(TGeometryList& List) {
    auto Entity = std::make_unique<TGeoTarvoSurface>();
    AddSelectedCurves(*Entity, List);
    TGeoTarvoSurface* Result = Entity.get();
    List.Add(std::move(Entity));
    List.InvalidateViews();
    return Result;
}

void TGeoTarvoSurface::AddSelectedCurves(TGeoTarvoSurface& Entity, TGeometryList& List) {
    TTarvoReferenceCurves& Curves = Entity.FSurface->ReferenceCurves();
    for (int I = 0; I < List.Count(); ++I)
        if (auto* C = dynamic_cast<TGeoTarvoCurve*>(&List.Items(I)); C != nullptr && C->GetSelected())
            if (Curves.CanAdd(&C->Curve())) Curves.Add(&C->Curve());
}

template <class F>
void TGeoTarvoSurface::Change(F Body) {
    InRedrawnChange(*this, Body);
}

void TGeoTarvoSurface::SetDrawBlends(bool Value) {
    if (Value == FDrawBlends) return;
    Undraw();
    FDrawBlends = Value;
    Redraw();
    UpdateFrame();
}

void TGeoTarvoSurface::SetDrawCurves(bool Value) {
    if (Value == FDrawCurves) return;
    Undraw();
    FDrawCurves = Value;
    Redraw();
    UpdateFrame();
}

TNode* TGeoTarvoSurface::FindNode(const std::string& Name) {
    const TGeometryList* List = GetOwnerList();
    if (List == nullptr) return nullptr;
    for (int I = 0; I < List->Count(); ++I)
        if (TNode* N = NodeOf(&List->Items(I)); N != nullptr && N->Name == Name) return N;
    return nullptr;
}

std::unique_ptr<TNodes> TGeoTarvoSurface::Nodes() {
    auto Result = std::make_unique<TNodes>();
    if (const TGeometryList* List = GetOwnerList())
        for (int I = 0; I < List->Count(); ++I) Result->Add(NodeOf(&List->Items(I)));
    return Result;
}

TTarvoCurve* TGeoTarvoSurface::FindCurve(const std::string& Name) {
    return dynamic_cast<TTarvoCurve*>(FindNode(Name));
}

void TGeoTarvoSurface::AddDefinitionCurve(const std::string& Name) {
    TTarvoCurve* C = FindCurve(Name);
    if (C == nullptr || !FSurface->ReferenceCurves().CanAdd(C)) return;
    Change([&] { FSurface->ReferenceCurves().Add(C); });
    InvalidateViews();
}

void TGeoTarvoSurface::RemoveDefinitionCurve(const std::string& Name) {
    TTarvoCurve* C = FindCurve(Name);
    if (C == nullptr || !FSurface->ReferenceCurves().Contains(C)) return;
    Change([&] { FSurface->ReferenceCurves().Remove(C); });
    InvalidateViews();
}

std::vector<std::string> TGeoTarvoSurface::CandidateCurves() {
    std::vector<std::string> Names;
    if (const TGeometryList* List = GetOwnerList())
        for (int I = 0; I < List->Count(); ++I)
            if (auto* C = dynamic_cast<TGeoTarvoCurve*>(&List->Items(I));
                C != nullptr && FSurface->ReferenceCurves().CanAdd(&C->Curve()))
                Names.push_back(C->Curve().Name);
    return Names;
}

std::vector<std::string> TGeoTarvoSurface::SelectedCurveNames() {
    std::vector<std::string> Names;
    if (const TGeometryList* List = GetOwnerList())
        for (int I = 0; I < List->Count(); ++I)
            if (auto* C = dynamic_cast<TGeoTarvoCurve*>(&List->Items(I)); C != nullptr && C->GetSelected())
                Names.push_back(C->Curve().Name);
    return Names;
}

IGeometryFrame* TGeoTarvoSurface::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(TarvoSurfaceFrameName, *this, Owner)) return Frame;
    return TGeoSurface::CreateFrame(Owner);
}

void TGeoTarvoSurface::UpdateFrame() {
    if (auto* Frame = dynamic_cast<IGeneratedSurfaceFrame*>(GetFrame()))
        Frame->UpdateControls();
    else
        TGeoSurface::UpdateFrame();
}

TDataObject TGeoTarvoSurface::GetDataObject() { return TDataObject::Of(FSurface.get()); }

TSurface* TGeoTarvoSurface::GetSurface() {
    FSurface->Update();
    return &FSurface->Surface();
}

std::string TGeoTarvoSurface::GetName() const { return FSurface->Name; }

void TGeoTarvoSurface::SetName(const std::string& Value) {
    const std::string Clean = NameWithoutControls(Value);
    // The undo snapshot must hold the old name, which the surface object keeps.
    if (Clean != GetName()) RecordChange();
    FSurface->Name = Clean;
    TGeoSurface::SetName(Value);
}

void TGeoTarvoSurface::Recalculate() {
    FSurface->Update();
    TGeoSurface::Recalculate();
}

void TGeoTarvoSurface::Assign(const TGeometry& Source) {
    TGeoSurface::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoTarvoSurface*>(&Source);
    if (Other == nullptr || Other == this) return;
    FDrawBlends = Other->FDrawBlends;
    FSurface->Name = Other->FSurface->Name;
    // The definition curves go by name: an undo snapshot keeps them unresolved, and they resolve
    // again over the document of the entity they are given back to. They are bound without being
    // rebuilt: inside an undo step a curve may be given back before the curve it offsets.
    std::vector<std::string> Names;
    const TTarvoReferenceCurves& From = Other->FSurface->ReferenceCurves();
    for (int I = 0; I < From.Count(); ++I) Names.push_back(From.Reference(I).GetName());
    TTarvoReferenceCurves& To = FSurface->ReferenceCurves();
    To.Clear();
    for (const std::string& Name : Names) To.AddBound(Name);
}

void TGeoTarvoSurface::AfterListChange() {
    TTarvoReferenceCurves& Curves = FSurface->ReferenceCurves();
    for (int I = 0; I < Curves.Count(); ++I) Curves.Reference(I).Bind();
    // A surface whose curves are not all there yet (a load, an undo) waits for them.
    if (FSurface->ReferenceCurves().Count() == 0) TGeoSurface::AfterListChange();
}

void TGeoTarvoSurface::CreateRenderer() {
    if (GetRenderer() != nullptr) return;
    if (std::unique_ptr<IGLRenderer> Renderer = CreateGLRendererFromSurface(*GetSurface(), Mirrored()))
        SetRenderer(std::move(Renderer));
}

void TGeoTarvoSurface::AddToSurfaceAnalysis(TSurfaceAnalysis& Analysis) {
    Analysis.AddSurface(*static_cast<TBSplineSurface*>(GetSurface()), 1);
}

void TGeoTarvoSurface::DrawConstruction(IGraphics& View) {
    if (FDrawBlends) FSurface->Blends().Draw(View);
    if (FDrawCurves) FSurface->Panels().Curves.Draw(View);
}

void TGeoTarvoSurface::Draw(IGraphics& View) {
    DrawConstruction(View);
    TGeoSurface::Draw(View);
}

void TGeoTarvoSurface::DrawOutline(IGraphics& View) {
    DrawConstruction(View);
    TGeoSurface::DrawOutline(View);
}

std::unique_ptr<TPolygonList> TGeoTarvoSurface::CreatePolygonRepresentation(std::uint8_t Purpose) {
    AnnouncePolygonRepresentation(*this);
    return GetSurface()->CreatePolygonsFor(static_cast<TSamplingPurpose>(Purpose), 1);
}

void TGeoTarvoSurface::Query(TGeometryQuery& Query) {
    AnswerBSplineSurfaceQuery(Query, *GetSurface(), GetName());
}

void TGeoTarvoSurface::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem("Convert to Mesh", [this](TMenuItem&) { ConvertToMeshEntity(); });
    AddMenuItem("Convert to BSpline Surface", [this](TMenuItem&) { ConvertToSurfaceEntity(); });
    AddMenuItem("-", {});
    AddMenuItem("Extract Contours", [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem("Create Polygon Mesh", [this](TMenuItem&) { GeneratePolygonMesh(); });
    AddMenuItem("Create Calculation Sections", [this](TMenuItem&) { CreateCalculationSections(); });
    AddMenuItem("-", {});
    AddConstructionMenuItems();
    AddMenuItem("-", {});
    AddMenuItem("Show Outline", [this](TMenuItem&) { ToggleDrawOutline(); });
    AddMenuItem("Show Parameters", [this](TMenuItem&) { ToggleDrawParameters(); });
    AddMenuItem("Show Contours", [this](TMenuItem&) { SetDrawContours(!DrawContours()); });
    AddAnalysisMenu();
    AddMenuItem("Mirrored", [this](TMenuItem&) { SetMirrored(!Mirrored()); });
    UpdateMenuItems(Root);
}

void TGeoTarvoSurface::AddConstructionMenuItems() {
    AddMenuItem("Show Construction Curves", [this](TMenuItem&) { SetDrawCurves(!FDrawCurves); });
    AddMenuItem("Show Blends", [this](TMenuItem&) { SetDrawBlends(!FDrawBlends); });
}

void TGeoTarvoSurface::UpdateMenuItems(TMenuItem& Root) {
    TGeoSurface::UpdateMenuItems(Root);
    if (TMenuItem* Item = Root.Find("Show Construction Curves")) Item->Checked = FDrawCurves;
    if (TMenuItem* Item = Root.Find("Show Blends")) Item->Checked = FDrawBlends;
    if (TMenuItem* Item = Root.Find("Show Contours")) Item->Checked = DrawContours();
    if (TMenuItem* Item = Root.Find("Mirrored")) Item->Checked = Mirrored();
    if (TMenuItem* Item = Root.Find("Show Parameters")) Item->Checked = GetDrawParameters();
    if (TMenuItem* Item = Root.Find("Show Outline")) Item->Checked = GetDrawOutline();
    if (TMenuItem* Item = Root.Find("Extract Contours")) Item->Enabled = DrawContours();
}

void TGeoTarvoSurface::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetClass().GetKeyword() + "]");
    FSurface->SaveToText(Out);
    for (const auto& [Key, On] : Switches())
        if (On) Out.WriteLine(std::string(Key) + "TRUE");
    WriteCommonKeys(Out, *this, ckColor);
    Out.WriteLine("");
}

std::vector<std::pair<const char*, bool>> TGeoTarvoSurface::Switches() const {
    return {
        {"DrawBlends=", FDrawBlends},      {"DrawCurves=", FDrawCurves},   {"DrawParameters=", GetDrawParameters()},
        {"DrawOutline=", GetDrawOutline()}, {"DrawContours=", DrawContours()}, {"Mirrored=", Mirrored()},
    };
}

void TGeoTarvoSurface::LoadFromText(TTextReader& In) {
    FSurface->LoadFromText(In);
    StoreName(FSurface->Name);
    bool Blends = false, Curves = false, Parameters = false, Outline = false, Contours = false, Mirror = false;
    while (!In.Eof()) {
        const std::string Line = In.ReadLine();
        const std::size_t Eq = Line.find('=');
        if (Eq == std::string::npos) break;
        const std::string Key = UpperCase(Trim(Line.substr(0, Eq)));
        if (Key.empty()) break;
        const std::string Value = Trim(Line.substr(Eq + 1));
        const bool On = UpperCase(Value) == "TRUE";
        if (Key == "DRAWPARAMETERS") Parameters = On;
        else if (Key == "DRAWOUTLINE") Outline = On;
        else if (Key == "DRAWBLENDS") Blends = On;
        else if (Key == "DRAWCURVES") Curves = On;
        else if (Key == "MIRRORED") Mirror = On;
        else if (Key == "DRAWCONTOURS") Contours = On;
        else if (Key == "COLOR") SetColor(StringToColor(Value));
        else LoadSwitch(Key, On);
    }
    FDrawBlends = Blends;
    FDrawCurves = Curves;
    // The outline first: hiding it hides the parameter lines too.
    SetDrawOutline(Outline);
    SetDrawParameters(Parameters);
    SetDrawContours(Contours);
    SetMirrored(Mirror);
}

}  // namespace sarnova
