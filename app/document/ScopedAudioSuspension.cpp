#include "app/document/ScopedAudioSuspension.h"

#include "app/document/AudioSuspender.h"
#include "foundation/Diagnostics.h"

namespace NSQuillet {

CScopedAudioSuspension::CScopedAudioSuspension(IAudioSuspender* suspender) : fSuspender(suspender) {
    if (fSuspender) fSuspender->Suspend();
}

CScopedAudioSuspension::~CScopedAudioSuspension() {
    if (fSuspender) NSMishap::RunReportingFailure("resuming the audio output", [this] { fSuspender->Resume(); });
}

}  // namespace NSQuillet
