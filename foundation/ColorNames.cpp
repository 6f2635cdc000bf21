#include "foundation/ColorNames.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "foundation/NumberText.h"
#include "foundation/Errors.h"

namespace sarnova {

namespace {

// A value in [0, Max] is placed by dividing by Max; with Max = 0 that is 0 / 0.
void RequireUpperHalf(double Max, double Value) {
    if (Value >= 0 && Max == 0) throw EError("ZeroCentredColor - Max must not be 0");
}

// Position on either half of a zero-centred scale, 0 at zero and 255 at Min or Max. The caller has
// already sent values outside [Min, Max] to the end colours.
int ZeroCentredStep(double Min, double Max, double Value) {
    RequireUpperHalf(Max, Value);
    return Value >= 0 ? TruncSingle(255 * Value / Max) : TruncSingle(255 * Value / Min);
}

struct TColorName {
    const char* Name;
    TColor Color;
};

// The twenty names macros accept, searched in this order; with "cl" in front they are also the
// colour constant names of the colour text.
constexpr TColorName ColorNames[] = {
    {"Black", clBlack},   {"Maroon", clMaroon},   {"Green", clGreen},
    {"Olive", clOlive},   {"Navy", clNavy},       {"Purple", clPurple},
    {"Teal", clTeal},     {"Gray", clGray},       {"Silver", clSilver},
    {"Red", clRed},       {"Lime", clLime},       {"Yellow", clYellow},
    {"Blue", clBlue},     {"Fuchsia", clFuchsia}, {"Aqua", clAqua},
    {"White", clWhite},   {"MoneyGreen", clMoneyGreen}, {"SkyBlue", clSkyBlue},
    {"Cream", clCream},   {"MedGray", clMedGray},
};

// The remaining constant names of the colour text, "cl" prefix included.
constexpr TColorName OtherColorIdents[] = {
    {"clActiveBorder", clActiveBorder},
    {"clActiveCaption", clActiveCaption},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clBackground", clBackground},
    {"clBtnFace", clBtnFace},
    {"clBtnHighlight", clBtnHighlight},
    {"clBtnShadow", clBtnShadow},
    {"clBtnText", clBtnText},
    {"clCaptionText", clCaptionText},
    {"clDefault", clDefault},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clGrayText", clGrayText},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clHotLight", clHotLight},
    {"clInactiveBorder", clInactiveBorder},
    {"clInactiveCaption", clInactiveCaption},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clInfoBk", clInfoBk},
    {"clInfoText", clInfoText},
    {"clMenu", clMenu},
    {"clMenuBar", clMenuBar},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuText", clMenuText},
    {"clNone", clNone},
    {"clScrollBar", clScrollBar},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clWindowText", clWindowText},
};

char UpperAscii(char C) { return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C; }

bool SameTextAscii(std::string_view A, std::string_view B) {
    if (A.size() != B.size()) return false;
    for (std::size_t i = 0; i < A.size(); ++i)
        if (UpperAscii(A[i]) != UpperAscii(B[i])) return false;
    return true;
}

// Text is a colour constant name such as "clRed" (any letter case).
bool IdentToColor(std::string_view Text, TColor& Color) {
    if (Text.size() > 2 && SameTextAscii(Text.substr(0, 2), "cl") &&
        ColorNameToColor(Text.substr(2), Color))
        return true;
    for (const TColorName& Entry : OtherColorIdents)
        if (SameTextAscii(Text, Entry.Name)) {
            Color = Entry.Color;
            return true;
        }
    return false;
}

int DigitValue(char C, int Base) {
    int D = -1;
    if (C >= '0' && C <= '9') D = C - '0';
    else if (Base == 16 && UpperAscii(C) >= 'A' && UpperAscii(C) <= 'F')
        D = UpperAscii(C) - 'A' + 10;
    return D < Base ? D : -1;
}

// Hue of the 0..240 wheel to one component's level between Mid1 and Mid2 (0..240).
int HueToLevel(int Hue, int Mid1, int Mid2) {
    if (Hue > 240) Hue -= 240;
    else if (Hue < 0) Hue += 240;
    if (Hue < 40) return Mid1 + ((Mid2 - Mid1) * Hue + 20) / 40;
    if (Hue < 120) return Mid2;
    if (Hue < 160) return Mid1 + ((Mid2 - Mid1) * (160 - Hue) + 20) / 40;
    return Mid1;
}

}  // namespace

TColor ZeroCentredColorMono(double Min, double Max, double Value) {
    if (Value < Min) return clBlack;
    if (Value > Max) return clWhite;
    RequireUpperHalf(Max, Value);
    const int G = Value >= 0 ? TruncSingle(127 * Value / Max + 127)
                             : TruncSingle(127 * (-Value / Min) + 127);
    return RGBColor(G, G, G);
}

