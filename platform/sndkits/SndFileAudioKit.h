#pragma once

#include <cstdint>

#include "platform/sndkits/IAudioKit.h"

namespace NSSoundKits::NSSoundKitsDetails {

// A library over libsndfile for one container: WAVE (RIFF, also WAVE_FORMAT_EXTENSIBLE) or AIFF
// (also AIFF-C). Stateless.
class CSndFileAudioKit final : public IAudioKit {
public:
    enum class EContainer { kWave, kAiff };

    CSndFileAudioKit(EContainer container, uint32_t notOpenStatus)
        : fContainer(container), fNotOpenStatus(notOpenStatus) {}

    IAudioFileDecoder* OpenForReading(NSMishap::IByteReader* reader, int64_t size, uint32_t* status) override;
    IAudioFileEncoder* CreateForWriting(NSMishap::IByteWriter* writer, const SAudioEncoding& encoding,
                                        uint32_t* status) override;

private:
    EContainer fContainer;
    uint32_t fNotOpenStatus;
};

}  // namespace NSSoundKits::NSSoundKitsDetails
