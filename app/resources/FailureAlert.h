#pragma once

#include <exception>
#include <optional>

#include "app/resources/ResourceReference.h"
#include "platform/soundport/SoundPortClient.h"

namespace NSQuillet {

// The failure property naming the audio device in the device alert's "^0": the audio-card
// library's.
using NSSoundPortKitUtils::kProperty_AudioDeviceName;

// The exception responder's choice for a failure that ended a command: by the failure's class
// and its target object type, the first matching rule deciding; no alert for XAbort and
// XSilentAbort. Every front end (editor, quillet-cli) shows what this chooses. Any thread.
std::optional<CResourceReference> ChooseFailureAlert(const std::exception& failure);

// The choice for a failure of no recognised class (`catch (...)`): the internal-error alert.
CResourceReference ChooseUnknownFailureAlert();

}  // namespace NSQuillet
