#include "platform/diskkit/PosixFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "foundation/DiskKitStatus.h"
#include "platform/diskkit/ErrnoStatus.h"

namespace NSDiskKit::NSDiskKitDetails {

namespace {

// Written bytes between two starts of a new file's write-back.
constexpr uint64_t kWriteBackBytes = uint64_t(8) << 20;

constexpr uint64_t kMaxPosition = uint64_t(INT64_MAX);
// Keeps every transfer far below SSIZE_MAX.
constexpr uint64_t kMaxTransfer = uint64_t(1) << 30;

}  // namespace

CPosixFile::CPosixFile(int descriptor, bool writable)
    : INewFile(0, 0), fDescriptor(descriptor), fWritable(writable), fCreated(false) {}

CPosixFile::CPosixFile(int descriptor, uint32_t creatorCode, uint32_t typeCode, SCreated created)
    : INewFile(creatorCode, typeCode),
      fDescriptor(descriptor),
      fWritable(true),
      fCreated(true),
      fNames(std::move(created)) {}

CPosixFile::~CPosixFile() = default;

uint32_t CPosixFile::GetSize(uint64_t* size) {
    if (!size) return FailWithText(kDiskKitBadArgument, "null size");
    struct stat info;
    if (fstat(fDescriptor, &info) != 0) return FailWithErrno("fstat", errno, EOperation::kRead);
    *size = uint64_t(info.st_size);
    return kDiskKitSuccess;
}

uint32_t CPosixFile::Read(uint64_t position, uint64_t count, void* destination) {
    if (position > kMaxPosition) return FailWithText(kDiskKitBadArgument, "position beyond 2^63 - 1");
    if (count > 0 && !destination) return FailWithText(kDiskKitBadArgument, "null destination");
    uint64_t size = 0;
    if (fReadOnlySize) {
        size = *fReadOnlySize;
    } else {
        if (const uint32_t status = GetSize(&size); status != kDiskKitSuccess) return status;
        if (!fWritable) fReadOnlySize = size;
    }
    if (position > size || count > size - position) return FailWithText(kDiskKitReadFailure, "read past the end of the file");
    auto* bytes = static_cast<uint8_t*>(destination);
    while (count > 0) {
        const ssize_t done = pread(fDescriptor, bytes, size_t(count < kMaxTransfer ? count : kMaxTransfer), off_t(position));
        if (done < 0) {
            if (errno == EINTR) continue;
            return FailWithErrno("pread", errno, EOperation::kRead);
        }
        if (done == 0) return FailWithText(kDiskKitReadFailure, "file ended while reading");
        bytes += done;
        position += uint64_t(done);
        count -= uint64_t(done);
    }
    return kDiskKitSuccess;
}

uint32_t CPosixFile::Write(uint64_t position, uint64_t count, const void* source) {
    if (!fWritable) return FailWithText(kDiskKitWrongAccess, "file is open for reading only");
    if (position > kMaxPosition || count > kMaxPosition - position) {
        return FailWithText(kDiskKitBadArgument, "range ends beyond 2^63 - 1");
    }
    if (count > 0 && !source) return FailWithText(kDiskKitBadArgument, "null source");
    const auto* bytes = static_cast<const uint8_t*>(source);
    while (count > 0) {
        const ssize_t done = pwrite(fDescriptor, bytes, size_t(count < kMaxTransfer ? count : kMaxTransfer), off_t(position));
        if (done < 0) {
            if (errno == EINTR) continue;
            return FailWithErrno("pwrite", errno, EOperation::kWrite);
        }
        if (done == 0) return FailWithText(kDiskKitWriteFailure, "write made no progress");
        bytes += done;
        position += uint64_t(done);
        count -= uint64_t(done);
        fUnflushed += uint64_t(done);
    }
#if defined(__linux__)
    // A big new file starts going to the disk while it is still being written, so that the
    // fsync on closing waits only for the rest. Advice: a failure here shows at that fsync.
    if (fCreated && fUnflushed >= kWriteBackBytes) {
        fUnflushed = 0;
        sync_file_range(fDescriptor, 0, 0, SYNC_FILE_RANGE_WRITE);
    }
#endif
    return kDiskKitSuccess;
}

uint32_t CPosixFile::CloseDescriptor() {
    // Linux releases the descriptor even when close fails, so it is never retried.
    const int descriptor = fDescriptor;
    fDescriptor = -1;
    if (close(descriptor) != 0 && errno != EINTR) return FailWithErrno("close", errno, EOperation::kClose);
    return kDiskKitSuccess;
}

uint32_t CPosixFile::Close() {
    uint32_t status = kDiskKitSuccess;
    if (fCreated && fsync(fDescriptor) != 0 && errno != EINVAL) status = FailWithErrno("fsync", errno, EOperation::kClose);
    const uint32_t closed = CloseDescriptor();
    if (status == kDiskKitSuccess) status = closed;
    if (fCreated) {
        const std::string& written = fNames.fTemporaryPath.empty() ? fNames.fPath : fNames.fTemporaryPath;
        if (status == kDiskKitSuccess && !fNames.fTemporaryPath.empty() &&
            std::rename(fNames.fTemporaryPath.c_str(), fNames.fPath.c_str()) != 0) {
            // The bytes are safe but cannot take their name: the file did not close as asked.
            FailWithErrno("rename", errno, EOperation::kClose);
            status = kDiskKitCloseFailure;
        }
        if (status != kDiskKitSuccess) unlink(written.c_str());
    }
    delete this;
    return status;
}

uint32_t CPosixFile::CloseUnflushed(SCreated& names) {
    if (!fCreated || fNames.fTemporaryPath.empty()) {
        Discard();
        return FailWithText(kDiskKitBadArgument, "not a file created to replace");
    }
    const uint32_t status = CloseDescriptor();
    if (status == kDiskKitSuccess) names = std::move(fNames);
    else unlink(fNames.fTemporaryPath.c_str());
    delete this;
    return status;
}

void CPosixFile::Discard() {
    CloseDescriptor();
    if (fCreated) unlink((fNames.fTemporaryPath.empty() ? fNames.fPath : fNames.fTemporaryPath).c_str());
    delete this;
}

}  // namespace NSDiskKit::NSDiskKitDetails
