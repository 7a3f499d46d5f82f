#pragma once

#include "engine/SampleFillGate.h"
#include "engine/WaveSample.h"
#include "formats/media/Media.h"
#include "formats/soundfile/SoundFileInfo.h"
#include "foundation/ProgressReporter.h"

namespace NSQuillet {

// Writes `sample` from position 0 of `media` as a PCM WAVE or AIFF file at the sample's rate,
// depth (16 or 24) and channel count. The media should be empty: bytes beyond the file stay.
// When the sample's loop is set and 0 <= left locator < right locator <= frame count, the file
// carries a forward loop over [left, right) (WAVE 'smpl', AIFF 'INST' with markers); other
// locators are left out. Written in blocks with progress 0..1000; Stop is XAbort "user pressed
// stop" and leaves a partial file in the media. Library failures come as the failure of their
// status with "error_code"; a rate above 2^31 - 1 is XStdInvalidArgument. `progress` may be
// null. User-interface thread; blocks on the media.
// With `gate`, another thread still fills `sample` in frame order: each block is written once
// `gate` has its frames, and a failure of the filler comes as itself (the partial file stays).
void WriteSoundFile(const CABCWaveSample& sample, CMedia& media, ESoundFileType type,
                    IProgressReporter* progress = nullptr, CSampleFillGate* gate = nullptr);

}  // namespace NSQuillet
