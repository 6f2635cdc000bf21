// The generated-surface base: what it draws by default, its switches, and the conversions of a
// selection of mesh-based surfaces into mesh entities.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "document/CurveFixtures.h"
#include "document/GeometryClasses.h"
#include "entities/GBSurf.h"
#include "entities/GMesh.h"
#include "foundation/PolyList.h"
#include "platform/Menu.h"
#include "surfaces/BSurface.h"
#include "surfaces/SurfaceAnalysis.h"

namespace sarnova::test {
namespace {

// A generated surface over a flat 4 by 4 B-spline net spanning (0, 0) to (3, 3).
class TFlatSurface : public TGeoSurface {
public:
    TFlatSurface() {
        SetCapabilities(GetCapabilities() | cpUndoable);
        for (int I = 0; I < 4; ++I)
            for (int J = 0; J < 4; ++J) Surface.Point(I, J).SetVector({double(I), double(J), 0});
    }
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TFlatSurface>(); }
    static std::string GetKeyword() { return "TFlatSurface"; }
    static void AddSelectionMenuItems(TMenuItem& Menu, TGeometryList& List) {
        AddSurfaceSelectionItems(GeometryClassOf<TFlatSurface>(), Menu, List);
    }
    TSurface* GetSurface() override { return &Surface; }

    TBSplineSurface Surface;
};

// The same kind of surface under another class.
class TOtherSurface : public TFlatSurface {
public:
    const TGeometryClass& GetClass() const override { return GeometryClassOf<TOtherSurface>(); }
};

int Lines(TPolylistRepresentation* R) {
    R->Update();
    return R->GetPolylines() ? R->GetPolylines()->Count() : 0;
}

TEST(GeoSurface, ShowsItsOutlineUnlessItShowsSomethingElse) {
    TFlatSurface S;
    TPlanView View;
    EXPECT_FALSE(S.GetDrawParameters());
    EXPECT_FALSE(S.GetDrawOutline());
    S.Draw(View);
    EXPECT_TRUE(S.GetDrawOutline());
    EXPECT_EQ(Lines(S.OutlineRepresentation()), 4);
    EXPECT_EQ(Lines(S.ParametersRepresentation()), 0);

    S.SetNumULine(5);
    S.SetNumVLine(3);
    S.SetDrawParameters(true);
    EXPECT_EQ(Lines(S.ParametersRepresentation()), 8);
    EXPECT_TRUE(S.GetDrawOutline());

    // Hiding the outline switches the parameter lines off, and the next drawing brings it back.
    S.SetDrawOutline(false);
    EXPECT_FALSE(S.GetDrawParameters());
    S.Draw(View);
    EXPECT_TRUE(S.GetDrawOutline());

    const TMBox Box = S.CalculateExtents();
    EXPECT_DOUBLE_EQ(Box.Max.X, 3);
    EXPECT_DOUBLE_EQ(Box.Max.Y, 3);
}

TEST(GeoSurface, AnalysisSwitchesModesWithoutHiding) {
    TFlatSurface S;
    S.HideAnalysis();
    EXPECT_FALSE(S.GetShowAnalysis());
    S.ShowMeanCurvature();
    S.ShowMeanCurvature();
    EXPECT_TRUE(S.GetShowAnalysis());
    EXPECT_EQ(S.AnalysisRepresentation().Analysis().GetMode(), 1);
    S.ShowZebra();
    EXPECT_TRUE(S.GetShowAnalysis());
    EXPECT_EQ(S.AnalysisRepresentation().Analysis().GetMode(), 2);
    S.HideAnalysis();
    EXPECT_FALSE(S.GetShowAnalysis());
}

class GeoSurfaceSelection : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        static const bool Registered = [] {
            RegisterGeometryClass(GeometryClassOf<TFlatSurface>());
            return true;
        }();
        (void)Registered;
    }
    TGeometryInterface Doc;
};

TEST_F(GeoSurfaceSelection, ConvertsEverySelectedSurfaceInListOrder) {
    for (const char* Name : {"A", "B", "C"}) {
        auto S = std::make_unique<TFlatSurface>();
        S->Surface.Point(0, 0).SetVector({-1, 0, 0});
        S->SetName(Name);
        Doc.Add(std::move(S))->SetSelected(true);
    }
    TMenuItem Menu;
    TFlatSurface::AddSelectionMenuItems(Menu, Doc);
    ASSERT_EQ(MenuCaptions(Menu), (std::vector<std::string>{"Convert to Surfaces", "Convert to Surfaces Meshes...",
                                                            "Create Polygons"}));
    Menu.Items(1).Click();
    ASSERT_EQ(Doc.Count(), 3);
    for (int I = 0; I < 3; ++I) {
        auto* Mesh = dynamic_cast<TGeoMesh*>(&Doc.Items(I));
        ASSERT_NE(Mesh, nullptr);
        EXPECT_EQ(Mesh->Net().Point(0, 0).Vector(), (TMVector{-1, 0, 0}));
    }
    // One step takes the whole conversion back.
    Doc.Undo();
    ASSERT_EQ(Doc.Count(), 3);
    EXPECT_NE(dynamic_cast<TFlatSurface*>(&Doc.Items(0)), nullptr);

    // "Convert to Surfaces" keeps a B-spline surface a B-spline surface, orders included.
    // (The undone surfaces are copies of the class's own net: the fixture copies no points.)
    static_cast<TFlatSurface&>(Doc.Items(1)).Surface.SetOrderU(3);
    for (int I = 0; I < 3; ++I) Doc.Items(I).SetSelected(true);
    Menu.Items(0).Click();
    ASSERT_EQ(Doc.Count(), 3);
    for (int I = 0; I < 3; ++I) {
        auto* Surface = dynamic_cast<TGeoBSurf*>(&Doc.Items(I));
        ASSERT_NE(Surface, nullptr);
        EXPECT_EQ(Surface->Surface().Point(3, 2).Vector(), (TMVector{3, 2, 0}));
    }
    EXPECT_EQ(static_cast<TGeoBSurf&>(Doc.Items(1)).Surface().OrderU(), 3);
    Doc.Undo();

    // A selection of two classes offers nothing.
    Doc.Add(std::make_unique<TOtherSurface>())->SetSelected(true);
    for (int I = 0; I < Doc.Count(); ++I) Doc.Items(I).SetSelected(true);
    TMenuItem Mixed;
    TFlatSurface::AddSelectionMenuItems(Mixed, Doc);
    EXPECT_EQ(Mixed.Count(), 0);
}

}  // namespace
}  // namespace sarnova::test
