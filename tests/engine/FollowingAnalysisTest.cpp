#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "engine/FollowingAnalysis.h"
#include "engine/SliceSequence.h"
#include "engine/TransientSearch.h"
#include "foundation/ProgressReporter.h"

using namespace NSQuillet;

namespace {

// Drum-like hits every 11025 frames: a noise burst with a decaying tail, different per hit,
// so that the search meets onsets, late peaks and quiet stretches.
std::vector<int16_t> Hits(int32_t frames, uint32_t seed) {
    std::vector<int16_t> values(size_t(frames), 0);
    uint32_t state = seed;
    for (int32_t frame = 0; frame < frames; ++frame) {
        state = state * 1664525u + 1013904223u;
        const int32_t inHit = frame % 11025;
        const int32_t envelope = 24000 - std::min(inHit * 3, 24000);
        values[size_t(frame)] = int16_t(int32_t(int16_t(state >> 16)) * envelope / 32768);
    }
    return values;
}

struct SCase {
    const char* fName;
    int32_t fBitDepth;
    bool fStereo;
    int32_t fFrames;
    int32_t fFillStep;
};

std::unique_ptr<CABCWaveSample> EmptySample(const SCase& c) {
    if (c.fBitDepth == 24) return std::make_unique<C24BitWaveSample>(44100, c.fFrames, c.fStereo);
    return std::make_unique<C16BitWaveSample>(44100, c.fFrames, c.fStereo);
}

void Fill(CABCWaveSample& sample, int32_t start, int32_t count, const std::vector<int16_t>& left,
          const std::vector<int16_t>& right) {
    sample.Set16s(start, count, left.data() + start, 1);
    if (sample.IsStereo()) sample.Set16s(start, count, right.data() + start, 2);
}

struct SFoundSlice {
    int32_t fPosition;
    int16_t fLevel;
    int32_t fLength;
    bool operator==(const SFoundSlice& o) const {
        return fPosition == o.fPosition && fLevel == o.fLevel && fLength == o.fLength;
    }
};

std::vector<SFoundSlice> Found(const CSliceSequence& slices) {
    std::vector<SFoundSlice> found;
    for (const CSlice& slice : slices.GetSlices()) found.push_back({slice.GetPosition(), slice.GetLevel(), slice.GetLength()});
    return found;
}

class CThreadProgress final : public IProgressReporter {
public:
    void Progress(int32_t permille) override {
        if (std::this_thread::get_id() != fThread) fOtherThread = true;
        if (permille < 0 || permille > 1000) fOutOfRange = true;
    }
    bool IsStopRequested() const override {
        if (std::this_thread::get_id() != fThread) fOtherThread = true;
        return fStop;
    }
    const std::thread::id fThread = std::this_thread::get_id();
    bool fStop = false;
    mutable bool fOtherThread = false;
    bool fOutOfRange = false;
};

const SCase kCases[] = {
    // In place, the reader's block of 262144 stereo frames not a multiple of the scan's.
    {"16-bit stereo", 16, true, 2500000, 262144},
    // Through block copies, filled in steps that cut hits apart.
    {"24-bit mono", 24, false, 1500000, 100003},
    // Below the thread threshold of the case's analysis: analysed by Finish itself.
    {"short", 16, true, 300000, 65536},
};

}  // namespace

TEST(FollowingAnalysis, FindsWhatTheAnalysisOfTheWholeSampleFinds) {
    for (const SCase& c : kCases) {
        SCOPED_TRACE(c.fName);
        const std::vector<int16_t> left = Hits(c.fFrames, 1);
        const std::vector<int16_t> right = Hits(c.fFrames, 2);
        auto whole = EmptySample(c);
        Fill(*whole, 0, c.fFrames, left, right);
        whole->BuildPreview();
        CSliceSequence expected(whole.get());
        ASSERT_TRUE(expected.Analyze(nullptr));
        // About one slice per hit.
        ASSERT_GT(expected.GetSliceCount(), c.fFrames / 11025 - 2);

        CFollowingAnalysis following(1000000);
        auto sample = EmptySample(c);
        following.FillStarted(*sample);
        EXPECT_TRUE(following.Follows(*sample));
        for (int32_t at = 0; at < c.fFrames; at += c.fFillStep) {
            const int32_t count = std::min(c.fFillStep, c.fFrames - at);
            Fill(*sample, at, count, left, right);
            following.FramesFilled(at + count);
        }
        // As the opening does: the overview is built while the search may still run.
        sample->BuildPreview();
        CThreadProgress progress;
        EXPECT_TRUE(following.Finish(&progress));
        EXPECT_FALSE(progress.fOtherThread);
        EXPECT_FALSE(progress.fOutOfRange);
        const auto slices = following.TakeSlices();
        ASSERT_NE(slices, nullptr);
        EXPECT_EQ(slices->GetWaveSample(), sample.get());
        EXPECT_TRUE(Found(*slices) == Found(expected));
    }
}

