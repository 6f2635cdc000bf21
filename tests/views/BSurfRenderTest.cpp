// A B-spline surface entity drawn by a real view: in the rendered display state its patch shows lit
// in the entity's colour, and nothing beyond its edges; as lines, the view keeps its outline and
// parameter lines until the surface changes.
#include <gtest/gtest.h>

#include <QImage>

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

TEST_F(BSurfRenderTest, TheLinesTheViewKeepsFollowEveryChangeOfTheSurfaceAndItsUndo) {
    RegisterGeometryClasses();
    TGeometryInterface Doc;
    auto Entity = std::make_unique<TGeoBSurf>();
    AssignBSplineSurface(Entity->Surface(), *CornerPointBSplineSurface({-5, -5, 0}, {3, -5, 0}, {3, 5, 0}, {-5, 5, 0}));
    TGeometry* Surface = Doc.Add(std::move(Entity));
    Surface->SetColor(clWhite);
    Doc.GetUndoManager().Clear();
    View->OnRedraw = [&Doc](void*, IGraphics& G) {
        G.EditHandle(9, -6, -6, 0);
        G.EditHandle(9, 6, 6, 0);
        Doc.Draw(G);
    };
    View->SetProjection(cmParallel);
    View->ViewXY();
    const auto Shows = [&](std::initializer_list<double> LitX, std::initializer_list<double> DarkX) {
        View->Render();
        for (const double X : LitX) EXPECT_NE(At(X, 0), QColor(Qt::black)) << X;
        for (const double X : DarkX) EXPECT_EQ(At(X, 0), QColor(Qt::black)) << X;
    };
    // The outline's sides x = -5 and x = 3; the same picture from the kept lists at the next frame.
    Shows({-5, 3}, {4});
    const int Kept = View->KeptLinesCount();
    EXPECT_GE(Kept, 1);
    const QImage First = View->grabFramebuffer();
    Shows({-5, 3}, {4});
    EXPECT_EQ(View->grabFramebuffer(), First);
    EXPECT_EQ(View->KeptLinesCount(), Kept);

    Surface->Transform(MatrixTranslation(1, 0, 0));
    Shows({-4, 4}, {-5});
    EXPECT_EQ(View->KeptLinesCount(), Kept);
    Doc.Undo();
    Shows({-5, 3}, {4});
    EXPECT_EQ(View->grabFramebuffer(), First);
}

}  // namespace
}  // namespace sarnova
