// Helpers of the grid's tests.
#pragma once
#include <string>

#include "foundation/Errors.h"

namespace sarnova {

// The message of the error that Action raises; empty when it raises none.
template <class F>
std::string ErrorOf(F&& Action) {
    try {
        Action();
    } catch (const EError& E) {
        return E.what();
    }
    return "";
}

}  // namespace sarnova
