#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"

namespace NSQuillet {
namespace {

constexpr ESliceKind kNormal = ESliceKind::kNormal;
constexpr ESliceKind kMuted = ESliceKind::kMuted;
constexpr ESliceKind kLocked = ESliceKind::kLocked;

std::vector<int32_t> Positions(const CSliceSequence& sequence) {
    std::vector<int32_t> positions;
    for (const CSlice& slice : sequence.GetSlices()) positions.push_back(slice.GetPosition());
    return positions;
}

std::vector<int32_t> Lengths(const CSliceSequence& sequence) {
    std::vector<int32_t> lengths;
    for (const CSlice& slice : sequence.GetSlices()) lengths.push_back(slice.GetLength());
    return lengths;
}

class SliceSequence : public testing::Test {
protected:
    CSliceSequence Make(const std::vector<CSlice>& slices) const {
        CSliceSequence sequence(&fSample);
        for (const CSlice& slice : slices) sequence.InsertSlice(slice);
        return sequence;
    }

    C16BitWaveSample fSample{44100, 10000, false};
};

TEST_F(SliceSequence, StartsEmptyWithTheHighestThreshold) {
    const CSliceSequence sequence(&fSample);
    EXPECT_EQ(sequence.GetSliceCount(), 0);
    EXPECT_EQ(sequence.GetSensitivity(), 0);
    EXPECT_EQ(sequence.GetGateSensitivity(), 0);
    EXPECT_EQ(sequence.GetThreshold(), 32767);
    EXPECT_EQ(sequence.GetWaveSample(), &fSample);
    EXPECT_EQ(sequence.GetSlice(0), nullptr);
}

TEST_F(SliceSequence, ThresholdIsTheExactCeilingOfTheScaledSensitivity) {
    const struct {
        int32_t fSensitivity;
        int32_t fStored;
        int16_t fThreshold;
    } rows[] = {
        {0, 0, 32767},      // 32767 − 0
        {1, 1, 32436},      // 32767 / 99 = 330.97 → 331
        {9, 9, 29788},      // 294903 / 99 = 2978.82 → 2979
        {33, 33, 21844},    // 1081311 / 99 = 10922.33 → 10923
        {50, 50, 16218},    // 1638350 / 99 = 16548.99 → 16549
        {98, 98, 330},      // 3211166 / 99 = 32436.02 → 32437
        {99, 99, 0},        // 3243933 / 99 = 32767 exactly
        {-5, 0, 32767},     // clamped to 0
        {150, 99, 0},       // clamped to 99
    };
    CSliceSequence sequence(&fSample);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fSensitivity);
        sequence.SetSensitivity(row.fSensitivity);
        EXPECT_EQ(sequence.GetSensitivity(), row.fStored);
        EXPECT_EQ(sequence.GetThreshold(), row.fThreshold);
    }
}

TEST_F(SliceSequence, GateSensitivityIsClampedTo0To999) {
    CSliceSequence sequence(&fSample);
    const std::pair<int32_t, int32_t> rows[] = {{-1, 0}, {0, 0}, {500, 500}, {999, 999}, {1000, 999}};
    for (const auto& [given, stored] : rows) {
        sequence.SetGateSensitivity(given);
        EXPECT_EQ(sequence.GetGateSensitivity(), stored);
    }
}

TEST_F(SliceSequence, ActiveAndShownFollowKindAndThreshold) {
    const struct {
        ESliceKind fKind;
        int16_t fLevel;
        int32_t fSensitivity;
        bool fActive;
        bool fShown;
    } rows[] = {
        {kNormal, 16219, 50, true, true},     // threshold 16218: above it
        {kNormal, 16218, 50, false, false},   // equal is not above
        {kMuted, 16219, 50, false, true},     // muted: shown, never active
        {kMuted, 16218, 50, false, false},
        {kLocked, 1, 50, true, true},         // locked: always
        {kNormal, 32767, 0, false, false},    // sensitivity 0: threshold 32767, no normal slice counts
        {kMuted, 32767, 0, false, false},
        {kLocked, 0, 0, true, true},
        {kNormal, 1, 99, true, true},         // sensitivity 99: threshold 0
        {kNormal, 0, 99, false, false},
    };
    CSliceSequence sequence(&fSample);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << int(row.fKind) << " " << row.fLevel << " " << row.fSensitivity);
        sequence.SetSensitivity(row.fSensitivity);
        const CSlice slice(0, row.fLevel, row.fKind);
        EXPECT_EQ(sequence.IsSliceActive(slice), row.fActive);
        EXPECT_EQ(sequence.IsSliceShown(slice), row.fShown);
    }
}

