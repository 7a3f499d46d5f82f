#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/document/AudioRendererSuspender.h"
#include "app/document/DocumentChangeKey.h"
#include "app/document/DocumentParameters.h"
#include "app/document/EffectParameters.h"
#include "app/document/ExportInfoCache.h"
#include "app/document/ViewAndEditAttributes.h"
#include "app/operations/MillisecondClock.h"
#include "app/undo/Transaction.h"
#include "app/undo/UndoHistory.h"
#include "engine/AudioCardManagerListener.h"
#include "engine/LevelMeter.h"
#include "engine/QuilletSequencer.h"
#include "engine/WavePlayer.h"
#include "engine/WavePlayerListener.h"
#include "platform/diskkit/FileSpec.h"

namespace NSQuillet {

class CABCWaveSample;
class CAudioCardManager;
class CSliceSequence;
class IAudioSuspender;
class IDocumentListener;
struct SLoopFileSettings;

// What a new document takes from the application besides its audio.
struct SDocumentSettings {
    // The preference: a newly opened sound gets one bar, its own tempo and preview on.
    bool fDefaultBarsToOne = false;
    // The audio card's rate, frames per second, when there is no audio-card manager.
    uint32_t fOutputRate = 44100;
    // The audio output the document plays through, both or neither (XStdInvalidArgument
    // otherwise): the manager whose rate the sequencer follows and the wave player that plays
    // it. Null: the document does not sound and its play operations do nothing. Not owned;
    // outlive the document.
    CAudioCardManager* fAudioCardManager = nullptr;
    CWavePlayer* fWavePlayer = nullptr;
    // Null: the audio-card manager's renderer is paused around wave-sample swaps, or nothing
    // without a manager. Not owned; outlives the document.
    IAudioSuspender* fAudioSuspender = nullptr;
    // Null: the steady clock. Not owned; outlives the document.
    const NSCourier::IMillisecondClock* fClock = nullptr;
};

// One open loop: its wave sample, slice sequence, the preview sequencer with every loop,
// preview and effect setting, the window's view attributes, the file and an undo history of
// ten steps. Every edit arrives as undoable changes committed as one named step; listeners
// are then told what kind of state changed. The slice editing commands are CSliceEditing's.
//
// User-interface thread only. The audio thread reaches the document only through the
// sequencer; wave-sample swaps pause the audio output around the exchange. The document listens
// to the audio-card manager (a new output rate is its sequencer's rate) and to the wave player
// (the play mode returns to stopped when its playback ends); playing its sequencer, it is
// stopped before it is destroyed.
class CQuilletDocument final : public IAudioCardManagerListener, public IWavePlayerListener {
public:
    static constexpr uint32_t kUndoLimit = 10;
    enum EPlayMode : uint32_t {
        kPlayMode_Stopped = 0,
        kPlayMode_Loop = 1,
        kPlayMode_CurrentSlice = 2,
        kPlayMode_PreviousSlice = 3,
        kPlayMode_CurrentSliceAndMoveToNext = 4,
        kPlayMode_ChosenSlice = 5,
    };

    // A document opened from `file`, taking `sample` over. `knownTempo` (thousandths of BPM,
    // used when above 0) gives the loop length; `slices`, when given, is the sequence found on
    // `sample` by the analysis, else a fresh one is made. A null sample is an
    // XStdInvalidArgument.
    CQuilletDocument(std::unique_ptr<CABCWaveSample> sample, const NSDiskKit::CFileSpec& file,
                     const SDocumentSettings& settings, int32_t knownTempo = 0,
                     std::unique_ptr<CSliceSequence> slices = nullptr);
    // A document opened from the loop file `file`: `slices` and the settings read from it
    // replace what was prepared, without an undo step, so the document is unmodified. The
    // preview tempo counts as initialised when the loop read has a length.
    CQuilletDocument(std::unique_ptr<CABCWaveSample> sample, const NSDiskKit::CFileSpec& file,
                     const SDocumentSettings& settings, std::unique_ptr<CSliceSequence> slices,
                     const SLoopFileSettings& loopFileSettings);
    // A document without a file: pasted, or the empty one (`pristine`, never modified).
    CQuilletDocument(std::unique_ptr<CABCWaveSample> sample, bool pristine, const SDocumentSettings& settings,
                     int32_t knownTempo = 0, std::unique_ptr<CSliceSequence> slices = nullptr);
    CQuilletDocument(const CQuilletDocument&) = delete;
    CQuilletDocument& operator=(const CQuilletDocument&) = delete;
    // Stops its playback (waiting for the audio thread, at most 4000 ms) and leaves the
    // audio-card manager.
    ~CQuilletDocument();

