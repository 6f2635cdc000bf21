#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "exchange/IoProteus.h"
#include "exchange/ProteusFile.h"
#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "naval/GGroup.h"
#include "naval/GOpening.h"
#include "naval/GPList.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

using TIoProteus = TExchangeTest;

// A closed square section at X, drawn counter-clockwise in (y, z) unless Clockwise.
std::unique_ptr<TPolyline> Square(double X, bool Clockwise) {
    auto S = std::make_unique<TPolyline>();
    const double Y[] = {0, 2, 2, 0, 0}, Z[] = {0, 0, 1, 1, 0};
    for (int I = 0; I < 5; ++I) {
        const int K = Clockwise ? 4 - I : I;
        S->AddPoint(X, Y[K], Z[K]);
    }
    return S;
}

TGeometry* AddCompartment(TGeometryList& Doc, const std::string& Name, double Permeability, bool Clockwise) {
    auto List = std::make_unique<TGeoPList>();
    List->Polylines().Add(Square(1, Clockwise));
    List->Polylines().Add(Square(2, false));
    List->SetName(Name);
    List->SetPermeability(Permeability);
    return Doc.Add(std::move(List));
}

void AddGroup(TGeometryList& Doc, const std::string& Name, std::initializer_list<TGeometry*> Members) {
    auto Group = std::make_unique<TGeoOpenGroup>();
    Group->SetName(Name);
    Group->SetOwnerList(&Doc);
    for (TGeometry* M : Members) Group->AddMember(M);
    Group->Parameters.push_back("InitialWater=2.5");
    Doc.Add(std::move(Group));
}

TEST_F(TIoProteus, ExportWritesBothFilesAndImportRebuildsTheModel) {
    AddCompartment(Doc, "Hull", 1.0, false);
    TGeometry* Hold = AddCompartment(Doc, "Hold A", 0.95, true);
    TGeometry* Tank = AddCompartment(Doc, "Tank", 0.6, false);
    AddGroup(Doc, "Hold 1 Fwd", {Hold});
    AddGroup(Doc, "GROUP2", {Tank});
    auto Door = std::make_unique<TGeoOpening>();
    Door->SetName("Door");
    Door->SetOwnerList(&Doc);
    Door->Sections().Add(Square(3, true));
    Door->Connection().SetEndA("GROUP2");
    Door->Connection().SetEndB("SEA");
    Door->Connection().Direction = 0;
    Door->Connection().HeadOfWater = 1.5;
    Doc.Add(std::move(Door));

    const auto Base = TempFile("ship.dam");
    std::filesystem::remove(TempFile("ship.sus"));
    ExportProteusDam(Base.string(), Doc);
    const std::string Text = ReadText(Base.string());
    EXPECT_NE(Text.find("GROUP    1    1      2.500 Hold 1 Fwd (1)\nGROUP    2    2      2.500 GROUP2 (2)\n"),
              std::string::npos)
        << Text;
    EXPECT_NE(Text.find("OPENING    3    0    2      1.500 1 0              // Sea -> GROUP2 (Door)\n"),
              std::string::npos)
        << Text;
    // The clockwise section of Hold A is written reversed, its numbers counting down; the opening is not.
    EXPECT_NE(Text.find("#IOPROTEUSNAME Hold A\nDAM 1    -0.9500\n#1\n4         1.000      0.000      0.000\n"
                        "3         1.000      2.000      0.000\n"),
              std::string::npos)
        << Text;
    EXPECT_NE(Text.find("#IOPROTEUSNAME Door\nDAM\n#1\n0         3.000      0.000      0.000\n1         3.000      0.000"),
              std::string::npos)
        << Text;
    EXPECT_TRUE(std::filesystem::exists(TempFile("ship.sus")));

    TGeometryInterface Other;
    const auto Console = ConsoleLinesOf([&] { ImportProteusDam(Base.string(), Other); });
    EXPECT_EQ(Console.front(), "SUS File Found (" + TempFile("ship.sus").string() + "), Loading Hull...");
    // Hull, two compartments, two groups, one opening.
    ASSERT_EQ(Other.Count(), 6);
    auto& ReadHold = dynamic_cast<TGeoPList&>(Other.Items(1));
    EXPECT_EQ(ReadHold.GetName(), "Hold A");
    EXPECT_DOUBLE_EQ(ReadHold.GetPermeability(), 0.95);
    auto& Fwd = dynamic_cast<TGeoOpenGroup&>(Other.Items(3));
    EXPECT_EQ(Fwd.GetName(), "Hold 1 Fwd");
    ASSERT_EQ(Fwd.GetMemberCount(), 1);
    EXPECT_EQ(Fwd.GetMember(0), &ReadHold);
    EXPECT_EQ(Fwd.ParameterValue("InitialWater"), "2.5");
    EXPECT_EQ(Other.Items(4).GetName(), "GROUP2");
    auto& ReadDoor = dynamic_cast<TGeoOpening&>(Other.Items(5));
    EXPECT_EQ(ReadDoor.Connection().GetEndA(), "GROUP2");
    EXPECT_EQ(UpperCase(ReadDoor.Connection().GetEndB()), "SEA");
    EXPECT_EQ(ReadDoor.Connection().Direction, 0);
}

