// The arithmetic of the shading controller: clamps, rows and values, ticks and the band's colours,
// including the scales without height and the zero-centred halves that end at 0.
#include "entities/ShadingControllerScale.h"

#include <gtest/gtest.h>

namespace sarnova::test {
namespace {

const TColor Blue = 0xFF0000;
const TColor Red = 0x0000FF;

// Rows 10 (top) to 110 (bottom), the zero row half way.
TShadingScale Scale(double Min, double Max, TShadingMethod Method = smLinear) {
    TShadingScale S;
    S.Min = Min;
    S.Max = Max;
    S.ResetClipping();
    S.Method = Method;
    S.Top = 10;
    S.Bottom = 110;
    S.Zero = 60;
    return S;
}

std::vector<double> TickValues(const TShadingScale& S) {
    std::vector<double> V;
    for (const TShadingTick& T : S.Ticks()) V.push_back(T.Value);
    return V;
}

TEST(ShadingScale, TheDefaultScaleTicksEveryTwentyOnItsRows) {
    const TShadingScale S = Scale(-100, 100);
    EXPECT_EQ(S.Step(), 20);
    const auto Ticks = S.Ticks();
    ASSERT_EQ(Ticks.size(), 11u);
    for (std::size_t I = 0; I < Ticks.size(); ++I) {
        EXPECT_DOUBLE_EQ(Ticks[I].Value, -100 + 20.0 * double(I));
        EXPECT_EQ(Ticks[I].Y, 110 - 10 * int(I));
    }
    EXPECT_EQ(Ticks[0].Label, "-100");
    EXPECT_EQ(Ticks[5].Label, "0");
    // Small steps are labelled without rounding noise.
    EXPECT_EQ(Scale(0, 2).Ticks()[3].Label, "0.6");

    // The zero-centred scale: the ticks above 0, then from Min up to 0.
    const TShadingScale Z = Scale(-40, 100, smZeroCentred);
    EXPECT_EQ(TickValues(Z), (std::vector<double>{0, 20, 40, 60, 80, 100, -40, -20, 0}));
    EXPECT_EQ(Z.Ticks()[5].Y, 10);
    EXPECT_EQ(Z.Ticks()[6].Y, 110);
}

TEST(ShadingScale, ClampsKeepTheLimitsInOrder) {
    struct TCase {
        TShadingMethod Method;
        bool Upper;
        double X, Expected;
    };
    // Clipping limits -50 and 50 on the scale -100 .. 100.
    const TCase Cases[] = {
        {smLinear, true, 150, 100},      {smLinear, true, -80, -50},     {smLinear, true, 20, 20},
        {smLinear, false, -150, -100},   {smLinear, false, 80, 50},      {smLinear, false, -20, -20},
        {smZeroCentred, true, -80, 0},   {smZeroCentred, true, 150, 100}, {smZeroCentred, true, 70, 70},
        {smZeroCentred, false, 80, 0},   {smZeroCentred, false, -150, -100}, {smZeroCentred, false, -70, -70},
    };
    for (const TCase& C : Cases) {
        TShadingScale S = Scale(-100, 100, C.Method);
        S.ClippingMin = -50;
        S.ClippingMax = 50;
        EXPECT_EQ(C.Upper ? S.ClampClippingMax(C.X) : S.ClampClippingMin(C.X), C.Expected)
            << C.Method << " " << C.Upper << " " << C.X;
    }
}

TEST(ShadingScale, RowsAndValuesConvertBothWays) {
    const TShadingScale L = Scale(-100, 100);
    EXPECT_EQ(L.ValueToY(0), 60);
    EXPECT_EQ(L.ValueToY(100), 10);
    EXPECT_DOUBLE_EQ(L.YToValue(35), 50);
    // Truncated towards zero.
    EXPECT_EQ(L.ValueToY(-99), 109);

    const TShadingScale Z = Scale(-50, 100, smZeroCentred);
    EXPECT_EQ(Z.ValueToY(50), 35);
    EXPECT_EQ(Z.ValueToY(-25), 85);
    EXPECT_DOUBLE_EQ(Z.YToValue(35), 50);
    EXPECT_DOUBLE_EQ(Z.YToValue(85), -25);
}

TEST(ShadingScale, RowsOutsideTheClippingLimitsTakeTheEndColours) {
    TShadingScale L = Scale(-100, 100);
    L.ClippingMin = -50;
    L.ClippingMax = 50;
    EXPECT_EQ(L.RowColour(20), Red);
    EXPECT_EQ(L.RowColour(100), Blue);
    EXPECT_EQ(L.RowColour(60), ColorHLSToRGB(80, 120, 240));
    // The linear band is the hue ramp whatever the model.
    L.Model = ciRYB;
    EXPECT_EQ(L.RowColour(60), ColorHLSToRGB(80, 120, 240));

    TShadingScale Z = Scale(-100, 100, smZeroCentred);
    Z.ClippingMin = -50;
    Z.ClippingMax = 50;
    EXPECT_EQ(Z.RowColour(20), clWhite);
    EXPECT_EQ(Z.RowColour(100), clBlack);
    Z.Model = ciRGB;
    EXPECT_EQ(Z.RowColour(20), Red);
    EXPECT_EQ(Z.RowColour(100), Blue);
}

TEST(ShadingScale, AScaleWithoutHeightHasOneTickAndOneColour) {
    // One pressure, and the range of an empty field, upside down.
    for (auto [Min, Max] : {std::pair{5.0, 5.0}, std::pair{1.7e308, -1.7e308}}) {
        const TShadingScale S = Scale(Min, Max);
        ASSERT_EQ(S.Ticks().size(), 1u) << Min;
        EXPECT_EQ(S.Ticks()[0].Value, Min);
        EXPECT_EQ(S.RowColour(10), S.RowColour(110)) << Min;
    }
    // Ticks too far from 0 to count get one tick too.
    EXPECT_EQ(Scale(1e15, 1e15 + 1).Ticks().size(), 1u);
    // Limits dragged together.
    TShadingScale Together = Scale(-100, 100);
    Together.ClippingMin = Together.ClippingMax = 0;
    EXPECT_EQ(Together.RowColour(60), Blue);
    EXPECT_EQ(Together.RowColour(20), Red);

    // Zero-centred halves ending at 0, and an upper limit dragged down to 0.
    for (auto [Min, Max] : {std::pair{0.0, 100.0}, std::pair{-100.0, 0.0}}) {
        TShadingScale Z = Scale(Min, Max, smZeroCentred);
        for (const TShadingTick& T : Z.Ticks()) {
            if (T.Value == 0) {
                EXPECT_EQ(T.Y, 60);
            }
        }
        EXPECT_EQ(Z.ValueToY(0), 60);
        Z.ClippingMax = 0;
        for (int Y = 10; Y <= 110; Y += 10) EXPECT_NO_THROW(Z.RowColour(Y)) << Min << " " << Y;
        EXPECT_EQ(Z.RowColour(60), RGBColor(127, 127, 127));
    }
}

}  // namespace
}  // namespace sarnova::test
