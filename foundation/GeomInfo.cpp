// Problem reports of the geometry kernels.
#include "foundation/GeomInfo.h"

namespace sarnova {

ITrackInfo::~ITrackInfo() = default;

}  // namespace sarnova
