#pragma once

#include <vector>

#include "foundation/Diagnostics.h"

namespace NSQuilletTest {

// Records every diagnostic while it lives: the process-wide sink from construction to
// destruction, then the one before it again.
class CRecordingDiagnosticSink final : public NSMishap::IDiagnosticSink {
public:
    CRecordingDiagnosticSink() : fPrevious(NSMishap::GetDiagnosticSink()) { NSMishap::SetDiagnosticSink(this); }
    ~CRecordingDiagnosticSink() override { NSMishap::SetDiagnosticSink(fPrevious); }
    CRecordingDiagnosticSink(const CRecordingDiagnosticSink&) = delete;
    CRecordingDiagnosticSink& operator=(const CRecordingDiagnosticSink&) = delete;

    void Report(const NSMishap::SDiagnostic& diagnostic) override { fReported.push_back(diagnostic); }

    std::vector<NSMishap::SDiagnostic> fReported;

private:
    NSMishap::IDiagnosticSink* fPrevious;
};

}  // namespace NSQuilletTest
