#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "formats/media/OwnedMemoryMedia.h"
#include "formats/nupa/NUPACode.h"
#include "formats/nupa/NUPACompressor.h"
#include "formats/nupa/NUPAVectorSupport.h"
#include "formats/nupa/OptimizedNUPADecompressor.h"
#include "formats/nupa/OptimizedNUPADecompressorFromMedia.h"
#include "formats/nupa/OutputBitStream.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/RecordingDiagnosticSink.h"

namespace {

using namespace NSQuillet;

using TBytes = std::vector<uint8_t>;

TBytes BytesOf(const COwnedMemoryMedia& media) { return TBytes(media.GetBytes(), media.GetBytes() + media.GetSize()); }

// '0' and '1' characters, first bit first, into zero-padded big-endian words; spaces ignored.
TBytes PackBits(const std::string& text) {
    std::string bits;
    for (char c : text) {
        if (c == '0' || c == '1') bits += c;
    }
    bits.resize((bits.size() + 31) / 32 * 32, '0');
    if (bits.empty()) bits.assign(32, '0');
    TBytes bytes(bits.size() / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i) {
        if (bits[i] == '1') bytes[i / 8] |= uint8_t(0x80 >> (i % 8));
    }
    return bytes;
}

std::string Repeat(const std::string& piece, int count) {
    std::string repeated;
    for (int i = 0; i < count; ++i) repeated += piece;
    return repeated;
}

std::vector<uint32_t> NativeWords(const TBytes& bytes) {
    std::vector<uint32_t> words(bytes.size() / 4);
    for (size_t i = 0; i < words.size(); ++i) {
        words[i] = (uint32_t(bytes[4 * i]) << 24) | (uint32_t(bytes[4 * i + 1]) << 16) |
                   (uint32_t(bytes[4 * i + 2]) << 8) | uint32_t(bytes[4 * i + 3]);
    }
    return words;
}

// Planar channels of one sound; 16-bit sounds use only the int16_t range.
struct SSound {
    int fChannels = 1;
    bool f16Bit = true;
    std::vector<int32_t> fLeft;
    std::vector<int32_t> fRight;
    size_t Frames() const { return fLeft.size(); }
};

SSound Mono16(std::vector<int32_t> samples) { return {1, true, std::move(samples), {}}; }

TBytes Encode(const SSound& sound, size_t blockFrames = SIZE_MAX) {
    COwnedMemoryMedia media;
    {
        COutputBitStream stream(media);
        CNUPACompressor compressor(stream, uint8_t(sound.fChannels));
        std::vector<int16_t> left16(sound.fLeft.begin(), sound.fLeft.end());
        std::vector<int16_t> right16(sound.fRight.begin(), sound.fRight.end());
        for (size_t done = 0; done < sound.Frames();) {
            const size_t n = std::min(blockFrames, sound.Frames() - done);
            const bool stereo = sound.fChannels == 2;
            if (sound.f16Bit) {
                compressor.Encode16(n, left16.data() + done, stereo ? right16.data() + done : nullptr);
            } else {
                compressor.Encode32(n, sound.fLeft.data() + done, stereo ? sound.fRight.data() + done : nullptr);
            }
            done += n;
        }
        stream.Finish();
    }
    return BytesOf(media);
}

// Interleaved, as the decoder writes it.
std::vector<int32_t> Interleaved(const SSound& sound) {
    std::vector<int32_t> frames;
    for (size_t i = 0; i < sound.Frames(); ++i) {
        frames.push_back(sound.fLeft[i]);
        if (sound.fChannels == 2) frames.push_back(sound.fRight[i]);
    }
    return frames;
}

// Decodes `frames` frames in blocks of the given sizes, cycled.
std::vector<int32_t> Decode(COptimizedNUPADecompressor& decoder, int channels, bool as16Bit, size_t frames,
                            const std::vector<size_t>& blocks = {SIZE_MAX}) {
    std::vector<int32_t> out32(frames * size_t(channels));
    std::vector<int16_t> out16(out32.size());
    size_t done = 0;
    for (size_t b = 0; done < frames; ++b) {
        const size_t n = std::min(blocks[b % blocks.size()], frames - done);
        int16_t* o16 = as16Bit ? out16.data() + done * size_t(channels) : nullptr;
        int32_t* o32 = out32.data() + done * size_t(channels);
        if (channels == 2) {
            decoder.DecodeStereo(n, o16, o32);
        } else {
            decoder.DecodeMono(n, o16, o32);
        }
        done += n;
    }
    if (as16Bit) out32.assign(out16.begin(), out16.end());
    return out32;
}

std::vector<int32_t> DecodeFromMemory(const TBytes& stream, const SSound& like, const std::vector<size_t>& blocks = {SIZE_MAX}) {
    const std::vector<uint32_t> words = NativeWords(stream);
    COptimizedNUPADecompressor decoder;
    decoder.SetInput(words.size(), words.data());
    return Decode(decoder, like.fChannels, like.f16Bit, like.Frames(), blocks);
}

std::vector<int32_t> DecodeFromMedia(const TBytes& stream, const SSound& like, const std::vector<size_t>& blocks = {SIZE_MAX}) {
    COwnedMemoryMedia media(stream.size(), stream.data());
    COptimizedNUPADecompressorFromMedia decoder(media);
    return Decode(decoder, like.fChannels, like.f16Bit, like.Frames(), blocks);
}

TEST(OutputBitStream, PacksBitsMostSignificantFirstIntoBigEndianWords) {
    struct SPut {
        uint32_t fBits;
        int fCount;
    };
    struct SCase {
        const char* fName;
        std::vector<SPut> fPuts;
        TBytes fExpected;
    };
    const SCase cases[] = {
        {"nothing: one padded word", {}, {0, 0, 0, 0}},
        {"1, 000, 101 then zero padding", {{1, 1}, {0, 3}, {5, 3}}, {0x8a, 0, 0, 0}},
        {"a word split over two", {{0, 4}, {0xffffffff, 32}}, {0x0f, 0xff, 0xff, 0xff, 0xf0, 0, 0, 0}},
        {"exactly one word: no pad word", {{0xdeadbeef, 32}}, {0xde, 0xad, 0xbe, 0xef}},
        {"31 + 2 bits", {{1, 31}, {3, 2}}, {0, 0, 0, 3, 0x80, 0, 0, 0}},
        {"zero-length puts change nothing", {{0, 0}, {1, 1}, {0, 0}}, {0x80, 0, 0, 0}},
    };
    for (const SCase& c : cases) {
        COwnedMemoryMedia media;
        {
            COutputBitStream stream(media);
            for (const SPut& put : c.fPuts) stream.Put(put.fBits, put.fCount);
        }
        EXPECT_EQ(BytesOf(media), c.fExpected) << c.fName;
    }
}

TEST(OutputBitStream, WritesThroughItsBufferFromTheMediasPosition) {
    COwnedMemoryMedia media;
    media.Write(3, "abc");
    COutputBitStream stream(media);
    EXPECT_EQ(stream.GetStart(), 3u);
    for (uint32_t i = 0; i < 1500; ++i) stream.Put(i, 32);  // more than one 4096-byte buffer
    EXPECT_EQ(media.GetSize(), 3u + 4096u) << "only a full buffer is written before finishing";
    stream.Put(1, 1);
    stream.Finish();
    stream.Finish();
    const TBytes bytes = BytesOf(media);
    ASSERT_EQ(bytes.size(), 3u + 1500u * 4 + 4);
    EXPECT_EQ(TBytes(bytes.begin(), bytes.begin() + 3), (TBytes{'a', 'b', 'c'}));
    const std::vector<uint32_t> words = NativeWords(TBytes(bytes.begin() + 3, bytes.end()));
    for (uint32_t i = 0; i < 1500; ++i) ASSERT_EQ(words[i], i);
    EXPECT_EQ(words[1500], 0x80000000u);
}

// A memory media that refuses every write once `fFull` is set, counting the attempts.
class CFillingMedia final : public COwnedMemoryMedia {
public:
    bool fFull = false;
    int fRefused = 0;

protected:
    void WriteBytesAt(uint64_t position, uint64_t count, const void* source) override {
        if (fFull) {
            ++fRefused;
            throw NSMishap::XOutOfSpace("disk full");
        }
        COwnedMemoryMedia::WriteBytesAt(position, count, source);
    }
};

TEST(OutputBitStream, AnUnfinishedStreamThatCannotBeFinishedIsReportedAndAnAbandonedOneIsLeft) {
    NSQuilletTest::CRecordingDiagnosticSink diagnostics;
    CFillingMedia media;
    {
        COutputBitStream stream(media);
        stream.Put(5, 3);
        media.fFull = true;
    }
    EXPECT_EQ(media.fRefused, 1);
    ASSERT_EQ(diagnostics.fReported.size(), 1u);
    EXPECT_EQ(diagnostics.fReported[0].fContext, "finishing a bit stream that was not finished");
    EXPECT_EQ(diagnostics.fReported[0].fMessage, "disk full");

    // Left by a failure on its way, the stream writes nothing more: the failure says enough.
    media.fRefused = 0;
    EXPECT_FAILURE(
        {
            COutputBitStream stream(media);
            stream.Put(5, 3);
            throw NSMishap::XWrite("the encoder failed");
        },
        XWrite, "the encoder failed");
    EXPECT_EQ(media.fRefused, 0);
    EXPECT_EQ(diagnostics.fReported.size(), 1u);
}

TEST(NUPACode, CodesQuotientRunsAndTruncatedBinaryRemainders) {
    struct SCase {
        uint32_t fCode;
        uint32_t fDivisor;
        const char* fBits;
    };
    const SCase cases[] = {
        {0, 1, "1"},              // d = 1: no remainder bits
        {5, 1, "000001"},         // five zeros, remainder in 0 bits
        {0, 3, "1 0"},            // d = 3: b = 2, t = 1; 0 < t in b - 1 bits
        {1, 3, "1 10"},           // 1 >= t: 1 + t = 2 in 2 bits
        {2, 3, "1 11"},           // 2 + t = 3 in 2 bits
        {3, 3, "0 1 0"},          // quotient 1, remainder 0
        {0, 4, "1 00"},           // d a power of two: b - 1 = 2 bits
        {3, 4, "1 11"},
        {7, 1, "0000000 1 00"},   // quotient 7: seven zeros, d = 4, no more zeros, remainder in 2 bits
        {420, 60, "0000000 1 0000000"},            // 7 * 60: d = 240, b = 8, t = 16, 0 in 7 bits
        {422, 60, "0000000 1 0000010"},            // remainder 2 for d = 240
        {10, 60, "1 001110"},                      // b = 6, t = 4: 10 + 4 = 14 in 6 bits
        {5, 58, "1 00101"},                        // t = 6: 5 in 5 bits
        {65535, 60, "0000000 0000000 0000000 0000000 0 1 11110010001011"},
        // d 60, 240, 960, 3840 take full runs (u 65115, 63435, 56715, 29835), d = 15360 one
        // zero (u 14475); b = 14, t = 1024: 15499 in 14 bits.
    };
    for (const SCase& c : cases) {
        COwnedMemoryMedia media;
        {
            COutputBitStream stream(media);
            PutNUPACode(stream, c.fCode, c.fDivisor);
        }
        EXPECT_EQ(BytesOf(media), PackBits(c.fBits)) << c.fCode << " / " << c.fDivisor;
    }
}

// Streams worked out from the rules, decoded by both decoders and encoded from the samples.
TEST(NUPACodec, CodesHandWorkedStreams) {
    // Silent samples code order 0, value 0: a one and b - 1 zeros for d = m(e), with e decaying
    // 2560, 2480, 2403 ... and d = (3e + 36) >> 7 falling 60, 58, 56 ... : 21 samples have
    // 6-bit divisors, 22 have 5, 23 have 4, 25 have 3, 29 have 2, then d = 1 from sample 120.
    const std::string silence120 =
        Repeat("100000", 21) + Repeat("10000", 22) + Repeat("1000", 23) + Repeat("100", 25) + Repeat("10", 29);
    // After 91 silent samples e = 156, d = 3: the codes of 0, -1, 1 (zigzag 0, 1, 2).
    const std::string silence91 = Repeat("100000", 21) + Repeat("10000", 22) + Repeat("1000", 23) + Repeat("100", 25);
    std::vector<int32_t> silent91(91, 0);
    auto withSilence120 = [](int32_t last) {
        std::vector<int32_t> samples(120, 0);
        samples.push_back(last);
        return samples;
    };
    auto withLast = [&](int32_t last) {
        std::vector<int32_t> samples = silent91;
        samples.push_back(last);
        return samples;
    };
    struct SCase {
        const char* fName;
        SSound fSound;
        TBytes fExpected;
    };
    const SCase cases[] = {
        {"zero frames: one padded word", Mono16({}), {0, 0, 0, 0}},
        // 100: z 200, d 60: q 3, u 20 -> 24 in 6 bits; e = 2480 + 200 = 2680 for all orders.
        // 100: d = m(2680) = 63, q 3, u 11 -> 12; e = 2797, 2597, 2796, 2996, 3196.
        // 100: order 1 (2597) holds 0, d = m(2597) = 61: "1" then 0 in 5 bits.
        {"constant: order 1 wins", Mono16({100, 100, 100}), {0x16, 0x04, 0xc8, 0x00}},
        // 210: z 420 = 7 * 60, seven zeros, d 240, "1", remainder 0 in 7 bits.
        {"quotient exactly 7", Mono16({210}), PackBits("0000000 1 0000000")},
        {"quotient 7, remainder 1", Mono16({-211}), PackBits("0000000 1 0000001")},
        {"-32768", Mono16({-32768}), PackBits("0000000 0000000 0000000 0000000 0 1 11110010001011")},
        // Left as for the constant sound; the difference is 0 with d 60 then 58: 32 bits exactly.
        {"identical stereo channels", SSound{2, true, {100, 100}, {100, 100}}, {0x16, 0x20, 0x13, 0x20}},
        {"silence: d falls from 60 to 1", Mono16(std::vector<int32_t>(130, 0)),
         PackBits(silence120 + Repeat("1", 10))},
        {"d = 3 codes 0 as 0", Mono16(withLast(0)), PackBits(silence91 + "1 0")},
        {"d = 3 codes 1 as 10", Mono16(withLast(-1)), PackBits(silence91 + "1 10")},
        {"d = 3 codes 2 as 11", Mono16(withLast(1)), PackBits(silence91 + "1 11")},
        // 24-bit: z 16777215; full runs for d 60 ... 983040 (8 * 7 zeros), d 3932160 one zero
        // (u 3670155), "1"; b 22, t 262144: 3932299 in 22 bits.
        {"-8388608 as 24-bit", SSound{1, false, {-8388608}, {}},
         PackBits(Repeat("0000000", 8) + "0 1 1111000000000010001011")},
        // z 2^32 - 1 at d = 1: 15 full runs (sum 2505397587, d 2^30), one zero, "1"; u 715827884
        // < t = 2^30 in 30 bits.
        {"the largest code", SSound{1, false, withSilence120(INT32_MIN), {}},
         PackBits(silence120 + Repeat("0000000", 15) + "0 1 101010101010101010101010101100")},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.fName);
        EXPECT_EQ(Encode(c.fSound), c.fExpected);
        EXPECT_EQ(DecodeFromMemory(c.fExpected, c.fSound), Interleaved(c.fSound));
        EXPECT_EQ(DecodeFromMedia(c.fExpected, c.fSound), Interleaved(c.fSound));
    }
}

