#include "curvenet/XTPatchFace.h"

#include <utility>
#include <vector>

#include "curvenet/XTBezierCoonsPatch.h"
#include "curvenet/XTCoonsBrownPatch.h"
#include "curvenet/XTCoonsGregoryPatch.h"
#include "curvenet/XTCoonsPatch.h"
#include "curvenet/XTCurve.h"
#include "curvenet/XTEdges.h"
#include "curvenet/XTGregoryPatch.h"
#include "curvenet/XTPatchEdge.h"
#include "curvenet/XTSubDivisionPatch.h"
#include "foundation/Graphics.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "surfaces/BSurface.h"
#include "surfaces/Gregory.h"
#include "surfaces/GregoryNPatch.h"
#include "surfaces/LSqrsNPatch.h"

namespace sarnova {

namespace {

// Moves every polygon of From to the end of To, in their order.
void AppendPolygons(TPolygonList& To, std::unique_ptr<TPolygonList> From) {
    if (From == nullptr) return;
    From->MoveFacetsTo(std::vector<bool>(static_cast<std::size_t>(From->Count()), true), To);
}

// Moves every polyline of From to the end of To, in their order.
void AppendPolylines(TPolylineList& To, TPolylineList& From) {
    std::vector<std::unique_ptr<TPolyline>> Taken;
    while (From.Count() > 0) Taken.push_back(From.Remove(From.Items(From.Count() - 1)));
    for (auto It = Taken.rbegin(); It != Taken.rend(); ++It) To.Add(std::move(*It));
}

}  // namespace

TXTPatchFace::TXTPatchFace(TManifold* AManifold) : TFace(AManifold), FPatchEdges(std::make_unique<TXTPatchEdges>()) {}

TXTPatchFace::~TXTPatchFace() {
    // The Coons-Brown and Coons-Gregory surfaces read the patch edges: they go first.
    FreePatches();
    FPatchEdges.reset();
}

void TXTPatchFace::FreePatches() {
    FSurface.reset();
    FNPatch.reset();
    FPolygons.reset();
    FSubdivisionPatch.reset();
}

bool TXTPatchFace::IsExterior() const {
    if (Exterior != 0) return true;
    if (FirstFin() == nullptr) return false;
    auto It = FinIterator();
    while (It->MoveNext()) {
        const auto* E = dynamic_cast<const TXTEdge*>(It->Current()->GetEdge());
        if (E == nullptr || E->Curve == nullptr || (E->Curve->Options() & coSurfaceBoundary) == 0) return false;
    }
    return true;
}

bool TXTPatchFace::HasForeignFin() const {
    auto It = FinIterator();
    while (It->MoveNext())
        if (dynamic_cast<TXTFin*>(It->Current()) == nullptr) return true;
    return false;
}

void TXTPatchFace::BuildPatch(const TXTSurfaceOptions& Options, const TXTReportRoutine&, TXTSurface&) {
    FreePatches();
    const TXTPatchType Type = Options.PatchType;
    if (Type <= sptCoonsGregory) {
        const int N = FinCount();
        if (N < 2 || N > 4) return;
        FPatchEdges->Build(*this, Options);
        switch (Type) {
            case sptLinearCoonsBezier:
            case sptCubicCoonsBezier:
                FSurface = BuildBezierCoonsPatch(*FPatchEdges, Type == sptCubicCoonsBezier);
                break;
            case sptCoons:
                FSurface = BuildCoonsPatch(*FPatchEdges);
                break;
            case sptGregory:
                FSurface = BuildGregoryPatch(*FPatchEdges);
                break;
            case sptCoonsBrown:
                FSurface = std::make_unique<TXTCoonsBrownPatch>(*FPatchEdges);
                break;
            default:
                FSurface = std::make_unique<TXTCoonsGregoryPatch>(*FPatchEdges);
                break;
        }
        return;
    }
    switch (Type) {
        case sptSubdivision:
            FSubdivisionPatch = std::make_unique<TXTSubDivisionPatch>(this);
            FSubdivisionPatch->Levels = Options.SubdivisionIterations;
            FSubdivisionPatch->Generate();
            FPolygons = FSubdivisionPatch->CreatePolygons();
            break;
        case sptLSqrsNPatch_C0:
            BuildNPatch(BuildLeastSquaresC0());
            break;
        case sptLSqrsNPatch_C1:
            BuildNPatch(BuildLeastSquaresC1());
            break;
        case sptGregoryNPatch:
            BuildNPatch(BuildGregoryNPatch());
            break;
        default:
            break;
    }
}

void TXTPatchFace::BuildNPatch(std::unique_ptr<TFootprintNPatch> Patch) {
    if (Patch == nullptr) return;
    FNPatch = std::move(Patch);
    FPolygons = FNPatch->CreatePolygons();
}

void TXTPatchFace::FillNPatch(TFootprintNPatch& Patch, bool Ribbons) {
    auto It = FinIterator();
    while (It->MoveNext()) {
        auto* F = static_cast<TXTFin*>(It->Current());
        auto* E = static_cast<TXTEdge*>(F->GetEdge());
        Patch.AddBoundaryCurve(&E->GetSpline().Spline(), Ribbons ? &F->Ribbon().Spline() : nullptr);
    }
}

std::unique_ptr<TFootprintNPatch> TXTPatchFace::BuildLeastSquaresC0() {
    if (HasForeignFin()) return nullptr;
    auto Patch = std::make_unique<TLeastSquaresNPatch>();
    FillNPatch(*Patch, false);
    Patch->TangentContinuity = 0;
    // The outline projected on its plane, not the regular polygon: with plain distance weights the
    // far sides pull at a corner to first order, and on a regular polygon a sharp corner of a curved
    // face (a 30 degree corner on a square's 90) then folds the patch.
    Patch->FootprintType = 2;
    Patch->Update();
    return Patch;
}

std::unique_ptr<TFootprintNPatch> TXTPatchFace::BuildLeastSquaresC1() {
    if (HasForeignFin()) return nullptr;
    auto Patch = std::make_unique<TLeastSquaresNPatch>();
    FillNPatch(*Patch, true);
    Patch->TangentContinuity = 1;
    Patch->FootprintType = 2;
    Patch->Update();
    return Patch;
}

std::unique_ptr<TFootprintNPatch> TXTPatchFace::BuildGregoryNPatch() {
    if (HasForeignFin()) return nullptr;
    auto Patch = std::make_unique<TGregoryNPatch>();
    FillNPatch(*Patch, true);
    Patch->FootprintType = 0;
    Patch->Update();
    return Patch;
}

void TXTPatchFace::Draw(IGraphics& Graphics) {
    if (FSurface != nullptr || FNPatch != nullptr || FSubdivisionPatch != nullptr)
        DrawPatch(Graphics);
    else
        TFace::Draw(Graphics);
}

void TXTPatchFace::DrawPatch(IGraphics& Graphics) {
    if (FSurface != nullptr)
        FSurface->Draw(Graphics);
    else if (FNPatch != nullptr)
        FNPatch->Draw(Graphics);
    else if (FSubdivisionPatch != nullptr)
        FSubdivisionPatch->Draw(Graphics);
}

void TXTPatchFace::DrawWithOptions(IGraphics& G, std::uint16_t Options, double Scale) {
    const auto Has = [Options](TXTSurfaceDrawOption O) { return ((Options >> O) & 1u) != 0; };
    if (Has(sdoSurfaces)) DrawPatch(G);
    if (Has(sdoSurfacePolygons) && FSurface != nullptr) FSurface->DrawControlNet(G);
    if (Has(sdoSurfaceNormals)) DrawBoundaryNormals(G, Scale);
    if (Has(sdoLocalFacePolygons)) DrawInset(G);
    if (Has(sdoLocalEdges)) {
        if (FNPatch != nullptr)
            FNPatch->DrawBoundary(G);
        else
            FPatchEdges->DrawCurves(G);
    }
    if (Has(sdoLocalEdgeTangents)) {
        if (FNPatch != nullptr)
            FNPatch->DrawCrossTangents(G, Scale);
        else
            FPatchEdges->DrawRibbons(G, Scale);
    }
    if (Has(sdoLocalEdgeDerivatives)) {
        if (FNPatch != nullptr)
            FNPatch->DrawCrossDerivatives(G);
        else
            FPatchEdges->DrawCrossDerivatives(G);
    }
    if (Has(sdoLocalEdgeNormals)) FPatchEdges->DrawNormals(G, Scale);
}

void TXTPatchFace::DrawBoundaryNormals(IGraphics& G, double Scale) {
    if (FSurface == nullptr) return;
    TDigitisationParameters Us, Vs;
    FSurface->SampleParameters(100, 100, Us, Vs);
    const auto Run = [&](bool AlongV, double Fixed, const TDigitisationParameters& Params) {
        TMVector Previous;
        for (std::size_t I = 0; I < Params.size(); ++I) {
            const TSurfaceDerivatives D =
                AlongV ? FSurface->EvaluateDerivatives(Fixed, Params[I]) : FSurface->EvaluateDerivatives(Params[I], Fixed);
            const TMVector N = VectorNormalise(VectorCross(D.Sv, D.Su));
            const TMVector Tip = VectorAdd(D.S, VectorScale(N, Scale));
            G.LineVectors(D.S, Tip);
            if (I > 0) G.LineVectors(Previous, Tip);
            Previous = Tip;
        }
    };
    Run(true, FSurface->MinU(), Vs);
    Run(true, FSurface->MaxU(), Vs);
    Run(false, FSurface->MinV(), Us);
    Run(false, FSurface->MaxV(), Us);
}

void TXTPatchFace::AddParameterLines(TPolylineList& List, int SurfaceCount) {
    if (FSurface != nullptr) {
        FSurface->AddParameterLines(List, 0, SurfaceCount);
    } else if (FNPatch != nullptr) {
        // The N-patch starts its list afresh; the lines of the faces before this one must stay.
        TPolylineList Lines;
        FNPatch->AddParameterLines(Lines);
        AppendPolylines(List, Lines);
    } else if (FSubdivisionPatch != nullptr) {
        FSubdivisionPatch->AddEdgeLines(List);
    }
}

void TXTPatchFace::AddPolygons(TPolygonList& List, std::uint8_t Purpose) {
    if (FSurface != nullptr)
        AppendPolygons(List, FSurface->CreatePolygonsFor(Purpose, 1));
    else if (FNPatch != nullptr)
        AppendPolygons(List, FNPatch->CreatePolygons());
    else if (FSubdivisionPatch != nullptr)
        AppendPolygons(List, FSubdivisionPatch->CreatePolygons());
}

void TXTPatchFace::Assign(const TFace& Source) {
    TFace::Assign(Source);
    const auto* Other = dynamic_cast<const TXTPatchFace*>(&Source);
    if (Other == nullptr) return;
    FreePatches();
    FPatchEdges->Assign(*Other->FPatchEdges);
    if (const auto* B = dynamic_cast<const TBSplineSurface*>(Other->FSurface.get()))
        FSurface = CloneBSplineSurface(*B);
    else if (const auto* Gr = dynamic_cast<const TGregorySurface*>(Other->FSurface.get()))
        FSurface = CloneGregorySurface(*Gr);
    else if (dynamic_cast<const TXTCoonsBrownPatch*>(Other->FSurface.get()) != nullptr)
        FSurface = std::make_unique<TXTCoonsBrownPatch>(*FPatchEdges);
    else if (dynamic_cast<const TXTCoonsGregoryPatch*>(Other->FSurface.get()) != nullptr)
        FSurface = std::make_unique<TXTCoonsGregoryPatch>(*FPatchEdges);
    if (Other->FPolygons != nullptr) FPolygons = Other->FPolygons->Clone();
    if (Other->FSubdivisionPatch != nullptr) {
        FSubdivisionPatch = std::make_unique<TXTSubDivisionPatch>(this);
        FSubdivisionPatch->Levels = Other->FSubdivisionPatch->Levels;
        FSubdivisionPatch->Generate();
    }
}

TXTPatchFace* TXTPatchFaces::Face(int Index) const { return dynamic_cast<TXTPatchFace*>(TFaces::Face(Index)); }

}  // namespace sarnova
