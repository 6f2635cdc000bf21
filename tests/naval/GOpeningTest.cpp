// Flooding openings: extents and connections, sections cut from a boundary and made to run one way,
// profile cuts, the macro blocks and the entity's text block and commands, and openings cut out of a
// hull.
#include "naval/GOpening.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "document/GPline.h"
#include "document/GeoFace.h"
#include "startup/RegisterClasses.h"
#include "entities/EntityFixtures.h"
#include "entities/GGonList.h"
#include "foundation/TextUtils.h"
#include "foundation/Console.h"
#include "foundation/Errors.h"
#include "foundation/MacroFile.h"
#include "foundation/TextFile.h"
#include "foundation/VkMaths.h"
#include "naval/GGroup.h"
#include "naval/GPList.h"
#include "naval/HullMeshes.h"
#include "platform/Menu.h"

namespace sarnova::test {
namespace {

std::string ErrorOf(const std::function<void()>& F) {
    try {
        F();
    } catch (const std::exception& E) {
        return E.what();
    }
    return {};
}

TEST(OpeningExtents, LocationAndExtentOrMinAndMaxNeverMixed) {
    TExtent A, B;
    A.SetLocation(5);
    A.SetExtent(2);
    B.SetExtent(2);
    B.SetLocation(5);
    for (const TExtent* E : {&A, &B}) {
        EXPECT_DOUBLE_EQ(E->Min, 4);
        EXPECT_DOUBLE_EQ(E->Max, 6);
    }
    EXPECT_EQ(ErrorOf([&] { A.SetMin(1); }), "TExtent.SetExtentType - Extent is already set using Location/Extent");
    TExtent C;
    C.SetMax(3);
    EXPECT_EQ(ErrorOf([&] { C.SetLocation(1); }), "TExtent.SetExtentType - Extent is already set using Min/Max");
}

TEST(OpeningExtents, ValidityAndBoundary) {
    TRectangleExtents R;
    R.X.SetLocation(3);
    R.Y.SetMax(1);
    R.Z.SetMax(1);
    EXPECT_EQ(R.FlatAxis(), 0);
    const auto B = R.Boundary();
    const double Expected[5][3] = {{3, 0, 0}, {3, 1, 0}, {3, 1, 1}, {3, 0, 1}, {3, 0, 0}};
    ASSERT_EQ(B->Count(), 5);
    for (int I = 0; I < 5; ++I)
        EXPECT_EQ(B->Point(I)->Vector(), (TMVector{Expected[I][0], Expected[I][1], Expected[I][2]})) << I;

    TRectangleExtents Two;
    Two.X.SetMax(1);
    EXPECT_FALSE(Two.CheckValidity(false));
    EXPECT_EQ(ErrorOf([&] { Two.FlatAxis(); }),
              "TRectangleExtents.CheckValidity - There should be only one set of extents which is zero");
    // Negative extents are reported before the count of zero extents.
    TRectangleExtents Negative;
    Negative.X.SetMin(2);
    Negative.X.SetMax(1);
    EXPECT_EQ(ErrorOf([&] { Negative.Boundary(); }), "TRectangleExtents.CheckValidity - X Extents are negative");
}

TEST(OpeningConnection, ParsesAndWritesTheArrows) {
    struct Case {
        const char* Text;
        const char* A;
        const char* B;
        int Direction;
        const char* Written;
    };
    const Case Cases[] = {
        {"Hold1 <-> SEA", "Hold1", "SEA", 2, "Hold1 <-> SEA"},
        {"A->B", "A", "B", 0, "A -> B"},
        {"A <- B", "A", "B", 1, "A <- B"},
        {"-> SEA", "", "SEA", 0, " -> SEA"},
        {"Hold1 <-", "Hold1", "", 1, "Hold1 <- "},
    };
    for (const Case& C : Cases) {
        TConnection K;
        K.Parse(C.Text);
        EXPECT_EQ(K.GetEndA(), C.A) << C.Text;
        EXPECT_EQ(K.GetEndB(), C.B) << C.Text;
        EXPECT_EQ(K.Direction, C.Direction) << C.Text;
        EXPECT_EQ(K.Text(), C.Written) << C.Text;
    }
    TConnection K;
    EXPECT_EQ(ErrorOf([&] { K.Parse("A B"); }), "Connection argument is not one of <-, ->, <->");
    K.Parse("hold1 <-> Sea");
    EXPECT_TRUE(K.Involves("HOLD1"));
    EXPECT_FALSE(K.Involves("Hold2"));
}

// A square boundary in the plane x = 2 from y 0..1 and z 0..1.
std::unique_ptr<TPolyline> Square() {
    auto P = std::make_unique<TPolyline>();
    for (auto [Y, Z] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {1.0, 1.0}, {0.0, 1.0}, {0.0, 0.0}}) P->AddPoint(2, Y, Z);
    return P;
}

TEST(OpeningFromBoundary, SectionsStackedInsideTheBoundaryAndReflected) {
    TBoundaryOpening D;
    D.Boundary = Square();
    D.SearchAxis = 2;
    D.SectionCount = 7;
    D.Name = "O1";
    auto O = CreateOpeningFromBoundary(D);
    ASSERT_EQ(O->Sections().Count(), 7);
    EXPECT_NEAR(O->Sections().First()->First()->Z, 1e-4, 1e-12);
    EXPECT_NEAR(O->Sections().Last()->First()->Z, 1 - 1e-4, 1e-12);
    for (int I = 0; I < 7; ++I) {
        const TPolyline& S = *O->Sections().Items(I);
        ASSERT_EQ(S.Count(), 2);
        // All run the same way as the first.
        EXPECT_EQ(S.First()->Y > S.Last()->Y, O->Sections().First()->First()->Y > O->Sections().First()->Last()->Y) << I;
    }
    EXPECT_EQ(O->GetName(), "O1");

    D.Reflect = true;
    D.Normal = NewRPoint(-1, 0, 0);
    auto R = CreateOpeningFromBoundary(D);
    const TMBox Box = R->Sections().Extents();
    EXPECT_NEAR(Box.Min.Y, -1, 1e-12);
    EXPECT_NEAR(Box.Max.Y, 0, 1e-12);
    EXPECT_DOUBLE_EQ(Box.Min.X, 2);
    EXPECT_NEAR(R->Normal().X, -1, 1e-12);

    D.SectionCount = 1;
    EXPECT_EQ(ErrorOf([&] { CreateOpeningFromBoundary(D); }), "Opening O1, Number of sections is less than 2");
}

TEST(OpeningSections, UnifyNormalAndFlip) {
    TGeoOpening O;
    auto Line = [&](std::initializer_list<TMVector> Points) {
        auto P = std::make_unique<TPolyline>();
        for (const TMVector& V : Points) P->AddVector(V);
        O.Sections().Add(std::move(P));
    };
    Line({{0, 0, 0}});  // one point: grows along the second section
    Line({{0, 0, 1}, {0, 1, 1}});
    Line({{0, 1, 2}, {0, 0, 2}});  // runs the other way
    Line({{0, 0.5, 3}});
    O.UnifySections();
    const TPolylineList& S = O.Sections();
    EXPECT_EQ(S.Items(0)->Count(), 2);
    EXPECT_NEAR(S.Items(0)->Last()->Y, 0.005, 1e-12);
    EXPECT_EQ(S.Items(2)->First()->Y, 0);
    EXPECT_NEAR(S.Items(3)->Last()->Y, 0.505, 1e-12);
    // (B1 - A0) x (B0 - A1) with A the first and B the last section.
    EXPECT_NEAR(O.Normal().X, 1, 1e-9);
    O.OrientToNormal({-1, 0, 0});
    EXPECT_NEAR(O.Normal().X, -1, 1e-9);
    EXPECT_DOUBLE_EQ(O.Sections().First()->First()->Z, 3);
    O.OrientToNormal({-0.9, 0.1, 0});
    EXPECT_NEAR(O.Normal().X, -1, 1e-9);

    TGeoOpening Bad;
    Bad.Sections().Add(std::make_unique<TPolyline>());
    Bad.Sections().First()->AddPoint(0, 0, 0);
    Bad.Sections().Add(Bad.Sections().First()->Clone());
    EXPECT_EQ(ErrorOf([&] { Bad.UnifySections(); }),
              "Unable to unify opening sections, lines 1 and 2 \r\nhave less than two points");
}

TEST(OpeningSections, CutAtAProfile) {
    auto Section = [] {
        TPolyline P;
        for (double Z : {0.0, 1.0, 2.0, 3.0}) P.AddPoint(5, 0, Z);
        return P.Clone();
    };
    TPolyline Level;
    Level.AddPoint(0, 0, 1.5);
    Level.AddPoint(10, 0, 1.5);
    auto Bottom = Section();
    CutToBoundary(*Bottom, Level, 1, 2);
    ASSERT_EQ(Bottom->Count(), 3);
    EXPECT_DOUBLE_EQ(Bottom->First()->Z, 1.5);
    auto Top = Section();
    CutToBoundary(*Top, Level, -1, 2);
    ASSERT_EQ(Top->Count(), 3);
    EXPECT_DOUBLE_EQ(Top->Last()->Z, 1.5);

    // A profile that crosses the section twice leaves the evidence behind.
    TPolyline Wavy;
    for (auto [X, Z] : {std::pair{0.0, 0.5}, {5.0, 2.5}, {5.0, 2.5}, {10.0, 0.5}}) Wavy.AddPoint(X, 0, Z);
    TPolyline Vertical;
    Vertical.AddPoint(4, 0, 0);
    Vertical.AddPoint(4, 0, 3);
    Vertical.AddPoint(6, 0, 3);
    Vertical.AddPoint(6, 0, 0);
    GTempDir = std::filesystem::temp_directory_path().string() + "/";
    for (const char* F : {"Line.geo", "Boundary.geo", "CutError.geo"}) std::filesystem::remove(GTempDir + F);
    EXPECT_EQ(ErrorOf([&] { CutToBoundary(Vertical, Wavy, 1, 2); }), "GOpening:CutToBoundary - Multiple intersections");
    EXPECT_EQ(Vertical.Count(), 4);
    for (const char* F : {"Line.geo", "Boundary.geo", "CutError.geo"}) {
        std::ifstream In(GTempDir + F);
        std::string First;
        std::getline(In, First);
        EXPECT_EQ(First, "[TPolyline]") << F;
    }
}

class OpeningMacroTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterGeometryClasses();
        GConsole->OnLine = [this](const std::string& Line) { Console.push_back(Line); };
    }
    void TearDown() override { GConsole->OnLine = nullptr; }

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
        for (std::string& W : Warnings)
            if (const auto At = W.find(Path.string()); At != std::string::npos) W.replace(At, Path.string().size(), "test.cmd");
        return Message;
    }
    TGeoOpening* Opening(const std::string& Name) { return dynamic_cast<TGeoOpening*>(Doc.FindByName(Name)); }
    // A half box hull, open along the centre plane and at the deck: x 0..100, y 0..10, z 0..10; or
    // the whole box, both sides, open at the deck.
    void AddBoxHull(bool Whole = false) {
        auto Hull = std::make_unique<TGeoPGonlist>();
        Hull->Facets().Assign(*BoxMesh(0, 100, Whole ? -10 : 0, 10, 0, 10, false, !Whole)->TriangulatedCopy());
        Hull->SetName("Hull");
        Doc.Add(std::move(Hull));
    }

    TGeometryInterface Doc;
    std::vector<std::string> Console, Warnings;
};

