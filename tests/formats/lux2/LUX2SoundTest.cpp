#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/24BitWaveSample.h"
#include "formats/lux2/LUX2SoundDecoding.h"
#include "formats/lux2/LUX2SoundEncoding.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/nupa/NUPACompressor.h"
#include "formats/nupa/OutputBitStream.h"
#include "tests/support/CaughtFailure.h"

namespace {

using namespace NSQuillet;

using TBytes = std::vector<uint8_t>;

TBytes BytesOf(const COwnedMemoryMedia& media) { return TBytes(media.GetBytes(), media.GetBytes() + media.GetSize()); }

// Drum-like: decaying bursts of pseudo-random values over a slow ramp, so that both the common
// codes and long ones occur.
std::unique_ptr<CABCWaveSample> MakeSound(int32_t depth, bool stereo, int32_t frames) {
    std::unique_ptr<CABCWaveSample> sample;
    if (depth == 24) {
        sample = std::make_unique<C24BitWaveSample>(44100, frames, stereo);
    } else {
        sample = std::make_unique<C16BitWaveSample>(44100, frames, stereo);
    }
    // On the 24-bit scale; a 16-bit sample keeps value >> 8.
    const int32_t peak = 8388607;
    uint32_t seed = 12345;
    std::vector<int32_t> values(static_cast<size_t>(frames));
    for (int channel = 1; channel <= (stereo ? 2 : 1); ++channel) {
        for (int32_t f = 0; f < frames; ++f) {
            seed = seed * 1664525u + 1013904223u;
            const int32_t level = peak >> ((f / 3000) % 12);
            const int32_t noise = int32_t(int64_t(seed >> 8) % (2 * int64_t(level) + 1) - level);
            values[size_t(f)] = f % 3000 < 40 ? noise : noise / 8 + (f % 500) - 250;
        }
        sample->Set24s(0, frames, values.data(), channel);
    }
    return sample;
}

// The whole sound in one call of one compressor: the stream the file must hold.
TBytes EncodeInOneCall(const CABCWaveSample& sample) {
    const size_t frames = size_t(sample.GetFrameCount());
    const bool stereo = sample.GetChannelCount() == 2;
    COwnedMemoryMedia media;
    COutputBitStream stream(media);
    CNUPACompressor compressor(stream, stereo ? 2 : 1);
    if (sample.GetBitDepth() == 24) {
        std::vector<int32_t> left(frames), right(frames);
        sample.Get24s(0, int32_t(frames), left.data(), 1);
        if (stereo) sample.Get24s(0, int32_t(frames), right.data(), 2);
        compressor.Encode32(frames, left.data(), stereo ? right.data() : nullptr);
    } else {
        std::vector<int16_t> left(frames), right(frames);
        sample.Get16s(0, int32_t(frames), left.data(), 1);
        if (stereo) sample.Get16s(0, int32_t(frames), right.data(), 2);
        compressor.Encode16(frames, left.data(), stereo ? right.data() : nullptr);
    }
    stream.Finish();
    return BytesOf(media);
}

class CRecordingProgress final : public IProgressReporter {
public:
    explicit CRecordingProgress(size_t stopAfter = SIZE_MAX) : fStopAfter(stopAfter) {}
    void Progress(int32_t permille) override { fSeen.push_back(permille); }
    bool IsStopRequested() const override { return fSeen.size() >= fStopAfter; }

