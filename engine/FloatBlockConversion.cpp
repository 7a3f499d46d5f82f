#include "engine/FloatBlockConversion.h"

#include "engine/SampleConversion.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace NSQuillet::NSSampleConversion {

#if defined(__SSE2__)
namespace {

// Four values as ScaleRoundClamp gives them, in two double pairs. The product of a float and a
// scale below 2^24 is exact in double. NaN becomes 0; the clamp comes before the rounding,
// which leaves the result alone as the bounds are integers. Rounding half away from zero is
// then a truncation of value + copysign(0.5, value): for a magnitude of 0.25 or more the sum
// needs at most 48 significant bits and is exact, and a smaller one stays below 1 and
// truncates to 0 as it should.
inline __m128i ScaleRoundClamp4(__m128 value, __m128d scale, __m128d lowest, __m128d highest) {
    const __m128d half = _mm_set1_pd(0.5);
    const __m128d sign = _mm_set1_pd(-0.0);
    auto pair = [&](__m128d scaled) {
        scaled = _mm_and_pd(scaled, _mm_cmpeq_pd(scaled, scaled));
        scaled = _mm_min_pd(_mm_max_pd(scaled, lowest), highest);
        const __m128d away = _mm_or_pd(_mm_and_pd(scaled, sign), half);
        return _mm_cvttpd_epi32(_mm_add_pd(scaled, away));
    };
    const __m128i low = pair(_mm_mul_pd(_mm_cvtps_pd(value), scale));
    const __m128i high = pair(_mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(value, value)), scale));
    return _mm_unpacklo_epi64(low, high);
}

}  // namespace

void ScaleRoundClamp16(const float* from, int16_t* to, int32_t count) {
    const __m128d scale = _mm_set1_pd(32767.0);
    const __m128d lowest = _mm_set1_pd(kMinimum16);
    const __m128d highest = _mm_set1_pd(kMaximum16);
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i first = ScaleRoundClamp4(_mm_loadu_ps(from + i), scale, lowest, highest);
        const __m128i second = ScaleRoundClamp4(_mm_loadu_ps(from + i + 4), scale, lowest, highest);
        // The values are in range already, so the saturation never acts.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_packs_epi32(first, second));
    }
    for (; i < count; ++i) to[i] = int16_t(ScaleRoundClamp(from[i], 32767.0, kMinimum16, kMaximum16));
}

void ScaleRoundClamp24(const float* from, int32_t* to, int32_t count) {
    const __m128d scale = _mm_set1_pd(8388607.0);
    const __m128d lowest = _mm_set1_pd(kMinimum24);
    const __m128d highest = _mm_set1_pd(kMaximum24);
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i),
                         ScaleRoundClamp4(_mm_loadu_ps(from + i), scale, lowest, highest));
    }
    for (; i < count; ++i) to[i] = ScaleRoundClamp(from[i], 8388607.0, kMinimum24, kMaximum24);
}

#else

void ScaleRoundClamp16(const float* from, int16_t* to, int32_t count) {
    for (int32_t i = 0; i < count; ++i) to[i] = int16_t(ScaleRoundClamp(from[i], 32767.0, kMinimum16, kMaximum16));
}

void ScaleRoundClamp24(const float* from, int32_t* to, int32_t count) {
    for (int32_t i = 0; i < count; ++i) to[i] = ScaleRoundClamp(from[i], 8388607.0, kMinimum24, kMaximum24);
}

#endif

}  // namespace NSQuillet::NSSampleConversion
