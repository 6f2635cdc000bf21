// Out-of-line anchor for the exception hierarchy's vtable.
#include "foundation/Errors.h"

namespace sarnova {

EError::~EError() = default;

}  // namespace sarnova
