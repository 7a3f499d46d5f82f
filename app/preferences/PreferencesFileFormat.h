#pragma once

#include <cstdint>

#include "formats/iff/ChunkId.h"
#include "formats/lux2/Version.h"
#include "formats/media/Media.h"
#include "platform/diskkit/FourCharCode.h"

namespace NSQuillet {

// The preferences file: one IFF FORM of type PREF holding HEAD, GNRL, AUDI and, when there are
// recent documents, RECD, in this order (big-endian sizes, odd bodies padded).
inline constexpr TChunkId kPreferencesFormType = MakeChunkId("PREF");
inline constexpr TChunkId kPreferencesHeaderId = MakeChunkId("HEAD");
inline constexpr TChunkId kPreferencesGeneralId = MakeChunkId("GNRL");
inline constexpr TChunkId kPreferencesAudioId = MakeChunkId("AUDI");
inline constexpr TChunkId kPreferencesRecentId = MakeChunkId("RECD");

inline constexpr uint32_t kPreferencesMagic = 0x760B1EED;

inline constexpr const char* kPreferencesCompanyName = "Moltrane Software";
inline constexpr const char* kPreferencesProductName = "Quillet";
inline constexpr const char* kPreferencesFileName = "Quillet Preferences File.prf";
inline constexpr uint32_t kPreferencesFileTypeCode = NSDiskKit::MakeFourCharCode('P', 'R', 'E', 'F');

// The versions this program writes in HEAD and RECD: 1.0 each. A stored version is compatible
// when it lies from 1.0 up to this program's own: a later program may add to the layout, which
// this one cannot know, so its files count as another version's; this program reads every
// earlier layout of major 1.
CVersion PreferencesHeaderVersion();
CVersion PreferencesRecentListVersion();
bool IsCompatiblePreferencesVersion(const CVersion& stored, const CVersion& own);

// Bytes left after a chunk's last field are damage: XFormatViolation "unexpected bytes at the
// end of prefs file <chunk> chunk".
void RequireEndOfPreferencesChunk(const CMedia& body, const char* chunk);

}  // namespace NSQuillet
