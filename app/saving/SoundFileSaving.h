#pragma once

#include <string>

#include "engine/SampleFillGate.h"
#include "engine/WaveSample.h"
#include "formats/soundfile/SoundFileInfo.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

// Writes `sample` to `path` as a PCM WAVE or AIFF file (WriteSoundFile), created with the
// type's file type code, completely or not at all: a temporary file beside it takes the name
// only once complete, so a failure or a stop leaves an existing file as it was. An existing
// file is replaced only when `replace`, else XAlreadyExists. `progress` may be null.
// User-interface thread; blocks on the file system. With `gate`, another thread still fills
// `sample` in frame order (WriteSoundFile with the gate): a failure of the filler comes as
// itself and leaves an existing file as it was.
void SaveSoundFile(const std::string& path, ESoundFileType type, const CABCWaveSample& sample, bool replace,
                   IProgressReporter* progress, CSampleFillGate* gate = nullptr);

}  // namespace NSQuillet
