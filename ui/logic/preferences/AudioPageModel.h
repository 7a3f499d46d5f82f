#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/soundport/DeviceInfo.h"

namespace NSQuillet {

// The Audio page's pictures of the shown device's state.
inline constexpr int32_t kDriverWorkingPicture = 13300;
inline constexpr int32_t kDriverNotWorkingPicture = 13301;

// What the Audio page shows of the audio output.
struct SAudioOutputSnapshot {
    std::vector<NSSoundPortKit2::SHostApiInfo> fHostApis;
    std::vector<NSSoundPortKit2::SDeviceInfo> fDevices;
    // The device the page names: the open one, or the one whose choice failed; empty for none.
    std::string fShownHostApi;
    std::string fShownDevice;
    // The shown device is open and plays; the values below are its own only then.
    bool fWorking = false;
    NSSoundPortKit2::SDriverSettings fSettings;
    int32_t fOutputChannels = 0;
    uint32_t fFixedRate = 0;
    int32_t fFixedBufferFrames = 0;
    std::vector<uint32_t> fSupportedRates;
    double fLatencyMs = 0.0;
    std::vector<std::string> fClockSources;
    int32_t fClockSource = -1;
};

// One line of the device popup: a host API's name, which cannot be chosen, or one of its
// devices below it.
struct SAudioDeviceEntry {
    std::string fText;
    bool fIsHostApi = false;
    std::string fHostApi;
    std::string fDevice;
};

// Everything the Audio page shows; the lists are what the popups and the slider offer.
struct SAudioPageState {
    std::vector<SAudioDeviceEntry> fDeviceEntries;
    int32_t fDeviceEntry = -1;  // -1: none shown
    int32_t fStatePicture = kDriverNotWorkingPicture;

    std::vector<uint32_t> fRates;
    std::vector<std::string> fRateTexts;
    int32_t fRateIndex = -1;
    bool fRateEnabled = false;

    std::vector<int32_t> fBufferSizes;
    int32_t fBufferIndex = -1;
    std::string fBufferText;
    bool fBufferEnabled = false;
    bool fCanShrinkBuffer = false;
    bool fCanGrowBuffer = false;

    std::string fLatencyText;

    uint64_t fActiveChannels = 0;
    int32_t fChannelCount = 0;
    std::string fChannelsText;
    bool fChannelsEnabled = false;

    bool fControlPanelEnabled = false;

    std::vector<std::string> fClockSources;
    int32_t fClockSourceIndex = -1;
    bool fClockSourceEnabled = false;
};

// The page's rules: the devices grouped under their host APIs in the library's order; every
// setting enabled only while the shown device works, a popup or the slider only with more than
// one value to offer, the control panel and the clock sources only where the device's host
// API has them; the value texts empty while it does not work.
SAudioPageState MakeAudioPageState(const SAudioOutputSnapshot& snapshot);

// The rates offered: the device's supported ones with the current rate among them; a server's
// device only its own rate.
std::vector<uint32_t> OfferedRates(const std::vector<uint32_t>& supported, uint32_t fixedRate, uint32_t current);
// The buffer sizes the slider and the arrows step through: the powers of two from the
// smallest to the largest a driver takes, with the current size among them; a server's device
// only its own size.
std::vector<int32_t> OfferedBufferSizes(int32_t fixedBufferFrames, int32_t current);
// The index `steps` positions from `index` (negative: smaller sizes), kept inside `count`.
int32_t StepBufferIndex(int32_t index, int32_t steps, int32_t count);

// "512 samples", "11.6 ms" (one decimal), "44100 Hz", "2 out of 8".
std::string FormatBufferSizeText(int32_t frames);
std::string FormatLatencyText(double milliseconds);
std::string FormatRateText(uint32_t rate);
std::string FormatActiveChannelsText(uint64_t activeChannels, int32_t channelCount);

// Select Active Channels: the row of 0-based `channel`, "1 / Left", "2 / Right", "3 / Left"…:
// its number and the side of the stereo signal it plays (even channels the left one).
std::string FormatChannelRowText(int32_t channel);
// The active channels among the first `channelCount`.
int32_t CountActiveChannels(uint64_t activeChannels, int32_t channelCount);

}  // namespace NSQuillet
