#include "app/preferences/PreferencesAccess.h"

#include "app/resources/NoteCounters.h"

namespace NSQuillet {

namespace {

CPreferences* gPreferences = nullptr;

}  // namespace

void SetPreferences(CPreferences* preferences) {
    gPreferences = preferences;
    SetNoteCounters(preferences ? &preferences->GetNoteCounters() : nullptr);
}

CPreferences* GetPreferences() { return gPreferences; }

}  // namespace NSQuillet
