#include "engine/16BitWaveSample.h"

namespace NSQuillet {

C16BitWaveSample::C16BitWaveSample(uint32_t sampleRate, int32_t frameCount, bool stereo, EInitialValues initial)
    : TPlanarWaveSample(sampleRate, frameCount, stereo, 16, initial) {}

C16BitWaveSample::C16BitWaveSample(const C16BitWaveSample& other) = default;

C16BitWaveSample::~C16BitWaveSample() = default;

}  // namespace NSQuillet
