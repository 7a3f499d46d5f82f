#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/diskkitsupport/MediaBridge.h"
#include "formats/diskkitsupport/OpenFile.h"
#include "formats/diskkitsupport/OpenReadFileBridge.h"
#include "formats/media/MediaPrimitives.h"
#include "formats/media/PartialMedia.h"
#include "foundation/FailureCode.h"
#include "platform/diskkit/FourCharCode.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSDiskKitSupport;
using NSDiskKit::ECreateMode;
using NSQuilletTest::CatchFailure;
using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::ReadWholeFile;
using NSQuilletTest::SCaughtFailure;

constexpr uint32_t kTypeCode = NSDiskKit::MakeFourCharCode('W', 'A', 'V', 'E');

TEST(FileMedia, WritesAFileThenReadsItBack) {
    CTemporaryFolder folder;
    const std::string path = folder.PathOf("loop.lx2");
    std::unique_ptr<CMediaBridge> out = CreateMediaForWriting(path, kTypeCode);
    // The size known from the start follows the writes: growing, overwriting, growing again.
    EXPECT_EQ(out->GetSize(), 0u);
    NSQuillet::WriteU32(*out, 0x490CF18D);
    EXPECT_EQ(out->GetSize(), 4u);
    out->SetPosition(0);
    NSQuillet::WriteU16(*out, 0x490C);
    EXPECT_EQ(out->GetSize(), 4u);
    out->SetPosition(4);
    NSQuillet::WriteU16(*out, 0x1234);
    EXPECT_EQ(out->GetSize(), 6u);
    out->Close();
    EXPECT_FALSE(out->IsOpen());

    std::shared_ptr<NSQuillet::CMedia> in = OpenMediaForReading(path);
    EXPECT_EQ(in->GetSize(), 6u);
    EXPECT_EQ(NSQuillet::ReadU32(*in), 0x490CF18Du);
    NSQuillet::CPartialMedia body(*in, 4, 2);
    EXPECT_EQ(NSQuillet::ReadU16(body), 0x1234);
    EXPECT_EQ(in->GetPosition(), 4u);
}

