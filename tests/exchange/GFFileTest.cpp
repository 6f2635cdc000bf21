#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "document/Settings.h"
#include "exchange/GFFile.h"
#include "exchange/IoGF.h"
#include "foundation/Geom.h"
#include "foundation/Polyline.h"
#include "naval/GPList.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

struct TGFFileTest : TExchangeTest {
    void TearDown() override { GDesignUnits = 0; }
};

std::unique_ptr<TPolylineList> Sections(double YSign) {
    auto L = std::make_unique<TPolylineList>();
    for (int K = 0; K < 3; ++K) {
        auto P = std::make_unique<TPolyline>();
        for (int I = 0; I < 4; ++I) P->AddPoint(2.0 * K, YSign * (0.5 + 0.25 * I), 0.75 * I);
        L->Add(std::move(P));
    }
    return L;
}

}  // namespace

TEST_F(TGFFileTest, NameRules) {
    const struct {
        const char* Name;
        int Side;
        bool Component;
        const char* Result;
    } Cases[] = {
        {"tank1.s", -1, true, "tank1.P"},
        {"Hull", 1, true, "Hull"},
        {"Hull", 1, false, "Hull.S"},
        {"HULL", 0, false, "HULL"},
        {"ABCDEFGHIJKLMNOP", 1, true, "ABCDEFGHIJKL.S"},
        {"ENGINE ROOM", 0, false, "ENGINE ROOM.C"},
        {"ABCDEFGHIJK.XYZW", 0, true, "ABCDEFGHIJK.C"},
        // Cut in bytes, never inside a UTF-8 character.
        {"\u00c5\u00c5\u00c5\u00c5\u00c5\u00c5\u00c5\u00c5", 0, true, "\u00c5\u00c5\u00c5\u00c5\u00c5\u00c5.C"},
        {"ABCDEFGHIJK\u00c5", 1, true, "ABCDEFGHIJK.S"},
        {"ABCDEFGHIJKLM\u00c5.Z", 1, true, "ABCDEFGHIJKL.S"},
    };
    for (const auto& C : Cases) EXPECT_EQ(GFName(C.Name, C.Side, C.Component), C.Result) << C.Name;
}

TEST_F(TGFFileTest, PortSectionsAreMirroredAndComeBackInDocumentUnits) {
    for (const int Units : {0, 1}) {
        TGFFile F;
        F.Units = Units;
        TGFPart& P = F.AddPart();
        P.SetName("ENGINE ROOM");
        P.AddComponent(*Sections(-1)).SetName("FUEL");
        P.AddComponent(*Sections(1)).SetName("hull");
        const std::string Path = TempFile("a.gf").string();
        F.SaveToFile(Path);
        const std::string Text = ReadText(Path);
        const std::string UnitsLine = Units ? "P:F\n" : "P:M\n";
        EXPECT_EQ(Text.find(UnitsLine), Text.rfind(UnitsLine) - 4) << "the units line twice";
        // Written at positive y, in the file's unit.
        EXPECT_NE(Text.find(Units ? "\n1.640,0.000\n" : "\n0.500,0.000\n"), std::string::npos);

        TGeometryInterface D;
        ImportGF(Path, D);
        ASSERT_EQ(D.Count(), 2);
        auto& Fuel = dynamic_cast<TGeoPList&>(D.Items(0));
        EXPECT_EQ(Fuel.GetName(), "ENGINE ROOM.C\\FUEL.P");
        EXPECT_EQ(D.Items(1).GetName(), "ENGINE ROOM.C\\hull");
        ASSERT_EQ(Fuel.Polylines().Count(), 3);
        // The file's x runs aft: read back with x forward, the section at file x 4 comes first.
        const TRPoint& Q = *Fuel.Polylines().Items(0)->Point(1);
        EXPECT_NEAR(Q.X, -4, Units ? 2e-4 : 1e-12);
        EXPECT_NEAR(Q.Y, -0.75, Units ? 2e-4 : 1e-12);
        EXPECT_NEAR(Q.Z, 0.75, Units ? 2e-4 : 1e-12);
    }
}

TEST_F(TGFFileTest, BadFilesNameTheLineAndAddNothing) {
    const std::string Head = "T\nR\nP:M\n*\nS1\n1\n0,2\n1,1\n";
    const struct {
        std::string Text;
        std::string Error;
    } Cases[] = {
        {Head, "(8): unexpected end of file"},
        {Head + "2,2\n0.0,0.0,0.0\n**\nC\n1\n1\n0,0,0\nS9\n", "(16): TGFFile.ReadComponent - Representation S9 not found"},
        {Head + "2,x\n", "(9): Unable to convert string to number (x)"},
        {"T\nR\n*\nS\n99999\n0,1\n", "(5): the file cannot hold 99999 items"},
        {Head + "2,2\n***\nP\nW\n0\n1\n0,0,0\n1\nNONE\n", "(17): TGFFile.ReadPart - Component NONE not found"},
    };
    for (const auto& C : Cases) {
        const std::string Path = WriteTemp("bad.gf", C.Text);
        EXPECT_EQ(ErrorOf([&] { ImportGF(Path, Doc); }), Path + C.Error) << C.Text;
        EXPECT_EQ(Doc.Count(), 0);
    }
}

TEST_F(TGFFileTest, ExportMakesPartsAndComponentsInTheFileUnits) {
    TGFExportOptions Seen;
    GFExportDialog() = [&](TGFExportOptions& O) {
        Seen = O;
        O.FileUnits = 1;
        O.SternToBowPositiveX = true;
        O.IncludeLength = true;
        O.Length = 13.5;
        return true;
    };
    const auto List = [](const char* Name, double Permeability, double YSign) {
        auto L = std::make_unique<TGeoPList>();
        L->Polylines().TakeFrom(*Sections(YSign));
        L->SetName(Name);
        L->SetPermeability(Permeability);
        return L;
    };
    Doc.Add(List("ENGINE ROOM\\FUEL", 0.9, 1));
    Doc.Add(List("WING", -1, -1));
    const std::string Path = TempFile("export.gf").string();
    ExportGF(Path, Doc);
    EXPECT_EQ(Seen.Title, Path);
    EXPECT_EQ(Seen.ModelLength, 4);
    EXPECT_EQ(Seen.ModelBeam, 0.75);
    const std::string Text = ReadText(Path);
    EXPECT_NE(Text.find("\nL:13.500\n"), std::string::npos);
    // Metres written in feet: y = 0.5 m is 1.640 ft.
    EXPECT_NE(Text.find("\n1.640,0.000\n"), std::string::npos);
    EXPECT_NE(Text.find("***\nENGINE ROOM.C\\\nSEA WATER\n0\n1.025\n0.000,0.000,0.000\n2\nFUEL.S\nWING.P\n"),
              std::string::npos)
        << Text;

    TGeometryInterface Back;
    ImportGF(Path, Back);
    ASSERT_EQ(Back.Count(), 2);
    EXPECT_EQ(Back.Items(1).GetName(), "ENGINE ROOM.C\\WING.P");
    auto& Wing = dynamic_cast<TGeoPList&>(Back.Items(1));
    EXPECT_EQ(Wing.GetPermeability(), -1);
    const TRPoint& Q = *Wing.Polylines().Items(1)->Point(3);
    EXPECT_NEAR(Q.X, 2, 2e-4);
    EXPECT_NEAR(Q.Y, -1.25, 2e-4);
    EXPECT_NEAR(Q.Z, 2.25, 2e-4);
    GFExportDialog() = nullptr;
}
