#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/preferences/AudioDeviceBlock.h"
#include "app/preferences/GeneralPreferences.h"
#include "app/preferences/PreferencesListener.h"
#include "app/preferences/RecentlyUsedDocuments.h"
#include "app/preferences/StoredPreferences.h"

namespace NSQuillet {

// The program's settings, the recent documents and the chosen audio device: one object for the
// process (PreferencesAccess.h), read from the preferences file at start and written back at
// stop when it reports a change. A change is a setter that changes a value, a note counter
// that counted down, a change of the recent list or of the audio device block.
//
// Setters do nothing when the value is unchanged; a value the file could not hold
// (IsValidGeneralPreferences) is an XStdInvalidArgument and changes nothing. The ruler units
// and the view-stereo flag tell the listeners' operation 0; default bars, always move the left
// locator, crop to loop and scroll during playback operation 1; the others no one.
//
// User-interface thread.
class CPreferences final : private IRecentlyUsedDocumentsListener {
public:
    CPreferences();
    ~CPreferences();
    CPreferences(const CPreferences&) = delete;
    CPreferences& operator=(const CPreferences&) = delete;

    const SGeneralPreferences& GetGeneral() const { return fGeneral; }

    uint32_t GetHorizontalRulerUnitsSaved() const { return fGeneral.fHorizontalRulerUnitsSaved; }
    bool GetViewStereoFilesAsSumOfLR() const { return fGeneral.fViewStereoFilesAsSumOfLR; }
    bool GetDefaultBarsToOne() const { return fGeneral.fDefaultBarsToOne; }
    bool GetAlwaysMoveLeftLocatorToFirstSlice() const { return fGeneral.fAlwaysMoveLeftLocatorToFirstSlice; }
    bool GetCropToLoopWhenExportingAsOneSample() const { return fGeneral.fCropToLoopWhenExportingAsOneSample; }
    bool GetScrollDuringPlayback() const { return fGeneral.fScrollDuringPlayback; }
    bool GetAutoPlay() const { return fGeneral.fAutoPlay; }
    const std::string& GetLastExportExtension() const { return fGeneral.fLastExportExtension; }
    uint32_t GetExportSampleRate() const { return fGeneral.fExportSampleRate; }
    uint32_t GetExportBitDepth() const { return fGeneral.fExportBitDepth; }
    bool GetExportFlag() const { return fGeneral.fExportFlag; }
    EMonoChoice GetConvertToMonoSelection() const { return fGeneral.fConvertToMonoSelection; }
    uint32_t GetConvertSampleFormatRate() const { return fGeneral.fConvertSampleFormatRate; }
    uint32_t GetConvertSampleFormatBitDepth() const { return fGeneral.fConvertSampleFormatBitDepth; }

    void SetHorizontalRulerUnitsSaved(uint32_t units);
    void SetViewStereoFilesAsSumOfLR(bool on);
    void SetDefaultBarsToOne(bool on);
    void SetAlwaysMoveLeftLocatorToFirstSlice(bool on);
    void SetCropToLoopWhenExportingAsOneSample(bool on);
    void SetScrollDuringPlayback(bool on);
    void SetAutoPlay(bool on);
    // Cut to 95 characters first.
    void SetLastExportExtension(const std::string& extension);
    void SetExportSampleRate(uint32_t rate);
    void SetExportBitDepth(uint32_t depth);
    void SetExportFlag(bool on);
    void SetConvertToMonoSelection(EMonoChoice selection);
    void SetConvertSampleFormatRate(uint32_t rate);
    void SetConvertSampleFormatBitDepth(uint32_t depth);

    // The counters of the one-time notes; the process-wide ones while these preferences are
    // installed (SetPreferences).
    CNoteCounters& GetNoteCounters() { return fGeneral.fNoteCounters; }
    CRecentlyUsedDocuments& GetRecentDocuments() { return fRecentDocuments; }
    const CRecentlyUsedDocuments& GetRecentDocuments() const { return fRecentDocuments; }
    const SAudioDeviceBlock& GetAudioDeviceBlock() const { return fAudioDevice; }
    void SetAudioDeviceBlock(const SAudioDeviceBlock& block);

    // What the preferences file is to hold now.
    SStoredPreferences Capture() const;
    // Takes what a preferences file held (valid general settings, else XStdInvalidArgument and
    // nothing changes) and counts it as stored. Listeners hear once for each operation whose
    // fields now differ; the recent list's listeners when the list differs.
    void Restore(const SStoredPreferences& stored);

    bool IsChanged() const;
    // The present state is the one stored in the file: the preferences report no change.
    void MarkStored();
    // The stored file no longer holds the present state (it was found damaged): write it at stop.
    void MarkUnstored() { fChanged = true; }

    // Not owned; a listener must be removed before it is destroyed.
    void AddListener(IPreferencesListener* listener);
    void RemoveListener(IPreferencesListener* listener);

private:
    enum class EListenerOperation { kNone, kDisplay, kBehavior };

    template <class TValue>
    void Change(TValue SGeneralPreferences::*field, TValue value, EListenerOperation operation);
    void Tell(EListenerOperation operation);
    void OnRecentlyUsedDocumentsChanged() override { fChanged = true; }
    std::array<int32_t, 4> NoteCounterValues() const;

    SGeneralPreferences fGeneral;
    SAudioDeviceBlock fAudioDevice;
    CRecentlyUsedDocuments fRecentDocuments;
    std::vector<IPreferencesListener*> fListeners;
    bool fChanged = false;
    // The counters as last stored: counting down is a change the counters do not report.
    std::array<int32_t, 4> fStoredNoteCounters;
};

}  // namespace NSQuillet