TEST(FollowingAnalysis, AStopKeepsAnEarlierPartOfTheSlicesAndIsAskedOnTheCallingThread) {
    const SCase c = kCases[0];
    const std::vector<int16_t> left = Hits(c.fFrames, 1);
    const std::vector<int16_t> right = Hits(c.fFrames, 2);
    auto whole = EmptySample(c);
    Fill(*whole, 0, c.fFrames, left, right);
    CSliceSequence all(whole.get());
    ASSERT_TRUE(all.Analyze(nullptr));

    CFollowingAnalysis following(0);
    auto sample = EmptySample(c);
    following.FillStarted(*sample);
    Fill(*sample, 0, c.fFrames, left, right);
    following.FramesFilled(c.fFrames);
    CThreadProgress progress;
    progress.fStop = true;
    const bool completed = following.Finish(&progress);
    EXPECT_FALSE(progress.fOtherThread);
    const auto slices = following.TakeSlices();
    ASSERT_NE(slices, nullptr);
    // The worker may have ended before the stop was seen; else it stopped at a block boundary
    // with the slices before its pending one.
    if (completed) {
        EXPECT_EQ(slices->GetSliceCount(), all.GetSliceCount());
    } else {
        ASSERT_LT(slices->GetSliceCount(), all.GetSliceCount());
        // Frame 0 holds the level-16384 stand-in when the stop came before the first onset was
        // measured.
        for (int32_t i = 0; i < slices->GetSliceCount(); ++i) {
            const CSlice& slice = slices->GetSlices()[size_t(i)];
            EXPECT_EQ(slice.GetPosition(), all.GetSlices()[size_t(i)].GetPosition()) << i;
            if (slice.GetPosition() != 0) {
                EXPECT_EQ(slice.GetLevel(), all.GetSlices()[size_t(i)].GetLevel()) << i;
            }
        }
    }
}

TEST(FollowingAnalysis, ADroppedSampleStopsTheWorkerAndIsNoLongerFollowed) {
    const SCase c = kCases[0];
    const std::vector<int16_t> left = Hits(c.fFrames, 1);
    const std::vector<int16_t> right = Hits(c.fFrames, 2);
    CFollowingAnalysis following(0);
    {
        auto sample = EmptySample(c);
        following.FillStarted(*sample);
        Fill(*sample, 0, 500000, left, right);
        following.FramesFilled(500000);
        // A read failure: the worker lets go before the sample is freed.
        following.ReleaseSample();
        EXPECT_FALSE(following.Follows(*sample));
    }
    // The same listener follows the next reading afresh.
    auto sample = EmptySample(c);
    following.FillStarted(*sample);
    Fill(*sample, 0, c.fFrames, left, right);
    following.FramesFilled(c.fFrames);
    EXPECT_TRUE(following.Finish(nullptr));
    EXPECT_GT(following.TakeSlices()->GetSliceCount(), 100);
}

TEST(FollowingAnalysis, FinishingBeforeEveryFrameIsFilledIsRefused) {
    const SCase c = kCases[0];
    auto sample = EmptySample(c);
    CFollowingAnalysis following(0);
    EXPECT_THROW(following.Finish(nullptr), std::logic_error);
    following.FillStarted(*sample);
    following.FramesFilled(1000);
    EXPECT_THROW(following.Finish(nullptr), std::logic_error);
}
