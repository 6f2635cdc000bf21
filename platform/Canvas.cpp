#include "platform/Canvas.h"

#include <cstdint>

namespace sarnova {

bool PointInPolygonRegion(std::span<const TPoint> Polygon, TPoint P) {
    // Work in half pixels so that the pixel centre (2X + 1, 2Y + 1) stays an integer and the
    // side-of-edge test is exact.
    const std::int64_t PX = 2 * std::int64_t{P.X} + 1;
    const std::int64_t PY = 2 * std::int64_t{P.Y} + 1;
    int Winding = 0;
    const std::size_t N = Polygon.size();
    for (std::size_t i = 0; i < N; ++i) {
        const TPoint A = Polygon[i];
        const TPoint B = Polygon[(i + 1) % N];
        const std::int64_t AX = 2 * std::int64_t{A.X}, AY = 2 * std::int64_t{A.Y};
        const std::int64_t BX = 2 * std::int64_t{B.X}, BY = 2 * std::int64_t{B.Y};
        // > 0 when the centre lies left of A->B (y downwards: seen on screen, to the right).
        const std::int64_t Side = (BX - AX) * (PY - AY) - (PX - AX) * (BY - AY);
        if (AY <= PY) {
            if (BY > PY && Side > 0) ++Winding;
        } else if (BY <= PY && Side < 0) {
            --Winding;
        }
    }
    return Winding != 0;
}

}  // namespace sarnova
