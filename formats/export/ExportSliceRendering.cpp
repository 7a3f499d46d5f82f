#include "formats/export/ExportSliceRendering.h"

#include <algorithm>
#include <new>
#include <vector>

#include "engine/ConvertedWaveSample.h"
#include "engine/DepthCopy.h"
#include "engine/Exporter.h"
#include "engine/SampleRateConverter.h"
#include "foundation/Mishap.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

constexpr int32_t kBlockFrames = 65536;

template <typename Function>
void ForEachBlock(int32_t frames, Function&& function) {
    for (int32_t start = 0; start < frames; start += kBlockFrames) function(start, std::min(kBlockFrames, frames - start));
}

void ChangeDepth(const CABCWaveSample& source, CABCWaveSample& target) {
    std::vector<int32_t> values(size_t(std::min(kBlockFrames, std::max(source.GetFrameCount(), 1))));
    std::vector<int16_t> narrowed(target.GetBitDepth() == 16 ? values.size() : 0);
    for (int32_t channel = 1; channel <= source.GetChannelCount(); ++channel) {
        ForEachBlock(source.GetFrameCount(), [&](int32_t start, int32_t count) {
            CopyAtTargetDepth(source, target, start, count, channel, values.data(), narrowed.data());
        });
    }
}

void ChangeRate(const CABCWaveSample& source, uint32_t sourceRate, uint32_t targetRate, CABCWaveSample& target) {
    std::vector<float> buffer(size_t(std::min(kBlockFrames, std::max(target.GetFrameCount(), 1))));
    for (int32_t channel = 1; channel <= source.GetChannelCount(); ++channel) {
        CSampleRateConverter converter(source, channel, sourceRate, targetRate);
        ForEachBlock(target.GetFrameCount(), [&](int32_t start, int32_t count) {
            converter.Read(buffer.data(), count);
            target.SetFloats(start, count, buffer.data(), channel);
        });
    }
}

}  // namespace

std::unique_ptr<CABCWaveSample> RenderExportSlice(CExporter& exporter, int32_t index, uint32_t sampleRate,
                                                  int32_t bitDepth) {
    if (bitDepth != 16 && bitDepth != 24) throw NSMishap::XStdInvalidArgument("bit depth must be 16 or 24");
    std::unique_ptr<CABCWaveSample> rendered = exporter.RenderSlice(index);
    const uint32_t sourceRate = ClampSampleRate(rendered->GetSampleRate());
    const uint32_t rate = ClampSampleRate(sampleRate);
    if (rate == rendered->GetSampleRate() && bitDepth == rendered->GetBitDepth()) return rendered;

    try {
        const int64_t step = CSampleRateConverter::ComputeStep(sourceRate, rate);
        const int64_t frames = rate == sourceRate ? rendered->GetFrameCount()
                                                  : CSampleRateConverter::ComputeOutputLength(rendered->GetFrameCount(), step);
        std::unique_ptr<CABCWaveSample> converted = MakeEmptyWaveSample(rate, frames, bitDepth, rendered->IsStereo());
        if (rate == sourceRate) ChangeDepth(*rendered, *converted);
        else ChangeRate(*rendered, sourceRate, rate, *converted);
        CarryLoopOver(*rendered, *converted, step);
        return converted;
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory to convert the exported slice");
    }
}

}  // namespace NSQuillet
