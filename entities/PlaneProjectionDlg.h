// The question that projecting a curve onto a plane entity puts to the user: along which direction,
// and whether onto a copy. The GUI sets the dialog at start-up; without it the command is not offered.
#pragma once
#include <cstdint>
#include <functional>

#include "foundation/VkMaths.h"

namespace sarnova {

// Projection directions, the codes of ProjectPointsOntoPlane.
inline constexpr std::uint8_t pdParallelToX = 0;
inline constexpr std::uint8_t pdParallelToY = 1;
inline constexpr std::uint8_t pdParallelToZ = 2;
inline constexpr std::uint8_t pdNormalToPlane = 3;

// True on "Ok" with the chosen direction and the state of "Copy Curve".
using TPlaneProjectionDialog = std::function<bool(const TMPlane& Plane, std::uint8_t& Direction, bool& CopyCurve)>;

// The dialog the GUI has set; empty without a GUI.
TPlaneProjectionDialog& PlaneProjectionDialog();
// Runs it; false without one.
bool ShowPlaneProjectionDialog(const TMPlane& Plane, std::uint8_t& Direction, bool& CopyCurve);

// Whether points may move onto Plane along axis Direction (0 X, 1 Y, 2 Z): the axis is not parallel
// to the plane. The normal itself is always a way.
bool ProjectionDirectionAllowed(const TMPlane& Plane, std::uint8_t Direction);

}  // namespace sarnova
