#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/soundport/DeviceInfo.h"
#include "platform/soundport/IRenderer.h"

namespace NSSoundPortKit2 {

enum class EDriverState {
    kStopped,   // no stream
    kRunning,   // calling the renderer
    kReleased,  // stream closed by Release, to be taken again by Retake
    kFailed,    // the stream stopped by itself (device gone, host failed); Stop clears it
};

// One chosen output device and its stream. Created by the library, destroyed by Destroy.
// User-interface thread; only the renderer is called from the device's thread. Statuses are
// those of SoundPortKitStatus.h; every call answers within a bounded time.
class IDriver {
public:
    virtual const SDeviceInfo& GetDevice() const = 0;
    virtual SDriverSettings GetSettings() const = 0;

    // Opens the stream with the settings and starts calling `renderer` (not owned; it must
    // outlive the stream). When the stream runs at another rate than this driver's previous
    // stream, renderer->RateChanged is called before Start returns.
    virtual uint32_t Start(IRenderer* renderer) = 0;
    // Takes new settings; a running or released stream is reopened with them (and RateChanged
    // called as for Start). On failure the driver keeps its old settings and is stopped.
    virtual uint32_t ApplySettings(const SDriverSettings& settings) = 0;
    // Ends the stream; the renderer is not called any more once this returns. Never fails.
    virtual void Stop() = 0;
    // Closes the stream so that other programs may use the device, keeping the settings and
    // the Null Output's recording; Retake opens it again. Release of a driver that is not
    // running does nothing.
    virtual void Release() = 0;
    virtual uint32_t Retake() = 0;
    virtual EDriverState GetState() const = 0;

    // Frames per second of the stream, or of the settings while none runs.
    virtual uint32_t GetOutputRate() const = 0;
    // Milliseconds from a callback to the sound, as the host reports it for the running
    // stream, or estimated from the buffer size.
    virtual double GetOutputLatencyMs() const = 0;
    virtual SDriverStatistics GetStatistics() const = 0;

    // The device and its settings as an opaque versioned block (SoundPortKit.h recreates it).
    virtual uint32_t WriteBlob(std::vector<uint8_t>* blob) const = 0;

    // Where the host API offers them (SHostApiInfo): the device's clock sources, the index of
    // the one it follows, another one to follow (the stream keeps running), and the host's own
    // settings window, which returns when it is closed (the settings may have changed). No
    // host API of this library offers either: these answer kSoundPortKitUnavailable.
    virtual uint32_t GetClockSources(std::vector<std::string>* sources) const = 0;
    virtual uint32_t GetClockSource(int32_t* index) const = 0;
    virtual uint32_t SetClockSource(int32_t index) = 0;
    virtual uint32_t OpenControlPanel() = 0;

    // Stops the stream, completes the Null Output's recording and deletes the driver.
    virtual void Destroy() = 0;

protected:
    ~IDriver() = default;
};

}  // namespace NSSoundPortKit2
