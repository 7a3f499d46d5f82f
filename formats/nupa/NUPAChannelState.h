#pragma once

#include <cstdint>

namespace NSQuillet {

// The predictor of one coded channel: the last sample and its differences of order 1 to 4, and
// one running magnitude per order. Unsigned 32-bit, modular arithmetic throughout; every
// constant here is part of the stored stream.
struct SNUPAChannelState {
    static constexpr uint32_t kInitialEnergy = 2560;

    uint32_t fValue[5] = {0, 0, 0, 0, 0};
    uint32_t fEnergy[5] = {kInitialEnergy, kInitialEnergy, kInitialEnergy, kInitialEnergy, kInitialEnergy};

    void Reset() { *this = SNUPAChannelState(); }
};

namespace NSNUPA {

// Quotient runs longer than this multiply the divisor by four.
inline constexpr uint32_t kRunLength = 7;

// 0, -1, 1, -2, 2 -> 0, 1, 2, 3, 4.
inline uint32_t Zigzag(uint32_t value) { return (value << 1) ^ (0u - (value >> 31)); }
inline uint32_t Unzigzag(uint32_t code) { return (code >> 1) ^ (0u - (code & 1)); }

// The Golomb divisor of an energy, in 32-bit arithmetic. An energy that has wrapped can give 0,
// which no stream can code with; such a divisor is taken as 1.
inline uint32_t Divisor(uint32_t energy) {
    const uint32_t divisor = (3 * energy + 36) >> 7;
    return divisor ? divisor : 1;
}

// Binary digits of `value`: 1 -> 1, 2 and 3 -> 2, 4 -> 3; 0 -> 0.
inline int BitLength(uint64_t value) { return value ? 64 - __builtin_clzll(value) : 0; }

// The order with the smallest energy, the lowest on ties.
inline int ChooseOrder(const uint32_t (&energy)[5]) {
    int order = 0;
    uint32_t best = energy[0];
    for (int i = 1; i < 5; ++i) {
        if (energy[i] < best) {
            best = energy[i];
            order = i;
        }
    }
    return order;
}

inline void UpdateEnergies(uint32_t (&energy)[5], const uint32_t (&value)[5]) {
    for (int i = 0; i < 5; ++i) energy[i] = energy[i] - (energy[i] >> 5) + Zigzag(value[i]);
}

}  // namespace NSNUPA

}  // namespace NSQuillet
