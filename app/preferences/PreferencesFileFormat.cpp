#include "app/preferences/PreferencesFileFormat.h"

#include <string>

#include "formats/lux2/LUX2Format.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CVersion PreferencesHeaderVersion() { return CVersion(1, 0); }

CVersion PreferencesRecentListVersion() { return CVersion(1, 0); }

bool IsCompatiblePreferencesVersion(const CVersion& stored, const CVersion& own) {
    return stored >= CVersion(1, 0) && stored <= own;
}

void RequireEndOfPreferencesChunk(const CMedia& body, const char* chunk) {
    if (BytesLeft(body) != 0)
        throw NSMishap::XFormatViolation(std::string("unexpected bytes at the end of prefs file ") + chunk + " chunk");
}

}  // namespace NSQuillet
