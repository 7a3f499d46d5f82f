#include "ui/logic/preferences/AudioPageController.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/AudioCardManager.h"
#include "engine/WavePlayer.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/ScriptedSoundPortKit.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CScriptedKit;
using NSSoundPortKit2::kNullOutputName;

class CRecordingPage final : public IAudioPageView {
public:
    void ShowAudioPage(const SAudioPageState& state) override {
        fShown.push_back(state);
    }
    std::vector<SAudioPageState> fShown;
};

// The scripted machine with its JACK server, studio interface and Null Output, the card
// playing, and the page open on it.
class AudioPageController : public ::testing::Test {
protected:
    AudioPageController() {
        fKit.OfferMoreHostApis();
        fManager.GetRenderer().SetSource(&fPlayer);
        fManager.StartDefaultDevice();
        fController.Rescan();
    }
    ~AudioPageController() override {
        fPlayer.Stop();
        // The scripted card never calls back: the player resets instead of waiting for it.
        fKit.fStreamDied = true;
        fManager.CloseOutput();
    }

    const SAudioPageState& State() const { return fController.GetState(); }
    int32_t EntryOf(const std::string& device) const {
        for (size_t i = 0; i < State().fDeviceEntries.size(); ++i) {
            if (!State().fDeviceEntries[i].fIsHostApi && State().fDeviceEntries[i].fDevice == device) return int32_t(i);
        }
        return -1;
    }
    std::string ShownDevice() const {
        return State().fDeviceEntry < 0 ? "" : State().fDeviceEntries[size_t(State().fDeviceEntry)].fDevice;
    }
    // Playback works: a sample plays and the renderer hears it.
    bool PlaysASample() {
        if (!fPlayer.PlaySample(fSample.get(), nullptr)) return false;
        float left[256] = {}, right[256] = {};
        float* channels[2] = {left, right};
        fManager.GetRenderer().Render(256, channels, 2);
        fPlayer.Stop();
        return left[0] != 0.0f;
    }

    CScriptedKit fKit;
    CAudioCardManager fManager{&fKit};
    CWavePlayer fPlayer{fManager};
    CRecordingPage fPage;
    CAudioPageController fController{fManager, fPage};
    std::unique_ptr<C16BitWaveSample> fSample = [] {
        auto sample = std::make_unique<C16BitWaveSample>(44100, 1000, false);
        for (int32_t frame = 0; frame < 1000; ++frame) sample->Set16(frame, 16384, 1);
        return sample;
    }();
};

TEST_F(AudioPageController, ListsTheDevicesAndShowsThePlayingCard) {
    EXPECT_GE(fKit.fRescans, 1);
    EXPECT_EQ(ShownDevice(), "Card (hw:0,0)");
    EXPECT_EQ(State().fStatePicture, kDriverWorkingPicture);
    EXPECT_GE(EntryOf(kNullOutputName), 0) << "the Null Output is offered";
    EXPECT_EQ(State().fRates, (std::vector<uint32_t>{44100, 48000}));
    EXPECT_EQ(State().fBufferText, "512 samples");
    // The scripted host reports two buffers: 2 × 512 / 44100 s.
    EXPECT_EQ(State().fLatencyText, "23.2 ms");
    EXPECT_EQ(State().fChannelsText, "2 out of 2");
    EXPECT_EQ(fPage.fShown.back().fDeviceEntry, State().fDeviceEntry) << "the view is shown each state";
}

TEST_F(AudioPageController, EachChangeIsAppliedAtOnceAndShown) {
    fController.ChooseRate(1);
    EXPECT_EQ(fManager.GetOutputRate(), 48000u);
    EXPECT_EQ(State().fRateIndex, 1);
    fController.StepBufferSize(+1);
    EXPECT_EQ(fManager.GetSettings().fBufferFrames, 1024);
    EXPECT_EQ(State().fBufferText, "1024 samples");
    fController.StepBufferSize(-2);
    EXPECT_EQ(fManager.GetSettings().fBufferFrames, 256);
    fController.ChooseBufferSize(0);
    EXPECT_EQ(fManager.GetSettings().fBufferFrames, 16);
    fController.StepBufferSize(-1);
    EXPECT_EQ(fManager.GetSettings().fBufferFrames, 16) << "no size below the smallest";

    fController.ChooseDeviceEntry(EntryOf("Multichannel Interface"));
    EXPECT_EQ(fManager.GetDevice().fName, "Multichannel Interface");
    EXPECT_EQ(State().fRates, (std::vector<uint32_t>{44100, 48000, 88200, 96000}));
    EXPECT_TRUE(State().fControlPanelEnabled);
    ASSERT_TRUE(State().fClockSourceEnabled);
    EXPECT_EQ(State().fClockSources, (std::vector<std::string>{"Internal", "Word Clock", "S/PDIF"}));
    fController.ChooseClockSource(1);
    EXPECT_EQ(fManager.GetClockSource(), 1);
    EXPECT_EQ(State().fClockSourceIndex, 1);
    fController.OpenControlPanel();
    EXPECT_EQ(fKit.fControlPanelOpenings, 1);
    // Channels 3 and 4 of eight; a bit beyond the eighth is dropped.
    fController.SetActiveChannels(0b1100 | (uint64_t(1) << 9));
    EXPECT_EQ(fManager.GetSettings().fActiveChannels, 0b1100u);
    EXPECT_EQ(State().fChannelsText, "2 out of 8");
    fController.SetActiveChannels(0);
    EXPECT_EQ(fManager.GetSettings().fActiveChannels, 0b1100u) << "no channel at all is not taken";
}

