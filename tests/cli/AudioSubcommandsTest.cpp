#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/opening/SoundFileOpening.h"
#include "app/preferences/AudioCardPreferences.h"
#include "app/preferences/Preferences.h"
#include "app/preferences/PreferencesFile.h"
#include "engine/16BitWaveSample.h"
#include "engine/AudioCardManager.h"
#include "formats/diskkitsupport/FileMediaAccess.h"
#include "formats/soundfile/SoundFileWriter.h"
#include "tests/cli/DemoLoopFile.h"
#include "tests/cli/RunCli.h"
#include "tests/cli/RunCliProgram.h"
#include "tests/support/FloatWaveFile.h"
#include "tests/support/PlayedRecording.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

// The 22050 Hz mono sound of the straight-playback test, as a 16-bit WAVE file.
void WriteShortSound(const std::string& path) {
    C16BitWaveSample sample(22050, 4, false);
    const int16_t values[] = {1000, 3000, -2000, 7};
    sample.Set16s(0, 4, values, 1);
    auto file = NSDiskKitSupport::CreateMediaForWriting(path, 0);
    WriteSoundFile(sample, *file, ESoundFileType::kWave);
    file->Close();
}

// quillet-cli as its own process on this machine, with a configuration folder of the test's own
// (the preferences file lies there) and the Null Output's recording in the test's folder.
class AudioSubcommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sFolder = new CTemporaryFolder;
        WriteDemoLoopWave(sFolder->PathOf("demo.wav"));
        const SCliRun sliced = RunCli({"slice", sFolder->PathOf("demo.wav"), "-o", sFolder->PathOf("demo.lx2"),
                                       "--sensitivity", "50", "--bars", "2", "--preview", "on"});
        ASSERT_EQ(sliced.fExitCode, 0) << sliced.fErr;
        WriteShortSound(sFolder->PathOf("short.wav"));
    }
    static void TearDownTestSuite() {
        delete sFolder;
        sFolder = nullptr;
    }
    static std::string PathOf(const std::string& name) { return sFolder->PathOf(name); }

    std::string Config() const { return fFolder.PathOf("config"); }
    std::string Recording() const { return fFolder.PathOf("played.wav"); }
    std::string PreferencesFile() const { return Config() + "/Moltrane Software/Quillet/Quillet Preferences File.prf"; }
    SProgramRun Run(const std::vector<std::string>& arguments,
                    const std::function<bool()>& interruptWhen = nullptr) const {
        return RunCliProgram(arguments, {{"XDG_CONFIG_HOME", Config()}, {"QUILLET_NULL_OUTPUT_RECORD", Recording()}},
                             interruptWhen);
    }

    static CTemporaryFolder* sFolder;
    CTemporaryFolder fFolder;
};

CTemporaryFolder* AudioSubcommandsTest::sFolder = nullptr;

TEST_F(AudioSubcommandsTest, PlayOnTheNullOutputRecordsSampleForSampleWhatRenderWrites) {
    const SProgramRun played = Run({"play", PathOf("demo.lx2"), "--device", "null", "--tempo", "140"});
    ASSERT_EQ(played.fExitCode, 0) << played.fErr;
    EXPECT_EQ(played.fErr, "") << "nothing on standard error without a card or a sound server";
    EXPECT_EQ(played.fOut, "");
    EXPECT_FALSE(std::filesystem::exists(PreferencesFile())) << "play never writes the preferences";

    const std::string rendered = fFolder.PathOf("rendered.wav");
    const SProgramRun render = Run({"render", PathOf("demo.lx2"), "--tempo", "140", "--rate", "44100", "-o", rendered});
    ASSERT_EQ(render.fExitCode, 0) << render.fErr;
    const std::unique_ptr<CABCWaveSample> expected = OpenSoundFile(rendered);
    ASSERT_EQ(expected->GetBitDepth(), 16);
    // 8 beats at 140 BPM: 176400 × 120 / 140 frames.
    ASSERT_EQ(expected->GetFrameCount(), 151200);

    const SFloatWave recording = ReadFloatWave(Recording());
    EXPECT_EQ(recording.fRate, 44100u);
    const int64_t start = ExpectRecordingHolds(recording, InterleavedValues(*expected), 2);
    EXPECT_EQ(start % 256, 0) << "the playback starts on one of the renderer's pieces";
}

TEST_F(AudioSubcommandsTest, PlayPlaysASoundWithoutALoopLengthStraight) {
    const SProgramRun played = Run({"play", PathOf("short.wav"), "--device", "null"});
    ASSERT_EQ(played.fExitCode, 0) << played.fErr;
    EXPECT_EQ(played.fErr, "");
    // 22050 Hz on the Null Output's 44100 Hz: halfway values between the frames, worked out in
    // PlaybackToEndTest: 1000, 1000 + 1000, 3000, 3000 − 2500, −2000, −2000 + 1003, 7, 7 − 3.
    const std::vector<int32_t> expected = {1000, 1000, 2000, 2000, 3000, 3000, 500, 500,
                                           -2000, -2000, -997, -997, 7, 7, 4, 4};
    const SFloatWave recording = ReadFloatWave(Recording());
    EXPECT_EQ(recording.fRate, 44100u);
    ExpectRecordingHolds(recording, expected, 2);
}

