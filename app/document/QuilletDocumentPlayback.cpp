// The document's playback: its play and locate operations, its place at the audio output and
// what the views and meters read of it.
#include <vector>

#include "app/document/DocumentListener.h"
#include "app/document/QuilletDocument.h"
#include "engine/AudioCardManager.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/Diagnostics.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

void CQuilletDocument::RegisterWithAudioOutput() {
    if (!fAudioCardManager) return;
    fOutputWorking = fAudioCardManager->IsOutputWorking();
    fAudioCardManager->AddListener(this);
}

CQuilletDocument::~CQuilletDocument() {
    // Nobody is told of the stop below: the document is going.
    fListeners.clear();
    if (fAudioCardManager) fAudioCardManager->RemoveListener(this);
    // The wave player must not keep rendering the sequencer embedded here.
    if (fPlayerHasSequencer)
        NSMishap::RunReportingFailure("stopping the playback of a closing document", [this] { fWavePlayer->Stop(); });
}

bool CQuilletDocument::CanPlay() const {
    return fAudioCardManager && fAudioCardManager->IsOutputWorking() && fWaveSample->GetFrameCount() > 0;
}

template <class TRequest>
void CQuilletDocument::Play(uint32_t mode, TRequest&& request, int64_t outputFrames) {
    if (!CanPlay()) return;
    // A limited playback of this sequencer that reached its end is ended first: ending it
    // resets the sequencer, which must not take the new request with it.
    if (fPlayerHasSequencer && fWavePlayer->GetMode() == CWavePlayer::kFinished) fWavePlayer->Stop();
    request();
    // A play list without the entry asked for: nothing to play.
    if (!fSequencer.IsPlaying()) return;
    bool playing = false;
    fStartingPlayback = true;
    try {
        playing = fWavePlayer->PlaySequencer(&fSequencer, this, outputFrames);
    } catch (...) {
        fStartingPlayback = false;
        throw;
    }
    fStartingPlayback = false;
    if (!playing) {
        // Nothing renders the sequencer: withdraw the request.
        fSequencer.ResetPlayback();
        return;
    }
    fPlayMode = mode;
    TellPlaybackListeners();
}

void CQuilletDocument::PlayLoop(int64_t outputFrames) {
    Play(kPlayMode_Loop, [this] { fSequencer.PlayLoop(); }, outputFrames);
}

void CQuilletDocument::PlayCurrentSlice() {
    Play(kPlayMode_CurrentSlice, [this] { fSequencer.PlaySliceAt(fSequencer.GetPosition()); });
}

void CQuilletDocument::PlaySliceAt(int32_t frame) {
    if (frame < 0 || frame >= fWaveSample->GetFrameCount()) return;
    Play(kPlayMode_ChosenSlice, [&] { fSequencer.PlaySliceAt(frame); });
}

void CQuilletDocument::PlayPreviousSlice() {
    Play(kPlayMode_PreviousSlice, [this] { fSequencer.PlayPreviousSlice(); });
}

void CQuilletDocument::PlayCurrentSliceAndMoveToNext() {
    Play(kPlayMode_CurrentSliceAndMoveToNext, [this] { fSequencer.PlayCurrentSliceAndMoveToNext(); });
}

void CQuilletDocument::StopOrRewind() {
    if (fPlayerHasSequencer) {
        // Its "stopped" sets the play mode and tells the listeners.
        fWavePlayer->Stop();
        return;
    }
    fSequencer.StopOrRewind();
    fPlayMode = kPlayMode_Stopped;
    TellPlaybackListeners();
}

void CQuilletDocument::SetPlayPosition(int32_t frame) {
    fSequencer.SetPosition(frame);
    TellPlaybackListeners();
}

void CQuilletDocument::MoveToNextSlice() {
    fSequencer.MoveToNextSlice();
    TellPlaybackListeners();
}

void CQuilletDocument::MoveToPreviousSlice() {
    fSequencer.MoveToPreviousSlice();
    TellPlaybackListeners();
}

int32_t CQuilletDocument::GetCurrentSlice() const {
    const int32_t position = GetPlayPosition();
    const std::vector<CSlice>& slices = fSliceSequence->GetSlices();
    int32_t current = -1;
    for (int32_t index = 0; index < int32_t(slices.size()); ++index) {
        if (slices[size_t(index)].GetPosition() > position) break;
        if (fSliceSequence->IsSliceActive(slices[size_t(index)])) current = index;
    }
    return current;
}

void CQuilletDocument::AudioCardChanged(CAudioCardManager& manager) {
    const uint32_t rate = ClampSampleRate(manager.GetOutputRate());
    if (rate != fSequencer.GetOutputRate()) {
        // The manager stops the playback before a rate change; the sequencer changes its rate
        // only while nothing renders it.
        if (fPlayerHasSequencer) fWavePlayer->Stop();
        fSequencer.SetOutputRate(rate);
    }
    const bool working = manager.IsOutputWorking();
    if (working == fOutputWorking) return;
    fOutputWorking = working;
    TellPlaybackListeners();
}

void CQuilletDocument::WavePlayerStarted() { fPlayerHasSequencer = true; }

void CQuilletDocument::WavePlayerStopped() {
    fPlayerHasSequencer = false;
    if (fStartingPlayback) return;
    fPlayMode = kPlayMode_Stopped;
    TellPlaybackListeners();
}

void CQuilletDocument::TellPlaybackListeners() {
    // A copy: a listener may remove itself while it is told.
    const std::vector<IDocumentListener*> listeners = fListeners;
    for (IDocumentListener* listener : listeners)
        NSMishap::RunReportingFailure("notifying a document listener", [&] { listener->OnPlaybackStateChanged(); });
}

}  // namespace NSQuillet