TEST(NUPACodec, SilenceDecaysEveryEnergyTo31AndKeepsTheDifferenceChannelAtZero) {
    const std::vector<int32_t> drum = {0, 900, -1800, 3000, -2500, 1200, -400, 100};
    SSound sound{2, true, {}, {}};
    for (int i = 0; i < 400; ++i) {
        sound.fLeft.push_back(drum[size_t(i) % drum.size()] * (i < 40));
        sound.fRight.push_back(sound.fLeft.back());
    }
    const TBytes stream = Encode(sound);
    const std::vector<uint32_t> words = NativeWords(stream);
    COptimizedNUPADecompressor decoder;
    decoder.SetInput(words.size(), words.data());
    Decode(decoder, 2, true, 1);
    // The difference is zero from the start: e = 2560 - 80 = 2480 after one frame.
    for (uint32_t e : decoder.GetState(1).fEnergy) EXPECT_EQ(e, 2480u);
    Decode(decoder, 2, true, 399);
    for (int slot = 0; slot < 2; ++slot) {
        for (uint32_t v : decoder.GetState(slot).fValue) EXPECT_EQ(v, 0u) << slot;
        for (uint32_t e : decoder.GetState(slot).fEnergy) EXPECT_EQ(e, 31u) << slot;  // 31 - (31 >> 5) = 31
    }
}

