#include "engine/QuilletSequencer.h"

#include <algorithm>
#include <climits>
#include <chrono>
#include <thread>

#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/Mishap.h"
#include "foundation/MulDiv.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

constexpr int32_t kStopPollMilliseconds = 5;
constexpr int32_t kStopTimeoutMilliseconds = 4000;

bool operator!=(const CPlayList::SLoopRange& a, const CPlayList::SLoopRange& b) {
    return a.fLeft != b.fLeft || a.fRight != b.fRight;
}

}  // namespace

CQuilletSequencer::CQuilletSequencer(const CABCWaveSample* sample, const CSliceSequence* sequence,
                                     uint32_t outputRate)
    : fWaveSample(sample),
      fSliceSequence(sequence),
      fSampler(sample, outputRate),
      fEqualizer(ClampSampleRate(outputRate)),
      fPlayList(std::make_unique<CPlayList>()) {
    if (const int32_t original = GetOriginalTempoLocked()) fLoop.SetPreviewTempo(original);
    RebuildPlayListLocked();
    PlaceAtFirstEntryInsideLocked();
}

CQuilletSequencer::CQuilletSequencer(const CQuilletSequencer& other)
    : CQuilletSequencer(other, CMutexLock(other.fStateLock)) {}

CQuilletSequencer::CQuilletSequencer(const CQuilletSequencer& other, const CMutexLock&)
    : fWaveSample(other.fWaveSample),
      fSliceSequence(other.fSliceSequence),
      fLoop(other.fLoop),
      fSampler(other.fSampler),
      fEqualizer(other.fEqualizer),
      fPlayList(std::make_unique<CPlayList>(*other.fPlayList)) {}

CQuilletSequencer::~CQuilletSequencer() = default;

void CQuilletSequencer::SetSliceSequence(const CSliceSequence* sequence) {
    CMutexLock lock(fStateLock);
    fSliceSequence = sequence;
    RebuildPlayListLocked();
}

void CQuilletSequencer::SetLocators(CABCWaveSample& sample, int32_t left, int32_t right) {
    CMutexLock lock(fStateLock);
    if (&sample != fWaveSample) throw NSMishap::XStdInvalidArgument("locators of another wave sample");
    sample.SetLocators(sample.GetLoopKind(), left, right);
    RebuildPlayListLocked();
}

void CQuilletSequencer::SetWaveSample(const CABCWaveSample* sample) {
    CMutexLock lock(fStateLock);
    SetWaveSampleLocked(sample, fSliceSequence);
}

void CQuilletSequencer::SetWaveSample(const CABCWaveSample* sample, const CSliceSequence* sequence) {
    CMutexLock lock(fStateLock);
    SetWaveSampleLocked(sample, sequence);
}

void CQuilletSequencer::SetWaveSampleLocked(const CABCWaveSample* sample, const CSliceSequence* sequence) {
    // Voices hold positions in the old audio.
    fSampler.SilenceAllVoices();
    fTransport = kStopped;
    fRequest = kNoRequest;
    fScheduled = false;
    fWaveSample = sample;
    fSliceSequence = sequence;
    fSampler.SetWaveSample(sample);
    fPosition = 0;
    RebuildPlayListLocked();
    PlaceAtFirstEntryInsideLocked();
}

const CABCWaveSample* CQuilletSequencer::GetWaveSample() const {
    CMutexLock lock(fStateLock);
    return fWaveSample;
}

const CSliceSequence* CQuilletSequencer::GetSliceSequence() const {
    CMutexLock lock(fStateLock);
    return fSliceSequence;
}

CLoopSettings CQuilletSequencer::GetLoopSettings() const {
    CMutexLock lock(fStateLock);
    return fLoop;
}

void CQuilletSequencer::SetLoopSettings(const CLoopSettings& settings) {
    CMutexLock lock(fStateLock);
    fLoop = settings;
    RebuildPlayListLocked();
}

bool CQuilletSequencer::IsPreviewOn() const {
    CMutexLock lock(fStateLock);
    return fLoop.IsPreviewOn();
}

void CQuilletSequencer::SetPreviewOn(bool on) {
    CMutexLock lock(fStateLock);
    fLoop.SetPreviewOn(on);
    RebuildPlayListLocked();
}

