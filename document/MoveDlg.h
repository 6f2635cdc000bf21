// The move dialog's transform: the selection translated by three typed distances.
#pragma once
#include "foundation/VkMaths.h"

namespace sarnova {

// The identity with DX, DY and DZ in column 3; the same as MatrixTranslation.
TMMatrix MoveTransform(double DX, double DY, double DZ);

}  // namespace sarnova
