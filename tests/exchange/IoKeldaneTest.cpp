#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "entities/GBSurf.h"
#include "exchange/IoKeldane.h"
#include "platform/ScriptedUserDialogs.h"
#include "surfaces/BSurface.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

using TIoKeldane = TExchangeTest;

// Curves of Points points each; point k of curve j is (1000 j + k, 10 k, 3000 + j) in millimetres.
std::string KeldaneFile(int Curves, int Points, int Order = 4, int LastPoints = -1) {
    std::string T;
    for (int I = 1; I <= 7; ++I) T += "header " + std::to_string(I) + "\n";
    T += std::to_string(Order) + "  order\n";
    for (int I = 9; I <= 12; ++I) T += "\n";
    T += std::to_string(Curves) + "\n";
    for (int J = 0; J < Curves; ++J) {
        const int N = J == Curves - 1 && LastPoints >= 0 ? LastPoints : Points;
        T += std::to_string(N) + "\n";
        for (int K = 0; K < N; ++K)
            T += std::to_string(1000 * J + K) + " " + std::to_string(10 * K) + " " + std::to_string(3000 + J) +
                 " rest\n";
    }
    return T;
}

}  // namespace

TEST_F(TIoKeldane, CurvesAreULinesAndTheirPointsRunBackwards) {
    ImportKeldaneHullFile(WriteTemp("a.kdn", KeldaneFile(3, 4)), Doc);
    ASSERT_EQ(Doc.Count(), 1);
    const TBSplineSurface& S = dynamic_cast<TGeoBSurf&>(Doc.Items(0)).Surface();
    EXPECT_EQ(S.NumU(), 3);
    EXPECT_EQ(S.NumV(), 4);
    EXPECT_EQ(S.OrderU(), 4);
    EXPECT_EQ(S.OrderV(), 4);
    for (int J = 0; J < 3; ++J)
        for (int K = 0; K < 4; ++K) {
            const int P = 3 - K;  // control point k is point N - 1 - k of the curve
            EXPECT_DOUBLE_EQ(S.Point(J, K).X, 3.0 + J / 1000.0);
            EXPECT_DOUBLE_EQ(S.Point(J, K).Y, J + P / 1000.0);
            EXPECT_DOUBLE_EQ(S.Point(J, K).Z, P / 100.0);
        }
}

TEST_F(TIoKeldane, BadFilesAreRefusedNamingTheLine) {
    Doc.Add(std::make_unique<TGeoBSurf>());
    const std::string Before = DocumentText(Doc);
    std::string BadNumber = KeldaneFile(2, 3);
    BadNumber.replace(BadNumber.find("1000 0 3001"), 4, "1x00");
    const struct {
        std::string Text;
        std::string Error;
    } Cases[] = {
        {KeldaneFile(22, 3), "(13): the number of curves must be a whole number from 1 to 21"},
        {KeldaneFile(2, 26), "(14): the number of points must be a whole number from 1 to 25"},
        {KeldaneFile(3, 4, 4, 5), "(24): curve 3 has 5 points, the first curves 4"},
        {KeldaneFile(2, 3).substr(0, KeldaneFile(2, 3).size() - 12), "(21): unexpected end of file"},
        {"a\nb\n", "(3): unexpected end of file"},
        {BadNumber, "(19): bad number (I/O Result 106)"},
    };
    for (const auto& C : Cases) {
        const std::string Path = WriteTemp("bad.kdn", C.Text);
        EXPECT_EQ(ErrorOf([&] { ImportKeldaneHullFile(Path, Doc); }), Path + C.Error);
        EXPECT_EQ(DocumentText(Doc), Before);
    }
}

TEST_F(TIoKeldane, TheDialogAsksForTheFileAndCancelDoesNothing) {
    TScriptedUserDialogs Dialogs;
    Dialogs.CancelFileDialog();
    Dialogs.ChooseFile(WriteTemp("b.kdn", KeldaneFile(2, 2, 2)));
    ImportKeldaneHull(Dialogs, Doc);
    EXPECT_EQ(Doc.Count(), 0);
    ImportKeldaneHull(Dialogs, Doc);
    EXPECT_EQ(Doc.Count(), 1);
    ASSERT_EQ(Dialogs.ShownFileDialogs.size(), 2u);
    EXPECT_EQ(Dialogs.ShownFileDialogs[0].Title, "Import Keldane Hull");
}
