// The platform's integer point and rectangle: pixel positions and areas of windows, pages and images
// (x to the right, y downwards from the top-left corner).
#pragma once

namespace sarnova {

struct TPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TPoint&) const = default;
};

// Right and Bottom lie just outside the area, as with the platform's rectangles.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TRect&) const = default;
};

}  // namespace sarnova
