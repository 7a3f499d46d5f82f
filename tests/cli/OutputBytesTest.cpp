#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/DemoLoopFile.h"
#include "tests/cli/RunCli.h"
#include "tests/support/TemporaryFolder.h"

using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::RunCli;

namespace {

// 64-bit FNV-1a: a change of any byte of the output changes the value.
uint64_t Fnv1a(const std::string& bytes, uint64_t hash = 14695981039346656037ull) {
    for (const unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

// A file's bytes, or every file of a folder by name order with its name, as one hash in hex.
std::string HashOf(const std::string& path) {
    std::vector<std::string> files;
    if (std::filesystem::is_directory(path)) {
        for (const auto& entry : std::filesystem::directory_iterator(path)) files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
    } else {
        files.push_back(path);
    }
    uint64_t hash = 14695981039346656037ull;
    for (const std::string& file : files) {
        hash = Fnv1a(std::filesystem::path(file).filename().string(), hash);
        hash = Fnv1a(NSQuilletTest::ReadWholeFile(file), hash);
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, hash);
    return text;
}

}  // namespace

// The demo loop through every command that writes audio: the loop file, its decoding, the
// exports and the processed file. Speed work on reading, coding, rendering and writing must
// leave each output byte for byte as it was; these values were taken before that work.
TEST(OutputBytes, TheDemoLoopsOutputsAreByteForByteUnchanged) {
    CTemporaryFolder folder;
    const std::string wave = folder.PathOf("demo.wav"), loop = folder.PathOf("demo.lx2");
    NSQuilletTest::WriteDemoLoopWave(wave);
    ASSERT_EQ(RunCli({"slice", wave, "-o", loop, "--sensitivity", "50", "--bars", "2"}).fExitCode, 0);

    struct SCase {
        std::vector<std::string> fArguments;
        std::string fOutput, fHash;
    };
    const std::vector<SCase> cases = {
        {{}, "demo.lx2", "b4be7a3b088a36a1"},
        {{"decode", loop, "-o", folder.PathOf("decoded.wav")}, "decoded.wav", "da431c18e0ebabd3"},
        {{"decode", loop, "-o", folder.PathOf("decoded.aif")}, "decoded.aif", "f2d84a1fcbe322ee"},
        {{"export", loop, "--format", "wav", "-o", folder.PathOf("wav")}, "wav", "3a68a460090de5eb"},
        {{"export", loop, "--format", "aiff", "-o", folder.PathOf("aiff"), "--rate", "48000", "--bits", "24"},
         "aiff", "e0f8a158f782128a"},
        {{"export", loop, "--format", "wav", "--one-sample", "-o", folder.PathOf("one.wav")}, "one.wav",
         "da465ce8bc8c0512"},
        {{"export", loop, "--format", "sf2", "-o", folder.PathOf("bank.sf2")}, "bank.sf2", "5fc8cbd4ad9baf82"},
        {{"export", loop, "--format", "akp", "-o", folder.PathOf("akp/kit.akp")}, "akp", "d57f441e9c28cb96"},
        {{"export", loop, "--format", "mid", "-o", folder.PathOf("loop.mid")}, "loop.mid", "506f173102291834"},
        {{"process", wave, "-o", folder.PathOf("dc.wav"), "--remove-dc"}, "dc.wav", "511696574ecf9ada"},
        {{"process", loop, "-o", folder.PathOf("dc.lx2"), "--remove-dc"}, "dc.lx2", "3ac756b103355491"},
    };
    std::filesystem::create_directories(folder.PathOf("akp"));
    for (const SCase& c : cases) {
        if (!c.fArguments.empty()) {
            const auto run = RunCli(c.fArguments);
            ASSERT_EQ(run.fExitCode, 0) << c.fOutput << ": " << run.fErr;
        }
        EXPECT_EQ(HashOf(folder.PathOf(c.fOutput)), c.fHash) << c.fOutput;
    }
}
