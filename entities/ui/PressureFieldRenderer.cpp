#include "entities/ui/PressureFieldRenderer.h"

#include <QOpenGLContext>

#include <GL/gl.h>

#include "foundation/GeomFacet.h"
#include "platform/Screen.h"
#include "platform/qt/OpenGLHelpers.h"

namespace sarnova {

namespace {

TMVector Negated(const TMVector& V) { return {-V.X, -V.Y, -V.Z}; }

// Lighting off for the block, and the lighting state, the material and the current colour as they
// were afterwards; nothing without an OpenGL context (recording targets).
class TUnlit {
public:
    TUnlit() : Active(QOpenGLContext::currentContext() != nullptr) {
        if (!Active) return;
        glPushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_CURRENT_BIT);
        glDisable(GL_LIGHTING);
    }
    ~TUnlit() {
        if (Active) glPopAttrib();
    }
    TUnlit(const TUnlit&) = delete;
    TUnlit& operator=(const TUnlit&) = delete;
    bool Active;
};

}  // namespace

TGLPressureFieldRenderer::TGLPressureFieldRenderer(TPressureField& ASource) : Source(&ASource) {}

TGLPressureFieldRenderer::~TGLPressureFieldRenderer() = default;

void TGLPressureFieldRenderer::BuildData() {
    const THourGlassCursor Busy;
    auto W = std::make_unique<TPressureField>();
    W->Assign(*Source);
    W->SplitQuads();
    auto R = std::make_unique<TPressureField>();
    R->Assign(*W);
    Bounds = R->Extents();
    Working = std::move(W);
    RenderCopy = std::move(R);
}

void TGLPressureFieldRenderer::FreeData() {
    Working.reset();
    RenderCopy.reset();
}

void TGLPressureFieldRenderer::SetColourRange(double Minimum, double Maximum) {
    if (Working) Working->SetColourRange(Minimum, Maximum);
    if (RenderCopy) RenderCopy->SetColourRange(Minimum, Maximum);
    DataChanged();
}

void TGLPressureFieldRenderer::Draw(IRenderTarget& Target, std::uint8_t& State, bool Mirrored) {
    if (State != rsNone) Target.End();
    State = rsNone;
    if (!RenderCopy) return;
    const TUnlit Unlit;
    Target.Begin(TRenderPrimitive::Triangles);
    const auto Emit = [&](const TFacetRef& F, bool Mirror) {
        const auto Point = [Mirror](const TMVector& V) { return Mirror ? TMVector{V.X, -V.Y, V.Z} : V; };
        // The normal negated; mirrored, its reflection negated.
        const auto Normal = [Mirror](const TMVector& N) { return Mirror ? TMVector{-N.X, N.Y, -N.Z} : Negated(N); };
        const std::array<float, 4> C = ColorToGLColor(F.GetColor(), 1.0f);
        if (Unlit.Active) glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, C.data());
        Target.Color(C[0], C[1], C[2]);
        if (PolygonHasNormals(F)) {
            for (int I = 0; I < 3; ++I) {
                Target.Normal(Normal(*F.Normal(I)));
                Target.Vertex(Point(PolygonCornerOrOrigin(F, I).Vector()));
            }
        } else {
            Target.Normal(Normal(PolygonNormal(F)));
            for (int I = 0; I < 3; ++I) Target.Vertex(Point(PolygonCornerOrOrigin(F, I).Vector()));
        }
    };
    for (int K = 0; K < RenderCopy->Count(); ++K) Emit(RenderCopy->Polygon(K), false);
    if (Mirrored)
        for (int K = 0; K < RenderCopy->Count(); ++K) Emit(RenderCopy->Polygon(K), true);
    Target.End();
}

void InstallPressureFieldRenderer() {
    PressureFieldRendererCreator() = [](TPressureField& Field, bool Mirrored) {
        auto Renderer = std::make_unique<TGLRenderer>(Mirrored);
        auto Instance = std::make_unique<TGLPressureFieldRenderer>(Field);
        TPressureFieldRendering Made;
        Made.Instance = Instance.get();
        Renderer->AddInstance(std::move(Instance));
        Made.Renderer = std::move(Renderer);
        return Made;
    };
}

}  // namespace sarnova
