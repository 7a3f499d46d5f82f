#pragma once

#include "app/preferences/AudioDeviceRestorer.h"
#include "app/preferences/Preferences.h"
#include "platform/diskkit/FileSpec.h"

namespace NSQuillet {

// "Quillet Preferences File.prf" in the preferences folder DiskKit gives for "Moltrane
// Software" and "Quillet" ($XDG_CONFIG_HOME/Moltrane Software/Quillet, ~/.config/… when unset),
// the folder made when absent. DiskKit's failures are thrown.
NSDiskKit::CFileSpec LocatePreferencesFile();

// Reads the preferences file into `preferences` at start. A missing or empty file is the first
// run: false, the defaults stay, no alert. A file that cannot be read keeps the defaults too
// (nothing of it is applied) with the alert of its kind: damaged "The file is corrupt.", of
// another version "The file was created by a different version of Quillet.", anything else
// "The file could not be opened.", and answers false; a damaged file then counts as changed,
// so that the standard settings replace it at stop. A file read gives true and counts as
// stored; recent documents whose files are gone are dropped. Then a stored audio device block
// is handed to `restorer` (none: the block is only kept); when that fails the alert of the
// audio output's problem is shown ("Your last used audio device couldn’t be found." for a
// device that is gone, ...), for any other failure the note "Your driver settings could not
// be restored.", and the preferences stay as read.
// User-interface thread; blocks on disk I/O and on the restorer.
bool ReadPreferencesFile(CPreferences& preferences, IAudioDeviceRestorer* restorer);

// What ReadPreferencesFileAtStart found.
enum class EPreferencesFileReading { kRead, kFirstRun, kNotRead };

// ReadPreferencesFile, telling the first run (a missing or empty file, no alert) from a file
// that could not be read (its alert shown).
EPreferencesFileReading ReadPreferencesFileAtStart(CPreferences& preferences, IAudioDeviceRestorer* restorer);

// Writes `preferences` (at stop, when IsChanged): into a temporary file beside the old one that
// replaces it only once completely written and flushed, so that a failure or a crash leaves
// the old file as it was. A failure shows its alert and answers false: the folder or the file
// cannot be made "The Program settings file couldn’t be created…", the disk full "…because the
// disk is full.", any other "Program settings could not be saved.". Written, the preferences
// count as stored (true). User-interface thread; blocks on disk I/O.
bool WritePreferencesFile(CPreferences& preferences);

}  // namespace NSQuillet
