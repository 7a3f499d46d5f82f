#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "formats/media/MediaByteReader.h"
#include "formats/media/MediaByteWriter.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "engine/SampleFillGate.h"
#include "formats/soundfile/AudioKitAccess.h"
#include "formats/soundfile/SoundFileReader.h"
#include "formats/soundfile/SoundFileWriter.h"
#include "platform/sndkits/SoundKitStatus.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

const char* Name(ESoundFileType type) { return type == ESoundFileType::kWave ? "wave" : "aiff"; }
const char* Extension(ESoundFileType type) { return type == ESoundFileType::kWave ? "wav" : "aif"; }

struct SRoundTripCase {
    ESoundFileType fType;
    int32_t fDepth;
    int32_t fChannels;
    int32_t fFrames;
    uint32_t fRate;
};

class SoundFileRoundTrip : public ::testing::TestWithParam<SRoundTripCase> {};

TEST_P(SoundFileRoundTrip, ReadsBackWhatWasWrittenSampleExact) {
    const SRoundTripCase& row = GetParam();
    const auto written = MakeSample(row.fDepth, row.fChannels, row.fFrames, row.fRate);
    const std::string bytes = WriteToBytes(*written, row.fType);

    COwnedMemoryMedia media(bytes.size(), bytes.data());
    CSoundFileReader reader(media);
    EXPECT_EQ(reader.GetType(), row.fType);
    EXPECT_EQ(reader.GetPosition(), -1);
    const SSoundFileInfo info = reader.ReadInfo();
    EXPECT_EQ(info.fType, row.fType);
    EXPECT_EQ(info.fChannels, row.fChannels);
    EXPECT_EQ(info.fBitDepth, row.fDepth);
    EXPECT_EQ(info.fSampleRate, int32_t(row.fRate));
    EXPECT_EQ(info.fFrames, row.fFrames);
    EXPECT_FALSE(info.fFloat);
    EXPECT_EQ(reader.GetPosition(), -1) << "the information reads no audio";

    const auto read = reader.ReadWaveSample(nullptr);
    EXPECT_EQ(reader.GetPosition(), row.fFrames);
    ExpectSameAudio(*read, *written);
}

// The 2^20 + 3 rows cross the reader's block; 70000 crosses the writer's (2^16).
INSTANTIATE_TEST_SUITE_P(
    Cases, SoundFileRoundTrip,
    ::testing::Values(SRoundTripCase{ESoundFileType::kWave, 16, 1, 1000, 44100},
                      SRoundTripCase{ESoundFileType::kWave, 16, 2, 1000, 48000},
                      SRoundTripCase{ESoundFileType::kWave, 24, 1, 1000, 96000},
                      SRoundTripCase{ESoundFileType::kWave, 24, 2, 70000, 22050},
                      SRoundTripCase{ESoundFileType::kAiff, 16, 1, 1000, 44100},
                      SRoundTripCase{ESoundFileType::kAiff, 16, 2, 70000, 11025},
                      SRoundTripCase{ESoundFileType::kAiff, 24, 1, 1, 1000000},
                      SRoundTripCase{ESoundFileType::kAiff, 24, 2, 1000, 88200},
                      SRoundTripCase{ESoundFileType::kWave, 16, 1, (1 << 20) + 3, 44100},
                      SRoundTripCase{ESoundFileType::kAiff, 24, 2, (1 << 20) + 3, 44100}),
    [](const auto& info) {
        const SRoundTripCase& row = info.param;
        return std::string(Name(row.fType)) + std::to_string(row.fDepth) + "bit" + std::to_string(row.fChannels) +
               "ch" + std::to_string(row.fFrames);
    });

// Counts what happens to a media, so that a test can prove a call left it alone.
class CSpyMedia final : public CMedia {
public:
    explicit CSpyMedia(uint64_t size) : fBytes(size_t(size), 'x') {}
    uint64_t GetSize() const override { return fBytes.size(); }
    int fReads = 0;
    int fWrites = 0;

protected:
    void ReadBytesAt(uint64_t position, uint64_t count, void* destination) override {
        ++fReads;
        if (position > fBytes.size() || count > fBytes.size() - position) throw NSMishap::XRead("");
        std::memcpy(destination, fBytes.data() + position, size_t(count));
    }
    void WriteBytesAt(uint64_t position, uint64_t count, const void* source) override {
        ++fWrites;
        if (position + count > fBytes.size()) fBytes.resize(size_t(position + count));
        std::memcpy(fBytes.data() + position, source, size_t(count));
    }

private:
    std::vector<char> fBytes;
};

