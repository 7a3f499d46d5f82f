#pragma once

#include <cstdint>

#include "formats/ByteWriter.h"
#include "formats/Media.h"

namespace NSQuillet {

// A byte writer over a media, which must outlive it. Writes leave the media's position after
// the bytes written.
class CCMediaByteWriter final : public NSMishap::IByteWriter {
public:
    explicit CCMediaByteWriter(CMedia& media) : fMedia(media) {}

    void Write(uint64_t position, uint64_t count, const void* source) override {
        fMedia.WriteAt(position, count, source);
    }
    uint64_t GetSize() override { return fMedia.GetSize(); }

private:
    CMedia& fMedia;
};

}  // namespace NSQuillet
