// The 3-D view in a real OpenGL context (run under Xvfb): the render cycle, adaptive degradation,
// the extents pass, the line-strip rules, overlays over the cached frame and the camera operations.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QOpenGLContext>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/Geom.h"
#include "foundation/GeomFacet.h"
#include "platform/ScriptedUserDialogs.h"
#include "foundation/RenderTarget.h"
#include "platform/qt/OpenGLHelpers.h"
#include "views/OpenGLView.h"
#include "views/OpenGLViewFixture.h"

using namespace sarnova;

namespace {

class OpenGLViewTest : public OpenGLViewFixture {};

// Draws a red polyline from (-8, -4, 0) through (0, 4, 0) to (8, -4, 0).
void DrawPolyline(IGraphics& G) {
    TRPoints Points;
    Points.OwnColors = true;
    Points.LineColor = clRed;
    for (const TMVector& P : {TMVector{-8, -4, 0}, TMVector{0, 4, 0}, TMVector{8, -4, 0}})
        Points.Add(std::make_unique<TRPoint>(P));
    G.Polyline(Points);
}

}  // namespace

TEST_F(OpenGLViewTest, APolylineShowsWhereTheCameraPutsIt) {
    View->OnRedraw = [](void*, IGraphics& G) { DrawPolyline(G); };
    for (TCameraMode Mode : {cmPerspective, cmParallel}) {
        View->SetProjection(Mode);
        View->ViewXY();
        for (const TMVector& P : {TMVector{-4, 0, 0}, TMVector{4, 0, 0}, TMVector{-6, -2, 0}})
            EXPECT_TRUE(ShowsNear(View->WorldToScreen(P.X, P.Y, P.Z), QColor(255, 0, 0))) << VectorToStr(P);
        EXPECT_EQ(PixelAt(2, 2), QColor(0, 0, 0));
        EXPECT_EQ(PixelAt(View->WorldToScreen(0, -2, 0).X, View->WorldToScreen(0, -2, 0).Y), QColor(0, 0, 0));
    }
}

TEST_F(OpenGLViewTest, SlowFullDrawsGiveThePreviewWhileTheCameraIsDragged) {
    struct TCase {
        TAdaptiveDegradation Mode;
        TInteractionMode Interaction;
        bool MiddlePan;
        std::uint32_t FirstDraw;  // milliseconds of the full draw before the drag
        bool Preview;             // what the drag shows
    };
    const TCase Cases[] = {
        {adWhenRequired, imRotateWorld, false, 250, true},
        {adWhenRequired, imRotateWorld, false, 249, false},
        {adWhenRequired, imFly, false, 400, true},
        {adWhenRequired, imUser, false, 400, false},
        {adWhenRequired, imZoomWindow, false, 400, false},
        {adWhenRequired, imUser, true, 400, true},
        {adAlways, imPan, false, 0, true},
        {adNever, imPan, false, 400, false},
    };
    for (const TCase& C : Cases) {
        std::uint32_t Delay = C.FirstDraw;
        int Full = 0, Preview = 0;
        View->OnRedraw = [&](void*, IGraphics&) {
            Now += Delay;
            ++Full;
        };
        View->OnPreviewRedraw = [&](void*, IGraphics&) { ++Preview; };
        View->AdaptiveDegration = C.Mode;
        View->SetInteractionMode(C.Interaction);
        View->Render();
        EXPECT_EQ(View->GetLastFullDrawTime(), C.FirstDraw);

        Full = Preview = 0;
        Delay = 7;
        View->SetStateFlag(vfDragging, true);
        View->SetStateFlag(vfMiddlePan, C.MiddlePan);
        View->Render();
        View->SetStateFlag(vfDragging, false);
        View->SetStateFlag(vfMiddlePan, false);
        const std::string Label = std::to_string(C.Mode) + "/" + std::to_string(C.Interaction) + "/" +
                                  std::to_string(C.FirstDraw);
        EXPECT_EQ(Preview, C.Preview ? 1 : 0) << Label;
        EXPECT_EQ(Full, C.Preview ? 0 : 1) << Label;
        // Only a timed full draw changes the time; the drags of adNever are not timed.
        const bool Timed = !C.Preview && C.Mode == adWhenRequired;
        EXPECT_EQ(View->GetLastFullDrawTime(), Timed ? 7u : C.FirstDraw) << Label;
    }
}

