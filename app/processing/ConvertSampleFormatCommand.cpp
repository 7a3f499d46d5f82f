#include "app/processing/ConvertSampleFormatCommand.h"

#include <algorithm>
#include <new>
#include <vector>

#include "app/document/DocumentTexts.h"
#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/processing/ProcessingBlocks.h"
#include "app/processing/TargetSampleFormat.h"
#include "engine/ConvertedWaveSample.h"
#include "engine/DepthCopy.h"
#include "engine/SampleRateConverter.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

// Each slice at the output frame nearest its source frame's place; slices that land on the
// same frame merge by the sequence's insertion rule.
std::unique_ptr<CSliceSequence> CarrySlicesOver(const CSliceSequence& from, const CABCWaveSample& converted,
                                                int64_t step) {
    auto slices = std::make_unique<CSliceSequence>(&converted);
    const int64_t last = int64_t(converted.GetFrameCount()) - 1;
    for (CSlice slice : from.GetSlices()) {
        slice.SetPosition(MapConvertedFrame(slice.GetPosition(), step, last));
        slices->InsertSlice(slice);
    }
    slices->SetGateSensitivity(from.GetGateSensitivity());
    slices->SetSensitivity(from.GetSensitivity());
    return slices;
}

// Each pass reports its own progress from 0.
void StartPass(CQuilletLengthyOperation& operation, int32_t text) {
    operation.Progress(0);
    operation.SetText(StringReference(text).GetText());
}

void ChangeDepthOnly(const CABCWaveSample& source, CABCWaveSample& target, CQuilletLengthyOperation& operation) {
    const int32_t frames = source.GetFrameCount();
    StartPass(operation, NSStringIds::kProgress_ConvertingRatePass2);
    CBlockProgress progress(operation, int64_t(frames) * source.GetChannelCount());
    std::vector<int32_t> values = AllocateBlockBuffer<int32_t>(frames);
    std::vector<int16_t> narrowed;
    if (target.GetBitDepth() == 16) narrowed = AllocateBlockBuffer<int16_t>(frames);
    for (int32_t channel = 1; channel <= source.GetChannelCount(); ++channel) {
        ForEachBlock(0, frames, progress, [&](int32_t start, int32_t count) {
            CopyAtTargetDepth(source, target, start, count, channel, values.data(), narrowed.data());
        });
    }
}

std::vector<CSampleRateConverter> MakeConverters(const CABCWaveSample& source, uint32_t sourceRate,
                                                 uint32_t targetRate) {
    try {
        std::vector<CSampleRateConverter> converters;
        converters.reserve(size_t(source.GetChannelCount()));
        for (int32_t channel = 1; channel <= source.GetChannelCount(); ++channel)
            converters.emplace_back(source, channel, sourceRate, targetRate);
        return converters;
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for the sample-rate converters");
    }
}

void ChangeRate(const CABCWaveSample& source, uint32_t sourceRate, uint32_t targetRate, CABCWaveSample& target,
                CQuilletLengthyOperation& operation) {
    const int32_t frames = target.GetFrameCount();
    const int64_t total = int64_t(frames) * source.GetChannelCount();
    std::vector<float> buffer = AllocateBlockBuffer<float>(frames);

    StartPass(operation, NSStringIds::kProgress_ConvertingRatePass1);
    float peak = 0.0f;
    {
        std::vector<CSampleRateConverter> converters = MakeConverters(source, sourceRate, targetRate);
        CBlockProgress progress(operation, total);
        for (CSampleRateConverter& converter : converters) {
            ForEachBlock(0, frames, progress,
                         [&](int32_t, int32_t count) { converter.Read(buffer.data(), count); });
            peak = std::max(peak, converter.GetPeak());
        }
    }

    // Full scale is 1.0, which the sample writes as its largest value; louder output is
    // scaled down to it, quieter output is left as it is.
    const float gain = peak > 1.0f ? float(1.0 / double(peak)) : 1.0f;
    StartPass(operation, NSStringIds::kProgress_ConvertingRatePass2);
    std::vector<CSampleRateConverter> converters = MakeConverters(source, sourceRate, targetRate);
    CBlockProgress progress(operation, total);
    for (int32_t channel = 1; channel <= source.GetChannelCount(); ++channel) {
        CSampleRateConverter& converter = converters[size_t(channel - 1)];
        converter.SetOutputGain(gain);
        ForEachBlock(0, frames, progress, [&](int32_t start, int32_t count) {
            converter.Read(buffer.data(), count);
            target.SetFloats(start, count, buffer.data(), channel);
        });
    }
}

void CheckBitDepth(int32_t bitDepth) {
    if (!IsTargetBitDepth(bitDepth)) throw NSMishap::XStdInvalidArgument("bit depth must be 16 or 24");
}

}  // namespace

std::unique_ptr<CABCWaveSample> ConvertWaveSampleFormat(const CABCWaveSample& source, uint32_t targetRate,
                                                        int32_t targetBitDepth, CQuilletLengthyOperation& operation) {
    CheckBitDepth(targetBitDepth);
    const uint32_t sourceRate = ClampSampleRate(source.GetSampleRate());
    const uint32_t rate = ClampSampleRate(targetRate);
    const int64_t step = CSampleRateConverter::ComputeStep(sourceRate, rate);
    const int64_t frames = CSampleRateConverter::ComputeOutputLength(source.GetFrameCount(), step);
    std::unique_ptr<CABCWaveSample> target = MakeEmptyWaveSample(rate, frames, targetBitDepth, source.IsStereo());
    if (rate == sourceRate) ChangeDepthOnly(source, *target, operation);
    else ChangeRate(source, sourceRate, rate, *target, operation);
    CarryLoopOver(source, *target, step);
    return target;
}

void ConvertSampleFormat(CQuilletDocument& document, CQuilletLengthyOperation& operation, uint32_t targetRate,
                         int32_t targetBitDepth) {
    CheckBitDepth(targetBitDepth);
    const CABCWaveSample& source = document.GetWaveSample();
    const uint32_t sourceRate = ClampSampleRate(source.GetSampleRate());
    const uint32_t rate = ClampSampleRate(targetRate);
    if (rate == source.GetSampleRate() && targetBitDepth == source.GetBitDepth()) return;

    std::unique_ptr<CABCWaveSample> converted = ConvertWaveSampleFormat(source, rate, targetBitDepth, operation);
    auto slices = CarrySlicesOver(document.GetSliceSequence(), *converted,
                                  CSampleRateConverter::ComputeStep(sourceRate, rate));
    document.CloseUndoStep();
    document.PerformWaveSampleAndSliceSequenceChange(std::move(converted), std::move(slices),
                                                     UndoText(NSStringIds::kUndo_ConvertSampleFormat));
    document.CloseUndoStep();
}

}  // namespace NSQuillet
