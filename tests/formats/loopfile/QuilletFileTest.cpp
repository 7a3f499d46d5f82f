#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/16BitWaveSample.h"
#include "engine/LUXObject.h"
#include "engine/QuilletSequencer.h"
#include "engine/SliceSequence.h"
#include "formats/loopfile/LUXObjectReading.h"
#include "formats/loopfile/QuilletFile.h"
#include "tests/formats/lux2/LUX2TestSupport.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/RecordingDecompressCallback.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

class CRecordingProgress : public IProgressReporter {
public:
    explicit CRecordingProgress(bool stop = false) : fStop(stop) {}
    void Progress(int32_t permille) override { fCalls.push_back(permille); }
    bool IsStopRequested() const override { return fStop; }
    std::vector<int32_t> fCalls;

private:
    bool fStop;
};

std::vector<int32_t> AllSamples(const CABCWaveSample& sample) {
    std::vector<int32_t> values(size_t(sample.GetFrameCount()) * 2);
    sample.GetInterleaved24(0, sample.GetFrameCount(), values.data());
    return values;
}

void ExpectSameSlices(const CSliceSequence& actual, const CSliceSequence& expected) {
    ASSERT_EQ(actual.GetSliceCount(), expected.GetSliceCount());
    for (int32_t i = 0; i < expected.GetSliceCount(); ++i) {
        const CSlice& a = *actual.GetSlice(i);
        const CSlice& e = *expected.GetSlice(i);
        EXPECT_EQ(a.GetPosition(), e.GetPosition()) << i;
        EXPECT_EQ(a.GetLevel(), e.GetLevel()) << i;
        EXPECT_EQ(a.GetKind(), e.GetKind()) << i;
        EXPECT_EQ(a.IsSelected(), e.IsSelected()) << i;
        EXPECT_EQ(a.GetLength(), e.GetLength()) << i;
    }
    EXPECT_EQ(actual.GetSensitivity(), expected.GetSensitivity());
    EXPECT_EQ(actual.GetGateSensitivity(), expected.GetGateSensitivity());
}

TEST(QuilletFile, GivesBackWhatWasWritten) {
    struct SCase {
        int32_t fDepth;
        int32_t fChannels;
    };
    for (const SCase c : {SCase{16, 1}, SCase{16, 2}, SCase{24, 1}, SCase{24, 2}}) {
        SCOPED_TRACE(testing::Message() << c.fDepth << "-bit, " << c.fChannels << " channels");
        SLoop loop = MakeLoop(c.fDepth, c.fChannels, 3000, 96000);
        ASSERT_EQ(EqualFields(loop.fSettings, SLoopFileSettings()), std::vector<std::string>())
            << "every setting of every group away from its default";
        loop.fSample->BuildPreview();
        loop.fSlices->UpdateSliceLengths();
        const TBytes bytes = WriteLoop(loop);
        const CQuilletFile file(MediaOf(bytes));
        EXPECT_EQ(file.GetKind(), ELoopFileKind::kLUX2);
        EXPECT_EQ(file.ReadSettings(), loop.fSettings);

        std::unique_ptr<CABCWaveSample> sample = file.ReadSound(nullptr);
        EXPECT_EQ(sample->GetBitDepth(), c.fDepth);
        EXPECT_EQ(sample->GetChannelCount(), c.fChannels);
        EXPECT_EQ(sample->GetSampleRate(), 96000u);
        EXPECT_EQ(sample->GetFrameCount(), 3000);
        EXPECT_EQ(AllSamples(*sample), AllSamples(*loop.fSample));
        EXPECT_EQ(sample->GetLeftLocator(), loop.fSettings.fLeftLocator);
        EXPECT_EQ(sample->GetRightLocator(), loop.fSettings.fRightLocator);

        sample->BuildPreview();
        CSliceSequence slices(sample.get());
        file.ReadSlices(slices);
        ExpectSameSlices(slices, *loop.fSlices);

        const SLoopFileInfo& info = file.GetInfo();
        EXPECT_EQ(info.fChannelCount, c.fChannels);
        EXPECT_EQ(info.fBitDepth, c.fDepth);
        EXPECT_EQ(info.fSampleRate, 96000u);
        EXPECT_EQ(info.fFrameCount, 3000);
        EXPECT_EQ(info.fLoopStart, 10);
        EXPECT_EQ(info.fLoopEnd, 150);
        EXPECT_EQ(info.fGeneral.fSliceCount, 4u);
        EXPECT_EQ(info.fGeneral.fBars, 3);
        EXPECT_EQ(info.fGeneral.fPreviewTempo, 98765);
        EXPECT_EQ(info.fRulerUnits, 287u);
        EXPECT_EQ(info.fExportSize, 0x01234567u);
        SNode tree = Parse(bytes);
        const double stored = double(tree.Find("SDAT")->fBody.size());
        EXPECT_DOUBLE_EQ(info.fCompressionRatio, 3000.0 * c.fChannels * (c.fDepth == 16 ? 2 : 4) / stored);
    }
}

