#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/WaveSample.h"

namespace NSQuillet {

// Stores the pieces a NUPA decoder writes (interleaved frames of 16-bit samples, or of 32-bit
// ones for a 24-bit sample) into a wave sample. In the background it stores them on a thread
// of its own while the next piece is decoded: two piece buffers take turns. The decoding
// thread only; destruction stops the storing thread and joins it.
class CDecodedPieceStore {
public:
    // Allocates two buffers of `pieceFrames` frames (memory running out is the out-of-memory
    // failure); without a thread to be had, it stores on the calling thread.
    CDecodedPieceStore(CABCWaveSample& sample, int32_t pieceFrames, bool background);
    ~CDecodedPieceStore();
    CDecodedPieceStore(const CDecodedPieceStore&) = delete;
    CDecodedPieceStore& operator=(const CDecodedPieceStore&) = delete;

    // The buffer the next piece is decoded into, once the store is done with it: the 16-bit one
    // (null for a 24-bit sample) and the 32-bit one (null for a 16-bit sample).
    int16_t* Next16();
    int32_t* Next32();
    // The `count` frames just decoded into the buffer go to the sample from frame `start`.
    void Store(int32_t start, int32_t count);
    // Waits until every piece handed over is in the sample.
    void Drain();

private:
    struct SPiece {
        std::vector<int16_t> f16;
        std::vector<int32_t> f32;
        int32_t fStart = 0;
        int32_t fCount = 0;
        bool fFull = false;
    };

    // The current piece, once the storing thread is done with it.
    SPiece& NextFree();
    void CopyIntoSample(const SPiece& piece);
    void Run();

    CABCWaveSample& fSample;
    bool fWide;
    bool fStereo;
    SPiece fPieces[2];
    int fCurrent = 0;

    std::mutex fLock;
    std::condition_variable fChanged;
    bool fStopping = false;
    std::thread fThread;
};

}  // namespace NSQuillet
