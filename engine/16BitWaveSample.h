#pragma once

#include <cstdint>
#include <memory>

#include "engine/FloatBlockConversion.h"
#include "engine/PlanarWaveSample.h"
#include "engine/SampleConversion.h"

namespace NSQuillet {

// Each channel holds one 16-bit signed value per frame; v stands for v/32768.
class C16BitWaveSample final : public TPlanarWaveSample<C16BitWaveSample, int16_t> {
public:
    // Allocates zero-filled buffers (unset ones for kUnset); the out-of-memory failure when
    // they cannot be had.
    C16BitWaveSample(uint32_t sampleRate, int32_t frameCount, bool stereo,
                     EInitialValues initial = EInitialValues::kZero);
    C16BitWaveSample(const C16BitWaveSample& other);
    ~C16BitWaveSample() override;

private:
    friend class TPlanarWaveSample<C16BitWaveSample, int16_t>;

    static constexpr int32_t kQuietLevel = 1023;

    static float ToFloat(int16_t v) { return float(v) * (1.0f / 32768.0f); }
    static int16_t FromFloat(float value) {
        return int16_t(NSSampleConversion::ScaleRoundClamp(value, 32767.0, NSSampleConversion::kMinimum16,
                                                           NSSampleConversion::kMaximum16));
    }
    static void FromFloats(const float* from, int16_t* to, int32_t count) {
        NSSampleConversion::ScaleRoundClamp16(from, to, count);
    }
    static int16_t To16(int16_t v) { return v; }
    static int16_t From16(int16_t value) { return value; }
    static int32_t To24(int16_t v) { return int32_t(v) * 256; }
    static int16_t From24(int32_t value) { return int16_t(NSSampleConversion::ClampTo24(value) >> 8); }
    static float To24AsFloat(int16_t v) { return float(int32_t(v) * 256); }
    static int16_t From24AsFloat(float value) { return int16_t(NSSampleConversion::TruncateTo24(value) >> 8); }
};

}  // namespace NSQuillet