template <class TReader, class TWriter>
void ExpectAdapterStatuses(uint32_t notOpen) {
    CSpyMedia media(8);
    media.SetPosition(5);
    char buffer[8] = {};
    TReader reader(&media);
    TWriter writer(&media);

    EXPECT_EQ(reader.Read(3, 0, buffer), NSSoundKits::kSoundKitSuccess);
    EXPECT_EQ(writer.Write(3, 0, buffer), NSSoundKits::kSoundKitSuccess);
    EXPECT_EQ(media.fReads + media.fWrites, 0) << "a count of 0 does not touch the media";
    EXPECT_EQ(media.GetPosition(), 5u);

    EXPECT_EQ(reader.Read(-1, 1, buffer), NSSoundKits::kSoundKitBadArgument);
    EXPECT_EQ(reader.Read(0, -1, buffer), NSSoundKits::kSoundKitBadArgument);
    EXPECT_EQ(reader.Read(0, 1, nullptr), NSSoundKits::kSoundKitBadArgument);
    EXPECT_EQ(reader.Read(0, 0, nullptr), NSSoundKits::kSoundKitBadArgument);
    EXPECT_EQ(writer.Write(-1, 1, buffer), NSSoundKits::kSoundKitBadArgument);
    EXPECT_EQ(writer.Write(0, -1, buffer), NSSoundKits::kSoundKitBadArgument);
    EXPECT_EQ(writer.Write(0, 1, nullptr), NSSoundKits::kSoundKitBadArgument);
    EXPECT_EQ(writer.GetSize(nullptr), NSSoundKits::kSoundKitBadArgument);
    EXPECT_EQ(media.fReads + media.fWrites, 0);

    EXPECT_EQ(writer.Write(6, 3, "abc"), NSSoundKits::kSoundKitSuccess);
    int64_t size = 0;
    EXPECT_EQ(writer.GetSize(&size), NSSoundKits::kSoundKitSuccess);
    EXPECT_EQ(size, 9);
    EXPECT_EQ(reader.Read(5, 4, buffer), NSSoundKits::kSoundKitSuccess);
    EXPECT_EQ(std::string(buffer, 4), "xabc");
    EXPECT_EQ(media.GetPosition(), 9u);
    EXPECT_EQ(reader.Read(7, 3, buffer), NSSoundKits::kSoundKitReadFailure) << "the media's failure becomes a status";

    TReader closedReader(nullptr);
    TWriter closedWriter(nullptr);
    EXPECT_EQ(closedReader.Read(0, 1, buffer), notOpen);
    EXPECT_EQ(closedReader.Read(-1, 0, nullptr), notOpen);
    EXPECT_EQ(closedWriter.Write(0, 1, buffer), notOpen);
    EXPECT_EQ(closedWriter.GetSize(&size), notOpen);
}

TEST(MediaByteAdapters, AnswerWithTheirLibrarysStatuses) {
    ExpectAdapterStatuses<NSRiffAudioKitUtils::CCMediaByteReader, NSRiffAudioKitUtils::CCMediaByteWriter>(994);
    ExpectAdapterStatuses<NSAppleAudioKitUtils::CCMediaByteReader, NSAppleAudioKitUtils::CCMediaByteWriter>(996);
}

