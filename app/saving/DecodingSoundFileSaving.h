#pragma once

#include <functional>
#include <string>

#include "engine/WaveSample.h"
#include "formats/loopfile/LUX2DecompressCallback.h"
#include "formats/soundfile/SoundFileInfo.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

// Fills `sample` by `decode` and saves it as SaveSoundFile does, the file's blocks written while
// later frames are still being decoded: `decode` runs on a second thread for a sound of more
// than one decoding block, on the calling thread before the writing otherwise. The bytes are
// those of decoding first and saving after. A decoding failure comes as itself and, like a
// failure of the writing or a stop (which stops the decoding too), leaves an existing file as it
// was. `progress` (may be null) hears the writing only, on the calling thread.
void SaveSoundFileWhileDecoding(const std::string& path, ESoundFileType type, CABCWaveSample& sample, bool replace,
                                IProgressReporter* progress,
                                const std::function<void(CLUX2DecompressCallback* callback)>& decode);

}  // namespace NSQuillet
