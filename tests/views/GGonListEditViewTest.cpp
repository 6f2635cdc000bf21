// A polygon list drawn and edited in a real view (under Xvfb): the creator's four clicks make a
// quadrilateral, a dragged corner shows where it went, and one undo puts it back.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <filesystem>
#include <memory>

#include "document/GCreator.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/GGonList.h"
#include "entities/GPolygonCreator.h"
#include "foundation/GeomBox.h"
#include "foundation/GeomFacet.h"
#include "views/OpenGLViewFixture.h"

namespace sarnova {
namespace {

class GGonListEditViewTest : public OpenGLViewFixture {
protected:
    void SetUp() override {
        OpenGLViewFixture::SetUp();
        RegisterGeometryClasses();
        Doc.SetProjectOptions(0);
        Doc.View = View.get();
        View->OnRedraw = [this](void*, IGraphics& G) { Doc.Draw(G); };
        View->SetProjection(cmParallel);
        View->ViewXY();
        View->ZoomToBox(MakeBox(-6, -6, 0, 6, 6, 0));
        View->Render();
    }
    void TearDown() override {
        Doc.SetEditedGeometry(nullptr);
        View->SetEditorInterface(nullptr);
        Doc.View = nullptr;
    }

    TPoint Pixel(double X, double Y) { return View->WorldToScreen(X, Y, 0); }
    void Click(TMouseButton Button, TPoint P) {
        View->MouseMove(0, P.X, P.Y);
        View->MouseDown(Button, Button == mbLeft ? ssLeft : ssRight, P.X, P.Y);
        View->MouseUp(Button, 0, P.X, P.Y);
    }
    // Something is drawn within a pixel of P (the background is black).
    bool DrawnNear(TPoint P) {
        for (int DY = -1; DY <= 1; ++DY)
            for (int DX = -1; DX <= 1; ++DX)
                if (PixelAt(P.X + DX, P.Y + DY) != QColor(Qt::black)) return true;
        return false;
    }
    // One pixel's size in world units, for comparing clicked places.
    double PixelSize() { return 12.0 / std::min(View->GetClientWidth(), View->GetClientHeight()) * 1.5; }

