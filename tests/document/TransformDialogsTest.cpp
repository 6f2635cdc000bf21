#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "document/MirrorDlg.h"
#include "document/MoveDlg.h"
#include "document/RotateDlg.h"
#include "document/ScaleDlg.h"

namespace sarnova {
namespace {

void ExpectPoint(const TMVector& Actual, const TMVector& Expected) {
    EXPECT_NEAR(Actual.X, Expected.X, 1e-12);
    EXPECT_NEAR(Actual.Y, Expected.Y, 1e-12);
    EXPECT_NEAR(Actual.Z, Expected.Z, 1e-12);
}

double Distance(const TMVector& A, const TMVector& B) {
    return std::hypot(A.X - B.X, A.Y - B.Y, A.Z - B.Z);
}

TEST(TransformDialogs, MoveIsATranslation) {
    EXPECT_EQ(MoveTransform(0, 0, 0), IdentityMatrix);
    EXPECT_EQ(MoveTransform(1.5, -2, 3), MatrixTranslation(1.5, -2, 3));
}

TEST(TransformDialogs, RotateTurnsAboutTheOriginPoint) {
    const TMVector C{1, 1, 0};
    // The dialog's angles turn the opposite way to the right-hand rule: 90 degrees about Z takes +X
    // to -Y.
    const TMMatrix M = RotateTransform(0, 0, 90, C);
    ExpectPoint(MatrixTransformPoint(M, C), C);
    ExpectPoint(MatrixTransformPoint(M, {2, 1, 0}), {1, 0, 0});

    const TMMatrix Mixed = RotateTransform(30, -45, 120, {2, -3, 5});
    for (const TMVector P : {TMVector{0, 0, 0}, TMVector{7, 1, -2}, TMVector{-4, 9, 3}})
        EXPECT_NEAR(Distance(MatrixTransformPoint(Mixed, P), {2, -3, 5}), Distance(P, {2, -3, 5}), 1e-12);
    ExpectPoint(MatrixTransformPoint(Mixed, {2, -3, 5}), {2, -3, 5});
}

TEST(TransformDialogs, ScaleStretchesAwayFromTheOriginPoint) {
    const TMMatrix M = ScaleTransform(2, 3, 4, {1, 1, 1});
    ExpectPoint(MatrixTransformPoint(M, {1, 1, 1}), {1, 1, 1});
    ExpectPoint(MatrixTransformPoint(M, {2, 2, 2}), {3, 4, 5});
}

TEST(TransformDialogs, MirrorReflectsInTheChosenPlane) {
    const struct {
        TMirrorChoice Choice;
        double Offset;
        TMVector Expected;  // the image of (1, 2, 3)
    } Cases[] = {
        {TMirrorChoice::mcXYPlane, 1, {1, 2, -1}},
        {TMirrorChoice::mcYZPlane, 2, {3, 2, 3}},
        {TMirrorChoice::mcZXPlane, 0, {1, -2, 3}},
    };
    for (const auto& Case : Cases)
        ExpectPoint(MatrixTransformPoint(MirrorTransform(Case.Choice, Case.Offset), {1, 2, 3}), Case.Expected);
}

TEST(TransformDialogs, UnitPresetsWriteTheirFactorsInFull) {
    const char* Texts[] = {"1000", "0.001", "3.2808399", "0.0032808399", "0.304799999536704", "304.799999536704"};
    ASSERT_EQ(ScalePresets.size(), std::size(Texts));
    for (std::size_t I = 0; I < ScalePresets.size(); ++I)
        EXPECT_EQ(ScaleFactorText(ScalePresets[I].Factor), Texts[I]) << ScalePresets[I].Caption;
    EXPECT_STREQ(ScalePresets[4].Caption, "Feet to Metres");
}

}  // namespace
}  // namespace sarnova
