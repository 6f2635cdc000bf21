// OpenGL conveniences shared by everything that draws with OpenGL: colours, a directional light,
// materials, reading and loading the two matrices, a dimension-style double arrow, error checks,
// pictures loaded from files and scaled for OpenGL, and 2-D texture objects. Everything acts on the
// OpenGL context that is current.
#pragma once
#include <array>
#include <filesystem>

#include "document/OpenGLCompressedImage.h"
#include "foundation/Graphics.h"

class QImage;

namespace sarnova {

// Red, green and blue of the colour (system colours through the palette) / 255, and Alpha.
std::array<float, 4> ColorToGLColor(TColor Colour, float Alpha);
// The current colour; lighting, when on, is switched off around the call so that it takes.
void SetGLColor(TColor Colour);
// Enables Light (GL_LIGHT0 + n) as a directional light from (X, Y, Z): ambient black, diffuse the
// colour, specular white.
void SetGLLight(unsigned Light, TColor Colour, double X, double Y, double Z);
// Front and back material, then the current colour := the diffuse colour.
void SetGLMaterial(TColor Diffuse, TColor Specular, float Shininess);
void GLVertexVector(const TMVector& V);

// The current matrices in the foundation's layout ([row][column], column vectors).
TMMatrix GetGLProjectionMatrix();
TMMatrix GetGLModelViewMatrix();
// Select that matrix mode and load M; the mode stays selected.
void LoadGLProjectionMatrix(const TMMatrix& M);
void LoadGLModelViewMatrix(const TMMatrix& M);

// Keeps the matrix of one mode (GL_PROJECTION or GL_MODELVIEW) and restores it when it goes out of
// scope, also when an exception passes; the model-view mode is selected afterwards.
class TGLMatrixSaver {
public:
    explicit TGLMatrixSaver(unsigned Mode);
    ~TGLMatrixSaver();
    TGLMatrixSaver(const TGLMatrixSaver&) = delete;
    TGLMatrixSaver& operator=(const TGLMatrixSaver&) = delete;

private:
    unsigned Mode;
};

// Throws EError "Error in paint", a carriage return and the error's text when the current context
// has an OpenGL error pending; nothing without a current context.
void CheckCurrentGLError();

// The line From-To through Graphics, with a filled arrow head of HeadSize pixels (at most 0.4 of the
// line's length on screen) at each end, pointing outwards.
void DrawGLDoubleArrow(IGraphics& Graphics, int HeadSize, const TMVector& From, const TMVector& To);
void DrawGLDoubleArrowPoints(IGraphics& Graphics, const TRPoint& From, const TRPoint& To, int HeadSize);

// ---- Pictures ----

// The picture, bottom row first, as red, green, blue bytes.
void LoadImageFromBitmap(TOpenGLImage& Image, const QImage& Bitmap);
// Throws EInOutError "Cannot open file "<name>"" for a missing file and EError "Bitmap image is not
// valid" for one that is not a picture.
void LoadImageFromFile(TOpenGLImage& Image, const std::filesystem::path& FileName);
void LoadCompressedImageFromFile(TOpenGLCompressedImage& Image, const std::filesystem::path& FileName);
// Resamples the picture to NewW x NewH with the GL utility library; one without its pixels becomes
// black.
void ScaleImage(TOpenGLImage& Image, int NewW, int NewH);

// A 2-D texture under a name of its own, from name 100 upwards.
class TOpenGLTexture {
public:
    TOpenGLTexture() = default;
    ~TOpenGLTexture() { Release(); }
    TOpenGLTexture(const TOpenGLTexture&) = delete;
    TOpenGLTexture& operator=(const TOpenGLTexture&) = delete;

    // When no name is held: the first of 100, 101, 102 ... that is not a texture yet.
    void AllocateName();
    // Deletes the texture (when a context is current) and lets the name go.
    void Release();
    // Lets the name go without deleting: the texture belongs to a context that is not current (it
    // goes with that context).
    void Abandon() { Name = 0; }
    bool HasTexture() const { return Name != 0; }
    unsigned GetName() const { return Name; }

    void LoadFromCompressedImage(const TOpenGLCompressedImage& C);
    // Scales Image to sizes OpenGL accepts when needed, then uploads it.
    void LoadFromImage(TOpenGLImage& Image);
    // Scales the picture up to powers of two, halved until the OpenGL proxy texture accepts them;
    // false when no size is accepted.
    static bool FitToPowerOfTwo(TOpenGLImage& Image);
    // Replaces the texture's picture (keeping its name); nothing for a picture without pixels.
    void Upload(const TOpenGLImage& Image);
    void Bind();
    void Unbind();

private:
    unsigned Name = 0;
};

}  // namespace sarnova
