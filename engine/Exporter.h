#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/LoopSettings.h"
#include "engine/PlayListEntry.h"

namespace NSQuillet {

class CABCWaveSample;
class CQuilletSequencer;

// Where one export item sits in the loop and how long it sounds.
struct SExportItemInfo {
    int32_t fStartTick = 0;
    int32_t fEndTick = 0;
    // Output frames at the sample's clamped rate.
    int64_t fLength = 0;
};

// The plan every export follows: the slices of the loop timed at the preview tempo, one item
// per slice (slice mode) or the whole loop as one item, rendered by a private copy of the
// document's sequencer at the sample's own clamped rate R.
//
// An entry's play length P is its region at the preview tempo: SampleFramesToOutputFrames of
// end − start. In one-sample mode slice i starts at output frame sᵢ = round64 of its
// converted offset from the left locator, at least 64 after the one before.
//
// User-interface thread only; the copy has no audio thread, so rendering runs here. A copy made
// by MakeCopy belongs to whichever one thread uses it.
class CExporter {
public:
    static constexpr int32_t kFadeFrames = 40;

    // Copies `sequencer` under its state lock, switches the copy's preview on, builds its
    // play list and plans the entries lying inside the locators. A sequencer without a wave
    // sample is an XStdInvalidArgument.
    CExporter(const CQuilletSequencer& sequencer, bool sliceMode, bool cutAtLoopEnd);
    ~CExporter();
    CExporter& operator=(const CExporter&) = delete;

    // The same plan with a sequencer of its own (copied under the state lock, as the
    // constructor's), so that another thread may render items while this one renders others.
    // Every item renders the same as here: RenderSlice starts each from a reset.
    std::unique_ptr<CExporter> MakeCopy() const;

    // Slice mode: the planned slices; one-sample mode: 1.
    int32_t GetSliceCount() const;
    bool IsSliceMode() const { return fSliceMode; }
    // The copy's loop settings: preview on, so slices are timed at the preview tempo.
    CLoopSettings GetLoopSettings() const;
    // Bit depth and channels every rendered item has (the document sample's).
    int32_t GetBitDepth() const;
    bool IsStereo() const;
    // The clamped rate R at which items are rendered.
    uint32_t GetRenderRate() const { return fRate; }
    // XStdOutOfRange outside 0..GetSliceCount() − 1.
    SExportItemInfo GetSliceInfo(int32_t index) const;
    int64_t GetTotalFrames() const;
    // Allocates a new sample of the source's bit depth and channels at R, locators (2, 0,
    // length), holding the item's audio: in slice mode the slice from frame 0, silence after
    // P; in one-sample mode each planned slice from sᵢ, the last 40 frames faded when cut.
    // XStdOutOfRange for a bad index, XStdLengthError for an item beyond 32-bit frames.
    std::unique_ptr<CABCWaveSample> RenderSlice(int32_t index);

    const std::vector<SPlayListEntry>& GetPlannedEntries() const { return fPlanned; }
    // Output frames at which the planned slices start in one-sample mode.
    const std::vector<int64_t>& GetScheduledStarts() const { return fScheduledStarts; }
    // Multiplies the last 40 of `count` frames (all when fewer) by 1.0, 0.975, 0.95, …,
    // never below 0.
    static void FadeOutEnd(float* frames, int64_t count);

private:
    CExporter(const CExporter& other);

    int64_t GetPlayLength(int32_t index) const { return fPlayLengths[size_t(index)]; }

    std::unique_ptr<CQuilletSequencer> fSequencer;
    bool fSliceMode;
    bool fCutAtLoopEnd;
    int32_t fLeftLocator = 0;
    int64_t fLoopFrames = 0;
    uint32_t fRate = 0;
    std::vector<SPlayListEntry> fPlanned;
    std::vector<int64_t> fPlayLengths;
    std::vector<int64_t> fScheduledStarts;
    int64_t fOneSampleLength = 0;
};

}  // namespace NSQuillet
