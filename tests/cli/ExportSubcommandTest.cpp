#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "tests/cli/DemoLoopFile.h"
#include "tests/cli/RunCliProgram.h"
#include "tests/cli/RunCli.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/DemoLoop.h"

using namespace NSQuillet;
using NSQuillet::NSTools::SDemoLoop;
using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::RunCli;
using NSQuilletTest::RunProgram;

namespace {

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::unique_ptr<CABCWaveSample> ReadFile(const std::string& path) {
    return NSQuilletTest::ReadFromBytes(Contents(path));
}

// The first `frames` frames of a file as mono floats (channels summed).
std::vector<double> Mono(const CABCWaveSample& sample, int64_t frames) {
    std::vector<double> mono(size_t(std::min<int64_t>(frames, sample.GetFrameCount())), 0.0);
    for (size_t i = 0; i < mono.size(); ++i)
        for (int32_t c = 1; c <= sample.GetChannelCount(); ++c) mono[i] += sample.GetFloat(int32_t(i), c);
    return mono;
}

// The loudness of `signal` in windows of `window` frames.
std::vector<double> Envelope(const std::vector<double>& signal, size_t window) {
    std::vector<double> envelope;
    for (size_t start = 0; start + window <= signal.size(); start += window) {
        double energy = 0;
        for (size_t i = start; i < start + window; ++i) energy += signal[i] * signal[i];
        envelope.push_back(std::sqrt(energy / double(window)));
    }
    return envelope;
}

// Pearson correlation of two series at lag 0, over the shorter one.
double CorrelationAtLagZero(const std::vector<double>& a, const std::vector<double>& b) {
    const size_t n = std::min(a.size(), b.size());
    if (n == 0) return 0.0;
    double meanA = 0, meanB = 0;
    for (size_t i = 0; i < n; ++i) {
        meanA += a[i] / double(n);
        meanB += b[i] / double(n);
    }
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < n; ++i) {
        ab += (a[i] - meanA) * (b[i] - meanB);
        aa += (a[i] - meanA) * (a[i] - meanA);
        bb += (b[i] - meanB) * (b[i] - meanB);
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0.0;
}

// The synthesizer's output without the drum-kit notice it prints for every bank without one.
std::string SynthDiagnostics(const std::string& output) {
    std::string kept;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        if (line.find("No preset found on channel 9") == std::string::npos) kept += line + "\n";
    return kept;
}

class ExportSubcommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        NSQuilletTest::WriteDemoLoopWave(fFolder.PathOf("demo.wav"));
        ASSERT_EQ(RunCli({"slice", fFolder.PathOf("demo.wav"), "-o", Loop(), "--sensitivity", "50", "--bars", "2",
                          "--sign", "4/4", "--preview", "on"})
                      .fExitCode,
                  0);
        fInfo = nlohmann::json::parse(RunCli({"info", Loop(), "--json"}).fOut);
        fSlices = fInfo["slice_count"].get<int>();
        ASSERT_GT(fSlices, 3);
    }
    std::string Loop() const { return fFolder.PathOf("loop.lx2"); }

    CTemporaryFolder fFolder;
    nlohmann::json fInfo;
    int fSlices = 0;
};

TEST_F(ExportSubcommandTest, SliceFilesAndTheMIDIFileThatPlaysThem) {
    const std::string folder = fFolder.PathOf("slices");
    const auto run = RunCli({"export", Loop(), "--format", "wav", "-o", folder, "--midi", "--rate", "48000", "--bits", "24"});
    ASSERT_EQ(run.fExitCode, 0) << run.fErr;
    for (int i = 1; i <= fSlices; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "loop %03d.wav", i);
        const auto sample = ReadFile(folder + "/" + name);
        EXPECT_EQ(sample->GetSampleRate(), 48000u) << name;
        EXPECT_EQ(sample->GetBitDepth(), 24) << name;
        EXPECT_EQ(sample->GetChannelCount(), 2) << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), fSlices + 1);

    REQUIRE_PROGRAM(midicsv, "midicsv");
    const auto csv = RunProgram({midicsv, folder + "/loop.mid"});
    ASSERT_EQ(csv.fExitCode, 0) << csv.fOutput;
    int notes = 0;
    for (size_t at = 0; (at = csv.fOutput.find("Note_on_c, 0, ", at)) != std::string::npos; ++at) ++notes;
    // An on and a velocity-0 off per slice.
    EXPECT_EQ(notes, 2 * fSlices) << csv.fOutput;
    EXPECT_NE(csv.fOutput.find("Note_on_c, 0, 36, 127"), std::string::npos) << csv.fOutput;
}

