// Rectangles of windows on the desktop: whether two meet, and bringing a window that lies wholly off
// the desktop back to its nearest edge. Also the pixel-distance and screen-triangle tests of picking.
#pragma once
#include "foundation/Types.h"

namespace sarnova {

// True when the rectangles overlap or only touch: false when A.Right < B.Left, B.Bottom < A.Top,
// B.Right < A.Left or A.Bottom < B.Top.
bool RectsOverlap(const TRect& A, const TRect& B);

// Bounds unchanged when they overlap or touch Desktop. Otherwise the same size, moved so that the edge
// beyond the desktop comes onto the desktop's edge: bottom first, then right, top and left, a later
// rule winning (a rectangle taller than the desktop ends up with its top on the desktop's top).
TRect MoveIntoDesktop(const TRect& Bounds, const TRect& Desktop);

// The Euclidean distance of two pixel positions.
double PixelDistance(const TPoint& A, const TPoint& B);
// Pixel P lies in the screen triangle A, B, C (either winding) or on its edges; a triangle without
// area holds nothing.
bool PointInTriangle(const TPoint& P, const TPoint& A, const TPoint& B, const TPoint& C);

}  // namespace sarnova
