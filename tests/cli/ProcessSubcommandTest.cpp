#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <string>
#include <vector>

#include "tests/cli/DemoLoopFile.h"
#include "tests/cli/RunCli.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/DemoLoop.h"

using namespace NSQuillet;
using NSQuillet::NSTools::SDemoLoop;
using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::RunCli;

namespace {

class ProcessSubcommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        NSQuilletTest::WriteDemoLoopWave(Demo());
    }
    std::string Demo() const { return fFolder.PathOf("demo.wav"); }
    nlohmann::json Info(const std::string& path) const {
        return nlohmann::json::parse(RunCli({"info", path, "--json"}).fOut);
    }
    CTemporaryFolder fFolder;
};

TEST_F(ProcessSubcommandTest, EachCommandChangesTheLoopAndWritesTheResult) {
    // One bar over the first 88200 frames, for the commands that need a loop.
    const std::string loop = fFolder.PathOf("loop.lx2");
    ASSERT_EQ(RunCli({"slice", Demo(), "-o", loop, "--sensitivity", "50", "--bars", "1", "--left", "0", "--right",
                      "88200"})
                  .fExitCode,
              0);
    struct SCase {
        const char* fName;
        std::vector<std::string> fCommand;
        std::string fInput;
        const char* fOutput;
        int64_t fFrames;
        int32_t fChannels, fBits;
        int64_t fFramesTolerance = 0;
    } cases[] = {
        {"mix", {"--mono", "mix"}, Demo(), "mix.wav", SDemoLoop::kFrameCount, 1, 16},
        {"right", {"--mono", "right"}, Demo(), "right.aif", SDemoLoop::kFrameCount, 1, 16},
        {"depth", {"--convert", "44100/24"}, Demo(), "deep.wav", SDemoLoop::kFrameCount, 2, 24},
        // 4 s at 48 kHz.
        {"rate", {"--convert", "48000"}, Demo(), "fast.wav", 192000, 2, 16, 1},
        {"crop", {"--crop"}, loop, "crop.wav", 88200, 2, 16},
        {"dc", {"--remove-dc"}, Demo(), "dc.lx2", SDemoLoop::kFrameCount, 2, 16},
        {"normalize", {"--normalize", "slices"}, Demo(), "each.lx2", SDemoLoop::kFrameCount, 2, 16},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.fName);
        const std::string output = fFolder.PathOf(row.fOutput);
        std::vector<std::string> arguments = {"process", row.fInput, "-o", output};
        arguments.insert(arguments.end(), row.fCommand.begin(), row.fCommand.end());
        auto run = RunCli(arguments);
        ASSERT_EQ(run.fExitCode, 0) << run.fErr;
        auto info = Info(output);
        EXPECT_NEAR(info["frame_count"].get<int64_t>(), row.fFrames, row.fFramesTolerance);
        EXPECT_EQ(info["channels"], row.fChannels);
        EXPECT_EQ(info["bit_depth"], row.fBits);
    }

    // Sixteenths over the one bar: the grid's 16 points join the slices found in it.
    const std::string gridded = fFolder.PathOf("grid.lx2");
    ASSERT_EQ(RunCli({"process", loop, "-o", gridded, "--add-16ths"}).fExitCode, 0);
    EXPECT_GT(Info(gridded)["slice_count"].get<int32_t>(), Info(loop)["slice_count"].get<int32_t>());
}

TEST_F(ProcessSubcommandTest, RefusalsWriteNothing) {
    const std::string mono = fFolder.PathOf("mono.wav");
    ASSERT_EQ(RunCli({"process", Demo(), "-o", mono, "--mono", "left"}).fExitCode, 0);
    struct SCase {
        std::vector<std::string> fArguments;
        int fExitCode;
        std::string fErr;
    } cases[] = {
        {{"process", mono, "-o", fFolder.PathOf("a.wav"), "--mono", "mix"},
         1,
         "quillet-cli: Convert to Mono: the loop is already mono\n"},
        {{"process", Demo(), "-o", fFolder.PathOf("b.wav"), "--crop"},
         1,
         "quillet-cli: Crop Loop: the locators must enclose part of the sample, not all of it\n"},
        {{"process", Demo(), "-o", fFolder.PathOf("c.wav"), "--add-16ths"},
         1,
         "quillet-cli: Add Slices at 1/16ths: the loop needs a length: give it bars or beats first\n"},
        {{"process", Demo(), "-o", fFolder.PathOf("d.wav")}, 2, ""},
        {{"process", Demo(), "-o", fFolder.PathOf("e.wav"), "--crop", "--remove-dc"}, 2, ""},
        {{"process", Demo(), "-o", fFolder.PathOf("f.wav"), "--convert", "44100/20"}, 2, ""},
        {{"process", Demo(), "-o", fFolder.PathOf("g.wav"), "--convert", "8000"}, 2, ""},
        {{"process", Demo(), "-o", fFolder.PathOf("h.mp3"), "--remove-dc"}, 2, ""},
        {{"process", Demo(), "-o", fFolder.PathOf("i.wav"), "--normalize", "loud"}, 2, ""},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.fArguments.back());
        auto run = RunCli(row.fArguments);
        EXPECT_EQ(run.fExitCode, row.fExitCode) << run.fErr;
        if (!row.fErr.empty()) {
            EXPECT_EQ(run.fErr, row.fErr);
        }
        EXPECT_FALSE(std::ifstream(row.fArguments[3]).good());
    }
}

}  // namespace