const char* const SquareBlock = "BOUNDARY BEGIN\n2 0 0\n2 1 0\n2 1 1\n2 0 1\n2 0 0\n";
// The square x 0..1, z 0..1 in the plane y = 0.
const char* const XSquareBlock = "BOUNDARY BEGIN\n0 0 0\n1 0 0\n1 0 1\n0 0 1\n0 0 0\n";

TEST_F(OpeningMacroTest, BoundaryBlocks) {
    EXPECT_EQ(Run(std::string("BOUNDARYOPENING O1\nBOUNDARY {\n2 0 0\n2 1 0\n2 1 1\n2 0 1\n2 0 0\n}\n"
                              "SEARCH Z 4\nOPENINGTIME 30\nCOLLAPSEHEAD 1.5\nREFLECT\nEND OF SHAPE\nNORMAL [-2, 0,0]\nEND\n")),
              "");
    TGeoOpening* O = Opening("O1");
    ASSERT_NE(O, nullptr);
    EXPECT_EQ(O->Sections().Count(), 4);
    EXPECT_DOUBLE_EQ(O->Connection().OpeningTime, 30);
    EXPECT_DOUBLE_EQ(O->Connection().HeadOfWater, 1.5);
    EXPECT_LT(O->Sections().Extents().Min.Y, -0.5);
    EXPECT_NEAR(O->Normal().X, -1, 1e-12);
    EXPECT_NE(std::find(Console.begin(), Console.end(), "Creating Opening O1..."), Console.end());

    // A points block closed by END closes the opening there: what follows is read as plain macro lines.
    EXPECT_EQ(Run(std::string("BOUNDARYOPENING O2\n") + XSquareBlock + "END\nO2.NAME=Closed\n"), "");
    ASSERT_NE(Opening("Closed"), nullptr);
    EXPECT_EQ(Opening("Closed")->Sections().Count(), 7);
    EXPECT_EQ(Run(std::string("BOUNDARYOPENING O3\n") + XSquareBlock + "END\nREFLECT\nEND\n"),
              "Error: test.cmd(9): Command not found REFLECT");
}

