#include "app/preferences/PreferencesRecentChunk.h"

#include "app/preferences/PreferencesFileFormat.h"
#include "app/preferences/PreferencesText.h"
#include "formats/lux2/LUX2Format.h"
#include "formats/lux2/TextBlock.h"
#include "formats/lux2/Version.h"
#include "formats/media/MediaPrimitives.h"
#include "formats/text/UTF8Text.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CPreferencesRecentChunk::CPreferencesRecentChunk(CMedia& body) {
    if (!IsCompatiblePreferencesVersion(CVersion::Read(body), PreferencesRecentListVersion()))
        throw NSMishap::XUnsupportedFormat("incompatible prefs file version");
    RequireBytesLeft(body, 1);
    const uint8_t count = ReadU8(body);
    if (count > CRecentlyUsedDocuments::kMaximumEntries)
        throw NSMishap::XFormatViolation("bad prefs file recent document count");
    for (uint8_t i = 0; i < count; ++i) {
        SRecentDocument entry;
        entry.fPath = ReadTextBlock(body);
        entry.fDisplayName = CutToCharacters(ReadTextBlock(body), kPreferencesTextCharacterLimit);
        fEntries.push_back(std::move(entry));
    }
    RequireEndOfPreferencesChunk(body, "recent documents");
}

CPreferencesRecentChunk::CPreferencesRecentChunk(std::vector<SRecentDocument> entries) : fEntries(std::move(entries)) {
    if (fEntries.size() > CRecentlyUsedDocuments::kMaximumEntries)
        throw NSMishap::XStdInvalidArgument("more recent documents than the file holds");
    for (const SRecentDocument& entry : fEntries) {
        if (entry.fPath.empty() || entry.fPath.find('\0') != std::string::npos || !IsValidUTF8(entry.fPath))
            throw NSMishap::XStdInvalidArgument("recent document path empty, with a NUL or not UTF-8");
    }
}

void CPreferencesRecentChunk::Write(CMedia& media) const {
    PreferencesRecentListVersion().Write(media);
    WriteU8(media, uint8_t(fEntries.size()));
    for (const SRecentDocument& entry : fEntries) {
        WriteTextBlock(media, entry.fPath);
        WriteTextBlock(media, entry.fDisplayName);
    }
}

}  // namespace NSQuillet
