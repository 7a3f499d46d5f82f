#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "app/opening/SoundFileOpening.h"
#include "app/resources/NoteCounters.h"
#include "engine/WaveSample.h"
#include "tests/cli/RunCli.h"
#include "tests/formats/legacy/LegacyLoopFileBuilder.h"
#include "tests/support/TemporaryFolder.h"

using namespace NSQuillet;
using namespace NSQuilletTest::NSLegacyLoopFile;
using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::RunCli;

namespace {

// 88200 frames: 2 s at 44100 Hz.
constexpr uint32_t kFrames = 88200;

class LegacyLoopFileSubcommandsTest : public ::testing::Test {
protected:
    LegacyLoopFileSubcommandsTest() { SetNoteCounters(&fNotes); }
    ~LegacyLoopFileSubcommandsTest() override { SetNoteCounters(nullptr); }

    void SetUp() override {
        // One bar in two slices, the first in two pieces; a stored tempo of 100 BPM.
        SLUXBlock lux;
        lux.fLoopTicks = 3840;
        lux.fTempo = 100000;
        lux.fEntries = {{0, 40000, 1}, {40000, 48200, 1}, {88200, 88200, 2}};
        Save("drums.lux", LoopFile(kFrames, LUXBlockBody(lux)));

        SQLTBlock qlt;
        qlt.fBars = 1;
        qlt.fLoopStart = 0;
        qlt.fLoopEnd = kFrames;
        qlt.fSensitivity = 50;
        qlt.fSlices = {{0, 30000, 0}, {22050, 100, 2}, {44100, 30000, 1 | 4}};
        Save("drums.qlt", LoopFile(kFrames, QLTBlockBody(qlt)));
    }

    void Save(const std::string& name, const TBytes& bytes) { fFolder.Make(name, std::string(bytes.begin(), bytes.end())); }
    std::string PathOf(const std::string& name) const { return fFolder.PathOf(name); }