TEST(SoundKitStatus, TranslatesEachStatusToItsFailureWithTheErrorCode) {
    struct SRow {
        uint32_t fStatus;
        bool fRiff;
        uint32_t fCode;
    };
    const SRow rows[] = {
        {994, true, NSMishap::kFailureCode_LogicError_IllegalCallSequence},
        {996, false, NSMishap::kFailureCode_LogicError_IllegalCallSequence},
        {993, true, NSMishap::kFailureCode_LogicError_InvalidArgument},
        {997, false, NSMishap::kFailureCode_RuntimeError_FormatViolation},
        {998, true, NSMishap::kFailureCode_RuntimeError_UnsupportedFormat},
        {999, false, NSMishap::kFailureCode_RuntimeError_ReadFailure},
        {1000, true, NSMishap::kFailureCode_RuntimeError_WriteFailure},
        {1001, false, NSMishap::kFailureCode_RuntimeError_FormatViolation},
        {1002, true, NSMishap::kFailureCode_BadAlloc},
        {1003, false, NSMishap::kFailureCode_LogicError_IllegalCallSequence},
    };
    for (const SRow& row : rows) {
        const SCaughtFailure caught = CatchFailure([&] {
            if (row.fRiff) {
                NSSoundKits::CheckRiffAudioKitStatus(row.fStatus, "what failed");
            } else {
                NSSoundKits::CheckAppleAudioKitStatus(row.fStatus, "what failed");
            }
        });
        EXPECT_EQ(caught.fCode, row.fCode) << row.fStatus;
        EXPECT_EQ(caught.fMessage, "what failed") << row.fStatus;
        EXPECT_EQ(caught.fErrorCode, std::to_string(row.fStatus));
    }
    // Each library's "not open" word is its own: the other's is unknown to it.
    EXPECT_EQ(CatchFailure([] { NSSoundKits::CheckRiffAudioKitStatus(996, "x"); }).fCode,
              NSMishap::kFailureCode_NonMishapException);
    EXPECT_EQ(CatchFailure([] { NSSoundKits::CheckAppleAudioKitStatus(991, "x"); }).fCode, 0u);
}

TEST(SoundFileReader, ChecksTheMediaBeforeTheLibraryReadsIt) {
    const std::string valid = WriteToBytes(*MakeSample(16, 1, 10), ESoundFileType::kWave);
    struct SRow {
        std::string fBytes;
        std::string fMessage;
    };
    const SRow rows[] = {
        {"", "sound file media too short"},
        {valid.substr(0, 11), "sound file media too short"},
        {"RIFXabcdWAVE", "unkown main chunk types"},
        {std::string("RF64\xff\xff\xff\xffWAVE", 12), "unkown main chunk types"},
        {std::string("form\0\0\0\4AIFF", 12), "unkown main chunk types"},
    };
    for (const SRow& row : rows) {
        COwnedMemoryMedia media(row.fBytes.size(), row.fBytes.data());
        EXPECT_FAILURE(CSoundFileReader reader(media), XFormatViolation, row.fMessage);
        EXPECT_FAILURE(ReadSoundFileInfo(media), XFormatViolation, row.fMessage);
    }
}

TEST(SoundFileReader, RefusesAContainerOfTheOtherKindOrAnUnknownForm) {
    std::string wave = WriteToBytes(*MakeSample(16, 1, 10), ESoundFileType::kWave);
    std::string aiff = WriteToBytes(*MakeSample(16, 1, 10), ESoundFileType::kAiff);
    wave.replace(8, 4, "WAVX");
    aiff.replace(8, 4, "LUX2");
    for (const std::string& bytes : {wave, aiff, std::string("RIFF\0\0\0\0WAVE", 12)}) {
        const SCaughtFailure caught = CatchFailure([&] { ReadFromBytes(bytes); });
        EXPECT_EQ(caught.fCode, NSMishap::kFailureCode_RuntimeError_FormatViolation) << caught.fMessage;
        EXPECT_EQ(caught.fMessage, "bad sound file header");
        EXPECT_EQ(caught.fErrorCode, "997");
    }
}

TEST(SoundFileReader, ReportsProgressPerBlockAndStops) {
    class CReporter final : public IProgressReporter {
    public:
        explicit CReporter(size_t stopAfter) : fStopAfter(stopAfter) {}
        void Progress(int32_t permille) override { fSeen.push_back(permille); }
        bool IsStopRequested() const override { return fSeen.size() >= fStopAfter; }
        std::vector<int32_t> fSeen;
        size_t fStopAfter;
    };
    const int32_t frames = 2 * CSoundFileReader::kFramesPerBlock + 1;
    const std::string bytes = WriteToBytes(*MakeSample(16, 1, frames), ESoundFileType::kAiff);
    COwnedMemoryMedia media(bytes.size(), bytes.data());

    CReporter running(100);
    EXPECT_NE(CSoundFileReader(media).ReadWaveSample(&running), nullptr);
    // 2^20 / (2^21 + 1) and 2^21 / (2^21 + 1) in thousandths, truncated.
    EXPECT_EQ(running.fSeen, (std::vector<int32_t>{499, 999, 1000}));

    CReporter stopping(1);
    CSoundFileReader reader(media);
    EXPECT_FAILURE(reader.ReadWaveSample(&stopping), XAbort, "user pressed stop");
    EXPECT_EQ(reader.GetPosition(), CSoundFileReader::kFramesPerBlock);

    CReporter stoppingWriter(1);
    COwnedMemoryMedia target;
    EXPECT_FAILURE(WriteSoundFile(*MakeSample(24, 2, 70000), target, ESoundFileType::kWave, &stoppingWriter), XAbort,
                   "user pressed stop");
}

