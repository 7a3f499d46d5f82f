#pragma once

#include "app/preferences/AudioDeviceBlock.h"
#include "formats/lux2/ABCFormat.h"

namespace NSQuillet {

// AUDI: the chosen audio device: the block's version, then a u32 length and the block's bytes.
// The bytes and the version belong to the audio-card library, which checks them when it
// re-creates the device (IAudioDeviceRestorer).
class CPreferencesAudioChunk final : public CABCFormat {
public:
    // A damaged version, a length beyond the body, or bytes after the block: XFormatViolation.
    explicit CPreferencesAudioChunk(CMedia& body);
    explicit CPreferencesAudioChunk(SAudioDeviceBlock block) : fBlock(std::move(block)) {}

    const SAudioDeviceBlock& GetBlock() const { return fBlock; }
    void Write(CMedia& media) const override;

private:
    SAudioDeviceBlock fBlock;
};

}  // namespace NSQuillet
