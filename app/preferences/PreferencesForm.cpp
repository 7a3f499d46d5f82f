#include "app/preferences/PreferencesForm.h"

#include "app/preferences/PreferencesAudioChunk.h"
#include "app/preferences/PreferencesFileFormat.h"
#include "app/preferences/PreferencesGeneralChunk.h"
#include "app/preferences/PreferencesHeaderChunk.h"
#include "app/preferences/PreferencesRecentChunk.h"
#include "formats/iff/IFFFileReader.h"
#include "formats/iff/IFFFileWriter.h"
#include "formats/iff/IFFWriter2.h"
#include "formats/lux2/ChunkBodyIO.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

// Header, type and body; the writer pads every member, so the body is even and so is the file.
constexpr uint64_t kFormHeaderSize = 12;

}  // namespace

SStoredPreferences ReadPreferencesForm(CMedia& media) {
    CIFFFileReader reader(media);
    if (!reader.FirstChunk() || reader.CurrentKind() != EIFFChunkKind::kForm || reader.CurrentType() != kPreferencesFormType ||
        kFormHeaderSize + reader.GetChunkSize() != media.GetSize())
        throw NSMishap::XFormatViolation("");
    ReadChunk<CPreferencesHeaderChunk>(reader, kPreferencesHeaderId);
    SStoredPreferences stored;
    stored.fGeneral = ReadChunk<CPreferencesGeneralChunk>(reader, kPreferencesGeneralId).GetGeneral();
    stored.fAudioDevice = ReadChunk<CPreferencesAudioChunk>(reader, kPreferencesAudioId).GetBlock();
    if (reader.FindOptionalChunk(kPreferencesRecentId)) {
        stored.fRecentDocuments = CPreferencesRecentChunk(reader.GetMedia()).GetEntries();
        reader.Leave();
    }
    return stored;
}

void WritePreferencesForm(CMedia& media, const SStoredPreferences& stored) {
    const CPreferencesHeaderChunk header;
    const CPreferencesGeneralChunk general(stored.fGeneral);
    const CPreferencesAudioChunk audio(stored.fAudioDevice);
    const CPreferencesRecentChunk recent(stored.fRecentDocuments);
    CIFFWriter2 form(media);
    form.BeginForm(kPreferencesFormType);
    {
        CIFFFileWriter members(media);
        WriteChunk(members, kPreferencesHeaderId, header);
        WriteChunk(members, kPreferencesGeneralId, general);
        WriteChunk(members, kPreferencesAudioId, audio);
        if (!stored.fRecentDocuments.empty()) WriteChunk(members, kPreferencesRecentId, recent);
    }
    form.EndChunk();
}

}  // namespace NSQuillet
