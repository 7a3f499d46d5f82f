#include "app/playback/PlaybackToEnd.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"
#include "engine/AudioCardManager.h"
#include "engine/SliceSequence.h"
#include "engine/WavePlayer.h"
#include "engine/WaveSample.h"
#include "foundation/FailureCode.h"
#include "foundation/Mishap.h"
#include "foundation/SampleRate.h"
#include "foundation/TargetObjectType.h"
#include "platform/soundport/SoundPortClient.h"

namespace NSQuillet {

namespace {

// Often enough for the end of a play to be noticed at once; everything polled is lock-free, so
// the audio thread never waits for it.
constexpr auto kPollInterval = std::chrono::milliseconds(5);

[[noreturn]] void ThrowDriverStopped(const CAudioCardManager& manager) {
    try {
        NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError_NotReady, "the audio driver stopped working",
                               NSMishap::kTargetObjectType_AudioDriver);
    } catch (const NSMishap::XNotReady& failure) {
        failure.AddProperty(kProperty_AudioOutputProblem, GetAudioOutputProblemName(EAudioOutputProblem::kDriverStopped));
        failure.AddProperty(NSSoundPortKitUtils::kProperty_AudioDeviceName, manager.GetProblemDeviceName());
        throw;
    }
}

int32_t Permille(double done, double total) {
    if (total <= 0.0) return 0;
    return int32_t(std::clamp(done * 1000.0 / total, 0.0, 1000.0));
}

// Waits until the wave player has ended what it plays. `progressOf` turns the frames it has
// played into the progress; `stop` ends the playback when the user asks.
void WaitForEnd(CAudioCardManager& manager, CWavePlayer& player, IProgressReporter* progress,
                const std::function<int32_t(int64_t)>& progressOf, const std::function<void()>& stop) {
    for (;;) {
        player.Idle();
        if (!player.IsPlaying()) return;
        if (manager.Idle() == EAudioOutputProblem::kDriverStopped) ThrowDriverStopped(manager);
        if (progress) {
            progress->Progress(progressOf(player.GetPlayedFrames()));
            if (progress->IsStopRequested()) {
                stop();
                ThrowIfStopRequested(*progress);
            }
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

}  // namespace

EPlaybackKind ChoosePlaybackKind(const CQuilletDocument& document, const SPlaybackRun& run) {
    if (run.fSlice) return EPlaybackKind::kSlice;
    return document.GetSequencer().IsLoopLengthSet() ? EPlaybackKind::kLoop : EPlaybackKind::kStraight;
}

void PlayToEnd(CQuilletDocument& document, CAudioCardManager& manager, CWavePlayer& player, const SPlaybackRun& run,
               IProgressReporter* progress) {
    if (run.fRepeat < 1) throw NSMishap::XStdInvalidArgument("a playback plays at least once");
    const std::vector<CSlice>& slices = document.GetSliceSequence().GetSlices();
    if (run.fSlice && (*run.fSlice < 0 || *run.fSlice >= int32_t(slices.size())))
        throw NSMishap::XStdInvalidArgument("no such slice");
    if (!document.CanPlay() || !manager.IsOutputWorking())
        throw NSMishap::XIllegalCallSequence("the audio output does not work");

    const auto stopDocument = [&] { document.StopOrRewind(); };
    const double repeat = double(run.fRepeat);
    switch (ChoosePlaybackKind(document, run)) {
        case EPlaybackKind::kLoop: {
            const CQuilletSequencer& sequencer = document.GetSequencer();
            const int64_t frames = sequencer.SampleFramesToOutputFrames(sequencer.GetLoopFrames()) * run.fRepeat;
            document.PlayLoop(frames);
            WaitForEnd(manager, player, progress, [&](int64_t played) { return Permille(double(played), double(frames)); },
                       stopDocument);
            return;
        }
        case EPlaybackKind::kSlice: {
            const int32_t start = slices[size_t(*run.fSlice)].GetPosition();
            for (int64_t play = 0; play < run.fRepeat; ++play) {
                document.PlaySliceAt(start);
                WaitForEnd(manager, player, progress, [&](int64_t) { return Permille(double(play), repeat); },
                           stopDocument);
            }
            return;
        }
        case EPlaybackKind::kStraight: {
            const CABCWaveSample& sample = document.GetWaveSample();
            // The output frames one play lasts, for the progress.
            const double length = double(sample.GetFrameCount()) * ClampSampleRate(manager.GetOutputRate()) /
                                  ClampSampleRate(sample.GetSampleRate());
            for (int64_t play = 0; play < run.fRepeat; ++play) {
                if (!player.PlaySample(&sample, nullptr))
                    throw NSMishap::XIllegalCallSequence("the audio output does not work");
                WaitForEnd(manager, player, progress,
                           [&](int64_t played) { return Permille(double(play) * length + double(played), repeat * length); },
                           [&] { player.Stop(); });
            }
            return;
        }
    }
}

void PlayToEnd(CQuilletDocument& document, CAudioCardManager& manager, CWavePlayer& player, const SPlaybackRun& run) {
    int32_t text = NSStringIds::kProgress_PlayingSound;
    switch (ChoosePlaybackKind(document, run)) {
        case EPlaybackKind::kLoop: text = NSStringIds::kProgress_PlayingLoop; break;
        case EPlaybackKind::kSlice: text = NSStringIds::kProgress_PlayingSlice; break;
        case EPlaybackKind::kStraight: break;
    }
    CQuilletLengthyOperation playing(StringReference(NSStringIds::kOperation_Play).GetText());
    playing.SetText(StringReference(text).GetText());
    PlayToEnd(document, manager, player, run, &playing);
}

}  // namespace NSQuillet