TEST(QuilletFile, WritesTheContainerInOrderWithVersionsByDepth) {
    for (const int32_t depth : {16, 24}) {
        const TBytes bytes = WriteLoop(MakeLoop(depth, 1));
        SNode tree = Parse(bytes);
        ASSERT_EQ(tree.fMembers.size(), 1u);
        const SNode& file = tree.fMembers[0];
        EXPECT_EQ(file.fId + file.fType, "CAT LUX2");
        std::string order;
        for (const SNode& member : file.fMembers) order += (member.IsGroup() ? member.fType : member.fId) + " ";
        EXPECT_EQ(order, "HEAD CREI GLOB QUIL QLTX DEVL SLCL SINF SDAT ");
        const SNode& effects = file.fMembers[5];
        ASSERT_EQ(effects.fMembers.size(), 3u);
        EXPECT_EQ(effects.fMembers[0].fId + effects.fMembers[1].fId + effects.fMembers[2].fId, "TRSHEQ  COMP");
        EXPECT_EQ(file.fMembers[6].fMembers.size(), 4u);

        // 2.0 for 16-bit, 3.0 for 24-bit, in HEAD after the magic and at the start of QUIL.
        const TBytes version = {0xBC, uint8_t(depth == 16 ? 2 : 3), 0, 0, 0};
        const SNode& head = file.fMembers[0];
        EXPECT_EQ(TBytes(head.fBody.begin() + 4, head.fBody.begin() + 9), version);
        EXPECT_EQ(TBytes(file.fMembers[3].fBody.begin(), file.fMembers[3].fBody.begin() + 5), version);
        // The empty header text makes a body of 29 bytes: size 29 and one pad byte.
        EXPECT_EQ(BigEndianAt(bytes, head.fHeaderOffset + 4), 29u);
        EXPECT_EQ(file.fMembers[1].fHeaderOffset, head.fHeaderOffset + 8 + 30);
        EXPECT_EQ(bytes[head.fBodyOffset + 29], 0);
        EXPECT_EQ(file.fMembers[8].fBody.size() % 4, 0u);
    }
}

TEST(QuilletFile, WritesTheMakersDetailsAndReadsThemAsCreatorInfo) {
    const TBytes bytes = WriteLoop(MakeLoop(16, 1));
    SLoopFileCreatorInfo info;
    ASSERT_TRUE(CQuilletFile(MediaOf(bytes)).ReadCreatorInfo(info));
    EXPECT_EQ(info.fName, "Moltrane Software Quillet");
    EXPECT_EQ(info.fLegalNotice, "\xC2\xA9 Moltrane Software");
    EXPECT_EQ(info.fWebAddress, "https://www.moltrane.example/quillet");
    EXPECT_EQ(info.fEmailAddress, "support@moltrane.example");
    EXPECT_EQ(info.fFifth, "");

    SNode tree = Parse(bytes);
    tree.fMembers[0].Remove("CREI");
    EXPECT_FALSE(CQuilletFile(MediaOf(Serialise(tree))).ReadCreatorInfo(info)) << "creator info is optional";
}

TEST(QuilletFile, ShowsTheEffectFlagsOfTheExtraInfoOrElseOfTheEffectChunks) {
    SLoop loop = MakeLoop(16, 2);
    loop.fSettings.fEnvelope.fOn = false;
    loop.fSettings.fEqualizer.fOn = true;
    loop.fSettings.fTransientShaper.fOn = false;
    const TBytes bytes = WriteLoop(loop);
    const SLoopFileShownSettings withExtra = CQuilletFile(MediaOf(bytes)).ReadShownSettings();
    EXPECT_TRUE(withExtra.fTransientShaperOn && withExtra.fEqualizerOn && withExtra.fCompressorOn)
        << "the extra info's three flags are written 1";
    EXPECT_EQ(withExtra.fInfo.fGeneral.fBars, 3);
    EXPECT_TRUE(withExtra.fInfo.fSilenceSelected);

    SNode tree = Parse(bytes);
    tree.fMembers[0].Remove("QLTX");
    const CQuilletFile file(MediaOf(Serialise(tree)));
    const SLoopFileShownSettings shown = file.ReadShownSettings();
    EXPECT_FALSE(shown.fTransientShaperOn) << "TRSH's flag";
    EXPECT_TRUE(shown.fEqualizerOn);
    EXPECT_FALSE(shown.fCompressorOn) << "COMP's flag";
    // Without the extra info the settings keep their defaults for what it holds.
    const SLoopFileSettings settings = file.ReadSettings();
    const SLoopFileSettings defaults;
    EXPECT_EQ(settings.fEditTool, defaults.fEditTool);
    EXPECT_EQ(settings.fWindowState1, defaults.fWindowState1);
    EXPECT_EQ(settings.fWindowStateFlag, defaults.fWindowStateFlag);
}

