#pragma once

#include "app/preferences/StoredPreferences.h"
#include "formats/media/Media.h"

namespace NSQuillet {

// Reads a whole preferences file from `media`: one FORM of type PREF filling the media, in
// which HEAD is read first, then GNRL, AUDI and the optional RECD (other chunks are passed
// over). A damaged file is an XFormatViolation (the chunks' own messages; "" for the chunk
// structure, a missing chunk or a media that is not the FORM alone); a file of a version this
// program cannot read an XUnsupportedFormat. Nothing is kept of a file that fails.
SStoredPreferences ReadPreferencesForm(CMedia& media);

// Writes the FORM at the media's position. The recent documents' chunk is left out when there
// are none. Values the file cannot hold are an XStdInvalidArgument before anything is written.
void WritePreferencesForm(CMedia& media, const SStoredPreferences& stored);

}  // namespace NSQuillet
