#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "hulls/Corvane.h"

using namespace sarnova;

TEST(Corvane, DefaultsGiveATwelveMetreHull) {
    TCorvane H;
    EXPECT_EQ(H.Parameter(TCorvane::pLoa), 12);
    EXPECT_EQ(H.ParameterName(TCorvane::pFlareAngle), "FlareAngle");
    H.UpdateAll();
    EXPECT_NEAR(H.Waterline().StartX(), 1.1, 1e-12);
    EXPECT_NEAR(H.Waterline().EndX(), 11.1, 1e-12);
    EXPECT_GT(H.Volume(), 0);
    EXPECT_NEAR(H.Section(10).AreaCoefficient(), 0.752, 2e-3);
    try {
        H.Parameter(19);
        FAIL() << "expected an index error";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "Parameter Index out of bounds 19");
    }
}

TEST(Corvane, BreadthLimits) {
    struct Case {
        double Bwl, FreeAft, BTransom, ExpectBwl, ExpectBTransom;
    };
    for (const Case& K : std::vector<Case>{{9, 1.3, 2, 8, 2}, {3.17, 5, 2, 3.17, 2.5}, {3.17, 1.3, 4, 3.17, 3.17}}) {
        SCOPED_TRACE(K.Bwl + K.FreeAft + K.BTransom);
        TCorvane H;
        H.SetParameter(TCorvane::pBwl, K.Bwl);
        H.SetParameter(TCorvane::pFreeAft, K.FreeAft);
        H.SetParameter(TCorvane::pBTransom, K.BTransom);
        try {
            H.UpdateAll();
        } catch (const EError&) {
            // extreme shapes may not solve; the limits apply first
        }
        EXPECT_NEAR(H.Parameter(TCorvane::pBwl), K.ExpectBwl, 1e-12);
        EXPECT_NEAR(H.Parameter(TCorvane::pBTransom), K.ExpectBTransom, 1e-12);
    }
}

TEST(Corvane, GenerationFitsCpAndLcbAndLoftsTheNet) {
    TCorvane H;
    H.GenerateIfNeeded();
    EXPECT_TRUE(H.Generated());
    EXPECT_EQ(H.NumU(), 7);
    EXPECT_EQ(H.NumV(), 6);
    EXPECT_EQ(H.Parameter(TCorvane::pCp), H.AchievedCp());
    EXPECT_EQ(H.Parameter(TCorvane::pLCB), H.AchievedLcb());
    EXPECT_NEAR(H.AchievedCp(), 0.57, 0.02);
    EXPECT_NEAR(H.AchievedLcb(), 53, 1);
    std::printf("Corvane defaults: Volume %.4f, Cp %.4f, LCB %.3f\n", H.Volume(), H.AchievedCp(), H.AchievedLcb());
    H.SetParameter(TCorvane::pCm, 0.7);
    EXPECT_FALSE(H.Generated());
}
