// Image planes: a raster picture (a scanned lines plan, a photograph) laid as a texture on a rectangle
// of a plane, as a tracing background behind the geometry. The picture is kept in the document in its
// run-length compressed form. A second rectangle, the scaling selection window, calibrates the
// placement: laid over a feature of known size in the picture, it is rescaled to that feature's true
// coordinates and the picture follows.
//
// The OpenGL side (the texture and the drawing) lives in the GUI, which registers a painter; without
// one (tests, tools) an image plane draws nothing.
#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "document/OpenGLCompressedImage.h"
#include "foundation/Graphics.h"
#include "foundation/VkMaths.h"

namespace sarnova {

class TImagePlane;
class TTextReader;
class TTextWriter;

// The four values of an image rectangle, in the order minimum u, minimum v, maximum u, maximum v.
struct TImageExtentsRecord {
    double MinU = 0;
    double MinV = 0;
    double MaxU = 1;
    double MaxV = 1;
};

// A rectangle in a plane's own (u, v) coordinates, (0, 0)-(1, 1) at first. Nothing keeps the minimum
// below the maximum.
class TImageExtents {
public:
    virtual ~TImageExtents() = default;

    double MinU() const { return E.MinU; }
    double MinV() const { return E.MinV; }
    double MaxU() const { return E.MaxU; }
    double MaxV() const { return E.MaxV; }
    double CentreU() const { return (E.MinU + E.MaxU) / 2; }
    double CentreV() const { return (E.MinV + E.MaxV) / 2; }
    double SizeU() const { return E.MaxU - E.MinU; }
    double SizeV() const { return E.MaxV - E.MinV; }
    const TImageExtentsRecord& Extents() const { return E; }

    // Each stores a value that differs, then calls Changed.
    void SetMinU(double Value);
    void SetMinV(double Value);
    void SetMaxU(double Value);
    void SetMaxV(double Value);
    void SetExtents(const TImageExtentsRecord& Value);
    void Assign(const TImageExtents& Other) { E = Other.E; }

protected:
    // After a stored change; nothing here.
    virtual void Changed() {}

private:
    TImageExtentsRecord E;
};

// The in-plane axes of an image plane with unit normal N: upright (V towards +z) on X and Y planes,
// U = +x and V = +y on the Z plane.
void ImagePlaneAxes(const TMVector& N, TMVector& U, TMVector& V);
// The rectangle's corners on Plane: 0 (min u, min v), 1 (min u, max v), 2 (max u, max v),
// 3 (max u, min v).
std::array<TMVector, 4> ImagePlaneCorners(const TMPlane& Plane, const TImageExtentsRecord& Extents);

// One dashed closed line of the selection window outline: corners 0, 3, 2, 1 in Color, with a 16-bit
// stipple pattern.
struct TStippledLoop {
    std::array<TMVector, 4> Points;
    TColor Color = clBlack;
    std::uint16_t Pattern = 0xFFFF;
};

// The GUI's half of an image plane: its texture and the OpenGL drawing.
class IImagePlanePainter {
public:
    virtual ~IImagePlanePainter() = default;
    // The picture changed: the texture is made again before it is next drawn.
    virtual void ImageChanged() = 0;
    // The textured quad (TImagePlane::TextureQuad) in the view's lit pass.
    virtual void Render(TImagePlane& Plane, IGraphics& View) = 0;
    // The loops of TImagePlane::SelectionWindowLoops, stippled, without lighting.
    virtual void DrawSelectionWindow(TImagePlane& Plane, IGraphics& View) = 0;
};

// The painter maker the GUI registers; empty without a GUI.
using TImagePlanePainterCreator = std::function<std::unique_ptr<IImagePlanePainter>()>;
TImagePlanePainterCreator& ImagePlanePainterCreator();

// The rescale dialog the GUI registers: asks for the window's new coordinates and rescales Plane.
// True when it was accepted.
using TRescaleImagePlaneDialog = std::function<bool(TImagePlane& Plane)>;
TRescaleImagePlaneDialog& RescaleImagePlaneDialog();

class TImagePlane : public IRenderable {
public:
    // The plane z = 0, both rectangles (0, 0)-(1, 1), no picture, the lock off.
    TImagePlane();
    ~TImagePlane() override;
    TImagePlane(const TImagePlane&) = delete;
    TImagePlane& operator=(const TImagePlane&) = delete;

