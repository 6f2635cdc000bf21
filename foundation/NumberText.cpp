// Number texts: formatting and parsing with the original runtime's rules, independent of any locale.
#include "foundation/NumberText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cmath>
#include <limits>
#include <string>

#include "foundation/TextUtils.h"
#include "foundation/Errors.h"

namespace sarnova {

TFormatArg& TFormatArg::operator=(const TFormatArg& Other) {
    FKind = Other.FKind;
    FInteger = Other.FInteger;
    FReal = Other.FReal;
    FChar = Other.FChar;
    // A character argument views its own copy of the character.
    FText = Other.FText.data() == &Other.FChar ? std::string_view(&FChar, 1) : Other.FText;
    return *this;
}

namespace {

// The runtime converts with 18 significant digits and rounds those digits, ties away from zero.
constexpr int MaxDigits = 18;
// Widths and precisions beyond this are refused rather than allocated.
constexpr int MaxWidth = 1 << 16;

// A real as decimal digits: value = 0.Digits * 10^Exponent; no digits means zero.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;
    bool Negative = false;
};

// The runtime's FloatToDecimal for a finite value: at most Precision significant digits and at most
// Decimals digits after the point, trailing zeros removed.
TDecimal FloatToDecimal(double Value, int Precision, int Decimals) {
    TDecimal Result;
    if (Value == 0.0) return Result;
    char Buffer[64];
    const auto Converted =
        std::to_chars(Buffer, Buffer + sizeof Buffer, std::fabs(Value), std::chars_format::scientific,
                      MaxDigits - 1);
    const std::string_view Text(Buffer, static_cast<size_t>(Converted.ptr - Buffer));
    const size_t E = Text.find('e');
    std::string Digits;
    for (size_t I = 0; I < E; ++I)
        if (Text[I] != '.') Digits += Text[I];
    int Exponent = 0;
    std::from_chars(Text.data() + E + (Text[E + 1] == '+' ? 2 : 1), Text.data() + Text.size(), Exponent);
    Exponent += 1;

    int Keep = std::min(Precision, Exponent + Decimals);
    if (Keep < 0) return Result;
    if (Keep < static_cast<int>(Digits.size())) {
        const bool Up = Digits[static_cast<size_t>(Keep)] >= '5';
        Digits.resize(static_cast<size_t>(Keep));
        if (Up) {
            int I = Keep - 1;
            while (I >= 0 && Digits[static_cast<size_t>(I)] == '9') Digits[static_cast<size_t>(I--)] = '0';
            if (I >= 0)
                ++Digits[static_cast<size_t>(I)];
            else {
                Digits.insert(Digits.begin(), '1');
                ++Exponent;
            }
        }
    }
    while (!Digits.empty() && Digits.back() == '0') Digits.pop_back();
    if (Digits.empty()) return Result;
    Result.Digits = std::move(Digits);
    Result.Exponent = Exponent;
    Result.Negative = std::signbit(Value);
    return Result;
}

std::string ExponentText(int Exponent, bool AlwaysSign, int MinDigits) {
    std::string Result = "E";
    if (Exponent < 0)
        Result += '-';
    else if (AlwaysSign)
        Result += '+';
    const std::string Number = std::to_string(std::abs(Exponent));
    if (static_cast<int>(Number.size()) < MinDigits) Result.append(static_cast<size_t>(MinDigits) - Number.size(), '0');
    return Result + Number;
}

std::string FormatGeneral(const TDecimal& D, int Precision, int Digits) {
    if (D.Digits.empty()) return "0";
    std::string Result = D.Negative ? "-" : "";
    const int N = static_cast<int>(D.Digits.size());
    if (D.Exponent > Precision || D.Exponent < -3) {
        Result += D.Digits[0];
        if (N > 1) Result += '.' + D.Digits.substr(1);
        return Result + ExponentText(D.Exponent - 1, false, Digits);
    }
    if (D.Exponent <= 0) return Result + "0." + std::string(static_cast<size_t>(-D.Exponent), '0') + D.Digits;
    if (N <= D.Exponent) return Result + D.Digits + std::string(static_cast<size_t>(D.Exponent - N), '0');
    return Result + D.Digits.substr(0, static_cast<size_t>(D.Exponent)) + '.' +
           D.Digits.substr(static_cast<size_t>(D.Exponent));
}

std::string FormatExponent(const TDecimal& D, int Precision, int Digits) {
    std::string Mantissa = D.Digits;
    Mantissa.resize(static_cast<size_t>(Precision), '0');
    std::string Result = D.Negative ? "-" : "";
    Result += Mantissa[0];
    if (Precision > 1) Result += '.' + Mantissa.substr(1);
    return Result + ExponentText(D.Digits.empty() ? 0 : D.Exponent - 1, true, Digits);
}

std::string FormatFixed(const TDecimal& D, int Digits, bool Thousands) {
    std::string Whole, Fraction;
    const int N = static_cast<int>(D.Digits.size());
    if (D.Exponent <= 0) {
        Whole = "0";
        Fraction = std::string(static_cast<size_t>(-D.Exponent), '0') + D.Digits;
    } else {
        Whole = D.Digits.substr(0, static_cast<size_t>(std::min(N, D.Exponent)));
        Whole.append(static_cast<size_t>(std::max(0, D.Exponent - N)), '0');
        if (N > D.Exponent) Fraction = D.Digits.substr(static_cast<size_t>(D.Exponent));
    }
    Fraction.resize(static_cast<size_t>(Digits), '0');
    if (Thousands)
        for (int I = static_cast<int>(Whole.size()) - 3; I > 0; I -= 3) Whole.insert(static_cast<size_t>(I), ",");
    std::string Result = D.Negative ? "-" : "";
    Result += Whole;
    if (Digits > 0) Result += '.' + Fraction;
    return Result;
}

// The fixed form of Value with Decimals decimals, as FormatFixed writes it after rounding to MaxDigits
// significant digits, straight from the binary value where that gives the same digits: written into
// Buffer (at least 40 characters), the text's length returned; 0 where the slow path must decide.
// The two roundings (to MaxDigits digits, then half away from zero on the decimals) can only differ
// from one exact rounding when the scaled value lies next to a half; such values take the slow path.
std::size_t FastFixed(double Value, int Decimals, char* Buffer) {
    static constexpr double Scales[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    if (Decimals < 0 || Decimals > 9 || !std::isfinite(Value)) return 0;
    const double Magnitude = std::fabs(Value);
    const double Scale = Scales[Decimals];
    const double Scaled = Magnitude * Scale;
    // Below 1e12 the digits past MaxDigits lie more than six places below the unit of the last
    // decimal, so a rounding at MaxDigits digits moves the scaled value by less than 1e-6.
    if (!(Scaled < 1e12)) return 0;
    const double Error = std::fma(Magnitude, Scale, -Scaled);  // Magnitude * Scale == Scaled + Error exactly
    const double Whole = std::floor(Scaled);
    const double AboveHalf = (Scaled - Whole - 0.5) + Error;
    if (std::fabs(AboveHalf) <= 1e-6) return 0;
    const auto Units = static_cast<std::uint64_t>(Whole) + (AboveHalf > 0 ? 1 : 0);
    // Written backwards from the end of a scratch area, then moved to the front of Buffer.
    char Digits[40];
    char* P = Digits + sizeof Digits;
    std::uint64_t Rest = Units;
    for (int I = 0; I < Decimals; ++I) {
        *--P = static_cast<char>('0' + Rest % 10);
        Rest /= 10;
    }
    if (Decimals > 0) *--P = '.';
    do {
        *--P = static_cast<char>('0' + Rest % 10);
        Rest /= 10;
    } while (Rest != 0);
    // A value that rounds to zero has no sign.
    if (Units != 0 && std::signbit(Value)) *--P = '-';
    const auto Length = static_cast<std::size_t>(Digits + sizeof Digits - P);
    std::memcpy(Buffer, P, Length);
    return Length;
}

[[noreturn]] void RefuseInteger(const char* Routine, double X) {
    throw EConvertError(std::string(Routine) + " - Unable to convert " + FloatToStr(X) + " to an integer");
}

// Doubles that hold whole numbers in the 32-bit range convert exactly.
int ToInteger(const char* Routine, double Whole, double Original) {
    if (!(Whole >= static_cast<double>(INT_MIN) && Whole <= static_cast<double>(INT_MAX)))
        RefuseInteger(Routine, Original);
    return static_cast<int>(Whole);
}

// ---- Format ----

class TFormatter {
public:
    TFormatter(std::string_view Fmt, std::initializer_list<TFormatArg> Args) : FFmt(Fmt), FArgs(Args) {}

    std::string Run() {
        std::string Out;
        size_t I = 0;
        while (I < FFmt.size()) {
            const size_t Percent = FFmt.find('%', I);
            Out.append(FFmt.substr(I, Percent == std::string_view::npos ? std::string_view::npos : Percent - I));
            if (Percent == std::string_view::npos) break;
            I = Percent + 1;
            if (I < FFmt.size() && FFmt[I] == '%') {
                Out += '%';
                ++I;
                continue;
            }
            I = Specifier(I, Out);
        }
        return Out;
    }

private:
    std::string_view FFmt;
    std::initializer_list<TFormatArg> FArgs;
    size_t FNext = 0;

    [[noreturn]] void Invalid() const {
        throw EConvertError("Format '" + std::string(FFmt) + "' invalid or incompatible with argument");
    }

    const TFormatArg& NextArg() {
        if (FNext >= FArgs.size()) throw EConvertError("No argument for format '" + std::string(FFmt) + "'");
        return FArgs.begin()[FNext++];
    }

    // A number of the specifier or "*"; -1 when there is none.
    int Number(size_t& I) {
        if (I < FFmt.size() && FFmt[I] == '*') {
            ++I;
            const TFormatArg& Arg = NextArg();
            if (Arg.Kind() != TFormatArg::TKind::Integer) Invalid();
            if (Arg.Integer() > MaxWidth) Invalid();
            return Arg.Integer() < 0 ? -1 : static_cast<int>(Arg.Integer());
        }
        if (I >= FFmt.size() || FFmt[I] < '0' || FFmt[I] > '9') return -1;
        int Value = 0;
        while (I < FFmt.size() && FFmt[I] >= '0' && FFmt[I] <= '9') {
            Value = Value * 10 + (FFmt[I++] - '0');
            if (Value > MaxWidth) Invalid();
        }
        return Value;
    }

    size_t Specifier(size_t I, std::string& Out) {
        int Width = Number(I);
        if (I < FFmt.size() && FFmt[I] == ':') {
            if (Width < 0) Invalid();
            FNext = static_cast<size_t>(Width);
            ++I;
            Width = -1;
        }
        bool Left = false;
        if (I < FFmt.size() && FFmt[I] == '-') {
            Left = true;
            ++I;
        }
        if (Width < 0) Width = Number(I);
        int Precision = -1;
        if (I < FFmt.size() && FFmt[I] == '.') {
            ++I;
            Precision = std::max(Number(I), 0);
        }
        if (I >= FFmt.size()) Invalid();
        const char Type = static_cast<char>(FFmt[I] >= 'a' && FFmt[I] <= 'z' ? FFmt[I] - 32 : FFmt[I]);
        const std::string Text = Convert(Type, NextArg(), Precision);
        Pad(Out, Text, Width, Left);
        return I + 1;
    }

    static size_t Characters(std::string_view Text) {
        return static_cast<size_t>(std::count_if(Text.begin(), Text.end(), [](char C) {
            return (static_cast<unsigned char>(C) & 0xC0) != 0x80;
        }));
    }

    static void Pad(std::string& Out, const std::string& Text, int Width, bool Left) {
        const size_t Length = Characters(Text);
        const size_t Fill = Width > 0 && static_cast<size_t>(Width) > Length ? static_cast<size_t>(Width) - Length : 0;
        if (!Left) Out.append(Fill, ' ');
        Out += Text;
        if (Left) Out.append(Fill, ' ');
    }

    static std::string WithMinimumDigits(std::string Digits, int Precision) {
        if (Precision > static_cast<int>(Digits.size()))
            Digits.insert(0, static_cast<size_t>(Precision) - Digits.size(), '0');
        return Digits;
    }

    std::string Convert(char Type, const TFormatArg& Arg, int Precision) const {
        using K = TFormatArg::TKind;
        switch (Type) {
            case 'D': {
                if (Arg.Kind() != K::Integer) Invalid();
                const std::int64_t V = Arg.Integer();
                const std::uint64_t Magnitude = V < 0 ? 0 - static_cast<std::uint64_t>(V) : static_cast<std::uint64_t>(V);
                return (V < 0 ? "-" : "") + WithMinimumDigits(std::to_string(Magnitude), Precision);
            }
            case 'U':
            case 'X': {
                if (Arg.Kind() != K::Integer) Invalid();
                const std::int64_t V = Arg.Integer();
                // Negative integers show their two's complement, in 32 bits when they fit them.
                const std::uint64_t Bits = V < 0 && V >= INT_MIN ? static_cast<std::uint32_t>(V) : static_cast<std::uint64_t>(V);
                char Buffer[32];
                const auto End = std::to_chars(Buffer, Buffer + sizeof Buffer, Bits, Type == 'X' ? 16 : 10).ptr;
                std::string Digits(Buffer, End);
                for (char& C : Digits)
                    if (C >= 'a' && C <= 'f') C = static_cast<char>(C - 32);
                return WithMinimumDigits(std::move(Digits), Precision);
            }
            case 'E':
            case 'F':
            case 'G':
            case 'N': {
                if (Arg.Kind() == K::Text) Invalid();
                const double V = Arg.Kind() == K::Real ? Arg.Real() : static_cast<double>(Arg.Integer());
                if (Type == 'E') return FloatToStrF(V, ffExponent, Precision < 0 ? 15 : Precision, 3);
                if (Type == 'G') return FloatToStrF(V, ffGeneral, Precision < 0 ? 15 : Precision, 3);
                return FloatToStrF(V, Type == 'F' ? ffFixed : ffNumber, MaxDigits, Precision < 0 ? 2 : Precision);
            }
            case 'S': {
                if (Arg.Kind() != K::Text) Invalid();
                std::string_view Text = Arg.Text();
                if (Precision >= 0 && Characters(Text) > static_cast<size_t>(Precision)) {
                    size_t Count = 0, Cut = 0;
                    for (; Cut < Text.size(); ++Cut)
                        if ((static_cast<unsigned char>(Text[Cut]) & 0xC0) != 0x80 && Count++ == static_cast<size_t>(Precision))
                            break;
                    Text = Text.substr(0, Cut);
                }
                return std::string(Text);
            }
            default:
                Invalid();
        }
    }
};

}  // namespace

std::string Format(std::string_view Fmt, std::initializer_list<TFormatArg> Args) {
    return TFormatter(Fmt, Args).Run();
}

namespace {

void RefuseNonFinite(double Value) {
    if (!std::isfinite(Value)) throw EConvertError("Cannot write " + FloatToStr(Value) + ": not a finite number");
}

}  // namespace

std::string FormatWithPoint(std::string_view Fmt, std::initializer_list<TFormatArg> Args) {
    for (const TFormatArg& Arg : Args)
        if (Arg.Kind() == TFormatArg::TKind::Real) RefuseNonFinite(Arg.Real());
    return Format(Fmt, Args);
}

std::string FloatToStrWithPoint(double Value) {
    RefuseNonFinite(Value);
    return FloatToStr(Value);
}

std::string FloatToStrF(double Value, TFloatFormat Fmt, int Precision, int Digits) {
    if (std::isnan(Value)) return "NAN";
    if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
    Precision = std::clamp(Precision, 1, MaxDigits);
    Digits = std::clamp(Digits, 0, MaxDigits);
    switch (Fmt) {
        case ffExponent:
            return FormatExponent(FloatToDecimal(Value, Precision, 9999), Precision, std::min(Digits, 4));
        case ffFixed:
        case ffNumber: {
            if (Fmt == ffFixed && Precision == MaxDigits) {
                char Buffer[40];
                if (const std::size_t Length = FastFixed(Value, Digits, Buffer)) return std::string(Buffer, Length);
            }
            const TDecimal D = FloatToDecimal(Value, Precision, Digits);
            if (D.Exponent > Precision) return FormatGeneral(D, Precision, std::min(Digits, 4));
            return FormatFixed(D, Digits, Fmt == ffNumber);
        }
        case ffGeneral:
        default:
            return FormatGeneral(FloatToDecimal(Value, Precision, 9999), Precision, std::min(Digits, 4));
    }
}

void AppendFixed(std::string& Out, double Value, int Width, int Decimals) {
    char Buffer[40];
    std::size_t Length = FastFixed(Value, Decimals, Buffer);
    if (Length == 0) {
        RefuseNonFinite(Value);
        const std::string Text = FloatToStrF(Value, ffFixed, MaxDigits, Decimals);
        if (Width > static_cast<int>(Text.size())) Out.append(static_cast<std::size_t>(Width) - Text.size(), ' ');
        Out += Text;
        return;
    }
    if (Width > static_cast<int>(Length)) Out.append(static_cast<std::size_t>(Width) - Length, ' ');
    Out.append(Buffer, Length);
}

namespace {

// FloatToStr of a finite Value into Out (at least 32 characters), without allocating; returns the
// length. Exports write millions of coordinates through here. Where the shortest text that reads back
// as Value has at most 15 significant digits, the exact value lies far closer to it than half a unit
// of the 15th digit, so rounding to 15 digits gives those digits; otherwise the runtime's 18 digits
// are rounded to 15, ties away from zero (subnormal values carry too few bits for the argument above
// and always go that way).
std::size_t GeneralText15(double Value, char* Out) {
    char* O = Out;
    if (Value == 0) {
        *O = '0';
        return 1;
    }
    char Buffer[64];
    char Digits[24];
    int Count = 0;
    const auto Scan = [&](const char* End) {
        const char* P = Buffer;
        if (*P == '-') ++P;
        Count = 0;
        for (; P < End && *P != 'e'; ++P)
            if (*P != '.') Digits[Count++] = *P;
        int Exponent = 0;
        std::from_chars(P + (P[1] == '+' ? 2 : 1), End, Exponent);
        return Exponent;
    };
    int Exponent = 0;
    bool Shortest = std::fabs(Value) >= std::numeric_limits<double>::min();
    if (Shortest) {
        const auto Converted = std::to_chars(Buffer, Buffer + sizeof Buffer, Value, std::chars_format::scientific);
        Exponent = Scan(Converted.ptr);
        Shortest = Count <= 15;
    }
    if (!Shortest) {
        const auto Converted =
            std::to_chars(Buffer, Buffer + sizeof Buffer, Value, std::chars_format::scientific, MaxDigits - 1);
        Exponent = Scan(Converted.ptr);
        const bool Up = Digits[15] >= '5';
        Count = 15;
        if (Up) {
            int I = Count - 1;
            while (I >= 0 && Digits[I] == '9') Digits[I--] = '0';
            if (I >= 0)
                ++Digits[I];
            else {
                Digits[0] = '1';
                ++Exponent;
            }
        }
        while (Count > 0 && Digits[Count - 1] == '0') --Count;
    }
    if (std::signbit(Value)) *O++ = '-';
    if (Exponent >= -4 && Exponent < 15) {
        if (Exponent < 0) {
            *O++ = '0';
            *O++ = '.';
            for (int I = 0; I < -Exponent - 1; ++I) *O++ = '0';
            O = std::copy(Digits, Digits + Count, O);
        } else {
            const int Whole = Exponent + 1;
            for (int I = 0; I < Whole; ++I) *O++ = I < Count ? Digits[I] : '0';
            if (Count > Whole) {
                *O++ = '.';
                O = std::copy(Digits + Whole, Digits + Count, O);
            }
        }
        return static_cast<std::size_t>(O - Out);
    }
    *O++ = Digits[0];
    if (Count > 1) {
        *O++ = '.';
        O = std::copy(Digits + 1, Digits + Count, O);
    }
    *O++ = 'E';
    O = std::to_chars(O, O + 8, Exponent).ptr;
    return static_cast<std::size_t>(O - Out);
}

}  // namespace

std::string FloatToStr(double Value) {
    if (!std::isfinite(Value)) return FloatToStrF(Value, ffGeneral, 15, 0);
    char Buffer[40];
    return std::string(Buffer, GeneralText15(Value, Buffer));
}

void AppendFloatTextWithPoint(std::string& Out, double Value) {
    RefuseNonFinite(Value);
    char Buffer[40];
    Out.append(Buffer, GeneralText15(Value, Buffer));
}

std::string FormatOptionalDecimals(double Value, int MaxDecimals) {
    if (!std::isfinite(Value)) return Format("%g", {Value});
    std::string Text = Format("%.*f", {MaxDecimals, Value});
    if (Text.find('.') != std::string::npos) {
        while (Text.back() == '0') Text.pop_back();
        if (Text.back() == '.') Text.pop_back();
    }
    if (Text == "-0") Text = "0";
    return Text;
}

std::string FormatDefaultReal(double Value) {
    std::string Text;
    if (std::isnan(Value))
        Text = "Nan";
    else if (std::isinf(Value))
        Text = Value < 0 ? "-Inf" : "+Inf";
    else {
        Text = FloatToStrF(Value, ffExponent, 15, 4);
        if (Text[0] != '-') Text.insert(0, " ");
    }
    if (Text.size() < 23) Text.insert(0, 23 - Text.size(), ' ');
    return Text;
}

std::string IntToStr(std::int64_t Value) { return std::to_string(Value); }

char LocaleDecimalSeparator() {
    const std::lconv* Conventions = std::localeconv();
    return Conventions && Conventions->decimal_point && Conventions->decimal_point[0]
               ? Conventions->decimal_point[0]
               : '.';
}

void ToPointDecimal(std::string& Text) {
    const char Separator = LocaleDecimalSeparator();
    if (Separator != '.') std::replace(Text.begin(), Text.end(), Separator, '.');
}

bool TryStrToFloat(std::string_view Untrimmed, double& Value) {
    const std::string_view Text = TrimmedView(Untrimmed);
    if (const char* P = Text.data(); ScanShortDecimal(P, Text.data() + Text.size(), Value) && P == Text.data() + Text.size())
        return true;
    // The common case in one call: a plain decimal number that the conversion takes whole. Its
    // grammar is the one below except for a "+" sign and the words for infinity and NaN, which are
    // kept out by the first character; all else goes the long way.
    if (!Text.empty()) {
        const std::size_t First = Text[0] == '-' ? 1 : 0;
        if (First < Text.size() && ((Text[First] >= '0' && Text[First] <= '9') || Text[First] == '.')) {
            double Quick = 0.0;
            const auto Converted = std::from_chars(Text.data(), Text.data() + Text.size(), Quick);
            if (Converted.ec == std::errc() && Converted.ptr == Text.data() + Text.size()) {
                Value = Quick;
                return true;
            }
        }
    }
    size_t I = 0;
    bool Negative = false;
    if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) Negative = Text[I++] == '-';
    const size_t Start = I;
    // Decimal position of the first significant digit, to tell an overflow from an underflow.
    long long Magnitude = 0;
    bool Significant = false;
    int MantissaDigits = 0;
    for (; I < Text.size() && Text[I] >= '0' && Text[I] <= '9'; ++I, ++MantissaDigits) {
        if (Text[I] != '0') Significant = true;
        if (Significant) ++Magnitude;
    }
    if (I < Text.size() && Text[I] == '.')
        for (++I; I < Text.size() && Text[I] >= '0' && Text[I] <= '9'; ++I, ++MantissaDigits) {
            if (!Significant && Text[I] == '0') --Magnitude;
            if (Text[I] != '0') Significant = true;
        }
    if (MantissaDigits == 0) return false;
    if (I < Text.size() && (Text[I] == 'e' || Text[I] == 'E')) {
        ++I;
        bool NegativeExponent = false;
        if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) NegativeExponent = Text[I++] == '-';
        const size_t ExponentStart = I;
        long long Exponent = 0;
        for (; I < Text.size() && Text[I] >= '0' && Text[I] <= '9'; ++I)
            Exponent = std::min(Exponent * 10 + (Text[I] - '0'), 1000000000LL);
        if (I == ExponentStart) return false;
        Magnitude += NegativeExponent ? -Exponent : Exponent;
    }
    if (I != Text.size()) return false;
    double Result = 0.0;
    const auto Converted = std::from_chars(Text.data() + Start, Text.data() + Text.size(), Result);
    if (Converted.ec == std::errc::result_out_of_range) {
        if (Magnitude > 0) return false;
        Result = 0.0;
    } else if (Converted.ec != std::errc() || Converted.ptr != Text.data() + Text.size())
        return false;
    Value = Negative ? -Result : Result;
    return true;
}

