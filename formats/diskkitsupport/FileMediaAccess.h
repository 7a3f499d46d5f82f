#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "formats/diskkitsupport/MediaBridge.h"
#include "formats/media/Media.h"
#include "platform/diskkit/IDiskKit.h"

namespace NSDiskKitSupport {

// The file at `path`, open for reading only, as a shared media; the file closes when the last
// owner lets go. User-interface thread; blocks on disk I/O.
std::shared_ptr<NSQuillet::CMedia> OpenMediaForReading(const std::string& path);

// A new file at `path` to write; call Close on it to keep the file. User-interface thread.
std::unique_ptr<CMediaBridge> CreateMediaForWriting(const std::string& path, uint32_t typeCode,
                                                    NSDiskKit::ECreateMode mode = NSDiskKit::ECreateMode::kReplaceExisting);

}  // namespace NSDiskKitSupport
