// Compartments from COMPARTMENT and CMIRROR macro blocks: box sections between boundaries, boundary
// curves and their interpolation, sections fitted to a hull, mirrored copies, and the block errors.
#include "naval/Compartment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "curvenet/GBSurfL.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/GBSurf.h"
#include "entities/GGonList.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/MacroFile.h"
#include "hulls/GCorvane.h"
#include "naval/CalcSections.h"
#include "naval/GPList.h"
#include "naval/VkHydro.h"
#include "naval/VolumesUnit.h"
#include "naval/HullMeshes.h"
#include "naval/VolumesUnit.h"
#include "surfaces/BSurface.h"
#include "surfaces/SurfaceList.h"

namespace sarnova::test {
namespace {

class CompartmentTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterGeometryClasses(); }

    // Runs Text as "test.cmd"; the error's message (file named as "test.cmd") or empty. Warnings go
    // to Warnings.
    std::string Run(const std::string& Text) {
        const auto Path = std::filesystem::temp_directory_path() / "test.cmd";
        std::ofstream(Path) << Text;
        TMacroFile Macro;
        Macro.LoadFromFile(Path);
        std::string Message;
        try {
            Doc.RunMacro(Macro);
        } catch (const std::exception& E) {
            Message = E.what();
            if (const auto At = Message.find(Path.string()); At != std::string::npos)
                Message.replace(At, Path.string().size(), "test.cmd");
        }
        Warnings = Macro.GetMessages();
        return Message;
    }
    TGeoPList* Named(const std::string& Name) { return dynamic_cast<TGeoPList*>(Doc.FindByName(Name)); }

    TGeometryInterface Doc;
    std::vector<std::string> Warnings;
};

const char* const BoxC1 = "COMPARTMENT C1\nFRONT 20\nBACK 0\nINSIDE 2\nOUTSIDE 6\nBOTTOM 1\nTOP 8\n";

TEST_F(CompartmentTest, BoxBlockMakesClosedRectanglesAtEvenStations) {
    EXPECT_EQ(Run(std::string(BoxC1) + "END\n"), "");
    TGeoPList* C = Named("C1");
    ASSERT_NE(C, nullptr);
    EXPECT_EQ(C->GetPermeability(), 1.0);
    EXPECT_TRUE(C->ShowAsCompartment());
    EXPECT_FALSE(C->Mirrored());
    ASSERT_EQ(C->Polylines().Count(), 5);
    for (int K = 0; K < 5; ++K) {
        TPolyline& P = *C->Polylines().Items(K);
        const double X = 5.0 * K;
        const TMVector Expected[] = {{X, 2, 1}, {X, 6, 1}, {X, 6, 8}, {X, 2, 8}, {X, 2, 1}};
        ASSERT_EQ(P.Count(), 5);
        for (int I = 0; I < 5; ++I) EXPECT_EQ(P.Point(I)->Vector(), Expected[I]) << K << " " << I;
    }

    // Mirrored sections stay open; REFLECT adds the twin on the other side with the same permeability.
    EXPECT_EQ(Run("POLYLIST Half Tank\nFRONT 10\nINSIDE 1\nOUTSIDE 3\nTOP 2\nPERM 0.5\nSECTIONS 3\nMIRRORED\n"
                  "REFLECT Other\nEND\n"),
              "");
    TGeoPList* Half = Named("Half Tank");
    TGeoPList* Twin = Named("OTHER");
    ASSERT_NE(Half, nullptr);
    ASSERT_NE(Twin, nullptr);
    EXPECT_TRUE(Half->Mirrored());
    EXPECT_TRUE(Twin->Mirrored());
    EXPECT_EQ(Twin->GetPermeability(), 0.5);
    ASSERT_EQ(Half->Polylines().Count(), 3);
    EXPECT_EQ(Half->Polylines().Items(1)->Count(), 4);
    EXPECT_EQ(Twin->Polylines().Items(1)->Point(1)->Vector(), (TMVector{5, -3, 0}));
}