TEST_F(ExportSubcommandTest, SoundFontPlaysTheMIDIFileLikeTheOneSampleExport) {
    REQUIRE_PROGRAM(fluidsynth, "fluidsynth");
    const auto bank = RunCli({"export", Loop(), "--format", "sf2", "-o", fFolder.PathOf("bank.sf2"), "--midi", "--rate", "44100"});
    ASSERT_EQ(bank.fExitCode, 0) << bank.fErr;
    const auto one = RunCli({"export", Loop(), "--format", "wav", "--one-sample", "-o", fFolder.PathOf("one.wav"),
                             "--rate", "44100", "--bits", "16"});
    ASSERT_EQ(one.fExitCode, 0) << one.fErr;

    const auto synth = RunProgram({fluidsynth, "-ni", "-R", "0", "-C", "0", "-F", fFolder.PathOf("synth.wav"), "-r",
                                   "44100", fFolder.PathOf("bank.sf2"), fFolder.PathOf("bank.mid")});
    ASSERT_EQ(synth.fExitCode, 0) << synth.fOutput;
    const std::string diagnostics = SynthDiagnostics(synth.fOutput);
    EXPECT_EQ(diagnostics.find("warning"), std::string::npos) << diagnostics;
    EXPECT_EQ(diagnostics.find("error"), std::string::npos) << diagnostics;

    // Over the first bar at the preview tempo. The synthesizer starts each note on one of its
    // 64-frame blocks, a block late, and the one-sample export places slices on multiples of
    // 64 frames: a drum hit may lie up to two blocks apart in the two, so the loudness in
    // windows of four blocks is compared, not single frames.
    const double tempo = fInfo["preview_tempo"].get<double>() / 1000.0;
    const int64_t bar = int64_t(4 * 60.0 / tempo * 44100);
    const double correlation =
        CorrelationAtLagZero(Envelope(Mono(*ReadFile(fFolder.PathOf("synth.wav")), bar), 256),
                             Envelope(Mono(*ReadFile(fFolder.PathOf("one.wav")), bar), 256));
    EXPECT_GE(correlation, 0.9);
}

