#pragma once

#include <string>

#include "formats/diskkitsupport/FileMedia.h"
#include "platform/diskkit/FileSpec.h"

namespace NSDiskKitSupport {

// A media over an existing file open for reading only, from which a sound file is read.
// Writing through it is an XIllegalCallSequence. Opening failures as for COpenFile.
class COpenReadFileBridge final : public CABCFileMedia {
public:
    explicit COpenReadFileBridge(const NSDiskKit::CFileSpec& file);
    explicit COpenReadFileBridge(const std::string& path) : COpenReadFileBridge(NSDiskKit::CFileSpec::FromPath(path)) {}
};

}  // namespace NSDiskKitSupport
