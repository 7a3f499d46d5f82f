#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/BatchLoops.h"
#include "tests/cli/RunCli.h"
#include "tests/cli/RunCliProgram.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuilletTest;
namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> With(std::vector<std::string> arguments, const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

std::set<std::string> FilesUnder(const std::string& folder) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) files.insert(entry.path().lexically_relative(folder).string());
    }
    return files;
}

std::string Stem(const std::string& path) { return fs::path(path).stem().string(); }

class BatchSubcommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sFolder = new CTemporaryFolder;
        sLoops = new SBatchLoops(*sFolder);
    }
    static void TearDownTestSuite() {
        delete sLoops;
        delete sFolder;
    }
    static const std::vector<std::string>& Loops() { return sLoops->fPaths; }
    static const std::string& Broken() { return Loops()[SBatchLoops::kBroken]; }
    static const std::string& NamedTempo() { return Loops()[SBatchLoops::kNamedTempo]; }

    static CTemporaryFolder* sFolder;
    static SBatchLoops* sLoops;
    CTemporaryFolder fOut;
};

CTemporaryFolder* BatchSubcommandsTest::sFolder = nullptr;
SBatchLoops* BatchSubcommandsTest::sLoops = nullptr;

TEST_F(BatchSubcommandsTest, SliceWritesEveryLoopAsOneFileCallsDoAndReportsTheBrokenOne) {
    const std::string out = fOut.PathOf("out");
    const SCliRun run = RunCli(With({"slice"}, With(Loops(), {"-o", out, "-j", "2", "--tempo-from-name", "--quiet"})));
    EXPECT_EQ(run.fExitCode, 1) << run.fErr;
    EXPECT_EQ(run.fOut, "");

    std::set<std::string> expected;
    for (const std::string& loop : Loops()) {
        if (loop != Broken()) expected.insert(Stem(loop) + ".lx2");
    }
    ASSERT_EQ(FilesUnder(out), expected);

    // The broken file's alert names it; every file without a tempo in its name is reported.
    const std::vector<std::string> lines = Lines(run.fErr);
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "quillet-cli: " + Broken() +
                            ": Bad Format: The operation could not be completed because of the file has a bad format."),
              lines.end())
        << run.fErr;
    size_t notes = 0;
    for (const std::string& line : lines) notes += line.find(": Note: no tempo in the file name") != std::string::npos;
    EXPECT_EQ(notes, 19u) << run.fErr;  // 20 files, one of them with a tempo in its name

    // Each loop file is the one a call for that file alone writes, byte for byte.
    for (const std::string& loop : Loops()) {
        if (loop == Broken()) continue;
        SCOPED_TRACE(loop);
        const std::string alone = fOut.PathOf(Stem(loop) + ".lx2");
        ASSERT_EQ(RunCli({"slice", loop, "-o", alone, "--tempo-from-name"}).fExitCode, 0);
        EXPECT_EQ(ReadWholeFile(out + "/" + Stem(loop) + ".lx2"), ReadWholeFile(alone));
    }

    // info over the loop files: one JSON object a line, in the order given, each with its path.
    std::vector<std::string> written;
    for (const std::string& name : expected) written.push_back(out + "/" + name);
    const SCliRun info = RunCli(With({"info", "--json", "-j", "2"}, written));
    ASSERT_EQ(info.fExitCode, 0) << info.fErr;
    const std::vector<std::string> objects = Lines(info.fOut);
    ASSERT_EQ(objects.size(), 19u);
    for (size_t i = 0; i < objects.size(); ++i) {
        const auto json = nlohmann::json::parse(objects[i]);
        EXPECT_EQ(json["path"], written[i]);
        EXPECT_EQ(json["file_type"], "lux2");
        const bool named = written[i] == out + "/" + Stem(NamedTempo()) + ".lx2";
        // 120 BPM over 88200 frames at 44100 Hz: 120 × 2 / 60 = 4 beats, one bar of 4/4.
        EXPECT_EQ(json["bars"], named ? 1 : 0) << written[i];
        EXPECT_EQ(json["beats"], 0) << written[i];
        if (named) {
            EXPECT_EQ(json["preview_tempo"], 120000);
        }
    }
    EXPECT_EQ(info.fErr, "quillet-cli: 19 done, 0 failed, 0 skipped\n");
}

