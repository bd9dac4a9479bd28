// Runs the plain-C++ tests under the locale the environment names, as the program
// runs once Qt has set the C locale from the user's desktop.
#include <gtest/gtest.h>

#include <clocale>

#include "tests/comma_locale.h"

int main(int argc, char** argv)
{
    voltra::AskForCommaLocaleWhenNamed();
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    if (!voltra::CommaLocaleInForceWhenAsked()) return 1;
    return RUN_ALL_TESTS();
}
