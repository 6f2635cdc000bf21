#include "platform/qt/OpenGLHelpers.h"

#include <QImage>
#include <QOpenGLContext>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/RenderTarget.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtImageReader.h"

namespace sarnova {

namespace {

// OpenGL keeps matrices column after column; the foundation indexes [row][column].
TMMatrix FromGL(const GLdouble* G) {
    TMMatrix M;
    for (int R = 0; R < 4; ++R)
        for (int C = 0; C < 4; ++C) M[R][C] = G[C * 4 + R];
    return M;
}

// The image holds all Width x Height pixels (one made with a byte count, or cleared, may not).
bool HasPixels(const TOpenGLImage& Image) {
    return Image.GetWidth() > 0 && Image.GetHeight() > 0 &&
           Image.GetSize() >= 3LL * Image.GetWidth() * Image.GetHeight();
}

void LoadGL(GLenum Mode, const TMMatrix& M) {
    GLdouble G[16];
    for (int R = 0; R < 4; ++R)
        for (int C = 0; C < 4; ++C) G[C * 4 + R] = M[R][C];
    glMatrixMode(Mode);
    glLoadMatrixd(G);
}

TMMatrix ReadGL(GLenum Which) {
    GLdouble G[16];
    glGetDoublev(Which, G);
    return FromGL(G);
}

}  // namespace

std::array<float, 4> ColorToGLColor(TColor Colour, float Alpha) {
    const QColor Q = ColorToQColor(Colour);
    return {Q.red() / 255.0f, Q.green() / 255.0f, Q.blue() / 255.0f, Alpha};
}

void SetGLColor(TColor Colour) {
    const auto C = ColorToGLColor(Colour, 1);
    const bool Lit = glIsEnabled(GL_LIGHTING);
    if (Lit) glDisable(GL_LIGHTING);
    glColor3f(C[0], C[1], C[2]);
    if (Lit) glEnable(GL_LIGHTING);
}

void SetGLLight(unsigned Light, TColor Colour, double X, double Y, double Z) {
    const GLfloat Position[4] = {GLfloat(X), GLfloat(Y), GLfloat(Z), 0};
    const GLfloat Black[4] = {0, 0, 0, 1};
    const GLfloat White[4] = {1, 1, 1, 1};
    const auto Diffuse = ColorToGLColor(Colour, 1);
    glEnable(Light);
    glLightfv(Light, GL_POSITION, Position);
    glLightfv(Light, GL_AMBIENT, Black);
    glLightfv(Light, GL_DIFFUSE, Diffuse.data());
    glLightfv(Light, GL_SPECULAR, White);
}

void SetGLMaterial(TColor Diffuse, TColor Specular, float Shininess) {
    const auto D = ColorToGLColor(Diffuse, 1);
    const auto S = ColorToGLColor(Specular, 1);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, D.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, S.data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, Shininess);
    glColor4f(D[0], D[1], D[2], D[3]);
}

void GLVertexVector(const TMVector& V) { glVertex3d(V.X, V.Y, V.Z); }

TMMatrix GetGLProjectionMatrix() { return ReadGL(GL_PROJECTION_MATRIX); }

TMMatrix GetGLModelViewMatrix() { return ReadGL(GL_MODELVIEW_MATRIX); }

void LoadGLProjectionMatrix(const TMMatrix& M) { LoadGL(GL_PROJECTION, M); }

void LoadGLModelViewMatrix(const TMMatrix& M) { LoadGL(GL_MODELVIEW, M); }

TGLMatrixSaver::TGLMatrixSaver(unsigned AMode) : Mode(AMode) {
    glMatrixMode(Mode);
    glPushMatrix();
}

TGLMatrixSaver::~TGLMatrixSaver() {
    glMatrixMode(Mode);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

void CheckCurrentGLError() {
    if (!QOpenGLContext::currentContext()) return;
    const GLenum Error = glGetError();
    if (Error != GL_NO_ERROR)
        throw EError(std::string("Error in paint\r") + reinterpret_cast<const char*>(gluErrorString(Error)));
}

// ---- Double arrow ----

void DrawGLDoubleArrow(IGraphics& Graphics, int HeadSize, const TMVector& From, const TMVector& To) {
    Graphics.LineVectors(From, To);

    GLdouble ModelView[16], Projection[16];
    GLint Viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, ModelView);
    glGetDoublev(GL_PROJECTION_MATRIX, Projection);
    glGetIntegerv(GL_VIEWPORT, Viewport);
    auto Pixel = [&](const TMVector& P) {
        GLdouble X = 0, Y = 0, Z = 0;
        gluProject(P.X, P.Y, P.Z, ModelView, Projection, Viewport, &X, &Y, &Z);
        return TMVector{double(RoundToInteger(X)), double(Viewport[3] - Viewport[1] - RoundToInteger(Y)), 0};
    };
    const TMVector A = Pixel(From);
    const TMVector B = Pixel(To);

    const TGLMatrixSaver KeepModelView(GL_MODELVIEW);
    const TGLMatrixSaver KeepProjection(GL_PROJECTION);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, Viewport[2], Viewport[3], 0, -110, 110);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    TArrowHeads Heads;
    if (!DoubleArrowHeads(A, B, HeadSize, Heads)) return;
    glBegin(GL_TRIANGLES);
    for (const auto& Head : Heads)
        for (const TMVector& V : Head) GLVertexVector(V);
    glEnd();
}

