#include "app/preferences/PreferencesHeaderChunk.h"

#include "app/preferences/PreferencesFileFormat.h"
#include "formats/lux2/LUX2Format.h"
#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CPreferencesHeaderChunk::CPreferencesHeaderChunk(CMedia& body) {
    RequireBytesLeft(body, 4);
    if (ReadU32(body) != kPreferencesMagic) throw NSMishap::XFormatViolation("bad prefs file magic");
    fVersion = CVersion::Read(body);
    if (!IsCompatiblePreferencesVersion(fVersion, PreferencesHeaderVersion()))
        throw NSMishap::XUnsupportedFormat("unsupported prefs file head chunk version");
    RequireEndOfPreferencesChunk(body, "head");
}

CPreferencesHeaderChunk::CPreferencesHeaderChunk() : fVersion(PreferencesHeaderVersion()) {}

void CPreferencesHeaderChunk::Write(CMedia& media) const {
    WriteU32(media, kPreferencesMagic);
    fVersion.Write(media);
}

}  // namespace NSQuillet
