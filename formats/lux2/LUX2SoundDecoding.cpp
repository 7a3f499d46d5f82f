#include "formats/lux2/LUX2SoundDecoding.h"

#include <algorithm>
#include <thread>

#include "formats/lux2/DecodedPieceStore.h"
#include "formats/lux2/LUX2Format.h"
#include "formats/nupa/OptimizedNUPADecompressorFromMedia.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

uint64_t MinimumLUX2SoundBytes(uint64_t frameCount, int32_t channelCount) {
    const uint64_t bits = frameCount * uint64_t(channelCount);
    return (bits + 31) / 32 * 4;
}

namespace {

// Frames decoded at a time within a block, so that the interleaved frames are still in the cache
// when the sample takes them apart.
constexpr int32_t kPieceFrames = 1 << 16;

void DecodeBlocks(COptimizedNUPADecompressor& decoder, CDecodedPieceStore& store, int64_t total, bool stereo,
                  CLUX2DecompressCallback* callback) {
    for (int64_t done = 0; done < total;) {
        // The frames the callback hears of are in the sample.
        store.Drain();
        if (callback && callback->Progress(done)) throw NSMishap::XAbort("stopped by callback");
        const int64_t blockEnd = std::min<int64_t>(total, done + kLUX2SoundBlockFrames);
        for (; done < blockEnd;) {
            const int32_t start = int32_t(done);
            const int32_t count = int32_t(std::min<int64_t>(blockEnd - done, kPieceFrames));
            int16_t* const out16 = store.Next16();
            int32_t* const out32 = store.Next32();
            if (stereo) {
                decoder.DecodeStereo(size_t(count), out16, out32);
            } else {
                decoder.DecodeMono(size_t(count), out16, out32);
            }
            store.Store(start, count);
            done += count;
        }
    }
    store.Drain();
    if (callback) callback->Progress(total);
}

}  // namespace

void DecodeLUX2Sound(CMedia& body, CABCWaveSample& sample, CLUX2DecompressCallback* callback, bool useSecondProcessor) {
    const int64_t total = sample.GetFrameCount();
    const bool stereo = sample.GetChannelCount() == 2;
    const bool background = useSecondProcessor && total > kPieceFrames && std::thread::hardware_concurrency() > 1;
    CDecodedPieceStore store(sample, int32_t(std::min<int64_t>(total, kPieceFrames)), background);

    COptimizedNUPADecompressorFromMedia decoder(body);
    try {
        DecodeBlocks(decoder, store, total, stereo, callback);
    } catch (const NSMishap::XStdDomainError&) {
        // The codec's own failure is the damaged loop file's: its alert is the bad format's.
        throw NSMishap::XFormatViolation("bad format");
    }
}

}  // namespace NSQuillet