// Header fields of a 16-bit mono WAVE file from our writer: the 'fmt ' chunk starts at 12.
constexpr size_t kWaveChannelsOffset = 22;
constexpr size_t kWaveBitsOffset = 34;

TEST(SoundFileReader, RefusesWhatTheWaveSampleCannotHold) {
    const std::string valid = WriteToBytes(*MakeSample(16, 1, 12), ESoundFileType::kWave);
    ASSERT_EQ(valid.substr(12, 4), "fmt ");

    std::string threeChannels = valid;
    threeChannels[kWaveChannelsOffset] = 3;  // 12 frames of 2 bytes read as 4 frames of 3 channels
    EXPECT_FAILURE(ReadFromBytes(threeChannels), XUnsupportedFormat, "unsupported # of channels");

    std::string eightBit = valid;
    eightBit[kWaveBitsOffset] = 8;
    eightBit[32] = 1;  // block align
    EXPECT_EQ(ReadFromBytes(eightBit)->GetFrameCount(), 24) << "the same bytes as 24 frames of 8 bits";

    const std::string empty = WriteToBytes(*MakeSample(16, 2, 0), ESoundFileType::kAiff);
    EXPECT_FAILURE(ReadFromBytes(empty), XFormatViolation, "# of frames <= 0");
}

TEST(SoundFileReader, DamagedHeadersFailInsideTheFailureFamily) {
    for (ESoundFileType type : {ESoundFileType::kWave, ESoundFileType::kAiff}) {
        const auto sample = MakeSample(24, 2, 40);
        const std::string valid = WriteToBytes(*sample, type);
        const size_t header = valid.size() - 40 * 2 * 3;
        std::vector<std::string> damaged;
        for (size_t cut = 12; cut < valid.size(); cut += cut < header + 8 ? 1 : 37) damaged.push_back(valid.substr(0, cut));
        for (size_t i = 4; i < header; ++i) {
            for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(0x7F)}) {
                std::string bytes = valid;
                bytes[i] = char(value);
                damaged.push_back(bytes);
            }
        }
        for (const std::string& bytes : damaged) {
            const SCaughtFailure caught = CatchFailure([&] {
                const auto read = ReadFromBytes(bytes);
                EXPECT_GT(read->GetFrameCount(), 0);
                EXPECT_LE(read->GetFrameCount(), 40 * 6);
            });
            if (caught.fCode == 0) continue;
            EXPECT_NE(caught.fCode, NSMishap::kFailureCode_NonMishapException) << Name(type) << ": " << caught.fMessage;
        }
    }
}

TEST(SoundFileReader, ATruncatedDataChunkReadsTheWholeFramesLeft) {
    for (ESoundFileType type : {ESoundFileType::kWave, ESoundFileType::kAiff}) {
        const auto sample = MakeSample(16, 2, 100);
        const std::string valid = WriteToBytes(*sample, type);
        // Cut 10 frames and a half (42 bytes) off the end.
        const auto read = ReadFromBytes(valid.substr(0, valid.size() - 42));
        ASSERT_EQ(read->GetFrameCount(), 89) << Name(type);
        const auto left = Channel(*read, 1);
        const auto right = Channel(*read, 2);
        EXPECT_TRUE(std::equal(left.begin(), left.end(), Channel(*sample, 1).begin()));
        EXPECT_TRUE(std::equal(right.begin(), right.end(), Channel(*sample, 2).begin()));
    }
}