double ParseFloat(std::string_view Text) {
    std::string Pointed(Text);
    std::replace(Pointed.begin(), Pointed.end(), ',', '.');
    double Value = 0.0;
    if (!TryStrToFloat(Pointed, Value)) throw EConvertError("Unable to convert string to number (" + Pointed + ")");
    return Value;
}

bool IsNumber(std::string_view Text) {
    std::string Pointed(Text);
    ToPointDecimal(Pointed);
    double Ignored = 0.0;
    return TryStrToFloat(Pointed, Ignored);
}

double StrToFloat(std::string_view Text) {
    double Value = 0.0;
    if (!TryStrToFloat(Text, Value))
        throw EConvertError("'" + std::string(Text) + "' is not a valid floating point value");
    return Value;
}

bool TryStrToInt(std::string_view Text, int& Value) {
    size_t I = 0;
    while (I < Text.size() && (Text[I] == ' ' || Text[I] == '\t')) ++I;
    bool Negative = false;
    if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) Negative = Text[I++] == '-';
    int Base = 10;
    if (I < Text.size() && Text[I] == '$') {
        Base = 16;
        ++I;
    } else if (I + 1 < Text.size() && Text[I] == '0' && (Text[I + 1] == 'x' || Text[I + 1] == 'X')) {
        Base = 16;
        I += 2;
    }
    if (I >= Text.size() || Text[I] == '+' || Text[I] == '-') return false;
    std::uint64_t Magnitude = 0;
    const auto Converted = std::from_chars(Text.data() + I, Text.data() + Text.size(), Magnitude, Base);
    if (Converted.ec != std::errc() || Converted.ptr != Text.data() + Text.size()) return false;
    // Hexadecimal texts may spell a negative integer through its 32-bit pattern ($FFFFFFFF = -1).
    const std::uint64_t Limit = Base == 16 ? 0xFFFFFFFFull : (Negative ? 2147483648ull : 2147483647ull);
    if (Magnitude > Limit) return false;
    const auto Bits = static_cast<std::uint32_t>(Negative ? 0 - Magnitude : Magnitude);
    Value = static_cast<int>(Bits);
    return true;
}

