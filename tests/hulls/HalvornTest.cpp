#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"
#include "foundation/TextFile.h"
#include "hulls/Halvorn.h"
#include "foundation/Polygon.h"
#include "foundation/PolyList.h"
#include "naval/CalcSections.h"
#include "naval/HydroTable.h"
#include "naval/VkHydro.h"

using namespace sarnova;

namespace {

std::string Record(const THalvorn& H) {
    TTextWriter W;
    H.SaveToText(W);
    return W.Text();
}

std::filesystem::path TempFile(const char* Name) {
    return std::filesystem::temp_directory_path() / Name;
}

}  // namespace

TEST(Halvorn, DefaultsGiveTheStationsOfTheStandardHull) {
    THalvorn H;
    EXPECT_EQ(H.ColumnCount(), 23);
    EXPECT_EQ(H.FirstBowColumn(), 14);
    EXPECT_EQ(H.NumU(), 23);
    EXPECT_EQ(H.NumV(), 12);
    EXPECT_EQ(H.ColumnListCount(), 25);
    EXPECT_DOUBLE_EQ(H.MidshipStation(), 50);
    EXPECT_DOUBLE_EQ(H.ParallelDeckLength(), 52);
    EXPECT_NEAR(H.Parameters().TransomImmersion, -0.86, 1e-12);
    EXPECT_NEAR(H.Parameters().StRootHeight, 3.294666666666667, 1e-12);
    EXPECT_NEAR(H.Parameters().StFlatOfBottomStart, 3.74, 1e-12);
    // Column 10 and the forward flat are 23.47 apart at a spacing of 5.45: four middle columns.
    const double Spacing = H.Column(5).GetStation() - H.Column(4).GetStation();
    EXPECT_NEAR(Spacing, 5.449, 1e-3);
    EXPECT_NEAR(H.Column(14).GetStation() - H.Column(10).GetStation(), 23.475, 1e-3);
    EXPECT_DOUBLE_EQ(H.Column(19).GetStation(), 100 - 0.1 - 3 * 1.8);
    EXPECT_DOUBLE_EQ(H.Column(0).GetStation(), -5);
}

TEST(Halvorn, ShortMiddleBodyAddsNoColumns) {
    THalvorn H;
    // Both flats at midships leave less than one spacing between column 10 and the forward flat.
    H.SetFOSAft(50);
    H.SetFOSBow(50);
    EXPECT_EQ(H.ColumnCount(), 19);
    EXPECT_EQ(H.FirstBowColumn(), 10);
    EXPECT_EQ(H.NumU(), 19);
}

TEST(Halvorn, FlatsAreClampedAgainstMidshipsAndTheEnds) {
    THalvorn H;
    H.SetFOSAft(70);  // past midships: pulled back
    EXPECT_DOUBLE_EQ(H.Parameters().FOSAft, 50);
    H.SetFOSBow(30);  // before midships: pushed forward
    EXPECT_DOUBLE_EQ(H.Parameters().FOSBow, 50);

    THalvorn A;
    A.SetFOSAft(10);  // aft flat station would lie below 0.2 Lbp
    EXPECT_DOUBLE_EQ(A.AftFlatStation(), 20);
    const double s = 5 + 1.53 + 1.3 + 2.05 / 2;
    EXPECT_NEAR(A.Parameters().FOSAft, s + (20 - s) * 7 / 5, 1e-12);

    THalvorn B;
    B.SetFOSBow(95);  // forward flat station beyond 0.8 Lbp
    EXPECT_DOUBLE_EQ(B.BowFlatStation(), 80);
    const double Step = (B.AftFlatStation() - s) / 5;
    EXPECT_NEAR(B.Parameters().FOSBow, 80 - (Step - 2.05 / 2), 1e-12);
}

