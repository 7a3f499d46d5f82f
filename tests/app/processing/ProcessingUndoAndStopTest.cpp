#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/processing/AddSlicesAtSixteenthsCommand.h"
#include "app/processing/ConvertToMonoCommand.h"
#include "app/processing/CropLoopCommand.h"
#include "app/processing/NormalizeCommand.h"
#include "app/processing/ParameterToggleCommands.h"
#include "app/processing/ProcessingBlocks.h"
#include "app/processing/ReAnalyzeCommand.h"
#include "app/processing/RemoveDCCommand.h"
#include "foundation/Mishap.h"
#include "tests/app/processing/ProcessingTestSupport.h"
#include "tests/support/ScriptedAlertPresenter.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CStoppingOperation;
using NSQuilletTest::ExpectSameState;
using NSQuilletTest::TakeSnapshot;

struct SCommand {
    const char* fName;  // also the undo name
    std::function<void(CQuilletDocument&, CQuilletLengthyOperation&)> fRun;
};

const SCommand kCommands[] = {
    {"Normalize", [](CQuilletDocument& d, CQuilletLengthyOperation& o) { Normalize(d, o, ENormalizeScope::kWholeFile); }},
    {"Normalize", [](CQuilletDocument& d, CQuilletLengthyOperation& o) { Normalize(d, o, ENormalizeScope::kEachSlice); }},
    {"Convert to Mono", [](CQuilletDocument& d, CQuilletLengthyOperation& o) { ConvertToMono(d, o, EMonoChoice::kLeft); }},
    {"Convert to Mono", [](CQuilletDocument& d, CQuilletLengthyOperation& o) { ConvertToMono(d, o, EMonoChoice::kRight); }},
    {"Convert to Mono", [](CQuilletDocument& d, CQuilletLengthyOperation& o) { ConvertToMono(d, o, EMonoChoice::kMix); }},
    {"Crop Loop", [](CQuilletDocument& d, CQuilletLengthyOperation& o) { CropLoop(d, o); }},
    {"Remove DC", [](CQuilletDocument& d, CQuilletLengthyOperation& o) { RemoveDC(d, o); }},
    {"Re-Analyze", [](CQuilletDocument& d, CQuilletLengthyOperation& o) { ReAnalyze(d, o); }},
    {"Add Slices at 1/16ths", [](CQuilletDocument& d, CQuilletLengthyOperation&) { AddSlicesAtSixteenths(d); }},
    {"Toggle Export As One Sample", [](CQuilletDocument& d, CQuilletLengthyOperation&) { ToggleExportAsOneSample(d); }},
    {"Toggle Silence Selected", [](CQuilletDocument& d, CQuilletLengthyOperation&) { ToggleSilenceSelected(d); }},
};

// Hits below full scale, five slices of every kind (a few found by analysis are missing), a
// loop inside the sample and a loop length.
std::unique_ptr<CQuilletDocument> MakeProcessingDocument(int32_t depth, bool stereo, int32_t frames) {
    auto sample = NSQuilletTest::MakeHitsSample(depth, stereo, frames);
    auto slices = NSQuilletTest::MakeFiveSlicesOfEveryKind(*sample);
    auto document = NSQuilletTest::MakeDocumentOf(std::move(sample), std::move(slices));
    NSQuilletTest::SetLoopLength(*document, 1, 0, 4, 4);
    NSQuilletTest::SetLocators(*document, frames / 10, frames - frames / 7);
    document->MarkSaved();
    return document;
}

TEST(ProcessingCommands, UndoRestoresTheStateBeforeBitForBitAndRedoReapplies) {
    for (int32_t depth : {16, 24}) {
        for (const SCommand& command : kCommands) {
            auto document = MakeProcessingDocument(depth, true, 44100 * 2);
            const auto before = TakeSnapshot(*document);
            CStoppingOperation operation;
            command.fRun(*document, operation);
            ASSERT_EQ(document->GetUndoHistory().GetPosition(), before.fPosition + 1) << command.fName;
            EXPECT_EQ(document->GetUndoName(), command.fName);
            EXPECT_TRUE(document->IsModified());
            const auto after = TakeSnapshot(*document);

            document->Undo();
            SCOPED_TRACE(std::string(command.fName) + ", " + std::to_string(depth) + "-bit");
            ExpectSameState(*document, before, false);
            EXPECT_FALSE(document->IsModified());
            document->Redo();
            ExpectSameState(*document, after, true);
            document->Undo();
            ExpectSameState(*document, before, false);
        }
    }
}

TEST(ProcessingCommands, StopAtAnyProgressCallChangesNothing) {
    // Mono, a block and a half: every command that reads audio passes a block boundary.
    constexpr int32_t kFrames = kProcessingBlockFrames + kProcessingBlockFrames / 2;
    for (const SCommand& command : kCommands) {
        int32_t calls = 0;
        {
            auto document = MakeProcessingDocument(16, true, kFrames);
            CStoppingOperation counting;
            command.fRun(*document, counting);
            calls = counting.GetCalls();
        }
        // The audio commands report every block of a block and a half, per channel and pass.
        const bool audio = command.fName != std::string("Add Slices at 1/16ths") &&
                           std::string(command.fName).rfind("Toggle", 0) != 0;
        if (audio) {
            EXPECT_GE(calls, 3) << command.fName;
        }
        for (int32_t stopAt = 1; stopAt <= calls; ++stopAt) {
            auto document = MakeProcessingDocument(16, true, kFrames);
            const auto before = TakeSnapshot(*document);
            CStoppingOperation operation(stopAt);
            try {
                command.fRun(*document, operation);
                ADD_FAILURE() << command.fName << " not stopped at progress call " << stopAt << " of " << calls;
            } catch (const NSMishap::XAbort& stop) {
                EXPECT_STREQ(stop.what(), "user pressed stop");
            }
            SCOPED_TRACE(std::string(command.fName) + ", stopped at call " + std::to_string(stopAt));
            ExpectSameState(*document, before, true);
        }
    }
}

}  // namespace
}  // namespace NSQuillet
