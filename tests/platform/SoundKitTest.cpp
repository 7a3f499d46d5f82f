#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sndkits/AudioKit.h"
#include "platform/sndkits/SoundKitStatus.h"

namespace {

using namespace NSSoundKits;

class CMemoryReader final : public NSMishap::IByteReader {
public:
    explicit CMemoryReader(std::string bytes, int64_t failFrom = INT64_MAX) : fBytes(std::move(bytes)), fFailFrom(failFrom) {}
    uint32_t Read(int64_t position, int64_t count, void* destination) override {
        if (position < 0 || count < 0 || !destination) return kSoundKitBadArgument;
        if (position + count > fFailFrom) return kSoundKitReadFailure;
        EXPECT_LE(position + count, int64_t(fBytes.size())) << "the library never reads past the size";
        std::memcpy(destination, fBytes.data() + position, size_t(count));
        return kSoundKitSuccess;
    }
    int64_t Size() const { return int64_t(fBytes.size()); }

private:
    std::string fBytes;
    int64_t fFailFrom;
};

class CMemoryWriter final : public NSMishap::IByteWriter {
public:
    explicit CMemoryWriter(int64_t failFrom = INT64_MAX) : fFailFrom(failFrom) {}
    uint32_t Write(int64_t position, int64_t count, const void* source) override {
        if (position + count > fFailFrom) return kSoundKitWriteFailure;
        if (size_t(position + count) > fBytes.size()) fBytes.resize(size_t(position + count));
        std::memcpy(fBytes.data() + position, source, size_t(count));
        return kSoundKitSuccess;
    }
    uint32_t GetSize(int64_t* size) override {
        *size = int64_t(fBytes.size());
        return kSoundKitSuccess;
    }
    std::string fBytes;

private:
    int64_t fFailFrom;
};

IAudioKit& Riff() {
    uint32_t status = 0;
    return *RiffAudioKit_Create("IAudioKit", &status);
}
IAudioKit& Apple() {
    uint32_t status = 0;
    return *AppleAudioKit_Create("IAudioKit", &status);
}

std::string LittleEndian(uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
    return out;
}

// A canonical 44-byte WAVE header followed by `data`.
std::string MakeWave(uint16_t formatTag, uint16_t channels, uint32_t rate, uint16_t bits, const std::string& data) {
    const uint16_t blockAlign = uint16_t(channels * ((bits + 7) / 8));
    return "RIFF" + LittleEndian(uint32_t(36 + data.size()), 4) + "WAVEfmt " + LittleEndian(16, 4) +
           LittleEndian(formatTag, 2) + LittleEndian(channels, 2) + LittleEndian(rate, 4) +
           LittleEndian(rate * blockAlign, 4) + LittleEndian(blockAlign, 2) + LittleEndian(bits, 2) + "data" +
           LittleEndian(uint32_t(data.size()), 4) + data;
}

TEST(SoundKits, FactoriesGiveOneObjectPerLibrary) {
    uint32_t status = 0;
    IAudioKit* riff = RiffAudioKit_Create("IAudioKit", &status);
    EXPECT_EQ(status, 991u);
    EXPECT_EQ(riff, RiffAudioKit_Create("IAudioKit", &status));
    EXPECT_NE(riff, AppleAudioKit_Create("IAudioKit", &status));
    EXPECT_EQ(AppleAudioKit_Create("IDiskKit", &status), nullptr);
    EXPECT_EQ(status, 1004u);
    EXPECT_EQ(RiffAudioKit_Create(nullptr, &status), nullptr);
    EXPECT_EQ(status, 993u);
}

TEST(SoundKits, ReadEightBitUnsignedSamplesRecentredAndLeftJustified) {
    CMemoryReader reader(MakeWave(1, 1, 11025, 8, std::string("\x00\x80\xff\x81", 4)));
    uint32_t status = 0;
    IAudioFileDecoder* decoder = Riff().OpenForReading(&reader, reader.Size(), &status);
    ASSERT_EQ(status, 991u);
    SAudioFileFormat format;
    ASSERT_EQ(decoder->GetFormat(&format), 991u);
    EXPECT_EQ(format.fChannels, 1);
    EXPECT_EQ(format.fBitDepth, 8);
    EXPECT_EQ(format.fSampleRate, 11025);
    EXPECT_EQ(format.fFrames, 4);
    EXPECT_TRUE(format.fUnsigned);
    EXPECT_FALSE(format.fFloat);
    int32_t values[6] = {7, 7, 7, 7, 7, 7};
    int64_t read = 0;
    ASSERT_EQ(decoder->ReadFrames(6, values, &read), 991u);
    EXPECT_EQ(read, 4) << "asking beyond the end reads what is left";
    // (0x00 - 128) << 24, (0x80 - 128) << 24, (0xFF - 128) << 24, (0x81 - 128) << 24
    EXPECT_EQ(std::vector<int32_t>(values, values + 4), (std::vector<int32_t>{INT32_MIN, 0, 127 << 24, 1 << 24}));
    EXPECT_EQ(decoder->ReadFrames(1, values, &read), 991u);
    EXPECT_EQ(read, 0);
    EXPECT_EQ(decoder->Close(), 991u);
}

TEST(SoundKits, ReportTheEncodingBeforeAnyAudioIsRead) {
    struct SRow {
        uint16_t fTag;
        uint16_t fBits;
        uint32_t fStatus;
        int32_t fDepth;
        bool fFloat;
    };
    const SRow rows[] = {
        {1, 16, 991, 16, false}, {1, 24, 991, 24, false}, {1, 32, 991, 32, false},
        {3, 32, 991, 32, true},  {3, 64, 991, 64, true},  {6, 8, 998, 0, false},  // A-law
    };
    for (const SRow& row : rows) {
        // Only the header can be read: the reader fails on every byte of audio.
        const std::string bytes = MakeWave(row.fTag, 2, 44100, row.fBits, std::string(size_t(row.fBits / 4) * 10, '\0'));
        CMemoryReader reader(bytes, 44);
        uint32_t status = 0;
        IAudioFileDecoder* decoder = Riff().OpenForReading(&reader, reader.Size(), &status);
        EXPECT_EQ(status, row.fStatus) << row.fTag << "/" << row.fBits;
        if (!decoder) continue;
        SAudioFileFormat format;
        decoder->GetFormat(&format);
        EXPECT_EQ(format.fBitDepth, row.fDepth);
        EXPECT_EQ(format.fFloat, row.fFloat);
        EXPECT_EQ(format.fFrames, 10);
        int32_t values[4];
        int64_t read = 0;
        EXPECT_EQ(decoder->ReadFrames(2, values, &read), 999u) << "the reader's failure comes back";
        decoder->Close();
    }
}

TEST(SoundKits, RefuseArgumentsAndTheOtherContainer) {
    uint32_t status = 0;
    EXPECT_EQ(Riff().OpenForReading(nullptr, 0, &status), nullptr);
    EXPECT_EQ(status, 994u);
    EXPECT_EQ(Apple().OpenForReading(nullptr, 0, &status), nullptr);
    EXPECT_EQ(status, 996u);
    CMemoryReader wave(MakeWave(1, 1, 44100, 16, std::string(8, '\0')));
    EXPECT_EQ(Riff().OpenForReading(&wave, -1, &status), nullptr);
    EXPECT_EQ(status, 993u);
    EXPECT_EQ(Apple().OpenForReading(&wave, wave.Size(), &status), nullptr);
    EXPECT_EQ(status, 997u);
    CMemoryReader garbage("RIFF\x10\0\0\0garbage-garbage-");
    EXPECT_EQ(Riff().OpenForReading(&garbage, garbage.Size(), &status), nullptr);
    EXPECT_EQ(status, 997u);

    SAudioEncoding valid;
    valid.fChannels = 2;
    valid.fSampleRate = 44100;
    valid.fBitDepth = 16;
    valid.fFrames = 10;
    auto with = [&](auto change) {
        SAudioEncoding encoding = valid;
        change(encoding);
        return encoding;
    };
    const SAudioEncoding refused[] = {
        with([](SAudioEncoding& e) { e.fChannels = 0; }),
        with([](SAudioEncoding& e) { e.fChannels = 65; }),
        with([](SAudioEncoding& e) { e.fSampleRate = 0; }),
        with([](SAudioEncoding& e) { e.fBitDepth = 8; }),
        with([](SAudioEncoding& e) { e.fBitDepth = 32; }),
        with([](SAudioEncoding& e) { e.fFrames = -1; }),
        with([](SAudioEncoding& e) { e.fHasLoop = true, e.fLoopStart = -1, e.fLoopEnd = 5; }),
        with([](SAudioEncoding& e) { e.fHasLoop = true, e.fLoopStart = 5, e.fLoopEnd = 5; }),
        with([](SAudioEncoding& e) { e.fHasLoop = true, e.fLoopStart = 0, e.fLoopEnd = 11; }),
    };
    for (const SAudioEncoding& encoding : refused) {
        CMemoryWriter writer;
        EXPECT_EQ(Apple().CreateForWriting(&writer, encoding, &status), nullptr);
        EXPECT_EQ(status, 993u);
        EXPECT_TRUE(writer.fBytes.empty());
    }
    EXPECT_EQ(Riff().CreateForWriting(nullptr, valid, &status), nullptr);
    EXPECT_EQ(status, 994u);
    EXPECT_EQ(Apple().CreateForWriting(nullptr, valid, &status), nullptr);
    EXPECT_EQ(status, 996u);
}

TEST(SoundKits, EncodersHoldToTheDeclaredFrameCount) {
    for (IAudioKit* kit : {&Riff(), &Apple()}) {
        SAudioEncoding encoding;
        encoding.fChannels = 1;
        encoding.fSampleRate = 22050;
        encoding.fBitDepth = 24;
        encoding.fFrames = 3;
        const int32_t frames[4] = {1 << 8, -(1 << 8), INT32_MIN, 0x7FFFFF00};

        CMemoryWriter writer;
        uint32_t status = 0;
        IAudioFileEncoder* encoder = kit->CreateForWriting(&writer, encoding, &status);
        ASSERT_EQ(status, 991u);
        EXPECT_EQ(encoder->WriteFrames(4, frames), 1003u);
        EXPECT_EQ(encoder->WriteFrames(2, frames), 991u);
        EXPECT_EQ(encoder->Close(), 1003u) << "one frame short";

        CMemoryWriter complete;
        encoder = kit->CreateForWriting(&complete, encoding, &status);
        EXPECT_EQ(encoder->WriteFrames(3, frames), 991u);
        EXPECT_EQ(encoder->Close(), 991u);
        CMemoryReader reader(complete.fBytes);
        IAudioFileDecoder* decoder = kit->OpenForReading(&reader, reader.Size(), &status);
        ASSERT_EQ(status, 991u);
        int32_t back[3];
        int64_t read = 0;
        EXPECT_EQ(decoder->ReadFrames(3, back, &read), 991u);
        EXPECT_EQ(std::vector<int32_t>(back, back + 3), std::vector<int32_t>(frames, frames + 3));
        decoder->Close();

        CMemoryWriter failing(48);  // past the 44-byte WAVE header, inside the 54-byte AIFF one
        encoder = kit->CreateForWriting(&failing, encoding, &status);
        if (encoder) {
            status = encoder->WriteFrames(3, frames);
            const uint32_t closed = encoder->Close();
            EXPECT_TRUE(status == 1000u || closed == 1000u) << status << " " << closed;
        } else {
            EXPECT_EQ(status, 1000u);
        }
    }
}

}  // namespace