std::vector<int32_t> Noise(std::mt19937& random, size_t n, int32_t low, int32_t high) {
    std::uniform_int_distribution<int32_t> value(low, high);
    std::vector<int32_t> samples(n);
    for (int32_t& s : samples) s = value(random);
    return samples;
}

// Decaying noise bursts, as a drum loop.
std::vector<int32_t> Drums(std::mt19937& random, size_t n, int32_t peak) {
    std::normal_distribution<double> noise(0, 1);
    std::vector<int32_t> samples(n);
    for (size_t i = 0; i < n; ++i) {
        const double envelope = double(peak) * 0.3 * std::exp(-double(i % 5000) / 900.0);
        const double v = std::max(-double(peak) - 1, std::min(double(peak), envelope * noise(random)));
        samples[i] = int32_t(v);
    }
    return samples;
}

std::vector<int32_t> Extremes(size_t n, int32_t peak) {
    std::vector<int32_t> samples(n);
    for (size_t i = 0; i < n; ++i) samples[i] = (i / (1 + i % 3)) % 2 ? peak : -peak - 1;
    return samples;
}

TEST(NUPACodec, RoundTripsBitExactly) {
    std::mt19937 random(7);
    const int32_t k16 = 32767;
    const int32_t k24 = 8388607;
    struct SCase {
        const char* fName;
        SSound fSound;
    };
    const SCase cases[] = {
        {"16-bit mono noise", {1, true, Noise(random, 50000, -k16 - 1, k16), {}}},
        {"16-bit stereo noise", {2, true, Noise(random, 40000, -k16 - 1, k16), Noise(random, 40000, -k16 - 1, k16)}},
        {"16-bit stereo drums", {2, true, Drums(random, 30000, k16), Drums(random, 30000, k16)}},
        {"16-bit full scale", {2, true, Extremes(20000, k16), Extremes(20000, -k16 - 1)}},
        {"24-bit mono noise", {1, false, Noise(random, 40000, -k24 - 1, k24), {}}},
        {"24-bit stereo noise", {2, false, Noise(random, 30000, -k24 - 1, k24), Noise(random, 30000, -k24 - 1, k24)}},
        {"24-bit full scale", {2, false, Extremes(20000, k24), Extremes(20000, -k24 - 1)}},
        // Energies wrap modulo 2^32 here, and divisors from wrapped energies reach 0.
        {"32-bit values", {2, false, Noise(random, 20000, INT32_MIN, INT32_MAX), Noise(random, 20000, INT32_MIN, INT32_MAX)}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.fName);
        const TBytes stream = Encode(c.fSound, 1000);
        EXPECT_EQ(stream, Encode(c.fSound)) << "encoding in blocks changes nothing";
        EXPECT_EQ(stream.size() % 4, 0u);
        EXPECT_EQ(DecodeFromMemory(stream, c.fSound), Interleaved(c.fSound));
        EXPECT_EQ(DecodeFromMedia(stream, c.fSound, {1, 4095, 2, 65537, 3}), Interleaved(c.fSound));
    }
}

