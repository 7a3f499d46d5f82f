#include "engine/TransientSearch.h"

#include <algorithm>
#include <vector>

#include "engine/Slice.h"
#include "engine/SliceSequence.h"
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

CTransientSearch::CTransientSearch(const CABCWaveSample& sample, CSliceSequence& slices)
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

void CTransientSearch::InsertPendingSlice() {
    const int32_t onsetFloor = fOnsetFloor == 0 ? 1 : fOnsetFloor;
    const int32_t peak = fPeak == 0 ? 1 : fPeak;
    const int32_t level = std::clamp<int32_t>(peak * 1024 / onsetFloor, 1, 32767);
    fSlices.InsertSlice(CSlice(fPendingPosition, int16_t(level), ESliceKind::kNormal));
    if (fPendingPosition == 0) ++fZeroCount;
}

bool CTransientSearch::Run(IProgressReporter* progress) {
    const int32_t frameCount = fSample.GetFrameCount();
    const bool stereo = fSample.IsStereo();
    std::vector<int16_t> left, right;
    try {
        left.resize(size_t(std::min(frameCount, kBlockFrames)));
        if (stereo) right.resize(left.size());
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for the analysis buffers");
    }

    for (int32_t blockStart = 0; blockStart < frameCount; blockStart += kBlockFrames) {
        if (progress) {
            progress->Progress(int32_t(MulDivTruncate(blockStart, 1000, frameCount)));
            if (blockStart != 0 && progress->IsStopRequested()) return false;
        }
        const int32_t blockFrames = std::min(frameCount - blockStart, kBlockFrames);
        fSample.Get16s(blockStart, blockFrames, left.data(), 1);
        if (stereo) fSample.Get16s(blockStart, blockFrames, right.data(), 2);

        for (int32_t j = 0; j < blockFrames; ++j) {
            const int16_t x = stereo ? Mix(left[size_t(j)], right[size_t(j)]) : left[size_t(j)];
            const int16_t d = Wrap16(2 * int32_t(x) - fPrevious);
            fPrevious = x;
            // |−32768| reads back as −32768.
            const int16_t a = Wrap16(d < 0 ? -int32_t(d) : int32_t(d));

            if (!fInTransient) {
                if (a > fFollower) {
                    if (int16_t(a >> 2) > fFloor) {
                        const int32_t i = blockStart + j;
                        const int32_t snapped = SnapToZeroCrossing(i);
                        InsertPendingSlice();
                        fPendingPosition = snapped;
                        fOnsetFloor = fFloor;
                        fPeakIndex = 0;
                        fCounter = 0;
                        fPeak = a;
                        fInTransient = true;
                    } else {
                        fFollower = a;
                    }
                } else {
                    fFollower = Wrap16(((int32_t(fFollower) * 0x7F28) >> 15) + 1);
                    if (fFollower < fFloor) fFloor = fFollower;
                }
            }
            if (fInTransient) {
                fFollower = fPeak;
                if (a > fPeak) {
                    fPeakIndex = fCounter;
                    fPeak = a;
                }
                fCounter = Wrap16(fCounter + 1);
                if (fCounter == fWindow) {
                    if (fPeakIndex > fWindow - fStep) {
                        fWindow = Wrap16(fWindow + fStep);
                        fStep = int16_t(fStep >> 1);
                    } else {
                        fFloor = fPeak;
                        fFollower = fPeak;
                        fInTransient = false;
                        fWindow = kInitialWindow;
                        fStep = kInitialStep;
                    }
                }
            }
        }
    }
    InsertPendingSlice();
    return true;
}

}  // namespace NSQuillet
