// The parametric hull as a naval architect makes it: "Create TarvoHull" on the curves of the golden case
// "tarvo-hull-create" (a midship curve, its offset boundaries, stem and stern with their tangent
// curves), fitted to a displacement and then to an LCB, and its own hydrostatics, which the fit works
// with, checked against the calculation sections of the hull at its design draught.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "document/GeoFace.h"
#include "document/GeometryClasses.h"
#include "startup/RegisterClasses.h"
#include "hulls/GTarvoHull.h"
#include "hulls/TarvoHull.h"
#include "naval/HullSelection.h"
#include "naval/HydroTable.h"
#include "naval/VkHydro.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

// The fit stops within these of its targets.
constexpr double DisplacementTolerance = 1, LCBTolerance = 0.1;

class TarvoHullFromCurves : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        Doc.LoadFromFile(std::filesystem::path(SARNOVA_SOURCE_DIR) / "tests" / "golden" / "tarvo-hull-create" /
                         "input.geo");
        ASSERT_EQ(Doc.Count(), 7);
        Doc.SelectAll();
        TMenuItem Menu;
        GGeometryClasses->AddGroupMenuItems(Menu, Doc);
        TMenuItem* Create = Menu.Find("Create TarvoHull");
        ASSERT_NE(Create, nullptr);
        Create->Click();
        Entity = dynamic_cast<TGeoTarvoHull*>(Doc.FindByName("TarvoHull1"));
        ASSERT_NE(Entity, nullptr);
        Entity->Recalculate();
    }

    TTarvoHull& Hull() { return Entity->Hull(); }

    TGeometryInterface Doc;
    TGeoTarvoHull* Entity = nullptr;
};

TEST_F(TarvoHullFromCurves, TakesEveryCurveInTheStandardLayoutAndMeetsTheFittedDisplacementAndLCB) {
    EXPECT_EQ(Hull().ReferenceCurves().Count(), 7);
    ASSERT_NE(Hull().MidshipCurve(), nullptr);
    EXPECT_EQ(Hull().MidshipCurve()->Name, "Midship");

    TFTParameters& P = Hull().Parameters();
    const double LCBBefore = P.GetValue("LCB");
    P.SetValue("DISP", 4150);
    EXPECT_NEAR(Hull().Hydrostatics().Displacement, 4150, DisplacementTolerance);
    EXPECT_NEAR(Hull().Hydrostatics().LCB, LCBBefore, LCBTolerance);
    // The parameters show the fitted hull.
    EXPECT_EQ(P.GetValue("DISP"), Hull().Hydrostatics().Displacement);

    // A new LCB keeps the displacement the hull has.
    const double Fitted = Hull().Hydrostatics().Displacement;
    P.SetValue("LCB", 45.5);
    EXPECT_NEAR(Hull().Hydrostatics().LCB, 45.5, LCBTolerance);
    EXPECT_NEAR(Hull().Hydrostatics().Displacement, Fitted, DisplacementTolerance);
    EXPECT_EQ(P.GetValue("LCB"), Hull().Hydrostatics().LCB);
}

// The fit's own figures come from the closed underwater body (the transom included); the calculation
// sections of the hull give the same body at the design draught.
TEST_F(TarvoHullFromCurves, OwnHydrostaticsAgreeWithItsCalculationSectionsAtTheDesignDraught) {
    Hull().Parameters().SetValue("DISP", 4150);
    Doc.ClearSelection();
    Entity->SetSelected(true);
    const std::unique_ptr<TPolylineList> Sections = CalculationSectionsOfSelection(&Doc);
    ASSERT_NE(Sections, nullptr);
    const double Draught = Hull().Parameters().GetValue("Draught");
    THydrostaticsData FromSections;
    HydrostaticsAtDraught(*Sections, Draught, FromSections);
    const THydrostaticsData& Own = Hull().Hydrostatics();
    const std::pair<double THydrostaticsData::*, const char*> Compared[] = {
        {&THydrostaticsData::Volume, "volume"}, {&THydrostaticsData::Displacement, "displacement"},
        {&THydrostaticsData::LCB, "LCB"},       {&THydrostaticsData::CB, "CB"},
        {&THydrostaticsData::CP, "CP"},         {&THydrostaticsData::CM, "CM"},
        {&THydrostaticsData::WaterPlanArea, "WPA"}};
    for (auto [Field, What] : Compared) EXPECT_NEAR(Own.*Field, FromSections.*Field, 0.01 * FromSections.*Field) << What;
}

}  // namespace
}  // namespace sarnova::test
