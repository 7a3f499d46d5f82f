#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/AudioCardManager.h"
#include "engine/DSPTables.h"
#include "engine/WavePlayer.h"
#include "foundation/Mishap.h"
#include "platform/soundport/SoundPortKitStatus.h"
#include "tests/support/DriverSettings.h"
#include "tests/support/FloatWaveFile.h"
#include "tests/support/ScriptedSoundPortKit.h"
#include "tests/support/TemporaryFolder.h"

using namespace NSQuillet;
using namespace NSSoundPortKit2;
using NSQuilletTest::CScriptedKit;

namespace {

// A source that notes when it was stopped, relative to what the listeners heard.
class CStopCountingSource final : public IAudioSource {
public:
    void Render(float* left, float* right, int32_t count) override {
        std::fill_n(left, count, 0.25f);
        std::fill_n(right, count, -0.25f);
    }
    void StopPlayback() override { ++fStops; }
    int fStops = 0;
};

class CCountingListener final : public IAudioCardManagerListener {
public:
    explicit CCountingListener(const CStopCountingSource* source = nullptr) : fSource(source) {}
    void AudioCardChanged(CAudioCardManager& manager) override {
        ++fCalls;
        fRates.push_back(manager.GetOutputRate());
        fTableRates.push_back(manager.GetDSPTables().GetOutputRate());
        if (fSource) fStopsSeen.push_back(fSource->fStops);
    }
    const CStopCountingSource* fSource;
    int fCalls = 0;
    std::vector<uint32_t> fRates;
    std::vector<uint32_t> fTableRates;
    std::vector<int> fStopsSeen;
};

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// QUILLET_AUDIO_DEVICE for the scope of one test.
class CAudioDeviceVariable {
public:
    explicit CAudioDeviceVariable(const char* value) { setenv("QUILLET_AUDIO_DEVICE", value, 1); }
    ~CAudioDeviceVariable() { unsetenv("QUILLET_AUDIO_DEVICE"); }
};

template <class TFailure, class TAction>
TFailure Caught(TAction&& action) {
    try {
        action();
    } catch (const TFailure& failure) {
        return failure;
    }
    throw std::runtime_error("no failure of the expected class");
}

}  // namespace

TEST(AudioCardManager, ARateChangeStopsPlaybackThenSwapsTheTablesAndTellsTheListeners) {
    CAudioCardManager manager;
    CStopCountingSource source;
    manager.GetRenderer().SetSource(&source);
    CCountingListener listener(&source);
    manager.AddListener(&listener);
    EXPECT_EQ(manager.GetOutputRate(), 44100u);
    EXPECT_EQ(manager.GetDSPTables().GetOutputRate(), 44100u);

    manager.ChooseNullOutput({}, NSQuilletTest::DriverSettings(44100, 256));
    EXPECT_TRUE(manager.IsOutputWorking());
    EXPECT_TRUE(manager.IsOutputRunning());
    ASSERT_EQ(listener.fCalls, 1) << "a device change is told even at the same rate";
    const int stopsBefore = source.fStops;

    manager.SetSampleRate(48000);
    EXPECT_EQ(manager.GetOutputRate(), 48000u);
    EXPECT_EQ(manager.GetDSPTables().GetOutputRate(), 48000u);
    ASSERT_EQ(listener.fCalls, 2);
    EXPECT_EQ(listener.fRates.back(), 48000u);
    EXPECT_EQ(listener.fTableRates.back(), 48000u);
    EXPECT_GT(listener.fStopsSeen.back(), stopsBefore) << "playback stopped before the listeners heard";
    EXPECT_EQ(manager.GetSettings().fRate, 48000u);

    // The library reporting the same rate only notifies.
    const int stops = source.fStops;
    manager.HandleRateChange();
    EXPECT_EQ(listener.fCalls, 3);
    EXPECT_EQ(source.fStops, stops);
    manager.RemoveListener(&listener);
    manager.CloseOutput();
}

TEST(AudioCardManager, RestoresTheDeviceBlockItWrote) {
    std::vector<uint8_t> block;
    {
        CAudioCardManager manager;
        manager.ChooseNullOutput({}, NSQuilletTest::DriverSettings(48000, 128));
        block = manager.GetDeviceBlock();
    }
    CAudioCardManager manager;
    manager.RestoreDevice(block);
    EXPECT_TRUE(manager.GetDevice().fIsNullOutput);
    EXPECT_EQ(manager.GetSettings().fBufferFrames, 128);
    EXPECT_EQ(manager.GetOutputRate(), 48000u);
    EXPECT_EQ(manager.GetDeviceBlock(), block);
}

