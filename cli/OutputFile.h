#pragma once

#include <optional>
#include <string>

#include "engine/WaveSample.h"
#include "formats/soundfile/SoundFileInfo.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet::NSCli {

// The sound-file type an output path names by its extension (.wav/.wave, .aif/.aiff, any
// case), or none.
std::optional<ESoundFileType> SoundFileTypeOfPath(const std::string& path);

// True when `path` ends in .lx2 (any case).
bool IsLoopFilePath(const std::string& path);

// Before any work: an existing `path` is refused with the failure creating it would give
// (XAlreadyExists) unless `replace`.
void CheckOutputMayBeWritten(const std::string& path, bool replace);

// Writes `sample` to `path` completely or not at all (a temporary file renamed on success).
// An existing file is replaced only when `replace`, else XAlreadyExists.
void WriteSoundFileTo(const std::string& path, ESoundFileType type, const CABCWaveSample& sample, bool replace,
                      IProgressReporter* progress);

}  // namespace NSQuillet::NSCli
