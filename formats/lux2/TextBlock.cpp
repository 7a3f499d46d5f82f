#include "formats/lux2/TextBlock.h"

#include "formats/lux2/LUX2Format.h"
#include "formats/lux2/Version.h"
#include "formats/media/MediaPrimitives.h"
#include "formats/text/UTF8Text.h"
#include "formats/text/Windows1252.h"
#include "foundation/Mishap.h"

namespace NSQuillet {

namespace {

constexpr uint32_t kUTF8Marker = 0xFFFFFFFF;

std::string ReadBytes(CMedia& media, uint32_t count) {
    RequireBytesLeft(media, count);
    std::string bytes(count, '\0');
    media.Read(count, bytes.data());
    return bytes;
}

}  // namespace

std::string ReadTextBlock(CMedia& media) {
    RequireBytesLeft(media, 4);
    const uint32_t length = ReadU32(media);
    if (length != kUTF8Marker) return DecodeWindows1252(ReadBytes(media, length));
    if (!CVersion::Read(media).IsSameFamily(CVersion(1, 0))) throw NSMishap::XFormatViolation("");
    RequireBytesLeft(media, 4);
    return RepairUTF8(ReadBytes(media, ReadU32(media)));
}

void WriteTextBlock(CMedia& media, const std::string& utf8) {
    if (!IsValidUTF8(utf8)) throw NSMishap::XStdInvalidArgument("text is not UTF-8");
    if (utf8.size() >= kUTF8Marker) throw NSMishap::XStdLengthError("text too long for a text block");
    std::string bytes;
    if (EncodeWindows1252(utf8, bytes)) {
        WriteU32(media, uint32_t(bytes.size()));
        media.Write(bytes.size(), bytes.data());
        return;
    }
    WriteU32(media, kUTF8Marker);
    CVersion(1, 0).Write(media);
    WriteU32(media, uint32_t(utf8.size()));
    media.Write(utf8.size(), utf8.data());
}

}  // namespace NSQuillet
