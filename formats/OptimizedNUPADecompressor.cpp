#include "formats/OptimizedNUPADecompressor.h"

#include "foundation/Mishap.h"

namespace NSQuillet {

// The bit reader of one block call: bits in registers, words taken from the input as they run
// low, Refill only when a needed bit lies beyond the input.
class CNUPABitReader {
public:
    explicit CNUPABitReader(COptimizedNUPADecompressor& owner)
        : fOwner(owner), fBits(owner.fBits), fCount(owner.fBitCount), fCursor(owner.fCursor), fEnd(owner.fEnd) {}
    void Store() {
        fOwner.fBits = fBits;
        fOwner.fBitCount = fCount;
        fOwner.fCursor = fCursor;
        fOwner.fEnd = fEnd;
    }

    // The zigzag code of one value with divisor `d0` (1..2^25). Branch-free for the common
    // code: fewer than seven zeros, all its bits already in the register.
    __attribute__((always_inline)) uint32_t ReadCode(uint32_t d0) {
        // Top up to more than 32 bits while the input lasts; the load is from a valid word even
        // when nothing is taken.
        static const uint32_t kNoWord = 0;
        const bool take = fCount <= 32 && fCursor != fEnd;
        const uint32_t word = *(fCursor != fEnd ? fCursor : &kNoWord) & (0u - uint32_t(take));
        fBits |= (uint64_t(word) << 32) >> (fCount & 63);
        fCursor += take;
        fCount += 32 * int(take);

        const int zeros = fBits ? __builtin_clzll(fBits) : 64;
        const int b = 32 - __builtin_clz(d0);
        const int used = zeros + 1;
        if (zeros < int(NSNUPA::kRunLength) && used + b <= fCount) {
            const uint32_t peek = uint32_t((fBits << used) >> (64 - b));
            const uint32_t t = (uint32_t(1) << b) - d0;
            const uint32_t half = peek >> 1;
            const bool shortCode = half < t;
            const uint32_t r = shortCode ? half : peek - t;
            const int length = used + b - int(shortCode);
            fBits <<= length;
            fCount -= length;
            return uint32_t(zeros) * d0 + r;
        }
        return ReadCodeSlowly(d0);
    }

private:
    [[noreturn]] static void BadFormat() { throw NSMishap::XStdDomainError("bad format"); }

    // Needs fCount <= 32.
    void Fetch() {
        if (fCursor == fEnd) {
            Store();
            fOwner.Refill();
            fCursor = fOwner.fCursor;
            fEnd = fOwner.fEnd;
            if (fCursor == fEnd) throw NSMishap::XOutOfItems("NUPA decompressor underflow");
        }
        fBits |= uint64_t(*fCursor++) << (32 - fCount);
        fCount += 32;
    }

    // `count` 0..32.
    uint64_t ReadBits(int count) {
        if (count == 0) return 0;
        if (fCount < count) Fetch();
        const uint64_t value = fBits >> (64 - count);
        fBits <<= count;
        fCount -= count;
        return value;
    }

    // Any run length and remainder size, fetching words one at a time. A valid code is below
    // 2^32, which bounds the run to about a hundred zeros and the divisor to 32 bits.
    __attribute__((noinline)) uint32_t ReadCodeSlowly(uint32_t d0) {
        uint64_t d = d0;
        uint64_t accumulator = 0;
        uint32_t run = 0;
        for (;;) {
            if (fCount == 0) Fetch();
            if (fBits & (uint64_t(1) << 63)) break;
            fBits <<= 1;
            --fCount;
            accumulator += d;
            if (accumulator > UINT32_MAX) BadFormat();
            if (++run == NSNUPA::kRunLength) {
                run = 0;
                d *= 4;
            }
        }
        fBits <<= 1;
        --fCount;
        const int b = NSNUPA::BitLength(d);
        const uint64_t t = (uint64_t(1) << b) - d;
        uint64_t r = ReadBits(b - 1);
        if (r >= t) r = 2 * r + ReadBits(1) - t;
        if (accumulator + r > UINT32_MAX) BadFormat();
        return uint32_t(accumulator + r);
    }