int StrToInt(std::string_view Text) {
    int Value = 0;
    if (!TryStrToInt(Text, Value)) throw EConvertError("'" + std::string(Text) + "' is not a valid integer value");
    return Value;
}

int TruncSingle(double X) {
    if (!std::isfinite(X) || std::fabs(X) > std::numeric_limits<float>::max()) RefuseInteger("TruncSingle", X);
    return ToInteger("TruncSingle", std::trunc(static_cast<double>(static_cast<float>(X))), X);
}

int TruncToInteger(double X) {
    if (!std::isfinite(X)) RefuseInteger("TruncToInteger", X);
    return ToInteger("TruncToInteger", std::trunc(X), X);
}

int RoundToInteger(double X) {
    if (!std::isfinite(X)) RefuseInteger("RoundToInteger", X);
    const double Floor = std::floor(X);
    const double Fraction = X - Floor;
    double Whole = Floor;
    if (Fraction > 0.5 || (Fraction == 0.5 && std::fmod(Floor, 2.0) != 0.0)) Whole = Floor + 1.0;
    return ToInteger("RoundToInteger", Whole, X);
}

bool IsWholeNumber(double X) {
    if (!std::isfinite(X) || std::fabs(X) >= 2147483648.0) return false;
    const double Whole = std::trunc(static_cast<double>(static_cast<float>(X)));
    if (!(Whole >= static_cast<double>(INT_MIN) && Whole <= static_cast<double>(INT_MAX))) return false;
    return std::fabs(Whole - X) < 1e-5;
}

}  // namespace sarnova
