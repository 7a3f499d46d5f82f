#pragma once

#include <vector>

#include "app/preferences/AudioDeviceBlock.h"
#include "app/preferences/GeneralPreferences.h"
#include "app/preferences/RecentlyUsedDocuments.h"

namespace NSQuillet {

// Everything the preferences file holds: the general settings, the chosen audio device and the
// recent documents.
struct SStoredPreferences {
    SGeneralPreferences fGeneral;
    SAudioDeviceBlock fAudioDevice;
    std::vector<SRecentDocument> fRecentDocuments;

    friend bool operator==(const SStoredPreferences& a, const SStoredPreferences& b) {
        return a.fGeneral == b.fGeneral && a.fAudioDevice == b.fAudioDevice && a.fRecentDocuments == b.fRecentDocuments;
    }
    friend bool operator!=(const SStoredPreferences& a, const SStoredPreferences& b) { return !(a == b); }
};

}  // namespace NSQuillet
