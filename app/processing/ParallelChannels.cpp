#include "app/processing/ParallelChannels.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "app/processing/ProcessingBlocks.h"

namespace NSQuillet {

namespace {

// Ends the second thread's work when the calling thread has stopped or failed.
struct XChannelStopped {};

}  // namespace

// The state the two threads of a pass share. The second thread queues the frames of each
// block it finishes; the calling thread hands them to the pass's progress.
class CChannelRuns {
public:
    explicit CChannelRuns(CBlockProgress& progress) : fProgress(progress) {}

    void Run(int32_t channelCount, int64_t framesPerChannel, const std::function<void(int32_t, CChannelProgress&)>& work) {
        CChannelProgress first(*this, true);
        std::thread second;
        if (channelCount == 2 && framesPerChannel >= kParallelChannelFrames) {
            try {
                second = std::thread([&] { RunSecond(work); });
            } catch (const std::system_error&) {
                // No thread to be had: both channels on this one.
            }
        }
        if (!second.joinable()) {
            for (int32_t channel = 1; channel <= channelCount; ++channel) work(channel, first);
            return;
        }
        try {
            work(1, first);
            ReportSecond(true);
        } catch (...) {
            fStop = true;
            second.join();
            throw;
        }
        second.join();
    }

    void BlockDone(bool onCallingThread, int64_t frames) {
        if (onCallingThread) {
            fProgress.BlockDone(frames);
            ReportSecond(false);
            return;
        }
        {
            const std::lock_guard<std::mutex> lock(fMutex);
            fBlocks.push_back(frames);
            fChanged.notify_one();
        }
        if (fStop) throw XChannelStopped();
    }

private:
    void RunSecond(const std::function<void(int32_t, CChannelProgress&)>& work) {
        CChannelProgress progress(*this, false);
        std::exception_ptr failure;
        try {
            work(2, progress);
        } catch (const XChannelStopped&) {
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard<std::mutex> lock(fMutex);
        fFailure = failure;
        fSecondEnded = true;
        fChanged.notify_one();
    }

    // Calling thread: reports the second thread's finished blocks and, when it has failed,
    // raises its failure.
    void ReportSecond(bool waitForEnd) {
        for (;;) {
            std::deque<int64_t> blocks;
            bool ended = false;
            {
                std::unique_lock<std::mutex> lock(fMutex);
                if (waitForEnd) fChanged.wait(lock, [&] { return fSecondEnded || !fBlocks.empty(); });
                blocks.swap(fBlocks);
                ended = fSecondEnded;
            }
            for (int64_t frames : blocks) fProgress.BlockDone(frames);
            if (ended && fFailure) std::rethrow_exception(fFailure);
            if (!waitForEnd || ended) return;
        }
    }

    CBlockProgress& fProgress;
    std::atomic<bool> fStop{false};
    std::mutex fMutex;
    std::condition_variable fChanged;
    std::deque<int64_t> fBlocks;
    bool fSecondEnded = false;
    std::exception_ptr fFailure;
};

void CChannelProgress::BlockDone(int64_t frames) { fRuns.BlockDone(fOnCallingThread, frames); }

void RunChannelsInParallel(int32_t channelCount, int64_t framesPerChannel, CBlockProgress& progress,
                           const std::function<void(int32_t channel, CChannelProgress& progress)>& work) {
    CChannelRuns(progress).Run(channelCount, framesPerChannel, work);
}

}  // namespace NSQuillet
