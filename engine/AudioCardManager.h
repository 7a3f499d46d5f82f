#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/AudioCardManagerListener.h"
#include "engine/AudioDeviceChoice.h"
#include "engine/AudioOutputProblem.h"
#include "engine/AudioOutputState.h"
#include "engine/AudioRenderer.h"
#include "platform/soundport/SoundPortClient.h"

namespace NSQuillet {

class CDSPTables;

// Owns the audio-card library's client and the renderer, chooses the device, follows its
// output rate (keeping the DSP tables of that rate) and tells its listeners of every change.
//
// Every device choice stops the playback, closes the current device and opens the new one.
// When that fails, the output is failed (nothing plays, IsOutputWorking is false) until a
// device is chosen again; the failure is thrown with kProperty_AudioOutputProblem and the
// device's name attached (AudioOutputProblem.h), after the listeners were told. The Null
// Output counts as a working device. QUILLET_AUDIO_DEVICE=null makes every choice open the
// Null Output, while a restored device block is kept as the user's choice.
//
// User-interface thread, except the renderer's callback.
class CAudioCardManager final : public IAudioOutputState {
public:
    static constexpr uint32_t kInitialRate = 44100;
    // The settings a newly chosen device opens with (the device's own rate when it refuses
    // 44100 Hz); 512 frames per callback; its first two channels.
    static NSSoundPortKit2::SDriverSettings GetStandardSettings(int32_t outputChannels);

    // The process-wide manager with its renderer, created together on first use; never
    // destroyed. No device is open until one is chosen.
    static CAudioCardManager& Get();

    // `kit` null: the process-wide library. The renderer starts enabled.
    explicit CAudioCardManager(NSSoundPortKit2::ISoundPortKit* kit = nullptr);
    ~CAudioCardManager();
    CAudioCardManager(const CAudioCardManager&) = delete;
    CAudioCardManager& operator=(const CAudioCardManager&) = delete;

    CAudioRenderer& GetRenderer() { return fRenderer; }
    // Not owned; removed before destroyed.
    void AddListener(IAudioCardManagerListener* listener);
    void RemoveListener(IAudioCardManagerListener* listener);

    // Frames per second; 44100 until a device runs at another rate.
    uint32_t GetOutputRate() const override { return fRate; }
    bool IsOutputRunning() const override;
    bool IsOutputWorking() const override;
    // The tables of the output rate, from the process-wide cache.
    const CDSPTables& GetDSPTables() const { return *fTables; }

    // The machine's default output, the Null Output when it has no card.
    void StartDefaultDevice();
    // A device as the library lists it.
    void ChooseDevice(const std::string& hostApi, const std::string& device);
    // "null" (any case) for the Null Output; else the device of exactly that name, or the one
    // device whose name contains `name` (case-insensitive).
    void ChooseDeviceByName(const std::string& name);
    void ChooseNullOutput(const NSSoundPortKit2::SNullOutputOptions& options,
                          const NSSoundPortKit2::SDriverSettings& settings = GetStandardSettings(2));
    // After a failure of a choice, a setting or the stream (GetProblem): the Null Output plays
    // in the failed device's place, so that playback goes on. The problem and its device's
    // name stay, IsStandingIn is true until a device opens again, and the choice to store
    // stays the one from before the failure. Nothing without a failure. Never throws; answers
    // IsOutputWorking.
    bool FallBackToNullOutput();
    bool IsStandingIn() const { return fStandingIn; }
    // A block of GetDeviceBlock, from the preferences. A block of another version
    // (XUnsupportedFormat "incompatible driver spec version") or that cannot be read
    // (XFormatViolation "couldn't recreate driver from blob") is kSettingsNotRestored; one
    // whose device is absent (XNotFound "couldn't recreate driver from blob") is
    // kLastDeviceNotFound and stays the user's choice. In these three cases the default
    // device is started before the failure is thrown.
    void RestoreDevice(const std::vector<uint8_t>& block);
    void Choose(const SAudioDeviceChoice& choice);
    // The user's choice to store: the restored block while its device is absent or the Null
    // Output is forced, the block from before a failure while the Null Output stands in, else
    // the open device with its settings; empty when there is none.
    std::vector<uint8_t> GetDeviceBlock() const;
    // Stops the playback and closes the device (at quit).
    void CloseOutput();

