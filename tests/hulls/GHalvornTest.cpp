// The ship hull-lines entity in a document: drawing before and after generation, menu states,
// explode, the file block and a failed generation.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/CurveFixtures.h"
#include "document/GeoFace.h"
#include "foundation/TextFile.h"
#include "hulls/GHalvorn.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

class GHalvornTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
    TGeoHalvorn* AddHull() { return static_cast<TGeoHalvorn*>(Doc.Add(std::make_unique<TGeoHalvorn>())); }
    std::string Saved() {
        TTextWriter Out;
        Doc.SaveToText(Out);
        return Out.Text();
    }

    TGeometryInterface Doc;
};

TEST_F(GHalvornTest, NewHullDrawsItsCurvesAndOffersNoConversions) {
    TGeoHalvorn* H = AddHull();
    EXPECT_FALSE(H->Generated());
    EXPECT_EQ(H->GetSurface(), nullptr);
    TPlanView Plain;
    H->Draw(Plain);
    EXPECT_FALSE(Plain.Calls.empty());
    TMenuItem* Menu = H->PopupMenu();
    ASSERT_NE(Menu, nullptr);
    for (const char* Caption : {"Generate Polygon Mesh", "Convert to BSpline Surface", "Convert to Mesh",
                                "Explode Generation Curves", "Create Calculation Sections"}) {
        ASSERT_NE(Menu->Find(Caption), nullptr) << Caption;
        EXPECT_FALSE(Menu->Find(Caption)->Enabled) << Caption;
    }

    H->Generate();
    EXPECT_TRUE(H->Generated());
    EXPECT_EQ(H->Generator().NumULine(), 3 * 23);
    EXPECT_EQ(H->Generator().NumVLine(), 3 * 12);
    H->UpdateMenuItems(*Menu);
    EXPECT_TRUE(Menu->Find("Explode Generation Curves")->Enabled);

    // With every other picture off the curves show, and "Show Boundaries" is checked and disabled.
    H->SetDrawBoundaries(false);
    H->SetDrawOutline(false);
    H->SetDrawParameters(false);
    H->UpdateMenuItems(*Menu);
    EXPECT_TRUE(Menu->Find("Show Boundaries")->Checked);
    EXPECT_FALSE(Menu->Find("Show Boundaries")->Enabled);
    TPlanView Bare;
    H->Draw(Bare);
    EXPECT_GE(Bare.Calls.size(), 10u);
}

TEST_F(GHalvornTest, ExplodeAddsEveryGenerationCurveAndTheSurface) {
    TGeoHalvorn* H = AddHull();
    H->Generate();
    const std::size_t Bls = H->Generator().Bls().size();
    H->ExplodeGenerationCurves();
    // 18 curves, lists and the surface, less the never-filled AftFullNess, which the document does
    // not keep as an entity without points.
    EXPECT_EQ(static_cast<std::size_t>(Doc.Count()), 17 + 11 + 9 + Bls);
    for (const char* N : {"Halvorn.iXParamF", "Halvorn.Stem", "Halvorn.Stern", "Halvorn.DeckLine", "Halvorn.MidSection",
                          "Halvorn.Transom", "Halvorn.SternSide", "Halvorn.Deck", "Halvorn.BowFlatTangenet",
                          "Halvorn.BowFullness", "Halvorn.AftFlatTangent",
                          "Halvorn.Projection", "Halvorn.FullStern", "Halvorn.Columns", "Halvorn.Verts"})
        EXPECT_NE(Doc.FindByName(N), nullptr) << N;
    EXPECT_NE(Doc.FindByName("Halvorn.BowBlenders(0)"), nullptr);
    EXPECT_NE(Doc.FindByName("Halvorn.Surface"), nullptr);
    EXPECT_NE(Doc.FindByName("Halvorn.iXParamL"), nullptr);
    for (int i = 0; i < Doc.Count(); ++i) EXPECT_EQ(dynamic_cast<TGeoHalvorn*>(&Doc.Items(i)), nullptr);
}

TEST_F(GHalvornTest, SavedHullReloadsAsItWas) {
    for (bool Generate : {false, true}) {
        TGeometryInterface Source;
        auto* H = static_cast<TGeoHalvorn*>(Source.Add(std::make_unique<TGeoHalvorn>()));
        H->Generator().SetBeam(22);
        if (Generate) H->Generate();
        H->SetName("Ship");
        TTextWriter Out;
        Source.SaveToText(Out);
        EXPECT_NE(Out.Text().find("[THalvorn]\nBowShape=0\nLbp=100.000\n"), std::string::npos);
        EXPECT_NE(Out.Text().find("Name=Ship\n"), std::string::npos);
        EXPECT_NE(Out.Text().find("DrawBoundaries=TRUE\n"), std::string::npos);

        TGeometryInterface Back;
        TTextReader In(Out.Text());
        Back.LoadFromText(In);
        ASSERT_EQ(Back.Count(), 1);
        auto* R = dynamic_cast<TGeoHalvorn*>(&Back.Items(0));
        ASSERT_NE(R, nullptr);
        EXPECT_EQ(R->Generated(), Generate);
        EXPECT_EQ(R->GetName(), "Ship");
        EXPECT_DOUBLE_EQ(R->Generator().Parameters().Beam, 22);
        TTextWriter Again;
        Back.SaveToText(Again);
        EXPECT_EQ(Again.Text(), Out.Text());
    }
}

TEST_F(GHalvornTest, AFailedGenerationKeepsTheLastHullOrLeavesNone) {
    TGeoHalvorn* H = AddHull();
    // A bilge wider than the depth, which no setter allows, leaves the after body without crossings;
    // read from a record without a net, there is no hull to fall back on.
    TTextWriter Record;
    H->Generator().SaveToText(Record);
    std::string Text = Record.Text();
    Text.replace(Text.find("BilgeRadius=2.050"), 17, "BilgeRadius=-30");
    TTextReader In(Text);
    H->Generator().LoadFromText(In);
    EXPECT_ANY_THROW(H->Generate());
    EXPECT_FALSE(H->Generated());
    EXPECT_EQ(H->GetSurface(), nullptr);
    // A generated hull stays when the next parameters are refused.
    TGeoHalvorn* G = AddHull();
    G->Generate();
    TTextWriter Before;
    G->Generator().SaveToText(Before);
    G->Generator().SetParameter(1, 8.344);
    EXPECT_THROW(G->Generate(), EGeometryError);
    EXPECT_TRUE(G->Generated());
    ASSERT_NE(G->GetSurface(), nullptr);
    TTextWriter After;
    G->Generator().SaveToText(After);
    EXPECT_EQ(After.Text(), Before.Text());
}

}  // namespace
}  // namespace sarnova::test
