#include "formats/OutputBitStream.h"

namespace NSQuillet {

COutputBitStream::COutputBitStream(CMedia& media)
    : fMedia(media), fStart(media.GetPosition()), fBuffer(new uint8_t[kBufferSize]) {}

COutputBitStream::~COutputBitStream() {
    try {
        Finish();
    } catch (...) {
    }
}

void COutputBitStream::Put(uint32_t bits, int count) {
    if (count == 0) return;
    // A full word waits until a bit has to go after it, so a stream ending on a word boundary
    // gets no extra word.
    if (fFree == 0) {
        FlushWord(fWord);
        fWord = 0;
        fFree = 32;
    }
    if (count <= fFree) {
        fWord = count == 32 ? bits : (fWord << count) | bits;
        fFree -= count;
        return;
    }
    const int rest = count - fFree;
    FlushWord((fWord << fFree) | (bits >> rest));
    fWord = bits & ((1u << rest) - 1);
    fFree = 32 - rest;
}

void COutputBitStream::Finish() {
    if (fFinished) return;
    fFinished = true;
    FlushWord(fFree == 32 ? 0 : fWord << fFree);
    fMedia.Write(fFill, fBuffer.get());
    fFill = 0;
}

void COutputBitStream::FlushWord(uint32_t word) {
    if (fFill == kBufferSize) {
        fMedia.Write(fFill, fBuffer.get());
        fFill = 0;
    }
    uint8_t* out = fBuffer.get() + fFill;
    out[0] = uint8_t(word >> 24);
    out[1] = uint8_t(word >> 16);
    out[2] = uint8_t(word >> 8);
    out[3] = uint8_t(word);
    fFill += 4;
}

}  // namespace NSQuillet