TEST_F(SliceSequence, InsertKeepsPositionsAscendingAndInsideTheSample) {
    CSliceSequence sequence = Make({{300, 1, kNormal}, {100, 1, kNormal}, {9999, 1, kNormal}, {200, 1, kNormal},
                                    {0, 1, kNormal}, {-1, 1, kNormal}, {10000, 1, kNormal},
                                    {std::numeric_limits<int32_t>::max(), 1, kNormal}});
    EXPECT_EQ(Positions(sequence), (std::vector<int32_t>{0, 100, 200, 300, 9999}));
    EXPECT_EQ(sequence.GetSliceCount(), 5);
    EXPECT_EQ(sequence.GetSlice(3)->GetPosition(), 300);

    CSliceSequence noSample(nullptr);
    noSample.InsertSlice(CSlice(0, 1, kLocked));
    EXPECT_EQ(noSample.GetSliceCount(), 0);
}

TEST_F(SliceSequence, InsertOntoAnExistingSliceMerges) {
    const struct {
        ESliceKind fOldKind;
        int16_t fOldLevel;
        ESliceKind fNewKind;
        int16_t fNewLevel;
        ESliceKind fKind;
        int16_t fLevel;
    } rows[] = {
        {kNormal, 100, kNormal, 200, kNormal, 200},   // the larger level
        {kNormal, 200, kNormal, 100, kNormal, 200},
        {kMuted, 100, kNormal, 50, kNormal, 100},     // a normal slice un-mutes
        {kMuted, 100, kMuted, 200, kMuted, 200},
        {kLocked, 100, kNormal, 200, kLocked, 200},   // locked stays locked
        {kLocked, 100, kMuted, 50, kLocked, 100},
        {kNormal, 100, kLocked, 50, kLocked, 100},    // a locked slice locks
        {kMuted, 100, kLocked, 300, kLocked, 300},
        {kNormal, 100, kMuted, 300, kNormal, 300},    // a muted slice does not mute
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << int(row.fOldKind) << " + " << int(row.fNewKind));
        CSliceSequence sequence = Make({{100, 1, kNormal}, {500, row.fOldLevel, row.fOldKind, true}});
        sequence.GetSlice(1)->SetLength(77);
        sequence.InsertSlice(CSlice(500, row.fNewLevel, row.fNewKind, false));
        ASSERT_EQ(sequence.GetSliceCount(), 2);
        const CSlice& merged = *sequence.GetSlice(1);
        EXPECT_EQ(merged.GetKind(), row.fKind);
        EXPECT_EQ(merged.GetLevel(), row.fLevel);
        EXPECT_EQ(merged.GetPosition(), 500);
        EXPECT_TRUE(merged.IsSelected());
        EXPECT_EQ(merged.GetLength(), 77);
    }
}

TEST_F(SliceSequence, InsertingACopyOfItsOwnSliceIsSafe) {
    CSliceSequence sequence = Make({{100, 5, kNormal}});
    for (int32_t i = 0; i < 20; ++i) {
        CSlice moved = *sequence.GetSlice(0);
        moved.SetPosition(200 + i);
        sequence.InsertSlice(moved);
    }
    sequence.InsertSlice(*sequence.GetSlice(sequence.GetSliceCount() - 1));
    EXPECT_EQ(sequence.GetSliceCount(), 21);
}

