// Number texts: the one place that decides how reals and integers become text and back.
// Every writer and reader of the program goes through here, so that files look the same on every
// machine: "." is always the decimal separator on output, whatever the C or C++ locale, and the
// formatting rules are those of the original runtime ("%g" = 15 significant digits, "%f" without a
// precision = 2 decimals, ties rounded away from zero on the decimal digits), not those of printf.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace sarnova {

// ---- Formatting ----

// One argument of Format. Integers, reals, texts and single characters convert implicitly, so a call
// reads FormatWithPoint("%10.3f %d %s", {X, Count, Name}). Texts are held by view: an argument lives
// only for the call it is written in.
class TFormatArg {
public:
    enum class TKind { Integer, Real, Text };

    TFormatArg(int Value) : FKind(TKind::Integer), FInteger(Value) {}
    TFormatArg(unsigned Value) : FKind(TKind::Integer), FInteger(Value) {}
    TFormatArg(long Value) : FKind(TKind::Integer), FInteger(Value) {}
    TFormatArg(unsigned long Value) : FKind(TKind::Integer), FInteger(static_cast<std::int64_t>(Value)) {}
    TFormatArg(long long Value) : FKind(TKind::Integer), FInteger(Value) {}
    TFormatArg(unsigned long long Value)
        : FKind(TKind::Integer), FInteger(static_cast<std::int64_t>(Value)) {}
    TFormatArg(double Value) : FKind(TKind::Real), FReal(Value) {}
    TFormatArg(float Value) : FKind(TKind::Real), FReal(Value) {}
    TFormatArg(char Value) : FKind(TKind::Text), FChar(Value), FText(&FChar, 1) {}
    TFormatArg(const char* Value) : FKind(TKind::Text), FText(Value ? Value : "") {}
    TFormatArg(const std::string& Value) : FKind(TKind::Text), FText(Value) {}
    TFormatArg(std::string_view Value) : FKind(TKind::Text), FText(Value) {}
    // A boolean matches no conversion; refusing it here keeps pointers from sneaking in as one.
    TFormatArg(bool) = delete;
    TFormatArg(const TFormatArg& Other) { *this = Other; }
    TFormatArg& operator=(const TFormatArg& Other);

    TKind Kind() const { return FKind; }
    std::int64_t Integer() const { return FInteger; }
    double Real() const { return FReal; }
    std::string_view Text() const { return FText; }

private:
    TKind FKind;
    std::int64_t FInteger = 0;
    double FReal = 0.0;
    char FChar = 0;
    std::string_view FText;
};

// The runtime's Format: "%" ["index:"] ["-"] [width] ["." precision] type, where index, width and
// precision may be "*" (taken from the next integer argument) and type is one of
//   d  integer; precision = minimum number of digits (zero padded after the sign)
//   u  integer as unsigned (32-bit when it fits 32 bits)
//   x  integer in upper-case hexadecimal; precision = minimum number of digits
//   e  real, scientific: precision = significant digits (default 15), exponent sign and >= 3 digits
//   f  real, fixed: precision = decimals (default 2)
//   g  real, general: shortest of fixed and scientific, precision = significant digits (default 15);
//      the scientific form has "-" only for negative exponents and >= 3 digits: "1E-005", "1E020"
//   n  real, fixed with "," between thousands: precision = decimals (default 2)
//   s  text or character; precision = maximum number of characters
// Width pads on the left with blanks ("-": on the right) and never cuts. "%%" is a "%". Integers are
// accepted for the real types. A missing argument raises EConvertError "No argument for format
// '<Fmt>'"; a bad specifier or an argument of the wrong kind raises EConvertError "Format '<Fmt>'
// invalid or incompatible with argument".
std::string Format(std::string_view Fmt, std::initializer_list<TFormatArg> Args = {});

// Format for a file, "." as decimal separator whatever the locale (as Format always writes). A real
// that is not finite, which no reader takes back, throws EConvertError "Cannot write NAN: not a
// finite number" ("INF", "-INF") instead of being written.
std::string FormatWithPoint(std::string_view Fmt, std::initializer_list<TFormatArg> Args = {});

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber };
// The class library's fifth float format. The program's locale has no currency symbol, so callers
// write it as ffNumber; FloatToStrF itself does not take it.
inline constexpr TFloatFormat ffCurrency = static_cast<TFloatFormat>(4);

// The runtime's FloatToStrF. The value is first rounded to Precision significant digits (at most 18).
//   ffGeneral: shortest form, no trailing zeros; fixed notation while the decimal exponent lies in
//              -3 .. Precision (0.0001 -> "0.0001", 0.00001 -> "1E-5"), else mantissa, "E", "-" for
//              a negative exponent and at least Digits exponent digits.
//   ffExponent: "d.ddd" with Precision digits in all, "E", the exponent's sign, at least Digits digits.
//   ffFixed:   at least one digit before the point and exactly Digits (0 .. 18) after it; values with
//              more than Precision digits before the point are written as ffGeneral.
//   ffNumber:  ffFixed with "," between groups of thousands.
// Infinities and NaN are written "INF", "-INF" and "NAN". A value that rounds to zero has no sign.
std::string FloatToStrF(double Value, TFloatFormat Fmt, int Precision, int Digits);

