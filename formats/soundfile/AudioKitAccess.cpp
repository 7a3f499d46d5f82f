#include "formats/soundfile/AudioKitAccess.h"

#include "platform/sndkits/AudioKit.h"
#include "platform/sndkits/SoundKitStatus.h"

namespace NSQuillet::NSAudioKitAccess {

NSSoundKits::IAudioKit& GetAudioKit(ESoundFileType type) {
    uint32_t status = NSSoundKits::kSoundKitSuccess;
    NSSoundKits::IAudioKit* kit = type == ESoundFileType::kWave ? RiffAudioKit_Create("IAudioKit", &status)
                                                                : AppleAudioKit_Create("IAudioKit", &status);
    CheckStatus(type, status, "couldn't create the sound file library");
    return *kit;
}

void CheckStatus(ESoundFileType type, uint32_t status, const std::string& message) {
    if (type == ESoundFileType::kWave) {
        NSSoundKits::CheckRiffAudioKitStatus(status, message);
    } else {
        NSSoundKits::CheckAppleAudioKitStatus(status, message);
    }
}

}  // namespace NSQuillet::NSAudioKitAccess
