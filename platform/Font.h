// A font as the model keeps it (name, size, style, colour); the GUI makes its own font from it.
#pragma once
#include <cstdint>
#include <string>

#include "foundation/Colors.h"

namespace sarnova {

// Font styles, combined as a set of bits. The bit values are also the stored integer form.
enum TFontStyle : std::uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = std::uint8_t;

struct TFont {
    std::string Name;
    int Size = 0;  // points
    TFontStyles Style = 0;
    TColor Color = clBlack;
    bool operator==(const TFont&) const = default;
};

// The sum of the style bits present: bold 1, italic 2, underline 4, strike-out 8.
inline int FontStyleToInteger(TFontStyles Style) { return Style & 0x0F; }
// The exact inverse of FontStyleToInteger; other bits are ignored.
inline TFontStyles IntegerToFontStyle(int Value) { return static_cast<TFontStyles>(Value & 0x0F); }

}  // namespace sarnova
