// The extruded and ruled surfaces: made from curves picked in the document, rebuilt as the curves
// change, and kept in their blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "EntityFixtures.h"
#include "document/CurveFixtures.h"
#include "document/GBSpline.h"
#include "document/GCustomPline.h"
#include "document/GeometryReference.h"
#include "entities/GExtrudedSurface.h"
#include "entities/GGonList.h"
#include "entities/GRuledSurface.h"
#include "foundation/PolyList.h"
#include "platform/Menu.h"
#include "surfaces/BSurface.h"

namespace sarnova::test {
namespace {

const std::vector<TMVector> Square = {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}};
const std::vector<TMVector> Rail = {{0, 0, 0}, {0, 0, 5}, {0, 3, 10}};

class GeneratedSurfaceTest : public TCurveDocumentTest<TGeoPline> {
protected:
    template <class T>
    T* Only() {
        const std::vector<T*> Found = EntitiesOf<T>(Doc);
        EXPECT_EQ(Found.size(), 1u);
        return Found.empty() ? nullptr : Found.front();
    }
    // The selection menu of the document as the view builds it.
    std::unique_ptr<TMenuItem> SelectionMenu() {
        auto Menu = std::make_unique<TMenuItem>();
        GGeometryClasses->AddGroupMenuItems(*Menu, Doc);
        return Menu;
    }
    void Select(std::initializer_list<TGeometry*> Entities) {
        for (int I = 0; I < Doc.Count(); ++I) Doc.Items(I).SetSelected(false);
        for (TGeometry* G : Entities) G->SetSelected(true);
    }
    // The block of the first entity of class T after the document's blocks are read from Text.
    std::string Reloaded(const std::string& Text) {
        Doc.Clear();
        LoadDocumentText(Doc, Text);
        Doc.ApplyChanges();
        return SavedText(Doc);
    }
};

template <class T>
std::vector<TMVector> NetOf(const T& Net) {
    std::vector<TMVector> Result;
    for (int J = 0; J < Net.NumV(); ++J)
        for (int I = 0; I < Net.NumU(); ++I) Result.push_back(Net.Point(I, J).Vector());
    return Result;
}

TEST(ExtrusionOptions, TextNamesTheSetOptionsInOrder) {
    const std::pair<int, const char*> Cases[] = {
        {15, "[eoRotateWithPath, eoOrientWithPath, eoCentreWithPath, eoScaleShape]"},
        {0, "[]"},
        {8, "[eoScaleShape]"},
        {5, "[eoRotateWithPath, eoCentreWithPath]"},
    };
    for (auto [Options, Text] : Cases) {
        EXPECT_EQ(ExtrusionOptionsToText(static_cast<TExtrusionOptions>(Options)), Text);
        EXPECT_EQ(TextToExtrusionOptions(std::string("Options=") + Text), Options) << Text;
    }
    // Names are matched as written.
    EXPECT_EQ(TextToExtrusionOptions("Options=[EOSCALESHAPE]"), 0);
}

TEST_F(GeneratedSurfaceTest, ExtrudeASurfaceMakesALinearExtrusionOfTheCurve) {
    TGeoPline* Curve = Add(Square, "");
    Curve->PopupMenu()->Find(ExtrudeSurfaceCaption)->Click();
    TGeoExtrudedSurface* S = Only<TGeoExtrudedSurface>();
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(Curve->GetName(), "Curve1");
    Doc.ApplyChanges();
    ASSERT_NE(S->Mesh(), nullptr);
    EXPECT_EQ(S->BSplineSurface(), nullptr);
    EXPECT_EQ(S->Mesh()->NumU(), 4);
    ASSERT_EQ(S->Mesh()->NumV(), 2);
    // One step of 10 along the normal of the square's plane.
    for (int I = 0; I < 4; ++I) {
        const TMVector A = S->Mesh()->Point(I, 0).Vector();
        const TMVector B = S->Mesh()->Point(I, 1).Vector();
        EXPECT_NEAR(std::abs(B.Z - A.Z), 10.0, 1e-9);
        EXPECT_NEAR(B.X, A.X, 1e-9);
    }
    EXPECT_EQ(SavedText(Doc).substr(SavedText(Doc).find("[TExtrudedSurface]")),
              "[TExtrudedSurface]\n"
              "Curve1=Curve1\n"
              "Curve2=\n"
              "Options=[eoRotateWithPath, eoOrientWithPath, eoCentreWithPath, eoScaleShape]\n"
              "Divisions=1\n"
              "MinExtrusion= 0.00000000000000E+0000\n"
              "MaxExtrusion= 1.00000000000000E+0001\n"
              "DrawParameters=TRUE\n"
              "DrawOutline=TRUE\n"
              "\n");
}

TEST_F(GeneratedSurfaceTest, TwoSelectedCurvesOfferBothSurfacesAndNameTheUnnamedOne) {
    Add(Square, "Curve1");
    TGeoPline* Shape = Add(Square, "Shape");
    TGeoPline* Path = Add(Rail, "");
    TGeometry* Other = Doc.Add(std::make_unique<TGeoRuledSurface>());

    Select({Shape, Path, Other});
    EXPECT_EQ(SelectionMenu()->Find("Extrude Surface"), nullptr) << "three selected";
    Select({Shape, Other});
    EXPECT_EQ(SelectionMenu()->Find("Ruled Surface"), nullptr) << "a surface selected";

    Select({Shape, Path});
    SelectionMenu()->Find("Extrude Surface")->Click();
    TGeoExtrudedSurface* S = Only<TGeoExtrudedSurface>();
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(Path->GetName(), "Curve2") << "the first free name of the Curve1 run";
    EXPECT_EQ(S->Shape().GetName(), "Shape");
    EXPECT_EQ(S->Path().GetName(), "Curve2");
    Doc.ApplyChanges();
    ASSERT_NE(S->Mesh(), nullptr);
    EXPECT_EQ(S->Mesh()->NumV(), 3) << "a copy of the shape at every path point";

    SelectionMenu()->Find("Ruled Surface")->Click();
    ASSERT_NE(Only<TGeoRuledSurface>(), nullptr);
    EXPECT_EQ(Only<TGeoRuledSurface>()->Curve1().GetName(), "Shape");
}

TEST_F(GeneratedSurfaceTest, CreatePolygonsMakesAPolygonListOfEverySelectedSurfaceOfOneClass) {
    TGeoPline* Shape = Add(Square, "Shape");
    TGeoPline* Path = Add(Rail, "Path");
    Select({Shape, Path});
    SelectionMenu()->Find("Extrude Surface")->Click();
    Select({Shape});
    Shape->PopupMenu()->Find(ExtrudeSurfaceCaption)->Click();
    Select({Shape, Path});
    SelectionMenu()->Find("Ruled Surface")->Click();
    Doc.ApplyChanges();
    const std::vector<TGeoExtrudedSurface*> Extruded = EntitiesOf<TGeoExtrudedSurface>(Doc);
    ASSERT_EQ(Extruded.size(), 2u);

    // A selection mixing two classes offers no item of either.
    Select({Extruded[0], Only<TGeoRuledSurface>()});
    EXPECT_EQ(SelectionMenu()->Find("Create Polygons"), nullptr);
    // Two extrusions: a sweep gives a mesh, so the convert items come too.
    Select({Extruded[0], Extruded[1]});
    const std::unique_ptr<TMenuItem> Menu = SelectionMenu();
    ASSERT_NE(Menu->Find("Create Polygons"), nullptr);
    EXPECT_NE(Menu->Find("Convert to Surfaces"), nullptr);
    ExpectOneUndoStep(Doc, "create polygons", [&] {
        Menu->Find("Create Polygons")->Click();
        const std::vector<TGeoPGonlist*> Lists = EntitiesOf<TGeoPGonlist>(Doc);
        ASSERT_EQ(Lists.size(), 2u);
        for (TGeoPGonlist* List : Lists) EXPECT_GT(List->Facets().Count(), 0);
        EXPECT_EQ(EntitiesOf<TGeoExtrudedSurface>(Doc).size(), 2u) << "the surfaces stay";
    });
}

TEST_F(GeneratedSurfaceTest, BSplineResultsOnlyFromTwoBSplines) {
    AddCurve<TGeoBSpline>(Doc, Square, "SplineShape");
    AddCurve<TGeoBSpline>(Doc, Rail, "SplinePath");
    Add(Rail, "PolyPath");
    const auto Extruded = [&](const std::string& Shape, const std::string& Path) {
        auto S = std::make_unique<TGeoExtrudedSurface>();
        S->Shape().SetName(Shape);
        S->Path().SetName(Path);
        auto* Added = static_cast<TGeoExtrudedSurface*>(Doc.Add(std::move(S)));
        Doc.ApplyChanges();
        return Added;
    };
    EXPECT_NE(Extruded("SplineShape", "SplinePath")->BSplineSurface(), nullptr);
    EXPECT_NE(Extruded("SplineShape", "")->BSplineSurface(), nullptr);
    TGeoExtrudedSurface* Mixed = Extruded("SplineShape", "PolyPath");
    EXPECT_EQ(Mixed->BSplineSurface(), nullptr);
    EXPECT_NE(Mixed->Mesh(), nullptr);
    // Names that find no curve give nothing, without failing.
    for (auto [Shape, Path] : {std::pair{"Missing", ""}, {"SplineShape", "Missing"}, {"", "PolyPath"}}) {
        TGeoExtrudedSurface* None = Extruded(Shape, Path);
        EXPECT_EQ(None->GetSurface(), nullptr) << Shape << "/" << Path;
        EXPECT_EQ(None->GetDataObject().Object, nullptr);
    }
}

TEST_F(GeneratedSurfaceTest, ExtrusionBlockReadsByPosition) {
    Add(Square, "C");
    const std::string Block =
        "[TExtrudedSurface]\n"
        "Curve1=C\n"
        "Curve2=\n"
        "Options=[eoScaleShape]\n"
        "Divisions=0\n"
        "MinExtrusion=-1,5\n"
        "MaxExtrusion= 2.00000000000000E+0000\n"
        "NumVLine=7\n"
        "\n";
    LoadDocumentText(Doc, Block);
    TGeoExtrudedSurface* S = Only<TGeoExtrudedSurface>();
    ASSERT_NE(S, nullptr);
    EXPECT_EQ(S->GetOptions(), 8);
    EXPECT_EQ(S->GetMinExtrusion(), -1.5);
    EXPECT_EQ(S->GetNumVLine(), 7);
    Doc.ApplyChanges();
    ASSERT_NE(S->Mesh(), nullptr);
    const std::vector<TMVector> ZeroDivisions = NetOf(*S->Mesh());
    S->SetDivisions(1);
    Doc.ApplyChanges();
    EXPECT_EQ(NetOf(*S->Mesh()), ZeroDivisions) << "0 divisions count as 1";

    // A block that is no number where one belongs makes no surface.
    Doc.Clear();
    LoadDocumentText(Doc, "[TExtrudedSurface]\nCurve1=\nCurve2=\nOptions=[]\nDivisions=x\n\n");
    EXPECT_TRUE(EntitiesOf<TGeoExtrudedSurface>(Doc).empty());
}

TEST_F(GeneratedSurfaceTest, SwitchesTurnedOffStayOffAfterAReload) {
    Add(Square, "A");
    Add(Rail, "B");
    for (const char* Keyword : {"TExtrudedSurface", "TRuledSurface"}) {
        SCOPED_TRACE(Keyword);
        auto Entity = GGeometryClasses->FindClass(Keyword).Create();
        auto* S = static_cast<TGeoCurveSurface*>(Doc.Add(std::move(Entity)));
        S->Curve1().SetName("A");
        S->Curve2().SetName("B");
        const std::pair<bool, bool> Cases[] = {{true, false}, {false, true}, {false, false}};
        for (auto [Outline, Parameters] : Cases) {
            S->SetDrawOutline(Outline);
            S->SetDrawParameters(Parameters);
            const std::string Saved = SavedText(Doc);
            EXPECT_EQ(Reloaded(Saved), Saved);
            auto* Back = static_cast<TGeoCurveSurface*>(&Doc.Items(Doc.Count() - 1));
            EXPECT_EQ(Back->GetDrawOutline(), Outline);
            EXPECT_EQ(Back->GetDrawParameters(), Parameters);
            S = Back;
        }
        Doc.DeleteGeometry(S);
    }
}

TEST_F(GeneratedSurfaceTest, BlockBeforeItsCurvesAndDeletedCurves) {
    const std::string Text =
        "[TRuledSurface]\nCurve1=A\nCurve2=B\nName=R\nDrawParameters=TRUE\nDrawOutline=TRUE\n\n"
        "[TPolyline]\nNumPoints=2\n    0.000     0.000     0.000\n   10.000     0.000     0.000\nName=A\n\n"
        "[TPolyline]\nNumPoints=2\n    0.000     5.000     0.000\n   10.000     5.000     0.000\nName=B\n\n";
    LoadDocumentText(Doc, Text);
    Doc.ApplyChanges();
    auto* R = Only<TGeoRuledSurface>();
    ASSERT_NE(R, nullptr);
    ASSERT_NE(R->Mesh(), nullptr);
    Doc.GetUndoManager().Clear();
    const std::string Before = SavedText(Doc);
    // As the view's Delete does: one update bracket, one undo step.
    InListUpdate(Doc, [&] { Doc.DeleteGeometry(Doc.FindByName("B")); });
    EXPECT_EQ(Doc.FindByName("B"), nullptr);
    if (auto* After = dynamic_cast<TGeoRuledSurface*>(Doc.FindByName("R"))) {
        EXPECT_EQ(After->GetSurface(), nullptr);
        EXPECT_EQ(After->Curve2().GetName(), "");
    }
    Doc.Undo();
    Doc.ApplyChanges();
    EXPECT_EQ(SavedText(Doc), Before);
    ASSERT_NE(Only<TGeoRuledSurface>(), nullptr);
    EXPECT_NE(Only<TGeoRuledSurface>()->Mesh(), nullptr);
}

TEST_F(GeneratedSurfaceTest, SwapCurvesNeedsAPath) {
    Add(Square, "Shape");
    Add(Rail, "Path");
    auto* S = static_cast<TGeoExtrudedSurface*>(Doc.Add(std::make_unique<TGeoExtrudedSurface>()));
    S->Shape().SetName("Shape");
    S->SwapCurves();
    EXPECT_EQ(S->Shape().GetName(), "Shape");
    EXPECT_EQ(S->Path().GetName(), "");
    S->Path().SetName("Path");
    S->SwapCurves();
    EXPECT_EQ(S->Shape().GetName(), "Path");
    EXPECT_EQ(S->Path().GetName(), "Shape");
}

// The rows of a ruled mesh between curves A and B: the first and last rows along the curves.
class RuledTest : public GeneratedSurfaceTest {
protected:
    TGeoRuledSurface* Rule(const std::string& A, const std::string& B) {
        auto S = std::make_unique<TGeoRuledSurface>();
        S->Curve1().SetName(A);
        S->Curve2().SetName(B);
        auto* Added = static_cast<TGeoRuledSurface*>(Doc.Add(std::move(S)));
        Doc.ApplyChanges();
        return Added;
    }
};

std::vector<TMVector> Line(int Count, double Y, bool Reversed) {
    std::vector<TMVector> Points;
    for (int I = 0; I < Count; ++I) {
        const double X = 10.0 * I / (Count - 1);
        Points.push_back({Reversed ? 10.0 - X : X, Y, 0});
    }
    return Points;
}

TEST_F(RuledTest, OppositeCurvesAreRuledWithoutATwist) {
    Add(Line(5, 0, false), "A");
    Add(Line(5, 5, true), "B");
    const TMesh* Mesh = Rule("A", "B")->Mesh();
    ASSERT_NE(Mesh, nullptr);
    // Every straight line runs across at one x.
    const bool AlongU = std::abs(Mesh->Point(0, 0).Y - Mesh->Point(Mesh->NumU() - 1, 0).Y) > 1;
    const int Across = AlongU ? Mesh->NumU() : Mesh->NumV();
    const int Along = AlongU ? Mesh->NumV() : Mesh->NumU();
    EXPECT_EQ(Across, 25) << "the default line count";
    for (int K = 0; K < Along; ++K) {
        const TMVector First = AlongU ? Mesh->Point(0, K).Vector() : Mesh->Point(K, 0).Vector();
        const TMVector Last = AlongU ? Mesh->Point(Across - 1, K).Vector() : Mesh->Point(K, Across - 1).Vector();
        EXPECT_NEAR(First.X, Last.X, 1e-9) << K;
    }
}

TEST_F(RuledTest, CurvesOfDifferentLengthsAreSpannedWhole) {
    Add(Line(10, 0, false), "Short");
    Add(Line(40, 5, false), "Long");
    for (auto [A, B] : {std::pair{"Short", "Long"}, {"Long", "Short"}}) {
        const TMesh* Mesh = Rule(A, B)->Mesh();
        ASSERT_NE(Mesh, nullptr);
        double MinX = 1e9, MaxX = -1e9, MinY = 1e9, MaxY = -1e9;
        for (const TMVector& P : NetOf(*Mesh)) {
            MinX = std::min(MinX, P.X), MaxX = std::max(MaxX, P.X);
            MinY = std::min(MinY, P.Y), MaxY = std::max(MaxY, P.Y);
        }
        EXPECT_NEAR(MinX, 0, 1e-9) << A;
        EXPECT_NEAR(MaxX, 10, 1e-9) << A;
        EXPECT_NEAR(MaxY - MinY, 5, 1e-9) << A;
    }
}

TEST_F(RuledTest, ALineCountBelowTwoFromAFileStillBuilds) {
    Add(Line(5, 0, false), "A");
    Add(Line(5, 5, false), "B");
    LoadDocumentText(Doc, "[TRuledSurface]\nCurve1=A\nCurve2=B\nNumULine=1\n\n");
    Doc.ApplyChanges();
    TGeoRuledSurface* S = Only<TGeoRuledSurface>();
    ASSERT_NE(S, nullptr);
    ASSERT_NE(S->Mesh(), nullptr);
    EXPECT_EQ(S->GetNumULine(), 1) << "kept as read";
    EXPECT_NE(SavedText(Doc).find("NumULine=1\n"), std::string::npos);
}

TEST_F(RuledTest, TwoBSplinesGiveAnExactSurfaceAndASplineAndAPolylineAMesh) {
    AddCurve<TGeoBSpline>(Doc, Line(5, 0, false), "SA");
    AddCurve<TGeoBSpline>(Doc, Line(4, 5, false), "SB");
    Add(Line(5, 9, false), "P");
    EXPECT_NE(Rule("SA", "SB")->BSplineSurface(), nullptr);
    TGeoRuledSurface* Mixed = Rule("SA", "P");
    EXPECT_EQ(Mixed->BSplineSurface(), nullptr);
    EXPECT_NE(Mixed->Mesh(), nullptr);
}

}  // namespace
}  // namespace sarnova::test
