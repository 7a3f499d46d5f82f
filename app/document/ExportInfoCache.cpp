#include "app/document/ExportInfoCache.h"

#include "engine/DSPTablesCache.h"
#include "engine/Exporter.h"
#include "engine/QuilletSequencer.h"
#include "engine/WaveSample.h"

namespace NSQuillet {

CExportInfoCache::CExportInfoCache(const CQuilletSequencer& sequencer, const bool& exportSlicesSeparately,
                                   const NSCourier::IMillisecondClock& clock)
    : fSequencer(sequencer), fExportSlicesSeparately(exportSlicesSeparately), fClock(clock) {}

void CExportInfoCache::MarkDirty() {
    fDirty = true;
    fStamp = fClock.NowMilliseconds();
}

void CExportInfoCache::SetCutAtLoopEnd(bool cut) {
    if (cut != fCutAtLoopEnd) MarkDirty();
    fCutAtLoopEnd = cut;
}

void CExportInfoCache::Compute() {
    const uint32_t rate = fSequencer.GetOutputRate();
    if (rate != fRegisteredRate) {
        CDSPTablesCache::Get(rate);
        fRegisteredRate = rate;
    }
    CExporter exporter(fSequencer, fExportSlicesSeparately, fCutAtLoopEnd);
    const CABCWaveSample* sample = fSequencer.GetWaveSample();
    fSliceCount = exporter.GetSliceCount();
    fExportSize = exporter.GetTotalFrames() * (sample && sample->IsStereo() ? 2 : 1);
    fDirty = false;
    fComputed = true;
    fComputedAt = fClock.NowMilliseconds();
}

void CExportInfoCache::ComputeThrottled() {
    if (!fDirty) return;
    if (fComputed && fClock.NowMilliseconds() - fComputedAt < kThrottleMilliseconds) return;
    Compute();
}

int32_t CExportInfoCache::GetSliceCount() {
    if (fDirty) Compute();
    return fSliceCount;
}

int64_t CExportInfoCache::GetExportSize() {
    if (fDirty) Compute();
    return fExportSize;
}

int32_t CExportInfoCache::GetSliceCountThrottled() {
    ComputeThrottled();
    return fSliceCount;
}

int64_t CExportInfoCache::GetExportSizeThrottled() {
    ComputeThrottled();
    return fExportSize;
}

}  // namespace NSQuillet
