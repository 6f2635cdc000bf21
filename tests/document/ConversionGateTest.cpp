// Conversions into other entity classes are offered once those classes are registered: the polygon
// list's and the box's items that make a polyline list are enabled and make one.
#include <gtest/gtest.h>

#include "CurveFixtures.h"
#include "TestPoint.h"
#include "document/GeoFace.h"
#include "entities/GBox.h"
#include "entities/GConversions.h"
#include "entities/GGonList.h"
#include "naval/GPList.h"
#include "platform/Menu.h"

namespace sarnova {
namespace {

TEST(ConversionGate, PolylineListItemsAreOfferedWithTheirClass) {
    test::RegisterTestClasses();
    ASSERT_TRUE(IsClassRegistered(PolylineListKeyword));
    ASSERT_TRUE(IsClassRegistered(PolygonListKeyword));
    TGeometryInterface Doc;
    auto* Box = static_cast<TGeoBox*>(Doc.Add(std::make_unique<TGeoBox>()));
    auto* Facets = static_cast<TGeoPGonlist*>(Doc.Add(std::make_unique<TGeoPGonlist>()));
    Facets->Facets().AddCopies(Box->CreatePolygonRepresentation(0).get());
    for (TGeometry* Entity : {static_cast<TGeometry*>(Box), static_cast<TGeometry*>(Facets)}) {
        Entity->SetDrawContours(true);
        TMenuItem* Menu = Entity->PopupMenu();
        ASSERT_NE(Menu, nullptr);
        EXPECT_TRUE(Menu->Find("Extract Contours")->Enabled) << Entity->ClassName();
    }
    EXPECT_TRUE(Facets->PopupMenu()->Find("Create Calculation Sections")->Enabled);
    EXPECT_TRUE(Box->PopupMenu()->Find("Create Polygons")->Enabled);
    const int Count = Doc.Count();
    Facets->CreateCalculationSections();
    ASSERT_EQ(Doc.Count(), Count + 1);
    auto* Sections = dynamic_cast<TGeoPList*>(&Doc.Items(Count));
    ASSERT_NE(Sections, nullptr);
    EXPECT_GT(Sections->Polylines().Count(), 2);
}

}  // namespace
}  // namespace sarnova