TEST(AudioCardManager, AStoredBlockThatCannotBeUsedFallsBackToTheDefaultDevice) {
    CAudioCardManager manager;
    std::vector<uint8_t> block;
    {
        CAudioCardManager other;
        other.ChooseNullOutput({}, NSQuilletTest::DriverSettings(48000, 128));
        block = other.GetDeviceBlock();
    }
    std::vector<uint8_t> otherVersion = block;
    otherVersion[7] = 2;
    const auto incompatible = Caught<NSMishap::XUnsupportedFormat>([&] { manager.RestoreDevice(otherVersion); });
    EXPECT_STREQ(incompatible.what(), "incompatible driver spec version");
    EXPECT_EQ(GetAudioOutputProblem(incompatible), EAudioOutputProblem::kSettingsNotRestored);
    EXPECT_TRUE(manager.IsOutputWorking()) << "the default device plays instead";
    EXPECT_TRUE(manager.HasDevice());

    const auto damaged = Caught<NSMishap::XFormatViolation>([&] { manager.RestoreDevice(Bytes("SPKB")); });
    EXPECT_STREQ(damaged.what(), "couldn't recreate driver from blob");
    EXPECT_EQ(GetAudioOutputProblem(damaged), EAudioOutputProblem::kSettingsNotRestored);
    EXPECT_TRUE(manager.IsOutputWorking());
}

TEST(AudioCardManager, AnAbsentStoredDeviceFallsBackAndStaysTheUsersChoice) {
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    const std::vector<uint8_t> block = Bytes("USB Headset (hw:3,0)");
    const auto absent = Caught<NSMishap::XNotFound>([&] { manager.RestoreDevice(block); });
    EXPECT_STREQ(absent.what(), "couldn't recreate driver from blob");
    EXPECT_EQ(GetAudioOutputProblem(absent), EAudioOutputProblem::kLastDeviceNotFound);
    EXPECT_EQ(GetAudioDeviceName(absent), "USB Headset (hw:3,0)");
    EXPECT_EQ(manager.GetDevice().fName, "Card (hw:0,0)");
    EXPECT_TRUE(manager.IsOutputWorking());
    EXPECT_EQ(manager.GetDeviceBlock(), block);
    // Choosing a device makes it the choice.
    manager.ChooseDevice("ALSA", "Server");
    EXPECT_EQ(manager.GetDeviceBlock(), Bytes("Server"));
}

TEST(AudioCardManager, AFailedDeviceLeavesTheOutputFailedUntilADeviceIsChosenAgain) {
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    CWavePlayer player(manager);
    manager.GetRenderer().SetSource(&player);
    CCountingListener listener;
    manager.AddListener(&listener);
    auto sample = std::make_unique<C16BitWaveSample>(44100, 100, false);

    const auto busy = Caught<NSMishap::XOpen>([&] { manager.ChooseDeviceByName("busy"); });
    EXPECT_EQ(GetAudioOutputProblem(busy), EAudioOutputProblem::kDeviceNotOpened);
    EXPECT_EQ(GetAudioDeviceName(busy), "Busy");
    EXPECT_EQ(manager.GetProblem(), EAudioOutputProblem::kDeviceNotOpened);
    EXPECT_EQ(manager.GetProblemDeviceName(), "Busy");
    EXPECT_FALSE(manager.IsOutputWorking());
    EXPECT_FALSE(player.PlaySample(sample.get(), nullptr)) << "play does nothing while failed";
    EXPECT_EQ(listener.fCalls, 1) << "the failure is told";

    const auto unknown = Caught<NSMishap::XNotFound>([&] { manager.ChooseDeviceByName("Nothing Like It"); });
    EXPECT_EQ(GetAudioOutputProblem(unknown), EAudioOutputProblem::kDeviceNotOpened);

    manager.ChooseDeviceByName("card");
    EXPECT_EQ(manager.GetDevice().fName, "Card (hw:0,0)");
    EXPECT_TRUE(manager.IsOutputWorking());
    EXPECT_EQ(manager.GetProblem(), EAudioOutputProblem::kNone);
    EXPECT_TRUE(player.PlaySample(sample.get(), nullptr));

    const auto refused = Caught<NSMishap::XUnsupportedFormat>([&] { manager.SetSampleRate(96000); });
    EXPECT_EQ(GetAudioOutputProblem(refused), EAudioOutputProblem::kDeviceNotUsable);
    EXPECT_FALSE(manager.IsOutputWorking());
    EXPECT_FALSE(player.IsPlaying()) << "the failure stopped the playback";
    manager.RemoveListener(&listener);
}

