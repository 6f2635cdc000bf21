#include "entities/GNPatch.h"

#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GeometryList.h"
#include "document/GeometryQuery.h"
#include "entities/GConversions.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/TextFile.h"
#include "platform/Menu.h"
#include "surfaces/GregoryNPatch.h"
#include "surfaces/LSqrsNPatch.h"
#include "surfaces/NPatch.h"
#include "surfaces/NPatchFootprint.h"

namespace sarnova {

namespace {

constexpr const char* PolygonMeshCaption = "Generate Polygon Mesh";
constexpr const char* ToMeshCaption = "Convert to Mesh";
constexpr const char* ContoursCaption = "Extract Contours";
constexpr const char* ParametersCaption = "Show Parameters";
constexpr const char* ShowContoursCaption = "Show Contours";
constexpr const char* MirroredCaption = "Show Mirrored";

struct TTechniqueName {
    const char* Name;
    const char* Caption;
};
constexpr TTechniqueName TechniqueNames[] = {{"ptGregory", "Gregory N-Sided"},
                                             {"ptWeightedG0", "G0 Weighted Least-Squares"},
                                             {"ptWeightedG1", "G1 Weighted Least-Squares"},
                                             {"ptSubdivision", "Subdivision (Brennick)"}};

// The patch object of a technique; nullptr for subdivision, which has none.
std::unique_ptr<TNPatch> NewPatch(TNPatchTechnique Technique) {
    switch (Technique) {
        case ptGregory: return std::make_unique<TGregoryNPatch>();
        case ptWeightedG0:
        case ptWeightedG1: {
            auto Patch = std::make_unique<TLeastSquaresNPatch>();
            Patch->TangentContinuity = Technique == ptWeightedG1 ? 1 : 0;
            return Patch;
        }
        default: return nullptr;
    }
}

}  // namespace

std::string PatchTypeToText(TNPatchTechnique Technique) {
    return Technique <= ptSubdivision ? TechniqueNames[Technique].Name : TechniqueNames[0].Name;
}

TNPatchTechnique TextToPatchType(const std::string& Text) {
    const std::string Upper = UpperCase(Text);
    for (TNPatchTechnique T = ptGregory; T <= ptSubdivision; ++T)
        if (Upper.find(UpperCase(TechniqueNames[T].Name)) != std::string::npos) return T;
    return ptGregory;
}

std::string PatchTypeCaption(TNPatchTechnique Technique) {
    return Technique <= ptSubdivision ? TechniqueNames[Technique].Caption : TechniqueNames[0].Caption;
}

TGeoNPatch::TGeoNPatch() : FPatch(NewPatch(ptGregory)) {}

TGeoNPatch::~TGeoNPatch() {
    FCurves.Clear();
    FPatch.reset();
}

bool TGeoNPatch::CanMakePatch(TGeometryList& List) {
    TBSplines Curves;
    for (TGeoBSpline* Curve : SelectedBSplines(List)) Curves.Add(&Curve->Spline());
    return Curves.Count() > 0 && NPatchCurvesClosed(Curves);
}

void TGeoNPatch::AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
    if (CanMakePatch(List)) {
        if (Menu.Count() > 0) Menu.Add("-");
        Menu.Add(NewGMenuItem("N-Sided Patch", &List, [](TMenuItem& Sender) {
            if (TGeometryList* Document = GeometryListOf(Sender))
                MakeFromSelection(*Document, std::make_unique<TGeoNPatch>());
        }));
    }
    AddSurfaceSelectionItems(GeometryClassOf<TGeoNPatch>(), Menu, List);
}

void TGeoNPatch::SetPatchType(TNPatchTechnique Value) {
    if (Value > ptSubdivision || Value == Technique) return;
    FValid = false;
    FPatch = NewPatch(Value);
    if (FPatch) FPatch->SetDetectChanges(true);
    Technique = Value;
    MarkChanged();
}

void TGeoNPatch::ChoosePatchType(TNPatchTechnique Value) {
    if (Value > ptSubdivision || Value == Technique) return;
    BeginChange();
    Undraw();
    SetPatchType(Value);
    Redraw();
}

TDataObject TGeoNPatch::GetDataObject() { return FValid ? TDataObject::Of(FPatch.get()) : TDataObject{}; }

