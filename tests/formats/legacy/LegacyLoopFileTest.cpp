#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "formats/iff/ExtendedFloat.h"
#include "formats/legacy/LUXApplicationBlock.h"
#include "formats/legacy/LegacyAIFFReader.h"
#include "formats/legacy/QLTApplicationBlock.h"
#include "formats/loopfile/QuilletFile.h"
#include "formats/media/OwnedMemoryMedia.h"
#include "tests/formats/legacy/LegacyLoopFileBuilder.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/RecordingDecompressCallback.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;
using namespace NSQuilletTest::NSLegacyLoopFile;

std::shared_ptr<CMedia> MediaOf(const TBytes& bytes) {
    return std::make_shared<COwnedMemoryMedia>(bytes.size(), bytes.data());
}

std::vector<int32_t> Channel24(const CABCWaveSample& sample, int32_t channel) {
    std::vector<int32_t> values(size_t(sample.GetFrameCount()));
    sample.Get24s(0, sample.GetFrameCount(), values.data(), channel);
    return values;
}

std::vector<int16_t> Channel16(const CABCWaveSample& sample, int32_t channel) {
    std::vector<int16_t> values(size_t(sample.GetFrameCount()));
    sample.Get16s(0, sample.GetFrameCount(), values.data(), channel);
    return values;
}

// 1000 frames (2000 bytes of sound) in four slices made of six entries: slice 1 in two pieces,
// slice 2 in one, slice 3 in two, then slice 1 again, which stands apart from the first run.
constexpr uint32_t kLUXFrames = 1000;
SLUXBlock FourSliceLUXBlock() {
    SLUXBlock block;
    block.fLoopTicks = 2 * 3840 + 960;  // 2 bars and 1 beat
    block.fTempo = 98500;
    block.fEntries = {{0, 300, 1}, {300, 200, 1}, {500, 601, 2}, {1101, 99, 3}, {1200, 400, 3}, {1600, 400, 1}};
    return block;
}

TBytes FourSliceLUXFile(const std::vector<TBytes>& extraChunks = {}) {
    return LoopFile(kLUXFrames, LUXBlockBody(FourSliceLUXBlock()), extraChunks);
}

// 88200 frames (2 s at 44100 Hz) looped on their second half and a quarter: 22050..88200.
constexpr uint32_t kQLTFrames = 88200;
SQLTBlock ThreeSliceQLTBlock() {
    SQLTBlock block;
    block.fBars = 1;
    block.fBeats = 2;
    block.fNumerator = 3;
    block.fDenominator = 4;
    block.fSensitivity = 70;
    block.fLoopStart = 22050;
    block.fLoopEnd = 88200;
    block.fSlices = {{0, 20000, 0}, {22050, 900, 1 | 4}, {44100, 32767, 2}};
    return block;
}

TBytes ThreeSliceQLTFile() { return LoopFile(kQLTFrames, QLTBlockBody(ThreeSliceQLTBlock())); }