TEST_F(BatchSubcommandsTest, JsonLinesFollowTheInputsAndFailuresPrintNoLine) {
    const SCliRun run = RunCli(With({"slices", "--json", "-j", "3", "--quiet"}, Loops()));
    EXPECT_EQ(run.fExitCode, 1);
    const std::vector<std::string> objects = Lines(run.fOut);
    ASSERT_EQ(objects.size(), 19u);
    size_t line = 0;
    for (const std::string& loop : Loops()) {
        if (loop == Broken()) continue;
        const auto json = nlohmann::json::parse(objects[line++]);
        EXPECT_EQ(json["path"], loop);
        EXPECT_EQ(json["frame_count"], SBatchLoops::kFrames);
        // The rest of the object is what the one-file call prints.
        auto alone = nlohmann::json::parse(RunCli({"slices", "--json", loop}).fOut);
        alone["path"] = loop;
        EXPECT_EQ(json, alone);
    }

    // A name that is not UTF-8 still gets its line, the stray byte as U+FFFD.
    CTemporaryFolder folder;
    const std::string latin1 = folder.PathOf("caf\xe9.wav");
    fs::copy_file(Loops()[0], latin1);
    const SCliRun odd = RunCli({"info", "--json", latin1, Loops()[1]});
    ASSERT_EQ(odd.fExitCode, 0) << odd.fErr;
    const std::vector<std::string> two = Lines(odd.fOut);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(nlohmann::json::parse(two[0])["path"], folder.PathOf("caf\xef\xbf\xbd.wav"));
}

TEST_F(BatchSubcommandsTest, KnownTempoGivesTheLoopsLength) {
    struct SCase {
        std::vector<std::string> fOptions;
        int fBars, fBeats, fPreviewTempo;
    } cases[] = {
        // 90 BPM over 2 s: 90 × 2 / 60 = 3 beats.
        {{"--known-tempo", "90"}, 0, 3, 90000},
        // 200 BPM: 200 × 2 / 60 = 6.67 beats: one bar, 2.67 beats rounded up to 3.
        {{"--known-tempo", "200"}, 1, 3, 200000},
        // 97 BPM: 3.23 beats: the fraction below 0.25 is dropped.
        {{"--known-tempo", "97"}, 0, 3, 97000},
        // The name's tempo wins over --known-tempo: 120 BPM, 4 beats.
        {{"--known-tempo", "90", "--tempo-from-name"}, 1, 0, 120000},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.fOptions.front() + " " + row.fOptions[1]);
        const std::string out = fOut.PathOf("known.lx2");
        const SCliRun run = RunCli(With({"slice", NamedTempo(), "-o", out, "--force"}, row.fOptions));
        ASSERT_EQ(run.fExitCode, 0) << run.fErr;
        EXPECT_EQ(run.fErr, "");
        const auto json = nlohmann::json::parse(RunCli({"info", "--json", out}).fOut);
        EXPECT_EQ(json["bars"], row.fBars);
        EXPECT_EQ(json["beats"], row.fBeats);
        EXPECT_EQ(json["preview_tempo"], row.fPreviewTempo);
    }
    // A name without a tempo falls back on --known-tempo without a note.
    const SCliRun fallback = RunCli({"slice", Loops()[0], "-o", fOut.PathOf("fallback.lx2"), "--tempo-from-name",
                                     "--known-tempo", "90"});
    ASSERT_EQ(fallback.fExitCode, 0) << fallback.fErr;
    EXPECT_EQ(fallback.fErr, "");
    EXPECT_EQ(nlohmann::json::parse(RunCli({"info", "--json", fOut.PathOf("fallback.lx2")}).fOut)["beats"], 3);
}

