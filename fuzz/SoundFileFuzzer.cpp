// Opens the input as a sound file: the media checks, the header through the sound-file
// libraries, then the audio into a wave sample, once converted directly and once through the
// library's values. A crash, a leak, a hang, a failure outside std::exception or a difference
// between the two readings (sample or failure) is a bug.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "engine/WaveSample.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/soundfile/SoundFileReader.h"

namespace {

using NSQuillet::CSoundFileReader;

// Headers may claim any length; beyond this the harness alone refuses, to keep memory bounded.
constexpr int64_t kMaxFrames = int64_t(1) << 22;

struct SReading {
    std::unique_ptr<NSQuillet::CABCWaveSample> fSample;
    std::string fFailure;
};

SReading Read(const uint8_t* data, size_t size, CSoundFileReader::EPcmReading pcmReading, bool& skipped) {
    SReading reading;
    NSQuillet::COwnedMemoryMedia media(size, data);
    try {
        CSoundFileReader reader(media, pcmReading);
        const NSQuillet::SSoundFileInfo info = reader.ReadInfo();
        if (info.fFrames > kMaxFrames) {
            skipped = true;
            return reading;
        }
        reading.fSample = reader.ReadWaveSample(nullptr);
    } catch (const std::exception& failure) {
        reading.fFailure = failure.what();
    }
    return reading;
}

bool Same(const NSQuillet::CABCWaveSample& a, const NSQuillet::CABCWaveSample& b) {
    if (a.GetFrameCount() != b.GetFrameCount() || a.GetChannelCount() != b.GetChannelCount() ||
        a.GetBitDepth() != b.GetBitDepth() || a.GetSampleRate() != b.GetSampleRate())
        return false;
    for (int32_t c = 1; c <= a.GetChannelCount(); ++c) {
        for (int32_t f = 0; f < a.GetFrameCount(); ++f) {
            if (a.Get24(f, c) != b.Get24(f, c)) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bool skipped = false;
    const SReading direct = Read(data, size, CSoundFileReader::EPcmReading::kDirect, skipped);
    if (skipped) return 0;
    const SReading library = Read(data, size, CSoundFileReader::EPcmReading::kLibrary, skipped);
    if (direct.fFailure != library.fFailure || !direct.fSample != !library.fSample) std::abort();
    if (direct.fSample && !Same(*direct.fSample, *library.fSample)) std::abort();
    return 0;
}
