#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "formats/media/Media.h"

namespace NSQuillet {

// Packs bits most-significant first into 32-bit words stored big-endian, written to a media
// from its current position through a 4096-byte buffer. The media must outlive the stream.
// User-interface thread; the buffer is allocated on construction, writes block on the media.
class COutputBitStream {
public:
    class CWriter;

    explicit COutputBitStream(CMedia& media);
    // Finishes the stream if Finish was not called; a media failure then cannot propagate and is
    // reported as a diagnostic, so callers that keep the file call Finish. A stream left behind
    // by a failure on its way is abandoned as it is: writing more would only fail again.
    ~COutputBitStream();
    COutputBitStream(const COutputBitStream&) = delete;
    COutputBitStream& operator=(const COutputBitStream&) = delete;

    // The low `count` bits of `bits` (0..32), the highest first; higher bits must be 0.
    void Put(uint32_t bits, int count);
    // Pads the last word with zero bits, writes it and everything buffered. The stream is then
    // a whole number of words: one word even when no bit was put. Later calls do nothing.
    void Finish();

    uint64_t GetStart() const { return fStart; }

    // For many puts in a row: the stream's state in a value the caller keeps in registers, given
    // back by EndWriting before the stream is used otherwise. When a put fails, the stream holds
    // the state from before that put, and the writer must not be used or given back.
    CWriter BeginWriting();
    void EndWriting(const CWriter& writer);

private:
    static constexpr size_t kBufferSize = 4096;
    // Room for a writer's store of an incomplete word after a full buffer.
    static constexpr size_t kSlack = 4;

    // Writes the full buffer to the media.
    void WriteBuffer();

    CMedia& fMedia;
    uint64_t fStart;
    std::unique_ptr<uint8_t[]> fBuffer;
    uint8_t* fBufferEnd;
    // The bits put since the last whole word, in the low fPendingCount (0..32) bits; a full word
    // waits there until a bit has to go after it, so a stream ending on a word boundary gets no
    // extra word.
    uint64_t fPending = 0;
    int fPendingCount = 0;
    size_t fFill = 0;
    bool fFinished = false;
    // Failures in flight when the stream was made: more at destruction means one is passing.
    int fUncaughtAtStart;
};

class COutputBitStream::CWriter {
public:
    // As COutputBitStream::Put. Whether a word is complete is a coin toss, so the word is stored
    // either way and kept only when it is: an incomplete one lands where the next will go, at
    // worst in the buffer's slack.
    void Put(uint32_t bits, int count) {
        const uint64_t pending = (fPending << count) | bits;
        const int pendingCount = fPendingCount + count;
        const bool complete = pendingCount > 32;
        if (__builtin_expect(fOut == fStream->fBufferEnd, 0) && complete) {
            fOut = WriteBuffer(fStream, fPending, fPendingCount);
        }
        uint32_t word = uint32_t(pending >> ((pendingCount - 32) & 63));
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        word = __builtin_bswap32(word);
#endif
        std::memcpy(fOut, &word, sizeof word);
        fOut += sizeof word * size_t(complete);
        fPendingCount = pendingCount - 32 * int(complete);
        fPending = pending;
    }

private:
    friend class COutputBitStream;
    explicit CWriter(COutputBitStream& stream)
        : fStream(&stream), fPending(stream.fPending), fOut(stream.fBuffer.get() + stream.fFill),
          fPendingCount(stream.fPendingCount) {}

    // A whole word, as the stream's last.
    void StoreWord(uint32_t word) {
        if (fOut == fStream->fBufferEnd) fOut = WriteBuffer(fStream, fPending, fPendingCount);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        word = __builtin_bswap32(word);
#endif
        std::memcpy(fOut, &word, sizeof word);
        fOut += sizeof word;
    }

    // Writes the stream's full buffer, giving the stream the state first, so that a media failure
    // leaves it as before the put; answers where the next word goes. Takes the state by value, so
    // that the writer never has to live in memory.
    static uint8_t* WriteBuffer(COutputBitStream* stream, uint64_t pending, int pendingCount);

    COutputBitStream* fStream;
    uint64_t fPending;
    uint8_t* fOut;  // in the stream's buffer
    int fPendingCount;
};

inline COutputBitStream::CWriter COutputBitStream::BeginWriting() { return CWriter(*this); }

inline void COutputBitStream::EndWriting(const CWriter& writer) {
    fPending = writer.fPending;
    fPendingCount = writer.fPendingCount;
    fFill = size_t(writer.fOut - fBuffer.get());
}

}  // namespace NSQuillet
