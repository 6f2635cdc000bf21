#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "foundation/PolyList.h"
#include "foundation/Polygon.h"
#include "hulls/Corvane.h"
#include "naval/CalcSections.h"
#include "naval/HydroTable.h"
#include "naval/VkHydro.h"

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
    // The typed targets stay; the surface itself meets them.
    EXPECT_EQ(H.Parameter(TCorvane::pCp), 0.57);
    EXPECT_EQ(H.Parameter(TCorvane::pLCB), 53);
    EXPECT_NEAR(H.AchievedCp(), 0.57, 0.002);
    EXPECT_NEAR(H.AchievedLcb(), 53, 0.1);
    std::printf("Corvane defaults: Volume %.4f, Cp %.4f, LCB %.3f\n", H.Volume(), H.AchievedCp(), H.AchievedLcb());
    H.SetParameter(TCorvane::pCm, 0.7);
    EXPECT_FALSE(H.Generated());
}

namespace {

std::string Record(const TCorvane& H) {
    TTextWriter W;
    H.SaveToText(W);
    return W.Text();
}

std::filesystem::path WriteProject(const std::string& Name, const std::string& Text) {
    const auto Path = std::filesystem::temp_directory_path() / Name;
    std::ofstream(Path) << Text;
    return Path;
}

}  // namespace

TEST(Corvane, RecordReadsBackAndRefusesABadValueWhole) {
    TCorvane H;
    H.SetParameter(TCorvane::pBMax, 3.4);
    H.SetParameter(TCorvane::pCp, 0.5712345678);
    const std::string Text = Record(H);
    EXPECT_EQ(Text.rfind("Loa=12.000\n", 0), 0u);
    EXPECT_NE(Text.find("Cp=0.5712345678\n"), std::string::npos);

    TCorvane Back;
    TTextReader R(Text);
    Back.LoadFromText(R);
    for (int I = 0; I < TCorvane::ParameterCount; ++I) EXPECT_EQ(Back.Parameter(I), H.Parameter(I)) << I;
    EXPECT_EQ(Record(Back), Text);

    std::string Bad = Text;
    Bad.replace(Bad.find("Tc=0.570"), 8, "Tc=abc");
    TCorvane Kept;
    TTextReader RB(Bad);
    EXPECT_THROW(Kept.LoadFromText(RB), EConvertError);
    EXPECT_EQ(Kept.Parameter(TCorvane::pBMax), 3.25);
}

TEST(Corvane, ProjectFileIsReadInItsOwnOrderAndOnlyWhole) {
    const std::string Good =
        "Loa=11\nLwl=9,5\nBMax=3.1\nBwl=3\nBTransom=1.9\nTc=0.6\nOvh=0.8\nFreeBow=1.4\nFreeMid=1.3\n"
        "FreeAft=1.2\nBowCurve=5\nForeFoot=0.3\nTransomAngle=20\nCp=0.55\nCm=0.74\nCwp=0.7\nLcf=54\n"
        "LCB=52\nFlareAngle=10\n";
    const double Expected[TCorvane::ParameterCount] = {11, 9.5, 0.8, 3.1, 3, 1.9, 0.6, 0.55, 0.74, 52,
                                                       0.7, 54, 1.4, 1.3, 1.2, 5, 0.3, 20, 10};
    TCorvane H;
    H.SetAftQuarterCoefficient(0.7);
    H.ImportProject(WriteProject("corvane_good.cvp", Good));
    for (int I = 0; I < TCorvane::ParameterCount; ++I) EXPECT_EQ(H.Parameter(I), Expected[I]) << I;
    EXPECT_EQ(H.AftQuarterCoefficient(), 0.7);
    EXPECT_FALSE(H.Generated());

    struct Case {
        const char* Name;
        std::string Text;
    };
    std::string BadValue = Good;
    BadValue.replace(BadValue.find("Cm=0.74"), 7, "Cm=x");
    for (const Case& K : std::vector<Case>{{"bad value", BadValue}, {"short", "Loa=11\nLwl=9\n"}}) {
        TCorvane Kept;
        EXPECT_THROW(Kept.ImportProject(WriteProject("corvane_bad.cvp", K.Text)), EError) << K.Name;
        EXPECT_EQ(Kept.Parameter(TCorvane::pLoa), 12) << K.Name;
        EXPECT_EQ(Kept.Parameter(TCorvane::pLwl), 10) << K.Name;
    }
}

TEST(Corvane, GeneratedSurfaceDisplacesWhatTheSectionsPromise) {
    TCorvane H;
    H.Generate();
    const auto Facets = H.CreatePolygonsFor(static_cast<TSamplingPurpose>(4), 1);
    auto Sections = CalculationSectionsOfMesh(*Facets);
    ASSERT_TRUE(Sections);
    THydrostaticsData R;
    HydrostaticsAtDraught(*Sections, H.Parameter(TCorvane::pTc), R);
    std::printf("Corvane displacement %.4f t against Volume x 1.025 = %.4f t\n", R.Displacement, H.Volume() * 1.025);
    EXPECT_NEAR(R.Displacement, H.Volume() * 1.025, 0.05 * H.Volume() * 1.025);
}

TEST(Corvane, AssignCopiesParametersCoefficientsAndNet) {
    TCorvane Source;
    Source.SetParameter(TCorvane::pForeFoot, 0.25);
    Source.SetParameter(TCorvane::pBowCurve, 8);
    Source.SetForwardQuarterCoefficient(0.7);
    Source.SetMirrored(true);
    Source.Generate();
    TCorvane Copy;
    Copy.Assign(Source);
    for (int I = 0; I < TCorvane::ParameterCount; ++I) EXPECT_EQ(Copy.Parameter(I), Source.Parameter(I)) << I;
    EXPECT_EQ(Copy.ForwardQuarterCoefficient(), Source.ForwardQuarterCoefficient());
    EXPECT_TRUE(Copy.Mirrored());
    EXPECT_TRUE(Copy.Section(7).Mirrored);
    EXPECT_FALSE(Copy.Profile().Mirrored);
    EXPECT_EQ(Record(Copy), Record(Source));
    // The pick points hold the form curves' control points and then the net's.
    Copy.UpdateAll();
    const auto Picks = Copy.GetPickPoints();
    EXPECT_EQ(Picks->Count() - Copy.PointCount(),
              3 + 19 + 9 + 21 * 6 + 6);  // sheer, profile, waterline, 21 sections, transom
}

TEST(Corvane, AssignCopiesValuesAUserCouldNotEnter) {
    // A file may hold them; a copy (an undo's snapshot) must hold them too, not refuse.
    std::string Text = Record(TCorvane());
    Text.replace(Text.find("Loa=12.000"), 10, "Loa=0");
    TCorvane Read;
    TTextReader In(Text);
    Read.LoadFromText(In);
    ASSERT_EQ(Read.Parameter(TCorvane::pLoa), 0);
    TCorvane Copy;
    ASSERT_NO_THROW(Copy.Assign(Read));
    EXPECT_EQ(Record(Copy), Record(Read));
}
