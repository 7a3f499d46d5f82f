#pragma once

#include <optional>
#include <string>

#include "formats/soundfile/SoundFileInfo.h"

namespace NSQuillet {

// The sound-file type a target path names by its extension (.wav/.wave, .aif/.aiff, any case),
// or none.
std::optional<ESoundFileType> SoundFileTypeOfPath(const std::string& path);

// True when `path` ends in .lx2 (any case): a loop file.
bool IsLoopFilePath(const std::string& path);

// Before any work: an existing `path` is refused with the failure creating it would give
// (XAlreadyExists) unless `replace`. Blocks on the file system.
void CheckTargetMayBeWritten(const std::string& path, bool replace);

}  // namespace NSQuillet
