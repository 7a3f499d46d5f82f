#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include "foundation/Mishap.h"

namespace NSQuillet {

class CABCWaveSample;
class IProgressReporter;

// Audio commands walk a channel in blocks of this many frames, which bounds their temporary
// buffers.
inline constexpr int32_t kProcessingBlockFrames = 1048576;

// The progress of one pass over `total` frames (all channels of the pass together). After
// every block it reports the fraction done (0..1000) and raises the abort "user pressed stop"
// when the user asked to stop. User-interface thread.
class CBlockProgress {
public:
    CBlockProgress(IProgressReporter& reporter, int64_t total);

    // `frames` more are done; 0 only polls.
    void BlockDone(int64_t frames);

private:
    IProgressReporter& fReporter;
    int64_t fTotal;
    int64_t fDone = 0;
};

// Calls work(start, count) over [first, first + frames) in consecutive blocks of at most
// kProcessingBlockFrames, and progress.BlockDone(count) after each (BlockDone(0), a poll only,
// when `countFrames` is false). A `work` that answers a bool ends the walk early by answering
// false; the walk then answers false. `progress` is a CBlockProgress or a CChannelProgress.
template <class TProgress, class TWork>
bool ForEachBlock(int32_t first, int32_t frames, TProgress& progress, TWork&& work, bool countFrames = true) {
    for (int32_t done = 0; done < frames;) {
        const int32_t count = std::min(frames - done, kProcessingBlockFrames);
        if constexpr (std::is_same_v<decltype(work(first, count)), bool>) {
            if (!work(first + done, count)) return false;
        } else {
            work(first + done, count);
        }
        done += count;
        progress.BlockDone(countFrames ? count : 0);
    }
    return true;
}

// A zero-filled buffer for one block of `frames` (at most kProcessingBlockFrames) values; the
// out-of-memory failure when it cannot be had.
template <class TValue>
std::vector<TValue> AllocateBlockBuffer(int32_t frames) {
    try {
        return std::vector<TValue>(size_t(std::clamp(frames, 1, kProcessingBlockFrames)));
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for the processing buffer");
    }
}

// A silent sample of the same bit depth and sample rate as `source`, `frames` long; the
// out-of-memory failure when it cannot be had. The loop is not set.
std::unique_ptr<CABCWaveSample> MakeEmptySampleLike(const CABCWaveSample& source, int32_t frames, bool stereo);

// A sample of the same bit depth, sample rate, length and channels as `source` whose values
// are undefined until written, for work that writes every frame of every channel; the
// out-of-memory failure when it cannot be had. The loop is not set.
std::unique_ptr<CABCWaveSample> MakeUnfilledSampleLike(const CABCWaveSample& source);

// For a new sample of the same length: the loop kind and locators of `source`, when its loop
// is set.
void CarryLoopOver(const CABCWaveSample& source, CABCWaveSample& target);

// Copies the stored values of `frames` frames exactly, from `sourceChannel` at `sourceStart`
// to `targetChannel` at `targetStart`, in blocks through `buffer` (one block long), reporting
// each block to `progress`.
void CopyChannelFrames(const CABCWaveSample& source, int32_t sourceChannel, int32_t sourceStart,
                       CABCWaveSample& target, int32_t targetChannel, int32_t targetStart, int32_t frames,
                       std::vector<int32_t>& buffer, CBlockProgress& progress);

}  // namespace NSQuillet
