#include "engine/FollowingAnalysis.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "engine/SliceSequence.h"
#include "engine/TransientSearch.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"
#include "foundation/MulDiv.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

namespace {

// How often Finish reports progress and looks at Stop while it waits.
constexpr auto kProgressInterval = std::chrono::milliseconds(20);

}  // namespace

CFollowingAnalysis::CFollowingAnalysis(int32_t threadFrom) : fThreadFrom(threadFrom) {}

CFollowingAnalysis::~CFollowingAnalysis() { StopWorker(); }

void CFollowingAnalysis::FillStarted(const CABCWaveSample& sample) {
    StopWorker();
    fSample = &sample;
    fSlices = std::make_unique<CSliceSequence>(&sample);
    fFound.fSlices.clear();
    fSearch.reset();
    fFilled = 0;
    fStop = false;
    fDone = false;
    fCompleted = false;
    fFailure = nullptr;
    fScanned.store(0, std::memory_order_relaxed);
    if (sample.GetFrameCount() < fThreadFrom) return;
    // Onsets lie at least 300 frames apart and seldom closer than 2048.
    fFound.fSlices.reserve(size_t(sample.GetFrameCount() / 2048) + 16);
    fSearch = std::make_unique<CTransientSearch>(sample, fFound);
    try {
        fWorker = std::thread([this] { Follow(); });
    } catch (const std::system_error&) {
        // Without a thread Finish analyses the sample itself.
    }
}

void CFollowingAnalysis::FramesFilled(int32_t frames) {
    if (!fWorker.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(fMutex);
        fFilled = frames;
    }
    fChanged.notify_all();
}

void CFollowingAnalysis::ReleaseSample() noexcept {
    StopWorker();
    fSample = nullptr;
    fSearch.reset();
    fSlices.reset();
    fFound.fSlices = std::vector<CSlice>();
}

void CFollowingAnalysis::StopWorker() noexcept {
    if (!fWorker.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(fMutex);
        fStop = true;
    }
    fChanged.notify_all();
    fWorker.join();
}

void CFollowingAnalysis::Follow() {
    try {
        const int32_t frameCount = fSample->GetFrameCount();
        int32_t scanned = 0;
        while (scanned < frameCount) {
            int32_t filled = 0;
            {
                std::unique_lock<std::mutex> lock(fMutex);
                fChanged.wait(lock, [&] { return fStop || fFilled > scanned; });
                if (fStop) break;
                filled = fFilled;
            }
            // A block at a time, so that a stop is seen soon.
            bool stop = false;
            while (scanned < filled && !stop) {
                const int32_t end = int32_t(std::min<int64_t>(filled, int64_t(scanned) + CTransientSearch::kBlockFrames));
                fSearch->Scan(end);
                scanned = end;
                fScanned.store(scanned, std::memory_order_relaxed);
                std::lock_guard<std::mutex> lock(fMutex);
                stop = fStop;
            }
            if (stop) break;
        }
        if (scanned == frameCount) {
            fSearch->Complete();
            std::lock_guard<std::mutex> lock(fMutex);
            fCompleted = true;
        }
    } catch (...) {
        std::lock_guard<std::mutex> lock(fMutex);
        fFailure = std::current_exception();
    }
    {
        std::lock_guard<std::mutex> lock(fMutex);
        fDone = true;
    }
    fChanged.notify_all();
}

bool CFollowingAnalysis::Finish(IProgressReporter* progress) {
    if (!fSample) throw NSMishap::XStdLogicError("no reading was followed");
    if (!fWorker.joinable()) return fSlices->Analyze(progress);

    const int32_t frameCount = fSample->GetFrameCount();
    std::unique_lock<std::mutex> lock(fMutex);
    if (fFilled < frameCount) {
        lock.unlock();
        StopWorker();
        throw NSMishap::XStdLogicError("analysis finished before the sample was filled");
    }
    bool stopAsked = false;
    while (!fDone) {
        if (progress) {
            lock.unlock();
            progress->Progress(int32_t(MulDivTruncate(fScanned.load(std::memory_order_relaxed), 1000, frameCount)));
            const bool stop = !stopAsked && progress->IsStopRequested();
            lock.lock();
            if (stop) {
                stopAsked = true;
                fStop = true;
                fChanged.notify_all();
            }
            fChanged.wait_for(lock, kProgressInterval, [&] { return fDone; });
        } else {
            fChanged.wait(lock, [&] { return fDone; });
        }
    }
    const bool completed = fCompleted;
    const std::exception_ptr failure = fFailure;
    lock.unlock();
    fWorker.join();
    if (failure) std::rethrow_exception(failure);

    for (const CSlice& slice : fFound.fSlices) fSlices->InsertSlice(slice);
    fFound.fSlices = std::vector<CSlice>();
    fSlices->EnsureFirstSlice(fSearch->GetZeroCount());
    fSlices->UpdateSliceLengths();
    return completed;
}

std::unique_ptr<CSliceSequence> CFollowingAnalysis::TakeSlices() {
    fSample = nullptr;
    fSearch.reset();
    return std::move(fSlices);
}

}  // namespace NSQuillet
