#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/Exporter.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "formats/export/ReplaceConsent.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/soundfont/SoundFontFileFormat.h"
#include "formats/soundfont/SoundFontFileWriter.h"
#include "foundation/ProgressReporter.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/RiffBytes.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::RunProgram;
using namespace NSQuilletTest::NSRiffBytes;

Bytes Text(const std::string& text, size_t size) {
    Bytes bytes(text.begin(), text.end());
    bytes.resize(size, 0);
    return bytes;
}
Bytes List(const char (&type)[5], const Bytes& members) { return Chunk("LIST", Id(type) + members); }
Bytes Points(const std::vector<int32_t>& points) {
    Bytes bytes;
    for (int32_t point : points) bytes = bytes + U16(uint16_t(int16_t(point)));
    return bytes;
}
Bytes SampleHeader(const std::string& name, uint32_t start, uint32_t end, uint32_t loopStart, uint32_t loopEnd,
                   uint8_t root, uint16_t link, uint16_t type) {
    return Text(name, 20) + U32(start) + U32(end) + U32(loopStart) + U32(loopEnd) + U32(44100) + Bytes{root, 0} +
           U16(link) + U16(type);
}
Bytes Generator(uint16_t oper, uint16_t amount) { return U16(oper) + U16(amount); }

// A chunk of a written bank, found by walking the RIFF tree.
struct SChunk {
    std::string fId;
    std::string fType;  // groups only
    size_t fBody = 0;   // offset of the body (after the type for a group)
    uint32_t fSize = 0;  // as stored
    std::vector<SChunk> fMembers;

    const SChunk* Find(const std::string& id) const {
        for (const SChunk& member : fMembers)
            if (member.fId == id || member.fType == id) return &member;
        return nullptr;
    }
    std::vector<std::string> MemberIds() const {
        std::vector<std::string> ids;
        for (const SChunk& member : fMembers) ids.push_back(member.fType.empty() ? member.fId : member.fType);
        return ids;
    }
};

uint32_t ReadLE32(const Bytes& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}
uint16_t ReadLE16(const Bytes& bytes, size_t at) { return uint16_t(bytes[at] | bytes[at + 1] << 8); }

// Members of the body [begin, end); fails the test on a member running past it.
std::vector<SChunk> WalkMembers(const Bytes& bytes, size_t begin, size_t end) {
    std::vector<SChunk> members;
    for (size_t at = begin; at < end;) {
        EXPECT_LE(at + 8, end) << "member header past its group at " << at;
        if (at + 8 > end) break;
        SChunk chunk;
        chunk.fId = std::string(bytes.begin() + long(at), bytes.begin() + long(at + 4));
        chunk.fSize = ReadLE32(bytes, at + 4);
        chunk.fBody = at + 8;
        EXPECT_LE(chunk.fBody + chunk.fSize, end) << chunk.fId << " past its group";
        if (chunk.fBody + chunk.fSize > end) break;
        if (chunk.fId == "RIFF" || chunk.fId == "LIST") {
            chunk.fType = std::string(bytes.begin() + long(at + 8), bytes.begin() + long(at + 12));
            chunk.fBody += 4;
            chunk.fMembers = WalkMembers(bytes, chunk.fBody, at + 8 + chunk.fSize);
        }
        at += 8 + chunk.fSize + (chunk.fSize & 1);
        members.push_back(std::move(chunk));
    }
    return members;
}

SChunk WalkBank(const Bytes& bytes) {
    const std::vector<SChunk> top = WalkMembers(bytes, 0, bytes.size());
    EXPECT_EQ(top.size(), 1u);
    if (top.empty()) return {};
    EXPECT_EQ(top[0].fId, "RIFF");
    EXPECT_EQ(top[0].fType, "sfbk");
    EXPECT_EQ(top[0].fSize, bytes.size() - 8);
    return top[0];
}

SSoundFontSlice Slice(const std::string& name, int32_t key, std::vector<int32_t> left, std::vector<int32_t> right = {},
                      int32_t depth = 16) {
    SSoundFontSlice slice;
    slice.fName = name;
    slice.fKey = key;
    slice.fBitDepth = depth;
    slice.fLeft = std::move(left);
    slice.fRight = std::move(right);
    return slice;
}

