#pragma once

#include <clocale>
#include <cstdlib>

// CTest gives every test LC_ALL=C.UTF-8. With KORVEX_TEST_LANG set (the test command's second
// run) a test process takes that language instead, as a user's session would hand it over:
// LC_ALL unset and LANG set, also for the programs it starts. `adopt` sets the C library's
// locale from it as well, as a Qt application does when it starts.
inline bool UseTestLanguage(bool adopt) {
    const char* language = std::getenv("KORVEX_TEST_LANG");
    if (language == nullptr || *language == '\0') return false;
    ::unsetenv("LC_ALL");
    ::setenv("LANG", language, 1);
    if (adopt) std::setlocale(LC_ALL, "");
    return true;
}
