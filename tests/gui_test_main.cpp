// Runs the Qt tests in one QApplication, offscreen unless told otherwise. The
// application sets the C locale from the environment, as it does for the user.
#include <QApplication>
#include <gtest/gtest.h>

#include "tests/comma_locale.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    voltra::AskForCommaLocaleWhenNamed();
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (!voltra::CommaLocaleInForceWhenAsked()) return 1;
    return RUN_ALL_TESTS();
}
