// The mirror dialog's transform: a reflection in one of the three axis planes at a typed offset.
#pragma once
#include "foundation/VkMaths.h"

namespace sarnova {

// The dialog's three choices, in its order.
enum class TMirrorChoice { mcXYPlane, mcYZPlane, mcZXPlane };

// mcXYPlane mirrors z about z = Offset, mcYZPlane x about x = Offset, mcZXPlane y about y = Offset.
TMMatrix MirrorTransform(TMirrorChoice Choice, double Offset);

}  // namespace sarnova