std::vector<int32_t> Ramp(size_t count, int32_t first, int32_t step) {
    std::vector<int32_t> points(count);
    for (size_t i = 0; i < count; ++i) points[i] = first + int32_t(i) * step;
    return points;
}

SSoundFontInfo KickInfo() {
    SSoundFontInfo info;
    info.fName = "Kick";
    info.fCreationDate = "May 1, 2024";
    info.fProduct = "Quillet";
    info.fComment = "Created by Quillet";
    return info;
}

Bytes WriteBank(const SSoundFontInfo& info, const std::vector<SSoundFontSlice>& slices, const std::string& preset) {
    COwnedMemoryMedia media;
    CSoundFontFileWriter writer(media);
    writer.BeginBank(info);
    for (const SSoundFontSlice& slice : slices) writer.AppendSlice(slice);
    writer.EndBank(preset);
    return Bytes(media.GetBytes(), media.GetBytes() + media.GetSize());
}

TEST(SoundFontWriter, WritesTheBankOfAMonoAndAStereoSliceByteForByte) {
    const std::vector<int32_t> mono = Ramp(50, -2500, 100);
    const std::vector<int32_t> left = Ramp(48, 1000, 1);
    const std::vector<int32_t> right = Ramp(48, -1000, -1);
    const Bytes written =
        WriteBank(KickInfo(), {Slice("Kick 001", 36, mono), Slice("Kick 002", 37, left, right)}, "Kick");

    // Texts of even length get two zeros, odd ones one; the empty engineer and copyright are
    // left out.
    const Bytes info = List("INFO", Chunk("ifil", U16(2) + U16(1)) + Chunk("isng", Text("EMU8000", 8)) +
                                        Chunk("INAM", Text("Kick", 6)) + Chunk("ICRD", Text("May 1, 2024", 12)) +
                                        Chunk("IPRD", Text("Quillet", 8)) +
                                        Chunk("ICMT", Text("Created by Quillet", 20)));
    // Each sample is followed by 46 zero points: 50 + 46 + 2 × (48 + 46) = 284 points.
    const Bytes samples = List("sdta", Chunk("smpl", Points(mono) + Zeros(92) + Points(left) + Zeros(92) +
                                                         Points(right) + Zeros(92)));
    // Mono at 0..50, loop 8..42; left at 96..144 and right at 190..238, loops 8 points inside
    // each end. Zones: keyRange (lo, hi) in one amount, pan ±500 for the halves of the pair.
    const Bytes hydra = List(
        "pdta",
        Chunk("phdr", Text("Kick", 20) + U16(0) + U16(0) + U16(0) + Zeros(12) + Text("EOP", 20) + U16(0) + U16(0) +
                          U16(1) + Zeros(12)) +
            Chunk("pbag", U16(0) + U16(0) + U16(1) + U16(0)) + Chunk("pmod", Zeros(10)) +
            Chunk("pgen", Generator(41, 0) + Generator(0, 0)) +
            Chunk("inst", Text("Kick", 20) + U16(0) + Text("EOI", 20) + U16(3)) +
            Chunk("ibag", U16(0) + U16(0) + U16(3) + U16(0) + U16(6) + U16(0) + U16(9) + U16(0)) +
            Chunk("imod", Zeros(10)) +
            Chunk("igen", Generator(43, 0x2424) + Generator(17, 0) + Generator(53, 0) + Generator(43, 0x2525) +
                              Generator(17, uint16_t(-500)) + Generator(53, 1) + Generator(43, 0x2525) +
                              Generator(17, 500) + Generator(53, 2) + Generator(0, 0)) +
            Chunk("shdr", SampleHeader("Kick 001", 0, 50, 8, 42, 36, 0, 1) +
                              SampleHeader("Kick 002L", 96, 144, 104, 136, 37, 2, 4) +
                              SampleHeader("Kick 002R", 190, 238, 198, 230, 37, 1, 2) + Text("EOS", 46)));
    const Bytes expected = Chunk("RIFF", Id("sfbk") + info + samples + hydra);
    EXPECT_EQ(written, expected);
}

