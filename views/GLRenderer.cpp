#include "views/GLRenderer.h"

#include <QOpenGLContext>

#include <GL/gl.h>

#include <numbers>
#include <string>
#include <typeinfo>

#include "foundation/Console.h"
#include "foundation/GeomFacet.h"
#include "foundation/Polygon.h"
#include "foundation/Smoothing.h"
#include "platform/Screen.h"
#include "surfaces/Surface.h"
#include "surfaces/SurfaceList.h"
#include "platform/qt/OpenGLHelpers.h"
#include "views/OpenGLView.h"

namespace sarnova {

namespace {

// The sampling purpose of shaded rendering.
constexpr TSamplingPurpose spRender = 4;
// Facet lists are smoothed with a crease angle of 45 degrees.
constexpr double RenderCreaseAngle = std::numbers::pi / 4;

TMVector MirrorY(const TMVector& V) { return {V.X, -V.Y, V.Z}; }

// Kept drawings given up while another context was current: a list or buffer can only be deleted
// in its own context, so they go at the next draw there (or with the context).
struct TStaleList {
    QPointer<QOpenGLContext> Context;
    GLuint List;
    TGLIndexedDrawing Buffers;
};
std::vector<TStaleList>& StaleLists() {
    static std::vector<TStaleList> Lists;
    return Lists;
}

void DeleteStaleListsOf(QOpenGLContext* Current) {
    auto& Stale = StaleLists();
    std::erase_if(Stale, [Current](TStaleList& S) {
        if (S.Context.isNull()) return true;
        if (S.Context != Current) return false;
        if (S.List != 0) glDeleteLists(S.List, 1);
        S.Buffers.Release();
        return true;
    });
}

}  // namespace

// ---- TGLBoundaryInstance ----

void TGLBoundaryInstance::Rebuild() {
    Discard();
    Prepare();
}

void TGLBoundaryInstance::Prepare() {
    if (Built) return;
    BuildData();
    Built = true;
    DataChanged();
}

void TGLBoundaryInstance::Discard() {
    if (!Built) return;
    Built = false;
    FreeData();
    DataChanged();
}

void TGLBoundaryInstance::DrawPrepared(IRenderTarget& Target, std::uint8_t& State, bool Mirrored) {
    Prepare();
    Draw(Target, State, Mirrored);
}

void TGLBoundaryInstance::SwitchPrimitive(IRenderTarget& Target, std::uint8_t& State, std::uint8_t Kind) {
    if (State == Kind) return;
    if (State != rsNone) Target.End();
    Target.Begin(Kind == rsTriangles ? TRenderPrimitive::Triangles : TRenderPrimitive::Quads);
    State = Kind;
}

// ---- TGLSurfaceInstance ----

TGLSurfaceInstance::TGLSurfaceInstance(TSurface& ASurface, int ASurfaceCount)
    : Surface(&ASurface), SurfaceCount(ASurfaceCount) {
    Rebuild();
}

void TGLSurfaceInstance::BuildData() {
    Bounds = EmptyBox;
    TDigitisationParameters U, V;
    Surface->SampleParametersFor(spRender, SurfaceCount, U, V);
    NumU = static_cast<int>(U.size());
    NumV = static_cast<int>(V.size());
    Samples.assign(U.size() * V.size(), {});
    if (GConsole)
        GConsole->WriteLine("Generating Render Surface " + std::to_string(NumU) + "x" + std::to_string(NumV) +
                            " with Normals (" + ClassNameOf(typeid(*Surface)) + ")");
    for (int I = 0; I < NumU; ++I)
        for (int J = 0; J < NumV; ++J) {
            const TSurfaceFirstDerivatives D = Surface->EvaluateFirstDerivatives(U[static_cast<std::size_t>(I)], V[static_cast<std::size_t>(J)]);
            // Su x Sv; a degenerate point keeps the zero normal.
            const TMVector Normal = VectorNormalise(VectorCross(VectorNormalise(D.Sv), VectorNormalise(D.Su)));
            Samples[static_cast<std::size_t>(I + J * NumU)] = {D.S, Normal};
            ExtendBoxByVector(D.S, Bounds);
        }
}

void TGLSurfaceInstance::FreeData() { Samples.clear(); }

void TGLSurfaceInstance::Draw(IRenderTarget& Target, std::uint8_t& State, bool Mirrored) {
    if (Samples.size() != static_cast<std::size_t>(NumU) * static_cast<std::size_t>(NumV)) return;
    SwitchPrimitive(Target, State, rsQuads);
    auto Emit = [&Target](const TSample& S) {
        Target.Normal(S.Normal);
        Target.Vertex(S.Point);
    };
    for (int I = 1; I < NumU; ++I)
        for (int J = 1; J < NumV; ++J) {
            Emit(At(I - 1, J - 1));
            Emit(At(I, J - 1));
            Emit(At(I, J));
            Emit(At(I - 1, J));
        }
    if (!Mirrored) return;
    // The reflection turns the winding over; the reversed order keeps the copy facing outwards.
    auto EmitMirrored = [&Target](const TSample& S) {
        Target.Normal(MirrorY(S.Normal));
        Target.Vertex(MirrorY(S.Point));
    };
    for (int I = 1; I < NumU; ++I)
        for (int J = 1; J < NumV; ++J) {
            EmitMirrored(At(I - 1, J - 1));
            EmitMirrored(At(I - 1, J));
            EmitMirrored(At(I, J));
            EmitMirrored(At(I, J - 1));
        }
}

// ---- TGLPolygonInstance ----

TGLPolygonInstance::TGLPolygonInstance(const TPolygonList& ASource, bool ASmooth)
    : Bounds(ASource.Extents()), Source(&ASource), Smooth(ASmooth) {}

TGLPolygonInstance::~TGLPolygonInstance() = default;

void TGLPolygonInstance::BuildData() {
    const THourGlassCursor Busy;
    auto Copy = std::make_unique<TPolygonList>();
    Copy->Assign(*Source);
    Copy->Triangulate();
    if (Smooth) SmoothPolygonNormals(*Copy, RenderCreaseAngle);
    Working = std::move(Copy);
}

void TGLPolygonInstance::FreeData() { Working.reset(); }

void TGLPolygonInstance::Draw(IRenderTarget& Target, std::uint8_t& State, bool Mirrored) {
    if (!Working) return;
    SwitchPrimitive(Target, State, rsTriangles);
    // Corners in the order given, each with its vertex normal when the facet has all three, else the
    // facet normal once.
    auto EmitFacet = [&](const TFacetRef& F, const int (&Order)[3], TMVector (*Map)(const TMVector&)) {
        if (PolygonHasNormals(F)) {
            for (int I : Order) {
                Target.Normal(Map(*F.Normal(I)));
                Target.Vertex(Map(PolygonCornerOrOrigin(F, I).Vector()));
            }
        } else {
            Target.Normal(Map(PolygonNormal(F)));
            for (int I : Order) Target.Vertex(Map(PolygonCornerOrOrigin(F, I).Vector()));
        }
    };
    static const int Forward[3] = {0, 1, 2};
    // The reflection turns the winding over: reversed, the copy faces the way its normals point, as
    // two-sided lighting needs to light it from the front.
    static const int Reversed[3] = {0, 2, 1};
    auto Same = [](const TMVector& V) { return V; };
    for (int K = 0; K < Working->Count(); ++K) EmitFacet(Working->Polygon(K), Forward, Same);
    if (!Mirrored) return;
    for (int K = 0; K < Working->Count(); ++K) EmitFacet(Working->Polygon(K), Reversed, MirrorY);
}

// ---- TGLMeshInstance ----

TGLMeshInstance::TGLMeshInstance(TMesh& AMesh) : Bounds(AMesh.GetExtents()), Mesh(&AMesh) {}

void TGLMeshInstance::Draw(IRenderTarget& Target, std::uint8_t& State, bool Mirrored) {
    SwitchPrimitive(Target, State, rsQuads);
    const TMesh& Grid = *Mesh;
    auto Cell = [&Target](const TMVector& A, const TMVector& B, const TMVector& C, const TMVector& D) {
        const TMVector D1 = VectorNormalise(VectorFromTo(A, C));
        const TMVector D2 = VectorNormalise(VectorFromTo(B, D));
        // D1 x D2; a degenerate cell keeps the zero normal.
        Target.Normal(VectorNormalise(VectorCross(D2, D1)));
        Target.Vertex(A);
        Target.Vertex(B);
        Target.Vertex(C);
        Target.Vertex(D);
    };
    // The mirrored pass works the normal out from the mirrored points, which keeps it facing the way
    // the mirrored cell winds.
    for (int Pass = 0; Pass < (Mirrored ? 2 : 1); ++Pass) {
        auto P = [&Grid, Pass](int I, int J) {
            const TMVector V = Grid.Point(I, J).Vector();
            return Pass == 0 ? V : MirrorY(V);
        };
        for (int I = 1; I < Grid.NumU(); ++I)
            for (int J = 1; J < Grid.NumV(); ++J) Cell(P(I - 1, J - 1), P(I - 1, J), P(I, J), P(I, J - 1));
    }
}

// ---- TGLRenderer ----

TGLRenderer::TGLRenderer(bool AMirrored) : Mirrored(AMirrored) {}

TGLRenderer::~TGLRenderer() {
    DropLists();
    DiscardInstances();
    ClearInstances();
}

void TGLRenderer::AddInstance(std::unique_ptr<TGLBoundaryInstance> Instance) {
    if (!Instance) return;
    DropLists();
    Instances.push_back(std::move(Instance));
}

void TGLRenderer::AddSurface(TSurface& Surface, int Count) {
    // Only the plain grid is drawn from its points: a derived class is a surface of its own.
    if (typeid(Surface) == typeid(TMesh))
        AddInstance(std::make_unique<TGLMeshInstance>(static_cast<TMesh&>(Surface)));
    else
        AddInstance(std::make_unique<TGLSurfaceInstance>(Surface, Count));
}

void TGLRenderer::AddSurfaces(const TSurfaces& Surfaces) {
    for (int I = 0; I < Surfaces.Count(); ++I) AddSurface(*Surfaces.Surface(I), Surfaces.Count());
}

void TGLRenderer::AddPolygons(const TPolygonList& List, bool Smooth) {
    AddInstance(std::make_unique<TGLPolygonInstance>(List, Smooth));
}

void TGLRenderer::ClearInstances() {
    DropLists();
    Instances.clear();
}

void TGLRenderer::SetMirrored(bool Value) {
    if (Value == Mirrored) return;
    Mirrored = Value;
    Rebuild();
}

void TGLRenderer::Rebuild() {
    DropLists();
    DiscardInstances();
    UpdateBounds();
}

void TGLRenderer::SetMaterial(TColor ADiffuse, TColor ASpecular, double AShininess) {
    HasMaterial = true;
    Diffuse = ADiffuse;
    Specular = ASpecular;
    Shininess = AShininess;
}

void TGLRenderer::DropLists() {
    QOpenGLContext* Current = QOpenGLContext::currentContext();
    for (TContextList& L : Lists) {
        if (L.Context.isNull()) continue;
        if (L.Context == Current) {
            if (L.List != 0) glDeleteLists(L.List, 1);
            L.Buffers.Release();
        } else {
            StaleLists().push_back({L.Context, L.List, std::move(L.Buffers)});
        }
    }
    Lists.clear();
}

std::uint64_t TGLRenderer::InstancesRevision() const {
    std::uint64_t Sum = 0;
    for (const auto& Instance : Instances) Sum += Instance->GetRevision();
    return Sum;
}

const TGLRenderer::TContextList* TGLRenderer::CurrentDrawing(IRenderTarget& Target) {
    QOpenGLContext* Current = QOpenGLContext::currentContext();
    if (Current == nullptr) return nullptr;
    DeleteStaleListsOf(Current);
    // Revisions only grow, so an equal sum means no instance changed.
    if (InstancesRevision() != ListsRevision) DropLists();
    // A drawing of a context that is gone went with it.
    std::erase_if(Lists, [](const TContextList& L) { return L.Context.isNull(); });
    for (const TContextList& L : Lists)
        if (L.Context == Current) return &L;
    // Lists do not nest: inside someone else's list the primitives go into that list directly.
    GLint Compiling = 0;
    glGetIntegerv(GL_LIST_INDEX, &Compiling);
    if (Compiling != 0) return nullptr;
    TContextList Kept;
    Kept.Context = Current;
    if (!KeepInstances(Target, Kept)) return nullptr;
    // Drawing prepares instances not built yet, which counts as a change of theirs.
    if (Lists.empty()) ListsRevision = InstancesRevision();
    Lists.push_back(std::move(Kept));
    return &Lists.back();
}

bool TGLRenderer::KeepInstances(IRenderTarget& Target, TContextList& Kept) {
    if (TGLIndexedDrawing::Available()) {
        TGLIndexedBuilder Built(Target);
        DrawInstances(Built);
        if (Built.FitsBuffers() && Kept.Buffers.Keep(Built)) return true;
    }
    const GLuint List = glGenLists(1);
    if (List == 0) return false;
    glNewList(List, GL_COMPILE);
    try {
        DrawInstances(Target);
    } catch (...) {
        glEndList();
        glDeleteLists(List, 1);
        throw;
    }
    glEndList();
    Kept.List = List;
    return true;
}

void TGLRenderer::DiscardInstances() {
    for (const auto& Instance : Instances) Instance->Discard();
}

void TGLRenderer::UpdateBounds() {
    Bounds = EmptyBox;
    for (const auto& Instance : Instances) {
        Instance->Prepare();
        Bounds = UniteBoxes(Bounds, Instance->GetBounds());
    }
    if (Mirrored) Bounds = CopyBoxSymmetricY(Bounds);
}

void TGLRenderer::Render(IGraphics& View) {
    if (Rendering) return;
    IRenderTarget* Target = RenderTargetOf(View);
    if (Target == nullptr) return;
    Rendering = true;
    try {
        if (HasMaterial && QOpenGLContext::currentContext() != nullptr)
            SetGLMaterial(Diffuse, Specular, static_cast<float>(Shininess));
        const TContextList* Kept = dynamic_cast<TOpenGLView*>(Target) != nullptr ? CurrentDrawing(*Target) : nullptr;
        if (Kept == nullptr)
            DrawInstances(*Target);
        else if (Kept->List != 0)
            glCallList(Kept->List);
        else
            Kept->Buffers.Draw();
    } catch (...) {
        Rendering = false;
        throw;
    }
    Rendering = false;
}

void TGLRenderer::DrawInstances(IRenderTarget& Target) {
    std::uint8_t State = rsNone;
    try {
        for (const auto& Instance : Instances) Instance->DrawPrepared(Target, State, Mirrored);
    } catch (...) {
        // The view carries on drawing after the error is reported: leave no primitive open.
        if (State != rsNone) Target.End();
        throw;
    }
    if (State != rsNone) Target.End();
}

void InstallGLRenderer() {
    RegisterGLRenderer([](bool Mirrored) -> std::unique_ptr<IGLRenderer> { return std::make_unique<TGLRenderer>(Mirrored); });
}

}  // namespace sarnova