TEST(ExtendedFloat, ConvertsTheStoredRates) {
    struct SRow {
        TBytes fBytes;
        double fValue;
    };
    const SRow rows[] = {
        {kRate44100, 44100},
        {kRate22050, 22050},
        {kRate8000, 8000},
        {{0x3F, 0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0}, 1},  // 2^0 × 1.0
        {{0x40, 0x0E, 0xBB, 0x80, 0, 0, 0, 0, 0, 0}, 48000},
        {{0x40, 0x00, 0xC0, 0, 0, 0, 0, 0, 0, 0}, 3},  // 2^1 × 1.5
        {{0xC0, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, -44100},
        {{0x3F, 0xFE, 0x80, 0, 0, 0, 0, 0, 0, 0}, 0.5},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
    };
    for (const SRow& row : rows) {
        uint8_t bytes[10];
        std::copy(row.fBytes.begin(), row.fBytes.end(), bytes);
        EXPECT_EQ(ExtendedFloatToDouble(bytes), row.fValue) << row.fValue;
    }
    const uint8_t nan[10] = {0x7F, 0xFF, 0xC0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::isnan(ExtendedFloatToDouble(nan)));
}

TEST(LegacyLoopFile, IdentifiesTheKindByTheFirstApplicationChunk) {
    SLUXBlock wrongMagic = FourSliceLUXBlock();
    wrongMagic.fMagic = 0xD1DADED0;  // the other kind's magic
    SQLTBlock qltWithLuxMagic = ThreeSliceQLTBlock();
    qltWithLuxMagic.fMagic = 0xD1D1D1DA;
    const TBytes lux = FourSliceLUXFile();
    TBytes aifc = lux;
    aifc[11] = 'C';  // FORM AIFC
    TBytes damaged = lux;
    damaged[16] = 0xFF;  // the COMM size runs past the file
    TBytes otherAppFirst = LoopFile(kLUXFrames, LUXBlockBody(FourSliceLUXBlock()), {Chunk("APPL", {'a', 'b', 'c', 'd', 1, 2, 3, 4})});
    struct SRow {
        const char* fName;
        TBytes fBytes;
        ELoopFileKind fKind;
    };
    const SRow rows[] = {
        {"LUX", lux, ELoopFileKind::kLUX},
        {"QLT", ThreeSliceQLTFile(), ELoopFileKind::kQLT},
        {"LUX signature, QLT magic", LoopFile(kLUXFrames, LUXBlockBody(wrongMagic)), ELoopFileKind::kNone},
        {"QLT signature, LUX magic", LoopFile(kQLTFrames, QLTBlockBody(qltWithLuxMagic)), ELoopFileKind::kNone},
        {"another application's APPL first", otherAppFirst, ELoopFileKind::kNone},
        {"APPL of 7 bytes", LoopFile(10, {'L', 'U', 'X', ' ', 0xD1, 0xD1, 0xD1}), ELoopFileKind::kNone},
        {"no APPL", FormAIFF({Chunk("COMM", CommonBody({}))}), ELoopFileKind::kNone},
        {"FORM AIFC", aifc, ELoopFileKind::kNone},
        {"damaged FORM", damaged, ELoopFileKind::kNone},
        {"11 bytes", TBytes(lux.begin(), lux.begin() + 11), ELoopFileKind::kNone},
    };
    for (const SRow& row : rows) {
        const auto media = MediaOf(row.fBytes);
        EXPECT_EQ(CQuilletFile::Identify(*media), row.fKind) << row.fName;
    }
    EXPECT_FAILURE(CQuilletFile file(MediaOf(aifc)), XUnsupportedFormat, "invalid file type");
}

TEST(LegacyLoopFile, LUXFileMergesItsEntriesIntoSlicesInFrames) {
    const TBytes bytes = FourSliceLUXFile();
    const CQuilletFile file(MediaOf(bytes));
    ASSERT_EQ(file.GetKind(), ELoopFileKind::kLUX);

    const SLoopFileInfo& info = file.GetInfo();
    EXPECT_EQ(info.fChannelCount, 1);
    EXPECT_EQ(info.fBitDepth, 16);
    EXPECT_EQ(info.fSampleRate, 44100u);
    EXPECT_EQ(info.fFrameCount, 1000);
    EXPECT_EQ(info.fGeneral.fSliceCount, 4u);
    // 8640 ticks: 8640 / 3840 = 2 bars, (8640 / 960) mod 4 = 9 mod 4 = 1 beat.
    EXPECT_EQ(info.fGeneral.fBars, 2);
    EXPECT_EQ(info.fGeneral.fBeats, 1);
    EXPECT_EQ(info.fGeneral.fTimeSignatureNumerator, 4);
    EXPECT_EQ(info.fGeneral.fTimeSignatureDenominator, 4);
    EXPECT_EQ(info.fGeneral.fPreviewTempo, 98500);
    EXPECT_EQ(info.fExportSize, 2000u);
    EXPECT_EQ(info.fLoopStart, 0);
    EXPECT_EQ(info.fLoopEnd, 1000);

    std::unique_ptr<CABCWaveSample> sample = file.ReadSound(nullptr);
    sample->BuildPreview();
    CSliceSequence slices(sample.get());
    file.ReadSlices(slices);
    // Runs {0,300}, {500}, {1101,1200}, {1600}: byte offsets 0, 500, 1101, 1600 halved.
    const std::vector<int32_t> positions = {0, 250, 550, 800};
    ASSERT_EQ(slices.GetSliceCount(), 4);
    for (int32_t i = 0; i < 4; ++i) {
        const CSlice& slice = *slices.GetSlice(i);
        EXPECT_EQ(slice.GetPosition(), positions[size_t(i)]) << i;
        EXPECT_EQ(slice.GetKind(), ESliceKind::kNormal) << i;
        EXPECT_EQ(slice.GetLevel(), 32767) << i;
        EXPECT_TRUE(slices.IsSliceActive(slice)) << i;
    }
    EXPECT_EQ(slices.GetSensitivity(), 99);
    EXPECT_EQ(slices.GetGateSensitivity(), 0);

    const SLoopFileSettings settings = file.ReadSettings();
    EXPECT_EQ(settings.fLoop.GetBars(), 2);
    EXPECT_EQ(settings.fLoop.GetBeats(), 1);
    EXPECT_EQ(settings.fLoop.GetPreviewTempo(), 98500);
    EXPECT_EQ(settings.fSensitivity, 99);
    EXPECT_EQ(settings.fLeftLocator, 0);
    EXPECT_EQ(settings.fRightLocator, 1000);
    SLoopFileCreatorInfo creator;
    EXPECT_FALSE(file.ReadCreatorInfo(creator));
    const SLoopFileShownSettings shown = file.ReadShownSettings();
    EXPECT_EQ(shown.fInfo.fGeneral.fSliceCount, 4u);
}

TEST(LUXApplicationBlock, MergesOnlyNeighboursThatShareTheSliceNumber) {
    const TBytes body = LUXBlockBody(FourSliceLUXBlock());
    COwnedMemoryMedia media(body.size(), body.data());
    const CLUXApplicationBlock block(&media);
    EXPECT_EQ(block.GetExportedSize(), 2000u);  // 300 + 200 + 601 + 99 + 400 + 400
    const std::vector<SLUXSlice> slices = block.GetSlices();
    ASSERT_EQ(slices.size(), 4u);
    const uint64_t bytes[] = {500, 601, 499, 400};
    const int32_t positions[] = {0, 250, 550, 800};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(slices[i].fPosition, positions[i]) << i;
        EXPECT_EQ(slices[i].fBytes, bytes[i]) << i;
    }
}

