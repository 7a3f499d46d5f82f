#include "app/document/SavedWaveSample.h"

#include <utility>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

std::atomic<int64_t> CSavedWaveSample::sLiveBytes{0};
std::atomic<int64_t> CSavedWaveSample::sLiveCount{0};

CSavedWaveSample::CSavedWaveSample(const CABCWaveSample& sample) : fSample(Clone(sample)) { Count(); }

CSavedWaveSample::CSavedWaveSample(std::unique_ptr<CABCWaveSample> sample) {
    if (!dynamic_cast<const C16BitWaveSample*>(sample.get()) && !dynamic_cast<const C24BitWaveSample*>(sample.get()))
        throw NSMishap::XStdInvalidArgument("saved wave sample of an unknown class");
    fSample = std::move(sample);
    Count();
}

CSavedWaveSample::~CSavedWaveSample() {
    sLiveBytes -= fBytes;
    --sLiveCount;
}

void CSavedWaveSample::Count() {
    fBytes = AudioBytes(*fSample);
    sLiveBytes += fBytes;
    ++sLiveCount;
}

std::unique_ptr<CABCWaveSample> CSavedWaveSample::MakeSample() const { return Clone(*fSample); }

std::unique_ptr<CABCWaveSample> CSavedWaveSample::Clone(const CABCWaveSample& sample) {
    try {
        if (const auto* sixteen = dynamic_cast<const C16BitWaveSample*>(&sample))
            return std::make_unique<C16BitWaveSample>(*sixteen);
        if (const auto* twentyFour = dynamic_cast<const C24BitWaveSample*>(&sample))
            return std::make_unique<C24BitWaveSample>(*twentyFour);
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory to save the wave sample");
    }
    throw NSMishap::XStdInvalidArgument("saved wave sample of an unknown class");
}

int64_t CSavedWaveSample::AudioBytes(const CABCWaveSample& sample) {
    const int64_t valueBytes = dynamic_cast<const C16BitWaveSample*>(&sample) ? 2 : 4;
    return int64_t(sample.GetFrameCount()) * sample.GetChannelCount() * valueBytes;
}

}  // namespace NSQuillet