TEST_F(OpeningMacroTest, ExtentsBlocksAndTheSearchAxis) {
    const std::string Rect = "OPENING O1\nXLOCATION 10\nYMIN 0\nYMAX 2\nZMIN 1\nZMAX 2\n";
    EXPECT_EQ(Run(Rect + "END\n"), "Error: test.cmd(2): Opening O1, Search direction is incompatible with boundary definition");
    EXPECT_EQ(Opening("O1"), nullptr);
    EXPECT_EQ(Run(Rect + "SEARCH Z 5\nEND\n"), "");
    TGeoOpening* O = Opening("O1");
    ASSERT_NE(O, nullptr);
    ASSERT_EQ(O->Sections().Count(), 5);
    for (int I = 0; I < 5; ++I) {
        const TPolyline& S = *O->Sections().Items(I);
        EXPECT_DOUBLE_EQ(S.First()->X, 10);
        EXPECT_DOUBLE_EQ(S.Last()->X, 10);
        EXPECT_NEAR(std::abs(S.Last()->Y - S.First()->Y), 2, 1e-12);
    }
}

TEST_F(OpeningMacroTest, BlockErrorsAddNothing) {
    auto* Line = static_cast<TGeoPline*>(Doc.Add(std::make_unique<TGeoPline>()));
    Line->SetName("Open");
    Line->Polyline().AddPoint(0, 0, 0);
    Line->Polyline().AddPoint(1, 0, 0);
    const std::pair<std::string, const char*> Cases[] = {
        {std::string("BOUNDARYOPENING B\n") + SquareBlock + "}\nSEARCH W 4\nEND\n", "Error: test.cmd(9): Unknown search direction"},
        {"BOUNDARYOPENING B\nFOO 1\nEND\n", "Error: test.cmd(2): Unknown Command FOO"},
        {"BOUNDARYOPENING B\nBOUNDARY NONE\nEND\n", "Error: test.cmd(2): Polyline Boundary NONE not found"},
        {"BOUNDARYOPENING B\nBOUNDARY OPEN\nEND\n", "Error: test.cmd(2): Opening B, Boundary has less than 4 points"},
        {"BOUNDARYOPENING B\nBOUNDARY {\n0 0\n1 0\n1 1\n0 2\n}\nEND\n", "Error: test.cmd(2): Opening B, Boundary is not closed"},
        {std::string("BOUNDARYOPENING B\n") + SquareBlock + "}\nSEARCH Z 1\nEND\n",
         "Error: test.cmd(2): Opening B, Number of sections is less than 2"},
        {"BOUNDARYOPENING B\nNORMAL Q+\nEND\n", "Error: test.cmd(2): Q+ is an invalid normal specification"},
        {"BOUNDARYOPENING B\nCONNECT A B\nEND\n", "Error: test.cmd(2): Connection argument is not one of <-, ->, <->"},
        {"OPENING B\nXLOCATION 1\nXMIN 0\nEND\n",
         "Error: test.cmd(3): TExtent.SetExtentType - Extent is already set using Location/Extent"},
        {"OPENING B\nXMAX 1\nSEARCH Z 3\nEND\n",
         "Error: test.cmd(2): TRectangleExtents.CheckValidity - There should be only one set of extents which is zero"},
        {"BOUNDARYOPENING B\nREFLECT\n", "Error: test.cmd(2): No END for Opening B"},
        {"RECTANGLEOPENING B\nLOCATION 5\nEND\n", "Error: test.cmd(2): No Hull Entity"},
        {"RECTANGLEOPENING B\nHULL NOTHING\nEND\n", "Error: test.cmd(2): NOTHING not found"},
        {"RECTANGLEOPENING B\nHULL OPEN\nEND\n", "Error: test.cmd(2): OPEN is not a surface entity"},
    };
    for (const auto& [Text, Message] : Cases) {
        EXPECT_EQ(Run(Text), Message) << Text;
        EXPECT_EQ(Doc.FindByName("B"), nullptr) << Text;
    }
}

