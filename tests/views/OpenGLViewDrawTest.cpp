// The view as a drawing target in a real OpenGL context (run under Xvfb): edit-handle glyphs, arrows,
// text and labels, window measuring, printing and the clipboard copy.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QFontMetrics>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <bit>
#include <functional>
#include <map>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/GeomFacet.h"
#include "platform/RecordingCanvas.h"
#include "views/OpenGLViewFixture.h"
#include "views/OpenGLViewGlyphs.h"
#include "views/OpenGLViewPrint.h"

using namespace sarnova;

namespace {

class OpenGLViewDrawTest : public OpenGLViewFixture {
protected:
    // Parallel, looking down on the XY plane, fitted to a red square of half size Half at z = -1 (so
    // that anything drawn at z = 0 lies in front of it); then Draw in yellow.
    void ShowOnRedSquare(double Half, std::function<void(IGraphics&)> Draw) {
        View->OnRedraw = [Half, Draw](void*, IGraphics& G) {
            TPolygon Square(1);
            const TMVector Corners[4] = {{-Half, -Half, -1}, {Half, -Half, -1}, {Half, Half, -1}, {-Half, Half, -1}};
            for (int I = 0; I < 4; ++I) Square.SetCorner(I, TRPoint(Corners[I]));
            Square.Color = clRed;
            Square.OwnColor = true;
            G.Polygon(Square);
            G.SetLineColor(clYellow);
            Draw(G);
        };
        View->SetProjection(cmParallel);
        View->ViewXY();
    }

    // Pixels of each colour in the square of 2 Half pixels about P.
    std::map<QRgb, int> ColoursAround(TPoint P, int Half) {
        std::map<QRgb, int> Count;
        for (int Y = P.Y - Half; Y < P.Y + Half; ++Y)
            for (int X = P.X - Half; X < P.X + Half; ++X) ++Count[PixelAt(X, Y).rgb()];
        return Count;
    }

    // The extents of the white pixels of the whole window.
    QRect WhitePixels() {
        QRect Box;
        for (int Y = 0; Y < View->GetClientHeight(); ++Y)
            for (int X = 0; X < View->GetClientWidth(); ++X)
                if (PixelAt(X, Y) == Qt::white) Box = Box.united(QRect(X, Y, 1, 1));
        return Box;
    }
};

int Bits(const TViewGlyphRows& Rows, const TViewGlyphRows* Without = nullptr) {
    int N = 0;
    for (int R = 0; R < 16; ++R) N += std::popcount(std::uint16_t(Rows[R] & ~(Without ? (*Without)[R] : 0)));
    return N;
}

const QRgb Yellow = QColor(255, 255, 0).rgb(), Black = QColor(0, 0, 0).rgb();

}  // namespace

TEST_F(OpenGLViewDrawTest, EditHandlesAreTheirGlyphsInTheLineAndBackgroundColours) {
    auto G = [](TViewGlyph Glyph) -> const TViewGlyphRows& { return ViewGlyphRows(Glyph); };
    struct TCase {
        int Kind;
        int Yellow;
        int Black;  // the opaque insides are painted in the background colour
    };
    const TCase Cases[] = {
        {0, Bits(G(vgRing)), Bits(G(vgDisc), &G(vgRing))},
        {1, Bits(G(vgHollowSquare)), Bits(G(vgSquare), &G(vgHollowSquare))},
        {2, Bits(G(vgCross)), 0},
        {3, Bits(G(vgDot)), 0},
        {4, Bits(G(vgThickSquare)), 0},
        {5, Bits(G(vgThickRing)), 0},
        {6, Bits(G(vgThickCross)), 0},
        {7, Bits(G(vgTriangle)), 0},
        {8, 1, 0},  // one OpenGL point
        {9, 0, 0},
        {10, Bits(G(vgHalfDisc), &G(vgOtherHalfDisc)), Bits(G(vgOtherHalfDisc))},
        {11, 0, 0},
    };
    for (const TCase& C : Cases) {
        ShowOnRedSquare(10, [&](IGraphics& G) { G.EditHandle(C.Kind, 0, 0, 0); });
        const TPoint P = View->WorldToScreen(0, 0, 0);
        auto Count = ColoursAround(P, 12);
        EXPECT_EQ(Count[Yellow], C.Yellow) << C.Kind;
        EXPECT_EQ(Count[Black], C.Black) << C.Kind;
        // The small dot sits on the point itself.
        if (C.Kind == 3) {
            EXPECT_TRUE(ShowsNear(P, QColor(Yellow)));
        }
    }
}

