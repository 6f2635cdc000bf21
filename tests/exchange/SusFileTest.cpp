#include "exchange/SusFile.h"

#include <gtest/gtest.h>

#include "ExchangeFixtures.h"

namespace sarnova {
namespace {

using test::ErrorOf;
using test::JoinLines;
using test::ReadText;
using test::TempFile;
using test::WriteTemp;

// Title, dimensions and a hull of one two-point section.
const char* const HullLines[] = {"Test ship", "100 20 10 1", "1 0.5 Hull", "2 10 1", "0 0", "5 10"};

std::string Fixture(std::initializer_list<const char*> Tail) {
    std::string Text;
    for (const char* L : HullLines) (Text += L) += "\n";
    return Text + JoinLines(Tail);
}

TEST(SusFile, ReadsHullCompartmentsAndShipInformation) {
    TSusFile F;
    F.LoadFromFile(WriteTemp("ships.sus", Fixture({"A", "0", "B", "3 1 3 0 0",
                                                   "1 0.95 7 Hold   No 1", "1 20 2", "1 1", "1 0.5 0", "1 30 1",
                                                   "2 2", "1 0.6 0 Tank", "1 40 1.7", "3 3", "C", "0"})));
    EXPECT_EQ(F.Title, "Test ship");
    EXPECT_EQ(F.Length, 100.0);
    ASSERT_EQ(F.Count(), 4);
    // The hull is named and mirrored whatever its header says, and carries no permeability.
    EXPECT_EQ(F.Hull()->Name, "Hull");
    EXPECT_TRUE(F.Hull()->Mirrored);
    EXPECT_EQ(F.Hull()->Permeability, 0.0);
    EXPECT_EQ(F.Hull()->Sections.Items(0)->Point(1)->X, 10.0);
    EXPECT_EQ(F.Items(1)->Name, "Hold No 1");
    EXPECT_DOUBLE_EQ(F.Items(1)->Permeability, 0.95);
    EXPECT_FALSE(F.Items(1)->Mirrored);
    EXPECT_TRUE(F.Items(2)->Mirrored);
    EXPECT_TRUE(F.Items(3)->Mirrored) << "a real symmetry code is truncated";
    EXPECT_EQ(F.Flags, susHydrostatics | susShipInfo | susTimeSimulation);
    EXPECT_EQ(F.ShipCount, 1);
    EXPECT_EQ(F.ShipOneCount, 3);
    EXPECT_FALSE(F.MarginLine);
    // The last three records belong to the ship; the hull does not.
    EXPECT_EQ(F.Hull()->ShipFlag(), 0);
    EXPECT_EQ(F.Items(1)->ShipFlag(), 1);
}

TEST(SusFile, ShipInformationOfOneNumberOnlyCountsRecords) {
    TSusFile F;
    F.LoadFromFile(WriteTemp("count.sus", Fixture({"B", "3", "0 1 0", "0 1 0", "0 1 0 Last"})));
    EXPECT_EQ(F.Count(), 4);
    EXPECT_EQ(F.Items(3)->Name, "Last");
    EXPECT_EQ(F.Flags & susShipInfo, 0);
    EXPECT_EQ(F.ShipCount, 0);
}

TEST(SusFile, MarginLineAndMirroredExtents) {
    TSusFile F;
    F.LoadFromFile(WriteTemp("margin.sus", Fixture({"A", "2", "0 4 8", "50 5 9"})));
    ASSERT_TRUE(F.MarginLine);
    EXPECT_EQ(F.MarginLine->Count(), 2);
    EXPECT_EQ(F.Flags, susHydrostatics | susMarginLine);
    const TMBox Box = F.Extents();
    EXPECT_EQ(Box.Min.Y, -5.0);
    EXPECT_EQ(Box.Max.Y, 5.0);
}

TEST(SusFile, BadInputNamesTheLineAndLeavesTheModelEmpty) {
    struct Case {
        std::string Text;
        std::string Message;
    };
    const std::string Head = "T\n100 20 10 1\n";
    const Case Cases[] = {
        {"T\n100 20 10\n", "Invalid Data: Expected 4 Numbers\r\nLine: 2\r\nFile Line: 100 20 10"},
        {"T\n1 2 3 4 5\n", "Invalid Data: Expected 4 Numbers\r\nLine: 2\r\nFile Line: 1 2 3 4 5"},
        {Head + "\n", "Invalid Data: Expected 1 Number\r\nLine: 3\r\nFile Line: "},
        {Head + "x\n", "Invalid Data: Unable to convert string to Integer (x)\r\nLine: 3\r\nFile Line: x"},
        {Head + "1\n1 1,5 1\n0 0 0\n", "Invalid Data: Expected 2 Numbers\r\nLine: 5\r\nFile Line: 0 0 0"},
        {Head + "1\n0 abc 1\n", "Invalid Data: Unable to convert string to float (abc)\r\nLine: 4\r\nFile Line: 0 abc 1"},
        {Head + "1\n0 1 z\n", "Invalid Data: Unable to convert string to float (z)\r\nLine: 4\r\nFile Line: 0 1 z"},
        {Head + "0\nB\n\n", "Invalid Data: Expected Ship Information\r\nLine: 5\r\nFile Line: "},
        {Head + "0\nB\n1\n0 1\n", "Invalid Data: Expected at least 3 Numbers\r\nLine: 6\r\nFile Line: 0 1"},
        {Head + "0\nA\n1\n1 2\n", "Invalid Data: Expected 3 Numbers\r\nLine: 6\r\nFile Line: 1 2"},
        // Counts beyond what the file holds are refused before anything is made for them.
        {Head + "2000000000 0\n", "SUSFILE ERROR: Unexpected end of File\r\nLine: 3\r\nFile Line: 2000000000 0"},
        {Head + "0\nB\n3\n0 1 0\n", "SUSFILE ERROR: Unexpected end of File\r\nLine: 5\r\nFile Line: 3"},
        // A file cut inside a section.
        {Head + "1\n3 1 1\n0 0\n1 1\n", "SUSFILE ERROR: Unexpected end of File\r\nLine: 4\r\nFile Line: 3 1 1"},
        {Head + "2\n1 1 1\n0 0\n", "SUSFILE ERROR: Unexpected end of File\r\nLine: 6"},
        {"T\n", "SUSFILE ERROR: Unexpected end of File\r\nLine: 2"},
    };
    for (const Case& C : Cases) {
        TSusFile F;
        const std::string Message = ErrorOf([&] { F.LoadFromFile(WriteTemp("bad.sus", C.Text)); });
        EXPECT_EQ(Message, C.Message) << C.Text;
        EXPECT_EQ(F.Count(), 0) << C.Text;
    }
    TSusFile F;
    EXPECT_EQ(ErrorOf([&] { F.LoadFromFile(TempFile("missing.sus")); }),
              "Sus File: " + TempFile("missing.sus").string() + " not found");
}

TEST(SusFile, WritesColumnsFlagsAndShipInformation) {
    TSusFile F;
    F.Title = "Ship";
    F.Length = 100;
    F.Beam = 20.25;
    F.Depth = 10;
    const auto Path = TempFile("written.sus");
    std::filesystem::remove(Path);
    F.SaveToFile(Path);
    EXPECT_FALSE(std::filesystem::exists(Path)) << "no record, no file";

    auto Hull = std::make_unique<TSus>();
    Hull->Name = "Hull";
    Hull->Mirrored = true;
    auto Section = std::make_unique<TPolyline>();
    Section->AddPoint(12.5, 0, 0);
    Section->AddPoint(12.5, 4.0004, -1.25);
    Hull->Sections.Add(std::move(Section));
    F.Add(std::move(Hull));
    F.SaveToFile(Path);
    EXPECT_EQ(ReadText(Path.string()), JoinLines({"Ship", "   100.000     20.250     10.000      1.000",
                                                  "         1      0.000 0 Hull", "         2     12.500 1",
                                                  "     0.000      0.000", "     4.000     -1.250", "B",
                                                  "         0"}));

    auto Tank = std::make_unique<TSus>();
    Tank->Name = "Tank";
    Tank->Permeability = 0.95;
    F.Add(std::move(Tank));
    F.Flags = susHydrostatics | susShipInfo | susTimeSimulation;
    F.ShipCount = 1;
    F.ShipOneCount = 1;
    const std::string Text = F.SaveToText();
    EXPECT_NE(Text.find("\nA\n0\nB\n1 1 1 0 0\n         0      0.950 1 Tank\nC\n0\nD\n1\n0.0 0.0\nE\n0.0\n1\n0.0 0.0\n"),
              std::string::npos)
        << Text;
}

TEST(SusFile, WhatIsWrittenReadsBackToTheSameBytes) {
    TSusFile F;
    F.LoadFromFile(WriteTemp("round.sus", Fixture({"A", "2", "0 4 8", "50 5 9", "B", "2 2 0 1 0",
                                                   "1 0.95 0 Hold 1", "1 20 2", "1 1", "1 0.5 0 Tank", "1 30 1",
                                                   "2 2", "C"})));
    const std::string First = F.SaveToText();
    F.SaveToFile(TempFile("round2.sus"));
    TSusFile G;
    G.LoadFromFile(TempFile("round2.sus"));
    EXPECT_EQ(G.SaveToText(), First);
    EXPECT_EQ(G.Items(2)->ShipFlag(), 1);
    EXPECT_EQ(G.Items(1)->ShipFlag(), 0);
}

}  // namespace
}  // namespace sarnova