TEST_F(OpeningMacroTest, ConnectNamesGroupsAndWarnsOfTheRest) {
    auto* Line = static_cast<TGeoPline*>(Doc.Add(std::make_unique<TGeoPline>()));
    Line->SetName("Rail");
    Line->Polyline().AddPoint(0, 0, 0);
    Line->Polyline().AddPoint(1, 0, 0);
    ASSERT_EQ(Run("OPENGROUP Hold1\nRail\nEND\n"), "");
    EXPECT_EQ(Run(std::string("BOUNDARYOPENING O1\n") + SquareBlock + "}\nCONNECT Hold1 -> Sea\nSEARCH Z 3\nEND\n"
                  "BOUNDARYOPENING O2\n" + SquareBlock + "}\nCONNECT Rail <-> Nowhere\nSEARCH Z 3\nEND\n"),
              "");
    EXPECT_EQ(Warnings, (std::vector<std::string>{"Warning: test.cmd(20): RAIL is not a group",
                                                  "Warning: test.cmd(20): Connection Object NOWHERE not found"}));
    TGeoOpening* O = Opening("O1");
    ASSERT_NE(O, nullptr);
    EXPECT_EQ(O->Connection().Text(), "Hold1 -> SEA");
    EXPECT_EQ(O->Connection().GroupA(), Doc.FindByName("Hold1"));
    EXPECT_TRUE(O->ConnectsGroup("hold1"));

    // Only the first word opens a block: this is an open group named OPENING.
    EXPECT_EQ(Run("OPENGROUP OPENING\nRail\nEND\n"), "");
    EXPECT_NE(dynamic_cast<TGeoOpenGroup*>(Doc.FindByName("OPENING")), nullptr);

    // The group renamed shows under its new name; freed, it leaves the end empty.
    Doc.FindByName("Hold1")->SetName("Forehold");
    EXPECT_EQ(O->Connection().GetEndA(), "Forehold");
    Doc.DeleteGeometry(Doc.FindByName("Forehold"));
    EXPECT_EQ(O->Connection().GetEndA(), "");

    // Entity commands.
    EXPECT_EQ(Run("O1.OPENINGTIME = 2 * 6\nO1.COLLAPSEHEAD=0.75\nO1.NAME=Door\n"), "");
    EXPECT_DOUBLE_EQ(Opening("Door")->Connection().OpeningTime, 12);
    EXPECT_DOUBLE_EQ(Opening("Door")->Connection().HeadOfWater, 0.75);
}