TEST_F(BatchSubcommandsTest, FoldersOutputNamesAndWrongCommandLines) {
    CTemporaryFolder folder;
    SBatchLoops nested(folder, "kit/sub", 2);
    SBatchLoops top(folder, "kit", 1);
    folder.Make("kit/notes.txt", "not a sound");

    // The folder's sound files and those of its subfolders, sorted by path; the output
    // folder repeats the subfolders.
    const std::string out = fOut.PathOf("tree");
    const SCliRun run = RunCli({"process", folder.PathOf("kit"), "--recursive", "-o", out, "--remove-dc", "--quiet"});
    ASSERT_EQ(run.fExitCode, 0) << run.fErr;
    EXPECT_EQ(FilesUnder(out), (std::set<std::string>{"loop00.wav", "sub/loop00.wav", "sub/loop01.wav"}));
    const SCliRun listed = RunCli({"info", "--json", folder.PathOf("kit"), "--recursive"});
    const std::vector<std::string> lines = Lines(listed.fOut);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(nlohmann::json::parse(lines[0])["path"], folder.PathOf("kit/loop00.wav"));
    EXPECT_EQ(nlohmann::json::parse(lines[1])["path"], folder.PathOf("kit/sub/loop00.wav"));

    // Export: slice files into a folder named after each input, other formats one file each.
    const std::string exported = fOut.PathOf("exported");
    const std::vector<std::string> two = {Loops()[0], NamedTempo()};
    const SCliRun slices = RunCli(With({"export", "--format", "wav", "-o", exported, "--bars", "1", "--quiet"}, two));
    ASSERT_EQ(slices.fExitCode, 0) << slices.fErr;
    EXPECT_TRUE(fs::is_directory(exported + "/loop00"));
    EXPECT_TRUE(fs::is_directory(exported + "/" + Stem(NamedTempo())));
    EXPECT_FALSE(fs::is_empty(exported + "/loop00"));

    struct SCase {
        const char* fWhy;
        std::vector<std::string> fArguments;
    } usage[] = {
        {"a folder without --recursive", {"info", folder.PathOf("kit")}},
        {"-o names a file", {"slice", Loops()[0], Loops()[1], "-o", folder.Make("file.lx2", "x")}},
        {"two inputs of one name", {"slice", folder.PathOf("kit/loop00.wav"), folder.PathOf("kit/sub/loop00.wav"), "-o",
                                    fOut.PathOf("same")}},
        {"-j 0", {"info", Loops()[0], Loops()[1], "-j", "0"}},
        {"a known tempo out of range", {"slice", Loops()[0], "-o", fOut.PathOf("x.lx2"), "--known-tempo", "10"}},
    };
    for (const auto& row : usage) {
        const SCliRun refused = RunCli(row.fArguments);
        EXPECT_EQ(refused.fExitCode, 2) << row.fWhy << ": " << refused.fErr;
    }
    EXPECT_FALSE(fs::exists(fOut.PathOf("same/loop00.lx2")));
}

TEST_F(BatchSubcommandsTest, AQuestionFailsItsFileAndYesAnswersIt) {
    // The MIDI export needs a loop length: the file with a tempo in its name has one, the other
    // asks, which fails that file alone.
    const std::string out = fOut.PathOf("midi");
    const std::vector<std::string> two = {Loops()[0], NamedTempo()};
    const SCliRun run = RunCli(With({"export", "--format", "mid", "-o", out, "--tempo-from-name", "--quiet"}, two));
    EXPECT_EQ(run.fExitCode, 1) << run.fErr;
    EXPECT_EQ(FilesUnder(out), (std::set<std::string>{Stem(NamedTempo()) + ".mid"}));
    EXPECT_NE(run.fErr.find("quillet-cli: " + Loops()[0] + ": Question: "), std::string::npos) << run.fErr;

    // An existing output fails its file without --force; --yes replaces it.
    const SCliRun again = RunCli(With({"export", "--format", "mid", "-o", out, "--known-tempo", "120"}, two));
    EXPECT_EQ(again.fExitCode, 1);
    EXPECT_NE(again.fErr.find("quillet-cli: 1 done, 1 failed, 0 skipped\n"), std::string::npos) << again.fErr;
    const SCliRun yes = RunCli(With({"--yes", "export", "--format", "mid", "-o", out, "--known-tempo", "120"}, two));
    EXPECT_EQ(yes.fExitCode, 0) << yes.fErr;
    EXPECT_EQ(yes.fErr, "quillet-cli: 2 done, 0 failed, 0 skipped\n");
}

// Ctrl-C while workers write: the run ends with 3, and every file under its final name opens.
TEST(BatchInterruptTest, CtrlCStopsEveryWorkerAndLeavesNoHalfWrittenFile) {
    CTemporaryFolder folder;
    const SBatchLoops loops(folder, "loops", 60);
    const std::string out = folder.PathOf("out");
    const SProgramRun run = RunCliProgram(With({"slice"}, With(loops.fPaths, {"-o", out, "-j", "2"})), {}, [&] {
        std::error_code error;
        return fs::exists(out, error) && !fs::is_empty(out, error);
    });
    EXPECT_EQ(run.fExitCode, 3) << run.fErr;
    const std::vector<std::string> lines = Lines(run.fErr);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("quillet-cli: ", 0), 0u) << run.fErr;
    EXPECT_NE(lines.back().find(" skipped"), std::string::npos) << run.fErr;
    size_t finals = 0;
    for (const std::string& name : FilesUnder(out)) {
        if (fs::path(name).extension() != ".lx2") continue;
        ++finals;
        const SCliRun info = RunCli({"info", out + "/" + name});
        EXPECT_EQ(info.fExitCode, 0) << name << ": " << info.fErr;
    }
    EXPECT_LT(finals, loops.fPaths.size() - 1) << "the run stopped before the end";
}

}  // namespace
