#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/PlayList.h"
#include "engine/SliceSequence.h"

namespace NSQuillet {
namespace {

using TRegions = std::vector<std::pair<int32_t, int32_t>>;

struct SSliceRow {
    int32_t fPosition;
    ESliceKind fKind;
    bool fSelected;
    // 0 keeps the length the sequence computes.
    int32_t fLength;
};

TRegions Regions(const CPlayList& list) {
    TRegions regions;
    for (const SPlayListEntry& entry : list.GetEntries()) regions.emplace_back(entry.fStart, entry.fEnd);
    return regions;
}

TEST(PlayList, Building) {
    struct SRow {
        const char* fName;
        std::vector<SSliceRow> fSlices;
        int32_t fLeft;
        int32_t fRight;
        bool fSilenceSelected;
        bool fPreviewActive;
        TRegions fExpected;
    };
    const ESliceKind kLock = ESliceKind::kLocked;
    const ESliceKind kMute = ESliceKind::kMuted;
    const ESliceKind kNormal = ESliceKind::kNormal;
    // A 1000-frame sample.
    const SRow rows[] = {
        {"a leading region before the first slice",
         {{200, kLock, false, 0}, {600, kLock, false, 0}}, 0, 1000, false, false,
         {{0, 200}, {200, 600}, {600, 1000}}},
        {"no leading region when the first slice is at 0",
         {{0, kLock, false, 0}, {600, kLock, false, 0}}, 0, 1000, false, false,
         {{0, 600}, {600, 1000}}},
        {"split at locators strictly inside",
         {{200, kLock, false, 0}, {600, kLock, false, 0}}, 100, 700, false, false,
         {{0, 100}, {100, 200}, {200, 600}, {600, 700}, {700, 1000}}},
        {"both locators inside one region",
         {{0, kLock, false, 0}}, 300, 500, false, false,
         {{0, 300}, {300, 500}, {500, 1000}}},
        {"locators on boundaries split nothing",
         {{200, kLock, false, 0}, {600, kLock, false, 0}}, 200, 600, false, false,
         {{0, 200}, {200, 600}, {600, 1000}}},
        {"a muted slice is covered by the one before",
         {{200, kLock, false, 0}, {400, kMute, false, 0}, {600, kLock, false, 0}}, 0, 1000, false, false,
         {{0, 200}, {200, 600}, {600, 1000}}},
        {"a normal slice below the threshold is covered too",
         {{200, kLock, false, 0}, {400, kNormal, false, 0}}, 0, 1000, false, false,
         {{0, 200}, {200, 1000}}},
        {"nothing active: the whole sample, split",
         {{300, kMute, false, 0}}, 250, 750, false, false,
         {{0, 250}, {250, 750}, {750, 1000}}},
        {"gated lengths with preview active",
         {{200, kLock, false, 100}, {600, kLock, false, 50}}, 0, 1000, false, true,
         {{0, 200}, {200, 300}, {600, 650}}},
        {"a stale length stops at the next active slice",
         {{200, kLock, false, 900}, {600, kLock, false, 900}}, 0, 1000, false, true,
         {{0, 200}, {200, 600}, {600, 1000}}},
        {"a gated region is split at a locator",
         {{200, kLock, false, 300}}, 0, 300, false, true,
         {{0, 200}, {200, 300}, {300, 500}}},
        {"Silence Selected drops selected slices in preview",
         {{200, kLock, true, 0}, {600, kLock, false, 0}}, 0, 1000, true, true,
         {{0, 200}, {600, 1000}}},
        {"Silence Selected does nothing without preview",
         {{200, kLock, true, 0}, {600, kLock, false, 0}}, 0, 1000, true, false,
         {{0, 200}, {200, 600}, {600, 1000}}},
        {"a selected slice sounds in preview without Silence Selected",
         {{200, kLock, true, 0}, {600, kLock, false, 0}}, 0, 1000, false, true,
         {{0, 200}, {200, 600}, {600, 1000}}},
        {"locators outside the sample are clamped",
         {{0, kLock, false, 0}}, -50, 5000, false, false,
         {{0, 1000}}},
    };
    for (const SRow& row : rows) {
        C16BitWaveSample sample(44100, 1000, false);
        sample.SetLocators(1, row.fLeft, row.fRight);
        CSliceSequence sequence(&sample);
        for (const SSliceRow& slice : row.fSlices) sequence.InsertSlice(CSlice(slice.fPosition, 100, slice.fKind, slice.fSelected));
        sequence.UpdateSliceLengths();
        for (size_t i = 0; i < row.fSlices.size(); ++i) {
            if (row.fSlices[i].fLength > 0) sequence.GetSlice(int32_t(i))->SetLength(row.fSlices[i].fLength);
        }
        const CPlayList list = CPlayList::Build(&sample, &sequence, row.fSilenceSelected, row.fPreviewActive);
        EXPECT_EQ(Regions(list), row.fExpected) << row.fName;
    }
}

TEST(PlayList, WithoutPreviewTheEnvelopeIsTheRegion) {
    C16BitWaveSample sample(44100, 1000, false);
    CSliceSequence sequence(&sample);
    sequence.InsertSlice(CSlice(400, 100, ESliceKind::kLocked));
    const CPlayList list = CPlayList::Build(&sample, &sequence, false, false);
    ASSERT_EQ(list.GetCount(), 2);
    for (const SPlayListEntry& entry : list.GetEntries()) {
        EXPECT_EQ(entry.fEnvelopeStart, entry.fStart);
        EXPECT_EQ(entry.fEnvelopeEnd, entry.fEnd);
        EXPECT_EQ(entry.fEnvelopeEndLevel, 1.0f);
    }
}

TEST(PlayList, EmptyWithoutSampleOrFrames) {
    EXPECT_TRUE(CPlayList::Build(nullptr, nullptr, false, false).IsEmpty());
    C16BitWaveSample empty(44100, 0, false);
    EXPECT_TRUE(CPlayList::Build(&empty, nullptr, false, true).IsEmpty());
}

// At 441 Hz A = B = 400 × 441 / 44100 = 4 and C = 20000 × 441 / 44100 = 200.
C16BitWaveSample AnalysisFixture() {
    C16BitWaveSample sample(441, 200, true);
    sample.Set16(3, 32767, 1);    // before the start scan
    sample.Set16(6, -8192, 1);    // 0.25: loudest of the start scan, by magnitude
    sample.Set16(7, 4096, 1);
    sample.Set16(13, 16384, 1);   // 0.5
    sample.Set16(15, 16384, 1);   // 0.5 again: the later frame wins
    sample.Set16(14, 32767, 2);   // channel 2 is not looked at
    sample.Set16(17, 29491, 1);   // after end − A: not scanned
    return sample;
}

TEST(PlayList, EntryAnalysisFindsTheLoudestFramesBeforeTheEnd) {
    const C16BitWaveSample sample = AnalysisFixture();
    // [0, 20): 20 ≥ A + 2B = 12. End scan 16, 15, 14, 13 → 15 (tie with 13).
    // d = min(15 / 2, 200) = 7; start scan 8, 7, 6, 5 → 6.
    SPlayListEntry entry{0, 20, 0, 20, 1.0f};
    CPlayList::AnalyzeEntry(sample, entry);
    EXPECT_EQ(entry.fStart, 0);
    EXPECT_EQ(entry.fEnd, 20);
    EXPECT_EQ(entry.fEnvelopeEnd, 15);
    EXPECT_EQ(entry.fEnvelopeStart, 6);
    EXPECT_EQ(entry.fEnvelopeEndLevel, 2.0f);  // 0.5 / 0.25
}

TEST(PlayList, EntryAnalysisEdgeCases) {
    const C16BitWaveSample sample = AnalysisFixture();
    // 11 < 12 frames: the whole region, level 1.
    SPlayListEntry shortEntry{0, 11, 0, 0, 0.0f};
    CPlayList::AnalyzeEntry(sample, shortEntry);
    EXPECT_EQ(shortEntry.fEnvelopeStart, 0);
    EXPECT_EQ(shortEntry.fEnvelopeEnd, 11);
    EXPECT_EQ(shortEntry.fEnvelopeEndLevel, 1.0f);
    // [100, 140) is silent: the end scan keeps its first frame 136; d = min(36 / 2, 200) = 18,
    // the start scan keeps 118; a silent start gives level 1.
    SPlayListEntry silent{100, 140, 0, 0, 0.0f};
    CPlayList::AnalyzeEntry(sample, silent);
    EXPECT_EQ(silent.fEnvelopeEnd, 136);
    EXPECT_EQ(silent.fEnvelopeStart, 118);
    EXPECT_EQ(silent.fEnvelopeEndLevel, 1.0f);
    // Below 111 Hz B is 0: nothing to scan, the region stays whole.
    C16BitWaveSample slow(100, 200, false);
    SPlayListEntry entry{0, 200, 0, 0, 0.0f};
    CPlayList::AnalyzeEntry(slow, entry);
    EXPECT_EQ(entry.fEnvelopeStart, 0);
    EXPECT_EQ(entry.fEnvelopeEnd, 200);
}

TEST(PlayList, BuildWithPreviewAnalysesEveryEntry) {
    C16BitWaveSample sample = AnalysisFixture();
    CSliceSequence sequence(&sample);
    sequence.InsertSlice(CSlice(0, 100, ESliceKind::kLocked));
    sequence.InsertSlice(CSlice(20, 100, ESliceKind::kLocked));
    sequence.UpdateSliceLengths();
    const CPlayList list = CPlayList::Build(&sample, &sequence, false, true);
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list[0].fEnvelopeStart, 6);
    EXPECT_EQ(list[0].fEnvelopeEnd, 15);
    EXPECT_EQ(list[1].fEnvelopeEnd, 196);  // [20, 200) silent: first frame of the end scan
}

TEST(PlayList, Lookups) {
    // [0,100) [100,300) [500,600) with a gap at 300..500; loop 100..600.
    const CPlayList list({{0, 100, 0, 100, 1.0f}, {100, 300, 100, 300, 1.0f}, {500, 600, 500, 600, 1.0f}});
    const CPlayList::SLoopRange loop{100, 600};
    EXPECT_EQ(list.IndexAt(150), 1);
    EXPECT_EQ(list.IndexAt(400), 1);  // in the gap: the entry before
    EXPECT_EQ(list.IndexContaining(400), -1);
    EXPECT_EQ(list.IndexAt(-10), 0);
    EXPECT_EQ(list.FirstInside(loop), 1);
    EXPECT_EQ(CPlayList().IndexAt(0), -1);

    const CPlayList::SNextStart next = list.NextStart(100, loop, 600);
    EXPECT_TRUE(next.fFound);
    EXPECT_EQ(next.fStart, 500);
    EXPECT_EQ(next.fDistance, 400);
    // From the last entry the loop wraps: (600 − 500) + (100 − 100).
    const CPlayList::SNextStart wrap = list.NextStart(500, loop, 600);
    EXPECT_EQ(wrap.fStart, 100);
    EXPECT_EQ(wrap.fDistance, 100);
    // From before the loop the lead-in plays first.
    EXPECT_EQ(list.NextStart(0, loop, 600).fStart, 100);
    // No entry lies wholly inside 300..450: nowhere to wrap to.
    EXPECT_FALSE(list.NextStart(500, CPlayList::SLoopRange{300, 450}, 600).fFound);
}

}  // namespace
}  // namespace NSQuillet
