#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "foundation/Mishap.h"

namespace NSQuillet {
namespace {

C16BitWaveSample Tone(int32_t frames) {
    C16BitWaveSample sample(44100, frames, false);
    for (int32_t i = 0; i < frames; ++i) sample.Set16(i, int16_t(8000.0 * std::sin(i * 0.05)), 1);
    return sample;
}

void AddLockedSlices(CSliceSequence& sequence, const std::vector<int32_t>& positions) {
    for (int32_t position : positions) sequence.InsertSlice(CSlice(position, 100, ESliceKind::kLocked));
    sequence.UpdateSliceLengths();
}

std::vector<float> RenderInCalls(CQuilletSequencer& sequencer, const std::vector<int32_t>& counts) {
    std::vector<float> out;
    for (int32_t count : counts) {
        std::vector<float> left(static_cast<size_t>(count)), right(static_cast<size_t>(count));
        sequencer.Render(left.data(), right.data(), count);
        out.insert(out.end(), left.begin(), left.end());
    }
    return out;
}

void RenderBlocks(CQuilletSequencer& sequencer, int32_t blocks) {
    float left[64], right[64];
    for (int32_t i = 0; i < blocks; ++i) sequencer.Render(left, right, 64);
}

TEST(QuilletSequencer, StartsAtTheDefaultPreviewTempo) {
    const C16BitWaveSample sample = Tone(1000);
    CSliceSequence slices(&sample);
    const CQuilletSequencer sequencer(&sample, &slices, 44100);
    EXPECT_EQ(sequencer.GetPreviewTempo(), 130000);
    EXPECT_EQ(sequencer.GetOriginalTempo(), 0);
    EXPECT_EQ(sequencer.GetTransport(), CQuilletSequencer::kStopped);
}

TEST(QuilletSequencer, LoopArithmeticUsesTheSampleAndTheOutputRate) {
    const C16BitWaveSample sample = Tone(88200);
    CSliceSequence slices(&sample);
    CQuilletSequencer sequencer(&sample, &slices, 48000);
    sequencer.SetBars(1);
    EXPECT_EQ(sequencer.GetOriginalTempo(), 120000);  // 4 beats in 2 s
    EXPECT_EQ(sequencer.GetLoopTicks(), 61440);
    EXPECT_EQ(sequencer.FramesToTicks(22050), 15360);  // one quarter
    EXPECT_DOUBLE_EQ(sequencer.GetBeatLength(), 22050.0);
    EXPECT_EQ(sequencer.SampleFramesToOutputFrames(44100), 48000);  // preview off: rate only
    sequencer.SetPreviewOn(true);
    sequencer.SetPreviewTempo(60000);
    EXPECT_EQ(sequencer.SampleFramesToOutputFrames(44100), 96000);  // twice as long at 48 kHz
}

TEST(QuilletSequencer, ARenderOfOneFrameHandsOutTheRestOfItsBlockLater) {
    const C16BitWaveSample sample = Tone(4410);
    CSliceSequence slices(&sample);
    CQuilletSequencer pieces(&sample, &slices, 44100);
    CQuilletSequencer blocks(&sample, &slices, 44100);
    pieces.PlayLoop();
    blocks.PlayLoop();
    const std::vector<float> fromPieces = RenderInCalls(pieces, {1, 63, 1, 1, 62, 64, 5, 59, 200, 56});
    const std::vector<float> fromBlocks = RenderInCalls(blocks, {64, 64, 64, 64, 64, 64, 64, 64});
    ASSERT_EQ(fromPieces.size(), fromBlocks.size());
    EXPECT_EQ(fromPieces, fromBlocks);
    EXPECT_GT(*std::max_element(fromBlocks.begin(), fromBlocks.end()), 0.05f);
}

TEST(QuilletSequencer, RendersSilenceWithoutAnythingToPlay) {
    CQuilletSequencer empty(nullptr, nullptr, 44100);
    empty.PlayLoop();
    std::vector<float> left(100, 1.0f), right(100, 1.0f);
    empty.Render(left.data(), right.data(), 100);
    EXPECT_EQ(std::count(left.begin(), left.end(), 0.0f), 100);
    EXPECT_EQ(std::count(right.begin(), right.end(), 0.0f), 100);
    EXPECT_FALSE(empty.IsPlaying());
}

// One bar of 4/4 in 88200 frames at 44100 Hz (120 BPM), a slice on every beat, previewed at
// 120 BPM. The first countdown is round64(22050) = 22080 output frames: the second slice
// starts before block 345, so the position moves with the 346th block.
int32_t BlocksUntilTheSecondSlice(int32_t changeAfter, void (*change)(CQuilletSequencer&)) {
    const C16BitWaveSample sample = Tone(88200);
    CSliceSequence slices(&sample);
    AddLockedSlices(slices, {0, 22050, 44100, 66150});
    CQuilletSequencer sequencer(&sample, &slices, 44100);
    sequencer.SetBars(1);
    sequencer.SetPreviewOn(true);
    sequencer.SetPreviewTempo(120000);
    sequencer.PlayLoop();
    for (int32_t block = 1; block <= 2000; ++block) {
        if (block == changeAfter + 1 && change) change(sequencer);
        RenderBlocks(sequencer, 1);
        if (sequencer.GetPosition() != 0) return block;
    }
    return -1;
}

TEST(QuilletSequencer, TempoChangesRescaleTheCountdownAtTheNextBlock) {
    struct SRow {
        const char* fName;
        void (*fChange)(CQuilletSequencer&);
        int32_t fBlocks;
    };
    // After 100 blocks 22080 − 6400 = 15680 frames remain; doubled and rounded, 31360 = 490
    // blocks from block 100: the slice starts before block 590, with the 591st.
    const SRow rows[] = {
        {"no change", nullptr, 346},
        {"preview tempo halved", [](CQuilletSequencer& s) { s.SetPreviewTempo(60000); }, 591},
        // Two bars in the same frames: the original tempo doubles to 240000.
        {"original tempo doubled", [](CQuilletSequencer& s) { s.SetBars(2); }, 591},
        // 15680 × 120000 / 240000 = 7840 → round64 7872 = 123 blocks: before block 223.
        {"preview tempo doubled", [](CQuilletSequencer& s) { s.SetPreviewTempo(240000); }, 224},
    };
    for (const SRow& row : rows) EXPECT_EQ(BlocksUntilTheSecondSlice(100, row.fChange), row.fBlocks) << row.fName;
}

// Frames where the output first rises above `threshold`, searching from `from`.
int32_t FirstLoud(const std::vector<float>& out, size_t from, float threshold) {
    for (size_t i = from; i < out.size(); ++i) {
        if (std::fabs(out[i]) > threshold) return int32_t(i);
    }
    return -1;
}

TEST(QuilletSequencer, WithoutActiveSlicesTheWholeLoopRepeatsAtItsLength) {
    // One beat in 8820 frames is 300 BPM, previewed at 300 BPM: the loop of one entry
    // restarts every round64(8820) = 8832 output frames. A click at frame 100 marks each start.
    C16BitWaveSample sample(44100, 8820, false);
    sample.Set16(100, 32767, 1);
    CSliceSequence slices(&sample);
    CQuilletSequencer sequencer(&sample, &slices, 44100);
    sequencer.SetBeats(1);
    sequencer.SetPreviewOn(true);
    sequencer.SetPreviewTempo(300000);
    sequencer.ChangeSampler([](CQuilletSampler& sampler) { sampler.SetAttack(0); });
    ASSERT_EQ(sequencer.GetPlayListEntries().size(), 1u);
    sequencer.PlayLoop();
    const std::vector<float> out = RenderInCalls(sequencer, std::vector<int32_t>(3 * 138 + 4, 64));
    const int32_t first = FirstLoud(out, 0, 0.1f);
    ASSERT_GE(first, 90);
    ASSERT_LT(first, 120);
    EXPECT_EQ(FirstLoud(out, size_t(first) + 200, 0.1f), first + 8832);
    EXPECT_EQ(FirstLoud(out, size_t(first) + 8832 + 200, 0.1f), first + 2 * 8832);
    EXPECT_EQ(sequencer.GetTransport(), CQuilletSequencer::kPlayingLoop);
}

TEST(QuilletSequencer, OneSliceStopsByItselfWhenItsVoiceEnds) {
    const C16BitWaveSample sample = Tone(4000);
    CSliceSequence slices(&sample);
    AddLockedSlices(slices, {0, 640});
    CQuilletSequencer sequencer(&sample, &slices, 44100);
    sequencer.PlaySliceAt(100);
    EXPECT_EQ(sequencer.GetPosition(), 0);
    EXPECT_TRUE(sequencer.IsPlaying());
    RenderBlocks(sequencer, 1);
    EXPECT_EQ(sequencer.GetTransport(), CQuilletSequencer::kPlayingSlice);
    bool valid = false;
    EXPECT_EQ(sequencer.GetShownPosition(&valid), 0);
    EXPECT_TRUE(valid);
    RenderBlocks(sequencer, 100);
    EXPECT_EQ(sequencer.GetTransport(), CQuilletSequencer::kStopped);
    EXPECT_FALSE(sequencer.IsPlaying());
}

TEST(QuilletSequencer, StopWithoutAnAudioThreadGivesUpAfterFourSeconds) {
    const C16BitWaveSample sample = Tone(4000);
    CSliceSequence slices(&sample);
    CQuilletSequencer sequencer(&sample, &slices, 44100);
    sequencer.PlayLoop();
    RenderBlocks(sequencer, 1);
    ASSERT_EQ(sequencer.GetTransport(), CQuilletSequencer::kPlayingLoop);
    const auto began = std::chrono::steady_clock::now();
    sequencer.Stop();
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
    EXPECT_GE(waited.count(), 4000);
    EXPECT_LT(waited.count(), 4800);
    EXPECT_EQ(sequencer.GetTransport(), CQuilletSequencer::kStopped);
    EXPECT_FALSE(sequencer.IsPlaying());
    // The voices were silenced and no stop is left pending.
    std::vector<float> left(64, 1.0f), right(64, 1.0f);
    sequencer.Render(left.data(), right.data(), 64);
    EXPECT_EQ(std::count(left.begin(), left.end(), 0.0f), 64);
    EXPECT_EQ(sequencer.GetTransport(), CQuilletSequencer::kStopped);
}

TEST(QuilletSequencer, StopWaitsForTheAudioThreadWhileSettingsChange) {
    const C16BitWaveSample sample = Tone(44100);
    CSliceSequence slices(&sample);
    AddLockedSlices(slices, {0, 5000, 20000});
    CQuilletSequencer sequencer(&sample, &slices, 44100);
    sequencer.SetBeats(4);
    sequencer.SetPreviewOn(true);
    std::atomic<bool> running{true};
    std::thread audio([&] {
        float left[64], right[64];
        while (running.load()) {
            sequencer.Render(left, right, 64);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    sequencer.PlayLoop();
    for (int32_t i = 0; i < 200 && sequencer.GetTransport() != CQuilletSequencer::kPlayingLoop; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(sequencer.GetTransport(), CQuilletSequencer::kPlayingLoop);
    for (int32_t i = 0; i < 50; ++i) {
        sequencer.SetPreviewTempo(60000 + i * 1000);
        sequencer.SetSilenceSelected(i % 2 == 0);
        sequencer.RebuildPlayList();
    }
    const auto began = std::chrono::steady_clock::now();
    sequencer.Stop();
    const auto waited = std::chrono::steady_clock::now() - began;
    running.store(false);
    audio.join();
    EXPECT_LT(waited, std::chrono::milliseconds(2000));
    EXPECT_EQ(sequencer.GetTransport(), CQuilletSequencer::kStopped);
}

// [0,200) [200,400) [400,600) [600,800) [800,1000) with the loop on 200..800.
class CNavigation : public ::testing::Test {
protected:
    CNavigation() : fSample(Tone(1000)), fSlices(&fSample) {
        fSample.SetLocators(1, 200, 800);
        AddLockedSlices(fSlices, {200, 400, 600});
        fSequencer = std::make_unique<CQuilletSequencer>(&fSample, &fSlices, 44100);
    }
    // The entry a served one-slice request plays, seen through the shown position.
    int32_t PlayedEntry() {
        RenderBlocks(*fSequencer, 1);
        return fSequencer->GetShownPosition();
    }

    C16BitWaveSample fSample;
    CSliceSequence fSlices;
    std::unique_ptr<CQuilletSequencer> fSequencer;
};

TEST_F(CNavigation, StartsAtTheFirstEntryInsideTheLocators) { EXPECT_EQ(fSequencer->GetPosition(), 200); }

TEST_F(CNavigation, MovingTheLocatorsSplitsThePlayListAtTheirNewPlaces) {
    // Locators 300..700 fall inside [200,400) and [600,800): both regions split there.
    fSequencer->SetLocators(fSample, 300, 700);
    std::vector<int32_t> starts;
    for (const auto& entry : fSequencer->GetPlayListEntries()) starts.push_back(entry.fStart);
    EXPECT_EQ(starts, (std::vector<int32_t>{0, 200, 300, 400, 600, 700}));
    EXPECT_EQ(fSample.GetLeftLocator(), 300);
    EXPECT_EQ(fSample.GetRightLocator(), 700);
    C16BitWaveSample other = Tone(1000);
    EXPECT_THROW(fSequencer->SetLocators(other, 0, 10), NSMishap::XStdInvalidArgument);
}

TEST_F(CNavigation, MovesBetweenEntryStartsAndWraps) {
    CQuilletSequencer& s = *fSequencer;
    const int32_t forward[] = {400, 600, 800, 0, 200};
    for (int32_t expected : forward) {
        s.MoveToNextSlice();
        EXPECT_EQ(s.GetPosition(), expected);
        EXPECT_EQ(s.GetShownPosition(), expected);
    }
    s.SetPosition(0);
    s.MoveToPreviousSlice();
    EXPECT_EQ(s.GetPosition(), 800);
    s.SetPosition(450);
    s.MoveToPreviousSlice();
    EXPECT_EQ(s.GetPosition(), 400);
    s.SetPosition(5000);
    EXPECT_EQ(s.GetPosition(), 1000);
}

TEST_F(CNavigation, PreviousSliceStaysInsideTheLoop) {
    CQuilletSequencer& s = *fSequencer;
    // Before [200,400) lies [0,200), outside: the entry at 799 plays instead.
    s.PlayPreviousSlice();
    EXPECT_EQ(s.GetPosition(), 600);
    EXPECT_EQ(PlayedEntry(), 600);
    RenderBlocks(s, 50);
    ASSERT_EQ(s.GetTransport(), CQuilletSequencer::kStopped);
    // From the first entry, outside the loop, it wraps to the last.
    s.SetPosition(0);
    s.PlayPreviousSlice();
    EXPECT_EQ(s.GetPosition(), 800);
    EXPECT_EQ(PlayedEntry(), 800);
}

TEST_F(CNavigation, PlayCurrentSliceAndMoveToNext) {
    CQuilletSequencer& s = *fSequencer;
    s.SetPosition(450);
    s.PlayCurrentSliceAndMoveToNext();
    EXPECT_EQ(s.GetPosition(), 600);
    EXPECT_EQ(PlayedEntry(), 400);
    RenderBlocks(s, 50);
    ASSERT_EQ(s.GetTransport(), CQuilletSequencer::kStopped);
    s.SetPosition(900);
    s.PlayCurrentSliceAndMoveToNext();
    EXPECT_EQ(s.GetPosition(), 0);
}

TEST_F(CNavigation, StopOrRewindWhileStopped) {
    CQuilletSequencer& s = *fSequencer;
    s.SetPosition(650);
    s.StopOrRewind();
    EXPECT_EQ(s.GetPosition(), 200);  // past the loop's first entry: back to it
    s.StopOrRewind();
    EXPECT_EQ(s.GetPosition(), 0);  // on it: to the start of the play list
}

TEST_F(CNavigation, RepositioningWaitsForStoppedTransport) {
    CQuilletSequencer& s = *fSequencer;
    s.PlayLoop();
    RenderBlocks(s, 1);
    ASSERT_EQ(s.GetTransport(), CQuilletSequencer::kPlayingLoop);
    s.SetPosition(700);
    s.MoveToNextSlice();
    EXPECT_EQ(s.GetPosition(), 200);
}

TEST_F(CNavigation, RebuildKeepsThePositionOnTheEntryAtOrBeforeIt) {
    CQuilletSequencer& s = *fSequencer;
    s.SetPosition(450);
    s.RebuildPlayList();
    EXPECT_EQ(s.GetPosition(), 400);
    fSlices.RemoveSlice(CSlice(400, 100, ESliceKind::kLocked));
    s.SetSliceSequence(&fSlices);
    EXPECT_EQ(s.GetPosition(), 200);
}

TEST(QuilletSequencer, ACopyHasTheSettingsAndAFreshTransport) {
    const C16BitWaveSample sample = Tone(8000);
    CSliceSequence slices(&sample);
    AddLockedSlices(slices, {0, 4000});
    CQuilletSequencer original(&sample, &slices, 48000);
    original.SetBars(1);
    original.SetPreviewOn(true);
    original.SetPreviewTempo(90000);
    original.SetPitch(-300);
    original.SetPosition(4000);
    original.PlayLoop();
    RenderBlocks(original, 1);
    const CQuilletSequencer copy(original);
    EXPECT_EQ(copy.GetTransport(), CQuilletSequencer::kStopped);
    EXPECT_FALSE(copy.IsPlaying());
    EXPECT_EQ(copy.GetPosition(), 0);
    EXPECT_EQ(copy.GetPreviewTempo(), 90000);
    EXPECT_EQ(copy.GetBars(), 1);
    EXPECT_TRUE(copy.IsPreviewActive());
    EXPECT_EQ(copy.GetPitch(), -300);
    EXPECT_EQ(copy.GetOutputRate(), 48000u);
    EXPECT_EQ(copy.GetPlayListEntries().size(), original.GetPlayListEntries().size());
}

}  // namespace
}  // namespace NSQuillet