TEST(NUPACodec, DecodesTheSameInAnyBlockSizes) {
    std::mt19937 random(11);
    const SSound sound{2, true, Drums(random, 20000, 32767), Drums(random, 20000, 32767)};
    const TBytes stream = Encode(sound);
    const std::vector<int32_t> whole = DecodeFromMemory(stream, sound);
    EXPECT_EQ(whole, Interleaved(sound));
    const std::vector<std::vector<size_t>> blockings = {{1}, {2, 3}, {64}, {511}, {7, 1, 4096}, {19999, 1}};
    for (const auto& blocks : blockings) {
        EXPECT_EQ(DecodeFromMemory(stream, sound, blocks), whole);
        EXPECT_EQ(DecodeFromMedia(stream, sound, blocks), whole);
    }
}

// A stream cut to fewer words than its last sample needs.
TEST(NUPACodec, FailsOnTruncatedStreamsWithTheSpecifiedFailures) {
    std::mt19937 random(3);
    const SSound sound{1, true, Drums(random, 200000, 32767), {}};
    const TBytes stream = Encode(sound);
    ASSERT_GT(stream.size(), 65536u * 2) << "the media decoder refills more than once";
    for (size_t cut : {size_t(4), size_t(5), size_t(7), stream.size() - 4, stream.size() / 2}) {
        const TBytes truncated(stream.begin(), stream.end() - ptrdiff_t(cut));
        EXPECT_FAILURE(DecodeFromMemory(truncated, sound), XOutOfItems, "NUPA decompressor underflow");
        EXPECT_FAILURE(DecodeFromMedia(truncated, sound), XStdDomainError, "bad format");
    }
    TBytes padded = stream;
    padded.insert(padded.end(), {0xff, 0xff, 0xff});  // trailing bytes short of a word are never used
    EXPECT_EQ(DecodeFromMedia(padded, sound), Interleaved(sound));
    EXPECT_FAILURE(DecodeFromMedia({}, Mono16({0})), XStdDomainError, "bad format");
    EXPECT_FAILURE(DecodeFromMemory({}, Mono16({0})), XOutOfItems, "NUPA decompressor underflow");
    EXPECT_EQ(DecodeFromMedia({0x80, 0, 0}, Mono16({})), std::vector<int32_t>()) << "no frames, no reads";
}