TEST_F(CompartmentTest, BoundaryListsEndWithTheBlockOrLetItGoOn) {
    // Braces close the list only; the block goes on to SECTIONS.
    EXPECT_EQ(Run("COMPARTMENT A\nFRONT 10\nOUTSIDE 4\nTOP {\n0 2\n10 4\n}\nSECTIONS 3\nEND\n"), "");
    ASSERT_NE(Named("A"), nullptr);
    ASSERT_EQ(Named("A")->Polylines().Count(), 3);
    EXPECT_EQ(Named("A")->Polylines().Items(1)->Point(2)->Vector(), (TMVector{5, 4, 3}));

    // END closes the list and the block: SECTIONS reaches the interpreter as a command of its own.
    const std::string Message = Run("COMPARTMENT B\nFRONT 10\nOUTSIDE 4\nTOP BEGIN\n0 2\n10 4\nEND\nSECTIONS 3\n");
    EXPECT_NE(Message.find("test.cmd(8)"), std::string::npos) << Message;
    ASSERT_NE(Named("B"), nullptr);
    EXPECT_EQ(Named("B")->Polylines().Count(), 5);

    // A polyline entity named on the line is the boundary, x and z as they stand.
    EXPECT_EQ(Run("POLYLINE Deck\n0 0 2\n10 0 6\nEND\nCOMPARTMENT C\nFRONT 10\nOUTSIDE 1\nTOP Deck\n"
                  "SECTIONS 2\nEND\n"),
              "");
    ASSERT_NE(Named("C"), nullptr);
    EXPECT_EQ(Named("C")->Polylines().Items(1)->Point(2)->Z, 6);
}

TEST_F(CompartmentTest, InterpolationExtendsTheEndsAndRefusesAVerticalStep) {
    compartment::TCompartment C;
    C.Name = "C";
    C.FileName = "test.cmd";
    C.LineNumber = 4;
    TPolyline Curve;
    for (TMVector V : {TMVector{0, 1, 0}, {10, 3, 0}, {10, 5, 0}, {20, 5, 0}}) Curve.AddVector(V);
    const std::pair<double, double> Cases[] = {{-5, 0}, {5, 2}, {15, 5}, {30, 5}, {0, 1}};
    for (auto [X, Y] : Cases) EXPECT_DOUBLE_EQ(C.InterpolateY(Curve, "Inside", X), Y) << X;
    try {
        C.InterpolateY(Curve, "Inside", 10);
        FAIL() << "no error";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "Error: test.cmd(3) Compartment C - Unable to interpolate Inside polyline boundary");
    }
}

TEST_F(CompartmentTest, ErrorsNameTheBlockAndAddNothing) {
    const std::pair<std::string, const char*> Cases[] = {
        {"COMPARTMENT C1\nFRONT 10\nBACK 10\nEND\n", "Error: test.cmd(2): Compartment C1 has no Length"},
        {"COMPARTMENT C1\nFRONT 10\n", "Error: test.cmd(2): No END for Compartment C1"},
        {"COMPARTMENT C1\nFRONT 10\nWIDTH 3\nEND\n", "Error: test.cmd(3): Unknown Command WIDTH"},
        {"COMPARTMENT C1\nFRONT 10\nSECTIONS 1\nEND\n", "Error: test.cmd(3): Compartment C1 needs at least 2 sections"},
        {"COMPARTMENT C1\nFRONT ten\nEND\n", "Error: test.cmd(2): Unable to convert TEN to number"},
        {"COMPARTMENT C1\nFRONT 10\nFIT HULL\nEND\n", "Error: test.cmd(3): HULL not found"},
        {"POLYLINE P\n0 0 0\n1 0 0\nEND\nCOMPARTMENT C1\nFIT P\nEND\n", "Error: test.cmd(6): P is not a fitable entity"},
        {"CMIRROR C2\nSOURCE NONE\nEND\n", "Error: test.cmd(2): NONE not found"},
        {"POLYLINE P\n0 0 0\n1 0 0\nEND\nCMIRROR C2\nSOURCE P\nEND\n",
         "Error: test.cmd(6): P is not a Polylist Compartment"},
        {"CMIRROR C2\nPERM 0.5\nEND\n", "Error: test.cmd(2): CMirror C2 has no SOURCE"},
        {"CMIRROR C2\nPERM 0.5\n", "Error: test.cmd(2): No END for CMirror C2"},
    };
    for (const auto& [Text, Message] : Cases) {
        Doc.Clear();
        EXPECT_EQ(Run(Text), Message) << Text;
        EXPECT_EQ(Named("C1"), nullptr) << Text;
        EXPECT_EQ(Named("C2"), nullptr) << Text;
    }
    // SECTIONS takes an integer only.
    Doc.Clear();
    EXPECT_NE(Run("COMPARTMENT C1\nFRONT 10\nSECTIONS 2.5\nEND\n"), "");
    EXPECT_EQ(Named("C1"), nullptr);
}

