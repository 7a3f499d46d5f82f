#include "ui/application/PathOpeningQueue.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileOpenEvent>
#include <QTest>

#include <string>
#include <vector>

namespace NSQuillet {
namespace {

class PathOpeningQueue : public testing::Test {
protected:
    CPathOpeningQueue fQueue{{
        [this] { return fCanOpen; },
        [this](const std::string& path) { Open(path); },
        [this] { fLog.push_back("front"); },
    }};

    virtual void Open(const std::string& path) { fLog.push_back(path); }

    bool fCanOpen = true;
    std::vector<std::string> fLog;
};

TEST_F(PathOpeningQueue, OpensInOrderOnceTheEditorMay) {
    fCanOpen = false;
    fQueue.Enqueue({"/a.wav", "/b.lx2"});
    fQueue.Enqueue({});
    fQueue.Enqueue({"/c.aif"});
    QTest::qWait(300);
    EXPECT_TRUE(fLog.empty());
    fCanOpen = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return fQueue.IsEmpty(); }, 2000));
    EXPECT_EQ(fLog, (std::vector<std::string>{"/a.wav", "/b.lx2", "front", "/c.aif"}));
}

TEST_F(PathOpeningQueue, TakesTheSystemsFileOpenEvents) {
    qApp->installEventFilter(&fQueue);
    QFileOpenEvent event(QStringLiteral("/loops/dropped.wav"));
    QCoreApplication::sendEvent(qApp, &event);
    qApp->removeEventFilter(&fQueue);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fLog.empty(); }, 2000));
    EXPECT_EQ(fLog, (std::vector<std::string>{"/loops/dropped.wav"}));
}

// Opening hands out events (its progress window, its alerts); a file arriving meanwhile must
// not open inside the one being opened.
class PathOpeningQueueReentry : public PathOpeningQueue {
protected:
    void Open(const std::string& path) override {
        fLog.push_back("begin " + path);
        if (path == "/first.wav") {
            fQueue.Enqueue({"/second.wav"});
            QTest::qWait(50);
        }
        fLog.push_back("end " + path);
    }
};

TEST_F(PathOpeningQueueReentry, OpensAFileArrivingDuringAnOpeningAfterIt) {
    fQueue.Enqueue({"/first.wav"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return fLog.size() == 4; }, 2000));
    EXPECT_EQ(fLog, (std::vector<std::string>{"begin /first.wav", "end /first.wav", "begin /second.wav", "end /second.wav"}));
}

}  // namespace
}  // namespace NSQuillet
