#include "platform/diskkit/PosixDiskKit.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/DiskKit.h"
#include "platform/diskkit/ErrnoStatus.h"
#include "platform/diskkit/PosixFile.h"
#include "platform/diskkit/PosixFileBatch.h"
#include "platform/diskkit/PreferencesFolder.h"

namespace NSDiskKit::NSDiskKitDetails {

namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

bool IsValidName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

void StoreCode(int descriptor, const char* attribute, uint32_t code) {
    const unsigned char bytes[4] = {uint8_t(code >> 24), uint8_t(code >> 16), uint8_t(code >> 8), uint8_t(code)};
    // The codes are a courtesy to other tools: a file system without user attributes is fine.
    (void)fsetxattr(descriptor, attribute, bytes, sizeof bytes, 0);
}

std::string TemporarySibling(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    return folder + "/.quillet-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".partial";
}

int OpenRetryingInterrupts(const char* path, int flags, mode_t mode = 0) {
    int descriptor;
    do descriptor = open(path, flags | O_CLOEXEC, mode);
    while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

template <class TResult>
TResult* Refuse(uint32_t* status, uint32_t failure) {
    *status = failure;
    return nullptr;
}

}  // namespace

INewFile* CPosixDiskKit::CreateFile(const CFolderSpec& folder, const std::string& name, uint32_t creatorCode,
                                    uint32_t typeCode, ECreateMode mode, uint32_t* status) {
    if (!status) return nullptr;
    if (!IsValidName(name)) return Refuse<INewFile>(status, FailWithText(kDiskKitBadArgument, "invalid file name"));
    const std::string& folderPath = folder.GetPath();
    struct stat info;
    if (folderPath.empty() || stat(folderPath.c_str(), &info) != 0) {
        const int error = folderPath.empty() ? ENOENT : errno;
        return Refuse<INewFile>(status, FailWithErrno("stat folder", error, EOperation::kCreate));
    }
    if (!S_ISDIR(info.st_mode)) return Refuse<INewFile>(status, FailWithText(kDiskKitFolderNotFound, "not a folder"));

    CPosixFile::SCreated names{CFileSpec(folder, name).GetPath(), "", folderPath};
    int descriptor = -1;
    if (mode == ECreateMode::kCreateNew) {
        descriptor = OpenRetryingInterrupts(names.fPath.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
        if (descriptor < 0) return Refuse<INewFile>(status, FailWithErrno("open", errno, EOperation::kCreate));
    } else {
        struct stat existing;
        const bool exists = stat(names.fPath.c_str(), &existing) == 0;
        if (exists && S_ISDIR(existing.st_mode)) {
            return Refuse<INewFile>(status, FailWithText(kDiskKitCreateFailure, "a folder has that name"));
        }
        if (exists && (existing.st_mode & kAnyWriteBit) == 0) {
            return Refuse<INewFile>(status, FailWithText(kDiskKitReadOnly, "file has no write permission"));
        }
        do {
            names.fTemporaryPath = TemporarySibling(folderPath);
            descriptor = OpenRetryingInterrupts(names.fTemporaryPath.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
        } while (descriptor < 0 && errno == EEXIST);
        if (descriptor < 0) return Refuse<INewFile>(status, FailWithErrno("open", errno, EOperation::kCreate));
        if (exists) (void)fchmod(descriptor, existing.st_mode & 07777);
    }
    StoreCode(descriptor, "user.quillet.creator", creatorCode);
    StoreCode(descriptor, "user.quillet.type", typeCode);
    const std::string written = names.fTemporaryPath.empty() ? names.fPath : names.fTemporaryPath;
    auto* file = new (std::nothrow) CPosixFile(descriptor, creatorCode, typeCode, std::move(names));
    if (!file) {
        close(descriptor);
        unlink(written.c_str());
        return Refuse<INewFile>(status, FailWithText(kDiskKitOutOfMemory, "no memory for the file object"));
    }
    *status = kDiskKitSuccess;
    return file;
}

IFileBatch* CPosixDiskKit::CreateFileBatch(const CFolderSpec& folder, uint32_t* status) {
    if (!status) return nullptr;
    const std::string& path = folder.GetPath();
    if (path.empty()) return Refuse<IFileBatch>(status, FailWithErrno("open folder", ENOENT, EOperation::kCreate));
    const int descriptor = OpenRetryingInterrupts(path.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) {
        const int error = errno;
        if (error == ENOTDIR) return Refuse<IFileBatch>(status, FailWithText(kDiskKitFolderNotFound, "not a folder"));
        return Refuse<IFileBatch>(status, FailWithErrno("open folder", error, EOperation::kCreate));
    }
    auto* batch = new (std::nothrow) CPosixFileBatch(descriptor, path);
    if (!batch) {
        close(descriptor);
        return Refuse<IFileBatch>(status, FailWithText(kDiskKitOutOfMemory, "no memory for the batch"));
    }
    *status = kDiskKitSuccess;
    return batch;
}

IOpenFile* CPosixDiskKit::OpenForReading(const CFileSpec& file, uint32_t* status) { return Open(file, false, status); }

IOpenFile* CPosixDiskKit::OpenForReadWrite(const CFileSpec& file, uint32_t* status) { return Open(file, true, status); }

IOpenFile* CPosixDiskKit::Open(const CFileSpec& file, bool writable, uint32_t* status) {
    if (!status) return nullptr;
    if (!IsValidName(file.GetName())) return Refuse<IOpenFile>(status, FailWithText(kDiskKitBadArgument, "invalid file name"));
    const std::string path = file.GetPath();
    const int descriptor = OpenRetryingInterrupts(path.c_str(), writable ? O_RDWR : O_RDONLY);
    if (descriptor < 0) {
        const int error = errno;
        struct stat info;
        // Without the superuser's bypass, a read-only file refuses O_RDWR with EACCES.
        if (writable && (error == EACCES || error == EPERM) && stat(path.c_str(), &info) == 0 &&
            (info.st_mode & kAnyWriteBit) == 0) {
            return Refuse<IOpenFile>(status, FailWithText(kDiskKitReadOnly, "file has no write permission"));
        }
        return Refuse<IOpenFile>(status, FailWithErrno("open", error, EOperation::kOpen));
    }
    const auto refuse = [&](uint32_t failure) {
        close(descriptor);
        return Refuse<IOpenFile>(status, failure);
    };
    struct stat info;
    if (fstat(descriptor, &info) != 0) return refuse(FailWithErrno("fstat", errno, EOperation::kOpen));
    if (S_ISDIR(info.st_mode)) return refuse(FailWithErrno("open", EISDIR, EOperation::kOpen));
    if (writable && (info.st_mode & kAnyWriteBit) == 0) return refuse(FailWithText(kDiskKitReadOnly, "file has no write permission"));
    if (writable && flock(descriptor, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        return refuse(FailWithText(kDiskKitLocked, "file is open for writing elsewhere"));
    }
    auto* opened = new (std::nothrow) CPosixFile(descriptor, writable);
    if (!opened) return refuse(FailWithText(kDiskKitOutOfMemory, "no memory for the file object"));
    *status = kDiskKitSuccess;
    return opened;
}

uint32_t CPosixDiskKit::GetPreferencesFolder(const std::string& company, const std::string& product,
                                             CFolderSpec* folder) {
    if (!folder) return FailWithText(kDiskKitBadArgument, "null folder");
    if (!IsValidName(company) || !IsValidName(product)) return FailWithText(kDiskKitBadArgument, "invalid folder name");
    std::string path;
    const uint32_t status = MakePreferencesFolder(company + "/" + product, path);
    if (status == kDiskKitSuccess) *folder = CFolderSpec(std::move(path));
    return status;
}

const char* CPosixDiskKit::GetLastErrorText() const { return GetThreadLastErrorText(); }

}  // namespace NSDiskKit::NSDiskKitDetails

NSDiskKit::IDiskKit* DiskKit_Create(const char* interfaceName, uint32_t* status) {
    using namespace NSDiskKit;
    using namespace NSDiskKit::NSDiskKitDetails;
    if (!status) return nullptr;
    if (!interfaceName) {
        *status = FailWithText(kDiskKitBadArgument, "null interface name");
        return nullptr;
    }
    if (std::strcmp(interfaceName, "IDiskKit") != 0) {
        *status = FailWithText(kDiskKitUnknownInterface, "unknown interface");
        return nullptr;
    }
    static CPosixDiskKit library;
    *status = kDiskKitSuccess;
    return &library;
}