TEST(SoundFontWriter, ChunksHaveTheSizesOfTheirEntries) {
    const size_t slices = 5;
    std::vector<SSoundFontSlice> list;
    for (size_t i = 0; i < slices; ++i) list.push_back(Slice("S" + std::to_string(i), int32_t(40 + i), Ramp(100 + i, 0, 3)));
    const Bytes bytes = WriteBank(KickInfo(), list, "Five");
    const SChunk bank = WalkBank(bytes);
    EXPECT_EQ(bank.MemberIds(), (std::vector<std::string>{"INFO", "sdta", "pdta"}));
    const SChunk* hydra = bank.Find("pdta");
    ASSERT_NE(hydra, nullptr);
    EXPECT_EQ(hydra->MemberIds(),
              (std::vector<std::string>{"phdr", "pbag", "pmod", "pgen", "inst", "ibag", "imod", "igen", "shdr"}));
    struct SRow {
        const char* fId;
        uint32_t fSize;
    };
    // Two presets and two instruments with their terminals; three generators a zone.
    const SRow rows[] = {{"phdr", 2 * 38}, {"pbag", 2 * 4},  {"pmod", 10},
                         {"pgen", 2 * 4},  {"inst", 2 * 22}, {"ibag", (slices + 1) * 4},
                         {"imod", 10},     {"igen", (3 * slices + 1) * 4}, {"shdr", (slices + 1) * 46}};
    for (const SRow& row : rows) {
        const SChunk* chunk = hydra->Find(row.fId);
        ASSERT_NE(chunk, nullptr) << row.fId;
        EXPECT_EQ(chunk->fSize, row.fSize) << row.fId;
    }
    // Σ (frames + 46) × 2 bytes: 100..104 frames.
    const SChunk* smpl = bank.Find("sdta")->Find("smpl");
    ASSERT_NE(smpl, nullptr);
    EXPECT_EQ(smpl->fSize, (510u + 5 * 46) * 2);

    // Sample i starts where sample i − 1 and its padding end; the terminal is all zero but its
    // name.
    const SChunk* shdr = hydra->Find("shdr");
    uint32_t start = 0;
    for (size_t i = 0; i < slices; ++i) {
        const size_t at = shdr->fBody + i * 46;
        EXPECT_EQ(ReadLE32(bytes, at + 20), start) << i;
        EXPECT_EQ(ReadLE32(bytes, at + 24), start + 100 + i) << i;
        EXPECT_EQ(bytes[at + 40], 40 + i) << "root key " << i;
        start += uint32_t(100 + i + 46);
    }
    const size_t terminal = shdr->fBody + slices * 46;
    EXPECT_EQ(Bytes(bytes.begin() + long(terminal), bytes.begin() + long(terminal + 46)), Text("EOS", 46));
}

TEST(SoundFontWriter, InfoTextsAreCutPaddedToEvenSizesOrLeftOut) {
    struct SRow {
        const char* fWhat;
        std::string fName;
        Bytes fBody;  // empty: no INAM chunk
    };
    const std::string long255(255, 'a');
    const SRow rows[] = {
        {"odd length: one zero", "Odd", Text("Odd", 4)},
        {"even length: two zeros", "Even", Text("Even", 6)},
        {"one character", "x", Text("x", 2)},
        {"255 characters and the zero", long255, Text(long255, 256)},
        {"cut to 255", std::string(300, 'b'), Text(std::string(255, 'b'), 256)},
        {"characters beyond ASCII", "Caf\xC3\xA9", Text("Caf_", 6)},
        {"empty", "", {}},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fWhat);
        SSoundFontInfo info;
        info.fName = row.fName;
        const Bytes bytes = WriteBank(info, {}, "P");
        const SChunk bank = WalkBank(bytes);
        const SChunk* list = bank.Find("INFO");
        ASSERT_NE(list, nullptr);
        const SChunk* name = list->Find("INAM");
        if (row.fBody.empty()) {
            EXPECT_EQ(list->MemberIds(), (std::vector<std::string>{"ifil", "isng"}));
            continue;
        }
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->fSize, row.fBody.size());
        EXPECT_EQ(Bytes(bytes.begin() + long(name->fBody), bytes.begin() + long(name->fBody + name->fSize)), row.fBody);
    }
}

