#include "document/ShadedRenderer.h"

namespace sarnova {

namespace {

TGLRendererCreator& RegisteredCreator() {
    static TGLRendererCreator Creator;
    return Creator;
}

}  // namespace

void RegisterGLRenderer(TGLRendererCreator Creator) { RegisteredCreator() = std::move(Creator); }

std::unique_ptr<IGLRenderer> CreateGLRenderer(bool Mirrored) {
    const TGLRendererCreator& Creator = RegisteredCreator();
    return Creator ? Creator(Mirrored) : nullptr;
}

std::unique_ptr<IGLRenderer> CreateGLRendererFromSurface(TSurface& Surface, bool Mirrored) {
    auto Renderer = CreateGLRenderer(Mirrored);
    if (Renderer) Renderer->AddSurface(Surface, 1);
    return Renderer;
}

std::unique_ptr<IGLRenderer> CreateGLRendererFromPolygons(const TPolygonList& List, bool Smooth, bool Mirrored) {
    auto Renderer = CreateGLRenderer(Mirrored);
    if (Renderer) Renderer->AddPolygons(List, Smooth);
    return Renderer;
}

std::unique_ptr<IGLRenderer> CreateGLRendererFromSurfaces(const TSurfaces& Surfaces, bool Mirrored) {
    auto Renderer = CreateGLRenderer(Mirrored);
    if (Renderer) Renderer->AddSurfaces(Surfaces);
    return Renderer;
}

}  // namespace sarnova
