#include "engine/TransientSearch.h"

#include <algorithm>
#include <vector>

#include "engine/Slice.h"
#include "engine/SliceInserter.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"
#include "foundation/MulDiv.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

namespace {

constexpr int16_t kInitialWindow = 300;
constexpr int16_t kInitialStep = 200;
constexpr int32_t kSnapReach = 500;
constexpr int32_t kQuietLevel = 1023;

// The detector's 16-bit arithmetic wraps: these conversions keep the low 16 bits.
inline int16_t Wrap16(int32_t value) { return int16_t(uint16_t(uint32_t(value))); }

inline int16_t Mix(int16_t left, int16_t right) { return int16_t((int32_t(left) + int32_t(right)) / 2); }

}  // namespace

CTransientSearch::CTransientSearch(const CABCWaveSample& sample, ISliceInserter& slices)
    : fSample(sample), fSlices(slices) {}

int16_t CTransientSearch::ValueAt(int32_t frame) const {
    const int16_t left = fSample.Get16(frame, 1);
    return fSample.IsStereo() ? Mix(left, fSample.Get16(frame, 2)) : left;
}

int32_t CTransientSearch::SnapToZeroCrossing(int32_t frame) const {
    const int32_t lowest = frame - kSnapReach > 0 ? frame - kSnapReach : 0;
    int32_t v = ValueAt(frame);
    int32_t q = frame;
    while (q > lowest) {
        const int32_t u = ValueAt(q - 1);
        if ((v > 0 && u < 0) || (v < 0 && u > 0)) break;
        if ((v < 0 ? -v : v) < kQuietLevel) break;
        v = u;
        --q;
    }
    return q;
}

void CTransientSearch::InsertPendingSlice(const SState& state) {
    const int32_t onsetFloor = state.fOnsetFloor == 0 ? 1 : state.fOnsetFloor;
    const int32_t peak = state.fPeak == 0 ? 1 : state.fPeak;
    const int32_t level = std::clamp<int32_t>(peak * 1024 / onsetFloor, 1, 32767);
    fSlices.InsertSlice(CSlice(fPendingPosition, int16_t(level), ESliceKind::kNormal));
    if (fPendingPosition == 0) ++fZeroCount;
}

void CTransientSearch::StartTransient(SState& state, int32_t frame, int16_t magnitude) {
    const int32_t snapped = SnapToZeroCrossing(frame);
    InsertPendingSlice(state);
    fPendingPosition = snapped;
    state.fOnsetFloor = state.fFloor;
    state.fPeakIndex = 0;
    state.fCounter = 0;
    state.fPeak = magnitude;
    state.fInTransient = true;
}

template <bool kStereo>
int16_t CTransientSearch::Emphasise(const int16_t* left, const int16_t* right, int32_t at, int16_t& previous) {
    const int16_t x = kStereo ? Mix(left[at], right[at]) : left[at];
    const int16_t d = Wrap16(2 * int32_t(x) - previous);
    previous = x;
    // |−32768| reads back as −32768.
    return Wrap16(d < 0 ? -int32_t(d) : int32_t(d));
}

template <bool kStereo>
int32_t CTransientSearch::Search(const int16_t* left, const int16_t* right, int32_t at, int32_t count, SState& s,
                                 int16_t& onsetMagnitude) {
    // Plain locals: the loop-carried follower stays in a register.
    int16_t previous = s.fPrevious;
    int16_t follower = s.fFollower;
    int16_t floor = s.fFloor;
    for (; at < count; ++at) {
        const int16_t a = Emphasise<kStereo>(left, right, at, previous);
        const bool rising = a > follower;
        // Bitwise: one rare, well-predicted branch instead of one on the noisy rise.
        if (rising & (int16_t(a >> 2) > floor)) {
            onsetMagnitude = a;
            break;
        }
        const int16_t decayed = Wrap16(((int32_t(follower) * 0x7F28) >> 15) + 1);
        follower = rising ? a : decayed;
        floor = (!rising & (decayed < floor)) ? decayed : floor;
    }
    s.fPrevious = previous;
    s.fFollower = follower;
    s.fFloor = floor;
    return at;
}