TEST_F(ExportSubcommandTest, SamplerProgramWithItsSliceFilesBesideIt) {
    const auto run = RunCli({"export", Loop(), "--format", "akp", "-o", fFolder.PathOf("kit.akp")});
    ASSERT_EQ(run.fExitCode, 0) << run.fErr;
    const std::string program = Contents(fFolder.PathOf("kit.akp"));
    ASSERT_GE(program.size(), 12u);
    EXPECT_EQ(program.substr(0, 4), "RIFF");
    EXPECT_EQ(program.substr(8, 4), "APRG");
    EXPECT_NE(program.find("kit 001"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(fFolder.PathOf("kit 001.wav")));
    // The loop keeps its own rate and depth where the format offers them.
    EXPECT_EQ(ReadFile(fFolder.PathOf("kit 001.wav"))->GetSampleRate(), 44100u);
}

TEST_F(ExportSubcommandTest, RefusalsAndQuestions) {
    struct SCase {
        const char* fWhat;
        std::vector<std::string> fArguments;
        int fExitCode;
        const char* fText;
    };
    const SCase cases[] = {
        {"unknown format", {"export", Loop(), "--format", "mp3", "-o", fFolder.PathOf("x")}, 2, "wav, aiff, mid, sf2 or akp"},
        {"rate the program lacks", {"export", Loop(), "--format", "akp", "-o", fFolder.PathOf("x.akp"), "--rate", "96000"}, 2,
         "--rate takes one of 11025, 22050, 32000, 44100, 48000"},
        {"depth the bank lacks", {"export", Loop(), "--format", "sf2", "-o", fFolder.PathOf("x.sf2"), "--bits", "24"}, 2,
         "--bits takes one of 16"},
        {"settings for MIDI", {"export", Loop(), "--format", "mid", "-o", fFolder.PathOf("x.mid"), "--rate", "44100"}, 2,
         "do not apply to the MIDI file"},
        {"no loop length", {"export", fFolder.PathOf("demo.wav"), "--format", "wav", "-o", fFolder.PathOf("x")}, 3,
         "Loop Length cannot be set to 0 Bars."},
        {"too many slices declined", {"export", Loop(), "--format", "mid", "-o", fFolder.PathOf("x.mid"), "--base-note", "126"}, 3,
         "but a file of this type can only use 2"},
    };
    for (const SCase& c : cases) {
        const auto run = RunCli(c.fArguments);
        EXPECT_EQ(run.fExitCode, c.fExitCode) << c.fWhat << ": " << run.fErr;
        EXPECT_NE(run.fErr.find(c.fText), std::string::npos) << c.fWhat << ": " << run.fErr;
    }
    EXPECT_FALSE(std::filesystem::exists(fFolder.PathOf("x.mid")));

    // --yes takes the first slices the format can use.
    ASSERT_EQ(RunCli({"--yes", "export", Loop(), "--format", "mid", "-o", fFolder.PathOf("two.mid"), "--base-note", "126"})
                  .fExitCode,
              0);
    EXPECT_TRUE(std::filesystem::exists(fFolder.PathOf("two.mid")));
}

TEST_F(ExportSubcommandTest, ExistingFilesAreReplacedOnlyWhenAllowed) {
    const std::string folder = fFolder.PathOf("out");
    std::filesystem::create_directory(folder);
    fFolder.Make("out/loop 002.wav", "old");
    const auto refused = RunCli({"export", Loop(), "--format", "wav", "-o", folder});
    EXPECT_EQ(refused.fExitCode, 3) << refused.fErr;
    EXPECT_NE(refused.fErr.find("There is already a file by the name “loop 002.wav”."), std::string::npos) << refused.fErr;
    EXPECT_EQ(Contents(folder + "/loop 002.wav"), "old");
    // The slice before it was written and stays.
    EXPECT_TRUE(std::filesystem::exists(folder + "/loop 001.wav"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/loop 003.wav"));

    ASSERT_EQ(RunCli({"export", Loop(), "--format", "wav", "-o", folder, "--force"}).fExitCode, 0);
    EXPECT_NE(Contents(folder + "/loop 002.wav"), "old");
    EXPECT_TRUE(std::filesystem::exists(folder + "/loop 003.wav"));
}

// A two-minute loop (the demo loop 30 times) sliced into some 500 slices, and its slice files
// as a whole export writes them, for exports that a full disk or Ctrl-C interrupts.
class InterruptedExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto demo = SDemoLoop::Render();
        const int32_t frames = demo->GetFrameCount();
        C16BitWaveSample sample(SDemoLoop::kSampleRate, frames * 30, demo->IsStereo());
        std::vector<int16_t> values(static_cast<size_t>(frames));
        for (int32_t c = 1; c <= demo->GetChannelCount(); ++c) {
            demo->Get16s(0, frames, values.data(), c);
            for (int32_t r = 0; r < 30; ++r) sample.Set16s(r * frames, frames, values.data(), c);
        }
        auto file = NSDiskKitSupport::CreateMediaForWriting(fFolder.PathOf("long.wav"), 0);
        WriteSoundFile(sample, *file, ESoundFileType::kWave);
        file->Close();
        ASSERT_EQ(RunCli({"slice", fFolder.PathOf("long.wav"), "-o", Loop(), "--sensitivity", "50", "--bars", "60", "--sign", "4/4"})
                      .fExitCode,
                  0);
        const auto whole = RunCli({"--yes", "export", Loop(), "--format", "wav", "-o", Reference(), "--quiet"});
        ASSERT_EQ(whole.fExitCode, 0) << whole.fErr;
        const size_t count = size_t(std::distance(std::filesystem::directory_iterator(Reference()), {}));
        for (size_t i = 1; i <= count; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "loop %03zu.wav", i);
            fNames.push_back(name);
        }
        ASSERT_GT(fNames.size(), 100u);
        std::filesystem::create_directory(Out());
        for (const std::string& name : fNames) fFolder.Make("out/" + name, "old");
    }
    std::string Loop() const { return fFolder.PathOf("loop.lx2"); }
    std::string Reference() const { return fFolder.PathOf("reference"); }
    std::string Out() const { return fFolder.PathOf("out"); }
    NSQuilletTest::SProgramRun Export(const std::function<bool()>& interruptWhen, rlim_t fileSizeLimit = 0) const {
        return NSQuilletTest::RunCliProgram({"--yes", "export", Loop(), "--format", "wav", "-o", Out(), "--quiet"},
                                            {{"XDG_CONFIG_HOME", fFolder.PathOf("config")}}, interruptWhen, fileSizeLimit);
    }
    // Each name holds its whole new file up to `renewed`, its old one from there on, and the
    // folder nothing else.
    void ExpectRenewedUpTo(size_t renewed) const {
        for (size_t i = 0; i < fNames.size(); ++i) {
            const std::string contents = Contents(Out() + "/" + fNames[i]);
            if (i < renewed) EXPECT_TRUE(contents == Contents(Reference() + "/" + fNames[i])) << fNames[i];
            else EXPECT_EQ(contents, "old") << fNames[i];
        }
        EXPECT_EQ(size_t(std::distance(std::filesystem::directory_iterator(Out()), {})), fNames.size())
            << "no temporary file left";
    }

    CTemporaryFolder fFolder;
    std::vector<std::string> fNames;
};