    std::vector<int32_t> fSeen;

private:
    size_t fStopAfter;
};

// Checks at each report that the frames reported done are those of `expected` already.
class CCheckingDecompressCallback final : public CLUX2DecompressCallback {
public:
    CCheckingDecompressCallback(const CABCWaveSample& expected, const CABCWaveSample& decoded)
        : fExpected(expected), fDecoded(decoded) {}
    bool Progress(int64_t framesDone) override {
        fReports.push_back(framesDone);
        // The last frames first: a piece still being stored would be there.
        const int64_t tail = std::max<int64_t>(framesDone - 16, 0);
        for (const int64_t from : {tail, int64_t(0)}) {
            const int32_t count = int32_t(framesDone - from);
            for (int channel = 1; channel <= fExpected.GetChannelCount(); ++channel) {
                std::vector<int32_t> want(static_cast<size_t>(count)), got(static_cast<size_t>(count));
                fExpected.Get24s(int32_t(from), count, want.data(), channel);
                fDecoded.Get24s(int32_t(from), count, got.data(), channel);
                EXPECT_EQ(got, want) << "at " << framesDone << " from " << from << ", channel " << channel;
            }
        }
        return false;
    }
    std::vector<int64_t> fReports;

private:
    const CABCWaveSample& fExpected;
    const CABCWaveSample& fDecoded;
};

// The sound is coded in pieces within blocks of 2^20 frames: the stream is that of one call, the
// progress comes after each block, and the stream decodes back to the sound.
TEST(LUX2Sound, CodesLongSoundsIntoTheOneStream) {
    struct SCase {
        const char* fName;
        int32_t fDepth;
        bool fStereo;
        int32_t fFrames;
        std::vector<int32_t> fProgress;
    };
    const SCase cases[] = {
        // 2^20 x 1000 / (2^20 + 5000) = 995.25, truncated.
        {"16-bit stereo, two blocks", 16, true, (1 << 20) + 5000, {995, 1000}},
        // Two pieces of 2^16 and 3 frames: one block.
        {"24-bit mono, pieces", 24, false, 2 * 65536 + 3, {1000}},
        {"24-bit stereo, one piece", 24, true, 65536 - 1, {1000}},
        {"16-bit mono, one frame", 16, false, 1, {1000}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.fName);
        const auto sample = MakeSound(c.fDepth, c.fStereo, c.fFrames);
        COwnedMemoryMedia media;
        CRecordingProgress progress;
        EncodeLUX2Sound(media, *sample, &progress);
        EXPECT_EQ(BytesOf(media), EncodeInOneCall(*sample));
        EXPECT_EQ(progress.fSeen, c.fProgress);

        const auto decoded = MakeSound(c.fDepth, c.fStereo, c.fFrames);
        std::vector<int32_t> zeros(size_t(c.fFrames), 0);
        // Stored into the sample on this thread and, where there is a second processor, on
        // one of its own.
        for (const bool second : {false, true}) {
            for (int channel = 1; channel <= (c.fStereo ? 2 : 1); ++channel) decoded->Set24s(0, c.fFrames, zeros.data(), channel);
            media.SetPosition(0);
            CCheckingDecompressCallback callback(*sample, *decoded);
            DecodeLUX2Sound(media, *decoded, &callback, second);
            std::vector<int64_t> reports;
            for (int64_t done = 0; done < c.fFrames; done += 1 << 20) reports.push_back(done);
            reports.push_back(c.fFrames);
            EXPECT_EQ(callback.fReports, reports);
            for (int channel = 1; channel <= (c.fStereo ? 2 : 1); ++channel) {
                std::vector<int32_t> want(size_t(c.fFrames)), got(size_t(c.fFrames));
                sample->Get24s(0, c.fFrames, want.data(), channel);
                decoded->Get24s(0, c.fFrames, got.data(), channel);
                EXPECT_EQ(got, want) << "channel " << channel << (second ? ", second processor" : "");
            }
        }
    }
}

// A media that fails every write from `failFrom` bytes on.
class CFailingMedia final : public CMedia {
public:
    explicit CFailingMedia(uint64_t failFrom) : fFailFrom(failFrom) {}
    uint64_t GetSize() const override { return fSize; }

protected:
    void ReadBytesAt(uint64_t, uint64_t, void*) override { throw NSMishap::XRead("write only"); }
    void WriteBytesAt(uint64_t position, uint64_t count, const void*) override {
        if (position + count > fFailFrom) throw NSMishap::XWrite("disk full");
        if (position + count > fSize) fSize = position + count;
    }

private:
    uint64_t fFailFrom;
    uint64_t fSize = 0;
};

// A stop after a block and a media failure end the coding with their own failures.
TEST(LUX2Sound, StopsAndMediaFailuresEndTheCoding) {
    const auto sample = MakeSound(16, true, (1 << 21) + 7);
    COwnedMemoryMedia media;
    CRecordingProgress stopping(1);
    EXPECT_FAILURE(EncodeLUX2Sound(media, *sample, &stopping), XAbort, "stopped by lop");
    // 2^20 x 1000 / (2^21 + 7) = 499.99, truncated.
    EXPECT_EQ(stopping.fSeen, (std::vector<int32_t>{499}));

    CFailingMedia failing(100000);
    EXPECT_FAILURE(EncodeLUX2Sound(failing, *sample, nullptr), XWrite, "disk full");
}

}  // namespace