TEST_F(OpenGLViewTest, TheDefaultPreviewIsTheBoxOfTheModelExtents) {
    View->OnRedraw = [](void*, IGraphics& G) { DrawPolyline(G); };
    View->ViewXY();
    View->SetStateFlag(vfDragging, true);
    View->AdaptiveDegration = adAlways;
    View->Render();
    // The extents are (-8, -4) to (8, 4): the polyline's middle is gone, the box's edge shows.
    EXPECT_FALSE(ShowsNear(View->WorldToScreen(-4, 0, 0), QColor(255, 0, 0)));
    EXPECT_TRUE(ShowsNear(View->WorldToScreen(-4, 4, 0), QColor(255, 0, 0)));
}

TEST_F(OpenGLViewTest, ARenderRequestedDuringARenderIsIgnored) {
    int Draws = 0;
    View->OnRedraw = [&](void*, IGraphics&) {
        ++Draws;
        View->ZoomIn();
        View->Render();
    };
    View->Render();
    EXPECT_EQ(Draws, 1);
    EXPECT_FALSE(View->GetStateFlags() & vfRendering);
}

TEST_F(OpenGLViewTest, AFailingRenderIsReportedOnceAndTheViewKeepsWorking) {
    TScriptedUserDialogs Dialogs;
    IUserDialogs* Saved = GExceptionHandler->UserDialogs;
    GExceptionHandler->UserDialogs = &Dialogs;
    bool Fail = true;
    int Draws = 0;
    View->OnRedraw = [&](void*, IGraphics& G) {
        ++Draws;
        if (Fail) {
            G.LineStart(0, 0, 0);  // left open by the failure
            throw EError("Cannot draw");
        }
        G.Line(0, 0, 0, 1, 1, 1);
    };
    View->Render();
    View->Render();
    EXPECT_EQ(Draws, 2);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text, "Cannot draw.");
    EXPECT_FALSE(View->GetStateFlags() & vfRendering);

    Fail = false;
    View->Render();
    EXPECT_EQ(Draws, 3);
    EXPECT_EQ(Dialogs.Shown.size(), 1u);  // the line drew: no strip was left open

    Fail = true;
    View->Render();
    EXPECT_EQ(Dialogs.Shown.size(), 2u);
    GExceptionHandler->UserDialogs = Saved;
}

TEST_F(OpenGLViewTest, ZoomAllMeasuresWhatTheDocumentDraws) {
    struct TCase {
        std::vector<TMVector> Line;
        TMBox Expected;
    };
    const TMBox Default = MakeBox(-10, -10, -10, 10, 10, 10);
    const TCase Cases[] = {
        {{}, Default},
        {{{1, 2, 3}, {5, 2, 3}}, Default},  // extends along one axis only
        {{{1, 2, 3}, {5, 7, 3}}, MakeBox(1, 2, 3, 5, 7, 3)},
        {{{1, 2, 3}, {5, 7, 1e308}}, Default},  // too far out to be measured
    };
    for (const TCase& C : Cases) {
        View->OnRedraw = [&](void*, IGraphics& G) {
            if (C.Line.empty()) return;
            G.LineStartVector(C.Line[0]);
            G.LineNextVector(C.Line[1]);
            G.LineFinish();
        };
        View->ZoomAll();
        EXPECT_EQ(View->GetModelExtents(), C.Expected);
        EXPECT_EQ(View->GetModelCentre(), BoxCentre(C.Expected));
    }
}

