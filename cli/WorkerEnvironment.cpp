#include "cli/WorkerEnvironment.h"

#include <mutex>

#include "app/operations/LengthyOperationUI.h"

namespace NSQuillet::NSCli {

namespace {

thread_local IAlertPresenter* tAlerts = nullptr;
thread_local NSMishap::IDiagnosticSink* tDiagnostics = nullptr;

}  // namespace

class CWorkerEnvironment::CRouter final : public IAlertPresenter,
                                          public NSMishap::IDiagnosticSink,
                                          public NSCourier::ILengthyOperationUI {
public:
    CRouter()
        : fAlerts(GetAlertPresenter()),
          fDiagnostics(NSMishap::GetDiagnosticSink()),
          fUI(NSCourier::GetLengthyOperationUI()) {
        SetAlertPresenter(this);
        NSMishap::SetDiagnosticSink(this);
        NSCourier::SetLengthyOperationUI(this);
    }
    ~CRouter() override {
        NSCourier::SetLengthyOperationUI(fUI);
        NSMishap::SetDiagnosticSink(fDiagnostics);
        SetAlertPresenter(fAlerts);
    }

    int32_t Present(const SAlert& alert) override {
        if (tAlerts) return tAlerts->Present(alert);
        std::lock_guard<std::mutex> lock(fUnboundMutex);
        return fAlerts ? fAlerts->Present(alert) : 0;
    }
    void Report(const NSMishap::SDiagnostic& diagnostic) override {
        if (tDiagnostics) return tDiagnostics->Report(diagnostic);
        std::lock_guard<std::mutex> lock(fUnboundMutex);
        if (fDiagnostics) fDiagnostics->Report(diagnostic);
    }

    std::unique_ptr<NSCourier::IBusyGuard> CreateBusyGuard() override { return nullptr; }
    std::unique_ptr<NSCourier::ILengthyOperationWindow> CreateWindow(NSCourier::CLengthyOperation&, const std::string&,
                                                                     bool) override {
        return nullptr;
    }
    uint64_t GetWindowDelayMilliseconds() const override { return fUI ? fUI->GetWindowDelayMilliseconds() : 3000; }
    bool IsInterrupted() const override { return fUI && fUI->IsInterrupted(); }

private:
    IAlertPresenter* fAlerts;
    NSMishap::IDiagnosticSink* fDiagnostics;
    NSCourier::ILengthyOperationUI* fUI;
    std::mutex fUnboundMutex;
};

CWorkerEnvironment::CWorkerEnvironment() : fRouter(std::make_unique<CRouter>()) {}

CWorkerEnvironment::~CWorkerEnvironment() = default;

bool CWorkerEnvironment::IsInterrupted() const { return fRouter->IsInterrupted(); }

CWorkerBinding::CWorkerBinding(IAlertPresenter& alerts, NSMishap::IDiagnosticSink& diagnostics) {
    tAlerts = &alerts;
    tDiagnostics = &diagnostics;
    SetThreadNoteCounters(&fNoteCounters);
}

CWorkerBinding::~CWorkerBinding() {
    SetThreadNoteCounters(nullptr);
    tDiagnostics = nullptr;
    tAlerts = nullptr;
}

}  // namespace NSQuillet::NSCli
