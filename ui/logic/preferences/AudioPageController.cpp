#include "ui/logic/preferences/AudioPageController.h"

#include <optional>

#include "app/resources/FailureAlert.h"
#include "app/resources/ResourceReference.h"
#include "engine/AudioCardManager.h"
#include "foundation/Diagnostics.h"

namespace NSQuillet {

using namespace NSSoundPortKit2;

void ReportAudioPageFailure(const std::exception& failure) {
    try {
        const std::optional<CResourceReference> alert = ChooseFailureAlert(failure);
        if (alert) ShowAlert(*alert);
    } catch (...) {
        NSMishap::ReportCaughtFailure("showing the alert of an audio failure");
    }
}

CAudioPageController::CAudioPageController(CAudioCardManager& manager, IAudioPageView& view)
    : fManager(manager), fView(view) {
    fManager.AddListener(this);
    Refresh();
}

CAudioPageController::~CAudioPageController() { fManager.RemoveListener(this); }

void CAudioPageController::AudioCardChanged(CAudioCardManager&) { Refresh(); }

template <class TChange>
void CAudioPageController::Apply(TChange&& change) {
    try {
        change();
    } catch (const std::exception& failure) {
        // Playback goes on meanwhile; the page shows the failed device before the alert.
        fManager.FallBackToNullOutput();
        Refresh();
        ReportAudioPageFailure(failure);
    }
}

void CAudioPageController::Rescan() {
    std::exception_ptr failed;
    try {
        fDevices = fManager.RescanDevices();
        fHostApis = fManager.GetHostApis();
    } catch (const std::exception&) {
        failed = std::current_exception();
    }
    if (failed) {
        // The card could not be opened again after the rescan: the list is read without it.
        fManager.FallBackToNullOutput();
        NSMishap::RunReportingFailure("listing the audio devices", [this] {
            fDevices = fManager.GetDevices();
            fHostApis = fManager.GetHostApis();
        });
    }
    Refresh();
    if (failed) {
        try {
            std::rethrow_exception(failed);
        } catch (const std::exception& failure) {
            ReportAudioPageFailure(failure);
        }
    }
}

void CAudioPageController::ChooseDeviceEntry(int32_t entry) {
    if (entry < 0 || entry >= int32_t(fState.fDeviceEntries.size())) return;
    const SAudioDeviceEntry chosen = fState.fDeviceEntries[size_t(entry)];
    if (chosen.fIsHostApi) return;
    // The device that plays already is not opened again; a failed one is tried again.
    if (entry == fState.fDeviceEntry && fState.fStatePicture == kDriverWorkingPicture) return;
    fChosenHostApi = chosen.fHostApi;
    fChosenDevice = chosen.fDevice;
    Apply([&] { fManager.ChooseDevice(chosen.fHostApi, chosen.fDevice); });
}

void CAudioPageController::ChooseRate(int32_t index) {
    if (index < 0 || index >= int32_t(fState.fRates.size()) || !fState.fRateEnabled) return;
    const uint32_t rate = fState.fRates[size_t(index)];
    Apply([&] { fManager.SetSampleRate(rate); });
}

void CAudioPageController::ChooseBufferSize(int32_t index) {
    if (index < 0 || index >= int32_t(fState.fBufferSizes.size()) || !fState.fBufferEnabled) return;
    const int32_t frames = fState.fBufferSizes[size_t(index)];
    Apply([&] { fManager.SetBufferFrames(frames); });
}

void CAudioPageController::StepBufferSize(int32_t steps) {
    if (fState.fBufferIndex < 0) return;
    ChooseBufferSize(StepBufferIndex(fState.fBufferIndex, steps, int32_t(fState.fBufferSizes.size())));
}

void CAudioPageController::SetActiveChannels(uint64_t channels) {
    if (!fState.fChannelsEnabled || CountActiveChannels(channels, fState.fChannelCount) == 0) return;
    // Only channels the device has.
    const uint64_t existing = fState.fChannelCount >= 64 ? ~uint64_t(0) : (uint64_t(1) << fState.fChannelCount) - 1;
    Apply([&] { fManager.SetActiveChannels(channels & existing); });
}

void CAudioPageController::ChooseClockSource(int32_t index) {
    if (!fState.fClockSourceEnabled || index < 0 || index >= int32_t(fState.fClockSources.size())) return;
    Apply([&] { fManager.SetClockSource(index); });
}

void CAudioPageController::OpenControlPanel() {
    if (!fState.fControlPanelEnabled) return;
    Apply([&] { fManager.OpenControlPanel(); });
}

SAudioOutputSnapshot CAudioPageController::ReadSnapshot() const {
    SAudioOutputSnapshot snapshot;
    snapshot.fHostApis = fHostApis;
    snapshot.fDevices = fDevices;
    if (fManager.HasDevice() && fManager.IsOutputWorking() && !fManager.IsStandingIn()) {
        const SDeviceInfo& device = fManager.GetDevice();
        snapshot.fShownHostApi = device.fHostApi;
        snapshot.fShownDevice = device.fName;
        snapshot.fWorking = true;
        snapshot.fSettings = fManager.GetSettings();
        snapshot.fOutputChannels = device.fOutputChannels;
        snapshot.fFixedRate = device.fFixedRate;
        snapshot.fFixedBufferFrames = device.fFixedBufferFrames;
        snapshot.fLatencyMs = fManager.GetOutputLatencyMs();
        // A device that cannot tell offers its current values only.
        NSMishap::RunReportingFailure("reading the rates of the audio device",
                                      [&] { snapshot.fSupportedRates = fManager.GetSupportedRates(device); });
        NSMishap::RunReportingFailure("reading the clock sources of the audio device", [&] {
            snapshot.fClockSources = fManager.GetClockSources();
            snapshot.fClockSource = fManager.GetClockSource();
        });
        return snapshot;
    }
    const std::string& failed = fManager.GetProblemDeviceName();
    if (!fChosenDevice.empty() && (failed.empty() || failed == fChosenDevice)) {
        snapshot.fShownHostApi = fChosenHostApi;
        snapshot.fShownDevice = fChosenDevice;
        return snapshot;
    }
    for (const SDeviceInfo& device : fDevices) {
        if (failed.empty() || device.fName != failed) continue;
        snapshot.fShownHostApi = device.fHostApi;
        snapshot.fShownDevice = device.fName;
        break;
    }
    return snapshot;
}

void CAudioPageController::Refresh() {
    SAudioOutputSnapshot snapshot;
    snapshot.fHostApis = fHostApis;
    snapshot.fDevices = fDevices;
    NSMishap::RunReportingFailure("reading the audio output", [&] { snapshot = ReadSnapshot(); });
    fState = MakeAudioPageState(snapshot);
    fView.ShowAudioPage(fState);
}

}  // namespace NSQuillet