template <bool kStereo>
void CTransientSearch::ScanBlock(const int16_t* left, const int16_t* right, int32_t blockStart, int32_t count) {
    SState s = fState;
    int32_t at = 0;
    while (at < count) {
        if (!s.fInTransient) {
            // Searching: the follower rises with the signal or decays by 0x7F28 / 0x8000 per
            // frame, the floor keeps its lowest value, until a quarter of the signal exceeds it.
            int16_t a = 0;
            at = Search<kStereo>(left, right, at, count, s, a);
            if (at == count) break;
            StartTransient(s, blockStart + at, a);
            MeasureTransient(s, a);
            ++at;
        }
        for (; s.fInTransient && at < count; ++at) MeasureTransient(s, Emphasise<kStereo>(left, right, at, s.fPrevious));
    }
    fState = s;
}

void CTransientSearch::MeasureTransient(SState& s, int16_t a) {
    s.fFollower = s.fPeak;
    if (a > s.fPeak) {
        s.fPeakIndex = s.fCounter;
        s.fPeak = a;
    }
    s.fCounter = Wrap16(s.fCounter + 1);
    if (s.fCounter != s.fWindow) return;
    if (s.fPeakIndex > s.fWindow - s.fStep) {
        // The peak came late: keep watching.
        s.fWindow = Wrap16(s.fWindow + s.fStep);
        s.fStep = int16_t(s.fStep >> 1);
    } else {
        s.fFloor = s.fPeak;
        s.fFollower = s.fPeak;
        s.fInTransient = false;
        s.fWindow = kInitialWindow;
        s.fStep = kInitialStep;
    }
}

void CTransientSearch::Scan(int32_t end) {
    end = std::min(end, fSample.GetFrameCount());
    const bool stereo = fSample.IsStereo();
    // 16-bit channels are scanned in place; others through block copies in 16-bit scale.
    const int16_t* leftValues = fSample.Get16Values(1);
    const int16_t* rightValues = stereo ? fSample.Get16Values(2) : nullptr;
    const bool inPlace = leftValues && (!stereo || rightValues);
    if (!inPlace && fLeft.empty() && fScanned < end) {
        try {
            fLeft.resize(size_t(std::min(fSample.GetFrameCount(), kBlockFrames)));
            if (stereo) fRight.resize(fLeft.size());
        } catch (const std::bad_alloc&) {
            NSMishap::ThrowOutOfMemory("no memory for the analysis buffers");
        }
    }

    while (fScanned < end) {
        const int32_t blockStart = fScanned;
        const int32_t blockFrames = std::min(end - blockStart, kBlockFrames);
        const int16_t* blockLeft;
        const int16_t* blockRight;
        if (inPlace) {
            blockLeft = leftValues + blockStart;
            blockRight = stereo ? rightValues + blockStart : nullptr;
        } else {
            fSample.Get16s(blockStart, blockFrames, fLeft.data(), 1);
            if (stereo) fSample.Get16s(blockStart, blockFrames, fRight.data(), 2);
            blockLeft = fLeft.data();
            blockRight = stereo ? fRight.data() : nullptr;
        }

        if (stereo) {
            ScanBlock<true>(blockLeft, blockRight, blockStart, blockFrames);
        } else {
            ScanBlock<false>(blockLeft, nullptr, blockStart, blockFrames);
        }
        fScanned = blockStart + blockFrames;
    }
}

void CTransientSearch::Complete() { InsertPendingSlice(fState); }

bool CTransientSearch::Run(IProgressReporter* progress) {
    const int32_t frameCount = fSample.GetFrameCount();
    for (int32_t blockStart = 0; blockStart < frameCount; blockStart += kBlockFrames) {
        if (progress) {
            progress->Progress(int32_t(MulDivTruncate(blockStart, 1000, frameCount)));
            if (blockStart != 0 && progress->IsStopRequested()) return false;
        }
        Scan(blockStart + std::min(frameCount - blockStart, kBlockFrames));
    }
    Complete();
    return true;
}

}  // namespace NSQuillet