TEST(SoundFileWriter, WritesTheLoopSoThatSndfileInfoSeesIt) {
    REQUIRE_PROGRAM(sndfileInfo, "sndfile-info");
    CTemporaryFolder folder;
    for (ESoundFileType type : {ESoundFileType::kWave, ESoundFileType::kAiff}) {
        auto looped = MakeSample(16, 2, 1000);
        looped->SetLocators(1, 100, 900);
        const std::string path = folder.Make(std::string("looped.") + Extension(type), WriteToBytes(*looped, type));
        const SRunResult info = RunProgram({sndfileInfo, "--instrument", path});
        ASSERT_EQ(info.fExitCode, 0) << info.fOutput;
        EXPECT_NE(info.fOutput.find("Loop points : 1"), std::string::npos) << info.fOutput;
        EXPECT_NE(info.fOutput.find("Mode : fwd     Start :    100   End :    900"), std::string::npos) << info.fOutput;

        auto unlooped = MakeSample(16, 2, 1000);
        unlooped->SetLocators(1, 900, 100);
        const std::string other = folder.Make(std::string("unlooped.") + Extension(type), WriteToBytes(*unlooped, type));
        const SRunResult none = RunProgram({sndfileInfo, "--instrument", other});
        EXPECT_EQ(none.fOutput.find("Loop points"), std::string::npos) << none.fOutput;
    }
}

TEST(SoundFileWriter, StoresTheLastFrameOfTheLoopInTheWaveSampleChunk) {
    auto looped = MakeSample(24, 1, 50);
    looped->SetLocators(1, 10, 50);
    const std::string bytes = WriteToBytes(*looped, ESoundFileType::kWave);
    const size_t smpl = bytes.find("smpl");
    ASSERT_NE(smpl, std::string::npos);
    // Chunk header 8, then 9 fields of 4 bytes before the first loop: id, type, start, end.
    const std::string loop = bytes.substr(smpl + 8 + 36, 16);
    EXPECT_EQ(loop, std::string("\0\0\0\0\0\0\0\0\x0a\0\0\0\x31\0\0\0", 16)) << "start 10, end 49";
}

// Files made by sox, compared with sox's own raw rendering of the same file.
struct SSoxCase {
    const char* fExtension;
    int32_t fBits;
    int32_t fChannels;
    const char* fEncoding;  // as stored: "unsigned-integer" for 8-bit WAVE
};

class SoxFiles : public ::testing::TestWithParam<SSoxCase> {};

TEST_P(SoxFiles, ReadSampleExact) {
    REQUIRE_PROGRAM(sox, "sox");
    const SSoxCase& row = GetParam();
    CTemporaryFolder folder;
    const std::string file = folder.PathOf(std::string("tone.") + row.fExtension);
    const std::string raw = folder.PathOf("tone.raw");
    std::vector<std::string> make = {sox, "-R", "-n", "-r", "32000", "-e", row.fEncoding, "-b", std::to_string(row.fBits),
                                     "-c", std::to_string(row.fChannels), file, "synth", "0.05", "sine", "440"};
    if (row.fChannels == 2) make.insert(make.end(), {"sine", "1234"});
    ASSERT_EQ(RunProgram(make).fExitCode, 0);
    ASSERT_EQ(RunProgram({sox, "-D", file, "-t", "raw", "-e", "signed-integer", "-b", std::to_string(row.fBits), "-L", raw}).fExitCode, 0);

    const std::string bytes = ReadWholeFile(file);
    COwnedMemoryMedia media(bytes.size(), bytes.data());
    const auto sample = CSoundFileReader(media).ReadWaveSample(nullptr);
    ASSERT_EQ(sample->GetFrameCount(), 1600);  // 0.05 s at 32000 Hz
    EXPECT_EQ(sample->GetChannelCount(), row.fChannels);
    EXPECT_EQ(sample->GetSampleRate(), 32000u);
    EXPECT_EQ(sample->GetBitDepth(), row.fBits == 24 ? 24 : 16);

    // Little-endian signed values of row.fBits bits, widened to the sample's scale.
    const std::string values = ReadWholeFile(raw);
    const size_t width = size_t(row.fBits / 8);
    ASSERT_EQ(values.size(), 1600u * row.fChannels * width);
    int64_t peak = 0;
    for (size_t i = 0; i < values.size() / width; ++i) {
        uint32_t bits = 0;
        for (size_t b = 0; b < width; ++b) bits |= uint32_t(uint8_t(values[i * width + b])) << (8 * b);
        const int32_t value = int32_t(bits << (32 - row.fBits)) >> (32 - row.fBits);
        const int32_t expected = row.fBits == 8 ? value * 256 : value;
        const int32_t frame = int32_t(i) / row.fChannels;
        const int32_t channel = int32_t(i) % row.fChannels + 1;
        const int32_t actual = row.fBits == 24 ? sample->Get24(frame, channel) : sample->Get16(frame, channel);
        ASSERT_EQ(actual, expected) << "frame " << frame << " channel " << channel;
        peak = std::max<int64_t>(peak, std::abs(int64_t(value)));
    }
    EXPECT_GT(peak, (int64_t(1) << (row.fBits - 1)) / 2) << "a real tone, not silence";
}

