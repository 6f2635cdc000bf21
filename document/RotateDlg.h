// The rotate dialog's transform: the selection turned about a typed origin by three angles.
#pragma once
#include "foundation/VkMaths.h"

namespace sarnova {

// M applied about the point Origin instead of the world origin: Origin stays where it is.
TMMatrix TransformAboutPoint(const TMMatrix& M, const TMVector& Origin);

// MatrixFromRotationAngles of the angles, given in degrees, about Origin.
TMMatrix RotateTransform(double AngleX, double AngleY, double AngleZ, const TMVector& Origin);

}  // namespace sarnova
