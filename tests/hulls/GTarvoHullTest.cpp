// The parametric hull entity in a document: creation from the selection, names, the macro command,
// the file section with its switches, and copies.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "document/CurveFixtures.h"
#include "entities/EntityFixtures.h"
#include "foundation/TextFile.h"
#include "hulls/GCorvane.h"
#include "hulls/GHalvorn.h"
#include "hulls/GTarvoCurve.h"
#include "hulls/GTarvoSurface.h"
#include "hulls/TarvoHullEntities.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

class GTarvoHullTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    TGeoTarvoHull& MakeHull() {
        TGeoTarvoHull* H = MakeHullEntity(Doc);
        EXPECT_NE(H, nullptr);
        return *H;
    }
    std::string SavedText(TGeometry& G) {
        TTextWriter W;
        G.SaveToText(W);
        return W.Text();
    }

    TGeometryInterface Doc;
};

// The hull classes show the keyword without its first letter, as written, with no blanks put in.
TEST(HullClassDescriptions, AreTheKeywordWithoutItsFirstLetter) {
    const std::pair<const TGeometryClass*, const char*> Cases[] = {
        {&GeometryClassOf<TGeoTarvoCurve>(), "TarvoCurve"},
        {&GeometryClassOf<TGeoTarvoSurface>(), "TarvoSurface"},
        {&GeometryClassOf<TGeoTarvoHull>(), "TarvoHull"},
        {&GeometryClassOf<TGeoHalvorn>(), "Halvorn"},
        {&GeometryClassOf<TGeoCorvane>(), "Corvane"},
    };
    for (const auto& [Class, Description] : Cases) EXPECT_EQ(Class->GetDescription(), Description);
}

TEST_F(GTarvoHullTest, CreatedFromTheSelectedCurves) {
    TGeoTarvoHull& H = MakeHull();
    EXPECT_EQ(H.GetName(), "TarvoHull1");
    EXPECT_EQ(H.Hull().Name, "TarvoHull1");
    EXPECT_EQ(H.GetClass().GetKeyword(), "TTarvoHull");
    EXPECT_EQ(H.GetClass().GetImageIndex(), 73);
    EXPECT_EQ(H.GetCapabilities() & 0x200, 0x200);
    EXPECT_EQ(H.GetSelectionType(), 4);
    EXPECT_TRUE(H.GetDrawParameters());
    EXPECT_EQ(H.Hull().ReferenceCurves().Count(), 7);
    H.GetSurface();
    EXPECT_EQ(H.Hull().Parameters().Count(), 20);
    // Names resolve without regard to case; the hull's own name is no node.
    EXPECT_EQ(H.FindNode("midship"), &static_cast<TGeoTarvoCurve&>(Doc.Items(3)).Curve());
    EXPECT_EQ(H.FindNode("TarvoHull1"), nullptr);
    // Not offered while anything else is selected.
    H.SetSelected(true);
    TMenuItem Other;
    TGeoTarvoHull::AddSelectionMenuItems(Other, Doc);
    EXPECT_EQ(Other.Find("Create TarvoHull"), nullptr);

    // Renaming the entity renames the hull node.
    H.SetName("Ship");
    EXPECT_EQ(H.Hull().Name, "Ship");
}

TEST_F(GTarvoHullTest, MacroLinesSetParametersNamedWhole) {
    TGeoTarvoHull& H = MakeHull();
    H.GetSurface();
    TFTParameters& P = H.Hull().Parameters();
    const double Depth = P.GetValue("D");
    // "DISP" contains "D": the whole name decides. A hull not built yet is built first, so that the
    // change is not lost to the build.
    H.Hull().Invalidate(true);
    RunMacroText(Doc, "TarvoHull1.disp = 4090\n");
    EXPECT_NEAR(P.GetValue("DISP"), 4090, 1);
    EXPECT_EQ(P.GetValue("D"), Depth);
    // The same change as the grid's: the hull rebuilds with the new fullness.
    RunMacroText(Doc, "TarvoHull1.VolumeF%=80\n");
    H.GetSurface();
    EXPECT_EQ(P.GetValue("VolumeF%"), 80);
    EXPECT_EQ(H.Hull().ForeVolumeControl()->Fraction(), 0.8);
    // A line that names no parameter is an error and changes nothing.
    const std::string Before = SavedText(H);
    EXPECT_NE(MacroError(Doc, "TarvoHull1.Beam=3\n").find("TarvoHull1 has no parameter BEAM"), std::string::npos);
    EXPECT_EQ(SavedText(H), Before);
    // Colour and name still reach the entity.
    RunMacroText(Doc, "TarvoHull1.Name=Ship\n");
    EXPECT_EQ(H.Hull().Name, "Ship");
}

