#include "naval/HullSelection.h"

#include <gtest/gtest.h>

#include "document/GPline.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/GBox.h"
#include "foundation/PolyList.h"
#include "naval/VkHydro.h"

using namespace sarnova;

namespace {

class HullSelection : public ::testing::Test {
protected:
    void SetUp() override { RegisterGeometryClasses(); }
    template <class T>
    T* Add(const std::string& Name) {
        auto E = std::make_unique<T>();
        E->SetName(Name);
        return static_cast<T*>(Doc.Add(std::move(E)));
    }
    TGeometryInterface Doc;
};

}  // namespace

TEST_F(HullSelection, ExactlyOneSelectedHullObject) {
    TGeoBox* Box = Add<TGeoBox>("Hull");
    TGeoBox* Other = Add<TGeoBox>("Other");
    TGeoPline* Line = Add<TGeoPline>("Line");
    Line->Polyline().AddVector({0, 0, 0});
    Line->Polyline().AddVector({1, 0, 0});
    EXPECT_TRUE(IsHullObject(*Box));
    EXPECT_FALSE(IsHullObject(*Line));

    struct TCase {
        std::vector<TGeometry*> Selected;
        TGeometry* Hull;
    };
    const TCase Cases[] = {{{}, nullptr}, {{Box}, Box}, {{Box, Other}, nullptr}, {{Line}, nullptr}, {{Box, Line}, nullptr}};
    for (const TCase& C : Cases) {
        Doc.ClearSelection();
        for (TGeometry* E : C.Selected) E->SetSelected(true);
        EXPECT_EQ(SelectedHull(&Doc), C.Hull) << C.Selected.size();
        EXPECT_EQ(DocumentHasSelectedHull(&Doc), C.Hull != nullptr);
        EXPECT_EQ(CalculationSectionsOfSelection(&Doc) != nullptr, C.Hull != nullptr);
    }
    EXPECT_FALSE(DocumentHasSelectedHull(nullptr));
    EXPECT_EQ(CalculationSectionsOfSelection(nullptr), nullptr);
    EXPECT_EQ(CalculationSectionsOfEntity(*Line), nullptr);
}

TEST_F(HullSelection, SectionsOfAFacetHullCarryItsVolume) {
    TGeoBox* Box = Add<TGeoBox>("Hull");  // -5 .. 5 in every direction
    const auto Sections = CalculationSectionsOfEntity(*Box);
    ASSERT_NE(Sections, nullptr);
    ASSERT_GE(Sections->Count(), 3);
    THydrostaticsData R;
    ResetHydrostatics(R);
    Sections->HydrostaticSummary(WaterplaneAtDraught(0), R);
    EXPECT_NEAR(R.Volume, 500, 0.5);
    EXPECT_NEAR(R.VCB, -2.5, 0.01);
}
