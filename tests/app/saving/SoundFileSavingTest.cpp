#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/saving/DecodingSoundFileSaving.h"
#include "app/saving/SaveTarget.h"
#include "app/saving/SoundFileSaving.h"
#include "foundation/Mishap.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

TEST(SaveTarget, TheExtensionNamesTheKindOfFile) {
    struct SRow {
        const char* fPath;
        std::optional<ESoundFileType> fSoundType;
        bool fLoopFile;
    };
    const SRow rows[] = {
        {"out.wav", ESoundFileType::kWave, false},   {"a/b/OUT.WAVE", ESoundFileType::kWave, false},
        {"out.aif", ESoundFileType::kAiff, false},   {"out.AIFF", ESoundFileType::kAiff, false},
        {"loop.lx2", std::nullopt, true},            {"loop.LX2", std::nullopt, true},
        {"loop.wav.lx2", std::nullopt, true},        {"out.mp3", std::nullopt, false},
        {"wav", std::nullopt, false},                {"dir.wav/out", std::nullopt, false},
        {"out.", std::nullopt, false},
    };
    for (const SRow& row : rows) {
        EXPECT_EQ(SoundFileTypeOfPath(row.fPath), row.fSoundType) << row.fPath;
        EXPECT_EQ(IsLoopFilePath(row.fPath), row.fLoopFile) << row.fPath;
    }
}

TEST(SaveTarget, AnExistingTargetIsRefusedUnlessReplaced) {
    CTemporaryFolder folder;
    const std::string existing = folder.Make("old.wav", "old");
    EXPECT_EQ(CatchFailure([&] { CheckTargetMayBeWritten(existing, false); }).fCode,
              NSMishap::XAlreadyExists::kFailureCode);
    EXPECT_EQ(CatchFailure([&] { CheckTargetMayBeWritten(existing, true); }).fCode, 0u);
    EXPECT_EQ(CatchFailure([&] { CheckTargetMayBeWritten(folder.PathOf("new.wav"), false); }).fCode, 0u);
}

class CStoppingProgress final : public IProgressReporter {
public:
    void Progress(int32_t) override {}
    bool IsStopRequested() const override { return true; }
};

TEST(SoundFileSaving, WritesTheWholeFileOrLeavesTheOldOne) {
    CTemporaryFolder folder;
    const auto sample = MakeSample(24, 2, 3000, 48000);
    for (ESoundFileType type : {ESoundFileType::kWave, ESoundFileType::kAiff}) {
        const std::string path = folder.PathOf(type == ESoundFileType::kAiff ? "out.aif" : "out.wav");
        SaveSoundFile(path, type, *sample, false, nullptr);
        const std::string written = ReadWholeFile(path);
        EXPECT_EQ(written, WriteToBytes(*sample, type));
        ExpectSameAudio(*ReadFromBytes(written), *sample);

        const auto other = MakeSample(16, 1, 100);
        EXPECT_EQ(CatchFailure([&] { SaveSoundFile(path, type, *other, false, nullptr); }).fCode,
                  NSMishap::XAlreadyExists::kFailureCode);
        CStoppingProgress stop;
        EXPECT_FAILURE(SaveSoundFile(path, type, *other, true, &stop), XAbort, "user pressed stop");
        EXPECT_EQ(ReadWholeFile(path), written);
        SaveSoundFile(path, type, *other, true, nullptr);
        EXPECT_EQ(ReadWholeFile(path), WriteToBytes(*other, type));
    }
    EXPECT_EQ(folder.CountEntries(), 2u) << "no temporary file stays behind";
}

TEST(SoundFileSaving, CreatesTheFileWithTheTypeCodeOfItsKind) {
    CTemporaryFolder folder;
    const auto sample = MakeSample(16, 1, 10);
    for (ESoundFileType type : {ESoundFileType::kWave, ESoundFileType::kAiff}) {
        const std::string path = folder.PathOf(type == ESoundFileType::kAiff ? "typed.aif" : "typed.wav");
        SaveSoundFile(path, type, *sample, false, nullptr);
        char code[8] = {};
        const ssize_t length = getxattr(path.c_str(), "user.quillet.type", code, sizeof code);
        if (length < 0 && errno == ENOTSUP) GTEST_SKIP() << "no user attributes here";
        ASSERT_EQ(length, 4);
        EXPECT_EQ(std::string(code, 4), type == ESoundFileType::kAiff ? "AIFF" : "WAVE");
    }
}

// Copies `from` into the sample block by block as a loop file's decoding does: the callback hears
// the frames done before each block of 2^20 and may stop it; `failAt` frames on it fails.
std::function<void(CLUX2DecompressCallback*)> CopyingDecode(const CABCWaveSample& from, CABCWaveSample& to,
                                                            int32_t failAt = INT32_MAX) {
    return [&from, &to, failAt](CLUX2DecompressCallback* callback) {
        const int32_t total = from.GetFrameCount();
        std::vector<int32_t> piece;
        for (int32_t done = 0; done < total;) {
            if (callback && callback->Progress(done)) throw NSMishap::XAbort("stopped by callback");
            if (done >= failAt) throw NSMishap::XStdDomainError("bad format");
            const int32_t count = std::min(total - done, int32_t(1) << 20);
            piece.resize(size_t(count));
            for (int32_t channel = 1; channel <= from.GetChannelCount(); ++channel) {
                from.Get24s(done, count, piece.data(), channel);
                to.Set24s(done, count, piece.data(), channel);
            }
            done += count;
        }
        if (callback) callback->Progress(total);
    };
}

// The file is written while the sound is decoded on a second thread (one block or less: first
// decoded, then written); the bytes are those of the decoded sound, and a decoding failure or a
// stop leaves the old file.
TEST(SoundFileSaving, WritesWhileDecodingOrLeavesTheOldOne) {
    CTemporaryFolder folder;
    const std::string path = folder.Make("out.wav", "old");
    for (const int32_t frames : {(1 << 21) + 3000, 1000}) {
        SCOPED_TRACE(frames);
        const auto full = MakeSample(16, 2, frames);
        const std::string expected = WriteToBytes(*full, ESoundFileType::kWave);

        auto failing = MakeSample(16, 2, frames);
        EXPECT_FAILURE(SaveSoundFileWhileDecoding(path, ESoundFileType::kWave, *failing, true, nullptr,
                                                  CopyingDecode(*full, *failing, frames > 1000 ? 1 << 20 : 0)),
                       XStdDomainError, "bad format");
        EXPECT_EQ(ReadWholeFile(path), "old");

        auto stopped = MakeSample(16, 2, frames);
        CStoppingProgress stop;
        EXPECT_FAILURE(SaveSoundFileWhileDecoding(path, ESoundFileType::kWave, *stopped, true, &stop,
                                                  CopyingDecode(*full, *stopped)),
                       XAbort, "user pressed stop");
        EXPECT_EQ(ReadWholeFile(path), "old");

        auto decoded = MakeSample(16, 2, frames);
        std::vector<int32_t> zeros(size_t(frames), 0);
        for (int32_t channel = 1; channel <= 2; ++channel) decoded->Set24s(0, frames, zeros.data(), channel);
        const std::string other = folder.PathOf("decoded.wav");
        SaveSoundFileWhileDecoding(other, ESoundFileType::kWave, *decoded, false, nullptr,
                                   CopyingDecode(*full, *decoded));
        EXPECT_EQ(ReadWholeFile(other), expected);
        std::remove(other.c_str());
    }
    EXPECT_EQ(folder.CountEntries(), 1u) << "no temporary file stays behind";
}

}  // namespace