TEST_F(OpeningMacroTest, AnEmptyGroupStaysWhileAnOpeningConnectsIt) {
    auto* Line = static_cast<TGeoPline*>(Doc.Add(std::make_unique<TGeoPline>()));
    Line->SetName("Rail");
    Line->Polyline().AddPoint(0, 0, 0);
    Line->Polyline().AddPoint(1, 0, 0);
    ASSERT_EQ(Run("OPENGROUP Hold1\nRail\nEND\nOPENGROUP Hold2\nRail\nEND\n"), "");
    ASSERT_EQ(Run(std::string("BOUNDARYOPENING O1\n") + SquareBlock + "}\nCONNECT Hold1 -> Sea\nSEARCH Z 3\nEND\n"), "");
    // The last member goes: the connected group stays a space, the other one leaves.
    Doc.DeleteGeometry(Doc.FindByName("Rail"));
    Doc.ValidateEntities();  // the next list change
    EXPECT_NE(Doc.FindByName("Hold1"), nullptr);
    EXPECT_EQ(Doc.FindByName("Hold2"), nullptr);
    EXPECT_EQ(Opening("O1")->Connection().GetEndA(), "Hold1");
    // Once nothing connects it, it leaves too.
    Doc.DeleteGeometry(Opening("O1"));
    Doc.ValidateEntities();
    EXPECT_EQ(Doc.FindByName("Hold1"), nullptr);
}

