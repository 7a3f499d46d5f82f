#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>

namespace NSQuillet {
namespace {

// The offscreen platform draws text only with an installed font; without one every widget test
// would compare empty pictures.
TEST(OffscreenPlatformTest, HasAFontThatDrawsText) {
    EXPECT_FALSE(QFontDatabase::families().isEmpty());
    QLabel label("Drop soundfiles here to open them");
    label.adjustSize();
    EXPECT_GT(QFontMetrics(label.font()).horizontalAdvance(label.text()), 100);
}

}  // namespace
}  // namespace NSQuillet
