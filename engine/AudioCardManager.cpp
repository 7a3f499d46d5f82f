#include "engine/AudioCardManager.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

#include "engine/DSPTablesCache.h"
#include "foundation/FailureCode.h"
#include "foundation/Mishap.h"
#include "foundation/TargetObjectType.h"
#include "platform/soundport/SoundPortKitStatus.h"

namespace NSQuillet {

using namespace NSSoundPortKit2;

namespace {

int64_t NowMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

uint32_t StatusOf(const std::exception& failure) {
    const auto* mishap = NSMishap::FindMishap(failure);
    if (!mishap) return 0;
    const auto code = mishap->GetProperty(NSMishap::kProperty_ErrorCode);
    return code ? uint32_t(std::strtoul(code->c_str(), nullptr, 10)) : 0;
}

EAudioOutputProblem ProblemOfStatus(uint32_t status) {
    switch (status) {
        case kSoundPortKitSettingsRefused: return EAudioOutputProblem::kDeviceNotUsable;
        case kSoundPortKitIncompatibleBlob:
        case kSoundPortKitBadBlob: return EAudioOutputProblem::kSettingsNotRestored;
        default: return EAudioOutputProblem::kDeviceNotOpened;
    }
}

void Annotate(const std::exception& failure, EAudioOutputProblem problem) {
    if (const auto* mishap = NSMishap::FindMishap(failure))
        mishap->AddProperty(kProperty_AudioOutputProblem, GetAudioOutputProblemName(problem));
}

[[noreturn]] void ThrowNoSuchDevice(const std::string& name) {
    try {
        NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError_NotFound, "no audio device \"" + name + "\"",
                               NSMishap::kTargetObjectType_AudioDriver);
    } catch (const NSMishap::XNotFound& failure) {
        failure.AddProperty(NSSoundPortKitUtils::kProperty_AudioDeviceName, name);
        throw;
    }
}

}  // namespace

SDriverSettings CAudioCardManager::GetStandardSettings(int32_t outputChannels) {
    SDriverSettings settings;
    settings.fRate = kInitialRate;
    settings.fBufferFrames = 512;
    settings.fActiveChannels = outputChannels >= 2 ? 0x3 : 0x1;
    return settings;
}

CAudioCardManager& CAudioCardManager::Get() {
    // Never destroyed: the device thread may still call the renderer while the process exits.
    static CAudioCardManager* const manager = new CAudioCardManager(nullptr);
    return *manager;
}

CAudioCardManager::CAudioCardManager(ISoundPortKit* kit)
    : fRenderer(this),
      fClient(fRenderer, kit),
      fTables(CDSPTablesCache::Get(kInitialRate)),
      fNullOutputForced(Lowered(std::getenv("QUILLET_AUDIO_DEVICE") ? std::getenv("QUILLET_AUDIO_DEVICE") : "") == "null") {
    fRenderer.SetEnabled(true);
}

CAudioCardManager::~CAudioCardManager() {
    fRenderer.SetEnabled(false);
    fClient.Close();
}

void CAudioCardManager::AddListener(IAudioCardManagerListener* listener) {
    if (listener && std::find(fListeners.begin(), fListeners.end(), listener) == fListeners.end())
        fListeners.push_back(listener);
}

void CAudioCardManager::RemoveListener(IAudioCardManagerListener* listener) {
    fListeners.erase(std::remove(fListeners.begin(), fListeners.end(), listener), fListeners.end());
}

void CAudioCardManager::NotifyListeners() {
    // A listener may remove itself while being told.
    const std::vector<IAudioCardManagerListener*> listeners = fListeners;
    for (IAudioCardManagerListener* listener : listeners) {
        if (std::find(fListeners.begin(), fListeners.end(), listener) != fListeners.end()) listener->AudioCardChanged(*this);
    }
}

bool CAudioCardManager::IsOutputRunning() const {
    return fClient.IsOpen() && fClient.GetState() == EDriverState::kRunning;
}

bool CAudioCardManager::IsOutputWorking() const { return fClient.IsOpen() && !fFailed; }

void CAudioCardManager::StopPlayback() {
    if (IAudioSource* source = fRenderer.GetSource()) source->StopPlayback();
}

void CAudioCardManager::EnterFailedState(const std::exception& failure, EAudioOutputProblem problem) {
    Annotate(failure, problem);
    fFailed = true;
    fReleased = false;
    fProblem = problem;
    fProblemDeviceName = GetAudioDeviceName(failure);
    StopPlayback();
    NotifyListeners();
}

