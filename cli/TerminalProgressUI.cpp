#include "cli/TerminalProgressUI.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace NSQuillet::NSCli {

namespace {

// Read by every worker of a run over several files; lock-free, so the handler may set it.
std::atomic<int> gInterrupted{0};
static_assert(std::atomic<int>::is_always_lock_free);
struct sigaction gPreviousAction;

void OnInterrupt(int) {
    if (gInterrupted) {
        // A second Ctrl-C while the work has not yet noticed the first: end the process.
        signal(SIGINT, SIG_DFL);
        raise(SIGINT);
        return;
    }
    gInterrupted = 1;
}

constexpr int kBarWidth = 30;

class CTerminalProgressWindow final : public NSCourier::ILengthyOperationWindow {
public:
    CTerminalProgressWindow(std::ostream& err, std::string title) : fErr(err), fTitle(std::move(title)) {}
    ~CTerminalProgressWindow() override { fErr << "\r\033[K" << std::flush; }

    void SetProgress(int32_t permille) override {
        fPermille = permille;
        Draw();
    }
    void SetProgressText(const std::string& text) override {
        fText = text;
        Draw();
    }
    bool WantsEvents() const override { return false; }
    void ProcessPendingEvents() override {}
    void Notify(int32_t) override {}
    bool IsStopPressed() const override { return false; }

private:
    void Draw() {
        const int filled = fPermille * kBarWidth / 1000;
        fErr << "\r\033[K" << fTitle;
        if (!fText.empty()) fErr << ": " << fText;
        fErr << " [" << std::string(size_t(filled), '#') << std::string(size_t(kBarWidth - filled), ' ') << "] "
             << fPermille / 10 << "%" << std::flush;
    }

    std::ostream& fErr;
    std::string fTitle;
    std::string fText;
    int32_t fPermille = 0;
};

}  // namespace

CTerminalProgressUI::CTerminalProgressUI(std::ostream& err, bool showBars) : fErr(err), fShowBars(showBars) {
    gInterrupted = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &gPreviousAction);
}

CTerminalProgressUI::~CTerminalProgressUI() { sigaction(SIGINT, &gPreviousAction, nullptr); }

std::unique_ptr<NSCourier::ILengthyOperationWindow> CTerminalProgressUI::CreateWindow(NSCourier::CLengthyOperation&,
                                                                                      const std::string& title,
                                                                                      bool) {
    if (!fShowBars) return nullptr;
    return std::make_unique<CTerminalProgressWindow>(fErr, title);
}

bool CTerminalProgressUI::IsInterrupted() const { return gInterrupted != 0; }

bool CTerminalProgressUI::IsErrorStreamATerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace NSQuillet::NSCli
