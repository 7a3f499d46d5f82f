#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "formats/media/OwnedMemoryMedia.h"
#include "formats/soundfile/SoundFileReader.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/SoundFileTestSupport.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

using EPcmReading = CSoundFileReader::EPcmReading;

std::unique_ptr<CABCWaveSample> Read(const std::string& bytes, EPcmReading reading) {
    COwnedMemoryMedia media(bytes.size(), bytes.data());
    return CSoundFileReader(media, reading).ReadWaveSample(nullptr);
}

void ExpectSameSample(const CABCWaveSample& direct, const CABCWaveSample& library) {
    EXPECT_EQ(direct.GetBitDepth(), library.GetBitDepth());
    EXPECT_EQ(direct.GetSampleRate(), library.GetSampleRate());
    ExpectSameAudio(direct, library);
}

struct SLayoutCase {
    ESoundFileType fType;
    int32_t fDepth;
    int32_t fChannels;
    int32_t fFrames;
};

class DirectPcmReading : public ::testing::TestWithParam<SLayoutCase> {};

TEST_P(DirectPcmReading, GivesTheLibrarysSampleBitForBit) {
    const SLayoutCase& row = GetParam();
    const std::string bytes = WriteToBytes(*MakeSample(row.fDepth, row.fChannels, row.fFrames), row.fType);
    const auto direct = Read(bytes, EPcmReading::kDirect);
    const auto library = Read(bytes, EPcmReading::kLibrary);
    ExpectSameSample(*direct, *library);
}

constexpr int32_t kBlock = CSoundFileReader::kDirectBlockBytes;

// Frames per direct block: 2^20 / (bytes per value x channels), rounded down.
INSTANTIATE_TEST_SUITE_P(
    Cases, DirectPcmReading,
    ::testing::Values(SLayoutCase{ESoundFileType::kWave, 16, 1, 1}, SLayoutCase{ESoundFileType::kWave, 16, 2, 1001},
                      SLayoutCase{ESoundFileType::kWave, 24, 1, 999}, SLayoutCase{ESoundFileType::kWave, 24, 2, 3},
                      SLayoutCase{ESoundFileType::kAiff, 16, 1, 1001}, SLayoutCase{ESoundFileType::kAiff, 16, 2, 1},
                      SLayoutCase{ESoundFileType::kAiff, 24, 1, 7}, SLayoutCase{ESoundFileType::kAiff, 24, 2, 1001},
                      // 2^20 / 4 = 262144 frames a block: one short, exact, one over.
                      SLayoutCase{ESoundFileType::kWave, 16, 2, kBlock / 4 - 1},
                      SLayoutCase{ESoundFileType::kWave, 16, 2, kBlock / 4},
                      SLayoutCase{ESoundFileType::kAiff, 16, 2, kBlock / 4 + 1},
                      // 2^20 / 6 = 174762 frames (4 bytes of the block unused).
                      SLayoutCase{ESoundFileType::kAiff, 24, 2, kBlock / 6 + 1},
                      SLayoutCase{ESoundFileType::kWave, 24, 2, 2 * (kBlock / 6)},
                      // 2^20 / 3 = 349525 frames.
                      SLayoutCase{ESoundFileType::kWave, 24, 1, kBlock / 3 + 1},
                      // Crosses the progress step of 2^20 frames too.
                      SLayoutCase{ESoundFileType::kAiff, 16, 1, CSoundFileReader::kFramesPerBlock + 3}),
    [](const auto& info) {
        const SLayoutCase& row = info.param;
        return std::string(row.fType == ESoundFileType::kWave ? "wave" : "aiff") + std::to_string(row.fDepth) +
               "bit" + std::to_string(row.fChannels) + "ch" + std::to_string(row.fFrames);
    });

void Append32LE(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}
void Append16LE(std::string& s, uint16_t v) {
    s += char(v & 0xFF);
    s += char(v >> 8);
}
void Append32BE(std::string& s, uint32_t v) {
    for (int i = 3; i >= 0; --i) s += char((v >> (8 * i)) & 0xFF);
}
void Append16BE(std::string& s, uint16_t v) {
    s += char(v >> 8);
    s += char(v & 0xFF);
}

