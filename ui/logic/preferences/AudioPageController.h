#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "engine/AudioCardManagerListener.h"
#include "ui/logic/preferences/AudioPageModel.h"

namespace NSQuillet {

class CAudioCardManager;

// The Audio page's widgets: shown each state the controller makes.
class IAudioPageView {
public:
    virtual void ShowAudioPage(const SAudioPageState& state) = 0;

protected:
    ~IAudioPageView() = default;
};

// The Audio page's behaviour without its widgets: each change is applied to the audio output
// at once, and the page follows every change the manager reports. A change that fails leaves
// the Null Output playing in the failed device's place, shows the failed device as not working
// and then the failure's alert. User-interface thread; changes block while a device opens.
class CAudioPageController final : private IAudioCardManagerListener {
public:
    // Neither is owned; both outlive the controller. The view is shown the state at once,
    // without devices until the first Rescan.
    CAudioPageController(CAudioCardManager& manager, IAudioPageView& view);
    ~CAudioPageController();
    CAudioPageController(const CAudioPageController&) = delete;
    CAudioPageController& operator=(const CAudioPageController&) = delete;

    // The page opens: the machine's devices are read anew (an open card's stream is reopened
    // for it).
    void Rescan();

    // Entries and indices of the state shown; others, and a host API's entry, do nothing.
    void ChooseDeviceEntry(int32_t entry);
    void ChooseRate(int32_t index);
    void ChooseBufferSize(int32_t index);
    // The arrows: one size smaller (-1) or larger (+1).
    void StepBufferSize(int32_t steps);
    // From Select Active Channels; no channel at all does nothing.
    void SetActiveChannels(uint64_t channels);
    void ChooseClockSource(int32_t index);
    void OpenControlPanel();

    const SAudioPageState& GetState() const { return fState; }
    // What the manager shows now, with the devices of the last rescan.
    SAudioOutputSnapshot ReadSnapshot() const;

private:
    void AudioCardChanged(CAudioCardManager& manager) override;
    template <class TChange>
    void Apply(TChange&& change);
    void Refresh();

    CAudioCardManager& fManager;
    IAudioPageView& fView;
    std::vector<NSSoundPortKit2::SHostApiInfo> fHostApis;
    std::vector<NSSoundPortKit2::SDeviceInfo> fDevices;
    // The device last chosen here, shown while its choice has failed.
    std::string fChosenHostApi;
    std::string fChosenDevice;
    SAudioPageState fState;
};

// The alert of a failure that ended a change (none for an abort), as the application shows
// it. User-interface thread; blocks while the alert is shown.
void ReportAudioPageFailure(const std::exception& failure);

}  // namespace NSQuillet
