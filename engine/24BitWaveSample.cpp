#include "engine/24BitWaveSample.h"

namespace NSQuillet {

C24BitWaveSample::C24BitWaveSample(uint32_t sampleRate, int32_t frameCount, bool stereo)
    : TPlanarWaveSample(sampleRate, frameCount, stereo, 24) {}

C24BitWaveSample::C24BitWaveSample(uint32_t sampleRate, int32_t frameCount, bool stereo, bool zeroed)
    : TPlanarWaveSample(sampleRate, frameCount, stereo, 24, zeroed) {}

C24BitWaveSample::C24BitWaveSample(const C24BitWaveSample& other) = default;

std::unique_ptr<C24BitWaveSample> C24BitWaveSample::MakeUnfilled(uint32_t sampleRate, int32_t frameCount, bool stereo) {
    return std::unique_ptr<C24BitWaveSample>(new C24BitWaveSample(sampleRate, frameCount, stereo, false));
}

C24BitWaveSample::~C24BitWaveSample() = default;

}  // namespace NSQuillet