TEST(Halvorn, SettersApplyTheirLimits) {
    struct TCase {
        const char* What;
        void (THalvorn::*Prepare)(double);
        double PrepareValue;
        void (THalvorn::*Set)(double);
        double Value;
        double THalvornParameters::*Field;
        double Expected;
    };
    const TCase Cases[] = {
        {"bilge below 0", nullptr, 0, &THalvorn::SetBilgeRadius, -1, &THalvornParameters::BilgeRadius, 0},
        {"bilge above half beam", &THalvorn::SetDepth, 12, &THalvorn::SetBilgeRadius, 15, &THalvornParameters::BilgeRadius, 10},
        {"bilge above depth", &THalvorn::SetDepth, 8, &THalvorn::SetBilgeRadius, 15,
         &THalvornParameters::BilgeRadius, 8},
        {"bow curvature", nullptr, 0, &THalvorn::SetBowCurvature, -250, &THalvornParameters::BowCurvature, -100},
        {"bow curvature up", nullptr, 0, &THalvorn::SetBowCurvature, 101, &THalvornParameters::BowCurvature, 100},
        {"bulb length", nullptr, 0, &THalvorn::SetBulbLength, 5, &THalvornParameters::BulbLength, 3},
        {"bulb length below 0", nullptr, 0, &THalvorn::SetBulbLength, -1, &THalvornParameters::BulbLength, 0},
        {"overhang above draught", nullptr, 0, &THalvorn::SetForeOverHang, 9, &THalvornParameters::ForeOverHang,
         4.172},
        {"overhang below 0", nullptr, 0, &THalvorn::SetForeOverHang, -2, &THalvornParameters::ForeOverHang, 0},
        {"forefoot above draught", nullptr, 0, &THalvorn::SetForeFootRadius, 5,
         &THalvornParameters::ForeFootRadius, 4.172},
    };
    for (const auto& C : Cases) {
        THalvorn H;
        if (C.Prepare) (H.*C.Prepare)(C.PrepareValue);
        (H.*C.Set)(C.Value);
        EXPECT_DOUBLE_EQ(H.Parameters().*C.Field, C.Expected) << C.What;
    }
}

TEST(Halvorn, MovingTheFlatOfSideMovesTheParallelDeck) {
    THalvorn H;
    H.SetFOSBow(70);
    EXPECT_NEAR(H.Parameters().ParallelDeckF, 102 + (70 - 102) * (76.0 - 102) / (60 - 102), 1e-12);
    EXPECT_NEAR(H.Parameters().ParallelDeckF, 82.19, 0.005);
    H.SetFOSAft(30);
    EXPECT_NEAR(H.Parameters().ParallelDeckA, -5 + (30 + 5) * (24.0 + 5) / (40 + 5), 1e-12);
    EXPECT_DOUBLE_EQ(H.ParallelDeckLength(), H.Parameters().ParallelDeckF - H.Parameters().ParallelDeckA);
}

TEST(Halvorn, NewLengthScalesEveryLength) {
    THalvorn H;
    H.SetBowShape(1);
    const THalvornParameters Before = H.Parameters();
    const double Knuckle = H.SternKnuckleHeight();
    H.SetLbp(200);
    const THalvornParameters& After = H.Parameters();
    EXPECT_DOUBLE_EQ(H.MidshipStation(), 100);
    EXPECT_DOUBLE_EQ(H.SternKnuckleHeight(), 2 * Knuckle);
    EXPECT_DOUBLE_EQ(After.BowCurvature, Before.BowCurvature);
    EXPECT_DOUBLE_EQ(After.TransomCurvature, Before.TransomCurvature);
    EXPECT_EQ(After.BowShape, 1);
    // Every row of the table but the two percentages is a length.
    THalvorn Ref;
    Ref.SetBowShape(1);
    for (int i = 0; i < H.ParameterCount(); ++i) {
        const std::string Name = H.ParameterName(i);
        const double k = Name == "BowCurvature" || Name == "TransomCurvature" ? 1 : 2;
        EXPECT_NEAR(H.Parameter(i), k * Ref.Parameter(i), 1e-12) << Name;
    }
    EXPECT_EQ(H.ColumnCount(), Ref.ColumnCount());
    EXPECT_NEAR(H.Column(19).GetStation(), 2 * Ref.Column(19).GetStation(), 1e-9);
}

