#pragma once

#include <memory>

#include "formats/media/Media.h"
#include "formats/nupa/OptimizedNUPADecompressor.h"

namespace NSQuillet {

// Decodes a NUPA stream read from a media, from its current position, in pieces of at most
// 65536 bytes (whole big-endian words only). The media must outlive the decompressor.
// User-interface thread; the buffer is allocated on construction, decoding blocks on the media.
class COptimizedNUPADecompressorFromMedia : public COptimizedNUPADecompressor {
public:
    explicit COptimizedNUPADecompressorFromMedia(CMedia& media);

protected:
    // Fewer than 4 bytes left in the media is a std::domain_error "bad format" (an
    // XStdDomainError); media failures pass through.
    void Refill() override;

private:
    static constexpr size_t kBufferWords = 16384;

    CMedia& fMedia;
    std::unique_ptr<uint32_t[]> fBuffer;
};

}  // namespace NSQuillet