std::vector<uint8_t> CAudioCardManager::GetChoiceBeforeChange() const {
    try {
        return GetDeviceBlock();
    } catch (const std::exception&) {
        return {};
    }
}

template <class TAction>
void CAudioCardManager::Guarded(TAction&& action) {
    std::vector<uint8_t> before = GetChoiceBeforeChange();
    try {
        action();
    } catch (const std::exception& failure) {
        fBlockBeforeFailure = std::move(before);
        EnterFailedState(failure, ProblemOfStatus(StatusOf(failure)));
        throw;
    }
}

template <class TOpen>
void CAudioCardManager::OpenDevice(TOpen&& open) {
    StopPlayback();
    fReleased = false;
    fOpening = true;
    try {
        open();
    } catch (...) {
        fOpening = false;
        throw;
    }
    fOpening = false;
    fStandingIn = false;
    fFailed = false;
    fProblem = EAudioOutputProblem::kNone;
    fProblemDeviceName.clear();
    HandleRateChange();
}

void CAudioCardManager::OpenWithStandardSettings(const SDeviceInfo& device) {
    if (device.fIsNullOutput) {
        fClient.OpenNullOutput(GetStandardSettings(device.fOutputChannels), SNullOutputOptions::FromEnvironment());
        return;
    }
    SDriverSettings settings = GetStandardSettings(device.fOutputChannels);
    if (device.fFixedRate != 0) settings.fRate = device.fFixedRate;
    if (device.fFixedBufferFrames != 0) settings.fBufferFrames = device.fFixedBufferFrames;
    try {
        fClient.Open(device.fHostApi, device.fName, settings);
    } catch (const NSMishap::XUnsupportedFormat& failure) {
        // A device that runs at one rate only (a JACK server) refuses 44100 Hz.
        if (StatusOf(failure) != kSoundPortKitSettingsRefused || device.fDefaultRate == settings.fRate) throw;
        settings.fRate = device.fDefaultRate;
        fClient.Open(device.fHostApi, device.fName, settings);
    }
}

void CAudioCardManager::OpenListed(const std::string& hostApi, const std::string& name) {
    fClient.Close();
    for (const SDeviceInfo& device : fClient.GetDevices()) {
        if (device.fHostApi == hostApi && device.fName == name) return OpenWithStandardSettings(device);
    }
    ThrowNoSuchDevice(name);
}

void CAudioCardManager::OpenNamed(const std::string& name) {
    fClient.Close();
    const std::vector<SDeviceInfo> devices = fClient.GetDevices();
    for (const SDeviceInfo& device : devices) {
        if (device.fName == name) return OpenWithStandardSettings(device);
    }
    const std::string wanted = Lowered(name);
    const SDeviceInfo* found = nullptr;
    for (const SDeviceInfo& device : devices) {
        if (wanted.empty() || Lowered(device.fName).find(wanted) == std::string::npos) continue;
        if (found) ThrowNoSuchDevice(name);
        found = &device;
    }
    if (!found) ThrowNoSuchDevice(name);
    OpenWithStandardSettings(*found);
}

void CAudioCardManager::OpenForcedNullOutput() {
    OpenDevice([&] { fClient.OpenNullOutput(GetStandardSettings(2), SNullOutputOptions::FromEnvironment()); });
}

void CAudioCardManager::StartDefaultDevice() {
    fPending.reset();
    Guarded([&] {
        if (fNullOutputForced) return OpenForcedNullOutput();
        OpenDevice([&] {
            fClient.Close();
            for (const SDeviceInfo& device : fClient.GetDevices()) {
                if (device.fIsDefault) return OpenWithStandardSettings(device);
            }
            fClient.OpenNullOutput(GetStandardSettings(2), SNullOutputOptions::FromEnvironment());
        });
        fChosenBlock.clear();
    });
}

void CAudioCardManager::ChooseDevice(const std::string& hostApi, const std::string& device) {
    fPending.reset();
    Guarded([&] {
        if (fNullOutputForced) return OpenForcedNullOutput();
        OpenDevice([&] { OpenListed(hostApi, device); });
        fChosenBlock.clear();
    });
}

void CAudioCardManager::ChooseDeviceByName(const std::string& name) {
    fPending.reset();
    Guarded([&] {
        if (fNullOutputForced || Lowered(name) == "null") return OpenForcedNullOutput();
        OpenDevice([&] { OpenNamed(name); });
        fChosenBlock.clear();
    });
}