TEST_F(OpeningMacroTest, TextBlockReadsKeysInAnyOrder) {
    const std::string Sections = "[TOpening]\nNumPolylines=1\nNumPoints=2\n     1.000      0.000      0.000\n"
                                 "     1.000      1.000      0.000\n";
    const std::string Written = Sections +
                                "Connection=Hold1 -> SEA\nOpeningTime= 0.00000000000000E+0000\n"
                                "HeadOfWater= 1.50000000000000E+0000\nName=O1\n\n";
    ExpectLoadsAndSavesUnchanged(Written);

    TGeometryInterface Shuffled;
    LoadDocumentText(Shuffled, Sections + "Name=O1\nHeadOfWater=1,5\nFuture=3\nConnection=Hold1->SEA\nOpeningTime=0\n\n");
    auto Read = EntitiesOf<TGeoOpening>(Shuffled);
    ASSERT_EQ(Read.size(), 1u);
    TTextWriter Out;
    Read[0]->SaveToText(Out);
    EXPECT_EQ(Out.Text(), Written);
}

TEST_F(OpeningMacroTest, CopiesAndMovesKeepTheConnection) {
    AddBoxHull();
    ASSERT_EQ(Run(std::string("OPENGROUP Hold1\nHull\nEND\nBOUNDARYOPENING O1\n") + SquareBlock +
                  "}\nSEARCH Z 3\nCONNECT Hold1 <- SEA\nCOLLAPSEHEAD 2\nEND\n"),
              "");
    TGeoOpening* O = Opening("O1");
    const std::unique_ptr<TGeometry> Copy = O->Clone();
    auto* C = dynamic_cast<TGeoOpening*>(Copy.get());
    ASSERT_NE(C, nullptr);
    EXPECT_EQ(C->Connection().Text(), "Hold1 <- SEA");
    EXPECT_DOUBLE_EQ(C->Connection().HeadOfWater, 2);
    EXPECT_EQ(C->Sections().Count(), 3);
    O->Transform(MatrixTranslation(1, 0, 0));
    EXPECT_DOUBLE_EQ(O->Sections().Extents().Min.X, 3);
    EXPECT_DOUBLE_EQ(O->GetExtents().Max.X, 3);
    EXPECT_DOUBLE_EQ(C->Sections().Extents().Min.X, 2);
}

TEST_F(OpeningMacroTest, SelectedAloneItShowsTheGroupsItJoins) {
    AddBoxHull();
    ASSERT_EQ(Run(std::string("OPENGROUP Hold1\nHull\nEND\nOPENGROUP Hold2\nHull\nEND\nBOUNDARYOPENING O1\n") +
                  SquareBlock + "}\nSEARCH Z 3\nCONNECT Hold1 <-> Hold2\nEND\n"),
              "");
    TGeoOpening* O = Opening("O1");
    auto Colours = [&] {
        TFakeView View;
        O->Draw(View);
        std::vector<TColor> C;
        for (const TFakeDraw& D : View.Drawn)
            if (D.Name == "SetLineColor") C.push_back(D.Color);
        return C;
    };
    Doc.SelectOnly(O);
    // The members of end A in red, those of end B in blue.
    EXPECT_EQ(Colours(), (std::vector<TColor>{255, 16711680}));
    Doc.FindByName("Hold2")->SetSelected(true);
    EXPECT_TRUE(Colours().empty());
}

TEST_F(OpeningMacroTest, MenusAndConversion) {
    ASSERT_EQ(Run(std::string("BOUNDARYOPENING O1\n") + SquareBlock + "}\nSEARCH Z 3\nEND\n"), "");
    TGeoOpening* O = Opening("O1");
    O->SetSelected(true);
    TMenuItem Menu;
    TGeoOpening::AddSelectionMenuItems(Menu, Doc);
    ASSERT_NE(Menu.Find("Show Openings Normals"), nullptr);
    Menu.Find("Show Openings Normals")->Click();
    EXPECT_TRUE(O->GetShowNormal());
    TMenuItem* Root = O->PopupMenu();
    ASSERT_NE(Root, nullptr);
    O->UpdateMenuItems(*Root);
    EXPECT_TRUE(Root->Find("Show Normal")->Checked);
    const double Before = O->Normal().X;
    Root->Find("Flip Normal")->Click();
    EXPECT_NEAR(O->Normal().X, -Before, 1e-12);
    Root->Find("Convert to PolyLine List")->Click();
    EXPECT_TRUE(EntitiesOf<TGeoOpening>(Doc).empty());
    auto Lists = EntitiesOf<TGeoPList>(Doc);
    ASSERT_EQ(Lists.size(), 1u);
    EXPECT_EQ(Lists[0]->Polylines().Count(), 3);
}