// Appends what Format("%<Width>.<Decimals>f", {Value}) writes, without building the text in
// pieces: the document writer calls it for every coordinate of a file. Like FormatWithPoint it
// refuses a value that is not finite.
void AppendFixed(std::string& Out, double Value, int Width, int Decimals);

// ffGeneral with 15 digits and no minimum exponent width: 1.5 -> "1.5", 1e20 -> "1E20".
std::string FloatToStr(double Value);
// FloatToStr for a file: a value that is not finite is refused as FormatWithPoint refuses it.
std::string FloatToStrWithPoint(double Value);
// FloatToStrWithPoint appended to Out, without a string of its own (exports write millions).
void AppendFloatTextWithPoint(std::string& Out, double Value);

// The runtime's default text of a real (what writing a real without a width gives): 23 characters,
// a blank or "-", "d.dddddddddddddd" (15 significant digits), "E", the exponent's sign and 4 digits:
// 1.5 -> " 1.50000000000000E+0000". Infinities and NaN are "+Inf", "-Inf", "Nan" right-aligned.
std::string FormatDefaultReal(double Value);

// The picture "0.##..." with MaxDecimals "#": at most that many decimals, rounded half away from
// zero, trailing zeros and a bare "." dropped, "." always; a value that rounds to zero is "0", never
// "-0". 2.50004 with 4 gives "2.5". Infinities and NaN as Format writes them.
std::string FormatOptionalDecimals(double Value, int MaxDecimals);

// Plain decimal text of an integer.
std::string IntToStr(std::int64_t Value);

// ---- Reading ----

// The decimal separator of the current C locale (what a user types numbers with).
char LocaleDecimalSeparator();

// When the locale's decimal separator is not ".", every occurrence of it in Text becomes ".".
void ToPointDecimal(std::string& Text);

// Strict conversion: optional blanks (any character up to " ") around an optional sign, digits with
// an optional "." fraction and an optional exponent ("E" or "e", optional sign, digits). At least one
// digit in the mantissa. Values beyond the double range fail; values too small to hold become 0.
bool TryStrToFloat(std::string_view Text, double& Value);

// The quick start of that conversion, for the numbers documents are made of: an optional "-", digits,
// and a "." followed by digits, fifteen digits at most, read from P on. True with the value (as the
// full conversion gives it) and P moved past the number; false, P unchanged, for a text that starts
// otherwise or holds more digits. What follows the number is left to the caller.
// Inline, for the readers that call it once a number.
inline bool ScanShortDecimal(const char*& Start, const char* End, double& Value) {
    // The digits make an integer that a double holds exactly, and one division by an exact power of
    // ten rounds once, so the value is the correctly rounded one.
    constexpr double ExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    auto IsDigit = [](char C) { return static_cast<unsigned char>(C - '0') <= 9; };
    const char* P = Start;
    // Signs come in no order: counted rather than branched on.
    const bool Negative = P < End && *P == '-';
    P += Negative;
    std::uint64_t Digits = 0;
    const char* First = P;
    while (P < End && IsDigit(*P)) Digits = 10 * Digits + static_cast<unsigned>(*P++ - '0');
    const std::ptrdiff_t Whole = P - First;
    std::ptrdiff_t Fraction = 0;
    if (P < End && *P == '.') {
        const char* Point = ++P;
        while (P < End && IsDigit(*P)) Digits = 10 * Digits + static_cast<unsigned>(*P++ - '0');
        Fraction = P - Point;
        if (Fraction == 0) return false;
    }
    if (Whole == 0 || Whole + Fraction > 15) return false;
    const double Magnitude = static_cast<double>(Digits) / ExactPowersOfTen[Fraction];
    // The sign bit set, as negation would: "-0.000" reads as a negative zero.
    Value = std::bit_cast<double>(std::bit_cast<std::uint64_t>(Magnitude) | static_cast<std::uint64_t>(Negative) << 63);
    Start = P;
    return true;
}

// Typed or read text to a number: every "," becomes "." first, so both separators are accepted.
// Raises EConvertError "Unable to convert string to number (" + the text with its commas replaced
// + ")".
double ParseFloat(std::string_view Text);

// True when Text converts after ToPointDecimal (the locale's own separator is accepted, "," only in
// a locale that uses it).
bool IsNumber(std::string_view Text);

// The runtime's StrToFloat: TryStrToFloat or EConvertError "'<Text>' is not a valid floating point
// value".
double StrToFloat(std::string_view Text);

// The runtime's StrToInt: leading blanks, an optional sign and decimal digits, or "$" / "0x" and
// hexadecimal digits; the value must fit 32 bits. Raises EConvertError "'<Text>' is not a valid
// integer value".
int StrToInt(std::string_view Text);
bool TryStrToInt(std::string_view Text, int& Value);

// ---- Reals to integers ----
// A NaN, an infinity or a value whose result does not fit 32 bits is refused with EConvertError
// "<routine> - Unable to convert <value> to an integer" instead of the undefined conversion.

// X rounded to single precision (to nearest), then truncated towards zero. Used wherever a colour
// component, a pixel size or a count is cut from a real.
int TruncSingle(double X);
// X truncated towards zero.
int TruncToInteger(double X);
// X rounded to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int RoundToInteger(double X);

// abs(TruncSingle(X) - X) < 1e-5. False for values that have no 32-bit integer at all.
bool IsWholeNumber(double X);

}  // namespace sarnova
