#pragma once

#include <cstdint>
#include <vector>

namespace NSQuillet {

class CABCWaveSample;

// Converts one channel of a wave sample to another sample rate: an anti-alias filter at the
// source rate, then a six-tap, 256-phase interpolation at a read position that advances a
// fixed-point step per output frame. Output frame i stands at source frame i × step / 2^19;
// MapSourceFrame and GetOutputLength follow that same map, so that whatever is placed by
// them (slices, locators, the length) stays with the audio.
//
// Construction allocates and belongs to the user-interface thread; Read never allocates,
// locks or blocks. The source must outlive the converter and not change while it reads.
class CSampleRateConverter {
public:
    static constexpr int32_t kFractionBits = 19;
    static constexpr int64_t kUnitStep = int64_t(1) << kFractionBits;
    // At most 64 source frames per output frame.
    static constexpr int64_t kMaximumStep = int64_t(1) << 25;
    static constexpr int32_t kBlockFrames = 64;
    static constexpr int32_t kRingSize = 32;
    static constexpr int32_t kSideTaps = 15;
    static constexpr int32_t kMaximumStride = 256;
    // Read for frames outside the source, and the weight of a side tap beyond the shape.
    static constexpr float kFloor = 0.000001f;

    // `channel` 1 or 2 of `source`; both rates are clamped to 11025..1000000.
    CSampleRateConverter(const CABCWaveSample& source, int32_t channel, uint32_t sourceRate, uint32_t targetRate);

    // 524288 × source rate / target rate, truncated, at most 2^25; rates clamped.
    static int64_t ComputeStep(uint32_t sourceRate, uint32_t targetRate);
    // trunc(256 / (source rate / target rate)), at most 256, at least 1; computed as
    // 256 × target / source in integers, which truncates to the same value exactly.
    static int32_t ComputeStride(uint32_t sourceRate, uint32_t targetRate);
    // The output frames whose place lies inside the source: ⌈length × 2^19 / step⌉.
    static int64_t ComputeOutputLength(int64_t sourceLength, int64_t step);
    // The output frame nearest the place of source frame `frame` (0..2^31): frame × 2^19 / step
    // rounded, halves up.
    static int64_t MapSourceFrame(int64_t frame, int64_t step);

    int64_t GetStep() const { return fStep; }
    int32_t GetStride() const { return fStride; }
    int64_t GetOutputLength() const { return fOutputLength; }
    // The normalised filter: the centre, and side taps 1..GetSideTapCount() (the taps whose
    // shape index stays below 768; the others are left out).
    float GetCentreCoefficient() const { return fCentre; }
    int32_t GetSideTapCount() const { return fSideTapCount; }
    float GetSideCoefficient(int32_t k) const { return fSide[k - 1]; }

    // The next `count` output frames, times the output gain. Frames past GetOutputLength()
    // continue the same signal (the source's floor value filtered), so a reader may pull any
    // count.
    void Read(float* out, int32_t count);
    // The largest absolute value read so far, before the output gain.
    float GetPeak() const { return fPeak; }
    // 1.0 after construction.
    void SetOutputGain(float gain) { fOutputGain = gain; }
    float GetOutputGain() const { return fOutputGain; }

private:
    static constexpr int32_t kSourceChunk = 4096;

    void BuildFilter();
    void ProduceBlock();
    float Filter(int64_t frame);
    float SourceFrame(int64_t frame);

    const CABCWaveSample& fSource;
    int32_t fChannel;
    int64_t fSourceLength;
    const float* fInterpolation;
    int64_t fStep;
    int32_t fStride;
    int64_t fOutputLength;

    float fCentre = 0.0f;
    float fSide[kSideTaps] = {};
    int32_t fSideTapCount = 0;

    // Read position of the next block, with kFractionBits fractional bits.
    int64_t fPosition = 0;
    // Source frames m − 15..m + 15 around the frame m being filtered, at index frame & 31.
    float fRing[kRingSize] = {};
    int64_t fRingNext = INT64_MIN;
    // Source frames read in chunks, so that the ring is not filled one virtual call at a time.
    std::vector<float> fChunk;
    int64_t fChunkStart = 0;
    int64_t fChunkCount = 0;
    // The filtered frames fRowStart.. that one block interpolates from.
    std::vector<float> fRow;
    int64_t fRowStart = 0;
    int64_t fRowCount = 0;

    float fBlock[kBlockFrames] = {};
    int32_t fBlockUsed = kBlockFrames;
    float fPeak = 0.0f;
    float fOutputGain = 1.0f;
};

}  // namespace NSQuillet
