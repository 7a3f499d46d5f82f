#pragma once

#include <cstdint>

#include "engine/EnvelopeSettings.h"
#include "engine/EqualizerSettings.h"
#include "engine/TransientShaperSettings.h"
#include "formats/loopfile/LoopFileSettings.h"
#include "formats/lux2/Version.h"

namespace NSQuillet {

// The index (0..1023) of the sampler's time-table entry at `sampleRate` nearest to the time
// 4 · 1.1^(v · 100 / 128) ms of the old 0..127 scale; of two equally near entries the lower.
int32_t OldScaleTimeToIndex(int32_t v, uint32_t sampleRate);

// Puts the effect values stored in a file's chunks into `settings` as the file's header
// version says: from 2.0 on clamped to what the voices use; in 1.0 files the times converted
// from the old scale first; in versions between, the times are left as `settings` has them.
// The equalizer is clamped to its ranges in every version. `sampleRate` is the file's.
void LoadLUX2Effects(const CVersion& headerVersion, uint32_t sampleRate, const SEnvelopeSettings& envelope,
                     const SEqualizerSettings& equalizer, const STransientShaperSettings& shaper,
                     SLoopFileSettings& settings);

}  // namespace NSQuillet
