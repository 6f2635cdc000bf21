// The scale dialog's transform and its unit-conversion presets.
#pragma once
#include <array>
#include <string>

#include "foundation/VkMaths.h"

namespace sarnova {

// MatrixScaling of the three factors about Origin: Origin stays where it is.
TMMatrix ScaleTransform(double FactorX, double FactorY, double FactorZ, const TMVector& Origin);

// A unit conversion offered beside the custom factors; choosing it puts Factor into all three edits.
struct TScalePreset {
    const char* Caption;
    double Factor;
};
// In the dialog's order, after "Custom Scale Factors". The feet factors are the program's own
// 0.304799999536704, not the exact 0.3048: scaled documents must come out as they always did.
extern const std::array<TScalePreset, 6> ScalePresets;

// The text a preset writes into a factor edit: the shortest that reads back as the same factor.
std::string ScaleFactorText(double Factor);

}  // namespace sarnova
