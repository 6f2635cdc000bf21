// The surface analysis drawn by a real 3-D view (run under Xvfb): the smooth and banded displays and the
// legend in window pixels over them.
#include <gtest/gtest.h>

#include "surfaces/SurfaceAnalysis.h"
#include "surfaces/SurfaceFixtures.h"
#include "views/OpenGLViewFixture.h"

using namespace sarnova;

namespace {

class SurfaceAnalysisViewTest : public OpenGLViewFixture {
protected:
    void SetUp() override {
        OpenGLViewFixture::SetUp();
        // A flat square of 10 x 10 about the origin.
        Square = MakeSurface(2, 2, 2, 2, [](int i, int j) { return TMVector{i * 10.0 - 5, j * 10.0 - 5, 0}; });
        Analysis.AddSurface(*Square, 1);
        View->OnRedraw = [this](void*, IGraphics& G) {
            Analysis.Draw(G);
            Analysis.DrawLegend(G);
        };
        View->SetProjection(cmParallel);
        View->ViewXY();
    }

    QColor Colour(TColor C) { return QColor(C & 0xFF, C >> 8 & 0xFF, C >> 16 & 0xFF); }

    std::unique_ptr<TBSplineSurface> Square;
    TSurfaceAnalysis Analysis;
};

TEST_F(SurfaceAnalysisViewTest, SmoothDisplayShowsThePointColoursUnlit) {
    View->Render();
    const TPoint Centre = View->WorldToScreen(0, 0, 0);
    const QColor Flat = Colour(ZeroCentredColor(ciHSL, -1, 1, 0));
    EXPECT_EQ(PixelAt(Centre.X, Centre.Y), Flat);
    // The legend's box 10 pixels from the right and bottom (200 x 160 view), outlined in white, with
    // the gradient's middle colour at its middle and the minus mark in the lower-left corner.
    EXPECT_EQ(PixelAt(62, 122), QColor(Qt::black));
    EXPECT_TRUE(ShowsNear({60, 135}, Qt::white));
    EXPECT_TRUE(ShowsNear({189, 135}, Qt::white));
    EXPECT_TRUE(ShowsNear({125, 130}, Flat));
    EXPECT_TRUE(ShowsNear({66, 142}, Qt::white));
    EXPECT_EQ(PixelAt(58, 135), Flat);
}

TEST_F(SurfaceAnalysisViewTest, BandedDisplayShowsTheBandColours) {
    Analysis.SetMode(samZebra);
    View->Render();
    const TPoint Centre = View->WorldToScreen(0, 0, 0);
    // The square faces away from the light: the first stripe.
    EXPECT_EQ(PixelAt(Centre.X, Centre.Y), Colour(Analysis.IsoPhotesParameters().GetZebraBand2Color()));

    Analysis.SetMode(samGaussian);
    Analysis.CurvatureParameters().SetLayers(true);
    Analysis.CurvatureParameters().SetLayersCount(5);
    View->Render();
    EXPECT_EQ(PixelAt(Centre.X, Centre.Y), Colour(Analysis.Layers().Items(2).Color));
    // The legend's first band: 24 pixels from the inner left.
    EXPECT_EQ(PixelAt(75, 130), Colour(Analysis.Layers().Items(0).Color));
    EXPECT_EQ(PixelAt(180, 130), Colour(Analysis.Layers().Items(4).Color));
}

}  // namespace
