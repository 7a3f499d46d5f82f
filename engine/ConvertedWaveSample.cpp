#include "engine/ConvertedWaveSample.h"

#include <algorithm>
#include <limits>
#include <new>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/SampleRateConverter.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

std::unique_ptr<CABCWaveSample> MakeEmptyWaveSample(uint32_t rate, int64_t frames, int32_t bitDepth, bool stereo) {
    if (frames > std::numeric_limits<int32_t>::max())
        NSMishap::ThrowOutOfMemory("converted wave sample longer than 2^31 frames");
    try {
        if (bitDepth == 24) return std::make_unique<C24BitWaveSample>(rate, int32_t(frames), stereo);
        return std::make_unique<C16BitWaveSample>(rate, int32_t(frames), stereo);
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for the converted wave sample");
    }
}

int32_t MapConvertedFrame(int32_t frame, int64_t step, int64_t limit) {
    return int32_t(std::min(CSampleRateConverter::MapSourceFrame(frame, step), limit));
}

void CarryLoopOver(const CABCWaveSample& source, CABCWaveSample& target, int64_t step) {
    if (!source.IsLoopSet()) return;
    const int64_t length = target.GetFrameCount();
    const int32_t left = MapConvertedFrame(source.GetLeftLocator(), step, length);
    const int32_t right = source.GetRightLocator() >= source.GetFrameCount()
                              ? int32_t(length)
                              : MapConvertedFrame(source.GetRightLocator(), step, length);
    target.SetLocators(source.GetLoopKind(), left, right);
}

}  // namespace NSQuillet
