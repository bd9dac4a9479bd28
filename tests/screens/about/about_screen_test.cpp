// The about screen: its texts from the design record, its pictures, its fit and
// its Close button.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "screens/about/frm_about.h"

namespace {

class AboutScreenTest : public ::testing::Test {
protected:
    void SetUp() override { StartupValues(design); }

    QLabel* Label(const frmAbout& about, const char* name) const
    {
        return about.findChild<QLabel*>(QString::fromLatin1(name));
    }

    DesignRecord design;
};

TEST_F(AboutScreenTest, ShowsNameVersionDescriptionAndTheRecordsNotices)
{
    frmAbout about(design);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Voltra"));
    EXPECT_EQ(Label(about, "lblTitle")->text(), QStringLiteral("Voltra"));
    EXPECT_EQ(Label(about, "lblVersion")->text(), QStringLiteral("Version 2.08"));
    EXPECT_EQ(Label(about, "lblDescription")->text(),
              QStringLiteral("An uncommonly easy-to-use and productive program for designing and analyzing Class E "
                             "amplifiers."));
    EXPECT_EQ(Label(about, "lblCopyright")->text(), QString::fromLatin1(kMakersNotice));
    EXPECT_EQ(Label(about, "lblWebsite")->text(), QString::fromLatin1(kWebAddress));
    EXPECT_TRUE(Label(about, "lblCopyright2")->text().contains(QStringLiteral("MIT licence")));
}

TEST_F(AboutScreenTest, CarriesBothPicturesAtTheirSizes)
{
    frmAbout about(design);
    const QPixmap icon = Label(about, "Image2")->pixmap();
    const QPixmap stage = Label(about, "Image1")->pixmap();
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(stage.size(), QSize(150, 150));
    EXPECT_FALSE(about.windowIcon().isNull());
}

TEST_F(AboutScreenTest, IsModalWhiteAndEveryTextFitsInsideTheWindow)
{
    frmAbout about(design);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_TRUE(about.isModal());
    EXPECT_EQ(about.grab().toImage().pixelColor(about.width() - 2, about.height() - 2), QColor(Qt::white));
    for (QLabel* label : about.findChildren<QLabel*>()) {
        EXPECT_TRUE(about.rect().contains(label->geometry())) << label->objectName().toStdString();
        const std::string name = label->objectName().toStdString();
        if (label->wordWrap()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << name;
        } else if (label->pixmap().isNull()) {
            EXPECT_EQ(label->size().expandedTo(label->sizeHint()), label->size()) << name;
        }
    }
}

TEST_F(AboutScreenTest, CloseButtonAndEscapeCloseIt)
{
    for (bool byKeyboard : {false, true}) {
        frmAbout about(design);
        about.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        auto* close = about.findChild<QPushButton*>(QStringLiteral("cmdExit"));
        EXPECT_EQ(close->text(), QStringLiteral("Close"));
        if (byKeyboard)
            QTest::keyClick(&about, Qt::Key_Escape);
        else
            QTest::mouseClick(close, Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
    }
}

}  // namespace