    SDocumentParameters GetDocumentParameters() const;
    SEffectParameters GetEffectParameters() const;
    const SViewAndEditAttributes& GetViewAndEditAttributes() const { return fViewAndEditAttributes; }
    const CABCWaveSample& GetWaveSample() const { return *fWaveSample; }
    const CSliceSequence& GetSliceSequence() const { return *fSliceSequence; }
    const CQuilletSequencer& GetSequencer() const { return fSequencer; }
    // Per 64-frame block: minimum then maximum, 16-bit scale; channel 2 is empty for mono.
    const std::vector<int16_t>& GetOverview(int32_t channel) const { return channel == 2 ? fOverview2 : fOverview1; }
    bool HasFile() const { return fHasFile; }
    bool IsNativeFile() const { return fIsNativeFile; }
    bool IsPristine() const { return fPristine; }
    // Null without a file.
    const NSDiskKit::CFileSpec* GetFileSpec() const { return fFileSpec.get(); }
    const std::string& GetFileName() const { return fFileName; }
    // The file name, or "Untitled".
    std::string GetDisplayName() const;
    uint32_t GetPlayMode() const { return fPlayMode; }
    bool IsPreviewTempoInitialised() const { return fPreviewTempoInitialised; }
    const NSUndoPackage::CUndoHistory& GetUndoHistory() const { return fUndoHistory; }
    int32_t GetSavedPosition() const { return fSavedPosition; }
    // Saving in place would not give a loop file: Save must ask for a file as Save As does.
    bool NeedsSaveAs() const { return !fHasFile || !fIsNativeFile; }

    // Kept for the window, not interpreted.
    void SetWindowState(uint32_t first, uint32_t second, uint8_t flag);
    uint32_t GetWindowStateWord(int32_t index) const { return index == 0 ? fWindowState1 : fWindowState2; }
    uint8_t GetWindowStateFlag() const { return fWindowStateFlag; }

    // For the change classes only, which alone hold the key. Each applies a whole value and
    // sets the pending flags; none notifies. ApplyDocumentParameters answers the parameters in
    // force afterwards (the locators as clamped, the preview tempo taken from the loop when
    // first possible).
    SDocumentParameters ApplyDocumentParameters(const SDocumentParameters& parameters, CDocumentChangeKey);
    void ApplyEffectParameters(const SEffectParameters& parameters, CDocumentChangeKey);
    void ApplyViewAndEditAttributes(const SViewAndEditAttributes& attributes, CDocumentChangeKey);
    // Exchange with the argument, which afterwards holds what the document had. Strong
    // guarantee; the wave-sample swaps pause the audio output while they exchange.
    void SwapSliceSequence(std::unique_ptr<CSliceSequence>& sequence, CDocumentChangeKey);
    void SwapWaveSample(std::unique_ptr<CABCWaveSample>& sample, CDocumentChangeKey);
    void SwapWaveSampleAndSliceSequence(std::unique_ptr<CABCWaveSample>& sample,
                                        std::unique_ptr<CSliceSequence>& sequence, CDocumentChangeKey);