// A WAVE file with an odd-sized chunk (and its pad byte) between 'fmt ' and 'data'.
std::string WaveWithChunkBeforeData(int32_t depth, int32_t channels, const std::string& audio) {
    std::string body = "WAVEfmt ";
    Append32LE(body, 16);
    Append16LE(body, 1);
    Append16LE(body, uint16_t(channels));
    Append32LE(body, 44100);
    Append32LE(body, uint32_t(44100 * channels * depth / 8));
    Append16LE(body, uint16_t(channels * depth / 8));
    Append16LE(body, uint16_t(depth));
    body += "junk";
    Append32LE(body, 3);
    body += std::string("abc\0", 4);
    body += "data";
    Append32LE(body, uint32_t(audio.size()));
    body += audio;
    std::string file = "RIFF";
    Append32LE(file, uint32_t(body.size()));
    return file + body;
}

// An AIFF file (or AIFC with `compression`) whose sound data starts `offset` bytes into the
// 'SSND' chunk's data.
std::string Aiff(int32_t depth, int32_t channels, int32_t frames, const std::string& audio, uint32_t offset,
                 const char* compression = nullptr) {
    std::string body = compression ? "AIFC" : "AIFF";
    if (compression) {
        body += "FVER";
        Append32BE(body, 4);
        Append32BE(body, 0xA2805140);
    }
    body += "COMM";
    Append32BE(body, compression ? 24 : 18);
    Append16BE(body, uint16_t(channels));
    Append32BE(body, uint32_t(frames));
    Append16BE(body, uint16_t(depth));
    // 44100 as an 80-bit extended float: exponent 16383 + 15, mantissa 44100 << 48.
    body += std::string("\x40\x0E\xAC\x44\0\0\0\0\0\0", 10);
    if (compression) {
        body += compression;
        body += std::string("\0\0", 2);  // empty name and its pad byte
    }
    body += "SSND";
    Append32BE(body, uint32_t(8 + offset + audio.size()));
    Append32BE(body, offset);
    Append32BE(body, 0);
    body += std::string(offset, '\x55');
    body += audio;
    std::string file = "FORM";
    Append32BE(file, uint32_t(body.size()));
    return file + body;
}

struct SBytesCase {
    const char* fName;
    std::string fFile;
    int32_t fDepth;
    std::vector<int32_t> fLeft;   // 24-bit scale
    std::vector<int32_t> fRight;  // empty for mono
};

TEST(DirectPcmReading, FindsTheAudioAndItsByteOrderInHandMadeFiles) {
    const std::vector<SBytesCase> cases = {
        // 0x1234 and 0x8000 little-endian; x 256 on the 24-bit scale: 0x123400, -32768 x 256.
        {"wave 16-bit stereo after a padded chunk", WaveWithChunkBeforeData(16, 2, std::string("\x34\x12\x00\x80\xff\xff\x01\x00", 8)),
         16, {0x123400, -256}, {-8388608, 256}},
        // 0x7fffff; 0x800001 = -8388607.
        {"wave 24-bit mono after a padded chunk", WaveWithChunkBeforeData(24, 1, std::string("\xff\xff\x7f\x01\x00\x80", 6)),
         24, {8388607, -8388607}, {}},
        // Big-endian 0x123456 and 0xfffffe = -2, after 4 bytes of offset.
        {"aiff 24-bit mono with an offset", Aiff(24, 1, 2, std::string("\x12\x34\x56\xff\xff\xfe", 6), 4), 24,
         {0x123456, -2}, {}},
        // Big-endian 0x0102, 0xfe00 = -512, 0x7fff, 0x8000.
        {"aiff 16-bit stereo", Aiff(16, 2, 2, std::string("\x01\x02\xfe\x00\x7f\xff\x80\x00", 8), 0), 16,
         {0x010200, 0x7fff00}, {-512 * 256, -8388608}},
        // 'sowt' stores little-endian: 0x0102 and 0xfffe = -2.
        {"aifc sowt 16-bit mono", Aiff(16, 1, 2, std::string("\x02\x01\xfe\xff", 4), 0, "sowt"), 16,
         {0x010200, -512}, {}},
    };
    for (const SBytesCase& row : cases) {
        SCOPED_TRACE(row.fName);
        for (EPcmReading reading : {EPcmReading::kDirect, EPcmReading::kLibrary}) {
            const auto sample = Read(row.fFile, reading);
            ASSERT_EQ(sample->GetBitDepth(), row.fDepth);
            ASSERT_EQ(sample->GetChannelCount(), row.fRight.empty() ? 1 : 2);
            EXPECT_EQ(Channel(*sample, 1), row.fLeft) << (reading == EPcmReading::kDirect ? "direct" : "library");
            if (!row.fRight.empty()) {
                EXPECT_EQ(Channel(*sample, 2), row.fRight);
            }
        }
    }
}

