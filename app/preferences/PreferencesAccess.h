#pragma once

#include "app/preferences/Preferences.h"

namespace NSQuillet {

// The process-wide preferences, created at start by the application and set here; their note
// counters become the process-wide ones (SetNoteCounters). Null (the start) means none. Not
// owned; preferences destroyed while set unset themselves. User-interface thread.
void SetPreferences(CPreferences* preferences);
CPreferences* GetPreferences();

}  // namespace NSQuillet
