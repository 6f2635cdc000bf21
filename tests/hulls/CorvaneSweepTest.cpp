// The yacht generator swept over each parameter: every hull it builds is the one asked for, every
// value it cannot build is refused by name, and a refusal leaves the last hull as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/Corvane.h"
#include "hulls/HullFigures.h"

using namespace sarnova;
using sarnova::test::MeasureHull;
using sarnova::test::THullFigures;

namespace {

// The generated hull against its parameters; a text for the sweep table.
std::string CheckBuilt(TCorvane& C, double TypedCp, double TypedLCB) {
    const double Tc = C.Parameter(TCorvane::pTc), Lwl = C.Parameter(TCorvane::pLwl);
    const THullFigures M = MeasureHull(C, Tc);
    EXPECT_GE(M.MinControlY, 0);
    EXPECT_GE(M.MinY, 0);
    const auto Within = [](double Built, double Asked, const char* Name) {
        EXPECT_NEAR(Built, Asked, 0.005 * Asked) << Name;
        return 100 * (Built / Asked - 1);
    };
    const double BMax = Within(M.MaxBeam, C.Parameter(TCorvane::pBMax), "BMax");
    const double Bwl = Within(M.H.BWL, C.Parameter(TCorvane::pBwl), "Bwl");
    const double Loa = Within(M.Length, C.Parameter(TCorvane::pLoa), "Loa");
    Within(M.H.LWL, Lwl, "Lwl");
    const double Draught = Within(Tc - M.MinZ, Tc, "Tc");
    // The table shows the typed Cp and LCB, and the surface has them.
    EXPECT_EQ(C.Parameter(TCorvane::pCp), TypedCp);
    EXPECT_EQ(C.Parameter(TCorvane::pLCB), TypedLCB);
    const double OwnLCB = (C.Parameter(TCorvane::pLoa) - C.Parameter(TCorvane::pOvh) - M.H.LCB) / Lwl * 100;
    EXPECT_NEAR(M.H.CP, TypedCp, 0.002);
    EXPECT_NEAR(OwnLCB, TypedLCB, 0.1);
    char Text[300];
    std::snprintf(Text, sizeof Text,
                  "least y %.4f; BMax %+.2f %%, Bwl %+.2f %%, Loa %+.2f %%, Tc %+.2f %%; Cp shown %.3f own %.4f; "
                  "LCB shown %.2f own %.3f",
                  M.MinY, BMax, Bwl, Loa, Draught, TypedCp, M.H.CP, TypedLCB, OwnLCB);
    return Text;
}

}  // namespace

// Each parameter times a factor (a parameter whose default is 0 is set to 10 x factor - 10). CI takes
// every parameter past its lower end and every fourth one inside its domain; SARNOVA_FULL_SWEEP=1
// runs every factor on every parameter and prints the table.
TEST(CorvaneSweep, EveryHullBuiltIsTheOneAskedForAndEveryRefusalNamesTheParameter) {
    const bool Full = std::getenv("SARNOVA_FULL_SWEEP") != nullptr;
    const std::vector<double> Factors = {-1, 0, 0.25, 0.5, 0.8, 0.9, 1, 1.1, 1.25, 1.5, 2, 4};
    int Built = 0, Refused = 0;
    for (int I = 0; I < TCorvane::ParameterCount; ++I)
        for (double F : Factors) {
            if (!Full && F != -1 && !(F == 1.25 && I % 4 == 0)) continue;
            TCorvane C;
            const double V = C.Parameter(I) == 0 ? 10 * F - 10 : C.Parameter(I) * F;
            const std::string Name = TCorvane::ParameterName(I);
            SCOPED_TRACE(Name + "=" + std::to_string(V));
            std::string Result;
            try {
                C.SetParameter(I, V);
                const double Cp = C.Parameter(TCorvane::pCp), LCB = C.Parameter(TCorvane::pLCB);
                C.Generate();
                Result = CheckBuilt(C, Cp, LCB);
                ++Built;
            } catch (const EGeometryError& E) {
                EXPECT_NE(std::string(E.what()).find(Name), std::string::npos) << E.what();
                Result = std::string("refused: ") + E.what();
                ++Refused;
            }
            if (Full) std::printf("%-12s %9.4f  %s\n", Name.c_str(), V, Result.c_str());
        }
    if (Full) std::printf("built %d, refused %d\n", Built, Refused);
    EXPECT_GT(Built, 0);
}

TEST(CorvaneSweep, ARefusalKeepsTheLastHullAndTheTypedTargets) {
    TCorvane C;
    C.GenerateIfNeeded();
    TTextWriter Before;
    C.SaveToText(Before);
    struct TCase {
        int Index;
        double Value;
        const char* Says;
    };
    // Topsides too high for the sheer's beam; a Cp the quarter sections cannot reach; a length the
    // rows cannot be lofted through.
    const TCase Cases[] = {{TCorvane::pFreeMid, 5.4, "FreeMid=5.4: the hull's BMax would be"},
                           {TCorvane::pCp, 0.7, "Cp 0.700 with LCB 53.00 cannot be reached"},
                           {TCorvane::pLoa, 24, "Loa=24: InterpolateBSpline"}};
    for (const TCase& K : Cases) {
        SCOPED_TRACE(K.Says);
        C.SetParameter(K.Index, K.Value);
        EXPECT_FALSE(C.Generated());
        try {
            C.GenerateIfNeeded();
            ADD_FAILURE() << "no refusal";
        } catch (const EGeometryError& E) {
            EXPECT_NE(std::string(E.what()).find(K.Says), std::string::npos) << E.what();
        }
        // The last hull is back, parameters and net, and counts as generated.
        TTextWriter After;
        C.SaveToText(After);
        EXPECT_EQ(After.Text(), Before.Text());
        EXPECT_TRUE(C.Generated());
    }
    // Out of its domain a value is refused at once, by name and limit.
    const struct {
        int Index;
        double Value;
        const char* Says;
    } Domains[] = {{TCorvane::pTc, -0.5, "Tc must be greater than 0"},
                   {TCorvane::pCm, 1.2, "Cm must be at most 1"},
                   {TCorvane::pFreeMid, 0, "FreeMid must be greater than 0"},
                   {TCorvane::pCp, std::nan(""), "Cp must be a number"}};
    for (const auto& K : Domains) {
        const double Old = C.Parameter(K.Index);
        try {
            C.SetParameter(K.Index, K.Value);
            ADD_FAILURE() << K.Says;
        } catch (const EGeometryError& E) {
            EXPECT_STREQ(E.what(), K.Says);
        }
        EXPECT_EQ(C.Parameter(K.Index), Old);
    }
    EXPECT_TRUE(C.Generated());
}
