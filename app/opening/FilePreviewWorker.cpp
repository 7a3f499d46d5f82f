#include "app/opening/FilePreviewWorker.h"

#include <utility>

namespace NSQuillet {

CFilePreviewWorker::CFilePreviewWorker(FDeliver deliver)
    : fDeliver(std::move(deliver)), fThread([this] { Run(); }) {}

CFilePreviewWorker::~CFilePreviewWorker() {
    {
        std::lock_guard<std::mutex> lock(fMutex);
        fQuit = true;
    }
    fWake.notify_one();
    fThread.join();
}

uint64_t CFilePreviewWorker::Request(const std::string& path, EPreview preview) {
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(fMutex);
        generation = ++fNewest;
        fWaiting = SRequest{generation, path, preview};
    }
    fWake.notify_one();
    return generation;
}

uint64_t CFilePreviewWorker::Cancel() {
    std::lock_guard<std::mutex> lock(fMutex);
    fWaiting.reset();
    return ++fNewest;
}

void CFilePreviewWorker::Run() {
    for (;;) {
        SRequest request;
        {
            std::unique_lock<std::mutex> lock(fMutex);
            fWake.wait(lock, [this] { return fQuit.load() || fWaiting.has_value(); });
            if (fQuit) return;
            request = std::move(*fWaiting);
            fWaiting.reset();
        }
        Work(request);
    }
}

void CFilePreviewWorker::Work(const SRequest& request) {
    SResult info;
    info.fGeneration = request.fGeneration;
    info.fPath = request.fPath;
    info.fInfo = ReadShownFileInfo(request.fPath);
    const int32_t reason = info.fInfo.fReason;
    if (IsOvertaken(request.fGeneration)) return;
    const SShownFileInfo shown = info.fInfo;
    fDeliver(std::move(info));

    const bool wanted = (request.fPreview == EPreview::kAutoPlay && reason == NSPreviewReason::kNone) ||
                        (request.fPreview == EPreview::kPlay && IsPlayableReason(reason));
    if (!wanted) return;
    SResult preview;
    preview.fGeneration = request.fGeneration;
    preview.fPath = request.fPath;
    preview.fInfo = shown;
    try {
        preview.fPreview = CFilePreview::Read(request.fPath, [&] { return IsOvertaken(request.fGeneration); });
    } catch (const std::exception& failure) {
        preview.fPreviewReason = PreviewReasonOfFailure(failure);
    } catch (...) {
        preview.fPreviewReason = NSPreviewReason::kInternalError;
    }
    if (IsOvertaken(request.fGeneration)) return;
    fDeliver(std::move(preview));
}

}  // namespace NSQuillet
