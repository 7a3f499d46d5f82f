// Opens the input as a sound file: the media checks, the header through the sound-file
// libraries, then the audio into a wave sample. A crash, a leak, a hang or a failure outside
// std::exception is a bug.

#include <cstddef>
#include <cstdint>
#include <exception>

#include "formats/media/OwnedMemoryMedia.h"
#include "formats/soundfile/SoundFileReader.h"

namespace {

// Headers may claim any length; beyond this the harness alone refuses, to keep memory bounded.
constexpr int64_t kMaxFrames = int64_t(1) << 22;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NSQuillet::COwnedMemoryMedia media(size, data);
    try {
        NSQuillet::CSoundFileReader reader(media);
        const NSQuillet::SSoundFileInfo info = reader.ReadInfo();
        if (info.fFrames > kMaxFrames) return 0;
        reader.ReadWaveSample(nullptr);
    } catch (const std::exception&) {
    }
    return 0;
}