TEST(QuilletFile, ReadsMembersInAnyOrder) {
    const SLoop loop = MakeLoop(16, 1);
    SNode tree = Parse(WriteLoop(loop));
    // HEAD stays first: it is part of the signature.
    std::vector<SNode>& members = tree.fMembers[0].fMembers;
    std::reverse(members.begin() + 1, members.end());
    const TBytes bytes = Serialise(tree);
    EXPECT_EQ(CQuilletFile(MediaOf(bytes)).ReadSettings(), loop.fSettings);
    EXPECT_NO_THROW(ReadEverything(bytes));
}

TEST(QuilletFile, IdentifiesLUX2FilesByTheirSignatureOnly) {
    const TBytes lux2 = WriteLoop(MakeLoop(16, 1));
    EXPECT_EQ(CQuilletFile::Identify(*MediaOf(lux2)), ELoopFileKind::kLUX2);
    EXPECT_EQ(CQuilletFile::Identify(*MediaOf(TBytes(lux2.begin(), lux2.begin() + 24))), ELoopFileKind::kLUX2);
    EXPECT_EQ(CQuilletFile::Identify(*MediaOf(TBytes(lux2.begin(), lux2.begin() + 23))), ELoopFileKind::kNone);
    const TBytes aiff = Cat({Text("FORM"), U32(16), Text("AIFF"), Text("APPL"), U32(4), Text("QLT ")});
    EXPECT_EQ(CQuilletFile::Identify(*MediaOf(aiff)), ELoopFileKind::kNone);
    for (const size_t at : {size_t(0), size_t(8), size_t(12), size_t(23)}) {
        TBytes damaged = lux2;
        damaged[at] ^= 0x20;
        EXPECT_EQ(CQuilletFile::Identify(*MediaOf(damaged)), ELoopFileKind::kNone) << at;
        SCOPED_TRACE(at);
        EXPECT_FAILURE(CQuilletFile{MediaOf(damaged)}, XUnsupportedFormat, "invalid file type");
    }
    const std::string wave = WriteToBytes(*MakeSample(16, 1, 10), ESoundFileType::kWave);
    EXPECT_FAILURE(CQuilletFile{MediaOf(TBytes(wave.begin(), wave.end()))}, XUnsupportedFormat, "invalid file type");
}

TEST(QuilletFile, RefusesAHeadVersion40AsTooNew) {
    SNode tree = Parse(WriteLoop(MakeLoop(16, 1)));
    tree.Find("HEAD")->fBody[5] = 4;
    EXPECT_FAILURE(CQuilletFile{MediaOf(Serialise(tree))}, XVersionTooNew, "old head chunk");
}

TEST(QuilletFile, RefusesMissingChunksAndGroups) {
    const TBytes bytes = WriteLoop(MakeLoop(16, 1));
    for (const char* id : {"GLOB", "QUIL", "SINF", "SDAT"}) {
        SNode tree = Parse(bytes);
        tree.fMembers[0].Remove(id);
        SCOPED_TRACE(id);
        EXPECT_FAILURE(CQuilletFile{MediaOf(Serialise(tree))}, XFormatViolation, "");
    }
    for (const char* id : {"DEVL", "TRSH", "EQ  ", "COMP"}) {
        SNode tree = Parse(bytes);
        if (std::string(id) == "DEVL") {
            tree.fMembers[0].Remove(id);
        } else {
            tree.Find("DEVL")->Remove(id);
        }
        const CQuilletFile file(MediaOf(Serialise(tree)));
        SCOPED_TRACE(id);
        EXPECT_FAILURE(file.ReadSettings(), XFormatViolation, "");
    }
    SNode tree = Parse(bytes);
    // Without HEAD first the file is not recognised at all.
    tree.fMembers[0].Remove("HEAD");
    EXPECT_FAILURE(CQuilletFile{MediaOf(Serialise(tree))}, XUnsupportedFormat, "invalid file type");
    tree = Parse(bytes);
    tree.fMembers[0].Remove("SLCL");
    const CQuilletFile file(MediaOf(Serialise(tree)));
    CSliceSequence slices(nullptr);
    EXPECT_FAILURE(file.ReadSlices(slices), XFormatViolation, "");
    EXPECT_FAILURE(CQuilletFile{MediaOf(Serialise(SNode()))}, XUnsupportedFormat, "invalid file type");
}

