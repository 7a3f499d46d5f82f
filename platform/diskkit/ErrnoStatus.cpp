#include "platform/diskkit/ErrnoStatus.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "foundation/DiskKitStatus.h"

namespace NSDiskKit::NSDiskKitDetails {

namespace {

thread_local std::string tLastErrorText;

uint32_t DefaultStatus(EOperation operation) {
    switch (operation) {
        case EOperation::kOpen: return kDiskKitOpenFailure;
        case EOperation::kCreate: return kDiskKitCreateFailure;
        case EOperation::kRead: return kDiskKitReadFailure;
        case EOperation::kWrite: return kDiskKitWriteFailure;
        case EOperation::kClose: return kDiskKitCloseFailure;
    }
    return kDiskKitOpenFailure;
}

}  // namespace

uint32_t StatusForErrno(int error, EOperation operation) {
    switch (error) {
        case ENOENT:
        case ENOTDIR: return operation == EOperation::kCreate ? kDiskKitFolderNotFound : kDiskKitNotFound;
        case EACCES:
        case EPERM: return kDiskKitPermission;
        case EBUSY:
        case ETXTBSY:
        case EAGAIN: return kDiskKitLocked;
        case EROFS: return kDiskKitReadOnly;
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return kDiskKitOutOfSpace;
        case ENOMEM: return kDiskKitOutOfMemory;
        case EEXIST: return operation == EOperation::kCreate ? kDiskKitAlreadyExists : DefaultStatus(operation);
        default: return DefaultStatus(operation);
    }
}

uint32_t FailWithErrno(const char* call, int error, EOperation operation) {
    char buffer[256];
    // The GNU strerror_r answers a pointer that may or may not be `buffer`.
    const char* text = strerror_r(error, buffer, sizeof buffer);
    tLastErrorText = std::string(call) + ": " + text;
    return StatusForErrno(error, operation);
}

uint32_t FailWithText(uint32_t status, const char* text) {
    tLastErrorText = text;
    return status;
}

const char* GetThreadLastErrorText() { return tLastErrorText.c_str(); }

}  // namespace NSDiskKit::NSDiskKitDetails