bool CQuilletSequencer::IsSilenceSelected() const {
    CMutexLock lock(fStateLock);
    return fLoop.IsSilenceSelected();
}

void CQuilletSequencer::SetSilenceSelected(bool on) {
    CMutexLock lock(fStateLock);
    fLoop.SetSilenceSelected(on);
    RebuildPlayListLocked();
}

int32_t CQuilletSequencer::GetPreviewTempo() const {
    CMutexLock lock(fStateLock);
    return fLoop.GetPreviewTempo();
}

void CQuilletSequencer::SetPreviewTempo(int32_t tempo) {
    CMutexLock lock(fStateLock);
    fLoop.SetPreviewTempo(tempo);
}

int32_t CQuilletSequencer::GetTimeSignatureNumerator() const {
    CMutexLock lock(fStateLock);
    return fLoop.GetTimeSignatureNumerator();
}

void CQuilletSequencer::SetTimeSignatureNumerator(int32_t beatsPerBar) {
    CMutexLock lock(fStateLock);
    fLoop.SetTimeSignatureNumerator(beatsPerBar);
}

int32_t CQuilletSequencer::GetTimeSignatureDenominator() const {
    CMutexLock lock(fStateLock);
    return fLoop.GetTimeSignatureDenominator();
}

void CQuilletSequencer::SetTimeSignatureDenominator(int32_t noteValue) {
    CMutexLock lock(fStateLock);
    fLoop.SetTimeSignatureDenominator(noteValue);
}

int32_t CQuilletSequencer::GetBars() const {
    CMutexLock lock(fStateLock);
    return fLoop.GetBars();
}

void CQuilletSequencer::SetBars(int32_t bars) {
    CMutexLock lock(fStateLock);
    fLoop.SetBars(bars);
    RebuildPlayListLocked();
}

int32_t CQuilletSequencer::GetBeats() const {
    CMutexLock lock(fStateLock);
    return fLoop.GetBeats();
}

void CQuilletSequencer::SetBeats(int32_t beats) {
    CMutexLock lock(fStateLock);
    fLoop.SetBeats(beats);
    RebuildPlayListLocked();
}

int16_t CQuilletSequencer::GetPitch() const {
    CMutexLock lock(fStateLock);
    return fSampler.GetPitch();
}

void CQuilletSequencer::SetPitch(int16_t cents) {
    CMutexLock lock(fStateLock);
    fSampler.SetPitch(cents);
}

float CQuilletSequencer::GetGain() const {
    CMutexLock lock(fStateLock);
    return fSampler.GetGain();
}

void CQuilletSequencer::SetGain(int16_t gain) {
    CMutexLock lock(fStateLock);
    fSampler.SetGain(gain);
}

void CQuilletSequencer::SetOutputRate(uint32_t outputRate) {
    CMutexLock lock(fStateLock);
    fSampler.SetOutputRate(outputRate);
    fEqualizer.SetSampleRate(outputRate);
}

uint32_t CQuilletSequencer::GetOutputRate() const {
    CMutexLock lock(fStateLock);
    return fSampler.GetOutputRate();
}

bool CQuilletSequencer::IsLoopLengthSet() const {
    CMutexLock lock(fStateLock);
    return fLoop.IsLoopLengthSet();
}

bool CQuilletSequencer::IsPreviewActive() const {
    CMutexLock lock(fStateLock);
    return fLoop.IsPreviewActive();
}

int64_t CQuilletSequencer::GetLoopFrames() const {
    CMutexLock lock(fStateLock);
    const CPlayList::SLoopRange loop = GetLoopRangeLocked();
    return int64_t(loop.fRight) - loop.fLeft;
}

int32_t CQuilletSequencer::GetOriginalTempo() const {
    CMutexLock lock(fStateLock);
    return GetOriginalTempoLocked();
}

int64_t CQuilletSequencer::SampleFramesToOutputFrames(int64_t frames) const {
    CMutexLock lock(fStateLock);
    return ToOutputFramesLocked(frames);
}

