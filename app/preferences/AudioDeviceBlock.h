#pragma once

#include <cstdint>
#include <vector>

#include "formats/lux2/Version.h"

namespace NSQuillet {

// The chosen audio device as the audio-card library stores it: its block of bytes, opaque to
// the preferences, and the block's version. Empty until a device has been stored.
struct SAudioDeviceBlock {
    // What the preferences file carries while no device has been stored.
    static CVersion DefaultVersion() { return CVersion(1, 0); }

    CVersion fVersion = DefaultVersion();
    std::vector<uint8_t> fBytes;

    bool IsEmpty() const { return fBytes.empty(); }

    // The versions compare in all six numbers: a block is stored as it was given.
    friend bool operator==(const SAudioDeviceBlock& a, const SAudioDeviceBlock& b) {
        return a.fVersion == b.fVersion && a.fVersion.GetSixth() == b.fVersion.GetSixth() && a.fBytes == b.fBytes;
    }
    friend bool operator!=(const SAudioDeviceBlock& a, const SAudioDeviceBlock& b) { return !(a == b); }
};

}  // namespace NSQuillet
