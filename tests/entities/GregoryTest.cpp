// The Gregory surface entity: creation over a rectangle, its block, line counts and dragging, edges,
// conversion to a mesh, queries and the change that sets one coordinate of every point.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/CurveFixtures.h"
#include "document/GBSpline.h"
#include "document/GeometryQuery.h"
#include "entities/GGregory.h"
#include "entities/GMesh.h"
#include "EntityFixtures.h"
#include "foundation/TextUtils.h"
#include "foundation/Polygon.h"
#include "foundation/VkMaths.h"
#include "surfaces/Gregory.h"

namespace sarnova::test {
namespace {

TMVector P(const TGeoGregorySurface& G, int K) { return G.Surface().ControlPoint(K).Vector(); }

// The point a fraction T of the way from A to B.
TMVector Along(const TMVector& A, const TMVector& B, double T) {
    return {A.X + T * (B.X - A.X), A.Y + T * (B.Y - A.Y), A.Z + T * (B.Z - A.Z)};
}

class GregoryTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterEntityClasses(); }
    // A flat patch over (0, 0) .. (10, 5) in the plane z = 0.
    TGeoGregorySurface* Add(const std::string& Name = {}) {
        auto G = std::make_unique<TGeoGregorySurface>();
        G->Surface().Assign(*GregorySurfaceFromCorners({0, 0, 0}, {10, 0, 0}, {10, 5, 0}, {0, 5, 0}));
        G->SetName(Name);
        return static_cast<TGeoGregorySurface*>(Doc.Add(std::move(G)));
    }
    int ParameterLines(TGeoGregorySurface& G) {
        G.ParametersRepresentation()->Invalidate();
        G.ParametersRepresentation()->Update();
        return G.ParametersRepresentation()->GetPolylines()->Count();
    }

    TGeometryInterface Doc;
    TFakeView View;
};

TEST_F(GregoryTest, CreatorMakesAFlatPatchOverTheRectangle) {
    RunCreator(std::make_unique<TGeoGregoryCreator>(Doc), View);
    ClickAt(View, mbLeft, 0, 0);
    ClickAt(View, mbLeft, 10, 5);
    auto Made = EntitiesOf<TGeoGregorySurface>(Doc);
    ASSERT_EQ(Made.size(), 1u);
    const TGeoGregorySurface& G = *Made[0];
    // Points 1 and 2 at the thirds of the first side, point 5 a quarter of the way from 4 to 7.
    const TMVector A = P(G, 0), B = P(G, 3);
    ExpectNear(P(G, 1), Along(A, B, 1.0 / 3));
    ExpectNear(P(G, 2), Along(A, B, 2.0 / 3));
    ExpectNear(P(G, 5), Along(P(G, 4), P(G, 7), 0.25));
    EXPECT_NEAR(VectorDistance(A, B) * VectorDistance(A, P(G, 12)), 50, 1e-9);
    View.KeyPress(27);
}

TEST_F(GregoryTest, BlockHoldsTwentyPointsAndNoLineCounts) {
    TGeoGregorySurface* G = Add("Patch");
    G->SetNumULine(12);
    G->SetDrawParameters(false);
    G->SetMirrored(true);
    const std::string Text = SavedText(Doc);
    TTextReader In(Text);
    EXPECT_EQ(In.ReadLine(), "[TGregorySurface]");
    for (int K = 0; K < 20; ++K) EXPECT_EQ(WordCount(In.ReadLine()), 3) << K;
    EXPECT_EQ(In.ReadLine(), "Name=Patch");
    EXPECT_EQ(In.ReadLine(), "DrawParameters=FALSE");
    EXPECT_EQ(In.ReadLine(), "Mirrored=TRUE");
    EXPECT_EQ(In.ReadLine(), "");
    EXPECT_EQ(Text.find("NumULine"), std::string::npos);
    ExpectLoadsAndSavesUnchanged(Text);

    // A short block is damaged: kept as it was, no entity made.
    std::string Short = Text;
    Short.erase(Short.find("Name=") - 42, 42);
    TGeometryInterface Other;
    LoadDocumentText(Other, Short);
    EXPECT_EQ(EntitiesOf<TGeoGregorySurface>(Other).size(), 0u);
}

