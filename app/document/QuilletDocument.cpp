#include "app/document/QuilletDocument.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <utility>

#include "app/document/DocumentEffectParametersChange.h"
#include "app/document/DocumentListener.h"
#include "app/document/DocumentLoopFileSettings.h"
#include "app/document/DocumentParametersChange.h"
#include "app/document/DocumentTexts.h"
#include "app/document/DocumentViewAndEditAttributesChange.h"
#include "app/document/ScopedAudioSuspension.h"
#include "app/document/SliceSequenceChange.h"
#include "app/document/WaveSampleAndSliceSequenceChange.h"
#include "app/document/WaveSampleChange.h"
#include "engine/AudioCardManager.h"
#include "engine/LoopSettings.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "foundation/Diagnostics.h"
#include "foundation/Mishap.h"
#include "foundation/SampleRate.h"

namespace NSQuillet {

namespace {

std::unique_ptr<CABCWaveSample> Prepared(std::unique_ptr<CABCWaveSample> sample) {
    if (!sample) throw NSMishap::XStdInvalidArgument("document without a wave sample");
    if (!sample->HasPreview()) sample->BuildPreview();
    return sample;
}

// A copy of `from` dividing `sample`: same sensitivity, gate and slices (those inside it).
std::unique_ptr<CSliceSequence> Rebound(const CSliceSequence& from, const CABCWaveSample* sample) {
    auto bound = std::make_unique<CSliceSequence>(sample);
    for (const CSlice& slice : from.GetSlices()) bound->InsertSlice(slice);
    bound->SetGateSensitivity(from.GetGateSensitivity());
    bound->SetSensitivity(from.GetSensitivity());
    return bound;
}

void BindToSample(std::unique_ptr<CSliceSequence>& sequence, const CABCWaveSample* sample) {
    if (sequence->GetWaveSample() != sample) sequence = Rebound(*sequence, sample);
}

std::unique_ptr<CSliceSequence> SequenceFor(std::unique_ptr<CSliceSequence> given, const CABCWaveSample* sample) {
    if (!given) return std::make_unique<CSliceSequence>(sample);
    BindToSample(given, sample);
    return given;
}

void BuildOverview(const CABCWaveSample& sample, std::vector<int16_t>& first, std::vector<int16_t>& second) {
    first.clear();
    second.clear();
    const CWaveSamplePreview* preview = sample.GetPreview();
    if (!preview) return;
    const int32_t blocks = preview->GetBlockCount();
    for (int32_t channel = 1; channel <= sample.GetChannelCount(); ++channel) {
        std::vector<int16_t>& out = channel == 1 ? first : second;
        out.resize(size_t(blocks) * 2);
        for (int32_t block = 0; block < blocks; ++block) {
            out[size_t(block) * 2] = preview->GetMinimum(block, channel);
            out[size_t(block) * 2 + 1] = preview->GetMaximum(block, channel);
        }
    }
}

uint32_t OutputRateOf(const SDocumentSettings& settings) {
    if ((settings.fAudioCardManager == nullptr) != (settings.fWavePlayer == nullptr))
        throw NSMishap::XStdInvalidArgument("an audio-card manager without a wave player or the other way round");
    return settings.fAudioCardManager ? settings.fAudioCardManager->GetOutputRate() : settings.fOutputRate;
}

std::unique_ptr<CAudioRendererSuspender> RendererSuspenderFor(const SDocumentSettings& settings) {
    if (settings.fAudioSuspender || !settings.fAudioCardManager) return nullptr;
    return std::make_unique<CAudioRendererSuspender>(settings.fAudioCardManager->GetRenderer());
}

bool EndsWithLoopFileExtension(const std::string& name) {
    const std::string extension = kDocumentText_LoopFileExtension;
    if (name.size() < extension.size()) return false;
    return std::equal(extension.begin(), extension.end(), name.end() - std::ptrdiff_t(extension.size()),
                      [](char a, char b) { return std::tolower((unsigned char)a) == std::tolower((unsigned char)b); });
}

}  // namespace

CQuilletDocument::CQuilletDocument(std::unique_ptr<CABCWaveSample> sample, const NSDiskKit::CFileSpec& file,
                                   const SDocumentSettings& settings, int32_t knownTempo,
                                   std::unique_ptr<CSliceSequence> slices)
    : CQuilletDocument(std::move(sample), &file, false, settings, knownTempo, std::move(slices)) {}

CQuilletDocument::CQuilletDocument(std::unique_ptr<CABCWaveSample> sample, bool pristine,
                                   const SDocumentSettings& settings, int32_t knownTempo,
                                   std::unique_ptr<CSliceSequence> slices)
    : CQuilletDocument(std::move(sample), nullptr, pristine, settings, knownTempo, std::move(slices)) {}

CQuilletDocument::CQuilletDocument(std::unique_ptr<CABCWaveSample> sample, const NSDiskKit::CFileSpec& file,
                                   const SDocumentSettings& settings, std::unique_ptr<CSliceSequence> slices,
                                   const SLoopFileSettings& loopFileSettings)
    : CQuilletDocument(std::move(sample), &file, false, settings, 0, std::move(slices)) {
    AdoptLoopFileSettings(loopFileSettings);
}

CQuilletDocument::CQuilletDocument(std::unique_ptr<CABCWaveSample> sample, const NSDiskKit::CFileSpec* file,
                                   bool pristine, const SDocumentSettings& settings, int32_t knownTempo,
                                   std::unique_ptr<CSliceSequence> slices)
    : fPristine(pristine),
      fWaveSample(Prepared(std::move(sample))),
      fSliceSequence(SequenceFor(std::move(slices), fWaveSample.get())),
      fSequencer(fWaveSample.get(), fSliceSequence.get(), OutputRateOf(settings)),
      fExportInfo(fSequencer, fExportSlicesSeparately, settings.fClock ? *settings.fClock : NSCourier::GetSteadyClock()),
      fAudioCardManager(settings.fAudioCardManager),
      fWavePlayer(settings.fWavePlayer),
      fRendererSuspender(RendererSuspenderFor(settings)),
      fAudioSuspender(settings.fAudioSuspender ? settings.fAudioSuspender : fRendererSuspender.get()) {
    fSavedPosition = int32_t(fUndoHistory.GetPosition());
    if (file) SetFile(*file);
    fFileChanged = false;
    BuildOverview(*fWaveSample, fOverview1, fOverview2);
    Prepare(settings.fDefaultBarsToOne, knownTempo);
    RegisterWithAudioOutput();
}

void CQuilletDocument::Prepare(bool defaultBarsToOne, int32_t knownTempo) {
    CLoopSettings loop = fSequencer.GetLoopSettings();
    if (defaultBarsToOne) {
        loop.SetBars(1);
        const int32_t own = loop.GetOriginalTempo(fSequencer.GetLoopFrames(), fWaveSample->GetSampleRate());
        if (own > 0) loop.SetPreviewTempo(own);
        loop.SetPreviewOn(true);
    } else {
        loop.SetBars(0);
    }
    if (knownTempo > 0) {
        const double seconds = double(fSequencer.GetLoopFrames()) / double(ClampSampleRate(fWaveSample->GetSampleRate()));
        const double beats = knownTempo / 1000.0 * seconds / 60.0;
        const int32_t numerator = loop.GetTimeSignatureNumerator();
        int64_t bars = int64_t(beats / numerator);
        const double remaining = beats - double(bars) * numerator;
        int64_t whole = int64_t(remaining);
        if (remaining - double(whole) >= 0.25) ++whole;
        if (whole >= numerator) {
            ++bars;
            whole -= numerator;
        }
        loop.SetBars(int32_t(std::clamp<int64_t>(bars, 0, 999)));
        loop.SetBeats(int32_t(std::clamp<int64_t>(whole, 0, 7)));
        loop.SetPreviewTempo(knownTempo);
    }
    fSequencer.SetLoopSettings(loop);
    fPreviewTempoInitialised = loop.IsLoopLengthSet();
}

void CQuilletDocument::SetFile(const NSDiskKit::CFileSpec& file) {
    auto spec = std::make_unique<NSDiskKit::CFileSpec>(file);
    std::string name = spec->GetName();
    fFileSpec = std::move(spec);
    fFileName = std::move(name);
    fHasFile = true;
    fIsNativeFile = EndsWithLoopFileExtension(fFileName);
    fFileChanged = true;
}

std::string CQuilletDocument::GetDisplayName() const {
    return fHasFile ? fFileName : StringReference(NSStringIds::kUntitled).GetText();
}

void CQuilletDocument::AdoptLoopFileSettings(const SLoopFileSettings& settings) {
    const SDocumentParameters parameters = DocumentParametersOf(settings);
    // The file keeps no mark of where its tempo came from. The first length a loop is given sets
    // its preview tempo, so a tempo stored beside a length is one the loop was given: it stays.
    fPreviewTempoInitialised = parameters.fLoop.IsLoopLengthSet();
    ApplyDocumentParameters(parameters, CDocumentChangeKey());
    ApplyEffectParameters(EffectParametersOf(settings), CDocumentChangeKey());
    ApplyViewAndEditAttributes(ViewAndEditAttributesOf(settings), CDocumentChangeKey());
    SetWindowState(settings.fWindowState1, settings.fWindowState2, settings.fWindowStateFlag);
}

void CQuilletDocument::SetWindowState(uint32_t first, uint32_t second, uint8_t flag) {
    fWindowState1 = first;
    fWindowState2 = second;
    fWindowStateFlag = flag;
}

SDocumentParameters CQuilletDocument::GetDocumentParameters() const {
    SDocumentParameters p;
    const CQuilletSampler& sampler = fSequencer.GetSampler();
    p.fExportSlicesSeparately = fExportSlicesSeparately;
    p.fLoop = fSequencer.GetLoopSettings();
    p.fPitch = sampler.GetPitch();
    p.fLeftLocator = fWaveSample->GetLeftLocator();
    p.fRightLocator = fWaveSample->GetRightLocator();
    p.fEnvelope = sampler.GetEnvelope();
    return p;
}

SEffectParameters CQuilletDocument::GetEffectParameters() const {
    SEffectParameters p;
    const CQuilletSampler& sampler = fSequencer.GetSampler();
    p.fProcessingGain = int32_t(sampler.GetGain());
    p.fTransientShaper = sampler.GetTransientShaper();
    p.fEqualizer = fSequencer.GetEqualizer().GetSettings();
    return p;
}

SDocumentParameters CQuilletDocument::ApplyDocumentParameters(const SDocumentParameters& parameters,
                                                              CDocumentChangeKey) {
    const SDocumentParameters old = GetDocumentParameters();
    const bool wasInitialised = fPreviewTempoInitialised;
    try {
        return ApplyParametersUnguarded(parameters);
    } catch (...) {
        NSMishap::RunReportingFailure("restoring the document parameters", [&] { ApplyParametersUnguarded(old); });
        fPreviewTempoInitialised = wasInitialised;
        throw;
    }
}

SDocumentParameters CQuilletDocument::ApplyParametersUnguarded(const SDocumentParameters& p) {
    const SDocumentParameters old = GetDocumentParameters();
    fExportSlicesSeparately = p.fExportSlicesSeparately;

    const CLoopSettings& loop = p.fLoop;
    const CLoopSettings& was = old.fLoop;
    const bool playListFieldsChanged = loop.IsSilenceSelected() != was.IsSilenceSelected() ||
                                       loop.IsPreviewOn() != was.IsPreviewOn() || loop.GetBars() != was.GetBars() ||
                                       loop.GetBeats() != was.GetBeats();
    const bool timeSignatureChanged = loop.GetTimeSignatureNumerator() != was.GetTimeSignatureNumerator() ||
                                      loop.GetTimeSignatureDenominator() != was.GetTimeSignatureDenominator();
    if (playListFieldsChanged) {
        fSequencer.SetLoopSettings(loop);
    } else {
        if (timeSignatureChanged) {
            fSequencer.SetTimeSignatureNumerator(loop.GetTimeSignatureNumerator());
            fSequencer.SetTimeSignatureDenominator(loop.GetTimeSignatureDenominator());
        }
        if (loop.GetPreviewTempo() != was.GetPreviewTempo()) fSequencer.SetPreviewTempo(loop.GetPreviewTempo());
    }
    if (p.fPitch != old.fPitch) fSequencer.SetPitch(p.fPitch);

    SetLocatorsInOrder(p.fLeftLocator, p.fRightLocator);
    const bool leftChanged = fWaveSample->GetLeftLocator() != old.fLeftLocator;
    const bool rightChanged = fWaveSample->GetRightLocator() != old.fRightLocator;

    if (p.fEnvelope != old.fEnvelope) {
        fSequencer.ChangeSampler([&](CQuilletSampler& sampler) { sampler.SetEnvelope(p.fEnvelope); });
    }

    // The first loop length gives the preview tempo, preview on or off: the export always plays
    // at the preview tempo, so a tempo the user never chose must not stay.
    if (fSequencer.IsLoopLengthSet() && !fPreviewTempoInitialised) {
        const int32_t own = fSequencer.GetOriginalTempo();
        if (own > 0) {
            fSequencer.SetPreviewTempo(CLoopSettings::ClampPreviewTempo(own));
            fPreviewTempoInitialised = true;
        }
    }

    const SDocumentParameters now = GetDocumentParameters();
    fPending[kParameters] = true;
    if (now.fLoop.IsSilenceSelected() != was.IsSilenceSelected() || leftChanged || rightChanged)
        fPending[kSlices] = true;
    if (timeSignatureChanged || now.fLoop.GetBars() != was.GetBars() || now.fLoop.GetBeats() != was.GetBeats() ||
        leftChanged || rightChanged)
        fPending[kView] = true;
    if (leftChanged && fSequencer.IsPlaying()) fPending[kPlayback] = true;
    Stamp();
    return now;
}

void CQuilletDocument::SetLocatorsInOrder(int32_t left, int32_t right) {
    const int32_t frames = fWaveSample->GetFrameCount();
    left = std::clamp(left, 0, frames);
    right = std::clamp(right, 0, frames);
    int32_t currentLeft = fWaveSample->GetLeftLocator();
    int32_t currentRight = fWaveSample->GetRightLocator();
    if (left == currentLeft && right == currentRight) return;
    // Each step keeps left <= right, as the sequencer's own locator setters do.
    auto setLeft = [&] {
        currentLeft = std::min(left, currentRight);
        StoreLocators(currentLeft, currentRight);
    };
    auto setRight = [&] {
        currentRight = std::max(right, currentLeft);
        StoreLocators(currentLeft, currentRight);
    };
    if (left < currentRight) {
        setLeft();
        setRight();
    } else {
        setRight();
        setLeft();
    }
}

void CQuilletDocument::StoreLocators(int32_t left, int32_t right) {
    fSequencer.SetLocators(*fWaveSample, left, right);
}

void CQuilletDocument::ApplyEffectParameters(const SEffectParameters& p, CDocumentChangeKey) {
    fSequencer.ChangeSampler([&](CQuilletSampler& sampler) {
        sampler.SetGain(int16_t(p.fProcessingGain));
        sampler.SetTransientShaper(p.fTransientShaper);
    });
    fSequencer.ChangeEqualizer([&](CEqualizerEffect& equalizer) { equalizer.SetSettings(p.fEqualizer); });
    fPending[kParameters] = true;
    Stamp();
}

void CQuilletDocument::ApplyViewAndEditAttributes(const SViewAndEditAttributes& attributes, CDocumentChangeKey) {
    fViewAndEditAttributes = attributes;
    fPending[kView] = true;
}

void CQuilletDocument::SwapSliceSequence(std::unique_ptr<CSliceSequence>& sequence, CDocumentChangeKey) {
    if (!sequence) throw NSMishap::XStdInvalidArgument("null slice sequence");
    BindToSample(sequence, fWaveSample.get());
    const bool thresholdsDiffer = sequence->GetSensitivity() != fSliceSequence->GetSensitivity() ||
                                  sequence->GetGateSensitivity() != fSliceSequence->GetGateSensitivity();
    fSliceSequence.swap(sequence);
    try {
        fSequencer.SetSliceSequence(fSliceSequence.get());
    } catch (...) {
        fSliceSequence.swap(sequence);
        NSMishap::RunReportingFailure("giving the sequencer back its slice sequence",
                                      [&] { fSequencer.SetSliceSequence(fSliceSequence.get()); });
        throw;
    }
    fPending[kSlices] = true;
    if (thresholdsDiffer) fPending[kParameters] = true;
    Stamp();
}

void CQuilletDocument::SwapWaveSample(std::unique_ptr<CABCWaveSample>& sample, CDocumentChangeKey) {
    ExchangeWaveSample(sample, nullptr);
}

void CQuilletDocument::SwapWaveSampleAndSliceSequence(std::unique_ptr<CABCWaveSample>& sample,
                                                      std::unique_ptr<CSliceSequence>& sequence, CDocumentChangeKey) {
    if (!sequence) throw NSMishap::XStdInvalidArgument("null slice sequence");
    ExchangeWaveSample(sample, &sequence);
}

void CQuilletDocument::ExchangeWaveSample(std::unique_ptr<CABCWaveSample>& sample,
                                          std::unique_ptr<CSliceSequence>* sequence) {
    if (!sample) throw NSMishap::XStdInvalidArgument("null wave sample");
    if (!sample->HasPreview()) sample->BuildPreview();
    // Everything that allocates comes before the exchange. A given sequence is exchanged where
    // it lies, so that the caller keeps it when anything fails.
    std::unique_ptr<CSliceSequence> rebound;
    if (sequence) {
        BindToSample(*sequence, sample.get());
    } else {
        rebound = Rebound(*fSliceSequence, sample.get());
    }
    std::unique_ptr<CSliceSequence>& incoming = sequence ? *sequence : rebound;
    const bool thresholdsDiffer = incoming->GetSensitivity() != fSliceSequence->GetSensitivity() ||
                                  incoming->GetGateSensitivity() != fSliceSequence->GetGateSensitivity();
    std::vector<int16_t> overview1;
    std::vector<int16_t> overview2;
    BuildOverview(*sample, overview1, overview2);

    const CScopedAudioSuspension suspension(fAudioSuspender);
    fWaveSample.swap(sample);
    fSliceSequence.swap(incoming);
    try {
        fSequencer.SetWaveSample(fWaveSample.get(), fSliceSequence.get());
    } catch (...) {
        fWaveSample.swap(sample);
        fSliceSequence.swap(incoming);
        NSMishap::RunReportingFailure("giving the sequencer back its wave sample",
                                      [&] { fSequencer.SetWaveSample(fWaveSample.get(), fSliceSequence.get()); });
        throw;
    }
    fOverview1.swap(overview1);
    fOverview2.swap(overview2);
    // The caller now holds what came out: the sequence divides the sample.
    fPending[kWaveSample] = true;
    if (sequence) {
        fPending[kSlices] = true;
        if (thresholdsDiffer) fPending[kParameters] = true;
    }
    Stamp();
}

void CQuilletDocument::PerformParametersChange(const SDocumentParameters& parameters, const std::string& name) {
    NSUndoPackage::VTransaction transaction;
    transaction.Add(std::make_unique<CDocumentParametersChange>(*this, parameters));
    CommitTransaction(transaction, name, "");
}

void CQuilletDocument::PerformEffectParametersChange(const SEffectParameters& parameters, const std::string& name) {
    NSUndoPackage::VTransaction transaction;
    transaction.Add(std::make_unique<CDocumentEffectParametersChange>(*this, parameters));
    CommitTransaction(transaction, name, "");
}

void CQuilletDocument::PerformSliceSequenceChange(std::unique_ptr<CSliceSequence> sequence, const std::string& name) {
    NSUndoPackage::VTransaction transaction;
    transaction.Add(std::make_unique<CSliceSequenceChange>(*this, std::move(sequence)));
    CommitTransaction(transaction, name, "");
}

void CQuilletDocument::PerformWaveSampleChange(std::unique_ptr<CABCWaveSample> sample, const std::string& name) {
    NSUndoPackage::VTransaction transaction;
    transaction.Add(std::make_unique<CWaveSampleChange>(*this, std::move(sample)));
    CommitTransaction(transaction, name, "");
}

void CQuilletDocument::PerformWaveSampleAndSliceSequenceChange(std::unique_ptr<CABCWaveSample> sample,
                                                               std::unique_ptr<CSliceSequence> sequence,
                                                               const std::string& name) {
    NSUndoPackage::VTransaction transaction;
    transaction.Add(std::make_unique<CWaveSampleAndSliceSequenceChange>(*this, std::move(sample), std::move(sequence)));
    CommitTransaction(transaction, name, "");
}

void CQuilletDocument::SetViewAndEditAttributes(const SViewAndEditAttributes& attributes) {
    NSUndoPackage::VTransaction transaction;
    transaction.Add(std::make_unique<CDocumentViewAndEditAttributesChange>(*this, attributes));
    ApplyWithoutUndo(transaction);
}

void CQuilletDocument::CommitTransaction(NSUndoPackage::VTransaction& transaction, const std::string& name,
                                         const std::string& mergeKey) {
    if (transaction.IsEmpty()) return;
    const bool savedBecomesUnreachable = fSavedPosition > int64_t(fUndoHistory.GetPosition());
    fUndoHistory.Commit(transaction, name, mergeKey.empty() ? name : mergeKey);
    if (savedBecomesUnreachable) fSavedPosition = -1;
    fPending[kUndoHistory] = true;
    NotifyListeners();
}

void CQuilletDocument::ApplyWithoutUndo(NSUndoPackage::VTransaction& transaction) {
    transaction.Release();
    NotifyListeners();
}

void CQuilletDocument::CloseUndoStep() { fUndoHistory.ClearMergeKey(); }

void CQuilletDocument::Undo() {
    if (!CanUndo()) return;
    fUndoHistory.MoveTo(fUndoHistory.GetPosition() - 1);
    fPending[kUndoHistory] = true;
    NotifyListeners();
}

void CQuilletDocument::Redo() {
    if (!CanRedo()) return;
    fUndoHistory.MoveTo(fUndoHistory.GetPosition() + 1);
    fPending[kUndoHistory] = true;
    NotifyListeners();
}

bool CQuilletDocument::IsModified() const {
    if (fHasFile && fIsNativeFile && fSavedPosition == int64_t(fUndoHistory.GetPosition())) return false;
    return !fPristine;
}

void CQuilletDocument::MarkSaved() {
    fUndoHistory.ClearMergeKey();
    fSavedPosition = int32_t(fUndoHistory.GetPosition());
    NotifyListeners();
}

void CQuilletDocument::SetFileAndMarkSaved(const NSDiskKit::CFileSpec& file) {
    SetFile(file);
    fUndoHistory.ClearMergeKey();
    fSavedPosition = int32_t(fUndoHistory.GetPosition());
    fFileChanged = true;
    NotifyListeners();
}

void CQuilletDocument::ForgetFile() {
    fFileSpec.reset();
    fFileName.clear();
    fHasFile = false;
    fIsNativeFile = false;
    fPristine = false;
    fFileChanged = true;
    NotifyListeners();
}

void CQuilletDocument::AddListener(IDocumentListener* listener) { fListeners.push_back(listener); }

void CQuilletDocument::RemoveListener(IDocumentListener* listener) {
    const auto at = std::find(fListeners.begin(), fListeners.end(), listener);
    if (at != fListeners.end()) fListeners.erase(at);
}

void CQuilletDocument::NotifyListeners() {
    const bool modified = IsModified();
    if (modified != fCachedModified) {
        fCachedModified = modified;
        fPending[kTitle] = true;
    }
    std::string title = GetDisplayName();
    if (title != fCachedTitle) {
        fCachedTitle = std::move(title);
        fPending[kTitle] = true;
    }
    if (fFileChanged) fPending[kTitle] = true;

    using FSlot = void (IDocumentListener::*)();
    static constexpr FSlot kSlots[kPendingCount] = {
        &IDocumentListener::OnParametersChanged,   &IDocumentListener::OnSlicesChanged,
        &IDocumentListener::OnWaveSampleChanged,   &IDocumentListener::OnViewAndEditAttributesChanged,
        &IDocumentListener::OnUndoHistoryChanged,  &IDocumentListener::OnTitleChanged,
        &IDocumentListener::OnPlaybackStateChanged};
    bool pending[kPendingCount];
    std::copy(std::begin(fPending), std::end(fPending), pending);
    std::fill(std::begin(fPending), std::end(fPending), false);
    fFileChanged = false;
    // A copy: a listener may remove itself while it is told.
    const std::vector<IDocumentListener*> listeners = fListeners;
    for (IDocumentListener* listener : listeners) {
        for (int32_t slot = 0; slot < kPendingCount; ++slot) {
            if (!pending[slot]) continue;
            const FSlot notify = kSlots[slot];
            NSMishap::RunReportingFailure("notifying a document listener", [listener, notify] { (listener->*notify)(); });
        }
    }
}

}  // namespace NSQuillet