TEST_F(GTarvoHullTest, SectionRoundTripsWithItsSwitches) {
    TGeoTarvoHull& H = MakeHull();
    H.GetSurface();
    H.Hull().Parameters().SetValue("Draught", 3.8);
    std::string Text = SavedText(H);
    EXPECT_EQ(Text.rfind("[TTarvoHull]\nVersion=TarvoHull2S\nName=TarvoHull1\nNumCurves=7\n", 0), 0u);
    EXPECT_NE(Text.find("\nNumParameters=20\nDraught=3.8;\n"), std::string::npos);
    EXPECT_NE(Text.find("\nApplyBulb=False\nDrawParameters=TRUE\n\n"), std::string::npos);
    EXPECT_EQ(Text.find("DrawBulb="), std::string::npos);
    EXPECT_EQ(Text.find("Color="), std::string::npos);

    H.SetDrawBulb(true);
    H.SetDrawBlends(true);
    Text = SavedText(H);
    EXPECT_NE(Text.find("\nDrawBlends=TRUE\nDrawBulb=TRUE\nDrawParameters=TRUE\n"), std::string::npos);

    TGeoTarvoHull Copy;
    TTextReader In(Text);
    In.ReadLine();  // the list reads the keyword
    Copy.LoadFromText(In);
    EXPECT_EQ(Copy.GetName(), "TarvoHull1");
    EXPECT_TRUE(Copy.GetDrawBulb());
    EXPECT_EQ(SavedText(Copy), Text);

    // "FALSE" reads as off.
    std::string Off = Text;
    Off.replace(Off.find("DrawBulb=TRUE"), 13, "DrawBulb=FALSE");
    TGeoTarvoHull Third;
    TTextReader OffIn(Off);
    OffIn.ReadLine();
    Third.LoadFromText(OffIn);
    EXPECT_FALSE(Third.GetDrawBulb());
    EXPECT_TRUE(Third.GetDrawBlends());
}

TEST_F(GTarvoHullTest, CopiesTakeTheWholeHullAsItsBlockKeepsIt) {
    TGeoTarvoHull& H = MakeHull();
    H.SetDrawBlends(true);
    TGeoTarvoHull Copy;
    Copy.Assign(H);
    EXPECT_TRUE(Copy.GetDrawBlends());
    EXPECT_EQ(Copy.GetName(), H.GetName());
    EXPECT_EQ(Copy.Hull().ReferenceCurves().Count(), H.Hull().ReferenceCurves().Count());
    EXPECT_EQ(Copy.Hull().Parameters().Count(), H.Hull().Parameters().Count());
    // Assigned again, the parameters are replaced, not doubled.
    Copy.Assign(H);
    EXPECT_EQ(Copy.Hull().Parameters().Count(), H.Hull().Parameters().Count());
    // So an undo snapshot brings the hull back: its changes are recorded.
    EXPECT_NE(H.GetCapabilities() & cpUndoable, 0);
}

TEST_F(GTarvoHullTest, MenuShowsTheBulbItemOnlyWhileTheBulbApplies) {
    TGeoTarvoHull& H = MakeHull();
    TMenuItem* Root = H.PopupMenu();
    ASSERT_NE(Root, nullptr);
    TMenuItem* Bulb = Root->Find("Show Bulb Surface");
    ASSERT_NE(Bulb, nullptr);
    EXPECT_FALSE(Bulb->Enabled);
    ASSERT_NE(Root->Find("Show Curves"), nullptr);
    H.SetApplyBulb(true);
    H.UpdateMenuItems(*Root);
    EXPECT_TRUE(Bulb->Enabled);
    Bulb->Click();
    EXPECT_TRUE(H.GetDrawBulb());
    H.UpdateMenuItems(*Root);
    EXPECT_TRUE(Bulb->Checked);
}

}  // namespace
}  // namespace sarnova::test