TEST_F(AudioSubcommandsTest, DevicesListsTheNullOutputAndPrintsNothingOnStandardError) {
    const SProgramRun listed = Run({"devices", "--json"});
    ASSERT_EQ(listed.fExitCode, 0) << listed.fErr;
    EXPECT_EQ(listed.fErr, "");
    const nlohmann::json json = nlohmann::json::parse(listed.fOut);
    int defaults = 0;
    bool found = false;
    for (const auto& device : json["devices"]) {
        defaults += device["default"].get<bool>() ? 1 : 0;
        if (device["name"] != "Null Output") continue;
        found = true;
        EXPECT_EQ(device["host_api"], "Built-in");
        EXPECT_EQ(device["channels"], 8);
        EXPECT_EQ(device["default_rate"], 44100);
        // Without a card it is the default.
        if (json["devices"].size() == 1) {
            EXPECT_TRUE(device["default"].get<bool>());
        }
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(defaults, 1);
    ASSERT_FALSE(json["host_apis"].empty());
    EXPECT_EQ(json["host_apis"].back()["name"], "Built-in");
    EXPECT_EQ(json["host_apis"].back()["device_count"], 1);

    const SProgramRun table = Run({"devices"});
    ASSERT_EQ(table.fExitCode, 0) << table.fErr;
    EXPECT_EQ(table.fErr, "");
    EXPECT_NE(table.fOut.find("Null Output"), std::string::npos) << table.fOut;
}

TEST_F(AudioSubcommandsTest, PlayOpensTheDeviceStoredInThePreferencesAndLeavesTheFileAlone) {
    {
        // The user chose the Null Output at 48000 Hz in an earlier session.
        const CScopedEnvironmentVariable config("XDG_CONFIG_HOME", Config());
        const CScopedEnvironmentVariable device("QUILLET_AUDIO_DEVICE", std::nullopt);
        const CScopedEnvironmentVariable record("QUILLET_NULL_OUTPUT_RECORD", std::nullopt);
        CAudioCardManager manager;
        CPreferences preferences;
        SAudioDeviceChoice null;
        null.fKind = SAudioDeviceChoice::EKind::kNamed;
        null.fName = "null";
        ChooseAudioDevice(manager, preferences, null);
        manager.SetSampleRate(48000);
        StoreAudioDeviceChoice(manager, preferences);
        manager.CloseOutput();
        ASSERT_TRUE(WritePreferencesFile(preferences));
    }
    const std::string before = ReadWholeFile(PreferencesFile());
    const SProgramRun played = Run({"play", PathOf("short.wav")});
    ASSERT_EQ(played.fExitCode, 0) << played.fErr;
    EXPECT_EQ(played.fErr, "");
    EXPECT_EQ(ReadFloatWave(Recording()).fRate, 48000u);
    EXPECT_EQ(ReadWholeFile(PreferencesFile()), before);
}

TEST_F(AudioSubcommandsTest, CtrlCStopsThePlaybackAndCompletesTheRecording) {
    // Ctrl-C once a second of sound has been recorded: 44 bytes of header, 44100 frames of two
    // floats.
    const std::string recording = Recording();
    const auto started = std::chrono::steady_clock::now();
    const SProgramRun played = Run({"play", PathOf("demo.lx2"), "--device", "null", "--repeat", "20"}, [&] {
        std::error_code ignored;
        return std::filesystem::file_size(recording, ignored) > 44u + 44100u * 8u && !ignored;
    });
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30)) << "not all 20 plays";
    EXPECT_EQ(played.fExitCode, 3) << played.fErr;
    EXPECT_EQ(played.fErr, "quillet-cli: Stopped: user pressed stop\n");
    const SFloatWave wave = ReadFloatWave(recording);
    ASSERT_EQ(wave.fChannels, 2) << "a complete WAVE file";
    EXPECT_GT(wave.fSamples.size(), 2u * 44100u) << "it played before the stop";
    EXPECT_LT(wave.fSamples.size(), 2u * 20u * 176400u);
}

TEST_F(AudioSubcommandsTest, PlayRefusesWhatItCannotPlay) {
    struct SRow {
        const char* fCase;
        std::vector<std::string> fArguments;
        int fExitCode;
        const char* fMessage;
    };
    const SRow rows[] = {
        {"slice beyond the list", {"play", PathOf("demo.lx2"), "--device", "null", "--slice", "99"}, 2,
         "quillet-cli: Usage: --slice must be an index of the slice list, 0 to 15\n"},
        {"no such device", {"play", PathOf("short.wav"), "--device", "Studio Monitor"}, 1,
         "quillet-cli: The audio device “Studio Monitor” could not be opened.: Please quit other audio programs and/or "
         "check the device.\n"},
        {"tempo without a length", {"play", PathOf("short.wav"), "--device", "null", "--tempo", "100"}, 2,
         "quillet-cli: Usage: --tempo needs the loop's length: give --bars or --beats\n"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        const SProgramRun run = Run(row.fArguments);
        EXPECT_EQ(run.fExitCode, row.fExitCode);
        EXPECT_EQ(run.fErr, row.fMessage);
    }
}

}  // namespace