TEST(LUXApplicationBlock, LoopLengthFromTicksAndTempoClamp) {
    struct SRow {
        uint32_t fTicks;
        int32_t fBars;
        int32_t fBeats;
    };
    const SRow lengths[] = {
        {0, 0, 0},        {959, 0, 0},      {960, 0, 1},      {3839, 0, 3},
        {3840, 1, 0},     {4799, 1, 0},     {10560, 2, 3},    // 11 beats: 2 bars and 3 beats
        {38400, 10, 0},
        {0xFFFFFFFFu, 1118481, 0},  // 3840 × 1118481 = 4294967040; 4294967295 / 960 = 4473924, mod 4 = 0
    };
    for (const SRow& row : lengths) {
        SLUXBlock block = FourSliceLUXBlock();
        block.fLoopTicks = row.fTicks;
        const TBytes body = LUXBlockBody(block);
        COwnedMemoryMedia media(body.size(), body.data());
        const CLUXApplicationBlock read(&media);
        EXPECT_EQ(read.GetBars(), row.fBars) << row.fTicks;
        EXPECT_EQ(read.GetBeats(), row.fBeats) << row.fTicks;
    }
    struct STempo {
        uint32_t fStored;
        int32_t fTempo;
    };
    const STempo tempos[] = {{0, 20000},          {19999, 20000},         {20000, 20000}, {130000, 130000},
                             {450000, 450000},    {450001, 450000},       {0xFFFFFFFFu, 450000}};
    for (const STempo& row : tempos) {
        SLUXBlock block = FourSliceLUXBlock();
        block.fTempo = row.fStored;
        const CQuilletFile file(MediaOf(LoopFile(kLUXFrames, LUXBlockBody(block))));
        EXPECT_EQ(file.GetInfo().fGeneral.fPreviewTempo, row.fTempo) << row.fStored;
        EXPECT_EQ(file.ReadSettings().fLoop.GetPreviewTempo(), row.fTempo) << row.fStored;
    }
}

TEST(LegacyLoopFile, LUXLoopPointsComeFromAValidSustainLoop) {
    const TBytes markers = MarkerBody({{1, 100, "ab"}, {2, 300, "abc"}, {3, 1000, ""}, {4, 1001, "x"}});
    TBytes truncatedMarkers = markers;
    truncatedMarkers.resize(markers.size() - 1);
    struct SRow {
        const char* fName;
        std::vector<TBytes> fChunks;
        int64_t fStart;
        int64_t fEnd;
    };
    const SRow rows[] = {
        {"no INST", {}, 0, 1000},
        {"forward loop", {Chunk("INST", InstrumentBody(1, 1, 2)), Chunk("MARK", markers)}, 100, 300},
        {"loop to the last frame", {Chunk("INST", InstrumentBody(2, 2, 3)), Chunk("MARK", markers)}, 300, 1000},
        {"no looping", {Chunk("INST", InstrumentBody(0, 1, 2)), Chunk("MARK", markers)}, 0, 1000},
        {"detune 51", {Chunk("INST", InstrumentBody(1, 1, 2, 51)), Chunk("MARK", markers)}, 0, 1000},
        {"detune -50", {Chunk("INST", InstrumentBody(1, 1, 2, -50)), Chunk("MARK", markers)}, 100, 300},
        {"base note 128", {Chunk("INST", InstrumentBody(1, 1, 2, 0, 128)), Chunk("MARK", markers)}, 0, 1000},
        {"INST of 19 bytes", {Chunk("INST", TBytes(19, 0)), Chunk("MARK", markers)}, 0, 1000},
        {"no MARK", {Chunk("INST", InstrumentBody(1, 1, 2))}, 0, 1000},
        {"unknown marker", {Chunk("INST", InstrumentBody(1, 1, 9)), Chunk("MARK", markers)}, 0, 1000},
        {"begin after end", {Chunk("INST", InstrumentBody(1, 2, 1)), Chunk("MARK", markers)}, 0, 1000},
        {"end past the sound", {Chunk("INST", InstrumentBody(1, 1, 4)), Chunk("MARK", markers)}, 0, 1000},
        {"truncated MARK", {Chunk("INST", InstrumentBody(1, 1, 2)), Chunk("MARK", truncatedMarkers)}, 0, 1000},
    };
    for (const SRow& row : rows) {
        const CQuilletFile file(MediaOf(FourSliceLUXFile(row.fChunks)));
        EXPECT_EQ(file.GetInfo().fLoopStart, row.fStart) << row.fName;
        EXPECT_EQ(file.GetInfo().fLoopEnd, row.fEnd) << row.fName;
        const std::unique_ptr<CABCWaveSample> sample = file.ReadSound(nullptr);
        EXPECT_EQ(sample->GetLeftLocator(), row.fStart) << row.fName;
        EXPECT_EQ(sample->GetRightLocator(), row.fEnd) << row.fName;
    }
}