// A run of zeros longer than any code below 2^32 can have is refused rather than let the
// divisor and the value overflow.
TEST(NUPACodec, RefusesCodesBeyond32Bits) {
    const SSound one = Mono16({0});
    EXPECT_FAILURE(DecodeFromMemory(TBytes(64, 0), one), XStdDomainError, "bad format");
    EXPECT_FAILURE(DecodeFromMedia(TBytes(64, 0), one), XStdDomainError, "bad format");
    // First sample, d 60: 12 full runs sum to 140 * (4^12 - 1) = 2348810100 with d 1006632960;
    // one more zero gives 3355443060, and the largest remainder (d - 1, 30 bits of ones) passes 2^32.
    EXPECT_FAILURE(DecodeFromMemory(PackBits(Repeat("0", 85) + "1" + Repeat("1", 30)), one), XStdDomainError,
                   "bad format");
    EXPECT_NO_THROW(DecodeFromMemory(PackBits(Repeat("0", 84) + "1" + Repeat("1", 30)), one));
}

TEST(NUPACodec, SurvivesCorruptedStreams) {
    std::mt19937 random(5);
    const SSound sound{2, true, Drums(random, 5000, 32767), Drums(random, 5000, 32767)};
    const TBytes stream = Encode(sound);
    for (int trial = 0; trial < 300; ++trial) {
        TBytes damaged = stream;
        for (int flips = 0; flips < 1 + trial % 5; ++flips) {
            damaged[random() % damaged.size()] ^= uint8_t(1 + random() % 255);
        }
        const NSQuilletTest::SCaughtFailure caught = NSQuilletTest::CatchFailure([&] { DecodeFromMedia(damaged, sound); });
        EXPECT_TRUE(caught.fCode == 0 || caught.fCode == NSMishap::XStdDomainError::kFailureCode) << caught.fMessage;
    }
}

