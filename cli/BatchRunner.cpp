#include "cli/BatchRunner.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <thread>

#include "cli/AlertPrinter.h"
#include "cli/BatchProgressBar.h"
#include "cli/DiagnosticPrinter.h"
#include "cli/SubcommandGuard.h"
#include "cli/TerminalProgressUI.h"
#include "cli/WorkerEnvironment.h"

namespace NSQuillet::NSCli {

namespace {

struct SFileResult {
    bool fFinished = false;
    EExitCode fCode = kExitSuccess;
    std::string fOut, fErr;
};

// `line` (one JSON object and its newline) with {"path": PATH, …} in front of its fields.
std::string WithPath(const std::string& printed, const std::string& path) {
    if (printed.empty() || printed.front() != '{') return printed;
    // A name that is not UTF-8 gets U+FFFD for its stray bytes rather than failing the line.
    const std::string field =
        "{\"path\":" + nlohmann::json(path).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    const size_t rest = printed.find_first_not_of(" \t", 1);
    if (rest != std::string::npos && printed[rest] == '}') return field + printed.substr(rest);
    return field + "," + printed.substr(1);
}

// Joins the threads at the latest when it goes, also when a failure leaves the run early.
class CJoinedThreads {
public:
    explicit CJoinedThreads(std::vector<std::thread>& threads) : fThreads(threads) {}
    ~CJoinedThreads() { JoinAll(); }
    CJoinedThreads(const CJoinedThreads&) = delete;
    CJoinedThreads& operator=(const CJoinedThreads&) = delete;

    void JoinAll() const {
        for (std::thread& thread : fThreads) {
            if (thread.joinable()) thread.join();
        }
    }

private:
    std::vector<std::thread>& fThreads;
};

class CBatchRun {
public:
    CBatchRun(SSubcommandContext& context, const SBatchSettings& settings, const std::vector<SBatchItem>& items,
              const FBatchWork& work)
        : fContext(context), fSettings(settings), fItems(items), fWork(work), fResults(items.size()) {}

    EExitCode Run() {
        const auto start = std::chrono::steady_clock::now();
        const bool showBar = !fContext.fQuiet && CTerminalProgressUI::IsErrorStreamATerminal();
        CBatchProgressBar bar(fContext.fErr, fSettings.fTitle, fItems.size());
        const size_t workers = std::min<size_t>(std::max<uint32_t>(fSettings.fJobs, 1), fItems.size());
        fRunning = workers;
        std::vector<std::thread> threads;
        const CJoinedThreads joined(threads);
        for (size_t i = 0; i < workers; ++i) threads.emplace_back([this] { Work(); });

        size_t printed = 0, done = 0, failed = 0, skipped = 0;
        double lastDrawn = 0.0;
        std::unique_lock<std::mutex> lock(fMutex);
        while (printed < fItems.size()) {
            fChanged.wait_for(lock, std::chrono::milliseconds(200),
                              [&] { return fResults[printed].fFinished || fRunning == 0; });
            const double now = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            while (printed < fItems.size() && fResults[printed].fFinished) {
                SFileResult result = std::move(fResults[printed]);
                lock.unlock();
                if (showBar && (!result.fOut.empty() || !result.fErr.empty())) bar.Clear();
                Print(fItems[printed], result);
                if (result.fCode == kExitSuccess) {
                    ++done;
                } else if (result.fCode == kExitStopped && fEnvironment.IsInterrupted()) {
                    ++skipped;
                } else {
                    ++failed;
                }
                bar.FileFinished(now);
                lock.lock();
                ++printed;
            }
            if (fRunning == 0 && (printed == fItems.size() || !fResults[printed].fFinished)) break;
            // At most ten times a second, from about a second on.
            if (showBar && now >= 1.0 && now - lastDrawn >= 0.1) {
                bar.Draw(now);
                lastDrawn = now;
            }
        }
        lock.unlock();
        joined.JoinAll();
        if (showBar) bar.Clear();
        skipped += fItems.size() - printed;

        const bool stopped = fEnvironment.IsInterrupted();
        if (!fContext.fQuiet)
            fContext.fErr << "quillet-cli: " << done << " done, " << failed << " failed, " << skipped << " skipped\n";
        if (stopped) return kExitStopped;
        return failed > 0 ? kExitFailure : kExitSuccess;
    }

private:
    void Work() {
        for (;;) {
            if (fEnvironment.IsInterrupted()) break;
            const size_t index = fNext++;
            if (index >= fItems.size()) break;
            SFileResult result = RunOne(fItems[index]);
            result.fFinished = true;
            std::lock_guard<std::mutex> lock(fMutex);
            fResults[index] = std::move(result);
            fChanged.notify_all();
        }
        std::lock_guard<std::mutex> lock(fMutex);
        --fRunning;
        fChanged.notify_all();
    }

    SFileResult RunOne(const SBatchItem& item) {
        std::ostringstream out, err;
        CAlertPrinter alerts(err, fContext.fVerbose, fContext.fAnswerYes, item.fInput);
        CDiagnosticPrinter diagnostics(err, fContext.fVerbose, item.fInput);
        CWorkerBinding binding(alerts, diagnostics);
        SSubcommandContext context{out, err, alerts, fContext.fAnswerYes, fContext.fVerbose, fContext.fQuiet};
        SFileResult result;
        result.fCode = RunGuarded(alerts, [&] { return fWork(context, item); });
        result.fOut = out.str();
        result.fErr = err.str();
        return result;
    }

    void Print(const SBatchItem& item, const SFileResult& result) {
        if (fSettings.fJsonLines) {
            fContext.fOut << WithPath(result.fOut, item.fInput);
        } else if (!result.fOut.empty()) {
            if (fPrintedText) fContext.fOut << '\n';
            fContext.fOut << "==> " << item.fInput << " <==\n" << result.fOut;
            fPrintedText = true;
        }
        fContext.fOut.flush();
        fContext.fErr << result.fErr << std::flush;
    }

    SSubcommandContext& fContext;
    const SBatchSettings& fSettings;
    const std::vector<SBatchItem>& fItems;
    const FBatchWork& fWork;
    CWorkerEnvironment fEnvironment;
    std::vector<SFileResult> fResults;
    std::atomic<size_t> fNext{0};
    size_t fRunning = 0;
    std::mutex fMutex;
    std::condition_variable fChanged;
    bool fPrintedText = false;
};

}  // namespace

EExitCode RunBatch(SSubcommandContext& context, const SBatchSettings& settings, const std::vector<SBatchItem>& items,
                   const FBatchWork& work) {
    return CBatchRun(context, settings, items, work).Run();
}

}  // namespace NSQuillet::NSCli