TEST_F(TIoProteus, ReaderKeepsCommentsOutOfTheKeywordsAndWords) {
    const std::string Path = WriteTemp("read.dam", JoinLines({
        "Title",
        "GROUP 1 1 0.000 OPENING Deck (1)",
        "OPENING 2 0 1 0.500 1 1 // GROUP2 <-> Sea (Vent)",
        "#IOPROTEUSNAME Store",
        "DAM 2 -0.5000 # a comment",
        "1 1 0 0",
        "2 1 1 0",
        "#2",
        "1 2 0 0",
        "",
        "",
        "#IOPROTEUSNAME Vent",
        "DAM",
        "0 5 0 0",
        "END",
    }));
    TProteusGFile F;
    F.LoadFromFile(Path);
    ASSERT_EQ(F.Dams.size(), 2u);
    EXPECT_FALSE(F.Dams[0]->IsOpening);
    EXPECT_TRUE(F.Dams[0]->Mirrored);
    EXPECT_EQ(F.Dams[0]->DamValue, -0.5);
    EXPECT_EQ(F.Dams[0]->Name, "Store");
    EXPECT_EQ(F.Dams[0]->Count(), 2);
    EXPECT_EQ(F.Dams[0]->Items(0)->Count(), 2);
    EXPECT_TRUE(F.Dams[1]->IsOpening);
    ASSERT_EQ(F.Groups.size(), 1u);
    EXPECT_EQ(F.Groups[0].Name, "OPENING Deck");
    ASSERT_EQ(F.Openings.size(), 1u);
    EXPECT_EQ(F.Openings[0].Direction, 2);
    EXPECT_EQ(F.Openings[0].OpeningTime, 0.0);
    EXPECT_NE(F.SaveToText().find("OPENING    2    0    1      0.500 1 1              // Sea <-> OPENING Deck (Vent)\n"),
              std::string::npos);
}

TEST_F(TIoProteus, KeywordsInAnyCaseAndTabsBetweenWords) {
    const std::string Path =
        WriteTemp("tabs.dam", "T\ngroup\t1 1\t2.5 Fore\tPeak\nDam\t1 -0.9\n\t0\t1 2\t3\n1 1 2 3\nend\n1 9 9 9\n");
    TProteusGFile F;
    F.LoadFromFile(Path);
    ASSERT_EQ(F.Dams.size(), 1u);
    EXPECT_EQ(F.Dams[0]->DamValue, -0.9);
    ASSERT_EQ(F.Dams[0]->Count(), 1);
    EXPECT_EQ(F.Dams[0]->Items(0)->Count(), 2);
    EXPECT_EQ(F.Dams[0]->Items(0)->Point(0)->Z, 3);
    ASSERT_EQ(F.Groups.size(), 1u);
    EXPECT_EQ(F.Groups[0].Name, "Fore Peak");
    EXPECT_EQ(F.Groups[0].InitialWater, 2.5);
}

TEST_F(TIoProteus, BadFilesNameTheLineAndAddNothing) {
    const std::pair<const char*, const char*> Cases[] = {
        {"T\nGROUP 1 3 0 Hold\nDAM 1 -1\n0 1 0 0\nEND\n", ": DAM 3 does not exist\r\nLine: 2\r\nFile Line: GROUP 1 3 0 Hold"},
        {"T\nOPENING 4 0 1 0 1 0\n", ": DAM 4 does not exist\r\nLine: 2"},
        {"T\nDAM 1 -1\n0 1 0\n", "Invalid Data: Expected at least 4 Numbers\r\nLine: 3\r\nFile Line: 0 1 0"},
        {"T\nGROUP 1 x 0 Hold\n", "Invalid Data: Unable to convert string to Integer (x)\r\nLine: 2"},
    };
    AddCompartment(Doc, "Existing", 1.0, false);
    std::filesystem::remove(TempFile("bad.sus"));
    for (auto [Text, Message] : Cases) {
        const std::string Path = WriteTemp("bad.dam", Text);
        const std::string Error = ErrorOf([&] { ImportProteusDam(Path, Doc); });
        EXPECT_NE(Error.find(Message), std::string::npos) << Error;
        EXPECT_EQ(Doc.Count(), 1) << Text;
    }
}

TEST_F(TIoProteus, AnOpeningOfAnUnexportedGroupWritesNeitherFile) {
    AddCompartment(Doc, "Hull", 1.0, false);
    auto Door = std::make_unique<TGeoOpening>();
    Door->SetName("Door");
    Door->SetOwnerList(&Doc);
    Door->Sections().Add(Square(3, false));
    Door->Connection().SetEndA("Nowhere");
    Door->Connection().SetEndB("SEA");
    Doc.Add(std::move(Door));
    const auto Base = TempFile("lost.dam");
    std::filesystem::remove(Base);
    std::filesystem::remove(TempFile("lost.sus"));
    EXPECT_EQ(ErrorOf([&] { ExportProteusDam(Base.string(), Doc); }), "Proteus Group Nowhere not found");
    EXPECT_FALSE(std::filesystem::exists(Base));
    EXPECT_FALSE(std::filesystem::exists(TempFile("lost.sus")));
}

}  // namespace