TEST_F(CompartmentTest, WideSpacingIsWarnedAndBuilt) {
    EXPECT_EQ(Run(std::string(BoxC1) + "SECTIONS 4\nEND\n"), "");
    ASSERT_EQ(Warnings.size(), 1u);
    EXPECT_NE(Warnings[0].find("test.cmd(2): Compartment section interval is less than 4.5, suggest 5 sections"),
              std::string::npos)
        << Warnings[0];
    EXPECT_EQ(Named("C1")->Polylines().Count(), 4);
    Doc.Clear();
    EXPECT_EQ(Run(std::string(BoxC1) + "END\n"), "");
    EXPECT_TRUE(Warnings.empty());
}

TEST_F(CompartmentTest, MirrorBlockCopiesToTheOtherSide) {
    EXPECT_EQ(Run(std::string(BoxC1) + "PERM 0.9\nEND\nCMIRROR Port\nSOURCE c1\nEND\nCMIRROR P2\nSOURCE C1\nPERM 0.3\n"
                                        "END\n"),
              "");
    TGeoPList* Port = Named("Port");
    ASSERT_NE(Port, nullptr);
    EXPECT_EQ(Port->GetPermeability(), 0.9);
    EXPECT_TRUE(Port->ShowAsCompartment());
    EXPECT_EQ(Port->Polylines().Items(0)->Point(1)->Vector(), (TMVector{0, -6, 1}));
    EXPECT_EQ(Named("P2")->GetPermeability(), 0.3);
    // The source stays as it was.
    EXPECT_EQ(Named("C1")->Polylines().Items(0)->Point(1)->Vector(), (TMVector{0, 6, 1}));
}

// Every point of every section within the boundaries, the sections closed at their stations.
void ExpectInside(TGeoPList& C, int Count, double Y0, double Y1, double Z0, double Z1) {
    ASSERT_EQ(C.Polylines().Count(), Count);
    for (int S = 0; S < Count; ++S) {
        TPolyline& P = *C.Polylines().Items(S);
        EXPECT_TRUE(P.IsClosed()) << S;
        for (int I = 0; I < P.Count(); ++I) {
            const TRPoint& Q = *P.Point(I);
            EXPECT_EQ(Q.X, P.Point(0)->X);
            EXPECT_TRUE(Q.Y >= Y0 - 1e-9 && Q.Y <= Y1 + 1e-9 && Q.Z >= Z0 - 1e-9 && Q.Z <= Z1 + 1e-9)
                << S << " " << I << ": " << Q.Y << " " << Q.Z;
        }
    }
}

TEST_F(CompartmentTest, FittedSectionsAreCutToTheBoundaries) {
    // A polyline-list hull named TOP: "FIT TOP" is a FIT line, not a TOP boundary.
    auto Hull = std::make_unique<TGeoPList>();
    Hull->SetName("TOP");
    for (double X : {0.0, 10.0, 20.0}) {
        auto P = std::make_unique<TPolyline>();
        for (TMVector V : {TMVector{X, 0, 0}, {X, 3, 1}, {X, 4, 4}, {X, 4, 8}}) P->AddVector(V);
        Hull->Polylines().Add(std::move(P));
    }
    Doc.Add(std::move(Hull));
    EXPECT_EQ(Run("COMPARTMENT Fit\nFRONT 15\nBACK 5\nINSIDE 1\nOUTSIDE 3.5\nBOTTOM 0.5\nTOP 6\nFIT TOP\nEND\n"), "");
    ASSERT_NE(Named("Fit"), nullptr);
    ExpectInside(*Named("Fit"), 5, 1, 3.5, 0.5, 6);
    EXPECT_EQ(Named("Fit")->Polylines().Items(4)->Point(0)->X, 15);

    // A facet hull: its x contours at the stations.
    auto Mesh = std::make_unique<TGeoPGonlist>();
    Mesh->SetName("Wigley");
    Mesh->Facets().TakeFrom(*WigleyHull(40, 8, 4, 40, 10));
    Doc.Add(std::move(Mesh));
    EXPECT_EQ(Run("COMPARTMENT Mid\nFRONT 5\nBACK -5\nINSIDE 0\nOUTSIDE 2\nBOTTOM 1\nTOP 3\nSECTIONS 3\nFIT WIGLEY\nEND\n"),
              "");
    ASSERT_NE(Named("Mid"), nullptr);
    ExpectInside(*Named("Mid"), 3, 0, 2, 1, 3);

    // Limits outside the hull.
    const std::string Message = Run("COMPARTMENT Long\nFRONT 30\nBACK 5\nFIT TOP\nEND\n");
    EXPECT_EQ(Message, "Error: test.cmd(1) Compartment Long - The longitudinal extends are outside that of TOP");
    EXPECT_EQ(Named("Long"), nullptr);
}

