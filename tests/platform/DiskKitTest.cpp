#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKit.h"
#include "platform/diskkit/FourCharCode.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSDiskKit;
using NSQuilletTest::CScopedEnvironmentVariable;
using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::ReadWholeFile;

constexpr uint32_t kTypeCode = MakeFourCharCode('L', 'X', '2', ' ');
constexpr uint64_t kInt64Max = uint64_t(INT64_MAX);

IDiskKit& Library() {
    uint32_t status = 0;
    IDiskKit* library = DiskKit_Create("IDiskKit", &status);
    EXPECT_EQ(status, kDiskKitSuccess);
    return *library;
}

class DiskKit : public ::testing::Test {
protected:
    INewFile* Create(const std::string& name, ECreateMode mode, uint32_t* status) {
        return Library().CreateFile(CFolderSpec(fFolder.Path()), name, kQuilletCreatorCode, kTypeCode, mode, status);
    }
    IOpenFile* Open(const std::string& name, bool writable, uint32_t* status) {
        const CFileSpec file(CFolderSpec(fFolder.Path()), name);
        return writable ? Library().OpenForReadWrite(file, status) : Library().OpenForReading(file, status);
    }

    CTemporaryFolder fFolder;
};

TEST(DiskKitFactory, GivesOneLibraryForItsNameAndRefusesOthers) {
    uint32_t status = 0;
    IDiskKit* first = DiskKit_Create("IDiskKit", &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_EQ(DiskKit_Create("IDiskKit", &status), first);

    EXPECT_EQ(DiskKit_Create("IScreenKit", &status), nullptr);
    EXPECT_EQ(status, kDiskKitUnknownInterface);
    EXPECT_EQ(DiskKit_Create(nullptr, &status), nullptr);
    EXPECT_EQ(status, kDiskKitBadArgument);
}

TEST(FileSpec, SplitsAPathAtItsLastSlash) {
    struct SCase {
        const char* fPath;
        const char* fFolder;
        const char* fName;
        const char* fJoined;
    };
    const SCase cases[] = {
        {"/a/b/loop.lx2", "/a/b", "loop.lx2", "/a/b/loop.lx2"},
        {"/loop.lx2", "/", "loop.lx2", "/loop.lx2"},
        {"loop.lx2", ".", "loop.lx2", "./loop.lx2"},
        {"/a/", "/a", "", "/a/"},
    };
    for (const SCase& c : cases) {
        const CFileSpec spec = CFileSpec::FromPath(c.fPath);
        EXPECT_EQ(spec.GetFolder().GetPath(), c.fFolder) << c.fPath;
        EXPECT_EQ(spec.GetName(), c.fName) << c.fPath;
        EXPECT_EQ(spec.GetPath(), c.fJoined) << c.fPath;
    }
}

TEST_F(DiskKit, WritesReadsAndSizesACreatedFile) {
    uint32_t status = 0;
    INewFile* file = Create("loop.lx2", ECreateMode::kCreateNew, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_EQ(file->GetCreatorCode(), 0x516C6574u);  // 'Q' 'l' 'e' 't'
    EXPECT_EQ(file->GetTypeCode(), kTypeCode);
    EXPECT_EQ(file->GetWriter()->Write(0, 3, "abc"), kDiskKitSuccess);
    EXPECT_EQ(file->GetWriter()->Write(5, 2, "xy"), kDiskKitSuccess);
    uint64_t size = 0;
    EXPECT_EQ(file->GetWriter()->GetSize(&size), kDiskKitSuccess);
    EXPECT_EQ(size, 7u);
    char back[7] = {};
    EXPECT_EQ(file->GetReader()->Read(0, 7, back), kDiskKitSuccess);
    EXPECT_EQ(std::string(back, 7), std::string("abc\0\0xy", 7));
    EXPECT_EQ(file->Close(), kDiskKitSuccess);
    EXPECT_EQ(ReadWholeFile(fFolder.PathOf("loop.lx2")), std::string("abc\0\0xy", 7));
}

TEST_F(DiskKit, ReadsOnlyWholeRangesInsideTheFile) {
    fFolder.Make("seven", "0123456");
    struct SCase {
        uint64_t fPosition;
        uint64_t fCount;
        uint32_t fStatus;
    };
    const SCase cases[] = {
        {0, 7, kDiskKitSuccess},
        {3, 4, kDiskKitSuccess},
        {7, 0, kDiskKitSuccess},
        {0, 8, kDiskKitReadFailure},
        {6, 2, kDiskKitReadFailure},
        {8, 0, kDiskKitReadFailure},
        {1, UINT64_MAX, kDiskKitReadFailure},
        {kInt64Max, 1, kDiskKitReadFailure},
        {kInt64Max + 1, 1, kDiskKitBadArgument},
        {UINT64_MAX, 0, kDiskKitBadArgument},
    };
    uint32_t status = 0;
    IOpenFile* file = Open("seven", false, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    for (const SCase& c : cases) {
        std::vector<char> destination(8, '#');
        EXPECT_EQ(file->GetReader()->Read(c.fPosition, c.fCount, destination.data()), c.fStatus)
            << c.fPosition << "+" << c.fCount;
        if (c.fStatus != kDiskKitSuccess) {
            EXPECT_EQ(std::string(destination.data(), 8), "########") << "no short read";
        }
    }
    EXPECT_EQ(file->Close(), kDiskKitSuccess);
}

TEST_F(DiskKit, RefusesWritesBeyondTheLargestPositionAndThroughAReadOnlyOpen) {
    fFolder.Make("file", "x");
    uint32_t status = 0;
    IOpenFile* writable = Open("file", true, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_EQ(writable->GetWriter()->Write(kInt64Max + 1, 1, "z"), kDiskKitBadArgument);
    EXPECT_EQ(writable->GetWriter()->Write(kInt64Max, 1, "z"), kDiskKitBadArgument);
    EXPECT_EQ(writable->GetWriter()->Write(1, 0, nullptr), kDiskKitSuccess);
    EXPECT_EQ(writable->Close(), kDiskKitSuccess);

    IOpenFile* readOnly = Open("file", false, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_FALSE(readOnly->IsWritable());
    EXPECT_EQ(readOnly->GetWriter()->Write(0, 1, "z"), kDiskKitWrongAccess);
    uint64_t size = 0;
    EXPECT_EQ(readOnly->GetSize(&size), kDiskKitSuccess);
    EXPECT_EQ(size, 1u);
    EXPECT_EQ(readOnly->Close(), kDiskKitSuccess);
    EXPECT_EQ(ReadWholeFile(fFolder.PathOf("file")), "x");
}

TEST_F(DiskKit, ReportsMissingFilesAndFoldersAndBadNames) {
    uint32_t status = 0;
    EXPECT_EQ(Open("missing", false, &status), nullptr);
    EXPECT_EQ(status, kDiskKitNotFound);
    EXPECT_STREQ(Library().GetLastErrorText(), "open: No such file or directory");

    const std::string notAFolder = fFolder.Make("plain", "");
    const char* folders[] = {"/nonexistent-quillet-folder", notAFolder.c_str()};
    for (const char* folder : folders) {
        EXPECT_EQ(Library().CreateFile(CFolderSpec(folder), "a", kQuilletCreatorCode, kTypeCode, ECreateMode::kCreateNew, &status),
                  nullptr);
        EXPECT_EQ(status, kDiskKitFolderNotFound) << folder;
    }
    EXPECT_EQ(Library().OpenForReading(CFileSpec(CFolderSpec(notAFolder), "a"), &status), nullptr);
    EXPECT_EQ(status, kDiskKitNotFound);

    for (const std::string& name : {std::string(), std::string("."), std::string(".."), std::string("a/b"), std::string("a\0b", 3)}) {
        EXPECT_EQ(Create(name, ECreateMode::kReplaceExisting, &status), nullptr);
        EXPECT_EQ(status, kDiskKitBadArgument) << name;
    }
    EXPECT_EQ(fFolder.CountEntries(), 1u);
}

TEST_F(DiskKit, KeepsLastErrorTextPerThread) {
    uint32_t status = 0;
    EXPECT_EQ(Open("missing", false, &status), nullptr);
    std::string seenElsewhere = "unset";
    std::thread([&] { seenElsewhere = Library().GetLastErrorText(); }).join();
    EXPECT_EQ(seenElsewhere, "");
    EXPECT_STRNE(Library().GetLastErrorText(), "");
}

TEST_F(DiskKit, OpensADirectoryAsAnOpenFailure) {
    uint32_t status = 0;
    EXPECT_EQ(Library().OpenForReading(CFileSpec::FromPath(fFolder.Path()), &status), nullptr);
    EXPECT_EQ(status, kDiskKitOpenFailure);
}

TEST_F(DiskKit, CreatingNewNeverTouchesAnExistingFile) {
    fFolder.Make("loop.lx2", "old");
    uint32_t status = 0;
    EXPECT_EQ(Create("loop.lx2", ECreateMode::kCreateNew, &status), nullptr);
    EXPECT_EQ(status, kDiskKitAlreadyExists);
    EXPECT_EQ(ReadWholeFile(fFolder.PathOf("loop.lx2")), "old");
}

TEST_F(DiskKit, ReplacesAFileOnlyWhenTheNewOneCloses) {
    const std::string path = fFolder.Make("loop.lx2", "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    uint32_t status = 0;
    INewFile* file = Create("loop.lx2", ECreateMode::kReplaceExisting, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_EQ(file->GetWriter()->Write(0, 8, "new data"), kDiskKitSuccess);
    EXPECT_EQ(ReadWholeFile(path), "old");
    EXPECT_EQ(file->Close(), kDiskKitSuccess);
    EXPECT_EQ(ReadWholeFile(path), "new data");
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(fFolder.CountEntries(), 1u) << "no temporary file left behind";
}

TEST_F(DiskKit, DiscardLeavesNoTraceAndKeepsAReplacedFile) {
    const std::string kept = fFolder.Make("kept", "old");
    uint32_t status = 0;
    INewFile* replacing = Create("kept", ECreateMode::kReplaceExisting, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_EQ(replacing->GetWriter()->Write(0, 4, "half"), kDiskKitSuccess);
    replacing->Discard();
    INewFile* fresh = Create("fresh", ECreateMode::kCreateNew, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_EQ(fresh->GetWriter()->Write(0, 4, "half"), kDiskKitSuccess);
    fresh->Discard();

    EXPECT_EQ(ReadWholeFile(kept), "old");
    EXPECT_EQ(fFolder.CountEntries(), 1u);
}

// A batch of `count` files "f<i>" holding "new <i>", each written and added; asserts on the way.
IFileBatch* WriteBatch(const CTemporaryFolder& folder, int count) {
    uint32_t status = 0;
    IFileBatch* batch = Library().CreateFileBatch(CFolderSpec(folder.Path()), &status);
    EXPECT_EQ(status, kDiskKitSuccess);
    for (int i = 0; i < count && batch; ++i) {
        INewFile* file = Library().CreateFile(CFolderSpec(folder.Path()), "f" + std::to_string(i), kQuilletCreatorCode,
                                              kTypeCode, ECreateMode::kReplaceExisting, &status);
        EXPECT_EQ(status, kDiskKitSuccess);
        if (!file) break;
        const std::string bytes = "new " + std::to_string(i);
        EXPECT_EQ(file->GetWriter()->Write(0, bytes.size(), bytes.data()), kDiskKitSuccess);
        EXPECT_EQ(batch->Add(file), kDiskKitSuccess);
    }
    return batch;
}

TEST_F(DiskKit, ABatchNamesItsFilesOnlyWhenItCloses) {
    // 3 files rename on the calling thread, 100 on several.
    for (int count : {3, 100}) {
        SCOPED_TRACE(count);
        CTemporaryFolder folder;
        const std::string old = folder.Make("f1", "old");
        ASSERT_EQ(chmod(old.c_str(), 0640), 0);
        IFileBatch* batch = WriteBatch(folder, count);
        ASSERT_NE(batch, nullptr);
        EXPECT_EQ(batch->GetCount(), uint64_t(count));
        EXPECT_EQ(ReadWholeFile(old), "old");
        EXPECT_FALSE(std::filesystem::exists(folder.PathOf("f0")));
        EXPECT_EQ(folder.CountEntries(), size_t(count) + 1) << "the old file and a temporary name for each";

        EXPECT_EQ(batch->Close(), kDiskKitSuccess);
        for (int i = 0; i < count; ++i) EXPECT_EQ(ReadWholeFile(folder.PathOf("f" + std::to_string(i))), "new " + std::to_string(i));
        EXPECT_EQ(folder.CountEntries(), size_t(count)) << "no temporary name left";
        struct stat info;
        ASSERT_EQ(stat(old.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0640u);
    }
}

TEST_F(DiskKit, ADiscardedBatchLeavesTheOldFilesAndNoTrace) {
    const std::string old = fFolder.Make("f0", "old");
    IFileBatch* batch = WriteBatch(fFolder, 40);
    ASSERT_NE(batch, nullptr);
    batch->Discard();
    EXPECT_EQ(ReadWholeFile(old), "old");
    EXPECT_EQ(fFolder.CountEntries(), 1u);
}

TEST_F(DiskKit, ABatchRefusesFilesItCannotNameSafelyAndRemovesThem) {
    CTemporaryFolder other;
    uint32_t status = 0;
    IFileBatch* batch = Library().CreateFileBatch(CFolderSpec(fFolder.Path()), &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    struct SRow {
        const char* fWhat;
        const CTemporaryFolder& fFolder;
        ECreateMode fMode;
    };
    // A file created new already has its name: a crash would leave it partial there.
    const SRow rows[] = {{"created new", fFolder, ECreateMode::kCreateNew}, {"another folder", other, ECreateMode::kReplaceExisting}};
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fWhat);
        INewFile* file = Library().CreateFile(CFolderSpec(row.fFolder.Path()), "x", kQuilletCreatorCode, kTypeCode, row.fMode, &status);
        ASSERT_EQ(status, kDiskKitSuccess);
        EXPECT_EQ(file->GetWriter()->Write(0, 4, "data"), kDiskKitSuccess);
        EXPECT_EQ(batch->Add(file), kDiskKitBadArgument);
        EXPECT_EQ(row.fFolder.CountEntries(), 0u);
    }
    EXPECT_EQ(batch->GetCount(), 0u);
    EXPECT_EQ(batch->Close(), kDiskKitSuccess);

    EXPECT_EQ(Library().CreateFileBatch(CFolderSpec(fFolder.PathOf("missing")), &status), nullptr);
    EXPECT_EQ(status, kDiskKitFolderNotFound);
    fFolder.Make("plain", "");
    EXPECT_EQ(Library().CreateFileBatch(CFolderSpec(fFolder.PathOf("plain")), &status), nullptr);
    EXPECT_EQ(status, kDiskKitFolderNotFound);
}

TEST_F(DiskKit, ANameABatchCannotGiveRemovesThatFileAndNamesTheOthers) {
    for (int count : {3, 100}) {
        SCOPED_TRACE(count);
        CTemporaryFolder folder;
        IFileBatch* batch = WriteBatch(folder, count);
        ASSERT_NE(batch, nullptr);
        // A folder that takes the name of file 1 after it was created: rename refuses to
        // replace a folder by a file.
        ASSERT_TRUE(std::filesystem::create_directory(folder.PathOf("f1")));
        folder.Make("f1/inside", "");
        EXPECT_EQ(batch->Close(), kDiskKitCloseFailure);
        EXPECT_STREQ(Library().GetLastErrorText(), "rename f1: Is a directory");
        EXPECT_TRUE(std::filesystem::is_directory(folder.PathOf("f1")));
        for (int i = 0; i < count; ++i) {
            if (i != 1) {
                EXPECT_EQ(ReadWholeFile(folder.PathOf("f" + std::to_string(i))), "new " + std::to_string(i));
            }
        }
        EXPECT_EQ(folder.CountEntries(), size_t(count)) << "no temporary name left";
    }
}

TEST_F(DiskKit, ReadOnlyFilesRefuseWritingEvenForTheSuperuser) {
    const std::string path = fFolder.Make("locked.wav", "RIFF");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    uint32_t status = 0;
    EXPECT_EQ(Open("locked.wav", true, &status), nullptr);
    EXPECT_EQ(status, kDiskKitReadOnly);
    EXPECT_EQ(Create("locked.wav", ECreateMode::kReplaceExisting, &status), nullptr);
    EXPECT_EQ(status, kDiskKitReadOnly);

    IOpenFile* reading = Open("locked.wav", false, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_EQ(reading->Close(), kDiskKitSuccess);
    EXPECT_EQ(ReadWholeFile(path), "RIFF");
}

TEST_F(DiskKit, AReadWriteOpenLocksOutOtherReadWriteOpensOnly) {
    fFolder.Make("shared", "data");
    uint32_t status = 0;
    IOpenFile* holder = Open("shared", true, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_EQ(Open("shared", true, &status), nullptr);
    EXPECT_EQ(status, kDiskKitLocked);
    IOpenFile* reader = Open("shared", false, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_EQ(reader->Close(), kDiskKitSuccess);
    EXPECT_EQ(holder->Close(), kDiskKitSuccess);

    IOpenFile* next = Open("shared", true, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_EQ(next->Close(), kDiskKitSuccess);
}

TEST_F(DiskKit, AFullDiskIsOutOfSpace) {
    uint32_t status = 0;
    IOpenFile* full = Library().OpenForReadWrite(CFileSpec(CFolderSpec("/dev"), "full"), &status);
    if (status == kDiskKitNotFound) GTEST_SKIP() << "no /dev/full";
    ASSERT_EQ(status, kDiskKitSuccess);
    EXPECT_EQ(full->GetWriter()->Write(0, 4, "data"), kDiskKitOutOfSpace);
    EXPECT_STREQ(Library().GetLastErrorText(), "pwrite: No space left on device");
    EXPECT_EQ(full->Close(), kDiskKitSuccess);
}

TEST_F(DiskKit, StoresCreatorAndTypeCodesWhereTheFileSystemAllows) {
    uint32_t status = 0;
    INewFile* file = Create("tagged.lx2", ECreateMode::kReplaceExisting, &status);
    ASSERT_EQ(status, kDiskKitSuccess);
    ASSERT_EQ(file->Close(), kDiskKitSuccess);
    const std::string path = fFolder.PathOf("tagged.lx2");
    char creator[8] = {};
    const ssize_t length = getxattr(path.c_str(), "user.quillet.creator", creator, sizeof creator);
    if (length < 0 && errno == ENOTSUP) GTEST_SKIP() << "no user attributes here";
    EXPECT_EQ(std::string(creator, size_t(length)), "Qlet");
    char type[8] = {};
    const ssize_t typeLength = getxattr(path.c_str(), "user.quillet.type", type, sizeof type);
    ASSERT_EQ(typeLength, 4);
    EXPECT_EQ(std::string(type, 4), "LX2 ");
}

TEST_F(DiskKit, PreferencesFolderLiesInTheConfigurationFolderAndIsMadeWhenAbsent) {
    const std::string config = fFolder.PathOf("config");
    const std::string home = fFolder.PathOf("home");
    struct SCase {
        std::optional<std::string> fConfigHome;
        std::string fExpected;
    };
    const SCase cases[] = {
        {config, config + "/Maker Co/Product"},
        {config + "/", config + "/Maker Co/Product"},
        {std::nullopt, home + "/.config/Maker Co/Product"},
        {std::string(""), home + "/.config/Maker Co/Product"},
        {std::string("relative/config"), home + "/.config/Maker Co/Product"},
    };
    const CScopedEnvironmentVariable homeVariable("HOME", home);
    for (const SCase& c : cases) {
        const CScopedEnvironmentVariable configVariable("XDG_CONFIG_HOME", c.fConfigHome);
        CFolderSpec folder;
        ASSERT_EQ(Library().GetPreferencesFolder("Maker Co", "Product", &folder), kDiskKitSuccess) << c.fExpected;
        EXPECT_EQ(folder.GetPath(), c.fExpected);
        struct stat info;
        ASSERT_EQ(stat(c.fExpected.c_str(), &info), 0) << c.fExpected;
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        // A second call finds the folder as it is.
        EXPECT_EQ(Library().GetPreferencesFolder("Maker Co", "Product", &folder), kDiskKitSuccess);
    }
}

TEST_F(DiskKit, PreferencesFolderRefusesAFileInTheWayAndBadNames) {
    const CScopedEnvironmentVariable configVariable("XDG_CONFIG_HOME", fFolder.Path());
    fFolder.Make("Maker Co", "not a folder");
    CFolderSpec folder(fFolder.Path());
    EXPECT_EQ(Library().GetPreferencesFolder("Maker Co", "Product", &folder), kDiskKitCreateFailure);
    EXPECT_EQ(folder.GetPath(), fFolder.Path());
    for (const char* name : {"", ".", "..", "a/b"}) {
        EXPECT_EQ(Library().GetPreferencesFolder(name, "Product", &folder), kDiskKitBadArgument) << name;
        EXPECT_EQ(Library().GetPreferencesFolder("Other Co", name, &folder), kDiskKitBadArgument) << name;
    }
    EXPECT_EQ(Library().GetPreferencesFolder("Other Co", "Product", nullptr), kDiskKitBadArgument);
}

}  // namespace
