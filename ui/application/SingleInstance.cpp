#include "ui/application/SingleInstance.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <utility>

#include "ui/logic/SingleInstanceProtocol.h"

namespace NSQuillet {

namespace {

QString ToQString(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace

CSingleInstanceServer::CSingleInstanceServer(std::string socketPath, FPathsHandler handler, QObject* parent)
    : QObject(parent), fSocketPath(std::move(socketPath)), fHandler(std::move(handler)), fServer(new QLocalServer(this)) {
    // Only this user may hand files over, also where the socket lies in a shared folder.
    fServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(fServer, &QLocalServer::newConnection, this, [this] { Accept(); });
}

CSingleInstanceServer::~CSingleInstanceServer() = default;

bool CSingleInstanceServer::Listen() {
    if (fServer->isListening()) return true;
    if (fServer->listen(ToQString(fSocketPath))) return true;
    if (fServer->serverError() != QAbstractSocket::AddressInUseError) return false;
    QLocalServer::removeServer(ToQString(fSocketPath));
    return fServer->listen(ToQString(fSocketPath));
}

bool CSingleInstanceServer::IsListening() const { return fServer->isListening(); }

void CSingleInstanceServer::Accept() {
    while (QLocalSocket* socket = fServer->nextPendingConnection()) {
        fReceived[socket];
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            fReceived.erase(socket);
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0) Read(socket);
    }
}

void CSingleInstanceServer::Read(QLocalSocket* socket) {
    const auto found = fReceived.find(socket);
    if (found == fReceived.end()) return;
    const QByteArray bytes = socket->readAll();
    found->second.append(bytes.constData(), size_t(bytes.size()));
    SOpenRequest request = DecodeOpenRequest(found->second);
    if (request.fState == EOpenRequestState::kIncomplete) return;
    fReceived.erase(found);
    if (request.fState == EOpenRequestState::kComplete) {
        socket->write(kOpenRequestAcknowledgement);
        socket->flush();
        if (fHandler) fHandler(request.fPaths);
    }
    socket->disconnectFromServer();
}

EHandOver HandOverToRunningEditor(const std::string& socketPath, const std::vector<std::string>& paths,
                                  int timeoutMilliseconds) {
    QLocalSocket socket;
    socket.connectToServer(ToQString(socketPath));
    if (!socket.waitForConnected(timeoutMilliseconds)) return EHandOver::kNoEditor;
    const std::string request = EncodeOpenRequest(paths);
    socket.write(request.data(), qint64(request.size()));
    QElapsedTimer elapsed;
    elapsed.start();
    const std::string expected = kOpenRequestAcknowledgement;
    QByteArray answer;
    while (answer.size() < qsizetype(expected.size())) {
        const int left = timeoutMilliseconds - int(elapsed.elapsed());
        if (left <= 0) return EHandOver::kNoAnswer;
        if (socket.bytesToWrite() > 0) {
            socket.waitForBytesWritten(left);
        } else if (!socket.waitForReadyRead(left)) {
            return EHandOver::kNoAnswer;
        }
        answer += socket.readAll();
    }
    socket.disconnectFromServer();
    return answer.startsWith(expected.c_str()) ? EHandOver::kDelivered : EHandOver::kNoAnswer;
}

EInstanceStart StartSingleInstance(CSingleInstanceServer& server, const std::vector<std::string>& paths,
                                   int timeoutMilliseconds) {
    QLockFile lock(ToQString(server.GetSocketPath() + ".lock"));
    // A lock left by a process that ended is taken over (the lock file names its process).
    if (!lock.tryLock(timeoutMilliseconds)) return EInstanceStart::kFailed;
    switch (HandOverToRunningEditor(server.GetSocketPath(), paths, timeoutMilliseconds)) {
        case EHandOver::kDelivered:
            return EInstanceStart::kHandedOver;
        case EHandOver::kNoAnswer:
            return EInstanceStart::kFailed;
        case EHandOver::kNoEditor:
            break;
    }
    return server.Listen() ? EInstanceStart::kFirst : EInstanceStart::kFailed;
}

}  // namespace NSQuillet
