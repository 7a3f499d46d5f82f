#pragma once

#include <cstdint>
#include <vector>

namespace NSQuillet {

class CABCWaveSample;
class IProgressReporter;
class ISliceInserter;

// The onset detector: one integer pass over the audio in 16-bit scale (24-bit audio through
// the 16-bit accessors) that inserts every candidate slice point with its strength. It does not
// depend on the sensitivity, which only moves the threshold over the levels found here.
class CTransientSearch {
public:
    static constexpr int32_t kBlockFrames = 1 << 20;

    // Inserts what it finds into `slices`.
    CTransientSearch(const CABCWaveSample& sample, ISliceInserter& slices);

    // Runs the search, reporting 0..1000 at the start of each block. A stop is looked at only
    // at block boundaries after the first: the slices inserted so far stay and the pending one
    // is dropped. Returns false when stopped. The caller runs EnsureFirstSlice with
    // GetZeroCount() and then the length update.
    bool Run(IProgressReporter* progress);

    // The same search in steps, for audio that is still being filled: Scan goes on to frame
    // `end` (cut to the sample), reading only frames before it; Complete inserts the pending
    // slice after the last frame. Scans split anywhere find what Run finds.
    void Scan(int32_t end);
    void Complete();
    // Frames scanned so far.
    int32_t GetScannedFrames() const { return fScanned; }

    // How many slices were inserted at frame 0.
    int32_t GetZeroCount() const { return fZeroCount; }

    // Where the transient at `frame` really starts: at most 500 frames back, on the later frame
    // of a sign change or on the first quiet frame met going back; never below frame 0.
    int32_t SnapToZeroCrossing(int32_t frame) const;

private:
    // Channel 1, or for stereo (left + right) / 2 truncated toward zero.
    int16_t ValueAt(int32_t frame) const;

    // The detector's state between frames; 16-bit like the values it follows.
    struct SState {
        int16_t fPrevious = 0;
        int16_t fFollower = 100;
        int16_t fFloor = 100;
        bool fInTransient = false;
        int16_t fPeak = 0;
        int16_t fPeakIndex = 0;
        int16_t fCounter = 0;
        int16_t fWindow = 300;
        int16_t fStep = 200;
        int16_t fOnsetFloor = 0;
    };

    // The emphasised magnitude of one frame: |2·x − previous| in 16 bits.
    template <bool kStereo>
    static int16_t Emphasise(const int16_t* left, const int16_t* right, int32_t at, int16_t& previous);
    // Searches from `at` for the next onset; returns its index (or `count`) and its magnitude.
    template <bool kStereo>
    static int32_t Search(const int16_t* left, const int16_t* right, int32_t at, int32_t count, SState& state,
                          int16_t& onsetMagnitude);
    template <bool kStereo>
    void ScanBlock(const int16_t* left, const int16_t* right, int32_t blockStart, int32_t count);
    // One frame of a transient being measured: peak, watch window and its end.
    static void MeasureTransient(SState& state, int16_t magnitude);
    void InsertPendingSlice(const SState& state);
    // Completes the pending slice and starts measuring the transient found at `frame`.
    void StartTransient(SState& state, int32_t frame, int16_t magnitude);

    const CABCWaveSample& fSample;
    ISliceInserter& fSlices;
    SState fState;
    int32_t fPendingPosition = 0;
    int32_t fZeroCount = 0;
    int32_t fScanned = 0;
    // Block copies for audio not stored in 16 bits.
    std::vector<int16_t> fLeft;
    std::vector<int16_t> fRight;
};

}  // namespace NSQuillet