TEST(QuilletFile, ChecksTheSliceListBeforeReadingAnySlice) {
    const SLoop loop = MakeLoop(16, 1);
    const TBytes bytes = WriteLoop(loop);
    std::unique_ptr<CABCWaveSample> sample = CQuilletFile(MediaOf(bytes)).ReadSound(nullptr);

    // One chunk fewer than GLOB counts, and the first one damaged: the count fails first.
    SNode tree = Parse(bytes);
    SNode& list = *tree.Find("SLCL");
    list.fMembers.pop_back();
    list.fMembers[0].fBody[10] = 8;
    {
        CSliceSequence slices(sample.get());
        EXPECT_FAILURE(CQuilletFile(MediaOf(Serialise(tree))).ReadSlices(slices), XFormatViolation,
                       "wrong # of chunks in kLUX2SliceCatIFFType cat");
        EXPECT_EQ(slices.GetSliceCount(), 0);
    }
    // A member that is not a slice.
    tree = Parse(bytes);
    tree.Find("SLCL")->fMembers[2].fId = "SLCX";
    {
        CSliceSequence slices(sample.get());
        EXPECT_FAILURE(CQuilletFile(MediaOf(Serialise(tree))).ReadSlices(slices), XFormatViolation,
                       "wrong chunks header kind in kLUX2SliceCatIFFType cat");
        EXPECT_EQ(slices.GetSliceCount(), 0) << "nothing is appended from a damaged list";
    }
    // A group among the slices.
    tree = Parse(bytes);
    SNode group;
    group.fId = "CAT ";
    group.fType = "SLCE";
    tree.Find("SLCL")->fMembers[1] = group;
    {
        CSliceSequence slices(sample.get());
        EXPECT_FAILURE(CQuilletFile(MediaOf(Serialise(tree))).ReadSlices(slices), XFormatViolation,
                       "wrong chunks header kind in kLUX2SliceCatIFFType cat");
    }
    // Slice flags, read through the file.
    for (const auto& [flags, message] : {std::pair<uint8_t, const char*>{3, "invalid data in slice chunk"},
                                         std::pair<uint8_t, const char*>{8, "bad flags in slice chunk"}}) {
        tree = Parse(bytes);
        tree.Find("SLCL")->fMembers[1].fBody[10] = flags;
        CSliceSequence slices(sample.get());
        EXPECT_FAILURE(CQuilletFile(MediaOf(Serialise(tree))).ReadSlices(slices), XFormatViolation, message);
    }
}

// Another writer's list may be unordered, repeat a position or point past the sound; the
// sequence keeps its slices ordered, unique and inside the sample.
TEST(QuilletFile, ReadsStoredSlicesIntoAnOrderedListInsideTheSound) {
    const TBytes bytes = WriteLoop(MakeLoop(16, 1));
    SNode tree = Parse(bytes);
    std::vector<SNode>& stored = tree.Find("SLCL")->fMembers;
    std::reverse(stored.begin(), stored.end());
    stored.push_back(stored[0]);             // position 150 again, normal, level 200
    stored.back().fBody[9] = 250;            // level 250: the larger level wins
    stored.back().fBody[10] = 2;             // locked: a locked duplicate locks the slice
    stored.push_back(stored[0]);
    stored.back().fBody[3] = 200;            // position 200, the frame after the last
    const TBytes glob = U32(uint32_t(stored.size()));
    std::copy(glob.begin(), glob.end(), tree.Find("GLOB")->fBody.begin());
    const CQuilletFile file(MediaOf(Serialise(tree)));
    std::unique_ptr<CABCWaveSample> sample = file.ReadSound(nullptr);
    CSliceSequence slices(sample.get());
    file.ReadSlices(slices);
    ASSERT_EQ(slices.GetSliceCount(), 4);
    const int32_t positions[] = {0, 50, 100, 150};
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(slices.GetSlice(i)->GetPosition(), positions[i]);
    EXPECT_EQ(slices.GetSlice(3)->GetLevel(), 250);
    EXPECT_EQ(slices.GetSlice(3)->GetKind(), ESliceKind::kLocked);
    EXPECT_TRUE(slices.GetSlice(3)->IsSelected());
}

TEST(QuilletFile, ReadsAGridCodeOf1AsBeatsAndSavesItAs12) {
    SLoop loop = MakeLoop(16, 1);
    SNode tree = Parse(WriteLoop(loop));
    tree.Find("QUIL")->fBody[6] = 1;
    const SLoopFileSettings settings = CQuilletFile(MediaOf(Serialise(tree))).ReadSettings();
    EXPECT_EQ(settings.fRulerUnits, 288u);
    loop.fSettings = settings;
    EXPECT_EQ(Parse(WriteLoop(loop)).Find("QUIL")->fBody[6], 12);
}

