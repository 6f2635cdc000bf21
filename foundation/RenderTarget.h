// The fixed-function drawing calls through which kernel objects render themselves shaded inside a 3-D
// view. The model never calls OpenGL: the OpenGL view implements this interface next to IGraphics and
// maps each call onto its immediate-mode counterpart, and tests record the calls instead.
#pragma once
#include <array>
#include <cstdint>

#include "foundation/Graphics.h"

namespace sarnova {

// The primitive a run of vertices builds.
enum class TRenderPrimitive : std::uint8_t {
    Quads,      // every four vertices one quadrilateral
    QuadStrip,  // vertex pairs joined into a strip of quadrilaterals
    Triangles,  // every three vertices one triangle
    Lines,      // every two vertices one line
    LineLoop,   // a closed line through all vertices
};

// A 16 x 16 one-bit picture: rows from the bottom up, the most significant bit at the left.
using TBitmapRows = std::array<std::uint16_t, 16>;

class IRenderTarget {
public:
    virtual ~IRenderTarget() = default;

    // Opens a primitive; only Normal, Color and Vertex may follow until End.
    virtual void Begin(TRenderPrimitive Kind) = 0;
    virtual void End() = 0;
    // The normal given to the vertices that follow, passed on as it is (not normalised).
    virtual void Normal(const TMVector& N) = 0;
    // The colour of the vertices that follow, components 0 to 1.
    virtual void Color(double R, double G, double B) = 0;
    virtual void Vertex(const TMVector& V) = 0;

    // Depth test on and lighting off, so that vertex colours show as given.
    virtual void EnableDepthTest() = 0;
    // The drawing area in pixels.
    virtual int GetClientWidth() const = 0;
    virtual int GetClientHeight() const = 0;
    // Drawing in window pixels over the scene, x to the right and y down from the top-left corner,
    // without depth test and lighting, until EndPixelOverlay puts the matrices and that state back.
    virtual void BeginPixelOverlay() = 0;
    virtual void EndPixelOverlay() = 0;
    // Rows in the current colour, the picture's lower-left corner at (X, Y).
    virtual void Bitmap(double X, double Y, const TBitmapRows& Rows) = 0;

    // The lit material of the faces that follow, front and back: diffuse and specular colour and
    // shininess; the current colour becomes the diffuse one. Targets without lighting ignore it.
    virtual void Material(TColor Diffuse, TColor Specular, double Shininess) {}
    // Where a world point shows through the scene's present matrices: x and y in the pixels of the
    // pixel overlay, and the depth, 0 to 1 within the view's depth range. Asked before the overlay
    // begins; false when the target cannot tell.
    virtual bool WorldToWindow(const TMVector& P, TMVector& Window) { return false; }
};

// The render target behind a view handed to IRenderable::Render; nullptr for a target that cannot
// render (a canvas, a printer), which then simply gets nothing.
IRenderTarget* RenderTargetOf(IGraphics& View);

// The two filled heads of a dimension-style double arrow between the window pixels A and B, as
// triangles (tip first): HeadSize pixels long but at most 0.4 of the distance A-B, a quarter of that
// wide on either side, pointing outwards. False when A and B coincide, which leaves no direction.
using TArrowHeads = std::array<std::array<TMVector, 3>, 2>;
bool DoubleArrowHeads(const TMVector& A, const TMVector& B, int HeadSize, TArrowHeads& Heads);

// The line From-To through View and, when View renders, a filled head of HeadSize pixels at each end
// drawn in window pixels in the current colour.
void DrawDoubleArrow(IGraphics& View, int HeadSize, const TMVector& From, const TMVector& To);

}  // namespace sarnova
