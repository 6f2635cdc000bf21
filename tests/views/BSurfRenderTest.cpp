// A B-spline surface entity in the rendered display state, drawn by a real view: its patch shows lit
// in the entity's colour, and nothing beyond its edges.
#include <gtest/gtest.h>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "document/ShadedRenderer.h"
#include "entities/GBSurf.h"
#include "surfaces/BSurfaceBuild.h"
#include "views/GLRenderer.h"
#include "views/OpenGLViewFixture.h"

namespace sarnova {
namespace {

class BSurfRenderTest : public OpenGLViewFixture {
protected:
    void TearDown() override { RegisterGLRenderer({}); }
    QColor At(double X, double Y) {
        const TPoint S = View->WorldToScreen(X, Y, 0);
        return PixelAt(S.X, S.Y);
    }
};

TEST_F(BSurfRenderTest, RenderedSurfaceShowsItsShadedPatch) {
    RegisterGeometryClasses();
    InstallGLRenderer();
    TGeometryInterface Doc;
    auto Entity = std::make_unique<TGeoBSurf>();
    AssignBSplineSurface(Entity->Surface(), *CornerPointBSplineSurface({-5, -5, 0}, {3, -5, 0}, {3, 5, 0}, {-5, 5, 0}));
    TGeometry* Surface = Doc.Add(std::move(Entity));
    Surface->SetColor(clRed);
    Surface->SetDisplayState(dsRendered);
    ASSERT_NE(Surface->GetRenderer(), nullptr);

    View->OnRedraw = [Surface](void*, IGraphics& G) {
        G.EditHandle(9, -6, -6, 0);
        G.EditHandle(9, 6, 6, 0);
        Surface->DrawEntity(G);
    };
    View->SetProjection(cmParallel);
    View->ViewXY();
    View->Render();

    const auto LitRed = [](const QColor& C) { return C.red() > 150 && C.green() < 60 && C.blue() < 60; };
    for (const auto& [X, Y] : {std::pair{-3.0, 0.0}, std::pair{2.0, -4.0}, std::pair{0.0, 4.0}})
        EXPECT_TRUE(LitRed(At(X, Y))) << X << ", " << Y << ": " << At(X, Y).name().toStdString();
    EXPECT_EQ(At(4.5, 0), QColor(Qt::black));
}

}  // namespace
}  // namespace sarnova