void CAudioCardManager::ChooseNullOutput(const SNullOutputOptions& options, const SDriverSettings& settings) {
    fPending.reset();
    Guarded([&] {
        OpenDevice([&] { fClient.OpenNullOutput(settings, options); });
        if (!fNullOutputForced) fChosenBlock.clear();
    });
}

void CAudioCardManager::RestoreDevice(const std::vector<uint8_t>& block) {
    fPending.reset();
    if (fNullOutputForced) {
        fChosenBlock = block;
        Guarded([&] { OpenForcedNullOutput(); });
        return;
    }
    try {
        OpenDevice([&] { fClient.OpenFromBlob(block); });
        fChosenBlock.clear();
    } catch (const std::exception& failure) {
        const uint32_t status = StatusOf(failure);
        EAudioOutputProblem problem = ProblemOfStatus(status);
        if (status == kSoundPortKitNoSuchDevice) problem = EAudioOutputProblem::kLastDeviceNotFound;
        if (problem != EAudioOutputProblem::kLastDeviceNotFound && problem != EAudioOutputProblem::kSettingsNotRestored) {
            fBlockBeforeFailure = block;
            EnterFailedState(failure, problem);
            throw;
        }
        Annotate(failure, problem);
        try {
            StartDefaultDevice();
        } catch (const std::exception&) {
            // The default device's own failure is the output's state now; the caller hears of
            // the stored one.
        }
        if (problem == EAudioOutputProblem::kLastDeviceNotFound) fChosenBlock = block;
        throw;
    }
}

void CAudioCardManager::Choose(const SAudioDeviceChoice& choice) {
    switch (choice.fKind) {
        case SAudioDeviceChoice::EKind::kDefault: return StartDefaultDevice();
        case SAudioDeviceChoice::EKind::kNamed: return ChooseDeviceByName(choice.fName);
        case SAudioDeviceChoice::EKind::kDevice: return ChooseDevice(choice.fHostApi, choice.fName);
        case SAudioDeviceChoice::EKind::kBlock: return RestoreDevice(choice.fBlock);
    }
}

bool CAudioCardManager::FallBackToNullOutput() {
    if (!fFailed) return IsOutputWorking();
    const EAudioOutputProblem problem = fProblem;
    const std::string problemDevice = fProblemDeviceName;
    std::vector<uint8_t> choice = fChosenBlock.empty() && !fNullOutputForced ? fBlockBeforeFailure : fChosenBlock;
    StopPlayback();
    fPending.reset();
    fReleased = false;
    // At the output rate the documents already follow.
    SDriverSettings settings = GetStandardSettings(2);
    settings.fRate = fRate;
    fOpening = true;
    try {
        try {
            fClient.OpenNullOutput(settings, SNullOutputOptions::FromEnvironment());
        } catch (const std::exception&) {
            // The recording that the environment asks for may be what cannot be made.
            fClient.OpenNullOutput(settings, SNullOutputOptions());
        }
    } catch (const std::exception&) {
        fOpening = false;
        return false;
    }
    fOpening = false;
    fFailed = false;
    fStandingIn = true;
    fProblem = problem;
    fProblemDeviceName = problemDevice;
    fChosenBlock = std::move(choice);
    HandleRateChange();
    return true;
}

std::vector<uint8_t> CAudioCardManager::GetDeviceBlock() const {
    if (!fChosenBlock.empty() || fNullOutputForced || fStandingIn) return fChosenBlock;
    if (!fClient.IsOpen()) return {};
    return fClient.GetBlob();
}

void CAudioCardManager::CloseOutput() {
    fPending.reset();
    StopPlayback();
    fClient.Close();
    fReleased = false;
    fStandingIn = false;
    NotifyListeners();
}

const SDeviceInfo& CAudioCardManager::GetDevice() const { return fClient.GetDevice(); }
SDriverSettings CAudioCardManager::GetSettings() const { return fClient.GetSettings(); }
double CAudioCardManager::GetOutputLatencyMs() const { return fClient.GetOutputLatencyMs(); }
SDriverStatistics CAudioCardManager::GetStatistics() const { return fClient.GetStatistics(); }

void CAudioCardManager::SetSampleRate(uint32_t rate) {
    SDriverSettings settings = fClient.GetSettings();
    if (settings.fRate == rate) return;
    // The rate changes only while nothing plays.
    StopPlayback();
    settings.fRate = rate;
    ApplySettings(settings);
}

