// A whole hull document through the exchange formats, as a naval architect sends it on: the Wigley
// hull with its compartments, groups and opening (the document the golden case "compartments-wigley"
// saves), its lines plan as DXF, the whole document as DXF and as IGES, and its facets as ASCII STL.
// Each file is read back by the program and by a peer that we did not write: ezdxf, OpenCASCADE's IGES
// reader and admesh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "ExchangeFixtures.h"
#include "IgesPeer.h"
#include "document/GeometryQuery.h"
#include "entities/GGonList.h"
#include "exchange/IoDxf.h"
#include "exchange/IoIges.h"
#include "exchange/IoSTL.h"
#include "foundation/Contours.h"
#include "foundation/NumberText.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "naval/HullSelection.h"
#include "naval/HydroTable.h"
#include "naval/Linesplan.h"
#include "naval/VkHydro.h"

namespace sarnova::test {
namespace {

const std::filesystem::path HullDocument =
    std::filesystem::path(SARNOVA_SOURCE_DIR) / "tests" / "golden" / "compartments-wigley" / "expected.geo";

struct THullDocumentExchange : TExchangeTest {
    void SetUp() override { Doc.LoadFromFile(HullDocument); }

    // The entities of Into by class name.
    static std::map<std::string, int> Kinds(TGeometryList& Into) {
        std::map<std::string, int> Count;
        for (int I = 0; I < Into.Count(); ++I) ++Count[Into.Items(I).ClassName()];
        return Count;
    }

