#include "formats/lux2/LUX2Format.h"

#include "foundation/Mishap.h"

namespace NSQuillet {

uint64_t BytesLeft(const CMedia& media) {
    const uint64_t size = media.GetSize();
    return media.GetPosition() < size ? size - media.GetPosition() : 0;
}

void RequireBytesLeft(const CMedia& media, uint64_t count) {
    if (BytesLeft(media) < count) throw NSMishap::XFormatViolation("");
}

}  // namespace NSQuillet
