#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "formats/media/OwnedMemoryMedia.h"
#include "formats/program/AKPProgramWriter.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/RiffBytes.h"

namespace NSQuillet {
namespace {

using namespace NSQuilletTest::NSRiffBytes;


// The chunk bodies as the program file's tables give them.
Bytes Zone(const std::string& name) {
    Bytes text(name.begin(), name.end());
    text.resize(32, 0);
    return Chunk("zone", Bytes{2, uint8_t(name.size())} + text + Bytes{0, 127, 0, 0, 0, 0, 6, 0, 0, 1} + U16(0));
}

Bytes Keygroup(uint8_t key, const std::string& name) {
    const Bytes body = Chunk("kloc", {2, 3, 1, 4, key, key, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0}) +
                       Chunk("env ", Bytes{1, 1, 0, 50, 15, 0, 0, 100} + Zeros(10)) +
                       Chunk("env ", Bytes{1, 0, 0, 50, 15, 0, 0, 100} + Zeros(10)) +
                       Chunk("env ", Bytes{1, 0, 50, 50, 15, 100, 100, 100} + Zeros(10)) +
                       Chunk("filt", {2, 0, 100, 0, 0, 0, 0, 0, 0, 5}) + Zone(name) + Zone("") + Zone("") + Zone("");
    return Chunk("kgrp", body);
}

Bytes Program(const std::vector<Bytes>& keygroups) {
    Bytes body = Id("APRG") + Chunk("prg ", Bytes{1, 0} + U16(uint16_t(keygroups.size())) + Bytes{2, 0}) +
                 Chunk("out ", {1, 85, 0, 0, 0, 0, 0, 25}) +
                 Chunk("tune", Bytes{1, 0, 0} + Zeros(12) + Bytes{2, 2, 0, 0, 0, 0, 0}) +
                 Chunk("lfo ", {2, 1, 43, 0, 0, 0, 1, 15, 0, 0, 0, 0, 0, 0}) +
                 Chunk("lfo ", {2, 1, 43, 0, 0, 0, 1, 15, 0, 0, 0, 0, 0, 0}) +
                 Chunk("mods", Bytes{1, 0} + U16(17) +
                                   Bytes{2, 6, 2, 3, 1, 8, 1, 6, 1, 1, 4, 6, 5, 6, 3, 6, 7, 0,
                                         8, 0, 6, 0, 0, 7, 0, 11, 2, 5, 9, 5, 9, 8, 9, 9});
    for (const Bytes& keygroup : keygroups) body = body + keygroup;
    return Chunk("RIFF", body);
}

Bytes Write(const std::vector<SAKPKeygroup>& keygroups) {
    COwnedMemoryMedia media;
    WriteAKPProgram(media, keygroups);
    return Bytes(media.GetBytes(), media.GetBytes() + media.GetSize());
}

uint32_t SizeAt(const Bytes& file, size_t at) {
    return uint32_t(file.at(at)) | (uint32_t(file.at(at + 1)) << 8) | (uint32_t(file.at(at + 2)) << 16) |
           (uint32_t(file.at(at + 3)) << 24);
}

// Walks the chunks of [begin, end) and the members of 'kgrp' chunks; every size must be even
// and the chunks must follow each other without pad bytes.
void ExpectEvenChunksWithoutPadding(const Bytes& file, size_t begin, size_t end, std::vector<std::string>& ids) {
    size_t at = begin;
    while (at < end) {
        ASSERT_LE(at + 8, end);
        const std::string id(file.begin() + long(at), file.begin() + long(at + 4));
        const uint32_t size = SizeAt(file, at + 4);
        EXPECT_EQ(size % 2, 0u) << id;
        ASSERT_LE(at + 8 + size, end) << id;
        ids.push_back(id);
        if (id == "kgrp") ExpectEvenChunksWithoutPadding(file, at + 8, at + 8 + size, ids);
        at += 8 + size;
    }
    EXPECT_EQ(at, end);
}

TEST(AKPProgram, ThreeSlicesMatchTheTables) {
    const Bytes file = Write({{36, "Beat 001"}, {37, "Beat 002"}, {38, "Beat 003"}});
    EXPECT_EQ(file, Program({Keygroup(36, "Beat 001"), Keygroup(37, "Beat 002"), Keygroup(38, "Beat 003")}));

    // 'prg ' follows RIFF, its size and APRG: its body sits at 20.
    ASSERT_GE(file.size(), 26u);
    EXPECT_EQ(Bytes(file.begin() + 20, file.begin() + 26), (Bytes{1, 0, 3, 0, 2, 0}));
    EXPECT_EQ(SizeAt(file, 4), file.size() - 8);

    std::vector<std::string> ids;
    ExpectEvenChunksWithoutPadding(file, 12, file.size(), ids);
    std::vector<std::string> expected = {"prg ", "out ", "tune", "lfo ", "lfo ", "mods"};
    for (int i = 0; i < 3; ++i)
        for (const char* id : {"kgrp", "kloc", "env ", "env ", "env ", "filt", "zone", "zone", "zone", "zone"})
            expected.push_back(id);
    EXPECT_EQ(ids, expected);
}

TEST(AKPProgram, KeysStayInTheKeyboardRange) {
    EXPECT_EQ(Write({{0, "a"}, {127, "b"}, {200, "c"}, {-1, "d"}}),
              Program({Keygroup(0, "a"), Keygroup(127, "b"), Keygroup(127, "c"), Keygroup(0, "d")}));
    EXPECT_EQ(Write({}), Program({}));
}

TEST(AKPProgram, ZoneNameFitsItsField) {
    const std::string thirtyOne = "abcdefghijklmnopqrstuvwxyz01234";
    const std::pair<std::string, std::string> rows[] = {
        {"Beat 001", "Beat 001"},
        {thirtyOne, thirtyOne},
        {thirtyOne + "56789", thirtyOne},               // cut to 31 bytes, the 32nd stays zero
        {"Gr\xC3\xBC\xC3\x9F" "e 001", "Gr____e 001"},  // each byte beyond ASCII
        {"tab\there\x7F", "tab_here_"},                 // control characters too
        {"", ""},
    };
    for (const auto& [name, expected] : rows)
        EXPECT_EQ(Write({{36, name}}), Program({Keygroup(36, expected)})) << name;
}

TEST(AKPProgram, KeygroupCountMustFitSixteenBits) {
    const std::vector<SAKPKeygroup> keygroups(65536, SAKPKeygroup{36, "x"});
    COwnedMemoryMedia media;
    EXPECT_FAILURE(WriteAKPProgram(media, keygroups), XStdLengthError, "too many keygroups for a program");
    EXPECT_EQ(media.GetSize(), 0u);
}

}  // namespace
}  // namespace NSQuillet
