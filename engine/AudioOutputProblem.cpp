#include "engine/AudioOutputProblem.h"

#include "foundation/Mishap.h"
#include "platform/soundport/SoundPortClient.h"

namespace NSQuillet {

namespace {

constexpr EAudioOutputProblem kProblems[] = {
    EAudioOutputProblem::kNone,           EAudioOutputProblem::kDeviceNotOpened,
    EAudioOutputProblem::kLastDeviceNotFound, EAudioOutputProblem::kDriverStopped,
    EAudioOutputProblem::kDeviceNotUsable, EAudioOutputProblem::kSettingsNotRestored,
};

std::string PropertyOf(const std::exception& failure, const char* name) {
    const auto* mishap = NSMishap::FindMishap(failure);
    if (!mishap) return {};
    return mishap->GetProperty(name).value_or(std::string());
}

}  // namespace

const char* GetAudioOutputProblemName(EAudioOutputProblem problem) {
    switch (problem) {
        case EAudioOutputProblem::kNone: return "none";
        case EAudioOutputProblem::kDeviceNotOpened: return "device_not_opened";
        case EAudioOutputProblem::kLastDeviceNotFound: return "last_device_not_found";
        case EAudioOutputProblem::kDriverStopped: return "driver_stopped";
        case EAudioOutputProblem::kDeviceNotUsable: return "device_not_usable";
        case EAudioOutputProblem::kSettingsNotRestored: return "settings_not_restored";
    }
    return "none";
}

EAudioOutputProblem GetAudioOutputProblem(const std::exception& failure) {
    const std::string name = PropertyOf(failure, kProperty_AudioOutputProblem);
    for (EAudioOutputProblem problem : kProblems) {
        if (name == GetAudioOutputProblemName(problem)) return problem;
    }
    return EAudioOutputProblem::kNone;
}

std::string GetAudioDeviceName(const std::exception& failure) {
    return PropertyOf(failure, NSSoundPortKitUtils::kProperty_AudioDeviceName);
}

}  // namespace NSQuillet
