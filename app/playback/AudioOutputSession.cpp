#include "app/playback/AudioOutputSession.h"

#include "app/preferences/AudioCardPreferences.h"
#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesFile.h"
#include "engine/AudioCardManager.h"
#include "foundation/Diagnostics.h"

namespace NSQuillet {

CAudioOutputSession::CAudioOutputSession(CAudioCardManager& manager, const std::string& deviceName)
    : fManager(manager) {
    if (!deviceName.empty()) {
        fManager.ChooseDeviceByName(deviceName);
        return;
    }
    CPreferences preferences;
    CAudioCardRestorer restorer(fManager);
    ReadPreferencesFile(preferences, &restorer);
    if (!fManager.IsOutputWorking()) fManager.StartDefaultDevice();
}

CAudioOutputSession::~CAudioOutputSession() {
    NSMishap::RunReportingFailure("closing the audio output", [this] { fManager.CloseOutput(); });
}

}  // namespace NSQuillet