    // The open device: these need one (else XIllegalCallSequence).
    const NSSoundPortKit2::SDeviceInfo& GetDevice() const;
    NSSoundPortKit2::SDriverSettings GetSettings() const;
    double GetOutputLatencyMs() const;
    NSSoundPortKit2::SDriverStatistics GetStatistics() const;
    bool HasDevice() const { return fClient.IsOpen(); }
    // Reopen the device's stream; a rate change stops the playback first. A device that
    // refuses is kDeviceNotUsable.
    void SetSampleRate(uint32_t rate);
    void SetBufferFrames(int32_t frames);
    void SetActiveChannels(uint64_t channels);
    // The open device's clock sources (none where its host API offers none, or without a
    // device), the index of the one it follows (-1 for none), another one to follow (a
    // device that refuses is kDeviceNotUsable).
    std::vector<std::string> GetClockSources() const;
    int32_t GetClockSource() const;
    void SetClockSource(int32_t index);
    // The host's settings window of the open device; returns when it is closed, then the
    // listeners are told, as its settings may have changed. Its failure is thrown as it is.
    void OpenControlPanel();

    std::vector<NSSoundPortKit2::SHostApiInfo> GetHostApis();
    // Reads the machine's devices anew when no card's stream is open.
    std::vector<NSSoundPortKit2::SDeviceInfo> GetDevices();
    // Reads them anew in any case: an open card's stream is closed for it (the playback stops)
    // and its device opened again with the same settings; when that fails the output is failed
    // as after a choice. A released stream is left as it is.
    std::vector<NSSoundPortKit2::SDeviceInfo> RescanDevices();
    std::vector<uint32_t> GetSupportedRates(const NSSoundPortKit2::SDeviceInfo& device);

    // kNone while working.
    EAudioOutputProblem GetProblem() const { return fProblem; }
    const std::string& GetProblemDeviceName() const { return fProblemDeviceName; }
    bool IsNullOutputForced() const { return fNullOutputForced; }

    // Opens `choice` in the first Idle at least `delayMilliseconds` from now (a newer choice
    // replaces it; an explicit choice cancels it).
    void ScheduleDeviceSwitch(const SAudioDeviceChoice& choice, uint32_t delayMilliseconds);
    bool HasPendingDeviceSwitch() const { return fPending.has_value(); }
    // Notices a stream that stopped by itself (kDriverStopped) and performs a due device
    // switch. Never throws; answers the problem found in this call, kNone when none.
    EAudioOutputProblem Idle();

    // The application lost or regained the focus: only a device opened exclusively is
    // released and taken again, since a shared server's stream would be cut for nothing.
    void ApplicationDeactivated();
    // A device that cannot be taken again is kDeviceNotOpened.
    void ApplicationActivated();
    bool IsReleased() const { return fReleased; }

    // The renderer's rate notification, and after every device choice: reads the rate from
    // the library; at a new rate stops the playback, takes the DSP tables of that rate from
    // the cache and stores the rate; then tells the listeners.
    void HandleRateChange();

private:
    std::vector<uint8_t> GetChoiceBeforeChange() const;
    // Runs a choice or change of the device; a failure is the output's failure.
    template <class TAction>
    void Guarded(TAction&& action);
    template <class TOpen>
    void OpenDevice(TOpen&& open);
    void OpenWithStandardSettings(const NSSoundPortKit2::SDeviceInfo& device);
    void OpenListed(const std::string& hostApi, const std::string& device);
    void OpenNamed(const std::string& name);
    void OpenForcedNullOutput();
    void ApplySettings(const NSSoundPortKit2::SDriverSettings& settings);
    void EnterFailedState(const std::exception& failure, EAudioOutputProblem problem);
    void StopPlayback();
    void NotifyListeners();

    struct SPendingSwitch {
        SAudioDeviceChoice fChoice;
        int64_t fDueMilliseconds = 0;
    };

    CAudioRenderer fRenderer;
    NSSoundPortKitUtils::CClient fClient;
    uint32_t fRate = kInitialRate;
    const CDSPTables* fTables;
    std::vector<IAudioCardManagerListener*> fListeners;
    bool fNullOutputForced;
    bool fFailed = false;
    EAudioOutputProblem fProblem = EAudioOutputProblem::kNone;
    std::string fProblemDeviceName;
    bool fReleased = false;
    bool fOpening = false;
    bool fStandingIn = false;
    std::vector<uint8_t> fChosenBlock;
    // The choice to store as it was before the last failure.
    std::vector<uint8_t> fBlockBeforeFailure;
    std::optional<SPendingSwitch> fPending;
};

}  // namespace NSQuillet