TEST(QuilletFile, ReadsTheTimesOfAVersion10HeaderOnTheOldScale) {
    SLoop loop = MakeLoop(16, 1);
    loop.fSettings.fEnvelope.fAttack = 2;         // v 1: entry 77
    loop.fSettings.fEnvelope.fDecay = 127;        // the endless decay
    loop.fSettings.fTransientShaper.fAttack = 30; // v 10: entry 121
    loop.fSettings.fTransientShaper.fRelease = 0; // v 16: entry 156
    SNode tree = Parse(WriteLoop(loop));
    tree.Find("HEAD")->fBody[5] = 1;
    const SLoopFileSettings settings = CQuilletFile(MediaOf(Serialise(tree))).ReadSettings();
    EXPECT_EQ(settings.fEnvelope.fAttack, 77);
    EXPECT_EQ(settings.fEnvelope.fDecay, 1023);
    EXPECT_EQ(settings.fTransientShaper.fAttack, 121);
    EXPECT_EQ(settings.fTransientShaper.fRelease, 156);
}

TEST(QuilletFile, ClampsWhatItLoads) {
    SNode tree = Parse(WriteLoop(MakeLoop(16, 1)));
    std::vector<uint8_t>& glob = tree.Find("GLOB")->fBody;
    glob[7] = 0;  // numerator
    glob[8] = 0;  // denominator
    const SLoopFileSettings settings = CQuilletFile(MediaOf(Serialise(tree))).ReadSettings();
    EXPECT_EQ(settings.fLoop.GetTimeSignatureNumerator(), 1);
    EXPECT_EQ(settings.fLoop.GetTimeSignatureDenominator(), 1);
}

// Values a document should not hold still make a file that opens: each is clamped into the
// range the reader accepts.
TEST(QuilletFile, WritesOutOfRangeDocumentValuesAsAReadableFile) {
    SLoop loop = MakeLoop(16, 2);
    SLoopFileSettings& s = loop.fSettings;
    s.fLoop.SetBars(5000);
    s.fLoop.SetBeats(12);
    s.fLoop.SetTimeSignatureNumerator(40);
    s.fLoop.SetTimeSignatureDenominator(64);
    s.fSensitivity = 150;
    s.fGateSensitivity = -4;
    s.fGain = -1;
    s.fPitch = 3000;
    s.fLoop.SetPreviewTempo(1000000);
    s.fRulerUnits = 5;
    s.fEditTool = 3;
    s.fEnvelope.fAttack = 2000;
    s.fEnvelope.fStretch = 500;
    s.fEqualizer.fLowCut = 0;
    s.fEqualizer.fHighCut = 30000;
    s.fTransientShaper.fThreshold = 1000;
    s.fTransientShaper.fRelease = -9;
    s.fLeftLocator = 500;
    s.fRightLocator = 400;
    loop.fSlices->GetSlice(1)->SetLevel(-5);
    const TBytes bytes = WriteLoop(loop);
    ASSERT_NO_THROW(ReadEverything(bytes));
    const SLoopFileSettings read = CQuilletFile(MediaOf(bytes)).ReadSettings();
    EXPECT_EQ(read.fLoop.GetBars(), 999);
    EXPECT_EQ(read.fLoop.GetBeats(), 7);
    EXPECT_EQ(read.fLoop.GetTimeSignatureNumerator(), 15);
    EXPECT_EQ(read.fLoop.GetTimeSignatureDenominator(), 15);
    EXPECT_EQ(read.fSensitivity, 99);
    EXPECT_EQ(read.fGateSensitivity, 0);
    EXPECT_EQ(read.fGain, 0);
    EXPECT_EQ(read.fPitch, 2400);
    EXPECT_EQ(read.fLoop.GetPreviewTempo(), 450000);
    EXPECT_EQ(read.fRulerUnits, 286u);
    EXPECT_EQ(read.fEditTool, 685u);
    EXPECT_EQ(read.fEnvelope.fAttack, 520);
    EXPECT_EQ(read.fEnvelope.fStretch, 100);
    EXPECT_EQ(read.fEqualizer.fLowCut, 15);
    EXPECT_EQ(read.fEqualizer.fHighCut, 20000);
    EXPECT_EQ(read.fTransientShaper.fThreshold, 127);
    EXPECT_EQ(read.fTransientShaper.fRelease, 134);
    EXPECT_EQ(read.fLeftLocator, 199);
    EXPECT_EQ(read.fRightLocator, 200);
}

TEST(QuilletFile, SavesAndOpensALoopWithoutALength) {
    SLoop loop = MakeLoop(16, 1);
    loop.fSettings.fLoop.SetBars(0);
    loop.fSettings.fLoop.SetBeats(0);
    const TBytes bytes = WriteLoop(loop);
    EXPECT_EQ(CQuilletFile(MediaOf(bytes)).ReadSettings(), loop.fSettings);
    EXPECT_FAILURE(ReadLUXObject(MediaOf(bytes)), XFormatViolation, "zero loop length");
}

