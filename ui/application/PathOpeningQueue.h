#pragma once

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace NSQuillet {

// Files that arrive from outside (another editor process, the system's file open events) wait
// here until the editor may open them: not in the middle of a lengthy operation, a modal dialog
// or start-up. Then they are opened one by one, oldest first; a hand-over without files brings
// the editor to the front. User-interface thread.
class CPathOpeningQueue final : public QObject {
    Q_OBJECT
public:
    struct SHandlers {
        std::function<bool()> fCanOpenNow;
        std::function<void(const std::string& path)> fOpen;
        std::function<void()> fBringToFront;
    };

    explicit CPathOpeningQueue(SHandlers handlers, QObject* parent = nullptr);

    // Queues `paths` (none: just come to the front) and opens them as soon as that may be done.
    void Enqueue(const std::vector<std::string>& paths);
    bool IsEmpty() const { return fPending.empty(); }

    // Takes file open events of the object it is installed on (the application).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SRequest {
        std::vector<std::string> fPaths;
    };

    void Deliver();

    static constexpr int kRetryMilliseconds = 200;

    SHandlers fHandlers;
    std::deque<SRequest> fPending;
    QTimer fTimer;
    bool fDelivering = false;
};

}  // namespace NSQuillet