TEST(LegacyLoopFile, QLTFileGivesItsSlicesLoopAndTheTempoOfItsLoop) {
    const CQuilletFile file(MediaOf(ThreeSliceQLTFile()));
    ASSERT_EQ(file.GetKind(), ELoopFileKind::kQLT);
    const SLoopFileInfo& info = file.GetInfo();
    EXPECT_EQ(info.fFrameCount, 88200);
    EXPECT_EQ(info.fLoopStart, 22050);
    EXPECT_EQ(info.fLoopEnd, 88200);
    EXPECT_EQ(info.fGeneral.fBars, 1);
    EXPECT_EQ(info.fGeneral.fBeats, 2);
    EXPECT_EQ(info.fGeneral.fTimeSignatureNumerator, 3);
    EXPECT_EQ(info.fGeneral.fTimeSignatureDenominator, 4);
    // 1 bar of 3 beats + 2 = 5 beats over 66150 frames = 1.5 s: 200 BPM.
    EXPECT_EQ(info.fGeneral.fPreviewTempo, 200000);
    EXPECT_EQ(info.fGeneral.fSliceCount, 3u);
    EXPECT_TRUE(info.fGeneral.fPreviewOn);
    EXPECT_FALSE(info.fSilenceSelected);
    EXPECT_FALSE(info.fNormalizeOptionOn);

    std::unique_ptr<CABCWaveSample> sample = file.ReadSound(nullptr);
    EXPECT_EQ(sample->GetLeftLocator(), 22050);
    EXPECT_EQ(sample->GetRightLocator(), 88200);
    sample->BuildPreview();
    CSliceSequence slices(sample.get());
    file.ReadSlices(slices);
    ASSERT_EQ(slices.GetSliceCount(), 3);
    EXPECT_EQ(slices.GetSensitivity(), 70);
    const CSlice& first = *slices.GetSlice(0);
    const CSlice& second = *slices.GetSlice(1);
    const CSlice& third = *slices.GetSlice(2);
    EXPECT_EQ(first.GetPosition(), 0);
    EXPECT_EQ(first.GetLevel(), 20000);
    EXPECT_EQ(first.GetKind(), ESliceKind::kNormal);
    EXPECT_FALSE(first.IsSelected());
    EXPECT_EQ(second.GetPosition(), 22050);
    EXPECT_EQ(second.GetLevel(), 900);
    EXPECT_EQ(second.GetKind(), ESliceKind::kMuted);
    EXPECT_TRUE(second.IsSelected());
    EXPECT_EQ(third.GetPosition(), 44100);
    EXPECT_EQ(third.GetKind(), ESliceKind::kLocked);

    const SLoopFileSettings settings = file.ReadSettings();
    EXPECT_EQ(settings.fLoop.GetBars(), 1);
    EXPECT_EQ(settings.fLoop.GetBeats(), 2);
    EXPECT_EQ(settings.fLoop.GetTimeSignatureNumerator(), 3);
    EXPECT_EQ(settings.fLoop.GetPreviewTempo(), 200000);
    EXPECT_EQ(settings.fSensitivity, 70);
    EXPECT_EQ(settings.fLeftLocator, 22050);
    EXPECT_EQ(settings.fRightLocator, 88200);
    EXPECT_TRUE(settings.fLoop.IsPreviewOn());
}

