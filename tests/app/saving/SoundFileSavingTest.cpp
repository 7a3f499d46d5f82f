#include <gtest/gtest.h>
#include <sys/xattr.h>

#include <cerrno>
#include <optional>
#include <string>

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

}  // namespace
