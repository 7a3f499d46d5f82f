#include <gtest/gtest.h>

#include <optional>

#include "cli/TempoInFileName.h"

using NSQuillet::NSCli::FindTempoInFileName;

TEST(TempoInFileName, FindsTheTempoWithOrWithoutASeparator) {
    struct SCase {
        const char* fPath;
        std::optional<int32_t> fTempo;
    } cases[] = {
        {"funk_120bpm.wav", 120000},
        {"Break 92 BPM.aif", 92000},
        {"loop-174.5bpm.wav", 174500},
        {"loops/dnb_170_BPM.wav", 170000},
        {"House-128-bpm.wav", 128000},
        {"amen.140.Bpm.wav", 140000},
        {"120BPM", 120000},
        // The first tempo in range counts.
        {"take 2 bpm 96bpm.wav", 96000},
        // Not tempos: no "bpm", a word that only starts with it, a number run into another,
        // two separators, out of 20..450.
        {"funk 120.wav", std::nullopt},
        {"120bpmx.wav", std::nullopt},
        {"v2.120bpm.wav", std::nullopt},
        {"funk 120  bpm.wav", std::nullopt},
        {"slow 12bpm.wav", std::nullopt},
        {"fast 451bpm.wav", std::nullopt},
        // A folder's tempo is not the file's.
        {"120bpm/kick.wav", std::nullopt},
    };
    for (const auto& row : cases) EXPECT_EQ(FindTempoInFileName(row.fPath), row.fTempo) << row.fPath;
}