    CTemporaryFolder fFolder;
    CNoteCounters fNotes;
};

TEST_F(LegacyLoopFileSubcommandsTest, InfoDescribesBothKinds) {
    auto lux = nlohmann::json::parse(RunCli({"info", PathOf("drums.lux"), "--json"}).fOut);
    EXPECT_EQ(lux["file_type"], "lux");
    EXPECT_EQ(lux["channels"], 1);
    EXPECT_EQ(lux["bit_depth"], 16);
    EXPECT_EQ(lux["sample_rate"], 44100);
    EXPECT_EQ(lux["frame_count"], kFrames);
    EXPECT_EQ(lux["bars"], 1);
    EXPECT_EQ(lux["beats"], 0);
    EXPECT_EQ(lux["signature"], "4/4");
    // 4 beats in 2 s.
    EXPECT_EQ(lux["original_tempo"], 120000);
    EXPECT_EQ(lux["preview_tempo"], 100000);
    EXPECT_EQ(lux["slice_count"], 2);
    EXPECT_EQ(lux["export_size"], 2 * kFrames);
    EXPECT_EQ(lux["compression_ratio"], 1.0);

    auto qlt = nlohmann::json::parse(RunCli({"info", PathOf("drums.qlt"), "--json"}).fOut);
    EXPECT_EQ(qlt["file_type"], "qlt");
    EXPECT_EQ(qlt["slice_count"], 3);
    // The tempo of the loop itself.
    EXPECT_EQ(qlt["preview_tempo"], 120000);

    const auto text = RunCli({"info", PathOf("drums.qlt")});
    EXPECT_EQ(text.fExitCode, 0) << text.fErr;
    EXPECT_EQ(text.fOut.rfind("type: QLT\n", 0), 0u) << text.fOut;
}

TEST_F(LegacyLoopFileSubcommandsTest, SlicesListsTheFileSlicesAndShowsTheLUXNote) {
    const auto luxRun = RunCli({"slices", PathOf("drums.lux"), "--json"});
    ASSERT_EQ(luxRun.fExitCode, 0) << luxRun.fErr;
    EXPECT_NE(luxRun.fErr.find("quillet-cli: LUX files may not sound as expected!: You may have to adjust"),
              std::string::npos)
        << luxRun.fErr;
    auto lux = nlohmann::json::parse(luxRun.fOut);
    ASSERT_EQ(lux["slices"].size(), 2u);
    EXPECT_EQ(lux["slices"][0]["position"], 0);
    EXPECT_EQ(lux["slices"][1]["position"], 44100);  // byte 88200 of the 16-bit sound
    EXPECT_EQ(lux["sensitivity"], 99);

    const auto qltRun = RunCli({"slices", PathOf("drums.qlt"), "--json"});
    ASSERT_EQ(qltRun.fExitCode, 0) << qltRun.fErr;
    EXPECT_EQ(qltRun.fErr, "");
    auto qlt = nlohmann::json::parse(qltRun.fOut);
    ASSERT_EQ(qlt["slices"].size(), 3u);
    EXPECT_EQ(qlt["sensitivity"], 50);
    EXPECT_EQ(qlt["slices"][1]["position"], 22050);
    EXPECT_EQ(qlt["slices"][1]["kind"], "locked");
    EXPECT_EQ(qlt["slices"][2]["kind"], "muted");
    EXPECT_EQ(qlt["slices"][2]["selected"], true);
    // The list is written by hand: its bytes are those of a compact dump, keys sorted.
    EXPECT_EQ(qltRun.fOut, qlt.dump() + "\n");
}

TEST_F(LegacyLoopFileSubcommandsTest, DecodeAndSliceCarryTheLoopOver) {
    const std::string decoded = PathOf("decoded.wav");
    const auto decode = RunCli({"decode", PathOf("drums.lux"), "-o", decoded});
    ASSERT_EQ(decode.fExitCode, 0) << decode.fErr;
    const auto sample = OpenSoundFile(decoded);
    ASSERT_EQ(sample->GetFrameCount(), int32_t(kFrames));
    EXPECT_EQ(sample->GetChannelCount(), 1);
    EXPECT_EQ(sample->GetBitDepth(), 16);
    std::vector<int16_t> values(kFrames);
    sample->Get16s(0, int32_t(kFrames), values.data(), 1);
    EXPECT_EQ(values, Ramp(kFrames));

    const std::string saved = PathOf("drums.lx2");
    const auto slice = RunCli({"slice", PathOf("drums.qlt"), "-o", saved});
    ASSERT_EQ(slice.fExitCode, 0) << slice.fErr;
    auto info = nlohmann::json::parse(RunCli({"info", saved, "--json"}).fOut);
    EXPECT_EQ(info["file_type"], "lux2");
    EXPECT_EQ(info["bars"], 1);
    EXPECT_EQ(info["preview_tempo"], 120000);
    auto fromQlt = nlohmann::json::parse(RunCli({"slices", PathOf("drums.qlt"), "--json"}).fOut);
    auto fromLux2 = nlohmann::json::parse(RunCli({"slices", saved, "--json"}).fOut);
    EXPECT_EQ(fromLux2, fromQlt);
}

TEST_F(LegacyLoopFileSubcommandsTest, DamagedLegacyFileIsABadFormatFailure) {
    SLUXBlock lux;
    lux.fEntries = {{0, 10, 1}};  // 10 bytes for a sound of 2 × 88200
    Save("short.lux", LoopFile(kFrames, LUXBlockBody(lux)));
    const auto run = RunCli({"--verbose", "info", PathOf("short.lux")});
    EXPECT_EQ(run.fExitCode, 1);
    EXPECT_EQ(run.fErr.rfind("quillet-cli: Bad Format:", 0), 0u) << run.fErr;
    EXPECT_NE(run.fErr.find(": wrong fExportedSize in file info]"), std::string::npos) << run.fErr;
}

}  // namespace
