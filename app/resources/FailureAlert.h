#pragma once

#include <exception>
#include <optional>
#include <string>

#include "app/resources/ResourceReference.h"
#include "engine/AudioOutputProblem.h"
#include "platform/soundport/SoundPortClient.h"

namespace NSQuillet {

// The failure property naming the audio device in the device alert's "^0": the audio-card
// library's.
using NSSoundPortKitUtils::kProperty_AudioDeviceName;

// The exception responder's choice for a failure that ended a command: a failure of the audio
// output that carries its problem (the audio-card manager's) gets that problem's alert;
// otherwise by the failure's class and its target object type, the first matching rule
// deciding; no alert for XAbort and XSilentAbort. Every front end (editor, quillet-cli) shows
// what this chooses. Any thread.
std::optional<CResourceReference> ChooseFailureAlert(const std::exception& failure);

// The alert of a problem of the audio output, with `deviceName` for "^0" where the alert names
// the device; none for kNone. For problems found without a failure (a driver that stopped
// working, noticed in idle time). Any thread.
std::optional<CResourceReference> ChooseAudioOutputAlert(EAudioOutputProblem problem, const std::string& deviceName);

// The choice for a failure of no recognised class (`catch (...)`): the internal-error alert.
CResourceReference ChooseUnknownFailureAlert();

}  // namespace NSQuillet