TEST(AudioCardManager, NoticesAStreamThatStoppedByItselfInIdleTime) {
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    manager.StartDefaultDevice();
    EXPECT_EQ(manager.Idle(), EAudioOutputProblem::kNone);
    kit.fStreamDied = true;
    EXPECT_FALSE(manager.IsOutputRunning());
    EXPECT_EQ(manager.Idle(), EAudioOutputProblem::kDriverStopped);
    EXPECT_EQ(manager.GetProblem(), EAudioOutputProblem::kDriverStopped);
    EXPECT_EQ(manager.GetProblemDeviceName(), "Card (hw:0,0)");
    EXPECT_FALSE(manager.IsOutputWorking());
    EXPECT_FALSE(manager.HasDevice());
    EXPECT_EQ(manager.Idle(), EAudioOutputProblem::kNone) << "told once";
    kit.fStreamDied = false;
    manager.StartDefaultDevice();
    EXPECT_TRUE(manager.IsOutputWorking());
}

TEST(AudioCardManager, ReleasesOnDeactivationOnlyADeviceOpenedExclusively) {
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    manager.ChooseDevice("ALSA", "Server");
    manager.ApplicationDeactivated();
    EXPECT_FALSE(manager.IsReleased());
    EXPECT_EQ(kit.fReleases, 0) << "a shared server's stream keeps playing";
    manager.ApplicationActivated();
    EXPECT_EQ(kit.fRetakes, 0);

    manager.ChooseDevice("ALSA", "Card (hw:0,0)");
    manager.ApplicationDeactivated();
    EXPECT_TRUE(manager.IsReleased());
    EXPECT_FALSE(manager.IsOutputRunning());
    EXPECT_TRUE(manager.IsOutputWorking());
    manager.ApplicationDeactivated();
    EXPECT_EQ(kit.fReleases, 1);
    manager.ApplicationActivated();
    EXPECT_EQ(kit.fRetakes, 1);
    EXPECT_TRUE(manager.IsOutputRunning());
}

TEST(AudioCardManager, SwitchesToAPendingDeviceInIdleTimeWhenDue) {
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    SAudioDeviceChoice later;
    later.fKind = SAudioDeviceChoice::EKind::kNamed;
    later.fName = "Server";
    manager.ScheduleDeviceSwitch(later, 60000);
    EXPECT_EQ(manager.Idle(), EAudioOutputProblem::kNone);
    EXPECT_FALSE(manager.HasDevice());
    EXPECT_TRUE(manager.HasPendingDeviceSwitch());

    SAudioDeviceChoice busy;
    busy.fKind = SAudioDeviceChoice::EKind::kDevice;
    busy.fHostApi = "ALSA";
    busy.fName = "Busy";
    manager.ScheduleDeviceSwitch(busy, 0);
    EXPECT_EQ(manager.Idle(), EAudioOutputProblem::kDeviceNotOpened) << "the newer choice replaced the first";
    EXPECT_FALSE(manager.HasPendingDeviceSwitch());

    manager.ScheduleDeviceSwitch(later, 0);
    manager.StartDefaultDevice();
    EXPECT_FALSE(manager.HasPendingDeviceSwitch()) << "an explicit choice cancels the pending one";
    EXPECT_EQ(manager.Idle(), EAudioOutputProblem::kNone);
    EXPECT_EQ(manager.GetDevice().fName, "Card (hw:0,0)");
}

TEST(AudioCardManager, QuilletAudioDeviceNullForcesTheNullOutputAndKeepsTheStoredChoice) {
    CAudioDeviceVariable forced("null");
    CAudioCardManager manager;
    EXPECT_TRUE(manager.IsNullOutputForced());
    const std::vector<uint8_t> stored = {'S', 'P', 'K', 'B', 0, 0, 0, 1, 0, 4, 'A', 'L', 'S', 'A', 0, 2, 'h', 'w',
                                         0, 0, 0xAC, 0x44, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 3};
    manager.RestoreDevice(stored);
    EXPECT_TRUE(manager.GetDevice().fIsNullOutput);
    EXPECT_EQ(manager.GetDeviceBlock(), stored) << "the preferences keep the user's device";
    manager.ChooseDeviceByName("hw");
    EXPECT_TRUE(manager.GetDevice().fIsNullOutput);
    manager.StartDefaultDevice();
    EXPECT_TRUE(manager.GetDevice().fIsNullOutput);
}

