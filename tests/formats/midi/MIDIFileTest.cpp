#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/Exporter.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "formats/export/ReplaceConsent.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "formats/midi/MIDIFileExport.h"
#include "formats/midi/MIDIFileFormat.h"
#include "formats/midi/MIDIFileWriter.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"

namespace NSQuillet {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(const COwnedMemoryMedia& media) { return Bytes(media.GetBytes(), media.GetBytes() + media.GetSize()); }

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Bytes kHeader = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x03, 0xC0};  // format 1, 2 tracks, 960

// A note-on (velocity > 0) or note-off (velocity 0) of the note track, at its absolute tick.
struct SNote {
    int64_t fTime;
    int fNote;
    int fVelocity;
    bool operator==(const SNote& other) const {
        return fTime == other.fTime && fNote == other.fNote && fVelocity == other.fVelocity;
    }
};

std::ostream& operator<<(std::ostream& out, const SNote& note) {
    return out << "{" << note.fTime << ", " << note.fNote << ", " << note.fVelocity << "}";
}

// Reads the events of the second track of a file written without running status.
struct SNoteTrack {
    std::string fName;
    std::vector<SNote> fNotes;
    int64_t fEndTime = -1;
};

SNoteTrack ReadNoteTrack(const Bytes& file) {
    size_t at = kHeader.size();
    const auto u32 = [&](size_t p) {
        return (uint32_t(file.at(p)) << 24) | (uint32_t(file.at(p + 1)) << 16) | (uint32_t(file.at(p + 2)) << 8) | file.at(p + 3);
    };
    at += 8 + u32(at + 4);  // skip the first track
    const size_t end = at + 8 + u32(at + 4);
    at += 8;
    const auto vlq = [&] {
        uint32_t value = 0;
        uint8_t byte;
        do {
            byte = file.at(at++);
            value = (value << 7) | (byte & 0x7F);
        } while (byte & 0x80);
        return value;
    };
    SNoteTrack track;
    int64_t time = 0;
    while (at < end) {
        time += vlq();
        const uint8_t status = file.at(at++);
        if (status == 0xFF) {
            const uint8_t type = file.at(at++);
            const uint32_t length = vlq();
            if (type == 3) track.fName.assign(file.begin() + long(at), file.begin() + long(at + length));
            if (type == 0x2F) track.fEndTime = time;
            at += length;
        } else {
            EXPECT_EQ(status, 0x90);
            const int note = file.at(at++);
            const int velocity = file.at(at++);
            track.fNotes.push_back({time, note, velocity});
        }
    }
    EXPECT_EQ(at, end);
    return track;
}

Bytes WriteLoop(const SMIDILoop& loop, int32_t baseNote = 36, int32_t sliceCount = -1, const std::string& name = "Beat") {
    COwnedMemoryMedia media;
    WriteMIDIFile(loop, media, baseNote, sliceCount, name);
    return BytesOf(media);
}

SMIDILoop FourFourBar(std::vector<SMIDISliceTicks> slices) {
    SMIDILoop loop;
    loop.fLoopTicks = 61440;  // one bar of 4/4: 4 × 15360
    loop.fSlices = std::move(slices);
    return loop;
}

