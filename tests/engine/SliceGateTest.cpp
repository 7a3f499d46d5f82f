#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"

namespace NSQuillet {
namespace {

// Gate sensitivity 900: g = 0.002^(99/999) ≈ 0.5402. With the envelope decaying by 0.9 per
// quiet step from 1.0 (0.9, 0.81, 0.729, 0.6561, 0.5905, 0.5314), the sixth quiet step falls
// below it.
constexpr int32_t kGate900 = 900;

int32_t GatedLengthOfFirstSlice(const C16BitWaveSample& sample, int32_t gate) {
    CSliceSequence sequence(&sample);
    sequence.InsertSlice(CSlice(0, 1, ESliceKind::kLocked));
    sequence.SetGateSensitivity(gate);
    return sequence.GetSlice(0)->GetLength();
}

C16BitWaveSample MakeMono(int32_t frames) { return C16BitWaveSample(44100, frames, false); }

void Fill(C16BitWaveSample& sample, int32_t first, int32_t count, int16_t value, int32_t channel) {
    const std::vector<int16_t> values(size_t(count), value);
    sample.Set16s(first, count, values.data(), channel);
}

TEST(SliceGate, ThresholdRunsFrom0Point002To1) {
    EXPECT_EQ(CSliceSequence::GateThresholdForSensitivity(999), 1.0f);  // 0.002^0
    EXPECT_NEAR(CSliceSequence::GateThresholdForSensitivity(1), 0.002f, 0.00002f);  // 0.002^(998/999)
    EXPECT_NEAR(CSliceSequence::GateThresholdForSensitivity(kGate900), 0.54018f, 0.00001f);
}

TEST(SliceGate, FullGateCutsAMonoSliceToItsFirst1024Frames) {
    // A mono peak never exceeds 1.0, even at -32768: the first 1024-frame step decays the
    // envelope to 0.9, below the threshold 1.0.
    C16BitWaveSample sample = MakeMono(4096);
    Fill(sample, 0, 4096, -32768, 1);
    sample.BuildPreview();
    CSliceSequence sequence(&sample);
    sequence.InsertSlice(CSlice(0, 1, ESliceKind::kLocked));
    sequence.InsertSlice(CSlice(2000, 1, ESliceKind::kLocked));
    sequence.InsertSlice(CSlice(3500, 1, ESliceKind::kLocked));
    sequence.SetGateSensitivity(999);
    // 2000 and 1500 frames available: cut to 1024; the last slice has only 596.
    EXPECT_EQ(sequence.GetSlice(0)->GetLength(), 1024);
    EXPECT_EQ(sequence.GetSlice(1)->GetLength(), 1024);
    EXPECT_EQ(sequence.GetSlice(2)->GetLength(), 596);
}

TEST(SliceGate, EndsWhereTheEnvelopeHasDecayedBelowTheThreshold) {
    // Frames 0..1023 at half scale: the first step's peak 0.5 does not lift the envelope, so
    // every step decays it; the sixth, frames 1536..1663, takes it to 0.531 < 0.540.
    C16BitWaveSample sample = MakeMono(4096);
    Fill(sample, 0, 1024, 16384, 1);
    sample.BuildPreview();
    EXPECT_EQ(GatedLengthOfFirstSlice(sample, kGate900), 1664);  // 1024 + 5 × 128
}

TEST(SliceGate, SeesTheOverviewWindowBeyondItsStep) {
    // As above plus a spike at frame 1700. The step over frames 1536..1663 uses entries 24 and
    // 25, and entry 25's window (1600..1791) holds the spike: the envelope is lifted to
    // 32767/32768 there, held by the next step (entry 26 also sees it), then decays in five
    // quiet steps 1792..2431 to 0.531 and ends.
    C16BitWaveSample sample = MakeMono(4096);
    Fill(sample, 0, 1024, 16384, 1);
    sample.Set16(1700, 32767, 1);
    sample.BuildPreview();
    EXPECT_EQ(GatedLengthOfFirstSlice(sample, kGate900), 2432);  // 1664 + 6 × 128
}

TEST(SliceGate, StereoPeaksAddTheChannelsWithTheirSigns) {
    // Left +20000 and right -20000 cancel to a peak of 0: the envelope only decays.
    C16BitWaveSample opposite(44100, 2048, true);
    Fill(opposite, 0, 2048, 20000, 1);
    Fill(opposite, 0, 2048, -20000, 2);
    opposite.BuildPreview();
    EXPECT_EQ(GatedLengthOfFirstSlice(opposite, kGate900), 1664);  // 1024 + 5 × 128

    // In phase the peak is 40000/32768 ≈ 1.22 every step: each decay to 1.10 is lifted back, so
    // the slice keeps its whole span.
    C16BitWaveSample same(44100, 2048, true);
    Fill(same, 0, 2048, 20000, 1);
    Fill(same, 0, 2048, 20000, 2);
    same.BuildPreview();
    EXPECT_EQ(GatedLengthOfFirstSlice(same, kGate900), 2048);
}

TEST(SliceGate, OffLeavesThePlainDistanceAndAShortSliceIsNeverCutBelowItsSpan) {
    C16BitWaveSample sample = MakeMono(4096);
    sample.BuildPreview();
    EXPECT_EQ(GatedLengthOfFirstSlice(sample, 0), 4096);

    // 700 frames available: one step of 700 frames, then the gate stops with all of them.
    CSliceSequence sequence(&sample);
    sequence.InsertSlice(CSlice(3396, 1, ESliceKind::kLocked));
    sequence.SetGateSensitivity(999);
    EXPECT_EQ(sequence.GetSlice(0)->GetLength(), 700);
}

TEST(SliceGate, WithoutAnOverviewTheAudioCountsAsSilent) {
    C16BitWaveSample sample = MakeMono(4096);
    Fill(sample, 0, 4096, 32767, 1);
    EXPECT_EQ(GatedLengthOfFirstSlice(sample, kGate900), 1664);  // peaks read 0: 1024 + 5 × 128
}

}  // namespace
}  // namespace NSQuillet
