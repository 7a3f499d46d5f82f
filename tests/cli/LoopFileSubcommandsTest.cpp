#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/opening/SoundFileOpening.h"
#include "app/saving/SoundFileSaving.h"
#include "tests/cli/DemoLoopFile.h"
#include "tests/cli/RunCli.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/DemoLoop.h"

using namespace NSQuillet;
using NSQuillet::NSTools::SDemoLoop;
using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::RunCli;

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::vector<int32_t> Channel(const CABCWaveSample& sample, int32_t channel) {
    std::vector<int32_t> values(size_t(sample.GetFrameCount()));
    sample.Get24s(0, sample.GetFrameCount(), values.data(), channel);
    return values;
}

class LoopFileSubcommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        NSQuilletTest::WriteDemoLoopWave(fFolder.PathOf("demo.wav"));
    }
    std::string Demo() const { return fFolder.PathOf("demo.wav"); }
    std::string Loop() const { return fFolder.PathOf("demo.lx2"); }
    CTemporaryFolder fFolder;
};

TEST_F(LoopFileSubcommandsTest, SliceSavesTheLoopThatInfoSlicesAndDecodeReadBack) {
    auto sliced = RunCli({"slice", Demo(), "-o", Loop(), "--sensitivity", "50", "--bars", "2", "--sign", "4/4",
                          "--preview", "on"});
    ASSERT_EQ(sliced.fExitCode, 0) << sliced.fErr;

    auto info = nlohmann::json::parse(RunCli({"info", Loop(), "--json"}).fOut);
    EXPECT_EQ(info["file_type"], "lux2");
    EXPECT_EQ(info["channels"], 2);
    EXPECT_EQ(info["bit_depth"], 16);
    EXPECT_EQ(info["sample_rate"], 44100);
    EXPECT_EQ(info["frame_count"], SDemoLoop::kFrameCount);
    EXPECT_EQ(info["bars"], 2);
    EXPECT_EQ(info["beats"], 0);
    EXPECT_EQ(info["signature"], "4/4");
    // 8 beats over 176400 frames at 44100 Hz = 4 s: 120 BPM; preview on with a length for the
    // first time takes the loop's own tempo.
    EXPECT_EQ(info["original_tempo"], 120000);
    EXPECT_EQ(info["preview_tempo"], 120000);
    EXPECT_EQ(info["slice_count"], 16);
    EXPECT_GT(info["compression_ratio"].get<double>(), 1.0);

    // The loop file keeps the slices and the sensitivity the sound file's analysis gave.
    auto fromSound = nlohmann::json::parse(RunCli({"slices", Demo(), "--sensitivity", "50", "--json"}).fOut);
    auto fromLoop = nlohmann::json::parse(RunCli({"slices", Loop(), "--json"}).fOut);
    EXPECT_EQ(fromLoop, fromSound);

    const std::string decoded = fFolder.PathOf("decoded.wav");
    auto decode = RunCli({"decode", Loop(), "-o", decoded});
    ASSERT_EQ(decode.fExitCode, 0) << decode.fErr;
    auto original = OpenSoundFile(Demo());
    auto back = OpenSoundFile(decoded);
    ASSERT_EQ(back->GetFrameCount(), original->GetFrameCount());
    ASSERT_EQ(back->GetChannelCount(), 2);
    EXPECT_EQ(back->GetBitDepth(), 16);
    for (int32_t channel = 1; channel <= 2; ++channel) EXPECT_EQ(Channel(*back, channel), Channel(*original, channel));
}

TEST_F(LoopFileSubcommandsTest, SliceAppliesLocatorsTempoAndPreviewAsTheEditorDoes) {
    // One bar over the first 88200 frames (2 s at 44100 Hz): 4 beats in 2 s is 120 BPM.
    auto run = RunCli({"slice", Demo(), "-o", Loop(), "--bars", "1", "--left", "0", "--right", "88200", "--tempo",
                       "97.5", "--preview", "off"});
    ASSERT_EQ(run.fExitCode, 0) << run.fErr;
    auto info = nlohmann::json::parse(RunCli({"info", Loop(), "--json"}).fOut);
    EXPECT_EQ(info["original_tempo"], 120000);
    EXPECT_EQ(info["preview_tempo"], 97500);
    EXPECT_EQ(info["bars"], 1);

    // Re-slicing the loop file keeps what it carries and changes only what is asked.
    const std::string again = fFolder.PathOf("again.lx2");
    ASSERT_EQ(RunCli({"slice", Loop(), "-o", again, "--beats", "2"}).fExitCode, 0);
    auto changed = nlohmann::json::parse(RunCli({"info", again, "--json"}).fOut);
    EXPECT_EQ(changed["bars"], 1);
    EXPECT_EQ(changed["beats"], 2);
    EXPECT_EQ(changed["preview_tempo"], 97500);
    // 6 beats in 2 s: 180 BPM.
    EXPECT_EQ(changed["original_tempo"], 180000);
}

