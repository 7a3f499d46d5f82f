#pragma once

#include <string>

#include "formats/diskkitsupport/FileMedia.h"
#include "platform/diskkit/FileSpec.h"

namespace NSDiskKitSupport {

// A media over an existing file, open for reading only or for reading and writing (then under
// an exclusive advisory lock). Opening failures are thrown: a missing file is an XNotFound
// "file", a file without write permission opened to write an XReadOnly, a file another
// read-write open holds an XLocked.
class COpenFile final : public CABCFileMedia {
public:
    enum class EAccess { kReadOnly, kReadWrite };

    COpenFile(const NSDiskKit::CFileSpec& file, EAccess access);
    COpenFile(const std::string& path, EAccess access) : COpenFile(NSDiskKit::CFileSpec::FromPath(path), access) {}
};

}  // namespace NSDiskKitSupport