TEST(NUPACodec, RefusesBadArguments) {
    COwnedMemoryMedia media;
    COutputBitStream stream(media);
    EXPECT_FAILURE(CNUPACompressor(stream, 3), XStdInvalidArgument, "channel count not 1 or 2");
    EXPECT_FAILURE(CNUPACompressor(stream, 0), XStdInvalidArgument, "channel count not 1 or 2");
    CNUPACompressor stereo(stream, 2);
    const int16_t samples[1] = {0};
    EXPECT_FAILURE(stereo.Encode16(1, samples, nullptr), XStdInvalidArgument, "missing channel buffer");
    COptimizedNUPADecompressor decoder;
    EXPECT_FAILURE(decoder.DecodeMono(1, nullptr, nullptr), XStdInvalidArgument, "no output buffer");
}

// Turns the vector coders on or off for a scope; where the processor lacks them, both settings
// run the portable ones.
class CDecoderChoice {
public:
    explicit CDecoderChoice(bool vectors) { NSNUPA::AllowVectors(vectors); }
    ~CDecoderChoice() { NSNUPA::AllowVectors(true); }
    CDecoderChoice(const CDecoderChoice&) = delete;
    CDecoderChoice& operator=(const CDecoderChoice&) = delete;
};

const char* DecoderName(bool vectors) { return vectors ? "vector coders" : "portable coders"; }

// Hands the stream over a few words at a time through Refill, so that codes straddle the pieces
// and the bit register carries bits from one piece into the next.
class CTricklingDecompressor : public COptimizedNUPADecompressor {
public:
    CTricklingDecompressor(const TBytes& stream, size_t piece) : fWords(NativeWords(stream)), fPiece(piece) {}

protected:
    void Refill() override {
        if (fGiven == fWords.size()) return COptimizedNUPADecompressor::Refill();
        const size_t n = std::min(fPiece, fWords.size() - fGiven);
        SetInput(n, fWords.data() + fGiven);
        fGiven += n;
    }

private:
    std::vector<uint32_t> fWords;
    size_t fPiece;
    size_t fGiven = 0;
};

std::vector<int32_t> DecodeTrickling(const TBytes& stream, const SSound& like, size_t piece,
                                     const std::vector<size_t>& blocks) {
    CTricklingDecompressor decoder(stream, piece);
    return Decode(decoder, like.fChannels, like.f16Bit, like.Frames(), blocks);
}

std::vector<size_t> RandomBlocks(std::mt19937& random) {
    std::uniform_int_distribution<size_t> size(1, 3000);
    std::vector<size_t> blocks(7);
    for (size_t& b : blocks) b = size(random);
    return blocks;
}

