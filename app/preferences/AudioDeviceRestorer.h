#pragma once

#include "app/preferences/AudioDeviceBlock.h"

namespace NSQuillet {

// The audio-card side of reading the preferences: re-creates the device a stored block names.
// User-interface thread; may block while the device opens.
class IAudioDeviceRestorer {
public:
    // A block of a version the library cannot read is an XUnsupportedFormat "incompatible
    // driver spec version"; one it cannot re-create a failure "couldn't recreate driver from
    // blob". After a failure the standard device is the restorer's to start.
    virtual void RestoreAudioDevice(const SAudioDeviceBlock& block) = 0;

protected:
    ~IAudioDeviceRestorer() = default;
};

}  // namespace NSQuillet
