#pragma once

#include "app/preferences/AudioDeviceRestorer.h"
#include "engine/AudioDeviceChoice.h"
#include "formats/lux2/Version.h"

namespace NSQuillet {

class CAudioCardManager;
class CPreferences;

// The driver-specification version the stored device blocks carry; a block of a later
// version, or of one before 1.0, is not read.
CVersion GetAudioDriverSpecVersion();

// Re-creates the device of the preferences' stored block through the audio-card manager.
// User-interface thread; blocks while the device opens.
class CAudioCardRestorer final : public IAudioDeviceRestorer {
public:
    // Not owned; outlives the restorer.
    explicit CAudioCardRestorer(CAudioCardManager& manager) : fManager(manager) {}

    // A block of a driver-specification version not read starts the standard device and is an
    // XUnsupportedFormat "incompatible driver spec version"; otherwise the manager's
    // RestoreDevice, whose failures carry their audio-output problem (for ChooseFailureAlert).
    void RestoreAudioDevice(const SAudioDeviceBlock& block) override;

private:
    CAudioCardManager& fManager;
};

// The manager's current device with its settings goes into the preferences as the block that
// re-creates it at the next start: a change of the preferences when it differs. Nothing while
// the manager has no device to store. User-interface thread.
void StoreAudioDeviceChoice(const CAudioCardManager& manager, CPreferences& preferences);

// The user chose a device (the Audio page): the manager opens it and it is stored
// (StoreAudioDeviceChoice). When it cannot be opened the failure propagates (the output counts
// as failed) and the preferences keep the block they had. User-interface thread; blocks while
// the device opens.
void ChooseAudioDevice(CAudioCardManager& manager, CPreferences& preferences, const SAudioDeviceChoice& choice);

}  // namespace NSQuillet