TEST_F(SliceSequence, FindSliceAtMatchesExactlyOnly) {
    const CSliceSequence sequence = Make({{100, 1, kNormal}, {200, 1, kNormal}, {300, 1, kNormal}});
    const std::pair<int32_t, int32_t> rows[] = {
        {300, 300}, {301, -1}, {200, 200}, {100, 100}, {150, -1}, {50, -1}, {-1, -1}};
    for (const auto& [frame, found] : rows) {
        SCOPED_TRACE(frame);
        const CSlice* slice = sequence.FindSliceAt(frame);
        EXPECT_EQ(slice ? slice->GetPosition() : -1, found);
    }
    EXPECT_EQ(CSliceSequence(&fSample).FindSliceAt(0), nullptr);
}

TEST_F(SliceSequence, FindNearestSlicePrefersTheEarlierOnATie) {
    CSliceSequence sequence = Make({{100, 1, kNormal}, {200, 1, kMuted}, {400, 1, kLocked}});
    const std::pair<int32_t, int32_t> rows[] = {
        {150, 100},   // 50 either way
        {151, 200},
        {300, 200},   // 100 either way
        {301, 400},
        {0, 100},
        {9000, 400},
        {std::numeric_limits<int32_t>::min(), 100},
    };
    for (const auto& [frame, nearest] : rows) {
        SCOPED_TRACE(frame);
        ASSERT_NE(sequence.FindNearestSlice(frame), nullptr);
        EXPECT_EQ(sequence.FindNearestSlice(frame)->GetPosition(), nearest);
    }
    EXPECT_EQ(CSliceSequence(&fSample).FindNearestSlice(5), nullptr);
}

TEST_F(SliceSequence, FindNearestActiveSliceSkipsInactiveSlices) {
    // Sensitivity 0: the normal slice at 200 and the muted one at 250 are not active.
    const CSliceSequence sequence =
        Make({{100, 1, kLocked}, {200, 32767, kNormal}, {250, 32767, kMuted}, {300, 1, kLocked}});
    const std::pair<int32_t, int32_t> rows[] = {{200, 100}, {201, 300}, {250, 300}, {0, 100}, {5000, 300}};
    for (const auto& [frame, nearest] : rows) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(sequence.FindNearestActiveSlice(frame)->GetPosition(), nearest);
    }
    EXPECT_EQ(Make({{200, 32767, kNormal}}).FindNearestActiveSlice(200), nullptr);
}

TEST_F(SliceSequence, RemoveSliceTakesOnlyTheSliceAtThatPosition) {
    CSliceSequence sequence = Make({{100, 1, kNormal}, {200, 1, kNormal}, {300, 1, kNormal}});
    EXPECT_TRUE(sequence.RemoveSlice(*sequence.FindSliceAt(200)));
    EXPECT_EQ(Positions(sequence), (std::vector<int32_t>{100, 300}));
    // A slice that is not in the list removes nothing, not its neighbour.
    EXPECT_FALSE(sequence.RemoveSlice(CSlice(150, 1, kNormal)));
    EXPECT_FALSE(sequence.RemoveSlice(CSlice(301, 1, kNormal)));
    EXPECT_EQ(Positions(sequence), (std::vector<int32_t>{100, 300}));
    EXPECT_TRUE(sequence.RemoveSlice(*sequence.GetSlice(1)));
    EXPECT_TRUE(sequence.RemoveSlice(*sequence.GetSlice(0)));
    EXPECT_EQ(sequence.GetSliceCount(), 0);
}

TEST_F(SliceSequence, SnapGoesToTheEndsOrTheNearestActiveSlice) {
    // Active slices at 1000 and 3000; the normal slice at 1999 is hidden at sensitivity 0.
    const CSliceSequence sequence = Make({{1000, 1, kLocked}, {1999, 20000, kNormal}, {3000, 1, kLocked}});
    const int32_t end = 5001;
    const std::pair<int32_t, int32_t> rows[] = {
        {499, 0},       // below 1000 / 2 = 500
        {500, 1000},
        {2000, 1000},   // 1000 either way: the earlier
        {2001, 3000},
        {4000, 3000},   // 3000 + (5001 − 3000) / 2 = 4000, not above it
        {4001, 5001},
        {-50, 0},
    };
    for (const auto& [frame, snapped] : rows) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(sequence.SnapToActiveSlice(frame, end), snapped);
    }
    const CSliceSequence noneActive = Make({{1000, 20000, kNormal}, {2000, 20000, kMuted}});
    EXPECT_EQ(noneActive.SnapToActiveSlice(123, end), 123);
    EXPECT_EQ(noneActive.SnapToActiveSlice(4900, end), 4900);
}

