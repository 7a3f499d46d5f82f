#pragma once

#include <cstdint>
#include <string>

namespace NSSoundPortKit2 {

// The most output channels a driver opens.
constexpr int32_t kMaximumChannels = 64;
// Frames per callback a driver accepts.
constexpr int32_t kMinimumBufferFrames = 16;
constexpr int32_t kMaximumBufferFrames = 8192;
// The rates a device is probed for, lowest first.
inline constexpr uint32_t kStandardRates[] = {11025, 22050, 32000, 44100, 48000, 88200, 96000};

// The library's own device, present on every machine: it runs the render callback from a
// clocked thread as a card would, and plays into nothing (or into a recording file).
inline constexpr const char* kBuiltInHostApiName = "Built-in";
inline constexpr const char* kNullOutputName = "Null Output";

// One host API (ALSA, JACK, OSS, and the built-in one of the Null Output).
struct SHostApiInfo {
    std::string fName;
    int32_t fDeviceCount = 0;  // output devices only
    bool fHasClockSource = false;
    bool fHasControlPanel = false;
};

// One output device. A device is named by its host API and its name, which stay the same
// across rescans while the device exists.
struct SDeviceInfo {
    std::string fHostApi;
    std::string fName;
    int32_t fOutputChannels = 0;
    uint32_t fDefaultRate = 0;        // frames per second
    double fDefaultLatencyMs = 0.0;   // the host's low output latency
    bool fIsDefault = false;          // the host's default output, or the Null Output when no card exists
    // Opening it keeps other programs from the device (ALSA hw and plughw devices, OSS, and
    // the Null Output, which stands in for a card); a shared server's devices are not.
    bool fIsExclusive = false;
    bool fIsNullOutput = false;
    // A server that runs every client at its own rate and buffer size (JACK) accepts only
    // these; 0 where the device takes any of its rates and buffer sizes.
    uint32_t fFixedRate = 0;
    int32_t fFixedBufferFrames = 0;
};

// How a driver runs its stream.
struct SDriverSettings {
    uint32_t fRate = 44100;            // frames per second
    int32_t fBufferFrames = 512;       // frames per callback, kMinimumBufferFrames..kMaximumBufferFrames
    uint64_t fActiveChannels = 0x3;    // bit n: output channel n sounds; the stream opens up to the highest
};

// The Null Output's options.
struct SNullOutputOptions {
    // Empty: no recording. Otherwise everything played goes into this 32-bit float WAVE file,
    // replaced at the first start and complete when the driver is destroyed.
    std::string fRecordPath;
    // Tests only: callbacks follow each other without waiting, faster than real time, and the
    // recording never drops frames (the clocked thread waits for the writer instead).
    bool fFreeRunning = false;
    // Tests only, with fFreeRunning: non-zero seeds random callback sizes of 1..buffer frames.
    uint32_t fRandomSizeSeed = 0;

    // The options a Null Output chosen by name or block gets: the recording file named by
    // QUILLET_NULL_OUTPUT_RECORD, when set and not empty.
    static SNullOutputOptions FromEnvironment();
};

// What a running driver counts; every field only grows while the driver exists.
struct SDriverStatistics {
    uint64_t fCallbacks = 0;
    uint64_t fFrames = 0;
    // Callbacks that finished after the device needed their buffer (the device played a gap);
    // for PortAudio streams, callbacks the host flagged with an output underflow.
    uint64_t fLateCallbacks = 0;
    // Frames the Null Output could not hand to its recording (the file writer fell behind, or
    // the file failed).
    uint64_t fRecordingDroppedFrames = 0;
};

}  // namespace NSSoundPortKit2