TEST_F(OpeningMacroTest, ConnectionEditsAreChangesThatUndo) {
    AddBoxHull();
    ASSERT_EQ(Run(std::string("OPENGROUP Hold1\nHull\nEND\nBOUNDARYOPENING O1\n") + SquareBlock +
                  "}\nSEARCH Z 3\nCONNECT SEA -> SEA\nEND\n"),
              "");
    TGeoOpening* O = Opening("O1");
    Doc.SetChanged();
    Doc.GetUndoManager().Clear();
    O->SetEndA("Hold1");
    EXPECT_EQ(O->Connection().GetEndA(), "Hold1");
    EXPECT_TRUE(Doc.IsChanged());
    Doc.Undo();
    EXPECT_EQ(Opening("O1")->Connection().GetEndA(), "SEA");
    // Choosing the sea lets go of a group chosen before.
    Opening("O1")->SetEndA("Hold1");
    Opening("O1")->SetEndA("Sea");
    EXPECT_EQ(Opening("O1")->Connection().GroupA(), nullptr);
    EXPECT_EQ(Opening("O1")->Connection().GetEndA(), "Sea");
}

// ---- Openings on the hull ----

TEST_F(OpeningMacroTest, RectangleOpeningStationsAndProfiles) {
    // The half hull, and a whole hull of both sides: the opening is in the starboard shell of both.
    for (bool Whole : {false, true}) {
        SCOPED_TRACE(Whole ? "whole hull" : "half hull");
        Doc.Clear();
        AddBoxHull(Whole);
        ASSERT_EQ(Run("RECTANGLEOPENING R1\nHULL Hull\nLOCATION 50\nLENGTH 10\nBOTTOM 2\nTOP 8\nEND\n"), "");
        TGeoOpening* R = Opening("R1");
        ASSERT_NE(R, nullptr);
        const double Stations[] = {45, 46.667, 48.333, 50, 51.667, 53.333, 55};
        ASSERT_EQ(R->Sections().Count(), 7);
        for (int I = 0; I < 7; ++I) {
            const TPolyline& S = *R->Sections().Items(I);
            EXPECT_NEAR(S.First()->X, Stations[I], 2e-3) << I;
            EXPECT_NEAR(S.First()->Z, 2.001, 1e-9) << I;
            EXPECT_NEAR(S.Last()->Z, 7.999, 1e-9) << I;
            EXPECT_NEAR(S.First()->Y, 10, 1e-9) << I;
            EXPECT_NEAR(S.Extents().Min.Y, 10, 1e-9) << I;
        }
    }

    // A hull far from the origin: its own extents bound the location, not a box that starts at zero.
    auto Far = std::make_unique<TGeoPGonlist>();
    Far->Facets().Assign(*BoxMesh(200, 300, 0, 10, 0, 10, false, true)->TriangulatedCopy());
    Far->SetName("Far");
    Doc.Add(std::move(Far));
    const std::pair<const char*, const char*> Cases[] = {
        {"RECTANGLEOPENING B\nHULL Far\nLOCATION 100\nLENGTH 10\nEND\n",
         "Error: test.cmd(2): Opening location is outside the longitudinal extents of the hull"},
        {"RECTANGLEOPENING B\nHULL Hull\nLOCATION 120\nLENGTH 10\nEND\n",
         "Error: test.cmd(2): Opening location is outside the longitudinal extents of the hull"},
        {"RECTANGLEOPENING B\nHULL Hull\nLOCATION 50\nLENGTH 81\nEND\n",
         "Error: test.cmd(2): Opening Length is greater then 80% of the length of the hull"},
        {"SOLASOPENING B\nHULL Hull\nLOCATION 50\nLENGTH 10\nPENETRATION 2\nEND\n",
         "Error: test.cmd(2): Draught is undefined or to close to minimum Z extent of Hull"},
        {"SOLASOPENING B\nHULL Hull\nLOCATION 50\nLENGTH 10\nDRAUGHT 4\nTOP NOLINE\nEND\n",
         "Error: test.cmd(6): Polyline Boundary NOLINE not found"},
        {"SOLASOPENING B\nHULL Hull\nLOCATION 95\nLENGTH 20\nDRAUGHT 4\nPENETRATION 2\nEND\n",
         "Error: test.cmd(2): GOpening:CreateSolasOpening - The waterline does not reach x = 105.000"},
        {"RECTANGLEOPENING B\nHULL Hull\nLOCATION 50\nLENGTH 10\nBOTTOM {\n40 0 2\n60 0 2\n40 0 6\n60 0 6\n}\nEND\n",
         "Error: test.cmd(2): GOpening:CutToBoundary - Multiple intersections"},
    };
    for (auto [Text, Message] : Cases) {
        EXPECT_EQ(Run(Text), Message) << Text;
        EXPECT_EQ(Doc.FindByName("B"), nullptr) << Text;
    }
}