TEST(AudioCardManager, TheNullOutputsRecordingSurvivesAReleaseAndRetake) {
    NSQuilletTest::CTemporaryFolder folder;
    CAudioCardManager manager;
    CStopCountingSource source;
    manager.GetRenderer().SetSource(&source);
    SNullOutputOptions options;
    options.fRecordPath = folder.PathOf("take.wav");
    options.fFreeRunning = true;
    manager.ChooseNullOutput(options, NSQuilletTest::DriverSettings(44100, 256));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    manager.ApplicationDeactivated();
    ASSERT_TRUE(manager.IsReleased()) << "the Null Output stands in for a card opened exclusively";
    const uint64_t frames = manager.GetStatistics().fFrames;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(manager.GetStatistics().fFrames, frames);
    manager.ApplicationActivated();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    manager.ApplicationDeactivated();
    const uint64_t total = manager.GetStatistics().fFrames;
    EXPECT_GT(total, frames);
    manager.CloseOutput();
    bool soxMissing = false;
    const std::vector<float> recorded = NSQuilletTest::ReadFloatWaveWithSox(options.fRecordPath, &soxMissing);
    if (soxMissing) GTEST_SKIP() << "sox is not installed";
    ASSERT_EQ(recorded.size(), total * 2);
    for (size_t i = 0; i < recorded.size(); i += 2) {
        ASSERT_EQ(recorded[i], 0.25f) << i;
        ASSERT_EQ(recorded[i + 1], -0.25f) << i;
    }
}

TEST(AudioCardManager, ARescanUnderAPlayingCardReopensItWithItsSettings) {
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    CStopCountingSource source;
    manager.GetRenderer().SetSource(&source);
    manager.ChooseDevice("ALSA", "Card (hw:0,0)");
    manager.SetBufferFrames(256);
    kit.fMachine.push_back(CScriptedKit::Device("USB Headset (hw:1,0)", true, false));

    const int rescans = kit.fRescans;
    EXPECT_EQ(manager.GetDevices().size(), 3u) << "the open card keeps the list read before";
    EXPECT_EQ(kit.fRescans, rescans);
    const int stops = source.fStops;
    const std::vector<SDeviceInfo> devices = manager.RescanDevices();
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices.back().fName, "USB Headset (hw:1,0)");
    EXPECT_EQ(kit.fRescans, rescans + 1);
    EXPECT_GT(source.fStops, stops) << "the playback stops before the stream closes";
    EXPECT_EQ(manager.GetDevice().fName, "Card (hw:0,0)");
    EXPECT_EQ(manager.GetSettings().fBufferFrames, 256);
    EXPECT_TRUE(manager.IsOutputRunning());

    // The card went away meanwhile: the output fails as after a choice.
    kit.fMachine.erase(kit.fMachine.begin());
    EXPECT_THROW(manager.RescanDevices(), NSMishap::XNotFound);
    EXPECT_EQ(manager.GetProblem(), EAudioOutputProblem::kDeviceNotOpened);
    EXPECT_EQ(manager.GetProblemDeviceName(), "Card (hw:0,0)");
    EXPECT_FALSE(manager.IsOutputWorking());
}

TEST(AudioCardManager, AFailureFallsBackToTheNullOutputWhichKeepsTheProblemAndTheStoredChoice) {
    CScriptedKit kit;
    kit.OfferMoreHostApis();
    CAudioCardManager manager(&kit);
    CWavePlayer player(manager);
    manager.GetRenderer().SetSource(&player);
    CCountingListener listener;
    manager.AddListener(&listener);
    auto sample = std::make_unique<C16BitWaveSample>(44100, 100, false);
    EXPECT_FALSE(manager.FallBackToNullOutput()) << "nothing failed, and nothing is open";
    EXPECT_FALSE(manager.HasDevice());

    struct SCase {
        const char* fName;
        std::function<void()> fFail;
        EAudioOutputProblem fProblem;
        const char* fDevice;
    };
    const SCase cases[] = {
        {"busy device", [&] { manager.ChooseDevice("ALSA", "Busy"); }, EAudioOutputProblem::kDeviceNotOpened, "Busy"},
        {"rate refused", [&] { manager.SetSampleRate(96000); }, EAudioOutputProblem::kDeviceNotUsable, "Server"},
    };
    for (const SCase& c : cases) {
        manager.ChooseDevice("ALSA", "Server");
        manager.SetSampleRate(48000);
        EXPECT_THROW(c.fFail(), std::exception) << c.fName;
        const int told = listener.fCalls;
        ASSERT_TRUE(manager.FallBackToNullOutput()) << c.fName;
        EXPECT_GT(listener.fCalls, told) << c.fName;
        EXPECT_TRUE(manager.GetDevice().fIsNullOutput) << c.fName;
        EXPECT_TRUE(manager.IsOutputWorking()) << c.fName;
        EXPECT_TRUE(manager.IsStandingIn()) << c.fName;
        EXPECT_EQ(manager.GetProblem(), c.fProblem) << c.fName;
        EXPECT_EQ(manager.GetProblemDeviceName(), c.fDevice) << c.fName;
        EXPECT_EQ(manager.GetOutputRate(), 48000u) << c.fName << ": the documents keep their rate";
        EXPECT_EQ(manager.GetDeviceBlock(), Bytes("Server")) << c.fName;
        EXPECT_TRUE(player.PlaySample(sample.get(), nullptr)) << c.fName;
        player.Stop();
    }
    // Another failure while standing in keeps the choice from before the first.
    EXPECT_THROW(manager.ChooseDevice("ALSA", "Busy"), NSMishap::XOpen);
    ASSERT_TRUE(manager.FallBackToNullOutput());
    EXPECT_EQ(manager.GetDeviceBlock(), Bytes("Server"));
    // So does a setting of the Null Output standing in.
    manager.SetBufferFrames(256);
    EXPECT_TRUE(manager.IsStandingIn());
    EXPECT_EQ(manager.GetDeviceBlock(), Bytes("Server"));

    manager.ChooseDevice("ALSA", "Card (hw:0,0)");
    EXPECT_FALSE(manager.IsStandingIn());
    EXPECT_EQ(manager.GetProblem(), EAudioOutputProblem::kNone);
    EXPECT_EQ(manager.GetDeviceBlock(), Bytes("Card (hw:0,0)"));
    manager.RemoveListener(&listener);
}

