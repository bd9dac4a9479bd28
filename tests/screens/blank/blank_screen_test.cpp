// The blank screen: a bare white window that covers the display.
#include <gtest/gtest.h>

#include <QTest>

#include "screens/blank/blank_screen.h"

namespace voltra {

TEST(BlankScreen, IsAnUntitledFramelessMaximizedWindowWhiteAllOver)
{
    BlankScreen blank;
    EXPECT_TRUE(blank.isWindow() && blank.windowTitle().isEmpty() && blank.children().isEmpty());
    EXPECT_TRUE(blank.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(blank.windowState() & Qt::WindowMaximized);
    const QImage image = blank.grab().toImage();
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7) ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

}  // namespace voltra
