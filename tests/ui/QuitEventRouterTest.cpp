#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

#include "ui/application/QuitEventRouter.h"

namespace NSQuillet {
namespace {

// Qt's quit would close the windows and leave the run loop; routed, it only asks the
// application, whose answer decides.
TEST(QuitEventRouterTest, QtsQuitBecomesTheApplicationsQuitRequest) {
    QWidget window;
    window.show();
    int requests = 0;
    const CQuitEventRouter router([&] { ++requests; });
    bool loopEnded = false;
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QTimer::singleShot(100, [&] {
        loopEnded = true;
        QCoreApplication::exit(0);
    });
    QCoreApplication::exec();
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(window.isVisible());
    // The run loop was not left by the quit: it ran until its own end.
    EXPECT_TRUE(loopEnded);
}

}  // namespace
}  // namespace NSQuillet