void DrawGLDoubleArrowPoints(IGraphics& Graphics, const TRPoint& From, const TRPoint& To, int HeadSize) {
    DrawGLDoubleArrow(Graphics, HeadSize, From.Vector(), To.Vector());
}

// ---- Pictures ----

void LoadImageFromBitmap(TOpenGLImage& Image, const QImage& Bitmap) { Image.LoadFromPicture(PictureFromQImage(Bitmap)); }

void LoadImageFromFile(TOpenGLImage& Image, const std::filesystem::path& FileName) {
    Image.LoadFromPicture(TQtImageReader().ReadPicture(FileName));
}

void LoadCompressedImageFromFile(TOpenGLCompressedImage& Image, const std::filesystem::path& FileName) {
    TOpenGLImage Pixels;
    LoadImageFromFile(Pixels, FileName);
    Image.Compress(Pixels);
}

void ScaleImage(TOpenGLImage& Image, int NewW, int NewH) {
    TOpenGLImage Scaled(NewW, NewH);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (HasPixels(Image) && NewW > 0 && NewH > 0) {
        // The library pads its output rows to the pack alignment; the result is packed without padding.
        GLint Pack = 4;
        glGetIntegerv(GL_PACK_ALIGNMENT, &Pack);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        gluScaleImage(GL_RGB, Image.GetWidth(), Image.GetHeight(), GL_UNSIGNED_BYTE, Image.GetData(), NewW, NewH,
                      GL_UNSIGNED_BYTE, Scaled.GetData());
        glPixelStorei(GL_PACK_ALIGNMENT, Pack);
    }
    Image.Assign(Scaled);
}

// ---- Textures ----

void TOpenGLTexture::AllocateName() {
    if (Name != 0) return;
    GLuint Probe = 100;
    while (glIsTexture(Probe)) ++Probe;
    Name = Probe;
}

void TOpenGLTexture::Release() {
    if (Name != 0 && QOpenGLContext::currentContext()) {
        const GLuint Held = Name;
        glDeleteTextures(1, &Held);
    }
    Name = 0;
}

void TOpenGLTexture::LoadFromCompressedImage(const TOpenGLCompressedImage& C) {
    if (auto Image = C.Decompress()) LoadFromImage(*Image);
}

void TOpenGLTexture::LoadFromImage(TOpenGLImage& Image) {
    if (HasPixels(Image) && FitToPowerOfTwo(Image)) Upload(Image);
}

bool TOpenGLTexture::FitToPowerOfTwo(TOpenGLImage& Image) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    auto PowerOfTwo = [](int Size) {
        if (Size <= 0) return 0;
        int Target = 1;
        while (Target < Size && Target < (1 << 30)) Target <<= 1;
        return Target;
    };
    int W = PowerOfTwo(Image.GetWidth());
    int H = PowerOfTwo(Image.GetHeight());
    while (W > 0 && H > 0) {
        glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 3, W, H, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        GLint Components = 0;
        glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_COMPONENTS, &Components);
        // A refused size reads back 0; an accepted one the format asked for (3, or GL_RGB on some
        // drivers).
        if (Components != 0) break;
        W /= 2;
        H /= 2;
    }
    if (W == Image.GetWidth() && H == Image.GetHeight()) return true;
    if (W < 1 || H < 1) return false;
    ScaleImage(Image, W, H);
    return true;
}

void TOpenGLTexture::Upload(const TOpenGLImage& Image) {
    if (!HasPixels(Image)) return;
    AllocateName();
    glBindTexture(GL_TEXTURE_2D, Name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, Image.GetWidth(), Image.GetHeight(), 0, GL_RGB, GL_UNSIGNED_BYTE,
                 Image.GetData());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
}

void TOpenGLTexture::Bind() {
    if (Name == 0) return;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, Name);
}

void TOpenGLTexture::Unbind() { glDisable(GL_TEXTURE_2D); }

}  // namespace sarnova
