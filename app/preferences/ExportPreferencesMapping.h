#pragma once

#include "app/export/ExportFlow.h"
#include "app/preferences/Preferences.h"

namespace NSQuillet {

// What the export flow remembers, as the preferences keep it: the last format by its
// extension (an extension of no export format gives the MIDI file), the export settings' rate,
// depth and same-name MIDI flag, and crop to loop. The base note is not stored: the default.
SExportPreferences GetExportPreferences(const CPreferences& preferences);

// Stores the export flow's choices in the preferences; each field changes only when it
// differs (setter rules). Settings the preferences cannot hold are an XStdInvalidArgument and
// change nothing. The base note is left out.
void StoreExportPreferences(CPreferences& preferences, const SExportPreferences& exportPreferences);

}  // namespace NSQuillet