TEST_F(InterruptedExportTest, CtrlCLeavesEachNameItsOldFileOrItsWholeNewOne) {
    // Ctrl-C as soon as the first file is being written.
    const auto run = Export([&] {
        for (const auto& entry : std::filesystem::directory_iterator(Out()))
            if (entry.path().filename().string().rfind(".quillet-", 0) == 0) return true;
        return false;
    });
    EXPECT_EQ(run.fExitCode, 3) << run.fErr;
    EXPECT_EQ(run.fErr, "quillet-cli: Stopped: user pressed stop\n");
    size_t renewed = 0;
    while (renewed < fNames.size() && Contents(Out() + "/" + fNames[renewed]) != "old") ++renewed;
    EXPECT_LT(renewed, fNames.size()) << "stopped before the end";
    ExpectRenewedUpTo(renewed);
}

TEST_F(InterruptedExportTest, AFullDiskKeepsTheOldFilesAndShowsTheDiskFullAlert) {
    // Files may grow to the first slice file's size: the first that is larger fails like a
    // write to a full disk.
    const uintmax_t limit = std::filesystem::file_size(Reference() + "/" + fNames[0]);
    size_t failing = 1;
    while (failing < fNames.size() && std::filesystem::file_size(Reference() + "/" + fNames[failing]) <= limit) ++failing;
    ASSERT_LT(failing, fNames.size()) << "every slice file is as small as the first";
    const auto run = Export(nullptr, rlim_t(limit));
    EXPECT_EQ(run.fExitCode, 1) << run.fErr;
    EXPECT_NE(run.fErr.find("there is not enough space available on the disk"), std::string::npos) << run.fErr;
    ExpectRenewedUpTo(failing);
}

// The tempo meta of a MIDI file: the three bytes after FF 51 03, or -1 without one.
int64_t MIDITempoMeta(const std::string& bytes) {
    const size_t at = bytes.find("\xFF\x51\x03");
    if (at == std::string::npos || at + 6 > bytes.size()) return -1;
    return int64_t(uint8_t(bytes[at + 3])) << 16 | int64_t(uint8_t(bytes[at + 4])) << 8 | uint8_t(bytes[at + 5]);
}

TEST(ExportSubcommandTempo, ALoopGivenItsLengthWithPreviewOffIsExportedAtItsOwnTempo) {
    CTemporaryFolder folder;
    NSQuilletTest::WriteDemoLoopWave(folder.PathOf("loop.wav"));
    const std::string loop = folder.PathOf("loop.lx2");
    const auto sliced = RunCli({"slice", folder.PathOf("loop.wav"), "-o", loop, "--sensitivity", "50", "--bars", "2"});
    ASSERT_EQ(sliced.fExitCode, 0) << sliced.fErr;
    // 2 bars of 4/4 over the demo loop's 176400 frames at 44100 Hz: 8 beats in 4 s, 120 BPM.
    const auto info = nlohmann::json::parse(RunCli({"info", loop, "--json"}).fOut);
    EXPECT_EQ(info["original_tempo"], 120000);
    EXPECT_EQ(info["preview_tempo"], 120000);

    const auto midi = RunCli({"export", loop, "--format", "mid", "-o", folder.PathOf("loop.mid")});
    ASSERT_EQ(midi.fExitCode, 0) << midi.fErr;
    // 60,000,000,000 / 120000 = 500000 µs a quarter; 130 BPM would give 461538.
    EXPECT_EQ(MIDITempoMeta(Contents(folder.PathOf("loop.mid"))), 500000);

    // The audio is played at the same tempo: at its own tempo the cropped loop keeps its 176400
    // frames (130 BPM would give 176400 × 120/130 + 0.5 → 162831).
    const auto one = RunCli({"export", loop, "--format", "wav", "--one-sample", "--crop", "-o", folder.PathOf("one.wav"),
                             "--rate", "44100", "--bits", "16"});
    ASSERT_EQ(one.fExitCode, 0) << one.fErr;
    EXPECT_EQ(ReadFile(folder.PathOf("one.wav"))->GetFrameCount(), SDemoLoop::kFrameCount);
}

}  // namespace