TEST(AudioCardManager, WithoutANullOutputAFailedOutputStaysFailed) {
    CScriptedKit kit;  // its Null Output does not open
    CAudioCardManager manager(&kit);
    EXPECT_THROW(manager.ChooseDevice("ALSA", "Busy"), NSMishap::XOpen);
    EXPECT_FALSE(manager.FallBackToNullOutput());
    EXPECT_FALSE(manager.IsOutputWorking());
    EXPECT_FALSE(manager.IsStandingIn());
    EXPECT_EQ(manager.GetProblem(), EAudioOutputProblem::kDeviceNotOpened);
}

TEST(AudioCardManager, AServersDeviceOpensAtTheServersRateAndBufferSize) {
    CScriptedKit kit;
    kit.OfferMoreHostApis();
    CAudioCardManager manager(&kit);
    manager.ChooseDevice("JACK", "system");
    EXPECT_EQ(manager.GetSettings().fRate, 48000u);
    EXPECT_EQ(manager.GetSettings().fBufferFrames, 256);
    EXPECT_EQ(manager.GetOutputRate(), 48000u);
    const auto refused = Caught<NSMishap::XUnsupportedFormat>([&] { manager.SetBufferFrames(512); });
    EXPECT_EQ(GetAudioOutputProblem(refused), EAudioOutputProblem::kDeviceNotUsable);
}

TEST(AudioCardManager, PassesClockSourcesAndTheControlPanelOfTheOpenDevice) {
    CScriptedKit kit;
    kit.OfferMoreHostApis();
    CAudioCardManager manager(&kit);
    EXPECT_TRUE(manager.GetClockSources().empty()) << "no device";
    EXPECT_EQ(manager.GetClockSource(), -1);
    manager.ChooseDevice("ALSA", "Card (hw:0,0)");
    EXPECT_TRUE(manager.GetClockSources().empty());
    EXPECT_EQ(manager.GetClockSource(), -1);
    EXPECT_THROW(manager.OpenControlPanel(), NSMishap::XUnsupportedFormat);
    EXPECT_TRUE(manager.IsOutputWorking()) << "a control panel that cannot open is not the device's failure";

    manager.ChooseDevice("Studio Host", "Multichannel Interface");
    CCountingListener listener;
    manager.AddListener(&listener);
    EXPECT_EQ(manager.GetClockSources(), (std::vector<std::string>{"Internal", "Word Clock", "S/PDIF"}));
    EXPECT_EQ(manager.GetClockSource(), 0);
    manager.SetClockSource(2);
    EXPECT_EQ(manager.GetClockSource(), 2);
    EXPECT_EQ(listener.fCalls, 1);
    manager.SetClockSource(2);
    EXPECT_EQ(listener.fCalls, 1) << "no change, nobody told";
    manager.OpenControlPanel();
    EXPECT_EQ(kit.fControlPanelOpenings, 1);
    EXPECT_EQ(listener.fCalls, 2) << "told after the panel closed";
    manager.RemoveListener(&listener);
}
