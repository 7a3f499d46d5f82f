#pragma once

#include <cstdint>
#include <memory>

#include "engine/FloatBlockConversion.h"
#include "engine/PlanarWaveSample.h"
#include "engine/SampleConversion.h"

namespace NSQuillet {

// Each channel holds one 32-bit signed value per frame, a 24-bit sample in
// -8388608..8388607 (not shifted); v stands for v/8388608. Every write keeps that range.
class C24BitWaveSample final : public TPlanarWaveSample<C24BitWaveSample, int32_t> {
public:
    // Allocates zero-filled buffers (unset ones for kUnset); the out-of-memory failure when
    // they cannot be had.
    C24BitWaveSample(uint32_t sampleRate, int32_t frameCount, bool stereo,
                     EInitialValues initial = EInitialValues::kZero);
    C24BitWaveSample(const C24BitWaveSample& other);
    ~C24BitWaveSample() override;

private:
    friend class TPlanarWaveSample<C24BitWaveSample, int32_t>;

    static constexpr int32_t kQuietLevel = 0x3FFFF;

    static float ToFloat(int32_t v) { return float(v) * (1.0f / 8388608.0f); }
    static int32_t FromFloat(float value) {
        return NSSampleConversion::ScaleRoundClamp(value, 8388607.0, NSSampleConversion::kMinimum24,
                                                   NSSampleConversion::kMaximum24);
    }
    static void FromFloats(const float* from, int32_t* to, int32_t count) {
        NSSampleConversion::ScaleRoundClamp24(from, to, count);
    }
    // The low 16 bits of the arithmetic shift.
    static int16_t To16(int32_t v) { return int16_t(uint16_t(uint32_t(v >> 8) & 0xFFFFu)); }
    static int32_t From16(int16_t value) { return int32_t(value) * 256; }
    static int32_t To24(int32_t v) { return v; }
    static int32_t From24(int32_t value) { return NSSampleConversion::ClampTo24(value); }
    static float To24AsFloat(int32_t v) { return float(v); }
    static int32_t From24AsFloat(float value) { return NSSampleConversion::TruncateTo24(value); }
};

}  // namespace NSQuillet
