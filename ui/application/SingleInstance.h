#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace NSQuillet {

// The running editor's end of the hand-over: listens on the user's socket and passes the
// paths each request carries to the handler (an empty list: just come to the front).
// User-interface thread.
class CSingleInstanceServer final : public QObject {
    Q_OBJECT
public:
    using FPathsHandler = std::function<void(const std::vector<std::string>& paths)>;

    CSingleInstanceServer(std::string socketPath, FPathsHandler handler, QObject* parent = nullptr);
    ~CSingleInstanceServer() override;

    // Listens, removing a socket file no editor answers on; false when that failed.
    bool Listen();
    bool IsListening() const;
    const std::string& GetSocketPath() const { return fSocketPath; }

private:
    void Accept();
    void Read(QLocalSocket* socket);

    std::string fSocketPath;
    FPathsHandler fHandler;
    QLocalServer* fServer;
    std::map<QLocalSocket*, std::string> fReceived;
};

enum class EHandOver {
    kDelivered,  // a running editor took the paths
    kNoEditor,   // none listens
    kNoAnswer,   // one is there but did not take them in time
};

// The second process's end: sends `paths` to the editor listening on `socketPath` and waits up
// to `timeoutMilliseconds` for it to take them. Blocks; any thread.
EHandOver HandOverToRunningEditor(const std::string& socketPath, const std::vector<std::string>& paths,
                                  int timeoutMilliseconds);

enum class EInstanceStart {
    kFirst,       // this process is the editor now: `server` listens
    kHandedOver,  // a running editor took the paths: this process ends
    kFailed,      // a running editor did not answer, or the socket could not be made
};

// One editor per user session. Under a lock beside the socket (so that two editors starting at
// once cannot both listen): hands the paths to a running editor, else removes a stale socket
// and listens. Blocks for at most about `timeoutMilliseconds` twice.
EInstanceStart StartSingleInstance(CSingleInstanceServer& server, const std::vector<std::string>& paths,
                                   int timeoutMilliseconds);

}  // namespace NSQuillet