TEST(FileMedia, SmallReadsOfAFileOpenForReadingGiveItsBytesWhereverTheyFall) {
    CTemporaryFolder folder;
    // 150000 bytes: more than two read-aheads of 65536, each byte telling its position.
    std::string bytes(150000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char((i * 7 + i / 251) & 0xFF);
    const std::string path = folder.Make("long", bytes);
    std::shared_ptr<NSQuillet::CMedia> in = OpenMediaForReading(path);

    struct SCase {
        uint64_t fPosition;
        uint64_t fCount;
    };
    // In order: fill at 10, inside, its last byte, across its end, backwards before it, a read
    // too big to be served ahead, small again, the file's last bytes, an empty read at the end.
    const SCase cases[] = {{10, 4},     {60000, 100}, {65545, 1},       {65540, 20},      {5, 8},  {3, 5000},
                           {70000, 4096}, {149990, 10}, {149999, 1}, {150000, 0}};
    for (const SCase& c : cases) {
        std::string read(c.fCount, '\0');
        in->ReadAt(c.fPosition, c.fCount, read.data());
        EXPECT_EQ(read, bytes.substr(c.fPosition, c.fCount)) << c.fPosition << " + " << c.fCount;
    }
    // Past the end stays a read failure, however near the bytes read ahead.
    char buffer[16];
    for (const SCase& c : {SCase{149995, 6}, SCase{150000, 1}, SCase{200000, 2}}) {
        const SCaughtFailure caught = CatchFailure([&] { in->ReadAt(c.fPosition, c.fCount, buffer); });
        EXPECT_EQ(caught.fCode, NSMishap::kFailureCode_RuntimeError_ReadFailure) << c.fPosition << ": " << caught.fMessage;
    }
}

TEST(FileMedia, AnUnclosedNewFileLeavesNoTraceAndTheOldFileStands) {
    CTemporaryFolder folder;
    const std::string replaced = folder.Make("export.wav", "old");
    const std::string fresh = folder.PathOf("fresh.wav");
    const auto failingWriter = [](const std::string& path, ECreateMode mode) {
        CMediaBridge out(path, kTypeCode, mode);
        out.Write(4, "half");
        throw NSMishap::XAbort("user pressed stop");
    };
    EXPECT_THROW(failingWriter(replaced, ECreateMode::kReplaceExisting), NSMishap::XAbort);
    EXPECT_THROW(failingWriter(fresh, ECreateMode::kCreateNew), NSMishap::XAbort);
    EXPECT_EQ(ReadWholeFile(replaced), "old");
    EXPECT_FALSE(std::filesystem::exists(fresh));
    EXPECT_EQ(folder.CountEntries(), 1u);
}

TEST(FileMedia, AReadWriteOpenChangesTheFileInPlace) {
    CTemporaryFolder folder;
    const std::string path = folder.Make("loop.lx2", "abcdef");
    {
        COpenFile file(path, COpenFile::EAccess::kReadWrite);
        file.WriteAt(2, 2, "XY");
        EXPECT_EQ(file.GetPosition(), 4u);
        file.Close();
    }
    EXPECT_EQ(ReadWholeFile(path), "abXYef");
}

// One row per kind of failure: what the caller sees, from class to status.
TEST(FileMedia, ThrowsEachFileFailureAsItsClassWithTargetAndStatus) {
    CTemporaryFolder folder;
    const std::string existing = folder.Make("existing", "12345");
    const std::string readOnly = folder.Make("read-only", "12345");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    char buffer[16];

    struct SCase {
        const char* fWhat;
        std::function<void()> fAction;
        uint32_t fCode;
        const char* fTarget;
        const char* fStatus;
    };
    const SCase cases[] = {
        {"missing file", [&] { COpenReadFileBridge file(folder.PathOf("missing")); }, NSMishap::kFailureCode_RuntimeError_NotFound,
         "file", "5001"},
        {"missing folder", [&] { CMediaBridge out(folder.PathOf("no/such.wav"), kTypeCode, ECreateMode::kCreateNew); },
         NSMishap::kFailureCode_RuntimeError_NotFound, "directory", "5002"},
        {"read-only file to write", [&] { COpenFile file(readOnly, COpenFile::EAccess::kReadWrite); },
         NSMishap::kFailureCode_RuntimeError_ReadOnly, "file", "5005"},
        {"read past the end", [&] { COpenReadFileBridge(existing).ReadAt(3, 3, buffer); },
         NSMishap::kFailureCode_RuntimeError_ReadFailure, "file", "5007"},
        {"read at a huge position", [&] { COpenReadFileBridge(existing).ReadAt(UINT64_MAX - 1, 1, buffer); },
         NSMishap::kFailureCode_RuntimeError_ReadFailure, "file", "5007"},
        {"create over an existing file", [&] { CMediaBridge out(existing, kTypeCode, ECreateMode::kCreateNew); },
         NSMishap::kFailureCode_RuntimeError_AlreadyExists, "file", "5012"},
        {"second read-write open",
         [&] {
             COpenFile first(existing, COpenFile::EAccess::kReadWrite);
             COpenFile second(existing, COpenFile::EAccess::kReadWrite);
         },
         NSMishap::kFailureCode_RuntimeError_Locked, "file", "5004"},
        {"write through a read-only open", [&] { COpenFile(existing, COpenFile::EAccess::kReadOnly).WriteAt(0, 1, "z"); },
         NSMishap::kFailureCode_LogicError_IllegalCallSequence, "file", "5017"},
        {"open a folder", [&] { COpenReadFileBridge file(folder.Path()); }, NSMishap::kFailureCode_RuntimeError_Open, "file",
         "5010"},
        {"use after close",
         [&] {
             COpenReadFileBridge file(existing);
             file.Close();
             file.ReadAt(0, 1, buffer);
         },
         NSMishap::kFailureCode_LogicError_IllegalCallSequence, "file", "5016"},
    };
    for (const SCase& c : cases) {
        const SCaughtFailure caught = CatchFailure(c.fAction);
        EXPECT_EQ(caught.fCode, c.fCode) << c.fWhat << ": " << caught.fMessage;
        EXPECT_EQ(caught.fTarget, c.fTarget) << c.fWhat;
        EXPECT_EQ(caught.fErrorCode, c.fStatus) << c.fWhat;
    }
    EXPECT_EQ(ReadWholeFile(existing), "12345");
    EXPECT_EQ(folder.CountEntries(), 2u);
}

TEST(FileMedia, AFullDiskIsAnXOutOfSpaceOnTheDisk) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    COpenFile full("/dev/full", COpenFile::EAccess::kReadWrite);
    const SCaughtFailure caught = CatchFailure([&] { full.Write(4, "data"); });
    EXPECT_EQ(caught.fCode, NSMishap::kFailureCode_RuntimeError_OutOfSpace) << caught.fMessage;
    EXPECT_EQ(caught.fTarget, "disk");
    EXPECT_EQ(caught.fErrorCode, "5006");
    EXPECT_EQ(caught.fMessage, "write /dev/full: pwrite: No space left on device");
}