TEST(MIDIFileWriter, VariableLengthQuantities) {
    const std::pair<uint32_t, Bytes> rows[] = {
        {0, {0x00}},
        {127, {0x7F}},
        {128, {0x81, 0x00}},
        {16383, {0xFF, 0x7F}},
        {16384, {0x81, 0x80, 0x00}},
        {2097151, {0xFF, 0xFF, 0x7F}},
        {2097152, {0x81, 0x80, 0x80, 0x00}},
        {268435455, {0xFF, 0xFF, 0xFF, 0x7F}},
        {268435456, {0x81, 0x80, 0x80, 0x80, 0x00}},
        {0xFFFFFFFF, {0x8F, 0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& [value, expected] : rows) {
        COwnedMemoryMedia media;
        WriteVariableLengthQuantity(media, value);
        EXPECT_EQ(BytesOf(media), expected) << value;
    }
}

TEST(MIDIFileWriter, DivisionField) {
    EXPECT_EQ(CMIDIDivision::TicksPerQuarterNote(960).GetField(), 0x03C0);
    EXPECT_EQ(CMIDIDivision::TicksPerQuarterNote(32767).GetField(), 0x7FFF);
    // −25 is 0xE7, −30 is 0xE2; the low byte is the ticks per frame.
    EXPECT_EQ(CMIDIDivision::SMPTE(25, 40).GetField(), 0xE728);
    EXPECT_EQ(CMIDIDivision::SMPTE(30, 80).GetField(), 0xE250);
    EXPECT_EQ(CMIDIDivision::SMPTE(24, 4).GetKind(), CMIDIDivision::EKind::kSMPTE);
    EXPECT_FAILURE(CMIDIDivision::TicksPerQuarterNote(0), XStdInvalidArgument, "ticks per quarter note out of range");
    EXPECT_FAILURE(CMIDIDivision::TicksPerQuarterNote(32768), XStdInvalidArgument, "ticks per quarter note out of range");
    EXPECT_FAILURE(CMIDIDivision::SMPTE(23, 40), XStdInvalidArgument, "unknown SMPTE frame rate");
    EXPECT_FAILURE(CMIDIDivision::SMPTE(25, 0), XStdInvalidArgument, "ticks per frame out of range");
}

TEST(MIDIFileWriter, RunningStatusAndShortMessages) {
    COwnedMemoryMedia media;
    CMIDIFileWriter writer(media, true);
    writer.BeginTrack();
    writer.Event(0, 0x90, 60, 100);
    writer.Event(10, 0x90, 60, 0);    // same status: left out
    writer.Event(10, 0xC0, 5, 99);    // program change: one data byte
    writer.Text(20, 1, "ab");         // a meta event cancels running status
    writer.Event(20, 0xC0, 6, 0);
    writer.EndTrack();                // end of track at the last time, 20
    const Bytes body = {0x00, 0x90, 60, 100, 0x0A, 60, 0, 0x00, 0xC0, 5, 0x0A, 0xFF, 0x01, 0x02, 'a', 'b',
                        0x00, 0xC0, 6, 0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(BytesOf(media), Concat({{'M', 'T', 'r', 'k', 0, 0, 0, uint8_t(body.size())}, body}));
}

TEST(MIDIFileWriter, MisuseFailsWithoutWriting) {
    struct SRow {
        const char* fWhat;
        std::function<void(CMIDIFileWriter&)> fAction;
        uint32_t fCode;
        const char* fMessage;
    };
    const SRow rows[] = {
        {"time before the last", [](CMIDIFileWriter& w) { w.Event(99, 0x90, 1, 1); },
         NSMishap::XStdInvalidArgument::kFailureCode, "MIDI event before the one written last"},
        {"meta before the last", [](CMIDIFileWriter& w) { w.EndOfTrack(0); },
         NSMishap::XStdInvalidArgument::kFailureCode, "MIDI event before the one written last"},
        {"data byte 128", [](CMIDIFileWriter& w) { w.Event(100, 0x90, 128, 1); },
         NSMishap::XStdInvalidArgument::kFailureCode, "MIDI data byte above 127"},
        {"data status", [](CMIDIFileWriter& w) { w.Event(100, 0x7F, 1, 1); },
         NSMishap::XStdInvalidArgument::kFailureCode, "not a MIDI channel status"},
        {"system status", [](CMIDIFileWriter& w) { w.Event(100, 0xF0, 1, 1); },
         NSMishap::XStdInvalidArgument::kFailureCode, "not a MIDI channel status"},
        {"meta type 128", [](CMIDIFileWriter& w) { w.Meta(100, 0x80, nullptr, 0); },
         NSMishap::XStdInvalidArgument::kFailureCode, "MIDI meta type above 127"},
        {"tempo beyond 24 bits", [](CMIDIFileWriter& w) { w.Tempo(100, 0x1000000); },
         NSMishap::XStdOutOfRange::kFailureCode, "MIDI tempo beyond 24 bits"},
        {"delta beyond 32 bits", [](CMIDIFileWriter& w) { w.Event(100 + 0x100000000LL, 0x90, 1, 1); },
         NSMishap::XStdOutOfRange::kFailureCode, "MIDI delta time beyond 32 bits"},
        {"header inside a track", [](CMIDIFileWriter& w) { w.WriteHeader(1, 1, CMIDIDivision::TicksPerQuarterNote(96)); },
         NSMishap::XIllegalCallSequence::kFailureCode, "chunk already open"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fWhat);
        COwnedMemoryMedia media;
        CMIDIFileWriter writer(media, false);
        writer.BeginTrack();
        writer.Event(100, 0x90, 1, 1);
        const uint64_t size = media.GetSize();
        const auto caught = NSQuilletTest::CatchFailure([&] { row.fAction(writer); });
        EXPECT_EQ(caught.fCode, row.fCode) << caught.fMessage;
        EXPECT_EQ(caught.fMessage, row.fMessage);
        EXPECT_EQ(media.GetSize(), size);
    }

    COwnedMemoryMedia media;
    CMIDIFileWriter writer(media, false);
    EXPECT_FAILURE(writer.Event(0, 0x90, 1, 1), XIllegalCallSequence, "no MIDI track open");
    EXPECT_FAILURE(writer.EndTrack(), XIllegalCallSequence, "no MIDI track open");
    EXPECT_EQ(media.GetSize(), 0u);

    writer.BeginTrack();
    writer.EndOfTrack(5);
    const uint64_t ended = media.GetSize();
    EXPECT_FAILURE(writer.Event(5, 0x90, 1, 1), XIllegalCallSequence, "event after the end of the MIDI track");
    EXPECT_FAILURE(writer.EndOfTrack(5), XIllegalCallSequence, "event after the end of the MIDI track");
    EXPECT_EQ(media.GetSize(), ended);
    writer.EndTrack();  // the end of track is not written twice
    EXPECT_EQ(media.GetSize(), ended);
}

TEST(MIDIFileExport, WholeFileOfThreeSlices) {
    // Slice 0 overlaps slice 1 and is cut at its start; slice 2 runs past the loop and is cut
    // at its end. 15360 internal ticks are 960 file ticks, a delta of 960 is 87 40.
    const Bytes file = WriteLoop(FourFourBar({{0, 20000}, {15360, 30720}, {46080, 70000}}));
    const Bytes tempoTrack = {'M', 'T', 'r', 'k', 0, 0, 0, 0x13,
                              0x00, 0xFF, 0x58, 0x04, 4, 2, 24, 8,        // 4/4
                              0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,   // 500000 µs a quarter
                              0x00, 0xFF, 0x2F, 0x00};
    const Bytes noteTrack = {'M', 'T', 'r', 'k', 0, 0, 0, 0x28,
                             0x00, 0xFF, 0x03, 0x04, 'B', 'e', 'a', 't',
                             0x00, 0x90, 36, 127,  0x87, 0x40, 0x90, 36, 0,    // 0 .. 960
                             0x00, 0x90, 37, 127,  0x87, 0x40, 0x90, 37, 0,    // 960 .. 1920
                             0x87, 0x40, 0x90, 38, 127,  0x87, 0x40, 0x90, 38, 0,  // 2880 .. 3840
                             0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(file, Concat({kHeader, tempoTrack, noteTrack}));
}

TEST(MIDIFileExport, TimeSignatureAndTempoTrack) {
    struct SRow {
        int32_t fNumerator;
        int32_t fDenominator;
        int32_t fTempo;
        Bytes fSignature;  // numerator, power
        Bytes fMicroseconds;
    };
    const SRow rows[] = {
        {4, 4, 120000, {4, 2}, {0x07, 0xA1, 0x20}},  // 60e9 / 120000 = 500000
        {7, 8, 120000, {7, 3}, {0x07, 0xA1, 0x20}},
        {5, 6, 120000, {5, 0}, {0x07, 0xA1, 0x20}},
        {3, 16, 120000, {3, 4}, {0x07, 0xA1, 0x20}},
        {3, 2, 120000, {3, 1}, {0x07, 0xA1, 0x20}},
        {4, 1, 120000, {4, 0}, {0x07, 0xA1, 0x20}},
        {4, 4, 130000, {4, 2}, {0x07, 0x0A, 0xE2}},  // 461538.46 truncated: 461538
        {4, 4, 450000, {4, 2}, {0x02, 0x08, 0xD5}},  // 133333.3: 133333
        {4, 4, 0, {4, 2}, {0x00, 0x00, 0x00}},
        {4, 4, 3000, {4, 2}, {0xFF, 0xFF, 0xFF}},    // 20000000 does not fit three bytes
        {300, 4, 120000, {255, 2}, {0x07, 0xA1, 0x20}},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(std::to_string(row.fNumerator) + "/" + std::to_string(row.fDenominator) + " at " +
                     std::to_string(row.fTempo));
        SMIDILoop loop;
        loop.fNumerator = row.fNumerator;
        loop.fDenominator = row.fDenominator;
        loop.fTempo = row.fTempo;
        const Bytes file = WriteLoop(loop);
        const Bytes expected = Concat({{'M', 'T', 'r', 'k', 0, 0, 0, 0x13, 0x00, 0xFF, 0x58, 0x04}, row.fSignature,
                                       {24, 8, 0x00, 0xFF, 0x51, 0x03}, row.fMicroseconds, {0x00, 0xFF, 0x2F, 0x00}});
        ASSERT_GE(file.size(), kHeader.size() + expected.size());
        EXPECT_EQ(Bytes(file.begin() + long(kHeader.size()), file.begin() + long(kHeader.size() + expected.size())), expected);
    }
}

TEST(MIDIFileExport, NotesFollowTheSlices) {
    struct SRow {
        const char* fWhat;
        std::vector<SMIDISliceTicks> fSlices;
        int32_t fBaseNote;
        int32_t fSliceCount;
        std::vector<SNote> fNotes;
        int64_t fEndTime;
    };
    const std::vector<SMIDISliceTicks> three = {{0, 15360}, {15360, 30720}, {30720, 46080}};
    const SRow rows[] = {
        {"base 36", three, 36, -1, {{0, 36, 127}, {960, 36, 0}, {960, 37, 127}, {1920, 37, 0}, {1920, 38, 127}, {2880, 38, 0}}, 3840},
        {"base 0", three, 0, 3, {{0, 0, 127}, {960, 0, 0}, {960, 1, 127}, {1920, 1, 0}, {1920, 2, 127}, {2880, 2, 0}}, 3840},
        {"count above the slices", three, 36, 9, {{0, 36, 127}, {960, 36, 0}, {960, 37, 127}, {1920, 37, 0}, {1920, 38, 127}, {2880, 38, 0}}, 3840},
        // The slice left out still cuts the one before it.
        {"first two of three", {{0, 40000}, {15360, 40000}, {30720, 46080}}, 36, 2,
         {{0, 36, 127}, {960, 36, 0}, {960, 37, 127}, {1920, 37, 0}}, 3840},
        {"no slices", three, 36, 0, {}, 3840},
        // Above 127 the note stays at the highest MIDI note.
        {"clamped at 127", three, 126, -1, {{0, 126, 127}, {960, 126, 0}, {960, 127, 127}, {1920, 127, 0}, {1920, 127, 127}, {2880, 127, 0}}, 3840},
        // An end before the start sounds no time at all.
        {"end before start", {{15360, 100}, {30720, 61440}}, 36, -1, {{960, 36, 127}, {960, 36, 0}, {1920, 37, 127}, {3840, 37, 0}}, 3840},
        // 100 ticks are 6.25 file ticks: truncated to 6.
        {"truncated ticks", {{100, 200}, {15359, 61440}}, 36, -1, {{6, 36, 127}, {12, 36, 0}, {959, 37, 127}, {3840, 37, 0}}, 3840},
        // A slice starting at the loop's end is held for no time; the track still ends there.
        {"start at the end", {{61440, 70000}}, 36, -1, {{3840, 36, 127}, {3840, 36, 0}}, 3840},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fWhat);
        const SNoteTrack track = ReadNoteTrack(WriteLoop(FourFourBar(row.fSlices), row.fBaseNote, row.fSliceCount));
        EXPECT_EQ(track.fNotes, row.fNotes);
        EXPECT_EQ(track.fEndTime, row.fEndTime);
    }
}

TEST(MIDIFileExport, TrackNameIsSevenBit) {
    const std::pair<std::string, std::string> rows[] = {
        {"Funky Beat", "Funky Beat"},
        {"Gr\xC3\xBC\xC3\x9F" "e", "Gr__e"},      // two characters of two bytes each
        {"\xE2\x82\xAC 5", "_ 5"},                // one character of three bytes
        {"a\xFF" "b", "a_b"},                     // a byte that is no character
        {"", ""},
    };
    for (const auto& [name, expected] : rows) EXPECT_EQ(ReadNoteTrack(WriteLoop(FourFourBar({}), 36, -1, name)).fName, expected) << name;
}

TEST(MIDIFileExport, RejectsSlicesOutOfOrder) {
    EXPECT_FAILURE(WriteLoop(FourFourBar({{15360, 20000}, {0, 100}})), XStdInvalidArgument, "slice out of loop order");
    EXPECT_FAILURE(WriteLoop(FourFourBar({{-1, 20000}})), XStdInvalidArgument, "slice out of loop order");
    SMIDILoop negative = FourFourBar({});
    negative.fTempo = -1;
    EXPECT_FAILURE(WriteLoop(negative), XStdInvalidArgument, "negative tempo");
}

// Reads the MIDI file back with the exporter's own loop: one bar of 7/8 in 44100 frames with a
// slice every 11025 frames, played at 120 BPM.
class CMIDIFileFormatFixture : public ::testing::Test {
protected:
    CMIDIFileFormatFixture() : fSample(44100, 44100, false), fSlices(&fSample) {
        for (int32_t i = 0; i < 44100; ++i) fSample.Set16(i, int16_t(8000.0 * std::sin(i * 0.05)), 1);
        for (int32_t position : {0, 11025, 22050, 33075}) fSlices.InsertSlice(CSlice(position, 100, ESliceKind::kLocked));
        fSlices.UpdateSliceLengths();
        fSequencer = std::make_unique<CQuilletSequencer>(&fSample, &fSlices, 44100);
        fSequencer->SetTimeSignatureNumerator(7);
        fSequencer->SetTimeSignatureDenominator(8);
        fSequencer->SetBars(1);
        fSequencer->SetPreviewTempo(120000);
    }

    SExportOptions Options() {
        SExportOptions options;
        options.fLoopName = "Seven";
        options.fReplaceConsent = &fConsent;
        return options;
    }
    NSDiskKit::CFileSpec Target(const std::string& name) const {
        return NSDiskKit::CFileSpec(NSDiskKit::CFolderSpec(fFolder.Path()), name);
    }

    class CAnswer final : public IReplaceQuestion {
    public:
        EReplaceAnswer AskReplace(const std::string& fileName) override {
            fAsked.push_back(fileName);
            return fAnswer;
        }
        EReplaceAnswer fAnswer = EReplaceAnswer::kCancel;
        std::vector<std::string> fAsked;
    };

    C16BitWaveSample fSample;
    CSliceSequence fSlices;
    std::unique_ptr<CQuilletSequencer> fSequencer;
    NSQuilletTest::CTemporaryFolder fFolder;
    CAnswer fQuestion;
    CReplaceConsent fConsent{fQuestion};
};

TEST_F(CMIDIFileFormatFixture, DescribesTheExportersLoop) {
    const CExporter exporter(*fSequencer, true, false);
    const SMIDILoop loop = DescribeMIDILoop(exporter);
    EXPECT_EQ(loop.fNumerator, 7);
    EXPECT_EQ(loop.fDenominator, 8);
    EXPECT_EQ(loop.fTempo, 120000);
    EXPECT_EQ(loop.fLoopTicks, 53760);  // 7 × 4 × 15360 / 8
    ASSERT_EQ(loop.fSlices.size(), 4u);
    // A quarter is 44100 × 8 / 28 = 12600 frames, so 11025 frames are 13440 ticks.
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(loop.fSlices[i].fStartTick, int32_t(13440 * i)) << i;
}

TEST_F(CMIDIFileFormatFixture, MidicsvReadsTheExportedFile) {
    REQUIRE_PROGRAM(midicsv, "midicsv");
    CExporter exporter(*fSequencer, true, false);
    CMIDIFileFormat format;
    format.Export(exporter, Target("Seven.mid"), Options());
    EXPECT_TRUE(fQuestion.fAsked.empty());
    const auto result = NSQuilletTest::RunProgram({midicsv, fFolder.PathOf("Seven.mid")});
    ASSERT_EQ(result.fExitCode, 0) << result.fOutput;
    // 13440 ticks are 840 file ticks; each slice sounds until the next (stretched at 120 BPM),
    // the last until the loop ends at 3360.
    for (const char* line : {"0, 0, Header, 1, 2, 960", "1, 0, Time_signature, 7, 3, 24, 8", "1, 0, Tempo, 500000",
                             "2, 0, Title_t, \"Seven\"", "2, 0, Note_on_c, 0, 36, 127", "2, 840, Note_on_c, 0, 36, 0",
                             "2, 840, Note_on_c, 0, 37, 127", "2, 1680, Note_on_c, 0, 38, 127",
                             "2, 2520, Note_on_c, 0, 39, 127", "2, 3360, Note_on_c, 0, 39, 0", "2, 3360, End_track"})
        EXPECT_NE(result.fOutput.find(line), std::string::npos) << line << "\n" << result.fOutput;
}

TEST_F(CMIDIFileFormatFixture, ExportAsksBeforeReplacing) {
    const std::string path = fFolder.Make("Old.mid", "old");
    CExporter exporter(*fSequencer, true, false);
    CMIDIFileFormat format;
    EXPECT_FAILURE(format.Export(exporter, Target("Old.mid"), Options()), XAbort, "user aborted in replace dialog");
    EXPECT_EQ(NSQuilletTest::ReadWholeFile(path), "old");

    fQuestion.fAnswer = EReplaceAnswer::kReplace;
    SExportOptions options = Options();
    options.fBaseNote = 60;
    options.fSliceCount = 2;
    format.Export(exporter, Target("Old.mid"), options);
    EXPECT_EQ(fQuestion.fAsked, (std::vector<std::string>{"Old.mid", "Old.mid"}));
    const std::string written = NSQuilletTest::ReadWholeFile(path);
    const SNoteTrack track = ReadNoteTrack(Bytes(written.begin(), written.end()));
    EXPECT_EQ(track.fNotes, (std::vector<SNote>{{0, 60, 127}, {840, 60, 0}, {840, 61, 127}, {1680, 61, 0}}));
    EXPECT_EQ(fFolder.CountEntries(), 1u);
}

TEST(MIDIFileFormat, SliceLimitKeepsNotesInRange) {
    const CMIDIFileFormat format;
    EXPECT_STREQ(format.GetExtension(), ".mid");
    EXPECT_TRUE(format.GetSampleRates().empty());
    EXPECT_TRUE(format.GetBitDepths().empty());
    EXPECT_FALSE(format.WritesFilePerSlice());
    // base → slices: the last note is base + limit − 1 = 127; 0 would read as no limit.
    const std::pair<int32_t, int32_t> rows[] = {{36, 92}, {0, 128}, {127, 1}, {128, 1}};
    for (const auto& [base, limit] : rows) EXPECT_EQ(format.GetMaximumSliceCount(base), limit) << base;
}

}  // namespace
}  // namespace NSQuillet