TEST(Halvorn, LengthThatIsNotPositiveIsRefused) {
    for (double Bad : {0.0, -10.0, std::nan("")}) {
        THalvorn H;
        const std::string Before = Record(H);
        EXPECT_THROW(H.SetLbp(Bad), EGeometryError) << Bad;
        EXPECT_EQ(Record(H), Before);
    }
}

TEST(Halvorn, ParameterTable) {
    THalvorn H;
    EXPECT_EQ(H.ParameterCount(), 24);
    EXPECT_EQ(H.ParameterName(5), "FlatOfSideBow");
    EXPECT_EQ(H.ParameterName(23), "ForeFootRadius");
    H.SetParameter(23, 1.5);
    EXPECT_DOUBLE_EQ(H.Parameters().ForeFootRadius, 1.5);
    EXPECT_DOUBLE_EQ(H.Parameters().BulbLength, 1.8);

    H.SetBowShape(1);
    EXPECT_EQ(H.ParameterCount(), 25);
    EXPECT_EQ(H.ParameterName(23), "BulbLength");
    H.SetParameter(23, 2.5);
    EXPECT_DOUBLE_EQ(H.Parameters().BulbLength, 2.5);
    EXPECT_DOUBLE_EQ(H.Parameter(23), 2.5);
    EXPECT_DOUBLE_EQ(H.Parameters().ForeFootRadius, 1.5);

    // The table refuses a value outside the domain; the setter itself limits it.
    try {
        H.SetParameter(11, -300);
        ADD_FAILURE() << "accepted";
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "BowCurvature must be at least -100");
    }
    EXPECT_DOUBLE_EQ(H.Parameter(11), 15);
    H.SetBowCurvature(-300);
    EXPECT_DOUBLE_EQ(H.Parameter(11), -100);

    for (int Bad : {-1, 25}) {
        try {
            H.SetParameter(Bad, 1);
            ADD_FAILURE() << Bad;
        } catch (const EError& E) {
            EXPECT_EQ(std::string(E.what()), "Parameter Index out of bounds " + std::to_string(Bad));
        }
        EXPECT_THROW(H.Parameter(Bad), EError);
        EXPECT_THROW(H.ParameterName(Bad), EError);
    }
}

TEST(Halvorn, RecordLines) {
    THalvorn H;
    TTextReader R(Record(H));
    EXPECT_EQ(R.ReadLine(), "BowShape=0");
    EXPECT_EQ(R.ReadLine(), "Lbp=100.000");
    const std::string Text = Record(H);
    EXPECT_NE(Text.find("\nTransomImmersion=-0.860\n"), std::string::npos);
    EXPECT_NE(Text.find("\nStRootHeight=3.29466666666667\n"), std::string::npos);
    EXPECT_NE(Text.find("\nStFlatOfBottomStart=3.740\n"), std::string::npos);
}

TEST(Halvorn, RecordReadsBackTheSameGenerator) {
    THalvorn H;
    H.SetBowShape(1);
    H.SetLbp(137.3);
    H.SetBeam(21.7);
    // A filled net stands for a generated hull.
    for (int i = 0; i < H.NumU(); ++i)
        for (int j = 0; j < H.NumV(); ++j) H.Point(i, j).SetXYZ(i, 0.5 * j, i * j / 7.0);
    const std::string Text = Record(H);

    THalvorn Back;
    TTextReader R(Text);
    Back.LoadFromText(R);
    EXPECT_EQ(Back.BowShape(), 1);
    for (int i = 0; i < 25; ++i) EXPECT_NEAR(Back.Parameter(i), H.Parameter(i), 1e-12) << H.ParameterName(i);
    ASSERT_EQ(Back.NumU(), H.NumU());
    ASSERT_EQ(Back.NumV(), H.NumV());
    for (int i = 0; i < H.NumU(); ++i)
        for (int j = 0; j < H.NumV(); ++j) EXPECT_NEAR(Back.Point(i, j).Z, H.Point(i, j).Z, 1e-3);
    EXPECT_EQ(Record(Back), Text);
}

