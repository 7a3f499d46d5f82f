#include "formats/lux2/LUX2HeaderChunk.h"

#include "formats/lux2/LUX2Format.h"
#include "formats/lux2/TextBlock.h"
#include "formats/media/MediaPrimitives.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint64_t kUUIDSize = 16;

}  // namespace

bool CLUX2HeaderChunk::IsReadableVersion(const CVersion& version) {
    return version.IsInRange(CVersion(1, 0), CVersion(3, 0));
}

CLUX2HeaderChunk::CLUX2HeaderChunk(CMedia& body) {
    RequireBytesLeft(body, 4);
    if (ReadU32(body) != kLUX2HeaderMagic) throw NSMishap::XFormatViolation("bad magic number in header chunk");
    fVersion = CVersion::Read(body);
    if (!IsReadableVersion(fVersion)) throw NSMishap::XVersionTooNew("old head chunk");
    RequireBytesLeft(body, kUUIDSize);
    uint8_t uuid[kUUIDSize];
    body.Read(kUUIDSize, uuid);
    for (const uint8_t byte : uuid) {
        if (byte != 0) throw NSMishap::XFormatViolation("non-zero uuid in header");
    }
    fText = ReadTextBlock(body);
}

CLUX2HeaderChunk::CLUX2HeaderChunk(const CVersion& version, std::string text)
    : fVersion(version), fText(std::move(text)) {
    if (!IsReadableVersion(version)) throw NSMishap::XStdInvalidArgument("header version outside 1.0..3.x");
}

void CLUX2HeaderChunk::Write(CMedia& media) const {
    WriteU32(media, kLUX2HeaderMagic);
    fVersion.Write(media);
    const uint8_t uuid[kUUIDSize] = {};
    media.Write(kUUIDSize, uuid);
    WriteTextBlock(media, fText);
}

}  // namespace NSQuillet
