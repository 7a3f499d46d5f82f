#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/soundport/SampleRing.h"

namespace NSSoundPortKit2::NSSoundPortKitDetails {

// Writes what a device plays into a 32-bit float WAVE file. The clocked thread only puts
// frames into a preallocated lock-free ring; a writer thread of its own moves them to the
// file and keeps the header's sizes current, so a write that waits for the disk never
// delays a callback, and the file is a valid WAVE file at every moment.
class CFloatWaveRecorder {
public:
    // Replaces the file at `path` and starts the writer. Null when the file cannot be created.
    // User-interface thread.
    static std::unique_ptr<CFloatWaveRecorder> Create(const std::string& path, int32_t channels, uint32_t rate);
    // Completes the file (Close).
    ~CFloatWaveRecorder();
    CFloatWaveRecorder(const CFloatWaveRecorder&) = delete;
    CFloatWaveRecorder& operator=(const CFloatWaveRecorder&) = delete;

    int32_t GetChannelCount() const { return fChannels; }

    // Clocked thread. Appends `frames` frames: channel c from channels[c], silence where that
    // is null or c >= channelCount. Never allocates; never blocks unless `waitForRoom`, which
    // waits for the writer instead of dropping. Answers false when the frames were dropped.
    bool Append(int32_t frames, float* const* channels, int32_t channelCount, bool waitForRoom);

    // User-interface thread, once no Append runs: writes what is left, completes the header
    // and closes the file.
    void Close();

private:
    CFloatWaveRecorder(int descriptor, int32_t channels, uint32_t rate);
    void WriteLoop();
    bool WriteAll(const void* bytes, size_t size);
    void UpdateHeader();

    int fDescriptor;
    int32_t fChannels;
    CSampleRing fRing;
    std::vector<float> fWriteBuffer;
    uint64_t fDataBytes = 0;
    bool fWriteFailed = false;
    std::atomic<bool> fClosing{false};
    std::thread fWriter;
};

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