double CQuilletSequencer::GetBeatLength() const {
    CMutexLock lock(fStateLock);
    const CPlayList::SLoopRange loop = GetLoopRangeLocked();
    return fLoop.GetBeatLength(int64_t(loop.fRight) - loop.fLeft);
}

int32_t CQuilletSequencer::FramesToTicks(int64_t frames) const {
    CMutexLock lock(fStateLock);
    const CPlayList::SLoopRange loop = GetLoopRangeLocked();
    return fLoop.FramesToTicks(frames, int64_t(loop.fRight) - loop.fLeft);
}

int32_t CQuilletSequencer::GetLoopTicks() const {
    CMutexLock lock(fStateLock);
    return fLoop.GetLoopTicks();
}

void CQuilletSequencer::RebuildPlayList() {
    CMutexLock lock(fStateLock);
    RebuildPlayListLocked();
}

std::vector<SPlayListEntry> CQuilletSequencer::GetPlayListEntries() const {
    CMutexLock lock(fStateLock);
    return fPlayList->GetEntries();
}

void CQuilletSequencer::PlayLoop() {
    CMutexLock lock(fStateLock);
    if (fTransport == kPlayingLoop && fRequest != kStopRequest) return;
    const int32_t index = fPlayList->IndexAt(fPosition);
    if (index < 0) return;
    fRequest = kStartLoop;
    fRequestEntry = (*fPlayList)[index];
    fPosition = fRequestEntry.fStart;
}

void CQuilletSequencer::PlaySliceAt(int32_t frame) {
    CMutexLock lock(fStateLock);
    const int32_t index = fPlayList->IndexAt(frame);
    if (index < 0) return;
    fRequest = kPlaySlice;
    fRequestEntry = (*fPlayList)[index];
    fPosition = fRequestEntry.fStart;
    SetShownPositionLocked(fRequestEntry.fStart, fShownPositionValid != 0);
}

void CQuilletSequencer::PlayPreviousSlice() {
    CMutexLock lock(fStateLock);
    const CPlayList& list = *fPlayList;
    const int32_t current = list.IndexAt(fPosition);
    if (current < 0) return;
    int32_t previous = current > 0 ? current - 1 : list.GetCount() - 1;
    const CPlayList::SLoopRange loop = GetLoopRangeLocked();
    if (list.IsInside(current, loop) && list[previous].fStart < loop.fLeft) {
        const int32_t last = list.IndexContaining(loop.fRight - 1);
        if (last >= 0) previous = last;
    }
    fRequest = kPlaySlice;
    fRequestEntry = list[previous];
    fPosition = fRequestEntry.fStart;
}

void CQuilletSequencer::PlayCurrentSliceAndMoveToNext() {
    CMutexLock lock(fStateLock);
    const CPlayList& list = *fPlayList;
    const int32_t current = list.IndexAt(fPosition);
    if (current < 0) return;
    fRequest = kPlaySlice;
    fRequestEntry = list[current];
    fPosition = list[(current + 1) % list.GetCount()].fStart;
}

void CQuilletSequencer::StopOrRewind() {
    CMutexLock lock(fStateLock);
    if (fTransport != kStopped || fRequest == kStartLoop || fRequest == kPlaySlice) {
        StopLocked();
        return;
    }
    const CPlayList& list = *fPlayList;
    if (list.IsEmpty()) return;
    const CPlayList::SLoopRange loop = GetLoopRangeLocked();
    const int32_t first = list.FirstStartingAtOrAfter(loop.fLeft);
    if (first >= 0 && list.IsInside(first, loop) && fPosition > list[first].fStart) {
        fPosition = list[first].fStart;
    } else {
        fPosition = list[0].fStart;
    }
    FollowPositionIfStoppedLocked();
}

void CQuilletSequencer::Stop() {
    CMutexLock lock(fStateLock);
    StopLocked();
}

void CQuilletSequencer::StopLocked() {
    fRequest = kStopRequest;
    const auto began = std::chrono::steady_clock::now();
    while (fTransport != kStopped) {
        if (std::chrono::steady_clock::now() - began >= std::chrono::milliseconds(kStopTimeoutMilliseconds)) {
            // No audio thread is serving us: nothing else touches the voices.
            fTransport = kStopped;
            fSampler.SilenceAllVoices();
            fRequest = kNoRequest;
            fScheduled = false;
            FollowPositionIfStoppedLocked();
            break;
        }
        fStateLock.Unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(kStopPollMilliseconds));
        fStateLock.Lock();
    }
}