    // One undoable change each, committed under `name`; a failure leaves the document as it was.
    void PerformParametersChange(const SDocumentParameters& parameters, const std::string& name);
    void PerformEffectParametersChange(const SEffectParameters& parameters, const std::string& name);
    void PerformSliceSequenceChange(std::unique_ptr<CSliceSequence> sequence, const std::string& name);
    void PerformWaveSampleChange(std::unique_ptr<CABCWaveSample> sample, const std::string& name);
    void PerformWaveSampleAndSliceSequenceChange(std::unique_ptr<CABCWaveSample> sample,
                                                 std::unique_ptr<CSliceSequence> sequence, const std::string& name);
    // Ruler units and edit tool: applied and notified, never an undo step.
    void SetViewAndEditAttributes(const SViewAndEditAttributes& attributes);

    // Commits under `mergeKey`, or under `name` when it is empty, so equal names merge.
    void CommitTransaction(NSUndoPackage::VTransaction& transaction, const std::string& name,
                           const std::string& mergeKey);
    // The changes stay applied without an undo step.
    void ApplyWithoutUndo(NSUndoPackage::VTransaction& transaction);
    // Ends the pending step: the next commit starts a new one (end of a drag or a command).
    void CloseUndoStep();

    bool CanUndo() const { return fUndoHistory.CanUndo(); }
    bool CanRedo() const { return fUndoHistory.CanRedo(); }
    std::string GetUndoName() const { return fUndoHistory.GetUndoName(); }
    std::string GetRedoName() const { return fUndoHistory.GetRedoName(); }
    // Nothing when there is no step; a failure (target "undo_step") keeps the position.
    void Undo();
    void Redo();

    bool IsModified() const;
    // After a successful Save.
    void MarkSaved();
    // After a successful Save As to `file`.
    void SetFileAndMarkSaved(const NSDiskKit::CFileSpec& file);
    // The document no longer belongs to the file it was read from (a pasted loop read through
    // a temporary file): without a file, modified until it is saved.
    void ForgetFile();

    // Not owned; a listener removes itself before it is destroyed.
    void AddListener(IDocumentListener* listener);
    void RemoveListener(IDocumentListener* listener);
    // Delivers the pending flags to every listener, then clears them.
    void NotifyListeners();

    // Playback. Each play operation posts its request to the sequencer, hands the sequencer to
    // the wave player, stores the play mode and tells the listeners; without an audio output,
    // while it has failed or without sound it does nothing.
    bool CanPlay() const;
    // From the play position. `outputFrames` ≥ 0 plays that many frames at the output rate and
    // then ends, as a render of that length ends; else the loop repeats until stopped.
    void PlayLoop(int64_t outputFrames = CWavePlayer::kUnlimited);
    void PlayCurrentSlice();
    // The slice containing `frame` (auditioning from the waveform).
    void PlaySliceAt(int32_t frame);
    void PlayPreviousSlice();
    void PlayCurrentSliceAndMoveToNext();
    // Stops the playback when the document plays, else moves the play position back to the
    // loop's start (CQuilletSequencer::StopOrRewind). Stopping blocks while the audio thread
    // lets the voices die away (at most 4000 ms).
    void StopOrRewind();
    bool IsPlaying() const { return fPlayMode != kPlayMode_Stopped; }

    // Locate, only while stopped (or stopping): the play position to a frame, or to the start
    // of the next or previous play-list entry, wrapping; the listeners are told.
    void SetPlayPosition(int32_t frame);
    void MoveToNextSlice();
    void MoveToPreviousSlice();

    // For the views, lock-free: the play position (while a slice sounds the start of that
    // slice, `sounding` true; else the position the next playback starts from), and the index
    // in the slice sequence of the active slice it lies in, -1 before the first.
    int32_t GetPlayPosition(bool* sounding = nullptr) const { return fSequencer.GetShownPosition(sounding); }
    int32_t GetCurrentSlice() const;
    // For the meters, lock-free, each since its last call: the output peaks and whether the
    // output was clipped; the transient shaper's smallest and largest gain (1.0 = no change).
    CLevelMeter::SReading TakeOutputLevel() { return fSequencer.GetLevelMeter().Take(); }
    void TakeShaperGains(float& smallest, float& largest) { fSequencer.TakeShaperGains(smallest, largest); }