// A media over bytes that fails every read reaching past `failFrom`.
class CFailingMedia final : public CMedia {
public:
    CFailingMedia(const std::string& bytes, uint64_t failFrom) : fBytes(bytes), fFailFrom(failFrom) {}
    uint64_t GetSize() const override { return fBytes.size(); }

protected:
    void ReadBytesAt(uint64_t position, uint64_t count, void* destination) override {
        if (position > fBytes.size() || count > fBytes.size() - position || position + count > fFailFrom)
            throw NSMishap::XRead("disk failed");
        std::memcpy(destination, fBytes.data() + position, size_t(count));
    }
    void WriteBytesAt(uint64_t, uint64_t, const void*) override { throw NSMishap::XWrite("read only"); }

private:
    std::string fBytes;
    uint64_t fFailFrom;
};

SCaughtFailure ReadFailure(const std::string& bytes, uint64_t failFrom, EPcmReading reading, int32_t* frames) {
    return CatchFailure([&] {
        CFailingMedia media(bytes, failFrom);
        *frames = CSoundFileReader(media, reading).ReadWaveSample(nullptr)->GetFrameCount();
    });
}

TEST(DirectPcmReading, CutOrFailingFilesEndAsOnTheLibrarysPath) {
    for (ESoundFileType type : {ESoundFileType::kWave, ESoundFileType::kAiff}) {
        for (int32_t depth : {16, 24}) {
            const std::string valid = WriteToBytes(*MakeSample(depth, 2, 3000), type);
            // Cuts inside the header, at the first audio byte, mid-frame and at the last byte.
            for (size_t keep : {size_t(30), valid.size() - 3000 * 2 * depth / 8, valid.size() - 5001, valid.size() - 1}) {
                SCOPED_TRACE(std::string(type == ESoundFileType::kWave ? "wave " : "aiff ") + std::to_string(depth) +
                             " cut to " + std::to_string(keep));
                const std::string cut = valid.substr(0, keep);
                int32_t directFrames = -1;
                int32_t libraryFrames = -1;
                const SCaughtFailure direct = ReadFailure(cut, UINT64_MAX, EPcmReading::kDirect, &directFrames);
                const SCaughtFailure library = ReadFailure(cut, UINT64_MAX, EPcmReading::kLibrary, &libraryFrames);
                EXPECT_EQ(direct.fCode, library.fCode);
                EXPECT_EQ(direct.fMessage, library.fMessage);
                EXPECT_EQ(direct.fErrorCode, library.fErrorCode);
                EXPECT_EQ(directFrames, libraryFrames);
                if (library.fCode == 0) {
                    ExpectSameSample(*Read(cut, EPcmReading::kDirect), *Read(cut, EPcmReading::kLibrary));
                }
            }
            // A media failing in the middle of the audio.
            int32_t frames = -1;
            const SCaughtFailure direct = ReadFailure(valid, valid.size() - 1000, EPcmReading::kDirect, &frames);
            const SCaughtFailure library = ReadFailure(valid, valid.size() - 1000, EPcmReading::kLibrary, &frames);
            EXPECT_NE(library.fCode, 0u);
            EXPECT_EQ(library.fMessage, "couldn't read sound file audio");
            EXPECT_EQ(library.fErrorCode, "999");
            EXPECT_EQ(direct.fCode, library.fCode);
            EXPECT_EQ(direct.fMessage, library.fMessage);
            EXPECT_EQ(direct.fErrorCode, library.fErrorCode);
        }
    }
}

}  // namespace
