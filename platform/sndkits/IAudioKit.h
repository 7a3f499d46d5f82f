#pragma once

#include <cstdint>

#include "foundation/ByteReader.h"
#include "foundation/ByteWriter.h"
#include "platform/sndkits/IAudioFileDecoder.h"
#include "platform/sndkits/IAudioFileEncoder.h"

namespace NSSoundKits {

// What an encoder is asked to write: PCM at 16 or 24 bits.
struct SAudioEncoding {
    int32_t fChannels = 0;    // 1..64
    int32_t fSampleRate = 0;  // frames per second, above 0
    int32_t fBitDepth = 0;    // 16 or 24
    int64_t fFrames = 0;      // exactly this many frames must be written before Close
    bool fHasLoop = false;
    int64_t fLoopStart = 0;   // first frame of a forward loop
    int64_t fLoopEnd = 0;     // frame after its last; 0 <= start < end <= frames
};

// One sound-file library: RiffAudioKit codes WAVE, AppleAudioKit AIFF. Process-wide, never
// deleted. One thread at a time per decoder or encoder; every call may block on the byte
// reader or writer. `status` must not be null; on failure the result is null.
class IAudioKit {
public:
    // Reads the header of the `size` bytes `reader` holds, from position 0; the reader must
    // outlive the decoder. Never asks the reader for bytes beyond `size`. A file of another
    // container is kSoundKitFormatError, one with compressed samples kSoundKitUnsupportedEncoding,
    // a null reader the library's "not open" status.
    virtual IAudioFileDecoder* OpenForReading(NSMishap::IByteReader* reader, int64_t size, uint32_t* status) = 0;

    // Starts a file at position 0 of `writer`, which should hold nothing yet (bytes beyond
    // what is written stay) and must outlive the encoder. An encoding out of range is
    // kSoundKitBadArgument, a null writer the library's "not open" status.
    virtual IAudioFileEncoder* CreateForWriting(NSMishap::IByteWriter* writer, const SAudioEncoding& encoding,
                                                uint32_t* status) = 0;

protected:
    ~IAudioKit() = default;
};

}  // namespace NSSoundKits
