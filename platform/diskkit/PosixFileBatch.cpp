#include "platform/diskkit/PosixFileBatch.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <new>
#include <system_error>
#include <thread>

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/ErrnoStatus.h"
#include "platform/diskkit/PosixFile.h"

namespace NSDiskKit::NSDiskKitDetails {

namespace {

// Below this many files a batch renames on the calling thread alone.
constexpr size_t kFilesPerRenameThread = 32;
constexpr size_t kMostRenameThreads = 4;

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

int RenameWithin(int folder, const std::string& from, const std::string& to) {
    return renameat(folder, from.c_str(), folder, to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

CPosixFileBatch::CPosixFileBatch(int folderDescriptor, std::string folderPath)
    : fFolder(folderDescriptor), fFolderPath(std::move(folderPath)) {}

CPosixFileBatch::~CPosixFileBatch() {
    if (fFolder >= 0) close(fFolder);
}

uint32_t CPosixFileBatch::Add(INewFile* file) {
    if (!file) return FailWithText(kDiskKitBadArgument, "null file");
    auto* posix = dynamic_cast<CPosixFile*>(file);
    if (!posix) {
        file->Discard();
        return FailWithText(kDiskKitBadArgument, "a file of another library");
    }
    try {
        fFiles.emplace_back();
    } catch (const std::bad_alloc&) {
        posix->Discard();
        return FailWithText(kDiskKitOutOfMemory, "no memory for the batch");
    }
    CPosixFile::SCreated names;
    const uint32_t status = posix->CloseUnflushed(names);
    if (status == kDiskKitSuccess && names.fFolder != fFolderPath) {
        unlink(names.fTemporaryPath.c_str());
        fFiles.pop_back();
        return FailWithText(kDiskKitBadArgument, "a file of another folder");
    }
    if (status != kDiskKitSuccess) {
        fFiles.pop_back();
        return status;
    }
    try {
        fFiles.back() = SFile{NameOf(names.fTemporaryPath), NameOf(names.fPath)};
    } catch (const std::bad_alloc&) {
        unlink(names.fTemporaryPath.c_str());
        fFiles.pop_back();
        return FailWithText(kDiskKitOutOfMemory, "no memory for the batch");
    }
    return kDiskKitSuccess;
}

std::vector<int> CPosixFileBatch::RenameAll() const {
    std::vector<int> errors(fFiles.size(), 0);
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < fFiles.size(); i = next++) {
            errors[i] = RenameWithin(fFolder, fFiles[i].fTemporaryName, fFiles[i].fName);
        }
    };
    std::vector<std::thread> helpers;
    const size_t wanted = std::min(kMostRenameThreads, fFiles.size() / kFilesPerRenameThread);
    try {
        while (helpers.size() + 1 < wanted) helpers.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer threads: the ones started and this one still rename every file.
    }
    work();
    for (std::thread& helper : helpers) helper.join();
    return errors;
}

void CPosixFileBatch::RemoveAll() const {
    for (const SFile& file : fFiles) unlinkat(fFolder, file.fTemporaryName.c_str(), 0);
}

uint32_t CPosixFileBatch::Close() {
    uint32_t status = kDiskKitSuccess;
    try {
        status = CommitAll();
    } catch (const std::bad_alloc&) {
        RemoveAll();
        status = FailWithText(kDiskKitOutOfMemory, "no memory to name the batch's files");
    }
    delete this;
    return status;
}

uint32_t CPosixFileBatch::CommitAll() const {
    if (fFiles.empty()) return kDiskKitSuccess;
    if (syncfs(fFolder) != 0) {
        const uint32_t status = FailWithErrno("syncfs", errno, EOperation::kClose);
        RemoveAll();
        return status;
    }
    uint32_t status = kDiskKitSuccess;
    const std::vector<int> errors = RenameAll();
    for (size_t i = 0; i < fFiles.size(); ++i) {
        if (errors[i] == 0) continue;
        unlinkat(fFolder, fFiles[i].fTemporaryName.c_str(), 0);
        if (status == kDiskKitSuccess) status = FailWithErrno(("rename " + fFiles[i].fName).c_str(), errors[i], EOperation::kClose);
    }
    if (fsync(fFolder) != 0 && errno != EINVAL && status == kDiskKitSuccess) {
        status = FailWithErrno("fsync folder", errno, EOperation::kClose);
    }
    return status;
}

void CPosixFileBatch::Discard() {
    RemoveAll();
    delete this;
}

}  // namespace NSDiskKit::NSDiskKitDetails
