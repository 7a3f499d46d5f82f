#include "engine/16BitWaveSample.h"

namespace NSQuillet {

C16BitWaveSample::C16BitWaveSample(uint32_t sampleRate, int32_t frameCount, bool stereo)
    : TPlanarWaveSample(sampleRate, frameCount, stereo, 16) {}

C16BitWaveSample::C16BitWaveSample(uint32_t sampleRate, int32_t frameCount, bool stereo, bool zeroed)
    : TPlanarWaveSample(sampleRate, frameCount, stereo, 16, zeroed) {}

C16BitWaveSample::C16BitWaveSample(const C16BitWaveSample& other) = default;

std::unique_ptr<C16BitWaveSample> C16BitWaveSample::MakeUnfilled(uint32_t sampleRate, int32_t frameCount, bool stereo) {
    return std::unique_ptr<C16BitWaveSample>(new C16BitWaveSample(sampleRate, frameCount, stereo, false));
}

C16BitWaveSample::~C16BitWaveSample() = default;

}  // namespace NSQuillet