TEST(Halvorn, RecordAcceptsCommasAndRefusesBadLinesWhole) {
    THalvorn H;
    std::string Text = Record(H);
    std::string Comma = Text;
    Comma.replace(Comma.find("Beam=20.000"), 11, "Beam=22,5");
    THalvorn C;
    TTextReader RC(Comma);
    C.LoadFromText(RC);
    EXPECT_DOUBLE_EQ(C.Parameters().Beam, 22.5);

    THalvorn Changed;
    Changed.SetBeam(30);
    const std::string Before = Record(Changed);
    for (const char* Bad : {"Depth=deep", "Draught=", "StBossStart=1.5.3"}) {
        std::string Broken = Text;
        const std::string Key = std::string(Bad).substr(0, std::string(Bad).find('=') + 1);
        const auto At = Broken.find("\n" + Key) + 1;
        Broken.replace(At, Broken.find('\n', At) - At, Bad);
        TTextReader R(Broken);
        EXPECT_THROW(Changed.LoadFromText(R), EConvertError) << Bad;
        EXPECT_EQ(Record(Changed), Before) << Bad;
    }
    // A damaged surface block after a good record also leaves the generator as it was.
    TTextReader Short(Text.substr(0, Text.find("OrderV=")) + "OrderV=x\n");
    EXPECT_ANY_THROW(Changed.LoadFromText(Short));
    EXPECT_EQ(Record(Changed), Before);
}

TEST(Halvorn, DefinitionFile) {
    const auto Name = TempFile("sarnova_halvorn_test.hlv");
    THalvorn H;
    H.SetBowShape(1);
    H.SetDraught(5.5);
    H.SaveToFile(Name);
    EXPECT_EQ(ReadFileLines(Name).at(0), "[THalvorn]");
    THalvorn Back;
    Back.LoadFromFile(Name);
    EXPECT_EQ(Record(Back), Record(H));

    ReplaceFileText(Name, "[TSomethingElse]\n" + Record(H), "test");
    THalvorn Other;
    Other.SetBeam(12);
    const std::string Before = Record(Other);
    try {
        Other.LoadFromFile(Name);
        ADD_FAILURE();
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "File does not contain a Halvorn Definition");
    }
    EXPECT_EQ(Record(Other), Before);
    std::filesystem::remove(Name);
}