void CQuilletSequencer::MoveToPreviousSlice() {
    CMutexLock lock(fStateLock);
    const CPlayList& list = *fPlayList;
    if (!RepositioningAllowedLocked() || list.IsEmpty()) return;
    const int32_t later = list.FirstStartingAtOrAfter(fPosition);
    const int32_t previous = later < 0 ? list.GetCount() - 1 : later - 1;
    fPosition = list[previous < 0 ? list.GetCount() - 1 : previous].fStart;
    FollowPositionIfStoppedLocked();
}

void CQuilletSequencer::MoveToNextSlice() {
    CMutexLock lock(fStateLock);
    const CPlayList& list = *fPlayList;
    if (!RepositioningAllowedLocked() || list.IsEmpty()) return;
    const int32_t next = fPosition == INT32_MAX ? -1 : list.FirstStartingAtOrAfter(fPosition + 1);
    fPosition = list[next < 0 ? 0 : next].fStart;
    FollowPositionIfStoppedLocked();
}

void CQuilletSequencer::SetPosition(int32_t frame) {
    CMutexLock lock(fStateLock);
    if (!RepositioningAllowedLocked()) return;
    fPosition = std::clamp(frame, 0, GetFrameCountLocked());
    FollowPositionIfStoppedLocked();
}

int32_t CQuilletSequencer::GetPosition() const {
    CMutexLock lock(fStateLock);
    return fPosition;
}

bool CQuilletSequencer::IsPlaying() const {
    // The request first: the audio thread sets the transport before it clears the request.
    const int32_t request = fRequest.load();
    return request == kStartLoop || request == kPlaySlice || fTransport.load() != kStopped;
}

CQuilletSequencer::ETransport CQuilletSequencer::GetTransport() const { return ETransport(fTransport.load()); }

int32_t CQuilletSequencer::GetShownPosition(bool* valid) const {
    const uint64_t published = fPublishedShownPosition.load(std::memory_order_relaxed);
    if (valid) *valid = (published >> 32) != 0;
    return int32_t(uint32_t(published));
}

void CQuilletSequencer::ResetPlayback() {
    CMutexLock lock(fStateLock);
    fTransport = kStopped;
    fRequest = kNoRequest;
    fScheduled = false;
    fRawVoice = false;
    fSampler.SilenceAllVoices();
    fEqualizer.Reset();
    fLeftover = 0;
    SetShownPositionLocked(fPosition, false);
}

CPlayList::SLoopRange CQuilletSequencer::GetLoopRangeLocked() const {
    return fWaveSample ? CPlayList::GetLoopRange(*fWaveSample) : CPlayList::SLoopRange{};
}

int32_t CQuilletSequencer::GetFrameCountLocked() const { return fWaveSample ? fWaveSample->GetFrameCount() : 0; }

int32_t CQuilletSequencer::GetOriginalTempoLocked() const {
    if (!fWaveSample) return 0;
    const CPlayList::SLoopRange loop = GetLoopRangeLocked();
    return fLoop.GetOriginalTempo(int64_t(loop.fRight) - loop.fLeft, fWaveSample->GetSampleRate());
}

int64_t CQuilletSequencer::ToOutputFramesLocked(int64_t frames) const {
    if (!fWaveSample) return frames;
    const CPlayList::SLoopRange loop = GetLoopRangeLocked();
    return fLoop.SampleFramesToOutputFrames(frames, int64_t(loop.fRight) - loop.fLeft, fWaveSample->GetSampleRate(),
                                            fSampler.GetOutputRate());
}

int64_t CQuilletSequencer::CountdownFor(int64_t distance) const {
    return std::max<int64_t>(kBlockFrames, Round64(ToOutputFramesLocked(distance)));
}