TEST(QuilletFile, RefusesToWriteASoundTheFileCannotHold) {
    SLoop loop = MakeLoop(16, 1);
    loop.fSample = std::make_unique<C16BitWaveSample>(44100, 0, false);
    COwnedMemoryMedia media;
    EXPECT_FAILURE(WriteLUX2File(media, *loop.fSample, *loop.fSlices, loop.fSettings, nullptr), XStdInvalidArgument,
                   "a loop file holds at least one frame");
    EXPECT_EQ(media.GetSize(), 0u);
}

TEST(QuilletFile, DecodesExactlyOneBlockWithTwoProgressCalls) {
    SLoop loop = MakeLoop(16, 1, 1 << 20);
    CRecordingProgress writing;
    const TBytes bytes = WriteLoop(loop, &writing);
    EXPECT_EQ(writing.fCalls, std::vector<int32_t>({1000}));
    CRecordingCallback reading;
    std::unique_ptr<CABCWaveSample> sample = CQuilletFile(MediaOf(bytes)).ReadSound(&reading);
    EXPECT_EQ(reading.fCalls, std::vector<int64_t>({0, 1048576}));
    EXPECT_EQ(AllSamples(*sample), AllSamples(*loop.fSample));
}

TEST(QuilletFile, CodesLongerSoundsInBlocksOf2To20Frames) {
    SLoop loop = MakeLoop(16, 2, (1 << 20) * 2 + 5);
    CRecordingProgress writing;
    const TBytes bytes = WriteLoop(loop, &writing);
    // 1048576 / 2097157 and 2097152 / 2097157 of the work, in thousandths, truncated.
    EXPECT_EQ(writing.fCalls, std::vector<int32_t>({499, 999, 1000}));
    CRecordingCallback reading;
    std::unique_ptr<CABCWaveSample> sample = CQuilletFile(MediaOf(bytes)).ReadSound(&reading);
    EXPECT_EQ(reading.fCalls, std::vector<int64_t>({0, 1048576, 2097152, 2097157}));
    EXPECT_EQ(AllSamples(*sample), AllSamples(*loop.fSample));
}

TEST(QuilletFile, StopsWhenAskedWhileWritingAndReading) {
    const SLoop loop = MakeLoop(24, 2);
    CRecordingProgress stop(true);
    COwnedMemoryMedia media;
    EXPECT_FAILURE(WriteLUX2File(media, *loop.fSample, *loop.fSlices, loop.fSettings, &stop), XAbort, "stopped by lop");

    const TBytes bytes = WriteLoop(loop);
    CRecordingCallback first(1);
    EXPECT_FAILURE(CQuilletFile(MediaOf(bytes)).ReadSound(&first), XAbort, "stopped by callback");
    EXPECT_EQ(first.fCalls, std::vector<int64_t>({0}));
    CRecordingCallback last(2);
    EXPECT_NO_THROW(CQuilletFile(MediaOf(bytes)).ReadSound(&last)) << "the final call's answer is ignored";
}

TEST(QuilletFile, RefusesLengthsTheSoundDataCannotHoldBeforeAllocating) {
    const TBytes bytes = WriteLoop(MakeLoop(16, 2));
    struct SCase {
        uint32_t fLength;
        uint32_t fCode;
        const char* fMessage;
    };
    const SCase cases[] = {
        {0xFFFFFFFF, NSMishap::XUnsupportedFormat::kFailureCode, "too many frames"},
        {0x7FFFFFFF, NSMishap::XFormatViolation::kFailureCode, "sound chunk too short for its frames"},
        // 100000 stereo frames need at least 200000 bits, 25000 bytes; 200 noisy frames take far fewer.
        {100000, NSMishap::XFormatViolation::kFailureCode, "sound chunk too short for its frames"},
    };
    for (const SCase& c : cases) {
        SNode tree = Parse(bytes);
        std::vector<uint8_t>& sinf = tree.Find("SINF")->fBody;
        const TBytes length = U32(c.fLength);
        std::copy(length.begin(), length.end(), sinf.begin() + 6);
        const SCaughtFailure caught = CatchFailure([&] { CQuilletFile(MediaOf(Serialise(tree))).ReadSound(nullptr); });
        EXPECT_EQ(caught.fCode, c.fCode) << c.fLength;
        EXPECT_EQ(caught.fMessage, c.fMessage) << c.fLength;
    }
}

// The largest magnitude in [from, to).
float Peak(const std::vector<float>& signal, size_t from, size_t to) {
    float peak = 0.0f;
    for (size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(signal[i]));
    return peak;
}

