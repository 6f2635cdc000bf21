#include "entities/CalculationSectionMakers.h"

#include "foundation/PolyList.h"

namespace sarnova {

TCalculationSectionMakers& CalculationSectionMakers() {
    static TCalculationSectionMakers Installed;
    return Installed;
}

}  // namespace sarnova
