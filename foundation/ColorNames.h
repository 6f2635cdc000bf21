// Colour scales of the analysis displays, the colour names macros accept, the 0..240
// hue-luminance-saturation conversion and the colour text of document files.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/Colors.h"

namespace sarnova {

// How a zero-centred scale turns a value into a colour. Stored in the settings as its number, so a
// stored value outside the list is possible; it behaves like ciRGB.
enum TColorInterpolationMode : std::uint8_t { ciMono = 0, ciRGB = 1, ciHSL = 2, ciRYB = 3 };

// Colour of Value on a scale from Min (below 0) through 0 to Max (above 0). Values below Min and
// above Max get the mode's fixed end colours. Throws EError when Value is 0 and Max is 0 (the
// upper half of the scale is empty), EConvertError for NaN input.
TColor ZeroCentredColor(TColorInterpolationMode Mode, double Min, double Max, double Value);
// Grey from 0 at Min through 127 at 0 to 254 at Max; black below Min, white above Max.
TColor ZeroCentredColorMono(double Min, double Max, double Value);
// Blue through green to red.
TColor ZeroCentredColorRGB(double Min, double Max, double Value);
// Hue 160 (blue) at Min through 80 (green) at 0 to 0 (red) at Max.
TColor ZeroCentredColorHSL(double Min, double Max, double Value);
// Blue through yellow to red.
TColor ZeroCentredColorRYB(double Min, double Max, double Value);

// Blue below Min, red above Max, otherwise the hue from 160 (blue) at Min to 0 (red) at Max.
// Throws EError when Min = Max and Value lies on them.
TColor LinearHueColor(double Min, double Max, double Value);

// Hue, luminance and saturation on the 0..240 scale to a colour, rounding as the window system
// does. Throws EError for an argument outside 0..240.
TColor ColorHLSToRGB(int Hue, int Luminance, int Saturation);

// True and Color set when Name (any letter case) is one of the twenty colour names macros accept;
// false and Color unchanged otherwise.
bool ColorNameToColor(std::string_view Name, TColor& Color);

// The colour text of document files: the constant's name ("clRed", "clBtnFace", "clNone") where
// one exists, otherwise "$" and eight upper-case hexadecimal digits.
std::string ColorToString(TColor Color);
// The inverse of ColorToString: a constant name in any letter case, or an integer, decimal or
// hexadecimal ("$" or "0x"), optionally signed. Hexadecimal takes up to eight digits, so system
// colours read back as written. Throws EConvertError("'<text>' is not a valid integer value").
TColor StringToColor(std::string_view Text);

}  // namespace sarnova