TEST(SoundFontWriter, PointsOfEitherDepthRoundAndSaturateTo16Bits) {
    struct SRow {
        int32_t fDepth;
        int32_t fValue;
        int16_t fPoint;
    };
    // 24 bits: value / 256 rounded half away from zero.
    const SRow rows[] = {
        {24, 0x7FFFFF, 32767},   // 32767.996 rounds to 32768, saturates
        {24, -8388608, -32768},  // exactly -32768
        {24, 383, 1},            // 1.496
        {24, 384, 2},            // 1.5 away from zero
        {24, -384, -2},          // -1.5 away from zero
        {24, -383, -1},
        {24, 127, 0},
        {24, 128, 1},
        {24, -128, -1},
        {24, 0, 0},
        {24, 256 * 1000 + 200, 1001},
        {24, 20000000, 32767},     // beyond 24 bits
        {24, -20000000, -32768},
        {24, INT32_MIN, -32768},
        {16, 32767, 32767},
        {16, -32768, -32768},
        {16, 40000, 32767},
        {16, -40000, -32768},
        {16, -5, -5},
    };
    for (int32_t depth : {16, 24}) {
        std::vector<int32_t> values;
        for (const SRow& row : rows)
            if (row.fDepth == depth) values.push_back(row.fValue);
        const Bytes bytes = WriteBank({}, {Slice("Points", 60, values, {}, depth)}, "P");
        const SChunk bank = WalkBank(bytes);
        const SChunk* smpl = bank.Find("sdta")->Find("smpl");
        ASSERT_NE(smpl, nullptr);
        size_t at = smpl->fBody;
        for (const SRow& row : rows) {
            if (row.fDepth != depth) continue;
            EXPECT_EQ(int16_t(ReadLE16(bytes, at)), row.fPoint) << depth << " bits, value " << row.fValue;
            EXPECT_EQ(SoundFontPoint(row.fValue, depth), row.fPoint) << depth << " bits, value " << row.fValue;
            at += 2;
        }
    }
}

TEST(SoundFontWriter, LoopsKeepTheirMarginsAndLength) {
    struct SRow {
        int64_t fFrames, fStart, fEnd;
        int64_t fLoopStart, fLoopEnd;
    };
    const SRow rows[] = {
        {100, 0, 100, 8, 92},    // whole sample: 8 points in from both ends
        {100, 20, 80, 20, 80},   // inside the margins: as asked
        {100, 50, 60, 39, 71},   // 10 points widened to 32 around 55
        {100, 0, 10, 8, 40},     // widened, kept 8 from the start
        {100, 95, 100, 60, 92},  // widened, kept 8 from the end
        {100, 80, 20, 8, 92},    // reversed: whole sample
        {100, -5, 50, 8, 92},    // outside: whole sample
        {100, 0, 101, 8, 92},
        {100, 30, 30, 8, 92},    // empty: whole sample
        {48, 0, 48, 8, 40},      // the shortest sample with both margins
        {47, 0, 47, 0, 47},      // too short for margins: loops whole
        {47, 10, 20, 0, 47},
        {0, 0, 0, 0, 0},
    };
    for (const SRow& row : rows) {
        const SSoundFontLoop loop = FitSoundFontLoop(row.fFrames, row.fStart, row.fEnd);
        EXPECT_EQ(loop.fStart, row.fLoopStart) << row.fFrames << " " << row.fStart << ".." << row.fEnd;
        EXPECT_EQ(loop.fEnd, row.fLoopEnd) << row.fFrames << " " << row.fStart << ".." << row.fEnd;
    }

    // The slice's loop points land in the header, offset by the sample's start.
    SSoundFontSlice first = Slice("A", 36, Ramp(60, 0, 1));
    SSoundFontSlice second = Slice("B", 37, Ramp(200, 0, 1));
    second.fLoopStart = 40;
    second.fLoopEnd = 150;
    COwnedMemoryMedia media;
    CSoundFontFileWriter writer(media);
    writer.BeginBank({});
    writer.AppendSlice(first);
    writer.AppendSlice(second);
    writer.EndBank("P");
    const SSoundFontSampleParams& params = writer.GetSampleParams().Get(1);
    EXPECT_EQ(params.fStart, 106u);
    EXPECT_EQ(params.fEnd, 306u);
    EXPECT_EQ(params.fLoopStart, 146u);
    EXPECT_EQ(params.fLoopEnd, 256u);
}

