// What a dragged vertex of a curve-network curve may snap to on the other curves: the answer of the
// snap query, which the curve applies when the user lets go.
#pragma once
#include <cstdint>

#include "curvenet/XTPoints.h"
#include "platform/Types.h"

namespace sarnova {

class TXTCurveRepresentation;

// Snap kinds.
inline constexpr std::uint8_t skVertex = 0;  // onto a vertex of the target
inline constexpr std::uint8_t skCurve = 1;   // onto a place along the target
inline constexpr std::uint8_t skNone = 2;    // stays where it is
inline constexpr std::uint8_t skDetach = 3;  // a reference point pulled away from every curve

// One candidate of a snap query, and the form of its answer.
struct TXTSnapTarget {
    TXTCurveRepresentation* Curve = nullptr;  // the target
    TXTCurveElement* Point = nullptr;         // the dragged vertex
    TPoint ScreenPosition;
    TMVector WorldPosition;
    TBeadAddress Address = InvalidBeadAddress;  // for a curve snap
    std::int32_t VertexIndex = -1;              // for a vertex snap
    std::uint8_t Kind = skNone;
};

}  // namespace sarnova
