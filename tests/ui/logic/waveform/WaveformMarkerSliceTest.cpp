#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "ui/logic/waveform/WaveformMarkerSlice.h"

namespace NSQuillet {
namespace {

// 10000 frames; at sensitivity 50 the threshold is 32767 − ⌈50 × 32767 / 99⌉ =
// 16217, so: index 0 at 0 (normal, level 1000) hidden; 1 at 1000 (normal)
// shown; 2 at 3000 (muted, selected) shown; 3 at 5000 (locked, level 100)
// shown; 4 at 7000 (muted, level 100) hidden.
class WaveformMarkerSliceTest : public ::testing::Test {
protected:
    WaveformMarkerSliceTest() : fSample(44100, 10000, false), fSequence(&fSample) {
        fSequence.InsertSlice(CSlice(0, 1000, ESliceKind::kNormal));
        fSequence.InsertSlice(CSlice(1000, 20000, ESliceKind::kNormal));
        fSequence.InsertSlice(CSlice(3000, 20000, ESliceKind::kMuted, true));
        fSequence.InsertSlice(CSlice(5000, 100, ESliceKind::kLocked));
        fSequence.InsertSlice(CSlice(7000, 100, ESliceKind::kMuted));
        fSequence.SetSensitivity(50);
    }

    C16BitWaveSample fSample;
    CSliceSequence fSequence;
};

TEST_F(WaveformMarkerSliceTest, ListsTheShownSlicesWithKindAndSelection) {
    const std::vector<SWaveformMarkerSlice> expected = {
        {1000, ESliceKind::kNormal, false},
        {3000, ESliceKind::kMuted, true},
        {5000, ESliceKind::kLocked, false},
    };
    EXPECT_EQ(MakeWaveformMarkerSlices(fSequence), expected);
}

TEST_F(WaveformMarkerSliceTest, MapsShownIndicesToFullIndices) {
    const int32_t expected[][2] = {{0, 1}, {1, 2}, {2, 3}, {3, -1}, {-1, -1}};
    for (const auto &row : expected) EXPECT_EQ(FindFullSliceIndex(fSequence, row[0]), row[1]) << row[0];
}

TEST_F(WaveformMarkerSliceTest, FindsTheLastShownSliceAtOrBeforeAFrame) {
    const int32_t expected[][2] = {
        {-1, -1},
        {0, -1},  // only the hidden slice starts this early
        {999, -1},
        {1000, 1},
        {2999, 1},
        {3000, 2},
        {4999, 2},
        {5000, 3},
        {7000, 3},  // the hidden slice at 7000 does not end
                    // slice 3
        {9999, 3},
    };
    for (const auto &row : expected) EXPECT_EQ(FindShownSliceContaining(fSequence, row[0]), row[1]) << row[0];
}

TEST_F(WaveformMarkerSliceTest, ASliceEndsAtTheNextShownStartOrTheSampleEnd) {
    struct SCase {
        int32_t fIndex;
        int32_t fStart;
        int32_t fEnd;
    };
    const SCase cases[] = {
        {1, 1000, 3000}, {2, 3000, 5000}, {3, 5000, 10000},  // the hidden slice at 7000 is skipped
        {0, 0, 1000},                                        // a hidden slice's extent reaches the next shown one too
        {5, 0, 0},                                           // no such slice
        {-1, 0, 0},
    };
    for (const SCase &test : cases) {
        const SSliceExtent extent = GetShownSliceExtent(fSequence, test.fIndex);
        EXPECT_EQ(extent.fStart, test.fStart) << test.fIndex;
        EXPECT_EQ(extent.fEnd, test.fEnd) << test.fIndex;
    }
}

}  // namespace
}  // namespace NSQuillet
