#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/clipboard/LoopDataSupplier.h"
#include "app/document/QuilletDocument.h"
#include "app/export/AlertReplaceQuestion.h"
#include "app/export/ExportFlow.h"
#include "app/operations/LengthyOperationUI.h"
#include "engine/16BitWaveSample.h"
#include "engine/Exporter.h"
#include "engine/SliceSequence.h"
#include "foundation/Mishap.h"
#include "tests/support/DemoLoopDocument.h"
#include "tests/support/LoopDocumentFixture.h"
#include "tests/support/RecordingDiagnosticSink.h"
#include "tests/support/ScriptedAlertPresenter.h"
#include "tests/support/ScriptedLoopLengthRequest.h"
#include "tests/support/SoundFileTestSupport.h"
#include "tests/support/TemporaryFolder.h"
#include "tools/DemoLoop.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CRecordingDiagnosticSink;
using NSQuilletTest::CScriptedLoopLengthRequest;
using NSQuilletTest::CTemporaryFolder;
using NSQuilletTest::MakeDemoLoopDocument;
using NSTools::SDemoLoop;

std::string AsString(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Answers the export settings dialog with the loop's own rate and depth.
class CLoopFormatDialogs final : public IExportDialogs {
public:
    std::optional<SExportSettings> AskExportSettings(const CABCExportFileFormat&, const SExportSettings&) override {
        return SExportSettings{44100, 16, false};
    }
};

// Ctrl-C from the `stopAt`-th stop poll on; counts the polls.
class CInterruptingUI final : public NSCourier::ILengthyOperationUI {
public:
    explicit CInterruptingUI(int stopAt) : fStopAt(stopAt) { NSCourier::SetLengthyOperationUI(this); }
    ~CInterruptingUI() override { NSCourier::SetLengthyOperationUI(nullptr); }
    std::unique_ptr<NSCourier::IBusyGuard> CreateBusyGuard() override { return nullptr; }
    std::unique_ptr<NSCourier::ILengthyOperationWindow> CreateWindow(NSCourier::CLengthyOperation&, const std::string&,
                                                                     bool) override {
        return nullptr;
    }
    bool IsInterrupted() const override { return ++fPolls >= fStopAt && fStopAt > 0; }

    mutable int fPolls = 0;

private:
    int fStopAt;
};

class CLoopDataSupplierFixture : public ::testing::Test {
protected:
    CLoopDataSupplier Copy(CQuilletDocument& document) {
        std::optional<CLoopDataSupplier> data = CopyLoopData(document, fLengthRequest);
        if (!data) throw std::runtime_error("nothing copied");
        return *data;
    }

    CTemporaryFolder fFolder;
    CScriptedAlertPresenter fAlerts;
    CScriptedLoopLengthRequest fLengthRequest;
    CRecordingDiagnosticSink fDiagnostics;
};

TEST_F(CLoopDataSupplierFixture, WaveKindIsTheLoopExportedAsOneSample) {
    auto document = MakeDemoLoopDocument();
    const CLoopDataSupplier data = Copy(*document);
    EXPECT_EQ(fLengthRequest.fRequests, 0);
    EXPECT_EQ(data.GetName(), "Untitled");

    // The same loop through the Export command: one sample at the loop's rate and depth, cut at
    // the loop's end.
    SDocumentParameters parameters = document->GetDocumentParameters();
    parameters.fExportSlicesSeparately = false;
    document->PerformParametersChange(parameters, "Toggle Export As One Sample");
    CLoopFormatDialogs dialogs;
    CAlertReplaceQuestion replace;
    SExportPreferences preferences;
    preferences.fCropToLoop = true;
    const NSDiskKit::CFileSpec file(NSDiskKit::CFolderSpec(fFolder.Path()), "loop.wav");
    FinishExport(*document, EExportFormat::kWave, file, dialogs, replace, preferences);
    EXPECT_EQ(AsString(data.GetBytes(EClipboardLoopKind::kWave)), NSQuilletTest::ReadWholeFile(fFolder.PathOf("loop.wav")));

    const auto read = NSQuilletTest::ReadFromBytes(AsString(data.GetBytes(EClipboardLoopKind::kWave)));
    // 2 bars of 4 beats at 140 BPM: 8 × 60 / 140 s × 44100 Hz = 8 × 18900 frames.
    EXPECT_EQ(read->GetFrameCount(), 151200);
    EXPECT_EQ(read->GetSampleRate(), 44100u);
    EXPECT_EQ(read->GetBitDepth(), 16);
    EXPECT_TRUE(read->IsStereo());
    CExporter exporter(document->GetSequencer(), false, true);
    const auto rendered = exporter.RenderSlice(0);
    NSQuilletTest::ExpectSameAudio(*read, *rendered);
    const std::vector<int32_t> left = NSQuilletTest::Channel(*read, 1);
    EXPECT_NE(std::count(left.begin(), left.end(), 0), std::ptrdiff_t(left.size())) << "silence";
}

TEST_F(CLoopDataSupplierFixture, MidiKindPlaysOneNotePerSliceForMidicsv) {
    REQUIRE_PROGRAM(midicsv, "midicsv");
    auto document = MakeDemoLoopDocument();
    const CLoopDataSupplier data = Copy(*document);
    const std::string path = fFolder.Make("loop.mid", AsString(data.GetBytes(EClipboardLoopKind::kMidi)));
    const auto result = NSQuilletTest::RunProgram({midicsv, path});
    ASSERT_EQ(result.fExitCode, 0) << result.fOutput;

    // The analysis finds one slice per frame on which the demo loop has hits.
    std::set<int32_t> hitFrames;
    for (const SDemoLoop::SHit& hit : SDemoLoop::GetHits()) hitFrames.insert(hit.fFrame);
    ASSERT_EQ(document->GetSliceSequence().GetSliceCount(), int32_t(hitFrames.size()));
    int noteOns = 0;
    std::istringstream lines(result.fOutput);
    for (std::string line; std::getline(lines, line);)
        if (line.find("Note_on_c") != std::string::npos && line.find(", 127") != std::string::npos) ++noteOns;
    EXPECT_EQ(noteOns, int(hitFrames.size())) << result.fOutput;
    // 60,000,000 µs / 140 BPM; 2 bars of 4 quarters at 960 ticks end the loop at 7680.
    for (const char* line : {"0, 0, Header, 1, 2, 960", "1, 0, Tempo, 428571", "1, 0, Time_signature, 4, 2, 24, 8",
                             "2, 0, Title_t, \"Untitled\"", "2, 0, Note_on_c, 0, 36, 127", "2, 7680, End_track"})
        EXPECT_NE(result.fOutput.find(line), std::string::npos) << line << "\n" << result.fOutput;
}

TEST_F(CLoopDataSupplierFixture, Lux2KindIsTheLoopFileSaveWrites) {
    auto document = MakeDemoLoopDocument();
    const CLoopDataSupplier data = Copy(*document);
    const std::string copied = AsString(data.GetBytes(EClipboardLoopKind::kLux2));
    const std::string path = fFolder.Make("copied.lx2", copied);
    EXPECT_FALSE(document->HasFile());

    const auto opened = NSQuilletTest::Open(path);
    NSQuilletTest::ExpectSameSlices(opened->GetSliceSequence(), document->GetSliceSequence());
    const CLoopSettings loop = opened->GetDocumentParameters().fLoop;
    EXPECT_EQ(loop.GetBars(), 2);
    EXPECT_EQ(loop.GetPreviewTempo(), 140000);
    EXPECT_TRUE(loop.IsPreviewOn());
    NSQuilletTest::ExpectSameAudio(opened->GetWaveSample(), document->GetWaveSample());

    NSQuilletTest::SaveAs(*document, fFolder.PathOf("saved.lx2"));
    EXPECT_EQ(copied, NSQuilletTest::ReadWholeFile(fFolder.PathOf("saved.lx2")));
}

TEST_F(CLoopDataSupplierFixture, MissingLoopLengthIsAskedForAndADeclineCopiesNothing) {
    auto document = MakeDemoLoopDocument(0);
    ASSERT_EQ(document->GetDocumentParameters().fLoop.GetBars(), 0);
    EXPECT_FALSE(CopyLoopData(*document, fLengthRequest));
    EXPECT_EQ(fLengthRequest.fRequests, 1);
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetBars(), 0);
    EXPECT_FALSE(document->CanUndo());
    ASSERT_EQ(fDiagnostics.fReported.size(), 1u);
    EXPECT_EQ(fDiagnostics.fReported[0].fContext, "copy loop");
    EXPECT_EQ(fDiagnostics.fReported[0].fFailureCode, NSMishap::XSilentAbort::kFailureCode);
    EXPECT_EQ(fDiagnostics.fReported[0].fMessage, "use aborted specify length dialog");

    fLengthRequest.fBars = 1;
    const CLoopDataSupplier data = Copy(*document);
    EXPECT_EQ(fLengthRequest.fRequests, 2);
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetBars(), 1);
    EXPECT_EQ(document->GetUndoName(), "Change Loop Length");
    // One bar over the whole sound takes the loop's own tempo, 4 beats in 4 s: 60 BPM, at which
    // the copy lasts the sound's 176400 frames.
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), 60000);
    EXPECT_EQ(NSQuilletTest::ReadFromBytes(AsString(data.GetBytes(EClipboardLoopKind::kWave)))->GetFrameCount(),
              176400);
    EXPECT_TRUE(fAlerts.GetShown().empty());
}

