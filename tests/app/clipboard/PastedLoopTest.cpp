#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/clipboard/PastedLoop.h"
#include "app/document/QuilletDocument.h"
#include "app/operations/QuilletLengthyOperation.h"
#include "engine/16BitWaveSample.h"
#include "engine/SliceSequence.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"

namespace {

using namespace NSQuillet;
using namespace NSQuilletTest;

std::vector<uint8_t> BytesOf(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// Temporary files go to a folder of the test's own, which must be empty again after a paste.
class PastedLoop : public ::testing::Test {
protected:
    ~PastedLoop() override { EXPECT_EQ(fTemporary.CountEntries(), 0u) << "a temporary file was left behind"; }

    std::unique_ptr<CQuilletDocument> Paste(EClipboardLoopKind kind, const std::vector<uint8_t>& bytes) {
        CQuilletLengthyOperation operation("Paste as New Document", true, nullptr);
        return OpenPastedDocument(SClipboardLoop{kind, bytes}, SDocumentSettings{}, operation);
    }

    CTemporaryFolder fFiles;
    CTemporaryFolder fTemporary;
    CScopedEnvironmentVariable fTemporaryFolder{"TMPDIR", fTemporary.Path()};
    CScriptedAlertPresenter fAlerts;
};

TEST_F(PastedLoop, ALux2LoopBecomesADocumentWithoutAFileWithItsSlicesAndSettings) {
    auto source = MakeLoopDocument(16, 2, 30000);
    ChangeEverySetting(*source);
    const std::string path = fFiles.PathOf("source.lx2");
    SaveAs(*source, path);

    const auto pasted = Paste(EClipboardLoopKind::kLux2, BytesOf(ReadWholeFile(path)));
    EXPECT_FALSE(pasted->HasFile());
    EXPECT_EQ(pasted->GetFileSpec(), nullptr);
    EXPECT_EQ(pasted->GetDisplayName(), "Untitled");
    EXPECT_TRUE(pasted->IsModified()) << "until it is saved";
    EXPECT_FALSE(pasted->IsPristine());
    EXPECT_TRUE(pasted->NeedsSaveAs());
    ExpectSameAudio(pasted->GetWaveSample(), source->GetWaveSample());
    ExpectSameSlices(pasted->GetSliceSequence(), source->GetSliceSequence());
    const SDocumentParameters parameters = pasted->GetDocumentParameters();
    EXPECT_EQ(parameters.fPitch, -700);
    EXPECT_EQ(parameters.fLoop.GetPreviewTempo(), 97500);
    EXPECT_EQ(parameters.fLoop.GetBars(), 2);
    EXPECT_EQ(parameters.fLoop.GetTimeSignatureNumerator(), 3);
    EXPECT_EQ(parameters.fLeftLocator, 100);
    EXPECT_EQ(pasted->GetEffectParameters().fProcessingGain, 1500);
    EXPECT_EQ(pasted->GetUndoHistory().GetStepCount(), 0u);
    EXPECT_TRUE(fAlerts.GetShown().empty());
}

TEST_F(PastedLoop, AWaveSoundIsAnalysedAsAnOpenedOne) {
    // Silence with impulses of 1000: each meets the settled floor of the silence before it,
    // so the analysis finds a slice at each.
    const std::vector<int32_t> impulses = {1000, 100000};
    auto sample = std::make_unique<C16BitWaveSample>(44100, 150000, false);
    for (int32_t position : impulses) sample->Set16(position, 1000, 1);
    const auto pasted = Paste(EClipboardLoopKind::kWave, BytesOf(WriteToBytes(*sample, ESoundFileType::kWave)));
    EXPECT_FALSE(pasted->HasFile());
    EXPECT_TRUE(pasted->IsModified());
    ExpectSameAudio(pasted->GetWaveSample(), *sample);
    std::vector<int32_t> positions;
    for (const CSlice& slice : pasted->GetSliceSequence().GetSlices()) positions.push_back(slice.GetPosition());
    EXPECT_EQ(positions, impulses);
}

TEST_F(PastedLoop, MidiOrDamagedBytesFailAsOpeningSuchAFileFails) {
    auto source = MakeLoopDocument(16, 1, 20000);
    const std::string path = fFiles.PathOf("source.lx2");
    SaveAs(*source, path);
    const std::string lux2 = ReadWholeFile(path);
    const std::string cut = lux2.substr(0, lux2.size() / 2);
    const std::string cutPath = fFiles.Make("cut.lx2", cut);

    EXPECT_FAILURE(Paste(EClipboardLoopKind::kMidi, BytesOf("MThd")), XUnsupportedFormat,
                   "a MIDI file is not a loop that can be pasted");
    EXPECT_FAILURE(Paste(EClipboardLoopKind::kWave, BytesOf("RIFF1234567")), XFormatViolation,
                   "sound file media too short");
    EXPECT_FAILURE(Paste(EClipboardLoopKind::kWave, BytesOf("JUNKJUNKJUNKJUNK")), XFormatViolation,
                   "unkown main chunk types");
    // A cut LUX2 loop fails as the same bytes in a file do.
    const SCaughtFailure fromFile = CatchFailure([&] { Open(cutPath); });
    ASSERT_NE(fromFile.fCode, 0u);
    const SCaughtFailure pasted = CatchFailure([&] { Paste(EClipboardLoopKind::kLux2, BytesOf(cut)); });
    EXPECT_EQ(pasted.fCode, fromFile.fCode);
    EXPECT_EQ(pasted.fMessage, fromFile.fMessage);
    EXPECT_TRUE(fAlerts.GetShown().empty());
}

}  // namespace
