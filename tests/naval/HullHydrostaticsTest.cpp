// The three roads to a hull's hydrostatics, on the hulls of the golden cases "hydrostatics-wigley" (the
// Wigley hull as an exact bicubic surface, L 100, B 10, T 6.25), "hydrostatics-halvorn" (the ship
// hull-lines generator's default hull), "tarvo-hull-create" (the fitted parametric hull it saves) and
// "xtsurface-hull" (a curve-network surface on stations, keel, stem, sternpost and sheer, as loaded, so
// that the hull queries generate it): from the calculation sections, through the hydrostatic table,
// and from the facets below each waterplane, checked against each other and, for the Wigley hull,
// against its closed form at the design draught.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "foundation/VkMaths.h"
#include "platform/Menu.h"
#include "naval/GPList.h"
#include "naval/HullSelection.h"
#include "naval/HydroTable.h"
#include "naval/VkHydro.h"

namespace sarnova::test {
namespace {

constexpr double L = 100, B = 10, T = 6.25;

// The hull NAME of the golden case's document (input.geo unless named), selected, with the facets its
// sections are cut from.
class GoldenHull {
public:
    GoldenHull(const std::string& Case, const std::string& Name, const std::string& File = "input.geo") {
        RegisterGeometryClasses();
        Doc.LoadFromFile(std::filesystem::path(SARNOVA_SOURCE_DIR) / "tests" / "golden" / Case / File);
        TGeometry* Hull = Doc.FindByName(Name);
        if (Hull == nullptr) return;
        Hull->SetSelected(true);
        Query = HullQuery();
        Hull->Query(*Query);
        if (Query->Count() == 1) Facets = HullSurfaceFacets(HullObjectOfItem(Query->Item(0)));
    }