TEST(LegacyLoopFile, QLTBlockValuesAsTheFileTakesThem) {
    struct SRow {
        const char* fName;
        std::function<void(SQLTBlock&)> fEdit;
        std::function<void(const SLoopFileInfo&, const SLoopFileSettings&)> fCheck;
    };
    const SRow rows[] = {
        {"loop mode 10", [](SQLTBlock& b) { b.fLoopMode = 10; },
         [](const SLoopFileInfo& i, const SLoopFileSettings& s) {
             EXPECT_FALSE(i.fGeneral.fPreviewOn);
             EXPECT_FALSE(s.fLoop.IsSilenceSelected());
         }},
        {"loop mode 12", [](SQLTBlock& b) { b.fLoopMode = 12; },
         [](const SLoopFileInfo& i, const SLoopFileSettings& s) {
             EXPECT_TRUE(i.fGeneral.fPreviewOn);
             EXPECT_TRUE(s.fLoop.IsSilenceSelected());
         }},
        {"normalize on", [](SQLTBlock& b) { b.fNormalize = 1; },
         [](const SLoopFileInfo& i, const SLoopFileSettings&) { EXPECT_TRUE(i.fNormalizeOptionOn); }},
        // 1 bar of 4 beats over 4410 frames (0.1 s) is 2400 BPM: clamped.
        {"fast loop", [](SQLTBlock& b) { b.fNumerator = 4, b.fBeats = 0, b.fLoopStart = 0, b.fLoopEnd = 4410; },
         [](const SLoopFileInfo& i, const SLoopFileSettings& s) {
             EXPECT_EQ(i.fGeneral.fPreviewTempo, 450000);
             EXPECT_EQ(s.fLoop.GetPreviewTempo(), 450000);
         }},
        // 1 beat over 88200 frames (2 s) is 30 BPM; no length gives 0, clamped up.
        {"slow loop", [](SQLTBlock& b) { b.fBars = 0, b.fBeats = 1, b.fLoopStart = 0; },
         [](const SLoopFileInfo& i, const SLoopFileSettings&) { EXPECT_EQ(i.fGeneral.fPreviewTempo, 30000); }},
        {"no loop length", [](SQLTBlock& b) { b.fBars = 0, b.fBeats = 0; },
         [](const SLoopFileInfo& i, const SLoopFileSettings& s) {
             EXPECT_EQ(i.fGeneral.fPreviewTempo, 20000);
             EXPECT_EQ(s.fLoop.GetBars() + s.fLoop.GetBeats(), 0);
         }},
        {"values beyond the document's ranges",
         [](SQLTBlock& b) { b.fBars = 1200, b.fBeats = 9, b.fNumerator = 0, b.fDenominator = 16, b.fSensitivity = 120; },
         [](const SLoopFileInfo& i, const SLoopFileSettings& s) {
             EXPECT_EQ(i.fGeneral.fBars, 1200);
             EXPECT_EQ(s.fLoop.GetBars(), 999);
             EXPECT_EQ(s.fLoop.GetBeats(), 7);
             EXPECT_EQ(s.fLoop.GetTimeSignatureNumerator(), 1);
             EXPECT_EQ(s.fLoop.GetTimeSignatureDenominator(), 15);
             EXPECT_EQ(s.fSensitivity, 99);
         }},
        {"loop of the whole sound", [](SQLTBlock& b) { b.fLoopStart = 0, b.fLoopEnd = kQLTFrames; },
         [](const SLoopFileInfo& i, const SLoopFileSettings&) { EXPECT_EQ(i.fLoopEnd, 88200); }},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fName);
        SQLTBlock block = ThreeSliceQLTBlock();
        row.fEdit(block);
        const CQuilletFile file(MediaOf(LoopFile(kQLTFrames, QLTBlockBody(block))));
        row.fCheck(file.GetInfo(), file.ReadSettings());
    }
}

TEST(QLTApplicationBlock, TakesAnySliceValueAsAUsableSlice) {
    SQLTBlock block = ThreeSliceQLTBlock();
    block.fSlices = {{10, 0, 1 | 2}, {20, 0x8000, 0xF8}, {0x80000000u, 5, 0}};
    const TBytes body = QLTBlockBody(block);
    COwnedMemoryMedia media(body.size(), body.data());
    const CQLTApplicationBlock read(&media);
    ASSERT_EQ(read.GetSlices().size(), 3u);
    EXPECT_EQ(read.GetSlices()[0].GetKind(), ESliceKind::kLocked);  // locked wins over muted
    EXPECT_EQ(read.GetSlices()[0].GetLevel(), 1);
    EXPECT_EQ(read.GetSlices()[1].GetKind(), ESliceKind::kNormal);  // unknown bits ignored
    EXPECT_EQ(read.GetSlices()[1].GetLevel(), 1);                   // negative as signed
    EXPECT_FALSE(read.GetSlices()[1].IsSelected());
    // Beyond every sound, so a sequence drops it rather than wrapping it to a negative frame.
    EXPECT_EQ(read.GetSlices()[2].GetPosition(), INT32_MAX);
}

