#include "ui/application/SingleInstance.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>

#include <cstdlib>
#include <cstring>
#include <future>
#include <string>
#include <vector>

#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/TemporaryFolder.h"
#include "ui/logic/SingleInstanceProtocol.h"

namespace NSQuillet {
namespace {

using NSQuilletTest::CScopedEnvironmentVariable;
using NSQuilletTest::CTemporaryFolder;

class SingleInstance : public testing::Test {
protected:
    std::string SocketPath() const {
        return SingleInstanceSocketPath([](const char* name) { return std::getenv(name); }, unsigned(getuid()), "/tmp");
    }

    // A second editor process: its own server object, started on another thread because the
    // hand-over blocks until the first editor (this thread's event loop) answers.
    std::future<EInstanceStart> StartSecondEditor(std::vector<std::string> paths, int timeout = 5000) {
        return std::async(std::launch::async, [this, paths = std::move(paths), timeout] {
            CSingleInstanceServer second(SocketPath(), [](const std::vector<std::string>&) {});
            return StartSingleInstance(second, paths, timeout);
        });
    }

    // Runs this thread's event loop until the second editor has finished.
    EInstanceStart Finish(std::future<EInstanceStart>& second) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return second.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                                    10000));
        return second.get();
    }

    CTemporaryFolder fRuntime;
    CScopedEnvironmentVariable fRuntimeVariable{"XDG_RUNTIME_DIR", fRuntime.Path()};
    std::vector<std::vector<std::string>> fReceived;
};

TEST_F(SingleInstance, TheSecondEditorsPathsArriveAtTheFirst) {
    CSingleInstanceServer first(SocketPath(), [this](const std::vector<std::string>& paths) { fReceived.push_back(paths); });
    ASSERT_EQ(first.GetSocketPath(), fRuntime.Path() + "/quillet-editor");
    ASSERT_EQ(StartSingleInstance(first, {}, 2000), EInstanceStart::kFirst);

    auto second = StartSecondEditor({"/loops/a b.lx2", "/loops/c.wav"});
    EXPECT_EQ(Finish(second), EInstanceStart::kHandedOver);
    auto third = StartSecondEditor({});
    EXPECT_EQ(Finish(third), EInstanceStart::kHandedOver);

    ASSERT_EQ(fReceived.size(), 2u);
    EXPECT_EQ(fReceived[0], (std::vector<std::string>{"/loops/a b.lx2", "/loops/c.wav"}));
    EXPECT_TRUE(fReceived[1].empty());
}

TEST_F(SingleInstance, ASocketLeftByAnEditorThatEndedIsReplaced) {
    // A bound socket whose process is gone: the file stays, nobody accepts.
    const std::string path = SocketPath();
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    close(fd);
    ASSERT_EQ(HandOverToRunningEditor(path, {"/a.wav"}, 500), EHandOver::kNoEditor);

    CSingleInstanceServer first(path, [this](const std::vector<std::string>& paths) { fReceived.push_back(paths); });
    ASSERT_EQ(StartSingleInstance(first, {}, 2000), EInstanceStart::kFirst);
    EXPECT_TRUE(first.IsListening());
    auto second = StartSecondEditor({"/a.wav"});
    EXPECT_EQ(Finish(second), EInstanceStart::kHandedOver);
    ASSERT_EQ(fReceived.size(), 1u);
    EXPECT_EQ(fReceived[0], (std::vector<std::string>{"/a.wav"}));
}

TEST_F(SingleInstance, AnEditorThatDoesNotAnswerKeepsItsSocket) {
    // Listens but never reads: a hung editor.
    QLocalServer hung;
    ASSERT_TRUE(hung.listen(QString::fromStdString(SocketPath())));
    auto second = StartSecondEditor({"/a.wav"}, 300);
    EXPECT_EQ(Finish(second), EInstanceStart::kFailed);
    EXPECT_TRUE(hung.isListening());
    QLocalSocket probe;
    probe.connectToServer(QString::fromStdString(SocketPath()));
    EXPECT_TRUE(probe.waitForConnected(1000));
}

TEST_F(SingleInstance, AnyOtherRequestIsRefusedWithoutPaths) {
    CSingleInstanceServer first(SocketPath(), [this](const std::vector<std::string>& paths) { fReceived.push_back(paths); });
    ASSERT_EQ(StartSingleInstance(first, {}, 2000), EInstanceStart::kFirst);
    QLocalSocket stranger;
    stranger.connectToServer(QString::fromStdString(SocketPath()));
    ASSERT_TRUE(stranger.waitForConnected(1000));
    stranger.write("GET / HTTP/1.1\r\n\r\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }, 2000));
    EXPECT_TRUE(fReceived.empty());
    EXPECT_TRUE(first.IsListening());
}

}  // namespace
}  // namespace NSQuillet
