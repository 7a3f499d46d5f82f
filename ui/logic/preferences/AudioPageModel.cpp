#include "ui/logic/preferences/AudioPageModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/resources/ResourceReference.h"
#include "app/resources/StringIds.h"

namespace NSQuillet {

using namespace NSSoundPortKit2;

namespace {

std::string Text(int32_t entry) { return StringReference(entry).GetText(); }

const SHostApiInfo* FindHostApi(const std::vector<SHostApiInfo>& hostApis, const std::string& name) {
    for (const SHostApiInfo& hostApi : hostApis) {
        if (hostApi.fName == name) return &hostApi;
    }
    return nullptr;
}

std::vector<SAudioDeviceEntry> DeviceEntries(const SAudioOutputSnapshot& snapshot) {
    // The host APIs in the library's order, then any a device names that the list lacks.
    std::vector<std::string> hostApis;
    for (const SHostApiInfo& hostApi : snapshot.fHostApis) hostApis.push_back(hostApi.fName);
    for (const SDeviceInfo& device : snapshot.fDevices) {
        if (std::find(hostApis.begin(), hostApis.end(), device.fHostApi) == hostApis.end())
            hostApis.push_back(device.fHostApi);
    }
    std::vector<SAudioDeviceEntry> entries;
    for (const std::string& hostApi : hostApis) {
        bool headed = false;
        for (const SDeviceInfo& device : snapshot.fDevices) {
            if (device.fHostApi != hostApi) continue;
            if (!headed) entries.push_back({hostApi, true, hostApi, ""});
            headed = true;
            entries.push_back({device.fName, false, device.fHostApi, device.fName});
        }
    }
    return entries;
}

int32_t IndexOf(const std::vector<int32_t>& values, int32_t value) {
    const auto at = std::find(values.begin(), values.end(), value);
    return at == values.end() ? -1 : int32_t(at - values.begin());
}

}  // namespace

std::vector<uint32_t> OfferedRates(const std::vector<uint32_t>& supported, uint32_t fixedRate, uint32_t current) {
    if (fixedRate != 0) return {fixedRate};
    std::vector<uint32_t> rates = supported;
    if (current != 0 && std::find(rates.begin(), rates.end(), current) == rates.end()) rates.push_back(current);
    std::sort(rates.begin(), rates.end());
    rates.erase(std::unique(rates.begin(), rates.end()), rates.end());
    return rates;
}

std::vector<int32_t> OfferedBufferSizes(int32_t fixedBufferFrames, int32_t current) {
    if (fixedBufferFrames != 0) return {fixedBufferFrames};
    std::vector<int32_t> sizes;
    for (int32_t size = kMinimumBufferFrames; size <= kMaximumBufferFrames; size *= 2) sizes.push_back(size);
    if (current >= kMinimumBufferFrames && current <= kMaximumBufferFrames && IndexOf(sizes, current) < 0) {
        sizes.push_back(current);
        std::sort(sizes.begin(), sizes.end());
    }
    return sizes;
}

int32_t StepBufferIndex(int32_t index, int32_t steps, int32_t count) {
    if (count <= 0) return -1;
    return std::clamp(index + steps, 0, count - 1);
}

std::string FormatBufferSizeText(int32_t frames) {
    return StringReference(NSStringIds::kSamplesCount).With(std::to_string(frames)).GetText();
}

std::string FormatLatencyText(double milliseconds) {
    char number[32];
    std::snprintf(number, sizeof number, "%.1f", std::max(0.0, milliseconds));
    return StringReference(NSStringIds::kMilliseconds).With(number).GetText();
}

std::string FormatRateText(uint32_t rate) {
    return StringReference(NSStringIds::kHertz).With(std::to_string(rate)).GetText();
}

int32_t CountActiveChannels(uint64_t activeChannels, int32_t channelCount) {
    int32_t count = 0;
    for (int32_t channel = 0; channel < std::min(channelCount, 64); ++channel) count += int32_t((activeChannels >> channel) & 1u);
    return count;
}

std::string FormatActiveChannelsText(uint64_t activeChannels, int32_t channelCount) {
    return StringReference(NSStringIds::kActiveOutOfChannels)
        .With(std::to_string(CountActiveChannels(activeChannels, channelCount)), std::to_string(channelCount))
        .GetText();
}

std::string FormatChannelRowText(int32_t channel) {
    const int32_t side = channel % 2 == 0 ? NSStringIds::kMonoLeft : NSStringIds::kMonoRight;
    return StringReference(NSStringIds::kChannelRow).With(std::to_string(channel + 1), Text(side)).GetText();
}

SAudioPageState MakeAudioPageState(const SAudioOutputSnapshot& snapshot) {
    SAudioPageState state;
    state.fDeviceEntries = DeviceEntries(snapshot);
    for (size_t i = 0; i < state.fDeviceEntries.size(); ++i) {
        const SAudioDeviceEntry& entry = state.fDeviceEntries[i];
        if (!entry.fIsHostApi && entry.fHostApi == snapshot.fShownHostApi && entry.fDevice == snapshot.fShownDevice)
            state.fDeviceEntry = int32_t(i);
    }
    const bool working = snapshot.fWorking;
    state.fStatePicture = working ? kDriverWorkingPicture : kDriverNotWorkingPicture;
    if (!working) return state;

    const SDriverSettings& settings = snapshot.fSettings;
    state.fRates = OfferedRates(snapshot.fSupportedRates, snapshot.fFixedRate, settings.fRate);
    for (uint32_t rate : state.fRates) state.fRateTexts.push_back(FormatRateText(rate));
    const auto rate = std::find(state.fRates.begin(), state.fRates.end(), settings.fRate);
    state.fRateIndex = rate == state.fRates.end() ? -1 : int32_t(rate - state.fRates.begin());
    state.fRateEnabled = state.fRates.size() > 1;

    state.fBufferSizes = OfferedBufferSizes(snapshot.fFixedBufferFrames, settings.fBufferFrames);
    state.fBufferIndex = IndexOf(state.fBufferSizes, settings.fBufferFrames);
    state.fBufferText = FormatBufferSizeText(settings.fBufferFrames);
    state.fBufferEnabled = state.fBufferSizes.size() > 1;
    const int32_t last = int32_t(state.fBufferSizes.size()) - 1;
    state.fCanShrinkBuffer = state.fBufferEnabled && state.fBufferIndex > 0;
    state.fCanGrowBuffer = state.fBufferEnabled && state.fBufferIndex >= 0 && state.fBufferIndex < last;

    state.fLatencyText = FormatLatencyText(snapshot.fLatencyMs);

    state.fActiveChannels = settings.fActiveChannels;
    state.fChannelCount = snapshot.fOutputChannels;
    state.fChannelsText = FormatActiveChannelsText(settings.fActiveChannels, snapshot.fOutputChannels);
    state.fChannelsEnabled = snapshot.fOutputChannels > 0;

    const SHostApiInfo* hostApi = FindHostApi(snapshot.fHostApis, snapshot.fShownHostApi);
    state.fControlPanelEnabled = hostApi && hostApi->fHasControlPanel;
    if (hostApi && hostApi->fHasClockSource) {
        state.fClockSources = snapshot.fClockSources;
        state.fClockSourceIndex =
            snapshot.fClockSource >= 0 && snapshot.fClockSource < int32_t(snapshot.fClockSources.size()) ? snapshot.fClockSource : -1;
        state.fClockSourceEnabled = !state.fClockSources.empty();
    }
    return state;
}

}  // namespace NSQuillet