INSTANTIATE_TEST_SUITE_P(Cases, SoxFiles,
                         ::testing::Values(SSoxCase{"wav", 8, 1, "unsigned-integer"}, SSoxCase{"wav", 8, 2, "unsigned-integer"},
                                           SSoxCase{"wav", 16, 1, "signed-integer"}, SSoxCase{"wav", 16, 2, "signed-integer"},
                                           SSoxCase{"wav", 24, 1, "signed-integer"}, SSoxCase{"wav", 24, 2, "signed-integer"},
                                           SSoxCase{"aif", 8, 1, "signed-integer"}, SSoxCase{"aif", 8, 2, "signed-integer"},
                                           SSoxCase{"aif", 16, 1, "signed-integer"}, SSoxCase{"aif", 16, 2, "signed-integer"},
                                           SSoxCase{"aif", 24, 1, "signed-integer"}, SSoxCase{"aif", 24, 2, "signed-integer"}),
                         [](const auto& info) {
                             return std::string(info.param.fExtension) + std::to_string(info.param.fBits) + "bit" +
                                    std::to_string(info.param.fChannels) + "ch";
                         });

TEST(SoxFiles, ReadOurFilesAsWritten) {
    REQUIRE_PROGRAM(sox, "sox");
    CTemporaryFolder folder;
    for (ESoundFileType type : {ESoundFileType::kWave, ESoundFileType::kAiff}) {
        const auto sample = MakeSample(24, 2, 300, 48000);
        const std::string file = folder.Make(std::string("ours.") + Extension(type), WriteToBytes(*sample, type));
        const std::string raw = folder.PathOf("ours.raw");
        ASSERT_EQ(RunProgram({sox, "-D", file, "-t", "raw", "-e", "signed-integer", "-b", "24", "-L", raw}).fExitCode, 0);
        const std::string values = ReadWholeFile(raw);
        ASSERT_EQ(values.size(), 300u * 2 * 3);
        for (size_t i = 0; i < 600; ++i) {
            const uint32_t bits = uint32_t(uint8_t(values[i * 3])) | uint32_t(uint8_t(values[i * 3 + 1])) << 8 |
                                  uint32_t(uint8_t(values[i * 3 + 2])) << 16;
            ASSERT_EQ(int32_t(bits << 8) >> 8, sample->Get24(int32_t(i / 2), int32_t(i % 2) + 1)) << Name(type) << " " << i;
        }
        const SRunResult stat = RunProgram({sox, "--i", file});
        EXPECT_NE(stat.fOutput.find("Sample Rate    : 48000"), std::string::npos) << stat.fOutput;
    }
}

// What the library writes from samples it converts itself: each frame left-justified in 32 bits,
// in blocks of `blockFrames`.
std::string WriteThroughConversion(const CABCWaveSample& sample, ESoundFileType type, int32_t blockFrames) {
    COwnedMemoryMedia media;
    NSRiffAudioKitUtils::CCMediaByteWriter writer(&media);
    NSSoundKits::SAudioEncoding encoding;
    encoding.fChannels = sample.GetChannelCount();
    encoding.fSampleRate = int32_t(sample.GetSampleRate());
    encoding.fBitDepth = sample.GetBitDepth();
    encoding.fFrames = sample.GetFrameCount();
    if (sample.IsLoopSet()) {
        encoding.fHasLoop = true;
        encoding.fLoopStart = sample.GetLeftLocator();
        encoding.fLoopEnd = sample.GetRightLocator();
    }
    uint32_t status = 0;
    auto* encoder = NSAudioKitAccess::GetAudioKit(type).CreateForWriting(&writer, encoding, &status);
    EXPECT_EQ(status, NSSoundKits::kSoundKitSuccess);
    const int32_t channels = sample.GetChannelCount();
    const int32_t shift = sample.GetBitDepth() == 24 ? 8 : 16;
    std::vector<int32_t> plane(static_cast<size_t>(blockFrames));
    std::vector<int32_t> interleaved(size_t(blockFrames) * size_t(channels));
    for (int32_t at = 0; at < sample.GetFrameCount(); at += blockFrames) {
        const int32_t n = std::min(blockFrames, sample.GetFrameCount() - at);
        for (int32_t c = 0; c < channels; ++c) {
            sample.Get24s(at, n, plane.data(), c + 1);
            for (int32_t i = 0; i < n; ++i) {
                const int32_t value = shift == 16 ? plane[size_t(i)] >> 8 : plane[size_t(i)];
                interleaved[size_t(i) * size_t(channels) + size_t(c)] = int32_t(uint32_t(value) << shift);
            }
        }
        EXPECT_EQ(encoder->WriteFrames(n, interleaved.data()), NSSoundKits::kSoundKitSuccess);
    }
    EXPECT_EQ(encoder->Close(), NSSoundKits::kSoundKitSuccess);
    return std::string(reinterpret_cast<const char*>(media.GetBytes()), size_t(media.GetSize()));
}