TEST(QuilletFile, ReadsALoopObjectThatPlaysItsSlicesOnTimeAndRepeats) {
    // 8192 mono frames at 44100 Hz, one beat long: 44100 × 60 / 8192 = 322.998 BPM, so the
    // stored tempo 322998 plays the loop at its own speed. Two locked slices, at 0 and 4096,
    // each a 1024-frame square wave of ±0.5 (16384) and then silence.
    constexpr int32_t kFrames = 8192;
    SLoop loop;
    loop.fSample = std::make_unique<C16BitWaveSample>(44100, kFrames, false);
    for (int32_t start : {0, 4096})
        for (int32_t i = 0; i < 1024; ++i) loop.fSample->Set16(start + i, int16_t((i / 128) % 2 ? -16384 : 16384), 1);
    loop.fSlices = std::make_unique<CSliceSequence>(loop.fSample.get());
    for (int32_t start : {0, 4096}) loop.fSlices->InsertSlice(CSlice(start, 16384, ESliceKind::kLocked));
    loop.fSettings.fLoop.SetBars(0);
    loop.fSettings.fLoop.SetBeats(1);
    loop.fSettings.fLoop.SetPreviewTempo(322998);
    loop.fSettings.fEnvelope.fOn = false;
    loop.fSettings.fLeftLocator = 0;
    loop.fSettings.fRightLocator = kFrames;
    const std::unique_ptr<CLUXObject> object = ReadLUXObject(MediaOf(WriteLoop(loop)));
    ASSERT_TRUE(object->HasSlices());

    // Once past the loop's end, so that the repeat shows.
    std::vector<float> left(kFrames + 1024), right(kFrames + 1024);
    object->Render(int32_t(left.size()), left.data(), right.data());
    EXPECT_EQ(left, right) << "a mono loop sounds the same on both sides";
    // Each slice starts on its block and sounds at the voice's unity gain 0.8333333 × 0.5 over
    // the flat parts of the square wave; where the slices hold silence the output is silent.
    const float kLevel = 0.8333333f * 0.5f;
    for (size_t start : {size_t(0), size_t(4096), size_t(kFrames)}) {
        SCOPED_TRACE(start);
        EXPECT_NEAR(Peak(left, start + 64, start + 1024), kLevel, 1e-4);
        EXPECT_GT(Peak(left, start, start + 8), 0.0f) << "the slice starts at once";
    }
    EXPECT_EQ(Peak(left, 1536, 4096), 0.0f);
    EXPECT_EQ(Peak(left, 4096 + 1536, kFrames), 0.0f);
}

// The two-slice loop of the test above with a tone that the pitch, the envelope, the shaper and
// the equalizer all change, at 44100 Hz, one beat long.
SLoop MakeToneLoop() {
    constexpr int32_t kFrames = 8192;
    SLoop loop;
    loop.fSample = std::make_unique<C16BitWaveSample>(44100, kFrames, false);
    for (int32_t i = 0; i < kFrames; ++i) {
        const double decay = std::exp(-double(i % 4096) / 900.0);
        loop.fSample->Set16(i, int16_t(20000.0 * decay * (std::sin(i * 0.031) + 0.4 * std::sin(i * 0.47))), 1);
    }
    loop.fSample->SetLocators(loop.fSample->GetLoopKind(), 0, kFrames);
    loop.fSample->BuildPreview();
    loop.fSlices = std::make_unique<CSliceSequence>(loop.fSample.get());
    for (int32_t start : {0, 4096}) loop.fSlices->InsertSlice(CSlice(start, 16384, ESliceKind::kLocked));
    loop.fSlices->UpdateSliceLengths();
    loop.fSettings.fLoop.SetBars(0);
    loop.fSettings.fLoop.SetBeats(1);
    loop.fSettings.fLoop.SetPreviewTempo(260000);
    loop.fSettings.fLoop.SetPreviewOn(true);
    loop.fSettings.fLeftLocator = 0;
    loop.fSettings.fRightLocator = kFrames;
    return loop;
}

// A sequencer of the loop set up by hand as the loop object should be, played from the start.
std::vector<float> RenderByHand(const SLoop& loop, const SLoopFileSettings& s, int32_t frames) {
    CQuilletSequencer sequencer(loop.fSample.get(), loop.fSlices.get(), 44100);
    CLoopSettings settings;
    settings.SetBeats(s.fLoop.GetBeats());
    settings.SetPreviewTempo(s.fLoop.GetPreviewTempo());
    settings.SetPreviewOn(true);
    sequencer.SetLoopSettings(settings);
    sequencer.SetPitch(s.fPitch);
    sequencer.SetGain(s.fGain);
    sequencer.ChangeSampler([&](CQuilletSampler& sampler) {
        sampler.SetEnvelope(s.fEnvelope);
        sampler.SetTransientShaper(s.fTransientShaper);
    });
    sequencer.ChangeEqualizer([&](CEqualizerEffect& equalizer) { equalizer.SetSettings(s.fEqualizer); });
    sequencer.ResetPlayback();
    sequencer.PlayLoop();
    std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
    sequencer.Render(left.data(), right.data(), frames);
    return left;
}

