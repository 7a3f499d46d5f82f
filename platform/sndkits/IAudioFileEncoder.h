#pragma once

#include <cstdint>

namespace NSSoundKits {

// A file being written. Owned by whoever created it until Close, which always destroys it.
class IAudioFileEncoder {
public:
    // Appends `frames` frames from `interleaved` (frames x channels entries), left-justified
    // in 32 bits as the decoder delivers them; the bits below the depth are dropped. More
    // frames than declared is kSoundKitWrongState and writes nothing.
    virtual uint32_t WriteFrames(int64_t frames, const int32_t* interleaved) = 0;

    // Appends `frames` frames already in the file's own sample layout: interleaved, each sample
    // in the declared depth's bytes, little-endian for WAVE and big-endian for AIFF. The file
    // ends byte for byte as WriteFrames would leave it; the same states and failures.
    virtual uint32_t WriteRawFrames(int64_t frames, const void* bytes) = 0;

    // Completes the header. Fewer frames than declared is kSoundKitWrongState (the file is
    // still closed, with the frames written so far).
    virtual uint32_t Close() = 0;

protected:
    ~IAudioFileEncoder() = default;
};

}  // namespace NSSoundKits
