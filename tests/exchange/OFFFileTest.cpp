#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "document/Settings.h"
#include "exchange/IoOff.h"
#include "exchange/OFFFile.h"
#include "foundation/Geom.h"
#include "naval/GPList.h"
#include "platform/ScriptedUserDialogs.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

struct TOFFFileTest : TExchangeTest {
    void TearDown() override { GDesignUnits = 0; }
};

std::unique_ptr<TPolyline> Section(double X, int Points) {
    auto P = std::make_unique<TPolyline>();
    for (int K = 0; K < Points; ++K) P->AddPoint(X, 0.1 * K + 0.0123, 0.2 * K);
    return P;
}

std::vector<std::string> Lines(const std::string& Text) {
    std::vector<std::string> L;
    std::istringstream In(Text);
    for (std::string S; std::getline(In, S);) L.push_back(S);
    return L;
}

}  // namespace

TEST_F(TOFFFileTest, LimitsRefuseBeforeWriting) {
    const struct {
        int Sections, FirstPoints;
        std::string Error;
    } Cases[] = {
        {77, 47, ""},
        {78, 3, "Number of Sections exceed safe maximum (77)"},
        {2, 48, "Number of Points on Section 0 exceed safe maximum (47)"},
    };
    for (const auto& C : Cases) {
        const std::string Path = TempFile("limits.off").string();
        std::filesystem::remove(Path);
        TOFFFile F;
        for (int K = 0; K < C.Sections; ++K) F.Sections.Add(Section(K, K == 0 ? C.FirstPoints : 3));
        EXPECT_EQ(ErrorOf([&] { F.SaveToFile(Path); }), C.Error);
        EXPECT_EQ(std::filesystem::exists(Path), C.Error.empty());
        if (C.Error.empty()) {
            TGeometryInterface D;
            ImportOff(Path, D);
            EXPECT_EQ(dynamic_cast<TGeoPList&>(D.Items(0)).Polylines().Count(), 77);
        }
    }
}

TEST_F(TOFFFileTest, HeaderAndOffsetsRoundTripInTheDeclaredUnit) {
    for (const bool Metric : {true, false}) {
        TOFFFile F;
        F.DateTime = {7, 8, 9, 10, 11, 2026};
        F.Metric = Metric;
        F.SetYachtName("Sloop");
        F.LOA = 12.5;
        F.Sections.Add(Section(1.25, 3));
        F.Sections.Items(0)->Point(1)->Tag = 4;
        const std::string Path = TempFile("a.off").string();
        F.SaveToFile(Path);
        const auto L = Lines(ReadText(Path));
        EXPECT_EQ(L[0], std::string(" 07:08:09, 10/11/26,    0,   ") + (Metric ? "1" : "0") +
                            ",a.off  ,Sloop                   ,    0 ");
        EXPECT_EQ(L[3], "      1,12.500 ,  0.000, 0.000");
        // Height first, then half-breadth, in millimetres or hundredths of feet.
        EXPECT_EQ(L[6], Metric ? "  200.0000,  112.3000,  4" : "   65.6168,   36.8438,  4");

        TOFFFile Back;
        Back.LoadFromFile(Path);
        EXPECT_EQ(Back.DateTime.Hour, 7);
        EXPECT_EQ(Back.DateTime.Day, 10);
        EXPECT_EQ(Back.DateTime.Year, 2026);
        EXPECT_EQ(Back.YachtName, "Sloop");
        EXPECT_EQ(Back.Metric, Metric);
        const TPolyline& S = *Back.Sections.Items(0);
        ASSERT_EQ(S.Count(), 3);
        EXPECT_NEAR(S.Point(1)->Y, 0.1123, Metric ? 1e-9 : 1e-5);
        EXPECT_NEAR(S.Point(1)->Z, 0.2, Metric ? 1e-9 : 1e-5);
        EXPECT_NEAR(S.GetStation(), 1.25, Metric ? 1e-9 : 1e-5);
        EXPECT_EQ(S.Point(1)->Tag, 4);
    }
}

TEST_F(TOFFFileTest, FeetDocumentsWriteMillimetres) {
    GDesignUnits = 3;  // feet
    TOFFFile F;
    F.Sections.Add(Section(10, 1));
    F.Sections.Items(0)->Point(0)->Z = 1;
    const std::string Path = TempFile("feet.off").string();
    F.SaveToFile(Path);
    EXPECT_EQ(Lines(ReadText(Path))[5], "  304.8000,    3.7490,  0");
}

TEST_F(TOFFFileTest, BadFilesNameTheLineAndAddNothing) {
    const std::string Head = " 01:02:03, 04/05/06,0,1,x.off,Y,0\n0,0,0,0\n0,0,0,0\n";
    const struct {
        std::string Text;
        std::string Error;
    } Cases[] = {
        {Head + "78,1,1,1\n", "(4): Number of Sections exceed safe maximum (77)"},
        {Head + "1,1,1,1\n0.5,48,0,0,1\n", "(5): Number of Points on Section 0 exceed safe maximum (47)"},
        {Head + "1,1,1,1\n0.5,2,0,0,1\n1,2,0\n", "(6): unexpected end of file"},
        {Head + "1,1,1,1\n0.5,1,0,0,1\n1,x,0\n", "(6): Unable to convert string to number (x)"},
        {" 01-02-03, 04/05/06,0,1,x.off,Y,0\n", "(1): \"01-02-03\" is not a time or date"},
    };
    for (const auto& C : Cases) {
        const std::string Path = WriteTemp("bad.off", C.Text);
        EXPECT_EQ(ErrorOf([&] { ImportOff(Path, Doc); }), Path + C.Error) << C.Text;
        EXPECT_EQ(Doc.Count(), 0);
    }
}

TEST_F(TOFFFileTest, ExportTakesTheSelectedOrOnlyPolylineList) {
    TScriptedUserDialogs Dialogs;
    const std::string Path = TempFile("export.off").string();
    std::string Shown;
    OFFExportDialog() = [&](TOFFFile& F, std::string& FileName) {
        Shown = std::to_string(F.Sections.Count());
        FileName = Path;
        return true;
    };
    const auto List = [](int Sections, int Points) {
        auto L = std::make_unique<TGeoPList>();
        for (int K = 0; K < Sections; ++K) L->Polylines().Add(Section(K, Points));
        return L;
    };
    Doc.Add(List(2, 3));
    TGeometry* Second = Doc.Add(List(3, 3));
    ExportOff(Dialogs, Doc);
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Dialogs.Shown[0].Text,
              "A Entity to export was not found. Select the entity to export if there is more than one TPolylineList");
    EXPECT_EQ(Shown, "");

    Second->SetSelected(true);
    ExportOff(Dialogs, Doc);
    EXPECT_EQ(Shown, "3");
    TOFFFile Back;
    Back.LoadFromFile(Path);
    EXPECT_EQ(Back.Sections.Count(), 3);

    Second->SetSelected(false);
    Doc.Add(List(1, 48))->SetSelected(true);
    Shown.clear();
    EXPECT_EQ(ErrorOf([&] { ExportOff(Dialogs, Doc); }), "Number of Points on Section 0 exceed safe maximum (47)");
    EXPECT_EQ(Shown, "");
    OFFExportDialog() = nullptr;
}
