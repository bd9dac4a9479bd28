// The about screen: its texts from the design record, its pictures, its fit and
// its Close button.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "engine/program_texts.h"
#include "screens/about/about_screen.h"
#include "tests/screens/text_boxes.h"

namespace voltra {

TEST(AboutScreen, ShowsTheRecordsTextsAndPicturesInAModalWhiteWindowThatCloseAndEscapeClose)
{
    AboutScreen about;
    auto label = [&](const char* name) { return about.findChild<QLabel*>(name); };
    EXPECT_EQ(about.windowTitle(), "About Voltra");
    QStringList texts;
    for (const char* name : {"lblTitle", "lblVersion", "lblDescription", "lblCopyright", "lblWebsite"})
        texts << label(name)->text();
    EXPECT_EQ(texts, QStringList({"Voltra", "Version 2.08",
                                  "An uncommonly easy-to-use and productive program for designing and analyzing "
                                  "Class E amplifiers.",
                                  kMakersNotice, kWebAddress}));
    EXPECT_TRUE(label("lblCopyright2")->text().contains("MIT licence"));
    EXPECT_EQ(label("Image2")->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(label("Image1")->pixmap().size(), QSize(150, 150));
    EXPECT_FALSE(about.windowIcon().isNull());

    about.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_TRUE(about.isModal());
    EXPECT_EQ(about.grab().toImage().pixel(about.width() - 2, about.height() - 2), qRgb(255, 255, 255));
    for (QLabel* text : about.findChildren<QLabel*>()) {
        EXPECT_TRUE(about.rect().contains(text->geometry())) << text->objectName().toStdString();
        EXPECT_GE(text->height(), text->wordWrap() ? text->heightForWidth(text->width()) : text->sizeHint().height());
        EXPECT_GE(text->width(), text->wordWrap() || !text->pixmap().isNull() ? 0 : text->sizeHint().width());
    }
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    about.open();
    auto* close = about.findChild<QPushButton*>("cmdExit");
    EXPECT_EQ(close->text(), "Close");
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

TEST(AboutScreen, EveryTextStaysWholeAndApartFromItsSmallestSizeToAFullDisplay)
{
    AboutScreen about;
    about.show();
    const QSize smallest = about.size();
    const double legalPoints = about.findChild<QLabel*>("lblCopyright2")->font().pointSizeF();
    for (QSize size : {QSize(400, 300), smallest, QSize(800, 600), QSize(3840, 2160), QSize(1200, 1100)}) {
        SCOPED_TRACE(size.height());
        about.resize(size);
        EXPECT_TRUE(about.width() >= smallest.width() && about.height() >= smallest.height()) << "never cut smaller";
        ExpectWholeTextsApart(about);
        for (QLabel* picture : {about.findChild<QLabel*>("Image1"), about.findChild<QLabel*>("Image2")})
            EXPECT_TRUE(about.rect().contains(picture->geometry()));
    }
    EXPECT_GT(about.findChild<QLabel*>("lblCopyright2")->font().pointSizeF(), 2 * legalPoints) << "grown with the window";
}

}  // namespace voltra
