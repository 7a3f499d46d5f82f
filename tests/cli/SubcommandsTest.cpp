#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "tests/cli/DemoLoopFile.h"
#include "tests/cli/RunCli.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/DemoLoop.h"

using namespace NSQuillet;
using NSQuillet::NSTools::SDemoLoop;
using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::RunCli;

namespace {

class SubcommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sFolder = new CTemporaryFolder;
        NSQuilletTest::WriteDemoLoopWave(sFolder->PathOf("demo.wav"));
    }
    static void TearDownTestSuite() {
        delete sFolder;
        sFolder = nullptr;
    }
    static std::string Demo() { return sFolder->PathOf("demo.wav"); }
    static CTemporaryFolder* sFolder;
};

CTemporaryFolder* SubcommandsTest::sFolder = nullptr;

void PutU16(std::string& bytes, uint16_t value) {
    bytes += char(value & 0xFF);
    bytes += char(value >> 8);
}
void PutU32(std::string& bytes, uint32_t value) {
    PutU16(bytes, uint16_t(value & 0xFFFF));
    PutU16(bytes, uint16_t(value >> 16));
}

// A canonical 44-byte WAVE header with `frames` zero frames.
std::string WaveBytes(uint16_t format, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames) {
    const uint32_t blockAlign = uint32_t(channels) * bits / 8;
    std::string data(size_t(frames) * blockAlign, '\0');
    std::string bytes = "RIFF";
    PutU32(bytes, uint32_t(36 + data.size()));
    bytes += "WAVEfmt ";
    PutU32(bytes, 16);
    PutU16(bytes, format);
    PutU16(bytes, channels);
    PutU32(bytes, rate);
    PutU32(bytes, rate * blockAlign);
    PutU16(bytes, uint16_t(blockAlign));
    PutU16(bytes, bits);
    bytes += "data";
    PutU32(bytes, uint32_t(data.size()));
    return bytes + data;
}

}  // namespace

TEST_F(SubcommandsTest, InfoPrintsTheFormatAsJson) {
    auto run = RunCli({"info", Demo(), "--json"});
    ASSERT_EQ(run.fExitCode, 0) << run.fErr;
    auto json = nlohmann::json::parse(run.fOut);
    EXPECT_EQ(json["file_type"], "wave");
    EXPECT_EQ(json["channels"], 2);
    EXPECT_EQ(json["bit_depth"], 16);
    EXPECT_EQ(json["sample_rate"], 44100);
    EXPECT_EQ(json["frame_count"], 176400);
    // 176400 / 44100
    EXPECT_DOUBLE_EQ(json["duration"].get<double>(), 4.0);
}

TEST_F(SubcommandsTest, SlicesListsEverySliceWithItsStateAsJson) {
    auto run = RunCli({"slices", Demo(), "--sensitivity", "50", "--gate", "0", "--json", "--quiet"});
    ASSERT_EQ(run.fExitCode, 0) << run.fErr;
    auto json = nlohmann::json::parse(run.fOut);
    // Written by hand, byte for byte a compact dump with sorted keys.
    EXPECT_EQ(run.fOut, json.dump() + "\n");
    EXPECT_EQ(json["frame_count"], SDemoLoop::kFrameCount);
    EXPECT_EQ(json["sensitivity"], 50);
    EXPECT_EQ(json["gate_sensitivity"], 0);
    const auto& slices = json["slices"];
    // One drum hit every eighth note: 16 over two bars.
    ASSERT_EQ(slices.size(), 16u);
    int64_t covered = 0;
    for (size_t i = 0; i < slices.size(); ++i) {
        const int32_t eighth = int32_t(i) * SDemoLoop::kFramesPerBeat / 2;
        const int32_t position = slices[i]["position"];
        EXPECT_GE(position, eighth - 500) << i;
        EXPECT_LE(position, eighth + 64) << i;
        EXPECT_EQ(slices[i]["kind"], "normal");
        EXPECT_EQ(slices[i]["selected"], false);
        EXPECT_EQ(slices[i]["active"], true);
        EXPECT_EQ(slices[i]["shown"], true);
        covered += slices[i]["length"].get<int64_t>();
    }
    EXPECT_EQ(covered, SDemoLoop::kFrameCount);

    // Sensitivity 0 keeps every slice in the list but none counts.
    auto hidden = nlohmann::json::parse(RunCli({"slices", Demo(), "--json"}).fOut);
    ASSERT_EQ(hidden["slices"].size(), 16u);
    for (const auto& slice : hidden["slices"]) {
        EXPECT_EQ(slice["active"], false);
        EXPECT_EQ(slice["shown"], false);
    }
}

