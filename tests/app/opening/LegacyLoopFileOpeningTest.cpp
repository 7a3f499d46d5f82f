#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/opening/DocumentOpening.h"
#include "app/opening/SoundFileInfoCheck.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "app/resources/AlertIds.h"
#include "app/resources/NoteCounters.h"
#include "app/resources/ResourceReference.h"
#include "engine/SliceSequence.h"
#include "engine/WaveSample.h"
#include "tests/formats/legacy/LegacyLoopFileBuilder.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;
using namespace NSQuilletTest::NSLegacyLoopFile;

// Counters of the test's own, installed for its lifetime.
struct SInstalledNoteCounters {
    SInstalledNoteCounters() { SetNoteCounters(&fCounters); }
    ~SInstalledNoteCounters() { SetNoteCounters(nullptr); }
    CNoteCounters fCounters;
};

std::string Saved(const CTemporaryFolder& folder, const std::string& name, const TBytes& bytes) {
    return folder.Make(name, std::string(bytes.begin(), bytes.end()));
}

// 2000 frames in three slices (one of two pieces), 1 bar and 2 beats at 97.5 BPM.
TBytes LUXFile(const TBytes& rate = kRate44100) {
    SLUXBlock block;
    block.fLoopTicks = 3840 + 2 * 960;
    block.fTempo = 97500;
    block.fEntries = {{0, 1000, 7}, {1000, 1000, 7}, {2000, 1200, 8}, {3200, 800, 9}};
    SCommon common;
    common.fFrames = 2000;
    common.fRate = rate;
    return FormAIFF({Chunk("COMM", CommonBody(common)), Chunk("APPL", LUXBlockBody(block)),
                     Chunk("SSND", SoundDataBody(Samples16(Ramp(2000))))});
}

TBytes QLTFile(bool normalize) {
    SQLTBlock block;
    block.fNormalize = normalize ? 1 : 0;
    block.fLoopStart = 0;
    block.fLoopEnd = 44100;
    block.fSlices = {{0, 30000, 0}, {11025, 30000, 2}};
    return LoopFile(44100, QLTBlockBody(block));
}

std::unique_ptr<CQuilletDocument> OpenFile(const std::string& path) {
    CQuilletLengthyOperation operation("Open", true, nullptr);
    return OpenDocument(path, SDocumentSettings{}, operation);
}

const std::string kLuxNote = AlertReference(NSAlertIds::kLuxFileNote).GetAlert().fBody;
const std::string kNormalizeNote = AlertReference(NSAlertIds::kOldNormalizeOption).GetAlert().fBody;

std::vector<std::string> Bodies(const CScriptedAlertPresenter& presenter) {
    std::vector<std::string> bodies;
    for (const SAlert& alert : presenter.GetShown()) bodies.push_back(alert.fBody);
    return bodies;
}

TEST(NoteCounters, CountDownEachNoteOnItsOwn) {
    CNoteCounters counters;
    for (ENote note : {ENote::kLuxFile, ENote::kOldNormalizeOption, ENote::kEffectsNotAudible, ENote::kStoredOnly}) {
        EXPECT_EQ(counters.Get(note), 5);
    }
    struct SRow {
        int32_t fBefore;
        bool fShown;
        int32_t fAfter;
    };
    const SRow rows[] = {{5, true, 4}, {1, true, 0}, {0, false, 0}, {-3, false, -3}, {INT32_MIN, false, INT32_MIN}};
    for (const SRow& row : rows) {
        counters.Set(ENote::kOldNormalizeOption, row.fBefore);
        EXPECT_EQ(counters.MayShow(ENote::kOldNormalizeOption), row.fShown) << row.fBefore;
        EXPECT_EQ(counters.Get(ENote::kOldNormalizeOption), row.fAfter) << row.fBefore;
    }
    EXPECT_EQ(counters.Get(ENote::kLuxFile), 5);
    EXPECT_EQ(counters.Get(ENote::kEffectsNotAudible), 5);
}

