#include "app/opening/SoundFileInfoCheck.h"

#include "foundation/Mishap.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

const CResourceReference* FindRefusal(const SSoundFileInfo& info) {
    if (info.fFloat || (info.fBitDepth != 8 && info.fBitDepth != 16 && info.fBitDepth != 24))
        return &kAlert_UnsupportedBitDepth;
    if (info.fChannels != 1 && info.fChannels != 2) return &kAlert_UnsupportedChannels;
    if (!IsSampleRateInRange(info.fSampleRate)) return &kAlert_UnsupportedSampleRate;
    return nullptr;
}

}  // namespace

void CheckSoundFileInfo(const SSoundFileInfo& info) {
    if (const CResourceReference* refusal = FindRefusal(info)) {
        ShowAlert(*refusal);
        throw NSMishap::XSilentAbort("invalid sound file info");
    }
}

void CheckSoundFileInfo(const SLoopFileInfo& info) {
    SSoundFileInfo checked;
    checked.fChannels = info.fChannelCount;
    checked.fBitDepth = info.fBitDepth;
    checked.fSampleRate = int32_t(info.fSampleRate > uint32_t(INT32_MAX) ? uint32_t(INT32_MAX) : info.fSampleRate);
    checked.fFrames = info.fFrameCount;
    CheckSoundFileInfo(checked);
}

}  // namespace NSQuillet
