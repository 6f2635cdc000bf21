// A polygon-list entity in the rendered display state, drawn by a real view: its facets show lit in
// the entity's colour, and only where they are.
#include <gtest/gtest.h>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "document/ShadedRenderer.h"
#include "entities/GGonList.h"
#include "foundation/GeomFacet.h"
#include "views/GLRenderer.h"
#include "views/OpenGLViewFixture.h"

namespace sarnova {
namespace {

class GGonListRenderTest : public OpenGLViewFixture {
protected:
    void TearDown() override { RegisterGLRenderer({}); }
    QColor At(double X, double Y) {
        const TPoint S = View->WorldToScreen(X, Y, 0);
        return PixelAt(S.X, S.Y);
    }
};

TEST_F(GGonListRenderTest, RenderedFacetsShowInTheEntityColour) {
    RegisterGeometryClasses();
    InstallGLRenderer();
    TGeometryInterface Doc;
    auto Entity = std::make_unique<TGeoPGonlist>();
    // A quadrilateral and a triangle facing the viewer, with a gap between them.
    Entity->Facets().Add(QuadFromVectors({-5, -5, 0}, {-1, -5, 0}, {-1, 5, 0}, {-5, 5, 0}));
    Entity->Facets().Add(TriangleFromVectors({1, -5, 0}, {5, -5, 0}, {5, 5, 0}));
    TGeometry* List = Doc.Add(std::move(Entity));
    List->SetColor(clRed);
    List->SetDisplayState(dsRendered);
    ASSERT_NE(List->GetRenderer(), nullptr);

    View->OnRedraw = [List](void*, IGraphics& G) {
        G.EditHandle(9, -6, -6, 0);
        G.EditHandle(9, 6, 6, 0);
        List->DrawEntity(G);
    };
    View->SetProjection(cmParallel);
    View->ViewXY();
    View->Render();

    const auto LitRed = [](const QColor& C) { return C.red() > 150 && C.green() < 60 && C.blue() < 60; };
    for (const auto& [X, Y] : {std::pair{-3.0, 0.0}, std::pair{4.0, -3.0}})
        EXPECT_TRUE(LitRed(At(X, Y))) << X << ", " << Y << ": " << At(X, Y).name().toStdString();
    // The gap between the facets, and the empty half of the triangle's box.
    EXPECT_EQ(At(0, 0), QColor(Qt::black));
    EXPECT_EQ(At(2, 3), QColor(Qt::black));
}

}  // namespace
}  // namespace sarnova
