// Text in the 3-D view: one display list per character of the view's font, built from Qt's glyphs.
// Bitmap text is a glBitmap of each glyph as Qt renders it (no antialiasing), drawn at the raster
// position, so it keeps its pixel size; stroked text is the glyph outline in em units (an em is one
// world unit), as line loops or as polygons filled through the GL utility library's tessellator.
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QOpenGLContext>
#include <QPainter>
#include <QPainterPath>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <deque>
#include <memory>

#include "views/OpenGLView.h"

namespace sarnova {

namespace {

constexpr int ListCount = 256;  // codes 0 to 254 have a glyph; 255 calls an empty list
// Outlines are taken at this size and scaled down to one unit an em, so curves stay smooth.
constexpr double OutlineSize = 1024;

// The text as the character codes the lists are built for: Latin-1, anything beyond as "?".
QByteArray TextCodes(const std::string& Text) {
    QByteArray Codes;
    for (char32_t C : QString::fromUtf8(Text.data(), qsizetype(Text.size())).toUcs4())
        Codes.append(static_cast<char>(C <= 254 ? C : U'?'));
    return Codes;
}

QString CodesToQString(const QByteArray& Codes) { return QString::fromLatin1(Codes); }

// One character as a bitmap list: the glyph's pixels, origin on the baseline, then the advance.
// DotsPerMeter is the window's resolution, so the glyph comes out as the window's font measures it.
void CompileBitmapGlyph(const QFont& Font, const QFontMetrics& Metrics, int DotsPerMeter, unsigned char Code) {
    const QString Char{QChar(char16_t(Code))};
    const int Advance = Code < 32 ? 0 : Metrics.horizontalAdvance(Char);
    const QRect Box = Code < 32 ? QRect() : Metrics.boundingRect(Char);
    if (Box.isEmpty()) {
        // An empty picture that only moves on (a null picture would not be kept in the list).
        static const GLubyte None = 0;
        glBitmap(0, 0, 0, 0, GLfloat(Advance), 0, &None);
        return;
    }
    QImage Image(Box.size(), QImage::Format_Grayscale8);
    Image.setDotsPerMeterX(DotsPerMeter);
    Image.setDotsPerMeterY(DotsPerMeter);
    Image.fill(0);
    {
        QPainter P(&Image);
        P.setFont(Font);
        P.setPen(Qt::white);
        P.drawText(-Box.x(), -Box.y(), Char);
    }
    const int W = Image.width(), H = Image.height(), RowBytes = (W + 7) / 8;
    std::vector<GLubyte> Bits(std::size_t(RowBytes) * H, 0);
    for (int R = 0; R < H; ++R) {
        const uchar* Line = Image.constScanLine(H - 1 - R);  // bitmaps run from the bottom row up
        for (int X = 0; X < W; ++X)
            if (Line[X] >= 128) Bits[std::size_t(R) * RowBytes + X / 8] |= GLubyte(0x80 >> (X % 8));
    }
    glBitmap(W, H, GLfloat(-Box.x()), GLfloat(Box.y() + H), GLfloat(Advance), 0, Bits.data());
}

// The tessellator's callbacks; new vertices live until the list is compiled.
struct TTessState {
    std::deque<std::array<GLdouble, 3>> Added;
};

void TessBegin(GLenum Mode) { glBegin(Mode); }
void TessEnd() { glEnd(); }
void TessVertex(void* Data) { glVertex3dv(static_cast<const GLdouble*>(Data)); }
void TessCombine(GLdouble Coords[3], void*[4], GLfloat[4], void** Out, void* User) {
    auto& Added = static_cast<TTessState*>(User)->Added;
    Added.push_back({Coords[0], Coords[1], Coords[2]});
    *Out = Added.back().data();
}

void CompileOutline(const std::vector<std::vector<std::array<GLdouble, 3>>>& Contours, bool Filled) {
    if (!Filled) {
        for (const auto& Contour : Contours) {
            glBegin(GL_LINE_LOOP);
            for (const auto& V : Contour) glVertex3dv(V.data());
            glEnd();
        }
        return;
    }
    if (Contours.empty()) return;
    std::unique_ptr<GLUtesselator, void (*)(GLUtesselator*)> Tess(gluNewTess(), gluDeleteTess);
    if (!Tess) return;
    using TCallback = _GLUfuncptr;
    gluTessCallback(Tess.get(), GLU_TESS_BEGIN, reinterpret_cast<TCallback>(TessBegin));
    gluTessCallback(Tess.get(), GLU_TESS_END, reinterpret_cast<TCallback>(TessEnd));
    gluTessCallback(Tess.get(), GLU_TESS_VERTEX, reinterpret_cast<TCallback>(TessVertex));
    gluTessCallback(Tess.get(), GLU_TESS_COMBINE_DATA, reinterpret_cast<TCallback>(TessCombine));
    gluTessProperty(Tess.get(), GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(Tess.get(), 0, 0, 1);
    TTessState State;
    glNormal3d(0, 0, 1);
    gluTessBeginPolygon(Tess.get(), &State);
    for (const auto& Contour : Contours) {
        gluTessBeginContour(Tess.get());
        for (const auto& V : Contour) gluTessVertex(Tess.get(), const_cast<GLdouble*>(V.data()), const_cast<GLdouble*>(V.data()));
        gluTessEndContour(Tess.get());
    }
    gluTessEndPolygon(Tess.get());
}

}  // namespace

void TOpenGLView::SetTextMode(TTextMode Value) {
    if (Value == TextMode) return;
    TextMode = Value;
    FontListsStale = true;
    GlyphMetricsStale = true;
}

void TOpenGLView::UpdateGlyphMetrics(std::vector<std::vector<std::vector<std::array<double, 3>>>>* Outlines) {
    QFont Big = font();
    Big.setPixelSize(int(OutlineSize));
    Big.setHintingPreference(QFont::PreferNoHinting);
    const QFontMetricsF Metrics(Big);
    for (int Code = 0; Code < 255; ++Code) {
        TGlyphMetrics& G = GlyphMetrics[Code];
        G = TGlyphMetrics{};
        if (Outlines) (*Outlines)[Code].clear();
        if (Code < 32) continue;
        const QString Char{QChar(char16_t(Code))};
        QPainterPath Path;
        Path.addText(0, 0, Big, Char);
        const QRectF Box = Path.boundingRect();
        // Qt's y runs down; the lists' y runs up.
        G.CellIncX = float(Metrics.horizontalAdvance(Char) / OutlineSize);
        G.BlackBoxX = float(Box.width() / OutlineSize);
        G.BlackBoxY = float(Box.height() / OutlineSize);
        G.OriginX = float(Box.left() / OutlineSize);
        G.OriginY = float(-Box.top() / OutlineSize);
        if (!Outlines) continue;
        for (const QPolygonF& Polygon : Path.toSubpathPolygons()) {
            std::vector<std::array<double, 3>> Contour;
            for (const QPointF& P : Polygon) Contour.push_back({P.x() / OutlineSize, -P.y() / OutlineSize, 0});
            // Qt closes each subpath by repeating its first point; the loop closes itself.
            if (Contour.size() > 1 && Contour.front() == Contour.back()) Contour.pop_back();
            if (Contour.size() >= 2) (*Outlines)[Code].push_back(std::move(Contour));
        }
    }
    GlyphMetricsStale = false;
}

void TOpenGLView::BuildFontLists() {
    if (!(State & vfContextReady)) return;
    MakeCurrent();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct TRestoreCursor {
        ~TRestoreCursor() { QApplication::restoreOverrideCursor(); }
    } Restore;
    ReleaseFontLists();
    FontListBase = glGenLists(ListCount);
    if (FontListBase == 0) return;
    if (TextMode == tmBitmap) {
        const QFont Font = font();
        const QFontMetrics Metrics(Font, this);
        const int DotsPerMeter = qRound(logicalDpiY() / 0.0254);
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        for (int Code = 0; Code < 255; ++Code) {
            glNewList(FontListBase + Code, GL_COMPILE);
            CompileBitmapGlyph(Font, Metrics, DotsPerMeter, static_cast<unsigned char>(Code));
            glEndList();
        }
        glPopClientAttrib();
    } else {
        std::vector<std::vector<std::vector<std::array<double, 3>>>> Outlines(255);
        UpdateGlyphMetrics(&Outlines);
        for (int Code = 0; Code < 255; ++Code) {
            glNewList(FontListBase + Code, GL_COMPILE);
            CompileOutline(Outlines[Code], TextMode == tmStrokedPolygon);
            glTranslated(GlyphMetrics[Code].CellIncX, 0, 0);
            glEndList();
        }
    }
    glNewList(FontListBase + 255, GL_COMPILE);
    glEndList();
    FontListsStale = false;
}

void TOpenGLView::ReleaseFontLists() {
    if (FontListBase != 0 && QOpenGLContext::currentContext() == context()) glDeleteLists(FontListBase, ListCount);
    FontListBase = 0;
    FontListsStale = true;
}

void TOpenGLView::TextOut(const std::string& Text, double X, double Y, double Z) {
    if ((State & vfMeasuring) || !(State & vfContextReady)) return;
    MakeCurrent();
    if (FontListsStale) BuildFontLists();
    if (FontListBase == 0) return;
    const QByteArray Codes = TextCodes(Text);
    Drawn = true;
    glListBase(FontListBase);
    if (TextMode == tmBitmap) {
        glRasterPos3d(X, Y, Z);
        glCallLists(GLsizei(Codes.size()), GL_UNSIGNED_BYTE, Codes.constData());
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslated(X, Y, Z);
    glCallLists(GLsizei(Codes.size()), GL_UNSIGNED_BYTE, Codes.constData());
    glPopMatrix();
}

double TOpenGLView::TextWidth(const std::string& Text) {
    const QByteArray Codes = TextCodes(Text);
    if (TextMode == tmBitmap) return fontMetrics().horizontalAdvance(CodesToQString(Codes));
    if (Codes.isEmpty()) return 0;
    if (GlyphMetricsStale) UpdateGlyphMetrics(nullptr);
    double W = 0;
    for (qsizetype I = 0; I + 1 < Codes.size(); ++I) W += GlyphMetrics[static_cast<unsigned char>(Codes[I])].CellIncX;
    return W + GlyphMetrics[static_cast<unsigned char>(Codes.back())].BlackBoxX;
}

const TGlyphMetrics& TOpenGLView::GetGlyphMetrics(unsigned char Code) {
    if (GlyphMetricsStale) UpdateGlyphMetrics(nullptr);
    return GlyphMetrics[Code];
}

double TOpenGLView::TextHeight(const std::string& Text) {
    if (TextMode == tmBitmap) return fontMetrics().height();
    const QByteArray Codes = TextCodes(Text);
    if (Codes.isEmpty()) return 0;
    if (GlyphMetricsStale) UpdateGlyphMetrics(nullptr);
    double Top = -HugeValue, Bottom = HugeValue;
    for (char C : Codes) {
        const TGlyphMetrics& G = GlyphMetrics[static_cast<unsigned char>(C)];
        Top = std::max(Top, double(G.OriginY));
        Bottom = std::min(Bottom, double(G.OriginY) - G.BlackBoxY);
    }
    return Top - Bottom;
}

}  // namespace sarnova
