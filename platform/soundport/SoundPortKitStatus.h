#pragma once

#include <cstdint>
#include <string>

#include "foundation/StatusTranslation.h"

namespace NSSoundPortKit2 {

// Status words of the audio-card library. 7000 is success; each other word names one kind of
// device failure, so that the program can tell the user which one happened.
enum ESoundPortKitStatus : uint32_t {
    kSoundPortKitSuccess = 7000,
    kSoundPortKitBadArgument = 7001,           // a null pointer, settings out of range
    kSoundPortKitUnknownInterface = 7002,      // the factory was asked for another interface
    kSoundPortKitNoSuchDevice = 7003,          // no device of that host API and name
    kSoundPortKitDeviceUnavailable = 7004,     // the device could not be opened: busy, gone, or refused by its host
    kSoundPortKitSettingsRefused = 7005,       // the device refuses the rate, buffer size or channels
    kSoundPortKitDriverStopped = 7006,         // a running stream stopped by itself
    kSoundPortKitIncompatibleBlob = 7007,      // a device block of another version
    kSoundPortKitBadBlob = 7008,               // a device block that cannot be read
    kSoundPortKitStreamOpen = 7009,            // a rescan asked for while a stream is open
    kSoundPortKitUnavailable = 7010,           // clock source or control panel: the host API has none
    kSoundPortKitOutOfMemory = 7011,
    kSoundPortKitHostFailure = 7012,           // the host API library failed to start
    kSoundPortKitRecordingFailed = 7013,       // the Null Output's recording file could not be created
    kSoundPortKitWrongState = 7014,            // starting a started driver, retaking one not released
};

// The failure of each status, aimed at "audio_driver" ("file" for the recording), with
// "error_code" set to the status by the translation.
extern const NSMishap::SStatusTable kSoundPortKitStatusTable;

inline void CheckSoundPortKitStatus(uint32_t status, const std::string& message) {
    NSMishap::CheckStatus(status, kSoundPortKitStatusTable, message);
}

}  // namespace NSSoundPortKit2