TEST_F(AudioPageController, AServersDeviceRunsAtItsOwnRateAndBufferSize) {
    fController.ChooseDeviceEntry(EntryOf("system"));
    EXPECT_EQ(fManager.GetOutputRate(), 48000u);
    EXPECT_EQ(State().fRates, (std::vector<uint32_t>{48000}));
    EXPECT_FALSE(State().fRateEnabled);
    EXPECT_EQ(State().fBufferSizes, (std::vector<int32_t>{256}));
    EXPECT_FALSE(State().fBufferEnabled);
    fController.StepBufferSize(+1);
    EXPECT_EQ(fManager.GetSettings().fBufferFrames, 256);
}

TEST_F(AudioPageController, SwitchingToTheNullOutputKeepsPlaybackWorking) {
    ASSERT_TRUE(PlaysASample());
    fController.ChooseDeviceEntry(EntryOf(kNullOutputName));
    EXPECT_TRUE(fManager.GetDevice().fIsNullOutput);
    EXPECT_EQ(ShownDevice(), kNullOutputName);
    EXPECT_EQ(State().fStatePicture, kDriverWorkingPicture);
    EXPECT_EQ(State().fRates.size(), 7u) << "the standard rates";
    EXPECT_TRUE(PlaysASample());
}

TEST_F(AudioPageController, AFailedDeviceIsShownNotWorkingWithItsAlertWhileTheNullOutputPlays) {
    CScriptedAlertPresenter alerts;
    const size_t before = fPage.fShown.size();
    fController.ChooseDeviceEntry(EntryOf("Busy"));
    ASSERT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_EQ(alerts.GetShown()[0].fHeading, "The audio device “Busy” could not be opened.");
    EXPECT_EQ(ShownDevice(), "Busy");
    EXPECT_EQ(State().fStatePicture, kDriverNotWorkingPicture);
    EXPECT_FALSE(State().fRateEnabled);
    EXPECT_FALSE(State().fBufferEnabled);
    EXPECT_FALSE(State().fChannelsEnabled);
    EXPECT_GT(fPage.fShown.size(), before);
    EXPECT_TRUE(fManager.IsStandingIn());
    EXPECT_TRUE(PlaysASample()) << "playback goes on through the Null Output";

    // Choosing the failed device again tries again; another device ends the stand-in.
    fController.ChooseDeviceEntry(EntryOf("Busy"));
    EXPECT_EQ(alerts.GetShown().size(), 2u);
    fController.ChooseDeviceEntry(EntryOf("Server"));
    EXPECT_EQ(ShownDevice(), "Server");
    EXPECT_EQ(State().fStatePicture, kDriverWorkingPicture);
    EXPECT_FALSE(fManager.IsStandingIn());
    EXPECT_EQ(alerts.GetShown().size(), 2u);
}

TEST_F(AudioPageController, FollowsChangesMadeElsewhere) {
    fManager.SetBufferFrames(128);
    EXPECT_EQ(State().fBufferText, "128 samples");
    fKit.fStreamDied = true;
    fManager.Idle();
    EXPECT_EQ(ShownDevice(), "Card (hw:0,0)") << "the device whose stream stopped";
    EXPECT_EQ(State().fStatePicture, kDriverNotWorkingPicture);
    fKit.fStreamDied = false;
}

TEST_F(AudioPageController, ARescanThatCannotReopenTheCardFallsBackWithItsAlert) {
    CScriptedAlertPresenter alerts;
    fKit.fMachine.erase(fKit.fMachine.begin());  // the card was unplugged
    fController.Rescan();
    EXPECT_EQ(alerts.GetShown().size(), 1u);
    EXPECT_TRUE(fManager.IsStandingIn());
    EXPECT_EQ(EntryOf("Card (hw:0,0)"), -1);
    EXPECT_EQ(State().fStatePicture, kDriverNotWorkingPicture);
    EXPECT_TRUE(PlaysASample());
}

TEST_F(AudioPageController, AHostApiLineAndIndicesOutsideTheListsDoNothing) {
    const std::vector<uint8_t> block = fManager.GetDeviceBlock();
    fController.ChooseDeviceEntry(0);  // "ALSA"
    fController.ChooseDeviceEntry(-1);
    fController.ChooseDeviceEntry(1000);
    fController.ChooseRate(7);
    fController.ChooseBufferSize(-3);
    fController.ChooseClockSource(0);  // the card has none
    fController.OpenControlPanel();
    EXPECT_EQ(fManager.GetDeviceBlock(), block);
    EXPECT_EQ(fManager.GetSettings().fBufferFrames, 512);
    EXPECT_EQ(fKit.fControlPanelOpenings, 0);
}

}  // namespace
}  // namespace NSQuillet
