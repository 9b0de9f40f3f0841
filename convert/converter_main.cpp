// The converter's entry point. On Windows the arguments are taken in UTF-16,
// whatever the system's code page, and handed on in UTF-8, so that a file
// named in any script can be converted; a console is given the messages as
// UTF-16, so that it shows such names too.
#include <cstdio>

#include "convert/run_converter.h"

#ifdef _WIN32
#include "convert/console_output.h"
#include "formats/stream_text.h"
#include "formats/utf16_text.h"

// A Windows command line holds at most 32767 units, so at most 16384
// arguments, each unit taking at most three bytes in UTF-8.
enum { COMMAND_LINE_UNITS = 32768, MAX_ARGUMENTS = COMMAND_LINE_UNITS / 2 + 1 };
static char argumentText[3 * COMMAND_LINE_UNITS + MAX_ARGUMENTS];
static char* arguments[MAX_ARGUMENTS + 1];

int wmain(int argc, wchar_t** argv) {
    UseConsoleWriter();
    if (argc < 0 || argc > MAX_ARGUMENTS) argc = 0;
    int used = 0;
    for (int i = 0; i < argc; ++i) {
        int length = NarrowText(argv[i], argumentText + used, (int)sizeof argumentText - used);
        if (length < 0) {
            PrintText(stderr, "quillon-convert: the command line is too long\n");
            return 1;
        }
        arguments[i] = argumentText + used;
        used += length + 1;
    }
    arguments[argc] = nullptr;
    return RunConverter(argc, arguments);
}
#else
int main(int argc, char** argv) {
    return RunConverter(argc, argv);
}
#endif