// The writer lays the samples out itself; the files must stay those of the library's own
// conversion, headers, loops and pad bytes included.
TEST(SoundFileWriter, WritesTheBytesOfTheLibrarysOwnConversion) {
    struct SCase {
        ESoundFileType fType;
        int32_t fDepth;
        int32_t fChannels;
        int32_t fFrames;
        bool fLoop;
    };
    const SCase cases[] = {
        {ESoundFileType::kWave, 16, 1, 1001, false},  {ESoundFileType::kWave, 16, 2, 70001, true},
        {ESoundFileType::kWave, 24, 1, 1001, true},   {ESoundFileType::kWave, 24, 2, 70001, false},
        {ESoundFileType::kAiff, 16, 1, 1001, true},   {ESoundFileType::kAiff, 16, 2, 70001, false},
        {ESoundFileType::kAiff, 24, 1, 70001, false}, {ESoundFileType::kAiff, 24, 2, 1001, true},
        {ESoundFileType::kWave, 16, 2, 0, false},     {ESoundFileType::kAiff, 24, 1, 0, false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::string(Name(c.fType)) + " " + std::to_string(c.fDepth) + "-bit " +
                     std::to_string(c.fChannels) + " ch " + std::to_string(c.fFrames) + (c.fLoop ? " loop" : ""));
        const auto sample = MakeSample(c.fDepth, c.fChannels, c.fFrames);
        if (c.fLoop) sample->SetLocators(1, 10, c.fFrames - 7);
        ASSERT_EQ(sample->IsLoopSet(), c.fLoop);
        EXPECT_EQ(WriteToBytes(*sample, c.fType), WriteThroughConversion(*sample, c.fType, 4096));
    }
}

// A sample filled on another thread while it is written gives the file of the filled sample; the
// filler's failure comes as itself.
TEST(SoundFileWriter, WritesASampleAsItIsFilled) {
    const auto full = MakeSample(16, 2, 300000);
    const std::string expected = WriteToBytes(*full, ESoundFileType::kWave);
    for (const bool failing : {false, true}) {
        SCOPED_TRACE(failing ? "failing filler" : "filler");
        const auto sample = MakeSample(16, 2, 300000);
        std::vector<int16_t> silence(300000, 0);
        sample->Set16s(0, 300000, silence.data(), 1);
        sample->Set16s(0, 300000, silence.data(), 2);
        CSampleFillGate gate;
        std::thread filling([&] {
            std::vector<int16_t> piece(100000);
            for (int32_t at = 0; at < 300000; at += 100000) {
                if (failing && at == 200000) {
                    gate.Fail(std::make_exception_ptr(NSMishap::XStdDomainError("bad format")));
                    return;
                }
                for (int32_t c = 1; c <= 2; ++c) {
                    full->Get16s(at, 100000, piece.data(), c);
                    sample->Set16s(at, 100000, piece.data(), c);
                }
                gate.Publish(at + 100000);
            }
            gate.Finish();
        });
        COwnedMemoryMedia media;
        if (failing) {
            EXPECT_FAILURE(WriteSoundFile(*sample, media, ESoundFileType::kWave, nullptr, &gate), XStdDomainError,
                           "bad format");
        } else {
            WriteSoundFile(*sample, media, ESoundFileType::kWave, nullptr, &gate);
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(media.GetBytes()), size_t(media.GetSize())), expected);
        }
        filling.join();
    }
}

}  // namespace
