#include "formats/lux2/LUX2SoundEncoding.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "formats/lux2/LUX2Format.h"
#include "formats/nupa/NUPACode.h"
#include "formats/nupa/NUPACodeRecorder.h"
#include "formats/nupa/NUPACompressor.h"
#include "formats/nupa/OutputBitStream.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// One buffer per channel, since the coder takes the channels apart.
template <class TSample>
struct SChannelBuffers {
    std::vector<TSample> fLeft;
    std::vector<TSample> fRight;

    SChannelBuffers(size_t frames, bool stereo) {
        try {
            fLeft.resize(frames);
            if (stereo) fRight.resize(frames);
        } catch (const std::bad_alloc&) {
            NSMishap::ThrowOutOfMemory("no memory for encoding the loop file's sound");
        }
    }
};

void Encode(CNUPACompressor& compressor, const CABCWaveSample& sample, int32_t start, int32_t count,
            SChannelBuffers<int16_t>& buffers) {
    sample.Get16s(start, count, buffers.fLeft.data(), 1);
    if (buffers.fRight.empty()) {
        compressor.Encode16(size_t(count), buffers.fLeft.data(), nullptr);
        return;
    }
    sample.Get16s(start, count, buffers.fRight.data(), 2);
    compressor.Encode16(size_t(count), buffers.fLeft.data(), buffers.fRight.data());
}

void Encode(CNUPACompressor& compressor, const CABCWaveSample& sample, int32_t start, int32_t count,
            SChannelBuffers<int32_t>& buffers) {
    sample.Get24s(start, count, buffers.fLeft.data(), 1);
    if (buffers.fRight.empty()) {
        compressor.Encode32(size_t(count), buffers.fLeft.data(), nullptr);
        return;
    }
    sample.Get24s(start, count, buffers.fRight.data(), 2);
    compressor.Encode32(size_t(count), buffers.fLeft.data(), buffers.fRight.data());
}

void Record(CNUPACodeRecorder& recorder, const CABCWaveSample& sample, int32_t start, int32_t count,
            SChannelBuffers<int16_t>& buffers, uint64_t* codes) {
    sample.Get16s(start, count, buffers.fLeft.data(), 1);
    if (!buffers.fRight.empty()) sample.Get16s(start, count, buffers.fRight.data(), 2);
    recorder.Record16(size_t(count), buffers.fLeft.data(), buffers.fRight.empty() ? nullptr : buffers.fRight.data(),
                      codes);
}

void Record(CNUPACodeRecorder& recorder, const CABCWaveSample& sample, int32_t start, int32_t count,
            SChannelBuffers<int32_t>& buffers, uint64_t* codes) {
    sample.Get24s(start, count, buffers.fLeft.data(), 1);
    if (!buffers.fRight.empty()) sample.Get24s(start, count, buffers.fRight.data(), 2);
    recorder.Record32(size_t(count), buffers.fLeft.data(), buffers.fRight.empty() ? nullptr : buffers.fRight.data(),
                      codes);
}

void ReportBlock(IProgressReporter* progress, int32_t done, int32_t total) {
    if (!progress) return;
    progress->Progress(int32_t(int64_t(done) * 1000 / total));
    if (progress->IsStopRequested()) throw NSMishap::XAbort("stopped by lop");
}

// Frames a piece of the two-thread coding: the prediction thread records a piece's codes while
// the calling thread packs the one before.
constexpr int32_t kPieceFrames = 1 << 15;
constexpr size_t kPieceSlots = 3;

// The pieces between the two threads: slots filled in piece order by the prediction thread and
// emptied in the same order by the packing one.
class CPieceQueue {
public:
    explicit CPieceQueue(size_t entriesPerPiece) {
        try {
            for (auto& slot : fSlots) slot.resize(entriesPerPiece);
        } catch (const std::bad_alloc&) {
            NSMishap::ThrowOutOfMemory("no memory for encoding the loop file's sound");
        }
    }

    // For the prediction thread: the slot of piece `piece` once it is free; null when stopped.
    uint64_t* WaitToFill(int64_t piece) {
        std::unique_lock<std::mutex> lock(fMutex);
        fChanged.wait(lock, [&] { return fStopped || piece - fEmptied < int64_t(kPieceSlots); });
        return fStopped ? nullptr : fSlots[size_t(piece) % kPieceSlots].data();
    }
    void Filled() { Change([&] { ++fFilled; }); }
    void Fail(std::exception_ptr failure) { Change([&] { fFailure = failure; }); }

