#include "app/preferences/AudioCardPreferences.h"

#include <exception>

#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesFileFormat.h"
#include "engine/AudioCardManager.h"
#include "foundation/Diagnostics.h"
#include "foundation/FailureCode.h"
#include "foundation/Mishap.h"
#include "foundation/TargetObjectType.h"

namespace NSQuillet {

CVersion GetAudioDriverSpecVersion() { return CVersion(1, 0); }

void CAudioCardRestorer::RestoreAudioDevice(const SAudioDeviceBlock& block) {
    if (!IsCompatiblePreferencesVersion(block.fVersion, GetAudioDriverSpecVersion())) {
        // The standard device plays instead; its own failure is the output's state.
        NSMishap::RunReportingFailure("starting the standard audio device", [this] { fManager.StartDefaultDevice(); });
        try {
            NSMishap::ThrowFailure(NSMishap::kFailureCode_RuntimeError_UnsupportedFormat,
                                   "incompatible driver spec version", NSMishap::kTargetObjectType_AudioDriver);
        } catch (const NSMishap::XUnsupportedFormat& failure) {
            failure.AddProperty(kProperty_AudioOutputProblem,
                                GetAudioOutputProblemName(EAudioOutputProblem::kSettingsNotRestored));
            throw;
        }
    }
    fManager.RestoreDevice(block.fBytes);
}

void StoreAudioDeviceChoice(const CAudioCardManager& manager, CPreferences& preferences) {
    SAudioDeviceBlock block;
    block.fVersion = GetAudioDriverSpecVersion();
    block.fBytes = manager.GetDeviceBlock();
    if (!block.fBytes.empty()) preferences.SetAudioDeviceBlock(block);
}

void ChooseAudioDevice(CAudioCardManager& manager, CPreferences& preferences, const SAudioDeviceChoice& choice) {
    manager.Choose(choice);
    StoreAudioDeviceChoice(manager, preferences);
}

}  // namespace NSQuillet