void CQuilletSequencer::RebuildPlayListLocked() {
    auto list = std::make_unique<CPlayList>(
        CPlayList::Build(fWaveSample, fSliceSequence, fLoop.IsSilenceSelected(), fLoop.IsPreviewActive()));
    {
        CMutexLock swap(fPlayListLock);
        fPlayList.swap(list);
    }
    // `list` now holds the old entries and is destroyed here, off the audio thread.
    const int32_t index = fPlayList->IndexAt(fPosition);
    fPosition = index < 0 ? 0 : (*fPlayList)[index].fStart;
    FollowPositionIfStoppedLocked();
}

void CQuilletSequencer::PlaceAtFirstEntryInsideLocked() {
    const int32_t first = fPlayList->FirstInside(GetLoopRangeLocked());
    if (first >= 0) fPosition = (*fPlayList)[first].fStart;
    FollowPositionIfStoppedLocked();
}

bool CQuilletSequencer::RepositioningAllowedLocked() const {
    return fTransport == kStopped || fTransport == kStopping || fRequest == kStopRequest;
}

void CQuilletSequencer::FollowPositionIfStoppedLocked() {
    if (fTransport != kStopped) return;
    SetShownPositionLocked(fPosition, false);
}

void CQuilletSequencer::SetShownPositionLocked(int32_t position, bool valid) {
    fShownPosition = position;
    fShownPositionValid = valid ? 1 : 0;
    fPublishedShownPosition.store((uint64_t(valid ? 1 : 0) << 32) | uint32_t(position), std::memory_order_relaxed);
}

void CQuilletSequencer::Render(float* left, float* right, int32_t count) {
    if (count <= 0) return;
    ServeRequests();
    int32_t done = 0;
    if (fLeftover > 0) {
        const int32_t frames = std::min(fLeftover, count);
        const int32_t from = kBlockFrames - fLeftover;
        std::copy_n(fBlockLeft + from, frames, left);
        std::copy_n(fBlockRight + from, frames, right);
        fLeftover -= frames;
        done = frames;
    }
    while (count - done >= kBlockFrames) {
        RenderOneBlock(left + done, right + done);
        done += kBlockFrames;
    }
    if (count > done) {
        const int32_t frames = count - done;
        RenderOneBlock(fBlockLeft, fBlockRight);
        std::copy_n(fBlockLeft, frames, left + done);
        std::copy_n(fBlockRight, frames, right + done);
        fLeftover = kBlockFrames - frames;
    }
}

void CQuilletSequencer::ServeRequests() {
    CMutexTryLock state(fStateLock);
    if (!state.IsLocked()) return;
    if ((fTransport == kStopping || fTransport == kPlayingSlice) && !fSampler.IsSounding()) {
        fTransport = kStopped;
        SetShownPositionLocked(fPosition, false);
    }
    if (fRequest == kNoRequest) return;
    // Priming reads the play list; without it the request waits for the next call.
    CMutexTryLock list(fPlayListLock);
    if (!list.IsLocked()) return;
    switch (fRequest) {
        case kStartLoop: StartLoopLocked(fRequestEntry); break;
        case kPlaySlice:
            fTransport = kPlayingSlice;
            fScheduled = false;
            if (fLoop.IsPreviewActive()) {
                fSampler.StartSliceVoice(fRequestEntry);
                fRawVoice = false;
            } else {
                fSampler.StartRawVoice(fRequestEntry.fStart, fRequestEntry.fEnd, fRequestEntry.fStart, false);
                fRawVoice = true;
            }
            break;
        case kStopRequest:
            if (fTransport != kStopped) fTransport = kStopping;
            fScheduled = false;
            fSampler.ReleaseAllVoices();
            break;
        default: break;
    }
    fRequest = kNoRequest;
    fEqualizer.SetPreviewActive(fLoop.IsPreviewActive());
}

void CQuilletSequencer::StartLoopLocked(const SPlayListEntry& entry) {
    fTransport = kPlayingLoop;
    const CPlayList::SLoopRange loop = GetLoopRangeLocked();
    if (fLoop.IsPreviewActive()) {
        fSampler.StartSliceVoice(entry);
        fRawVoice = false;
    } else {
        StartRawLoopVoice(entry.fStart, loop);
    }
    const CPlayList::SNextStart next = fPlayList->NextStart(entry.fStart, loop, GetFrameCountLocked());
    fScheduled = next.fFound;
    fNextStart = next.fStart;
    fCountdown = CountdownFor(next.fDistance);
    fSeenPreviewTempo = fLoop.GetPreviewTempo();
    fSeenOriginalTempo = GetOriginalTempoLocked();
    fSeenLoop = loop;
}