void CAudioCardManager::SetBufferFrames(int32_t frames) {
    SDriverSettings settings = fClient.GetSettings();
    if (settings.fBufferFrames == frames) return;
    settings.fBufferFrames = frames;
    ApplySettings(settings);
}

void CAudioCardManager::SetActiveChannels(uint64_t channels) {
    SDriverSettings settings = fClient.GetSettings();
    if (settings.fActiveChannels == channels) return;
    settings.fActiveChannels = channels;
    ApplySettings(settings);
}

std::vector<std::string> CAudioCardManager::GetClockSources() const {
    return fClient.IsOpen() ? fClient.GetClockSources() : std::vector<std::string>();
}

int32_t CAudioCardManager::GetClockSource() const { return fClient.IsOpen() ? fClient.GetClockSource() : -1; }

void CAudioCardManager::SetClockSource(int32_t index) {
    if (GetClockSource() == index) return;
    Guarded([&] { fClient.SetClockSource(index); });
    NotifyListeners();
}

void CAudioCardManager::OpenControlPanel() {
    fClient.OpenControlPanel();
    HandleRateChange();
}

void CAudioCardManager::ApplySettings(const SDriverSettings& settings) {
    // The stream's own rate notification would come in the middle; the rate is taken over
    // once, below, also for a released stream, which reopens only when taken again.
    Guarded([&] {
        fOpening = true;
        try {
            fClient.ApplySettings(settings);
        } catch (...) {
            fOpening = false;
            throw;
        }
        fOpening = false;
    });
    // The Null Output standing in keeps the choice from before the failure.
    if (!fNullOutputForced && !fStandingIn) fChosenBlock.clear();
    HandleRateChange();
}

std::vector<SHostApiInfo> CAudioCardManager::GetHostApis() { return fClient.GetHostApis(); }
std::vector<SDeviceInfo> CAudioCardManager::GetDevices() { return fClient.GetDevices(); }

std::vector<SDeviceInfo> CAudioCardManager::RescanDevices() {
    if (!fClient.IsOpen() || fReleased || fClient.GetDevice().fIsNullOutput) return fClient.GetDevices();
    std::vector<SDeviceInfo> devices;
    Guarded([&] { OpenDevice([&] { devices = fClient.RescanDevices(); }); });
    return devices;
}
std::vector<uint32_t> CAudioCardManager::GetSupportedRates(const SDeviceInfo& device) {
    return fClient.GetSupportedRates(device);
}

void CAudioCardManager::ScheduleDeviceSwitch(const SAudioDeviceChoice& choice, uint32_t delayMilliseconds) {
    fPending = SPendingSwitch{choice, NowMilliseconds() + int64_t(delayMilliseconds)};
}

EAudioOutputProblem CAudioCardManager::Idle() {
    EAudioOutputProblem found = EAudioOutputProblem::kNone;
    if (fClient.IsOpen() && fClient.GetState() == EDriverState::kFailed) {
        fProblemDeviceName = fClient.GetDevice().fName;
        fClient.Close();
        fFailed = true;
        fReleased = false;
        fProblem = found = EAudioOutputProblem::kDriverStopped;
        StopPlayback();
        NotifyListeners();
    }
    if (fPending && NowMilliseconds() >= fPending->fDueMilliseconds) {
        const SAudioDeviceChoice choice = std::move(fPending->fChoice);
        fPending.reset();
        try {
            Choose(choice);
        } catch (const std::exception& failure) {
            found = GetAudioOutputProblem(failure);
            if (found == EAudioOutputProblem::kNone) found = EAudioOutputProblem::kDeviceNotOpened;
        }
    }
    return found;
}

void CAudioCardManager::ApplicationDeactivated() {
    if (!fClient.IsOpen() || fReleased || !fClient.GetDevice().fIsExclusive) return;
    if (fClient.GetState() != EDriverState::kRunning) return;
    fClient.Release();
    fReleased = true;
}

void CAudioCardManager::ApplicationActivated() {
    if (!fReleased) return;
    fReleased = false;
    Guarded([&] { fClient.Retake(); });
}

void CAudioCardManager::HandleRateChange() {
    if (fOpening) return;
    const uint32_t rate = fClient.IsOpen() ? fClient.GetOutputRate() : fRate;
    if (rate != fRate) {
        StopPlayback();
        fTables = CDSPTablesCache::Get(rate);
        fRate = rate;
    }
    NotifyListeners();
}

}  // namespace NSQuillet
