#pragma once

#include <sndfile.h>

#include <cstdint>
#include <memory>

#include "platform/sndkits/IAudioFileEncoder.h"
#include "platform/sndkits/SndFileVirtualFile.h"

namespace NSSoundKits::NSSoundKitsDetails {

class CSndFileEncoder final : public IAudioFileEncoder {
public:
    // Takes over the open file and its virtual file. `aiffLoop` appends the AIFF loop chunks
    // for [loopStart, loopEnd) once libsndfile has closed the file.
    CSndFileEncoder(std::unique_ptr<CSndFileVirtualFile> file, SNDFILE* sound, int64_t frames, bool aiffLoop,
                    uint32_t loopStart, uint32_t loopEnd, int32_t frameBytes);

    uint32_t WriteFrames(int64_t frames, const int32_t* interleaved) override;
    uint32_t WriteRawFrames(int64_t frames, const void* bytes) override;
    uint32_t Close() override;

private:
    ~CSndFileEncoder() = default;

    // The checks both writes share; kSoundKitSuccess when `frames` may be written.
    uint32_t CheckWrite(int64_t frames, const void* source) const;
    uint32_t Account(int64_t frames, int64_t written);

    std::unique_ptr<CSndFileVirtualFile> fFile;
    SNDFILE* fSound;
    int64_t fFrames;
    int64_t fFramesWritten = 0;
    uint32_t fFailure;
    bool fAiffLoop;
    uint32_t fLoopStart;
    uint32_t fLoopEnd;
    int32_t fFrameBytes;
};

}  // namespace NSSoundKits::NSSoundKitsDetails
