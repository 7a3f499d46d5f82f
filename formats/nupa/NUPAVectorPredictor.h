#pragma once

// Only for x86-64, in functions compiled for QUILLET_NUPA_VECTOR_TARGET, called where
// NSNUPA::UseVectors() holds.
#if defined(__x86_64__)

#include <immintrin.h>

#include <cstdint>

#include "formats/nupa/NUPAChannelState.h"

#define QUILLET_NUPA_VECTOR_TARGET __attribute__((target("avx2,bmi,bmi2,lzcnt")))

namespace NSQuillet {

namespace NSNUPA {

// What the next sample of a channel needs: its order's energy, which gives the divisor, and the
// order's prediction of the sample. Kept apart from CVectorPredictor so that it stays in
// registers.
struct SNextSample {
    uint32_t fLeast;
    uint32_t fBase;
};

// One channel's predictor for the length of a block call, with the five orders in lanes 0 to 4
// of vectors; lanes 5 to 7 copy lane 4, so that they never change the minimum. The lanes that
// scalar code reads live in memory: the decayed energies, the predictions of each order (the
// sums of the values below it) and, for UpdateWithoutGuessing, the energies.
class CVectorPredictor {
public:
    QUILLET_NUPA_VECTOR_TARGET CVectorPredictor(const SNUPAChannelState& state, SNextSample& next) {
        const uint32_t* x = state.fValue;
        const uint32_t* e = state.fEnergy;
        const uint32_t below[5] = {0, x[0], x[0] + x[1], x[0] + x[1] + x[2], x[0] + x[1] + x[2] + x[3]};
        const __m256i energy = _mm256_setr_epi32(int(e[0]), int(e[1]), int(e[2]), int(e[3]), int(e[4]), int(e[4]),
                                                 int(e[4]), int(e[4]));
        fPending = energy;
        Set(fDecayed, Decay(energy));
        Set(fBelow, _mm256_setr_epi32(0, int(below[1]), int(below[2]), int(below[3]), int(below[4]), int(below[4]),
                                      int(below[4]), int(below[4])));
        fValues = _mm256_setr_epi32(int(x[0]), int(x[1]), int(x[2]), int(x[3]), int(x[4]), 0, 0, 0);
        const int order = ChooseOrder(state.fEnergy);
        next = {e[order], below[order]};
    }
    QUILLET_NUPA_VECTOR_TARGET void Store(SNUPAChannelState& state) const {
        alignas(32) uint32_t values[8];
        alignas(32) uint32_t energies[8];
        Set(values, fValues);
        Set(energies, fPending);
        for (int k = 0; k < 5; ++k) {
            state.fValue[k] = values[k];
            state.fEnergy[k] = energies[k];
        }
    }

    // The state after sample `s`, and what the next one needs. The next order is taken once more
    // in scalar, by a branch on the vector minimum: the order seldom changes, so a decoder's next
    // code need not wait for the vector, only for a wrong guess.
    QUILLET_NUPA_VECTOR_TARGET __attribute__((always_inline)) SNextSample Update(uint32_t s) {
        const unsigned lowest = Advance(s);
        // The same energy in scalar from the old lanes; the next prediction of order k is k s
        // minus the old predictions of the orders 1 to k - 1.
        SNextSample next;
        if (lowest & 1) {
            next = {fDecayed[0] + Zigzag(s), 0};
        } else if (lowest & 2) {
            next = {fDecayed[1] + Zigzag(s - fBelow[1]), s};
        } else if (lowest & 4) {
            next = {fDecayed[2] + Zigzag(s - fBelow[2]), 2 * s - fBelow[1]};
        } else if (lowest & 8) {
            next = {fDecayed[3] + Zigzag(s - fBelow[3]), 3 * s - fBelow[1] - fBelow[2]};
        } else {
            next = {fDecayed[4] + Zigzag(s - fBelow[4]), 4 * s - fBelow[1] - fBelow[2] - fBelow[3]};
        }
        Finish();
        return next;
    }
    // The same without the guess, for an encoder, which has every sample beforehand: the lanes of
    // the next order are read back.
    QUILLET_NUPA_VECTOR_TARGET __attribute__((always_inline)) SNextSample UpdateWithoutGuessing(uint32_t s) {
        const int order = __builtin_ctz(Advance(s));
        Finish();
        Set(fEnergy, fPending);
        return {fEnergy[order], fBelow[order]};
    }

private:
    QUILLET_NUPA_VECTOR_TARGET static __m256i Get(const uint32_t (&lanes)[8]) {
        return _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
    }
    QUILLET_NUPA_VECTOR_TARGET static void Set(uint32_t (&lanes)[8], __m256i v) {
        _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), v);
    }
    QUILLET_NUPA_VECTOR_TARGET static __m256i Decay(__m256i energy) {
        return _mm256_sub_epi32(energy, _mm256_srli_epi32(energy, 5));
    }

    // The new values and energies of sample `s`, in fValues and fPending; the lanes of least
    // energy as bits.
    QUILLET_NUPA_VECTOR_TARGET __attribute__((always_inline)) unsigned Advance(uint32_t s) {
        fValues = _mm256_sub_epi32(_mm256_set1_epi32(int(s)), Get(fBelow));
        const __m256i zigzag = _mm256_xor_si256(_mm256_add_epi32(fValues, fValues), _mm256_srai_epi32(fValues, 31));
        fPending = _mm256_add_epi32(Get(fDecayed), zigzag);
        __m256i least = _mm256_min_epu32(fPending, _mm256_shuffle_epi32(fPending, 0xb1));
        least = _mm256_min_epu32(least, _mm256_shuffle_epi32(least, 0x4e));
        least = _mm256_min_epu32(least, _mm256_permute2x128_si256(least, least, 1));
        return unsigned(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(fPending, least))));
    }
    // The new lanes. The new predictions are the sums of the new values below each order: a
    // prefix sum across the lanes.
    QUILLET_NUPA_VECTOR_TARGET __attribute__((always_inline)) void Finish() {
        __m256i sums = _mm256_add_epi32(fValues, _mm256_slli_si256(fValues, 4));
        sums = _mm256_add_epi32(sums, _mm256_slli_si256(sums, 8));
        Set(fBelow, _mm256_and_si256(_mm256_permutevar8x32_epi32(sums, _mm256_setr_epi32(0, 0, 1, 2, 3, 3, 3, 3)),
                                     _mm256_setr_epi32(0, -1, -1, -1, -1, -1, -1, -1)));
        Set(fDecayed, Decay(fPending));
    }

    alignas(32) uint32_t fDecayed[8];
    alignas(32) uint32_t fBelow[8];
    alignas(32) uint32_t fEnergy[8];
    __m256i fValues;
    __m256i fPending;
};

}  // namespace NSNUPA

}  // namespace NSQuillet

#endif