TEST_F(SliceSequence, FirstSliceOffsetIsOfferedFrom1To3999) {
    const std::pair<int32_t, bool> rows[] = {{0, false}, {1, true}, {3999, true}, {4000, false}, {9000, false}};
    for (const auto& [position, offered] : rows) {
        SCOPED_TRACE(position);
        // The first slice counts whatever its kind, here hidden and muted.
        const CSliceSequence sequence = Make({{position, 1, kMuted}, {9500, 1, kLocked}});
        int32_t frame = -1;
        EXPECT_EQ(sequence.GetFirstSliceOffset(frame), offered);
        EXPECT_EQ(frame, offered ? position : -1);
    }
    int32_t frame = -1;
    EXPECT_FALSE(CSliceSequence(&fSample).GetFirstSliceOffset(frame));
}

TEST_F(SliceSequence, CopyIsIndependentOfTheOriginal) {
    CSliceSequence original = Make({{100, 20000, kNormal}, {200, 1, kLocked}});
    original.SetSensitivity(50);
    original.SetGateSensitivity(10);
    CSliceSequence copy(original);
    EXPECT_EQ(copy.GetSensitivity(), 50);
    EXPECT_EQ(copy.GetGateSensitivity(), 10);
    EXPECT_EQ(copy.GetThreshold(), 16218);
    EXPECT_EQ(copy.GetWaveSample(), &fSample);
    EXPECT_EQ(Positions(copy), Positions(original));
    EXPECT_EQ(Lengths(copy), Lengths(original));

    copy.GetSlice(0)->SetKind(kMuted);
    copy.InsertSlice(CSlice(300, 1, kLocked));
    copy.SetSensitivity(0);
    EXPECT_EQ(original.GetSlice(0)->GetKind(), kNormal);
    EXPECT_EQ(Positions(original), (std::vector<int32_t>{100, 200}));
    EXPECT_EQ(original.GetThreshold(), 16218);

    CSliceSequence assigned(nullptr);
    assigned = original;
    EXPECT_EQ(assigned.GetWaveSample(), &fSample);
    EXPECT_EQ(Positions(assigned), (std::vector<int32_t>{100, 200}));
}

TEST_F(SliceSequence, LengthsRunFromActiveSliceToActiveSlice) {
    CSliceSequence sequence = Make({{0, 100, kNormal},        // hidden below any threshold here
                                    {500, 20000, kNormal},
                                    {1000, 20000, kMuted},    // shown but not active
                                    {2000, 100, kNormal},     // hidden
                                    {3000, 1, kLocked},
                                    {4000, 20000, kNormal}});
    sequence.SetSensitivity(50);  // threshold 16218
    // 500 spans the muted and hidden slices up to 3000; 4000 runs to the end, 10000.
    EXPECT_EQ(Lengths(sequence), (std::vector<int32_t>{1, 2500, 1, 1, 1000, 6000}));

    sequence.SetSensitivity(99);  // threshold 0: every normal slice is active, muted still not
    EXPECT_EQ(Lengths(sequence), (std::vector<int32_t>{500, 1500, 1, 1000, 1000, 6000}));

    sequence.SetSensitivity(0);   // only the locked slice
    EXPECT_EQ(Lengths(sequence), (std::vector<int32_t>{1, 1, 1, 1, 7000, 1}));

    sequence.GetSlice(4)->SetKind(kMuted);
    sequence.UpdateSliceLengths();
    EXPECT_EQ(Lengths(sequence), (std::vector<int32_t>{1, 1, 1, 1, 1, 1}));
}

}  // namespace
}  // namespace NSQuillet
