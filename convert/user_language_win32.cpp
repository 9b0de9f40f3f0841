// The user's locale as Windows gives it ("ja-JP"), lower-cased as a tag.
#include <windows.h>

#include <cctype>
#include <cstring>

#include "convert/user_language.h"

void SystemLanguage(char language[LANGUAGE_ROOM]) {
    wchar_t name[LOCALE_NAME_MAX_LENGTH];
    std::strcpy(language, "en");
    if (GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) <= 0) return;
    char tag[LANGUAGE_ROOM];
    int n = 0;
    // Locale names are ASCII letters, digits and '-'.
    for (; name[n] && name[n] < 0x80 && n < LANGUAGE_ROOM - 1; ++n)
        tag[n] = (char)std::tolower((int)name[n]);
    tag[n] = 0;
    if (n > 0 && !name[n]) std::strcpy(language, tag);
}
