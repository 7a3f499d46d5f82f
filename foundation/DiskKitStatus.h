#pragma once

#include <cstdint>
#include <string>

#include "foundation/StatusTranslation.h"

namespace NSDiskKit {

// Status words of the file-system library. 5000 is success; each other status names one kind
// of failure, and the errno values that map to it are listed beside it.
enum EDiskKitStatus : uint32_t {
    kDiskKitSuccess = 5000,
    kDiskKitNotFound = 5001,          // ENOENT, ENOTDIR on the file itself
    kDiskKitFolderNotFound = 5002,    // the folder to create a file in does not exist
    kDiskKitPermission = 5003,        // EACCES, EPERM
    kDiskKitLocked = 5004,            // EBUSY, ETXTBSY, EAGAIN: another process holds the file
    kDiskKitReadOnly = 5005,          // EROFS, or a file without write permission opened to write
    kDiskKitOutOfSpace = 5006,        // ENOSPC, EDQUOT, EFBIG
    kDiskKitReadFailure = 5007,       // EIO and others while reading; a read past the end of the file
    kDiskKitWriteFailure = 5008,      // EIO and others while writing
    kDiskKitCreateFailure = 5009,     // any other failure to create a file
    kDiskKitOpenFailure = 5010,       // EISDIR, ELOOP, ENAMETOOLONG, EMFILE and any other open failure
    kDiskKitCloseFailure = 5011,      // close reported an error (data may not be on disk)
    kDiskKitAlreadyExists = 5012,     // EEXIST when creating without replacing
    kDiskKitBadArgument = 5013,       // a null pointer, an empty name, a position beyond 2^63
    kDiskKitOutOfMemory = 5014,       // ENOMEM
    kDiskKitUnknownInterface = 5015,  // the factory was asked for an interface other than "IDiskKit"
    kDiskKitNotOpen = 5016,           // an operation on a file that is already closed
    kDiskKitWrongAccess = 5017,       // writing through a file opened for reading only
};

// The failure of each status: code and target object type ("file", "disk", "directory", ...).
extern const NSMishap::SStatusTable kDiskKitStatusTable;

inline void CheckDiskKitStatus(uint32_t status, const std::string& message) {
    NSMishap::CheckStatus(status, kDiskKitStatusTable, message);
}

}  // namespace NSDiskKit
