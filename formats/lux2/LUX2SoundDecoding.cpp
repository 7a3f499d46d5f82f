#include "formats/lux2/LUX2SoundDecoding.h"

#include <algorithm>
#include <new>
#include <vector>

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

}  // namespace

void DecodeLUX2Sound(CMedia& body, CABCWaveSample& sample, CLUX2DecompressCallback* callback) {
    const int64_t total = sample.GetFrameCount();
    const bool stereo = sample.GetChannelCount() == 2;
    const bool wide = sample.GetBitDepth() == 24;
    const size_t pieceSamples = size_t(std::min<int64_t>(total, kPieceFrames)) * (stereo ? 2 : 1);
    std::vector<int16_t> samples16;
    std::vector<int32_t> samples32;
    try {
        if (wide) {
            samples32.resize(pieceSamples);
        } else {
            samples16.resize(pieceSamples);
        }
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for decoding the loop file's sound");
    }

    COptimizedNUPADecompressorFromMedia decoder(body);
    int16_t* const out16 = wide ? nullptr : samples16.data();
    int32_t* const out32 = wide ? samples32.data() : nullptr;
    for (int64_t done = 0; done < total;) {
        if (callback && callback->Progress(done)) throw NSMishap::XAbort("stopped by callback");
        const int64_t blockEnd = std::min<int64_t>(total, done + kLUX2SoundBlockFrames);
        for (; done < blockEnd;) {
            const int32_t start = int32_t(done);
            const int32_t count = int32_t(std::min<int64_t>(blockEnd - done, kPieceFrames));
            if (stereo) {
                decoder.DecodeStereo(size_t(count), out16, out32);
            } else {
                decoder.DecodeMono(size_t(count), out16, out32);
            }
            if (wide && stereo) {
                sample.SetInterleaved24(start, count, out32);
            } else if (wide) {
                sample.Set24s(start, count, out32, 1);
            } else if (stereo) {
                sample.SetInterleaved16(start, count, out16);
            } else {
                sample.Set16s(start, count, out16, 1);
            }
            done += count;
        }
    }
    if (callback) callback->Progress(total);
}

}  // namespace NSQuillet
