#include <gtest/gtest.h>

#include "ExchangeFixtures.h"
#include "entities/GBSurf.h"
#include "exchange/IoShipGen.h"
#include "surfaces/BSurface.h"

using namespace sarnova;
using namespace sarnova::test;

namespace {

using TIoShipGen = TExchangeTest;

const std::string TwoPatches =
    "cabecera\n"
    " parche\n"
    "  NP 3\n"
    "  NS 3\n"
    "  puntos\n"
    "   (2,1) 1.5 -2 3e1\n"
    "   ( 0 , 0 ) 0 0 0\n"
    "  /PUNTOS\n"
    "/PARCHE\n"
    "PARCHE\n"
    "  NS 1\n"               // NP stays 3
    "  PUNTOS\n"
    "  (3,1) 1 1 1\n"
    "  /PUNTOS\n"
    "/PARCHE\n";

}  // namespace

TEST_F(TIoShipGen, EachPatchIsOneBezierPatch) {
    ImportShipGen(WriteTemp("a.pla", TwoPatches), Doc);
    ASSERT_EQ(Doc.Count(), 2);
    const TBSplineSurface& A = dynamic_cast<TGeoBSurf&>(Doc.Items(0)).Surface();
    EXPECT_EQ(A.NumU(), 4);
    EXPECT_EQ(A.NumV(), 4);
    EXPECT_EQ(A.OrderU(), 4);
    EXPECT_EQ(A.OrderV(), 4);
    EXPECT_EQ(A.Point(2, 1).Vector(), (TMVector{1.5, -2, 30}));
    const TBSplineSurface& B = dynamic_cast<TGeoBSurf&>(Doc.Items(1)).Surface();
    EXPECT_EQ(B.NumU(), 4);
    EXPECT_EQ(B.NumV(), 2);
    EXPECT_EQ(B.OrderV(), 2);
}

TEST_F(TIoShipGen, MalformedFilesNameTheLineAndAddNothing) {
    const std::string Head = "PARCHE\nNP 3\nNS 3\nPUNTOS\n";
    const struct {
        std::string Text;
        std::string Error;
    } Cases[] = {
        {Head + "(0,0) 1 2 3\n", "(5): the file ends before \"/PUNTOS\""},
        {Head + "/PUNTOS\nNS 2\n", "(6): the file ends before \"/PARCHE\""},
        {Head + "(4,0) 1 2 3\n/PUNTOS\n/PARCHE\n", "(5): point (4,0) lies outside the 4 x 4 net"},
        {Head + "(0,x) 1 2 3\n/PUNTOS\n/PARCHE\n", "(5): 'X' is not a valid integer value"},
        {Head + "(0,0) 1 A 3\n/PUNTOS\n/PARCHE\n", "(5): Unable to convert string to number (A)"},
        {"PARCHE\nNP 0\nPUNTOS\n/PUNTOS\n/PARCHE\n", "(3): NP and NS must be from 1 to 248, not 0 and 1"},
    };
    for (const auto& C : Cases) {
        const std::string Path = WriteTemp("bad.pla", TwoPatches + C.Text);
        const std::string Error = ErrorOf([&] { ImportShipGen(Path, Doc); });
        // The lines of the fixture's two good patches come first.
        const int At = std::stoi(C.Error.substr(1)) + 15;
        EXPECT_EQ(Error, Path + "(" + std::to_string(At) + C.Error.substr(C.Error.find(')'))) << C.Text;
        EXPECT_EQ(Doc.Count(), 0);
    }
}
