#include <gtest/gtest.h>

#include <chrono>

#include "foundation/TextUtils.h"

namespace sarnova {
namespace {

TEST(WaitMilliseconds, ProcessesMessagesOnceThenWaitsOutTheTime) {
    int Passes = 0;
    GProcessMessages = [&] {
        ++Passes;
        // Time spent on the messages counts towards the wait.
        const auto Busy = std::chrono::steady_clock::now() + std::chrono::milliseconds(30);
        while (std::chrono::steady_clock::now() < Busy) {
        }
    };
    const auto Begin = std::chrono::steady_clock::now();
    WaitMilliseconds(120);
    const auto Took = std::chrono::steady_clock::now() - Begin;
    GProcessMessages = nullptr;
    EXPECT_EQ(Passes, 1);
    EXPECT_GE(Took, std::chrono::milliseconds(120));
    EXPECT_LT(Took, std::chrono::milliseconds(120 + 30 + 500));

    WaitMilliseconds(0);  // no GUI: nothing to process, no wait
}

}  // namespace
}  // namespace sarnova