TEST(FileMedia, NamesTheOperationPathAndSystemTextInTheMessage) {
    CTemporaryFolder folder;
    const std::string path = folder.PathOf("missing.wav");
    EXPECT_FAILURE(COpenReadFileBridge file(path), XNotFound,
                   "open for reading " + path + ": open: No such file or directory");
    const std::string existing = folder.Make("short", "ab");
    char buffer[4];
    EXPECT_FAILURE(COpenReadFileBridge(existing).ReadAt(1, 2, buffer), XRead,
                   "read " + existing + ": read past the end of the file");
}

TEST(FileMedia, AFailedCloseIsAnXCloseAndTheFileIsStillReleased) {
    CTemporaryFolder folder;
    const std::string path = folder.PathOf("gone-folder/loop.lx2");
    std::filesystem::create_directory(folder.PathOf("gone-folder"));
    CMediaBridge out(path, kTypeCode, ECreateMode::kReplaceExisting);
    out.Write(4, "data");
    // Removing the folder makes the final rename fail.
    std::filesystem::remove_all(folder.PathOf("gone-folder"));
    const SCaughtFailure caught = CatchFailure([&] { out.Close(); });
    EXPECT_EQ(caught.fCode, NSMishap::kFailureCode_RuntimeError_Close) << caught.fMessage;
    EXPECT_EQ(caught.fErrorCode, "5011");
    EXPECT_FALSE(out.IsOpen());
    EXPECT_FAILURE(out.Close(), XIllegalCallSequence, "close " + path + ": file is closed");
}

// Probes a file that only its owner may read. The superuser passes every permission check, so
// then the probe runs in a child that becomes the unprivileged user 65534 and reports by exit code.
TEST(FileMedia, PermissionDeniedIsAnXPermission) {
    CTemporaryFolder folder;
    ASSERT_EQ(chmod(folder.Path().c_str(), 0755), 0);
    const std::string path = folder.Make("private.wav", "RIFF");
    const bool asRoot = geteuid() == 0;
    ASSERT_EQ(chmod(path.c_str(), asRoot ? 0600 : 0000), 0);
    const auto probe = [&]() -> int {
        const SCaughtFailure caught = CatchFailure([&] { COpenReadFileBridge file(path); });
        if (caught.fCode == 0) return 1;
        if (caught.fCode != NSMishap::kFailureCode_RuntimeError_Permission) return 2;
        if (caught.fTarget != "file" || caught.fErrorCode != "5003") return 3;
        return 0;
    };
    if (!asRoot) {
        EXPECT_EQ(probe(), 0);
        return;
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(4);
        _exit(probe());
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: opened, 2: other class, 3: wrong target or status, 4: could not drop privileges";
}

}  // namespace
