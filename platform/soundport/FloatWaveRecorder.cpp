#include "platform/soundport/FloatWaveRecorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace NSSoundPortKit2::NSSoundPortKitDetails {

namespace {

// RIFF, fmt (18 bytes, format 3: IEEE float), fact (frame count), data.
constexpr size_t kHeaderSize = 58;
constexpr size_t kRiffSizeOffset = 4;
constexpr size_t kFactFramesOffset = 46;
constexpr size_t kDataSizeOffset = 54;
// The RIFF size field counts everything after itself.
constexpr uint64_t kMaximumDataBytes = 0xFFFFFFFFull - (kHeaderSize - 8);
// Two seconds of audio at 192 kHz in stereo, at least.
constexpr size_t kRingSeconds = 2;
constexpr size_t kWriteBufferValues = 1 << 16;
constexpr auto kWriterPause = std::chrono::milliseconds(5);

void PutLittle(uint8_t* bytes, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) bytes[i] = uint8_t(value >> (8 * i));
}

}  // namespace

std::unique_ptr<CFloatWaveRecorder> CFloatWaveRecorder::Create(const std::string& path, int32_t channels, uint32_t rate) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) return nullptr;
    std::unique_ptr<CFloatWaveRecorder> recorder(new CFloatWaveRecorder(descriptor, channels, rate));
    uint8_t header[kHeaderSize] = {};
    std::memcpy(header, "RIFF", 4);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    PutLittle(header + 16, 18, 4);
    PutLittle(header + 20, 3, 2);
    PutLittle(header + 22, uint64_t(channels), 2);
    PutLittle(header + 24, rate, 4);
    PutLittle(header + 28, uint64_t(rate) * uint64_t(channels) * 4, 4);
    PutLittle(header + 32, uint64_t(channels) * 4, 2);
    PutLittle(header + 34, 32, 2);
    std::memcpy(header + 38, "fact", 4);
    PutLittle(header + 42, 4, 4);
    std::memcpy(header + 50, "data", 4);
    PutLittle(header + kRiffSizeOffset, kHeaderSize - 8, 4);
    if (!recorder->WriteAll(header, sizeof header)) return nullptr;
    recorder->fWriter = std::thread([r = recorder.get()] { r->WriteLoop(); });
    return recorder;
}

CFloatWaveRecorder::CFloatWaveRecorder(int descriptor, int32_t channels, uint32_t rate)
    : fDescriptor(descriptor),
      fChannels(channels),
      fRing(std::max<size_t>(size_t(rate), 192000) * kRingSeconds * size_t(channels)),
      fWriteBuffer(kWriteBufferValues) {}

CFloatWaveRecorder::~CFloatWaveRecorder() { Close(); }

bool CFloatWaveRecorder::Append(int32_t frames, float* const* channels, int32_t channelCount, bool waitForRoom) {
    const size_t values = size_t(frames) * size_t(fChannels);
    while (fRing.GetFreeCount() < values) {
        if (!waitForRoom || fClosing.load(std::memory_order_relaxed)) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    for (int32_t channel = 0; channel < fChannels; ++channel) {
        const float* source = channel < channelCount ? channels[channel] : nullptr;
        for (int32_t frame = 0; frame < frames; ++frame)
            fRing.Put(size_t(frame) * size_t(fChannels) + size_t(channel), source ? source[frame] : 0.0f);
    }
    fRing.Publish(values);
    return true;
}

void CFloatWaveRecorder::Close() {
    if (fDescriptor < 0) return;
    fClosing.store(true);
    if (fWriter.joinable()) fWriter.join();
    UpdateHeader();
    close(fDescriptor);
    fDescriptor = -1;
}

void CFloatWaveRecorder::WriteLoop() {
    const size_t whole = fWriteBuffer.size() - fWriteBuffer.size() % size_t(fChannels);
    for (;;) {
        const bool closing = fClosing.load(std::memory_order_acquire);
        const size_t taken = fRing.Take(fWriteBuffer.data(), whole);
        if (taken == 0) {
            if (closing) return;
            std::this_thread::sleep_for(kWriterPause);
            continue;
        }
        const size_t bytes = taken * sizeof(float);
        if (fWriteFailed || fDataBytes + bytes > kMaximumDataBytes) continue;
        // The file's samples are little-endian floats, as this machine's.
        if (!WriteAll(fWriteBuffer.data(), bytes)) {
            fWriteFailed = true;
            continue;
        }
        fDataBytes += bytes;
        UpdateHeader();
    }
}

bool CFloatWaveRecorder::WriteAll(const void* bytes, size_t size) {
    const auto* next = static_cast<const uint8_t*>(bytes);
    while (size > 0) {
        const ssize_t written = write(fDescriptor, next, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        next += written;
        size -= size_t(written);
    }
    return true;
}

void CFloatWaveRecorder::UpdateHeader() {
    const uint64_t frames = fDataBytes / (uint64_t(fChannels) * 4);
    uint8_t field[4];
    PutLittle(field, kHeaderSize - 8 + fDataBytes, 4);
    bool written = pwrite(fDescriptor, field, 4, kRiffSizeOffset) == 4;
    PutLittle(field, frames, 4);
    written = pwrite(fDescriptor, field, 4, kFactFramesOffset) == 4 && written;
    PutLittle(field, fDataBytes, 4);
    written = pwrite(fDescriptor, field, 4, kDataSizeOffset) == 4 && written;
    if (!written) fWriteFailed = true;
}

}  // namespace NSSoundPortKit2::NSSoundPortKitDetails
