#pragma once

#include <cstdint>

#include "formats/ByteReader.h"
#include "formats/Media.h"

namespace NSQuillet {

// A byte reader over a media, which must outlive it. Reads leave the media's position after
// the bytes read.
class CCMediaByteReader final : public NSMishap::IByteReader {
public:
    explicit CCMediaByteReader(CMedia& media) : fMedia(media) {}

    void Read(uint64_t position, uint64_t count, void* destination) override {
        fMedia.ReadAt(position, count, destination);
    }
    uint64_t GetSize() const { return fMedia.GetSize(); }

private:
    CMedia& fMedia;
};

}  // namespace NSQuillet
