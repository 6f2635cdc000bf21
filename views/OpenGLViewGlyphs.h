// The 16 x 16 one-bit pictures the 3-D view draws at points: edit handles, the snap marker and the
// axis letters. They are raster bitmaps, so their size on screen stays the same whatever the zoom.
#pragma once
#include <array>
#include <cstdint>

#include "foundation/VkMaths.h"

namespace sarnova {

enum TViewGlyph : std::uint8_t {
    vgDisc,          // filled disc
    vgRing,          // ring
    vgSquare,        // filled square
    vgHollowSquare,  // hollow square
    vgCross,         // diagonal cross
    vgDot,           // small dot in the lower-left corner
    vgLetterX,
    vgLetterY,
    vgLetterZ,
    vgThickSquare,
    vgThickRing,
    vgThickCross,
    vgTriangle,
    vgHalfDisc,      // disc with two quarters filled
    vgOtherHalfDisc  // the two other quarters
};
inline constexpr int ViewGlyphCount = 15;

// Rows from the bottom up, most significant bit at the left.
using TViewGlyphRows = std::array<std::uint16_t, 16>;
const TViewGlyphRows& ViewGlyphRows(TViewGlyph Glyph);

// The glyph at the current raster position, with its origin at (OriginX, OriginY) pixels of the
// picture: (8, 8) centres it. Sets the unpack alignment to 1.
void DrawGLGlyph(TViewGlyph Glyph, float OriginX, float OriginY);
// The raster position at P (its colour is the current colour now), then the glyph.
void DrawGLGlyphAt(const TMVector& P, TViewGlyph Glyph, float OriginX, float OriginY);
inline void DrawGLGlyphCentred(const TMVector& P, TViewGlyph Glyph) { DrawGLGlyphAt(P, Glyph, 8, 8); }

}  // namespace sarnova
