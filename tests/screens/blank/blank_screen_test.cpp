// The blank screen: a bare white window that covers the display.
#include <gtest/gtest.h>

#include <QTest>

#include "screens/blank/frm_blank.h"

namespace {

TEST(BlankScreen, IsAnUntitledFramelessMaximizedWindowWithNothingOnIt)
{
    frmBlank blank;
    EXPECT_TRUE(blank.isWindow());
    EXPECT_TRUE(blank.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(blank.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(blank.windowTitle().isEmpty());
    EXPECT_TRUE(blank.children().isEmpty());
}

TEST(BlankScreen, ShowsWhiteEverywhere)
{
    frmBlank blank;
    blank.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&blank));
    const QImage image = blank.grab().toImage();
    ASSERT_FALSE(image.isNull());
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7) ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
}

}  // namespace
