#include "platform/sndkits/SndFileEncoder.h"

#include <utility>

#include "platform/sndkits/AiffLoopChunks.h"
#include "platform/sndkits/SoundKitStatus.h"

namespace NSSoundKits::NSSoundKitsDetails {

CSndFileEncoder::CSndFileEncoder(std::unique_ptr<CSndFileVirtualFile> file, SNDFILE* sound, int64_t frames,
                                 bool aiffLoop, uint32_t loopStart, uint32_t loopEnd)
    : fFile(std::move(file)),
      fSound(sound),
      fFrames(frames),
      fFailure(kSoundKitSuccess),
      fAiffLoop(aiffLoop),
      fLoopStart(loopStart),
      fLoopEnd(loopEnd) {}

uint32_t CSndFileEncoder::WriteFrames(int64_t frames, const int32_t* interleaved) {
    if (frames < 0 || (frames > 0 && !interleaved)) return kSoundKitBadArgument;
    if (frames > fFrames - fFramesWritten) return kSoundKitWrongState;
    if (fFailure != kSoundKitSuccess) return fFailure;
    if (frames == 0) return kSoundKitSuccess;
    const sf_count_t written = sf_writef_int(fSound, interleaved, frames);
    if (written > 0) fFramesWritten += written;
    if (written != frames) {
        fFailure = fFile->GetFailure() != kSoundKitSuccess ? fFile->GetFailure() : kSoundKitWriteFailure;
        return fFailure;
    }
    return kSoundKitSuccess;
}

uint32_t CSndFileEncoder::Close() {
    // sf_close rewrites the header with the sizes of what was written.
    const int closed = sf_close(fSound);
    uint32_t status = fFailure;
    if (status == kSoundKitSuccess) status = fFile->GetFailure();
    if (status == kSoundKitSuccess && closed != 0) status = kSoundKitWriteFailure;
    if (status == kSoundKitSuccess && fFramesWritten != fFrames) status = kSoundKitWrongState;
    if (status == kSoundKitSuccess && fAiffLoop) status = AppendAiffLoopChunks(*fFile, fLoopStart, fLoopEnd);
    delete this;
    return status;
}

}  // namespace NSSoundKits::NSSoundKitsDetails