TEST(OpeningProfiles, ProfileLinesReachAlongTheShip) {
    RegisterGeometryClasses();
    TGeometryInterface Doc;
    auto Hull = std::make_unique<TGeoPGonlist>();
    Hull->Facets().Assign(*BoxMesh(0, 100, 0, 10, 0, 10, false, true)->TriangulatedCopy());
    Hull->SetName("Hull");
    Doc.Add(std::move(Hull));
    // With bottom profiles of one level the first section starts at that level plus the offset.
    const std::pair<const char*, double> Cases[] = {
        {"BOTTOM 2", 2.001},
        {"BOTTOM {\n10 0 3\n90 0 3\n}", 3.001},
        {"BOTTOM BEGIN\n10 0\n90 0\n}", 0.001},
        {"BOTTOM 1 + 2", 1.001},
        {"BOTTOM 2*1.5", 3.001},
    };
    for (auto [Line, Z] : Cases) {
        RunMacroText(Doc, std::string("RECTANGLEOPENING P\nHULL HULL\nLOCATION 50\nLENGTH 10\nSECTIONS 3\n") + Line + "\nEND\n");
        auto* O = dynamic_cast<TGeoOpening*>(Doc.FindByName("P"));
        ASSERT_NE(O, nullptr) << Line;
        for (int I = 0; I < O->Sections().Count(); ++I) {
            const TPolyline& S = *O->Sections().Items(I);
            // The lowest point of the cut section is at the profile.
            EXPECT_NEAR(std::min(S.First()->Z, S.Last()->Z), Z, 1e-9) << Line;
        }
        Doc.DeleteGeometry(O);
    }
}

TEST_F(OpeningMacroTest, SolasOpeningOnABox) {
    // The half hull, and a whole hull of both sides: the same damage in the starboard shell.
    for (bool Whole : {false, true}) {
        SCOPED_TRACE(Whole ? "whole hull" : "half hull");
        Doc.Clear();
        Console.clear();
        AddBoxHull(Whole);
        ASSERT_EQ(Run("SOLASOPENING S1\nHULL Hull\nDRAUGHT 4\nLOCATION 50\nLENGTH 10\nSECTIONS 5\nPENETRATION B5\n"
                      "CONNECT Hull <-> SEA\nEND\n"),
                  "");
        // B5 of the whole breadth on the waterline, on either hull.
        EXPECT_NE(std::find(Console.begin(), Console.end(), " Penetration: 4.000"), Console.end());
        EXPECT_NE(std::find(Console.begin(), Console.end(), " Location:    50.000"), Console.end());
        TGeoOpening* S = Opening("S1");
        ASSERT_NE(S, nullptr);
        ASSERT_EQ(S->Sections().Count(), 5);
        double Top = 0;
        for (int I = 0; I < 5; ++I) {
            const TPolyline& P = *S->Sections().Items(I);
            const double Up = std::max(P.First()->Z, P.Last()->Z);
            if (I == 0) Top = Up;
            // Without a top profile every section ends at the top of the wedge.
            EXPECT_DOUBLE_EQ(Up, Top) << I;
            // Nothing lies inboard of the penetration line.
            EXPECT_GE(P.Extents().Min.Y, 6 - 0.001 - 1e-9) << I;
            EXPECT_LT(P.Extents().Min.Z, 4) << I;
        }
        EXPECT_DOUBLE_EQ(Top, 10);
    }

    EXPECT_EQ(Run("SOLASOPENING B\nHULL Hull\nDRAUGHT 4\nLOCATION 50\nLENGTH 10\nPENETRATION X\nEND\n"),
              "Error: test.cmd(2): Unable to convert string to number (X)");
}

}  // namespace
}  // namespace sarnova::test
