#pragma once

#include <cstdint>
#include <memory>

#include "formats/Media.h"

namespace NSQuillet {

// Packs bits most-significant first into 32-bit words stored big-endian, written to a media
// from its current position through a 4096-byte buffer. The media must outlive the stream.
// User-interface thread; the buffer is allocated on construction, writes block on the media.
class COutputBitStream {
public:
    explicit COutputBitStream(CMedia& media);
    // Finishes the stream if Finish was not called; a media failure is then lost, so callers
    // that keep the file call Finish.
    ~COutputBitStream();
    COutputBitStream(const COutputBitStream&) = delete;
    COutputBitStream& operator=(const COutputBitStream&) = delete;

    // The low `count` bits of `bits` (0..32), the highest first; higher bits must be 0.
    void Put(uint32_t bits, int count);
    // Pads the last word with zero bits, writes it and everything buffered. The stream is then
    // a whole number of words: one word even when no bit was put. Later calls do nothing.
    void Finish();

    uint64_t GetStart() const { return fStart; }

private:
    static constexpr size_t kBufferSize = 4096;

    void FlushWord(uint32_t word);

    CMedia& fMedia;
    uint64_t fStart;
    int fFree = 32;
    uint32_t fWord = 0;
    std::unique_ptr<uint8_t[]> fBuffer;
    size_t fFill = 0;
    bool fFinished = false;
};

}  // namespace NSQuillet
