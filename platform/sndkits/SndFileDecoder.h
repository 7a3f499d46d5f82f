#pragma once

#include <sndfile.h>

#include <cstdint>
#include <memory>

#include "platform/sndkits/IAudioFileDecoder.h"
#include "platform/sndkits/SndFileVirtualFile.h"

namespace NSSoundKits::NSSoundKitsDetails {

class CSndFileDecoder final : public IAudioFileDecoder {
public:
    // Takes over the open file and its virtual file.
    CSndFileDecoder(std::unique_ptr<CSndFileVirtualFile> file, SNDFILE* sound, const SAudioFileFormat& format,
                    int sndFileFormat);

    uint32_t GetFormat(SAudioFileFormat* format) override;
    uint32_t ReadFrames(int64_t frames, int32_t* interleaved, int64_t* framesRead) override;
    uint32_t GetPcmLayout(SPcmLayout* layout) override;
    uint32_t Close() override;

private:
    ~CSndFileDecoder();

    std::unique_ptr<CSndFileVirtualFile> fFile;
    SNDFILE* fSound;
    SAudioFileFormat fFormat;
    int fSndFileFormat;
    int64_t fFramesRead = 0;
};

}  // namespace NSSoundKits::NSSoundKitsDetails