TEST(LegacyLoopFileOpening, LUXFileBecomesADocumentWithItsSlicesAndLoop) {
    CTemporaryFolder folder;
    SInstalledNoteCounters notes;
    CScriptedAlertPresenter presenter;
    const auto document = OpenFile(Saved(folder, "drums.lux", LUXFile()));
    ASSERT_TRUE(document);
    EXPECT_EQ(document->GetWaveSample().GetFrameCount(), 2000);
    const SDocumentParameters p = document->GetDocumentParameters();
    // 5760 ticks: 1 bar (3840) and 2 beats of 960, in 4/4.
    EXPECT_EQ(p.fLoop.GetBars(), 1);
    EXPECT_EQ(p.fLoop.GetBeats(), 2);
    EXPECT_EQ(p.fLoop.GetTimeSignatureNumerator(), 4);
    EXPECT_EQ(p.fLoop.GetTimeSignatureDenominator(), 4);
    EXPECT_EQ(p.fLoop.GetPreviewTempo(), 97500);
    EXPECT_EQ(p.fLeftLocator, 0);
    EXPECT_EQ(p.fRightLocator, 2000);
    const CSliceSequence& slices = document->GetSliceSequence();
    ASSERT_EQ(slices.GetSliceCount(), 3);
    // Byte offsets 0, 2000 and 3200 of the 16-bit sound.
    EXPECT_EQ(slices.GetSlice(0)->GetPosition(), 0);
    EXPECT_EQ(slices.GetSlice(1)->GetPosition(), 1000);
    EXPECT_EQ(slices.GetSlice(2)->GetPosition(), 1600);
    for (const CSlice& slice : slices.GetSlices()) EXPECT_TRUE(slices.IsSliceShown(slice));
    EXPECT_EQ(Bodies(presenter), std::vector<std::string>{kLuxNote});
    EXPECT_EQ(presenter.GetShown()[0].fHeading, "LUX files may not sound as expected!");
}

TEST(LegacyLoopFileOpening, EachNoteIsShownWhileItsCounterAllows) {
    CTemporaryFolder folder;
    const std::string lux = Saved(folder, "a.lux", LUXFile());
    const std::string normalized = Saved(folder, "n.qlt", QLTFile(true));
    const std::string plain = Saved(folder, "p.qlt", QLTFile(false));
    {
        // Fresh counters: the first five LUX files show the note, then never again.
        SInstalledNoteCounters notes;
        CScriptedAlertPresenter presenter;
        for (int i = 0; i < 7; ++i) ASSERT_TRUE(OpenFile(lux));
        EXPECT_EQ(Bodies(presenter), std::vector<std::string>(5, kLuxNote));
        EXPECT_EQ(notes.fCounters.Get(ENote::kLuxFile), 0);
        EXPECT_EQ(notes.fCounters.Get(ENote::kOldNormalizeOption), 5);
    }
    {
        SInstalledNoteCounters notes;
        notes.fCounters.Set(ENote::kOldNormalizeOption, 2);
        CScriptedAlertPresenter presenter;
        for (const std::string& path : {plain, normalized, plain, normalized, normalized}) ASSERT_TRUE(OpenFile(path));
        EXPECT_EQ(Bodies(presenter), std::vector<std::string>(2, kNormalizeNote));
        EXPECT_EQ(notes.fCounters.Get(ENote::kOldNormalizeOption), 0);
        EXPECT_EQ(notes.fCounters.Get(ENote::kLuxFile), 5);
    }
    {
        SInstalledNoteCounters notes;
        notes.fCounters.Set(ENote::kLuxFile, -1);
        CScriptedAlertPresenter presenter;
        ASSERT_TRUE(OpenFile(lux));
        EXPECT_TRUE(presenter.GetShown().empty());
        EXPECT_EQ(notes.fCounters.Get(ENote::kLuxFile), -1);
    }
}

TEST(LegacyLoopFileOpening, FailingFilesOpenNothingAndShowNoNote) {
    CTemporaryFolder folder;
    SInstalledNoteCounters notes;
    {
        // The opening's rate check applies to legacy files too.
        CScriptedAlertPresenter presenter;
        const SCaughtFailure caught = CatchFailure([&] { OpenFile(Saved(folder, "slow.lux", LUXFile(kRate8000))); });
        EXPECT_EQ(caught.fCode, NSMishap::XSilentAbort::kFailureCode);
        EXPECT_EQ(caught.fMessage, "invalid sound file info");
        EXPECT_EQ(Bodies(presenter), std::vector<std::string>{kAlert_UnsupportedSampleRate.GetAlert().fBody});
    }
    {
        SQLTBlock block;
        block.fNormalize = 1;
        block.fLoopMode = 13;
        block.fLoopEnd = 100;
        block.fSlices = {{0, 1, 0}};
        CScriptedAlertPresenter presenter;
        EXPECT_FAILURE(OpenFile(Saved(folder, "bad.qlt", LoopFile(100, QLTBlockBody(block)))), XFormatViolation,
                       "invalid loop mode");
        EXPECT_TRUE(presenter.GetShown().empty());
    }
    EXPECT_EQ(notes.fCounters.Get(ENote::kLuxFile), 5);
    EXPECT_EQ(notes.fCounters.Get(ENote::kOldNormalizeOption), 5);
}

}  // namespace
