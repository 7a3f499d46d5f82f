#include "platform/sndkits/SndFileDecoder.h"

#include <utility>

#include "platform/sndkits/SoundKitStatus.h"

namespace NSSoundKits::NSSoundKitsDetails {

CSndFileDecoder::CSndFileDecoder(std::unique_ptr<CSndFileVirtualFile> file, SNDFILE* sound,
                                 const SAudioFileFormat& format)
    : fFile(std::move(file)), fSound(sound), fFormat(format) {}

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

uint32_t CSndFileDecoder::Close() {
    delete this;
    return kSoundKitSuccess;
}

}  // namespace NSSoundKits::NSSoundKitsDetails
