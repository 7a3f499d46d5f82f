#pragma once

#include <cstdint>
#include <string>

namespace NSMishap {

// A failure that cannot travel on to the user's command: thrown while resuming audio output
// after an exchange that succeeded, while rolling back after another failure, by a listener, or
// in a destructor. It is reported instead of dropped.
struct SDiagnostic {
    // What was being done, in lower case: "resuming the audio output".
    std::string fContext;
    // GetFailureCode of the failure; kFailureCode_UndefinedException for one that is no
    // std::exception.
    uint32_t fFailureCode = 0;
    std::string fMessage;
};

// Whoever shows or logs diagnostics: the editor's log, standard error in quillet-cli, a
// recorder in tests. Called on the thread that caught the failure (never the audio thread).
class IDiagnosticSink {
public:
    virtual ~IDiagnosticSink() = default;
    virtual void Report(const SDiagnostic& diagnostic) = 0;
};

// The process-wide sink; null (the start) writes "quillet: CONTEXT: MESSAGE" to standard error.
// Not owned; the caller keeps it alive while it is set.
void SetDiagnosticSink(IDiagnosticSink* sink);
IDiagnosticSink* GetDiagnosticSink();

// Reports the failure being handled; call it inside a catch block. Never throws: should the
// report itself fail, the context alone goes to standard error.
void ReportCaughtFailure(const char* context) noexcept;

// Runs `action` where a failure must not escape (a destructor, a rollback, a listener): a
// failure it throws is reported with `context`. True when `action` finished.
template <class TAction>
bool RunReportingFailure(const char* context, TAction&& action) noexcept {
    try {
        action();
        return true;
    } catch (...) {
        ReportCaughtFailure(context);
        return false;
    }
}

}  // namespace NSMishap
