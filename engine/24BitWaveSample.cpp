#include "engine/24BitWaveSample.h"

namespace NSQuillet {

C24BitWaveSample::C24BitWaveSample(uint32_t sampleRate, int32_t frameCount, bool stereo, EInitialValues initial)
    : TPlanarWaveSample(sampleRate, frameCount, stereo, 24, initial) {}

C24BitWaveSample::C24BitWaveSample(const C24BitWaveSample& other) = default;

C24BitWaveSample::~C24BitWaveSample() = default;

}  // namespace NSQuillet