// Every message the legacy readers give, each on a file built to provoke it.
TEST(LegacyLoopFile, RefusesDamagedFilesWithTheirMessage) {
    const auto lux = [](const std::function<void(SLUXBlock&)>& edit, uint32_t frames = kLUXFrames) {
        SLUXBlock block = FourSliceLUXBlock();
        edit(block);
        return LoopFile(frames, LUXBlockBody(block));
    };
    const auto qlt = [](const std::function<void(SQLTBlock&)>& edit) {
        SQLTBlock block = ThreeSliceQLTBlock();
        edit(block);
        return LoopFile(kQLTFrames, QLTBlockBody(block));
    };
    const auto withCommon = [](const TBytes& application, const SCommon& common) {
        return FormAIFF({Chunk("COMM", CommonBody(common)), Chunk("APPL", application),
                         Chunk("SSND", SoundDataBody(TBytes(size_t(common.fFrames) * common.fChannels * 4, 0)))});
    };
    const TBytes luxBody = LUXBlockBody(FourSliceLUXBlock());
    const TBytes qltBody = QLTBlockBody(ThreeSliceQLTBlock());
    TBytes shortLux = luxBody;
    shortLux.resize(1019);
    TBytes shortQlt = qltBody;
    shortQlt.resize(27);
    SCommon stereo{2, kLUXFrames, 16, kRate44100, std::nullopt};
    SCommon eightBit{1, kLUXFrames, 8, kRate44100, std::nullopt};
    SCommon wide{1, kLUXFrames, 24, kRate44100, std::nullopt};
    SCommon sowt{1, kLUXFrames, 16, kRate44100, "sowt"};
    SCommon float32{1, kLUXFrames, 16, kRate44100, "fl32"};
    SCommon noRate{1, kLUXFrames, 16, TBytes(10, 0), std::nullopt};
    SCommon negativeRate{1, kLUXFrames, 16, {0xC0, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, std::nullopt};
    SCommon qltStereo{2, kQLTFrames, 16, kRate44100, std::nullopt};
    TBytes noCommon = FormAIFF({Chunk("APPL", luxBody)});

    struct SRow {
        const char* fName;
        TBytes fBytes;
        uint32_t fCode;
        std::string fMessage;
    };
    const uint32_t kFormat = NSMishap::XFormatViolation::kFailureCode;
    const uint32_t kUnsupported = NSMishap::XUnsupportedFormat::kFailureCode;
    const SRow rows[] = {
        {"LUX in stereo", withCommon(luxBody, stereo), kFormat, "lux file that isn't 16-bit mono"},
        {"LUX in 8 bits", withCommon(luxBody, eightBit), kFormat, "lux file that isn't 16-bit mono"},
        {"LUX in 24 bits", withCommon(luxBody, wide), kFormat, "lux file that isn't 16-bit mono"},
        {"QLT in stereo", withCommon(qltBody, qltStereo), kFormat, "QLT file that isn't 16-bit mono"},
        {"little-endian samples", withCommon(luxBody, sowt), kUnsupported, "unsupported compression type in COMM chunk"},
        {"float samples", withCommon(luxBody, float32), kUnsupported, "unsupported compression type in COMM chunk"},
        {"rate of 0", withCommon(luxBody, noRate), kFormat, "bad sample rate in COMM chunk"},
        {"negative rate", withCommon(luxBody, negativeRate), kFormat, "bad sample rate in COMM chunk"},
        {"no COMM", noCommon, kFormat, ""},
        {"LUX block of 1019 bytes", LoopFile(kLUXFrames, shortLux), kFormat, "can't read app specific chunk"},
        {"LUX entries past the chunk", lux([](SLUXBlock& b) { b.fCount = 7; }), kFormat, "can't read app specific chunk"},
        // 1000 entries need 13020 bytes: the last lies beyond the 13016 that are read.
        {"LUX entries past 13016 bytes",
         lux([](SLUXBlock& b) { b.fEntries.assign(1000, {0, 2, 1}); }, 1000), kFormat,
         "can't read app specific chunk"},
        {"LUX version 2.0", lux([](SLUXBlock& b) { b.fMajor = 2; }), kFormat,
         "incompatible version in app specific chunk"},
        {"LUX version 0.9", lux([](SLUXBlock& b) { b.fMajor = 0, b.fMinor = 9; }), kFormat,
         "incompatible version in app specific chunk"},
        {"LUX without entries", lux([](SLUXBlock& b) { b.fEntries.clear(); }), kFormat,
         "zero or negativ slice count in app specific chunk"},
        {"LUX count 0x8000", lux([](SLUXBlock& b) { b.fCount = 0x8000; }), kFormat,
         "zero or negativ slice count in app specific chunk"},
        {"LUX entries a byte short", lux([](SLUXBlock& b) { b.fEntries.back().fLength = 399; }), kFormat,
         "wrong fExportedSize in file info"},
        {"LUX entries a byte long", lux([](SLUXBlock& b) { b.fEntries.back().fLength = 401; }), kFormat,
         "wrong fExportedSize in file info"},
        {"QLT block of 27 bytes", LoopFile(kQLTFrames, shortQlt), kFormat, "couldn't read Quillet chunk"},
        {"QLT slices past the chunk", qlt([](SQLTBlock& b) { b.fCount = 4; }), kFormat, "couldn't read Quillet chunk"},
        {"QLT version 2.0", qlt([](SQLTBlock& b) { b.fMajor = 2; }), kFormat, "bad Quillet chunk version"},
        {"QLT loop mode 13", qlt([](SQLTBlock& b) { b.fLoopMode = 13; }), kFormat, "invalid loop mode"},
        {"QLT loop mode 9", qlt([](SQLTBlock& b) { b.fLoopMode = 9; }), kFormat, "invalid loop mode"},
        {"QLT without slices", qlt([](SQLTBlock& b) { b.fSlices.clear(); }), kFormat,
         "zero or negativ slice count in app specific chunk"},
        {"QLT count 0xFFFF", qlt([](SQLTBlock& b) { b.fCount = 0xFFFF; }), kFormat,
         "zero or negativ slice count in app specific chunk"},
        {"QLT empty loop", qlt([](SQLTBlock& b) { b.fLoopStart = 500, b.fLoopEnd = 500; }), kFormat,
         "invalid loop points"},
        {"QLT loop backwards", qlt([](SQLTBlock& b) { b.fLoopStart = 600, b.fLoopEnd = 500; }), kFormat,
         "invalid loop points"},
        {"QLT loop past the sound", qlt([](SQLTBlock& b) { b.fLoopEnd = kQLTFrames + 1; }), kFormat,
         "invalid loop points"},
    };
    for (const SRow& row : rows) {
        const SCaughtFailure caught = CatchFailure([&] { CQuilletFile file(MediaOf(row.fBytes)); });
        EXPECT_EQ(caught.fCode, row.fCode) << row.fName << ": " << caught.fMessage;
        EXPECT_EQ(caught.fMessage, row.fMessage) << row.fName;
    }
}

// The checks that identification already makes: reached when a block is read on its own.
TEST(LegacyLoopFile, ApplicationBlocksCheckTheirSignatureAndMagic) {
    const auto readLux = [](TBytes body) {
        COwnedMemoryMedia media(body.size(), body.data());
        CLUXApplicationBlock block(&media);
    };
    const auto readQlt = [](TBytes body) {
        COwnedMemoryMedia media(body.size(), body.data());
        CQLTApplicationBlock block(&media);
    };
    SLUXBlock lux = FourSliceLUXBlock();
    lux.fSignature = "Qlet";
    EXPECT_FAILURE(readLux(LUXBlockBody(lux)), XFormatViolation, "bad app signature for app-specific chunk");
    lux = FourSliceLUXBlock();
    lux.fMagic = 0xD1D1D1DB;
    EXPECT_FAILURE(readLux(LUXBlockBody(lux)), XFormatViolation, "bad magic number in app specific chunk");
    lux = FourSliceLUXBlock();
    lux.fMinor = 99;
    readLux(LUXBlockBody(lux));  // any minor version of family 1
    EXPECT_FAILURE(CLUXApplicationBlock(nullptr), XFormatViolation, "can't read app specific chunk");

    SQLTBlock qlt = ThreeSliceQLTBlock();
    qlt.fSignature = "LUX ";
    EXPECT_FAILURE(readQlt(QLTBlockBody(qlt)), XFormatViolation, "bad Quillet chunk signature");
    qlt = ThreeSliceQLTBlock();
    qlt.fMagic = 0;
    EXPECT_FAILURE(readQlt(QLTBlockBody(qlt)), XFormatViolation, "bad Quillet chunk magic");
    EXPECT_FAILURE(CQLTApplicationBlock(nullptr), XFormatViolation, "couldn't read Quillet chunk");
}

// The pieces are read afresh on every call, so a file changed after it was opened is checked
// again; the settings reader has its own message for a QLT sound that is not 16-bit mono.
TEST(LegacyLoopFile, ReadersCheckTheFileAgain) {
    const TBytes bytes = ThreeSliceQLTFile();
    auto media = std::make_shared<COwnedMemoryMedia>(bytes.size(), bytes.data());
    const CQuilletFile file(media);
    // COMM is the first member: FORM header 12, COMM header 8; the sample size is at body + 6.
    const uint8_t eightBits[2] = {0, 8};
    media->WriteAt(12 + 8 + 6, 2, eightBits);
    EXPECT_FAILURE(file.ReadSettings(), XFormatViolation, "qlt file that isn't 16-bit mono");
    auto sample = std::make_unique<C16BitWaveSample>(44100, 10, false);
    CSliceSequence slices(sample.get());
    EXPECT_FAILURE(file.ReadSlices(slices), XFormatViolation, "QLT file that isn't 16-bit mono");
    EXPECT_EQ(slices.GetSliceCount(), 0);
}

// A plain AIFF file for the AIFF reader itself.
TBytes PlainAIFF(const SCommon& common, const TBytes& frames, uint32_t offset = 0) {
    return FormAIFF({Chunk("COMM", CommonBody(common)), Chunk("SSND", SoundDataBody(frames, offset))});
}

std::unique_ptr<CABCWaveSample> ReadPlainSound(const TBytes& bytes, CLUX2DecompressCallback* callback = nullptr) {
    COwnedMemoryMedia media(bytes.size(), bytes.data());
    CLegacyAIFFReader reader(media);
    return reader.ReadSound(reader.ReadFormat(), callback);
}

TEST(LegacyAIFFReader, ReadsEverySampleSizeItTakes) {
    {
        // 8-bit samples are signed: 0x80 is the lowest, scaled by 256.
        const auto sample = ReadPlainSound(PlainAIFF({1, 4, 8, kRate22050, "NONE"}, {0x80, 0x7F, 0x01, 0x00}));
        EXPECT_EQ(sample->GetBitDepth(), 16);
        EXPECT_EQ(sample->GetSampleRate(), 22050u);
        EXPECT_EQ(Channel16(*sample, 1), (std::vector<int16_t>{-32768, 32512, 256, 0}));
    }
    {
        const auto sample = ReadPlainSound(PlainAIFF({2, 2, 16, kRate44100, std::nullopt},
                                                     Samples16({1, -2, 32767, -32768})));
        EXPECT_EQ(sample->GetChannelCount(), 2);
        EXPECT_EQ(Channel16(*sample, 1), (std::vector<int16_t>{1, 32767}));
        EXPECT_EQ(Channel16(*sample, 2), (std::vector<int16_t>{-2, -32768}));
    }
    {
        const auto sample =
            ReadPlainSound(PlainAIFF({1, 3, 24, kRate8000, std::nullopt},
                                     {0x80, 0x00, 0x00, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE}));
        EXPECT_EQ(sample->GetBitDepth(), 24);
        EXPECT_EQ(sample->GetSampleRate(), 8000u);
        EXPECT_EQ(Channel24(*sample, 1), (std::vector<int32_t>{-8388608, 8388607, -2}));
    }
    for (const uint16_t size : {20, 22}) {
        // Left-justified in three bytes: read as the 24-bit value.
        const auto sample = ReadPlainSound(PlainAIFF({1, 2, size, kRate44100, std::nullopt},
                                                     {0x12, 0x34, 0x50, 0xED, 0xCB, 0xB0}), nullptr);
        EXPECT_EQ(Channel24(*sample, 1), (std::vector<int32_t>{0x123450, -0x123450})) << size;
    }
    {
        // The data starts after the offset.
        const auto sample = ReadPlainSound(PlainAIFF({1, 2, 16, kRate44100, std::nullopt}, Samples16({7, 8}), 5));
        EXPECT_EQ(Channel16(*sample, 1), (std::vector<int16_t>{7, 8}));
    }
}

TEST(LegacyAIFFReader, RefusesSoundItCannotTake) {
    struct SRow {
        const char* fName;
        SCommon fCommon;
        size_t fBytes;
        std::string fMessage;
    };
    const SRow rows[] = {
        {"7 bits", {1, 4, 7, kRate44100, std::nullopt}, 4, "bad bytes/frame"},
        {"25 bits", {1, 4, 25, kRate44100, std::nullopt}, 16, "bad bytes/frame"},
        {"32 bits", {1, 4, 32, kRate44100, std::nullopt}, 16, "bad bytes/frame"},
        {"12 bits", {1, 4, 12, kRate44100, std::nullopt}, 8, "bad CWaveSampleInfo format"},
        {"3 channels", {3, 4, 16, kRate44100, std::nullopt}, 24, "bad CWaveSampleInfo format"},
        {"no channels", {0, 4, 16, kRate44100, std::nullopt}, 8, "bad CWaveSampleInfo format"},
        {"no frames", {1, 0, 16, kRate44100, std::nullopt}, 0, "zero or negative # of frames"},
        {"2^31 frames", {1, 0x80000000u, 16, kRate44100, std::nullopt}, 8, "zero or negative # of frames"},
        {"a byte short", {2, 4, 16, kRate44100, std::nullopt}, 15, "SSND chunk too short for its frames"},
        // Checked before allocating: 2^31 - 1 stereo 24-bit frames would need 12 GB.
        {"huge count", {2, 0x7FFFFFFFu, 24, kRate44100, std::nullopt}, 6, "SSND chunk too short for its frames"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fName);
        EXPECT_FAILURE(ReadPlainSound(PlainAIFF(row.fCommon, TBytes(row.fBytes, 0))), XFormatViolation, row.fMessage);
    }
    // The offset counts against the data: offset 1, then the 4 bytes two frames need.
    const TBytes offsetSound = {0, 0, 0, 1, 0, 0, 0, 0, 1, 2, 3, 4};
    EXPECT_FAILURE(ReadPlainSound(FormAIFF({Chunk("COMM", CommonBody({1, 2, 16, kRate44100, std::nullopt})),
                                            Chunk("SSND", offsetSound)})),
                   XFormatViolation, "SSND chunk too short for its frames");
    EXPECT_FAILURE(ReadPlainSound(FormAIFF({Chunk("COMM", CommonBody({1, 2, 16, kRate44100, std::nullopt}))})),
                   XFormatViolation, "");
    const TBytes shortCommon = FormAIFF({Chunk("COMM", TBytes(17, 0))});
    COwnedMemoryMedia media(shortCommon.size(), shortCommon.data());
    CLegacyAIFFReader reader(media);
    EXPECT_FAILURE(reader.ReadFormat(), XFormatViolation, "COMM chunk too short");
    const TBytes notAIFF = {'F', 'O', 'R', 'M', 0, 0, 0, 4, 'A', 'I', 'F', 'C'};
    COwnedMemoryMedia aifc(notAIFF.size(), notAIFF.data());
    EXPECT_FAILURE(CLegacyAIFFReader{aifc}, XFormatViolation, "");
}

TEST(LegacyAIFFReader, ReportsProgressPerBlockAndStops) {
    // One frame more than a block: two blocks.
    constexpr uint32_t kFrames = (1u << 20) + 1;
    const TBytes bytes = PlainAIFF({1, kFrames, 16, kRate44100, std::nullopt}, TBytes(size_t(kFrames) * 2, 1));
    CRecordingCallback running;
    const auto sample = ReadPlainSound(bytes, &running);
    EXPECT_EQ(sample->GetFrameCount(), int32_t(kFrames));
    EXPECT_EQ(sample->Get16(int32_t(kFrames) - 1, 1), 0x0101);
    EXPECT_EQ(running.fCalls, (std::vector<int64_t>{0, 1 << 20, kFrames}));
    CRecordingCallback stopping(2);
    EXPECT_FAILURE(ReadPlainSound(bytes, &stopping), XAbort, "callback cancelled");
    EXPECT_EQ(stopping.fCalls, (std::vector<int64_t>{0, 1 << 20}));
}

TEST(LegacyLoopFile, ReadsTheSoundSampleForSample) {
    const CQuilletFile file(MediaOf(FourSliceLUXFile()));
    const std::unique_ptr<CABCWaveSample> sample = file.ReadSound(nullptr);
    EXPECT_EQ(sample->GetChannelCount(), 1);
    EXPECT_EQ(sample->GetBitDepth(), 16);
    EXPECT_EQ(Channel16(*sample, 1), Ramp(kLUXFrames));
}

}  // namespace
