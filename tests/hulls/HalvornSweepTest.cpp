// The ship generator swept over each parameter of its table, with and without a bulb: every hull it
// builds has its principal dimensions and stays on its side of the centre plane, every value it
// cannot build is refused by name, and a refusal leaves the last hull as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/Halvorn.h"
#include "hulls/HullFigures.h"

using namespace sarnova;
using sarnova::test::MeasureHull;
using sarnova::test::THullFigures;

namespace {

std::string CheckBuilt(THalvorn& H) {
    const THalvornParameters& P = H.Parameters();
    const THullFigures M = MeasureHull(H, P.Draught);
    EXPECT_GE(M.MinY, 0);
    EXPECT_NEAR(M.MaxBeam, P.Beam, 0.005 * P.Beam);
    EXPECT_NEAR(M.MaxZ, P.Depth, 0.005 * P.Depth);
    EXPECT_GE(M.MinZ, -0.005 * P.Depth);
    EXPECT_NEAR(M.MinX, -P.TransomBehindAP, 0.005 * P.Lbp);
    EXPECT_GE(M.MaxX, P.Lbp + P.ForeOverHang - 0.005 * P.Lbp);
    char Text[200];
    std::snprintf(Text, sizeof Text, "least y %.4f; beam %+.2f %%, depth %+.2f %%, stem head or bulb %+.3f", M.MinY,
                  100 * (M.MaxBeam / P.Beam - 1), 100 * (M.MaxZ / P.Depth - 1), M.MaxX - (P.Lbp + P.ForeOverHang));
    return Text;
}

std::string Record(const THalvorn& H) {
    TTextWriter W;
    H.SaveToText(W);
    return W.Text();
}

}  // namespace

// Each row of the table times a factor (a row whose default is 0 is set to 10 x factor - 10), on a
// default hull. CI takes every row past its lower end and every third one beyond its
// default; SARNOVA_FULL_SWEEP=1 runs every factor on every row and prints the table.
TEST(HalvornSweep, EveryHullBuiltIsTheOneAskedForAndEveryRefusalNamesTheParameter) {
    const bool Full = std::getenv("SARNOVA_FULL_SWEEP") != nullptr;
    const std::vector<double> Factors = {-1, 0, 0.25, 0.5, 0.8, 0.9, 1, 1.1, 1.25, 1.5, 2, 4};
    int Built = 0, Refused = 0;
    for (const std::uint8_t Bulb : {0, 1})
        for (int I = 0; I < 25; ++I)
            for (double F : Factors) {
                if (!Full && F != -1 && !(F == 1.5 && I % 3 == Bulb)) continue;
                THalvorn H;
                H.SetBowShape(Bulb);
                if (I >= H.ParameterCount()) continue;
                const std::string Name = H.ParameterName(I);
                const double V = H.Parameter(I) == 0 ? 10 * F - 10 : H.Parameter(I) * F;
                SCOPED_TRACE(std::to_string(Bulb) + " " + Name + "=" + std::to_string(V));
                std::string Result;
                try {
                    H.SetParameter(I, V);
                    H.Generate();
                    Result = CheckBuilt(H);
                    ++Built;
                } catch (const EGeometryError& E) {
                    // Out of the domain the message starts with the name; a hull that does not build
                    // names the value.
                    const std::string Text = E.what();
                    if (Text.find(" must be ") != std::string::npos)
                        EXPECT_EQ(Text.find(Name), 0u) << Text;
                    else
                        EXPECT_NE(Text.find("with " + Name + "="), std::string::npos) << Text;
                    Result = std::string("refused: ") + E.what();
                    ++Refused;
                }
                if (Full) std::printf("%d %-20s %9.3f  %s\n", Bulb, Name.c_str(), V, Result.c_str());
            }
    if (Full) std::printf("built %d, refused %d\n", Built, Refused);
    EXPECT_GT(Built, 0);
}

TEST(HalvornSweep, RefusalsNameTheLimitAndKeepTheLastHull) {
    THalvorn H;
    H.Generate();
    const std::string Before = Record(H);
    // Out of the domain: refused at once, with the limit and what sets it.
    const struct {
        int Index;
        double Value;
        const char* Says;
    } Domains[] = {{4, -1, "BowRadiusAtDeck must be at least 0"},
                   {8, -1, "ParallelDeckA must be at least 0 (the aft perpendicular)"},
                   {10, -0.1, "StemRadius must be at least 0"},
                   {21, -0.3, "StBossRadius must be greater than 0"},
                   {9, 0, "BilgeRadius must be greater than 0"},
                   {14, 25, "TransomBeam must be at most 20 (Beam)"},
                   {18, 3.81, "StShaftHeight must be less than 2.9627 (StRootHeight less StBossRadius)"},
                   {1, 9.5, "Draught must be less than 9.5 (Depth)"}};
    for (const auto& K : Domains) {
        try {
            H.SetParameter(K.Index, K.Value);
            ADD_FAILURE() << K.Says;
        } catch (const EGeometryError& E) {
            EXPECT_STREQ(E.what(), K.Says);
        }
    }
    EXPECT_EQ(Record(H), Before);
    // In the domain but not buildable with the other parameters: refused with the nearest value that
    // builds, and the last hull comes back.
    H.SetParameter(1, 8.344);
    try {
        H.Generate();
        ADD_FAILURE() << "built";
    } catch (const EGeometryError& E) {
        EXPECT_EQ(std::string(E.what()).rfind("Unable to build the hull with Draught=8.344; the nearest Draught that builds is 6.8", 0), 0u)
            << E.what();
    }
    EXPECT_EQ(Record(H), Before);
    EXPECT_TRUE(H.HasBuiltHull());
    // A narrower hull takes its transom in with it.
    H.SetParameter(2, 10);
    EXPECT_DOUBLE_EQ(H.Parameters().TransomBeam, 6);
    H.Generate();
    CheckBuilt(H);
}
