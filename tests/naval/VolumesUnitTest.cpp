// The rows of the volumes and extents reports.
#include "naval/VolumesUnit.h"

#include <gtest/gtest.h>

#include "Compartments.h"
#include "document/GPline.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/EntityFixtures.h"
#include "entities/GPointList.h"
#include "naval/GGroup.h"

namespace sarnova::test {
namespace {

class VolumesTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterGeometryClasses(); }
    TGeometryInterface Doc;
};

void ExpectRow(const TVolumeInformation& R, double Volume, double X, double Y, double Z, double Net) {
    EXPECT_NEAR(R.Volume, Volume, 1e-9) << R.Name;
    EXPECT_NEAR(R.Centre[0], X, 1e-9) << R.Name;
    EXPECT_NEAR(R.Centre[1], Y, 1e-9) << R.Name;
    EXPECT_NEAR(R.Centre[2], Z, 1e-9) << R.Name;
    EXPECT_NEAR(R.NetVolume, Net, 1e-9) << R.Name;
}

TEST_F(VolumesTest, CompartmentsAndGroupsInDocumentOrder) {
    EXPECT_TRUE(CompartmentVolumes(Doc).empty());
    RunMacroText(Doc, "COMPARTMENT C1\nFRONT 20\nBACK 0\nINSIDE 2\nOUTSIDE 6\nBOTTOM 1\nTOP 8\nEND\n");
    // Volumes 10 and 20 at x 1 and 7.5.
    Doc.Add(BoxList("A", 0.9, 0, 2, 0, 5, 0, 1));
    Doc.Add(BoxList("B", 0.95, 5, 10, 0, 2, 0, 2));
    Doc.Add(BoxList("", -0.5, 0, 1, 0, 1, 0, 1));
    RunMacroText(Doc, "OPENGROUP Tanks\nA\nB\nEND\n");
    const auto Rows = CompartmentVolumes(Doc);
    ASSERT_EQ(Rows.size(), 5u);
    EXPECT_EQ(Rows[0].Name, "C1");
    EXPECT_FALSE(Rows[0].IsGroup);
    EXPECT_EQ(Rows[0].Permeability, 1.0);
    ExpectRow(Rows[0], 560, 10, 4, 4.5, 560);
    ExpectRow(Rows[1], 10, 1, 2.5, 0.5, 9);
    EXPECT_EQ(Rows[3].Name, "unnamed");
    ExpectRow(Rows[3], 1, 0.5, 0.5, 0.5, -0.5);
    // An ordinary tank of positive permeabilities is positive; its centre is the volume-weighted mean.
    EXPECT_EQ(Rows[4].Name, "Tanks");
    EXPECT_TRUE(Rows[4].IsGroup);
    EXPECT_EQ(Rows[4].Permeability, 0);
    ExpectRow(Rows[4], 30, (10 * 1 + 20 * 7.5) / 30, (10 * 2.5 + 20 * 1) / 30, (10 * 0.5 + 20 * 1) / 30, 28);
}

TEST_F(VolumesTest, GroupVolumesOffsetBySignAndZeroWhenNothingIsLeft) {
    TGeoPList *Hull, *Tank, *Sump;
    AddTanks(Doc, Hull, Tank, Sump);
    auto* Line = static_cast<TGeoPline*>(Doc.Add(std::make_unique<TGeoPline>()));
    Line->SetName("P");
    Line->Polyline().AddPoint(0, 0, 0);
    Line->Polyline().AddPoint(1, 1, 0);
    Doc.Add(BoxList("Twin", -1.0, 0, 10, -2, 2, 0, 3));
    RunMacroText(Doc, "OPENGROUP Space\nHULL\nTANK1\nEND\nOPENGROUP Lines\nP\nEND\nOPENGROUP Nothing\nHULL\nTWIN\nEND\n");
    const TVolumeInformation Space = GroupInfo(static_cast<TGeoGroup&>(*Doc.FindByName("Space")));
    // 10 x 4 x 3 = 120 less 4 x 2 x 1.5 = 12, centred at the moments' difference.
    ExpectRow(Space, 108, (120 * 5 - 12 * 4) / 108.0, 0, (120 * 1.5 - 12 * 0.75) / 108.0, 120 - 0.85 * 12);
    for (const char* Name : {"Lines", "Nothing"}) {
        const TVolumeInformation R = GroupInfo(static_cast<TGeoGroup&>(*Doc.FindByName(Name)));
        EXPECT_EQ(R.Name, Name);
        ExpectRow(R, 0, 0, 0, 0, 0);
    }
}

TEST_F(VolumesTest, ExtentsInBothLayoutsAndNoneForAPointOrALine) {
    Doc.Add(BoxList("Box", 1, 1, 2, 3, 4, 5, 6));
    auto* Line = static_cast<TGeoPline*>(Doc.Add(std::make_unique<TGeoPline>()));
    Line->Polyline().AddPoint(0, 0, 0);
    Line->Polyline().AddPoint(5, 0, 0);
    const auto ByCorner = EntityExtents(Doc, false);
    ASSERT_EQ(ByCorner.size(), 2u);
    EXPECT_TRUE(ByCorner[0].HasArea);
    EXPECT_EQ(ByCorner[0].Values, (std::array<double, 6>{1, 3, 5, 2, 4, 6}));
    EXPECT_EQ(EntityExtents(Doc, true)[0].Values, (std::array<double, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ByCorner[1].Name, "unnamed");
    EXPECT_FALSE(ByCorner[1].HasArea);
    EXPECT_STREQ(ExtentsHeader(true)[1], "Maximum X");
    EXPECT_STREQ(ExtentsHeader(false)[1], "Minimum Y");
}

}  // namespace
}  // namespace sarnova::test
