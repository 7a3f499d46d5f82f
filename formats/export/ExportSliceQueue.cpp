#include "formats/export/ExportSliceQueue.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "engine/Exporter.h"
#include "formats/export/ExportSliceRendering.h"
#include "foundation/Mishap.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

CExportSliceQueue::CExportSliceQueue(CExporter& exporter, int32_t count, uint32_t sampleRate, int32_t bitDepth)
    : fExporter(exporter), fCount(std::max(count, 0)), fSampleRate(sampleRate), fBitDepth(bitDepth) {
    // An item's frames at the written rate when that is higher: what it holds in memory.
    const uint32_t renderRate = exporter.GetRenderRate();
    const uint32_t rate = std::max(ClampSampleRate(sampleRate), renderRate);
    int64_t total = 0;
    fCosts.reserve(size_t(fCount));
    for (int32_t i = 0; i < fCount; ++i) {
        const int64_t frames = std::max<int64_t>(exporter.GetSliceInfo(i).fLength, 1);
        fCosts.push_back(frames / renderRate * rate + frames % renderRate * rate / renderRate);
        total += fCosts.back();
    }
    if (fCount > 1 && total >= kFramesForWorkers && std::thread::hardware_concurrency() > 1) StartWorkers();
}

CExportSliceQueue::~CExportSliceQueue() {
    {
        std::lock_guard<std::mutex> lock(fLock);
        fStopping = true;
    }
    fClaimable.notify_all();
    for (std::thread& worker : fWorkers) worker.join();
}

void CExportSliceQueue::StartWorkers() {
    // The owner's thread is busy writing what the workers render.
    const size_t wanted = std::min<size_t>(std::thread::hardware_concurrency() - 1, size_t(fCount));
    fItems.resize(size_t(fCount));
    // Without memory or threads for all of them, the ones made do the work; without any,
    // the owner's thread does.
    try {
        while (fCopies.size() < wanted) fCopies.push_back(fExporter.MakeCopy());
    } catch (const std::bad_alloc&) {
    }
    try {
        for (const std::unique_ptr<CExporter>& copy : fCopies) fWorkers.emplace_back([this, &copy] { Work(*copy); });
    } catch (const std::system_error&) {
    }
    if (fWorkers.empty()) fItems.clear();
}

bool CExportSliceQueue::MayClaimLocked() const {
    if (fNextClaim >= fCount) return false;
    return fFramesHeld == 0 || fFramesHeld + fCosts[size_t(fNextClaim)] <= kFramesAhead;
}

void CExportSliceQueue::Work(CExporter& exporter) {
    std::unique_lock<std::mutex> lock(fLock);
    while (true) {
        fClaimable.wait(lock, [&] { return fStopping || fNextClaim >= fCount || MayClaimLocked(); });
        if (fStopping || fNextClaim >= fCount) return;
        RenderClaimedLocked(exporter, lock);
    }
}

void CExportSliceQueue::RenderClaimedLocked(CExporter& exporter, std::unique_lock<std::mutex>& lock) {
    const int32_t index = fNextClaim++;
    fFramesHeld += fCosts[size_t(index)];
    lock.unlock();
    SItem done;
    try {
        done.fSample = RenderExportSlice(exporter, index, fSampleRate, fBitDepth);
    } catch (...) {
        done.fFailure = std::current_exception();
    }
    done.fDone = true;
    lock.lock();
    fItems[size_t(index)] = std::move(done);
    fFinished.notify_all();
}

std::unique_ptr<CABCWaveSample> CExportSliceQueue::Take(int32_t index) {
    if (index != fNextTake || index >= fCount) throw NSMishap::XStdInvalidArgument("export items are taken in order");
    ++fNextTake;
    if (fWorkers.empty()) return RenderExportSlice(fExporter, index, fSampleRate, fBitDepth);

    SItem item;
    {
        std::unique_lock<std::mutex> lock(fLock);
        fFramesHeld -= fLastTakenCost;
        fLastTakenCost = fCosts[size_t(index)];
        fClaimable.notify_all();
        // Rather than wait, this thread renders the next items as a worker would.
        while (!fItems[size_t(index)].fDone) {
            if (MayClaimLocked()) {
                RenderClaimedLocked(fExporter, lock);
            } else {
                fFinished.wait(lock);
            }
        }
        item = std::move(fItems[size_t(index)]);
    }
    if (item.fFailure) std::rethrow_exception(item.fFailure);
    return std::move(item.fSample);
}

}  // namespace NSQuillet