    // IAudioCardManagerListener: a new output rate (the manager has stopped the playback
    // first) becomes the sequencer's; a change of the output's working state is told to the
    // listeners as a playback change.
    void AudioCardChanged(CAudioCardManager& manager) override;
    // IWavePlayerListener: when the wave player stops playing the sequencer (it ended, another
    // playback took over, the output stopped), the play mode returns to stopped.
    void WavePlayerStarted() override;
    void WavePlayerStopped() override;

    // The export figures (CExportInfoCache); the throttled ones for the information panel.
    int32_t GetExportSliceCount() { return fExportInfo.GetSliceCount(); }
    int64_t GetExportSize() { return fExportInfo.GetExportSize(); }
    int32_t GetExportSliceCountThrottled() { return fExportInfo.GetSliceCountThrottled(); }
    int64_t GetExportSizeThrottled() { return fExportInfo.GetExportSizeThrottled(); }
    void SetExportCutAtLoopEnd(bool cut) { fExportInfo.SetCutAtLoopEnd(cut); }

private:
    enum EPending { kParameters, kSlices, kWaveSample, kView, kUndoHistory, kTitle, kPlayback, kPendingCount };

    CQuilletDocument(std::unique_ptr<CABCWaveSample> sample, const NSDiskKit::CFileSpec* file, bool pristine,
                     const SDocumentSettings& settings, int32_t knownTempo, std::unique_ptr<CSliceSequence> slices);
    void Prepare(bool defaultBarsToOne, int32_t knownTempo);
    void AdoptLoopFileSettings(const SLoopFileSettings& settings);
    void SetFile(const NSDiskKit::CFileSpec& file);
    SDocumentParameters ApplyParametersUnguarded(const SDocumentParameters& parameters);
    void SetLocatorsInOrder(int32_t left, int32_t right);
    void StoreLocators(int32_t left, int32_t right);
    void ExchangeWaveSample(std::unique_ptr<CABCWaveSample>& sample, std::unique_ptr<CSliceSequence>* sequence);
    void RegisterWithAudioOutput();
    template <class TRequest>
    void Play(uint32_t mode, TRequest&& request, int64_t outputFrames = CWavePlayer::kUnlimited);
    void TellPlaybackListeners();
    void Stamp() { fExportInfo.MarkDirty(); }

    bool fCachedModified = false;
    std::string fCachedTitle;
    NSUndoPackage::CUndoHistory fUndoHistory{kUndoLimit};
    int32_t fSavedPosition = 0;
    bool fHasFile = false;
    bool fIsNativeFile = false;
    bool fPristine = false;
    bool fFileChanged = false;
    std::unique_ptr<NSDiskKit::CFileSpec> fFileSpec;
    std::string fFileName;
    std::vector<IDocumentListener*> fListeners;
    std::unique_ptr<CABCWaveSample> fWaveSample;
    std::vector<int16_t> fOverview1;
    std::vector<int16_t> fOverview2;
    std::unique_ptr<CSliceSequence> fSliceSequence;
    CQuilletSequencer fSequencer;
    SViewAndEditAttributes fViewAndEditAttributes;
    bool fExportSlicesSeparately = true;
    CExportInfoCache fExportInfo;
    bool fPreviewTempoInitialised = false;
    uint32_t fPlayMode = kPlayMode_Stopped;
    bool fPending[kPendingCount] = {true, true, true, true, true, true, true};
    uint32_t fWindowState1 = 0;
    uint32_t fWindowState2 = 0;
    uint8_t fWindowStateFlag = 0;
    CAudioCardManager* fAudioCardManager;
    CWavePlayer* fWavePlayer;
    std::unique_ptr<CAudioRendererSuspender> fRendererSuspender;
    IAudioSuspender* fAudioSuspender;
    // The wave player plays the sequencer for this document (between "started" and "stopped").
    bool fPlayerHasSequencer = false;
    // A play operation is handing the sequencer over: its own "stopped" is not the end.
    bool fStartingPlayback = false;
    bool fOutputWorking = false;
};

}  // namespace NSQuillet
