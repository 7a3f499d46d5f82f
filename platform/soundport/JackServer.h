#pragma once

#include <cstdint>

namespace NSSoundPortKit2::NSSoundPortKitDetails {

// The running JACK server's rate and buffer size, asked by a client of its own that never
// starts a server. False, with nothing written, when no server runs. User-interface thread;
// answers within JACK's client time-out.
bool ReadJackServerSettings(uint32_t* rate, int32_t* bufferFrames);

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