TColor ZeroCentredColorRGB(double Min, double Max, double Value) {
    if (Value < Min) return clBlue;
    if (Value > Max) return clRed;
    const int M = ZeroCentredStep(Min, Max, Value);
    return Value >= 0 ? RGBColor(M, 255 - M, 0) : RGBColor(0, 255 - M, M);
}

TColor ZeroCentredColorHSL(double Min, double Max, double Value) {
    if (Value < Min) return clBlue;
    if (Value > Max) return clRed;
    RequireUpperHalf(Max, Value);
    const int Hue = Value >= 0 ? TruncSingle(80 * (Max - Value) / Max)
                               : TruncSingle(80 * (Value - Min) / Min + 160);
    return ColorHLSToRGB(Hue, 120, 240);
}

TColor ZeroCentredColorRYB(double Min, double Max, double Value) {
    if (Value < Min) return clBlue;
    if (Value > Max) return clRed;
    const int M = ZeroCentredStep(Min, Max, Value);
    return Value >= 0 ? RGBColor(255, 255 - M, 0) : RGBColor(255 - M, 255 - M, M);
}

TColor ZeroCentredColor(TColorInterpolationMode Mode, double Min, double Max, double Value) {
    switch (Mode) {
        case ciMono: return ZeroCentredColorMono(Min, Max, Value);
        case ciHSL: return ZeroCentredColorHSL(Min, Max, Value);
        case ciRYB: return ZeroCentredColorRYB(Min, Max, Value);
        default: return ZeroCentredColorRGB(Min, Max, Value);
    }
}

TColor LinearHueColor(double Min, double Max, double Value) {
    if (Value < Min) return clBlue;
    if (Value > Max) return clRed;
    if (Max == Min) throw EError("LinearHueColor - Min and Max must differ");
    return ColorHLSToRGB(TruncSingle(160 - 160 * (Value - Min) / (Max - Min)), 120, 240);
}

TColor ColorHLSToRGB(int Hue, int Luminance, int Saturation) {
    const auto OnScale = [](int V) { return V >= 0 && V <= 240; };
    if (!OnScale(Hue) || !OnScale(Luminance) || !OnScale(Saturation))
        throw EError("ColorHLSToRGB - value outside 0..240");
    if (Saturation == 0) {
        const int Grey = Luminance * 255 / 240;
        return RGBColor(Grey, Grey, Grey);
    }
    const int Mid2 = Luminance > 120 ? Saturation + Luminance - (Saturation * Luminance + 120) / 240
                                     : ((Saturation + 240) * Luminance + 120) / 240;
    const int Mid1 = Luminance * 2 - Mid2;
    const auto Level = [&](int H) { return (HueToLevel(H, Mid1, Mid2) * 255 + 120) / 240; };
    return RGBColor(Level(Hue + 80), Level(Hue), Level(Hue - 80));
}

bool ColorNameToColor(std::string_view Name, TColor& Color) {
    for (const TColorName& Entry : ColorNames)
        if (SameTextAscii(Name, Entry.Name)) {
            Color = Entry.Color;
            return true;
        }
    return false;
}

std::string ColorToString(TColor Color) {
    for (const TColorName& Entry : ColorNames)
        if (Entry.Color == Color) return std::string("cl") + Entry.Name;
    for (const TColorName& Entry : OtherColorIdents)
        if (Entry.Color == Color) return Entry.Name;
    char Text[16];
    std::snprintf(Text, sizeof Text, "$%08X", static_cast<std::uint32_t>(Color));
    return Text;
}

TColor StringToColor(std::string_view Text) {
    TColor Color = clBlack;
    if (IdentToColor(Text, Color)) return Color;

    const auto Invalid = [&] {
        return EConvertError("'" + std::string(Text) + "' is not a valid integer value");
    };
    std::size_t i = 0;
    const bool Negative = i < Text.size() && Text[i] == '-';
    if (i < Text.size() && (Text[i] == '-' || Text[i] == '+')) ++i;
    int Base = 10;
    if (i < Text.size() && Text[i] == '$') {
        Base = 16;
        ++i;
    } else if (i + 1 < Text.size() && Text[i] == '0' && UpperAscii(Text[i + 1]) == 'X') {
        Base = 16;
        i += 2;
    }
    if (i >= Text.size()) throw Invalid();
    // Hexadecimal fills all 32 bits (system colours are written that way); decimal keeps the sign.
    const std::uint64_t Limit =
        Base == 16 ? 0xFFFFFFFFull : (Negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t Magnitude = 0;
    for (; i < Text.size(); ++i) {
        const int D = DigitValue(Text[i], Base);
        if (D < 0) throw Invalid();
        Magnitude = Magnitude * Base + static_cast<unsigned>(D);
        if (Magnitude > Limit) throw Invalid();
    }
    std::uint32_t Bits = static_cast<std::uint32_t>(Magnitude);
    if (Negative) Bits = 0u - Bits;
    return static_cast<TColor>(Bits);
}

}  // namespace sarnova