TEST_F(GregoryTest, LineCountsReachTheSurfaceAtTheEndOfADrag) {
    TGeoGregorySurface* G = Add();
    G->SetNumULine(4);
    EXPECT_EQ(ParameterLines(*G), 5 + 26);
    EXPECT_EQ(G->Surface().NumULine(), 25);

    Doc.SetEditedGeometry(G);
    G->Surface().ControlPoint(5).Marked = true;
    TRecordingGraphics Graphics;
    G->BeginDrag({}, {}, Graphics, {}, {});
    EXPECT_EQ(G->Surface().LinePointCount(), 25);
    G->Drag({}, {}, Graphics, {}, {0, 0, 2});
    G->Drag({}, {}, Graphics, {}, {0, 0, 1});
    G->EndDrag({}, {}, Graphics, {}, {});
    EXPECT_EQ(P(*G, 5).Z, 1);
    EXPECT_EQ(P(*G, 6).Z, 0);
    EXPECT_EQ(G->Surface().NumULine(), 4);
    EXPECT_EQ(G->Surface().StoredLinePointCount(), 8);
}

TEST_F(GregoryTest, EdgesAndMeshReplaceOrJoinTheEntity) {
    Add()->ExtractEdges();
    auto Curves = EntitiesOf<TGeoBSpline>(Doc);
    ASSERT_EQ(Curves.size(), 4u);
    const char* Names[] = {"MinUEdge", "MinVEdge", "MaxUEdge", "MaxVEdge"};
    for (int I = 0; I < 4; ++I) {
        EXPECT_EQ(Curves[I]->GetName().rfind(Names[I], 0), 0u) << Curves[I]->GetName();
        EXPECT_EQ(Curves[I]->Spline().Count(), 4);
    }
    // MaxUEdge runs through points 3, 7, 11, 15.
    ExpectNear(Curves[2]->Spline().Point(3)->Vector(), {10, 5, 0});
    ExpectNear(Curves[2]->Spline().Point(0)->Vector(), {10, 0, 0});

    Doc.Clear();
    TGeoGregorySurface* G = Add("Patch");
    G->SetNumULine(6);
    G->SetNumVLine(3);
    ExpectOneUndoStep(Doc, "convert", [&] { G->ConvertToSurfaceMesh(); });
    ASSERT_EQ(Doc.Count(), 1);
    // The entity undo brings back keeps its line counts.
    G = static_cast<TGeoGregorySurface*>(&Doc.Items(0));
    EXPECT_EQ(G->GetNumULine(), 6);
    G->ConvertToSurfaceMesh();
    auto Meshes = EntitiesOf<TGeoMesh>(Doc);
    ASSERT_EQ(Meshes.size(), 1u);
    // Intervals: one more point than lines in each direction.
    EXPECT_EQ(Meshes[0]->Net().NumU(), 7);
    EXPECT_EQ(Meshes[0]->Net().NumV(), 4);
    EXPECT_EQ(Doc.Count(), 1);
}

TEST_F(GregoryTest, AnswersSurfaceQueriesButIsNoBSplineSurface) {
    TGeoGregorySurface* G = Add();
    const auto Ask = [&](std::initializer_list<int> Kinds, bool CountOnly = false) { return QueryOf(Doc, Kinds, CountOnly); };
    EXPECT_EQ(Ask({qkSurface + 1})->Count(), 0);
    auto Surfaces = Ask({qkSurface, qkSampledMesh});
    ASSERT_EQ(Surfaces->Count(), 1);
    EXPECT_EQ(Surfaces->Item(0).As<TGregorySurface>(), &G->Surface());
    auto Facets = Ask({qkPolygonList});
    ASSERT_EQ(Facets->Count(), 1);
    EXPECT_TRUE(Facets->Item(0).Owned());
    EXPECT_NE(Facets->Item(0).As<TPolygonList>(), nullptr);
}

TEST_F(GregoryTest, OneCoordinateOfEveryPointIsOneChange) {
    TGeoGregorySurface* G = Add();
    ExpectOneUndoStep(Doc, "fill", [&] { G->SetAllCoordinates(2, 3.5); });
    G = static_cast<TGeoGregorySurface*>(&Doc.Items(0));
    G->SetAllCoordinates(2, 3.5);
    for (int K = 0; K < 20; ++K) EXPECT_EQ(P(*G, K).Z, 3.5) << K;
}

}  // namespace
}  // namespace sarnova::test