void TGeoNPatch::AddMenuItems(TMenuItem& Root) {
    AddMenuItem("-", {});
    AddMenuItem(PolygonMeshCaption, [this](TMenuItem&) { GeneratePolygonMesh(); });
    // What a mesh of the patch would be is not settled: the item stays disabled.
    AddMenuItem(ToMeshCaption, {});
    AddMenuItem(ContoursCaption, [this](TMenuItem&) { ExtractContours(); });
    AddMenuItem("-", {});
    AddMenuItem(ParametersCaption, [this](TMenuItem&) { MenuToggleDrawParameters(); });
    AddMenuItem(ShowContoursCaption, [this](TMenuItem&) { MenuToggleDrawContours(); });
    AddMenuItem(MirroredCaption, [this](TMenuItem&) { SetMirrored(!Mirrored()); });
    UpdateMenuItems(Root);
}

void TGeoNPatch::UpdateMenuItems(TMenuItem& Root) {
    TGeoSurface::UpdateMenuItems(Root);
    if (TMenuItem* Item = Root.Find(ToMeshCaption)) Item->Enabled = false;
    if (TMenuItem* Item = Root.Find(ParametersCaption)) Item->Checked = GetDrawParameters();
    if (TMenuItem* Item = Root.Find(ShowContoursCaption)) Item->Checked = DrawContours();
    if (TMenuItem* Item = Root.Find(MirroredCaption)) Item->Checked = Mirrored();
}

void TGeoNPatch::ForgetCurves() {
    if (FPatch) FPatch->Clear();
    FValid = false;
}

void TGeoNPatch::Recalculate() {
    const std::vector<TGeoBSpline*> Entities = CurveEntities();
    CurvesMissing = Entities.empty();
    FValid = false;
    if (!FPatch || Entities.empty()) {
        ForgetCurves();
    } else {
        bool Same = FPatch->Edges().Count() == static_cast<int>(Entities.size());
        for (int I = 0; Same && I < FPatch->Edges().Count(); ++I)
            Same = FPatch->Edges().Items(I)->Curve() == &Entities[static_cast<std::size_t>(I)]->Spline();
        try {
            if (!Same) {
                TBSplines Curves;
                for (TGeoBSpline* Entity : Entities) Curves.Add(&Entity->Spline());
                Regenerating = true;
                FPatch->SetBoundaryCurves(Curves);
                Regenerating = false;
            } else if (FPatch->IsClosed()) {
                bool Changed = false;
                RegenerateMovingCurves(Entities, FPatch->CurvesToJoin(), [&] { Changed = FPatch->Update(); });
                if (Changed) InvalidateCurves();
            }
            auto* Footprint = dynamic_cast<TFootprintNPatch*>(FPatch.get());
            FValid = FPatch->IsClosed() && (Footprint == nullptr || Footprint->FootprintValid());
        } catch (const std::exception& Error) {
            Regenerating = false;
            if (GConsole) GConsole->WriteLine(Error.what());
        }
    }
    InvalidateViews();
    TGeoCurveLoopSurface::Recalculate();
}

void TGeoNPatch::AddParameterLines(TPolylineList& List) {
    if (!FValid) return;
    if (auto* Footprint = dynamic_cast<TFootprintNPatch*>(FPatch.get())) Footprint->SectorGridDensity = GetNumULine();
    FPatch->AddParameterLines(List);
}

IGeometryFrame* TGeoNPatch::CreateFrame(void* Owner) {
    if (IGeometryFrame* Frame = CreateGeometryFrame(NPatchFrameName, *this, Owner)) return Frame;
    return TGeoCurveLoopSurface::CreateFrame(Owner);
}

void TGeoNPatch::Assign(const TGeometry& Source) {
    TGeoCurveLoopSurface::Assign(Source);
    const auto* Other = dynamic_cast<const TGeoNPatch*>(&Source);
    if (Other == nullptr) return;
    AssignCurves(*Other);
    SetPatchType(Other->Technique);
}

void TGeoNPatch::SaveToText(TTextWriter& Out) {
    Out.WriteLine("[" + GetKeyword() + "]");
    Out.WriteLine("PatchType=" + PatchTypeToText(Technique));
    SaveCurves(Out);
    WriteSurfaceBlockKeys(Out, *this, false);
    Out.WriteLine("");
}

void TGeoNPatch::LoadFromText(TTextReader& In) {
    SetPatchType(TextToPatchType(In.ReadLine()));
    LoadCurves(In);
    ReadSurfaceBlockKeys(In, *this);
}

std::unique_ptr<TPolygonList> TGeoNPatch::CreatePolygonRepresentation(std::uint8_t) {
    AnnouncePolygonRepresentation(*this);
    return FValid ? FPatch->CreatePolygons() : nullptr;
}

}  // namespace sarnova
