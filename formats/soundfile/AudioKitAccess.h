#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "formats/soundfile/SoundFileInfo.h"
#include "platform/sndkits/IAudioKit.h"

namespace NSQuillet::NSAudioKitAccess {

// The library that codes `type`: RiffAudioKit for WAVE, AppleAudioKit for AIFF.
NSSoundKits::IAudioKit& GetAudioKit(ESoundFileType type);

// Turns a status of that library other than 991 into its failure, carrying "error_code".
void CheckStatus(ESoundFileType type, uint32_t status, const std::string& message);

struct SDecoderCloser {
    void operator()(NSSoundKits::IAudioFileDecoder* decoder) const { decoder->Close(); }
};
using CDecoderPtr = std::unique_ptr<NSSoundKits::IAudioFileDecoder, SDecoderCloser>;

}  // namespace NSQuillet::NSAudioKitAccess
