#include "entities/ui/ImagePlaneGL.h"

#include <QApplication>
#include <QOpenGLContext>

#include <GL/gl.h>

#include <algorithm>

#include "entities/ui/ImageFrame.h"
#include "entities/ui/ScaleImagePlaneForm.h"
#include "platform/qt/OpenGLHelpers.h"

namespace sarnova {

TImagePlanePainter::TImagePlanePainter() = default;

TImagePlanePainter::~TImagePlanePainter() {
    QOpenGLContext* Current = QOpenGLContext::currentContext();
    QSurface* CurrentSurface = Current != nullptr ? Current->surface() : nullptr;
    for (TSlot& S : Slots) {
        if (S.Context == nullptr) {
            // The context went, and its textures with it.
            S.Texture->Abandon();
            continue;
        }
        // Textures are deleted in the context that holds them, which is then left as it was.
        if (S.Context != Current && (S.Context->surface() == nullptr || !S.Context->makeCurrent(S.Context->surface()))) {
            S.Texture->Abandon();
            continue;
        }
        S.Texture->Release();
        if (S.Context != Current) {
            if (Current != nullptr && CurrentSurface != nullptr)
                Current->makeCurrent(CurrentSurface);
            else
                S.Context->doneCurrent();
        }
    }
}

void TImagePlanePainter::ImageChanged() {
    for (TSlot& S : Slots) S.Stale = true;
}

TImagePlanePainter::TSlot& TImagePlanePainter::CurrentSlot() {
    QOpenGLContext* Current = QOpenGLContext::currentContext();
    // Slots of contexts that are gone: their textures went with them.
    for (TSlot& S : Slots)
        if (S.Context == nullptr) S.Texture->Abandon();
    Slots.erase(std::remove_if(Slots.begin(), Slots.end(), [](const TSlot& S) { return S.Context == nullptr; }),
                Slots.end());
    for (TSlot& S : Slots)
        if (S.Context == Current) return S;
    Slots.push_back({Current, std::make_unique<TOpenGLTexture>(), true});
    return Slots.back();
}

const TOpenGLTexture* TImagePlanePainter::CurrentTexture() const {
    const QOpenGLContext* Current = QOpenGLContext::currentContext();
    for (const TSlot& S : Slots)
        if (S.Context != nullptr && S.Context == Current) return S.Texture.get();
    return nullptr;
}

void TImagePlanePainter::Render(TImagePlane& Plane, IGraphics&) {
    if (QOpenGLContext::currentContext() == nullptr) return;
    TSlot& S = CurrentSlot();
    if (S.Stale) {
        // A plane whose picture went draws untextured, not with the old picture.
        if (Plane.Image().Count() == 0)
            S.Texture->Release();
        else
            S.Texture->LoadFromCompressedImage(Plane.Image());
        S.Stale = false;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
    const bool Textured = S.Texture->HasTexture();
    if (Textured) {
        S.Texture->Bind();
        // The picture's own colours, whatever the lighting.
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    }
    const TMVector& N = Plane.Plane().Normal;
    glBegin(GL_QUADS);
    glNormal3d(N.X, N.Y, N.Z);
    for (const TImagePlane::TTexturedCorner& C : Plane.TextureQuad()) {
        glTexCoord2d(C.S, C.T);
        glVertex3d(C.Point.X, C.Point.Y, C.Point.Z);
    }
    glEnd();
    if (Textured) S.Texture->Unbind();
    glPopAttrib();
}

void TImagePlanePainter::DrawSelectionWindow(TImagePlane& Plane, IGraphics&) {
    if (QOpenGLContext::currentContext() == nullptr) return;
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LINE_STIPPLE);
    for (const TStippledLoop& L : Plane.SelectionWindowLoops()) {
        glLineStipple(1, L.Pattern);
        SetGLColor(L.Color);
        glBegin(GL_LINE_LOOP);
        for (const TMVector& P : L.Points) glVertex3d(P.X, P.Y, P.Z);
        glEnd();
    }
    glPopAttrib();
}

void RegisterImagePlaneUi() {
    ImagePlanePainterCreator() = [] { return std::make_unique<TImagePlanePainter>(); };
    RescaleImagePlaneDialog() = [](TImagePlane& Plane) {
        TScaleImagePlaneForm Form(Plane, QApplication::activeWindow());
        return Form.exec() == QDialog::Accepted;
    };
    RegisterImageFrame();
}

}  // namespace sarnova
