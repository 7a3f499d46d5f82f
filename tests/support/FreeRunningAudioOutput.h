#pragma once

#include "app/document/QuilletDocument.h"
#include "engine/AudioCardManager.h"
#include "engine/WavePlayer.h"
#include "tests/support/DriverSettings.h"

namespace NSQuilletTest {

// An audio output of a test's own: an audio-card manager and a wave player on a Null Output
// that calls back without waiting, so that what plays ends soon. Documents playing through it
// go before it does.
struct SFreeRunningAudioOutput {
    NSQuillet::CAudioCardManager fManager;
    NSQuillet::CWavePlayer fPlayer{fManager};

    SFreeRunningAudioOutput() {
        fManager.GetRenderer().SetSource(&fPlayer);
        fManager.ChooseNullOutput(FreeRunning(), DriverSettings(44100, 256));
    }
    ~SFreeRunningAudioOutput() {
        fPlayer.Stop();
        fManager.CloseOutput();
    }
    SFreeRunningAudioOutput(const SFreeRunningAudioOutput&) = delete;
    SFreeRunningAudioOutput& operator=(const SFreeRunningAudioOutput&) = delete;

    // What a document playing through this output takes.
    NSQuillet::SDocumentSettings Settings() {
        NSQuillet::SDocumentSettings settings;
        settings.fAudioCardManager = &fManager;
        settings.fWavePlayer = &fPlayer;
        return settings;
    }
};

}  // namespace NSQuilletTest