TEST_F(OpenGLViewTest, LineStripsKeepTheirOrderInDrawingAndInMeasuring) {
    std::vector<std::string> Messages;
    auto Expect = [&](auto Call) {
        try {
            Call();
            Messages.push_back("");
        } catch (const EError& E) {
            Messages.push_back(E.what());
        }
    };
    View->OnRedraw = [&](void*, IGraphics& G) {
        TRPoints Points;
        TPolygon Facet(0);
        Expect([&] { G.LineNext(0, 0, 0); });
        Expect([&] { G.LineFinish(); });
        Expect([&] { G.LineStart(0, 0, 0); });
        Expect([&] { G.LineStart(1, 0, 0); });
        Expect([&] { G.Line(0, 0, 0, 1, 1, 1); });
        Expect([&] { G.Polyline(Points); });
        Expect([&] { G.Polygon(Facet); });
        Expect([&] { G.EditHandle(0, 0, 0, 0); });
        Expect([&] { G.Vector({0, 0, 0}, {1, 0, 0}, 1, true); });
        Expect([&] { G.LineNext(1, 1, 0); });  // the strip is still open
        Expect([&] { G.LineFinish(); });
    };
    const std::vector<std::string> Expected = {
        "OpenGLView.LineNext - LineStart must be called to begin a line",
        "OpenGLView.LineFinish - LineStart must be called to begin a line",
        "",
        "OpenGLView.LineStart - Line already started",
        "OpenGLView.Line - Already Drawing Line (LineStart, LineNext, LineEnd)",
        "OpenGLView.Polyline - Already Drawing Line (LineStart, LineNext, LineEnd)",
        "OpenGLView.Polygon - Already Drawing Line (LineStart, LineNext, LineEnd)",
        "OpenGLView.EditHandle - Already Drawing Line (LineStart, LineNext, LineEnd)",
        "OpenGLView.Vector - Already Drawing Line (LineStart, LineNext, LineEnd)",
        "",
        "",
    };
    View->Render();
    EXPECT_EQ(Messages, Expected);
    Messages.clear();
    View->MeasureExtents();
    EXPECT_EQ(Messages, Expected);
    EXPECT_EQ(View->GetModelExtents(), MakeBox(0, 0, 0, 1, 1, 0));
}

TEST_F(OpenGLViewTest, OverlaysDrawOnTheShownFrameAndTheCachedFrameErasesThem) {
    View->SetPfdFlags(View->GetPfdFlags() | PfdFlag(TPFDFlag::DoubleBuffer));
    View->ViewXY();
    const TPoint Middle = View->WorldToScreen(0, 0, 0);
    ASSERT_EQ(PixelAt(Middle.X, Middle.Y), QColor(0, 0, 0));

    View->BeginOverlayDraw();
    EXPECT_TRUE(View->IsOverlayDrawing());
    View->SetLineColor(clLime);
    View->Line(-5, 0, 0, 5, 0, 0);
    View->EndOverlayDraw();
    EXPECT_FALSE(View->IsOverlayDrawing());
    EXPECT_TRUE(ShowsNear(Middle, QColor(0, 255, 0)));

    ASSERT_TRUE(View->RestoreCachedFrame());
    EXPECT_FALSE(ShowsNear(Middle, QColor(0, 255, 0)));
}

TEST_F(OpenGLViewTest, ParallelZoomAllFillsTheWindowWithTheLargerExtent) {
    View->OnRedraw = [](void*, IGraphics& G) { DrawPolyline(G); };
    View->SetProjection(cmParallel);
    View->ViewXY();
    // The fit measures the model in whole pixels: from far away that is coarse, from the first fit on
    // it is exact to a pixel.
    View->ZoomAll();
    TCamera& Camera = View->GetCamera();
    // 16 x 8 in a 200 x 160 window: the width limits.
    EXPECT_NEAR(Camera.ProjectedWidth() / Camera.ViewWidth(), 1 / 1.1, 0.01);
    const TPoint Left = View->WorldToScreen(-8, 0, 0);
    const TPoint Right = View->WorldToScreen(8, 0, 0);
    EXPECT_NEAR(Right.X - Left.X, 200 / 1.1, 2);
}

TEST_F(OpenGLViewTest, CameraOperationsAreSavedAndStepBack) {
    View->OnRedraw = [](void*, IGraphics& G) { DrawPolyline(G); };
    View->ViewXY();
    TCamera& Camera = View->GetCamera();
    const int Saved = View->SavedCameraStates();
    const double Distance = Camera.Distance();

    View->ZoomIn();
    EXPECT_NEAR(Camera.Distance(), Distance * 0.8, 1e-9);
    View->ZoomWindow({10, 10, 15, 15});  // 5 x 5 pixels: nothing
    View->ZoomToBox(MakeBox(0, 0, 0, 1, 0, 0));  // no area: nothing
    EXPECT_EQ(View->SavedCameraStates(), Saved + 1);

    View->SetProjection(cmParallel);
    const double Size = Camera.GetViewSize();
    View->ZoomWindow({10, 10, 16, 11});  // 6 x 1 pixels zooms
    EXPECT_EQ(View->SavedCameraStates(), Saved + 3);
    EXPECT_LT(Camera.GetViewSize(), Size);

    View->ZoomPrevious();
    EXPECT_EQ(Camera.GetViewSize(), Size);
    View->ZoomPrevious();
    EXPECT_EQ(Camera.GetMode(), cmPerspective);
    View->ZoomPrevious();
    EXPECT_NEAR(Camera.Distance(), Distance, 1e-9);
    EXPECT_EQ(View->SavedCameraStates(), Saved);

    View->SetStateFlag(vfDragging, true);
    View->ZoomOut();
    View->ZoomAll();
    EXPECT_EQ(View->SavedCameraStates(), Saved);
    View->SetStateFlag(vfDragging, false);
}

