#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/ColorNames.h"
#include "foundation/Errors.h"

using namespace sarnova;

namespace {

struct RampCase {
    TColorInterpolationMode Mode;
    double Min, Max, Value;
    TColor Expected;
};

}  // namespace

TEST(ZeroCentredColor, MapsEachModeFromMinThroughZeroToMax) {
    const auto Mode7 = static_cast<TColorInterpolationMode>(7);
    const RampCase cases[] = {
        {ciRGB, -1, 2, 0, RGBColor(0, 255, 0)},
        {ciRGB, -1, 2, 2, RGBColor(255, 0, 0)},
        {ciRGB, -1, 2, -1, RGBColor(0, 0, 255)},
        {ciRGB, -1, 2, 3, RGBColor(255, 0, 0)},
        {ciRGB, -1, 2, -5, RGBColor(0, 0, 255)},
        {ciRGB, -1, 2, 1, RGBColor(127, 128, 0)},      // 127.5 truncated, not rounded
        {ciRGB, -4, 1, -1, RGBColor(0, 192, 63)},      // lower half scales by Min
        {ciRGB, -1, 1, 0.999, RGBColor(254, 1, 0)},    // 254.745 truncated
        {ciRGB, -1, 1, 0.99999999999, RGBColor(255, 0, 0)},  // 254.99999999... is 255 as a float
        {Mode7, -1, 2, 0, RGBColor(0, 255, 0)},
        {Mode7, -1, 2, 1, RGBColor(127, 128, 0)},
        {ciMono, -1, 1, 0, RGBColor(127, 127, 127)},
        {ciMono, -1, 1, 1, RGBColor(254, 254, 254)},
        {ciMono, -1, 1, 1.5, RGBColor(255, 255, 255)},
        {ciMono, -1, 1, -1, RGBColor(0, 0, 0)},
        {ciMono, -1, 1, -0.5, RGBColor(63, 63, 63)},
        {ciMono, -1, 1, -2, RGBColor(0, 0, 0)},
        {ciRYB, -1, 1, 0, RGBColor(255, 255, 0)},
        {ciRYB, -1, 1, 1, RGBColor(255, 0, 0)},
        {ciRYB, -1, 1, -1, RGBColor(0, 0, 255)},
        {ciRYB, -1, 1, -0.5, RGBColor(128, 128, 127)},
        {ciHSL, -1, 1, 0, RGBColor(0, 255, 0)},
        {ciHSL, -1, 1, 1, RGBColor(255, 0, 0)},
        {ciHSL, -1, 1, -1, RGBColor(0, 0, 255)},
        {ciHSL, -1, 1, 0.5, RGBColor(255, 255, 0)},    // hue 40
        {ciHSL, -1, 1, -0.5, RGBColor(0, 255, 255)},   // hue 120
        {ciHSL, -1, 1, 7, RGBColor(255, 0, 0)},
    };
    for (const RampCase& c : cases)
        EXPECT_EQ(ZeroCentredColor(c.Mode, c.Min, c.Max, c.Value), c.Expected)
            << "mode " << int(c.Mode) << " value " << c.Value;
}

TEST(ZeroCentredColor, RefusesAnEmptyUpperHalfAndNaN) {
    for (auto Mode : {ciMono, ciRGB, ciHSL, ciRYB}) {
        try {
            ZeroCentredColor(Mode, -1, 0, 0);
            ADD_FAILURE() << "mode " << int(Mode) << " accepted Max = 0";
        } catch (const EError& E) {
            EXPECT_STREQ(E.what(), "ZeroCentredColor - Max must not be 0");
        }
        // Below zero Max is not needed, and above it the end colour holds.
        EXPECT_NO_THROW(ZeroCentredColor(Mode, -1, 0, -0.5));
        EXPECT_NO_THROW(ZeroCentredColor(Mode, -1, 0, 1));
        EXPECT_THROW(ZeroCentredColor(Mode, -1, 1, std::nan("")), EConvertError);
    }
}

TEST(LinearHueColor, RunsFromBlueAtMinToRedAtMax) {
    const struct {
        double Min, Max, Value;
        TColor Expected;
    } cases[] = {
        {0, 4, -1, RGBColor(0, 0, 255)},  {0, 4, 5, RGBColor(255, 0, 0)},
        {0, 4, 0, RGBColor(0, 0, 255)},   {0, 4, 4, RGBColor(255, 0, 0)},
        {0, 4, 2, RGBColor(0, 255, 0)},   {0, 4, 1, RGBColor(0, 255, 255)},
        {0, 4, 3, RGBColor(255, 255, 0)}, {-2, 2, 0.5, RGBColor(128, 255, 0)},  // hue 60
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinearHueColor(c.Min, c.Max, c.Value), c.Expected) << c.Value;

    EXPECT_EQ(LinearHueColor(1, 1, 0), RGBColor(0, 0, 255));
    EXPECT_EQ(LinearHueColor(1, 1, 2), RGBColor(255, 0, 0));
    try {
        LinearHueColor(1, 1, 1);
        ADD_FAILURE() << "Min = Max accepted";
    } catch (const EError& E) {
        EXPECT_STREQ(E.what(), "LinearHueColor - Min and Max must differ");
    }
    EXPECT_THROW(LinearHueColor(0, 1, std::nan("")), EConvertError);
}

