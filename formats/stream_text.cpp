// The converter's text, through the console writer where one is installed.
#include "formats/stream_text.h"

#include <cerrno>

static ConsoleWriter consoleWriter;

void InstallConsoleWriter(ConsoleWriter writer) {
    consoleWriter = writer;
}

// Some C libraries count a write as done and only mark the stream: both
// are looked at.
int WriteText(FILE* stream, const char* text) {
    const int console = consoleWriter ? consoleWriter(stream, text) : -1;
    if (console >= 0) return console;
    errno = 0;
    if (std::fputs(text, stream) == EOF || std::ferror(stream)) {
        if (!errno) errno = EIO;
        return 0;
    }
    return 1;
}

int PrintTextList(FILE* stream, const char* format, va_list args) {
    static char text[STREAM_TEXT_ROOM];
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    int written;
    if (length >= 0 && length < (int)sizeof text) {
        written = WriteText(stream, text);
    } else {
        // Longer than any text of the converter's: to the stream as it is.
        errno = 0;
        written = std::vfprintf(stream, format, again) >= 0 && !std::ferror(stream);
        if (!written && !errno) errno = EIO;
    }
    va_end(again);
    return written;
}

int PrintText(FILE* stream, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int written = PrintTextList(stream, format, args);
    va_end(args);
    return written;
}
