#pragma once

#include <exception>
#include <string>

namespace NSQuillet {

// Why the audio output failed or fell back, one kind per message the user gets:
enum class EAudioOutputProblem {
    kNone,
    kDeviceNotOpened,      // "The audio device “^0” could not be opened." (the device is busy or gone)
    kLastDeviceNotFound,   // "Your last used audio device couldn’t be found." (the default device plays)
    kDriverStopped,        // "Your audio driver has stopped working."
    kDeviceNotUsable,      // "Could not use audio device" (it refuses the rate, buffer size or channels)
    kSettingsNotRestored,  // "Your driver settings could not be restored." (the default device plays)
};

// The failure property the audio-card manager puts on every failure of a device choice: the
// problem's name below. The device's name is in NSSoundPortKitUtils::kProperty_AudioDeviceName.
inline constexpr const char* kProperty_AudioOutputProblem = "audio_output_problem";

const char* GetAudioOutputProblemName(EAudioOutputProblem problem);
// The problem a failure carries; kNone for any other failure.
EAudioOutputProblem GetAudioOutputProblem(const std::exception& failure);
// The device the failure names, "" when none.
std::string GetAudioDeviceName(const std::exception& failure);

}  // namespace NSQuillet