    // For the packing thread: the codes of piece `piece` once recorded; the prediction's failure
    // comes as itself.
    const uint64_t* WaitToEmpty(int64_t piece) {
        std::unique_lock<std::mutex> lock(fMutex);
        fChanged.wait(lock, [&] { return fFilled > piece || fFailure; });
        if (fFilled <= piece) std::rethrow_exception(fFailure);
        return fSlots[size_t(piece) % kPieceSlots].data();
    }
    void Emptied() { Change([&] { ++fEmptied; }); }
    void Stop() { Change([&] { fStopped = true; }); }

private:
    template <class TChange>
    void Change(const TChange& change) {
        {
            std::lock_guard<std::mutex> lock(fMutex);
            change();
        }
        fChanged.notify_all();
    }

    std::vector<uint64_t> fSlots[kPieceSlots];
    std::mutex fMutex;
    std::condition_variable fChanged;
    int64_t fFilled = 0;
    int64_t fEmptied = 0;
    bool fStopped = false;
    std::exception_ptr fFailure;
};

// The same stream as EncodeBlocks, the predictions made on a second thread a few pieces ahead of
// the packing and writing, which stay on the calling thread with the progress.
template <class TSample>
void EncodeBlocksOnTwoThreads(CMedia& body, const CABCWaveSample& sample, IProgressReporter* progress) {
    const int32_t total = sample.GetFrameCount();
    const bool stereo = sample.GetChannelCount() == 2;
    const int channels = stereo ? 2 : 1;
    const int64_t pieces = (int64_t(total) + kPieceFrames - 1) / kPieceFrames;
    CPieceQueue queue(size_t(kPieceFrames) * size_t(channels));
    std::thread predicting([&] {
        try {
            SChannelBuffers<TSample> buffers(size_t(kPieceFrames), stereo);
            CNUPACodeRecorder recorder{uint8_t(channels)};
            for (int64_t piece = 0; piece < pieces; ++piece) {
                uint64_t* codes = queue.WaitToFill(piece);
                if (!codes) return;
                const int32_t start = int32_t(piece * kPieceFrames);
                Record(recorder, sample, start, std::min(total - start, kPieceFrames), buffers, codes);
                queue.Filled();
            }
        } catch (...) {
            queue.Fail(std::current_exception());
        }
    });
    try {
        COutputBitStream stream(body);
        for (int64_t piece = 0; piece < pieces; ++piece) {
            const int32_t start = int32_t(piece * kPieceFrames);
            const int32_t count = std::min(total - start, kPieceFrames);
            PutRecordedNUPACodes(stream, queue.WaitToEmpty(piece), size_t(count) * size_t(channels));
            queue.Emptied();
            const int32_t done = start + count;
            if (done % kLUX2SoundBlockFrames == 0 || done == total) ReportBlock(progress, done, total);
        }
        stream.Finish();
    } catch (...) {
        queue.Stop();
        predicting.join();
        throw;
    }
    predicting.join();
}

template <class TSample>
void EncodeBlocks(CMedia& body, const CABCWaveSample& sample, IProgressReporter* progress) {
    const int32_t total = sample.GetFrameCount();
    const bool stereo = sample.GetChannelCount() == 2;
    SChannelBuffers<TSample> buffers(size_t(std::min(total, kLUX2SoundBlockFrames)), stereo);
    COutputBitStream stream(body);
    CNUPACompressor compressor(stream, stereo ? 2 : 1);
    for (int32_t done = 0; done < total;) {
        const int32_t count = std::min(total - done, kLUX2SoundBlockFrames);
        Encode(compressor, sample, done, count, buffers);
        done += count;
        ReportBlock(progress, done, total);
    }
    stream.Finish();
}

// A second thread pays for itself from a few pieces on.
constexpr int32_t kFramesForTwoThreads = 4 * kPieceFrames;

template <class TSample>
void Encode(CMedia& body, const CABCWaveSample& sample, IProgressReporter* progress) {
    if (sample.GetFrameCount() >= kFramesForTwoThreads) return EncodeBlocksOnTwoThreads<TSample>(body, sample, progress);
    EncodeBlocks<TSample>(body, sample, progress);
}

}  // namespace

void EncodeLUX2Sound(CMedia& body, const CABCWaveSample& sample, IProgressReporter* progress) {
    if (sample.GetBitDepth() == 24) {
        Encode<int32_t>(body, sample, progress);
    } else {
        Encode<int16_t>(body, sample, progress);
    }
}

}  // namespace NSQuillet
