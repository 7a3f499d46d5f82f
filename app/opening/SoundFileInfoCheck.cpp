#include "app/opening/SoundFileInfoCheck.h"

#include <cstdint>

#include "foundation/Mishap.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

const CResourceReference* AlertOf(ESoundFileInfoRefusal refusal) {
    switch (refusal) {
        case ESoundFileInfoRefusal::kBitDepth: return &kAlert_UnsupportedBitDepth;
        case ESoundFileInfoRefusal::kChannels: return &kAlert_UnsupportedChannels;
        case ESoundFileInfoRefusal::kSampleRate: return &kAlert_UnsupportedSampleRate;
        case ESoundFileInfoRefusal::kNone: break;
    }
    return nullptr;
}

}  // namespace

ESoundFileInfoRefusal FindSoundFileInfoRefusal(const SSoundFileInfo& info) {
    if (info.fFloat || (info.fBitDepth != 8 && info.fBitDepth != 16 && info.fBitDepth != 24))
        return ESoundFileInfoRefusal::kBitDepth;
    if (info.fChannels != 1 && info.fChannels != 2) return ESoundFileInfoRefusal::kChannels;
    if (!IsSampleRateInRange(info.fSampleRate)) return ESoundFileInfoRefusal::kSampleRate;
    return ESoundFileInfoRefusal::kNone;
}

SSoundFileInfo SoundFileInfoOf(const SLoopFileInfo& info) {
    SSoundFileInfo converted;
    converted.fChannels = info.fChannelCount;
    converted.fBitDepth = info.fBitDepth;
    converted.fSampleRate = int32_t(info.fSampleRate > uint32_t(INT32_MAX) ? uint32_t(INT32_MAX) : info.fSampleRate);
    converted.fFrames = info.fFrameCount;
    return converted;
}

void CheckSoundFileInfo(const SSoundFileInfo& info) {
    if (const CResourceReference* refusal = AlertOf(FindSoundFileInfoRefusal(info))) {
        ShowAlert(*refusal);
        throw NSMishap::XSilentAbort("invalid sound file info");
    }
}

void CheckSoundFileInfo(const SLoopFileInfo& info) { CheckSoundFileInfo(SoundFileInfoOf(info)); }

}  // namespace NSQuillet
