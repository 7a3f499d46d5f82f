#include "app/resources/FailureAlert.h"

#include <new>
#include <stdexcept>
#include <string>

#include "app/resources/AlertIds.h"
#include "foundation/Mishap.h"
#include "foundation/TargetObjectType.h"

namespace NSQuillet {

namespace {

template <class TFailure>
bool Is(const std::exception& failure) {
    return dynamic_cast<const TFailure*>(&failure) != nullptr;
}

std::string PropertyOf(const std::exception& failure, const char* name) {
    const auto* mishap = NSMishap::FindMishap(failure);
    if (!mishap) return {};
    return mishap->GetProperty(name).value_or(std::string());
}

CResourceReference Framework(int32_t id) { return FrameworkAlertReference(id); }

CResourceReference Internal() { return AlertReference(NSAlertIds::kInternalError); }

CResourceReference AudioDevice(const std::exception& failure) {
    return AlertReference(NSAlertIds::kAudioDeviceNotOpened).With(PropertyOf(failure, kProperty_AudioDeviceName));
}

}  // namespace

std::optional<CResourceReference> ChooseFailureAlert(const std::exception& failure) {
    using namespace NSMishap;
    using namespace NSFrameworkAlertIds;
    const std::string target = PropertyOf(failure, kProperty_TargetObjectType);
    const bool audio = target == kTargetObjectType_AudioDriver;
    if (Is<XAbort>(failure) || Is<XSilentAbort>(failure)) return std::nullopt;
    const EAudioOutputProblem problem = GetAudioOutputProblem(failure);
    if (problem != EAudioOutputProblem::kNone) return ChooseAudioOutputAlert(problem, GetAudioDeviceName(failure));
    if (Is<XVersionTooNew>(failure)) return Framework(kUnsupportedFormat);
    if (Is<XNotFound>(failure)) return audio ? AudioDevice(failure) : Framework(kFileSystemObjectNotFound);
    if (Is<XResolve>(failure)) return Framework(kUnresolvedAlias);
    if (Is<XLocked>(failure)) return Framework(kFileLocked);
    if (Is<XNotReady>(failure)) return audio ? AudioDevice(failure) : Internal();
    if (Is<XCreate>(failure)) return Framework(kMediaProblem);
    if (Is<XOpen>(failure)) {
        if (audio) return AudioDevice(failure);
        return target == kTargetObjectType_HelpWindow ? Framework(kHelpError) : Internal();
    }
    if (Is<XFormatViolation>(failure)) return Framework(kBadFormat);
    if (Is<XWrite>(failure)) return Framework(kWriteProblem);
    if (Is<XRead>(failure)) return Framework(kReadProblem);
    if (Is<XOutOfSpace>(failure)) return target == kTargetObjectType_Disk ? Framework(kDiskFull) : Internal();
    if (Is<XUnsupportedFormat>(failure)) return Framework(kUnsupportedFormat);
    if (Is<XIllegalCallSequence>(failure) || Is<XInvariantCorrupt>(failure)) return Internal();
    if (Is<std::runtime_error>(failure))
        return target == kTargetObjectType_UndoStep ? AlertReference(NSAlertIds::kUndoRedoFailed) : Internal();
    if (Is<std::bad_alloc>(failure)) return Framework(kOutOfMemory);
    return Internal();
}

std::optional<CResourceReference> ChooseAudioOutputAlert(EAudioOutputProblem problem, const std::string& deviceName) {
    switch (problem) {
        case EAudioOutputProblem::kNone: return std::nullopt;
        case EAudioOutputProblem::kDeviceNotOpened:
            return AlertReference(NSAlertIds::kAudioDeviceNotOpened).With(deviceName);
        case EAudioOutputProblem::kLastDeviceNotFound: return AlertReference(NSAlertIds::kLastAudioDeviceNotFound);
        case EAudioOutputProblem::kDriverStopped: return AlertReference(NSAlertIds::kAudioDriverStopped);
        case EAudioOutputProblem::kDeviceNotUsable: return AlertReference(NSAlertIds::kCouldNotUseAudioDevice);
        case EAudioOutputProblem::kSettingsNotRestored: return AlertReference(NSAlertIds::kDriverSettingsNotRestored);
    }
    return std::nullopt;
}

CResourceReference ChooseUnknownFailureAlert() { return Internal(); }

}  // namespace NSQuillet