TEST(SoundFontWriter, RefusesMisuseBeforeWriting) {
    COwnedMemoryMedia media;
    CSoundFontFileWriter writer(media);
    EXPECT_FAILURE(writer.AppendSlice(Slice("A", 36, {1, 2})), XIllegalCallSequence, "no bank begun");
    EXPECT_FAILURE(writer.EndBank("P"), XIllegalCallSequence, "no bank begun");
    writer.BeginBank({});
    EXPECT_FAILURE(writer.BeginBank({}), XIllegalCallSequence, "bank already begun");
    const uint64_t size = media.GetSize();
    struct SRow {
        const char* fWhat;
        SSoundFontSlice fSlice;
        const char* fMessage;
    };
    SSoundFontSlice noRate = Slice("A", 36, {1, 2});
    noRate.fSampleRate = 0;
    const SRow rows[] = {
        {"key above 127", Slice("A", 128, {1, 2}), "key outside 0..127"},
        {"negative key", Slice("A", -1, {1, 2}), "key outside 0..127"},
        {"8 bits", Slice("A", 36, {1, 2}, {}, 8), "bit depth not 16 or 24"},
        {"rate 0", noRate, "sample rate 0"},
        {"channels differ", Slice("A", 36, {1, 2}, {1}), "channels of different lengths"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fWhat);
        EXPECT_FAILURE(writer.AppendSlice(row.fSlice), XStdInvalidArgument, row.fMessage);
    }
    EXPECT_EQ(media.GetSize(), size);
    EXPECT_EQ(writer.GetSampleParams().GetCount(), 0u);
}

TEST(SoundFontNames, SampleNamesDifferAndFitWithTheirChannelLetter) {
    struct SRow {
        std::string fLoopName;
        int32_t fIndex;
        std::string fName;
    };
    const SRow rows[] = {
        {"Beat", 0, "Beat 001"},
        {"Beat", 41, "Beat 042"},
        {"Beat", 999, "Beat 1000"},
        {"A very long loop name", 4, "A very long loo 005"},   // 15 + 4, a letter still fits
        {"Fifteen chars X", 0, "Fifteen chars X 001"},
        {"Fourteen chars  tail", 0, "Fourteen chars 001"},     // cut, then trailing spaces go
        {"Caf\xC3\xA9 \xE2\x82\xAC", 0, "Caf_ _ 001"},        // one "_" per character
        {"", 6, "007"},
    };
    for (const SRow& row : rows) {
        const std::string name = SoundFontSampleName(row.fLoopName, row.fIndex);
        EXPECT_EQ(name, row.fName) << row.fLoopName;
        EXPECT_LE(name.size(), 19u) << row.fLoopName;
    }
}

TEST(SoundFontNames, CreationDatesNameTheMonth) {
    EXPECT_EQ(SoundFontDateText(2024, 1, 2), "January 2, 2024");
    EXPECT_EQ(SoundFontDateText(1997, 7, 23), "July 23, 1997");
    EXPECT_EQ(SoundFontDateText(2031, 12, 31), "December 31, 2031");
    EXPECT_FAILURE(SoundFontDateText(2024, 13, 1), XStdInvalidArgument, "month outside 1..12");
    EXPECT_FAILURE(SoundFontDateText(2024, 0, 1), XStdInvalidArgument, "month outside 1..12");
}

// A format-0 file with division 480 at the default 120 BPM: the given keys in turn, each held
// 480 ticks (half a second), written byte by byte.
std::string NotesFile(const std::vector<uint8_t>& keys) {
    Bytes track;
    for (uint8_t key : keys) track = track + Bytes{0x00, 0x90, key, 100, 0x83, 0x60, 0x80, key, 0};
    track = track + Bytes{0x00, 0xFF, 0x2F, 0x00};
    Bytes file = Id("MThd") + Bytes{0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0} + Id("MTrk") +
                 Bytes{0, 0, uint8_t(track.size() >> 8), uint8_t(track.size())} + track;
    return std::string(file.begin(), file.end());
}

// Largest magnitude of the 16-bit points in the data chunk of a WAVE file.
int32_t PeakOfWave(const std::string& wave) {
    const size_t data = wave.find("data");
    if (data == std::string::npos || data + 8 > wave.size()) return -1;
    int32_t peak = 0;
    for (size_t at = data + 8; at + 1 < wave.size(); at += 2)
        peak = std::max(peak, std::abs(int32_t(int16_t(uint8_t(wave[at]) | uint8_t(wave[at + 1]) << 8))));
    return peak;
}

