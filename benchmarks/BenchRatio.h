// Ratio counters of the benchmarks: a case times its own call in the benchmark loop and, for its
// counter, that call and a baseline again here in alternating rounds, so that a busy machine slows
// both alike. Rounds are timed in the thread's processor time, which leaves out the time the thread
// waits for a processor, and the best round of each counts.
#pragma once
#include <time.h>

#include <algorithm>
#include <limits>

namespace sarnova::bench {

inline double ThreadSeconds() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return static_cast<double>(T.tv_sec) + 1e-9 * static_cast<double>(T.tv_nsec);
}

// Best time of Measured over best time of Baseline in Rounds alternating rounds of one call each;
// Setup runs before each call of Measured, untimed.
template <typename TSetup, typename TMeasured, typename TBaseline>
double BestRatioAfter(TSetup&& Setup, TMeasured&& Measured, TBaseline&& Baseline, int Rounds = 5) {
    double BestMeasured = std::numeric_limits<double>::infinity();
    double BestBaseline = BestMeasured;
    for (int R = 0; R < Rounds; ++R) {
        Setup();
        double Start = ThreadSeconds();
        Measured();
        BestMeasured = std::min(BestMeasured, ThreadSeconds() - Start);
        Start = ThreadSeconds();
        Baseline();
        BestBaseline = std::min(BestBaseline, ThreadSeconds() - Start);
    }
    return BestMeasured / BestBaseline;
}

template <typename TMeasured, typename TBaseline>
double BestRatio(TMeasured&& Measured, TBaseline&& Baseline, int Rounds = 5) {
    return BestRatioAfter([] {}, Measured, Baseline, Rounds);
}

}  // namespace sarnova::bench
