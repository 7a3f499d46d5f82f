#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>

namespace NSQuillet {

class CABCWaveSample;

// The one full copy of audio a wave-sample change keeps: the state the document is not in.
// Restoring hands out a clone, so the saved copy is never shared with the document.
// User-interface thread; cloning allocates and throws the out-of-memory failure.
class CSavedWaveSample {
public:
    // Clones `sample` by its dynamic type (16- or 24-bit).
    explicit CSavedWaveSample(const CABCWaveSample& sample);
    // Takes `sample` over; it must be a 16- or 24-bit sample (else XStdInvalidArgument).
    explicit CSavedWaveSample(std::unique_ptr<CABCWaveSample> sample);
    CSavedWaveSample(const CSavedWaveSample&) = delete;
    CSavedWaveSample& operator=(const CSavedWaveSample&) = delete;
    ~CSavedWaveSample();

    const CABCWaveSample& GetSample() const { return *fSample; }
    // A new sample equal to the saved one.
    std::unique_ptr<CABCWaveSample> MakeSample() const;

    // Bytes of audio held by all saved copies alive in the process, and their number: what
    // the undo history costs in memory.
    static int64_t GetLiveBytes() { return sLiveBytes.load(); }
    static int64_t GetLiveCount() { return sLiveCount.load(); }

    static std::unique_ptr<CABCWaveSample> Clone(const CABCWaveSample& sample);
    // Frames × channels × bytes per stored value.
    static int64_t AudioBytes(const CABCWaveSample& sample);

private:
    void Count();

    std::unique_ptr<CABCWaveSample> fSample;
    int64_t fBytes = 0;
    static std::atomic<int64_t> sLiveBytes;
    static std::atomic<int64_t> sLiveCount;
};

// Exchanges `incoming` with the document's sample through `swap` and keeps the sample that comes
// out as the saved copy. On failure the document is as it was and `incoming` holds what it held.
template <class TSwap>
std::unique_ptr<CSavedWaveSample> SwapInAndSaveTheOther(std::unique_ptr<CABCWaveSample>& incoming, TSwap&& swap) {
    swap(incoming);
    // `incoming` now holds the document's former sample, which nothing else refers to.
    try {
        return std::make_unique<CSavedWaveSample>(std::move(incoming));
    } catch (...) {
        swap(incoming);
        throw;
    }
}

}  // namespace NSQuillet
