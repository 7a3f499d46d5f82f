#pragma once

#include "formats/SoundFileInfo.h"

namespace NSQuillet {

inline constexpr const char* kAlert_UnsupportedBitDepth =
    "[WARN]Quillet only supports 8, 16 and 24-bit audio files.[OK]";
inline constexpr const char* kAlert_UnsupportedChannels =
    "[WARN]Quillet only supports Mono and Stereo sound files.[OK]";
inline constexpr const char* kAlert_UnsupportedSampleRate =
    "[WARN]Quillet does not support sample rates lower than 11.025 kHz or higher than 1.0 MHz.[OK]";

// Opening's checks of a file's information, in this order: bit depth 8, 16 or 24 (float
// samples fail it), 1 or 2 channels, rate 11025..1000000 Hz inclusive. The first that fails
// is shown (ShowAlert) and ends the open with XSilentAbort "invalid sound file info".
// User-interface thread.
void CheckSoundFileInfo(const SSoundFileInfo& info);

}  // namespace NSQuillet
