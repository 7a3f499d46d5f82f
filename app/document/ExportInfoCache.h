#pragma once

#include <cstdint>

#include "app/operations/MillisecondClock.h"

namespace NSQuillet {

class CQuilletSequencer;

// The export figures the information panel shows (items to export and their size), worked
// out by an exporter over the document's sequencer and kept until the document changes.
// User-interface thread; computing copies the sequencer and builds a play list.
class CExportInfoCache {
public:
    // Throttled readers recompute at most this often, in milliseconds.
    static constexpr uint64_t kThrottleMilliseconds = 30;

    // `exportSlicesSeparately` is the document's flag, read at each computation.
    CExportInfoCache(const CQuilletSequencer& sequencer, const bool& exportSlicesSeparately,
                     const NSCourier::IMillisecondClock& clock);

    void MarkDirty();
    bool IsDirty() const { return fDirty; }
    // Clock time of the last MarkDirty, in milliseconds.
    uint64_t GetMarkedAt() const { return fStamp; }
    // The crop-to-loop preference: the one-sample export ends at the loop's end.
    void SetCutAtLoopEnd(bool cut);

    // Recompute when dirty.
    int32_t GetSliceCount();
    // Output frames of all items, doubled for a stereo sample.
    int64_t GetExportSize();
    // Recompute when dirty and at least 30 ms have passed since the last computation; else
    // the cached figure.
    int32_t GetSliceCountThrottled();
    int64_t GetExportSizeThrottled();

private:
    void Compute();
    void ComputeThrottled();

    const CQuilletSequencer& fSequencer;
    const bool& fExportSlicesSeparately;
    const NSCourier::IMillisecondClock& fClock;
    bool fCutAtLoopEnd = false;
    bool fDirty = true;
    bool fComputed = false;
    uint64_t fStamp = 0;
    uint64_t fComputedAt = 0;
    uint32_t fRegisteredRate = 0;
    int32_t fSliceCount = 0;
    int64_t fExportSize = 0;
};

}  // namespace NSQuillet
