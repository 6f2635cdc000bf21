#include <gtest/gtest.h>

#include "../DialogsScope.h"
#include "ExchangeFixtures.h"
#include "document/GPline.h"
#include "exchange/IoSus.h"
#include "exchange/SusFile.h"
#include "foundation/Errors.h"
#include "naval/GPList.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

using TIoSus = TExchangeTest;

// A polyline list with one section of Points points at each station.
TGeoPList* AddList(TGeometryList& Doc, const std::string& Name, std::initializer_list<double> Stations,
                   int Points = 3, bool Mirrored = false, double Permeability = 1.0) {
    auto List = std::make_unique<TGeoPList>();
    for (double X : Stations) {
        auto Section = std::make_unique<TPolyline>();
        for (int I = 0; I < Points; ++I) Section->AddPoint(X, 0.5 * I, 0.25 * I * I);
        List->Polylines().Add(std::move(Section));
    }
    List->SetName(Name);
    List->SetMirrored(Mirrored);
    List->SetPermeability(Permeability);
    return static_cast<TGeoPList*>(Doc.Add(std::move(List)));
}

TEST_F(TIoSus, HullOnlyExportWritesNoCompartments) {
    AddList(Doc, "Hull", {0, 10, 20}, 3, true);
    const auto Path = TempFile("hull-only.sus");
    ExportSus(Path.string(), Doc);
    const std::string Text = ReadText(Path.string());
    EXPECT_NE(Text.find("\nA\n0\nB\n         0\n"), std::string::npos) << Text;
}

TEST_F(TIoSus, ExportImportExportGivesTheSameBytes) {
    auto Margin = std::make_unique<TGeoPline>();
    Margin->Polyline().AddPoint(0, 2, 3);
    Margin->Polyline().AddPoint(20, 2.5, 3.5);
    Margin->SetName("MarginLine");
    Doc.Add(std::move(Margin));
    AddList(Doc, "Hull", {0, 10, 20}, 4, true);
    AddList(Doc, "Hold 1", {2, 6}, 3, false, 0.95);
    AddList(Doc, "Tank", {12, 16}, 3, true, 0.6);
    const auto First = TempFile("first.sus"), Second = TempFile("second.sus");
    ExportSus(First.string(), Doc);

    TGeometryInterface Other;
    ImportSus(First.string(), Other);
    ASSERT_EQ(Other.Count(), 4);
    EXPECT_EQ(Other.Items(0).GetName(), "Margin Line");
    auto& Hull = dynamic_cast<TGeoPList&>(Other.Items(1));
    EXPECT_EQ(Hull.GetPermeability(), 1.0);
    EXPECT_TRUE(Hull.Mirrored());
    auto& Hold = dynamic_cast<TGeoPList&>(Other.Items(2));
    EXPECT_EQ(Hold.GetName(), "Hold 1");
    EXPECT_DOUBLE_EQ(Hold.GetPermeability(), 0.95);
    EXPECT_FALSE(Hold.Mirrored());
    ExportSus(Second.string(), Other);
    EXPECT_EQ(ReadText(Second.string()), ReadText(First.string()));
}

TEST_F(TIoSus, OnlyCompartmentSectionsAreReducedToTwentyPoints) {
    // Another entity stands first in the document; the first polyline list is still the hull.
    auto Line = std::make_unique<TGeoPline>();
    Line->Polyline().AddPoint(0, 0, 0);
    Doc.Add(std::move(Line));
    AddList(Doc, "Hull", {0, 10}, 35);
    AddList(Doc, "Room", {2, 8}, 35);
    const auto Path = TempFile("reduced.sus");
    ExportSus(Path.string(), Doc);
    TSusFile File;
    File.LoadFromFile(Path);
    ASSERT_EQ(File.Count(), 2);
    EXPECT_EQ(File.Items(0)->Sections.Items(0)->Count(), 35);
    EXPECT_EQ(File.Items(1)->Sections.Items(0)->Count(), 20);
}

TEST_F(TIoSus, CloseSectionsAskAndNoWritesNothing) {
    AddList(Doc, "Hull", {0, 100});
    AddList(Doc, "Room", {10, 10.01, 20, 20.01});  // two close pairs in 10 m: tolerance 0.025
    TDialogsScope Scope;
    Scope.Dialogs.Answer(TModalResult::mrNo);
    const auto Path = TempFile("close.sus");
    std::filesystem::remove(Path);
    ExportSus(Path.string(), Doc);
    EXPECT_FALSE(std::filesystem::exists(Path));
    ASSERT_EQ(Scope.Dialogs.Shown.size(), 1u) << "the first No ends the check";
    EXPECT_EQ(Scope.Dialogs.Shown[0].Text,
              "Sections 0 and 1 are too close together, Continue?\r\n"
              "(Section spacing should be greater that 0.25% of the length of the hull)");

    Scope.Dialogs.Answer(TModalResult::mrYes);
    Scope.Dialogs.Answer(TModalResult::mrYes);
    ExportSus(Path.string(), Doc);
    EXPECT_TRUE(std::filesystem::exists(Path));
}

TEST_F(TIoSus, PropertiesWindowClosedWithoutCloseWritesNothing) {
    AddList(Doc, "Hull", {0, 10});
    const auto Saved = GShowSusProperties;
    GShowSusProperties = [](TSusFile&) { return false; };
    const auto Path = TempFile("cancelled.sus");
    std::filesystem::remove(Path);
    ExportSus(Path.string(), Doc);
    GShowSusProperties = Saved;
    EXPECT_FALSE(std::filesystem::exists(Path));
}

TEST_F(TIoSus, AFailedImportAddsNothingAndSaysWhere) {
    AddList(Doc, "Existing", {0, 1});
    const std::string Path = WriteTemp("cut.sus", "T\n100 20 10 1\n1\n3 1 1\n0 0\n");
    const auto Lines = ConsoleLinesOf([&] { EXPECT_THROW(ImportSus(Path, Doc), EError); });
    EXPECT_EQ(Doc.Count(), 1);
    ASSERT_FALSE(Lines.empty());
    EXPECT_NE(Lines.back().find("Line: 4"), std::string::npos) << Lines.back();
}

TEST_F(TIoSus, MarginLineIsFoundByEitherNameWhenItIsAPolyline) {
    EXPECT_EQ(FindMarginLine(Doc), nullptr);
    AddList(Doc, "Margin Line", {0});
    EXPECT_EQ(FindMarginLine(Doc), nullptr) << "a polyline list is no margin line";
    auto Line = std::make_unique<TGeoPline>();
    Line->SetName("marginline");
    TGeometry* Added = Doc.Add(std::move(Line));
    EXPECT_EQ(FindMarginLine(Doc), Added);
}

}  // namespace