TEST_F(LoopFileSubcommandsTest, OutputsAreWrittenCompletelyOrNotAtAll) {
    const std::string kept = fFolder.Make("kept.lx2", "an older loop");
    auto refused = RunCli({"slice", Demo(), "-o", kept});
    EXPECT_EQ(refused.fExitCode, 1);
    EXPECT_EQ(ReadBytes(kept), "an older loop");
    ASSERT_EQ(RunCli({"slice", Demo(), "-o", kept, "--force"}).fExitCode, 0);
    EXPECT_EQ(ReadBytes(kept).substr(0, 4), "CAT ");

    const std::string keptWave = fFolder.Make("kept.wav", "an older sound");
    EXPECT_EQ(RunCli({"decode", kept, "-o", keptWave}).fExitCode, 1);
    EXPECT_EQ(ReadBytes(keptWave), "an older sound");
    EXPECT_EQ(RunCli({"--yes", "decode", kept, "-o", keptWave}).fExitCode, 0);

    struct SUsage {
        std::vector<std::string> fArguments;
        std::string fNotWritten;
    } usages[] = {
        {{"slice", Demo(), "-o", fFolder.PathOf("a.wav")}, "a.wav"},
        {{"slice", Demo(), "-o", fFolder.PathOf("b.lx2"), "--tempo", "100"}, "b.lx2"},
        {{"slice", Demo(), "-o", fFolder.PathOf("c.lx2"), "--left", "10", "--right", "5"}, "c.lx2"},
        {{"slice", Demo(), "-o", fFolder.PathOf("d.lx2"), "--sign", "4:4"}, "d.lx2"},
        {{"decode", Demo(), "-o", fFolder.PathOf("e.lx2")}, "e.lx2"},
    };
    for (const auto& usage : usages) {
        SCOPED_TRACE(usage.fNotWritten);
        EXPECT_EQ(RunCli(usage.fArguments).fExitCode, 2);
        EXPECT_FALSE(std::ifstream(fFolder.PathOf(usage.fNotWritten)).good());
    }

    // A damaged loop file is a bad-format failure; nothing is written.
    const std::string whole = ReadBytes(kept);
    const std::string damaged = fFolder.Make("damaged.lx2", whole.substr(0, whole.size() / 2));
    auto bad = RunCli({"decode", damaged, "-o", fFolder.PathOf("f.wav")});
    EXPECT_EQ(bad.fExitCode, 1);
    EXPECT_EQ(bad.fErr.rfind("quillet-cli: Bad Format:", 0), 0u) << bad.fErr;
    EXPECT_FALSE(std::ifstream(fFolder.PathOf("f.wav")).good());
}

// A loop longer than one decoding block is written while it is decoded: the sound comes back
// exact; a damaged stream is the file's bad format and the old file stays.
TEST_F(LoopFileSubcommandsTest, ALongLoopIsWrittenWhileItIsDecoded) {
    const std::string wave = fFolder.PathOf("long.wav");
    const auto sample = NSQuilletTest::MakeSample(16, 2, (1 << 20) + 5000);
    SaveSoundFile(wave, ESoundFileType::kWave, *sample, false, nullptr);
    const std::string loop = fFolder.PathOf("long.lx2");
    ASSERT_EQ(RunCli({"--yes", "slice", wave, "-o", loop}).fExitCode, 0);
    const std::string decoded = fFolder.PathOf("long-decoded.wav");
    const auto decode = RunCli({"--yes", "decode", loop, "-o", decoded});
    ASSERT_EQ(decode.fExitCode, 0) << decode.fErr;
    NSQuilletTest::ExpectSameAudio(*OpenSoundFile(decoded), *sample);

    // Zero words make a quotient run no 32-bit code has.
    std::string bytes = ReadBytes(loop);
    std::fill(bytes.begin() + std::string::difference_type(bytes.size() * 3 / 4), bytes.end(), '\0');
    const std::string damaged = fFolder.Make("damaged-long.lx2", bytes);
    const std::string kept = fFolder.Make("kept-long.wav", "an older sound");
    const auto bad = RunCli({"--yes", "decode", damaged, "-o", kept, "--force"});
    EXPECT_EQ(bad.fExitCode, 1);
    EXPECT_EQ(bad.fErr,
              "quillet-cli: Bad Format: The operation could not be completed because of the file has a bad format.\n");
    EXPECT_EQ(ReadBytes(kept), "an older sound");
}

}  // namespace
