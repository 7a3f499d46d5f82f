#include "ui/logic/preferences/AudioPageModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace NSQuillet {
namespace {

using namespace NSSoundPortKit2;

SDeviceInfo Device(const char* hostApi, const char* name, int32_t channels = 2) {
    SDeviceInfo device;
    device.fHostApi = hostApi;
    device.fName = name;
    device.fOutputChannels = channels;
    return device;
}

// A working card on ALSA, a JACK server and the Null Output; the Studio Host API has a control
// panel and clock sources.
SAudioOutputSnapshot Machine() {
    SAudioOutputSnapshot snapshot;
    snapshot.fHostApis = {{"ALSA", 2, false, false}, {"JACK", 1, false, false}, {"Studio Host", 1, true, true},
                          {"Empty", 0, false, false}, {kBuiltInHostApiName, 1, false, false}};
    // Listed out of host API order on purpose: the popup groups them.
    snapshot.fDevices = {Device("ALSA", "Card (hw:0,0)"), Device("JACK", "system", 4), Device("ALSA", "default"),
                         Device("Studio Host", "Multichannel Interface", 8), Device(kBuiltInHostApiName, kNullOutputName, 8)};
    snapshot.fShownHostApi = "ALSA";
    snapshot.fShownDevice = "default";
    snapshot.fWorking = true;
    snapshot.fSettings.fRate = 44100;
    snapshot.fSettings.fBufferFrames = 512;
    snapshot.fSettings.fActiveChannels = 0x3;
    snapshot.fOutputChannels = 2;
    snapshot.fSupportedRates = {44100, 48000, 96000};
    snapshot.fLatencyMs = 23.22;
    return snapshot;
}

TEST(AudioPageModel, GroupsTheDevicesUnderTheirHostApisAndSelectsTheShownOne) {
    const SAudioPageState state = MakeAudioPageState(Machine());
    struct SEntry {
        const char* fText;
        bool fIsHostApi;
    };
    const SEntry expected[] = {{"ALSA", true},        {"Card (hw:0,0)", false},          {"default", false},
                               {"JACK", true},        {"system", false},                 {"Studio Host", true},
                               {"Multichannel Interface", false}, {kBuiltInHostApiName, true}, {kNullOutputName, false}};
    ASSERT_EQ(state.fDeviceEntries.size(), std::size(expected)) << "a host API without devices has no line";
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(state.fDeviceEntries[i].fText, expected[i].fText) << i;
        EXPECT_EQ(state.fDeviceEntries[i].fIsHostApi, expected[i].fIsHostApi) << i;
    }
    EXPECT_EQ(state.fDeviceEntries[2].fHostApi, "ALSA");
    EXPECT_EQ(state.fDeviceEntry, 2);
    EXPECT_EQ(state.fStatePicture, kDriverWorkingPicture);
}

TEST(AudioPageModel, AWorkingCardShowsItsSettingsWithTheirTexts) {
    const SAudioPageState state = MakeAudioPageState(Machine());
    EXPECT_EQ(state.fRates, (std::vector<uint32_t>{44100, 48000, 96000}));
    EXPECT_EQ(state.fRateTexts, (std::vector<std::string>{"44100 Hz", "48000 Hz", "96000 Hz"}));
    EXPECT_EQ(state.fRateIndex, 0);
    EXPECT_TRUE(state.fRateEnabled);
    // 16, 32, … 8192: ten powers of two; 512 is the sixth.
    EXPECT_EQ(state.fBufferSizes, (std::vector<int32_t>{16, 32, 64, 128, 256, 512, 1024, 2048, 4096, 8192}));
    EXPECT_EQ(state.fBufferIndex, 5);
    EXPECT_EQ(state.fBufferText, "512 samples");
    EXPECT_TRUE(state.fBufferEnabled);
    EXPECT_TRUE(state.fCanShrinkBuffer);
    EXPECT_TRUE(state.fCanGrowBuffer);
    EXPECT_EQ(state.fLatencyText, "23.2 ms");
    EXPECT_EQ(state.fChannelsText, "2 out of 2");
    EXPECT_TRUE(state.fChannelsEnabled);
    EXPECT_FALSE(state.fControlPanelEnabled) << "ALSA has none";
    EXPECT_FALSE(state.fClockSourceEnabled);
    EXPECT_TRUE(state.fClockSources.empty());
}