TEST_F(CompartmentTest, AMirroredSpaceFittedToWholeSectionsIsMeasuredOnBothSides) {
    // Closed sections across both sides, as calculation sections are: 8 wide and 6 deep.
    auto Hull = std::make_unique<TGeoPList>();
    Hull->SetName("Body");
    for (double X : {0.0, 10.0, 20.0}) {
        auto P = std::make_unique<TPolyline>();
        for (TMVector V : {TMVector{X, -4, 0}, {X, 4, 0}, {X, 4, 6}, {X, -4, 6}}) P->AddVector(V);
        P->SetClosed(true);
        Hull->Polylines().Add(std::move(P));
    }
    Doc.Add(std::move(Hull));
    EXPECT_EQ(Run("COMPARTMENT Hold\nFRONT 15\nBACK 5\nINSIDE 0\nOUTSIDE 10\nBOTTOM 1\nTOP 3\nSECTIONS 3\nFIT BODY\n"
                  "MIRRORED\nEND\n"),
              "");
    TGeoPList* Hold = Named("Hold");
    ASSERT_NE(Hold, nullptr);
    for (int S = 0; S < Hold->Polylines().Count(); ++S) EXPECT_FALSE(Hold->Polylines().Items(S)->IsClosed()) << S;
    const TVolumeInformation Info = CompartmentInfo(*Hold);
    EXPECT_NEAR(Info.Volume, 10 * 8 * 2, 1e-6);
    EXPECT_NEAR(Info.Centre[1], 0, 1e-9);
    EXPECT_NEAR(Info.Centre[2], 2, 1e-9);
}

TEST_F(CompartmentTest, OpenHalfSectionsFromKeelToDeckEdgeEncloseTheSpaceToTheCentrePlane) {
    // Half sections of a box 8 wide and 6 deep, open: keel, bilge, deck edge.
    auto Hull = std::make_unique<TGeoPList>();
    Hull->SetName("Half");
    for (double X : {0.0, 10.0, 20.0}) {
        auto P = std::make_unique<TPolyline>();
        for (TMVector V : {TMVector{X, 0, 0}, {X, 4, 0}, {X, 4, 6}}) P->AddVector(V);
        Hull->Polylines().Add(std::move(P));
    }
    Doc.Add(std::move(Hull));
    const std::pair<const char*, double> Cases[] = {{"", 10 * 4 * 2}, {"MIRRORED\n", 10 * 8 * 2}};
    for (auto [Mirror, Volume] : Cases) {
        EXPECT_EQ(Run(std::string("COMPARTMENT Hold\nFRONT 15\nBACK 5\nINSIDE 0\nOUTSIDE 10\nBOTTOM 1\nTOP 3\n"
                                  "SECTIONS 3\nFIT HALF\n") + Mirror + "END\n"),
                  "");
        TGeoPList* Hold = Named("Hold");
        ASSERT_NE(Hold, nullptr);
        EXPECT_NEAR(CompartmentInfo(*Hold).Volume, Volume, 1e-6) << Mirror;
        Doc.DeleteGeometry(Hold);
    }
}

TEST_F(CompartmentTest, SurfaceHullsAreFittedThroughTheirFacets) {
    // A half hull from the keel to the deck edge, x 0 to 30, rounded at the bilge.
    auto Surf = std::make_unique<TGeoBSurf>();
    TBSplineSurface& S = Surf->Surface();
    S.SetSize(4, 3);
    S.Clear();
    for (int I = 0; I < 4; ++I) {
        const TMVector Section[] = {{10.0 * I, 0, 0}, {10.0 * I, 4, 0}, {10.0 * I, 4, 6}};
        for (int J = 0; J < 3; ++J) S.Point(I, J).SetVector(Section[J]);
    }
    S.SetOrderU(2);
    S.SetOrderV(3);
    Surf->SetName("Shell");
    auto List = std::make_unique<TGeoBSurfList>();
    List->Surfaces().AddSurface(CloneBSplineSurface(S));
    List->SetName("Shells");
    Doc.Add(std::move(Surf));
    Doc.Add(std::move(List));
    for (const char* Fit : {"SHELL", "SHELLS"}) {
        const std::string Name = std::string("In") + Fit;
        EXPECT_EQ(Run("COMPARTMENT " + Name + "\nFRONT 20\nBACK 10\nINSIDE 0\nOUTSIDE 2\nBOTTOM 1\nTOP 3\nSECTIONS 3\n"
                      "FIT " + Fit + "\nEND\n"),
                  "");
        ASSERT_NE(Named(Name), nullptr) << Fit;
        ExpectInside(*Named(Name), 3, 0, 2, 1, 3);
    }
}

