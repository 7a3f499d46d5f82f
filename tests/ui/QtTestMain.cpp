#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

// The widget tests need an application object; without a display they draw offscreen.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