// Both decoders, any block sizes, any pieces of input: the sound itself, and the states the
// encoder ended with.
TEST(NUPACodec, BothDecodersGiveTheSoundAndTheEncodersStates) {
    std::mt19937 random(13);
    const int32_t k16 = 32767;
    const int32_t k24 = 8388607;
    struct SCase {
        const char* fName;
        SSound fSound;
    };
    const SCase cases[] = {
        {"16-bit mono drums", {1, true, Drums(random, 12000, k16), {}}},
        {"16-bit stereo drums", {2, true, Drums(random, 12000, k16), Drums(random, 12000, k16)}},
        {"16-bit stereo noise", {2, true, Noise(random, 6000, -k16 - 1, k16), Noise(random, 6000, -k16 - 1, k16)}},
        {"16-bit stereo full scale", {2, true, Extremes(6000, k16), Extremes(6000, -k16 - 1)}},
        {"16-bit stereo silence", {2, true, std::vector<int32_t>(3000, 0), std::vector<int32_t>(3000, 0)}},
        {"24-bit mono noise", {1, false, Noise(random, 6000, -k24 - 1, k24), {}}},
        {"24-bit stereo drums", {2, false, Drums(random, 12000, k24), Drums(random, 12000, k24)}},
        {"24-bit stereo full scale", {2, false, Extremes(6000, k24), Extremes(6000, -k24 - 1)}},
        // Energies wrap modulo 2^32, divisors reach 0 and codes need long runs.
        {"32-bit stereo values", {2, false, Noise(random, 4000, INT32_MIN, INT32_MAX), Noise(random, 4000, INT32_MIN, INT32_MAX)}},
    };
    for (const SCase& c : cases) {
        COwnedMemoryMedia media;
        SNUPAChannelState encoded[2];
        {
            COutputBitStream stream(media);
            CNUPACompressor compressor(stream, uint8_t(c.fSound.fChannels));
            const bool stereo = c.fSound.fChannels == 2;
            std::vector<int16_t> left16(c.fSound.fLeft.begin(), c.fSound.fLeft.end());
            std::vector<int16_t> right16(c.fSound.fRight.begin(), c.fSound.fRight.end());
            if (c.fSound.f16Bit) {
                compressor.Encode16(c.fSound.Frames(), left16.data(), stereo ? right16.data() : nullptr);
            } else {
                compressor.Encode32(c.fSound.Frames(), c.fSound.fLeft.data(), stereo ? c.fSound.fRight.data() : nullptr);
            }
            stream.Finish();
            encoded[0] = compressor.GetState(0);
            encoded[1] = compressor.GetState(1);
        }
        const TBytes stream = BytesOf(media);
        const std::vector<int32_t> expected = Interleaved(c.fSound);
        for (const bool vectors : {true, false}) {
            SCOPED_TRACE(std::string(c.fName) + ", " + DecoderName(vectors));
            const CDecoderChoice choice(vectors);
            EXPECT_EQ(DecodeFromMemory(stream, c.fSound, {1}), expected);
            EXPECT_EQ(DecodeFromMemory(stream, c.fSound, RandomBlocks(random)), expected);
            EXPECT_EQ(DecodeFromMedia(stream, c.fSound, {5, 4093}), expected);
            for (const size_t piece : {size_t(1), size_t(2), size_t(3), size_t(5)}) {
                EXPECT_EQ(DecodeTrickling(stream, c.fSound, piece, {3, 1, 64, 1000}), expected) << piece << "-word pieces";
            }
            const std::vector<uint32_t> words = NativeWords(stream);
            COptimizedNUPADecompressor decoder;
            decoder.SetInput(words.size(), words.data());
            Decode(decoder, c.fSound.fChannels, c.fSound.f16Bit, c.fSound.Frames(), RandomBlocks(random));
            for (int slot = 0; slot < c.fSound.fChannels; ++slot) {
                for (int k = 0; k < 5; ++k) {
                    EXPECT_EQ(decoder.GetState(slot).fValue[k], encoded[slot].fValue[k]) << slot << " value " << k;
                    EXPECT_EQ(decoder.GetState(slot).fEnergy[k], encoded[slot].fEnergy[k]) << slot << " energy " << k;
                }
            }
        }
    }
}

// Damaged and cut streams: the same samples and, where decoding fails, the same failure from
// both decoders, whatever the damage.
TEST(NUPACodec, BothDecodersReadDamagedStreamsAlike) {
    std::mt19937 random(17);
    const SSound sounds[] = {
        {2, true, Drums(random, 3000, 32767), Drums(random, 3000, 32767)},
        {1, false, Drums(random, 3000, 8388607), {}},
    };
    for (const SSound& sound : sounds) {
        const TBytes stream = Encode(sound);
        for (int trial = 0; trial < 200; ++trial) {
            TBytes damaged = stream;
            for (int flips = 0; flips < 1 + trial % 4; ++flips) {
                damaged[random() % damaged.size()] ^= uint8_t(1 + random() % 255);
            }
            if (trial % 3 == 0) damaged.resize(random() % damaged.size());
            if (trial % 7 == 0) damaged.insert(damaged.begin() + ptrdiff_t(random() % damaged.size()), 40, 0);  // a long run
            const std::vector<size_t> blocks = RandomBlocks(random);
            const size_t piece = 1 + random() % 4;
            struct SResult {
                NSQuilletTest::SCaughtFailure fFailure;
                std::vector<int32_t> fSamples;
            };
            auto run = [&](bool vectors, int way) {
                const CDecoderChoice choice(vectors);
                SResult result;
                std::vector<int32_t> out32(sound.Frames() * size_t(sound.fChannels), -7);
                std::vector<int16_t> out16(out32.size(), -7);
                result.fFailure = NSQuilletTest::CatchFailure([&] {
                    COwnedMemoryMedia media(damaged.size(), damaged.data());
                    const std::vector<uint32_t> words = NativeWords(damaged);
                    std::unique_ptr<COptimizedNUPADecompressor> decoder;
                    if (way == 0) decoder = std::make_unique<COptimizedNUPADecompressorFromMedia>(media);
                    if (way == 1) decoder = std::make_unique<CTricklingDecompressor>(damaged, piece);
                    if (way == 2) {
                        decoder = std::make_unique<COptimizedNUPADecompressor>();
                        decoder->SetInput(words.size(), words.data());
                    }
                    size_t done = 0;
                    for (size_t b = 0; done < sound.Frames(); ++b) {
                        const size_t n = std::min(blocks[b % blocks.size()], sound.Frames() - done);
                        const size_t at = done * size_t(sound.fChannels);
                        int16_t* o16 = sound.f16Bit ? out16.data() + at : nullptr;
                        if (sound.fChannels == 2) {
                            decoder->DecodeStereo(n, o16, out32.data() + at);
                        } else {
                            decoder->DecodeMono(n, o16, out32.data() + at);
                        }
                        done += n;
                    }
                });
                result.fSamples = sound.f16Bit ? std::vector<int32_t>(out16.begin(), out16.end()) : out32;
                return result;
            };
            for (int way = 0; way < 3; ++way) {
                SCOPED_TRACE("trial " + std::to_string(trial) + ", way " + std::to_string(way));
                const SResult vector = run(true, way);
                const SResult portable = run(false, way);
                EXPECT_EQ(vector.fFailure.fCode, portable.fFailure.fCode);
                EXPECT_EQ(vector.fFailure.fMessage, portable.fFailure.fMessage);
                EXPECT_EQ(vector.fSamples, portable.fSamples);
            }
        }
    }
}