std::vector<int32_t> Sine(size_t count, double amplitude, double cycles) {
    std::vector<int32_t> points(count);
    for (size_t i = 0; i < count; ++i) points[i] = int32_t(std::lround(amplitude * std::sin(i * cycles)));
    return points;
}

// The output in lower case without the synth's note that channel 10 finds no drum kit (bank
// 128), which it looks for in every bank; a bank of slices holds none.
std::string Complaints(const std::string& output) {
    std::string kept;
    std::stringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("No preset found on channel 9 [bank=128 prog=0]") != std::string::npos) continue;
        for (char& c : line) c = char(std::tolower(uint8_t(c)));
        kept += line + "\n";
    }
    return kept;
}

TEST(SoundFontWriter, FluidSynthPlaysTheBankWithoutComplaint) {
    REQUIRE_PROGRAM(fluidsynth, "fluidsynth");
    CTemporaryFolder folder;
    const Bytes bank = WriteBank(KickInfo(),
                                 {Slice("Kick 001", 36, Sine(8820, 20000, 0.05)),
                                  Slice("Kick 002", 37, Sine(4410, 15000, 0.02), Sine(4410, 15000, 0.03))},
                                 "Kick");
    const std::string bankPath = folder.Make("bank.sf2", std::string(bank.begin(), bank.end()));
    struct SRow {
        const char* fWhat;
        std::vector<uint8_t> fKeys;
    };
    const SRow rows[] = {{"mono slice on key 36", {36}}, {"stereo slice on key 37", {37}}};
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fWhat);
        const std::string notes = folder.Make("notes.mid", NotesFile(row.fKeys));
        const std::string out = folder.PathOf("out.wav");
        std::filesystem::remove(out);
        const NSQuilletTest::SRunResult run =
            RunProgram({fluidsynth, "-ni", "-q", "-F", out, "-r", "44100", bankPath, notes});
        EXPECT_EQ(run.fExitCode, 0) << run.fOutput;
        const std::string output = Complaints(run.fOutput);
        EXPECT_EQ(output.find("warning"), std::string::npos) << run.fOutput;
        EXPECT_EQ(output.find("error"), std::string::npos) << run.fOutput;
        EXPECT_GT(PeakOfWave(NSQuilletTest::ReadWholeFile(out)), 1000);
    }
    // Nothing plays on a key without a slice: at most the dither of the 16-bit output.
    const std::string notes = folder.Make("notes.mid", NotesFile({50}));
    const std::string out = folder.PathOf("silent.wav");
    ASSERT_EQ(RunProgram({fluidsynth, "-ni", "-q", "-F", out, "-r", "44100", bankPath, notes}).fExitCode, 0);
    EXPECT_LE(PeakOfWave(NSQuilletTest::ReadWholeFile(out)), 2);
}

// Answers every replace question the same way and counts them.
class CFixedReplaceQuestion final : public IReplaceQuestion {
public:
    explicit CFixedReplaceQuestion(EReplaceAnswer answer) : fAnswer(answer) {}
    EReplaceAnswer AskReplace(const std::string&) override {
        ++fAsked;
        return fAnswer;
    }
    EReplaceAnswer fAnswer;
    int fAsked = 0;
};

class CRecordingProgress final : public IProgressReporter {
public:
    explicit CRecordingProgress(size_t stopAfter = SIZE_MAX) : fStopAfter(stopAfter) {}
    void Progress(int32_t permille) override { fReports.push_back(permille); }
    bool IsStopRequested() const override { return fReports.size() >= fStopAfter; }
    size_t fStopAfter;
    std::vector<int32_t> fReports;
};

