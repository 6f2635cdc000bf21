// The finaliser that spreads the bits of a 64-bit key over the whole word, for hash tables keyed by
// exact positions.
#pragma once
#include <cstdint>

namespace sarnova {

inline std::uint64_t MixBits(std::uint64_t H) {
    H ^= H >> 33;
    H *= 0xff51afd7ed558ccdULL;
    H ^= H >> 33;
    H *= 0xc4ceb9fe1a85ec53ULL;
    H ^= H >> 33;
    return H;
}

}  // namespace sarnova
