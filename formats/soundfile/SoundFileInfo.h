#pragma once

#include <cstdint>

namespace NSQuillet {

enum class ESoundFileType { kWave, kAiff };

// A sound file's format as its header states it, known before any audio is read.
struct SSoundFileInfo {
    ESoundFileType fType = ESoundFileType::kWave;
    int32_t fChannels = 0;
    // 8, 16, 24 or 32 for PCM; 32 for float and 64 for double samples.
    int32_t fBitDepth = 0;
    int32_t fSampleRate = 0;  // frames per second
    int64_t fFrames = 0;
    bool fFloat = false;
};

}  // namespace NSQuillet