TEST(AudioPageModel, EnablesEachSettingOnlyWhereTheShownDeviceOffersIt) {
    struct SCase {
        const char* fName;
        void (*fChange)(SAudioOutputSnapshot&);
        bool fRate, fBuffer, fShrink, fGrow, fChannels, fControlPanel, fClockSource;
        int32_t fPicture;
    };
    const SCase cases[] = {
        {"card", [](SAudioOutputSnapshot&) {}, true, true, true, true, true, false, false, kDriverWorkingPicture},
        {"JACK server: its rate and buffer only",
         [](SAudioOutputSnapshot& s) {
             s.fShownHostApi = "JACK";
             s.fShownDevice = "system";
             s.fFixedRate = 48000;
             s.fFixedBufferFrames = 256;
             s.fSettings.fRate = 48000;
             s.fSettings.fBufferFrames = 256;
         },
         false, false, false, false, true, false, false, kDriverWorkingPicture},
        {"studio interface: control panel and clock sources",
         [](SAudioOutputSnapshot& s) {
             s.fShownHostApi = "Studio Host";
             s.fShownDevice = "Multichannel Interface";
             s.fClockSources = {"Internal", "Word Clock"};
             s.fClockSource = 1;
         },
         true, true, true, true, true, true, true, kDriverWorkingPicture},
        {"a host API with clock sources but a device without any",
         [](SAudioOutputSnapshot& s) {
             s.fShownHostApi = "Studio Host";
             s.fShownDevice = "Multichannel Interface";
         },
         true, true, true, true, true, true, false, kDriverWorkingPicture},
        {"smallest buffer", [](SAudioOutputSnapshot& s) { s.fSettings.fBufferFrames = 16; }, true, true, false, true, true,
         false, false, kDriverWorkingPicture},
        {"largest buffer", [](SAudioOutputSnapshot& s) { s.fSettings.fBufferFrames = 8192; }, true, true, true, false, true,
         false, false, kDriverWorkingPicture},
        {"one rate only", [](SAudioOutputSnapshot& s) { s.fSupportedRates = {44100}; }, false, true, true, true, true, false,
         false, kDriverWorkingPicture},
        {"not working", [](SAudioOutputSnapshot& s) { s.fWorking = false; }, false, false, false, false, false, false, false,
         kDriverNotWorkingPicture},
    };
    for (const SCase& c : cases) {
        SAudioOutputSnapshot snapshot = Machine();
        c.fChange(snapshot);
        const SAudioPageState state = MakeAudioPageState(snapshot);
        EXPECT_EQ(state.fRateEnabled, c.fRate) << c.fName;
        EXPECT_EQ(state.fBufferEnabled, c.fBuffer) << c.fName;
        EXPECT_EQ(state.fCanShrinkBuffer, c.fShrink) << c.fName;
        EXPECT_EQ(state.fCanGrowBuffer, c.fGrow) << c.fName;
        EXPECT_EQ(state.fChannelsEnabled, c.fChannels) << c.fName;
        EXPECT_EQ(state.fControlPanelEnabled, c.fControlPanel) << c.fName;
        EXPECT_EQ(state.fClockSourceEnabled, c.fClockSource) << c.fName;
        EXPECT_EQ(state.fStatePicture, c.fPicture) << c.fName;
    }
}

TEST(AudioPageModel, AServersDeviceOffersItsOwnRateAndBufferSize) {
    SAudioOutputSnapshot snapshot = Machine();
    snapshot.fShownHostApi = "JACK";
    snapshot.fShownDevice = "system";
    snapshot.fFixedRate = 48000;
    snapshot.fFixedBufferFrames = 256;
    snapshot.fSettings = {48000, 256, 0x3};
    snapshot.fOutputChannels = 4;
    const SAudioPageState state = MakeAudioPageState(snapshot);
    EXPECT_EQ(state.fRates, (std::vector<uint32_t>{48000}));
    EXPECT_EQ(state.fRateIndex, 0);
    EXPECT_EQ(state.fBufferSizes, (std::vector<int32_t>{256}));
    EXPECT_EQ(state.fBufferText, "256 samples");
    EXPECT_EQ(state.fChannelsText, "2 out of 4");
    EXPECT_EQ(state.fDeviceEntry, 4);
}

