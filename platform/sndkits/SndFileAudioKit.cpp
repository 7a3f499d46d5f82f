#include "platform/sndkits/SndFileAudioKit.h"

#include <sndfile.h>

#include <cstring>
#include <memory>
#include <new>

#include "platform/sndkits/AudioKit.h"
#include "platform/sndkits/SndFileDecoder.h"
#include "platform/sndkits/SndFileEncoder.h"
#include "platform/sndkits/SndFileVirtualFile.h"
#include "platform/sndkits/SoundKitStatus.h"

namespace NSSoundKits::NSSoundKitsDetails {

namespace {

constexpr int32_t kMaxChannels = 64;

bool IsContainer(int format, CSndFileAudioKit::EContainer container) {
    const int type = format & SF_FORMAT_TYPEMASK;
    if (container == CSndFileAudioKit::EContainer::kWave) return type == SF_FORMAT_WAV || type == SF_FORMAT_WAVEX;
    return type == SF_FORMAT_AIFF;
}

// Fills the depth and flags of a PCM or float encoding; false for any other.
bool DescribeEncoding(int format, SAudioFileFormat& out) {
    switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_S8: out.fBitDepth = 8; return true;
        case SF_FORMAT_PCM_U8: out.fBitDepth = 8; out.fUnsigned = true; return true;
        case SF_FORMAT_PCM_16: out.fBitDepth = 16; return true;
        case SF_FORMAT_PCM_24: out.fBitDepth = 24; return true;
        case SF_FORMAT_PCM_32: out.fBitDepth = 32; return true;
        case SF_FORMAT_FLOAT: out.fBitDepth = 32; out.fFloat = true; return true;
        case SF_FORMAT_DOUBLE: out.fBitDepth = 64; out.fFloat = true; return true;
        default: return false;
    }
}

uint32_t StatusForOpenError(int error, const CSndFileVirtualFile& file) {
    if (file.GetFailure() != kSoundKitSuccess) return file.GetFailure();
    switch (error) {
        case SF_ERR_UNSUPPORTED_ENCODING: return kSoundKitUnsupportedEncoding;
        case SF_ERR_SYSTEM: return kSoundKitReadFailure;
        default: return kSoundKitFormatError;
    }
}

}  // namespace

IAudioFileDecoder* CSndFileAudioKit::OpenForReading(NSMishap::IByteReader* reader, int64_t size, uint32_t* status) {
    if (!status) return nullptr;
    if (!reader) {
        *status = fNotOpenStatus;
        return nullptr;
    }
    if (size < 0) {
        *status = kSoundKitBadArgument;
        return nullptr;
    }
    try {
        auto file = std::make_unique<CSndFileVirtualFile>(reader, size);
        SF_INFO info;
        std::memset(&info, 0, sizeof info);
        SNDFILE* sound = sf_open_virtual(CSndFileVirtualFile::GetCallbacks(), SFM_READ, &info, file.get());
        if (!sound) {
            *status = StatusForOpenError(sf_error(nullptr), *file);
            return nullptr;
        }
        SAudioFileFormat format;
        format.fChannels = info.channels;
        format.fSampleRate = info.samplerate;
        format.fFrames = info.frames;
        uint32_t refusal = kSoundKitSuccess;
        if (!IsContainer(info.format, fContainer) || info.channels < 1) {
            refusal = kSoundKitFormatError;
        } else if (!DescribeEncoding(info.format, format)) {
            refusal = kSoundKitUnsupportedEncoding;
        }
        if (refusal != kSoundKitSuccess) {
            sf_close(sound);
            *status = refusal;
            return nullptr;
        }
        IAudioFileDecoder* decoder = nullptr;
        try {
            decoder = new CSndFileDecoder(std::move(file), sound, format, info.format);
        } catch (const std::bad_alloc&) {
            sf_close(sound);
            throw;
        }
        *status = kSoundKitSuccess;
        return decoder;
    } catch (const std::bad_alloc&) {
        *status = kSoundKitOutOfMemory;
        return nullptr;
    }
}

