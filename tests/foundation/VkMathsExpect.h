// Checks shared by the geometry tests: vectors compared within a tolerance, and a call that must fail
// with a given message.
#pragma once
#include <gtest/gtest.h>

#include "foundation/Errors.h"
#include "foundation/VkMaths.h"

inline void ExpectNear(const sarnova::TMVector& Actual, const sarnova::TMVector& Expected, double Tol = 1e-12) {
    EXPECT_NEAR(Actual.X, Expected.X, Tol);
    EXPECT_NEAR(Actual.Y, Expected.Y, Tol);
    EXPECT_NEAR(Actual.Z, Expected.Z, Tol);
}

template <typename F>
void ExpectError(F Call, const char* Message) {
    try {
        Call();
        ADD_FAILURE() << "no exception, expected: " << Message;
    } catch (const sarnova::EError& E) {
        EXPECT_STREQ(E.what(), Message);
    }
}
