#include "formats/nupa/OutputBitStream.h"

#include <exception>

#include "foundation/Diagnostics.h"

namespace NSQuillet {

COutputBitStream::COutputBitStream(CMedia& media)
    : fMedia(media), fStart(media.GetPosition()), fBuffer(new uint8_t[kBufferSize + kSlack]),
      fBufferEnd(fBuffer.get() + kBufferSize), fUncaughtAtStart(std::uncaught_exceptions()) {}

COutputBitStream::~COutputBitStream() {
    if (std::uncaught_exceptions() > fUncaughtAtStart) return;
    NSMishap::RunReportingFailure("finishing a bit stream that was not finished", [this] { Finish(); });
}

void COutputBitStream::Put(uint32_t bits, int count) {
    CWriter writer = BeginWriting();
    writer.Put(bits, count);
    EndWriting(writer);
}

void COutputBitStream::Finish() {
    if (fFinished) return;
    fFinished = true;
    // The last word, zero-filled on the right; the pending bits' stale high neighbours shift out.
    CWriter writer = BeginWriting();
    writer.StoreWord(uint32_t(fPending << (32 - fPendingCount)));
    EndWriting(writer);
    fPending = 0;
    fPendingCount = 0;
    fMedia.Write(fFill, fBuffer.get());
    fFill = 0;
}

__attribute__((noinline)) uint8_t* COutputBitStream::CWriter::WriteBuffer(COutputBitStream* stream, uint64_t pending,
                                                                          int pendingCount) {
    stream->fPending = pending;
    stream->fPendingCount = pendingCount;
    stream->fFill = kBufferSize;
    stream->WriteBuffer();
    return stream->fBuffer.get();
}

void COutputBitStream::WriteBuffer() {
    fMedia.Write(fFill, fBuffer.get());
    fFill = 0;
}

}  // namespace NSQuillet
