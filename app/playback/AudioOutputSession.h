#pragma once

#include <string>

namespace NSQuillet {

class CAudioCardManager;

// The audio output of a headless front end for as long as it plays. Construction opens the
// device named (CAudioCardManager::ChooseDeviceByName: "null" is the Null Output, as is every
// device while QUILLET_AUDIO_DEVICE=null), or, when none is named, the device stored in the
// preferences file, read with its alerts and never written; when none is stored, or the stored
// one cannot be used (its alert shown), the standard device. A device that cannot be opened is
// thrown with its audio-output problem. Destruction closes the output, which completes the
// Null Output's recording. User-interface thread; blocks while devices open.
class CAudioOutputSession {
public:
    // Not owned; outlives the session.
    CAudioOutputSession(CAudioCardManager& manager, const std::string& deviceName);
    ~CAudioOutputSession();
    CAudioOutputSession(const CAudioOutputSession&) = delete;
    CAudioOutputSession& operator=(const CAudioOutputSession&) = delete;

private:
    CAudioCardManager& fManager;
};

}  // namespace NSQuillet