IAudioFileEncoder* CSndFileAudioKit::CreateForWriting(NSMishap::IByteWriter* writer, const SAudioEncoding& encoding,
                                                      uint32_t* status) {
    if (!status) return nullptr;
    if (!writer) {
        *status = fNotOpenStatus;
        return nullptr;
    }
    const bool loopValid = !encoding.fHasLoop || (encoding.fLoopStart >= 0 && encoding.fLoopStart < encoding.fLoopEnd &&
                                                  encoding.fLoopEnd <= encoding.fFrames &&
                                                  encoding.fLoopEnd <= int64_t(UINT32_MAX));
    if (encoding.fChannels < 1 || encoding.fChannels > kMaxChannels || encoding.fSampleRate < 1 ||
        (encoding.fBitDepth != 16 && encoding.fBitDepth != 24) || encoding.fFrames < 0 || !loopValid) {
        *status = kSoundKitBadArgument;
        return nullptr;
    }
    int64_t existing = 0;
    const uint32_t sizeStatus = writer->GetSize(&existing);
    if (sizeStatus != kSoundKitSuccess) {
        *status = sizeStatus;
        return nullptr;
    }
    try {
        auto file = std::make_unique<CSndFileVirtualFile>(writer, existing);
        SF_INFO info;
        std::memset(&info, 0, sizeof info);
        info.channels = encoding.fChannels;
        info.samplerate = encoding.fSampleRate;
        info.format = (fContainer == EContainer::kWave ? SF_FORMAT_WAV : SF_FORMAT_AIFF) |
                      (encoding.fBitDepth == 16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_24);
        SNDFILE* sound = sf_open_virtual(CSndFileVirtualFile::GetCallbacks(), SFM_WRITE, &info, file.get());
        if (!sound) {
            *status = file->GetFailure() != kSoundKitSuccess ? file->GetFailure() : kSoundKitWriteFailure;
            return nullptr;
        }
        // WAVE carries the loop in the 'smpl' chunk libsndfile writes; AIFF gets its own chunks at
        // the end (AiffLoopChunks.h).
        const bool aiffLoop = encoding.fHasLoop && fContainer == EContainer::kAiff;
        if (encoding.fHasLoop && fContainer == EContainer::kWave) {
            SF_INSTRUMENT instrument;
            std::memset(&instrument, 0, sizeof instrument);
            instrument.gain = 1;
            instrument.basenote = 60;
            instrument.velocity_lo = 1;
            instrument.velocity_hi = 127;
            instrument.key_lo = 0;
            instrument.key_hi = 127;
            instrument.loop_count = 1;
            instrument.loops[0].mode = SF_LOOP_FORWARD;
            instrument.loops[0].start = uint32_t(encoding.fLoopStart);
            // libsndfile stores end - 1, the last frame played, as 'smpl' wants.
            instrument.loops[0].end = uint32_t(encoding.fLoopEnd);
            instrument.loops[0].count = 0;
            if (sf_command(sound, SFC_SET_INSTRUMENT, &instrument, sizeof instrument) != SF_TRUE) {
                sf_close(sound);
                *status = kSoundKitWriteFailure;
                return nullptr;
            }
        }
        IAudioFileEncoder* encoder = nullptr;
        try {
            encoder = new CSndFileEncoder(std::move(file), sound, encoding.fFrames, aiffLoop,
                                          uint32_t(encoding.fLoopStart), uint32_t(encoding.fLoopEnd),
                                          encoding.fChannels * encoding.fBitDepth / 8);
        } catch (const std::bad_alloc&) {
            sf_close(sound);
            throw;
        }
        *status = kSoundKitSuccess;
        return encoder;
    } catch (const std::bad_alloc&) {
        *status = kSoundKitOutOfMemory;
        return nullptr;
    }
}

}  // namespace NSSoundKits::NSSoundKitsDetails

namespace {

using NSSoundKits::NSSoundKitsDetails::CSndFileAudioKit;

NSSoundKits::IAudioKit* CreateKit(CSndFileAudioKit& kit, const char* interfaceName, uint32_t* status) {
    if (!status) return nullptr;
    if (!interfaceName) {
        *status = NSSoundKits::kSoundKitBadArgument;
        return nullptr;
    }
    if (std::strcmp(interfaceName, "IAudioKit") != 0) {
        *status = NSSoundKits::kSoundKitUnknownInterface;
        return nullptr;
    }
    *status = NSSoundKits::kSoundKitSuccess;
    return &kit;
}

}  // namespace

NSSoundKits::IAudioKit* RiffAudioKit_Create(const char* interfaceName, uint32_t* status) {
    static CSndFileAudioKit kit(CSndFileAudioKit::EContainer::kWave, NSSoundKits::kRiffAudioKitNotOpen);
    return CreateKit(kit, interfaceName, status);
}

NSSoundKits::IAudioKit* AppleAudioKit_Create(const char* interfaceName, uint32_t* status) {
    static CSndFileAudioKit kit(CSndFileAudioKit::EContainer::kAiff, NSSoundKits::kAppleAudioKitNotOpen);
    return CreateKit(kit, interfaceName, status);
}
