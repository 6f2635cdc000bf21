#include "foundation/NumberText.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <clocale>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <locale>
#include <random>
#include <string>

#include "foundation/Errors.h"

namespace sarnova {
namespace {

const double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

struct TFormatCase {
    const char* Fmt;
    double Value;
    const char* Expected;
};

TEST(Format, RealsFollowTheRuntimeRules) {
    const TFormatCase Cases[] = {
        // "%g": 15 significant digits, no trailing zeros, fixed while the exponent is in -3 .. 15.
        {"%g", 1.5, "1.5"},
        {"%g", 100.0, "100"},
        {"%g", 0.1 + 0.2, "0.3"},
        {"%g", 1.0 / 3.0, "0.333333333333333"},
        {"%g", 2.0 / 3.0, "0.666666666666667"},
        {"%g", -2.5, "-2.5"},
        {"%g", 0.0, "0"},
        {"%g", -0.0, "0"},
        {"%g", 0.0001, "0.0001"},
        {"%g", 0.00001, "1E-005"},
        {"%g", 123456789012345.0, "123456789012345"},
        {"%g", 999999999999999.0, "999999999999999"},
        {"%g", 1e15, "1E015"},
        {"%g", 1234567890123456789.0, "1.23456789012346E018"},
        {"%g", -1.25e-20, "-1.25E-020"},
        {"%g", 9.9999999999999999e22, "1E023"},
        // "%f": two decimals without a precision; decimal ties go away from zero.
        {"%f", 3.14159, "3.14"},
        {"%f", 2.0, "2.00"},
        {"%f", -0.001, "0.00"},
        {"%f", 0.125, "0.13"},
        {"%f", -0.125, "-0.13"},
        {"%f", 2.675, "2.67"},  // the double lies below the tie
        {"%.0f", 0.5, "1"},
        {"%.0f", 2.5, "3"},
        {"%.0f", 0.4, "0"},
        {"%.3f", 999.9996, "1000.000"},
        {"%0.6f", 1e-7, "0.000000"},
        {"%0.6f", 6e-7, "0.000001"},
        {"%5.2f", 3.14159, " 3.14"},
        {"%10.3f", 1.5, "     1.500"},
        {"%10.3f", -1.5, "    -1.500"},
        {"%10.3f", -12345678.9, "-12345678.900"},  // grows rather than cut
        {"%10.6f", 1.0 / 3.0, "  0.333333"},
        {"%10.6f", -123.25, "-123.250000"},
        {"%-8.2f|", 1.5, "1.50    |"},
        {"%10.3f", Inf, "       INF"},
        {"%f", -Inf, "-INF"},
        {"%g", NaN, "NAN"},
        // "%e": 15 digits, exponent with sign and at least three digits.
        {"%e", 1.5, "1.50000000000000E+000"},
        {"%.3e", -12345.0, "-1.23E+004"},
        {"%.3e", 0.0, "0.00E+000"},
        // "%n": thousands separated by ",".
        {"%n", 1234567.891, "1,234,567.89"},
        {"%.0n", -999.5, "-1,000"},
    };
    for (const auto& C : Cases) EXPECT_EQ(Format(C.Fmt, {C.Value}), C.Expected) << C.Fmt << " " << C.Value;
}

TEST(Format, IntegersTextsAndLayout) {
    EXPECT_EQ(Format("%d", {42}), "42");
    EXPECT_EQ(Format("%5d|%-5d|", {-42, 7}), "  -42|7    |");
    EXPECT_EQ(Format("%.3d", {-5}), "-005");
    EXPECT_EQ(Format("%8d", {1234567890123LL}), "1234567890123");
    EXPECT_EQ(Format("%x %8.8x %X", {255, 255, -1}), "FF 000000FF FFFFFFFF");
    EXPECT_EQ(Format("%u", {-1}), "4294967295");
    EXPECT_EQ(Format("%s|%5s|%-5s|%.2s", {"abc", "ab", std::string("ab"), "abcdef"}), "abc|   ab|ab   |ab");
    EXPECT_EQ(Format("%s%s", {'x', std::string_view("y")}), "xy");
    EXPECT_EQ(Format("%3s|", {"\xC3\xA9"}), "  \xC3\xA9|");  // width counts characters, not bytes
    EXPECT_EQ(Format("%d%%", {50}), "50%");
    EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
    EXPECT_EQ(Format("%*d|%.*f", {5, 42, 1, 2.25}), "   42|2.3");
    EXPECT_EQ(Format("%f %g", {2, 3}), "2.00 3");  // integers are accepted as reals
    EXPECT_EQ(Format("%10.3f %10.3f %10.3f", {1.0, -2.5, 1234.5678}), "     1.000     -2.500   1234.568");
    EXPECT_EQ(Format("no arguments"), "no arguments");
}

TEST(Format, RefusesBadSpecifiersAndMissingArguments) {
    const auto Message = [](const char* Fmt, std::initializer_list<TFormatArg> Args) {
        try {
            Format(Fmt, Args);
        } catch (const EConvertError& E) {
            return std::string(E.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(Message("%d", {1.5}), "Format '%d' invalid or incompatible with argument");
    EXPECT_EQ(Message("%f", {"text"}), "Format '%f' invalid or incompatible with argument");
    EXPECT_EQ(Message("%s", {3}), "Format '%s' invalid or incompatible with argument");
    EXPECT_EQ(Message("%q", {3}), "Format '%q' invalid or incompatible with argument");
    EXPECT_EQ(Message("50%", {}), "Format '50%' invalid or incompatible with argument");
    EXPECT_EQ(Message("%99999999d", {1}), "Format '%99999999d' invalid or incompatible with argument");
    EXPECT_EQ(Message("%d %d", {1}), "No argument for format '%d %d'");
    EXPECT_EQ(Message("%5:d", {1}), "No argument for format '%5:d'");
}

// FloatToStr takes a short cut from the shortest text of a value; it must write what the general
// format with 15 digits writes, also at the edges of the plain form, for values whose shortest text
// has 16 or 17 digits, and for subnormal values.
TEST(FloatToStrF, FloatToStrWritesTheGeneralFormat) {
    const double Cases[] = {0.0,       -0.0,          1e-4,      9.99999999999999e-5, 1e15,    999999999999999.0,
                            1e14,      0.1,           0.3,       1.0 / 3,             2.0 / 3, 123456.789012345678,
                            -2.5e-300, 1.7976931348623157e308, 4.9406564584124654e-324, 2.2250738585072014e-308,
                            -1e100,    100.0,         1234567.0, 0.000123456789012345,
                            // Rounding to 15 digits carries into a new leading digit, also across a form.
                            0.9999999999999999, -99999.99999999999, 9.999999999999999e14, 9.9999999999999999e-5};
    for (double V : Cases) {
        EXPECT_EQ(FloatToStr(V), FloatToStrF(V, ffGeneral, 15, 0)) << V;
        std::string Appended = "x";
        AppendFloatTextWithPoint(Appended, V);
        EXPECT_EQ(Appended, "x" + FloatToStr(V)) << V;
    }
}

TEST(FloatToStrF, FormatsOfTheClassLibrary) {
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(FloatToStr(0.0001), "0.0001");
    EXPECT_EQ(FloatToStr(1.5), "1.5");
    EXPECT_EQ(FloatToStr(-1e-20), "-1E-20");
    EXPECT_EQ(FloatToStrF(2.0, ffFixed, 10, 3), "2.000");
    EXPECT_EQ(FloatToStrF(12345678.0, ffFixed, 7, 2), "1.234568E07");  // more digits than the precision
    EXPECT_EQ(FloatToStrF(1.5, ffExponent, 15, 4), "1.50000000000000E+0000");
    EXPECT_EQ(FloatToStrF(0.000123, ffGeneral, 2, 2), "0.00012");
    EXPECT_EQ(FloatToStrF(1234.0, ffGeneral, 2, 2), "1.2E03");
}

// What no reader takes back is refused by the writers of files; Format itself, for the screen, still
// shows it.
TEST(FormatWithPoint, RefusesRealsThatAreNotFinite) {
    const std::pair<double, const char*> Cases[] = {
        {NAN, "Cannot write NAN: not a finite number"},
        {INFINITY, "Cannot write INF: not a finite number"},
        {-INFINITY, "Cannot write -INF: not a finite number"},
    };
    for (auto [Value, Message] : Cases) {
        for (const auto& Write : {std::function<void()>([&] { FormatWithPoint("%10.3f %10.3f", {1.0, Value}); }),
                                  std::function<void()>([&] { FloatToStrWithPoint(Value); })}) {
            try {
                Write();
                ADD_FAILURE() << Message;
            } catch (const EConvertError& E) {
                EXPECT_STREQ(E.what(), Message);
            }
        }
    }
    EXPECT_EQ(FormatWithPoint("%d %s %.1f", {3, "x", 2.5}), "3 x 2.5");
    EXPECT_EQ(FloatToStrWithPoint(-0.25), "-0.25");
    EXPECT_EQ(Format("%f", {NAN}), "NAN");
}

TEST(FormatDefaultReal, TwentyThreeCharacterScientificText) {
    EXPECT_EQ(FormatDefaultReal(1.5), " 1.50000000000000E+0000");
    EXPECT_EQ(FormatDefaultReal(10.0), " 1.00000000000000E+0001");
    EXPECT_EQ(FormatDefaultReal(0.0), " 0.00000000000000E+0000");
    EXPECT_EQ(FormatDefaultReal(-0.015), "-1.50000000000000E-0002");
    EXPECT_EQ(FormatDefaultReal(Inf), "                   +Inf");
}

TEST(Format, GeneralTextReadsBackToTheSameValue) {
    std::mt19937_64 Random(7);
    std::uniform_real_distribution<double> Mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> Exponent(-30, 30);
    for (int I = 0; I < 2000; ++I) {
        const double X = Mantissa(Random) * std::pow(10.0, Exponent(Random));
        const std::string Text = Format("%g", {X});
        EXPECT_NEAR(ParseFloat(Text), X, std::fabs(X) * 1e-14) << Text;
        EXPECT_EQ(Text.find(','), std::string::npos);
    }
}

// The document writer's coordinates: exactly the bytes of "%10.3f", decimal ties included.
TEST(AppendFixed, WritesWhatFormatWrites) {
    const TFormatCase Cases[] = {
        {"%10.3f", 0.0195, "     0.020"},   // just below the tie in binary, a tie at 18 digits: up
        {"%10.3f", -0.0195, "    -0.020"},
        {"%10.3f", 0.0625, "     0.063"},   // an exact tie goes away from zero
        {"%10.3f", 1.0005, "     1.000"},   // below the tie even at 18 digits
        {"%10.3f", -0.0004, "     0.000"},  // a value that rounds to zero has no sign
        {"%10.3f", -0.0, "     0.000"},
        {"%10.3f", -0.0005, "    -0.001"},
        {"%10.3f", 999.9996, "  1000.000"},
        {"%10.3f", -12345678.9, "-12345678.900"},
        {"%10.3f", 123456789012.25, "123456789012.250"},  // past the quick range
        {"%10.3f", 1e20, "     1E020"},
        {"%4.0f", 2.5, "   3"},
        {"%12.9f", -1.0 / 3.0, "-0.333333333"},
    };
    for (const auto& C : Cases) {
        int Width = 0, Decimals = 0;
        std::sscanf(C.Fmt, "%%%d.%df", &Width, &Decimals);
        std::string Out = "x";
        AppendFixed(Out, C.Value, Width, Decimals);
        EXPECT_EQ(Out, std::string("x") + C.Expected) << C.Fmt << " " << C.Value;
        EXPECT_EQ(Format(C.Fmt, {C.Value}), C.Expected) << C.Fmt << " " << C.Value;
    }
    // A file never gets a number no reader takes back.
    for (const double Bad : {Inf, -Inf, std::nan("")}) {
        std::string Out;
        EXPECT_THROW(AppendFixed(Out, Bad, 10, 3), EConvertError) << Bad;
    }
}

// Away from decimal ties both roundings agree with the C library's exact one.
TEST(AppendFixed, AgreesWithExactRoundingAwayFromTies) {
    std::mt19937_64 Random(11);
    std::uniform_real_distribution<double> Mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> Exponent(-4, 9);
    int Compared = 0;
    for (int I = 0; I < 200000; ++I) {
        const double X = Mantissa(Random) * std::pow(10.0, Exponent(Random));
        const double Scaled = std::fabs(X) * 1000;
        if (std::fabs(Scaled - std::floor(Scaled) - 0.5) < 1e-5) continue;
        char Expected[64];
        std::snprintf(Expected, sizeof Expected, "%10.3f", X);
        std::string Text = Expected;
        if (Text.find("-0.000") != std::string::npos) Text = "     0.000";
        std::string Out;
        AppendFixed(Out, X, 10, 3);
        ASSERT_EQ(Out, Text) << X;
        ++Compared;
    }
    EXPECT_GT(Compared, 190000);
}

// Short decimals take a quicker way than other numbers; they must come out as the correctly rounded
// conversion gives them, to the last bit and with the sign of a negative zero.
TEST(TryStrToFloat, ShortDecimalsAsTheFullConversionGivesThem) {
    std::mt19937_64 Random(7);
    std::uniform_int_distribution<int> Digits(1, 16), Point(0, 16), Digit(0, 9), Sign(0, 1);
    for (int I = 0; I < 200000; ++I) {
        std::string Text = Sign(Random) ? "-" : "";
        const int N = Digits(Random), P = Point(Random);
        for (int K = 0; K < N; ++K) {
            if (K == P && K > 0) Text += '.';
            Text += static_cast<char>('0' + Digit(Random));
        }
        double Expected = 0, Value = 1;
        std::from_chars(Text.data(), Text.data() + Text.size(), Expected);
        ASSERT_TRUE(TryStrToFloat(Text, Value)) << Text;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(Value), std::bit_cast<std::uint64_t>(Expected)) << Text;
    }
    struct TCase {
        const char* Text;
        bool Scanned;
        const char* Rest;
    };
    // What the quick scan takes and where it stops; the rest goes the general way.
    for (const TCase& C : {TCase{"-0.000", true, ""}, TCase{"123456789012345", true, ""}, TCase{"1234567890123456", false, ""},
                           TCase{"0.00000000000001", true, ""}, TCase{"1.5e3", true, "e3"}, TCase{"2.", false, ""},
                           TCase{".5", false, ""}, TCase{"-", false, ""}, TCase{"+1", false, ""}, TCase{"7 8", true, " 8"}}) {
        const char* P = C.Text;
        double Value = 0;
        EXPECT_EQ(ScanShortDecimal(P, C.Text + std::strlen(C.Text), Value), C.Scanned) << C.Text;
        if (C.Scanned) {
            EXPECT_STREQ(P, C.Rest) << C.Text;
        } else {
            EXPECT_EQ(P, C.Text) << C.Text;
        }
    }
    double Zero = 0;
    ASSERT_TRUE(TryStrToFloat("-0.000", Zero));
    EXPECT_TRUE(std::signbit(Zero));
}

struct TParseCase {
    const char* Text;
    double Expected;
};

TEST(ParseFloat, AcceptsCommaAndPoint) {
    const TParseCase Cases[] = {
        {" 3,25 ", 3.25}, {"3.25", 3.25}, {"1e5", 100000.0}, {"-.5", -0.5}, {"+2.", 2.0},
        {"1,5E-3", 0.0015}, {"\t12\r", 12.0}, {"1e-400", 0.0}, {"007", 7.0},
    };
    for (const auto& C : Cases) EXPECT_DOUBLE_EQ(ParseFloat(C.Text), C.Expected) << C.Text;
}

TEST(ParseFloat, RefusesWhatIsNoNumber) {
    const std::pair<const char*, const char*> Cases[] = {
        {"abc", "Unable to convert string to number (abc)"},
        {"1,234,5", "Unable to convert string to number (1.234.5)"},
        {"", "Unable to convert string to number ()"},
        {" 1 2 ", "Unable to convert string to number ( 1 2 )"},
        {"1e", "Unable to convert string to number (1e)"},
        {"1e400", "Unable to convert string to number (1e400)"},
        {".", "Unable to convert string to number (.)"},
        {"inf", "Unable to convert string to number (inf)"},
        {"nan", "Unable to convert string to number (nan)"},
        {"0x10", "Unable to convert string to number (0x10)"},
        {"--1", "Unable to convert string to number (--1)"},
    };
    for (auto [Text, Message] : Cases) {
        try {
            ParseFloat(Text);
            ADD_FAILURE() << Text << " was accepted";
        } catch (const EConvertError& E) {
            EXPECT_STREQ(E.what(), Message);
        }
    }
}

TEST(StrToInt, ClassLibraryIntegers) {
    const std::pair<const char*, int> Cases[] = {
        {"12", 12}, {" -7", -7}, {"+3", 3}, {"$FF", 255}, {"0x10", 16}, {"$FFFFFFFF", -1},
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
    };
    for (auto [Text, Value] : Cases) EXPECT_EQ(StrToInt(Text), Value) << Text;
    for (const char* Bad : {"2147483648", "12 ", "", "abc", "1.5", "-", "$", "- 1", "+-1"}) {
        try {
            StrToInt(Bad);
            ADD_FAILURE() << Bad << " was accepted";
        } catch (const EConvertError& E) {
            EXPECT_EQ(E.what(), "'" + std::string(Bad) + "' is not a valid integer value");
        }
    }
    EXPECT_THROW(StrToFloat("2,5"), EConvertError);
    EXPECT_DOUBLE_EQ(StrToFloat(" 2.5 "), 2.5);
}

TEST(RealsToIntegers, TruncateAndRound) {
    EXPECT_EQ(TruncSingle(2.7), 2);
    EXPECT_EQ(TruncSingle(-2.7), -2);
    EXPECT_EQ(TruncSingle(2.9999999), 3);          // single precision holds 3
    EXPECT_EQ(TruncSingle(16777217.0), 16777216);  // and no odd integer beyond 2^24
    EXPECT_EQ(TruncSingle(-2147483648.0), -2147483647 - 1);
    EXPECT_EQ(TruncToInteger(-2.9), -2);
    EXPECT_EQ(TruncToInteger(2147483647.9), 2147483647);
    EXPECT_EQ(RoundToInteger(-2147483648.5), -2147483647 - 1);
    const std::pair<double, int> Halves[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0},
                                             {1.5, 2}, {2.4999, 2}, {-0.6, -1}};
    for (auto [X, Expected] : Halves) EXPECT_EQ(RoundToInteger(X), Expected) << X;
}

TEST(RealsToIntegers, RefuseWhatHasNoInteger) {
    const auto Message = [](auto Routine, double X) {
        try {
            Routine(X);
        } catch (const EConvertError& E) {
            return std::string(E.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(Message(TruncSingle, NaN), "TruncSingle - Unable to convert NAN to an integer");
    EXPECT_EQ(Message(TruncSingle, -Inf), "TruncSingle - Unable to convert -INF to an integer");
    EXPECT_EQ(Message(TruncSingle, 3e9), "TruncSingle - Unable to convert 3000000000 to an integer");
    // 2147483647 becomes 2^31 in single precision.
    EXPECT_EQ(Message(TruncSingle, 2147483647.0), "TruncSingle - Unable to convert 2147483647 to an integer");
    EXPECT_EQ(Message(TruncSingle, 1e300), "TruncSingle - Unable to convert 1E300 to an integer");
    EXPECT_EQ(Message(TruncToInteger, 2147483648.0), "TruncToInteger - Unable to convert 2147483648 to an integer");
    EXPECT_EQ(Message(RoundToInteger, Inf), "RoundToInteger - Unable to convert INF to an integer");
    EXPECT_EQ(Message(RoundToInteger, -2147483649.5), "RoundToInteger - Unable to convert -2147483649.5 to an integer");
}

TEST(IsWholeNumber, ThroughSinglePrecisionTruncation) {
    EXPECT_TRUE(IsWholeNumber(3.0));
    EXPECT_TRUE(IsWholeNumber(2.9999999));
    EXPECT_TRUE(IsWholeNumber(3.000001));
    EXPECT_TRUE(IsWholeNumber(-4.0));
    EXPECT_FALSE(IsWholeNumber(2.99));
    EXPECT_FALSE(IsWholeNumber(-0.9999));
    EXPECT_FALSE(IsWholeNumber(NaN));
    EXPECT_FALSE(IsWholeNumber(1e20));
}

// Switches the C and C++ locales for one test and puts them back.
class TLocaleGuard {
public:
    TLocaleGuard() : FC(std::setlocale(LC_ALL, nullptr)), FCpp(std::locale()) {}
    ~TLocaleGuard() {
        std::setlocale(LC_ALL, FC.c_str());
        std::locale::global(FCpp);
    }
    // A locale that writes numbers with a ","; false when the machine has none.
    bool UseCommaLocale() {
        for (const char* Name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "ru_RU.UTF-8", "de_DE"}) {
            if (!std::setlocale(LC_ALL, Name)) continue;
            if (LocaleDecimalSeparator() != ',') continue;
            try {
                std::locale::global(std::locale(Name));
            } catch (const std::runtime_error&) {
            }
            return true;
        }
        return false;
    }

private:
    std::string FC;
    std::locale FCpp;
};

TEST(NumberTexts, CommaLocaleStillWritesPoints) {
    TLocaleGuard Guard;
    if (!Guard.UseCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma on this machine";
    EXPECT_EQ(FormatWithPoint("%5.2f", {3.14159}), " 3.14");
    EXPECT_EQ(FormatWithPoint("%g %e", {2.5, 2.5}), "2.5 2.50000000000000E+000");
    EXPECT_EQ(FloatToStr(0.5), "0.5");
    EXPECT_TRUE(IsNumber("2,5"));
    EXPECT_TRUE(IsNumber("2.5"));
    EXPECT_DOUBLE_EQ(ParseFloat("2,5"), 2.5);
    std::string Text = "1,5;2,5";
    ToPointDecimal(Text);
    EXPECT_EQ(Text, "1.5;2.5");
}

TEST(NumberTexts, PointLocaleTakesNoComma) {
    TLocaleGuard Guard;
    std::setlocale(LC_ALL, "C");
    EXPECT_FALSE(IsNumber("2,5"));
    EXPECT_TRUE(IsNumber(" 2.5 "));
    EXPECT_FALSE(IsNumber("abc"));
    std::string Text = "1,5";
    ToPointDecimal(Text);
    EXPECT_EQ(Text, "1,5");
}

TEST(FormatOptionalDecimals, DropsTrailingZerosAndRoundsHalfAway) {
    const struct {
        double Value;
        int Decimals;
        const char* Text;
    } Cases[] = {{2.5, 4, "2.5"},     {3, 4, "3"},       {-1.23456, 4, "-1.2346"}, {0.00004, 4, "0"},
                 {-0.00004, 4, "0"},  {0.0625, 3, "0.063"}, {-2.5, 0, "-3"},       {12.34, 3, "12.34"}};
    for (const auto& C : Cases) EXPECT_EQ(FormatOptionalDecimals(C.Value, C.Decimals), C.Text) << C.Value;
}

}  // namespace
}  // namespace sarnova
