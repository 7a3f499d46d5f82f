#include "platform/sndkits/SndFileDecoder.h"

#include <utility>

#include "platform/sndkits/SoundKitStatus.h"

namespace NSSoundKits::NSSoundKitsDetails {

CSndFileDecoder::CSndFileDecoder(std::unique_ptr<CSndFileVirtualFile> file, SNDFILE* sound,
                                 const SAudioFileFormat& format, int sndFileFormat)
    : fFile(std::move(file)), fSound(sound), fFormat(format), fSndFileFormat(sndFileFormat) {}

CSndFileDecoder::~CSndFileDecoder() { sf_close(fSound); }

uint32_t CSndFileDecoder::GetFormat(SAudioFileFormat* format) {
    if (!format) return kSoundKitBadArgument;
    *format = fFormat;
    return kSoundKitSuccess;
}

uint32_t CSndFileDecoder::ReadFrames(int64_t frames, int32_t* interleaved, int64_t* framesRead) {
    if (!framesRead || frames < 0 || (frames > 0 && !interleaved)) return kSoundKitBadArgument;
    *framesRead = 0;
    const int64_t left = fFormat.fFrames - fFramesRead;
    const int64_t wanted = frames < left ? frames : left;
    if (wanted <= 0) return kSoundKitSuccess;
    const sf_count_t got = sf_readf_int(fSound, interleaved, wanted);
    if (got > 0) {
        fFramesRead += got;
        *framesRead = got;
    }
    if (fFile->GetFailure() != kSoundKitSuccess) return fFile->GetFailure();
    if (got < wanted) return kSoundKitTruncated;
    return kSoundKitSuccess;
}

uint32_t CSndFileDecoder::GetPcmLayout(SPcmLayout* layout) {
    if (!layout) return kSoundKitBadArgument;
    const int encoding = fSndFileFormat & SF_FORMAT_SUBMASK;
    if (fFramesRead != 0 || (encoding != SF_FORMAT_PCM_16 && encoding != SF_FORMAT_PCM_24))
        return kSoundKitUnsupportedEncoding;
    // Seeking to frame 0 leaves the virtual file at the first byte of the audio.
    if (sf_seek(fSound, 0, SF_SEEK_SET) != 0) return kSoundKitUnsupportedEncoding;
    if (fFile->GetFailure() != kSoundKitSuccess) return fFile->GetFailure();
    layout->fOffset = fFile->GetPosition();
    // The raw bytes need swapping on this machine exactly when their order is not its own.
    const bool swapped = sf_command(fSound, SFC_RAW_DATA_NEEDS_ENDSWAP, nullptr, 0) == SF_TRUE;
    const uint16_t probe = 1;
    const bool hostLittle = *reinterpret_cast<const uint8_t*>(&probe) == 1;
    layout->fBigEndian = hostLittle == swapped;
    return kSoundKitSuccess;
}

uint32_t CSndFileDecoder::Close() {
    delete this;
    return kSoundKitSuccess;
}

}  // namespace NSSoundKits::NSSoundKitsDetails
