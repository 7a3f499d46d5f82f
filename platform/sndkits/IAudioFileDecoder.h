#pragma once

#include <cstdint>

namespace NSSoundKits {

// The format of a file as its header states it, known before any audio is read.
struct SAudioFileFormat {
    int32_t fChannels = 0;
    // 8, 16, 24 or 32 for PCM; 32 for float and 64 for double samples.
    int32_t fBitDepth = 0;
    int32_t fSampleRate = 0;  // frames per second
    int64_t fFrames = 0;
    bool fFloat = false;      // IEEE float or double samples
    bool fUnsigned = false;   // 8-bit samples stored with an offset of 128
};

// Where the values of a 16- or 24-bit PCM file lie: frame 0 starts at byte fOffset, then
// frames follow packed (fBitDepth / 8 bytes a value, channels interleaved) in the byte order
// fBigEndian says.
struct SPcmLayout {
    int64_t fOffset = 0;
    bool fBigEndian = false;
};

// A file open for reading. Owned by whoever opened it until Close, which always destroys it.
class IAudioFileDecoder {
public:
    virtual uint32_t GetFormat(SAudioFileFormat* format) = 0;

    // Reads the next `frames` frames into `interleaved` (frames x channels entries), each value
    // left-justified in 32 bits: a sample of depth d is its value << (32 - d); unsigned 8-bit
    // samples come re-centred (0x80 reads 0). `framesRead` gets the frames stored. Asking
    // beyond the header's frame count reads what is left; audio that ends before the header's
    // frame count is kSoundKitTruncated.
    virtual uint32_t ReadFrames(int64_t frames, int32_t* interleaved, int64_t* framesRead) = 0;

    // The layout of the values for a reader that converts the bytes itself;
    // kSoundKitUnsupportedEncoding for anything but packed 16- or 24-bit PCM. Call it before
    // ReadFrames.
    virtual uint32_t GetPcmLayout(SPcmLayout* layout) = 0;

    virtual uint32_t Close() = 0;

protected:
    ~IAudioFileDecoder() = default;
};

}  // namespace NSSoundKits