    COptimizedNUPADecompressor& fOwner;
    uint64_t fBits;
    int fCount;
    const uint32_t* fCursor;
    const uint32_t* fEnd;
};

namespace {

// One sample of one channel, its state in the caller's registers. The order of least energy
// (lowest on ties, as a tree) gives the divisor; with the sums of the old values below each
// order, value[0] = sum below the order + the value read, and value[k] = value[0] - sum below k.
__attribute__((always_inline)) inline uint32_t DecodeSample(CNUPABitReader& reader, uint32_t (&value)[5], uint32_t (&energy)[5]) {
    uint32_t e01 = energy[0];
    int k01 = 0;
    if (energy[1] < e01) e01 = energy[1], k01 = 1;
    uint32_t e23 = energy[2];
    int k23 = 2;
    if (energy[3] < e23) e23 = energy[3], k23 = 3;
    uint32_t least = e01;
    int order = k01;
    if (e23 < least) least = e23, order = k23;
    if (energy[4] < least) least = energy[4], order = 4;

    const uint32_t below[5] = {0, value[0], value[0] + value[1], value[0] + value[1] + value[2],
                               value[0] + value[1] + value[2] + value[3]};
    uint32_t decayed[5];
    for (int k = 0; k < 5; ++k) decayed[k] = energy[k] - (energy[k] >> 5);

    const uint32_t read = NSNUPA::Unzigzag(reader.ReadCode(NSNUPA::Divisor(least)));
    const uint32_t sample = below[order] + read;
    for (int k = 0; k < 5; ++k) {
        value[k] = sample - below[k];
        energy[k] = decayed[k] + NSNUPA::Zigzag(value[k]);
    }
    return sample;
}

struct SLocalState {
    explicit SLocalState(const SNUPAChannelState& state) {
        for (int k = 0; k < 5; ++k) {
            fValue[k] = state.fValue[k];
            fEnergy[k] = state.fEnergy[k];
        }
    }
    void Store(SNUPAChannelState& state) const {
        for (int k = 0; k < 5; ++k) {
            state.fValue[k] = fValue[k];
            state.fEnergy[k] = fEnergy[k];
        }
    }
    uint32_t fValue[5];
    uint32_t fEnergy[5];
};

}  // namespace

void COptimizedNUPADecompressor::SetInput(size_t wordCount, const uint32_t* words) {
    fCursor = words;
    fEnd = words + wordCount;
}

void COptimizedNUPADecompressor::Refill() { throw NSMishap::XOutOfItems("NUPA decompressor underflow"); }

void COptimizedNUPADecompressor::DecodeMono(size_t frameCount, int16_t* out16, int32_t* out32) {
    if (out16) return Decode<1>(frameCount, out16);
    if (!out32) throw NSMishap::XStdInvalidArgument("no output buffer");
    Decode<1>(frameCount, out32);
}

void COptimizedNUPADecompressor::DecodeStereo(size_t frameCount, int16_t* out16, int32_t* out32) {
    if (out16) return Decode<2>(frameCount, out16);
    if (!out32) throw NSMishap::XStdInvalidArgument("no output buffer");
    Decode<2>(frameCount, out32);
}

// A failure leaves the states wherever the block had got to; the stream cannot be resumed.
template <int kChannels, class TSample>
void COptimizedNUPADecompressor::Decode(size_t frameCount, TSample* out) {
    CNUPABitReader reader(*this);
    SLocalState left(fStates[0]);
    SLocalState difference(fStates[1]);
    struct SStore {
        ~SStore() {
            reader.Store();
            left.Store(states[0]);
            if (kChannels == 2) difference.Store(states[1]);
        }
        CNUPABitReader& reader;
        SLocalState& left;
        SLocalState& difference;
        SNUPAChannelState* states;
    } store{reader, left, difference, fStates};
    for (size_t i = 0; i < frameCount; ++i) {
        const uint32_t l = DecodeSample(reader, left.fValue, left.fEnergy);
        if (kChannels == 1) {
            out[i] = TSample(l);
        } else {
            const uint32_t d = DecodeSample(reader, difference.fValue, difference.fEnergy);
            out[2 * i] = TSample(l);
            out[2 * i + 1] = TSample(l + d);
        }
    }
}

}  // namespace NSQuillet