TEST(Halvorn, CurvesMeetAtTheirCorners) {
    struct TCase {
        std::uint8_t BowShape;
        double ForeOverHang;
        double StemFootX;
    };
    // Without overhang the stem is vertical: a bulbous stem then starts on the forward perpendicular.
    const TCase Cases[] = {{0, 2, -1}, {1, 2, 102 - 9.5 * 2 / (9.5 - 4.172)}, {1, 0, 100}, {0, 0, -1}};
    for (const auto& C : Cases) {
        THalvorn H;
        H.SetBowShape(C.BowShape);
        H.SetForeOverHang(C.ForeOverHang);
        const auto What = "bow shape " + std::to_string(C.BowShape) + ", overhang " + std::to_string(C.ForeOverHang);
        ASSERT_EQ(H.Stem().Count(), 12) << What;
        const TRPoint* Head = H.Stem().Last();
        EXPECT_NEAR(Head->X, 100 + C.ForeOverHang, 1e-9) << What;
        EXPECT_NEAR(Head->Z, 9.5, 1e-9) << What;
        EXPECT_NEAR(H.Stem().Point(0)->Z, 0, 1e-12) << What;
        if (C.StemFootX >= 0) {
            EXPECT_NEAR(H.Stem().Point(0)->X, C.StemFootX, 1e-9) << What;
        }
        // The stem passes the design waterline on the forward perpendicular.
        const int Waterline = 6;
        EXPECT_NEAR(H.Stem().Point(Waterline)->X, 100, 1e-9) << What;
        EXPECT_NEAR(H.Stem().Point(Waterline)->Z, 4.172, 1e-9) << What;
        EXPECT_NEAR(H.Deck().Last()->X, Head->X, 1e-12) << What;
    }

    THalvorn H;
    ASSERT_EQ(H.Transom().Count(), 12);
    EXPECT_NEAR(H.Transom().Point(0)->Z, 4.172 + 0.86, 1e-9);
    EXPECT_NEAR(H.Transom().Last()->X, -5, 1e-12);
    EXPECT_NEAR(H.Transom().Last()->Y, 6, 1e-9);
    EXPECT_NEAR(H.Transom().Last()->Z, 9.5, 1e-9);
    EXPECT_NEAR(H.Deck().First()->Y, 6, 1e-12);
    ASSERT_EQ(H.MidSection().Count(), 12);
    EXPECT_NEAR(H.MidSection().Point(4)->Y, 10 - 2.05 / 2, 1e-12);
    EXPECT_NEAR(H.MidSection().Last()->Z, 9.5, 1e-12);
    EXPECT_EQ(H.Stern().Count(), 9);
    EXPECT_NEAR(H.SternSide().Point(4)->X, 1.53 + 0.332, 1e-12);
    EXPECT_EQ(H.AftFlatTangent().Count(), 9);
    EXPECT_EQ(H.BowFlatTangenet().Count(), 9);
    EXPECT_NEAR(H.BowFlatTangenet().Last()->X, 102 - 9.5 * 2 / (9.5 - 4.172), 1e-9);
}

namespace {

class TRecordingHalvorn : public THalvorn {
public:
    std::vector<std::string> Texts;
    std::vector<int> Percentages;

protected:
    void ProgressText(const std::string& Text) override { Texts.push_back(Text); }
    void Progress(int Percentage) override { Percentages.push_back(Percentage); }
};

}  // namespace

TEST(Halvorn, GeneratesTheDefaultHull) {
    for (std::uint8_t Bow : {0, 1}) {
        TRecordingHalvorn H;
        H.SetBowShape(Bow);
        H.Generate();
        EXPECT_EQ(H.Texts, (std::vector<std::string>{"Creating Curves", "Creating Columns", "Creating Mesh",
                                                     "\xC2\xAB\xC2\xAB Hull Complete \xC2\xBB\xC2\xBB"}));
        EXPECT_EQ(H.Percentages.front(), 0);
        EXPECT_EQ(H.Percentages.back(), 100);
        ASSERT_EQ(H.NumU(), 23);
        ASSERT_EQ(H.NumV(), 12);
        EXPECT_EQ(H.BowBlenders().size(), 11u);
        EXPECT_EQ(H.AftBlenders().size(), 9u);
        for (int i = 0; i < H.NumU(); ++i)
            for (int j = 0; j < H.NumV(); ++j) {
                const TRPoint& Q = H.Point(i, j);
                EXPECT_TRUE(std::isfinite(Q.X) && std::isfinite(Q.Y) && std::isfinite(Q.Z)) << i << " " << j;
            }
        // Sampled in the parallel middle body: flat side at half the beam up to the deck, flat bottom.
        H.UpdateKnots();
        const double U = H.MinU() + 0.5 * (H.MaxU() - H.MinU());
        const TMVector Side = H.Evaluate(U, H.MaxV() * 0.8);
        EXPECT_NEAR(Side.Y, 10, 1e-6);
        EXPECT_NEAR(H.Evaluate(U, H.MaxV()).Z, 9.5, 1e-6);
        const TMVector Bottom = H.Evaluate(U, H.MinV() + 0.05 * (H.MaxV() - H.MinV()));
        EXPECT_NEAR(Bottom.Z, 0, 1e-6);
        EXPECT_LT(Bottom.Y, 5);
    }
}

