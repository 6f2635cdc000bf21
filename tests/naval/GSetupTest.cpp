#include "naval/GSetup.h"

#include <gtest/gtest.h>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/GBox.h"
#include "foundation/TextFile.h"

using namespace sarnova;

namespace {

class GeoSetup : public ::testing::Test {
protected:
    void SetUp() override { RegisterGeometryClasses(); }
    std::string Saved() {
        TTextWriter Out;
        Doc.SaveToText(Out);
        return Out.Text();
    }
    void Load(const std::string& Text) {
        TTextReader In(Text);
        Doc.LoadFromText(In);
    }
    TGeometryInterface Doc;
};

}  // namespace

TEST_F(GeoSetup, HiddenNamedSetupAndNeverSelected) {
    TGeoSetup* S = static_cast<TGeoSetup*>(Doc.Add(std::make_unique<TGeoSetup>()));
    EXPECT_EQ(S->GetName(), "Setup");
    EXPECT_EQ(S->GetViewLayout(), "Z=1 Z=3 Z=5 Z=7 Z=10 Z=12 PROF");
    EXPECT_TRUE(S->IsHidden());
    S->SetDisplayState(dsNormal);
    S->SetSelected(true);
    EXPECT_TRUE(S->IsHidden());
    EXPECT_FALSE(S->GetSelected());
    EXPECT_EQ(S->GetDataObject().Object, nullptr);
    EXPECT_EQ(S->GetImageIndex(), 59);
}

TEST_F(GeoSetup, BlockReadsBackTheLayout) {
    Doc.Add(std::make_unique<TGeoSetup>());
    const std::string Block = "[TSetup]\nSetup=Z=1 Z=3 Z=5 Z=7 Z=10 Z=12 PROF\n\n";
    EXPECT_EQ(Saved(), Block);
    Doc.Clear();
    const std::pair<const char*, const char*> Cases[] = {
        {"Setup=Z=2 (X=5 X=15) PROF", "Z=2 (X=5 X=15) PROF"},  // only the first "=" separates
        {"X=4 PROF", "4 PROF"},
        {"PROF", "PROF"},
    };
    for (auto [Line, ViewLayout] : Cases) {
        Doc.Clear();
        Load(std::string("[TSetup]\n") + Line + "\n\n");
        ASSERT_EQ(Doc.Count(), 1) << Line;
        auto* S = dynamic_cast<TGeoSetup*>(&Doc.Items(0));
        ASSERT_NE(S, nullptr);
        EXPECT_EQ(S->GetViewLayout(), ViewLayout);
        EXPECT_EQ(S->GetName(), "Setup");
        EXPECT_TRUE(S->IsHidden());
    }
    // What is stored reads back the same, however long the text typed.
    auto* S = static_cast<TGeoSetup*>(&Doc.Items(0));
    S->SetViewLayout("Z=1 " + std::string(400, 'A'));
    const std::string Text = Saved();
    Doc.Clear();
    Load(Text);
    EXPECT_EQ(Saved(), Text);
}

TEST_F(GeoSetup, RenamedOrEmptiedItLeavesTheDocumentButOthersAreStillWritten) {
    auto* S = static_cast<TGeoSetup*>(Doc.Add(std::make_unique<TGeoSetup>()));
    auto Box = std::make_unique<TGeoBox>();
    Box->SetName("Tank");
    Doc.Add(std::move(Box));
    S->SetName("Other");
    const std::string Text = Saved();
    EXPECT_EQ(Text.find("[TSetup]"), std::string::npos);
    EXPECT_NE(Text.find("[TBox]"), std::string::npos);
    ASSERT_EQ(Doc.Count(), 2);
    Doc.Add(std::make_unique<TGeoBox>());  // the next list change
    EXPECT_EQ(Doc.FindByName("Other"), nullptr);
    EXPECT_EQ(Doc.Count(), 2);

    S = static_cast<TGeoSetup*>(Doc.Add(std::make_unique<TGeoSetup>()));
    S->SetViewLayout("   ");
    EXPECT_EQ(Saved().find("[TSetup]"), std::string::npos);
    Doc.Add(std::make_unique<TGeoBox>());
    EXPECT_EQ(Doc.FindByName("Setup"), nullptr);
}

TEST_F(GeoSetup, ANewLayoutModifiesTheDocument) {
    auto* S = static_cast<TGeoSetup*>(Doc.Add(std::make_unique<TGeoSetup>()));
    Doc.SetModified(false);
    S->SetViewLayout(S->GetViewLayout());
    EXPECT_FALSE(Doc.GetModified());
    S->SetViewLayout("Z=2 PROF");
    EXPECT_TRUE(Doc.GetModified());
    EXPECT_EQ(S->GetViewLayout(), "Z=2 PROF");
}
