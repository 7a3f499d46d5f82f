#include <gtest/gtest.h>

#include <stdexcept>

#include "foundation/Diagnostics.h"
#include "foundation/Mishap.h"
#include "tests/support/RecordingDiagnosticSink.h"

namespace {

using namespace NSMishap;

TEST(Diagnostics, AFailureThatMayNotEscapeIsReportedWithItsContextCodeAndMessage) {
    struct SRow {
        const char* fCase;
        void (*fThrow)();
        uint32_t fCode;
        const char* fMessage;
    };
    const SRow rows[] = {
        {"of the family", [] { throw XTimeout("no mutex"); }, XTimeout::kFailureCode, "no mutex"},
        {"a standard one", [] { throw std::runtime_error("broken"); }, kFailureCode_NonMishapException, "broken"},
        {"no std::exception", [] { throw 7; }, kFailureCode_UndefinedException, "failure of no known class"},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.fCase);
        NSQuilletTest::CRecordingDiagnosticSink sink;
        EXPECT_FALSE(RunReportingFailure("resuming the audio output", row.fThrow));
        ASSERT_EQ(sink.fReported.size(), 1u);
        EXPECT_EQ(sink.fReported[0].fContext, "resuming the audio output");
        EXPECT_EQ(sink.fReported[0].fFailureCode, row.fCode);
        EXPECT_EQ(sink.fReported[0].fMessage, row.fMessage);
    }
}

TEST(Diagnostics, WorkThatSucceedsReportsNothingAndTheSinkIsGivenBack) {
    IDiagnosticSink* before = GetDiagnosticSink();
    {
        NSQuilletTest::CRecordingDiagnosticSink sink;
        EXPECT_TRUE(RunReportingFailure("nothing", [] {}));
        EXPECT_TRUE(sink.fReported.empty());
    }
    EXPECT_EQ(GetDiagnosticSink(), before);
}

// A sink whose report fails must not let the failure out of the report.
class CThrowingSink final : public IDiagnosticSink {
public:
    void Report(const SDiagnostic&) override {
        ++fCalls;
        throw std::runtime_error("log full");
    }
    int fCalls = 0;
};

TEST(Diagnostics, AFailingSinkDoesNotThrowOutOfTheReport) {
    CThrowingSink sink;
    IDiagnosticSink* before = GetDiagnosticSink();
    SetDiagnosticSink(&sink);
    EXPECT_FALSE(RunReportingFailure("closing", [] { throw XWrite("disk"); }));
    SetDiagnosticSink(before);
    EXPECT_EQ(sink.fCalls, 1);
}

}  // namespace