TEST(AudioPageModel, AFailedDeviceIsShownNotWorkingWithoutValues) {
    SAudioOutputSnapshot snapshot = Machine();
    snapshot.fShownDevice = "Card (hw:0,0)";
    snapshot.fWorking = false;
    const SAudioPageState state = MakeAudioPageState(snapshot);
    EXPECT_EQ(state.fDeviceEntry, 1);
    EXPECT_EQ(state.fStatePicture, kDriverNotWorkingPicture);
    EXPECT_TRUE(state.fRates.empty());
    EXPECT_EQ(state.fBufferText, "");
    EXPECT_EQ(state.fLatencyText, "");
    EXPECT_EQ(state.fChannelsText, "");

    snapshot.fShownHostApi.clear();
    snapshot.fShownDevice.clear();
    EXPECT_EQ(MakeAudioPageState(snapshot).fDeviceEntry, -1) << "nothing shown";
}

TEST(AudioPageModel, OffersTheCurrentValueAmongTheOthers) {
    struct SRates {
        std::vector<uint32_t> fSupported;
        uint32_t fFixed, fCurrent;
        std::vector<uint32_t> fOffered;
    };
    const SRates rates[] = {
        {{44100, 48000}, 0, 44100, {44100, 48000}},
        {{44100, 48000}, 0, 22050, {22050, 44100, 48000}},  // restored at a rate the probe refused
        {{}, 0, 44100, {44100}},                             // the probe found nothing
        {{44100, 48000}, 192000, 192000, {192000}},          // a server at a rate outside the standard ones
    };
    for (const SRates& r : rates) EXPECT_EQ(OfferedRates(r.fSupported, r.fFixed, r.fCurrent), r.fOffered) << r.fCurrent;

    EXPECT_EQ(OfferedBufferSizes(0, 480), (std::vector<int32_t>{16, 32, 64, 128, 256, 480, 512, 1024, 2048, 4096, 8192}));
    EXPECT_EQ(OfferedBufferSizes(0, 8193).size(), 10u) << "a size out of range is not offered";
    EXPECT_EQ(OfferedBufferSizes(1024, 512), (std::vector<int32_t>{1024}));

    struct SStep {
        int32_t fIndex, fSteps, fCount, fResult;
    };
    const SStep steps[] = {{5, 1, 10, 6}, {5, -1, 10, 4}, {0, -1, 10, 0}, {9, 1, 10, 9}, {3, 20, 10, 9}, {0, 1, 0, -1}};
    for (const SStep& s : steps)
        EXPECT_EQ(StepBufferIndex(s.fIndex, s.fSteps, s.fCount), s.fResult) << s.fIndex << " " << s.fSteps;
}

TEST(AudioPageModel, FormatsTheValueTexts) {
    EXPECT_EQ(FormatBufferSizeText(64), "64 samples");
    // 512 / 44100 s = 11.609… ms.
    EXPECT_EQ(FormatLatencyText(1000.0 * 512 / 44100), "11.6 ms");
    EXPECT_EQ(FormatLatencyText(0.04), "0.0 ms");
    EXPECT_EQ(FormatLatencyText(-1.0), "0.0 ms");
    EXPECT_EQ(FormatRateText(11025), "11025 Hz");
    // Channels 0, 2 and 5 of eight.
    EXPECT_EQ(FormatActiveChannelsText(0b100101, 8), "3 out of 8");
    // Channel 5 does not exist on a four-channel device.
    EXPECT_EQ(CountActiveChannels(0b100101, 4), 2);
    EXPECT_EQ(CountActiveChannels(~uint64_t(0), 64), 64);
    EXPECT_EQ(FormatChannelRowText(0), "1 / Left");
    EXPECT_EQ(FormatChannelRowText(1), "2 / Right");
    EXPECT_EQ(FormatChannelRowText(6), "7 / Left");
}

}  // namespace
}  // namespace NSQuillet
