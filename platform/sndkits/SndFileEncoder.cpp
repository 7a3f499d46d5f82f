#include "platform/sndkits/SndFileEncoder.h"

#include <utility>

#include "platform/sndkits/AiffLoopChunks.h"
#include "platform/sndkits/SoundKitStatus.h"

namespace NSSoundKits::NSSoundKitsDetails {

CSndFileEncoder::CSndFileEncoder(std::unique_ptr<CSndFileVirtualFile> file, SNDFILE* sound, int64_t frames,
                                 bool aiffLoop, uint32_t loopStart, uint32_t loopEnd, int32_t frameBytes)
    : fFile(std::move(file)),
      fSound(sound),
      fFrames(frames),
      fFailure(kSoundKitSuccess),
      fAiffLoop(aiffLoop),
      fLoopStart(loopStart),
      fLoopEnd(loopEnd),
      fFrameBytes(frameBytes) {}

uint32_t CSndFileEncoder::CheckWrite(int64_t frames, const void* source) const {
    if (frames < 0 || (frames > 0 && !source)) return kSoundKitBadArgument;
    if (frames > fFrames - fFramesWritten) return kSoundKitWrongState;
    return fFailure;
}

uint32_t CSndFileEncoder::Account(int64_t frames, int64_t written) {
    if (written > 0) fFramesWritten += written;
    if (written != frames) {
        fFailure = fFile->GetFailure() != kSoundKitSuccess ? fFile->GetFailure() : kSoundKitWriteFailure;
        return fFailure;
    }
    return kSoundKitSuccess;
}

uint32_t CSndFileEncoder::WriteFrames(int64_t frames, const int32_t* interleaved) {
    const uint32_t status = CheckWrite(frames, interleaved);
    if (status != kSoundKitSuccess || frames == 0) return status;
    return Account(frames, sf_writef_int(fSound, interleaved, frames));
}

// libsndfile counts raw bytes as data like converted ones, so the header it completes on close
// is the same; the bytes go to the virtual file in one write.
uint32_t CSndFileEncoder::WriteRawFrames(int64_t frames, const void* bytes) {
    const uint32_t status = CheckWrite(frames, bytes);
    if (status != kSoundKitSuccess || frames == 0) return status;
    const sf_count_t written = sf_write_raw(fSound, bytes, frames * fFrameBytes);
    return Account(frames, written > 0 ? written / fFrameBytes : written);
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