TEST_F(OpenGLViewTest, DisablingDropsTheContextAndEnablingZoomsToAll) {
    View->setEnabled(false);
    EXPECT_FALSE(View->GetStateFlags() & vfContextReady);
    int Draws = 0;
    View->OnRedraw = [&](void*, IGraphics&) { ++Draws; };
    View->Render();
    EXPECT_EQ(Draws, 0);
    const int Saved = View->SavedCameraStates();
    View->setEnabled(true);
    EXPECT_TRUE(View->GetStateFlags() & vfContextReady);
    EXPECT_EQ(View->SavedCameraStates(), Saved + 1);
    EXPECT_GE(Draws, 2);  // measured and rendered
}

TEST_F(OpenGLViewTest, InteractionModesAndEditors) {
    try {
        View->SetInteractionMode(imRotate);
        ADD_FAILURE();
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "TOpenGLView.InteractionMode - imRotate no longer supported");
    }
    View->SetStateFlag(vfDragging, true);
    View->SetInteractionMode(imPan);
    EXPECT_EQ(View->GetInteractionMode(), imRotateWorld);
    View->SetStateFlag(vfDragging, false);
    View->SetInteractionMode(imUser);
    EXPECT_EQ(View->GetInteractionMode(), imUser);

    struct TCountingEditor : TEditorInterface {
        int Attached = 0, Detached = 0, Feedback = 0;
        void Attach(IOpenGLView&) override { ++Attached; }
        bool Detach(IOpenGLView&) override {
            ++Detached;
            return false;
        }
        void ShowFeedback() override { ++Feedback; }
    } First, Second;
    std::string Hint;
    View->OnHintInformation = [&](void*, const std::string& Text) { Hint = Text; };
    View->SetEditorInterface(&First);
    View->SetEditorInterface(&First);
    EXPECT_EQ(First.Attached, 1);
    View->Render();
    EXPECT_EQ(First.Feedback, 1);
    View->SetEditorInterface(&Second);  // replaced although it declines
    EXPECT_EQ(First.Detached, 1);
    EXPECT_EQ(View->GetEditorInterface(), &Second);
    View->SetEditorInterface(nullptr);
    EXPECT_EQ(Hint, "Left Click to Select, Shift to Select by region, Ctrl to add to add to previous selection");
}

TEST_F(OpenGLViewTest, CameraMatricesAreThoseOfTheUtilityLibrary) {
    View->makeCurrent();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(35, 1.25, 0.01, 321);
    const TMMatrix Perspective = GetGLProjectionMatrix();
    glLoadIdentity();
    glOrtho(-7, 9, -3, 5, -20, 40);
    const TMMatrix Ortho = GetGLProjectionMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(3, -40, 12, 1, 2, 3, 0.2, 0.1, 1);
    const TMMatrix LookAt = GetGLModelViewMatrix();
    const std::pair<TMMatrix, TMMatrix> Pairs[] = {
        {Perspective, PerspectiveMatrix(35, 1.25, 0.01, 321)},
        {Ortho, OrthoMatrix(-7, 9, -3, 5, -20, 40)},
        {LookAt, LookAtMatrix({3, -40, 12}, {1, 2, 3}, {0.2, 0.1, 1})},
    };
    for (const auto& [GL, Ours] : Pairs)
        for (int R = 0; R < 4; ++R)
            for (int C = 0; C < 4; ++C)  // OpenGL keeps its matrices in single precision
                EXPECT_NEAR(GL[R][C], Ours[R][C], 1e-6 * std::max(1.0, std::fabs(Ours[R][C]))) << R << "," << C;

    // The loaded matrices read back as they were, and the camera projects as the library does.
    TCamera& Camera = View->GetCamera();
    Camera.SetEye({3, -40, 12});
    Camera.SetTarget({1, 2, 3});
    Camera.SetUp({0.2, 0.1, 1});
    Camera.Apply();
    LoadGLProjectionMatrix(Camera.GetProjectionMatrix());
    LoadGLModelViewMatrix(Camera.GetModelViewMatrix());
    const TMMatrix Loaded = GetGLModelViewMatrix();
    for (int R = 0; R < 4; ++R)
        for (int C = 0; C < 4; ++C)
            EXPECT_FLOAT_EQ(float(Loaded[R][C]), float(Camera.GetModelViewMatrix()[R][C])) << R << "," << C;
    GLdouble MV[16], P[16], X = 0, Y = 0, Z = 0;
    GLint Viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, MV);
    glGetDoublev(GL_PROJECTION_MATRIX, P);
    glGetIntegerv(GL_VIEWPORT, Viewport);
    gluProject(4, 5, 6, MV, P, Viewport, &X, &Y, &Z);
    const TPoint Pixel = Camera.WorldToScreen(4, 5, 6);
    EXPECT_EQ(Pixel.X, int(X));
    EXPECT_EQ(Pixel.Y, Viewport[3] - int(Y));
}

