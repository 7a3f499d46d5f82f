#include "foundation/Diagnostics.h"

#include <atomic>
#include <cstdio>
#include <exception>

#include "foundation/Mishap.h"

namespace NSMishap {

namespace {

std::atomic<IDiagnosticSink*> gSink{nullptr};

SDiagnostic DescribeCaught(const char* context) {
    SDiagnostic diagnostic;
    diagnostic.fContext = context;
    try {
        if (const std::exception_ptr caught = std::current_exception()) std::rethrow_exception(caught);
    } catch (const std::exception& failure) {
        diagnostic.fFailureCode = GetFailureCode(failure);
        diagnostic.fMessage = failure.what();
    } catch (...) {
        diagnostic.fFailureCode = kFailureCode_UndefinedException;
        diagnostic.fMessage = "failure of no known class";
    }
    return diagnostic;
}

void WriteToStandardError(const char* context, const char* message) {
    std::fprintf(stderr, "quillet: %s: %s\n", context, message);
}

}  // namespace

void SetDiagnosticSink(IDiagnosticSink* sink) { gSink.store(sink); }

IDiagnosticSink* GetDiagnosticSink() { return gSink.load(); }

void ReportCaughtFailure(const char* context) noexcept {
    try {
        const SDiagnostic diagnostic = DescribeCaught(context);
        if (IDiagnosticSink* sink = gSink.load()) {
            sink->Report(diagnostic);
        } else {
            WriteToStandardError(context, diagnostic.fMessage.c_str());
        }
    } catch (...) {
        WriteToStandardError(context, "(the report failed)");
    }
}

}  // namespace NSMishap
