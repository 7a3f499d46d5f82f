#pragma once

#include <cstdint>

namespace NSQuillet {

// Tempo is held in thousandths of a beat per minute: 130.000 BPM is 130000.
constexpr int32_t kTempoUnitsPerBeatPerMinute = 1000;

// Musical positions are in ticks.
constexpr int32_t kTicksPerQuarterNote = 15360;

// Audio is processed in blocks of this many frames.
constexpr int32_t kBlockFrames = 64;

// Gain is a 16-bit integer; this is unity.
constexpr int16_t kUnityGain = 1000;

}  // namespace NSQuillet
