#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "engine/AudioCardManager.h"
#include "engine/AudioRenderer.h"
#include "engine/WavePlayer.h"
#include "tests/support/ScriptedSoundPortKit.h"

namespace NSQuilletTest {

// An audio output whose card never calls back: the test plays the audio thread itself and
// renders piece by piece, so it knows exactly which piece a change on the user-interface side
// came before. Documents playing through it go before it does, after Close.
struct SSteppedAudioOutput {
    static constexpr int32_t kPieceFrames = NSQuillet::CAudioRenderer::kPieceFrames;

    CScriptedKit fKit;
    NSQuillet::CAudioCardManager fManager{&fKit};
    NSQuillet::CWavePlayer fPlayer{fManager};
    // Interleaved stereo, everything rendered so far.
    std::vector<float> fRecording;

    SSteppedAudioOutput() {
        fManager.GetRenderer().SetSource(&fPlayer);
        fManager.ChooseDevice("ALSA", "Server");
    }
    ~SSteppedAudioOutput() {
        Close();
        fPlayer.Stop();
    }
    // Ends the playback without waiting for a callback that never comes: the card's stream
    // counts as dead, so the player resets instead of asking the audio thread to stop. Called
    // before the documents playing through it go.
    void Close() {
        fKit.fStreamDied = true;
        fManager.CloseOutput();
    }
    SSteppedAudioOutput(const SSteppedAudioOutput&) = delete;
    SSteppedAudioOutput& operator=(const SSteppedAudioOutput&) = delete;

    NSQuillet::SDocumentSettings Settings() {
        NSQuillet::SDocumentSettings settings;
        settings.fAudioCardManager = &fManager;
        settings.fWavePlayer = &fPlayer;
        return settings;
    }

    // One device callback of `frames` frames, appended to the recording.
    void Render(int32_t frames) {
        std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
        std::array<float*, 2> channels{left.data(), right.data()};
        fManager.GetRenderer().Render(frames, channels.data(), 2);
        for (int32_t i = 0; i < frames; ++i) {
            fRecording.push_back(left[size_t(i)]);
            fRecording.push_back(right[size_t(i)]);
        }
    }
    void RenderPieces(int32_t pieces) {
        for (int32_t i = 0; i < pieces; ++i) Render(kPieceFrames);
    }
};

// The first frame from `from` on at which two interleaved stereo recordings differ; the shorter
// one's frame count when they agree throughout.
inline int64_t FirstDifferingFrame(const std::vector<float>& a, const std::vector<float>& b, int64_t from = 0) {
    const size_t samples = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = size_t(from) * 2; i < samples; ++i)
        if (a[i] != b[i]) return int64_t(i / 2);
    return int64_t(samples / 2);
}

}  // namespace NSQuilletTest