// One bar of 4/4 in 44100 frames at 44100 Hz (preview at 240 BPM, the loop's own tempo) with a
// slice on every beat: each slice renders 11025 frames.
class CSoundFontExportFixture : public ::testing::Test {
protected:
    void MakeLoop(bool stereo) {
        fSample = std::make_unique<C16BitWaveSample>(44100, 44100, stereo);
        for (int32_t i = 0; i < 44100; ++i)
            for (int32_t c = 1; c <= fSample->GetChannelCount(); ++c)
                fSample->Set16(i, int16_t(9000.0 * std::sin(i * 0.03 * c) + (i % 7) * 13), c);
        fSlices = std::make_unique<CSliceSequence>(fSample.get());
        for (int32_t position : {0, 11025, 22050, 33075}) fSlices->InsertSlice(CSlice(position, 100, ESliceKind::kLocked));
        fSlices->UpdateSliceLengths();
        fSequencer = std::make_unique<CQuilletSequencer>(fSample.get(), fSlices.get(), 44100);
        fSequencer->SetBars(1);
        fSequencer->SetPreviewTempo(240000);
    }

    SExportOptions Options(CReplaceConsent& consent, int32_t baseNote = 36) {
        SExportOptions options;
        options.fSampleRate = 44100;
        options.fBitDepth = 16;
        options.fBaseNote = baseNote;
        options.fLoopName = "Beat";
        options.fReplaceConsent = &consent;
        return options;
    }
    NSDiskKit::CFileSpec Target(const std::string& name) const {
        return NSDiskKit::CFileSpec(NSDiskKit::CFolderSpec(fFolder.Path()), name);
    }
    Bytes ReadBank(const std::string& name) const {
        const std::string text = NSQuilletTest::ReadWholeFile(fFolder.PathOf(name));
        return Bytes(text.begin(), text.end());
    }

    CTemporaryFolder fFolder;
    std::unique_ptr<C16BitWaveSample> fSample;
    std::unique_ptr<CSliceSequence> fSlices;
    std::unique_ptr<CQuilletSequencer> fSequencer;
    CFixedReplaceQuestion fQuestion{EReplaceAnswer::kReplace};
    CReplaceConsent fConsent{fQuestion};
};

TEST_F(CSoundFontExportFixture, ExportsEverySliceOnItsKeyWithTheRenderedAudio) {
    for (bool stereo : {false, true}) {
        SCOPED_TRACE(stereo ? "stereo" : "mono");
        MakeLoop(stereo);
        CExporter exporter(*fSequencer, true, false);
        CExporter reference(*fSequencer, true, false);
        CRecordingProgress progress;
        SExportOptions options = Options(fConsent);
        options.fProgress = &progress;
        CSoundFontFileFormat().Export(exporter, Target("Beat.sf2"), options);
        EXPECT_EQ(progress.fReports, (std::vector<int32_t>{250, 500, 750, 1000}));

        const Bytes bytes = ReadBank("Beat.sf2");
        const SChunk bank = WalkBank(bytes);
        const SChunk* shdr = bank.Find("pdta")->Find("shdr");
        const SChunk* smpl = bank.Find("sdta")->Find("smpl");
        ASSERT_NE(shdr, nullptr);
        ASSERT_NE(smpl, nullptr);
        const size_t channels = stereo ? 2 : 1;
        ASSERT_EQ(shdr->fSize, (4 * channels + 1) * 46);
        EXPECT_EQ(smpl->fSize, 4 * channels * (11025 + 46) * 2);
        for (int32_t slice = 0; slice < 4; ++slice) {
            const std::unique_ptr<CABCWaveSample> rendered = reference.RenderSlice(slice);
            for (size_t c = 0; c < channels; ++c) {
                const size_t sample = size_t(slice) * channels + c;
                const size_t at = shdr->fBody + sample * 46;
                const std::string name(reinterpret_cast<const char*>(&bytes[at]));
                const std::string expectedName = "Beat 00" + std::to_string(slice + 1) + (stereo ? (c ? "R" : "L") : "");
                EXPECT_EQ(name, expectedName);
                const uint32_t start = ReadLE32(bytes, at + 20);
                EXPECT_EQ(start, sample * (11025 + 46));
                EXPECT_EQ(ReadLE32(bytes, at + 24), start + 11025);
                // The rendered slice loops whole: 8 points in from either end.
                EXPECT_EQ(ReadLE32(bytes, at + 28), start + 8);
                EXPECT_EQ(ReadLE32(bytes, at + 32), start + 11017);
                EXPECT_EQ(ReadLE32(bytes, at + 36), 44100u);
                EXPECT_EQ(bytes[at + 40], 36 + slice);
                EXPECT_EQ(ReadLE16(bytes, at + 44), stereo ? (c ? 2 : 4) : 1);
                bool same = true;
                for (int32_t f = 0; f < 11025 && same; ++f)
                    same = int16_t(ReadLE16(bytes, smpl->fBody + (start + uint32_t(f)) * 2)) ==
                           rendered->Get16(f, int32_t(c) + 1);
                EXPECT_TRUE(same) << name;
            }
        }
        EXPECT_EQ(fFolder.CountEntries(), 1u);
    }
}

