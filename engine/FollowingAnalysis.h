#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/SampleFillListener.h"
#include "engine/Slice.h"
#include "engine/SliceInserter.h"

namespace NSQuillet {

class CSliceSequence;
class CTransientSearch;
class IProgressReporter;

// The transient search of a sample that is still being read: a worker thread scans the
// frames the reader has filled while it reads the next ones. The slices are those
// CSliceSequence::Analyze finds. A sample shorter than `threadFrom` frames gets no thread;
// Finish then analyses it on the calling thread.
class CFollowingAnalysis final : public ISampleFillListener {
public:
    static constexpr int32_t kThreadFrom = 1 << 20;

    explicit CFollowingAnalysis(int32_t threadFrom = kThreadFrom);
    // Stops and joins the worker.
    ~CFollowingAnalysis();
    CFollowingAnalysis(const CFollowingAnalysis&) = delete;
    CFollowingAnalysis& operator=(const CFollowingAnalysis&) = delete;

    void FillStarted(const CABCWaveSample& sample) override;
    void FramesFilled(int32_t frames) override;
    void ReleaseSample() noexcept override;

    // Whether the reading of `sample` was followed.
    bool Follows(const CABCWaveSample& sample) const { return fSample == &sample; }

    // After the reader filled every frame: waits for the scan, reporting 0..1000 and polling
    // Stop on this thread, then cleans up frame 0 and sets the lengths as Analyze does. False
    // when stopped before the scan ended: the slices found until then stay, the pending one
    // is dropped. A failure of the worker is rethrown here. Then TakeSlices.
    bool Finish(IProgressReporter* progress);
    std::unique_ptr<CSliceSequence> TakeSlices();

private:
    void Follow();
    // Asks the worker to stop and waits for it; safe to repeat.
    void StopWorker() noexcept;

    // What the worker finds, in the order found, in room taken on the calling thread: a worker
    // that allocates gets a heap of its own, which stays in the process's memory.
    class CFoundSlices final : public ISliceInserter {
    public:
        void InsertSlice(const CSlice& slice) override { fSlices.push_back(slice); }
        std::vector<CSlice> fSlices;
    };

    const int32_t fThreadFrom;
    const CABCWaveSample* fSample = nullptr;
    std::unique_ptr<CSliceSequence> fSlices;
    CFoundSlices fFound;
    std::unique_ptr<CTransientSearch> fSearch;
    std::thread fWorker;

    // Guard the hand-over between reader and worker, once per filled block.
    std::mutex fMutex;
    std::condition_variable fChanged;
    int32_t fFilled = 0;
    bool fStop = false;
    bool fDone = false;
    bool fCompleted = false;
    std::exception_ptr fFailure;
    // Read by Finish for the progress.
    std::atomic<int32_t> fScanned{0};
};

}  // namespace NSQuillet
