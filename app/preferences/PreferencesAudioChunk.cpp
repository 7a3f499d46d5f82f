#include "app/preferences/PreferencesAudioChunk.h"

#include "app/preferences/PreferencesFileFormat.h"
#include "formats/lux2/LUX2Format.h"
#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

CPreferencesAudioChunk::CPreferencesAudioChunk(CMedia& body) {
    fBlock.fVersion = CVersion::Read(body);
    RequireBytesLeft(body, 4);
    const uint32_t length = ReadU32(body);
    RequireBytesLeft(body, length);
    fBlock.fBytes.resize(length);
    body.Read(length, fBlock.fBytes.data());
    RequireEndOfPreferencesChunk(body, "audio");
}

void CPreferencesAudioChunk::Write(CMedia& media) const {
    if (fBlock.fBytes.size() > UINT32_MAX) throw NSMishap::XStdLengthError("audio device block too long");
    fBlock.fVersion.Write(media);
    WriteU32(media, uint32_t(fBlock.fBytes.size()));
    media.Write(fBlock.fBytes.size(), fBlock.fBytes.data());
}

}  // namespace NSQuillet
