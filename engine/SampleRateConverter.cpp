#include "engine/SampleRateConverter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/DSPTables.h"
#include "engine/DSPTablesCache.h"
#include "engine/WaveSample.h"
#include "foundation/MulDiv.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

constexpr int64_t kFractionMask = CSampleRateConverter::kUnitStep - 1;
// The top eight of the nineteen fraction bits pick the interpolation phase.
constexpr int32_t kPhaseShift = CSampleRateConverter::kFractionBits - 8;

}  // namespace

CSampleRateConverter::CSampleRateConverter(const CABCWaveSample& source, int32_t channel, uint32_t sourceRate,
                                           uint32_t targetRate)
    : fSource(source),
      fChannel(channel),
      fSourceLength(source.GetFrameCount()),
      fInterpolation(CDSPTables::GetInterpolationTable()),
      fStep(ComputeStep(sourceRate, targetRate)),
      fStride(ComputeStride(sourceRate, targetRate)),
      fOutputLength(ComputeOutputLength(source.GetFrameCount(), fStep)),
      fChunk(size_t(kSourceChunk)),
      // One block reaches from two frames before its first place to three after its last.
      fRow(size_t(((int64_t(kBlockFrames - 1) * fStep) >> kFractionBits) + 8)) {
    CDSPTablesCache::Get(targetRate);
    BuildFilter();
}

int64_t CSampleRateConverter::ComputeStep(uint32_t sourceRate, uint32_t targetRate) {
    const int64_t step = kUnitStep * ClampSampleRate(sourceRate) / ClampSampleRate(targetRate);
    return std::min(step, kMaximumStep);
}

int32_t CSampleRateConverter::ComputeStride(uint32_t sourceRate, uint32_t targetRate) {
    const int64_t stride = int64_t(kMaximumStride) * ClampSampleRate(targetRate) / ClampSampleRate(sourceRate);
    return int32_t(std::clamp<int64_t>(stride, 1, kMaximumStride));
}

int64_t CSampleRateConverter::ComputeOutputLength(int64_t sourceLength, int64_t step) {
    return sourceLength <= 0 ? 0 : MulDivRoundUp(sourceLength, kUnitStep, step);
}

int64_t CSampleRateConverter::MapSourceFrame(int64_t frame, int64_t step) {
    if (frame <= 0 || step <= 0) return 0;
    return (2 * frame * kUnitStep + step) / (2 * step);
}

// The shape's centre is its point 768; side tap k lies k × stride points from it, that is
// k × stride / 256 source frames away. A tap that would reach 768 points or beyond lies off
// the shape: it is left out of the filter but weighs kFloor in the normalisation, which
// divides by the absolute sum so that the filter never amplifies any input.
void CSampleRateConverter::BuildFilter() {
    const float* shape = CDSPTables::GetFilterShapeTable();
    constexpr int32_t kCentre = CDSPTables::kFilterShapeCentre;
    const double centre = shape[kCentre];
    double side[kSideTaps];
    double absoluteSum = 0.0;
    for (int32_t k = 1; k <= kSideTaps; ++k) {
        const int32_t distance = k * fStride;
        if (distance < kCentre) {
            side[k - 1] = shape[kCentre + distance];
            fSideTapCount = k;
        } else {
            side[k - 1] = 0.000001;
        }
        absoluteSum += std::fabs(side[k - 1]);
    }
    const double norm = std::fabs(centre) + 2.0 * absoluteSum;
    fCentre = float(centre / norm);
    for (int32_t k = 1; k <= fSideTapCount; ++k) fSide[k - 1] = float(side[k - 1] / norm);
}

void CSampleRateConverter::Read(float* out, int32_t count) {
    while (count > 0) {
        if (fBlockUsed == kBlockFrames) ProduceBlock();
        const int32_t n = std::min(count, kBlockFrames - fBlockUsed);
        const float* block = fBlock + fBlockUsed;
        float peak = fPeak;
        for (int32_t i = 0; i < n; ++i) {
            const float value = block[i];
            peak = std::max(peak, std::fabs(value));
            out[i] = value * fOutputGain;
        }
        fPeak = peak;
        fBlockUsed += n;
        out += n;
        count -= n;
    }
}

void CSampleRateConverter::ProduceBlock() {
    const int64_t first = (fPosition >> kFractionBits) - 2;
    const int64_t last = ((fPosition + (kBlockFrames - 1) * fStep) >> kFractionBits) + 3;
    // With a step below six frames, consecutive blocks share filtered frames.
    if (first >= fRowStart && first < fRowStart + fRowCount) {
        const int64_t keep = fRowStart + fRowCount - first;
        std::memmove(fRow.data(), fRow.data() + (first - fRowStart), size_t(keep) * sizeof(float));
        fRowCount = keep;
    } else {
        fRowCount = 0;
    }
    fRowStart = first;
    for (int64_t frame = first + fRowCount; frame <= last; ++frame) fRow[size_t(frame - first)] = Filter(frame);
    fRowCount = last - first + 1;

    int64_t position = fPosition;
    for (int32_t j = 0; j < kBlockFrames; ++j, position += fStep) {
        const int32_t phase = int32_t((position & kFractionMask) >> kPhaseShift) & 255;
        const float* taps = fInterpolation + phase * CDSPTables::kInterpolationTaps;
        const float* row = fRow.data() + ((position >> kFractionBits) - 2 - first);
        fBlock[j] = taps[0] * row[0] + taps[1] * row[1] + taps[2] * row[2] + taps[3] * row[3] + taps[4] * row[4] +
                    taps[5] * row[5];
    }
    fPosition = position;
    fBlockUsed = 0;
}

float CSampleRateConverter::Filter(int64_t frame) {
    const int64_t newest = frame + kSideTaps;
    // Frames skipped over by a large step need not pass through the ring.
    fRingNext = std::max(fRingNext, frame - kSideTaps);
    for (; fRingNext <= newest; ++fRingNext) fRing[fRingNext & (kRingSize - 1)] = SourceFrame(fRingNext);
    float sum = fCentre * fRing[frame & (kRingSize - 1)];
    for (int32_t k = 1; k <= fSideTapCount; ++k)
        sum += fSide[k - 1] * (fRing[(frame - k) & (kRingSize - 1)] + fRing[(frame + k) & (kRingSize - 1)]);
    return sum;
}

float CSampleRateConverter::SourceFrame(int64_t frame) {
    if (frame < 0 || frame >= fSourceLength) return kFloor;
    if (frame < fChunkStart || frame >= fChunkStart + fChunkCount) {
        fChunkStart = frame;
        fChunkCount = std::min<int64_t>(kSourceChunk, fSourceLength - frame);
        fSource.GetFloats(int32_t(frame), int32_t(fChunkCount), fChunk.data(), fChannel);
    }
    return fChunk[size_t(frame - fChunkStart)];
}

}  // namespace NSQuillet
