#pragma once

#include <memory>

#include "app/resources/Alert.h"
#include "app/resources/NoteCounters.h"
#include "foundation/Diagnostics.h"

namespace NSQuillet::NSCli {

// For the time of a run over several files: the process-wide alert presenter, diagnostic sink
// and lengthy-operation UI are replaced by ones that pass each call to what the calling
// thread has bound (CWorkerBinding), so that every file's alerts and diagnostics go to its own
// printers. Operations run windowless; Ctrl-C stops them all, as the replaced UI saw it.
// Threads bound to nothing use the replaced presenter and sink, one at a time.
class CWorkerEnvironment {
public:
    CWorkerEnvironment();
    ~CWorkerEnvironment();
    CWorkerEnvironment(const CWorkerEnvironment&) = delete;
    CWorkerEnvironment& operator=(const CWorkerEnvironment&) = delete;

    // Whether Ctrl-C asked to stop. Any thread.
    bool IsInterrupted() const;

private:
    class CRouter;
    std::unique_ptr<CRouter> fRouter;
};

// Binds the calling thread to one file's printers, and a fresh set of note counters, as the
// file's own process would have them; the destructor unbinds.
class CWorkerBinding {
public:
    CWorkerBinding(IAlertPresenter& alerts, NSMishap::IDiagnosticSink& diagnostics);
    ~CWorkerBinding();
    CWorkerBinding(const CWorkerBinding&) = delete;
    CWorkerBinding& operator=(const CWorkerBinding&) = delete;

private:
    CNoteCounters fNoteCounters;
};

}  // namespace NSQuillet::NSCli