TEST_F(CSoundFontExportFixture, KeepsEveryKeyWithinTheMIDIRange) {
    MakeLoop(false);
    CSoundFontFileFormat format;
    EXPECT_EQ(format.GetMaximumSliceCount(36), 92);
    EXPECT_EQ(format.GetMaximumSliceCount(126), 2);
    EXPECT_EQ(format.GetMaximumSliceCount(127), 1);
    CExporter exporter(*fSequencer, true, false);
    format.Export(exporter, Target("High.sf2"), Options(fConsent, 126));
    const Bytes bytes = ReadBank("High.sf2");
    const SChunk bank = WalkBank(bytes);
    const SChunk* igen = bank.Find("pdta")->Find("igen");
    ASSERT_NE(igen, nullptr);
    // Two zones on keys 126 and 127, then the terminal.
    ASSERT_EQ(igen->fSize, (2 * 3 + 1) * 4u);
    EXPECT_EQ(ReadLE16(bytes, igen->fBody + 2), 126 | 126 << 8);
    EXPECT_EQ(ReadLE16(bytes, igen->fBody + 14), 127 | 127 << 8);

    EXPECT_FAILURE(format.Export(exporter, Target("Bad.sf2"), Options(fConsent, 128)), XStdInvalidArgument,
                   "base note outside 0..127");
    EXPECT_FAILURE(format.Export(exporter, Target("Bad.sf2"), Options(fConsent, -1)), XStdInvalidArgument,
                   "base note outside 0..127");
}

TEST_F(CSoundFontExportFixture, AStoppedOrRefusedExportLeavesTheOldFile) {
    MakeLoop(true);
    const std::string old = fFolder.Make("Beat.sf2", "old bank");
    struct SRow {
        const char* fWhat;
        EReplaceAnswer fAnswer;
        size_t fStopAfter;
        const char* fMessage;
    };
    const SRow rows[] = {
        {"cancel in the replace question", EReplaceAnswer::kCancel, SIZE_MAX, "user aborted in replace dialog"},
        {"stop after the first slice", EReplaceAnswer::kReplace, 1, "user pressed stop"},
        {"stop before the bank is completed", EReplaceAnswer::kReplace, 4, "user pressed stop"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fWhat);
        CFixedReplaceQuestion question(row.fAnswer);
        CReplaceConsent consent(question);
        CRecordingProgress progress(row.fStopAfter);
        SExportOptions options = Options(consent);
        options.fProgress = &progress;
        CExporter exporter(*fSequencer, true, false);
        EXPECT_FAILURE(CSoundFontFileFormat().Export(exporter, Target("Beat.sf2"), options), XAbort, row.fMessage);
        EXPECT_EQ(question.fAsked, 1);
        EXPECT_EQ(NSQuilletTest::ReadWholeFile(old), "old bank");
        EXPECT_EQ(fFolder.CountEntries(), 1u);
    }
}

TEST_F(CSoundFontExportFixture, AnUnnamedLoopIsNamedAfterTheFile) {
    MakeLoop(false);
    CExporter exporter(*fSequencer, true, false);
    SExportOptions options = Options(fConsent);
    options.fLoopName.clear();
    options.fSliceCount = 1;
    CSoundFontFileFormat().Export(exporter, Target("Groove.v2.sf2"), options);
    const Bytes bytes = ReadBank("Groove.v2.sf2");
    const SChunk bank = WalkBank(bytes);
    const SChunk* name = bank.Find("INFO")->Find("INAM");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[name->fBody])), "Groove.v2");
    const SChunk* phdr = bank.Find("pdta")->Find("phdr");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[phdr->fBody])), "Groove.v2");
    const SChunk* shdr = bank.Find("pdta")->Find("shdr");
    ASSERT_EQ(shdr->fSize, 2 * 46u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[shdr->fBody])), "Groove.v2 001");
}

}  // namespace
}  // namespace NSQuillet