TEST_F(CLoopDataSupplierFixture, ADocumentWithoutSoundCopiesNothingWithoutAsking) {
    auto empty = std::make_unique<CQuilletDocument>(std::make_unique<C16BitWaveSample>(44100, 0, false), true,
                                                    SDocumentSettings{});
    EXPECT_FALSE(CopyLoopData(*empty, fLengthRequest));
    EXPECT_EQ(fLengthRequest.fRequests, 0);
    ASSERT_EQ(fDiagnostics.fReported.size(), 1u);
    EXPECT_EQ(fDiagnostics.fReported[0].fFailureCode, NSMishap::XSilentAbort::kFailureCode);
}

TEST_F(CLoopDataSupplierFixture, StopAtAnyPollCopiesNothing) {
    auto document = MakeDemoLoopDocument();
    const auto position = document->GetUndoHistory().GetPosition();
    int polls = 0;
    {
        CInterruptingUI counting(0);
        ASSERT_TRUE(CopyLoopData(*document, fLengthRequest));
        polls = counting.fPolls;
    }
    ASSERT_GT(polls, 3);
    for (int stopAt = 1; stopAt <= polls; ++stopAt) {
        SCOPED_TRACE("stop at poll " + std::to_string(stopAt));
        fDiagnostics.fReported.clear();
        CInterruptingUI interrupting(stopAt);
        EXPECT_FALSE(CopyLoopData(*document, fLengthRequest));
        ASSERT_EQ(fDiagnostics.fReported.size(), 1u);
        EXPECT_EQ(fDiagnostics.fReported[0].fFailureCode, NSMishap::XAbort::kFailureCode);
    }
    EXPECT_EQ(document->GetUndoHistory().GetPosition(), position);
}

}  // namespace
}  // namespace NSQuillet
