#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/document/QuilletDocument.h"
#include "app/document/RulerUnitsChoice.h"
#include "tests/app/document/FourSliceDocument.h"
#include "tests/support/CaughtFailure.h"
#include "tests/support/ScriptedLoopLengthRequest.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CScriptedLoopLengthRequest;

uint32_t RulerUnits(const CQuilletDocument& document) {
    return document.GetViewAndEditAttributes().fHorizontalRulerUnits;
}

void SetLength(CQuilletDocument& document, int32_t bars, int32_t beats) {
    SDocumentParameters parameters = document.GetDocumentParameters();
    parameters.fLoop.SetBars(bars);
    parameters.fLoop.SetBeats(beats);
    document.PerformParametersChange(parameters, "Change Loop Length");
    document.CloseUndoStep();
}

TEST(RulerUnitsChoice, BeatsWithoutALoopLengthAskForOneAndCommitItWithTheLoopTempoAsOneStep) {
    auto document = NSQuilletTest::MakeFourSliceDocument();
    CScriptedLoopLengthRequest request;
    request.fBars = 2;
    ChooseRulerUnits(*document, kRulerUnits_Beats, request);
    EXPECT_EQ(request.fRequests, 1);
    EXPECT_EQ(RulerUnits(*document), kRulerUnits_Beats);
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetBars(), 2);
    // 8 beats in 2 s: 240 BPM.
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), 240000);
    EXPECT_EQ(document->GetUndoHistory().GetStepNames(), (std::vector<std::string>{"Change Loop Length"}));
    // The step is closed: a later length is a step of its own.
    SetLength(*document, 3, 0);
    EXPECT_EQ(document->GetUndoHistory().GetStepCount(), 2u);
    document->Undo();
    document->Undo();
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetBars(), 0);
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), 130000);
}

TEST(RulerUnitsChoice, ALoopThatHadALengthTakesTheTempoOfTheNewOne) {
    auto document = NSQuilletTest::MakeFourSliceDocument();
    SetLength(*document, 1, 0);
    SDocumentParameters parameters = document->GetDocumentParameters();
    parameters.fLoop.SetPreviewTempo(97500);
    document->PerformParametersChange(parameters, "Change Preview Tempo");
    SetLength(*document, 0, 0);
    const size_t steps = document->GetUndoHistory().GetStepCount();

    CScriptedLoopLengthRequest request;
    request.fBars = 2;
    ChooseRulerUnits(*document, kRulerUnits_Beats, request);
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), 240000);
    EXPECT_EQ(document->GetUndoHistory().GetStepCount(), steps + 1);
    document->Undo();
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetBars(), 0);
    EXPECT_EQ(document->GetDocumentParameters().fLoop.GetPreviewTempo(), 97500);
}

TEST(RulerUnitsChoice, ADeclinedRequestRefusesBeatsSilentlyAndChangesNothing) {
    for (const std::optional<int32_t>& answer : {std::optional<int32_t>(), std::optional<int32_t>(0)}) {
        auto document = NSQuilletTest::MakeFourSliceDocument();
        CScriptedLoopLengthRequest request;
        request.fBars = answer;
        EXPECT_FAILURE(ChooseRulerUnits(*document, kRulerUnits_Beats, request), XSilentAbort,
                       "cannot switch to beats without a loop length");
        EXPECT_EQ(request.fRequests, 1);
        EXPECT_EQ(RulerUnits(*document), kRulerUnits_Time);
        EXPECT_EQ(document->GetDocumentParameters().fLoop.GetBars(), 0);
        EXPECT_FALSE(document->CanUndo());
    }
}

TEST(RulerUnitsChoice, OtherUnitsOrALoopWithALengthAskNothingAndAreNoStep) {
    struct SRow {
        const char* fCase;
        int32_t fBars, fBeats;
        uint32_t fUnits;
    };
    for (const SRow& row : {SRow{"samples without a length", 0, 0, kRulerUnits_Samples},
                            SRow{"beats with bars", 1, 0, kRulerUnits_Beats},
                            SRow{"beats with beats only", 0, 3, kRulerUnits_Beats}}) {
        SCOPED_TRACE(row.fCase);
        auto document = NSQuilletTest::MakeFourSliceDocument();
        if (row.fBars || row.fBeats) SetLength(*document, row.fBars, row.fBeats);
        const size_t steps = document->GetUndoHistory().GetStepCount();
        CScriptedLoopLengthRequest request;
        ChooseRulerUnits(*document, row.fUnits, request);
        EXPECT_EQ(request.fRequests, 0);
        EXPECT_EQ(RulerUnits(*document), row.fUnits);
        EXPECT_EQ(document->GetUndoHistory().GetStepCount(), steps);
    }
}

}  // namespace
}  // namespace NSQuillet
