// Decodes arbitrary bytes as a NUPA stream. The first three bytes choose the channel count, the
// sample width and the frame count (at most 65535); the rest is the stream, read both through the
// media decoder in uneven blocks and from memory. A crash, hang, leak or a failure other than
// the decoder's own ("bad format", "NUPA decompressor underflow") is a bug.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <vector>

#include "formats/media/OwnedMemoryMedia.h"
#include "formats/nupa/OptimizedNUPADecompressor.h"
#include "formats/nupa/OptimizedNUPADecompressorFromMedia.h"
#include "foundation/Mishap.h"

namespace {

using namespace NSQuillet;

template <class TAction>
void Expect(TAction&& action) {
    try {
        action();
    } catch (const NSMishap::XStdDomainError&) {
    } catch (const NSMishap::XOutOfItems&) {
    } catch (...) {
        std::abort();
    }
}

void DecodeAll(COptimizedNUPADecompressor& decoder, bool stereo, bool wide, size_t frames,
               std::vector<int16_t>& out16, std::vector<int32_t>& out32) {
    size_t done = 0;
    for (size_t block = 1; done < frames; block = block * 3 + 1) {
        const size_t n = std::min(block, frames - done);
        const size_t at = done * (stereo ? 2 : 1);
        int16_t* o16 = wide ? nullptr : out16.data() + at;
        if (stereo) {
            decoder.DecodeStereo(n, o16, out32.data() + at);
        } else {
            decoder.DecodeMono(n, o16, out32.data() + at);
        }
        done += n;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const bool stereo = data[0] & 1;
    const bool wide = data[0] & 2;
    const size_t frames = (size_t(data[1]) << 8) | data[2];
    std::vector<int16_t> out16(frames * 2);
    std::vector<int32_t> out32(frames * 2);
    COwnedMemoryMedia media(size - 3, data + 3);
    Expect([&] {
        COptimizedNUPADecompressorFromMedia decoder(media);
        DecodeAll(decoder, stereo, wide, frames, out16, out32);
    });
    std::vector<uint32_t> words((size - 3) / 4);
    for (size_t i = 0; i < words.size(); ++i) {
        const uint8_t* b = data + 3 + 4 * i;
        words[i] = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    }
    Expect([&] {
        COptimizedNUPADecompressor decoder;
        decoder.SetInput(words.size(), words.data());
        DecodeAll(decoder, stereo, wide, frames, out16, out32);
    });
    return 0;
}