    // ezdxf's reading of a DXF file: the audit's error count, then the entities of the model space
    // per layer and type, one "LAYER TYPE COUNT" line each, sorted.
    static std::string Ezdxf(const std::string& Path) {
        const std::string Script = WriteTemp("layers.py",
                                             "import sys, collections\n"
                                             "from ezdxf import recover\n"
                                             "doc, auditor = recover.readfile(sys.argv[1])\n"
                                             "print('errors', len(auditor.errors))\n"
                                             "c = collections.Counter((e.dxf.layer, e.dxftype()) for e in doc.modelspace())\n"
                                             "for (layer, kind) in sorted(c): print(layer, kind, c[(layer, kind)])\n");
        int Status = 0;
        const std::string Out = RunCommand(Python() + " '" + Script + "' '" + Path + "'", Status);
        EXPECT_EQ(Status, 0) << Out;
        return Out;
    }
};

// The volume below the design draught of the document's single hull surface, from its sections.
double HullVolume(TGeometryList& Document) {
    for (int I = 0; I < Document.Count(); ++I) {
        TGeometry& E = Document.Items(I);
        if (E.ClassName() != "TGeoBSurf") continue;
        const auto Sections = CalculationSectionsOfEntity(E);
        if (!Sections) return 0;
        THydrostaticsData R;
        HydrostaticsAtDraught(*Sections, 6.25, R);
        return R.Volume;
    }
    return 0;
}

TEST_F(THullDocumentExchange, LinesPlanAsDXF) {
    // The lines-plan window's road: the selected surfaces, the reflection plane at the middle of
    // their box and contours every metre.
    Doc.FindByName("Wigley")->SetSelected(true);
    auto Query = GenerateLinesPlanQuery();
    Doc.Query(*Query, true);
    TLinesPlan Plan;
    for (int I = 0; I < Query->Count(); ++I) Plan.AddSurface(Query->Item(I).Instance);
    const TMBox Box = Plan.GetExtents();
    Plan.SetReflectionPlane(BoxCentre(Box).X);
    SetContourSpacing(Box, Plan.Contours(), 1, 1, 1);
    Plan.Update();
    const std::string Path = TempFile("lines-plan.dxf").string();
    Plan.SaveToDXF(Path);

    // 101 stations a metre apart, buttocks at 1 to 5 m off the centre plane and waterlines at 0 to 6
    // m; the grids carry their stroke-font labels.
    std::map<std::string, int> Layers;
    int Polylines = 0;
    const std::pair<TLinesPlanView*, std::string> Views[] = {
        {&Plan.StationsView(), "Stations"}, {&Plan.WaterlinesView(), "Waterlines"}, {&Plan.ButtocksView(), "Buttocks"}};
    for (auto& [View, Name] : Views) {
        for (auto [Part, Count] : {std::pair{"_SurfaceEdge", View->SurfaceEdges().Count()},
                                   std::pair{"_Contours", View->Contours().Count()},
                                   std::pair{"_Grid", View->Grid().Polylines().Count()}}) {
            Layers[Name + Part] = Count;
            Polylines += Count;
        }
    }
    EXPECT_EQ(Layers["Stations_Contours"], 101);
    EXPECT_EQ(Layers["Buttocks_Contours"], 5);
    EXPECT_EQ(Layers["Waterlines_Contours"], 7);
    // Four surface edges are seen end on, two in the body plan and two from below (one of them only to
    // the digits the file holds): single points on the sheet, which the file leaves out, so that every
    // polyline it holds reads back.
    Layers["Stations_SurfaceEdge"] -= 2;
    Layers["Waterlines_SurfaceEdge"] -= 2;
    Polylines -= 4;

    TGeometryInterface Back;
    ImportDXF(Path, Back);
    EXPECT_EQ(Kinds(Back), (std::map<std::string, int>{{"TGeoPline", Polylines}}));

    if (!HavePythonModule("ezdxf")) GTEST_SKIP() << "python3-ezdxf is not installed";
    std::string Want = "errors 0\n";
    for (auto [Layer, Count] : Layers) Want += Layer + " POLYLINE " + std::to_string(Count) + "\n";
    EXPECT_EQ(Ezdxf(Path), Want);
}

// The six compartments' sections: the hull's 23 (the two at its ends are the stem and stern lines,
// of no area), five for each tank and for the fore peak inside its closed group, five for each of the
// two box spaces. Groups and openings are no geometry of their own.
constexpr int CompartmentSections = 23 + 5 + 5 + 5 + 5 + 5;

TEST_F(THullDocumentExchange, WholeDocumentAsDXF) {
    const std::string Path = TempFile("hull-document.dxf").string();
    ExportDXF(Path, Doc);
    TGeometryInterface Back;
    ImportDXF(Path, Back);
    EXPECT_EQ(Kinds(Back), (std::map<std::string, int>{{"TGeoBSurf", 1}, {"TGeoPline", CompartmentSections}}));
    // The surface comes back as the mesh of points the file holds: the same hull, to the accuracy of
    // that mesh.
    EXPECT_NEAR(HullVolume(Back), HullVolume(Doc), 0.01 * HullVolume(Doc));

    if (!HavePythonModule("ezdxf")) GTEST_SKIP() << "python3-ezdxf is not installed";
    EXPECT_EQ(Ezdxf(Path), "errors 0\n0 POLYLINE " + std::to_string(CompartmentSections + 1) + "\n");
}

TEST_F(THullDocumentExchange, WholeDocumentAsIGES) {
    const std::string Path = TempFile("hull-document.igs").string();
    {
        TUnitsAnswer Answer(iuMillimetres);
        ExportIGES(Path, Doc);
    }
    TGeometryInterface Back;
    ImportIGES(Path, Back);
    EXPECT_EQ(Kinds(Back), (std::map<std::string, int>{{"TGeoBSurf", 1}, {"TGeoPline", CompartmentSections}}));
    // Millimetres in the file, metres again in the document: the same surface.
    EXPECT_NEAR(HullVolume(Back), HullVolume(Doc), 1e-6 * HullVolume(Doc));

    if (!HavePeer()) GTEST_SKIP() << "OpenCASCADE's IGES reader is not installed";
    auto Report = PeerReport(Path);
    EXPECT_EQ(Report["status"], "0");
    EXPECT_EQ(Report["valid"], "1");
    EXPECT_EQ(Report["shapes"], std::to_string(CompartmentSections + 1));
    EXPECT_EQ(Report["faces"], "1");
    EXPECT_EQ(Report["bsplinefaces"], "1");
    // Every section is a chain of straight B-spline edges.
    EXPECT_GT(std::stoi(Report["bsplinecurves"]), CompartmentSections);
    EXPECT_EQ(Report["lines"], "0");
    // In millimetres: the hull 100 m long and 6.25 m deep, the port tank reaching to the other side.
    // The reader bounds the surface by its control net, so y may pass the 5 m half breadth a little.
    std::istringstream Box(Report["box"]);
    double X0, Y0, Z0, X1, Y1, Z1;
    ASSERT_TRUE(Box >> X0 >> Y0 >> Z0 >> X1 >> Y1 >> Z1) << Report["box"];
    EXPECT_NEAR(X0, 0, 1);
    EXPECT_NEAR(X1, 100000, 1);
    EXPECT_NEAR(Z0, 0, 1);
    EXPECT_NEAR(Z1, 6250, 1);
    EXPECT_LT(Y0, -4000);
    EXPECT_GT(Y0, -5000);
    EXPECT_GT(Y1, 5000 - 1);
    EXPECT_LT(Y1, 5000 * 1.02);
}

TEST_F(THullDocumentExchange, HullFacetsAsSTLNormalisedByAdmesh) {
    auto Query = HullQuery();
    Doc.FindByName("Wigley")->Query(*Query);
    ASSERT_EQ(Query->Count(), 1);
    const auto Facets = HullSurfaceFacets(HullObjectOfItem(Query->Item(0)));
    ASSERT_NE(Facets, nullptr);
    std::string Text = "solid Wigley\n";
    for (int I = 0; I < Facets->Count(); ++I) {
        const TFacetRef F = Facets->Polygon(I);
        const TMVector N = PolygonNormal(F);
        Text += FormatWithPoint("facet normal %g %g %g\nouter loop\n", {N.X, N.Y, N.Z});
        for (int K = 0; K < F.CornerCount(); ++K) {
            const TMVector V = F.Corner(K)->Vector();
            Text += FormatWithPoint("vertex %.6f %.6f %.6f\n", {V.X, V.Y, V.Z});
        }
        Text += "endloop\nendfacet\n";
    }
    Text += "endsolid Wigley\n";
    const std::string Ours = WriteTemp("wigley.stl", Text);

    TGeometryInterface Back;
    ImportSTL(Ours, Back);
    ASSERT_EQ(Back.Count(), 1);
    EXPECT_EQ(dynamic_cast<TGeoPGonlist&>(Back.Items(0)).Facets().Count(), Facets->Count());

    if (!HaveProgram("admesh")) GTEST_SKIP() << "admesh is not installed";
    const std::string Normalised = TempFile("wigley-admesh.stl").string();
    int Status = 0;
    const std::string Report = RunCommand("admesh -c --write-ascii-stl='" + Normalised + "' '" + Ours + "'", Status);
    ASSERT_EQ(Status, 0) << Report;
    // admesh reports "Number of facets : <before> <after>": the degenerate facets along the stem,
    // stern and keel, where the surface closes to a line, are what it may drop.
    const auto At = Report.find("Number of facets");
    ASSERT_NE(At, std::string::npos) << Report;
    std::istringstream Line(Report.substr(Report.find(':', At) + 1));
    int Before = 0, After = 0;
    ASSERT_TRUE(Line >> Before >> After) << Report;
    EXPECT_EQ(Before, Facets->Count());
    TGeometryInterface Admeshed;
    ImportSTL(Normalised, Admeshed);
    ASSERT_EQ(Admeshed.Count(), 1);
    EXPECT_EQ(dynamic_cast<TGeoPGonlist&>(Admeshed.Items(0)).Facets().Count(), After);
}

}  // namespace
}  // namespace sarnova::test
