// The second pass of the suites, under a German locale that writes decimal commas,
// as a user's desktop settings would set it.
#pragma once

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace voltra {

inline constexpr const char* kCommaLocaleVariable = "VOLTRA_COMMA_LOCALE";
inline constexpr const char* kCommaLocale = "de_DE.UTF-8";

// The test registration names a folder of compiled locales in VOLTRA_COMMA_LOCALE;
// the locale goes into the environment before the C library or Qt takes it from there.
inline void AskForCommaLocaleWhenNamed()
{
    const char* folder = std::getenv(kCommaLocaleVariable);
    if (!folder) return;
    ::setenv("LOCPATH", folder, 1);
    ::setenv("LC_ALL", kCommaLocale, 1);
}

// False when the pass was asked for but the locale in force does not write commas,
// which would make the pass prove nothing.
inline bool CommaLocaleInForceWhenAsked()
{
    if (!std::getenv(kCommaLocaleVariable)) return true;
    const char* point = std::localeconv()->decimal_point;
    if (std::string_view(point) == ",") return true;
    std::fprintf(stderr, "The comma-decimal pass runs under a locale whose decimal point is \"%s\"\n", point);
    return false;
}

}  // namespace voltra