TEST(ColorHLSToRGB, FollowsTheWindowSystemScale) {
    const struct {
        int H, L, S;
        TColor Expected;
    } cases[] = {
        {0, 120, 240, RGBColor(255, 0, 0)},     {80, 120, 240, RGBColor(0, 255, 0)},
        {160, 120, 240, RGBColor(0, 0, 255)},   {200, 120, 240, RGBColor(255, 0, 255)},
        {240, 120, 240, RGBColor(255, 0, 0)},   {0, 120, 0, RGBColor(127, 127, 127)},
        {0, 240, 0, RGBColor(255, 255, 255)},   {0, 0, 240, RGBColor(0, 0, 0)},
        {0, 180, 240, RGBColor(255, 128, 128)}, {0, 60, 120, RGBColor(96, 32, 32)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorHLSToRGB(c.H, c.L, c.S), c.Expected) << c.H << " " << c.L << " " << c.S;
    EXPECT_THROW(ColorHLSToRGB(241, 120, 240), EError);
    EXPECT_THROW(ColorHLSToRGB(0, -1, 240), EError);
}

TEST(ColorNameToColor, FindsTheTwentyNamesInAnyCase) {
    const std::pair<const char*, TColor> found[] = {
        {"skyblue", RGBColor(166, 202, 240)}, {"MedGray", RGBColor(160, 160, 164)},
        {"BLACK", RGBColor(0, 0, 0)},         {"Cream", RGBColor(255, 251, 240)},
        {"moneygreen", RGBColor(192, 220, 192)}, {"Fuchsia", RGBColor(255, 0, 255)},
        {"maroon", RGBColor(128, 0, 0)},      {"Teal", RGBColor(0, 128, 128)},
    };
    for (auto [Name, Expected] : found) {
        TColor C = clNone;
        EXPECT_TRUE(ColorNameToColor(Name, C)) << Name;
        EXPECT_EQ(C, Expected) << Name;
    }
    for (const char* Name : {"Orange", "", "clRed", "Red "}) {
        TColor C = 12345;
        EXPECT_FALSE(ColorNameToColor(Name, C)) << Name;
        EXPECT_EQ(C, 12345) << Name;
    }
}

TEST(ColorText, WritesConstantNamesElseHexAndReadsBoth) {
    const std::pair<TColor, const char*> cases[] = {
        {clRed, "clRed"},           {clSkyBlue, "clSkyBlue"},   {clBtnFace, "clBtnFace"},
        {clWindowText, "clWindowText"}, {clNone, "clNone"},     {clDefault, "clDefault"},
        {cl3DLight, "cl3DLight"},   {RGBColor(1, 2, 3), "$00030201"},
        {-1, "$FFFFFFFF"},          {static_cast<TColor>(0xFF000019u), "$FF000019"},
    };
    for (auto [Color, Text] : cases) {
        EXPECT_EQ(ColorToString(Color), Text);
        EXPECT_EQ(StringToColor(Text), Color) << Text;
    }
}

TEST(ColorText, ReadsNamesInAnyCaseAndIntegers) {
    const std::pair<const char*, TColor> cases[] = {
        {"CLRED", clRed},         {"clwindow", clWindow},   {"$00ff0000", clBlue},
        {"255", clRed},           {"-16777201", clBtnFace}, {"0x0000FF00", clLime},
        {"+16", 16},              {"-$10", -16},            {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<TColor>::min()},  {"$000000000FF", clRed},
    };
    for (auto [Text, Expected] : cases) EXPECT_EQ(StringToColor(Text), Expected) << Text;
}

TEST(ColorText, RefusesTextThatIsNoColour) {
    for (const char* Text : {"Red", "", "$", "-", "0x", "12a", " 12", "$1FFFFFFFF", "2147483648",
                             "-2147483649", "clOrange", "cl"}) {
        try {
            StringToColor(Text);
            ADD_FAILURE() << "accepted '" << Text << "'";
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.what(), "'" + std::string(Text) + "' is not a valid integer value");
        }
    }
}
