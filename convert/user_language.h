// The language the converter's user reads, for SVG files that draw
// differently by language. Reads the environment, and on Windows the
// user's locale; touches nothing.
#pragma once

enum { LANGUAGE_ROOM = 64 };

// The language as a lower-case tag ("ja-jp"): from LANGUAGE, LC_ALL,
// LC_MESSAGES or LANG, whichever the environment sets first, as POSIX
// programs take it; without any, the system's own (SystemLanguage).
void UserLanguage(char language[LANGUAGE_ROOM]);

// The system's language when the environment names none: the user's
// locale on Windows, English elsewhere.
void SystemLanguage(char language[LANGUAGE_ROOM]);
