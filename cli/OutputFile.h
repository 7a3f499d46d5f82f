#pragma once

#include <optional>
#include <string>

#include "engine/WaveSample.h"
#include "formats/SoundFileInfo.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet::NSCli {

// The sound-file type an output path names by its extension (.wav/.wave, .aif/.aiff, any
// case), or none.
std::optional<ESoundFileType> SoundFileTypeOfPath(const std::string& path);

// Writes `sample` to `path` completely or not at all (a temporary file renamed on success).
// An existing file is replaced only when `replace`, else XAlreadyExists.
void WriteSoundFileTo(const std::string& path, ESoundFileType type, const CABCWaveSample& sample, bool replace,
                      IProgressReporter* progress);

}  // namespace NSQuillet::NSCli
