// Printing and copying the 3-D view: a drawing target on a 2-D canvas that projects with the view's
// camera, so that the owner's drawing code puts the document on a printer page or into a vector
// picture as it puts it on screen; and labels written at a world point in window pixels.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "platform/GraphicsCanvas.h"

namespace sarnova {

class TOpenGLCanvasInterface : public TCanvasInterface {
public:
    // The viewport is (0, 0, Width, Height); the matrices are the identity until set.
    TOpenGLCanvasInterface(ICanvas& Canvas, int Width, int Height);

    // Stores both matrices in OpenGL's column order.
    void SetMatrices(const TMMatrix& ModelView, const TMMatrix& Projection);
    const std::array<double, 16>& GetModelView() const { return ModelView; }
    const std::array<double, 16>& GetProjection() const { return Projection; }
    const std::array<int, 4>& GetViewport() const { return Viewport; }

    // The projected pixel, y downwards from the canvas's top edge.
    TPoint WorldToScreen(double X, double Y, double Z) override;
    // The point on the near plane under the pixel.
    TMVector ScreenToWorld(int X, int Y) override;

private:
    std::array<double, 16> ModelView;
    std::array<double, 16> Projection;
    std::array<int, 4> Viewport;
};

// Writes Text through Graphics at the window position of Point, moved by (DX, DY) pixels (y up) and
// aligned by its extents: HAlign 0 left, 1 centre, 2 right; VAlign 0 top, 1 middle, other values
// the baseline. Uses the current OpenGL context's matrices and viewport and leaves them as they were.
void DrawGLLabel(const TMVector& Point, std::uint8_t HAlign, std::uint8_t VAlign, IGraphics& Graphics,
                 const std::string& Text, double DX, double DY);

}  // namespace sarnova
