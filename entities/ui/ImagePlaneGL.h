// The OpenGL half of image planes: a texture per OpenGL context made from the picture, the textured
// quad drawn in the view's lit pass, and the dashed selection window. Also registers the image plane's
// property frame and rescale dialog.
#pragma once
#include <QPointer>

#include <memory>
#include <vector>

#include "entities/ImagePlane.h"

class QOpenGLContext;

namespace sarnova {

class TOpenGLTexture;

class TImagePlanePainter : public IImagePlanePainter {
public:
    TImagePlanePainter();
    ~TImagePlanePainter() override;

    void ImageChanged() override;
    // Nothing without a current OpenGL context.
    void Render(TImagePlane& Plane, IGraphics& View) override;
    void DrawSelectionWindow(TImagePlane& Plane, IGraphics& View) override;

    // The texture of the current context; nullptr when none was made in it.
    const TOpenGLTexture* CurrentTexture() const;

private:
    // Texture names belong to one context: every view showing the plane has its own.
    struct TSlot {
        QPointer<QOpenGLContext> Context;
        std::unique_ptr<TOpenGLTexture> Texture;
        bool Stale = true;
    };
    TSlot& CurrentSlot();

    std::vector<TSlot> Slots;
};

// The painter, the property frame and the rescale dialog of image planes; the GUI calls it at start-up.
void RegisterImagePlaneUi();

}  // namespace sarnova
