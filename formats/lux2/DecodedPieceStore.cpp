#include "formats/lux2/DecodedPieceStore.h"

#include <new>
#include <system_error>

#include "foundation/Mishap.h"

namespace NSQuillet {

CDecodedPieceStore::CDecodedPieceStore(CABCWaveSample& sample, int32_t pieceFrames, bool background)
    : fSample(sample), fWide(sample.GetBitDepth() == 24), fStereo(sample.GetChannelCount() == 2) {
    const size_t samples = size_t(pieceFrames) * (fStereo ? 2 : 1);
    try {
        for (SPiece& piece : fPieces) {
            if (fWide) {
                piece.f32.resize(samples);
            } else {
                piece.f16.resize(samples);
            }
            if (!background) break;
        }
    } catch (const std::bad_alloc&) {
        NSMishap::ThrowOutOfMemory("no memory for decoding the loop file's sound");
    }
    if (!background) return;
    try {
        fThread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // Stored on this thread instead, from the first buffer alone.
    }
}

CDecodedPieceStore::~CDecodedPieceStore() {
    if (!fThread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(fLock);
        fStopping = true;
    }
    fChanged.notify_all();
    fThread.join();
}

CDecodedPieceStore::SPiece& CDecodedPieceStore::NextFree() {
    SPiece& piece = fPieces[fCurrent];
    if (fThread.joinable()) {
        std::unique_lock<std::mutex> lock(fLock);
        fChanged.wait(lock, [&] { return !piece.fFull; });
    }
    return piece;
}

int16_t* CDecodedPieceStore::Next16() { return fWide ? nullptr : NextFree().f16.data(); }

int32_t* CDecodedPieceStore::Next32() { return fWide ? NextFree().f32.data() : nullptr; }

void CDecodedPieceStore::Store(int32_t start, int32_t count) {
    SPiece& piece = fPieces[fCurrent];
    piece.fStart = start;
    piece.fCount = count;
    if (!fThread.joinable()) {
        CopyIntoSample(piece);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(fLock);
        piece.fFull = true;
    }
    fChanged.notify_all();
    fCurrent ^= 1;
}

void CDecodedPieceStore::Drain() {
    if (!fThread.joinable()) return;
    std::unique_lock<std::mutex> lock(fLock);
    fChanged.wait(lock, [&] { return !fPieces[0].fFull && !fPieces[1].fFull; });
}

void CDecodedPieceStore::CopyIntoSample(const SPiece& piece) {
    if (fWide && fStereo) {
        fSample.SetInterleaved24(piece.fStart, piece.fCount, piece.f32.data());
    } else if (fWide) {
        fSample.Set24s(piece.fStart, piece.fCount, piece.f32.data(), 1);
    } else if (fStereo) {
        fSample.SetInterleaved16(piece.fStart, piece.fCount, piece.f16.data());
    } else {
        fSample.Set16s(piece.fStart, piece.fCount, piece.f16.data(), 1);
    }
}

void CDecodedPieceStore::Run() {
    std::unique_lock<std::mutex> lock(fLock);
    for (int next = 0;; next ^= 1) {
        SPiece& piece = fPieces[next];
        fChanged.wait(lock, [&] { return piece.fFull || fStopping; });
        if (!piece.fFull) return;
        lock.unlock();
        CopyIntoSample(piece);
        lock.lock();
        piece.fFull = false;
        fChanged.notify_all();
    }
}

}  // namespace NSQuillet
