#include "formats/lux2/LUX2SoundEncoding.h"

#include <algorithm>
#include <new>
#include <vector>

#include "formats/lux2/LUX2Format.h"
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

// Frames taken from the sample at a time within a block: the channel buffers stay small and in
// the cache while they are coded.
constexpr int32_t kPieceFrames = 1 << 16;

template <class TSample>
void EncodeBlocks(CMedia& body, const CABCWaveSample& sample, IProgressReporter* progress) {
    const int32_t total = sample.GetFrameCount();
    const bool stereo = sample.GetChannelCount() == 2;
    SChannelBuffers<TSample> buffers(size_t(std::min(total, kPieceFrames)), stereo);
    COutputBitStream stream(body);
    CNUPACompressor compressor(stream, stereo ? 2 : 1);
    for (int32_t done = 0; done < total;) {
        const int32_t blockEnd = total - done < kLUX2SoundBlockFrames ? total : done + kLUX2SoundBlockFrames;
        for (; done < blockEnd;) {
            const int32_t count = std::min(blockEnd - done, kPieceFrames);
            Encode(compressor, sample, done, count, buffers);
            done += count;
        }
        if (progress) {
            progress->Progress(int32_t(int64_t(done) * 1000 / total));
            if (progress->IsStopRequested()) throw NSMishap::XAbort("stopped by lop");
        }
    }
    stream.Finish();
}

}  // namespace

void EncodeLUX2Sound(CMedia& body, const CABCWaveSample& sample, IProgressReporter* progress) {
    if (sample.GetBitDepth() == 24) {
        EncodeBlocks<int32_t>(body, sample, progress);
    } else {
        EncodeBlocks<int16_t>(body, sample, progress);
    }
}

}  // namespace NSQuillet
