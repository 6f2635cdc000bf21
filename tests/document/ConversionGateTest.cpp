// Conversions into classes that are not registered are not offered: in this program the polyline-list
// class is missing, so the polygon list's and the box's items that would make one stay disabled.
#include <gtest/gtest.h>

#include "CurveFixtures.h"
#include "TestPoint.h"
#include "document/GeoFace.h"
#include "entities/GBox.h"
#include "entities/GConversions.h"
#include "entities/GGonList.h"
#include "platform/Menu.h"

namespace sarnova {
namespace {

TEST(ConversionGate, PolylineListItemsWaitForTheirClass) {
    test::RegisterTestClasses();
    ASSERT_FALSE(IsClassRegistered(PolylineListKeyword));
    ASSERT_TRUE(IsClassRegistered(PolygonListKeyword));
    TGeometryInterface Doc;
    auto* Box = static_cast<TGeoBox*>(Doc.Add(std::make_unique<TGeoBox>()));
    auto* Facets = static_cast<TGeoPGonlist*>(Doc.Add(std::make_unique<TGeoPGonlist>()));
    Facets->Facets().AddCopies(Box->CreatePolygonRepresentation(0).get());
    for (TGeometry* Entity : {static_cast<TGeometry*>(Box), static_cast<TGeometry*>(Facets)}) {
        Entity->SetDrawContours(true);
        TMenuItem* Menu = Entity->PopupMenu();
        ASSERT_NE(Menu, nullptr);
        EXPECT_FALSE(Menu->Find("Extract Contours")->Enabled) << Entity->ClassName();
    }
    EXPECT_FALSE(Facets->PopupMenu()->Find("Create Calculation Sections")->Enabled);
    // The box's facets need only the polygon-list class.
    EXPECT_TRUE(Box->PopupMenu()->Find("Create Polygons")->Enabled);
    // Clicked all the same, nothing is made.
    const int Count = Doc.Count();
    Facets->ExtractContours();
    Facets->CreateCalculationSections();
    EXPECT_EQ(Doc.Count(), Count);
}

}  // namespace
}  // namespace sarnova