    TGeometryInterface Doc;
    std::unique_ptr<TGeometryQuery> Query;
    std::unique_ptr<TPolygonList> Facets;
};

void ExpectWithin(double Got, double Want, double Fraction, const std::string& What, double Draught) {
    EXPECT_NEAR(Got, Want, std::fabs(Want) * Fraction) << What << " at draught " << Draught;
}

// The sections through HydrostaticSummary, the hydrostatic table's rows and the facets below each
// waterplane, from light to deep. The wetted area and the coefficients are left out: the sections take
// the area from their girths, which leave out the hull's slope along its length, and each road has its
// own waterline length.
TEST(HullHydrostatics, SectionsTableAndMeshAgreeFromLightToDeep) {
    const struct {
        const char* Case;
        const char* Name;
        const char* Draughts;
        const char* File;
    } Hulls[] = {{"hydrostatics-wigley", "Wigley", "(1.25, 6.25, 1.25)", "input.geo"},
                 {"hydrostatics-halvorn", "Ship", "(1, 6, 1), 4.172", "input.geo"},
                 {"tarvo-hull-create", "TarvoHull1", "(0.8, 4.8, 0.8)", "expected.geo"},
                 {"xtsurface-hull", "XTSurface1", "(1, 5, 1)", "expected.geo"}};
    for (const auto& H : Hulls) {
        SCOPED_TRACE(H.Case);
        GoldenHull Hull(H.Case, H.Name, H.File);
        ASSERT_NE(Hull.Facets, nullptr);
        const std::unique_ptr<TPolylineList> Sections = CalculationSectionsOfSelection(&Hull.Doc);
        ASSERT_NE(Sections, nullptr);
        // The facets are the starboard half; with their mirror image the mesh road gives the
        // metacentric radii too.
        TPolygonList Whole;
        Whole.AddCopies(Hull.Facets.get());
        auto Port = Hull.Facets->Transformed(MirrorXZMatrix);
        Port->FlipNormals();
        Whole.AddCopies(Port.get());

        const std::vector<double> Draughts = DraughtsFromText(H.Draughts);
        ASSERT_GE(Draughts.size(), 5u);
        THydrostaticsTable Table;
        Table.Reset();
        for (double D : Draughts) {
            THydrostaticsData FromSections;
            ResetHydrostatics(FromSections);
            Sections->HydrostaticSummary(WaterplaneAtDraught(D), FromSections);
            THydrostaticsData Row;
            HydrostaticsAtDraught(*Sections, D, Row);
            Table.AddRecord(Row);
            THydrostaticsData FromMesh;
            ResetHydrostatics(FromMesh);
            MeshHydrostatics(*ClipPolygonsByPlane(Whole, 0, WaterplaneAtDraught(D)), FromMesh);

            EXPECT_NEAR(FromSections.Draught, D, 1e-9);
            // A hull that answers with no facets would agree with itself at nothing.
            EXPECT_GT(FromSections.Volume, 0) << "at draught " << D;
            const std::pair<double THydrostaticsData::*, const char*> Compared[] = {
                {&THydrostaticsData::Volume, "volume"},    {&THydrostaticsData::Displacement, "displacement"},
                {&THydrostaticsData::LCB, "LCB"},          {&THydrostaticsData::VCB, "VCB"},
                {&THydrostaticsData::BMT, "BMT"},          {&THydrostaticsData::BML, "BML"},
                {&THydrostaticsData::WaterPlanArea, "WPA"}, {&THydrostaticsData::LCF, "LCF"}};
            for (auto [Field, What] : Compared) {
                ExpectWithin(FromMesh.*Field, FromSections.*Field, 0.01, What, D);
                EXPECT_EQ(Row.*Field, FromSections.*Field) << What << " in the table at draught " << D;
            }
        }
        // One row per draught after the labels, the draught first.
        ASSERT_EQ(Table.RowCount(), static_cast<int>(Draughts.size()) + 1);
        for (std::size_t I = 0; I < Draughts.size(); ++I)
            EXPECT_EQ(Table.GetCellValue(0, static_cast<int>(I) + 1), TCellValue(Draughts[I]));
    }
}

TEST(HullHydrostatics, WigleyHullAtItsDesignDraughtMatchesTheClosedForm) {
    GoldenHull Hull("hydrostatics-wigley", "Wigley");
    ASSERT_NE(Hull.Facets, nullptr);
    const std::unique_ptr<TPolylineList> Sections = CalculationSectionsOfSelection(&Hull.Doc);
    THydrostaticsData R;
    HydrostaticsAtDraught(*Sections, T, R);
    ExpectWithin(R.Volume, 4 * L * B * T / 9, 0.005, "V = 4LBT/9", T);
    ExpectWithin(R.VCB, 5 * T / 8, 0.005, "KB = 5T/8", T);
    ExpectWithin(R.BMT, 3 * B * B / (35 * T), 0.005, "BMt = 3B^2/(35T)", T);
    ExpectWithin(R.CB, 4.0 / 9, 0.005, "CB", T);
    for (double C : {R.CP, R.CWP}) ExpectWithin(C, 2.0 / 3, 0.005, "CP and CWP", T);
    EXPECT_NEAR(R.LCB, L / 2, 0.05);

    THydrostaticsData M;
    ResetHydrostatics(M);
    MeshHydrostatics(*ClipPolygonsByPlane(*Hull.Facets, 0, WaterplaneAtDraught(T)), M);
    ExpectWithin(M.Volume, 4 * L * B * T / 9, 0.005, "mesh V", T);
    ExpectWithin(M.VCB, 5 * T / 8, 0.005, "mesh KB", T);
}

// The curve-network hull's popup command adds its sections to the document, and these sections, chosen
// as the hull, give the hydrostatics of the surface.
TEST(HullHydrostatics, CurveNetworkHullSectionsFromItsPopupMenuAnswerAsTheHull) {
    GoldenHull Hull("xtsurface-hull", "XTSurface1", "expected.geo");
    ASSERT_NE(Hull.Facets, nullptr);
    const std::unique_ptr<TPolylineList> FromSurface = CalculationSectionsOfSelection(&Hull.Doc);
    ASSERT_NE(FromSurface, nullptr);
    const int Before = Hull.Doc.Count();
    TMenuItem* Item = Hull.Doc.SingleSelection()->PopupMenu()->Find("Create Calculation Sections");
    ASSERT_NE(Item, nullptr);
    Item->Click();
    ASSERT_EQ(Hull.Doc.Count(), Before + 1);
    auto* Sections = dynamic_cast<TGeoPList*>(&Hull.Doc.Items(Before));
    ASSERT_NE(Sections, nullptr);

    Hull.Doc.ClearSelection();
    Sections->SetSelected(true);
    const std::unique_ptr<TPolylineList> FromList = CalculationSectionsOfSelection(&Hull.Doc);
    ASSERT_NE(FromList, nullptr);
    for (double D : {1.0, 4.0}) {
        THydrostaticsData Want, Got;
        HydrostaticsAtDraught(*FromSurface, D, Want);
        HydrostaticsAtDraught(*FromList, D, Got);
        ASSERT_GT(Want.Volume, 0);
        ExpectWithin(Got.Volume, Want.Volume, 0.01, "volume", D);
        ExpectWithin(Got.LCB, Want.LCB, 0.01, "LCB", D);
        ExpectWithin(Got.VCB, Want.VCB, 0.01, "VCB", D);
        ExpectWithin(Got.BMT, Want.BMT, 0.01, "BMT", D);
    }
}

}  // namespace
}  // namespace sarnova::test
