#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/opening/FilePreview.h"
#include "app/opening/ShownFileInfo.h"

namespace NSQuillet {

// Reads the Open dialog's file information and previews on a thread of its own, so that the
// dialog never waits for a file. One job at a time: a new request replaces one still waiting
// and stops a preview still being read for an older one. Every request has a generation, one
// above the last; a result counts only while its generation is the newest.
class CFilePreviewWorker {
public:
    enum class EPreview {
        kNone,
        // Read when the file has no reason against previewing (NSPreviewReason::kNone).
        kAutoPlay,
        // Read when Play may play it (IsPlayableReason): a long file too.
        kPlay,
    };

    struct SResult {
        uint64_t fGeneration = 0;
        std::string fPath;
        SShownFileInfo fInfo;
        // Set when the preview was read: the second delivery of a request.
        std::unique_ptr<CFilePreview> fPreview;
        // The second delivery when reading the preview failed: the failure's reason.
        int32_t fPreviewReason = NSPreviewReason::kNone;
        bool IsPreviewDelivery() const { return fPreview || fPreviewReason != NSPreviewReason::kNone; }
    };
    // Called on the worker thread: first with the information, then, when a preview was asked
    // for and the information allows it, with the preview (or the failure reading it). A
    // request overtaken before its delivery is not delivered.
    using FDeliver = std::function<void(SResult result)>;

    explicit CFilePreviewWorker(FDeliver deliver);
    // Stops a preview being read and waits for the thread.
    ~CFilePreviewWorker();
    CFilePreviewWorker(const CFilePreviewWorker&) = delete;
    CFilePreviewWorker& operator=(const CFilePreviewWorker&) = delete;

    // Any thread; never waits for the job in progress. The new request's generation.
    uint64_t Request(const std::string& path, EPreview preview);
    // Nothing asked so far counts any more: the generation moves on without a request.
    uint64_t Cancel();
    uint64_t GetNewestGeneration() const { return fNewest.load(); }

private:
    struct SRequest {
        uint64_t fGeneration = 0;
        std::string fPath;
        EPreview fPreview = EPreview::kNone;
    };

    void Run();
    void Work(const SRequest& request);
    bool IsOvertaken(uint64_t generation) const { return fQuit.load() || fNewest.load() != generation; }

    FDeliver fDeliver;
    std::mutex fMutex;
    std::condition_variable fWake;
    // Under fMutex.
    std::optional<SRequest> fWaiting;
    std::atomic<uint64_t> fNewest{0};
    std::atomic<bool> fQuit{false};
    std::thread fThread;
};

}  // namespace NSQuillet
