#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/WaveSample.h"

namespace NSQuillet {

class CExporter;

// The first `count` items of an export, rendered and converted (RenderExportSlice) ahead of
// the one who writes them, and handed out in order. With more than one processor and enough
// audio, worker threads render them, each on its own copy of the exporter, and the owner's
// thread renders the next ones on the exporter itself while the item it takes is not ready;
// the samples are the same as rendered one after another on the exporter itself. The items
// rendered ahead and the one last taken hold at most about 262144 frames together (one item
// alone may be longer): a few megabytes, enough for the workers to keep busy while the owner
// writes.
// The owner's thread only; the workers stop and are joined on destruction.
class CExportSliceQueue {
public:
    static constexpr int64_t kFramesAhead = int64_t(1) << 18;
    // Below this many frames in all the items render on the owner's thread.
    static constexpr int64_t kFramesForWorkers = int64_t(1) << 16;

    CExportSliceQueue(CExporter& exporter, int32_t count, uint32_t sampleRate, int32_t bitDepth);
    ~CExportSliceQueue();
    CExportSliceQueue(const CExportSliceQueue&) = delete;
    CExportSliceQueue& operator=(const CExportSliceQueue&) = delete;

    // Item `index`, the one after the item taken before (0 first; anything else is an
    // XStdInvalidArgument). Waits for it; a failure rendering it is thrown here, as
    // RenderExportSlice would throw it.
    std::unique_ptr<CABCWaveSample> Take(int32_t index);
    // How many threads render: 0 when the owner's does.
    size_t GetWorkerCount() const { return fWorkers.size(); }

private:
    struct SItem {
        std::unique_ptr<CABCWaveSample> fSample;
        std::exception_ptr fFailure;
        bool fDone = false;
    };

    void StartWorkers();
    void Work(CExporter& exporter);
    // Claims the next item and renders it on `exporter` with the lock released; `lock` is held
    // on entry and on return.
    void RenderClaimedLocked(CExporter& exporter, std::unique_lock<std::mutex>& lock);
    bool MayClaimLocked() const;

    CExporter& fExporter;
    int32_t fCount;
    uint32_t fSampleRate;
    int32_t fBitDepth;
    std::vector<int64_t> fCosts;
    std::vector<std::unique_ptr<CExporter>> fCopies;
    std::vector<std::thread> fWorkers;

    std::mutex fLock;
    std::condition_variable fClaimable;
    std::condition_variable fFinished;
    std::vector<SItem> fItems;
    int32_t fNextClaim = 0;
    int32_t fNextTake = 0;
    // The frames of the items claimed and not yet taken, and of the one last taken.
    int64_t fFramesHeld = 0;
    int64_t fLastTakenCost = 0;
    bool fStopping = false;
};

}  // namespace NSQuillet
