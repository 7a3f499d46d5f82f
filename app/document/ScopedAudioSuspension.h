#pragma once

namespace NSQuillet {

class IAudioSuspender;

// Keeps the audio output paused for its lifetime. Construction suspends: a failure propagates
// and nothing is paused. Destruction resumes: a failure then is reported as a diagnostic, since
// the exchange it guarded stands (and, when the scope ends by a failure, that failure goes on).
// User-interface thread.
class CScopedAudioSuspension {
public:
    // Null: no audio output to pause. Not owned.
    explicit CScopedAudioSuspension(IAudioSuspender* suspender);
    ~CScopedAudioSuspension();
    CScopedAudioSuspension(const CScopedAudioSuspension&) = delete;
    CScopedAudioSuspension& operator=(const CScopedAudioSuspension&) = delete;

private:
    IAudioSuspender* fSuspender;
};

}  // namespace NSQuillet