TEST_F(OpenGLViewTest, TexturesTakePowerOfTwoSizesAndFreeNames) {
    View->makeCurrent();
    struct TCase {
        int W, H, ExpectW, ExpectH;
    };
    const TCase Cases[] = {{200, 100, 256, 128}, {256, 100, 256, 128}, {64, 64, 64, 64}, {1, 3, 1, 4}};
    for (const TCase& C : Cases) {
        TOpenGLImage Image(C.W, C.H);
        Image.SetPixel(0, clRed);
        ASSERT_TRUE(TOpenGLTexture::FitToPowerOfTwo(Image));
        EXPECT_EQ(Image.GetWidth(), C.ExpectW);
        EXPECT_EQ(Image.GetHeight(), C.ExpectH);
        EXPECT_EQ(Image.GetSize(), C.ExpectW * C.ExpectH * 3);
    }

    GLuint Used[2] = {100, 101};
    for (GLuint Name : Used) glBindTexture(GL_TEXTURE_2D, Name);
    TOpenGLTexture Texture;
    EXPECT_FALSE(Texture.HasTexture());
    TOpenGLImage Five(5, 1);
    for (int I = 0; I < 5; ++I) Five.SetPixel(I, I < 2 ? clRed : clLime);
    TOpenGLCompressedImage Compressed;
    Compressed.Compress(Five);
    Texture.LoadFromCompressedImage(Compressed);
    EXPECT_EQ(Texture.GetName(), 102u);
    Texture.Bind();
    GLint Width = 0, Height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &Width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &Height);
    EXPECT_EQ(Width, 8);
    EXPECT_EQ(Height, 1);
    Texture.Unbind();
    Texture.Upload(Five);
    EXPECT_EQ(Texture.GetName(), 102u);
    Texture.Release();
    EXPECT_FALSE(glIsTexture(102));
    glDeleteTextures(2, Used);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(OpenGLViewTest, ADoubleArrowHasAFilledHeadAtEachEnd) {
    // The GL helper and the model's arrow, which draws its heads through the render target.
    const std::function<void(IGraphics&)> Arrows[] = {
        [](IGraphics& G) { DrawGLDoubleArrow(G, 12, {-5, 0, 0}, {5, 0, 0}); },
        [](IGraphics& G) { DrawDoubleArrow(G, 12, {-5, 0, 0}, {5, 0, 0}); }};
    for (const auto& Arrow : Arrows) {
        View->OnRedraw = [&](void*, IGraphics& G) {
            G.SetLineColor(clRed);
            Arrow(G);
        };
        View->SetProjection(cmParallel);
        View->ViewXY();
        View->ZoomAll();
        const TPoint From = View->WorldToScreen(-5, 0, 0);
        const TPoint To = View->WorldToScreen(5, 0, 0);
        const TPoint Middle = View->WorldToScreen(0, 0, 0);
        ASSERT_GT(To.X - From.X, 60);
        auto RedInColumn = [&](int X, int Y) {
            int Count = 0;
            for (int DY = -5; DY <= 5; ++DY) Count += PixelAt(X, Y + DY) == QColor(255, 0, 0);
            return Count;
        };
        // Across the line: the shaft alone in the middle, a head some pixels wide near each end.
        EXPECT_EQ(RedInColumn(Middle.X, Middle.Y), 1);
        EXPECT_GE(RedInColumn(From.X + 9, From.Y), 4);
        EXPECT_GE(RedInColumn(To.X - 9, To.Y), 4);
        EXPECT_LE(RedInColumn(From.X + 9, From.Y), 7);
    }
}