// Random puts of 0 to 32 bits against a plain model of the packing: the bytes, and that a word
// reaches the buffer only when a bit follows it and the buffer reaches the media only when a
// word follows a full one.
TEST(OutputBitStream, PacksRandomPutsAndWritesTheBufferOnlyWhenAWordFollowsAFullOne) {
    std::mt19937 random(19);
    for (int round = 0; round < 4; ++round) {
        COwnedMemoryMedia media;
        media.Write(2, "xy");
        std::string bits;
        {
            COutputBitStream stream(media);
            COutputBitStream::CWriter writer = stream.BeginWriting();
            std::uniform_int_distribution<int> count(round == 3 ? 32 : 0, 32);
            for (int put = 0; put < 12000; ++put) {
                const int n = count(random);
                const uint32_t value = n == 0 ? 0 : uint32_t(random()) >> (32 - n);
                for (int i = n - 1; i >= 0; --i) bits += char('0' + ((value >> i) & 1));
                if (round % 2) {
                    stream.Put(value, n);
                } else {
                    writer.Put(value, n);
                    stream.EndWriting(writer);
                    writer = stream.BeginWriting();
                }
                const uint64_t stored = bits.empty() ? 0 : (bits.size() - 1) / 32;  // words with a bit after them
                const uint64_t written = stored == 0 ? 0 : (stored - 1) / 1024 * 4096;
                ASSERT_EQ(media.GetSize(), 2 + written) << "put " << put;
            }
            stream.Finish();
        }
        const TBytes bytes = BytesOf(media);
        EXPECT_EQ(TBytes(bytes.begin() + 2, bytes.end()), PackBits(bits)) << "round " << round;
    }
}

// Both encoders put the same bits, in any block sizes.
TEST(NUPACodec, BothEncodersPutTheSameBits) {
    std::mt19937 random(23);
    const int32_t k16 = 32767;
    const int32_t k24 = 8388607;
    struct SCase {
        const char* fName;
        SSound fSound;
    };
    const SCase cases[] = {
        {"16-bit mono drums", {1, true, Drums(random, 20000, k16), {}}},
        {"16-bit stereo drums", {2, true, Drums(random, 20000, k16), Drums(random, 20000, k16)}},
        {"16-bit stereo full scale", {2, true, Extremes(5000, k16), Extremes(5000, -k16 - 1)}},
        {"24-bit stereo noise", {2, false, Noise(random, 8000, -k24 - 1, k24), Noise(random, 8000, -k24 - 1, k24)}},
        {"32-bit stereo values", {2, false, Noise(random, 4000, INT32_MIN, INT32_MAX), Noise(random, 4000, INT32_MIN, INT32_MAX)}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.fName);
        const size_t blocks = 1 + random() % 3000;
        TBytes vector;
        TBytes portable;
        {
            const CDecoderChoice choice(true);
            vector = Encode(c.fSound, blocks);
        }
        {
            const CDecoderChoice choice(false);
            portable = Encode(c.fSound, blocks);
            EXPECT_EQ(DecodeFromMemory(portable, c.fSound), Interleaved(c.fSound));
        }
        EXPECT_EQ(vector, portable);
    }
}

}  // namespace
