#include <gtest/gtest.h>

#include <QApplication>

#include <clocale>
#include <cstdlib>

// The widget tests need an application object; without a display they draw offscreen.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    // Qt takes the user's locale for the C library too; the program's texts and files write
    // numbers with a point.
    std::setlocale(LC_NUMERIC, "C");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