    TOpenGLCompressedImage& Image() { return FImage; }
    const TOpenGLCompressedImage& Image() const { return FImage; }
    const TMPlane& Plane() const { return FPlane; }
    const TMVector& UAxis() const { return FU; }
    const TMVector& VAxis() const { return FV; }
    TImageExtents& ImageExtents() { return FImageExtents; }
    const TImageExtents& ImageExtents() const { return FImageExtents; }
    TImageExtents& SelectionWindow() { return FSelection; }
    const TImageExtents& SelectionWindow() const { return FSelection; }
    bool LockAspectRatio = false;

    // Copies the picture, plane, axes, both rectangles and the lock flag; the texture is made again.
    void Assign(const TImagePlane& Other);
    // Normal (unit length) and offset; the axes follow.
    void SetPlane(const TMVector& Normal, double Offset);
    // The point of the plane at (U, V).
    TMVector PointAt(double U, double V) const;

    // The picture rectangle's corners as a slab from offset - 0.01 to offset + 0.01.
    TMBox GetBounds() override;
    // Through the painter, made on first use from the registered maker.
    void Render(IGraphics& View) override;
    // The selection window's outline, handed to the view as a renderable of its own so that the view
    // draws it with the scene (and counts it in the model extents).
    void DrawSelectionWindow(IGraphics& View);

    // The quad of the picture: corners 0, 3, 2, 1 with texture coordinates (0, 0), (1, 0), (1, 1),
    // (0, 1), so that s runs along u and t along v (the picture's bottom row at minimum v).
    struct TTexturedCorner {
        TMVector Point;
        double S = 0;
        double T = 0;
    };
    std::array<TTexturedCorner, 4> TextureQuad() const;
    // The selection window dashed black over white at offset + 0.01, then white over black at
    // offset - 0.01, so that it shows from both sides against any background.
    std::array<TStippledLoop, 4> SelectionWindowLoops() const;

    // (SizeV / picture height) / (SizeU / picture width): the height of one pixel over its width; 0
    // when SizeU is 0 or there is no picture.
    double PixelAspectRatio() const;
    // Resizes the picture rectangle about its centre, keeping its area, so that PixelAspectRatio
    // becomes Ratio. Nothing without a picture, for a rectangle without area, or for a ratio that is
    // not a positive number.
    void SetPixelAspectRatio(double Ratio);
    // Handle Index (0 to 7, anticlockwise from the minimum corner: corners even, edge middles odd) of
    // the picture rectangle moves to (U, V). With the lock on the proportions stay: for a corner the
    // direction that moved relatively further decides, for an edge the near side of the other
    // direction follows. While a side of the rectangle is 0 the lock acts as off.
    void MoveHandle(int Index, double U, double V);
    // The selection window moves to the typed rectangle and the picture follows, so that the window
    // keeps its place in the picture. Nothing when the picture or the window has no size along u or
    // v, which would leave no scale.
    void RescaleToSelection(double UMin, double VMin, double UMax, double VMax);
    // Reads a picture file through the platform's image reader; a file that cannot be read throws the
    // reader's error and keeps the previous picture.
    void LoadImage(const std::filesystem::path& FileName);
    // Inverts the picture's colours.
    void NegativeImage();
    // Runs the registered rescale dialog; false without one or when cancelled.
    bool ShowRescaleDialog();

    // "PlaneNormal=", "PlaneOffset=", "LockAspectRatio=", the picture rectangle on four lines and the
    // picture block. The selection window is not kept.
    void SaveToText(TTextWriter& Out) const;
    // Reads that block; the lock line may be missing (older blocks), which leaves the lock off. A
    // number that does not read throws ParseFloat's error, a normal of no length EGeometryError; the
    // image plane is unchanged when it throws.
    void LoadFromText(TTextReader& In);

private:
    class TSelectionOutline;
    void ImageChanged();
    IImagePlanePainter* GetPainter();

    TOpenGLCompressedImage FImage;
    TMPlane FPlane{{0, 0, 1}, 0};
    TMVector FU;
    TMVector FV;
    TImageExtents FImageExtents;
    TImageExtents FSelection;
    std::unique_ptr<IImagePlanePainter> Painter;
    std::unique_ptr<TSelectionOutline> Outline;
};

}  // namespace sarnova
