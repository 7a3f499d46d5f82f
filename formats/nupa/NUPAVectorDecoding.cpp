#include "formats/nupa/NUPABlockDecoding.h"
#include "formats/nupa/NUPACodeReader.h"
#include "formats/nupa/NUPAVectorPredictor.h"
#include "formats/nupa/NUPAVectorSupport.h"

namespace NSQuillet {

namespace NSNUPA {

#if defined(__x86_64__)

namespace {

// The reader's primitives as the instructions themselves: LZCNT without the compilers' zeroing
// against a false dependency that only old processors have, and selects by flags.
struct SLzcntOps {
    static uint64_t LeadingZeros64(uint64_t x) {
        uint64_t zeros;
        asm("lzcntq %1, %0" : "=r"(zeros) : "r"(x) : "cc");
        return zeros;
    }
    static uint64_t LeadingZeros32(uint64_t x) {
        uint64_t zeros;
        asm("lzcntl %k1, %k0" : "=r"(zeros) : "r"(x) : "cc");
        return zeros;
    }
    static uint32_t SelectBelow(uint32_t a, uint32_t b, uint32_t ifBelow, uint32_t otherwise, uint64_t& mask) {
        uint32_t result = otherwise;
        asm("cmpl %[b], %[a]\n\tcmovbl %[ifBelow], %[result]\n\tsbbq %[mask], %[mask]"
            : [result] "+r"(result), [mask] "=r"(mask)
            : [a] "r"(a), [b] "r"(b), [ifBelow] "r"(ifBelow)
            : "cc");
        return result;
    }
    static uint32_t Unzigzag(uint32_t code) {
        uint32_t sign;
        asm("shrl %[code]\n\tsbbl %[sign], %[sign]\n\txorl %[sign], %[code]"
            : [code] "+r"(code), [sign] "=&r"(sign)
            :
            : "cc");
        return code;
    }
};

// A failure leaves the decompressor unusable: the states stay as the block found them, the bits
// wherever the failing code left them.
template <int kChannels, class TSample>
QUILLET_NUPA_VECTOR_TARGET void DecodeBlock(COptimizedNUPADecompressor& decompressor, size_t frameCount, TSample* out) {
    SNUPACodeReader reader(decompressor);
    SNextSample nextLeft, nextDifference;
    CVectorPredictor left(SNUPACodeReader::State(decompressor, 0), nextLeft);
    CVectorPredictor difference(SNUPACodeReader::State(decompressor, 1), nextDifference);
    TSample* const end = out + frameCount * kChannels;
    for (; out != end; out += kChannels) {
        if constexpr (kChannels == 1) {
            const uint32_t l = nextLeft.fBase + SLzcntOps::Unzigzag(reader.Read<SLzcntOps>(decompressor, nextLeft.fLeast));
            nextLeft = left.Update(l);
            out[0] = TSample(l);
        } else {
            // Both codes of a frame from one 64-bit window where the words allow it.
            uint64_t window = 0;
            uint64_t length = 0;
            uint32_t code;
            bool full = reader.fPosition < reader.fFullLimit;
            if (__builtin_expect(full, 1)) window = reader.FullWindow();
            if (__builtin_expect(full && SNUPACodeReader::TryCode<SLzcntOps>(window, nextLeft.fLeast, code, length), 1)) {
                reader.fPosition += length;
                window <<= length;
            } else {
                code = reader.Read<SLzcntOps>(decompressor, nextLeft.fLeast);
                full = false;
            }
            const uint32_t l = nextLeft.fBase + SLzcntOps::Unzigzag(code);
            if (__builtin_expect(full && SNUPACodeReader::TryCode<SLzcntOps>(window, nextDifference.fLeast, code, length),
                                 1)) {
                reader.fPosition += length;
            } else {
                code = reader.Read<SLzcntOps>(decompressor, nextDifference.fLeast);
            }
            const uint32_t d = nextDifference.fBase + SLzcntOps::Unzigzag(code);
            // The left order is chosen only after the difference is read, so that a wrong guess
            // of it throws less work away.
            nextLeft = left.Update(l);
            nextDifference = difference.Update(d);
            out[0] = TSample(l);
            out[1] = TSample(l + d);
        }
    }
    reader.Store(decompressor);
    left.Store(SNUPACodeReader::State(decompressor, 0));
    if constexpr (kChannels == 2) difference.Store(SNUPACodeReader::State(decompressor, 1));
}

QUILLET_NUPA_VECTOR_TARGET void WordsToNativeWithVectors(uint32_t* words, size_t count) {
    const __m256i reverse = _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 3, 2, 1, 0, 7, 6,
                                             5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i* at = reinterpret_cast<__m256i*>(words + i);
        _mm256_storeu_si256(at, _mm256_shuffle_epi8(_mm256_loadu_si256(at), reverse));
    }
    for (; i < count; ++i) words[i] = __builtin_bswap32(words[i]);
}

}  // namespace

template <int kChannels, class TSample>
void DecodeWithVectors(COptimizedNUPADecompressor& decompressor, size_t frameCount, TSample* out) {
    DecodeBlock<kChannels>(decompressor, frameCount, out);
}

void WordsToNative(uint32_t* words, size_t count) {
    if (UseVectors()) return WordsToNativeWithVectors(words, count);
    for (size_t i = 0; i < count; ++i) words[i] = __builtin_bswap32(words[i]);
}

#else

template <int kChannels, class TSample>
void DecodeWithVectors(COptimizedNUPADecompressor& decompressor, size_t frameCount, TSample* out) {
    DecodePortably<kChannels>(decompressor, frameCount, out);
}

void WordsToNative(uint32_t* words, size_t count) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    for (size_t i = 0; i < count; ++i) words[i] = __builtin_bswap32(words[i]);
#else
    (void)words;
    (void)count;
#endif
}

#endif

template void DecodeWithVectors<1, int16_t>(COptimizedNUPADecompressor&, size_t, int16_t*);
template void DecodeWithVectors<1, int32_t>(COptimizedNUPADecompressor&, size_t, int32_t*);
template void DecodeWithVectors<2, int16_t>(COptimizedNUPADecompressor&, size_t, int16_t*);
template void DecodeWithVectors<2, int32_t>(COptimizedNUPADecompressor&, size_t, int32_t*);

}  // namespace NSNUPA

}  // namespace NSQuillet
