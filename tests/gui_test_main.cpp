// Runs the Qt tests in one QApplication, offscreen unless told otherwise, with the
// settings of a test user. The application sets the C locale from the environment,
// as it does for the user.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "tests/comma_locale.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    voltra::AskForCommaLocaleWhenNamed();
    QApplication application(argc, argv);
    // Settings of this process alone: the user's own stay out of reach, every run
    // starts from none, and test programs running side by side do not share them.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    if (!voltra::CommaLocaleInForceWhenAsked()) return 1;
    return RUN_ALL_TESTS();
}