TEST_F(SubcommandsTest, RefusedFilesEndWithTheirAlertAndExitCode) {
    struct SCase {
        const char* fName;
        std::string fBytes;
        std::vector<std::string> fExtra;
        std::string fErr;
    } cases[] = {
        {"float.wav", WaveBytes(3, 2, 44100, 32, 10), {}, "quillet-cli: Warning: Quillet only supports 8, 16 and 24-bit audio files.\n"},
        {"three.wav", WaveBytes(1, 3, 44100, 16, 10), {}, "quillet-cli: Warning: Quillet only supports Mono and Stereo sound files.\n"},
        {"slow.wav", WaveBytes(1, 1, 8000, 16, 10), {},
         "quillet-cli: Warning: Quillet does not support sample rates lower than 11.025 kHz or higher than 1.0 MHz.\n"},
        {"short.wav", "RIFF1234567", {"--verbose"},
         "quillet-cli: Bad Format: The operation could not be completed because of the file has a bad format. "
         "[kFailureCode_RuntimeError_FormatViolation: sound file media too short]\n"},
        {"text.wav", "just some words, not audio", {},
         "quillet-cli: Bad Format: The operation could not be completed because of the file has a bad format.\n"},
    };
    CTemporaryFolder folder;
    for (const auto& row : cases) {
        SCOPED_TRACE(row.fName);
        const std::string path = folder.Make(row.fName, row.fBytes);
        for (const char* command : {"info", "slices"}) {
            std::vector<std::string> arguments = {command, path};
            arguments.insert(arguments.end(), row.fExtra.begin(), row.fExtra.end());
            auto run = RunCli(arguments);
            EXPECT_EQ(run.fExitCode, 1) << command;
            EXPECT_EQ(run.fErr, row.fErr) << command;
            EXPECT_EQ(run.fOut, "") << command;
        }
    }
    auto missing = RunCli({"info", folder.PathOf("missing.wav"), "--verbose"});
    EXPECT_EQ(missing.fExitCode, 1);
    EXPECT_EQ(missing.fErr.rfind("quillet-cli: File system object not found: The operation could not be completed "
                                 "because the file system object was not found. [",
                                 0),
              0u)
        << missing.fErr;
    EXPECT_NE(missing.fErr.find("No such file or directory"), std::string::npos) << missing.fErr;
}

TEST_F(SubcommandsTest, OutOfRangeOptionsAreUsageErrors) {
    EXPECT_EQ(RunCli({"slices", Demo(), "--sensitivity", "100"}).fExitCode, 2);
    EXPECT_EQ(RunCli({"slices", Demo(), "--gate", "-1"}).fExitCode, 2);
    EXPECT_EQ(RunCli({"info"}).fExitCode, 2);
}

TEST_F(SubcommandsTest, RenderPlaysTheSlicesAtThePreviewTempo) {
    CTemporaryFolder folder;
    const std::string output = folder.PathOf("fast.wav");
    auto run = RunCli({"render", Demo(), "-o", output, "--sensitivity", "50", "--bars", "2", "--sign", "4/4",
                       "--tempo", "140"});
    ASSERT_EQ(run.fExitCode, 0) << run.fErr;
    auto info = nlohmann::json::parse(RunCli({"info", output, "--json"}).fOut);
    // 176400 frames at 120 BPM last 176400 × 120 / 140 = 151200 frames at 140 BPM.
    EXPECT_EQ(info["frame_count"], 151200);
    EXPECT_EQ(info["channels"], 2);
    EXPECT_EQ(info["bit_depth"], 16);

    // The rendered hits fall on the eighth notes of 140 BPM: 22050 × 120 / 140 / 2 = 9450 apart
    // (at 120 BPM they were 11025 apart). Each detection may snap up to 500 frames back, in the
    // source and again in the rendering.
    auto slices = nlohmann::json::parse(RunCli({"slices", output, "--sensitivity", "50", "--json"}).fOut)["slices"];
    std::vector<int32_t> active;
    for (const auto& slice : slices) {
        if (slice["active"].get<bool>()) active.push_back(slice["position"].get<int32_t>());
    }
    ASSERT_EQ(active.size(), 16u);
    for (size_t i = 0; i < active.size(); ++i) EXPECT_NEAR(active[i], int32_t(i) * 9450, 500) << i;
}

TEST_F(SubcommandsTest, RenderRefusesWhatItCannotDoAndKeepsExistingFiles) {
    CTemporaryFolder folder;
    const std::string existing = folder.Make("kept.wav", "not touched");
    auto refused = RunCli({"render", Demo(), "-o", existing, "--bars", "2"});
    EXPECT_EQ(refused.fExitCode, 1);
    std::ifstream kept(existing);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "not touched");
    EXPECT_EQ(RunCli({"render", Demo(), "-o", existing, "--bars", "2", "--force"}).fExitCode, 0);

    EXPECT_EQ(RunCli({"render", Demo(), "-o", folder.PathOf("a.wav"), "--tempo", "140"}).fExitCode, 2);
    EXPECT_EQ(RunCli({"render", Demo(), "-o", folder.PathOf("a.mp3")}).fExitCode, 2);
    EXPECT_EQ(RunCli({"render", Demo(), "-o", folder.PathOf("a.wav"), "--sign", "4-4"}).fExitCode, 2);
    EXPECT_EQ(RunCli({"render", Demo(), "-o", folder.PathOf("a.wav"), "--bits", "20"}).fExitCode, 2);
}
