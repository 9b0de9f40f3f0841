// The user's language from the environment, and English where the system
// has no language of its own to give (the Windows build has its own in
// user_language_win32.cpp).
#include "convert/user_language.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

void UserLanguage(char language[LANGUAGE_ROOM]) {
    const char* names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (!value || !*value) continue;
        // "ja_JP.UTF-8@mod" gives "ja-jp"; LANGUAGE lists several, the
        // first counts.
        size_t n = 0;
        for (; value[n] && value[n] != ':' && value[n] != '.' && value[n] != '@' &&
               n < LANGUAGE_ROOM - 1;
             ++n)
            language[n] = value[n] == '_' ? '-' : (char)std::tolower((unsigned char)value[n]);
        language[n] = 0;
        if (n == 0 || std::strcmp(language, "c") == 0 || std::strcmp(language, "posix") == 0)
            std::strcpy(language, "en");
        return;
    }
    SystemLanguage(language);
}

#ifndef _WIN32
void SystemLanguage(char language[LANGUAGE_ROOM]) {
    std::strcpy(language, "en");
}
#endif