TEST(Halvorn, VisualReportsProgressAndPicksEveryControlPoint) {
    THalvornVisual H;
    std::vector<std::string> Texts;
    H.OnProgressText = [&Texts](const std::string& Text) { Texts.push_back(Text); };
    const int CurvePoints = 12 + 12 + 9 + 9 + 9 + 12 + H.Deck().Count();
    EXPECT_EQ(H.GetPickPoints()->Count(), CurvePoints);
    H.Generate();
    EXPECT_EQ(Texts.size(), 4u);
    EXPECT_EQ(H.GetPickPoints()->Count(), CurvePoints + 23 * 12);

    const auto Name = TempFile("sarnova_halvorn_visual.hlv");
    H.SaveToFile(Name);
    EXPECT_EQ(ReadFileLines(Name).at(0), "[THalvornVisual]");
    THalvornVisual Back;
    Back.LoadFromFile(Name);
    EXPECT_EQ(Record(Back), Record(H));
    std::filesystem::remove(Name);
}

TEST(Halvorn, ForwardColumnsHaveNoPointsLeftAtTheOrigin) {
    struct TCase {
        std::uint8_t Bow;
        double FOSBow, ForeOverHang;
    };
    for (const TCase& C : {TCase{0, 60, 2}, TCase{1, 60, 2}, TCase{0, 75, 0}, TCase{0, 50, 0}, TCase{1, 50, 4}, TCase{0, 80, 3}}) {
        THalvorn H;
        H.SetBowShape(C.Bow);
        H.SetForeOverHang(C.ForeOverHang);
        // Limited by the overhang: none without one, which shortens the forward body.
        H.SetBulbLength(1.8);
        H.SetFOSBow(C.FOSBow);
        H.Generate();
        for (int i = H.FirstBowColumn(); i < H.ColumnCount(); ++i)
            for (int j = 1; j < 12; ++j) {
                const TRPoint& Q = H.Point(i, j);
                EXPECT_FALSE(Q.X == 0 && Q.Y == 0 && Q.Z == 0)
                    << "bow " << int(C.Bow) << " FOSBow " << C.FOSBow << " point " << i << ", " << j;
            }
    }
}

TEST(Halvorn, FailedCrossingLeavesItsCurvesInTheTemporaryFolder) {
    const std::string OldTemp = GTempDir;
    const auto Folder = std::filesystem::temp_directory_path() / "sarnova_halvorn_temp";
    std::filesystem::create_directories(Folder);
    GTempDir = Folder.string();
    THalvorn H;
    // Without a bilge radius the after body finds no single crossing for its columns.
    H.SetBilgeRadius(0);
    try {
        H.Generate();
        ADD_FAILURE() << "generated";
    } catch (const EGeometryError& E) {
        EXPECT_STREQ(E.what(), "Unable to build the hull with these parameters (Error in intersections)");
    }
    EXPECT_EQ(ReadFileLines(Folder / "LiError1.geo").at(0), "[TBSpline]");
    EXPECT_EQ(ReadFileLines(Folder / "LiError2.geo").at(0), "[TPolyline]");
    GTempDir = OldTemp;
    std::filesystem::remove_all(Folder);
}

TEST(Halvorn, DefaultHullHasAShipsDisplacementAtItsDraught) {
    THalvorn H;
    H.Generate();
    const auto Facets = H.CreatePolygonsFor(static_cast<TSamplingPurpose>(4), 1);
    auto Sections = CalculationSectionsOfMesh(*Facets);
    ASSERT_TRUE(Sections);
    THydrostaticsData R;
    HydrostaticsAtDraught(*Sections, 4.172, R);
    // A full merchant hull: block coefficient between 0.6 and 0.9 on the waterline's length and beam.
    EXPECT_NEAR(R.BWL, 20, 0.05);
    EXPECT_GT(R.CB, 0.6);
    EXPECT_LT(R.CB, 0.9);
}