void CQuilletSequencer::StartRawLoopVoice(int32_t start, const CPlayList::SLoopRange& loop) {
    const int32_t end = start < loop.fRight ? loop.fRight : GetFrameCountLocked();
    fSampler.StartRawVoice(start, end, loop.fLeft, true);
    fRawVoice = true;
}

void CQuilletSequencer::ScheduleBlockLocked() {
    if (fTransport != kPlayingLoop || !fScheduled) return;
    CMutexTryLock list(fPlayListLock);
    if (!list.IsLocked()) return;

    const int32_t previewTempo = fLoop.GetPreviewTempo();
    const int32_t originalTempo = GetOriginalTempoLocked();
    // Without preview the conversion ignores both tempos.
    if (fLoop.IsPreviewActive()) {
        if (previewTempo != fSeenPreviewTempo) {
            fCountdown = Round64(MulDivTruncate(fCountdown, fSeenPreviewTempo, previewTempo));
        }
        if (originalTempo != fSeenOriginalTempo && originalTempo != 0 && fSeenOriginalTempo != 0) {
            fCountdown = Round64(MulDivTruncate(fCountdown, originalTempo, fSeenOriginalTempo));
        }
    }
    fSeenPreviewTempo = previewTempo;
    fSeenOriginalTempo = originalTempo;

    const CPlayList::SLoopRange loop = GetLoopRangeLocked();
    if (loop != fSeenLoop) {
        const CPlayList::SNextStart next = fPlayList->NextStart(fPosition, loop, GetFrameCountLocked());
        if (next.fFound) fNextStart = next.fStart;
        fSeenLoop = loop;
    }
    if (fCountdown < 1) AdvanceLocked(loop);
    fCountdown -= kBlockFrames;
}

void CQuilletSequencer::AdvanceLocked(const CPlayList::SLoopRange& loop) {
    const CPlayList& list = *fPlayList;
    const int32_t index = list.IsEmpty() ? -1 : list.ResolveStart(fNextStart, loop);
    if (index < 0) {
        StopOnEmptyLoopLocked();
        return;
    }
    const SPlayListEntry& entry = list[index];
    const int32_t previous = fPosition;
    if (fLoop.IsPreviewActive()) {
        fSampler.StartSliceVoice(entry);
        fRawVoice = false;
    } else if (!fRawVoice || !fSampler.IsSounding() || previous >= loop.fRight) {
        // A sounding raw voice already plays on through the entries and wraps at the loop.
        StartRawLoopVoice(entry.fStart, loop);
    }
    fPosition = entry.fStart;
    const CPlayList::SNextStart next = list.NextStart(entry.fStart, loop, GetFrameCountLocked());
    if (!next.fFound) {
        StopOnEmptyLoopLocked();
        return;
    }
    fNextStart = next.fStart;
    fCountdown = CountdownFor(next.fDistance);
}

void CQuilletSequencer::StopOnEmptyLoopLocked() {
    fTransport = kPlayingSlice;
    fScheduled = false;
    fPosition = 0;
    SetShownPositionLocked(0, false);
    fSampler.SilenceAllVoices();
}

void CQuilletSequencer::RenderOneBlock(float* left, float* right) {
    // Without the state lock the voices sound on and the schedule waits a block: no dropout
    // while the user-interface thread holds the lock. Voices are the audio thread's; the other
    // thread touches them only while no audio thread renders (wave-sample swaps, forced stop).
    CMutexTryLock state(fStateLock);
    if (state.IsLocked()) ScheduleBlockLocked();
    fSampler.RenderBlock(left, right);
    fEqualizer.Process(left, right);
    if (!state.IsLocked()) return;
    if (fSampler.IsSounding() && fSampler.GetSoundingSliceStart() >= 0) {
        SetShownPositionLocked(fSampler.GetSoundingSliceStart(), true);
    } else {
        SetShownPositionLocked(fPosition, false);
    }
}

}  // namespace NSQuillet