    TGeometryInterface Doc;
};

TEST_F(GGonListEditViewTest, ACreatedQuadrilateralsDraggedCornerShowsAndOneUndoPutsItBack) {
    RunCreator(std::make_unique<TGeoPolygonCreator>(Doc, nullptr), *View);
    for (auto [X, Y] : {std::pair{-4.0, -4.0}, {4.0, -4.0}, {4.0, 4.0}, {-4.0, 4.0}}) Click(mbLeft, Pixel(X, Y));
    Click(mbRight, Pixel(0, 0));
    EXPECT_EQ(RunningCreatorCount(), 0);
    ASSERT_EQ(Doc.Count(), 1);
    auto* List = dynamic_cast<TGeoPGonlist*>(&Doc.Items(0));
    ASSERT_NE(List, nullptr);
    ASSERT_EQ(List->Facets().Count(), 1);
    const TFacetRef Quad = List->Facets().Polygon(0);
    ASSERT_EQ(Quad.CornerCount(), 4);
    EXPECT_NEAR(Quad.Corner(2)->X, 4, PixelSize());
    EXPECT_NEAR(Quad.Corner(2)->Y, 4, PixelSize());

    // The facet picked, then its corner (4, 4) dragged 20 pixels right and 10 up.
    Doc.SetEditedGeometry(List);
    ASSERT_EQ(View->GetEditorInterface(), List);
    Click(mbLeft, Pixel(0, 0));
    ASSERT_TRUE(Quad.GetSelected());
    const TMVector Before = Quad.Corner(2)->Vector();
    const TMVector Neighbour = Quad.Corner(1)->Vector();
    const TPoint From = View->WorldToScreenVector(Before);
    const TPoint To{From.X + 20, From.Y - 10};
    Doc.GetUndoManager().Clear();
    View->MouseDown(mbLeft, ssLeft, From.X, From.Y);
    View->MouseMove(ssLeft, From.X + 10, From.Y - 5);
    View->MouseMove(ssLeft, To.X, To.Y);
    View->MouseUp(mbLeft, 0, To.X, To.Y);
    const TMVector After = Quad.Corner(2)->Vector();
    EXPECT_GT(After.X, Before.X + 1);
    EXPECT_GT(After.Y, Before.Y + 0.5);
    EXPECT_EQ(After.Z, 0);
    EXPECT_EQ(Quad.Corner(1)->Vector(), Neighbour);

    View->Render();
    const QImage Shot = View->grabFramebuffer();
    EXPECT_TRUE(Shot.save(QString::fromStdString((std::filesystem::temp_directory_path() / "GGonListEdit.png").string())));
    const auto Mid = [](const TMVector& A, const TMVector& B) { return VectorScale(VectorAdd(A, B), 0.5); };
    const TMVector OldEdge = Mid(Quad.Corner(1)->Vector(), Before);
    const TMVector NewEdge = Mid(Quad.Corner(1)->Vector(), After);
    EXPECT_TRUE(DrawnNear(View->WorldToScreenVector(NewEdge)));
    EXPECT_FALSE(DrawnNear(View->WorldToScreenVector(OldEdge)));

    Doc.SetEditedGeometry(nullptr);
    ASSERT_TRUE(Doc.CanUndo());
    Doc.Undo();
    const TPolygon& Back = *static_cast<TGeoPGonlist&>(Doc.Items(0)).Facets().Polygon(0);
    EXPECT_EQ(Back.Corner(2)->Vector(), Before);
    View->Render();
    EXPECT_TRUE(DrawnNear(View->WorldToScreenVector(OldEdge)));
    EXPECT_FALSE(DrawnNear(View->WorldToScreenVector(NewEdge)));
}

TEST_F(GGonListEditViewTest, TheWireframeTheViewKeepsFollowsEveryChangeOfTheFacetsAndTheirUndo) {
    // A quadrilateral and a triangle sharing its right edge x = -1.
    auto Made = std::make_unique<TGeoPGonlist>();
    Made->Facets().Add(QuadFromVectors({-4, -4, 0}, {-1, -4, 0}, {-1, 4, 0}, {-4, 4, 0}));
    Made->Facets().Add(TriangleFromVectors({-1, -4, 0}, {3, -4, 0}, {-1, 4, 0}));
    auto* List = static_cast<TGeoPGonlist*>(Doc.Add(std::move(Made)));
    Doc.GetUndoManager().Clear();
    auto Shows = [this](std::initializer_list<std::pair<double, double>> Lit,
                        std::initializer_list<std::pair<double, double>> Dark) {
        View->Render();
        for (auto [X, Y] : Lit) EXPECT_TRUE(DrawnNear(Pixel(X, Y))) << X << ", " << Y;
        for (auto [X, Y] : Dark) EXPECT_FALSE(DrawnNear(Pixel(X, Y))) << X << ", " << Y;
    };
    Shows({{-4, 0}, {-1, 0}, {1, 0}}, {{-2.5, 0}, {2, 0}});
    EXPECT_EQ(View->KeptLinesCount(), 1);

    // The quadrilateral's diagonal (-4, -4) to (-1, 4) appears.
    List->ConvertToTriangles();
    Shows({{-4, 0}, {-2.5, 0}}, {{2, 0}});
    List->Transform(MatrixTranslation(3, 0, 0));
    Shows({{-1, 0}, {0.5, 0}, {2, 0}}, {{-4, 0}, {-2.5, 0}});
    // The list of the first drawing went at the end of the frame that no longer drew it.
    EXPECT_EQ(View->KeptLinesCount(), 1);

    Doc.Undo();
    Shows({{-4, 0}, {-2.5, 0}}, {{2, 0}});
    Doc.Undo();
    Shows({{-4, 0}, {-1, 0}, {1, 0}}, {{-2.5, 0}, {2, 0}});
}

}  // namespace
}  // namespace sarnova
