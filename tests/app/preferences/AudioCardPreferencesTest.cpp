#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/preferences/AudioCardPreferences.h"
#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesFile.h"
#include "engine/AudioCardManager.h"
#include "foundation/Mishap.h"
#include "tests/app/preferences/PreferencesTestSupport.h"
#include "tests/support/ScriptedSoundPortKit.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

SAudioDeviceBlock Block(const std::string& bytes, const CVersion& version = GetAudioDriverSpecVersion()) {
    SAudioDeviceBlock block;
    block.fVersion = version;
    block.fBytes = Bytes(bytes);
    return block;
}

// A preferences file whose only change from the standard settings is the stored device.
void WriteStoredDevice(const SAudioDeviceBlock& block) {
    CPreferences preferences;
    preferences.SetAudioDeviceBlock(block);
    ASSERT_TRUE(WritePreferencesFile(preferences));
}

// Neither the tester's environment nor another test decides the device.
class AudioCardPreferences : public ::testing::Test {
protected:
    CPreferencesHome fHome;
    CScopedEnvironmentVariable fDevice{"QUILLET_AUDIO_DEVICE", std::nullopt};
    CScopedEnvironmentVariable fRecord{"QUILLET_NULL_OUTPUT_RECORD", std::nullopt};
    CScriptedAlertPresenter fAlerts;
};

TEST_F(AudioCardPreferences, TheChosenDeviceWithItsSettingsOpensAgainAtTheNextStart) {
    {
        CAudioCardManager manager;
        CPreferences preferences;
        SAudioDeviceChoice null;
        null.fKind = SAudioDeviceChoice::EKind::kNamed;
        null.fName = "null";
        ChooseAudioDevice(manager, preferences, null);
        manager.SetSampleRate(48000);
        manager.SetBufferFrames(256);
        StoreAudioDeviceChoice(manager, preferences);
        EXPECT_EQ(preferences.GetAudioDeviceBlock().fBytes, manager.GetDeviceBlock());
        EXPECT_EQ(preferences.GetAudioDeviceBlock().fVersion, CVersion(1, 0));
        EXPECT_TRUE(preferences.IsChanged());
        ASSERT_TRUE(WritePreferencesFile(preferences));
        manager.CloseOutput();
    }
    CAudioCardManager manager;
    CPreferences preferences;
    CAudioCardRestorer restorer(manager);
    ASSERT_TRUE(ReadPreferencesFile(preferences, &restorer));
    ASSERT_TRUE(manager.IsOutputWorking());
    EXPECT_TRUE(manager.GetDevice().fIsNullOutput);
    EXPECT_EQ(manager.GetOutputRate(), 48000u);
    EXPECT_EQ(manager.GetSettings().fBufferFrames, 256);
    EXPECT_TRUE(fAlerts.GetShown().empty());
    EXPECT_FALSE(preferences.IsChanged()) << "restoring is no change";
    manager.CloseOutput();
}

TEST_F(AudioCardPreferences, AStoredDeviceThatCannotBeRestoredShowsItsProblemsAlert) {
    struct SRow {
        const char* fCase;
        SAudioDeviceBlock fBlock;
        const char* fAlert;    // heading, else body; "" for none
        const char* fPlaying;  // the device open afterwards; "" when the output failed
    };
    const SRow rows[] = {
        {"restored", Block("Server"), "", "Server"},
        {"device gone", Block("Gone"), "Your last used audio device couldn’t be found.", "Card (hw:0,0)"},
        {"unreadable", Block("!x"), "Your driver settings could not be restored.", "Card (hw:0,0)"},
        {"a later driver spec version", Block("Server", CVersion(1, 1)), "Your driver settings could not be restored.",
         "Card (hw:0,0)"},
        {"device busy", Block("Busy"), "The audio device “Busy” could not be opened.", ""},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        WriteStoredDevice(row.fBlock);
        CScriptedAlertPresenter alerts;
        CScriptedKit kit;
        CAudioCardManager manager(&kit);
        CPreferences preferences;
        CAudioCardRestorer restorer(manager);
        EXPECT_TRUE(ReadPreferencesFile(preferences, &restorer));
        EXPECT_EQ(preferences.GetAudioDeviceBlock(), row.fBlock) << "the user's choice is kept";
        if (*row.fAlert == '\0') {
            EXPECT_TRUE(alerts.GetShown().empty());
        } else {
            ASSERT_EQ(alerts.GetShown().size(), 1u);
            const SAlert& shown = alerts.GetShown()[0];
            EXPECT_EQ(shown.fHeading.empty() ? shown.fBody : shown.fHeading, row.fAlert);
        }
        if (*row.fPlaying == '\0') {
            EXPECT_FALSE(manager.IsOutputWorking());
        } else {
            ASSERT_TRUE(manager.IsOutputWorking());
            EXPECT_EQ(manager.GetDevice().fName, row.fPlaying);
        }
    }
}

TEST_F(AudioCardPreferences, TheRestorerRefusesABlockOfAnotherDriverSpecVersionAndStartsTheStandardDevice) {
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    CAudioCardRestorer restorer(manager);
    try {
        restorer.RestoreAudioDevice(Block("Server", CVersion(2, 0)));
        FAIL() << "restored";
    } catch (const NSMishap::XUnsupportedFormat& failure) {
        EXPECT_STREQ(failure.what(), "incompatible driver spec version");
        EXPECT_EQ(GetAudioOutputProblem(failure), EAudioOutputProblem::kSettingsNotRestored);
    }
    ASSERT_TRUE(manager.HasDevice());
    EXPECT_EQ(manager.GetDevice().fName, "Card (hw:0,0)");
    // One of this version is read.
    restorer.RestoreAudioDevice(Block("Server", CVersion(1, 0)));
    EXPECT_EQ(manager.GetDevice().fName, "Server");
}

TEST_F(AudioCardPreferences, AChoiceThatFailsLeavesTheStoredDeviceAsItWas) {
    CScriptedKit kit;
    CAudioCardManager manager(&kit);
    CPreferences preferences;
    SAudioDeviceChoice server;
    server.fKind = SAudioDeviceChoice::EKind::kDevice;
    server.fHostApi = "ALSA";
    server.fName = "Server";
    ChooseAudioDevice(manager, preferences, server);
    EXPECT_EQ(preferences.GetAudioDeviceBlock(), Block("Server"));
    preferences.MarkStored();

    // The same device again changes nothing to store.
    ChooseAudioDevice(manager, preferences, server);
    EXPECT_FALSE(preferences.IsChanged());

    SAudioDeviceChoice busy = server;
    busy.fName = "Busy";
    EXPECT_THROW(ChooseAudioDevice(manager, preferences, busy), NSMishap::XOpen);
    EXPECT_FALSE(manager.IsOutputWorking());
    EXPECT_EQ(preferences.GetAudioDeviceBlock(), Block("Server"));
    EXPECT_FALSE(preferences.IsChanged());
}

}  // namespace