TEST_F(OpenGLViewDrawTest, AWiderLineCoversMoreRowsAndTheWidthGoesBackForTheRest) {
    // One horizontal line at y = 0 drawn Width pixels wide, then one at y = 5 at the normal width.
    auto RowsAcross = [this](double Width) {
        ShowOnRedSquare(10, [Width](IGraphics& G) {
            G.SetLineWidth(Width);
            G.Line(-8, 0, 0, 8, 0, 0);
            G.SetLineWidth(1);
            G.Line(-8, 5, 0, 8, 5, 0);
        });
        View->Render();
        auto Count = [this](TPoint P) {
            int Rows = 0;
            for (int Y = P.Y - 6; Y <= P.Y + 6; ++Y) Rows += PixelAt(P.X, Y).rgb() == Yellow;
            return Rows;
        };
        return std::pair{Count(View->WorldToScreen(0, 0, 0)), Count(View->WorldToScreen(0, 5, 0))};
    };
    const auto [Thin, ThinAfter] = RowsAcross(1);
    const auto [Thick, ThickAfter] = RowsAcross(3);
    EXPECT_EQ(Thin, 1);
    EXPECT_EQ(Thick, 3);
    EXPECT_EQ(ThinAfter, 1);
    EXPECT_EQ(ThickAfter, 1);
}

TEST_F(OpenGLViewDrawTest, HandlesAndArrowsGrowTheExtentsAsTheyAreDrawn) {
    struct TCase {
        std::function<void(IGraphics&)> Draw;
        TMBox Extents;
    };
    const TCase Cases[] = {
        // A handle that draws nothing still counts.
        {[](IGraphics& G) { G.EditHandle(9, 1, 2, 3), G.EditHandle(12, 4, 5, 6); }, MakeBox(1, 2, 3, 4, 5, 6)},
        // Exactly the direction's length, the head lines in the XZ and YZ planes.
        {[](IGraphics& G) { G.Vector({0, 0, 0}, {0, 0, 5}, 1, false); }, MakeBox(-1, -1, 0, 1, 1, 5)},
        {[](IGraphics& G) { G.Vector({1, 1, 1}, {0, 0, 5}, 2, true); }, MakeBox(0.6, 0.6, 1, 1.4, 1.4, 3)},
    };
    for (const TCase& C : Cases) {
        View->OnRedraw = [&](void*, IGraphics& G) { C.Draw(G); };
        View->MeasureExtents();
        const TMBox& B = View->GetModelExtents();
        EXPECT_TRUE(VectorsEqualWithin(B.Min, C.Extents.Min, 1e-12) && VectorsEqualWithin(B.Max, C.Extents.Max, 1e-12))
            << VectorToStr(B.Min) << VectorToStr(B.Max);
    }
}