TEST(QuilletFile, ALoopObjectPlaysWithItsFilesPitchGainAndEffects) {
    SLoop loop = MakeToneLoop();
    SLoopFileSettings& s = loop.fSettings;
    s.fPitch = -700;
    s.fGain = 2500;
    s.fEnvelope.fAttack = 90;
    s.fEnvelope.fDecay = 480;
    s.fEnvelope.fStretch = 70;
    s.fTransientShaper.fOn = true;
    s.fTransientShaper.fThreshold = 20;
    s.fTransientShaper.fRatio = 100;
    s.fTransientShaper.fAttack = 12;
    s.fTransientShaper.fRelease = 240;
    s.fEqualizer.fOn = true;
    s.fEqualizer.fLowCut = 80;
    s.fEqualizer.fLowFrequency = 300;
    s.fEqualizer.fLowGain = 9000;
    s.fEqualizer.fHighFrequency = 5000;
    s.fEqualizer.fHighGain = -12000;
    s.fEqualizer.fHighCut = 9000;
    const std::unique_ptr<CLUXObject> object = ReadLUXObject(MediaOf(WriteLoop(loop)));
    const CQuilletSequencer& sequencer = object->GetSequencer();
    EXPECT_EQ(sequencer.GetPitch(), -700);
    EXPECT_EQ(sequencer.GetGain(), 2500.0f);
    EXPECT_EQ(sequencer.GetSampler().GetDecay(), 480);
    EXPECT_TRUE(sequencer.GetSampler().IsShaperOn());
    EXPECT_TRUE(sequencer.GetEqualizer().IsOn());
    EXPECT_EQ(sequencer.GetEqualizer().GetHighGain(), -12000);

    // Twice round the loop, as the wave player plays it: at the output rate, from the start.
    constexpr int32_t kPlayed = 2 * 8192 + 1000;
    object->SetOutputRate(44100);
    object->Rewind();
    std::vector<float> left(kPlayed), right(kPlayed);
    object->Render(kPlayed, left.data(), right.data());
    EXPECT_EQ(left, RenderByHand(loop, s, kPlayed));
    EXPECT_EQ(left, right);
    // The same loop with the standard settings sounds different: the settings are heard.
    SLoopFileSettings standard;
    standard.fLoop.SetBeats(s.fLoop.GetBeats());
    standard.fLoop.SetPreviewTempo(s.fLoop.GetPreviewTempo());
    const std::vector<float> plain = RenderByHand(loop, standard, kPlayed);
    EXPECT_NE(left, plain);
    EXPECT_GT(Peak(left, 0, 4096), 1.5f * Peak(plain, 0, 4096)) << "2.5 times the gain, lessened by the shaper";
}

bool IsFormatFailure(uint32_t code) {
    return code == NSMishap::XFormatViolation::kFailureCode || code == NSMishap::XVersionTooNew::kFailureCode ||
           code == NSMishap::XUnsupportedFormat::kFailureCode;
}

// A small file cut at every length, and with every byte of its chunks' headers and bodies
// changed, fails with a format failure or reads: never anything else.
TEST(QuilletFile, SurvivesTruncationAndDamageAtEveryByte) {
    const TBytes bytes = WriteLoop(MakeLoop(16, 2, 60));
    for (size_t length = 0; length < bytes.size(); ++length) {
        const TBytes cut(bytes.begin(), bytes.begin() + long(length));
        const SCaughtFailure caught = CatchFailure([&] { ReadEverything(cut); });
        EXPECT_TRUE(IsFormatFailure(caught.fCode)) << "cut at " << length << ": " << caught.fMessage;
    }
    // Cutting inside the chunks with their sizes mended reaches each chunk reader's own checks.
    const SNode tree = Parse(bytes);
    std::vector<std::string> ids;
    for (const char* id : {"HEAD", "CREI", "GLOB", "QUIL", "QLTX", "TRSH", "EQ  ", "COMP", "SLCE", "SINF", "SDAT"}) {
        const size_t size = SNode(tree).Find(id)->fBody.size();
        for (size_t length = 0; length < size; ++length) {
            SNode cut = tree;
            std::vector<uint8_t>& body = cut.Find(id)->fBody;
            body.resize(length);
            const SCaughtFailure caught = CatchFailure([&] { ReadEverything(Serialise(cut)); });
            EXPECT_TRUE(caught.fCode == 0 || IsFormatFailure(caught.fCode))
                << id << " cut to " << length << ": " << caught.fMessage;
        }
    }
    size_t failures = 0;
    for (size_t at = 0; at < bytes.size(); ++at) {
        TBytes damaged = bytes;
        damaged[at] ^= 0xFF;
        const SCaughtFailure caught = CatchFailure([&] { ReadEverything(damaged); });
        EXPECT_TRUE(caught.fCode == 0 || IsFormatFailure(caught.fCode)) << "byte " << at << ": " << caught.fMessage;
        if (caught.fCode != 0) ++failures;
    }
    EXPECT_GT(failures, bytes.size() / 4) << "most header bytes matter";
}

}  // namespace