TEST_F(CompartmentTest, AGeneratedHullIsFittedThroughItsSurface) {
    // A yacht hull, x 0 to 12 and 2 m wide at most: its generator is a B-spline surface of its own
    // class, which the compartment takes once the hull is generated.
    auto Made = std::make_unique<TGeoCorvane>();
    Made->SetName("Yacht");
    TGeoCorvane& Hull = *Made;
    Doc.Add(std::move(Made));
    const std::string Hold =
        "COMPARTMENT Hold\nFRONT 7\nBACK 5\nINSIDE 0\nOUTSIDE 10\nBOTTOM 0.6\nTOP 1.8\nSECTIONS 3\nFIT YACHT\nEND\n";
    EXPECT_EQ(Run(Hold), "Error: test.cmd(9): YACHT is not a fitable entity") << "only form curves before it is generated";
    EXPECT_EQ(Named("Hold"), nullptr);
    Hull.Generate();
    ASSERT_TRUE(Hull.Generated());
    EXPECT_EQ(Run(Hold), "");
    ASSERT_NE(Named("Hold"), nullptr);
    // Cut by the hull, not by the 10 m outside boundary.
    ExpectInside(*Named("Hold"), 3, 0, Hull.CalculateExtents().Max.Y, 0.6, 1.8);
}

// A hull that closes to a line at its stem and stern: the compartment that spans it keeps those lines
// as its end sections, of no area, and holds the hull's volume. Without them it stopped a station
// short at each end and came out 8 % under.
TEST_F(CompartmentTest, AFineEndedHullIsFittedToItsEnds) {
    auto Surf = std::make_unique<TGeoBSurf>();
    AssignBSplineSurface(Surf->Surface(), *WigleySurface(40, 8, 4));
    Surf->SetName("Wigley");
    TGeoBSurf& Hull = *static_cast<TGeoBSurf*>(Doc.Add(std::move(Surf)));
    EXPECT_EQ(Run("COMPARTMENT Hull\nFRONT 20\nBACK -20\nINSIDE 0\nOUTSIDE 4\nBOTTOM 0\nTOP 4\nSECTIONS 9\n"
                  "FIT WIGLEY\nMIRRORED\nEND\n"),
              "");
    ASSERT_NE(Named("Hull"), nullptr);
    TPolylineList& Sections = Named("Hull")->Polylines();
    ASSERT_EQ(Sections.Count(), 9);
    for (int S : {0, 8}) {
        TPolyline& End = *Sections.Items(S);
        EXPECT_EQ(End.Count(), 2) << S;
        EXPECT_NEAR(End.Point(0)->X, S == 0 ? -20 : 20, 1e-9);
        EXPECT_EQ(SectionArea(End), 0) << S;
    }
    const double HullVolume = CreateCalculationSections(&Hull.Surface())->SectionsVolume().Volume;
    EXPECT_NEAR(CompartmentInfo(*Named("Hull")).Volume, HullVolume, 0.005 * HullVolume);

    // A space that ends inside the hull's length keeps its plain sections only.
    EXPECT_EQ(Run("COMPARTMENT Aft\nFRONT 0\nBACK -15\nINSIDE 0\nOUTSIDE 4\nBOTTOM 0\nTOP 4\nSECTIONS 4\n"
                  "FIT WIGLEY\nMIRRORED\nEND\n"),
              "");
    ASSERT_NE(Named("Aft"), nullptr);
    ASSERT_EQ(Named("Aft")->Polylines().Count(), 4);
    for (int S = 0; S < 4; ++S) EXPECT_GT(SectionArea(*Named("Aft")->Polylines().Items(S)), 1) << S;
}

}  // namespace
}  // namespace sarnova::test