TEST_F(OpenGLViewDrawTest, TheModelCoversTheGridAndShowsWhateverTheLastFrameLeftSwitched) {
    // A renderer that leaves the depth mask off and blending on, which keeps every later frame's depth
    // buffer from clearing and draws nothing over it.
    ShowOnRedSquare(10, [](IGraphics&) {
        glDepthMask(GL_FALSE);
        glBlendFunc(GL_ZERO, GL_ONE);
        glEnable(GL_BLEND);
    });
    TViewGrid& Grid = View->GetGrid();
    Grid.SetGridSize(1);
    Grid.SetMajorColor(clWhite);
    Grid.SetMinorColor(clWhite);
    Grid.SetEnabled(true);
    const TPoint Centre = View->WorldToScreen(0.5, 0, -1);
    for (int Frame = 0; Frame < 3; ++Frame) {
        View->Render();
        // The grid line x = 0.5 lies in front of the square (z = 0 against -1) and still the square is
        // drawn over it.
        EXPECT_EQ(PixelAt(Centre.X, Centre.Y), QColor(Qt::red)) << Frame;
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

TEST_F(OpenGLViewDrawTest, MeasureWindowCollectsTheVerticesInsideTheRectangle) {
    ShowOnRedSquare(10, [](IGraphics& G) { G.Line(2, 2, 0, 4, 2, 0); });
    const TPoint A = View->WorldToScreen(2, 2, 0), B = View->WorldToScreen(4, 2, 0);
    const TWindowMeasure Empty = View->MeasureWindow({0, 0, 5, 5});
    EXPECT_EQ(Empty.Count, 0);
    EXPECT_EQ(Empty.Mean, ZeroVector);
    // Around the line's two ends; the square's corners lie outside.
    const TWindowMeasure Found = View->MeasureWindow({A.X - 2, A.Y - 2, B.X + 2, B.Y + 2});
    EXPECT_EQ(Found.Count, 2);
    EXPECT_EQ(Found.Mean, (TMVector{3, 2, 0}));
    EXPECT_EQ(View->GetModelExtents(), MakeBox(-10, -10, -1, 10, 10, 0));
}

TEST_F(OpenGLViewDrawTest, KeptLinesAreAskedForOnceUntilTheirKeyIsRenewedAndShowAsTheLinesWould) {
    TDrawingKey Key;
    int Asked = 0;
    bool Kept = false, Shown = true, Fail = false;
    TColor Colour = clYellow, ColourAfter = clBlack;
    // Runs of lines long enough to be kept apart from the list: Count short strokes in X0..X0+3,
    // Y0..Y0+6.
    auto Strokes = [](IGraphics& G, double X0, double Y0, int Count) {
        for (int I = 0; I < Count; ++I) {
            const double X = X0 + 3.0 * (I % 37) / 37, Y = Y0 + 6.0 * I / Count;
            G.Line(X, Y, 0, X + 0.2, Y + 0.1, 0);
        }
    };
    // Two lines in front of the square, one behind it (hidden), one reaching above it; the colour
    // changes between them and stays for what is drawn after.
    auto Lines = [&](IGraphics& G) {
        ++Asked;
        Strokes(G, -9, 2, 3000);
        if (Fail) throw EError("no lines");
        G.Line(-5, 0, 0, 5, 0, 0);
        G.Line(0, -5, 0, 0, 5, 0);
        G.SetLineColor(clAqua);
        Strokes(G, 6, -8, 5000);
        G.Line(-5, 5, -2, 5, -5, -2);
        G.LineStart(8, 8, 0);
        G.LineNext(8, 12, 0);
        G.LineFinish();
    };
    ShowOnRedSquare(10, [&](IGraphics& G) {
        if (!Shown) return;
        G.SetLineColor(Colour);
        if (Kept)
            G.KeptLines(Key, Lines);
        else
            Lines(G);
        ColourAfter = View->GetStoredLineColor();
        G.Line(-8, -8, 0, -8, -3, 0);
    });
    View->Render();
    const QImage Direct = View->grabFramebuffer();
    Kept = true;
    Asked = 0;
    for (int Frame = 0; Frame < 3; ++Frame) {
        ColourAfter = clBlack;
        View->Render();
        EXPECT_EQ(ColourAfter, clAqua);
    }
    EXPECT_EQ(Asked, 1);
    EXPECT_EQ(View->KeptLinesCount(), 1);
    EXPECT_EQ(View->grabFramebuffer(), Direct);

    // The lines take the colour of each frame.
    const TPoint On = View->WorldToScreen(2.5, 0, 0);
    Colour = clLime;
    View->Render();
    EXPECT_TRUE(ShowsNear(On, Qt::green));
    EXPECT_FALSE(ShowsNear(On, QColor(Qt::yellow)));
    // A measuring pass draws nothing, so it is asked for the lines; the hidden line counts too.
    View->MeasureExtents();
    EXPECT_EQ(Asked, 2);
    EXPECT_EQ(View->GetModelExtents(), MakeBox(-10, -10, -2, 10, 12, 0));

    // A new key is asked once more; the old list goes at the end of the frame that did not draw it.
    Key.Renew();
    View->Render();
    View->Render();
    EXPECT_EQ(Asked, 3);
    EXPECT_EQ(View->KeptLinesCount(), 1);
    Shown = false;
    View->Render();
    EXPECT_EQ(View->KeptLinesCount(), 0);

    // Lines that fail to draw leave no list behind, nor one being compiled.
    Shown = true;
    Fail = true;
    View->Render();
    EXPECT_EQ(View->KeptLinesCount(), 0);
    View->makeCurrent();
    GLint Compiling = -1;
    glGetIntegerv(GL_LIST_INDEX, &Compiling);
    EXPECT_EQ(Compiling, 0);
    Fail = false;
    View->Render();
    EXPECT_TRUE(ShowsNear(On, Qt::green));
    EXPECT_EQ(View->KeptLinesCount(), 1);

    // The lists go with the context.
    View->setEnabled(false);
    EXPECT_EQ(View->KeptLinesCount(), 0);
}

TEST_F(OpenGLViewDrawTest, BitmapTextIsTheFontsGlyphsAtThePoint) {
    const std::string Text = "Hello, Sarnova";
    const QFontMetrics Metrics(View->font());
    EXPECT_EQ(View->TextWidth(Text), Metrics.horizontalAdvance(QString::fromStdString(Text)));
    EXPECT_EQ(View->TextHeight(Text), Metrics.height());
    // Latin-1 only: what has no code of its own shows and measures as "?".
    EXPECT_EQ(View->TextWidth("\xE2\x82\xAC"), View->TextWidth("?"));
    EXPECT_EQ(View->TextWidth("\xC3\xA9"), Metrics.horizontalAdvance(QString::fromUtf8("\xC3\xA9")));

    ShowOnRedSquare(10, [&](IGraphics& G) {
        G.SetLineColor(clWhite);
        G.TextOut(Text, 0, 0, 0);
    });
    const TPoint P = View->WorldToScreen(0, 0, 0);
    const QRect Box = WhitePixels();
    ASSERT_FALSE(Box.isEmpty());
    EXPECT_NEAR(Box.left(), P.X, 2);
    EXPECT_NEAR(Box.right(), P.X + View->TextWidth(Text), 3);
    EXPECT_LE(Box.bottom(), P.Y + Metrics.descent());
    EXPECT_GE(Box.top(), P.Y - Metrics.ascent() - 1);
}

TEST_F(OpenGLViewDrawTest, LabelsAreAlignedOnTheirPoint) {
    // Labels are depth tested like the rest: nothing lies in front of this one.
    View->OnRedraw = [](void*, IGraphics& G) {
        G.SetLineColor(clRed);
        G.Line(-10, -10, 0, 10, -10, 0);
        G.Line(-10, 10, 0, 10, 10, 0);
        G.SetLineColor(clWhite);
        DrawGLLabel({0, 0, 0}, 1, 1, G, "MMMM", 0, 0);
    };
    View->SetProjection(cmParallel);
    View->ViewXY();
    const TPoint P = View->WorldToScreen(0, 0, 0);
    const QRect Box = WhitePixels();
    ASSERT_FALSE(Box.isEmpty());
    EXPECT_NEAR(Box.center().x(), P.X, 2);
    EXPECT_GT(Box.bottom(), P.Y - View->TextHeight("MMMM"));
    EXPECT_LT(Box.top(), P.Y + View->TextHeight("MMMM"));
}

TEST_F(OpenGLViewDrawTest, StrokedTextIsTheFontsOutlineOneUnitAnEm) {
    for (TTextMode Mode : {tmStrokedLine, tmStrokedPolygon}) {
        View->SetTextMode(Mode);
        EXPECT_EQ(View->TextWidth(""), 0);
        EXPECT_EQ(View->TextHeight(""), 0);
        const TGlyphMetrics A = View->GetGlyphMetrics('A'), V = View->GetGlyphMetrics('V');
        EXPECT_GT(A.CellIncX, 0.3);
        EXPECT_LT(A.CellIncX, 1.2);
        EXPECT_NEAR(View->TextWidth("AV"), A.CellIncX + V.BlackBoxX, 1e-6);
        EXPECT_GT(View->TextHeight("Ag"), View->TextHeight("a"));  // the descender reaches lower

        // Drawn at the point, in the line colour, about an em high.
        ShowOnRedSquare(2, [](IGraphics& G) {
            G.SetLineColor(clWhite);
            G.TextOut("H", 0, 0, 0);
        });
        const TPoint P = View->WorldToScreen(0, 0, 0);
        const TPoint Em = View->WorldToScreen(0, 1, 0);
        const QRect Box = WhitePixels();
        ASSERT_FALSE(Box.isEmpty()) << Mode;
        EXPECT_NEAR(Box.bottom(), P.Y, 2) << Mode;
        EXPECT_NEAR(Box.height(), (P.Y - Em.Y) * View->GetGlyphMetrics('H').BlackBoxY, 3) << Mode;
    }
}

TEST_F(OpenGLViewDrawTest, ThePrintCanvasProjectsWithTheCamera) {
    View->OnRedraw = [](void*, IGraphics& G) { G.Line(-8, 0, 0, 8, 0, 0); };
    View->SetProjection(cmParallel);
    View->ViewXY();
    TRecordingCanvas Canvas;
    auto Target = View->CreatePrintCanvas(Canvas, 400, 200);
    EXPECT_EQ(Target->GetViewport(), (std::array<int, 4>{0, 0, 400, 200}));
    const TPoint Centre = Target->WorldToScreen(0, 0, 0);
    EXPECT_NEAR(Centre.X, 200, 1);
    EXPECT_NEAR(Centre.Y, 100, 1);
    const TMVector Back = Target->ScreenToWorld(Centre.X, Centre.Y);
    EXPECT_NEAR(Back.X, 0, 0.1);
    EXPECT_NEAR(Back.Y, 0, 0.1);
    View->OnRedraw(View.get(), *Target);
    ASSERT_EQ(Canvas.Calls.size(), 2u);
    EXPECT_NEAR(Canvas.Calls[0].Points[0].X + Canvas.Calls[1].Points[0].X, 400, 2);
    EXPECT_EQ(Canvas.Calls[0].Points[0].Y, Canvas.Calls[1].Points[0].Y);
    // The view's own matrices are back after the print canvas.
    EXPECT_EQ(View->WorldToScreen(0, 0, 0), (TPoint{100, 80}));
}

TEST_F(OpenGLViewDrawTest, PrintingWritesOnePageUnlessThePrinterIsBusy) {
    QTemporaryDir Folder;
    int Draws = 0;
    View->OnRedraw = [&](void*, IGraphics& G) {
        ++Draws;
        G.Line(-8, 0, 0, 8, 0, 0);
    };
    View->ViewXY();
    Draws = 0;

    QPrinter Printer(QPrinter::HighResolution);
    Printer.setOutputFormat(QPrinter::PdfFormat);
    const QString Name = Folder.filePath("view.pdf");
    Printer.setOutputFileName(Name);
    View->Print("", Printer);
    EXPECT_EQ(Draws, 1);
    EXPECT_EQ(Printer.docName().toStdString(), GExeName + " - Viewport");
    QFile File(Name);
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const QByteArray Pdf = File.readAll();
    EXPECT_TRUE(Pdf.startsWith("%PDF"));
    EXPECT_EQ(Pdf.count("/Type /Page\n") + Pdf.count("/Type /Page\r") + Pdf.count("/Type /Page/") +
                  Pdf.count("/Type /Page>"),
              1);

    // A job under way on the printer: nothing is drawn.
    QPrinter Busy(QPrinter::HighResolution);
    Busy.setOutputFormat(QPrinter::PdfFormat);
    Busy.setOutputFileName(Folder.filePath("busy.pdf"));
    QPainter Job(&Busy);
    View->Print("Mine", Busy);
    EXPECT_EQ(Draws, 1);
    Job.end();

    // A drawing that fails still ends the job.
    View->OnRedraw = [](void*, IGraphics&) { throw EError("Cannot draw"); };
    EXPECT_THROW(View->Print("Failing", Printer), EError);
    EXPECT_NE(Printer.printerState(), QPrinter::Active);
}

TEST_F(OpenGLViewDrawTest, AFittedPrintTurnsThePageTheWayTheModelIsLongerAndFillsIt) {
    QTemporaryDir Folder;
    struct TCase {
        TMVector From, To;
        QPageLayout::Orientation Orientation;
    };
    const TCase Cases[] = {
        {{-8, 0, 0}, {8, 2, 0}, QPageLayout::Landscape},
        {{0, -8, 0}, {2, 8, 0}, QPageLayout::Portrait},
    };
    for (const TCase& C : Cases) {
        // Where the model's ends land on the page (not on the screen).
        TPoint A{}, B{};
        View->OnRedraw = [&](void*, IGraphics& G) {
            G.Line(C.From.X, C.From.Y, C.From.Z, C.To.X, C.To.Y, C.To.Z);
            if (&G == static_cast<IGraphics*>(&*View)) return;
            A = G.WorldToScreen(C.From.X, C.From.Y, C.From.Z);
            B = G.WorldToScreen(C.To.X, C.To.Y, C.To.Z);
        };
        View->ViewXY();
        View->ZoomIn();
        View->ZoomIn();
        const TMVector Before = View->ScreenToWorld(0, 0);
        QPrinter Printer(QPrinter::HighResolution);
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(Folder.filePath("fitted.pdf"));
        // Declined: nothing printed, but the page is turned for the dialog.
        View->PrintFitted("Sheet", Printer, [] { return false; });
        EXPECT_EQ(Printer.pageLayout().orientation(), C.Orientation);
        EXPECT_EQ(A.X, B.X);
        View->PrintFitted("Sheet", Printer, [] { return true; });
        EXPECT_EQ(Printer.pageLayout().orientation(), C.Orientation);
        // The model spans most of the page's longer side.
        const bool Wide = C.Orientation == QPageLayout::Landscape;
        const double Spans = Wide ? std::abs(B.X - A.X) / double(Printer.width())
                                  : std::abs(B.Y - A.Y) / double(Printer.height());
        EXPECT_GT(Spans, 0.7) << Wide;
        // The view is as it was: zoomed in.
        EXPECT_EQ(View->ScreenToWorld(0, 0), Before);
    }
}

TEST_F(OpenGLViewDrawTest, CopyingPutsAVectorPictureAndTheWindowsPixelsOnTheClipboard) {
    ShowOnRedSquare(10, [](IGraphics& G) { G.Line(-8, 0, 0, 8, 0, 0); });
    View->CopyToClipboard();
    const QMimeData* Data = QApplication::clipboard()->mimeData();
    ASSERT_NE(Data, nullptr);
    ASSERT_TRUE(Data->hasImage());
    const QImage Image = qvariant_cast<QImage>(Data->imageData());
    EXPECT_EQ(Image.size(), QSize(200, 160));
    const TPoint P = View->WorldToScreen(5, 5, 0);
    EXPECT_EQ(QColor(Image.pixel(P.X, P.Y)), QColor(255, 0, 0));
    EXPECT_TRUE(Data->data("application/pdf").startsWith("%PDF"));
}
