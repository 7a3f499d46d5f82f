#include "app/preferences/Preferences.h"

#include <algorithm>

#include "app/preferences/PreferencesAccess.h"
#include "app/preferences/PreferencesText.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr ENote kAllNotes[] = {ENote::kLuxFile, ENote::kOldNormalizeOption, ENote::kEffectsNotAudible,
                               ENote::kStoredOnly};

bool DisplayDiffers(const SGeneralPreferences& a, const SGeneralPreferences& b) {
    return a.fHorizontalRulerUnitsSaved != b.fHorizontalRulerUnitsSaved ||
           a.fViewStereoFilesAsSumOfLR != b.fViewStereoFilesAsSumOfLR;
}

bool BehaviorDiffers(const SGeneralPreferences& a, const SGeneralPreferences& b) {
    return a.fDefaultBarsToOne != b.fDefaultBarsToOne ||
           a.fAlwaysMoveLeftLocatorToFirstSlice != b.fAlwaysMoveLeftLocatorToFirstSlice ||
           a.fCropToLoopWhenExportingAsOneSample != b.fCropToLoopWhenExportingAsOneSample ||
           a.fScrollDuringPlayback != b.fScrollDuringPlayback;
}

}  // namespace

CPreferences::CPreferences() : fStoredNoteCounters(NoteCounterValues()) { fRecentDocuments.AddListener(this); }

CPreferences::~CPreferences() {
    fRecentDocuments.RemoveListener(this);
    // Never leave the process pointing at destroyed preferences or note counters.
    if (GetPreferences() == this) SetPreferences(nullptr);
}

template <class TValue>
void CPreferences::Change(TValue SGeneralPreferences::*field, TValue value, EListenerOperation operation) {
    if (fGeneral.*field == value) return;
    SGeneralPreferences changed = fGeneral;
    changed.*field = std::move(value);
    if (!IsValidGeneralPreferences(changed)) throw NSMishap::XStdInvalidArgument("preference outside its values");
    fGeneral = std::move(changed);
    fChanged = true;
    Tell(operation);
}

void CPreferences::SetHorizontalRulerUnitsSaved(uint32_t units) {
    Change(&SGeneralPreferences::fHorizontalRulerUnitsSaved, units, EListenerOperation::kDisplay);
}
void CPreferences::SetViewStereoFilesAsSumOfLR(bool on) {
    Change(&SGeneralPreferences::fViewStereoFilesAsSumOfLR, on, EListenerOperation::kDisplay);
}
void CPreferences::SetDefaultBarsToOne(bool on) {
    Change(&SGeneralPreferences::fDefaultBarsToOne, on, EListenerOperation::kBehavior);
}
void CPreferences::SetAlwaysMoveLeftLocatorToFirstSlice(bool on) {
    Change(&SGeneralPreferences::fAlwaysMoveLeftLocatorToFirstSlice, on, EListenerOperation::kBehavior);
}
void CPreferences::SetCropToLoopWhenExportingAsOneSample(bool on) {
    Change(&SGeneralPreferences::fCropToLoopWhenExportingAsOneSample, on, EListenerOperation::kBehavior);
}
void CPreferences::SetScrollDuringPlayback(bool on) {
    Change(&SGeneralPreferences::fScrollDuringPlayback, on, EListenerOperation::kBehavior);
}
void CPreferences::SetAutoPlay(bool on) { Change(&SGeneralPreferences::fAutoPlay, on, EListenerOperation::kNone); }
void CPreferences::SetLastExportExtension(const std::string& extension) {
    Change(&SGeneralPreferences::fLastExportExtension, CutToCharacters(extension, kPreferencesTextCharacterLimit),
           EListenerOperation::kNone);
}
void CPreferences::SetExportSampleRate(uint32_t rate) {
    Change(&SGeneralPreferences::fExportSampleRate, rate, EListenerOperation::kNone);
}
void CPreferences::SetExportBitDepth(uint32_t depth) {
    Change(&SGeneralPreferences::fExportBitDepth, depth, EListenerOperation::kNone);
}
void CPreferences::SetExportFlag(bool on) { Change(&SGeneralPreferences::fExportFlag, on, EListenerOperation::kNone); }
void CPreferences::SetConvertToMonoSelection(EMonoChoice selection) {
    Change(&SGeneralPreferences::fConvertToMonoSelection, selection, EListenerOperation::kNone);
}
void CPreferences::SetConvertSampleFormatRate(uint32_t rate) {
    Change(&SGeneralPreferences::fConvertSampleFormatRate, rate, EListenerOperation::kNone);
}
void CPreferences::SetConvertSampleFormatBitDepth(uint32_t depth) {
    Change(&SGeneralPreferences::fConvertSampleFormatBitDepth, depth, EListenerOperation::kNone);
}

void CPreferences::SetAudioDeviceBlock(const SAudioDeviceBlock& block) {
    if (block == fAudioDevice) return;
    fAudioDevice = block;
    fChanged = true;
}

SStoredPreferences CPreferences::Capture() const {
    return {fGeneral, fAudioDevice, fRecentDocuments.GetEntries()};
}

void CPreferences::Restore(const SStoredPreferences& stored) {
    if (!IsValidGeneralPreferences(stored.fGeneral)) throw NSMishap::XStdInvalidArgument("preference outside its values");
    const SGeneralPreferences before = fGeneral;
    fGeneral = stored.fGeneral;
    fAudioDevice = stored.fAudioDevice;
    fRecentDocuments.Replace(stored.fRecentDocuments);
    MarkStored();
    if (DisplayDiffers(before, fGeneral)) Tell(EListenerOperation::kDisplay);
    if (BehaviorDiffers(before, fGeneral)) Tell(EListenerOperation::kBehavior);
}

bool CPreferences::IsChanged() const { return fChanged || NoteCounterValues() != fStoredNoteCounters; }

void CPreferences::MarkStored() {
    fChanged = false;
    fStoredNoteCounters = NoteCounterValues();
}

std::array<int32_t, 4> CPreferences::NoteCounterValues() const {
    std::array<int32_t, 4> values{};
    for (size_t i = 0; i < values.size(); ++i) values[i] = fGeneral.fNoteCounters.Get(kAllNotes[i]);
    return values;
}

void CPreferences::Tell(EListenerOperation operation) {
    if (operation == EListenerOperation::kNone) return;
    // A copy, so that a listener may remove itself while being told.
    const std::vector<IPreferencesListener*> listeners = fListeners;
    for (IPreferencesListener* listener : listeners) {
        if (operation == EListenerOperation::kDisplay) {
            listener->OnDisplayPreferencesChanged();
        } else {
            listener->OnBehaviorPreferencesChanged();
        }
    }
}

void CPreferences::AddListener(IPreferencesListener* listener) {
    if (listener && std::find(fListeners.begin(), fListeners.end(), listener) == fListeners.end())
        fListeners.push_back(listener);
}

void CPreferences::RemoveListener(IPreferencesListener* listener) {
    fListeners.erase(std::remove(fListeners.begin(), fListeners.end(), listener), fListeners.end());
}

}  // namespace NSQuillet
